#pragma once
// Character entities: the five named ones (case ignored) and numeric references, which give one
// byte, the low eight bits of the number. Internal to the reader.

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace xmlentities {

// Where decoding the `length` bytes at `text` may begin: `length` when they hold no "&" (they
// decode to themselves), else the first "&" when only ASCII comes before it (so it starts a
// character), else 0.
inline std::size_t decodeStart(const char* text, std::size_t length)
{
    std::size_t first = length;
    if (length >= 32) {
        const void* found = std::memchr(text, '&', length);
        if (found != nullptr)
            first = static_cast<std::size_t>(static_cast<const char*>(found) - text);
    } else {
        for (std::size_t i = 0; i < length; ++i) {  // most names and values are short: no call
            if (text[i] == '&') {
                first = i;
                break;
            }
        }
    }
    if (first == length)
        return length;
    for (std::size_t i = 0; i < first; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return 0;
    }
    return first;
}

// Decodes the `length` bytes at `text` in place (a reference is never shorter than its byte) and
// sets `length` to the decoded length; the bytes before `from` (a character boundary) hold no
// reference. False when an "&" starts no known entity or an unterminated numeric reference; the
// bytes are then partly rewritten.
bool decodeInPlace(char* text, std::size_t& length, std::size_t from = 0);

// Appends `text` to `out` with &, <, >, " and ' written as entities, and zero bytes and
// multi-byte lead bytes without their continuation as numeric references. With `guardEdges`,
// white space at either end is written as references too, so a reader that trims texts gives
// back the same bytes.
void appendEscaped(std::string& out, std::string_view text, bool guardEdges);

}  // namespace xmlentities
