#pragma once
// The session thread's console stream (std::cout) taken apart as it is written, without keeping
// it: the number of Platforms of the last pass, and the count and time of the Platform callbacks.
// Written by the session thread; the figures are atomics, read from any thread.

#include <atomic>
#include <cstdint>
#include <streambuf>
#include <string>

namespace soak {

class ConsoleTap : public std::streambuf {
public:
    ConsoleTap() = default;

    std::atomic<long> platforms{-1};          // "Number of Platforms = N" of the last pass
    std::atomic<std::uint64_t> passes{0};
    std::atomic<std::uint64_t> discoveries{0};
    std::atomic<std::uint64_t> destructions{0};
    std::atomic<std::int64_t> lastDestructionNs{0};  // CLOCK_MONOTONIC
    std::atomic<std::uint64_t> dropped{0};  // "Session - dropped sample ..." lines (standard error)
    std::atomic<std::uint64_t> bytes{0};

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;

private:
    void endOfLine();
    std::string line_;
};

// std::cout goes to `tap` while this lives.
class ConsoleRedirect {
public:
    explicit ConsoleRedirect(std::streambuf& to);
    ~ConsoleRedirect();
    ConsoleRedirect(const ConsoleRedirect&) = delete;
    ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

private:
    std::streambuf* saved_;
};

}  // namespace soak
