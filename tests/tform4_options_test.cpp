#include "tform4.h"

#include "listbox.h"
#include "timer.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>
#include <vector>

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

struct Cascade {
    const char *name;
    std::vector<int> clicks;  // check box numbers, clicked in order from start-up
    std::set<int> checked;
};

class CascadeTest : public OptionsTest, public testing::WithParamInterface<Cascade> {};

TEST_P(CascadeTest, KeepsTheWaysOfChoosingRowsApart)
{
    for (const int number : GetParam().clicks)
        click(box(number));
    EXPECT_EQ(checkedRowBoxes(), GetParam().checked);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, CascadeTest,
    testing::Values(Cascade{"RowClearsAllRows", {5}, {5}},
                    Cascade{"SeveralRowsTogether", {1, 3, 9}, {1, 3, 9}},
                    Cascade{"ZeroToNineClearsRows", {2, 7, 10}, {10}},
                    Cascade{"OneToNineClearsRows", {4, 6, 13}, {13}},
                    Cascade{"OneToNineClearsZeroToNine", {10, 13}, {13}},
                    Cascade{"RowClearsZeroToNine", {10, 8}, {8}},
                    Cascade{"UncheckingClearsNothingElse", {1, 3, 3}, {1}},
                    Cascade{"EveryBoxMayBeUnchecked", {13}, {}},
                    Cascade{"NothingIsRechecked", {2, 2}, {}}),
    [](const testing::TestParamInfo<Cascade> &info) { return info.param.name; });

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

TEST_F(OptionsTest, RunWithNoRowChosenIsEmpty)
{
    click(box(13));
    click(form.findChild<QPushButton *>("Button1"));
    for (const char *label : {"Label1", "Label3", "Label4"})
        EXPECT_EQ(form.findChild<QLabel *>(label)->text(), "") << label;
}

TEST_F(OptionsTest, NewIntervalTakesEffectWithoutRestartingTheTimer)
{
    auto *list = form.findChild<ListBox *>("ListBox1");
    auto *timer = form.findChild<Timer *>("Timer1");
    click(form.findChild<QPushButton *>("Button1"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer->remainingTime() < 950; }, 5000));
    const int remaining = timer->remainingTime();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(form.run().intervalSeconds(), 3);
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_LE(timer->remainingTime(), remaining);
}

} // namespace
