#pragma once
// Local classes that are three values of one type (Position, Velocity, Acceleration, Orientation):
// one macro declares the Interface in the class's header, where the units are documented; one
// defines, in the class's source, the immutable value behind it.

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

// Declares, in the namespace of a local class, its exported Interface: the getters get_A, get_B,
// get_C returning TYPE, and create(A, B, C), which makes an immutable value holding them.
#define ORVA_LOCALCLASS_THREE_VALUES_DECLARATION(TYPE, A, B, C)                                     \
    class ORVA_LOCALCLASSES_EXPORT Interface {                                                      \
    public:                                                                                         \
        virtual ~Interface();                                                                       \
        virtual TYPE get_##A() const = 0;                                                           \
        virtual TYPE get_##B() const = 0;                                                           \
        virtual TYPE get_##C() const = 0;                                                           \
                                                                                                    \
        static ::ORVA::Middleware::SmartPtr<Interface> create(TYPE A, TYPE B, TYPE C);              \
    }

// Defines, in the namespace of the local class NAME, whose Interface the macro above declared with
// the same TYPE, A, B, C: the final class NAME##Value holding the three values, Interface's
// destructor and create().
#define ORVA_LOCALCLASS_THREE_VALUES_DEFINITION(NAME, TYPE, A, B, C)                                            \
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
