#pragma once
// The desktop's 3D element colours, taken from a widget palette. The knob and the slider paint
// with these roles: face, shadow, dark shadow, highlight, light, window, selection, frame.

#include "console/colorref.h"

class QPalette;

namespace console {

struct SystemColors {
    COLORREF btnFace;      // face of buttons and controls
    COLORREF btnShadow;    // shadow edge
    COLORREF darkShadow3d; // outermost, darkest shadow edge
    COLORREF btnHighlight; // lit edge
    COLORREF light3d;      // inner lit edge
    COLORREF window;       // background of input fields
    COLORREF highlight;    // selection
    COLORREF windowFrame;  // thin outlines
};

SystemColors systemColors(const QPalette& palette);

}  // namespace console
