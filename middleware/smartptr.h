#pragma once
// Reference-counted handle with shared ownership; the object goes with its last handle. The count
// is thread-safe, the object itself is not made so.

#include "middleware/exceptions.h"

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace ORVA::Middleware {

template <class T>
class SmartPtr {
public:
    using element_type = T;

    SmartPtr() noexcept = default;
    SmartPtr(std::nullptr_t) noexcept {}  // NOLINT: an empty handle converts from nullptr
    // Takes ownership of `object`, which must come from `new` (or be null).
    explicit SmartPtr(T* object) : p_(object) {}
    explicit SmartPtr(std::shared_ptr<T> object) noexcept : p_(std::move(object)) {}
    // A handle to a derived object is a handle to its base.
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    SmartPtr(const SmartPtr<U>& other) noexcept : p_(other.shared())  // NOLINT: implicit upcast
    {
    }

    T* operator->() const
    {
        if (!p_)
            throw InvalidAccess("operator->() on null SmartPtr");
        return p_.get();
    }
    T& operator*() const
    {
        if (!p_)
            throw InvalidAccess("operator->() on null SmartPtr");
        return *p_;
    }

    T* get() const noexcept { return p_.get(); }
    bool isNull() const noexcept { return !p_; }
    explicit operator bool() const noexcept { return static_cast<bool>(p_); }
    void reset() noexcept { p_.reset(); }
    long useCount() const noexcept { return p_.use_count(); }
    const std::shared_ptr<T>& shared() const noexcept { return p_; }

private:
    std::shared_ptr<T> p_;
};

// Handles compare equal when they hold the same object.
template <class T, class U>
bool operator==(const SmartPtr<T>& a, const SmartPtr<U>& b) noexcept { return a.get() == b.get(); }
template <class T, class U>
bool operator!=(const SmartPtr<T>& a, const SmartPtr<U>& b) noexcept { return a.get() != b.get(); }

}  // namespace ORVA::Middleware
