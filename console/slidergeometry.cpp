#include "console/slidergeometry.h"

#include <algorithm>

namespace console {

namespace {

// Builds a rectangle from coordinates along and across the travel.
QRect oriented(bool vertical, int alongStart, int acrossStart, int alongLength, int acrossLength)
{
    return vertical ? QRect(acrossStart, alongStart, acrossLength, alongLength)
                    : QRect(alongStart, acrossStart, alongLength, acrossLength);
}

}  // namespace

TrackbarGeometry trackbarGeometry(QSize client, bool vertical, int min, int max, int pos)
{
    const int length = vertical ? client.height() : client.width();
    const int breadth = vertical ? client.width() : client.height();
    TrackbarGeometry g;
    g.vertical = vertical;
    const int half = kThumbThickness / 2;
    g.travelStart = half + 2;
    g.travelEnd = std::max(g.travelStart, length - 1 - (half + 2));
    // Six pixels wide, centred across; from one thumb half before the first stop to one after.
    g.channel = oriented(vertical, g.travelStart - half, breadth / 2 - 3,
                         g.travelEnd - g.travelStart + 2 * half + 1, 6);
    // Both-sides thumb: the end ticks stay visible beside it.
    const int thumbBreadth = std::max(6, breadth - 2 * (kTickLength + 1));
    const int centre = trackbarPixelOf(g, min, max, pos);
    g.thumb = oriented(vertical, centre - half, (breadth - thumbBreadth) / 2, kThumbThickness,
                       thumbBreadth);
    return g;
}

int trackbarPixelOf(const TrackbarGeometry& g, int min, int max, int pos)
{
    if (max <= min)
        return g.travelStart;
    pos = std::clamp(pos, min, max);
    const long span = g.travelEnd - g.travelStart;
    return g.travelStart + static_cast<int>((span * (pos - min) + (max - min) / 2) / (max - min));
}

int trackbarValueAt(const TrackbarGeometry& g, int min, int max, int pixel)
{
    const int span = g.travelEnd - g.travelStart;
    if (max <= min || span <= 0)
        return min;
    const long offset = std::clamp(pixel - g.travelStart, 0, span);
    return min + static_cast<int>((offset * (max - min) + span / 2) / span);
}

QRect adjustedChannel(QRect channel, bool vertical, int min, int max)
{
    if (!(min == 0 && max == 0))
        channel.adjust(0, 1, 0, -1);
    if (vertical)
        channel.adjust(1, 0, -1, 1);
    else
        channel.adjust(0, 1, 0, -1);
    return channel;
}

QRect selectionBand(QRect ch, bool vertical, int min, int max, int selStart, int selEnd)
{
    if (selStart >= selEnd || max <= min)
        return QRect();
    const int length = vertical ? ch.height() : ch.width();
    const int a = static_cast<int>(static_cast<long>(length) * (selStart - min) / (max - min));
    const int b = static_cast<int>(static_cast<long>(length) * (selEnd - min) / (max - min));
    QRect band = vertical ? QRect(ch.left(), ch.top() + a, ch.width(), b - a)
                          : QRect(ch.left() + a, ch.top(), b - a, ch.height());
    // Clear of the outline on the sides and of the ends of the channel.
    return vertical ? band.adjusted(1, 0, -1, 0) & ch.adjusted(1, 1, -1, -1)
                    : band.adjusted(0, 1, 0, -1) & ch.adjusted(1, 1, -1, -1);
}

}  // namespace console
