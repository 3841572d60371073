// The element parser: one pass over the text, an explicit stack of open elements (so nesting
// depth is bounded by memory, not by the call stack). The document's arena holds a copy of the
// text; names, texts, values and clear sections are ranges of that copy, ended in place by a
// zero byte over the character after them (always markup the tokenizer already read from the
// original) and entity-decoded in place (a decoded text is never longer). The items of the open
// elements collect on scratch stacks and are copied into exactly sized arrays behind their body
// when their element closes, so a parsed tree holds no spare capacity.

#include "xml/xmlchars_p.h"
#include "xml/xmlelementbody_p.h"
#include "xml/xmlentities_p.h"
#include "xml/xmlparser.h"
#include "xml/xmlscratchstack_p.h"
#include "xml/xmltokenizer_p.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>
#include <new>
#include <vector>

using namespace xml;

using xmltokenizer::Token;
using xmltokenizer::TokenKind;

// Builds trees from the parser; the only place besides the element itself that touches handles'
// bodies.
class XmlTreeBuilder {
public:
    static XmlElement handleOn(XmlElementBody* body)
    {
        XmlElementBody::acquire(body);
        return XmlElement(body);
    }
    static XmlElementBody* bodyOf(const XmlElement& e) { return e.body_; }
    // Items are filled where they lie on the scratch stacks: built aside and copied in, their
    // narrow fields would be read back wide before the stores land (a store-forwarding stall).
    static void fill(XmlAttribute& a, const char* name, const char* value, std::size_t valueLength, bool hasValue)
    {
        a.name_ = name;
        a.value_ = value;
        a.valueLength_ = static_cast<std::uint32_t>(valueLength);
        a.hasValue_ = hasValue;
        a.nameOwned_ = false;
        a.valueOwned_ = false;
    }
    static void fill(XmlClearSection& c, const char* content, std::size_t length, XmlClearMarker marker)
    {
        c.content_ = content;
        c.length_ = static_cast<std::uint32_t>(length);
        c.marker_ = static_cast<std::uint8_t>(marker);
        c.owned_ = false;
    }
};

namespace {

// Scratch stacks above this many entries are given back after a parse.
constexpr std::size_t scratchKept = 4096;

enum class AttributeStep : std::uint8_t { ExpectName, HoldingName, ExpectValue };

// An open element. Its body is made when it opens (so its children learn their parent while
// they are still in the cache); its arrays when it closes, when their sizes are known.
// Positions are 32-bit: a document is shorter than 4 GiB.
struct Frame {
    XmlElementBody* body;
    const char* name;  // as written in the text; null for the top element
    const char* held;  // the held attribute name
    std::uint32_t nameLength;
    std::uint32_t heldLength;
    // Where this element's items begin on the scratch stacks.
    std::uint32_t children;
    std::uint32_t texts;
    std::uint32_t clears;
    std::uint32_t attributes;
    std::uint32_t order;
    bool content;  // reading content (else the start tag's attributes)
    bool declaration;  // the body's, kept here beside the rest of the frame
    AttributeStep step;
};

// The items of the open elements. One set per thread, kept between parses (a parse calls no
// code of its users, so it cannot re-enter). A parser holds the set while it runs, as members
// of its own reached without a further pointer.
struct Scratch {
    ScratchStack<Frame> stack;
    ScratchStack<XmlElementBody*> children;
    ScratchStack<XmlTextItem> texts;
    ScratchStack<XmlClearSection> clears;
    ScratchStack<XmlAttribute> attributes;
    ScratchStack<std::int32_t> order;

    void reset()
    {
        stack.reset(scratchKept);
        children.reset(scratchKept);
        texts.reset(scratchKept);
        clears.reset(scratchKept);
        attributes.reset(scratchKept);
        order.reset(scratchKept);
    }
};

thread_local Scratch scratch;

// Byte classes for skipping character data: 1 stops (the zero byte, "<"), 2 is a multi-byte
// lead under the UTF-8 table, 3 is "&", 0 anything else.
constexpr xmltokenizer::detail::StopTable makeDataTable()
{
    xmltokenizer::detail::StopTable t{};
    t.stop[0] = 1;
    t.stop[static_cast<unsigned char>('<')] = 1;
    t.stop[static_cast<unsigned char>('&')] = 3;
    for (int b = 0xC2; b <= 0xF4; ++b)
        t.stop[b] = 2;
    return t;
}

constexpr xmltokenizer::detail::StopTable dataTable = makeDataTable();

// The first exact `marker` at or after `p`, or null; `end` is set just past it. Most sections
// are short: a search for the marker's first byte and a compare beat a general substring search.
const char* findClosing(const char* p, const char* marker, const char*& end)
{
    for (; (p = std::strchr(p, marker[0])) != nullptr; ++p) {
        std::size_t i = 1;
        while (marker[i] != '\0' && p[i] == marker[i])  // stops at the text's zero byte
            ++i;
        if (marker[i] == '\0') {
            end = p + i;
            return p;
        }
    }
    return nullptr;
}

class Parser {
public:
    // `copy` is the arena's room for a copy of `text` (`length` bytes and its zero byte), where
    // stored items are ended and decoded. It is filled as the parse moves on, so the bytes an
    // item ends or decodes are still in the cache.
    Parser(const char* text, std::size_t length, char* copy, XmlArena* arena, const XmlOptions& options)
        : pos_(text), pendingText_(text), text_(text), textEnd_(text + length + 1), copied_(text), copy_(copy),
          arena_(arena), drop_(options.dropWhitespace),
          utf8_(options.utf8Mode), stack_(std::move(scratch.stack)), children_(std::move(scratch.children)),
          texts_(std::move(scratch.texts)), clears_(std::move(scratch.clears)),
          attributes_(std::move(scratch.attributes)), order_(std::move(scratch.order))
    {
    }
    ~Parser()
    {
        scratch.stack = std::move(stack_);
        scratch.children = std::move(children_);
        scratch.texts = std::move(texts_);
        scratch.clears = std::move(clears_);
        scratch.attributes = std::move(attributes_);
        scratch.order = std::move(order_);
        scratch.reset();
    }
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    // Parses the whole text into `top`; code() then tells how it went (0, 1 or an error).
    void run(XmlElementBody* top);

    int code() const { return code_; }
    const char* codePosition() const { return codePosition_; }

private:
    void fail(int code)
    {
        code_ = code;
        codePosition_ = pos_;
    }
    void warnUnmatched(const char* where)
    {
        code_ = XmlWarningUnmatchedEndTag;
        codePosition_ = where;
    }
    bool storePendingText(const char* upTo);
    bool startTagToken(Frame& f, const Token& t);
    // Stores the held attribute with the value token at `value` (quotes included when `quoted`).
    // `mayHoldReference` false says no "&" lies between the quotes.
    bool storeValue(Frame& f, const char* value, std::size_t length, bool quoted, bool mayHoldReference);
    bool contentToken(Frame& f, const Token& t);
    // One step inside an element's content, or its start tag read whole. False ends the parse.
    bool contentStep(Frame& f);
    bool startTag(Frame& f);
    void endInside(const Frame& f);
    bool endTagMatches(const Frame& element, const char* endName) const;
    // Pops the ended element and lets the open ones deal with an end tag left pending.
    bool closeElement();
    void storeHeldAttribute(Frame& f, bool closing);
    // Moves the scratch items of the innermost open element into it and pops it.
    void finishInnermost();
    // Finishes every element still open (the text ended, or the parse failed).
    void finishAll();
    // Opens an element: `body` (made already) with `name` as written (null for the top element).
    void pushFrame(XmlElementBody* body, const char* name, std::size_t nameLength, bool content);
    // Appends a content item of the innermost element to the document order.
    void pushOrder(XmlContentKind kind, std::size_t indexInFrame);
    // Moves past character data: every token up to the next "<" at a character boundary (or the
    // end) would be skipped anyway. Notes whether it passed an "&".
    void skipCharacterData();
    // The copy of the `length` bytes at `p` of the text, ended by a zero byte.
    char* stored(const char* p, std::size_t length)
    {
        copyThrough(p + length + 1);
        char* c = copy_ + (p - text_);
        c[length] = '\0';
        return c;
    }
    // Makes the copy hold the text up to `end` (exclusive), a block at a time.
    void copyThrough(const char* end)
    {
        if (end <= copied_)
            return;
        constexpr std::size_t block = 32 * 1024;
        const char* to = end - copied_ < static_cast<std::ptrdiff_t>(block) ? copied_ + block : end;
        if (to > textEnd_)
            to = textEnd_;
        std::memcpy(copy_ + (copied_ - text_), copied_, static_cast<std::size_t>(to - copied_));
        copied_ = to;
    }
    // The same, entity-decoded (`length` becomes the decoded length); null when a reference is
    // unsound. `mayHoldReference` false says the bytes are known to hold no "&".
    char* storedDecoded(const char* p, std::size_t& length, bool mayHoldReference = true);

    const char* pos_;
    const char* pendingText_;              // start of character data not yet stored, or null
    const char* pendingEndTag_ = nullptr;  // name of an end tag for an outer element
    bool dataReference_ = true;            // the last character data skipped held an "&"
    int code_ = XmlNoError;
    const char* codePosition_ = nullptr;   // where the code was raised
    const char* const text_;
    const char* const textEnd_;  // just past the text's zero byte
    const char* copied_;         // the copy holds the text up to here
    char* const copy_;
    XmlArena* const arena_;
    bool drop_;
    bool utf8_;
    ScratchStack<Frame> stack_;
    ScratchStack<XmlElementBody*> children_;
    ScratchStack<XmlTextItem> texts_;
    ScratchStack<XmlClearSection> clears_;
    ScratchStack<XmlAttribute> attributes_;
    ScratchStack<std::int32_t> order_;
};

[[gnu::always_inline]] inline char* Parser::storedDecoded(const char* p, std::size_t& length, bool mayHoldReference)
{
    // The decoder may look up to three bytes past the item (the rest of a character cut by it).
    copyThrough(p + std::min<std::size_t>(length + 4, static_cast<std::size_t>(textEnd_ - p)));
    char* c = copy_ + (p - text_);
    if (mayHoldReference) {
        const std::size_t from = xmlentities::decodeStart(p, length);
        if (from < length && !xmlentities::decodeInPlace(c, length, from))
            return nullptr;
    }
    c[length] = '\0';
    return c;
}

[[gnu::always_inline]] inline void Parser::pushFrame(XmlElementBody* body, const char* name,
                                                     std::size_t nameLength, bool content)
{
    stack_.push(Frame{body, name, nullptr, static_cast<std::uint32_t>(nameLength), 0,
                      static_cast<std::uint32_t>(children_.size()), static_cast<std::uint32_t>(texts_.size()),
                      static_cast<std::uint32_t>(clears_.size()), static_cast<std::uint32_t>(attributes_.size()),
                      static_cast<std::uint32_t>(order_.size()), content, body->declaration,
                      AttributeStep::ExpectName});
}

[[gnu::always_inline]] inline void Parser::pushOrder(XmlContentKind kind, std::size_t indexInFrame)
{
    order_.push(static_cast<std::int32_t>(indexInFrame * 4 + kind));
}

void Parser::finishInnermost()
{
    const Frame& f = stack_.back();
    const std::size_t childCount = children_.size() - f.children;
    const std::size_t textCount = texts_.size() - f.texts;
    const std::size_t clearCount = clears_.size() - f.clears;
    const std::size_t attributeCount = attributes_.size() - f.attributes;
    const std::size_t bytes = XmlElementBody::arrayBytes(childCount, attributeCount, textCount, clearCount);
    unsigned char* storage = bytes > 0 ? static_cast<unsigned char*>(arena_->allocate(bytes)) : nullptr;
    if (childCount == 0 && clearCount == 0 && textCount <= 1)
        f.body->setLeafArrays(storage, attributes_.data() + f.attributes, attributeCount,
                              textCount == 1 ? &texts_.data()[f.texts] : nullptr);
    else
        f.body->setArrays(storage, children_.data() + f.children, childCount, attributes_.data() + f.attributes,
                      attributeCount, texts_.data() + f.texts, textCount, clears_.data() + f.clears, clearCount,
                      order_.data() + f.order);
    children_.truncate(f.children);
    texts_.truncate(f.texts);
    clears_.truncate(f.clears);
    attributes_.truncate(f.attributes);
    order_.truncate(f.order);
    stack_.pop();
}

void Parser::skipCharacterData()
{
    const char* p = pos_;
    bool reference = false;
    if (utf8_) {
        for (;;) {
            p = xmltokenizer::detail::skipDataBytes(dataTable, p);
            const unsigned char k = dataTable.stop[static_cast<unsigned char>(*p)];
            if (k == 1) {
                break;
            } else if (k == 3) {
                reference = true;
                ++p;
            } else {
                p = xmlchars::nextChar(p);
            }
        }
    } else {
        for (; *p != '\0' && *p != '<'; ++p)
            reference |= *p == '&';
    }
    dataReference_ = reference;
    pos_ = p;
}

void Parser::run(XmlElementBody* top)
{
    pushFrame(top, nullptr, 0, true);
    while (!stack_.empty()) {
        Frame& f = stack_.back();
        const bool goOn = f.content ? contentStep(f) : startTag(f);
        if (!goOn)
            break;
    }
    finishAll();
}

void Parser::endInside(const Frame& f)
{
    // The text ends inside this element: every open element fails with it.
    if (f.name != nullptr && !f.declaration)
        warnUnmatched(pos_);
}

bool Parser::contentStep(Frame& f)
{
    skipCharacterData();
    // Character data stops only at "<" or the zero byte: the token there is markup or the end.
    const Token t = xmltokenizer::nextMarkup(pos_);
    if (t.kind == TokenKind::End) {
        endInside(f);
        return false;
    }
    return contentToken(f, t);
}

bool Parser::startTag(Frame& f)
{
    // The tokens of one start tag in a loop of their own, up to its ">" or "/>".
    for (;;) {
        const Token t = xmltokenizer::next(pos_);
        if (t.kind == TokenKind::End) {
            endInside(f);
            return false;
        }
        if (!startTagToken(f, t))
            return false;
        if (t.kind == TokenKind::TagClose || t.kind == TokenKind::SelfClose)
            return true;  // (after "/>" the element is closed and `f` gone)
    }
}

void Parser::finishAll()
{
    while (!stack_.empty())
        finishInnermost();
}

bool Parser::storePendingText(const char* upTo)
{
    const char* start = pendingText_;
    pendingText_ = nullptr;
    if (start == nullptr || upTo <= start)
        return true;
    const char* end = upTo;
    if (drop_) {
        start = std::min(xmltokenizer::detail::skipSpaces(start), end);
        while (end > start && xmlchars::isSpace(end[-1]))
            --end;
    }
    if (start == end)
        return true;
    std::size_t length = static_cast<std::size_t>(end - start);
    // The pending text is exactly the character data skipped last.
    char* text = storedDecoded(start, length, dataReference_);
    if (text == nullptr) {
        fail(XmlErrorUnknownCharacterEntity);
        return false;
    }
    pushOrder(XmlContentText, texts_.size() - stack_.back().texts);
    XmlTextItem& item = texts_.push();
    item.data = text;
    item.length = static_cast<std::uint32_t>(length);
    item.owned = false;
    return true;
}

void Parser::storeHeldAttribute(Frame& f, bool closing)
{
    std::size_t length = f.heldLength;
    if (closing && f.declaration && length > 0 && f.held[length - 1] == '?')
        --length;
    if (length > 0)
        XmlTreeBuilder::fill(attributes_.push(), stored(f.held, length), "", 0, false);
    f.step = AttributeStep::ExpectName;
}

[[gnu::always_inline]] inline bool Parser::storeValue(Frame& f, const char* value, std::size_t length, bool quoted,
                                                      bool mayHoldReference)
{
    if (f.declaration && length > 0 && value[length - 1] == '?')
        --length;
    if (quoted && length >= 2 && value[length - 1] == value[0]) {
        ++value;
        length -= 2;
    }
    char* decoded = storedDecoded(value, length, mayHoldReference);
    if (decoded == nullptr) {
        fail(XmlErrorUnknownCharacterEntity);
        return false;
    }
    if (f.heldLength > 0)
        XmlTreeBuilder::fill(attributes_.push(), stored(f.held, f.heldLength), decoded, length, true);
    f.step = AttributeStep::ExpectName;
    return true;
}

bool Parser::startTagToken(Frame& f, const Token& t)
{
    if (f.step == AttributeStep::ExpectValue) {
        if (t.kind != TokenKind::Text && t.kind != TokenKind::Quoted) {
            fail(XmlErrorUnexpectedToken);
            return false;
        }
        const bool quoted = t.kind == TokenKind::Quoted;
        return storeValue(f, t.start, t.length, quoted, !quoted || t.reference);
    }
    if (f.step == AttributeStep::HoldingName) {
        if (t.kind == TokenKind::Equals) {
            f.step = AttributeStep::ExpectValue;
            return true;
        }
        if (t.kind == TokenKind::Text)
            storeHeldAttribute(f, false);  // a name without "=": an attribute without a value
        else if (t.kind == TokenKind::TagClose || t.kind == TokenKind::SelfClose)
            storeHeldAttribute(f, true);
    }
    switch (t.kind) {
    case TokenKind::Text:
        f.held = t.start;
        f.heldLength = static_cast<std::uint32_t>(t.length);
        f.step = AttributeStep::HoldingName;
        // name="value" without spaces, the common case: the equals and quoted tokens the general
        // path would read next, taken at once.
        if (pos_[0] == '=' && (pos_[1] == '"' || pos_[1] == '\'')) {
            bool reference = true;
            const char* closing = xmltokenizer::detail::scanQuoted(pos_ + 2, pos_[1], reference);
            if (*closing == pos_[1]) {
                const char* value = pos_ + 1;
                pos_ = closing + 1;
                return storeValue(f, value, static_cast<std::size_t>(pos_ - value), true, reference);
            }
        }
        return true;
    case TokenKind::TagClose:
        f.content = true;
        pendingText_ = pos_;
        return true;
    case TokenKind::SelfClose:
        pendingText_ = pos_;
        return closeElement();
    default:
        fail(XmlErrorUnexpectedToken);
        return false;
    }
}

bool Parser::endTagMatches(const Frame& element, const char* endName) const
{
    if (element.name == nullptr)
        return false;
    const std::size_t n = element.nameLength;
    // A name never holds a zero byte, so the end of the text differs and stops the loop.
    for (std::size_t i = 0; i < n; ++i) {
        if (element.name[i] != endName[i] &&
            xmlchars::toLowerAscii(element.name[i]) != xmlchars::toLowerAscii(endName[i]))
            return false;
    }
    const char after = endName[n];
    return xmlchars::isSpace(after) || after == '/' || after == '<' || after == '=' || after == '>';
}

bool Parser::closeElement()
{
    finishInnermost();
    // An end tag that belongs further out closes every element on its way.
    while (pendingEndTag_ != nullptr && !stack_.empty()) {
        const Frame& open = stack_.back();
        if (open.name == nullptr) {
            fail(XmlErrorUnmatchedEndTag);
            return false;
        }
        if (endTagMatches(open, pendingEndTag_))
            pendingEndTag_ = nullptr;
        finishInnermost();
    }
    return true;
}

bool Parser::contentToken(Frame& f, const Token& t)
{
    switch (t.kind) {
    case TokenKind::TagStart:
    case TokenKind::DeclarationStart: {
        if (!storePendingText(t.start))
            return false;
        const Token name = xmltokenizer::next(pos_);
        if (name.kind != TokenKind::Text) {
            fail(XmlErrorMissingStartTagName);
            return false;
        }
        auto* body = new (arena_->allocate(sizeof(XmlElementBody))) XmlElementBody;
        body->arena = arena_;
        body->parent = f.body;
        body->hasName = true;
        body->declaration = t.kind == TokenKind::DeclarationStart;
        body->name = stored(name.start, name.length);
        pushOrder(XmlContentChild, children_.size() - f.children);
        children_.push(body);
        pushFrame(body, name.start, name.length, false);  // `f` is invalid from here on
        return true;
    }
    case TokenKind::EndTagStart: {
        if (!storePendingText(t.start))
            return false;
        const Token name = xmltokenizer::next(pos_);
        if (name.kind != TokenKind::Text) {
            fail(XmlErrorMissingEndTagName);
            return false;
        }
        const Token close = xmltokenizer::next(pos_);
        if (close.kind != TokenKind::TagClose) {
            fail(XmlErrorMissingEndTagName);
            return false;
        }
        pendingText_ = pos_;
        if (!endTagMatches(f, name.start)) {
            warnUnmatched(pos_);
            pendingEndTag_ = name.start;
        }
        return closeElement();
    }
    case TokenKind::Clear: {
        if (!storePendingText(t.start))
            return false;
        const XmlClearMarkerEntry& entry = xmlClearMarkerEntry(t.marker);
        const char* closing = nullptr;
        const char* closingEnd = nullptr;
        if (t.marker == XmlClearMarker::Doctype) {
            int depth = 0;  // "<" opened inside the declaration (internal subset)
            for (const char* p = pos_; *p != '\0'; ++p) {
                if (*p == '<') {
                    ++depth;
                } else if (*p == '>') {
                    if (depth == 0) {
                        closing = p;
                        closingEnd = p + 1;
                        break;
                    }
                    --depth;
                }
            }
        } else {
            closing = findClosing(pos_, entry.closing, closingEnd);
        }
        if (closing == nullptr) {
            fail(XmlErrorUnmatchedClearTagEnd);
            return false;
        }
        pushOrder(XmlContentClear, clears_.size() - f.clears);
        const std::size_t length = static_cast<std::size_t>(closing - pos_);
        XmlTreeBuilder::fill(clears_.push(), stored(pos_, length), length, t.marker);
        pos_ = closingEnd;
        pendingText_ = pos_;
        return true;
    }
    default:
        return true;  // character data; stored as a whole before the next tag
    }
}

// Line and column of `where`, stepping by characters from the start of the text.
void locate(const char* text, const char* where, XmlParseResult& result)
{
    int line = 1;
    int column = 1;
    for (const char* p = text; p < where && *p != '\0';) {
        if (*p == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
        const char* next = xmlchars::nextChar(p);
        p = next == p ? p + 1 : next;
    }
    result.line = line;
    result.column = column;
}

}  // namespace

XmlElement parseXmlText(const char* text, const char* rootName, XmlParseResult* result)
{
    XmlParseResult local;
    XmlParseResult& r = result ? *result : local;
    r = XmlParseResult{};
    if (text == nullptr) {
        r.code = XmlErrorNoElementsFound;
        return XmlElement();
    }
    const std::size_t length = std::strlen(text);
    if (length >= std::numeric_limits<std::uint32_t>::max()) {
        r.code = XmlErrorNoElementsFound;  // beyond the 32-bit lengths of stored items
        return XmlElement();
    }
    // Room for the copy and for the bodies and arrays, which take up to about twice the text in
    // markup-dense documents (and a few hundred bytes in small ones); more chunks follow when
    // that is not enough.
    XmlArena* arena = XmlArena::create(length + 1 + sizeof(XmlElementBody) + length * 2 + 1024);
    auto* copy = static_cast<char*>(arena->allocate(length + 1));
    auto* topBody = new (arena->allocate(sizeof(XmlElementBody))) XmlElementBody;
    topBody->arena = arena;
    XmlElement top = XmlTreeBuilder::handleOn(topBody);
    Parser parser(text, length, copy, arena, xmlOptions());
    parser.run(topBody);

    XmlElement found = top;
    if (topBody->children().size == 1 && topBody->texts().empty() && topBody->clears().empty() &&
        topBody->attributes().empty())
        found = top.child(0);
    top = XmlElement();  // a replaced top element goes now; its child loses its parent

    const int code = parser.code();
    if (code != XmlNoError && code != XmlWarningUnmatchedEndTag)
        found = XmlElement();
    else if (rootName != nullptr && rootName[0] != '\0' &&
             (found.name() == nullptr || !xmlchars::equalNoCase(found.name(), rootName))) {
        XmlElement searched = found;
        XmlElement match;
        for (int i = 0; i < searched.childCount();) {
            XmlElement c = searched.child(i);
            if (c.name() != nullptr && xmlchars::equalNoCase(c.name(), rootName)) {
                match = c;
                break;
            }
            if (c.isDeclaration()) {
                searched = c;
                i = 0;
            } else {
                ++i;
            }
        }
        if (match.isEmpty()) {
            r.code = XmlErrorFirstTagNotFound;
            return XmlElement();
        }
        found = match;
    }
    r.code = code;
    if (code != XmlNoError)
        locate(text, parser.codePosition(), r);
    return found;
}
