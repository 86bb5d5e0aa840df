#include "contrast.h"

#include <gtest/gtest.h>

namespace {

struct Pair {
    const char *name;
    QColor a;
    QColor b;
    qreal ratio;
};

void PrintTo(const Pair &value, std::ostream *out) { *out << value.name; }

class ContrastRatioTest : public testing::TestWithParam<Pair> {};

TEST_P(ContrastRatioTest, MatchesTheGuidelinesFigures)
{
    EXPECT_NEAR(contrastRatio(GetParam().a, GetParam().b), GetParam().ratio, 0.01);
    EXPECT_NEAR(contrastRatio(GetParam().b, GetParam().a), GetParam().ratio, 0.01) << "order must not matter";
}

INSTANTIATE_TEST_SUITE_P(Pairs, ContrastRatioTest,
                         testing::Values(Pair{"BlackOnWhite", Qt::black, Qt::white, 21.0},
                                         Pair{"Same", QColor(0x32, 0x32, 0x32), QColor(0x32, 0x32, 0x32), 1.0},
                                         Pair{"GreyOnWhite", QColor(0x76, 0x76, 0x76), Qt::white, 4.54},
                                         Pair{"BlueVioletOnDarkGrey", QColor(0x8a, 0x2b, 0xe2), QColor(0x32, 0x32, 0x32), 2.15},
                                         Pair{"ChocolateOnBlack", QColor(0xd2, 0x69, 0x1e), Qt::black, 5.78}),
                         [](const auto &info) { return std::string(info.param.name); });

struct Background {
    const char *name;
    QColor window;
    bool light;
};

void PrintTo(const Background &value, std::ostream *out) { *out << value.name; }

class LegibleOnTest : public testing::TestWithParam<Background> {};

const QColor Specified[] = {QColor(0xd2, 0x69, 0x1e), QColor(0x8a, 0x2b, 0xe2)};

TEST_P(LegibleOnTest, KeepsTheColourOnLightAndLightensJustEnoughOnDark)
{
    const QColor window = GetParam().window;
    ASSERT_EQ(isLightBackground(window), GetParam().light);
    for (const QColor &colour : Specified) {
        SCOPED_TRACE(colour.name().toStdString());
        const QColor shown = legibleOn(colour, window, 4.5);
        if (GetParam().light) {
            EXPECT_EQ(shown, colour);
            continue;
        }
        EXPECT_GE(contrastRatio(shown, window), 4.5);
        EXPECT_NEAR(shown.hslHueF(), colour.hslHueF(), 0.01) << "the hue must stay";
        EXPECT_GE(shown.lightness(), colour.lightness()) << "only ever lightened";
        if (contrastRatio(colour, window) >= 4.5) {
            EXPECT_EQ(shown, colour) << "already legible: unchanged";
        } else {
            // One step of lightness moves the ratio by less than this.
            EXPECT_LT(contrastRatio(shown, window), 4.5 + 0.15) << "lightened more than needed";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, LegibleOnTest,
                         testing::Values(Background{"DefaultGrey", QColor(0xef, 0xef, 0xef), true},
                                         Background{"White", Qt::white, true},
                                         Background{"DarkGrey", QColor(0x32, 0x32, 0x32), false},
                                         Background{"Black", Qt::black, false},
                                         Background{"DarkBlue", QColor(0x1b, 0x1e, 0x3c), false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
