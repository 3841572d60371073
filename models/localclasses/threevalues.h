#pragma once
// Private to the local-class library: the immutable value behind a local class whose Interface has
// three getters of one type and a create() taking them in the same order (Position, Velocity,
// Acceleration, Orientation). Each such class keeps its own Interface, with its units, in its header.

#include "middleware/smartptr.h"

// Defines, in the namespace of the local class NAME (whose Interface declares get_A, get_B, get_C
// returning TYPE and `static create(TYPE A, TYPE B, TYPE C)`), the final class NAME##Value holding
// the three values, Interface's destructor and create().
#define ORVA_LOCALCLASS_THREE_VALUES(NAME, TYPE, A, B, C)                                            \
    namespace {                                                                                     \
    class NAME##Value final : public Interface {                                                    \
    public:                                                                                         \
        NAME##Value(TYPE A, TYPE B, TYPE C) noexcept : A##_(A), B##_(B), C##_(C) {}                  \
        TYPE get_##A() const override { return A##_; }                                              \
        TYPE get_##B() const override { return B##_; }                                              \
        TYPE get_##C() const override { return C##_; }                                              \
                                                                                                    \
    private:                                                                                        \
        TYPE A##_, B##_, C##_;                                                                      \
    };                                                                                              \
    }                                                                                               \
                                                                                                    \
    Interface::~Interface() = default;                                                              \
    ::ORVA::Middleware::SmartPtr<Interface> Interface::create(TYPE A, TYPE B, TYPE C)               \
    {                                                                                               \
        return ::ORVA::Middleware::SmartPtr<Interface>(new NAME##Value(A, B, C));                   \
    }                                                                                               \
    static_assert(true, "a semicolon after the macro closes this")
