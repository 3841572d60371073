// Reading files: empty and missing files, byte-order marks, UTF-16 conversion, the UTF-8 sniff
// and the message texts.

#include "xmltesting.h"

#include <cstdio>
#include <cstring>
#include <string>

using xmltest::describe;

namespace {

using XmlFile = xmltest::XmlFileTest;

// UTF-16 little-endian of a UTF-8 text (test data: BMP and supplementary characters).
std::string toUtf16Le(const std::string& utf8, bool byteOrderMark)
{
    std::string out = byteOrderMark ? std::string("\xFF\xFE", 2) : std::string();
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07u;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0Fu;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1Fu;
            extra = 1;
        }
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3Fu);
        i += static_cast<std::size_t>(extra) + 1;
        auto unit = [&out](unsigned u) {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>(u >> 8);
        };
        if (cp >= 0x10000) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

const char* const sceneDocument =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MGXML>\n"
    "  <terrainfile>Gel\xC3\xA4nde \xE2\x82\xAC.ive</terrainfile>\n"
    "  <modelpath><path>/data/\xF0\x9F\x98\x80</path></modelpath>\n"
    "  <note>a &amp; b</note>\n</MGXML>";

TEST_F(XmlFile, EmptyAndMissingFilesHaveNoPlace)
{
    XmlParseResult result;
    result.line = result.column = 9;
    EXPECT_TRUE(parseXmlFile(file("empty.xml", "").c_str(), nullptr, &result).isEmpty());
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.line, 0);
    EXPECT_EQ(result.column, 0);
    result.line = result.column = 9;
    EXPECT_TRUE(parseXmlFile(xmltest::tempPath("absent.xml").c_str(), nullptr, &result).isEmpty());
    EXPECT_EQ(result.code, 12);
    EXPECT_EQ(result.line, 0);
    EXPECT_EQ(result.column, 0);
    EXPECT_TRUE(parseXmlFile(nullptr, nullptr, &result).isEmpty());
    EXPECT_EQ(result.code, 12);
    EXPECT_TRUE(parseXmlFile("/tmp", nullptr, &result).isEmpty());  // a directory opens, but is no file
    EXPECT_EQ(result.code, 12);
}

TEST_F(XmlFile, Utf16FileParsesLikeIts8BitTwin)
{
    XmlParseResult narrowResult;
    const XmlElement narrow = parseXmlFile(file("narrow.xml", sceneDocument).c_str(), "MGXML", &narrowResult);
    ASSERT_EQ(narrowResult.code, 0);
    struct Row {
        const char* name;
        bool byteOrderMark;
    };
    for (const Row row : {Row{"with byte-order mark", true}, Row{"without byte-order mark", false}}) {
        SCOPED_TRACE(row.name);
        XmlParseResult wideResult;
        const XmlElement wide = parseXmlFile(file("wide.xml", toUtf16Le(sceneDocument, row.byteOrderMark)).c_str(),
                                             "MGXML", &wideResult);
        EXPECT_EQ(wideResult.code, 0);
        EXPECT_EQ(describe(wide), describe(narrow));
        EXPECT_STREQ(wide.child("terrainfile").text(0), "Gel\xC3\xA4nde \xE2\x82\xAC.ive");
    }
    // Errors are placed alike too: the unclosed root is noticed at the very end of both.
    const std::string broken = std::string(sceneDocument, std::strlen(sceneDocument) - 8);
    XmlParseResult a;
    XmlParseResult b;
    parseXmlFile(file("broken.xml", broken).c_str(), nullptr, &a);
    parseXmlFile(file("brokenwide.xml", toUtf16Le(broken, true)).c_str(), nullptr, &b);
    EXPECT_EQ(a.code, 1);
    EXPECT_EQ(b.code, 1);
    EXPECT_EQ(b.line, a.line);
    EXPECT_EQ(b.column, a.column);
}

TEST_F(XmlFile, ByteOrderMarksAndOptions)
{
    const std::string bom = "\xEF\xBB\xBF<r>x</r>";
    XmlParseResult result;
    EXPECT_STREQ(parseXmlFile(file("bom.xml", bom).c_str(), nullptr, &result).name(), "r");
    EXPECT_EQ(result.code, 0);

    setXmlOptions(false, true, true);  // no conversion: the mark is a text before the root
    const XmlElement top = parseXmlFile(file("bom.xml", bom).c_str(), nullptr, &result);
    EXPECT_EQ(top.name(), nullptr);
    EXPECT_STREQ(top.text(0), "\xEF\xBB\xBF");
    parseXmlFile(file("wide.xml", toUtf16Le("<r/>", true)).c_str(), nullptr, &result);
    EXPECT_EQ(result.code, 4);  // read as bytes, the text stops at the first zero byte

    setXmlOptions(true, true, true);
    parseXmlFile(file("bomonly.xml", std::string("\xFF\xFE", 2)).c_str(), nullptr, &result);
    EXPECT_EQ(result.code, 15);
    EXPECT_EQ(result.line, 0);
}

TEST_F(XmlFile, Utf16ToThe8BitSetOfTheLocale)
{
    // Tests run in the "C" locale, whose set is ASCII: what it lacks becomes "?".
    setXmlOptions(true, false, true);
    const XmlElement r =
        parseXmlFile(file("wide.xml", toUtf16Le("<r a='\xC3\xA9'>x\xE2\x82\xACy\xF0\x9F\x98\x80</r>", true)).c_str());
    EXPECT_STREQ(r.text(0), "x?y?");
    EXPECT_STREQ(r.attribute("a"), "?");
}

TEST_F(XmlFile, UnpairedSurrogatesBecomeReplacementCharacters)
{
    std::string wide = toUtf16Le("<r>", true);
    wide += std::string("\x00\xD8", 2);  // a high surrogate with no low one after it
    wide += toUtf16Le("x</r>", false);
    const XmlElement r = parseXmlFile(file("surrogate.xml", wide).c_str());
    EXPECT_STREQ(r.text(0), "\xEF\xBF\xBDx");
}

struct SniffRow {
    const char* name;
    std::string bytes;
    bool checkDeclaration;
    bool utf8;
};

TEST_F(XmlFile, LooksLikeUtf8)
{
    const std::string pad = "<root>............................</root>";
    const SniffRow rows[] = {
        {"too short", "<r>\xC3\xA9</r>", true, false},
        {"plain ASCII", pad, true, true},
        {"byte-order mark", "\xEF\xBB\xBF" + pad, true, true},
        {"UTF-16 text", toUtf16Le(pad, true), true, false},
        {"sound two-byte sequence", "\xC3\xA9" + pad, true, true},
        {"lead byte without continuation", "\xC3(" + pad, true, false},
        {"Latin-1 letter", "caf\xE9 " + pad, true, false},
        {"three-byte lead cut short", "\xE2\x82(" + pad, true, false},
        {"bytes after a zero are not read", pad + std::string(1, '\0') + "\xC3(", true, true},
        {"sequence cut by the end of the bytes", pad + "\xE2\x82", true, true},
        {"declares utf-8", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + pad, true, true},
        {"declares utf8 with spaces", "<?xml encoding = ' utf8' ?>" + pad, true, true},
        {"declares another encoding", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + pad, true, false},
        {"declaration not looked at", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + pad, false, true},
        {"encoding without =", "<?xml encoding \"ISO-8859-1\"?>" + pad, true, true},
        {"encoding without quote", "<?xml encoding=ISO-8859-1?>" + pad, true, true},
        {"encoding word past 200 bytes", std::string(200, ' ') + "encoding=\"latin1\"" + pad, true, true},
    };
    for (const SniffRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(looksLikeUtf8(reinterpret_cast<const unsigned char*>(row.bytes.data()), row.bytes.size(),
                                row.checkDeclaration),
                  row.utf8);
    }
}

TEST_F(XmlFile, CodesHaveTheirTextsAndOthersAreUnknown)
{
    EXPECT_STREQ(xmlErrorText(0), "No error");
    EXPECT_STREQ(xmlErrorText(14), "Error: Unknown character entity");
    EXPECT_STREQ(xmlErrorText(21), "Error: Base64 decode output buffer is too small");
    EXPECT_STREQ(xmlErrorText(22), "Unknown");
    EXPECT_STREQ(xmlErrorText(-1), "Unknown");
}

TEST_F(XmlFile, LoadErrorMessagesAreFormattedAndBounded)
{
    XmlParseResult r;
    r.code = 1;
    r.line = 3;
    r.column = 14;
    EXPECT_EQ(xmlLoadErrorMessage("cfg.xml", "MGXML", r),
              "XML Parsing error inside file 'cfg.xml'.\nWarning: Unmatched end tag\nAt line 3, column 14.\n");
    r = XmlParseResult{};
    r.code = 13;
    EXPECT_EQ(xmlLoadErrorMessage("cfg.xml", "MGXML", r),
              "XML Parsing error inside file 'cfg.xml'.\nError: First Tag not found\nAt line 0, column 0.\n"
              "First Tag should be 'MGXML'.\n");

    const std::string longName(3000, 'n');
    EXPECT_EQ(xmlLoadErrorMessage(longName.c_str(), "MGXML", r).size(), 1999u);
    std::string wideName;
    for (int i = 0; i < 1000; ++i)
        wideName += "\xE2\x82\xAC";  // three bytes each
    const std::string cut = xmlLoadErrorMessage(wideName.c_str(), "MGXML", r);
    EXPECT_LE(cut.size(), 1999u);
    EXPECT_EQ((cut.size() - std::strlen("XML Parsing error inside file '")) % 3, 0u);  // whole characters only
}

}  // namespace
