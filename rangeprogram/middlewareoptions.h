#pragma once
// The option vector a range program hands the middleware's configuration: no program name in
// front, "-ORBdefaultInitRef" with the init reference, then the execution and session names.
// Owns its texts, so the vector stays valid as long as this object.

#include <array>
#include <string>

namespace rangeprogram {

class MiddlewareOptions {
public:
    MiddlewareOptions(std::string initRef, std::string executionName, std::string sessionName);
    MiddlewareOptions(const MiddlewareOptions&) = delete;
    MiddlewareOptions& operator=(const MiddlewareOptions&) = delete;

    // The count and vector the configuration takes (the count by reference, as it may consume
    // options it knows).
    int& argc() { return argc_; }
    const char** argv() { return argv_.data(); }

private:
    std::string initRef_;
    std::string executionName_;
    std::string sessionName_;
    int argc_ = 6;
    std::array<const char*, 7> argv_{};
};

}  // namespace rangeprogram
