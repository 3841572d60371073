// Writing trees back as XML: escaping, round trips, files with their declaration lines.

#include "xmltesting.h"

#include "support/childprocess.h"

#include <cstdio>
#include <unistd.h>

using xmltest::describe;

namespace {

class XmlWriter : public xmltest::XmlTest {};

TEST_F(XmlWriter, WritesEscapedCompactText)
{
    XmlElement root = XmlElement::create("r");
    root.addAttribute("q", "a\"b<c>&'d");
    root.addAttribute("bare", nullptr);
    root.addText("1 < 2 & \"x\"");
    root.addClear("<raw & kept>", XmlClearMarker::CData);
    root.addChild("e");
    root.addClear(" note ", XmlClearMarker::Comment);
    EXPECT_EQ(root.toXmlText(),
              "<r q=\"a&quot;b&lt;c&gt;&amp;&apos;d\" bare>1 &lt; 2 &amp; &quot;x&quot;<![CDATA[<raw & kept>]]>"
              "<e/><!-- note --></r>");
}

TEST_F(XmlWriter, IndentsOneItemPerLine)
{
    const XmlElement root = parseXmlText("<r><a>t</a><b/></r>");
    EXPECT_EQ(root.toXmlText(true), "<r>\n\t<a>\n\t\tt\n\t</a>\n\t<b/>\n</r>\n");
}

struct RoundTripRow {
    const char* name;
    bool dropWhitespace;
    bool indent;
    const char* text;
};

TEST_F(XmlWriter, ParseWriteParseGivesTheSameTree)
{
    const RoundTripRow rows[] = {
        {"scene file", true, true,
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MGXML>\n <terrainfile>t.ive</terrainfile>\n"
         " <modelpath><path>/a b/</path></modelpath>\n <!-- feed -->\n"
         " <multicast_address>239.0.0.1</multicast_address>\n</MGXML>\n"},
        {"entities and quotes", true, false, "<a x=\"&lt;&amp;&quot;'\">&apos;&gt;&#9;</a>"},
        {"edge spaces from references", true, true, "<a>&#32; x &#10;</a>"},
        {"zero byte from a reference", true, false, "<a>x&#0;y</a>"},
        {"whitespace kept", false, false, "<a>  x  <b> </b>\n</a>"},
        {"every clear kind", true, true,
         "<!DOCTYPE r [<!ELEMENT r ANY>]><r><PRE> <b> </PRE><Script>a<b</Script><![CDATA[]]>]]></r>"},
        {"bare and followed declarations", true, false, "<a><?pi?><?pj k?><b/></pj><c/></a>"},
        {"declaration named like its parent", true, false, "<a><?a x?><b/></a>"},
        {"elements named like clear markers", true, false, "<pre >x</pre><script >y</script>"},
        {"unclosed elements", true, false, "<a><b><c>t"},
        {"lone lead byte from a reference", true, false, "<a>&#195;<b/>&#226;&#130;</a>"},
        {"multi-byte characters", true, true, "<\xC3\xA9 \xC3\xBC='\xE2\x82\xAC'>\xF0\x9F\x98\x80</\xC3\xA9>"},
    };
    for (const RoundTripRow& row : rows) {
        SCOPED_TRACE(row.name);
        setXmlOptions(true, true, row.dropWhitespace);
        XmlParseResult first;
        const XmlElement tree = parseXmlText(row.text, nullptr, &first);
        ASSERT_LE(first.code, 1) << xmlErrorText(first.code);
        const std::string written = tree.toXmlText(row.indent);
        XmlParseResult second;
        const XmlElement again = parseXmlText(written.c_str(), nullptr, &second);
        EXPECT_LE(second.code, 1) << written;
        EXPECT_EQ(describe(again), describe(tree)) << written;
    }
}

TEST_F(XmlWriter, FileHeadersFollowModeAndEncoding)
{
    struct Row {
        const char* name;
        bool utf8;
        bool declaration;
        const char* encoding;
        const char* head;
    };
    const Row rows[] = {
        {"utf-8 mode, no encoding", true, false, nullptr, "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r/>"},
        {"utf-8 mode wins over a given encoding", true, false, "ISO-8859-1",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r/>"},
        {"8-bit mode names the encoding", false, false, "ISO-8859-1",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<r/>"},
        {"8-bit mode without encoding", false, false, nullptr,
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<r/>"},
        {"declaration element, utf-8 mode", true, true, nullptr, "\xEF\xBB\xBF<?xml v=\"1\"?><r/>"},
        {"declaration element, 8-bit mode", false, true, "ISO-8859-1", "<?xml v=\"1\"?><r/>"},
    };
    const std::string path = xmltest::tempPath("written.xml");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        setXmlOptions(true, row.utf8, true);
        XmlElement e = row.declaration ? parseXmlText("<?xml v=1?><r/>") : parseXmlText("<r/>");
        ASSERT_EQ(e.isDeclaration(), row.declaration);
        const XmlParseResult result = e.writeToFile(path.c_str(), row.encoding, false);
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(vkrsim::test::readFile(path), row.head);
    }
    // What was written reads back, byte-order mark and all.
    setXmlOptions(true, true, true);
    XmlElement original = parseXmlText("<r a=\"1\"><s>x</s></r>");
    ASSERT_EQ(original.writeToFile(path.c_str()).code, 0);
    XmlParseResult result;
    EXPECT_EQ(describe(parseXmlFile(path.c_str(), "r", &result)), describe(original));
    EXPECT_EQ(result.code, 0);
    std::remove(path.c_str());
}

TEST_F(XmlWriter, ReportsFilesThatCannotBeWritten)
{
    const XmlElement e = parseXmlText("<r/>");
    EXPECT_EQ(e.writeToFile("/nonexistent-dir/x.xml").code, 16);
    EXPECT_EQ(e.writeToFile(nullptr).code, 16);
    if (access("/dev/full", W_OK) == 0) {
        EXPECT_EQ(e.writeToFile("/dev/full").code, 17);
    }
}

}  // namespace
