// The window on the colour schemes families use, measured from its pixels:
// every box can be seen and the two coloured texts can be read.
#include "contrast.h"
#include "tform4.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QStyleOption>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Scheme {
    const char *name;
    QColor window;
    QColor text;
    QColor base;
    QColor button;
    QColor highlight;
};

void PrintTo(const Scheme &value, std::ostream *out) { *out << value.name; }

const Scheme Schemes[] = {
    {"Default", {}, {}, {}, {}, {}},
    {"DarkGrey", QColor(0x32, 0x32, 0x32), Qt::white, QColor(0x1e, 0x1e, 0x1e), QColor(0x3c, 0x3c, 0x3c),
     QColor(0x2a, 0x82, 0xda)},
    {"BlackHighContrast", Qt::black, Qt::white, Qt::black, Qt::black, QColor(0x1a, 0xeb, 0xff)},
};

QPalette paletteOf(const Scheme &scheme, QPalette palette)
{
    if (!scheme.window.isValid())
        return palette;
    palette.setColor(QPalette::Window, scheme.window);
    palette.setColor(QPalette::WindowText, scheme.text);
    palette.setColor(QPalette::Base, scheme.base);
    palette.setColor(QPalette::Text, scheme.text);
    palette.setColor(QPalette::Button, scheme.button);
    palette.setColor(QPalette::ButtonText, scheme.text);
    palette.setColor(QPalette::Highlight, scheme.highlight);
    return palette;
}

class ColourSchemeTest : public testing::TestWithParam<Scheme> {
protected:
    ColourSchemeTest()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        // As a desktop switching schemes does, after the window is built.
        form.setPalette(paletteOf(GetParam(), form.palette()));
        window = form.palette().color(QPalette::Window);
        image = form.grab().toImage();
    }

    // The highest contrast against the window of any pixel in `area`, and
    // the pixel that has it.
    std::pair<qreal, QColor> strongest(const QRect &area, const QRect &leaveOut = {}) const
    {
        std::pair<qreal, QColor> best{1.0, window};
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (leaveOut.contains(x, y))
                    continue;
                const QColor pixel = image.pixelColor(x, y);
                const qreal ratio = contrastRatio(pixel, window);
                if (ratio > best.first)
                    best = {ratio, pixel};
            }
        }
        return best;
    }

    QRect indicatorOf(const QAbstractButton *control) const
    {
        QStyleOptionButton option;
        option.initFrom(control);
        const auto element = qobject_cast<const QRadioButton *>(control) ? QStyle::SE_RadioButtonIndicator
                                                                          : QStyle::SE_CheckBoxIndicator;
        return control->style()->subElementRect(element, &option, control).translated(control->pos());
    }

    TForm4 form;
    QColor window;
    QImage image;
};

TEST_P(ColourSchemeTest, UncheckedIndicatorsStandOutFromTheWindow)
{
    constexpr qreal OutlineContrast = 3.0;
    int measured = 0;
    for (QAbstractButton *control : form.findChildren<QAbstractButton *>()) {
        if (!control->isCheckable() || control->isChecked())
            continue;
        const QRect indicator = indicatorOf(control);
        const QPoint centre = indicator.center();
        // A short line across each side of the outline, at its middle.
        const QRect crossings[] = {
            QRect(indicator.left() - 1, centre.y(), 4, 1), QRect(indicator.right() - 2, centre.y(), 4, 1),
            QRect(centre.x(), indicator.top() - 1, 1, 4), QRect(centre.x(), indicator.bottom() - 2, 1, 4)};
        for (const QRect &crossing : crossings) {
            EXPECT_GE(strongest(crossing).first, OutlineContrast)
                << control->objectName().toStdString() << " outline near " << crossing.x() << ',' << crossing.y();
        }
        ++measured;
    }
    EXPECT_EQ(measured, 14) << "twelve unchecked check boxes and two radio buttons";
}

// The list's frame is a control's edge: 3:1 against the window on each side.
TEST_P(ColourSchemeTest, ListFrameStandsOutFromTheWindow)
{
    constexpr qreal EdgeContrast = 3.0;
    const QRect list = form.findChild<QListWidget *>(QStringLiteral("ListBox1"))->geometry();
    const QPoint centre = list.center();
    const QRect edges[] = {QRect(list.left(), centre.y(), 1, 1), QRect(list.right(), centre.y(), 1, 1),
                           QRect(centre.x(), list.top(), 1, 1), QRect(centre.x(), list.bottom(), 1, 1)};
    for (const QRect &edge : edges)
        EXPECT_GE(strongest(edge).first, EdgeContrast) << "frame at " << edge.x() << ',' << edge.y();
}

TEST_P(ColourSchemeTest, ColouredTextsAreLegibleInTheirOwnHue)
{
    constexpr qreal TextContrast = 4.5;
    const std::pair<const char *, QColor> texts[] = {{"CheckBox11", QColor(0xd2, 0x69, 0x1e)},
                                                     {"CheckBox12", QColor(0x8a, 0x2b, 0xe2)}};
    for (const auto &[name, specified] : texts) {
        SCOPED_TRACE(name);
        const auto *box = form.findChild<QCheckBox *>(QString::fromLatin1(name));
        const auto [ratio, ink] = strongest(box->geometry(), indicatorOf(box).adjusted(-2, -2, 2, 2));
        if (isLightBackground(window) || contrastRatio(specified, window) >= TextContrast) {
            EXPECT_EQ(ink, specified) << "where it is legible the specified colour stands exactly";
            continue;
        }
        EXPECT_GE(ratio, TextContrast);
        EXPECT_LT(ratio, TextContrast + 0.3) << "lightened more than needed: " << ink.name().toStdString();
        EXPECT_NEAR(ink.hslHueF(), specified.hslHueF(), 0.02) << "the hue must stay: " << ink.name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Schemes, ColourSchemeTest, testing::ValuesIn(Schemes),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace

namespace {

// Windows draws the selection of an inactive window in the window's own
// colour; the chosen interval must stay plain to see all the same.
TEST(ListSelectionTest, StaysVisibleWhenTheWindowIsNotActive)
{
    TForm4 form;
    QPalette palette = form.palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Inactive, QPalette::Window));
    form.setPalette(palette);
    ASSERT_FALSE(form.isActiveWindow());
    const auto *list = form.findChild<QListWidget *>(QStringLiteral("ListBox1"));
    const QRect chosen = list->visualItemRect(list->item(0));
    // The item's right end, past its text.
    const QPoint blank = list->viewport()->mapTo(&form, QPoint(chosen.right() - 2, chosen.center().y()));
    EXPECT_EQ(form.grab().toImage().pixelColor(blank), palette.color(QPalette::Active, QPalette::Highlight));
}

} // namespace
