// Parsing texts: outcome codes with their places, the leniencies, and the shape of the trees.

#include "xmltesting.h"

#include <cstring>

#include <sys/mman.h>
#include <unistd.h>

using xmltest::describe;

namespace {

class XmlParse : public xmltest::XmlTest {};

struct CodeRow {
    const char* name;
    const char* text;
    const char* root;
    int code;
    int line;
    int column;
    bool keepsTree;
};

TEST_F(XmlParse, ReportsCodeLineAndColumnOfBrokenDocuments)
{
    const CodeRow rows[] = {
        {"well formed", "<a><b/></a>", nullptr, 0, 0, 0, true},
        {"inner element closed by outer end tag", "<a><b></a>", nullptr, 1, 1, 11, true},
        {"last element open at the end", "<a>", nullptr, 1, 1, 4, true},
        {"open at the end, after two lines", "<a>\n  <b/>\n", nullptr, 1, 3, 1, true},
        {"end tag that no element opened", "<a></b>", nullptr, 7, 1, 8, false},
        {"start tag without a name", "<a>< =x/>", nullptr, 4, 1, 7, false},
        {"declaration without a name", "<?>", nullptr, 4, 1, 4, false},
        {"end tag without a name", "<a></ >", nullptr, 5, 1, 8, false},
        {"end tag not closed by >", "<a></a x>", nullptr, 5, 1, 9, false},
        {"comment never closed", "<a><!-- never closed</a>", nullptr, 8, 1, 8, false},
        {"CDATA never closed", "<a><![CDATA[x]]</a>", nullptr, 8, 1, 13, false},
        {"DOCTYPE whose nesting never closes", "<!DOCTYPE r [<!ENTITY x 'y'>]<r/>", nullptr, 8, 1, 10, false},
        {"PRE closed in lower case", "<a><pre>x</pre></a>", nullptr, 8, 1, 9, false},
        {"quoted token where a name belongs", "<a b=\"1\" \"c\">", nullptr, 9, 1, 13, false},
        {"two equals signs", "<a b==1>", nullptr, 9, 1, 7, false},
        {"clear section inside a start tag", "<a <!--x-->>", nullptr, 9, 1, 8, false},
        {"unknown entity in a text", "<a>&bogus;</a>", nullptr, 14, 1, 13, false},
        {"lone ampersand in a text", "<a>fish & chips</a>", nullptr, 14, 1, 18, false},
        {"unknown entity in a value", "<a b=\"&nope;\">", nullptr, 14, 1, 14, false},
        {"numeric reference without semicolon", "<a>&#65</a>", nullptr, 14, 1, 10, false},
        {"root name not found", "<a><b/></a>", "c", 13, 0, 0, false},
        {"empty root name is no search", "<a/>", "", 0, 0, 0, true},
        {"multi-byte characters count once", "<\xC3\xA9><b></\xC3\xA9>", nullptr, 1, 1, 11, true},
        {"four-byte lead cut by the end of the text", "<a>\xF0", nullptr, 1, 1, 5, true},
        {"lead byte swallows the next markup character", "<a>\xC3</a>", nullptr, 1, 1, 8, true},
    };
    for (const CodeRow& row : rows) {
        SCOPED_TRACE(row.name);
        XmlParseResult result;
        result.line = result.column = -5;
        const XmlElement root = parseXmlText(row.text, row.root, &result);
        EXPECT_EQ(result.code, row.code) << xmlErrorText(result.code);
        EXPECT_EQ(result.line, row.line);
        EXPECT_EQ(result.column, row.column);
        EXPECT_EQ(!root.isEmpty(), row.keepsTree);
    }
}

TEST_F(XmlParse, CountsColumnsInBytesOutsideUtf8Mode)
{
    setXmlOptions(true, false, true);
    XmlParseResult result;
    parseXmlText("<\xC3\xA9><b></\xC3\xA9>", nullptr, &result);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.column, 13);
}

TEST_F(XmlParse, NoTextIsNoElements)
{
    XmlParseResult result;
    result.line = 7;
    EXPECT_TRUE(parseXmlText(nullptr, nullptr, &result).isEmpty());
    EXPECT_EQ(result.code, 11);
    EXPECT_EQ(result.line, 0);
    EXPECT_EQ(result.column, 0);
    EXPECT_TRUE(parseXmlText(nullptr).isEmpty());  // no result record wanted
}

struct TreeRow {
    const char* name;
    const char* text;
    const char* root;
    const char* tree;  // describe() of the result
};

TEST_F(XmlParse, BuildsTheTreesOfLenientDocuments)
{
    const TreeRow rows[] = {
        {"root with one child", "<MGXML><a>1</a></MGXML>", "MGXML", "<MGXML>\n  <a>\n    text \"1\"\n"},
        {"declaration holds what follows it", "<?xml version=\"1.0\" encoding='utf-8'?>\n<MGXML/>", nullptr,
         "<?xml version=\"1.0\" encoding=\"utf-8\">\n  <MGXML>\n"},
        {"root found through the declaration", "<?xml version=\"1.0\"?><MGXML><x/></MGXML>", "mgxml",
         "<MGXML>\n  <x>\n"},
        {"comment before the root keeps the top element", "<!-- made by hand --><MGXML/>", nullptr,
         "<(top)>\n  clear <!--\" made by hand \"\n  <MGXML>\n"},
        {"root found past a comment", "<!-- c --><MGXML/>", "MGXML", "<MGXML>\n"},
        {"unquoted and missing values", "<a x=1 y z='2'/>", nullptr, "<a x=\"1\" y z=\"2\">\n"},
        {"missing value before the close", "<a y>t</a>", nullptr, "<a y>\n  text \"t\"\n"},
        {"declaration loses the question mark", "<?xml version=1.0?><r/>", "r", "<r>\n"},
        {"bare declaration attribute", "<?xml standalone?>", nullptr, "<?xml standalone>\n"},
        {"quote without its pair reads as text", "<a b='x>", nullptr, "<a b=\"'x\">\n"},
        {"end tag case ignored", "<Item>v</ITEM>", nullptr, "<Item>\n  text \"v\"\n"},
        {"end tag with space before >", "<a>v</a >", nullptr, "<a>\n  text \"v\"\n"},
        {"outer end tag closes the inner", "<a><b><c></a>", nullptr, "<a>\n  <b>\n    <c>\n"},
        {"end tag outside any element stops there", "<a/></b><c/>", nullptr, "<a>\n"},
        {"text and comment in order", "<a>x<!--c-->y</a>", nullptr,
         "<a>\n  text \"x\"\n  clear <!--\"c\"\n  text \"y\"\n"},
        {"CDATA is a clear section", "<a><![CDATA[<b>&amp;</b>]]></a>", nullptr,
         "<a>\n  clear <![CDATA[\"<b>&amp;</b>\"\n"},
        {"cdata marker in lower case", "<a><![cdata[x]]></a>", nullptr, "<a>\n  clear <![CDATA[\"x\"\n"},
        {"DOCTYPE with nested markup", "<!DOCTYPE r [<!ENTITY e 'v'>]><r/>", "r", "<r>\n"},
        {"DOCTYPE content", "<!DOCTYPE r [<!ENTITY e 'v'>]><r/><s/>", nullptr,
         "<(top)>\n  clear <!DOCTYPE\" r [<!ENTITY e 'v'>]\"\n  <r>\n  <s>\n"},
        {"PRE keeps markup raw", "<a><PRE><b>x</PRE></a>", nullptr, "<a>\n  clear <PRE>\"<b>x\"\n"},
        {"Script keeps comparisons raw", "<a><script>if (a<b) go();</Script></a>", nullptr,
         "<a>\n  clear <Script>\"if (a<b) go();\"\n"},
        {"text before the first tag", "lead<a/>", nullptr, "<(top)>\n  text \"lead\"\n  <a>\n"},
        {"text after the last tag is dropped", "<a/>tail", nullptr, "<a>\n"},
        {"quotes and signs are character data", "<a>say \"hi\" = 'x' /> ok</a>", nullptr,
         "<a>\n  text \"say \\x22hi\\x22 = 'x' /> ok\"\n"},
        {"tag close inside a quoted value", "<a b=\"x>y\">t</a>", nullptr, "<a b=\"x>y\">\n  text \"t\"\n"},
        {"name ends before />", "<a/>", nullptr, "<a>\n"},
        {"self-closed with attributes", "<a b=\"1\"/>", nullptr, "<a b=\"1\">\n"},
        {"empty comment", "<a><!----></a>", nullptr, "<a>\n  clear <!--\"\"\n"},
        {"declaration open at the end is no warning", "<?pi x?>", nullptr, "<?pi x>\n"},
    };
    for (const TreeRow& row : rows) {
        SCOPED_TRACE(row.name);
        XmlParseResult result;
        const XmlElement root = parseXmlText(row.text, row.root, &result);
        EXPECT_LE(result.code, 1) << xmlErrorText(result.code);
        EXPECT_EQ(describe(root), row.tree);
    }
}

struct TextRow {
    const char* name;
    bool dropWhitespace;
    const char* content;   // inside <a>...</a>
    int texts;
    const char* first;     // when texts > 0
};

TEST_F(XmlParse, DecodesEntitiesAndTrimsTexts)
{
    const TextRow rows[] = {
        {"amp in capitals", true, "&AMP;", 1, "&"},
        {"all five entities", true, "&lt;&gt;&quot;&apos;&amp;", 1, "<>\"'&"},
        {"decimal reference", true, "&#65;", 1, "A"},
        {"hexadecimal reference keeps the low byte", true, "&#x263A;", 1, ":"},
        {"upper-case X", true, "&#X41;", 1, "A"},
        {"reference beside characters", true, "a&#98;c", 1, "abc"},
        {"multi-byte character copied whole", true, "\xE2\x82\xAC&amp;", 1, "\xE2\x82\xAC&"},
        {"trimmed both ends", true, "  x y  ", 1, "x y"},
        {"tabs and line ends trimmed", true, "\t\r\n x \n", 1, "x"},
        {"only spaces is no text", true, "   \n\t ", 0, nullptr},
        {"kept when not dropping", false, "  x y  ", 1, "  x y  "},
        {"spaces kept as a text", false, "   ", 1, "   "},
        {"entity spaces survive trimming", true, "&#32;x&#32;", 1, " x "},
    };
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.name);
        setXmlOptions(true, true, row.dropWhitespace);
        const std::string text = std::string("<a>") + row.content + "</a>";
        XmlParseResult result;
        const XmlElement a = parseXmlText(text.c_str(), nullptr, &result);
        ASSERT_EQ(result.code, 0) << xmlErrorText(result.code);
        ASSERT_EQ(a.textCount(), row.texts);
        if (row.first != nullptr) {
            EXPECT_STREQ(a.text(0), row.first);
        }
    }
}

TEST_F(XmlParse, AttributeValuesAreDecodedNamesAreNot)
{
    const XmlElement a = parseXmlText("<a b&amp;=\"x&lt;y\" c='&#x41;&#66;'/>");
    ASSERT_EQ(a.attributeCount(), 2);
    EXPECT_STREQ(a.attributeAt(0)->name(), "b&amp;");
    EXPECT_STREQ(a.attributeAt(0)->value(), "x<y");
    EXPECT_STREQ(a.attribute("C"), "AB");
}

TEST_F(XmlParse, AnAmpersandInsideAMultiByteCharacterIsNoReference)
{
    // The lead byte takes the "&" after it as part of its character, in values and in texts
    // alike; a reference after a whole character is still decoded.
    const XmlElement a = parseXmlText("<a b=\"\xC3&amp;\" c=\"\xC3\xA9&amp;\">\xC3&lt;\xC3\xA9&lt;</a>");
    EXPECT_STREQ(a.attribute("b"), "\xC3&amp;");
    EXPECT_STREQ(a.attribute("c"), "\xC3\xA9&");
    EXPECT_STREQ(a.text(0), "\xC3&lt;\xC3\xA9<");
}

TEST_F(XmlParse, ScansStopAtTheZeroByteAtTheEndOfAPage)
{
    // The scans read ahead in blocks: a text whose zero byte is the last byte before an
    // unreadable page must parse as it does anywhere else, in every kind of token it can end in.
    const long pageSize = sysconf(_SC_PAGESIZE);
    void* pages = mmap(nullptr, static_cast<std::size_t>(pageSize) * 2, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(mprotect(static_cast<char*>(pages) + pageSize, static_cast<std::size_t>(pageSize), PROT_NONE), 0);
    const std::string endings[] = {"<a>character data and more character data",
                                   "<a b=\"a value that never closes",
                                   "<a name_that_runs_to_the_end_of_the_text",
                                   "<a><!-- a comment that never closes",
                                   "<a>data with a cut character \xF0",
                                   "<a b='1'>data &amp; a reference</a>"};
    for (const std::string& ending : endings) {
        for (std::size_t pad = 0; pad < 16; ++pad) {
            const std::string text = std::string(pad, ' ') + ending;
            SCOPED_TRACE(text);
            char* placed = static_cast<char*>(pages) + pageSize - static_cast<long>(text.size()) - 1;
            std::memcpy(placed, text.c_str(), text.size() + 1);
            XmlParseResult there;
            XmlParseResult here;
            const std::string atPageEnd = describe(parseXmlText(placed, nullptr, &there));
            EXPECT_EQ(atPageEnd, describe(parseXmlText(text.c_str(), nullptr, &here)));
            EXPECT_EQ(there.code, here.code);
            EXPECT_EQ(there.column, here.column);
        }
    }
    munmap(pages, static_cast<std::size_t>(pageSize) * 2);
}

TEST_F(XmlParse, ItemsAreEndedAndDecodedInTheDocumentsOwnCopy)
{
    // Each stored item is ended by a zero byte over the markup after it and decoded where it
    // lies: items that touch must not cut or overwrite each other, and the caller's text stays.
    const std::string text = "<?pi v=1?><a x=\"&lt;\"y='2'z=3 w>&amp;&amp;t<b/>u&#65;<!--c--></a>";
    const std::string before = text;
    const XmlElement top = parseXmlText(text.c_str());
    EXPECT_EQ(describe(top), "<?pi v=\"1\">\n  <a x=\"<\" y=\"2\" z=\"3\" w>\n    text \"&&t\"\n    <b>\n"
                             "    text \"uA\"\n    clear <!--\"c\"\n");
    EXPECT_EQ(text, before);
}

TEST_F(XmlParse, TheTopElementIsReplacedOnlyWhenItHoldsOneElementAlone)
{
    EXPECT_STREQ(parseXmlText("<a/>").name(), "a");
    EXPECT_EQ(parseXmlText("<a/><b/>").name(), nullptr);
    EXPECT_EQ(parseXmlText("x<a/>").name(), nullptr);
    EXPECT_EQ(parseXmlText("<!--c--><a/>").name(), nullptr);
    // A replaced top element goes; its child is left without a parent.
    EXPECT_TRUE(parseXmlText("<a/>").parent().isEmpty());
    const XmlElement top = parseXmlText("<a/><b/>");
    EXPECT_EQ(top.child(1).parent().body(), top.body());
}

TEST_F(XmlParse, RootSearchGoesDownThroughDeclarationsOnly)
{
    struct Row {
        const char* name;
        const char* text;
        bool found;
    };
    const Row rows[] = {
        {"root beside the declaration", "<?xml?><x/><MGXML/>", true},
        {"root under two declarations", "<?xml?><?style?><MGXML/>", true},
        {"root among the children of the single element", "<x><MGXML/></x>", true},
        {"root under an ordinary element is not searched", "<x><y><MGXML/></y></x>", false},
        {"declaration found before a later sibling", "<a/><?xml?><MGXML/>", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        XmlParseResult result;
        const XmlElement root = parseXmlText(row.text, "MGXML", &result);
        EXPECT_EQ(!root.isEmpty(), row.found);
        EXPECT_EQ(result.code, row.found ? 0 : 13);
        if (row.found) {
            EXPECT_STREQ(root.name(), "MGXML");
        }
    }
}

TEST_F(XmlParse, DeeplyNestedDocumentsNeitherOverflowNorLeak)
{
    const int depth = 200000;
    std::string text;
    text.reserve(static_cast<std::size_t>(depth) * 7);
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    XmlParseResult result;
    XmlElement e = parseXmlText(text.c_str(), nullptr, &result);
    EXPECT_EQ(result.code, 0);
    int levels = 0;
    for (XmlElement at = e; !at.isEmpty(); at = at.child(0))
        ++levels;
    EXPECT_EQ(levels, depth);
    EXPECT_GT(e.toXmlText().size(), text.size() / 2);  // <a/> at the bottom
    e = XmlElement();  // released without recursion
}

}  // namespace
