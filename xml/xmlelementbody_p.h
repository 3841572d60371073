#pragma once
// The body behind XmlElement handles. Internal to the reader.
//
// Every body lives in its document's arena. A parsed body and its five arrays are one piece of
// the arena; bodies, names, arrays and texts made by editing are owned blocks of the arena,
// freed when they are replaced or their subtree is removed. Handles count per body (`handles`)
// and each body with handles holds one reference on the arena, so the document goes with the
// last handle into it. A body with no handles is alive while an ancestor has some: a kept
// sub-element whose ancestors all went has no parent any more (see live()).

#include "xml/xmlarena_p.h"
#include "xml/xmlelement.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace xml {

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

struct XmlTextItem {
    const char* data;  // NUL-terminated; may hold zero bytes before `length`
    std::uint32_t length;
    bool owned;  // a block of its own (made by editing)

    std::string_view bytes() const { return {data, length}; }
};

// The arrays of one element as growable lists, for editing. The items are plain views; the
// blocks they own move with them.
struct XmlContentLists {
    std::vector<XmlElementBody*> children;
    std::vector<XmlAttribute> attributes;
    std::vector<XmlTextItem> texts;
    std::vector<XmlClearSection> clears;
    std::vector<std::int32_t> order;  // index * 4 + XmlContentKind, one per child, text and clear
};

}  // namespace xml

struct XmlElementBody {
    std::atomic<std::int32_t> handles{0};  // XmlElement handles on this body
    bool hasName = false;                  // false for the top element of a parse
    bool declaration = false;
    bool nameOwned = false;    // `name` is an owned block
    bool arraysOwned = false;  // `arrays` is an owned block (else a piece of the arena or none)
    bool bodyOwned = false;    // the body itself is an owned block (made by addChild)
    xml::XmlArena* arena = nullptr;
    XmlElementBody* parent = nullptr;  // the element whose children list holds this one
    const char* name = "";             // NUL-terminated, as written
    unsigned char* arrays = nullptr;   // children, attributes, texts, clears, then order
    std::uint32_t counts[4] = {0, 0, 0, 0};  // children, attributes, texts, clears

    static std::size_t arrayBytes(std::size_t childCount, std::size_t attributeCount, std::size_t textCount,
                                  std::size_t clearCount)
    {
        return childCount * sizeof(XmlElementBody*) + attributeCount * sizeof(XmlAttribute) +
               textCount * sizeof(xml::XmlTextItem) + clearCount * sizeof(XmlClearSection) +
               (childCount + textCount + clearCount) * sizeof(std::int32_t);
    }

    xml::XmlSpan<XmlElementBody*> children() const { return {at<XmlElementBody*>(0), counts[0]}; }
    xml::XmlSpan<XmlAttribute> attributes() const { return {at<XmlAttribute>(attributeOffset()), counts[1]}; }
    xml::XmlSpan<xml::XmlTextItem> texts() const { return {at<xml::XmlTextItem>(textOffset()), counts[2]}; }
    xml::XmlSpan<XmlClearSection> clears() const { return {at<XmlClearSection>(clearOffset()), counts[3]}; }
    xml::XmlSpan<std::int32_t> order() const
    {
        return {at<std::int32_t>(orderOffset()), std::size_t{counts[0]} + counts[2] + counts[3]};
    }

    // Points the arrays at `storage` (arrayBytes() of these counts) and fills them.
    void setArrays(unsigned char* storage, XmlElementBody* const* childItems, std::size_t childCount,
                   const XmlAttribute* attributeItems, std::size_t attributeCount, const xml::XmlTextItem* textItems,
                   std::size_t textCount, const XmlClearSection* clearItems, std::size_t clearCount,
                   const std::int32_t* orderItems);

    // The same for an element without children and clear sections and with at most one text
    // (`text`, null for none), the most common kind, without the general copies.
    void setLeafArrays(unsigned char* storage, const XmlAttribute* attributeItems, std::size_t attributeCount,
                       const xml::XmlTextItem* text);

    // Editing: the items as lists, and the lists back into a new owned array block.
    xml::XmlContentLists takeLists() const;
    void assignLists(const xml::XmlContentLists& lists);

    // Whether a handle can still reach this body: it, or an element it hangs under, has handles.
    bool live() const;

    // Handle counting. The first handle on a body takes a reference on the arena, the last gives
    // it back.
    static void acquire(XmlElementBody* body)
    {
        if (body->handles.fetch_add(1, std::memory_order_relaxed) == 0)
            body->arena->retain();
    }
    static void release(XmlElementBody* body)
    {
        if (body != nullptr && body->handles.fetch_sub(1, std::memory_order_acq_rel) == 1)
            body->arena->release();
    }

    // Frees the owned blocks of `body` and everything under it when no handle is on any of them:
    // a removed subtree nobody can reach any more. (A removed subtree still held keeps its blocks
    // until the document goes: freeing them on a later release would race with readers.)
    static void reclaimIfUnreachable(XmlElementBody* body);

    // Frees the blocks an item owns (none for parsed items).
    static void freeItem(xml::XmlArena& arena, const XmlAttribute& a);
    static void freeItem(xml::XmlArena& arena, const xml::XmlTextItem& t);
    static void freeItem(xml::XmlArena& arena, const XmlClearSection& c);

private:
    template <typename T>
    T* at(std::size_t offset) const
    {
        return arrays ? reinterpret_cast<T*>(arrays + offset) : nullptr;
    }
    std::size_t attributeOffset() const { return counts[0] * sizeof(XmlElementBody*); }
    std::size_t textOffset() const { return attributeOffset() + counts[1] * sizeof(XmlAttribute); }
    std::size_t clearOffset() const { return textOffset() + counts[2] * sizeof(xml::XmlTextItem); }
    std::size_t orderOffset() const { return clearOffset() + counts[3] * sizeof(XmlClearSection); }
};

// Editing helpers on the document order list.
namespace xmlorder {
// Inserts an entry of `kind` at document position `position` (-1 or past the end: at the end)
// and returns the index the new item takes in its own array.
int insert(std::vector<std::int32_t>& order, XmlContentKind kind, int position);
// Removes the entry of item `index` of `kind` and renumbers those after it.
void erase(std::vector<std::int32_t>& order, XmlContentKind kind, int index);
}  // namespace xmlorder
