#pragma once
// Decimal numbers of the configuration files, read as C's atof reads them but with "." as the
// decimal point whatever the process locale (the dialog toolkit adopts the user's, which may
// use a comma): leading white space skipped, the longest numeric prefix converted, 0.0 when
// there is none. Thread-safe: the process locale is neither read nor changed.

#include <string>

namespace decimal {

double textToDouble(const char* text);
double textToDouble(const std::string& text);

}  // namespace decimal
