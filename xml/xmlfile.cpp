// Reading documents from files: whole-file read, byte-order marks and UTF-16 conversion.

#include "xml/xmlparser.h"
#include "xml/xmlwide_p.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

XmlElement parseXmlFile(const char* fileName, const char* rootName, XmlParseResult* result)
{
    XmlParseResult local;
    XmlParseResult& r = result ? *result : local;
    r = XmlParseResult{};

    std::vector<unsigned char> buffer;
    {
        File file(fileName ? std::fopen(fileName, "rb") : nullptr);
        if (!file) {
            r.code = XmlErrorFileNotFound;
            return XmlElement();
        }
        // Only a regular file has a length to read: a directory opens too, and seeking to its
        // end reports an absurd size.
        struct stat status {};
        long length = -1;
        if (fstat(fileno(file.get()), &status) == 0 && S_ISREG(status.st_mode) &&
            std::fseek(file.get(), 0, SEEK_END) == 0)
            length = std::ftell(file.get());
        if (length < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
            r.code = XmlErrorFileNotFound;
            return XmlElement();
        }
        if (length == 0) {
            r.code = XmlErrorNoXmlData;
            return XmlElement();
        }
        buffer.resize(static_cast<std::size_t>(length) + 1);
        const std::size_t got = std::fread(buffer.data(), 1, static_cast<std::size_t>(length), file.get());
        buffer.resize(got + 1);  // a file that shrank since ftell is read as it is now
        buffer[got] = 0;
    }
    const std::size_t length = buffer.size() - 1;

    const char* text = reinterpret_cast<const char*>(buffer.data());
    std::string converted;
    const XmlOptions options = xmlOptions();
    if (options.convertWideFiles) {
        if (xmlwide::looksLikeUtf16(buffer.data(), length)) {
            std::size_t units = length / 2;
            const unsigned char* wide = buffer.data();
            if (units > 0 && wide[0] == 0xFF && wide[1] == 0xFE) {
                wide += 2;
                --units;
            }
            converted = options.utf8Mode ? xmlwide::utf16ToUtf8(wide, units) : xmlwide::utf16ToLocal(wide, units);
            if (converted.empty()) {
                r.code = XmlErrorWideConversion;
                return XmlElement();
            }
            text = converted.c_str();
        } else if (length >= 3 && buffer[0] == 0xEF && buffer[1] == 0xBB && buffer[2] == 0xBF) {
            text += 3;
        }
    }
    return parseXmlText(text, rootName, &r);
}

bool looksLikeUtf8(const unsigned char* bytes, std::size_t count, bool checkDeclaration)
{
    if (bytes == nullptr || count < 25 || xmlwide::looksLikeUtf16(bytes, count))
        return false;
    if (bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return true;
    for (std::size_t i = 0; i < count && bytes[i] != 0;) {
        const unsigned char lead = bytes[i];
        int length = 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        for (int k = 1; k < length; ++k) {
            // A sequence cut by the end of the bytes is not held against them: callers pass the
            // head of a file, which may end inside a character.
            if (i + static_cast<std::size_t>(k) >= count)
                break;
            if ((bytes[i + static_cast<std::size_t>(k)] & 0xC0) != 0x80)
                return false;
        }
        i += static_cast<std::size_t>(length);
    }
    if (!checkDeclaration)
        return true;

    const std::string head(reinterpret_cast<const char*>(bytes), std::min<std::size_t>(count, 200));
    const std::size_t found = head.find("encoding");
    if (found == std::string::npos)
        return true;
    const char* p = head.c_str() + found + 8;  // stops at an embedded zero byte, like the rest
    auto skipSpace = [&p] {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
            ++p;
    };
    skipSpace();
    if (*p != '=')
        return true;
    ++p;
    skipSpace();
    if (*p != '"' && *p != '\'')
        return true;
    ++p;
    skipSpace();
    auto startsWithNoCase = [p](const char* word, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            const char c = p[i];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
            if (lower != word[i])
                return false;
        }
        return true;
    };
    return startsWithNoCase("utf-8", 5) || startsWithNoCase("utf8", 4);
}
