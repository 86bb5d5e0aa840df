// The window at the display scale the environment sets (QT_SCALE_FACTOR):
// every frame must be drawn whole on all four sides, and every row of the
// interval list must hold its text.
#include "tform4.h"

#include "drawnrows.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPalette>
#include <QPixmap>
#include <QStyleOption>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace {

enum class Side { Left, Top, Right, Bottom };

struct Framed {
    QString name;
    QRect rect;  // in the window, unscaled
    bool field;  // filled with the base colour inside its frame
};

class ScalingTest : public testing::Test {
protected:
    ScalingTest()
    {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        const QPixmap grabbed = form.grab();
        ratio = grabbed.devicePixelRatio();
        image = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
    }

    // A line of device pixels across one side of a control, from one pixel
    // outside it to a few inside, at `along` (0 to 1) of that side's length.
    std::vector<QRgb> across(const QRectF &device, Side side, qreal along) const
    {
        constexpr int Outside = 1;
        constexpr int Inside = 4;
        std::vector<QRgb> line;
        const int x = static_cast<int>(device.left() + along * device.width());
        const int y = static_cast<int>(device.top() + along * device.height());
        const int left = static_cast<int>(std::floor(device.left()));
        const int top = static_cast<int>(std::floor(device.top()));
        const int right = static_cast<int>(std::ceil(device.right())) - 1;
        const int bottom = static_cast<int>(std::ceil(device.bottom())) - 1;
        for (int step = -Outside; step < Inside; ++step) {
            switch (side) {
            case Side::Left: line.push_back(image.pixel(left + step, y)); break;
            case Side::Top: line.push_back(image.pixel(x, top + step)); break;
            case Side::Right: line.push_back(image.pixel(right - step, y)); break;
            case Side::Bottom: line.push_back(image.pixel(x, bottom - step)); break;
            }
        }
        return line;
    }

    // The list, the buttons and a check box's indicator.
    std::vector<Framed> framedParts() const
    {
        std::vector<Framed> parts;
        for (const char *name : {"ListBox1", "Button1", "Button2", "Button3"}) {
            const auto *control = form.findChild<QWidget *>(QString::fromLatin1(name));
            parts.push_back({control->objectName(), control->geometry(), control->inherits("QListWidget")});
        }
        const auto *box = form.findChild<QCheckBox *>(QStringLiteral("CheckBox1"));
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        parts.push_back({QStringLiteral("CheckBox1 indicator"), indicator.translated(box->pos()), false});
        return parts;
    }

    TForm4 form;
    qreal ratio = 1;
    QImage image;
};

const char *sideName(Side side)
{
    static constexpr const char *Names[] = {"left", "top", "right", "bottom"};
    return Names[static_cast<int>(side)];
}

QString describe(const std::vector<QRgb> &line)
{
    QStringList colours;
    for (const QRgb pixel : line)
        colours << QColor(pixel).name();
    return colours.join(QLatin1Char(' '));
}

TEST_F(ScalingTest, FramesAreWholeOnEverySide)
{
    const int window = qGray(form.palette().color(QPalette::Window).rgb());
    const QColor base = form.palette().color(QPalette::Base);
    const QColor selected = form.palette().color(QPalette::Highlight);
    // A frame line is clearly darker than the window around it; a line that
    // rounding lost leaves only the window or the field there.
    constexpr int FrameDarkness = 25;
    for (const Framed &framed : framedParts()) {
        const QRectF device(QPointF(framed.rect.topLeft()) * ratio, QSizeF(framed.rect.size()) * ratio);
        for (const Side side : {Side::Left, Side::Top, Side::Right, Side::Bottom}) {
            // The middle of each side: corners are rounded.
            for (qreal along = 0.2; along <= 0.8; along += 0.05) {
                const std::vector<QRgb> line = across(device, side, along);
                const auto frame = std::min_element(line.begin(), line.end(),
                                                    [](QRgb a, QRgb b) { return qGray(a) < qGray(b); });
                SCOPED_TRACE(testing::Message() << framed.name.toStdString() << ' ' << sideName(side) << " at " << along
                                                << ", scale " << ratio << ": " << describe(line).toStdString());
                EXPECT_LE(qGray(*frame), window - FrameDarkness) << "no frame line";
                if (!framed.field)
                    continue;
                ASSERT_NE(frame + 1, line.end());
                EXPECT_NE(QColor(frame[1]), form.palette().color(QPalette::Window))
                    << "a line of window colour between the frame and the field";
                const QColor inside(line.back());
                EXPECT_TRUE(inside == base || inside == selected) << "the field does not reach the frame";
            }
        }
    }
}

TEST_F(ScalingTest, IntervalRowsHoldTheirTextInsideTheList)
{
    auto *list = form.findChild<QListWidget *>(QStringLiteral("ListBox1"));
    const QRect field = list->viewport()->rect();
    for (int row = 0; row < list->count(); ++row) {
        const QRect rect = list->visualItemRect(list->item(row));
        EXPECT_GE(rect.top(), field.top()) << "row " << row;
        EXPECT_LE(rect.bottom(), field.bottom()) << "row " << row;
    }
    for (const DrawnRow &drawn : drawnRows(*list)) {
        SCOPED_TRACE(testing::Message() << "scale " << ratio << ", row " << drawn.row.top() << " to "
                                        << drawn.row.bottom() << ", ink " << drawn.ink.top() << " to "
                                        << drawn.ink.bottom() + 1);
        ASSERT_FALSE(drawn.ink.isNull());
        EXPECT_TRUE(clearOfEdges(drawn));
    }
}

} // namespace
