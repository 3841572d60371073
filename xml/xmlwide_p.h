#pragma once
// UTF-16 recognition and conversion for files written by wide-character editors. Internal.

#include <cstddef>
#include <string>

namespace xmlwide {

// True when `bytes` read as UTF-16 little-endian text: they start with the byte-order mark
// FF FE, or they are an even number (at least 4) of bytes, no 16-bit unit is zero and at least
// half of the units are characters below U+0100 (a zero high byte), which 8-bit text never gives.
bool looksLikeUtf16(const unsigned char* bytes, std::size_t count);

// Converts `units` UTF-16 little-endian code units to UTF-8. Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(const unsigned char* bytes, std::size_t units);

// Converts to the 8-bit character set of the process's locale (nl_langinfo(CODESET)); a
// character the set lacks becomes "?". Where the locale's set is unknown to iconv, ISO-8859-1
// is used. Text stops at a U+0000.
std::string utf16ToLocal(const unsigned char* bytes, std::size_t units);

}  // namespace xmlwide
