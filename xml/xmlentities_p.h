#pragma once
// Character entities: the five named ones (case ignored) and numeric references, which give one
// byte, the low eight bits of the number. Internal to the reader.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace xmlentities {

// Whether `length` bytes at `text` hold a reference at all (else they decode to themselves).
inline bool hasReference(const char* text, std::size_t length)
{
    if (length >= 32)
        return std::memchr(text, '&', length) != nullptr;
    for (std::size_t i = 0; i < length; ++i) {  // most names and values are short: no call
        if (text[i] == '&')
            return true;
    }
    return false;
}

// Decodes the `length` bytes at `text` in place (a reference is never shorter than its byte) and
// sets `length` to the decoded length. False when an "&" starts no known entity or an
// unterminated numeric reference; the bytes are then partly rewritten.
bool decodeInPlace(char* text, std::size_t& length);

// Appends `text` to `out` with &, <, >, " and ' written as entities, and zero bytes and
// multi-byte lead bytes without their continuation as numeric references. With `guardEdges`,
// white space at either end is written as references too, so a reader that trims texts gives
// back the same bytes.
void appendEscaped(std::string& out, std::string_view text, bool guardEdges);

}  // namespace xmlentities
