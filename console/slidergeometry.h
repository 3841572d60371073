#pragma once
// Geometry of a trackbar in client pixels (inclusive rectangles): where the channel lies, where
// the thumb stands for a position, and which position a pixel along the travel means. The
// minimum is at the top of a vertical trackbar and at the left of a horizontal one.

#include <QRect>
#include <QSize>

namespace console {

inline constexpr int kThumbThickness = 11;  // pixels along the travel
inline constexpr int kTickLength = 3;       // pixels of an end tick, each side

struct TrackbarGeometry {
    bool vertical = true;
    QRect channel;     // the channel as the trackbar reports it, before any drawing adjustment
    QRect thumb;       // the thumb at the given position
    int travelStart;   // pixel along the travel of the minimum's thumb centre
    int travelEnd;     // pixel along the travel of the maximum's thumb centre
};

TrackbarGeometry trackbarGeometry(QSize client, bool vertical, int min, int max, int pos);

// Pixel along the travel (y when vertical, else x) of the thumb centre for `pos`.
int trackbarPixelOf(const TrackbarGeometry& g, int min, int max, int pos);

// Nearest position to a pixel along the travel, clamped to min..max.
int trackbarValueAt(const TrackbarGeometry& g, int min, int max, int pixel);

// The channel rectangle as it is drawn: one in at both ends unless the range is empty; for a
// vertical trackbar one in at both sides and one out at the bottom, for a horizontal one one
// more in at top and bottom.
QRect adjustedChannel(QRect channel, bool vertical, int min, int max);

// The selection band inside the drawn channel, along the travel; empty when start >= end.
QRect selectionBand(QRect drawnChannel, bool vertical, int min, int max, int selStart, int selEnd);

}  // namespace console
