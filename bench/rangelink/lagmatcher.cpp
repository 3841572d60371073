#include "bench/rangelink/lagmatcher.h"

#include <cstring>

namespace linkbench {

namespace {
std::uint64_t bits(double v)
{
    std::uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}
}  // namespace

PoseKey poseKey(double x, double y, double z)
{
    return {bits(x), bits(y), bits(z)};
}

std::size_t PoseKeyHash::operator()(const PoseKey& k) const
{
    std::uint64_t h = k.x * 0x9E3779B97F4A7C15ull;
    h ^= k.y + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
    h ^= k.z + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return static_cast<std::size_t>(h);
}

void LagMatcher::committed(const PoseKey& key, std::int64_t committedNs)
{
    if (matched_.count(key))
        return;
    // The view can overtake the subscriber's own copy of the Platform sample.
    const auto view = views_.find(key);
    if (view != views_.end()) {
        samples_.push_back({view->second, view->second - committedNs});
        views_.erase(view);
        matched_.insert(key);
        return;
    }
    commits_.emplace(key, committedNs);
}

void LagMatcher::seen(const PoseKey& key, std::int64_t seenNs)
{
    if (matched_.count(key))
        return;
    const auto commit = commits_.find(key);
    if (commit != commits_.end()) {
        samples_.push_back({seenNs, seenNs - commit->second});
        commits_.erase(commit);
        matched_.insert(key);
        return;
    }
    views_.emplace(key, seenNs);  // keeps the first sighting
}

}  // namespace linkbench
