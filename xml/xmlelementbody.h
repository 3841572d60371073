#pragma once
// The shared body behind XmlElement handles. Internal to the reader.

#include "xml/xmlelement.h"

#include <cstdint>
#include <string>
#include <vector>

struct XmlElementBody {
    XmlElementBody() = default;
    explicit XmlElementBody(std::string elementName) : name(std::move(elementName)), hasName(true) {}

    std::string name;        // as written
    bool hasName = false;    // false for the top element of a parse
    bool declaration = false;
    XmlElementBody* parent = nullptr;  // not owning; cleared when the parent goes
    std::vector<XmlElement> children;  // each holds one reference
    std::vector<std::string> texts;    // decoded, document order
    std::vector<XmlClearSection> clears;
    std::vector<XmlAttribute> attributes;
    std::vector<std::int32_t> order;   // index * 4 + XmlContentKind, children/texts/clears in document order
    std::int32_t referenceCount = 1;

    // Releases one reference; the last frees the body and, without recursion, every body that
    // only it held (a deep tree must not exhaust the stack).
    static void release(XmlElementBody* body);

    // Editing outside a parse: inserts an order entry of `kind` at document position `position`
    // (-1: the end) and returns the index the new item takes in its own array.
    int insertOrder(XmlContentKind kind, int position);
    // Removes the order entry of item `index` of `kind` and renumbers those after it.
    void eraseOrder(XmlContentKind kind, int index);
    void detachChild(int index);
};
