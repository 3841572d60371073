#pragma once
// The element tree of a parsed document. XmlElement is a value-type handle over an element body;
// copies share the body. A parsed document keeps its text, bodies and arrays in one storage that
// all handles into it share: it goes with the last of them, so a kept sub-element keeps it whole.
// Counts are atomic, so handles may be copied and dropped on any thread; reading and editing one
// tree stay on one thread at a time.

#include "xml/xmlresult.h"

#include <cstdint>
#include <string>
#include <string_view>

struct XmlElementBody;
class XmlElement;

enum XmlContentKind : std::int32_t {
    XmlContentChild = 0,
    XmlContentAttribute = 1,
    XmlContentText = 2,
    XmlContentClear = 3,
    XmlContentNothing = 4,
};

// The opening and closing markers of the clear sections the reader keeps raw, searched in this
// order when a token starts. Opening markers match without regard to case, closing ones exactly.
enum class XmlClearMarker { CData, Doctype, Pre, Script, Comment };

struct XmlClearMarkerEntry {
    const char* opening;
    int openingLength;
    const char* closing;
};

// Entry of the marker table for `marker`.
const XmlClearMarkerEntry& xmlClearMarkerEntry(XmlClearMarker marker);

// Texts of attributes and clear sections point into their document's storage (or, once edited,
// into blocks of their own); they stay valid until the item is changed or its document goes.
class XmlAttribute {
public:
    const char* name() const { return name_; }                      // as written
    const char* value() const { return hasValue_ ? value_ : nullptr; }  // decoded; none without "="
    bool hasValue() const { return hasValue_; }
    std::string_view valueBytes() const { return {value_, valueLength_}; }  // whole, embedded zero bytes kept

private:
    friend struct XmlElementBody;
    friend class XmlElement;
    friend class XmlTreeBuilder;
    const char* name_ = "";
    const char* value_ = "";
    std::uint32_t valueLength_ = 0;
    bool hasValue_ = false;
    bool nameOwned_ = false;   // name_ and value_ are blocks of their own (made by editing)
    bool valueOwned_ = false;
};

class XmlClearSection {
public:
    const char* content() const { return content_; }  // the raw characters between the markers
    std::string_view contentBytes() const { return {content_, length_}; }
    XmlClearMarker marker() const { return static_cast<XmlClearMarker>(marker_); }
    const char* openingMarker() const { return xmlClearMarkerEntry(marker()).opening; }
    const char* closingMarker() const { return xmlClearMarkerEntry(marker()).closing; }

private:
    friend struct XmlElementBody;
    friend class XmlElement;
    friend class XmlTreeBuilder;
    const char* content_ = "";
    std::uint32_t length_ = 0;
    std::uint8_t marker_ = 0;
    bool owned_ = false;  // content_ is a block of its own (made by editing)
};

// One content item of an element (see XmlElement::contentAt). Pointers stay valid until the
// element is changed or the last handle into its document goes.
struct XmlContent;

class XmlElement {
public:
    XmlElement() noexcept = default;  // the empty element
    XmlElement(const XmlElement& other) noexcept;
    XmlElement(XmlElement&& other) noexcept;
    XmlElement& operator=(const XmlElement& other) noexcept;
    XmlElement& operator=(XmlElement&& other) noexcept;
    ~XmlElement();

    // The process-wide empty element every failed look-up returns.
    static const XmlElement& emptyElement();

    // A new parentless element (nameless when `name` is null), for building a tree by hand.
    static XmlElement create(const char* name, bool declaration = false);

    bool isEmpty() const { return body_ == nullptr; }
    const char* name() const;  // as written; none for the top element of a parse
    bool isDeclaration() const;
    XmlElement parent() const;  // empty when it has none

    int childCount() const;
    int childCount(const char* name) const;  // children of that name, case ignored
    XmlElement child(int index) const;
    // The first child at or after *position (0 when absent) named `name` (case ignored). On a
    // match *position becomes its index + 1, so repeated calls walk every child of that name;
    // on none it is left alone and the empty element is returned.
    XmlElement child(const char* name, int* position = nullptr) const;

    int textCount() const;
    const char* text(int index = 0) const;  // none outside 0 .. textCount() - 1
    // The whole text, embedded zero bytes kept; data() is null outside 0 .. textCount() - 1.
    std::string_view textBytes(int index) const;

    int attributeCount() const;
    const XmlAttribute* attributeAt(int index) const;
    // Value of the first attribute at or after *position named `name` (case ignored); same
    // running-position rule as child(). None when absent or written without a value.
    const char* attribute(const char* name, int* position = nullptr) const;
    bool isAttributeSet(const char* name) const;

    int clearCount() const;
    const XmlClearSection* clearAt(int index) const;

    // Attributes first, then children, texts and clear sections in document order.
    int contentCount() const;
    XmlContent contentAt(int index) const;

    // Editing. `position` counts the children, texts and clear sections together in document
    // order; the new item goes before the one now at that position, at the end when -1 or past
    // the end. Attributes have their own positions. Each returns what it made (empty/none on the
    // empty element).
    XmlElement addChild(const char* name, bool declaration = false, int position = -1);
    const XmlAttribute* addAttribute(const char* name, const char* value, int position = -1);
    const char* addText(const char* text, int position = -1);
    const XmlClearSection* addClear(const char* content, XmlClearMarker marker = XmlClearMarker::CData,
                                    int position = -1);

    bool updateName(const char* name);
    // Sets the value (null: none) and, when `newName` is given, the name of attribute `index`.
    const XmlAttribute* updateAttribute(int index, const char* value, const char* newName = nullptr);
    // Sets the value of the first attribute named `name`, adding it at the end when absent.
    const XmlAttribute* updateAttribute(const char* name, const char* value);
    const char* updateText(int index, const char* text);
    const XmlClearSection* updateClear(int index, const char* content);

    bool removeChild(int index);
    bool removeAttribute(int index);
    bool removeText(int index);
    bool removeClear(int index);

    // XML text of this element and everything under it: texts and attribute values with the
    // five entities escaped, clear sections with their markers. `indent` puts every item on its
    // own line, indented by tabs (reads back as the same tree with whitespace dropping on).
    std::string toXmlText(bool indent = false) const;

    // Writes toXmlText to a file. A non-declaration element gets a UTF-8 byte-order mark and the
    // utf-8 declaration line when `encoding` is null or the reader is in UTF-8 mode, else a
    // declaration line naming `encoding`; a declaration element gets only the byte-order mark,
    // and that only in UTF-8 mode. Codes 16 and 17 on failure.
    XmlParseResult writeToFile(const char* fileName, const char* encoding = nullptr, bool indent = true) const;

    // Identity of the shared body (tests, diagnostics).
    const XmlElementBody* body() const { return body_; }

private:
    friend struct XmlElementBody;
    friend class XmlTreeBuilder;
    explicit XmlElement(XmlElementBody* adopted) noexcept : body_(adopted) {}  // takes one reference
    XmlElementBody* body_ = nullptr;
};

struct XmlContent {
    XmlContentKind kind = XmlContentNothing;
    XmlElement child;
    const XmlAttribute* attribute = nullptr;
    const char* text = nullptr;
    const XmlClearSection* clear = nullptr;
};
