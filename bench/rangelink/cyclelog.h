#pragma once
// The console log of the session thread, written to a file, with times taken from the text as it
// goes by, so that nothing in the link changes to be measured:
// - a Platform pass starts with its "Number of Platforms = " line; its last report line is the
//   last "Time Stamp = " before the next pass;
// - each report's "X pos = " and "Y pos = " values, as printed, name the pose it carries; the
//   time of the "X pos = " line the first time a pose is printed is when it appeared in a pass.
//
// Written by the session thread only; read by others after that thread has been joined.

#include <cstdint>
#include <fstream>
#include <streambuf>
#include <string>
#include <unordered_map>
#include <vector>

namespace linkbench {

struct PassMarks {
    std::int64_t startNs;       // at the count line
    std::int64_t lastReportNs;  // at the last "Time Stamp = " of the pass (startNs when none)
};

// The key of a printed pose: the "X pos" and "Y pos" values as text, joined by one blank.
std::string printedPose(const std::string& x, const std::string& y);

class CycleLog : public std::streambuf {
public:
    using Clock = std::int64_t (*)();  // ns
    CycleLog(const std::string& path, Clock clock);

    const std::vector<PassMarks>& passes() const { return passes_; }
    // Printed pose -> time of its first report line.
    const std::unordered_map<std::string, std::int64_t>& firstPrinted() const { return firstPrinted_; }
    std::uint64_t bytes() const { return bytes_; }

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    enum class Capture { None, X, Y };
    void take(const char* s, std::streamsize n);

    std::filebuf file_;
    Clock clock_;
    std::vector<PassMarks> passes_;
    std::unordered_map<std::string, std::int64_t> firstPrinted_;
    std::uint64_t bytes_ = 0;
    bool atLineStart_ = true;
    Capture capture_ = Capture::None;
    std::string value_;   // the value being printed after an "X pos" or "Y pos" label
    std::string x_;       // the last "X pos" value
    std::int64_t xNs_ = 0;
};

}  // namespace linkbench
