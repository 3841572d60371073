#pragma once
// The clock text of the sight overlay: "ddd:hh:mm:ss.fff" with every field padded by spaces,
// not zeros: year day (0 = 1 January), hour, minute, second of local time, and the frame
// counter modulo 1000 in the fraction field.

#include <ctime>

namespace sightview {

// Text buffer of the render thread's clock.
using SightClockBuffer = char[41];

// Formats `localTime` and `frameCounter` into `buffer`; returns `buffer`. A negative counter
// prints its remainder of 1000 as a positive number.
const char* formatSightClock(const std::tm& localTime, int frameCounter, SightClockBuffer& buffer);

// The next value of the render thread's frame counter: up by one per loop pass, back to 0
// instead of overflowing.
int nextFrameCounter(int frameCounter);

}  // namespace sightview
