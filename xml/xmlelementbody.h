#pragma once
// The shared body behind XmlElement handles. Internal to the reader.

#include "xml/xmlelement.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A view of one array of a body.
template <typename T>
struct XmlSpan {
    T* data = nullptr;
    std::size_t size = 0;

    T& operator[](std::size_t i) const { return data[i]; }
    T* begin() const { return data; }
    T* end() const { return data + size; }
    bool empty() const { return size == 0; }
};

// The arrays of one element as growable lists, for editing.
struct XmlContentLists {
    std::vector<XmlElement> children;
    std::vector<std::string> texts;
    std::vector<XmlClearSection> clears;
    std::vector<XmlAttribute> attributes;
    std::vector<std::int32_t> order;  // index * 4 + XmlContentKind, one per child, text and clear
};

// Frees a block of arrays only when it was allocated for them (not storage lent to them).
struct XmlBlockDeleter {
    bool owned = true;
    void operator()(unsigned char* block) const
    {
        if (owned)
            delete[] block;
    }
};

// The five arrays of one element, exactly sized, in one allocation: a parsed element costs one
// allocation for all its content instead of one per array. Edits rebuild it (they grow the
// arrays one entry at a time anyway).
class XmlContentArrays {
public:
    XmlContentArrays() = default;
    ~XmlContentArrays() { destroy(); }
    XmlContentArrays(const XmlContentArrays&) = delete;
    XmlContentArrays& operator=(const XmlContentArrays&) = delete;

    // Bytes the arrays of these counts take.
    static std::size_t bytesFor(std::size_t childCount, std::size_t textCount, std::size_t clearCount,
                                std::size_t attributeCount);

    // Replaces the content by the given items, moved from where they are. `order` holds
    // childCount + textCount + clearCount entries. With `storage` (bytesFor() bytes, owned by
    // someone else and outliving this object) the arrays live there; else they get their own.
    void assign(XmlElement* children, std::size_t childCount, std::string* texts, std::size_t textCount,
                XmlClearSection* clears, std::size_t clearCount, XmlAttribute* attributes,
                std::size_t attributeCount, const std::int32_t* order, unsigned char* storage = nullptr);
    void assign(XmlContentLists&& lists);
    // Moves every item out; the arrays are empty afterwards.
    XmlContentLists take();

    XmlSpan<XmlElement> children() const { return {at<XmlElement>(childOffset()), counts_[0]}; }
    XmlSpan<std::string> texts() const { return {at<std::string>(textOffset()), counts_[1]}; }
    XmlSpan<XmlClearSection> clears() const { return {at<XmlClearSection>(clearOffset()), counts_[2]}; }
    XmlSpan<XmlAttribute> attributes() const { return {at<XmlAttribute>(attributeOffset()), counts_[3]}; }
    XmlSpan<std::int32_t> order() const
    {
        return {at<std::int32_t>(orderOffset()), counts_[0] + counts_[1] + counts_[2]};
    }

private:
    template <typename T>
    T* at(std::size_t offset) const
    {
        return block_ ? reinterpret_cast<T*>(block_.get() + offset) : nullptr;
    }
    std::size_t childOffset() const { return 0; }
    std::size_t textOffset() const { return counts_[0] * sizeof(XmlElement); }
    std::size_t clearOffset() const { return textOffset() + counts_[1] * sizeof(std::string); }
    std::size_t attributeOffset() const { return clearOffset() + counts_[2] * sizeof(XmlClearSection); }
    std::size_t orderOffset() const { return attributeOffset() + counts_[3] * sizeof(XmlAttribute); }
    void destroy();

    std::unique_ptr<unsigned char[], XmlBlockDeleter> block_;  // aligned for every member type
    std::size_t counts_[4] = {0, 0, 0, 0};                   // children, texts, clears, attributes
};

struct XmlElementBody {
    XmlElementBody() = default;
    explicit XmlElementBody(std::string elementName) : name(std::move(elementName)), hasName(true) {}

    // A parsed element is allocated with room for its arrays behind it, so the body and all its
    // content take one allocation: `new (XmlElementBody::Room{bytes}) XmlElementBody(...)`, and
    // XmlElementBody::contentRoom(body) is where the arrays go.
    struct Room {
        std::size_t bytes;
    };
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void* operator new(std::size_t size, Room room) { return ::operator new(size + room.bytes); }
    static void operator delete(void* memory) { ::operator delete(memory); }
    static void operator delete(void* memory, Room) { ::operator delete(memory); }
    static unsigned char* contentRoom(XmlElementBody* body) { return reinterpret_cast<unsigned char*>(body + 1); }

    std::string name;        // as written
    bool hasName = false;    // false for the top element of a parse
    bool declaration = false;
    std::int32_t referenceCount = 1;   // handles, the parent's child entry included
    XmlElementBody* parent = nullptr;  // not owning; cleared when the parent goes
    XmlContentArrays content;          // children (each holds one reference), texts, clears, attributes, order

    XmlSpan<XmlElement> children() const { return content.children(); }
    XmlSpan<std::string> texts() const { return content.texts(); }
    XmlSpan<XmlClearSection> clears() const { return content.clears(); }
    XmlSpan<XmlAttribute> attributes() const { return content.attributes(); }
    XmlSpan<std::int32_t> order() const { return content.order(); }

    // Releases one reference; the last frees the body and, without recursion, every body that
    // only it held (a deep tree must not exhaust the stack).
    static void release(XmlElementBody* body);
};

// Editing helpers on the document order list.
namespace xmlorder {
// Inserts an entry of `kind` at document position `position` (-1 or past the end: at the end)
// and returns the index the new item takes in its own array.
int insert(std::vector<std::int32_t>& order, XmlContentKind kind, int position);
// Removes the entry of item `index` of `kind` and renumbers those after it.
void erase(std::vector<std::int32_t>& order, XmlContentKind kind, int index);
}  // namespace xmlorder
