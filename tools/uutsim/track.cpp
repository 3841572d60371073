#include "tools/uutsim/track.h"

#include <cmath>

namespace uutsim {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

double radiusOf(int index)
{
    return 400.0 + 150.0 * index;
}

Pose poseAt(int index, double seconds)
{
    const double r = radiusOf(index);
    const double omega = kSpeed / r;                 // rad/s, counter-clockwise seen from above
    const double phase = index * 2.0 * kPi / 7.0;    // spread the platforms around their circles
    const double a = phase + omega * seconds;
    Pose p;
    p.position = {r * std::cos(a), r * std::sin(a), 0.0};
    p.velocity = {-kSpeed * std::sin(a), kSpeed * std::cos(a), 0.0};
    // Heading of the velocity, measured like psi from the east axis towards north.
    p.orientation = {std::remainder(a + kPi / 2, 2 * kPi), 0.0, 0.0};
    return p;
}

}  // namespace uutsim
