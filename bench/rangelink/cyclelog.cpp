#include "bench/rangelink/cyclelog.h"

#include <cstring>

namespace linkbench {

namespace {
constexpr char kPassStart[] = "Number of Platforms = ";
constexpr char kReportEnd[] = "Time Stamp = ";
constexpr char kX[] = "X pos = ";
constexpr char kY[] = "Y pos = ";

bool is(const char* s, std::streamsize n, const char* label)
{
    const auto length = static_cast<std::streamsize>(std::strlen(label));
    return n >= length && std::memcmp(s, label, static_cast<std::size_t>(length)) == 0;
}
}  // namespace

std::string printedPose(const std::string& x, const std::string& y)
{
    return x + " " + y;
}

CycleLog::CycleLog(const std::string& path, Clock clock) : clock_(clock)
{
    file_.open(path, std::ios::out | std::ios::trunc);
}

CycleLog::int_type CycleLog::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    take(&ch, 1);
    return file_.sputc(ch);
}

// Every label of the report is written by one insertion of a string literal, so it arrives here
// whole; only labels at the start of a line count, not the same words inside an attribute dump.
std::streamsize CycleLog::xsputn(const char* s, std::streamsize n)
{
    if (n > 0 && atLineStart_) {
        std::streamsize label = 0;
        if (is(s, n, kPassStart)) {
            const std::int64_t now = clock_();
            passes_.push_back({now, now});
        } else if (is(s, n, kReportEnd)) {
            if (!passes_.empty())
                passes_.back().lastReportNs = clock_();
        } else if (is(s, n, kX)) {
            xNs_ = clock_();
            capture_ = Capture::X;
            label = static_cast<std::streamsize>(std::strlen(kX));
        } else if (is(s, n, kY)) {
            capture_ = Capture::Y;
            label = static_cast<std::streamsize>(std::strlen(kY));
        }
        value_.clear();
        bytes_ += static_cast<std::uint64_t>(label);
        atLineStart_ = false;
        take(s + label, n - label);
    } else {
        take(s, n);
    }
    return file_.sputn(s, n);
}

void CycleLog::take(const char* s, std::streamsize n)
{
    bytes_ += static_cast<std::uint64_t>(n);
    for (std::streamsize i = 0; i < n; ++i) {
        if (s[i] != '\n') {
            if (capture_ != Capture::None)
                value_ += s[i];
            continue;
        }
        if (capture_ == Capture::X)
            x_ = value_;
        else if (capture_ == Capture::Y)
            firstPrinted_.emplace(printedPose(x_, value_), xNs_);  // keeps the first time
        capture_ = Capture::None;
        value_.clear();
    }
    if (n > 0)
        atLineStart_ = s[n - 1] == '\n';
}

int CycleLog::sync()
{
    return file_.pubsync();
}

}  // namespace linkbench
