#pragma once
// Outcome of a parse, a write or a Base64 decode: a code and, when the code comes from a place
// in the text, its line and column (both from 1; 0 otherwise).

#include <cstdint>

enum XmlResultCode : std::int32_t {
    XmlNoError = 0,
    XmlWarningUnmatchedEndTag = 1,
    XmlErrorNoXmlData = 2,
    XmlErrorFirstTokenNotStartTag = 3,  // never raised by this reader; kept for its text
    XmlErrorMissingStartTagName = 4,
    XmlErrorMissingEndTagName = 5,
    XmlErrorUnmatchedQuote = 6,         // never raised by this reader; kept for its text
    XmlErrorUnmatchedEndTag = 7,
    XmlErrorUnmatchedClearTagEnd = 8,
    XmlErrorUnexpectedToken = 9,
    XmlErrorInvalidTag = 10,            // never raised by this reader; kept for its text
    XmlErrorNoElementsFound = 11,
    XmlErrorFileNotFound = 12,
    XmlErrorFirstTagNotFound = 13,
    XmlErrorUnknownCharacterEntity = 14,
    XmlErrorWideConversion = 15,
    XmlErrorCannotOpenWriteFile = 16,
    XmlErrorCannotWriteFile = 17,
    XmlWarningBase64NotMultipleOf4 = 18,
    XmlErrorBase64IllegalCharacter = 19,
    XmlWarningBase64Truncated = 20,
    XmlErrorBase64BufferTooSmall = 21,
};

struct XmlParseResult {
    std::int32_t code = XmlNoError;
    std::int32_t line = 0;    // from 1; 0 when the code has no place in the text
    std::int32_t column = 0;  // from 1, counted in characters (a UTF-8 sequence is one)
};

// The message text of a code; "Unknown" for a value outside the table.
const char* xmlErrorText(std::int32_t code);
