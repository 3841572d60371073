#pragma once
// A locale whose decimal separator is a comma, for checking that numbers are read with "." in
// any locale. One installed on the machine is used when there is one; otherwise one is made with
// localedef into a temporary LOCPATH. While the object lives, LC_NUMERIC is that locale.

#include <string>

namespace vkrsim::test {

class CommaNumericLocale {
public:
    CommaNumericLocale();
    ~CommaNumericLocale();  // previous LC_NUMERIC and LOCPATH back, temporary locale removed
    CommaNumericLocale(const CommaNumericLocale&) = delete;
    CommaNumericLocale& operator=(const CommaNumericLocale&) = delete;

    bool active() const { return whyNot_.empty(); }
    // Why no comma locale could be had (for GTEST_SKIP); empty when active.
    const std::string& whyNot() const { return whyNot_; }

private:
    std::string previousLocale_;
    std::string previousLocpath_;
    bool hadLocpath_ = false;
    std::string directory_;  // the temporary LOCPATH, empty when none was made
    std::string whyNot_;
};

}  // namespace vkrsim::test
