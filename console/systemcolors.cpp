#include "console/systemcolors.h"

#include <QPalette>

SystemColors systemColors(const QPalette& palette)
{
    auto c = [&palette](QPalette::ColorRole role) { return fromQColor(palette.color(role)); };
    return SystemColors{
        c(QPalette::Button),   c(QPalette::Dark),      c(QPalette::Shadow),
        c(QPalette::Light),    c(QPalette::Midlight),  c(QPalette::Base),
        c(QPalette::Highlight), c(QPalette::WindowText),
    };
}
