#include "xml/xmloptions.h"
#include "xml/xmlchars_p.h"

namespace {

struct LengthTable {
    unsigned char length[256];
};

constexpr LengthTable makeUtf8Table()
{
    LengthTable t{};
    for (int b = 0; b < 256; ++b) {
        if (b == 0)
            t.length[b] = 0;
        else if (b <= 0xC1)
            t.length[b] = 1;  // ASCII, stray continuation bytes and overlong leads count alone
        else if (b <= 0xDF)
            t.length[b] = 2;
        else if (b <= 0xEF)
            t.length[b] = 3;
        else if (b <= 0xF4)
            t.length[b] = 4;
        else
            t.length[b] = 1;
    }
    return t;
}

constexpr LengthTable makeByteTable()
{
    LengthTable t{};
    for (int b = 1; b < 256; ++b)
        t.length[b] = 1;
    return t;
}

constexpr LengthTable utf8Table = makeUtf8Table();
constexpr LengthTable byteTable = makeByteTable();

XmlOptions options;

}  // namespace

namespace xmlchars {
const unsigned char* charLengthTable = utf8Table.length;
}

void setXmlOptions(bool convertWideFiles, bool utf8Mode, bool dropWhitespace)
{
    options.convertWideFiles = convertWideFiles;
    options.utf8Mode = utf8Mode;
    options.dropWhitespace = dropWhitespace;
    xmlchars::charLengthTable = utf8Mode ? utf8Table.length : byteTable.length;
}

XmlOptions xmlOptions() { return options; }

namespace xmlchars {

int utf8CharLength(unsigned char lead) { return utf8Table.length[lead]; }

bool equalNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (toLowerAscii(*a) != toLowerAscii(*b))
            return false;
        if (*a == '\0')
            return true;
    }
}

}  // namespace xmlchars
