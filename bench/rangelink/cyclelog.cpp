#include "bench/rangelink/cyclelog.h"

#include "bench/support/benchtools.h"

#include <cstring>

namespace linkbench {

namespace {
constexpr char kPassStart[] = "Number of Platforms = ";
constexpr char kReportEnd[] = "Time Stamp = ";

bool startsWith(const char* s, std::streamsize n, const char* prefix)
{
    const auto length = static_cast<std::streamsize>(std::strlen(prefix));
    return n >= length && std::memcmp(s, prefix, static_cast<std::size_t>(length)) == 0;
}
}  // namespace

CycleLog::CycleLog(const std::string& path) : CycleLog(path, &bench::monotonicNs) {}

CycleLog::CycleLog(const std::string& path, Clock clock) : clock_(clock)
{
    file_.open(path, std::ios::out | std::ios::trunc);
}

CycleLog::int_type CycleLog::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    ++bytes_;
    atLineStart_ = traits_type::to_char_type(c) == '\n';
    return file_.sputc(traits_type::to_char_type(c));
}

// Every label of the report is written by one insertion of a string literal, so it arrives here
// whole; only labels at the start of a line count, not the same words inside an attribute dump.
std::streamsize CycleLog::xsputn(const char* s, std::streamsize n)
{
    if (n > 0 && atLineStart_) {
        if (startsWith(s, n, kPassStart)) {
            const std::int64_t now = clock_();
            passes_.push_back({now, now});
        } else if (startsWith(s, n, kReportEnd) && !passes_.empty()) {
            passes_.back().lastReportNs = clock_();
        }
    }
    if (n > 0) {
        bytes_ += static_cast<std::uint64_t>(n);
        atLineStart_ = s[n - 1] == '\n';
    }
    return file_.sputn(s, n);
}

int CycleLog::sync()
{
    return file_.pubsync();
}

}  // namespace linkbench
