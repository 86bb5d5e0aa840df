#include "tform4.h"

#include "duetimer.h"
#include "listbox.h"
#include "manualclock.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

// Runs driven through the real controls in virtual time: the window's timer
// fires when the test moves the clock to its due time.
class WindowRunTest : public testing::Test {
protected:
    WindowRunTest()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    template <typename T = QWidget>
    T *control(const char *name)
    {
        return form.findChild<T *>(QString::fromLatin1(name));
    }

    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(5, 10)); }
    void tick()
    {
        ASSERT_TRUE(timer().due());
        clock.setTo(*timer().due());
        emit control<DueTimer>("Timer1")->fired();
    }
    const TimerSchedule &timer() const { return form.form().Timer1(); }
    long long untilDue() const { return std::chrono::duration_cast<std::chrono::milliseconds>(*timer().due() - clock.now()).count(); }

    std::array<QString, 3> labels()
    {
        return {control<QLabel>("Label1")->text(), control<QLabel>("Label3")->text(), control<QLabel>("Label4")->text()};
    }

    ManualClock clock;
    TForm4 form{clock};
};

using Labels = std::array<QString, 3>;

TEST_F(WindowRunTest, TimedRunWithRecitation)
{
    click("CheckBox11");
    click("Button1");
    EXPECT_EQ(labels(), (Labels{"１×１", "", "いんいちが"}));
    EXPECT_TRUE(timer().isEnabled());
    EXPECT_EQ(timer().interval(), 1000);
    tick();
    EXPECT_EQ(labels(), (Labels{"１×１", "１", "いんいちが　いち"}));
    tick();
    EXPECT_EQ(labels(), (Labels{"１×２", "", "いんにが"}));
    EXPECT_EQ(control<QLabel>("Label2")->text(), "＝");
}

TEST_F(WindowRunTest, TimedRunUsesTheChosenInterval)
{
    control<ListBox>("ListBox1")->setItemIndex(3);
    click("Button1");
    EXPECT_EQ(timer().interval(), 4000);
    EXPECT_EQ(untilDue(), 4000);
}

TEST_F(WindowRunTest, SteppedRunOfOneRowDescendingToItsFinish)
{
    click("CheckBox3");
    click("CheckBox11");
    click("RadioButton2");
    click("Button3");
    EXPECT_EQ(labels(), (Labels{"３×９", "", "さんく"}));
    EXPECT_FALSE(timer().isEnabled());
    click("Button3");
    EXPECT_EQ(labels(), (Labels{"３×９", "２７", "さんく　にじゅうしち"}));
    click("Button3");
    EXPECT_EQ(labels(), (Labels{"３×８", "", "さんぱ"}));
    for (int press = 4; press <= 18; ++press)
        click("Button3");
    EXPECT_EQ(labels(), (Labels{"３×１", "３", "さんいちが　さん"}));
    click("Button3");
    EXPECT_EQ(labels(), (Labels{"３×１", "３", "ぜんぶ　おしまいです"}));
    EXPECT_FALSE(timer().isEnabled());
    click("Button3");
    EXPECT_EQ(labels(), (Labels{"３×９", "", "さんく"}));
}

// Space, Return and keypad Enter each press the focused button once.
TEST_F(WindowRunTest, KeyboardPressesStepTheRun)
{
    control("Button3")->setFocus();
    QTest::keyClick(control("Button3"), Qt::Key_Space);
    QTest::keyClick(control("Button3"), Qt::Key_Return);
    EXPECT_EQ(labels(), (Labels{"１×１", "１", ""}));
    QTest::keyClick(control("Button3"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(labels(), (Labels{"１×２", "", ""}));
}

// Enter is a push button's key only: on a check box or the list it changes
// nothing.
TEST_F(WindowRunTest, EnterLeavesCheckBoxesAndTheListAlone)
{
    for (const char *name : {"CheckBox1", "CheckBox13", "ListBox1"}) {
        control(name)->setFocus();
        QTest::keyClick(control(name), Qt::Key_Return);
        QTest::keyClick(control(name), Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_FALSE(control<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CheckBox13")->isChecked());
    EXPECT_EQ(form.form().run().intervalSeconds(), 0) << "no interval chosen";
    EXPECT_EQ(labels(), (Labels{"Label1", "Label3", "Label4"})) << "no run started";
}

TEST_F(WindowRunTest, ShuffledRunHoldsEveryFactOnce)
{
    click("RadioButton3");
    click("CheckBox12");
    click("Button3");
    QStringList seen;
    for (int fact = 0; fact < 90; ++fact) {
        seen << labels()[0];
        click("Button3");
        click("Button3");
    }
    EXPECT_EQ(labels()[2], "ぜんぶ　おしまいです");
    seen.removeDuplicates();
    EXPECT_EQ(seen.size(), 90);
}

// The window draws a new seed for every run: バラ九九 twice in a row gives
// two orders.
TEST_F(WindowRunTest, EveryShuffledRunHasAnOrderOfItsOwn)
{
    const auto listed = [this] {
        std::vector<std::string> texts;
        const DrillList &list = form.form().run().drillList();
        for (int slot = 1; slot <= list.DrillCount(); ++slot)
            texts.push_back(list.slot(slot).ExpressionText);
        return texts;
    };
    click("RadioButton3");
    click("Button1");
    const std::vector<std::string> first = listed();
    ASSERT_EQ(first.size(), 81u);
    click("Button1");
    EXPECT_NE(listed(), first);
}

TEST_F(WindowRunTest, StepButtonInterruptsATimedRun)
{
    click("Button1");
    tick();
    tick();
    click("Button3");
    EXPECT_EQ(labels(), (Labels{"１×１", "", ""}));
    EXPECT_FALSE(timer().isEnabled());
}

} // namespace
