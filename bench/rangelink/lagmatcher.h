#pragma once
// Pairs each Platform commit with the first VKRsim update seen to carry its position, so that
// the time from a commit in the publisher to its appearance at a subscriber can be measured
// without any field that travels end to end. The key is the exact bit pattern of the position in
// the local tangent plane frame: the subscriber converts it with a frame set up like the session
// thread's, so both sides compute the same doubles.

#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace linkbench {

struct PoseKey {
    std::uint64_t x = 0;
    std::uint64_t y = 0;
    std::uint64_t z = 0;
    bool operator==(const PoseKey& o) const { return x == o.x && y == o.y && z == o.z; }
};

PoseKey poseKey(double x, double y, double z);

struct PoseKeyHash {
    std::size_t operator()(const PoseKey& k) const;
};

struct LagSample {
    std::int64_t seenNs;  // system clock, ns since 1970, when the update was seen
    std::int64_t lagNs;   // seen minus committed
};

// Used from one thread (the subscriber's callback thread).
class LagMatcher {
public:
    // A Platform state with this position, committed at `committedNs` (system clock, ns).
    void committed(const PoseKey& key, std::int64_t committedNs);
    // A VKRsim update with this view position, seen at `seenNs`. Repeats of a position already
    // matched are not samples: the pass republishes the last pose until a new one arrives.
    void seen(const PoseKey& key, std::int64_t seenNs);

    const std::vector<LagSample>& samples() const { return samples_; }
    // Updates whose position matched no commit (yet): a missed or folded Platform sample.
    std::size_t unmatched() const { return views_.size(); }

private:
    std::unordered_map<PoseKey, std::int64_t, PoseKeyHash> commits_;  // waiting for their view
    std::unordered_map<PoseKey, std::int64_t, PoseKeyHash> views_;    // seen before their commit
    std::unordered_set<PoseKey, PoseKeyHash> matched_;
    std::vector<LagSample> samples_;
};

}  // namespace linkbench
