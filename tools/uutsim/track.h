#pragma once
// Where simulated platform i is at time t: a circle around the centre point, radius and phase
// different per platform, constant speed, nose along the track, wings level.

#include <array>

namespace uutsim {

struct Pose {
    std::array<double, 3> position;     // metres, east, north, up from the centre point
    std::array<double, 3> orientation;  // radians, z-y-x relative to east, north, up
    std::array<double, 3> velocity;     // m/s, east, north, up
};

constexpr double kSpeed = 25.0;  // m/s along the track

// Metres: 400 m for the first platform, 150 m more for each next one.
double radiusOf(int index);
// `index` from 0; `seconds` since the start.
Pose poseAt(int index, double seconds);

}  // namespace uutsim
