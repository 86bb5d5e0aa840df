#include "tform4.h"

#include "listbox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QtGlobal>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleAnnouncementEvent>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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
    {"Label2", "＝"}, {"Label4", "Label4"}, {"ListBox1", "なんびょうおき"},
};

// What the bridge was told, as a screen reader would be: for an
// announcement, the text it asks to be said.
struct Heard {
    QAccessible::Event type;
    QObject *object;
    QAccessible::Role role;
    QString name;
};

std::vector<Heard> heard;

// How a step is said: from Qt 6.8 on as Qt's announcement of its text,
// before by its notification appearing with the text as its name.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
constexpr QAccessible::Event Said = QAccessible::Announcement;
#else
constexpr QAccessible::Event Said = QAccessible::ObjectShow;
#endif

void listen()
{
    heard.clear();
    QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
        QAccessibleInterface *accessible = event->accessibleInterface();
        QString name = accessible->text(QAccessible::Name);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        if (event->type() == QAccessible::Announcement)
            name = static_cast<QAccessibleAnnouncementEvent *>(event)->message();
#endif
        heard.push_back({event->type(), event->object(), accessible->role(), name});
    });
}

class AccessibilityTest : public testing::Test {
protected:
    void SetUp() override
    {
        listen();
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
            << "the accessibility bridge did not come up";
    }

    void TearDown() override { QAccessible::installUpdateHandler(nullptr); }

    QWidget *control(const char *name) { return form.findChild<QWidget *>(QString::fromLatin1(name)); }

    static std::vector<Heard> heardOf(QAccessible::Event type)
    {
        std::vector<Heard> found;
        std::copy_if(heard.begin(), heard.end(), std::back_inserter(found), [type](const Heard &h) { return h.type == type; });
        return found;
    }

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

// Each label tells of its new text once; the step as a whole is said once,
// by the notification, since screen readers pass over label changes.
TEST_F(AccessibilityTest, AStepIsSaidOnceAndItsLabelsRenamedOnce)
{
    heard.clear();
    QTest::mouseClick(control("Button3"), Qt::LeftButton);

    std::vector<QObject *> renamed;
    for (const Heard &h : heardOf(QAccessible::NameChanged))
        renamed.push_back(h.object);
    for (const char *label : {"Label1", "Label3", "Label4"})
        EXPECT_EQ(std::count(renamed.begin(), renamed.end(), control(label)), 1) << label;
    EXPECT_EQ(std::count(renamed.begin(), renamed.end(), control("Label2")), 0);

    const std::vector<Heard> said = heardOf(Said);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].role, QAccessible::Notification);
    EXPECT_EQ(said[0].name, "１×１　＝");
}

// Without a selection interface, a screen reader finds the chosen interval
// only from the item that has focus.
TEST_F(AccessibilityTest, FocusOnTheIntervalListGoesToItsChosenItem)
{
    form.findChild<ListBox *>("ListBox1")->setItemIndex(1);
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    control("CheckBox12")->setFocus();
    heard.clear();
    control("ListBox1")->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([] {
        const std::vector<Heard> focused = heardOf(QAccessible::Focus);
        return !focused.empty() && focused.back().role == QAccessible::ListItem;
    }));
    EXPECT_EQ(heardOf(QAccessible::Focus).back().name, "２びょうおき");
}

} // namespace
