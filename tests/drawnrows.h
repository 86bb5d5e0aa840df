#pragma once

#include <QRect>
#include <QRectF>

#include <vector>

class QListWidget;

// Where a list draws one row and its text, in device pixels of the list.
struct DrawnRow {
    QRectF row;  // as the view places it; a chosen row's bar fills it
    QRect ink;   // the text's glyphs; null when nothing is drawn
};

// Draws each row of the list in turn as its chosen row, with the text of
// every other row hidden, and finds the glyphs of the one shown. The chosen
// text is drawn black, so that it stands out from the bar and the field.
// Leaves the last row chosen and the others' text hidden.
std::vector<DrawnRow> drawnRows(QListWidget &list);

// Whether the ink keeps at least one device pixel clear of the row's top
// and bottom edges.
bool clearOfEdges(const DrawnRow &drawn);
