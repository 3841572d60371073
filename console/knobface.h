#pragma once
// The face picture strip of the pan knob: three 40 x 40 cells side by side (normal, pointer
// over the centre, centre pressed), drawn in the given 3D colours at start.

#include "console/systemcolors.h"

#include <QImage>

namespace console {

inline constexpr int kKnobFaceCell = 40;  // pixels, width and height of one cell

QImage makeKnobFaceStrip(const SystemColors& colors);

}  // namespace console
