#include "legiblestyle.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include <gtest/gtest.h>

namespace {

// Whether the style paints anything when asked for a focus frame by `widget`,
// as it is asked while the keyboard moves the focus.
bool paintsFocusFrame(const QStyle &style, const QWidget *widget)
{
    QImage blank(40, 20, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QImage image = blank;
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    option.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
    option.rect = image.rect();
    option.backgroundColor = Qt::white;
    QPainter painter(&image);
    style.drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
    painter.end();
    return image != blank;
}

// A list asks about its items' frames with its viewport, so the setting made
// on the list must reach that too.
TEST(LegibleStyleTest, FocusFrameOnlyOnControlsThatWantOne)
{
    LegibleStyle style(nullptr);
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        QListWidget list;
        LegibleStyle::setFocusHighlight(&list, shown);
        EXPECT_EQ(paintsFocusFrame(style, &list), shown);
        EXPECT_EQ(paintsFocusFrame(style, list.viewport()), shown) << "asked by the viewport";
    }
}

} // namespace
