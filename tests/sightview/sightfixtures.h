#pragma once
// Helpers of the sight view tests: a scratch working directory with a scene file, test pictures,
// a multicast picture sender, the render thread on a thread of its own, and frame captures of
// the sight window from the X server.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace sighttest {

// A private directory that is the working directory while it lives.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Writes "SceneGeneratorconfig.xml" into `dir` with the group and the model paths.
void writeSceneFile(const std::string& dir, const std::string& group, const std::vector<std::string>& modelPaths);

struct Rgb {
    int r, g, b;
};

// A 512 x 512 RGBA PNG, clear except the square [x0, x1) x [y0, y1) (HUD units, origin bottom
// left) in the opaque colour `c`.
void writeSquarePng(const std::string& path, int x0, int y0, int x1, int y1, Rgb c);
// A fully transparent 512 x 512 PNG.
void writeClearPng(const std::string& path);

// A 64 x 48 JPEG of one colour (decoded, it is that colour within a few levels).
std::vector<std::uint8_t> solidJpeg(Rgb c, int width = 64, int height = 48);
// The JPEG padded to exactly `size` bytes with a comment segment after its start marker.
std::vector<std::uint8_t> paddedJpeg(std::vector<std::uint8_t> jpeg, std::size_t size);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Sends the current payload to `group`:port every `intervalMs` on loopback, until it is stopped.
class PictureSender {
public:
    explicit PictureSender(std::string group, int intervalMs = 10, unsigned short port = 2000);
    ~PictureSender();
    PictureSender(const PictureSender&) = delete;
    PictureSender& operator=(const PictureSender&) = delete;

    void setPayload(std::vector<std::uint8_t> payload);
    void pause();
    void resume();
    std::uint64_t sent() const { return sent_; }

private:
    void run();
    std::string group_;
    unsigned short port_;
    int intervalMs_;
    int socket_ = -1;
    std::shared_ptr<const std::vector<std::uint8_t>> payload_;
    std::atomic<bool> paused_{true};
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> sent_{0};
    std::thread thread_;
};

// Joins `group` on port 2000 on a socket of the test, so that the host is a member of it.
class GroupMember {
public:
    explicit GroupMember(const std::string& group);
    ~GroupMember();
    GroupMember(const GroupMember&) = delete;
    GroupMember& operator=(const GroupMember&) = delete;

private:
    int socket_ = -1;
};

// sightViewThread on a thread of its own.
class RenderThread {
public:
    RenderThread();
    ~RenderThread();  // waits for the thread, asking it to stop if it still runs
    RenderThread(const RenderThread&) = delete;
    RenderThread& operator=(const RenderThread&) = delete;
    bool finished() const { return finished_; }
    unsigned long result() const { return result_; }

private:
    std::atomic<bool> finished_{false};
    std::atomic<unsigned long> result_{~0ul};
    std::thread thread_;
};

// The sight window as the X server shows it: 1000 x 1000 pixels, origin top left.
class Frame {
public:
    Rgb at(int x, int y) const;
    // Pixel under the HUD point (u, v), units of 512, origin bottom left.
    Rgb atHud(double u, double v) const;
    bool empty() const { return pixels_.empty(); }
    bool save(const std::string& path) const;  // PNG, for looking at a failure
    // Number of pixels that differ in the rectangle.
    int differences(const Frame& other, int x0, int y0, int x1, int y1) const;
    // Number of pixels outside the rectangle with a channel more than `tolerance` levels away.
    int differencesOutside(const Frame& other, int tolerance, int x0, int y0, int x1, int y1) const;

    std::vector<std::uint8_t> pixels_;  // RGB rows
    int width_ = 0;
    int height_ = 0;
};

// A frame saved by Frame::save (empty when it cannot be read).
Frame loadFrame(const std::string& path);

// Captures the sight window as the X server shows it (empty when there is none).
Frame captureSightWindow();
// True when a 1000 x 1000 window is mapped on the screen.
bool sightWindowShown();
// Asks the sight window to close, as a window manager's close button does.
bool closeSightWindow();

}  // namespace sighttest
