#include "placement.h"

#include "scaledstyle.h"

#include <QCheckBox>
#include <QFont>
#include <QListWidget>
#include <QRadioButton>
#include <QStyleOption>

#include <gtest/gtest.h>

namespace {

QFont elevenPixelFont()
{
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(11);
    return font;
}

struct Cover {
    const char *name;
    ScaledPlacement placement;
};

class CoverTest : public testing::TestWithParam<Cover> {};

TEST_P(CoverTest, CoversPositionToPositionPlusScaledSize)
{
    QWidget window;
    ScaledStyle style(&window);
    auto *box = new QCheckBox(QStringLiteral("x"), &window);
    box->setStyle(&style);
    const ScaledPlacement &placement = GetParam().placement;
    placeScaled(box, placement, elevenPixelFont());

    const QRectF exact(placement.position, placement.size * placement.scale);
    const QRect covered = box->geometry();
    EXPECT_NEAR(covered.left(), exact.left(), 1.0);
    EXPECT_NEAR(covered.top(), exact.top(), 1.0);
    EXPECT_NEAR(covered.left() + covered.width(), exact.right(), 1.0);
    EXPECT_NEAR(covered.top() + covered.height(), exact.bottom(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Placements, CoverTest,
                         testing::Values(Cover{"Unscaled", {{255, 479}, {80, 57}, 1.0}},
                                         Cover{"HalfPixelEdges", {{24, 136}, {73, 19}, 1.5}},
                                         Cover{"Wide", {{24, 376}, {137, 19}, 1.5}},
                                         Cover{"Double", {{8, 81}, {161, 17}, 2.0}},
                                         Cover{"FractionalPosition", {{10.25, 20.75}, {33, 7}, 1.5}}),
                         [](const testing::TestParamInfo<Cover> &info) { return info.param.name; });

// Builds the same control at scale 1 and at scale s, to compare how they draw.
template <typename Control>
struct Pair {
    QWidget window;
    ScaledStyle style{&window};
    Control *plain = new Control(&window);
    Control *scaled = new Control(&window);

    explicit Pair(qreal scale)
    {
        for (auto *control : {plain, scaled})
            control->setStyle(&style);
        placeScaled(plain, {{0, 0}, {}, 1.0}, elevenPixelFont());
        placeScaled(scaled, {{0, 0}, {}, scale}, elevenPixelFont());
    }
};

template <typename Control>
QRect indicatorOf(Control *control, QStyle::SubElement element)
{
    QStyleOptionButton option;
    option.initFrom(control);
    return control->style()->subElementRect(element, &option, control);
}

TEST(ScaledDrawing, CheckBoxTextAndIndicatorGrowByTheScale)
{
    Pair<QCheckBox> boxes(1.5);
    EXPECT_EQ(boxes.scaled->font().pixelSize(), 17);
    const QRect plain = indicatorOf(boxes.plain, QStyle::SE_CheckBoxIndicator);
    const QRect scaled = indicatorOf(boxes.scaled, QStyle::SE_CheckBoxIndicator);
    EXPECT_NEAR(scaled.width(), plain.width() * 1.5, 1.0);
    EXPECT_NEAR(scaled.height(), plain.height() * 1.5, 1.0);
    // The gap between indicator and text grows too.
    const QRect plainText = indicatorOf(boxes.plain, QStyle::SE_CheckBoxContents);
    const QRect scaledText = indicatorOf(boxes.scaled, QStyle::SE_CheckBoxContents);
    EXPECT_NEAR(scaledText.left(), plainText.left() * 1.5, 1.0);
}

TEST(ScaledDrawing, RadioIndicatorGrowsByTheScale)
{
    Pair<QRadioButton> radios(2.0);
    EXPECT_EQ(radios.scaled->font().pixelSize(), 22);
    const QRect plain = indicatorOf(radios.plain, QStyle::SE_RadioButtonIndicator);
    const QRect scaled = indicatorOf(radios.scaled, QStyle::SE_RadioButtonIndicator);
    EXPECT_NEAR(scaled.width(), plain.width() * 2.0, 1.0);
    const QRect plainText = indicatorOf(radios.plain, QStyle::SE_RadioButtonContents);
    const QRect scaledText = indicatorOf(radios.scaled, QStyle::SE_RadioButtonContents);
    EXPECT_NEAR(scaledText.left(), plainText.left() * 2.0, 1.0);
}

TEST(ScaledDrawing, ListItemsGrowByTheScale)
{
    Pair<QListWidget> lists(1.5);
    for (auto *list : {lists.plain, lists.scaled})
        list->addItem(QStringLiteral("１びょうおき"));
    EXPECT_NEAR(lists.scaled->sizeHintForRow(0), lists.plain->sizeHintForRow(0) * 1.5, 2.0);
    EXPECT_NEAR(lists.scaled->sizeHintForColumn(0), lists.plain->sizeHintForColumn(0) * 1.5, 3.0);
}

} // namespace
