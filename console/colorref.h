#pragma once
// Colours as 0x00BBGGRR values (red in the low byte), the form the dialog's colour settings use,
// and the arithmetic the slider derives its shades with.

#include <QColor>
#include <cstdint>

using COLORREF = std::uint32_t;

constexpr COLORREF makeColorRef(int red, int green, int blue)
{
    return static_cast<COLORREF>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

QColor toQColor(COLORREF c);
COLORREF fromQColor(const QColor& c);

// Adds `amount` to each channel whose sum stays at or below 255; a channel that would pass 255
// keeps its value (it is not clamped).
COLORREF LightenColor(COLORREF c, int amount);
// Subtracts `amount` from each channel that is at least `amount`; others keep their value.
COLORREF DarkenColor(COLORREF c, int amount);
// Per channel a + ((b - a) >> 1), the shift arithmetic (rounds towards a for b < a).
COLORREF halfwayColor(COLORREF a, COLORREF b);
// Per channel truncate(w * a + (1 - w) * b), w in 0..1.
COLORREF blendColor(COLORREF a, COLORREF b, double w);
