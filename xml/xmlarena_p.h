#pragma once
// The storage of one document: the copy of its text and every element body and array the parse
// makes, carved from a few large chunks and freed together when the last handle into the
// document goes (a kept sub-element keeps all of it). Items that editing makes live in heap
// blocks of their own, listed here, freed when they are replaced or removed, and whatever is
// left of them with the document. Internal to the reader.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace xml {

class XmlArena {
public:
    XmlArena(const XmlArena&) = delete;
    XmlArena& operator=(const XmlArena&) = delete;

    // A new arena without references whose first chunk has room for `firstBytes`.
    static XmlArena* create(std::size_t firstBytes);

    // `bytes` from the chunks, aligned for pointers; lives as long as the arena.
    void* allocate(std::size_t bytes)
    {
        bytes = (bytes + alignment - 1) & ~(alignment - 1);
        if (static_cast<std::size_t>(limit_ - cursor_) < bytes)
            addChunk(bytes);
        void* memory = cursor_;
        cursor_ += bytes;
        return memory;
    }

    // A heap block of `bytes` (aligned for pointers) that freeOwned gives back at once; blocks
    // still held when the arena goes are freed with it. Editing only: one thread at a time.
    void* allocateOwned(std::size_t bytes);
    void freeOwned(void* memory);
    // A NUL-terminated owned copy of `length` bytes.
    char* copyOwned(const char* text, std::size_t length);

    // References are counted without a lock, so handles into one document may be copied and
    // released on different threads. The last release frees the arena.
    void retain() { references_.fetch_add(1, std::memory_order_relaxed); }
    void release()
    {
        if (references_.fetch_sub(1, std::memory_order_acq_rel) == 1)
            destroy(this);
    }

    static constexpr std::size_t alignment = alignof(void*);

private:
    struct Chunk {
        Chunk* next;
    };
    struct OwnedBlock {
        OwnedBlock* previous;
        OwnedBlock* next;
    };

    XmlArena() = default;
    ~XmlArena() = default;
    void addChunk(std::size_t bytes);
    static void destroy(XmlArena* arena);

    std::atomic<std::int32_t> references_{0};
    char* cursor_ = nullptr;
    char* limit_ = nullptr;
    Chunk* chunks_ = nullptr;         // chunks after the first, newest first
    std::size_t chunkBytes_ = 0;      // bytes handed out by all chunks so far
    OwnedBlock owned_{&owned_, &owned_};  // ring of owned blocks
};

}  // namespace xml
