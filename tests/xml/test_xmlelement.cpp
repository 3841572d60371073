// Queries, shared ownership and editing of element trees.

#include "xmltesting.h"

#include <atomic>
#include <thread>
#include <vector>

using xmltest::describe;

namespace {

// Keeps a loop's reads from being optimised away.
std::atomic<const void*> sink{nullptr};
void observe(const void* p) { sink.store(p, std::memory_order_relaxed); }

class XmlElementTest : public xmltest::XmlTest {};

TEST_F(XmlElementTest, SpecimenDocumentAnswersItsQueries)
{
    XmlParseResult result;
    const XmlElement root = parseXmlText("<MGXML><a>1</a></MGXML>", "MGXML", &result);
    ASSERT_EQ(result.code, 0);
    EXPECT_STREQ(root.name(), "MGXML");
    const XmlElement a = root.child("A");
    ASSERT_FALSE(a.isEmpty());
    EXPECT_STREQ(a.name(), "a");
    EXPECT_STREQ(a.text(0), "1");
    EXPECT_EQ(a.text(1), nullptr);
    EXPECT_EQ(a.text(-1), nullptr);
}

TEST_F(XmlElementTest, RunningPositionWalksChildrenOfOneName)
{
    const XmlElement root = parseXmlText("<r><p>1</p><x/><P>2</P><y/><p>3</p></r>");
    EXPECT_EQ(root.childCount(), 5);
    EXPECT_EQ(root.childCount("p"), 3);
    int position = 0;
    std::string seen;
    for (XmlElement p = root.child("p", &position); !p.isEmpty(); p = root.child("p", &position))
        seen += p.text(0);
    EXPECT_EQ(seen, "123");
    EXPECT_EQ(position, 5);  // after the last match; left alone by the failing call
    int fromMiddle = 2;
    EXPECT_STREQ(root.child("p", &fromMiddle).text(0), "2");
    EXPECT_EQ(fromMiddle, 3);
    EXPECT_STREQ(root.child("p").text(0), "1");  // no position: from the start every time
    int negative = -3;
    EXPECT_STREQ(root.child("p", &negative).text(0), "1");
}

TEST_F(XmlElementTest, AttributeLookupsFollowTheSameRules)
{
    const XmlElement e = parseXmlText("<e x=1 y X=\"2\" z=''/>");
    EXPECT_EQ(e.attributeCount(), 4);
    EXPECT_STREQ(e.attribute("X"), "1");
    EXPECT_EQ(e.attribute("y"), nullptr);       // written without a value
    EXPECT_TRUE(e.isAttributeSet("Y"));
    EXPECT_FALSE(e.isAttributeSet("w"));
    EXPECT_STREQ(e.attribute("z"), "");         // empty value is not none
    int position = 0;
    EXPECT_STREQ(e.attribute("x", &position), "1");
    EXPECT_EQ(position, 1);
    EXPECT_STREQ(e.attribute("x", &position), "2");
    EXPECT_EQ(position, 3);
    EXPECT_EQ(e.attribute("x", &position), nullptr);
    EXPECT_EQ(position, 3);
}

TEST_F(XmlElementTest, ContentAtListsAttributesThenDocumentOrder)
{
    const XmlElement e = parseXmlText("<e k=v>t1<c/><!--x-->t2<![CDATA[y]]><d/></e>");
    struct Row {
        XmlContentKind kind;
        const char* what;
    };
    const Row rows[] = {
        {XmlContentAttribute, "k"}, {XmlContentText, "t1"}, {XmlContentChild, "c"}, {XmlContentClear, "x"},
        {XmlContentText, "t2"},     {XmlContentClear, "y"}, {XmlContentChild, "d"},
    };
    ASSERT_EQ(e.contentCount(), 7);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        const XmlContent c = e.contentAt(i);
        ASSERT_EQ(c.kind, rows[i].kind);
        const char* what = c.kind == XmlContentAttribute ? c.attribute->name()
                           : c.kind == XmlContentText    ? c.text
                           : c.kind == XmlContentChild   ? c.child.name()
                                                         : c.clear->content();
        EXPECT_STREQ(what, rows[i].what);
    }
    EXPECT_EQ(e.contentAt(7).kind, XmlContentNothing);
    EXPECT_EQ(e.contentAt(-1).kind, XmlContentNothing);
}

TEST_F(XmlElementTest, EmptyElementAnswersNothingEverywhere)
{
    XmlElement e = XmlElement::emptyElement();
    EXPECT_TRUE(e.isEmpty());
    EXPECT_EQ(e.name(), nullptr);
    EXPECT_FALSE(e.isDeclaration());
    EXPECT_EQ(e.childCount(), 0);
    EXPECT_EQ(e.childCount("a"), 0);
    EXPECT_TRUE(e.child(0).isEmpty());
    EXPECT_TRUE(e.child("a").isEmpty());
    EXPECT_EQ(e.text(0), nullptr);
    EXPECT_EQ(e.attribute("a"), nullptr);
    EXPECT_EQ(e.contentAt(0).kind, XmlContentNothing);
    EXPECT_TRUE(e.parent().isEmpty());
    EXPECT_TRUE(e.addChild("x").isEmpty());
    EXPECT_EQ(e.addText("x"), nullptr);
    EXPECT_FALSE(e.removeChild(0));
    EXPECT_EQ(e.toXmlText(), "");
    EXPECT_TRUE(XmlElement::emptyElement().isEmpty());  // the shared one was not touched
}

TEST_F(XmlElementTest, SubElementsOutliveTheirTree)
{
    XmlElement b;
    {
        XmlElement root = parseXmlText("<a><b><c>deep</c></b><d/></a>");
        b = root.child("b");
        EXPECT_EQ(b.parent().body(), root.body());
    }
    // The root went with its last handle; b stays, now without a parent, with its own subtree.
    EXPECT_TRUE(b.parent().isEmpty());
    EXPECT_STREQ(b.child("c").text(0), "deep");
    EXPECT_EQ(b.child("c").parent().body(), b.body());
}

TEST_F(XmlElementTest, AKeptElementKeepsItsWholeDocument)
{
    std::string text = "<r>";
    for (int i = 0; i < 20000; ++i)
        text += "<p id=\"" + std::to_string(i) + "\"><q>text &amp; " + std::to_string(i) + "</q></p>";
    text += "</r>";
    XmlElement q;
    {
        const XmlElement root = parseXmlText(text.c_str());
        ASSERT_EQ(root.childCount(), 20000);
        q = root.child(12345).child("q");
    }
    // A document of the same size parsed now would take the storage of the first, had it gone.
    std::string other = text;
    for (std::size_t at = other.find("text"); at != std::string::npos; at = other.find("text", at))
        other.replace(at, 4, "TEXT");
    const XmlElement second = parseXmlText(other.c_str());
    EXPECT_TRUE(q.parent().isEmpty());
    EXPECT_STREQ(q.text(0), "text & 12345");
    q.addChild("n").addAttribute("k", "v");
    q.updateText(0, "changed");
    EXPECT_EQ(describe(q), "<q>\n  text \"changed\"\n  <n k=\"v\">\n");
}

TEST_F(XmlElementTest, HandlesMayBeCopiedAndDroppedOnSeveralThreads)
{
    std::string text = "<r>";
    for (int i = 0; i < 64; ++i)
        text += "<c>" + std::to_string(i) + "</c>";
    text += "</r>";
    XmlElement root = parseXmlText(text.c_str());
    const XmlElement last = root.child(63);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([shared = root] {
            for (int i = 0; i < 20000; ++i) {
                const XmlElement c = shared.child(i % 64);
                const XmlElement again = c;
                observe(again.body());
            }
        });
    }
    root = XmlElement();  // the threads' copies keep the document
    for (std::thread& t : threads)
        t.join();
    // Every count came back: the document is still held by `last`, whose parent is gone.
    EXPECT_TRUE(last.parent().isEmpty());
    EXPECT_STREQ(last.text(0), "63");
}

TEST_F(XmlElementTest, CopiesShareOneBody)
{
    XmlElement first = parseXmlText("<a/>");
    XmlElement second = first;
    second.addText("shared");
    EXPECT_STREQ(first.text(0), "shared");
    XmlElement third;
    third = std::move(second);
    EXPECT_TRUE(second.isEmpty());  // NOLINT(bugprone-use-after-move): a moved-from handle is empty
    EXPECT_EQ(third.body(), first.body());
    third = third;  // self-assignment keeps the body alive
    EXPECT_STREQ(third.text(0), "shared");
}

TEST_F(XmlElementTest, AddingAtPositionsKeepsDocumentOrder)
{
    XmlElement e = parseXmlText("<e>t0<c0/><!--k0--></e>");
    e.addChild("c1", false, 0);
    EXPECT_EQ(describe(e), "<e>\n  <c1>\n  text \"t0\"\n  <c0>\n  clear <!--\"k0\"\n");
    e.addText("t1", 2);
    EXPECT_EQ(describe(e), "<e>\n  <c1>\n  text \"t0\"\n  text \"t1\"\n  <c0>\n  clear <!--\"k0\"\n");
    EXPECT_STREQ(e.text(0), "t0");
    EXPECT_STREQ(e.text(1), "t1");
    e.addClear("k1", XmlClearMarker::CData, 1);
    e.addChild("c2");  // at the end
    EXPECT_EQ(describe(e), "<e>\n  <c1>\n  clear <![CDATA[\"k1\"\n  text \"t0\"\n  text \"t1\"\n  <c0>\n"
                           "  clear <!--\"k0\"\n  <c2>\n");
    EXPECT_STREQ(e.child(0).name(), "c1");
    EXPECT_STREQ(e.child(1).name(), "c0");
    EXPECT_STREQ(e.clearAt(0)->content(), "k1");
    e.addAttribute("b", "2");
    e.addAttribute("a", nullptr, 0);
    EXPECT_EQ(describe(e).substr(0, 14), "<e a b=\"2\">\n  ");
    EXPECT_EQ(e.addChild("x").parent().body(), e.body());
}

TEST_F(XmlElementTest, RemovingRenumbersTheRest)
{
    XmlElement e = parseXmlText("<e a=1 b=2><c0/>t0<c1/>t1<!--k0--><c2/></e>");
    ASSERT_TRUE(e.removeChild(1));
    ASSERT_TRUE(e.removeText(0));
    ASSERT_TRUE(e.removeAttribute(0));
    EXPECT_FALSE(e.removeChild(5));
    EXPECT_FALSE(e.removeText(-1));
    EXPECT_EQ(describe(e), "<e b=\"2\">\n  <c0>\n  text \"t1\"\n  clear <!--\"k0\"\n  <c2>\n");
    EXPECT_STREQ(e.child(1).name(), "c2");
    ASSERT_TRUE(e.removeClear(0));
    EXPECT_EQ(e.contentCount(), 4);
    EXPECT_EQ(e.contentAt(3).child.name(), std::string("c2"));
}

TEST_F(XmlElementTest, RemovedChildLivesOnWithoutParent)
{
    XmlElement e = parseXmlText("<e><c>kept</c></e>");
    XmlElement c = e.child(0);
    ASSERT_TRUE(e.removeChild(0));
    EXPECT_EQ(e.childCount(), 0);
    EXPECT_TRUE(c.parent().isEmpty());
    EXPECT_STREQ(c.text(0), "kept");
}

TEST_F(XmlElementTest, UpdatesReplaceValuesInPlace)
{
    XmlElement e = parseXmlText("<e a=1 b>x<!--y--></e>");
    EXPECT_TRUE(e.updateName("f"));
    EXPECT_STREQ(e.name(), "f");
    EXPECT_STREQ(e.updateAttribute(0, "9", "A")->value(), "9");
    EXPECT_STREQ(e.attributeAt(0)->name(), "A");
    EXPECT_EQ(e.updateAttribute(1, nullptr)->value(), nullptr);
    EXPECT_STREQ(e.updateAttribute("B", "set")->value(), "set");  // by name, case ignored
    EXPECT_STREQ(e.updateAttribute("c", "new")->name(), "c");     // absent: added
    EXPECT_EQ(e.attributeCount(), 3);
    EXPECT_STREQ(e.updateText(0, "z"), "z");
    EXPECT_EQ(e.updateText(1, "w"), nullptr);
    EXPECT_STREQ(e.updateClear(0, "q")->content(), "q");
    EXPECT_EQ(describe(e), "<f A=\"9\" b=\"set\" c=\"new\">\n  text \"z\"\n  clear <!--\"q\"\n");
}

}  // namespace
