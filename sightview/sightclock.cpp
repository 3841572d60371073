#include "sightview/sightclock.h"

#include <climits>
#include <cstdio>

namespace sightview {

const char* formatSightClock(const std::tm& localTime, int frameCounter, SightClockBuffer& buffer)
{
    int fraction = frameCounter % 1000;
    if (fraction < 0)
        fraction += 1000;
    std::snprintf(buffer, sizeof buffer, "%3d:%2d:%2d:%2d.%3d", localTime.tm_yday, localTime.tm_hour,
                  localTime.tm_min, localTime.tm_sec, fraction);
    return buffer;
}

int nextFrameCounter(int frameCounter) { return frameCounter == INT_MAX ? 0 : frameCounter + 1; }

}  // namespace sightview
