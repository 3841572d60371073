#pragma once
// One token at a time from a NUL-terminated text. Internal to the reader; defined here so the
// parser's loop can inline it.

#include "xml/xmlchars.h"
#include "xml/xmlelement.h"

#include <cstddef>

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
};

namespace detail {

// Byte classes of the text scan: 1 ends a text token, 2 is "/" (ends it only before ">").
struct StopTable {
    unsigned char stop[256];
};

constexpr StopTable makeStopTable()
{
    StopTable t{};
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

inline const char* scanText(const char* p)
{
    for (;;) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const unsigned char s = stopTable.stop[c];
        if (s == 1 || (s == 2 && p[1] == '>'))
            return p;
        if (c < 0x80)
            ++p;  // ASCII is one character under either table
        else
            p = xmlchars::nextChar(p);
    }
}

inline bool clearMarkerAt(const char* p, XmlClearMarker& marker)
{
    // Every opening marker is "<" then "!", "P" or "S" (either case): most tags stop at once,
    // the rest compare with the markers of their letter only, in the table's order.
    auto matches = [p](XmlClearMarker m) {
        const XmlClearMarkerEntry& e = xmlClearMarkerEntry(m);
        return xmlchars::equalNoCase(p, e.opening, static_cast<std::size_t>(e.openingLength));
    };
    switch (xmlchars::toLowerAscii(p[1])) {
    case '!':
        for (XmlClearMarker m : {XmlClearMarker::CData, XmlClearMarker::Doctype, XmlClearMarker::Comment}) {
            if (matches(m)) {
                marker = m;
                return true;
            }
        }
        return false;
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
    if (c == '<' && detail::clearMarkerAt(p, token.marker)) {
        token.kind = TokenKind::Clear;
        token.length = static_cast<std::size_t>(xmlClearMarkerEntry(token.marker).openingLength);
        pos = p + token.length;
        return token;
    }
    const char* end = p + 1;
    switch (c) {
    case '\'':
    case '"': {
        const char* q = p + 1;
        for (;;) {
            const unsigned char b = static_cast<unsigned char>(*q);
            if (b == 0 || b == '<' || b == static_cast<unsigned char>(c))
                break;
            q = b < 0x80 ? q + 1 : xmlchars::nextChar(q);  // ASCII is one character under either table
        }
        if (*q == c) {
            token.kind = TokenKind::Quoted;
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


}  // namespace xmltokenizer
