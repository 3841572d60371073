#include "soak/support/consoletap.h"

#include "bench/support/benchtools.h"

#include <cstdlib>
#include <iostream>

namespace soak {

ConsoleTap::int_type ConsoleTap::overflow(int_type c)
{
    if (c != traits_type::eof()) {
        const char ch = traits_type::to_char_type(c);
        xsputn(&ch, 1);
    }
    return traits_type::not_eof(c);
}

std::streamsize ConsoleTap::xsputn(const char* s, std::streamsize n)
{
    bytes.fetch_add(static_cast<std::uint64_t>(n), std::memory_order_relaxed);
    for (std::streamsize i = 0; i < n; ++i) {
        if (s[i] == '\n')
            endOfLine();
        else if (line_.size() < 200)
            line_ += s[i];
    }
    return n;
}

void ConsoleTap::endOfLine()
{
    static const std::string count = "Number of Platforms = ";
    if (line_.compare(0, count.size(), count) == 0) {
        platforms = std::atol(line_.c_str() + count.size());
        ++passes;
    } else if (line_ == "ORVA::Platform::BasicImpl DestructionCallbackImpl execute()") {
        lastDestructionNs = bench::monotonicNs();
        ++destructions;
    } else if (line_ == "ORVA::Platform::BasicImpl DiscoveryCallbackImpl execute()") {
        ++discoveries;
    } else if (line_.compare(0, 24, "Session - dropped sample") == 0) {
        ++dropped;
    }
    line_.clear();
}

ConsoleRedirect::ConsoleRedirect(std::streambuf& to) : saved_(std::cout.rdbuf(&to)) {}

ConsoleRedirect::~ConsoleRedirect() { std::cout.rdbuf(saved_); }

}  // namespace soak
