#include "console/colorref.h"

namespace {

template <typename F>
COLORREF perChannel(COLORREF c, F f)
{
    return makeColorRef(f(redOf(c)), f(greenOf(c)), f(blueOf(c)));
}

}  // namespace

QColor toQColor(COLORREF c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

COLORREF fromQColor(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return makeColorRef(rgb.red(), rgb.green(), rgb.blue());
}

COLORREF LightenColor(COLORREF c, int amount)
{
    return perChannel(c, [amount](int v) { return v + amount <= 255 ? v + amount : v; });
}

COLORREF DarkenColor(COLORREF c, int amount)
{
    return perChannel(c, [amount](int v) { return v >= amount ? v - amount : v; });
}

COLORREF halfwayColor(COLORREF a, COLORREF b)
{
    auto half = [](int x, int y) { return x + ((y - x) >> 1); };
    return makeColorRef(half(redOf(a), redOf(b)), half(greenOf(a), greenOf(b)),
                        half(blueOf(a), blueOf(b)));
}

COLORREF blendColor(COLORREF a, COLORREF b, double w)
{
    auto mix = [w](int x, int y) { return static_cast<int>(w * x + (1.0 - w) * y); };
    return makeColorRef(mix(redOf(a), redOf(b)), mix(greenOf(a), greenOf(b)),
                        mix(blueOf(a), blueOf(b)));
}
