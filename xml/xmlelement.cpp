#include "xml/xmlelement.h"
#include "xml/xmlchars.h"
#include "xml/xmlelementbody.h"

#include <utility>

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

void XmlElementBody::release(XmlElementBody* body)
{
    if (body == nullptr || --body->referenceCount > 0)
        return;
    if (body->children().empty() && body->parent == nullptr) {
        delete body;
        return;
    }
    std::vector<XmlElementBody*> dying{body};
    while (!dying.empty()) {
        XmlElementBody* current = dying.back();
        dying.pop_back();
        if (XmlElementBody* parentBody = current->parent) {
            // Only reachable if a count went wrong elsewhere; keep the parent's lists sound.
            XmlContentLists lists = parentBody->content.take();
            for (std::size_t i = 0; i < lists.children.size(); ++i) {
                if (lists.children[i].body_ == current) {
                    xmlorder::erase(lists.order, XmlContentChild, static_cast<int>(i));
                    lists.children[i].body_ = nullptr;
                    lists.children.erase(lists.children.begin() + static_cast<std::ptrdiff_t>(i));
                    break;
                }
            }
            parentBody->content.assign(std::move(lists));
        }
        for (XmlElement& childHandle : current->children()) {
            XmlElementBody* childBody = std::exchange(childHandle.body_, nullptr);
            childBody->parent = nullptr;
            if (--childBody->referenceCount == 0)
                dying.push_back(childBody);
        }
        delete current;
    }
}

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
        ++body_->referenceCount;
}

XmlElement::XmlElement(XmlElement&& other) noexcept : body_(std::exchange(other.body_, nullptr)) {}

XmlElement& XmlElement::operator=(const XmlElement& other) noexcept
{
    if (other.body_ != nullptr)
        ++other.body_->referenceCount;
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
    auto* body = new XmlElementBody;
    if (name != nullptr) {
        body->name = name;
        body->hasName = true;
    }
    body->declaration = declaration;
    return XmlElement(body);
}

const char* XmlElement::name() const { return body_ != nullptr && body_->hasName ? body_->name.c_str() : nullptr; }

bool XmlElement::isDeclaration() const { return body_ != nullptr && body_->declaration; }

XmlElement XmlElement::parent() const
{
    if (body_ == nullptr || body_->parent == nullptr)
        return XmlElement();
    ++body_->parent->referenceCount;
    return XmlElement(body_->parent);
}

int XmlElement::childCount() const { return body_ ? static_cast<int>(body_->children().size) : 0; }

int XmlElement::childCount(const char* name) const
{
    if (body_ == nullptr || name == nullptr)
        return 0;
    int count = 0;
    for (const XmlElement& c : body_->children()) {
        if (c.body_->hasName && xmlchars::equalNoCase(c.body_->name.c_str(), name))
            ++count;
    }
    return count;
}

XmlElement XmlElement::child(int index) const
{
    if (body_ == nullptr || index < 0 || index >= childCount())
        return XmlElement();
    return body_->children()[static_cast<std::size_t>(index)];
}

XmlElement XmlElement::child(const char* name, int* position) const
{
    if (body_ == nullptr || name == nullptr)
        return XmlElement();
    const int count = childCount();
    for (int i = position ? *position : 0; i < count; ++i) {
        if (i < 0)
            continue;
        const XmlElement& c = body_->children()[static_cast<std::size_t>(i)];
        if (c.body_->hasName && xmlchars::equalNoCase(c.body_->name.c_str(), name)) {
            if (position != nullptr)
                *position = i + 1;
            return c;
        }
    }
    return XmlElement();
}

int XmlElement::textCount() const { return body_ ? static_cast<int>(body_->texts().size) : 0; }

const char* XmlElement::text(int index) const
{
    const std::string* bytes = textBytes(index);
    return bytes ? bytes->c_str() : nullptr;
}

const std::string* XmlElement::textBytes(int index) const
{
    if (body_ == nullptr || index < 0 || index >= textCount())
        return nullptr;
    return &body_->texts()[static_cast<std::size_t>(index)];
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
        if (xmlchars::equalNoCase(a.name_.c_str(), name)) {
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
        if (xmlchars::equalNoCase(a.name_.c_str(), name))
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

XmlElement XmlElement::addChild(const char* name, bool declaration, int position)
{
    if (body_ == nullptr)
        return XmlElement();
    XmlElement made = create(name, declaration);
    made.body_->parent = body_;
    XmlContentLists lists = body_->content.take();
    const int index = xmlorder::insert(lists.order, XmlContentChild, position);
    lists.children.insert(lists.children.begin() + index, made);
    body_->content.assign(std::move(lists));
    return made;
}

const XmlAttribute* XmlElement::addAttribute(const char* name, const char* value, int position)
{
    if (body_ == nullptr || name == nullptr)
        return nullptr;
    XmlContentLists lists = body_->content.take();
    const int size = static_cast<int>(lists.attributes.size());
    if (position < 0 || position > size)
        position = size;
    lists.attributes.insert(lists.attributes.begin() + position, XmlAttribute(name, value ? value : "", value != nullptr));
    body_->content.assign(std::move(lists));
    return attributeAt(position);
}

const char* XmlElement::addText(const char* text, int position)
{
    if (body_ == nullptr || text == nullptr)
        return nullptr;
    XmlContentLists lists = body_->content.take();
    const int index = xmlorder::insert(lists.order, XmlContentText, position);
    lists.texts.insert(lists.texts.begin() + index, std::string(text));
    body_->content.assign(std::move(lists));
    return this->text(index);
}

const XmlClearSection* XmlElement::addClear(const char* content, XmlClearMarker marker, int position)
{
    if (body_ == nullptr || content == nullptr)
        return nullptr;
    XmlContentLists lists = body_->content.take();
    const int index = xmlorder::insert(lists.order, XmlContentClear, position);
    lists.clears.insert(lists.clears.begin() + index, XmlClearSection(content, marker));
    body_->content.assign(std::move(lists));
    return clearAt(index);
}

bool XmlElement::updateName(const char* name)
{
    if (body_ == nullptr)
        return false;
    body_->hasName = name != nullptr;
    body_->name = name ? name : "";
    return true;
}

const XmlAttribute* XmlElement::updateAttribute(int index, const char* value, const char* newName)
{
    if (body_ == nullptr || index < 0 || index >= attributeCount())
        return nullptr;
    XmlAttribute& a = body_->attributes()[static_cast<std::size_t>(index)];
    a.value_ = value ? value : "";
    a.hasValue_ = value != nullptr;
    if (newName != nullptr)
        a.name_ = newName;
    return &a;
}

const XmlAttribute* XmlElement::updateAttribute(const char* name, const char* value)
{
    if (body_ == nullptr || name == nullptr)
        return nullptr;
    for (int i = 0; i < attributeCount(); ++i) {
        if (xmlchars::equalNoCase(body_->attributes()[static_cast<std::size_t>(i)].name_.c_str(), name))
            return updateAttribute(i, value);
    }
    return addAttribute(name, value);
}

const char* XmlElement::updateText(int index, const char* text)
{
    if (body_ == nullptr || text == nullptr || index < 0 || index >= textCount())
        return nullptr;
    std::string& stored = body_->texts()[static_cast<std::size_t>(index)];
    stored = text;
    return stored.c_str();
}

const XmlClearSection* XmlElement::updateClear(int index, const char* content)
{
    if (body_ == nullptr || content == nullptr || index < 0 || index >= clearCount())
        return nullptr;
    XmlClearSection& c = body_->clears()[static_cast<std::size_t>(index)];
    c.content_ = content;
    return &c;
}

bool XmlElement::removeChild(int index)
{
    if (body_ == nullptr || index < 0 || index >= childCount())
        return false;
    XmlContentLists lists = body_->content.take();
    xmlorder::erase(lists.order, XmlContentChild, index);
    XmlElement removed = std::move(lists.children[static_cast<std::size_t>(index)]);
    lists.children.erase(lists.children.begin() + index);
    body_->content.assign(std::move(lists));
    removed.body_->parent = nullptr;
    return true;  // `removed` drops the parent's reference on leaving
}

bool XmlElement::removeAttribute(int index)
{
    if (body_ == nullptr || index < 0 || index >= attributeCount())
        return false;
    XmlContentLists lists = body_->content.take();
    lists.attributes.erase(lists.attributes.begin() + index);
    body_->content.assign(std::move(lists));
    return true;
}

bool XmlElement::removeText(int index)
{
    if (body_ == nullptr || index < 0 || index >= textCount())
        return false;
    XmlContentLists lists = body_->content.take();
    xmlorder::erase(lists.order, XmlContentText, index);
    lists.texts.erase(lists.texts.begin() + index);
    body_->content.assign(std::move(lists));
    return true;
}

bool XmlElement::removeClear(int index)
{
    if (body_ == nullptr || index < 0 || index >= clearCount())
        return false;
    XmlContentLists lists = body_->content.take();
    xmlorder::erase(lists.order, XmlContentClear, index);
    lists.clears.erase(lists.clears.begin() + index);
    body_->content.assign(std::move(lists));
    return true;
}
