#include "xmltesting.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>
#include <vector>

namespace xmltest {
namespace {

void quoteBytes(std::string& out, std::string_view bytes)
{
    out += '"';
    for (unsigned char c : bytes) {
        if (c < 0x20 || c == '"' || c == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

void describeInto(std::string& out, const XmlElement& e, int depth)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    out += e.isDeclaration() ? "<?" : "<";
    out += e.name() ? e.name() : "(top)";
    for (int i = 0; i < e.attributeCount(); ++i) {
        const XmlAttribute* a = e.attributeAt(i);
        out += ' ';
        out += a->name();
        if (a->hasValue()) {
            out += '=';
            quoteBytes(out, a->valueBytes());
        }
    }
    out += ">\n";
    int textIndex = 0;
    for (int i = e.attributeCount(); i < e.contentCount(); ++i) {
        const XmlContent c = e.contentAt(i);
        if (c.kind == XmlContentChild) {
            describeInto(out, c.child, depth + 1);
            continue;
        }
        out.append(static_cast<std::size_t>(depth + 1) * 2, ' ');
        if (c.kind == XmlContentText) {
            out += "text ";
            quoteBytes(out, e.textBytes(textIndex++));
        } else {
            out += "clear ";
            out += c.clear->openingMarker();
            quoteBytes(out, c.clear->contentBytes());
        }
        out += '\n';
    }
}

}  // namespace

std::string describe(const XmlElement& root)
{
    if (root.isEmpty())
        return "(empty)\n";
    std::string out;
    describeInto(out, root, 0);
    return out;
}

std::string tempPath(const std::string& leaf)
{
    const char* dir = std::getenv("TEST_TMPDIR");
    std::string base = dir ? dir : "/tmp";
    return base + "/vkrsim_xml_" + std::to_string(getpid()) + "_" + leaf;
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void XmlFileTest::TearDown()
{
    for (const std::string& p : written_)
        std::remove(p.c_str());
    XmlTest::TearDown();
}

std::string XmlFileTest::file(const std::string& leaf, const std::string& bytes)
{
    const std::string path = tempPath(leaf);
    writeBytes(path, bytes);
    written_.push_back(path);
    return path;
}

}  // namespace xmltest
