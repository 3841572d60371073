#pragma once
// Identity of a stateful distributed object (SDO), unique across every execution and machine:
// 64 random bits chosen by the run time that made it, then that run time's object serial number.

#include "middleware/export.h"

#include <cstdint>
#include <functional>
#include <iosfwd>

namespace ORVA::Middleware {

class ORVA_MIDDLEWARE_EXPORT SDOid {
public:
    SDOid() noexcept = default;
    SDOid(std::uint64_t origin, std::uint64_t serial) noexcept : origin_(origin), serial_(serial) {}

    std::uint64_t origin() const noexcept { return origin_; }
    std::uint64_t serial() const noexcept { return serial_; }

    friend bool operator==(const SDOid& a, const SDOid& b) noexcept
    {
        return a.origin_ == b.origin_ && a.serial_ == b.serial_;
    }
    friend bool operator!=(const SDOid& a, const SDOid& b) noexcept { return !(a == b); }
    friend bool operator<(const SDOid& a, const SDOid& b) noexcept
    {
        return a.origin_ != b.origin_ ? a.origin_ < b.origin_ : a.serial_ < b.serial_;
    }

private:
    std::uint64_t origin_ = 0;
    std::uint64_t serial_ = 0;
};

// Text form "SDO:<origin, 16 hex digits>:<serial, decimal>", e.g. "SDO:9f0c2a1b44d3e870:3".
// Leaves the stream's formatting flags as they were.
ORVA_MIDDLEWARE_EXPORT std::ostream& operator<<(std::ostream& out, const SDOid& id);

}  // namespace ORVA::Middleware

template <>
struct std::hash<ORVA::Middleware::SDOid> {
    std::size_t operator()(const ORVA::Middleware::SDOid& id) const noexcept
    {
        return std::hash<std::uint64_t>()(id.origin() * 0x9e3779b97f4a7c15ull ^ id.serial());
    }
};
