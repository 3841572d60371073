#pragma once
// The last few thousand durations of one kind, for the summary scenegen writes when it ends.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace scenegen {

class Timings {
public:
    void add(double milliseconds)
    {
        if (values_.size() < kKept)
            values_.push_back(milliseconds);
        else
            values_[next_++ % kKept] = milliseconds;
    }
    double median() const
    {
        if (values_.empty())
            return 0.0;
        std::vector<double> v = values_;
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    }

private:
    static constexpr std::size_t kKept = 4096;
    std::vector<double> values_;
    std::size_t next_ = 0;
};

}  // namespace scenegen
