#pragma once
// The console log of the session thread, written to a file, with the time of each Platform pass
// taken from the text as it goes by: a pass starts with its "Number of Platforms = " line and its
// last report line is the last "Time Stamp = " before the next pass. Nothing in the link is
// changed to measure it.
//
// Written by the session thread only; read by others after that thread has been joined.

#include <cstdint>
#include <fstream>
#include <streambuf>
#include <string>
#include <vector>

namespace linkbench {

struct PassMarks {
    std::int64_t startNs;  // CLOCK_MONOTONIC at the count line
    std::int64_t lastReportNs;  // at the last "Time Stamp = " of the pass (startNs when none)
};

class CycleLog : public std::streambuf {
public:
    explicit CycleLog(const std::string& path);
    // For tests: the clock that stamps the marks.
    using Clock = std::int64_t (*)();
    CycleLog(const std::string& path, Clock clock);

    const std::vector<PassMarks>& passes() const { return passes_; }
    std::uint64_t bytes() const { return bytes_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    std::filebuf file_;
    Clock clock_;
    std::vector<PassMarks> passes_;
    std::uint64_t bytes_ = 0;
    bool atLineStart_ = true;
};

}  // namespace linkbench
