#pragma once

#include <QColor>

// The outlines Fusion draws around a control, each a shade it derives from
// the window colour alone.
enum class Outline { CheckBox, RadioButton, Field };

// What each outline must reach against the window. A field's frame is a
// crisp filled line and needs the 3:1 of a control's edge; an indicator's
// is thin and antialiased, its pixels only ever show part of its colour,
// so it is held to the contrast of text.
qreal contrastWanted(Outline outline);

// Fusion's own shade of the outline on this window colour.
QColor fusionShade(Outline outline, const QColor &window);

// A window colour to hand Fusion in place of the real one, moved away from
// it just far enough that the outline derived from it stands out from the
// real window by contrastWanted(); the real colour where it already does.
QColor standInWindow(Outline outline, const QColor &window);

// The outline itself, as Fusion would draw it on the stand-in.
QColor outlineOn(Outline outline, const QColor &window);
