#include "models/localclasses/time.h"
#include "models/localclasses/linkforcing.h"

#include "middleware/exceptions.h"

#include <chrono>
#include <string>

std::int32_t fullConversion_Time_forceThisLibraryToBeLinked = 0;

namespace ORVA::Time {

namespace {

class Value final : public Interface {
public:
    Value(std::int64_t seconds, std::uint32_t nanoseconds) noexcept : seconds_(seconds), nanoseconds_(nanoseconds) {}
    std::int64_t get_seconds() const override { return seconds_; }
    std::uint32_t get_nanoseconds() const override { return nanoseconds_; }

private:
    std::int64_t seconds_;
    std::uint32_t nanoseconds_;
};

}  // namespace

Interface::~Interface() = default;

Middleware::SmartPtr<UnixTime> Interface::toUnixTime() const
{
    const std::int64_t seconds = get_seconds();
    if (seconds < 0 || seconds > 0xffffffffll)
        throw Middleware::Exception("Time::toUnixTime: " + std::to_string(seconds) +
                                    " s is outside the unsigned 32-bit Unix time");
    return Middleware::SmartPtr<UnixTime>(
        new UnixTime(static_cast<std::uint32_t>(seconds), get_nanoseconds() / 1000u));
}

Middleware::SmartPtr<Interface> Interface::create(std::int64_t seconds, std::uint32_t nanoseconds)
{
    if (nanoseconds >= 1000000000u)
        throw Middleware::Exception("Time::create: nanoseconds " + std::to_string(nanoseconds) + " not below 1e9");
    return Middleware::SmartPtr<Interface>(new Value(seconds, nanoseconds));
}

Middleware::SmartPtr<Interface> Interface::now()
{
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
    // Floor division, so times before 1970 keep nanoseconds in 0 .. 1e9-1.
    std::int64_t seconds = ns / 1000000000;
    std::int64_t rest = ns % 1000000000;
    if (rest < 0) {
        rest += 1000000000;
        --seconds;
    }
    return create(seconds, static_cast<std::uint32_t>(rest));
}

}  // namespace ORVA::Time
