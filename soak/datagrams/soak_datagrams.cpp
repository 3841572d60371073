// Hostile datagrams at the sight view while it draws: the real render thread (window, overlay,
// per-frame join) in this process, one datagram sent into each receive cycle, good pictures mixed
// with random bytes, truncated and bit-flipped JPEGs, a header claiming 65535 x 65535, progressive
// and CMYK JPEGs, empty datagrams and ones of exactly 32768 and 32769 bytes. Checked: the view
// keeps drawing, every good picture is shown, resident memory and descriptors stay flat. A last
// part runs under a file-size limit that cuts the exchange file short: no picture may be shown
// from a half-written file.
// Run by hand inside the private network with a display:
//   scripts/isolated scripts/with-display build/bin/soak_datagrams [COUNT]

#include "bench/support/benchtools.h"
#include "soak/support/procstat.h"
#include "sightview/sightviewthread.h"
#include "sightview/snapimage.h"
#include "stateblock/stateblock.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <turbojpeg.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Bytes = std::vector<unsigned char>;

namespace {

const char* const kGroup = "239.255.42.71";

// A test picture: gradients and a moving bar, so no two are alike.
Bytes encode(int width, int height, int seed, int pixelFormat, int subsampling, int flags, int quality = 80)
{
    const int channels = tjPixelSize[pixelFormat];
    Bytes pixels(static_cast<std::size_t>(width) * height * channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c)
                pixels[(static_cast<std::size_t>(y) * width + x) * channels + c] =
                    static_cast<unsigned char>((x * (c + 1) / 5 + y * (3 - c) / 5 + seed * 7 + ((x + seed * 9) % 97 < 12 ? 90 : 0)) & 255);
    tjhandle h = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int rc = tjCompress2(h, pixels.data(), width, 0, height, pixelFormat, &out, &size, subsampling, quality, flags);
    Bytes jpeg;
    if (rc == 0)
        jpeg.assign(out, out + size);
    tjFree(out);
    tjDestroy(h);
    return jpeg;
}

// The picture with its frame header claiming `width` x `height`.
Bytes claimSize(Bytes jpeg, int width, int height)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            break;
        }
    }
    return jpeg;
}

class Sender {
public:
    Sender()
    {
        socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const unsigned char ttl = 1;
        ::setsockopt(socket_, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl);
        const int buffer = 1 << 20;
        ::setsockopt(socket_, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
        to_.sin_family = AF_INET;
        to_.sin_port = htons(sightview::kFeedPort);
        ::inet_pton(AF_INET, kGroup, &to_.sin_addr);
    }
    ~Sender() { ::close(socket_); }
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;
    bool send(const Bytes& b)
    {
        return ::sendto(socket_, b.data(), b.size(), 0, reinterpret_cast<const sockaddr*>(&to_), sizeof to_) ==
               static_cast<ssize_t>(b.size());
    }

private:
    int socket_ = -1;
    sockaddr_in to_{};
};

struct Outcome {
    std::uint64_t shown = 0, undecodable = 0, refused = 0;
};

Outcome snapshot()
{
    auto& s = sightview::feedStatistics();
    return {s.picturesShown.load(), s.undecodable.load(), s.failedReceives.load()};
}

// Waits for the drawing thread to begin a receive cycle after `cycles` and to reach its wait.
bool awaitCycleAfter(std::uint64_t cycles, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (sightview::feedStatistics().cycles.load() <= cycles) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(200us);
    }
    std::this_thread::sleep_for(3ms);  // join and reach recv (about 0.03 ms)
    return true;
}

struct Kind {
    std::string name;
    bool good;  // a picture the view must show
    long sent = 0, shown = 0, undecodable = 0, refused = 0, lost = 0;
    double slowestMs = 0;  // from sending to the next receive cycle
};

}  // namespace

int main(int argc, char** argv)
{
    const long count = argc > 1 ? std::atol(argv[1]) : 10000;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "soak_datagrams: needs an X display\n");
        return 1;
    }
    char pattern[] = "/tmp/soak-datagrams-XXXXXX";
    if (!::mkdtemp(pattern) || ::chdir(pattern) != 0) {
        std::perror("soak_datagrams");
        return 1;
    }
    const std::string dir = pattern;
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    std::ofstream("SceneGeneratorconfig.xml") << "<MGXML><multicast_address>" << kGroup
                                              << "</multicast_address><modelpath><path>" << VKRSIM_DATA_DIR
                                              << "</path></modelpath></MGXML>\n";

    // The pictures.
    std::vector<Bytes> good;
    for (int i = 0; i < 16; ++i)
        good.push_back(encode(640, 480, i, TJPF_RGB, TJSAMP_420, 0, 60));
    const Bytes progressive = encode(640, 480, 3, TJPF_RGB, TJSAMP_420, TJFLAG_PROGRESSIVE, 60);
    const Bytes cmyk = encode(320, 240, 5, TJPF_CMYK, TJSAMP_444, 0, 60);
    const Bytes huge = claimSize(good[0], 65535, 65535);
    Bytes exact = encode(640, 480, 7, TJPF_RGB, TJSAMP_420, 0, 60);
    std::size_t largest = 0;
    for (const auto& g : good)
        largest = std::max(largest, g.size());
    if (largest > 32768 || exact.size() > 32768 || progressive.size() > 32768 || cmyk.empty()) {
        std::fprintf(stderr, "soak_datagrams: test pictures could not be made (largest %zu bytes)\n", largest);
        return 1;
    }
    std::printf("soak_datagrams: good pictures of %zu bytes at most, progressive %zu, CMYK %zu\n", largest,
                progressive.size(), cmyk.size());
    exact.resize(32768, 0);  // a complete JPEG, padded after its end marker
    Bytes over = exact;
    over.push_back(0);

    std::vector<Kind> kinds = {{"good", true},         {"progressive", true},   {"exactly 32768 bytes", true},
                               {"random bytes", false}, {"truncated JPEG", false}, {"bit-flipped JPEG", false},
                               {"65535 x 65535 header", false}, {"CMYK JPEG", false}, {"empty", false},
                               {"32769 bytes", false}};

    stateBlock.stopRender = false;
    std::atomic<bool> sightDone{false};
    std::thread sight([&] {
        sightViewThread(nullptr);
        sightDone = true;
    });
    if (!awaitCycleAfter(0, 30s)) {
        std::fprintf(stderr, "soak_datagrams: the sight view began no receive cycle\n");
        stateBlock.stopRender = true;
        sight.join();
        return 1;
    }
    Sender sender;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    auto filler = [&] { sender.send(good[random() % good.size()]); };

    // Warm up: the pixel buffers, the texture, the plugin's first read.
    for (int i = 0; i < 50; ++i) {
        const auto c = sightview::feedStatistics().cycles.load();
        filler();
        awaitCycleAfter(c, 2s);
    }
    const auto before = soak::processFigures();
    soak::ProcessFigures tenth{};
    const auto begin = bench::monotonicNs();
    long stalls = 0;

    auto one = [&](Kind& kind, const Bytes& datagram) {
        const auto cycle = sightview::feedStatistics().cycles.load();
        const Outcome o0 = snapshot();
        ++kind.sent;
        const auto sentAt = bench::monotonicNs();
        sender.send(datagram);
        const bool taken = awaitCycleAfter(cycle, 2s);
        kind.slowestMs = std::max(kind.slowestMs, static_cast<double>(bench::monotonicNs() - sentAt) / 1e6);
        if (!taken) {
            // Nothing taken (the datagram came before the join, or went nowhere): a good picture
            // starts the next cycle; the view is stuck only if that does not help either.
            ++kind.lost;
            ++stalls;
            const auto c = sightview::feedStatistics().cycles.load();
            filler();
            if (!awaitCycleAfter(c, 5s)) {
                std::fprintf(stderr, "soak_datagrams: the view stopped drawing after %ld datagrams\n", kind.sent);
                return false;
            }
            return true;
        }
        const Outcome o1 = snapshot();
        kind.shown += static_cast<long>(o1.shown - o0.shown);
        kind.undecodable += static_cast<long>(o1.undecodable - o0.undecodable);
        kind.refused += static_cast<long>(o1.refused - o0.refused);
        return true;
    };

    bool drawing = true;
    for (long i = 0; i < count && drawing; ++i) {
        const int pick = static_cast<int>(random() % 20);
        Bytes d;
        Kind* k = nullptr;
        if (pick < 7) {
            k = &kinds[0];
            d = good[random() % good.size()];
        } else if (pick == 7) {
            k = &kinds[1];
            d = progressive;
        } else if (pick == 8) {
            k = &kinds[2];
            d = exact;
        } else if (pick <= 10) {
            k = &kinds[3];
            d.resize(1 + random() % 32768);
            for (auto& b : d)
                b = static_cast<unsigned char>(byte(random));
            if (random() % 2 && d.size() > 4) {  // some start like a JPEG
                d[0] = 0xFF, d[1] = 0xD8, d[2] = 0xFF, d[3] = 0xDB;
            }
        } else if (pick <= 12) {
            k = &kinds[4];
            d = good[random() % good.size()];
            d.resize(1 + random() % (d.size() - 1));
        } else if (pick <= 14) {
            k = &kinds[5];
            d = good[random() % good.size()];
            for (int f = 0, n = 1 + static_cast<int>(random() % 16); f < n; ++f)
                d[random() % d.size()] ^= static_cast<unsigned char>(1u << (random() % 8));
        } else if (pick == 15) {
            k = &kinds[6];
            d = huge;
        } else if (pick == 16) {
            k = &kinds[7];
            d = cmyk;
        } else if (pick == 17) {
            k = &kinds[8];
        } else {
            k = &kinds[9];
            d = over;
        }
        drawing = one(*k, d);
        if (i + 1 == count / 10)
            tenth = soak::processFigures();
    }
    const double seconds = static_cast<double>(bench::monotonicNs() - begin) / 1e9;
    const auto after = soak::processFigures();

    // A file-size limit cuts the exchange file short: the encoder's write fails half-way.
    long limitedSent = 0, limitedShown = 0;
    if (drawing) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        for (int i = 0; i < 100 && drawing; ++i) {
            const auto cycle = sightview::feedStatistics().cycles.load();
            const auto shown0 = sightview::feedStatistics().picturesShown.load();
            sender.send(good[static_cast<std::size_t>(i) % good.size()]);
            ++limitedSent;
            if (!awaitCycleAfter(cycle, 2s)) {  // taken by no cycle: a second one goes after it
                const auto c = sightview::feedStatistics().cycles.load();
                sender.send(good[static_cast<std::size_t>(i + 1) % good.size()]);
                ++limitedSent;
                drawing = awaitCycleAfter(c, 5s);
            }
            limitedShown += static_cast<long>(sightview::feedStatistics().picturesShown.load() - shown0);
        }
        limit.rlim_cur = RLIM_INFINITY;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }

    stateBlock.stopRender = true;
    {
        // The cycle waits for a datagram: one more lets it finish.
        const auto end = std::chrono::steady_clock::now() + 10s;
        std::thread nudge([&] {
            while (std::chrono::steady_clock::now() < end && !sightDone)
                filler(), std::this_thread::sleep_for(50ms);
        });
        sight.join();
        nudge.join();
    }

    std::printf("soak_datagrams: %ld datagrams in %.0f s (%.1f/s), one per receive cycle; %ld not taken by a cycle "
                "and followed by a good picture\n",
                count, seconds, static_cast<double>(count) / seconds, stalls);
    std::printf("  %-22s %6s %6s %6s %6s %6s %9s\n", "kind", "sent", "shown", "undec", "refused", "lost", "slowest");
    bool allShown = true;
    for (const auto& k : kinds) {
        std::printf("  %-22s %6ld %6ld %6ld %6ld %6ld %6.0f ms\n", k.name.c_str(), k.sent, k.shown, k.undecodable,
                    k.refused, k.lost, k.slowestMs);
        if (k.good && k.shown != k.sent - k.lost)
            allShown = false;
    }
    std::printf("  resident memory: %.1f MB after warm-up, %.1f MB after a tenth, %.1f MB at the end; threads %d -> %d; "
                "descriptors %d -> %d\n",
                before.rssKb / 1024.0, tenth.rssKb / 1024.0, after.rssKb / 1024.0, before.threads, after.threads,
                before.fds, after.fds);
    std::printf("  under a 4096-byte file-size limit: %ld good pictures sent, %ld shown (from a cut exchange file)\n",
                limitedSent, limitedShown);
    std::printf("  view drawing to the end: %s; every good picture taken was shown: %s\n", drawing ? "yes" : "NO",
                allShown ? "yes" : "NO");
    std::system(("rm -rf '" + dir + "'").c_str());
    return drawing && allShown && limitedShown == 0 ? 0 : 1;
}
