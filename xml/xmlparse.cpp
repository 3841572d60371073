// The element parser: one pass over the text, an explicit stack of open elements (so nesting
// depth is bounded by memory, not by the call stack), names and texts copied only when stored.

#include "xml/xmlchars.h"
#include "xml/xmlelementbody.h"
#include "xml/xmlentities.h"
#include "xml/xmlparser.h"
#include "xml/xmltokenizer.h"

#include <cstring>
#include <vector>

using xmltokenizer::Token;
using xmltokenizer::TokenKind;

// Builds trees from the parser; the only place besides the element itself that touches handles'
// bodies.
class XmlTreeBuilder {
public:
    static XmlElement adopt(XmlElementBody* body) { return XmlElement(body); }
    static XmlElementBody* bodyOf(const XmlElement& e) { return e.body_; }
};

namespace {

constexpr int parseGrowthStep = 50;

enum class AttributeStep { ExpectName, HoldingName, ExpectValue };

struct Frame {
    XmlElementBody* element;
    bool content;  // reading content (else the start tag's attributes)
    AttributeStep step;
    const char* held;  // the held attribute name
    std::size_t heldLength;
};

class Parser {
public:
    Parser(const char* text, bool dropWhitespace) : text_(text), pos_(text), pendingText_(text), drop_(dropWhitespace) {}

    // Parses everything into `top`; returns the code (0, 1 or an error).
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
    bool contentToken(Frame& f, const Token& t);
    bool endTagMatches(const XmlElementBody* element, const char* endName) const;
    // Pops the ended element and lets the open ones deal with an end tag left pending.
    bool closeElement();
    void storeHeldAttribute(Frame& f, bool closing);
    void trimAll();

    const char* text_;
    const char* pos_;
    const char* pendingText_;   // start of character data not yet stored, or null
    const char* pendingEndTag_ = nullptr;  // name of an end tag for an outer element
    int code_ = XmlNoError;
    const char* codePosition_ = nullptr;
    bool drop_;
    std::vector<Frame> stack_;
};

void Parser::run(XmlElementBody* top)
{
    stack_.reserve(64);
    stack_.push_back(Frame{top, true, AttributeStep::ExpectName, nullptr, 0});
    while (!stack_.empty()) {
        Frame& f = stack_.back();
        const Token t = xmltokenizer::next(pos_);
        if (t.kind == TokenKind::End) {
            // The text ends inside this element: every open element fails with it.
            if (f.element->parent != nullptr && !f.element->declaration)
                warnUnmatched(pos_);
            break;
        }
        const bool goOn = f.content ? contentToken(f, t) : startTagToken(f, t);
        if (!goOn)
            break;
    }
    trimAll();
}

void Parser::trimAll()
{
    for (Frame& f : stack_)
        f.element->trim();
    stack_.clear();
}

bool Parser::storePendingText(const char* upTo)
{
    const char* start = pendingText_;
    pendingText_ = nullptr;
    if (start == nullptr || upTo <= start)
        return true;
    const char* end = upTo;
    if (drop_) {
        while (start < end && xmlchars::isSpace(*start))
            ++start;
        while (end > start && xmlchars::isSpace(end[-1]))
            --end;
    }
    if (start == end)
        return true;
    std::string decoded;
    if (!xmlentities::decode(start, static_cast<std::size_t>(end - start), decoded)) {
        fail(XmlErrorUnknownCharacterEntity);
        return false;
    }
    stack_.back().element->appendText(std::move(decoded), parseGrowthStep);
    return true;
}

void Parser::storeHeldAttribute(Frame& f, bool closing)
{
    std::size_t length = f.heldLength;
    if (closing && f.element->declaration && length > 0 && f.held[length - 1] == '?')
        --length;
    if (length > 0)
        f.element->appendAttribute(std::string(f.held, length), std::string(), false, parseGrowthStep);
    f.step = AttributeStep::ExpectName;
}

bool Parser::startTagToken(Frame& f, const Token& t)
{
    if (f.step == AttributeStep::ExpectValue) {
        if (t.kind != TokenKind::Text && t.kind != TokenKind::Quoted) {
            fail(XmlErrorUnexpectedToken);
            return false;
        }
        const char* value = t.start;
        std::size_t length = t.length;
        if (f.element->declaration && length > 0 && value[length - 1] == '?')
            --length;
        if (t.kind == TokenKind::Quoted && length >= 2 && value[length - 1] == value[0]) {
            ++value;
            length -= 2;
        }
        std::string decoded;
        if (!xmlentities::decode(value, length, decoded)) {
            fail(XmlErrorUnknownCharacterEntity);
            return false;
        }
        if (f.heldLength > 0)
            f.element->appendAttribute(std::string(f.held, f.heldLength), std::move(decoded), true, parseGrowthStep);
        f.step = AttributeStep::ExpectName;
        return true;
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
        f.heldLength = t.length;
        f.step = AttributeStep::HoldingName;
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

bool Parser::endTagMatches(const XmlElementBody* element, const char* endName) const
{
    if (!element->hasName)
        return false;
    const std::size_t n = element->name.size();
    if (!xmlchars::equalNoCase(element->name.c_str(), endName, n))
        return false;
    const char after = endName[n];
    return xmlchars::isSpace(after) || after == '/' || after == '<' || after == '=' || after == '>';
}

bool Parser::closeElement()
{
    stack_.back().element->trim();
    stack_.pop_back();
    // An end tag that belongs further out closes every element on its way.
    while (pendingEndTag_ != nullptr && !stack_.empty()) {
        XmlElementBody* open = stack_.back().element;
        if (!open->hasName) {
            fail(XmlErrorUnmatchedEndTag);
            return false;
        }
        if (endTagMatches(open, pendingEndTag_))
            pendingEndTag_ = nullptr;
        open->trim();
        stack_.pop_back();
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
        XmlElementBody* child = f.element->appendChild(std::string(name.start, name.length),
                                                       t.kind == TokenKind::DeclarationStart, parseGrowthStep);
        // `f` is invalid once the stack grows.
        stack_.push_back(Frame{child, false, AttributeStep::ExpectName, nullptr, 0});
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
        if (!endTagMatches(f.element, name.start)) {
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
        std::size_t closingLength = std::strlen(entry.closing);
        if (t.marker == XmlClearMarker::Doctype) {
            int depth = 0;  // "<" opened inside the declaration (internal subset)
            for (const char* p = pos_; *p != '\0'; ++p) {
                if (*p == '<') {
                    ++depth;
                } else if (*p == '>') {
                    if (depth == 0) {
                        closing = p;
                        break;
                    }
                    --depth;
                }
            }
        } else {
            closing = std::strstr(pos_, entry.closing);
        }
        if (closing == nullptr) {
            fail(XmlErrorUnmatchedClearTagEnd);
            return false;
        }
        f.element->appendClear(std::string(pos_, closing), t.marker, parseGrowthStep);
        pos_ = closing + closingLength;
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
    XmlElement top = XmlTreeBuilder::adopt(new XmlElementBody);
    Parser parser(text, xmlOptions().dropWhitespace);
    parser.run(XmlTreeBuilder::bodyOf(top));

    XmlElement found = top;
    const XmlElementBody* topBody = XmlTreeBuilder::bodyOf(top);
    if (topBody->children.size() == 1 && topBody->texts.empty() && topBody->clears.empty() &&
        topBody->attributes.empty())
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
