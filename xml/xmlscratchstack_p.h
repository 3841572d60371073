#pragma once
// The parser's scratch stacks. Internal to the reader.

#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>
#include <utility>

namespace xml {

// A stack of plain items: grows by doubling, and truncating it touches no item.
template <typename T>
class ScratchStack {
    static_assert(std::is_trivially_copyable_v<T>, "items are moved as bytes");

public:
    ScratchStack() = default;
    // Moving hands the storage over and leaves an empty stack behind.
    ScratchStack(ScratchStack&& other) noexcept { *this = std::move(other); }
    ScratchStack& operator=(ScratchStack&& other) noexcept
    {
        items_ = std::move(other.items_);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
        return *this;
    }

    std::size_t size() const { return size_; }
    const T* data() const { return items_.get(); }
    // A slot at the top, to be filled in place.
    T& push()
    {
        if (size_ == capacity_)
            grow();
        return items_[size_++];
    }
    void push(const T& item) { push() = item; }
    bool empty() const { return size_ == 0; }
    T& back() { return items_[size_ - 1]; }
    void pop() { --size_; }
    void truncate(std::size_t size) { size_ = size; }
    // Empties the stack; gives its storage back when it grew large.
    void reset(std::size_t kept)
    {
        size_ = 0;
        if (capacity_ > kept) {
            items_.reset();
            capacity_ = 0;
        }
    }

private:
    [[gnu::noinline]] void grow()
    {
        const std::size_t capacity = capacity_ == 0 ? 64 : capacity_ * 2;
        std::unique_ptr<T[]> grown(new T[capacity]);
        if (size_ > 0)
            std::memcpy(grown.get(), items_.get(), size_ * sizeof(T));
        items_ = std::move(grown);
        capacity_ = capacity;
    }

    std::unique_ptr<T[]> items_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace xml
