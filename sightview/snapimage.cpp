#include "sightview/snapimage.h"

#include "desktop/messagebox.h"
#include "sightview/exchangedirectory.h"
#include "sightview/scenesettings.h"
#include "sightview/sightobjects.h"

#include <osg/Notify>
#include <osgDB/ReadFile>

#include <ace/SOCK_Dgram_Mcast.h>

#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>

using namespace sightview;

namespace {

using Clock = std::chrono::steady_clock;

// Largest decoded picture whose pixel buffer is kept for the next cycle: 2048 x 2048 RGB.
constexpr std::size_t kKeptPixelBytes = 2048u * 2048u * 3u;

std::uint64_t nanosecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(to - from).count());
}

// Binds port 2000 on any address, limits the socket to the groups it joins itself, then joins
// `group` on all interfaces. Without IP_MULTICAST_ALL off, Linux would also hand this socket the
// datagrams of any other group on port 2000 that some process of the host has joined.
bool joinOwnGroup(ACE_SOCK_Dgram_Mcast& socket, const ACE_INET_Addr& group)
{
    if (socket.open(group, nullptr, 1) == -1)
        return false;
    int all = 0;
    if (socket.ACE_SOCK::set_option(IPPROTO_IP, IP_MULTICAST_ALL, &all, sizeof all) == -1)
        OSG_WARN << "SnapImage - cannot switch off IP_MULTICAST_ALL" << std::endl;
    return socket.join(group, 1, nullptr) != -1;
}

}  // namespace

namespace sightview {

FeedStatistics& feedStatistics()
{
    static FeedStatistics statistics;
    return statistics;
}

}  // namespace sightview

void SnapImage::operator()(osg::RenderInfo&) const
{
    FeedStatistics& statistics = feedStatistics();
    statistics.cycles.fetch_add(1, std::memory_order_relaxed);
    const Clock::time_point begin = Clock::now();

    ACE_SOCK_Dgram_Mcast mcast_dgram_(
        ACE_SOCK_Dgram_Mcast::options(ACE_SOCK_Dgram_Mcast::OPT_BINDADDR_NO | ACE_SOCK_Dgram_Mcast::OPT_NULLIFACE_ALL));
    ACE_INET_Addr local;
    const std::string host = sceneSettings.multicastAddress;
    if (!(group_.resolve(host) && joinOwnGroup(mcast_dgram_, group_.address()))) {
        statistics.failedJoins.fetch_add(1, std::memory_order_relaxed);
        desktop::showMessageBox("Error in subscribing to Multicast address ", "", desktop::MessageIcon::None, false);
    }

    bool decoded = false;
    unsigned char bytebuf[kFeedDatagramMax];
    const Clock::time_point waitBegin = Clock::now();
    // MSG_TRUNC makes the kernel report a datagram's whole length, so one longer than the buffer
    // is told apart from one that fills it exactly.
    ssize_t received = mcast_dgram_.recv(bytebuf, sizeof bytebuf, local, MSG_TRUNC);
    const Clock::time_point waitEnd = Clock::now();
    if (received > static_cast<ssize_t>(sizeof bytebuf))
        received = -1;

    if (received <= 0) {
        statistics.failedReceives.fetch_add(1, std::memory_order_relaxed);
    } else {
        decoded = codec::decodeJpeg(bytebuf, static_cast<std::size_t>(received), mimage_);
        if (!decoded) {
            statistics.undecodable.fetch_add(1, std::memory_order_relaxed);
            OSG_INFO << "SnapImage - dropped picture: " << codec::lastCodecError() << std::endl;
        }
        // An undecodable datagram leaves the file empty and gives no image: the panel is left
        // without one until a good picture arrives.
        const std::string exchangeFile = driveBPath("b:\\image2.jpg");
        osg::ref_ptr<osg::Image> picture;
        // Read back only what was written whole: a failed write leaves the file empty.
        if (!exchangeFile.empty() && codec::writeJpegFile(mimage_, exchangeFile))
            picture = osgDB::readImageFile(exchangeFile);
        osg::Texture2D& texture = screenTexture();
        texture.setImage(picture);
        if (picture) {
            // setImage alone does not reload: a fresh image has the same modified count (0) as
            // the one the texture object was loaded from.
            picture->dirty();
            statistics.picturesShown.fetch_add(1, std::memory_order_relaxed);
        } else {
            // Without an image the panel shows no picture: drop the texture object, and its size,
            // from which the texture would otherwise make a new one with undefined contents.
            texture.dirtyTextureObject();
            texture.setTextureSize(0, 0);
        }
    }

    // The pixel buffer stays with this callback for the next picture of a usual size; one that
    // a failed or outsized picture (a datagram may claim any size) made goes with it.
    if (decoded && mimage_.sizeInBytes() <= kKeptPixelBytes)
        mimage_.clear();
    else
        codec::freeImage(mimage_);
    mcast_dgram_.close();

    if (received > 0) {
        const Clock::time_point end = Clock::now();
        statistics.busyNanoseconds.fetch_add(nanosecondsBetween(begin, waitBegin) + nanosecondsBetween(waitEnd, end),
                                             std::memory_order_relaxed);
        statistics.busyCycles.fetch_add(1, std::memory_order_relaxed);
    }
}
