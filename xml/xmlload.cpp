// Opening a configuration document that the program cannot run without.

#include "xml/xmlparser.h"

#include "desktop/messagebox.h"
#include "desktop/processexit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr std::size_t messageLimit = 2000;  // bytes, terminator included
constexpr std::size_t encodingSniffBytes = 200;

}  // namespace

std::string xmlLoadErrorMessage(const char* fileName, const char* rootName, const XmlParseResult& result)
{
    const bool rootMissing = result.code == XmlErrorFirstTagNotFound;
    char message[messageLimit];
    const int wanted = std::snprintf(message, sizeof message, "XML Parsing error inside file '%s'.\n%s\nAt line %i, column %i.\n%s%s%s",
                                     fileName ? fileName : "", xmlErrorText(result.code), result.line, result.column,
                                     rootMissing ? "First Tag should be '" : "", rootMissing && rootName ? rootName : "",
                                     rootMissing ? "'.\n" : "");
    std::size_t length = wanted < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(wanted), messageLimit - 1);
    if (wanted >= 0 && static_cast<std::size_t>(wanted) > length) {
        // Cut: do not leave half a UTF-8 character at the end.
        std::size_t start = length;
        while (start > 0 && (static_cast<unsigned char>(message[start - 1]) & 0xC0) == 0x80)
            --start;
        if (start > 0) {
            const unsigned char lead = static_cast<unsigned char>(message[start - 1]);
            const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (need > 1 && length - (start - 1) < need)
                length = start - 1;
        }
    }
    return std::string(message, length);
}

XmlElement loadXmlFileOrExit(const char* fileName, const char* rootName)
{
    if (std::FILE* raw = fileName ? std::fopen(fileName, "rb") : nullptr) {
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(raw, &std::fclose);
        unsigned char head[encodingSniffBytes];
        const std::size_t got = std::fread(head, 1, sizeof head, file.get());
        const XmlOptions options = xmlOptions();
        setXmlOptions(options.convertWideFiles, looksLikeUtf8(head, got, true), options.dropWhitespace);
    }
    XmlParseResult result;
    XmlElement root = parseXmlFile(fileName, rootName, &result);
    if (result.code != XmlNoError) {
        desktop::showMessageBox(xmlLoadErrorMessage(fileName, rootName, result), "XML Parsing error",
                                desktop::MessageIcon::Error, /*topMost*/ true);
        // Other threads may be running (the dialog, a session): leave without static destructors.
        desktop::leaveProcess(255);
    }
    return root;
}
