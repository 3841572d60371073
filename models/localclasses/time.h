#pragma once
// A point in time: seconds and nanoseconds since 1970-01-01 00:00:00 UTC (leap seconds not
// counted, as in Unix time).

#include "middleware/smartptr.h"
#include "models/localclasses/export.h"

#include <cstdint>

namespace ORVA::Time {

// Unix-time form of a Time: whole seconds and the microseconds after them.
class ORVA_LOCALCLASSES_EXPORT UnixTime {
public:
    UnixTime(std::uint32_t seconds, std::uint32_t microseconds) noexcept
        : seconds_(seconds), microseconds_(microseconds) {}
    std::uint32_t get_seconds() const noexcept { return seconds_; }
    std::uint32_t get_microseconds() const noexcept { return microseconds_; }

private:
    std::uint32_t seconds_;
    std::uint32_t microseconds_;
};

class ORVA_LOCALCLASSES_EXPORT Interface {
public:
    virtual ~Interface();
    virtual std::int64_t get_seconds() const = 0;
    virtual std::uint32_t get_nanoseconds() const = 0;  // 0 .. 999999999

    // Raises ORVA::Middleware::Exception when the time is before 1970 or after the unsigned
    // 32-bit seconds of 2106.
    Middleware::SmartPtr<UnixTime> toUnixTime() const;

    // Raises ORVA::Middleware::Exception when nanoseconds is 1e9 or more.
    static Middleware::SmartPtr<Interface> create(std::int64_t seconds = 0, std::uint32_t nanoseconds = 0);
    // The system clock's current time.
    static Middleware::SmartPtr<Interface> now();
};

}  // namespace ORVA::Time
