#pragma once
// One token at a time from a NUL-terminated text. Internal to the reader.

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

// Reads the token at *pos (white space skipped) and moves *pos just past it.
Token next(const char*& pos);

}  // namespace xmltokenizer
