#include "tform4.h"

#include "listbox.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

class OptionsTest : public testing::Test {
protected:
    OptionsTest()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    QCheckBox *box(int number) { return form.findChild<QCheckBox *>("CheckBox" + QString::number(number)); }

    void click(QWidget *control) { QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(5, control->height() / 2)); }

    std::set<int> checkedRowBoxes()
    {
        std::set<int> checked;
        for (const int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13}) {
            if (box(number)->isChecked())
                checked.insert(number);
        }
        return checked;
    }

    TForm4 form;
};

// The rules themselves are the form's; here the real boxes, clicked, show them.
TEST_F(OptionsTest, ClicksShowTheCascadeInTheBoxes)
{
    for (const int number : {2, 7, 10})
        click(box(number));
    EXPECT_EQ(checkedRowBoxes(), (std::set<int>{10}));
    click(box(5));
    EXPECT_EQ(checkedRowBoxes(), (std::set<int>{5}));
}

// A box is the whole rectangle it was placed over, text and blank end alike.
TEST_F(OptionsTest, AClickAtTheFarRightEndTogglesTheBox)
{
    for (QCheckBox *control : form.findChildren<QCheckBox *>()) {
        SCOPED_TRACE(control->objectName().toStdString());
        const bool before = control->isChecked();
        QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(control->width() - 1, control->height() / 2));
        EXPECT_NE(control->isChecked(), before);
    }
}

TEST_F(OptionsTest, ProgramChangesCascadeToo)
{
    box(6)->setChecked(true);
    EXPECT_EQ(checkedRowBoxes(), (std::set<int>{6}));
    box(10)->setChecked(true);
    EXPECT_EQ(checkedRowBoxes(), (std::set<int>{10}));
}

TEST_F(OptionsTest, ChoicesReachTheForm)
{
    auto *list = form.findChild<ListBox *>("ListBox1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(form.form().listItem(), 2);
    EXPECT_EQ(form.form().run().intervalSeconds(), 3);

    click(form.findChild<QRadioButton *>("RadioButton3"));
    EXPECT_EQ(form.form().drillChoice().order, DrillOrder::Shuffled);
    click(form.findChild<QRadioButton *>("RadioButton2"));
    EXPECT_EQ(form.form().drillChoice().order, DrillOrder::Descending);
}

} // namespace
