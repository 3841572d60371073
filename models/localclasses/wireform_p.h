#pragma once
// Conversions between the local classes and their wire form (generated from LocalClasses.idl).
// Used by the object-model libraries only.

#include "LocalClasses.h"
#include "models/localclasses/platformtype.h"
#include "models/localclasses/time.h"
#include "models/localclasses/tspi.h"
#include "models/localclasses/uniqueid.h"
#include "middleware/exceptions.h"

#include <cmath>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

namespace ORVA::LocalClasses::wire {

using Middleware::SmartPtr;

inline SmartPtr<UniqueID::Interface> from(const ORVA_LocalClasses_UniqueID& in)
{
    return UniqueID::Interface::create(in.siteID, in.applicationID, in.objectID);
}
inline ORVA_LocalClasses_UniqueID to(const UniqueID::Interface& in)
{
    return {in.get_siteID(), in.get_applicationID(), in.get_objectID()};
}

// Raises ORVA::Middleware::Exception for nanoseconds out of range (a malformed sample).
inline SmartPtr<Time::Interface> from(const ORVA_LocalClasses_Time& in)
{
    return Time::Interface::create(in.seconds, in.nanoseconds);
}
inline ORVA_LocalClasses_Time to(const Time::Interface& in)
{
    return {in.get_seconds(), in.get_nanoseconds()};
}

inline SmartPtr<PlatformType::Interface> from(const ORVA_LocalClasses_PlatformType& in)
{
    return PlatformType::Interface::create(in.typeIndex, in.databaseVersion);
}
inline ORVA_LocalClasses_PlatformType to(const PlatformType::Interface& in)
{
    return {in.get_typeIndex(), in.get_databaseVersion()};
}

// Raises ORVA::Middleware::Exception for a value that is not a finite number (a malformed sample).
inline SmartPtr<TSPI::Interface> from(const ORVA_LocalClasses_TSPI& in)
{
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(in.position[i]) || !std::isfinite(in.orientation[i]) || !std::isfinite(in.velocity[i]))
            throw Middleware::Exception("TSPI value that is not a finite number");
    return TSPI::Interface::create({in.position[0], in.position[1], in.position[2]},
                                   {in.orientation[0], in.orientation[1], in.orientation[2]},
                                   {in.velocity[0], in.velocity[1], in.velocity[2]});
}
inline ORVA_LocalClasses_TSPI to(const TSPI::Interface& in)
{
    ORVA_LocalClasses_TSPI out{};
    for (int i = 0; i < 3; ++i) {
        out.position[i] = in.geocentricPosition()[static_cast<std::size_t>(i)];
        out.orientation[i] = in.geocentricOrientation()[static_cast<std::size_t>(i)];
        out.velocity[i] = in.geocentricVelocity()[static_cast<std::size_t>(i)];
    }
    return out;
}

// How an attribute of C++ type T travels in a sample: Wire<T>::type is its member type there,
// decode and encode convert. Numbers and flags travel as they are; a received floating-point
// number that is NaN or infinite makes the sample malformed (decode raises
// ORVA::Middleware::Exception), since no attribute gives such a value a meaning.
template <class T, class = void>
struct Wire {
    static_assert(std::is_arithmetic_v<T>, "no wire form for this attribute type");
    using type = T;
    static T decode(type in)
    {
        if constexpr (std::is_floating_point_v<T>) {
            if (!std::isfinite(in))
                throw Middleware::Exception("not a finite number");
        }
        return in;
    }
    static type encode(T value) { return value; }
};

// Enumerations as their integer value.
template <class Enumeration>
struct Wire<Enumeration, std::enable_if_t<std::is_enum_v<Enumeration>>> {
    using type = std::underlying_type_t<Enumeration>;
    static Enumeration decode(type in) { return static_cast<Enumeration>(in); }
    static type encode(Enumeration value) { return static_cast<type>(value); }
};

// Longest text a received sample may carry: every text attribute is one line (a call sign, a
// description, an address), so 64 KiB is ample; a megabyte is not a text but a flood.
inline constexpr std::size_t kMaxReceivedText = 65536;

// Texts as C strings; a sample without one (null) reads as the empty text. The encoded pointer
// lives as long as `value`. A received text that is longer than kMaxReceivedText or holds a
// control character (which would break or forge the lines a callback writes) makes the sample
// malformed.
template <>
struct Wire<std::string> {
    using type = char*;
    static std::string decode(const char* in)
    {
        if (!in)
            return "";
        const std::size_t length = ::strnlen(in, kMaxReceivedText + 1);
        if (length > kMaxReceivedText)
            throw Middleware::Exception("text longer than " + std::to_string(kMaxReceivedText) + " bytes");
        for (std::size_t i = 0; i < length; ++i) {
            const auto c = static_cast<unsigned char>(in[i]);
            if (c < 0x20 || c == 0x7f)
                throw Middleware::Exception("control character in text");
        }
        return std::string(in, length);
    }
    static type encode(const std::string& value) { return const_cast<char*>(value.c_str()); }  // dds_write only reads it
};

// Local classes as their wire struct, through from() and to() above.
template <class Interface>
struct Wire<SmartPtr<Interface>> {
    using type = decltype(to(std::declval<const Interface&>()));
    static SmartPtr<Interface> decode(const type& in) { return from(in); }
    static type encode(const SmartPtr<Interface>& value) { return to(*value); }
};

// Decodes one attribute; a malformed value raises ORVA::Middleware::Exception naming it.
template <class T, class In>
T decodeAttribute(const In& in, const char* name)
{
    try {
        return Wire<T>::decode(in);
    } catch (const Middleware::Exception& e) {
        throw Middleware::Exception(std::string(name) + ": " + e.what());
    }
}

}  // namespace ORVA::LocalClasses::wire
