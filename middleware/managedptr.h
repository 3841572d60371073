#pragma once
// Managed handle to a middleware-made object (proxy, servant, factory, execution, session). Shared
// ownership like SmartPtr; what the object holds ends with its last handle. Handles compare equal
// when they point to the same object: a session makes one proxy per remote object.

#include "middleware/exceptions.h"
#include "middleware/export.h"

#include <cstddef>
#include <memory>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace ORVA::Middleware {

namespace detail {
// Readable C++ name of a type, for failure texts ("ORVA::Platform::Proxy").
ORVA_MIDDLEWARE_EXPORT std::string typeName(const std::type_info& type);
[[noreturn]] ORVA_MIDDLEWARE_EXPORT void throwNullManagedPointer(const std::type_info& type);
}  // namespace detail

template <class T>
class ManagedPtr {
public:
    using element_type = T;

    ManagedPtr() noexcept = default;
    ManagedPtr(std::nullptr_t) noexcept {}  // NOLINT: an empty handle converts from nullptr
    explicit ManagedPtr(std::shared_ptr<T> object) noexcept : p_(std::move(object)) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    ManagedPtr(const ManagedPtr<U>& other) noexcept : p_(other.shared())  // NOLINT: upcast
    {
    }

    T* operator->() const
    {
        if (!p_)
            detail::throwNullManagedPointer(typeid(T));
        return p_.get();
    }
    T& operator*() const
    {
        if (!p_)
            detail::throwNullManagedPointer(typeid(T));
        return *p_;
    }

    T* get() const noexcept { return p_.get(); }
    bool isNull() const noexcept { return !p_; }
    explicit operator bool() const noexcept { return static_cast<bool>(p_); }
    void reset() noexcept { p_.reset(); }
    const std::shared_ptr<T>& shared() const noexcept { return p_; }

private:
    std::shared_ptr<T> p_;
};

template <class T, class U>
bool operator==(const ManagedPtr<T>& a, const ManagedPtr<U>& b) noexcept { return a.get() == b.get(); }
template <class T, class U>
bool operator!=(const ManagedPtr<T>& a, const ManagedPtr<U>& b) noexcept { return a.get() != b.get(); }

}  // namespace ORVA::Middleware
