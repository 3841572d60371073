#include "decimal/decimalnumber.h"

#include <cstdlib>
#include <locale.h>

namespace decimal {

double textToDouble(const char* text)
{
    // One "C" locale object for the process, made on first use and never freed.
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return text ? strtod_l(text, nullptr, cLocale) : 0.0;
}

double textToDouble(const std::string& text) { return textToDouble(text.c_str()); }

}  // namespace decimal
