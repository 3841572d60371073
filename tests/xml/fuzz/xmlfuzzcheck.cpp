#include "xmlfuzzcheck.h"

#include "xml/xmlbase64.h"
#include "xml/xmlparser.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void broken(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "xml fuzz check failed: %s\n%s\n", what, detail.c_str());
    std::abort();
}

bool plainName(const char* name)
{
    if (name == nullptr || *name == '\0')
        return false;
    for (const char* p = name; *p != '\0'; ++p) {
        const char c = *p;
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                        c == '.' || c == ':' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}

// Whether `root` can be promised to read back as itself once written: every name is an
// XML-style name (the serialiser writes names as they are), and no element without an end tag
// (a declaration or the nameless top element) ends with a text, which only a following tag
// could end when read back (such a text was stored before a stray end tag).
bool writable(const XmlElement& root)
{
    std::vector<XmlElement> work{root};
    while (!work.empty()) {
        const XmlElement e = work.back();
        work.pop_back();
        if (e.name() != nullptr && !plainName(e.name()))
            return false;
        for (int i = 0; i < e.attributeCount(); ++i) {
            if (!plainName(e.attributeAt(i)->name()))
                return false;
        }
        const int items = e.contentCount();
        if ((e.name() == nullptr || e.isDeclaration()) && items > e.attributeCount() &&
            e.contentAt(items - 1).kind == XmlContentText)
            return false;
        for (int i = 0; i < e.childCount(); ++i)
            work.push_back(e.child(i));
    }
    return true;
}

bool sameElement(const XmlElement& a, const XmlElement& b)
{
    if ((a.name() == nullptr) != (b.name() == nullptr) || (a.name() && std::strcmp(a.name(), b.name()) != 0))
        return false;
    if (a.isDeclaration() != b.isDeclaration() || a.attributeCount() != b.attributeCount() ||
        a.contentCount() != b.contentCount())
        return false;
    for (int i = 0; i < a.attributeCount(); ++i) {
        const XmlAttribute* x = a.attributeAt(i);
        const XmlAttribute* y = b.attributeAt(i);
        if (std::strcmp(x->name(), y->name()) != 0 || x->hasValue() != y->hasValue() ||
            x->valueBytes() != y->valueBytes())
            return false;
    }
    int textIndex = 0;
    for (int i = a.attributeCount(); i < a.contentCount(); ++i) {
        const XmlContent x = a.contentAt(i);
        const XmlContent y = b.contentAt(i);
        if (x.kind != y.kind)
            return false;
        if (x.kind == XmlContentText) {
            if (a.textBytes(textIndex) != b.textBytes(textIndex))
                return false;
            ++textIndex;
        } else if (x.kind == XmlContentClear) {
            if (x.clear->marker() != y.clear->marker() || x.clear->contentBytes() != y.clear->contentBytes())
                return false;
        }
    }
    return true;
}

bool sameTree(const XmlElement& a, const XmlElement& b)
{
    std::vector<std::pair<XmlElement, XmlElement>> work{{a, b}};
    while (!work.empty()) {
        const auto [x, y] = work.back();
        work.pop_back();
        if (!sameElement(x, y) || x.childCount() != y.childCount())
            return false;
        for (int i = 0; i < x.childCount(); ++i)
            work.emplace_back(x.child(i), y.child(i));
    }
    return true;
}

// Every query must be safe on every element, in or out of range.
void walkQueries(const XmlElement& root)
{
    std::vector<XmlElement> work{root};
    std::size_t visited = 0;
    while (!work.empty() && visited < 2000) {
        const XmlElement e = work.back();
        work.pop_back();
        ++visited;
        for (int i = -1; i <= e.contentCount(); ++i) {
            const XmlContent c = e.contentAt(i);
            if ((i < 0 || i == e.contentCount()) != (c.kind == XmlContentNothing))
                broken("contentAt kind");
        }
        if (e.text(-1) != nullptr || e.text(e.textCount()) != nullptr || !e.child(e.childCount()).isEmpty())
            broken("index past the end gives something");
        if (e.name() != nullptr) {
            int position = 0;
            int found = 0;
            const XmlElement p = e.parent();
            if (!p.isEmpty()) {
                while (!p.child(e.name(), &position).isEmpty())
                    ++found;
                if (found != p.childCount(e.name()))
                    broken("running position walk and childCount disagree");
            }
        }
        for (int i = 0; i < e.childCount(); ++i)
            work.push_back(e.child(i));
    }
}

// Keeps the last element of the tree and drops every other handle: the element must stay whole
// (its document's storage with it), lose its parent, and take edits; removing a subtree while a
// handle into it is held must leave that handle usable.
void keepAfterDocument(XmlElement root)
{
    XmlElement kept = root;
    while (kept.childCount() > 0)
        kept = kept.child(kept.childCount() - 1);
    if (kept.isEmpty())
        return;
    const std::string before = kept.toXmlText();
    const bool wasRoot = kept.body() == root.body();
    root = XmlElement();
    if (!wasRoot && !kept.parent().isEmpty())
        broken("a kept element still has a parent after its document went");
    if (kept.toXmlText() != before)
        broken("a kept element changed when its document went", before);

    XmlElement made = kept.addChild("made");
    made.addText("t");
    made.addAttribute("a", "1");
    XmlElement inner = made.addChild("inner");
    inner.addText("held");
    kept.updateName("renamed");
    if (kept.textCount() > 0)
        kept.updateText(0, "u");
    if (kept.attributeCount() > 0)
        kept.updateAttribute(0, "v", "w");
    if (kept.clearCount() > 0)
        kept.removeClear(0);
    if (!kept.removeChild(kept.childCount() - 1) || !made.parent().isEmpty())
        broken("removed child");
    made = XmlElement();
    // `made` went with its last handle: `inner` lives on without a parent.
    if (std::strcmp(inner.text(0), "held") != 0 || !inner.parent().isEmpty())
        broken("a held element of a removed subtree");
    kept.addChild("again").addText("x");
    kept.removeChild(kept.childCount() - 1);  // nothing holds it: its blocks go at once
}

}  // namespace

void checkXmlInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    const std::uint8_t flags = data[0];
    const bool utf8 = (flags & 1) != 0;
    const bool drop = (flags & 2) != 0;
    const bool searchRoot = (flags & 4) != 0;
    const bool indent = (flags & 8) != 0 && drop;
    setXmlOptions(true, utf8, drop);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    XmlParseResult result;
    const XmlElement root = parseXmlText(text.c_str(), searchRoot ? "r" : nullptr, &result);
    if (result.code < 0 || result.code > 14 || result.code == 2 || result.code == 3 || result.code == 6 ||
        result.code == 10 || result.code == 11 || result.code == 12)
        broken("unexpected code", xmlErrorText(result.code));
    if ((result.code <= 1) == root.isEmpty())
        broken("tree kept for the wrong codes");
    const bool placed = result.code != 0 && result.code != 13;
    if (placed != (result.line >= 1 && result.column >= 1))
        broken("line and column");
    if (root.isEmpty())
        return;
    walkQueries(root);
    if ((flags & 32) != 0) {
        keepAfterDocument(parseXmlText(text.c_str(), searchRoot ? "r" : nullptr));
        return;
    }

    if (!writable(root))
        return;
    const std::string written = root.toXmlText(indent);
    XmlParseResult again;
    const XmlElement reread = parseXmlText(written.c_str(), nullptr, &again);
    if (again.code > 1)
        broken("written text does not parse", written + "\n" + xmlErrorText(again.code));
    if (!sameTree(root, reread))
        broken("written text reads back as another tree", written);

    // Base64 of the written text comes back whole.
    XmlBase64 codec;
    const std::string encoded = codec.encode(written.data(), written.size(), (flags & 16) != 0);
    if (codec.decode(encoded.c_str()).code != 0 || codec.size() != written.size() ||
        (!written.empty() && std::memcmp(codec.data(), written.data(), written.size()) != 0))
        broken("base64 round trip");
}
