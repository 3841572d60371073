#include "xml/xmlarena_p.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace xml {

namespace {

constexpr std::size_t minimumChunk = 1024;

std::size_t roundUp(std::size_t bytes) { return (bytes + XmlArena::alignment - 1) & ~(XmlArena::alignment - 1); }

}  // namespace

XmlArena* XmlArena::create(std::size_t firstBytes)
{
    // The arena sits at the start of its first chunk: a small document costs one allocation.
    const std::size_t head = roundUp(sizeof(XmlArena));
    firstBytes = roundUp(firstBytes);
    auto* memory = static_cast<char*>(::operator new(head + firstBytes));
    auto* arena = new (memory) XmlArena;
    arena->cursor_ = memory + head;
    arena->limit_ = arena->cursor_ + firstBytes;
    arena->chunkBytes_ = firstBytes;
    return arena;
}

void XmlArena::addChunk(std::size_t bytes)
{
    // Each chunk at least a quarter of what came before: few chunks for a large document, at
    // most a fifth of the storage left unused.
    const std::size_t size = std::max({bytes, minimumChunk, chunkBytes_ / 4});
    const std::size_t head = roundUp(sizeof(Chunk));
    auto* memory = static_cast<char*>(::operator new(head + size));
    chunks_ = new (memory) Chunk{chunks_};
    cursor_ = memory + head;
    limit_ = cursor_ + size;
    chunkBytes_ += size;
}

void* XmlArena::allocateOwned(std::size_t bytes)
{
    auto* memory = static_cast<char*>(::operator new(roundUp(sizeof(OwnedBlock)) + bytes));
    auto* block = new (memory) OwnedBlock{&owned_, owned_.next};
    owned_.next->previous = block;
    owned_.next = block;
    return memory + roundUp(sizeof(OwnedBlock));
}

void XmlArena::freeOwned(void* memory)
{
    if (memory == nullptr)
        return;
    auto* block = reinterpret_cast<OwnedBlock*>(static_cast<char*>(memory) - roundUp(sizeof(OwnedBlock)));
    block->previous->next = block->next;
    block->next->previous = block->previous;
    ::operator delete(block);
}

char* XmlArena::copyOwned(const char* text, std::size_t length)
{
    auto* copy = static_cast<char*>(allocateOwned(length + 1));
    if (length > 0)
        std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

void XmlArena::destroy(XmlArena* arena)
{
    for (OwnedBlock* block = arena->owned_.next; block != &arena->owned_;) {
        OwnedBlock* next = block->next;
        ::operator delete(block);
        block = next;
    }
    for (Chunk* chunk = arena->chunks_; chunk != nullptr;) {
        Chunk* next = chunk->next;
        ::operator delete(chunk);
        chunk = next;
    }
    arena->~XmlArena();
    ::operator delete(arena);
}

}  // namespace xml
