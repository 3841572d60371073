#pragma once
// One token at a time from a NUL-terminated text. Internal to the reader; defined here so the
// parser's loop can inline it.

#include "xml/xmlchars_p.h"
#include "xml/xmlelement.h"

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace xmltokenizer {

enum class TokenKind {
    End,              // the terminating zero byte
    Clear,            // an opening marker of the clear-marker table
    Quoted,           // '...' or "...", quotes included
    Text,             // anything else up to white space, <, =, > or />
    EndTagStart,      // </
    DeclarationStart, // <?
    TagStart,         // <
    SelfClose,        // />
    Equals,           // =
    TagClose,         // >
};

struct Token {
    TokenKind kind = TokenKind::End;
    const char* start = nullptr;
    std::size_t length = 0;
    XmlClearMarker marker = XmlClearMarker::CData;  // for Clear
    bool reference = true;  // for Quoted: an "&" lies between the quotes
};

namespace detail {

// Byte classes of the text scan: 1 ends a text token, 2 is "/" (ends it only before ">"), 3 is a
// byte above ASCII (stepped by the character-length table); 0 goes on.
struct StopTable {
    unsigned char stop[256];
};

constexpr StopTable makeStopTable()
{
    StopTable t{};
    for (int b = 0x80; b < 0x100; ++b)
        t.stop[b] = 3;
    t.stop[0] = 1;
    t.stop[static_cast<unsigned char>(' ')] = 1;
    t.stop[static_cast<unsigned char>('\t')] = 1;
    t.stop[static_cast<unsigned char>('\r')] = 1;
    t.stop[static_cast<unsigned char>('\n')] = 1;
    t.stop[static_cast<unsigned char>('<')] = 1;
    t.stop[static_cast<unsigned char>('=')] = 1;
    t.stop[static_cast<unsigned char>('>')] = 1;
    t.stop[static_cast<unsigned char>('/')] = 2;
    return t;
}

inline constexpr StopTable stopTable = makeStopTable();

// Byte classes of the quoted scan: 1 for the zero byte, "<" and both quotes, 2 for "&", 3 above
// ASCII.
constexpr StopTable makeQuoteTable()
{
    StopTable t{};
    for (int b = 0x80; b < 0x100; ++b)
        t.stop[b] = 3;
    t.stop[0] = 1;
    t.stop[static_cast<unsigned char>('<')] = 1;
    t.stop[static_cast<unsigned char>('"')] = 1;
    t.stop[static_cast<unsigned char>('\'')] = 1;
    t.stop[static_cast<unsigned char>('&')] = 2;
    return t;
}

inline constexpr StopTable quoteTable = makeQuoteTable();

// The first byte at or after `p` whose class in `table` is not 0, four bytes a round.
inline const char* skipClass0(const StopTable& table, const char* p)
{
    for (;;) {
        if (table.stop[static_cast<unsigned char>(p[0])] != 0)
            return p;
        if (table.stop[static_cast<unsigned char>(p[1])] != 0)
            return p + 1;
        if (table.stop[static_cast<unsigned char>(p[2])] != 0)
            return p + 2;
        if (table.stop[static_cast<unsigned char>(p[3])] != 0)
            return p + 3;
        p += 4;
    }
}

#if defined(__SSE2__)
// Sixteen bytes a step: `candidates` marks a superset of the bytes whose class in `table` is not
// 0, so one well-predicted branch covers a whole short token; the marked bytes are then looked
// up. A block is read only when it lies within one page, so reading past the text's zero byte
// cannot fault (the bytes beyond it are never used, hence no address or race checking here).
template <typename Candidates>
__attribute__((no_sanitize("address", "thread"))) inline const char* skipClass0Wide(const StopTable& table,
                                                                                     const char* p,
                                                                                     Candidates candidates)
{
    constexpr std::uintptr_t page = 4096;
    constexpr std::uintptr_t block = 16;
    while ((reinterpret_cast<std::uintptr_t>(p) & (page - 1)) <= page - block) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(candidates(bytes)));
        for (; mask != 0; mask &= mask - 1) {
            const char* at = p + __builtin_ctz(mask);
            if (table.stop[static_cast<unsigned char>(*at)] != 0)
                return at;
        }
        p += block;
    }
    return skipClass0(table, p);
}

inline __m128i equalTo(__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); }
// Bytes at or above 0x80.
inline __m128i highBytes(__m128i bytes) { return _mm_cmplt_epi8(bytes, _mm_setzero_si128()); }

inline const char* skipTextBytes(const char* p)
{
    return skipClass0Wide(stopTable, p, [](__m128i b) {
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(b, _mm_set1_epi8(' ')), b);  // up to space
        const __m128i angles = _mm_sub_epi8(b, _mm_set1_epi8('<'));                  // "<", "=", ">"
        const __m128i markup = _mm_cmpeq_epi8(_mm_min_epu8(angles, _mm_set1_epi8(2)), angles);
        return _mm_or_si128(_mm_or_si128(low, markup), _mm_or_si128(equalTo(b, '/'), highBytes(b)));
    });
}
inline const char* skipQuotedBytes(const char* p)
{
    return skipClass0Wide(quoteTable, p, [](__m128i b) {
        const __m128i quotes = _mm_or_si128(equalTo(b, '"'), equalTo(b, '\''));
        const __m128i markup = _mm_or_si128(equalTo(b, '<'), equalTo(b, '&'));
        return _mm_or_si128(_mm_or_si128(quotes, markup), _mm_or_si128(equalTo(b, '\0'), highBytes(b)));
    });
}
// Character data: the zero byte, "<", "&" and bytes above ASCII under `table`.
inline const char* skipDataBytes(const StopTable& table, const char* p)
{
    return skipClass0Wide(table, p, [](__m128i b) {
        const __m128i markup = _mm_or_si128(equalTo(b, '<'), equalTo(b, '&'));
        return _mm_or_si128(markup, _mm_or_si128(equalTo(b, '\0'), highBytes(b)));
    });
}

// The first byte at or after `p` that is not white space: a run of up to sixteen in one step.
__attribute__((no_sanitize("address", "thread"))) inline const char* skipSpaces(const char* p)
{
    if ((reinterpret_cast<std::uintptr_t>(p) & 4095) <= 4096 - 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i spaces = _mm_or_si128(_mm_or_si128(equalTo(b, ' '), equalTo(b, '\n')),
                                            _mm_or_si128(equalTo(b, '\t'), equalTo(b, '\r')));
        const unsigned others = ~static_cast<unsigned>(_mm_movemask_epi8(spaces)) & 0xFFFFu;
        if (others != 0)
            return p + __builtin_ctz(others);
        p += 16;
    }
    while (xmlchars::isSpace(*p))
        ++p;
    return p;
}
#else
inline const char* skipSpaces(const char* p)
{
    while (xmlchars::isSpace(*p))
        ++p;
    return p;
}
inline const char* skipTextBytes(const char* p) { return skipClass0(stopTable, p); }
inline const char* skipQuotedBytes(const char* p) { return skipClass0(quoteTable, p); }
inline const char* skipDataBytes(const StopTable& table, const char* p) { return skipClass0(table, p); }
#endif

[[gnu::always_inline]] inline const char* scanText(const char* p)
{
    for (;;) {
        unsigned char s;
        p = skipTextBytes(p);  // ASCII is one character under either table
        s = stopTable.stop[static_cast<unsigned char>(*p)];
        if (s == 1 || (s == 2 && p[1] == '>'))
            return p;
        p = s == 2 ? p + 1 : xmlchars::nextChar(p);
    }
}

// The closing `quote` of a quoted token opened just before `p`, or where it stops without one
// (the zero byte or "<"). `reference` tells whether an "&" was passed on the way, so a value
// without one need not be looked through again.
[[gnu::always_inline]] inline const char* scanQuoted(const char* p, char quote, bool& reference)
{
    reference = false;
    for (;;) {
        unsigned char s;
        p = skipQuotedBytes(p);
        s = quoteTable.stop[static_cast<unsigned char>(*p)];
        if (s == 1) {
            if (*p == quote || *p == '\0' || *p == '<')
                return p;
            ++p;  // the other quote
        } else if (s == 2) {
            reference = true;
            ++p;
        } else {
            p = xmlchars::nextChar(p);
        }
    }
}

inline bool clearMarkerAt(const char* p, XmlClearMarker& marker)
{
    // Every opening marker is "<" then "!", "P" or "S" (either case): most tags stop at once,
    // the rest compare with the one marker their second and third characters allow, the third
    // first (tags such as "<position" stop there).
    auto matches = [p](XmlClearMarker m) {
        const XmlClearMarkerEntry& e = xmlClearMarkerEntry(m);
        return xmlchars::toLowerAscii(p[2]) == xmlchars::toLowerAscii(e.opening[2]) &&
               xmlchars::equalNoCase(p, e.opening, static_cast<std::size_t>(e.openingLength));
    };
    switch (xmlchars::toLowerAscii(p[1])) {
    case '!':
        // The markers of "!" differ in their third character: only one can match.
        switch (xmlchars::toLowerAscii(p[2])) {
        case '[': marker = XmlClearMarker::CData; break;
        case 'd': marker = XmlClearMarker::Doctype; break;
        case '-': marker = XmlClearMarker::Comment; break;
        default: return false;
        }
        return matches(marker);
    case 'p':
        marker = XmlClearMarker::Pre;
        return matches(marker);
    case 's':
        marker = XmlClearMarker::Script;
        return matches(marker);
    default:
        return false;
    }
}

}  // namespace detail

// Reads the token at *pos (white space skipped) and moves *pos just past it.
[[gnu::always_inline]] inline Token next(const char*& pos)
{
    const char* p = pos;
    while (xmlchars::isSpace(*p))
        ++p;
    Token token;
    token.start = p;
    const char c = *p;
    if (c == '\0') {
        token.kind = TokenKind::End;
        pos = p;
        return token;
    }
    // A name or unquoted value, the most common token, needs none of the looks below.
    if (detail::stopTable.stop[static_cast<unsigned char>(c)] == 0 && c != '"' && c != '\'') {
        const char* end = detail::scanText(p);
        token.kind = TokenKind::Text;
        token.length = static_cast<std::size_t>(end - p);
        pos = end;
        return token;
    }
    // The ends of a tag come next in number.
    if (c == '>') {
        token.kind = TokenKind::TagClose;
        token.length = 1;
        pos = p + 1;
        return token;
    }
    if (c == '/' && p[1] == '>') {
        token.kind = TokenKind::SelfClose;
        token.length = 2;
        pos = p + 2;
        return token;
    }
    // Clear markers begin "<!", "<PR" or "<SC" (either case); other tags need no look. (Past a
    // "P" or "S" the byte after it is there, the zero byte at worst.)
    const char second = static_cast<char>(p[1] | 0x20);
    if (c == '<' &&
        (p[1] == '!' || (second == 'p' && (p[2] | 0x20) == 'r') || (second == 's' && (p[2] | 0x20) == 'c')) &&
        detail::clearMarkerAt(p, token.marker)) {
        token.kind = TokenKind::Clear;
        token.length = static_cast<std::size_t>(xmlClearMarkerEntry(token.marker).openingLength);
        pos = p + token.length;
        return token;
    }
    const char* end = p + 1;
    switch (c) {
    case '\'':
    case '"': {
        bool reference = true;
        const char* q = detail::scanQuoted(p + 1, c, reference);
        if (*q == c) {
            token.kind = TokenKind::Quoted;
            token.reference = reference;
            end = q + 1;
        } else {
            token.kind = TokenKind::Text;
            end = detail::scanText(p + 1);
        }
        break;
    }
    case '<':
        if (p[1] == '/') {
            token.kind = TokenKind::EndTagStart;
            end = p + 2;
        } else if (p[1] == '?') {
            token.kind = TokenKind::DeclarationStart;
            end = p + 2;
        } else {
            token.kind = TokenKind::TagStart;
        }
        break;
    case '/':
        if (p[1] == '>') {
            token.kind = TokenKind::SelfClose;
            end = p + 2;
        } else {
            token.kind = TokenKind::Text;
            end = detail::scanText(xmlchars::nextChar(p));
        }
        break;
    case '=': token.kind = TokenKind::Equals; break;
    case '>': token.kind = TokenKind::TagClose; break;
    default:
        token.kind = TokenKind::Text;
        end = detail::scanText(p);
        break;
    }
    token.length = static_cast<std::size_t>(end - p);
    pos = end;
    return token;
}

// The same as next() where *pos is "<" or the zero byte (as after character data): the end, a
// clear marker or a tag opening.
[[gnu::always_inline]] inline Token nextMarkup(const char*& pos)
{
    const char* p = pos;
    Token token;
    token.start = p;
    if (*p == '\0') {
        token.kind = TokenKind::End;
        return token;
    }
    const char second = static_cast<char>(p[1] | 0x20);
    if ((p[1] == '!' || (second == 'p' && (p[2] | 0x20) == 'r') || (second == 's' && (p[2] | 0x20) == 'c')) &&
        detail::clearMarkerAt(p, token.marker)) {
        token.kind = TokenKind::Clear;
        token.length = static_cast<std::size_t>(xmlClearMarkerEntry(token.marker).openingLength);
    } else if (p[1] == '/') {
        token.kind = TokenKind::EndTagStart;
        token.length = 2;
    } else if (p[1] == '?') {
        token.kind = TokenKind::DeclarationStart;
        token.length = 2;
    } else {
        token.kind = TokenKind::TagStart;
        token.length = 1;
    }
    pos = p + token.length;
    return token;
}

}  // namespace xmltokenizer
