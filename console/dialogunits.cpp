#include "console/dialogunits.h"

#include <cmath>

namespace console {

namespace {

// Rounds half away from zero, as integer multiply-divide rounding does.
int scaled(int units, double base, double dpi)
{
    return static_cast<int>(std::lround(units * base * dpi / 96.0));
}

}  // namespace

int dialogUnitsToPixelsX(int units, double dpi)
{
    return scaled(units, 6.0 / 4.0, dpi);
}

int dialogUnitsToPixelsY(int units, double dpi)
{
    return scaled(units, 13.0 / 8.0, dpi);
}

QRect dialogRectToPixels(int x, int y, int cx, int cy, double dpi)
{
    const int left = dialogUnitsToPixelsX(x, dpi);
    const int top = dialogUnitsToPixelsY(y, dpi);
    const int right = dialogUnitsToPixelsX(x + cx, dpi);
    const int bottom = dialogUnitsToPixelsY(y + cy, dpi);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace console
