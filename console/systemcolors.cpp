#include "console/systemcolors.h"

#include <QPalette>

namespace console {

SystemColors systemColors(const QPalette& palette)
{
    // Desktop colours do not change with a control's state: always the active group.
    auto c = [&palette](QPalette::ColorRole role) {
        return fromQColor(palette.color(QPalette::Active, role));
    };
    return SystemColors{
        c(QPalette::Button),   c(QPalette::Dark),      c(QPalette::Shadow),
        c(QPalette::Light),    c(QPalette::Midlight),  c(QPalette::Base),
        c(QPalette::Highlight), c(QPalette::WindowText),
    };
}

}  // namespace console
