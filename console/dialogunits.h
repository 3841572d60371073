#pragma once
// Dialog units to pixels, as the dialog font of the layouts (8 point) maps them: a horizontal
// unit is a quarter of the font's average character width (6 px at 96 dpi), a vertical unit an
// eighth of its height (13 px at 96 dpi). Each edge is converted and rounded on its own, so
// adjacent controls stay adjacent.

#include <QRect>

namespace console {

// Pixels of `units` horizontal dialog units at `dpi` logical dots per inch.
int dialogUnitsToPixelsX(int units, double dpi);
int dialogUnitsToPixelsY(int units, double dpi);

// Rectangle of a control placed at (x, y) with size (cx, cy), all in dialog units.
QRect dialogRectToPixels(int x, int y, int cx, int cy, double dpi);

}  // namespace console
