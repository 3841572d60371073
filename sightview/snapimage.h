#pragma once
// The multicast picture feed: the pre-draw callback of the sight view's camera. Each call is one
// receive cycle: join the group of the scene settings on port 2000, wait for one datagram, decode
// it, pass it through the exchange file "b:\image2.jpg" and make the result the image of the
// screen panel's texture; then leave the group.

#include "codec/jpegcodec.h"
#include "sightview/feedgroup.h"

#include <osg/Camera>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace sightview {

// Port of the picture feed.
inline constexpr unsigned short kFeedPort = 2000;
// One picture per datagram; a longer datagram is not a picture.
inline constexpr std::size_t kFeedDatagramMax = 32768;

// Counters of the feed since the process started, for tests and benchmarks. Written by the
// drawing thread, read anywhere.
struct FeedStatistics {
    std::atomic<std::uint64_t> cycles{0};          // receive cycles begun
    std::atomic<std::uint64_t> failedJoins{0};     // joins that failed (one box each)
    std::atomic<std::uint64_t> failedReceives{0};  // receive error, empty or over-long datagram
    std::atomic<std::uint64_t> undecodable{0};     // datagrams that were no picture
    std::atomic<std::uint64_t> picturesShown{0};   // cycles that gave the texture a picture
    std::atomic<std::uint64_t> busyNanoseconds{0}; // time in cycles that got a datagram, minus the wait
    std::atomic<std::uint64_t> busyCycles{0};      // cycles counted in busyNanoseconds
};
FeedStatistics& feedStatistics();

}  // namespace sightview

class SnapImage : public osg::Camera::DrawCallback {
public:
    SnapImage() = default;
    void operator()(osg::RenderInfo& renderInfo) const override;

protected:
    ~SnapImage() override = default;

private:
    // The group of the last address seen, kept while it resolves (drawing thread only).
    mutable sightview::FeedGroup group_;
    // Decoded picture; its pixel buffer is reused by the next cycle (drawing thread only).
    mutable codec::Image mimage_;
};
