#pragma once
// Character stepping shared by the tokenizer, the entity decoder and the line/column count.
// Internal to the reader.

#include <cstddef>

namespace xmlchars {

// The character-length table in force (256 entries), chosen by setXmlOptions.
extern const unsigned char* charLengthTable;

// Byte length of the character whose first byte is `lead` under the table in force
// (0 for the terminating zero byte).
inline int charLength(unsigned char lead) { return charLengthTable[lead]; }

// Length of `lead` under the UTF-8 table, whatever the options say.
int utf8CharLength(unsigned char lead);

// The next character after `p`. A multi-byte lead never carries the step past a zero byte, so a
// character cut by the end of the text cannot read beyond it. At the zero byte, `p` itself.
inline const char* nextChar(const char* p)
{
    const int length = charLength(static_cast<unsigned char>(*p));
    for (int i = 1; i < length; ++i) {
        if (p[i] == '\0')
            return p + i;
    }
    return p + length;
}

// Space, tab, carriage return and line feed: one test of a bit mask for the bytes up to space.
inline bool isSpace(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b <= ' ' && ((1ull << b) & ((1ull << ' ') | (1ull << '\t') | (1ull << '\r') | (1ull << '\n'))) != 0;
}

inline char toLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

// ASCII case-insensitive comparison of two NUL-terminated texts.
bool equalNoCase(const char* a, const char* b);

// ASCII case-insensitive comparison of the first `n` bytes (stops early at a difference).
// Inline: the tokenizer and the entity decoder call it for every marker and reference.
inline bool equalNoCase(const char* a, const char* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (toLowerAscii(a[i]) != toLowerAscii(b[i]))
            return false;
        if (a[i] == '\0')
            return true;
    }
    return true;
}

}  // namespace xmlchars
