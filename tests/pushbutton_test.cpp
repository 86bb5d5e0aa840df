#include "pushbutton.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Key {
    const char *name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const Key &value, std::ostream *out) { *out << value.name; }

class PushButtonKeyTest : public testing::TestWithParam<Key> {
protected:
    PushButtonKeyTest()
    {
        window.show();
        button->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QWidget window;
    PushButton *const button = new PushButton(QStringLiteral("おわる"), &window);
    QSignalSpy clicks{button, &QPushButton::clicked};
};

TEST_P(PushButtonKeyTest, OnePressOneClick)
{
    QTest::keyClick(button, GetParam().key, GetParam().modifiers);
    EXPECT_EQ(clicks.count(), 1);
}

// Holding the key down repeats its press; the click comes once, on release.
TEST_P(PushButtonKeyTest, HeldKeyClicksOnceOnRelease)
{
    const Key key = GetParam();
    QTest::sendKeyEvent(QTest::KeyAction::Press, button, key.key, QString(), key.modifiers);
    EXPECT_TRUE(button->isDown());
    for (int repeat = 0; repeat < 3; ++repeat) {
        QKeyEvent again(QEvent::KeyPress, key.key, key.modifiers, QString(), true);
        QCoreApplication::sendEvent(button, &again);
    }
    EXPECT_EQ(clicks.count(), 0) << "no click before the key is let go";
    QTest::sendKeyEvent(QTest::KeyAction::Release, button, key.key, QString(), key.modifiers);
    EXPECT_EQ(clicks.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, PushButtonKeyTest,
                         testing::Values(Key{"Space", Qt::Key_Space, Qt::NoModifier},
                                         Key{"Return", Qt::Key_Return, Qt::NoModifier},
                                         Key{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PushButtonTest, OtherKeysDoNotClick)
{
    QWidget window;
    auto *button = new PushButton(QStringLiteral("おわる"), &window);
    QSignalSpy clicks(button, &QPushButton::clicked);
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Tab})
        QTest::keyClick(button, key);
    EXPECT_EQ(clicks.count(), 0);
}

} // namespace
