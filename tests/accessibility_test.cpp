#include "tform4.h"

#include "listbox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

// Runs on a real X server with the AT-SPI bridge switched on, as a screen
// reader would find the program.
namespace {

struct Spoken {
    const char *name;
    const char *text;
};

const Spoken SpokenTexts[] = {
    {"Button1", "タイマーで"}, {"Button2", "おわる"}, {"Button3", "ひとつずつ"},
    {"CheckBox1", "１のだん"}, {"CheckBox9", "９のだん"}, {"CheckBox10", "０～９のぜんぶのだん"},
    {"CheckBox11", "となえかたをだす"}, {"CheckBox12", "×０もあり"}, {"CheckBox13", "ぜんぶのだん"},
    {"RadioButton1", "のぼり九九"}, {"RadioButton2", "くだり九九"}, {"RadioButton3", "バラ九九"},
    {"Label2", "＝"}, {"Label4", "Label4"},
};

std::vector<QObject *> nameChanges;

class AccessibilityTest : public testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
            << "the accessibility bridge did not come up";
    }

    QWidget *control(const char *name) { return form.findChild<QWidget *>(QString::fromLatin1(name)); }

    TForm4 form;
};

TEST_F(AccessibilityTest, EveryControlSpeaksItsJapaneseText)
{
    for (const Spoken &spoken : SpokenTexts) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control(spoken.name));
        ASSERT_NE(accessible, nullptr) << spoken.name;
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(spoken.text)) << spoken.name;
    }
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(control("ListBox1"));
    ASSERT_EQ(list->childCount(), 4);
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "１びょうおき");
    EXPECT_EQ(list->child(3)->text(QAccessible::Name), "４びょうおき");
}

TEST_F(AccessibilityTest, NewLabelTextsAreAnnounced)
{
    nameChanges.clear();
    QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
        if (event->type() == QAccessible::NameChanged)
            nameChanges.push_back(event->object());
    });
    QTest::mouseClick(control("Button3"), Qt::LeftButton);
    QAccessible::installUpdateHandler(nullptr);

    for (const char *label : {"Label1", "Label3", "Label4"})
        EXPECT_NE(std::find(nameChanges.begin(), nameChanges.end(), control(label)), nameChanges.end()) << label;
    EXPECT_EQ(std::count(nameChanges.begin(), nameChanges.end(), control("Label2")), 0);
}

} // namespace
