// scenegen: the range's image generator. Follows a VKRsim object's view, renders the procedural
// terrain and the execution's Platforms offscreen, and sends each picture as one JPEG datagram
// of at most 32768 bytes to the sight's group, at a steady rate. Publishes a SceneGenerator
// object while it runs; SIGINT or SIGTERM (or the end of the duration) withdraws it.

#include "rangelink/configurationfile.h"
#include "rangelink/platformtracking.h"
#include "rangeprogram/stopsignals.h"
#include "sightview/scenesettings.h"
#include "tools/scenegen/jpegfit.h"
#include "tools/scenegen/options.h"
#include "tools/scenegen/rangepeer.h"
#include "tools/scenegen/renderer.h"
#include "tools/scenegen/scene.h"
#include "tools/scenegen/sender.h"
#include "tools/scenegen/terrain.h"
#include "tools/scenegen/timings.h"

#include <chrono>
#include <ctime>
#include <exception>
#include <iostream>
#include <memory>
#include <sys/stat.h>

using namespace scenegen;
using Clock = std::chrono::steady_clock;

namespace {

bool fileExists(const std::string& path)
{
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char* argv[])
{
    const auto parsed = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << kUsage;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "scenegen - " << parsed.error << "\n" << kUsage;
        return 2;
    }
    const Options& o = *parsed.options;

    // The same files, read by the same readers, as VKRsim's: same frame, same group.
    ConfigurationFile config;
    config.setFileName(o.configDir + "/config.txt");
    config.read();
    std::string group;
    if (o.group) {
        group = *o.group;
    } else {
        const std::string sceneFile = o.configDir + "/SceneGeneratorconfig.xml";
        if (fileExists(sceneFile)) {
            readSceneSettings(sceneFile);  // a malformed file ends the process as it ends the sight
            group = sceneSettings.multicastAddress;
        }
        if (group.empty()) {
            std::cerr << "scenegen - no group: give --group or a multicast_address in " << sceneFile << "\n" << kUsage;
            return 2;
        }
    }

    // Stop signals are taken between pictures; blocked before any thread starts.
    const rangeprogram::StopSignals stopSignals;

    std::unique_ptr<DatagramSender> sender;
    std::unique_ptr<Scene> scene;
    std::unique_ptr<Renderer> renderer;
    try {
        sender = std::make_unique<DatagramSender>(group, o.port);
        scene = std::make_unique<Scene>(o.terrainSeed, config.getLtpAzimuth(), config.getLtpHeightOffset());
        renderer = std::make_unique<Renderer>(o.width, o.height, scene->root());
    } catch (const std::exception& e) {
        std::cerr << "scenegen - " << e.what() << std::endl;
        return 1;
    }

    std::unique_ptr<RangePeer> peer;
    try {
        const SceneGeneratorIdentity identity{
            sender->endPoint(), terrainDescription(o.terrainSeed, config.getLtpLatitude(), config.getLtpLongitude(),
                                                   config.getLtpHeightOffset(), config.getLtpAzimuth())};
        peer = std::make_unique<RangePeer>(o.execution, o.initRef, rangelink::setUpFrame(config), identity, o.vkrsim);
    } catch (const std::exception& e) {
        std::cerr << "scenegen - cannot join execution \"" << o.execution << "\": " << e.what() << std::endl;
        return 1;
    }
    std::cerr << "scenegen - sending " << o.width << "x" << o.height << " pictures at " << o.rateHz << "/s to "
              << sender->endPoint() << " for execution \"" << o.execution << "\"" << std::endl;

    JpegFitter fitter;
    Timings renderTimes, encodeTimes;
    View view = initialView();
    std::string followed, lastFault, lastSendError;
    int loggedQuality = -1, loggedWidth = -1;
    std::uint64_t pictures = 0;
    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / o.rateHz));
    const auto start = Clock::now();
    const auto end = o.durationSeconds ? start + std::chrono::duration_cast<Clock::duration>(
                                                     std::chrono::duration<double>(*o.durationSeconds))
                                       : Clock::time_point::max();
    auto next = start;
    bool stopped = false;
    try {
        while (!stopped) {
            // Until the picture is due, run the range's callbacks as they come.
            for (auto now = Clock::now(); !stopped && now < next; now = Clock::now()) {
                const auto slice = std::min<Clock::duration>(next - now, std::chrono::milliseconds(20));
                peer->pump(std::chrono::duration_cast<std::chrono::microseconds>(slice));
                stopped = stopSignals.poll() != 0;
            }
            if (stopped || stopSignals.poll() || Clock::now() >= end)
                break;
            // Paced, never in bursts: a picture up to one period late is made up at once, one
            // later than that moves the schedule instead of being caught up.
            next += period;
            if (next + period < Clock::now())
                next = Clock::now();

            for (const std::string& id : peer->takeDestroyed())
                if (id == followed)
                    std::cerr << "scenegen - VKRsim " << id << " withdrawn; keeping its last view" << std::endl;
            std::string id;
            if (const auto values = peer->followedView(id)) {
                if (id != followed) {
                    std::cerr << "scenegen - following VKRsim " << id << std::endl;
                    followed = id;
                    lastFault.clear();
                }
                const ViewResult r = viewFrom(*values);
                if (r.view) {
                    view = *r.view;
                    lastFault.clear();
                } else if (r.fault != lastFault) {
                    std::cerr << "scenegen - kept the last good view: VKRsim " << id << ": " << r.fault << std::endl;
                    lastFault = r.fault;
                }
            }
            scene->setPlatforms(peer->platformPoses(), view.eye);

            const auto t0 = Clock::now();
            const osg::Image& picture = renderer->render(view);
            const auto t1 = Clock::now();
            const JpegFitter::Result encoded = fitter.encode(picture.data(), picture.s(), picture.t(), true);
            const auto t2 = Clock::now();
            renderTimes.add(ms(t1 - t0));
            encodeTimes.add(ms(t2 - t1));
            if (!encoded.ok) {
                std::cerr << "scenegen - dropped a picture: " << fitter.error() << std::endl;
                continue;
            }
            if (encoded.quality != loggedQuality || encoded.width != loggedWidth) {
                std::cerr << "scenegen - JPEG quality " << encoded.quality << " at " << encoded.width << "x"
                          << encoded.height << " (" << fitter.jpeg().size() << " bytes)" << std::endl;
                loggedQuality = encoded.quality;
                loggedWidth = encoded.width;
            }
            if (sender->send(fitter.jpeg().data(), fitter.jpeg().size())) {
                ++pictures;
                lastSendError.clear();
                peer->announceFeed();
            } else if (sender->error() != lastSendError) {
                std::cerr << "scenegen - send to " << sender->endPoint() << " failed: " << sender->error() << std::endl;
                lastSendError = sender->error();
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "scenegen - " << e.what() << std::endl;
        return 1;
    }

    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::cerr << "scenegen - sent " << pictures << " pictures in " << seconds << " s; per picture median render+read-back "
              << renderTimes.median() << " ms, encode " << encodeTimes.median() << " ms" << std::endl;
    peer.reset();
    std::cerr << "scenegen - withdrew its SceneGenerator object" << std::endl;
    return 0;
}
