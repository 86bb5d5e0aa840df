#include "controls.h"

#include "contrast.h"
#include "controltable.h"
#include "japanesefont.h"
#include "listbox.h"
#include "placement.h"
#include "pushbutton.h"
#include "scaledstyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include <algorithm>
#include <vector>

namespace {

// The layout was drawn for text of about this size; any larger and the
// longest check box ("０～９のぜんぶのだん") no longer fits at its scale.
constexpr int DefaultFontPixels = 11;

QString nameOf(const ControlRow &row)
{
    return QString::fromStdString(controlName(row));
}

QWidget *create(const ControlRow &row, QWidget *window, Controls &controls)
{
    const QString text = QString::fromUtf8(row.text);
    switch (row.kind) {
    case ControlKind::PushButton: {
        return controls.Button[row.number] = new PushButton(text, window);
    }
    case ControlKind::CheckBox: {
        return controls.CheckBox[row.number] = new QCheckBox(text, window);
    }
    case ControlKind::RadioButton: {
        return controls.RadioButton[row.number] = new QRadioButton(text, window);
    }
    case ControlKind::Label: {
        auto *label = new QLabel(window);
        label->setTextFormat(Qt::PlainText);
        return controls.Label[row.number] = label;
    }
    case ControlKind::ListBox: {
        auto *list = new ListBox(window);
        list->addItems(text.split(QLatin1Char('\n')));
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideNone);
        const std::string_view name = accessibleName(row);
        list->setAccessibleName(QString::fromUtf8(name.data(), name.size()));
        return controls.ListBox1 = list;
    }
    }
    return nullptr;
}

void applyLook(QWidget *control, const Look &look, QStyle *style)
{
    control->setStyle(style);
    LegibleStyle::setFocusHighlight(control, look.focusHighlight);
}

QFont unscaledFont(const QWidget *window, const Look &look)
{
    QFont font = window->font();
    if (look.fontPixels != 0)
        font.setPixelSize(look.fontPixels);
    font.setBold(look.bold);
    return font;
}

} // namespace

Controls buildControls(QWidget *window, QStyle *style)
{
    window->setFont(japaneseFont(DefaultFontPixels));
    Controls controls;
    std::vector<std::pair<int, QWidget *>> focusChain;
    for (const ControlRow &row : ControlTable) {
        QWidget *control = create(row, window, controls);
        control->setObjectName(nameOf(row));
        applyLook(control, row.look, style);
        const Placement &place = row.placement;
        placeScaled(control,
                    {QPointF(place.position.x, place.position.y), QSizeF(place.size.width, place.size.height), place.scale},
                    unscaledFont(window, row.look));
        if (row.focusOrder > 0)
            focusChain.emplace_back(row.focusOrder, control);
    }
    std::sort(focusChain.begin(), focusChain.end());
    for (std::size_t i = 1; i < focusChain.size(); ++i)
        QWidget::setTabOrder(focusChain[i - 1].second, focusChain[i].second);
    applyTextColours(window);
    return controls;
}

void applyTextColours(QWidget *window)
{
    const QColor background = window->palette().color(QPalette::Window);
    for (const ControlRow &row : ControlTable) {
        if (!row.look.textColour)
            continue;
        const Rgb &colour = *row.look.textColour;
        auto *control = window->findChild<QWidget *>(nameOf(row), Qt::FindDirectChildrenOnly);
        QPalette palette = control->palette();
        palette.setColor(QPalette::WindowText, legibleOn(QColor(colour.red, colour.green, colour.blue), background, TextContrast));
        control->setPalette(palette);
    }
}
