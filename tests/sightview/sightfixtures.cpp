#include "sightfixtures.h"

#include "codec/jpegcodec.h"
#include "sightview/sightviewthread.h"
#include "stateblock/stateblock.h"
#include "support/childprocess.h"

#include <osg/Image>
#include <osgDB/ReadFile>
#include <osgDB/WriteFile>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace sighttest {

ScratchDirectory::ScratchDirectory()
{
    std::string pattern = (fs::temp_directory_path() / "sighttest-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    previous_ = fs::current_path().string();
    fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory()
{
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(path_, ec);
}

void writeSceneFile(const std::string& dir, const std::string& group, const std::vector<std::string>& modelPaths)
{
    std::ofstream out(dir + "/SceneGeneratorconfig.xml");
    out << "<?xml version=\"1.0\"?>\n<MGXML>\n  <multicast_address>" << group << "</multicast_address>\n";
    for (const auto& p : modelPaths)
        out << "  <modelpath><path>" << p << "</path></modelpath>\n";
    out << "</MGXML>\n";
}

void writeSquarePng(const std::string& path, int x0, int y0, int x1, int y1, Rgb c)
{
    osg::ref_ptr<osg::Image> image = new osg::Image;
    image->allocateImage(512, 512, 1, GL_RGBA, GL_UNSIGNED_BYTE);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            unsigned char* p = image->data(x, y);
            const bool inside = x >= x0 && x < x1 && y >= y0 && y < y1;
            p[0] = inside ? static_cast<unsigned char>(c.r) : 0;
            p[1] = inside ? static_cast<unsigned char>(c.g) : 0;
            p[2] = inside ? static_cast<unsigned char>(c.b) : 0;
            p[3] = inside ? 255 : 0;
        }
    if (!osgDB::writeImageFile(*image, path))
        throw std::runtime_error("cannot write " + path);
}

void writeClearPng(const std::string& path) { writeSquarePng(path, 0, 0, 0, 0, Rgb{0, 0, 0}); }

std::vector<std::uint8_t> solidJpeg(Rgb c, int width, int height)
{
    codec::Image image;
    if (!image.reshape(width, height, 3))
        throw std::runtime_error("reshape failed");
    for (std::size_t i = 0; i < image.sizeInBytes(); i += 3) {
        image.pixels()[i] = static_cast<std::uint8_t>(c.r);
        image.pixels()[i + 1] = static_cast<std::uint8_t>(c.g);
        image.pixels()[i + 2] = static_cast<std::uint8_t>(c.b);
    }
    const std::string path = (fs::temp_directory_path() / ("solid-" + std::to_string(::getpid()) + ".jpg")).string();
    if (!codec::writeJpegFile(image, path))
        throw std::runtime_error("cannot encode " + path);
    const std::string bytes = vkrsim::test::readFile(path);
    fs::remove(path);
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> paddedJpeg(std::vector<std::uint8_t> jpeg, std::size_t size)
{
    // SOI, then a COM segment: marker (2 bytes) + length field (2 bytes, counts itself) + text.
    if (jpeg.size() + 4 > size || size - jpeg.size() > 65535 + 2)
        throw std::invalid_argument("cannot pad to that size");
    const std::size_t segment = size - jpeg.size();
    const std::size_t length = segment - 2;
    std::vector<std::uint8_t> com = {0xFF, 0xFE, static_cast<std::uint8_t>(length >> 8),
                                     static_cast<std::uint8_t>(length & 0xFF)};
    com.resize(segment, 'x');
    jpeg.insert(jpeg.begin() + 2, com.begin(), com.end());
    return jpeg;
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {
sockaddr_in groupAddress(const std::string& group, unsigned short port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    if (::inet_pton(AF_INET, group.c_str(), &a.sin_addr) != 1)
        throw std::invalid_argument("bad address " + group);
    return a;
}
}  // namespace

PictureSender::PictureSender(std::string group, int intervalMs, unsigned short port)
    : group_(std::move(group)), port_(port), intervalMs_(intervalMs)
{
    socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    const int ttl = 1;
    ::setsockopt(socket_, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
    in_addr lo{};
    lo.s_addr = htonl(INADDR_LOOPBACK);
    ::setsockopt(socket_, IPPROTO_IP, IP_MULTICAST_IF, &lo, sizeof lo);
    int big = 1 << 20;
    ::setsockopt(socket_, SOL_SOCKET, SO_SNDBUF, &big, sizeof big);
    thread_ = std::thread([this] { run(); });
}

PictureSender::~PictureSender()
{
    stop_ = true;
    thread_.join();
    ::close(socket_);
}

void PictureSender::setPayload(std::vector<std::uint8_t> payload)
{
    std::atomic_store(&payload_, std::make_shared<const std::vector<std::uint8_t>>(std::move(payload)));
    paused_ = false;
}

void PictureSender::pause() { paused_ = true; }
void PictureSender::resume() { paused_ = false; }

void PictureSender::run()
{
    const sockaddr_in to = groupAddress(group_, port_);
    while (!stop_) {
        auto payload = std::atomic_load(&payload_);
        if (!paused_ && payload) {
            ::sendto(socket_, payload->data(), payload->size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
            ++sent_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(intervalMs_));
    }
}

GroupMember::GroupMember(const std::string& group)
{
    socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
    const int on = 1;
    ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in any = groupAddress("0.0.0.0", 2000);
    ::bind(socket_, reinterpret_cast<const sockaddr*>(&any), sizeof any);
    ip_mreq m{};
    m.imr_multiaddr = groupAddress(group, 2000).sin_addr;
    m.imr_interface.s_addr = htonl(INADDR_LOOPBACK);
    if (::setsockopt(socket_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &m, sizeof m) != 0)
        throw std::runtime_error("cannot join " + group);
}

GroupMember::~GroupMember() { ::close(socket_); }

RenderThread::RenderThread()
    : thread_([this] {
          result_ = static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(sightViewThread(nullptr)));
          finished_ = true;
      })
{
}

RenderThread::~RenderThread()
{
    // A test that failed before ending the loop must fail, not hang in the join.
    if (!finished_)
        stateBlock.stopRender = true;
    thread_.join();
}

Rgb Frame::at(int x, int y) const
{
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
    return Rgb{pixels_[i], pixels_[i + 1], pixels_[i + 2]};
}

Rgb Frame::atHud(double u, double v) const
{
    const int x = static_cast<int>(u / 512.0 * width_);
    const int y = static_cast<int>((512.0 - v) / 512.0 * height_);
    return at(std::min(x, width_ - 1), std::min(y, height_ - 1));
}

bool Frame::save(const std::string& path) const
{
    osg::ref_ptr<osg::Image> image = new osg::Image;
    image->allocateImage(width_, height_, 1, GL_RGB, GL_UNSIGNED_BYTE);
    for (int y = 0; y < height_; ++y)
        std::copy_n(&pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) * 3],
                    static_cast<std::size_t>(width_) * 3, image->data(0, height_ - 1 - y));
    return osgDB::writeImageFile(*image, path);
}

int Frame::differences(const Frame& other, int x0, int y0, int x1, int y1) const
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb a = at(x, y);
            const Rgb b = other.at(x, y);
            if (a.r != b.r || a.g != b.g || a.b != b.b)
                ++n;
        }
    return n;
}

int Frame::differencesOutside(const Frame& other, int tolerance, int x0, int y0, int x1, int y1) const
{
    if (other.width_ != width_ || other.height_ != height_)
        return width_ * height_;
    int n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            if (x >= x0 && x < x1 && y >= y0 && y < y1)
                continue;
            const Rgb a = at(x, y);
            const Rgb b = other.at(x, y);
            if (std::abs(a.r - b.r) > tolerance || std::abs(a.g - b.g) > tolerance || std::abs(a.b - b.b) > tolerance)
                ++n;
        }
    return n;
}

Frame loadFrame(const std::string& path)
{
    Frame frame;
    osg::ref_ptr<osg::Image> image = osgDB::readImageFile(path);
    if (!image || image->getPixelFormat() != GL_RGB || image->getDataType() != GL_UNSIGNED_BYTE)
        return frame;
    frame.width_ = image->s();
    frame.height_ = image->t();
    frame.pixels_.resize(static_cast<std::size_t>(frame.width_) * static_cast<std::size_t>(frame.height_) * 3);
    for (int y = 0; y < frame.height_; ++y)
        std::copy_n(image->data(0, frame.height_ - 1 - y), static_cast<std::size_t>(frame.width_) * 3,
                    &frame.pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width_) * 3]);
    return frame;
}

namespace {

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// The mapped 1000 x 1000 window under `parent` (the sight window, whether a window manager has
// put a frame around it or not), or 0.
Window findSightWindow(Display* display, Window parent, int depth = 0)
{
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (depth < 4 && XQueryTree(display, parent, &root, &up, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(display, children[i], &a) || a.map_state != IsViewable)
                continue;
            if (a.width == 1000 && a.height == 1000)
                found = children[i];
            else
                found = findSightWindow(display, children[i], depth + 1);
        }
        if (children)
            XFree(children);
    }
    return found;
}

Window findSightWindow(Display* display) { return findSightWindow(display, DefaultRootWindow(display)); }

}  // namespace

Frame captureSightWindow()
{
    Frame frame;
    DisplayHandle display(XOpenDisplay(nullptr));
    if (!display)
        return frame;
    const Window window = findSightWindow(display.get());
    if (!window)
        return frame;
    XImage* image = XGetImage(display.get(), window, 0, 0, 1000, 1000, AllPlanes, ZPixmap);
    if (!image)
        return frame;
    frame.width_ = 1000;
    frame.height_ = 1000;
    frame.pixels_.resize(1000u * 1000u * 3u);
    std::size_t i = 0;
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            frame.pixels_[i++] = static_cast<std::uint8_t>((p & image->red_mask) >> 16);
            frame.pixels_[i++] = static_cast<std::uint8_t>((p & image->green_mask) >> 8);
            frame.pixels_[i++] = static_cast<std::uint8_t>(p & image->blue_mask);
        }
    XDestroyImage(image);
    return frame;
}

bool sightWindowShown()
{
    DisplayHandle display(XOpenDisplay(nullptr));
    return display && findSightWindow(display.get()) != 0;
}

bool closeSightWindow()
{
    DisplayHandle display(XOpenDisplay(nullptr));
    if (!display)
        return false;
    const Window window = findSightWindow(display.get());
    if (!window)
        return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display.get(), window, False, NoEventMask, &event);
    XFlush(display.get());
    return true;
}

}  // namespace sighttest
