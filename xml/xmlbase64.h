#pragma once
// Base64 over the standard alphabet (A-Z a-z 0-9 + /, "=" padding) with a growable output
// buffer, for binary data carried in XML texts.

#include "xml/xmlresult.h"

#include <cstddef>
#include <string>
#include <vector>

class XmlBase64 {
public:
    // Encodes `size` bytes. With `lineBreaks`, a line feed follows every 72 characters.
    // The text stays valid until the next call on this object.
    const char* encode(const void* data, std::size_t size, bool lineBreaks = false);

    // Number of bytes `text` decodes to (white space ignored, padding honoured).
    static std::size_t decodedSize(const char* text);

    // Decodes into the object's own buffer (see data()/size()). White space is skipped. Codes:
    // 19 for a character outside the alphabet (nothing decoded); 18 when the characters are not
    // a multiple of 4 but the last group still gives whole bytes (they are decoded); 20 when a
    // last group of one character cannot give a byte (it is dropped).
    XmlParseResult decode(const char* text);

    // Same, into a caller's buffer of `capacity` bytes; code 21 (nothing written) when the
    // decoded data would not fit. `*written` gets the byte count.
    static XmlParseResult decode(const char* text, unsigned char* out, std::size_t capacity, std::size_t* written);

    const unsigned char* data() const { return decoded_.data(); }
    std::size_t size() const { return decoded_.size(); }

private:
    std::string encoded_;
    std::vector<unsigned char> decoded_;
};
