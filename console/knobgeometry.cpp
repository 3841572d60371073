#include "console/knobgeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace console {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Direction of the light, radians in screen axes (y down): the upper left.
constexpr double kLightAngle = -2.356;

}  // namespace

KnobLayout layoutKnob(QSize client, int dotRadius)
{
    const int side = std::min(client.width(), client.height());
    KnobLayout layout;
    layout.square = QRect(0, 0, side, side);
    layout.center = QPoint(side / 2, side / 2);
    layout.radius = side / 2 - (dotRadius + 1);
    return layout;
}

KnobZone knobZone(QPoint p, QPoint center, int radius)
{
    const float dx = static_cast<float>(p.x() - center.x());
    const float dy = static_cast<float>(p.y() - center.y());
    const float d = std::sqrt(dx * dx + dy * dy);
    if (d < static_cast<float>((2 * radius) / 4))
        return KnobZone::Centre;
    if (d < static_cast<float>((3 * radius) / 4))
        return KnobZone::Inner;
    return KnobZone::Rim;
}

QPoint ValueToPoint(int value, int min, int max, QPoint center, int radius)
{
    const int a = ((value - min) * 360 / (max + 1 - min) + 360) % 360;
    const double alpha = a * kPi / 180.0;
    return QPoint(static_cast<int>(center.x() + std::sin(alpha) * radius),
                  static_cast<int>(center.y() - std::cos(alpha) * radius));
}

int PointToValue(QPoint p, int min, int max, QPoint center)
{
    const double dx = p.x() - center.x();
    const double dy = p.y() - center.y();
    double angle = 0.0;
    if (dx != 0.0)
        angle = 90.0 - std::atan(-dy / dx) * 180.0 / kPi;
    if ((dx == 0.0 && dy >= 0.0) || dx < 0.0)
        angle += 180.0;
    while (angle < 0.0)
        angle += 360.0;
    while (angle >= 360.0)
        angle -= 360.0;
    return min + static_cast<int>((max + 1 - min) * angle / 360.0);
}

int FindNearestDetent(const int* detents, int count, int value)
{
    int best = 0;
    for (int i = 0; i < count; ++i) {
        if (std::abs(detents[i] - value) < std::abs(detents[best] - value))
            best = i;
    }
    return best;
}

std::vector<QPoint> pixelLine(QPoint a, QPoint b)
{
    const int x1 = a.x(), y1 = a.y(), x2 = b.x(), y2 = b.y();
    std::vector<QPoint> points;
    if (std::abs(x2 - x1) < std::abs(y2 - y1)) {
        // Steps along y; |y1 - y2| > 0 here.
        const int slope = (x1 - x2) / (y1 - y2);
        const int step = y2 >= y1 ? 1 : -1;
        for (int y = y1;; y += step) {
            points.emplace_back(x1 - slope * (y1 - y), y);
            if (y == y2)
                break;
        }
    } else {
        const int slope = x1 != x2 ? (y1 - y2) / (x1 - x2) : 0;
        const int step = x2 >= x1 ? 1 : -1;
        for (int x = x1;; x += step) {
            // Both ends on the same x: the first end's y.
            const int y = x1 == x2 ? y1 : y1 - slope * (x1 - x);
            points.emplace_back(x, y);
            if (x == x2)
                break;
        }
    }
    return points;
}

std::vector<PixelPoint> shadedCircle(QPoint center, int radius, COLORREF lit, COLORREF unlit)
{
    std::vector<PixelPoint> pixels;
    pixels.reserve(360 * 3);
    for (int i = 0; i < 360; ++i) {
        const double theta = 2.0 * kPi * (i - 180) / 360.0;
        const double next = 2.0 * kPi * (i - 179) / 360.0;
        const double w = (std::cos(kLightAngle - theta) + 1.0) * 0.5;
        const COLORREF color = blendColor(lit, unlit, w);
        const QPoint from(center.x() + static_cast<int>(radius * std::cos(theta)),
                          center.y() + static_cast<int>(radius * std::sin(theta)));
        const QPoint to(center.x() + static_cast<int>(radius * std::cos(next)),
                        center.y() + static_cast<int>(radius * std::sin(next)));
        for (const QPoint& p : pixelLine(from, to))
            pixels.push_back({p, color});
    }
    return pixels;
}

std::vector<QPoint> dottedCircle(QPoint center, int radius)
{
    std::vector<QPoint> points;
    points.reserve(360);
    for (int i = 0; i < 360; ++i) {
        const double a = 2.0 * kPi * i / 360.0;
        points.emplace_back(center.x() + static_cast<int>(std::cos(a) * radius),
                            center.y() + static_cast<int>(std::sin(a) * radius));
    }
    return points;
}

}  // namespace console
