// The arrays of an element body: filling them, and the list form editing works on.

#include "xml/xmlelementbody_p.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

using namespace xml;

namespace {

static_assert(std::is_trivially_copyable_v<XmlAttribute> && std::is_trivially_copyable_v<XmlClearSection> &&
                  std::is_trivially_copyable_v<XmlTextItem>,
              "items are copied as bytes");
static_assert(sizeof(XmlAttribute) % alignof(void*) == 0 && sizeof(XmlTextItem) % alignof(void*) == 0 &&
                  sizeof(XmlClearSection) % alignof(void*) == 0 && alignof(XmlAttribute) <= alignof(void*) &&
                  alignof(XmlTextItem) <= alignof(void*) && alignof(XmlClearSection) <= alignof(void*),
              "the arrays follow each other without padding");
static_assert(sizeof(XmlElementBody) % alignof(void*) == 0, "arrays behind a body stay aligned");

template <typename T>
unsigned char* copyItems(unsigned char* target, const T* items, std::size_t count)
{
    // Most parsed elements have a handful of items: a call to memcpy would cost more.
    // Items the size of a multiple of a pointer go in steps of eight bytes.
    constexpr std::size_t step = sizeof(T) % sizeof(std::uint64_t) == 0 ? sizeof(std::uint64_t) : sizeof(std::int32_t);
    const std::size_t bytes = count * sizeof(T);
    if (bytes <= 128) {
        for (std::size_t i = 0; i < bytes; i += step)
            std::memcpy(target + i, reinterpret_cast<const unsigned char*>(items) + i, step);
    } else {
        std::memcpy(target, items, bytes);
    }
    return target + bytes;
}

}  // namespace

void XmlElementBody::setArrays(unsigned char* storage, XmlElementBody* const* childItems, std::size_t childCount,
                               const XmlAttribute* attributeItems, std::size_t attributeCount,
                               const XmlTextItem* textItems, std::size_t textCount,
                               const XmlClearSection* clearItems, std::size_t clearCount,
                               const std::int32_t* orderItems)
{
    arrays = storage;
    counts[0] = static_cast<std::uint32_t>(childCount);
    counts[1] = static_cast<std::uint32_t>(attributeCount);
    counts[2] = static_cast<std::uint32_t>(textCount);
    counts[3] = static_cast<std::uint32_t>(clearCount);
    if (storage == nullptr)
        return;
    unsigned char* p = copyItems(storage, childItems, childCount);
    p = copyItems(p, attributeItems, attributeCount);
    p = copyItems(p, textItems, textCount);
    p = copyItems(p, clearItems, clearCount);
    copyItems(p, orderItems, childCount + textCount + clearCount);
}

void XmlElementBody::setLeafArrays(unsigned char* storage, const XmlAttribute* attributeItems,
                                   std::size_t attributeCount, const XmlTextItem* text)
{
    arrays = storage;
    counts[0] = 0;
    counts[1] = static_cast<std::uint32_t>(attributeCount);
    counts[2] = text != nullptr ? 1 : 0;
    counts[3] = 0;
    if (storage == nullptr)
        return;
    unsigned char* p = copyItems(storage, attributeItems, attributeCount);
    if (text != nullptr) {
        std::memcpy(p, text, sizeof(XmlTextItem));
        const std::int32_t order = XmlContentText;  // the text, item 0
        std::memcpy(p + sizeof(XmlTextItem), &order, sizeof order);
    }
}

XmlContentLists XmlElementBody::takeLists() const
{
    XmlContentLists lists;
    lists.children.assign(children().begin(), children().end());
    lists.attributes.assign(attributes().begin(), attributes().end());
    lists.texts.assign(texts().begin(), texts().end());
    lists.clears.assign(clears().begin(), clears().end());
    lists.order.assign(order().begin(), order().end());
    return lists;
}

void XmlElementBody::assignLists(const XmlContentLists& lists)
{
    const std::size_t bytes = arrayBytes(lists.children.size(), lists.attributes.size(), lists.texts.size(),
                                         lists.clears.size());
    unsigned char* storage = bytes > 0 ? static_cast<unsigned char*>(arena->allocateOwned(bytes)) : nullptr;
    if (arraysOwned)
        arena->freeOwned(arrays);
    arraysOwned = storage != nullptr;
    setArrays(storage, lists.children.data(), lists.children.size(), lists.attributes.data(),
              lists.attributes.size(), lists.texts.data(), lists.texts.size(), lists.clears.data(),
              lists.clears.size(), lists.order.data());
}
