#include "xml/xmlelementbody.h"

#include <new>
#include <utility>

namespace {

template <typename T>
void moveInto(T* target, T* source, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        new (target + i) T(std::move(source[i]));
}

template <typename T>
void destroyAll(XmlSpan<T> span)
{
    for (T& item : span)
        item.~T();
}

}  // namespace

void XmlContentArrays::destroy()
{
    if (!block_)
        return;
    destroyAll(children());
    destroyAll(texts());
    destroyAll(clears());
    destroyAll(attributes());
    block_.reset();
    counts_[0] = counts_[1] = counts_[2] = counts_[3] = 0;
}

std::size_t XmlContentArrays::bytesFor(std::size_t childCount, std::size_t textCount, std::size_t clearCount,
                                       std::size_t attributeCount)
{
    return childCount * sizeof(XmlElement) + textCount * sizeof(std::string) + clearCount * sizeof(XmlClearSection) +
           attributeCount * sizeof(XmlAttribute) + (childCount + textCount + clearCount) * sizeof(std::int32_t);
}

void XmlContentArrays::assign(XmlElement* children, std::size_t childCount, std::string* texts, std::size_t textCount,
                              XmlClearSection* clears, std::size_t clearCount, XmlAttribute* attributes,
                              std::size_t attributeCount, const std::int32_t* order, unsigned char* storage)
{
    destroy();
    const std::size_t orderCount = childCount + textCount + clearCount;
    if (orderCount + attributeCount == 0)
        return;
    static_assert(alignof(XmlElement) <= alignof(std::max_align_t) && alignof(std::string) == alignof(XmlElement) &&
                      alignof(XmlClearSection) == alignof(XmlElement) && alignof(XmlAttribute) == alignof(XmlElement) &&
                      sizeof(std::string) % alignof(XmlElement) == 0 &&
                      sizeof(XmlClearSection) % alignof(XmlElement) == 0 &&
                      sizeof(XmlAttribute) % alignof(XmlElement) == 0,
                  "the arrays follow each other without padding");
    static_assert(sizeof(XmlElementBody) % alignof(XmlElement) == 0, "arrays behind a body stay aligned");
    if (storage != nullptr)
        block_ = std::unique_ptr<unsigned char[], XmlBlockDeleter>(storage, XmlBlockDeleter{false});
    else
        block_ = std::unique_ptr<unsigned char[], XmlBlockDeleter>(
            new unsigned char[bytesFor(childCount, textCount, clearCount, attributeCount)], XmlBlockDeleter{true});
    counts_[0] = childCount;
    counts_[1] = textCount;
    counts_[2] = clearCount;
    counts_[3] = attributeCount;
    moveInto(this->children().data, children, childCount);
    moveInto(this->texts().data, texts, textCount);
    moveInto(this->clears().data, clears, clearCount);
    moveInto(this->attributes().data, attributes, attributeCount);
    std::int32_t* orderTarget = this->order().data;
    for (std::size_t i = 0; i < orderCount; ++i)
        orderTarget[i] = order[i];
}

void XmlContentArrays::assign(XmlContentLists&& lists)
{
    assign(lists.children.data(), lists.children.size(), lists.texts.data(), lists.texts.size(), lists.clears.data(),
           lists.clears.size(), lists.attributes.data(), lists.attributes.size(), lists.order.data());
}

XmlContentLists XmlContentArrays::take()
{
    XmlContentLists lists;
    lists.children.reserve(counts_[0] + 1);
    for (XmlElement& e : children())
        lists.children.push_back(std::move(e));
    lists.texts.reserve(counts_[1] + 1);
    for (std::string& t : texts())
        lists.texts.push_back(std::move(t));
    lists.clears.reserve(counts_[2] + 1);
    for (XmlClearSection& c : clears())
        lists.clears.push_back(std::move(c));
    lists.attributes.reserve(counts_[3] + 1);
    for (XmlAttribute& a : attributes())
        lists.attributes.push_back(std::move(a));
    lists.order.reserve(order().size + 1);
    for (std::int32_t entry : order())
        lists.order.push_back(entry);
    destroy();
    return lists;
}
