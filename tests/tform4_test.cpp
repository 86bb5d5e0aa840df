#include "tform4.h"

#include "entrytable.h"
#include "listbox.h"
#include "runstepper.h"
#include "duetimer.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOption>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct ExpectedControl {
    const char *name;
    const char *className;
    const char *text;
    QPointF position;
    QSizeF size;  // empty: the control's own size
    qreal scale;
};

// The window's controls in creation order.
const ExpectedControl ExpectedControls[] = {
    {"Button1", "PushButton", "タイマーで", {255, 479}, {80, 57}, 1},
    {"Button2", "PushButton", "おわる", {255, 368}, {80, 49}, 1},
    {"CheckBox1", "QCheckBox", "１のだん", {24, 136}, {73, 19}, 1.5},
    {"CheckBox2", "QCheckBox", "２のだん", {176, 136}, {80, 19}, 1.5},
    {"CheckBox3", "QCheckBox", "３のだん", {24, 184}, {73, 19}, 1.5},
    {"CheckBox4", "QCheckBox", "４のだん", {176, 184}, {80, 19}, 1.5},
    {"CheckBox5", "QCheckBox", "５のだん", {24, 232}, {73, 19}, 1.5},
    {"CheckBox6", "QCheckBox", "６のだん", {176, 232}, {80, 19}, 1.5},
    {"CheckBox7", "QCheckBox", "７のだん", {24, 280}, {73, 19}, 1.5},
    {"CheckBox8", "QCheckBox", "８のだん", {176, 280}, {80, 19}, 1.5},
    {"CheckBox9", "QCheckBox", "９のだん", {24, 328}, {73, 19}, 1.5},
    {"CheckBox10", "QCheckBox", "０～９のぜんぶのだん", {24, 376}, {137, 19}, 1.5},
    {"RadioButton1", "QRadioButton", "のぼり九九", {8, 488}, {}, 1.5},
    {"RadioButton2", "QRadioButton", "くだり九九", {8, 534}, {}, 1.5},
    {"RadioButton3", "QRadioButton", "バラ九九", {8, 576}, {}, 1.5},
    {"Label2", "QLabel", "＝", {111, 32}, {17, 17}, 2},
    {"Label1", "QLabel", "Label1", {8, 32}, {49, 17}, 2},
    {"Label3", "QLabel", "Label3", {144, 32}, {57, 17}, 2},
    {"Label4", "QLabel", "Label4", {8, 81}, {161, 17}, 2},
    {"CheckBox11", "QCheckBox", "となえかたをだす", {176, 432}, {120, 19}, 1.5},
    {"CheckBox12", "QCheckBox", "×０もあり", {24, 432}, {81, 19}, 1.5},
    {"ListBox1", "ListBox", "", {128, 484}, {73, 84}, 1.5},
    {"CheckBox13", "QCheckBox", "ぜんぶのだん", {176, 328}, {96, 19}, 1.5},
    {"Button3", "PushButton", "ひとつずつ", {255, 552}, {80, 57}, 1},
};

const char *const TabOrder[] = {
    "Button1", "Button2", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5",
    "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10", "RadioButton1", "RadioButton2",
    "RadioButton3", "CheckBox11", "CheckBox12", "ListBox1", "CheckBox13", "Button3",
};

const QStringList IntervalItems = {"１びょうおき", "２びょうおき", "３びょうおき", "４びょうおき"};

QString textOf(const QWidget *control)
{
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    return {};
}

class TForm4Test : public testing::Test {
protected:
    template <typename T = QWidget>
    T *control(const char *name)
    {
        T *found = form.findChild<T *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TForm4 form;
};

TEST_F(TForm4Test, WindowIsFixedAtItsClientSize)
{
    EXPECT_EQ(form.objectName(), "Form4");
    EXPECT_EQ(form.windowTitle(), "Pimbola");
    EXPECT_EQ(form.size(), QSize(393, 635));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the window must not be resizable";
}

TEST_F(TForm4Test, WindowShowsTheProgramsIconOnceShown)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.windowIcon().isNull(); }, 5000));
    const QImage icon = form.windowIcon().pixmap(64, 64).toImage();
    ASSERT_FALSE(icon.isNull()) << "the SVG icon engine did not draw the icon";
    EXPECT_EQ(icon.size(), QSize(64, 64));
    EXPECT_EQ(icon.pixelColor(32, 8), QColor(0x2f, 0x6b, 0x4f)) << "the board's green";
    EXPECT_EQ(icon.pixelColor(1, 1).alpha(), 0) << "rounded corners";
}

TEST_F(TForm4Test, ControlsInCreationOrderWithNameKindAndText)
{
    std::vector<QWidget *> created;
    for (QObject *child : form.children()) {
        if (auto *widget = qobject_cast<QWidget *>(child))
            created.push_back(widget);
    }
    ASSERT_EQ(created.size(), std::size(ExpectedControls));
    for (std::size_t i = 0; i < created.size(); ++i) {
        const ExpectedControl &expected = ExpectedControls[i];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(created[i]->objectName(), expected.name);
        EXPECT_STREQ(created[i]->metaObject()->className(), expected.className);
        EXPECT_EQ(textOf(created[i]), QString::fromUtf8(expected.text));
    }
    EXPECT_EQ(control<ListBox>("ListBox1")->count(), 4);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(control<ListBox>("ListBox1")->item(row)->text(), IntervalItems[row]);
}

TEST_F(TForm4Test, ControlsCoverTheirScaledRectangles)
{
    for (const ExpectedControl &expected : ExpectedControls) {
        SCOPED_TRACE(expected.name);
        const QRect covered = control(expected.name)->geometry();
        const QSizeF size = expected.size.isEmpty() ? QSizeF(control(expected.name)->sizeHint()) / expected.scale
                                                    : expected.size;
        const QRectF exact(expected.position, size * expected.scale);
        EXPECT_NEAR(covered.left(), exact.left(), 1.0);
        EXPECT_NEAR(covered.top(), exact.top(), 1.0);
        EXPECT_NEAR(covered.left() + covered.width(), exact.right(), 1.0);
        EXPECT_NEAR(covered.top() + covered.height(), exact.bottom(), 1.0);
        EXPECT_TRUE(form.rect().contains(covered)) << "outside the client area";
    }
}

TEST_F(TForm4Test, TabOrderFollowsTheFocusValues)
{
    std::vector<QString> order;
    QWidget *widget = control("Button1");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.push_back(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != control("Button1"));
    ASSERT_EQ(order.size(), std::size(TabOrder));
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], TabOrder[i]);
    for (const char *label : {"Label1", "Label2", "Label3", "Label4"})
        EXPECT_EQ(control(label)->focusPolicy(), Qt::NoFocus) << label;
}

TEST_F(TForm4Test, FontsAreJapaneseAndScaled)
{
    const int basePixels = control("CheckBox1")->font().pixelSize() * 2 / 3;
    EXPECT_GE(basePixels, 10) << "text this small is hard for a child to read";
    for (const ExpectedControl &expected : ExpectedControls) {
        SCOPED_TRACE(expected.name);
        const QFont font = control(expected.name)->font();
        EXPECT_EQ(QFontInfo(font).family(), "Noto Sans CJK JP");
        const QString name = QString::fromLatin1(expected.name);
        if (name.startsWith("Button"))
            EXPECT_EQ(font.pixelSize(), 16);
        else if (name == "Label2")
            EXPECT_EQ(font.pixelSize(), 28);
        else
            EXPECT_EQ(font.pixelSize(), qRound(basePixels * expected.scale));
        EXPECT_EQ(font.bold(), name == "Label2");
    }
}

TEST_F(TForm4Test, TextColours)
{
    const QColor plain = control("CheckBox1")->palette().color(QPalette::WindowText);
    EXPECT_EQ(control("CheckBox11")->palette().color(QPalette::WindowText), QColor(0xD2, 0x69, 0x1E));
    EXPECT_EQ(control("CheckBox12")->palette().color(QPalette::WindowText), QColor(0x8A, 0x2B, 0xE2));
    for (const char *name : {"CheckBox13", "Label1", "RadioButton1", "Button1"})
        EXPECT_EQ(control(name)->palette().color(QPalette::WindowText), plain) << name;
}

TEST_F(TForm4Test, InitialStatesRunNoHandler)
{
    for (int number = 1; number <= 13; ++number) {
        const QByteArray name = "CheckBox" + QByteArray::number(number);
        EXPECT_EQ(control<QCheckBox>(name)->isChecked(), number == 13) << name.data();
    }
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_FALSE(control<QRadioButton>("RadioButton3")->isChecked());
    EXPECT_EQ(control<ListBox>("ListBox1")->itemIndex(), 0);

    // Timer1 ticks from start-up.
    const auto *timer = form.findChild<DueTimer *>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isArmed());
}

// Every text a control can show must fit inside it at its scale.
QStringList textsShownBy(const QWidget *label)
{
    EntryTable table;
    FillEntryTable(table);
    const QString name = label->objectName();
    QStringList texts{textOf(label)};
    for (const DrillEntry &entry : table) {
        if (name == "Label1")
            texts << QString::fromStdString(entry.ExpressionText);
        if (name == "Label3")
            texts << QString::fromStdString(entry.AnswerText);
        if (name == "Label4")
            texts << QString::fromStdString(entry.ChantFactors + std::string(ChantSeparator) + entry.ChantProduct);
    }
    if (name == "Label4")
        texts << QString::fromUtf8(FinishMessage.data(), FinishMessage.size());
    return texts;
}

QRect textRoomOf(QWidget *control)
{
    QStyleOptionButton option;
    option.initFrom(control);
    option.text = textOf(control);
    const QStyle *style = control->style();
    if (qobject_cast<QCheckBox *>(control))
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, control);
    if (qobject_cast<QRadioButton *>(control))
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, control);
    if (qobject_cast<QPushButton *>(control))
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    return control->contentsRect();
}

TEST_F(TForm4Test, NoTextIsClipped)
{
    for (const ExpectedControl &expected : ExpectedControls) {
        QWidget *widget = control(expected.name);
        if (qobject_cast<ListBox *>(widget))
            continue;
        const QFontMetrics metrics(widget->font());
        const QRect room = textRoomOf(widget);
        const QStringList texts = qobject_cast<QLabel *>(widget) ? textsShownBy(widget) : QStringList{textOf(widget)};
        for (const QString &text : texts) {
            SCOPED_TRACE(text.toStdString());
            EXPECT_LE(metrics.horizontalAdvance(text), room.width()) << expected.name;
            EXPECT_LE(metrics.tightBoundingRect(text).height(), room.height()) << expected.name;
        }
    }
}

TEST_F(TForm4Test, IntervalListShowsItsFourItemsWhole)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto *list = control<ListBox>("ListBox1");
    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    const QFontMetrics metrics(list->font());
    const int textMargin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    for (int row = 0; row < list->count(); ++row) {
        const QRect item = list->visualItemRect(list->item(row));
        EXPECT_TRUE(list->viewport()->rect().contains(item)) << row;
        EXPECT_LE(metrics.horizontalAdvance(list->item(row)->text()), item.width() - 2 * textMargin) << row;
    }
}

TEST_F(TForm4Test, OwariClosesTheWindowAndStopsTheTimer)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(control("Button2"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.findChild<DueTimer *>("Timer1")->isArmed());
}

} // namespace
