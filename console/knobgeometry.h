#pragma once
// Geometry of the pan knob in client pixels: layout of the round face, the three zones, the
// mapping between values (trackbar range units, clockwise from the top) and rim points, and the
// pixel paths of the shaded rings, lines and dotted circles it paints. No window needed.

#include "console/colorref.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace console {

struct KnobLayout {
    QRect square;    // top-left square of the client area, side min(width, height)
    QPoint center;   // centre of that square
    int radius = 0;  // rim circle on which the detent dots sit
};

// Square side s = min(w, h); centre (s / 2, s / 2); radius s / 2 - (dotRadius + 1).
KnobLayout layoutKnob(QSize client, int dotRadius);

enum class KnobZone { Centre, Inner, Rim };

// Centre: d < (2R)/4, inner: d < (3R)/4, rim otherwise; d in single precision.
KnobZone knobZone(QPoint p, QPoint center, int radius);

// Rim point of `value` in range min..max: angle 0 at the top, growing clockwise.
QPoint ValueToPoint(int value, int min, int max, QPoint center, int radius);

// Value of the direction from `center` to `p`; the centre itself gives the bottom value.
int PointToValue(QPoint p, int min, int max, QPoint center);

// Index (below `count`) of the entry closest to `value` by plain difference; ties keep the lower.
int FindNearestDetent(const int* detents, int count, int value);

// One single-pixel point of a path and its colour.
struct PixelPoint {
    QPoint at;
    COLORREF color;
};

// The pixels of a line from a to b inclusive, stepping along the longer axis, the other
// coordinate from the slope in truncating integer division.
std::vector<QPoint> pixelLine(QPoint a, QPoint b);

// 360 segments of a ring lit from the upper left: `lit` on that side, `unlit` opposite.
std::vector<PixelPoint> shadedCircle(QPoint center, int radius, COLORREF lit, COLORREF unlit);

// 360 single pixels of a circle, one per degree.
std::vector<QPoint> dottedCircle(QPoint center, int radius);

}  // namespace console
