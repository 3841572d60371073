#include "xml/xmlelement.h"
#include "xml/xmlchars_p.h"
#include "xml/xmlelementbody_p.h"

#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

using namespace xml;

namespace {

const XmlClearMarkerEntry markerTable[] = {
    {"<![CDATA[", 9, "]]>"},
    {"<!DOCTYPE", 9, ">"},
    {"<PRE>", 5, "</PRE>"},
    {"<Script>", 8, "</Script>"},
    {"<!--", 4, "-->"},
};

}  // namespace

const XmlClearMarkerEntry& xmlClearMarkerEntry(XmlClearMarker marker)
{
    return markerTable[static_cast<int>(marker)];
}

// --- body -------------------------------------------------------------------------------------

bool XmlElementBody::live() const
{
    for (const XmlElementBody* b = this; b != nullptr; b = b->parent) {
        if (b->handles.load(std::memory_order_relaxed) > 0)
            return true;
    }
    return false;
}

void XmlElementBody::reclaimIfUnreachable(XmlElementBody* body)
{
    std::vector<XmlElementBody*> subtree{body};
    for (std::size_t i = 0; i < subtree.size(); ++i) {
        if (subtree[i]->handles.load(std::memory_order_relaxed) > 0)
            return;
        for (XmlElementBody* child : subtree[i]->children())
            subtree.push_back(child);
    }
    XmlArena& arena = *body->arena;
    for (XmlElementBody* b : subtree) {
        for (const XmlAttribute& a : b->attributes())
            freeItem(arena, a);
        for (const XmlTextItem& t : b->texts())
            freeItem(arena, t);
        for (const XmlClearSection& c : b->clears())
            freeItem(arena, c);
        if (b->nameOwned)
            arena.freeOwned(const_cast<char*>(b->name));
        if (b->arraysOwned)
            arena.freeOwned(b->arrays);
    }
    for (XmlElementBody* b : subtree) {
        if (b->bodyOwned) {
            b->~XmlElementBody();
            arena.freeOwned(b);
        }
    }
}

void XmlElementBody::freeItem(XmlArena& arena, const XmlAttribute& a)
{
    if (a.nameOwned_)
        arena.freeOwned(const_cast<char*>(a.name_));
    if (a.valueOwned_)
        arena.freeOwned(const_cast<char*>(a.value_));
}

void XmlElementBody::freeItem(XmlArena& arena, const XmlTextItem& t)
{
    if (t.owned)
        arena.freeOwned(const_cast<char*>(t.data));
}

void XmlElementBody::freeItem(XmlArena& arena, const XmlClearSection& c)
{
    if (c.owned_)
        arena.freeOwned(const_cast<char*>(c.content_));
}

namespace {

// Item lengths are 32-bit; longer texts are refused by editing (and by the parser).
bool lengthFits(std::size_t length) { return length < std::numeric_limits<std::uint32_t>::max(); }

}  // namespace

namespace xmlorder {

int insert(std::vector<std::int32_t>& order, XmlContentKind kind, int position)
{
    const int size = static_cast<int>(order.size());
    if (position < 0 || position > size)
        position = size;
    int index = 0;
    for (int i = 0; i < position; ++i) {
        if ((order[static_cast<std::size_t>(i)] & 3) == kind)
            ++index;
    }
    for (int i = position; i < size; ++i) {
        if ((order[static_cast<std::size_t>(i)] & 3) == kind)
            order[static_cast<std::size_t>(i)] += 4;
    }
    order.insert(order.begin() + position, index * 4 + kind);
    return index;
}

void erase(std::vector<std::int32_t>& order, XmlContentKind kind, int index)
{
    const std::int32_t entry = index * 4 + kind;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i] == entry) {
            order.erase(order.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    for (std::int32_t& e : order) {
        if ((e & 3) == kind && (e >> 2) > index)
            e -= 4;
    }
}

}  // namespace xmlorder

// --- handle -----------------------------------------------------------------------------------

XmlElement::XmlElement(const XmlElement& other) noexcept : body_(other.body_)
{
    if (body_ != nullptr)
        XmlElementBody::acquire(body_);
}

XmlElement::XmlElement(XmlElement&& other) noexcept : body_(std::exchange(other.body_, nullptr)) {}

XmlElement& XmlElement::operator=(const XmlElement& other) noexcept
{
    if (other.body_ != nullptr)
        XmlElementBody::acquire(other.body_);
    XmlElementBody::release(std::exchange(body_, other.body_));
    return *this;
}

XmlElement& XmlElement::operator=(XmlElement&& other) noexcept
{
    if (this != &other)
        XmlElementBody::release(std::exchange(body_, std::exchange(other.body_, nullptr)));
    return *this;
}

XmlElement::~XmlElement() { XmlElementBody::release(body_); }

const XmlElement& XmlElement::emptyElement()
{
    static const XmlElement empty;
    return empty;
}

XmlElement XmlElement::create(const char* name, bool declaration)
{
    const std::size_t nameLength = name ? std::strlen(name) : 0;
    if (!lengthFits(nameLength))
        return XmlElement();
    XmlArena* arena = XmlArena::create(sizeof(XmlElementBody) + nameLength + 1 + 256);
    auto* body = new (arena->allocate(sizeof(XmlElementBody))) XmlElementBody;
    body->arena = arena;
    if (name != nullptr) {
        body->name = arena->copyOwned(name, nameLength);
        body->nameOwned = true;
        body->hasName = true;
    }
    body->declaration = declaration;
    XmlElementBody::acquire(body);
    return XmlElement(body);
}

const char* XmlElement::name() const { return body_ != nullptr && body_->hasName ? body_->name : nullptr; }

bool XmlElement::isDeclaration() const { return body_ != nullptr && body_->declaration; }

XmlElement XmlElement::parent() const
{
    if (body_ == nullptr || body_->parent == nullptr || !body_->parent->live())
        return XmlElement();
    XmlElementBody::acquire(body_->parent);
    return XmlElement(body_->parent);
}

int XmlElement::childCount() const { return body_ ? static_cast<int>(body_->children().size) : 0; }

int XmlElement::childCount(const char* name) const
{
    if (body_ == nullptr || name == nullptr)
        return 0;
    int count = 0;
    for (const XmlElementBody* c : body_->children()) {
        if (c->hasName && xmlchars::equalNoCase(c->name, name))
            ++count;
    }
    return count;
}

XmlElement XmlElement::child(int index) const
{
    if (body_ == nullptr || index < 0 || index >= childCount())
        return XmlElement();
    XmlElementBody* c = body_->children()[static_cast<std::size_t>(index)];
    XmlElementBody::acquire(c);
    return XmlElement(c);
}

XmlElement XmlElement::child(const char* name, int* position) const
{
    if (body_ == nullptr || name == nullptr)
        return XmlElement();
    const int count = childCount();
    for (int i = position ? *position : 0; i < count; ++i) {
        if (i < 0)
            continue;
        XmlElementBody* c = body_->children()[static_cast<std::size_t>(i)];
        if (c->hasName && xmlchars::equalNoCase(c->name, name)) {
            if (position != nullptr)
                *position = i + 1;
            XmlElementBody::acquire(c);
            return XmlElement(c);
        }
    }
    return XmlElement();
}

int XmlElement::textCount() const { return body_ ? static_cast<int>(body_->texts().size) : 0; }

const char* XmlElement::text(int index) const
{
    if (body_ == nullptr || index < 0 || index >= textCount())
        return nullptr;
    return body_->texts()[static_cast<std::size_t>(index)].data;
}

std::string_view XmlElement::textBytes(int index) const
{
    if (body_ == nullptr || index < 0 || index >= textCount())
        return {};
    return body_->texts()[static_cast<std::size_t>(index)].bytes();
}

int XmlElement::attributeCount() const { return body_ ? static_cast<int>(body_->attributes().size) : 0; }

const XmlAttribute* XmlElement::attributeAt(int index) const
{
    if (body_ == nullptr || index < 0 || index >= attributeCount())
        return nullptr;
    return &body_->attributes()[static_cast<std::size_t>(index)];
}

const char* XmlElement::attribute(const char* name, int* position) const
{
    if (body_ == nullptr || name == nullptr)
        return nullptr;
    const int count = attributeCount();
    for (int i = position ? *position : 0; i < count; ++i) {
        if (i < 0)
            continue;
        const XmlAttribute& a = body_->attributes()[static_cast<std::size_t>(i)];
        if (xmlchars::equalNoCase(a.name_, name)) {
            if (position != nullptr)
                *position = i + 1;
            return a.value();
        }
    }
    return nullptr;
}

bool XmlElement::isAttributeSet(const char* name) const
{
    if (body_ == nullptr || name == nullptr)
        return false;
    for (const XmlAttribute& a : body_->attributes()) {
        if (xmlchars::equalNoCase(a.name_, name))
            return true;
    }
    return false;
}

int XmlElement::clearCount() const { return body_ ? static_cast<int>(body_->clears().size) : 0; }

const XmlClearSection* XmlElement::clearAt(int index) const
{
    if (body_ == nullptr || index < 0 || index >= clearCount())
        return nullptr;
    return &body_->clears()[static_cast<std::size_t>(index)];
}

int XmlElement::contentCount() const
{
    return body_ ? attributeCount() + static_cast<int>(body_->order().size) : 0;
}

XmlContent XmlElement::contentAt(int index) const
{
    XmlContent item;
    if (body_ == nullptr || index < 0 || index >= contentCount())
        return item;
    if (index < attributeCount()) {
        item.kind = XmlContentAttribute;
        item.attribute = attributeAt(index);
        return item;
    }
    const std::int32_t entry = body_->order()[static_cast<std::size_t>(index - attributeCount())];
    const int at = entry >> 2;
    item.kind = static_cast<XmlContentKind>(entry & 3);
    switch (item.kind) {
    case XmlContentChild: item.child = child(at); break;
    case XmlContentText: item.text = text(at); break;
    case XmlContentClear: item.clear = clearAt(at); break;
    default: item.kind = XmlContentNothing; break;
    }
    return item;
}

// --- editing ----------------------------------------------------------------------------------
// New and changed items are owned blocks of the document's arena; what they replace is freed if
// it was one too (parsed items stay in the arena until the document goes).

XmlElement XmlElement::addChild(const char* name, bool declaration, int position)
{
    const std::size_t nameLength = name ? std::strlen(name) : 0;
    if (body_ == nullptr || !lengthFits(nameLength))
        return XmlElement();
    XmlArena& arena = *body_->arena;
    auto* made = new (arena.allocateOwned(sizeof(XmlElementBody))) XmlElementBody;
    made->bodyOwned = true;
    made->arena = &arena;
    made->parent = body_;
    made->declaration = declaration;
    if (name != nullptr) {
        made->name = arena.copyOwned(name, nameLength);
        made->nameOwned = true;
        made->hasName = true;
    }
    XmlContentLists lists = body_->takeLists();
    const int index = xmlorder::insert(lists.order, XmlContentChild, position);
    lists.children.insert(lists.children.begin() + index, made);
    body_->assignLists(lists);
    XmlElementBody::acquire(made);
    return XmlElement(made);
}

const XmlAttribute* XmlElement::addAttribute(const char* name, const char* value, int position)
{
    const std::size_t nameLength = name ? std::strlen(name) : 0;
    const std::size_t valueLength = value ? std::strlen(value) : 0;
    if (body_ == nullptr || name == nullptr || !lengthFits(nameLength) || !lengthFits(valueLength))
        return nullptr;
    XmlAttribute made;
    made.name_ = body_->arena->copyOwned(name, nameLength);
    made.nameOwned_ = true;
    if (value != nullptr) {
        made.value_ = body_->arena->copyOwned(value, valueLength);
        made.valueLength_ = static_cast<std::uint32_t>(valueLength);
        made.valueOwned_ = true;
        made.hasValue_ = true;
    }
    XmlContentLists lists = body_->takeLists();
    const int size = static_cast<int>(lists.attributes.size());
    if (position < 0 || position > size)
        position = size;
    lists.attributes.insert(lists.attributes.begin() + position, made);
    body_->assignLists(lists);
    return attributeAt(position);
}

const char* XmlElement::addText(const char* text, int position)
{
    const std::size_t length = text ? std::strlen(text) : 0;
    if (body_ == nullptr || text == nullptr || !lengthFits(length))
        return nullptr;
    const XmlTextItem made{body_->arena->copyOwned(text, length), static_cast<std::uint32_t>(length), true};
    XmlContentLists lists = body_->takeLists();
    const int index = xmlorder::insert(lists.order, XmlContentText, position);
    lists.texts.insert(lists.texts.begin() + index, made);
    body_->assignLists(lists);
    return this->text(index);
}

const XmlClearSection* XmlElement::addClear(const char* content, XmlClearMarker marker, int position)
{
    const std::size_t length = content ? std::strlen(content) : 0;
    if (body_ == nullptr || content == nullptr || !lengthFits(length))
        return nullptr;
    XmlClearSection made;
    made.content_ = body_->arena->copyOwned(content, length);
    made.length_ = static_cast<std::uint32_t>(length);
    made.marker_ = static_cast<std::uint8_t>(marker);
    made.owned_ = true;
    XmlContentLists lists = body_->takeLists();
    const int index = xmlorder::insert(lists.order, XmlContentClear, position);
    lists.clears.insert(lists.clears.begin() + index, made);
    body_->assignLists(lists);
    return clearAt(index);
}

bool XmlElement::updateName(const char* name)
{
    const std::size_t length = name ? std::strlen(name) : 0;
    if (body_ == nullptr || !lengthFits(length))
        return false;
    XmlArena& arena = *body_->arena;
    const char* made = name ? arena.copyOwned(name, length) : "";
    if (body_->nameOwned)
        arena.freeOwned(const_cast<char*>(body_->name));
    body_->name = made;
    body_->nameOwned = name != nullptr;
    body_->hasName = name != nullptr;
    return true;
}

const XmlAttribute* XmlElement::updateAttribute(int index, const char* value, const char* newName)
{
    const std::size_t valueLength = value ? std::strlen(value) : 0;
    const std::size_t nameLength = newName ? std::strlen(newName) : 0;
    if (body_ == nullptr || index < 0 || index >= attributeCount() || !lengthFits(valueLength) ||
        !lengthFits(nameLength))
        return nullptr;
    XmlArena& arena = *body_->arena;
    XmlAttribute& a = body_->attributes()[static_cast<std::size_t>(index)];
    const char* madeValue = value ? arena.copyOwned(value, valueLength) : "";
    if (a.valueOwned_)
        arena.freeOwned(const_cast<char*>(a.value_));
    a.value_ = madeValue;
    a.valueLength_ = static_cast<std::uint32_t>(valueLength);
    a.valueOwned_ = value != nullptr;
    a.hasValue_ = value != nullptr;
    if (newName != nullptr) {
        const char* madeName = arena.copyOwned(newName, nameLength);
        if (a.nameOwned_)
            arena.freeOwned(const_cast<char*>(a.name_));
        a.name_ = madeName;
        a.nameOwned_ = true;
    }
    return &a;
}

const XmlAttribute* XmlElement::updateAttribute(const char* name, const char* value)
{
    if (body_ == nullptr || name == nullptr)
        return nullptr;
    for (int i = 0; i < attributeCount(); ++i) {
        if (xmlchars::equalNoCase(body_->attributes()[static_cast<std::size_t>(i)].name_, name))
            return updateAttribute(i, value);
    }
    return addAttribute(name, value);
}

const char* XmlElement::updateText(int index, const char* text)
{
    const std::size_t length = text ? std::strlen(text) : 0;
    if (body_ == nullptr || text == nullptr || index < 0 || index >= textCount() || !lengthFits(length))
        return nullptr;
    XmlTextItem& stored = body_->texts()[static_cast<std::size_t>(index)];
    const XmlTextItem made{body_->arena->copyOwned(text, length), static_cast<std::uint32_t>(length), true};
    XmlElementBody::freeItem(*body_->arena, stored);
    stored = made;
    return stored.data;
}

const XmlClearSection* XmlElement::updateClear(int index, const char* content)
{
    const std::size_t length = content ? std::strlen(content) : 0;
    if (body_ == nullptr || content == nullptr || index < 0 || index >= clearCount() || !lengthFits(length))
        return nullptr;
    XmlClearSection& c = body_->clears()[static_cast<std::size_t>(index)];
    const char* made = body_->arena->copyOwned(content, length);
    XmlElementBody::freeItem(*body_->arena, c);
    c.content_ = made;
    c.length_ = static_cast<std::uint32_t>(length);
    c.owned_ = true;
    return &c;
}

bool XmlElement::removeChild(int index)
{
    if (body_ == nullptr || index < 0 || index >= childCount())
        return false;
    XmlContentLists lists = body_->takeLists();
    xmlorder::erase(lists.order, XmlContentChild, index);
    XmlElementBody* removed = lists.children[static_cast<std::size_t>(index)];
    lists.children.erase(lists.children.begin() + index);
    body_->assignLists(lists);
    removed->parent = nullptr;
    XmlElementBody::reclaimIfUnreachable(removed);
    return true;
}

bool XmlElement::removeAttribute(int index)
{
    if (body_ == nullptr || index < 0 || index >= attributeCount())
        return false;
    XmlContentLists lists = body_->takeLists();
    XmlElementBody::freeItem(*body_->arena, lists.attributes[static_cast<std::size_t>(index)]);
    lists.attributes.erase(lists.attributes.begin() + index);
    body_->assignLists(lists);
    return true;
}

bool XmlElement::removeText(int index)
{
    if (body_ == nullptr || index < 0 || index >= textCount())
        return false;
    XmlContentLists lists = body_->takeLists();
    xmlorder::erase(lists.order, XmlContentText, index);
    XmlElementBody::freeItem(*body_->arena, lists.texts[static_cast<std::size_t>(index)]);
    lists.texts.erase(lists.texts.begin() + index);
    body_->assignLists(lists);
    return true;
}

bool XmlElement::removeClear(int index)
{
    if (body_ == nullptr || index < 0 || index >= clearCount())
        return false;
    XmlContentLists lists = body_->takeLists();
    xmlorder::erase(lists.order, XmlContentClear, index);
    XmlElementBody::freeItem(*body_->arena, lists.clears[static_cast<std::size_t>(index)]);
    lists.clears.erase(lists.clears.begin() + index);
    body_->assignLists(lists);
    return true;
}
