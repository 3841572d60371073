#pragma once
// A small, lenient XML reader: element names compared without regard to case, unquoted and
// missing attribute values accepted, elements closed by an outer end tag or the end of the text,
// comments, CDATA, DOCTYPE, PRE and Script kept raw as clear sections. Its options are
// process-wide: set them and parse on one thread at a time. A parsed document lives in one
// storage that its handles share (see xmlelement.h).

#include "xml/xmlelement.h"
#include "xml/xmloptions.h"
#include "xml/xmlresult.h"

#include <cstddef>
#include <string>

// Parses a NUL-terminated text. Returns the root element: the element named `rootName` (case
// ignored; searched down through declarations), or, without a root name, the single element of
// the document (the nameless top element when there is other content). Empty element on failure.
// Codes 0 and 1 keep the tree; `result` (may be null) gets the code, line and column.
XmlElement parseXmlText(const char* text, const char* rootName = nullptr, XmlParseResult* result = nullptr);

// Reads a whole file and parses it. A UTF-8 byte-order mark is skipped and a UTF-16 little-endian
// file converted first (to UTF-8, or to the locale's 8-bit character set when not in UTF-8 mode).
XmlElement parseXmlFile(const char* fileName, const char* rootName = nullptr, XmlParseResult* result = nullptr);

// Opens and parses `fileName`, expecting the root `rootName`. On any code but 0, warnings
// included, shows "XML Parsing error" with the error icon, kept on top, and ends the process with
// status 255 through desktop::leaveProcess (no static destructors: other threads may run). Sets
// UTF-8 mode from the first 200 bytes of the file first.
XmlElement loadXmlFileOrExit(const char* fileName, const char* rootName);

// The message loadXmlFileOrExit shows for `result` (at most 1999 bytes, cut at a character).
std::string xmlLoadErrorMessage(const char* fileName, const char* rootName, const XmlParseResult& result);

// True when `bytes` should be read as UTF-8: at least 25 bytes, not UTF-16, a UTF-8 byte-order
// mark or sound multi-byte sequences, and, when `checkDeclaration`, no encoding declaration
// naming something other than UTF-8 in the first 200 bytes.
bool looksLikeUtf8(const unsigned char* bytes, std::size_t count, bool checkDeclaration);
