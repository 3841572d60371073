// uutsim: publishes simulated units under test as Platform objects moving on circles around a
// point, updated at a fixed rate, until the duration ends or SIGINT/SIGTERM; then withdraws them
// in order of creation.

#include "middleware/middleware.h"
#include "models/localclasses/localtangentplane.h"
#include "models/platform/platform.h"
#include "rangeprogram/middlewareoptions.h"
#include "rangeprogram/stopsignals.h"
#include "tools/uutsim/options.h"
#include "tools/uutsim/track.h"

#include <chrono>
#include <iostream>
#include <vector>

using namespace ORVA;
using Middleware::SmartPtr;
using Clock = std::chrono::steady_clock;

namespace {

void publish(Platform::Servant& servant, const SmartPtr<SpatialReferenceFrame::Interface>& frame, int index,
             double seconds)
{
    const uutsim::Pose pose = uutsim::poseAt(index, seconds);
    auto updater = servant.createUpdater();
    updater->set_timeStamp(Time::Interface::now());
    updater->set_tspi(TSPI::Interface::createIn(frame, pose.position, pose.orientation, pose.velocity));
    servant.commitUpdater(std::move(updater));
}

}  // namespace

int main(int argc, char* argv[])
{
    const auto parsed = uutsim::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << uutsim::kUsage;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "uutsim: " << parsed.error << "\n" << uutsim::kUsage;
        return 2;
    }
    const uutsim::Options& o = *parsed.options;

    // Stop signals are taken between updates; blocked before the middleware starts its threads.
    const rangeprogram::StopSignals stopSignals;

    try {
        rangeprogram::MiddlewareOptions options(o.initRef, o.execution, "uutsim");
        auto runtime = Middleware::init(Middleware::Configuration(options.argc(), options.argv(), "uutsim", ""));
        auto execution = runtime->enterExecution(o.execution);
        auto session = execution->openSession("uutsim");

        auto frame = LocalTangentPlaneENUspatialReferenceFrame::Interface::create();
        frame->set_ellipsoid(0);
        frame->set_latitude(o.latitude);
        frame->set_longitude(o.longitude);
        frame->set_heightOffset(o.altitude);

        auto info = SmartPtr<Platform::PublicationInfo>(new Platform::PublicationInfo(
            SmartPtr<Platform::RemoteMethodsFactoryInterface>(new Platform::RemoteMethodsFactoryInterface())));
        auto factory = session->makeServantFactory<Platform::ServantTraits>(info);
        std::vector<Middleware::ManagedPtr<Platform::Servant>> servants;
        for (int i = 0; i < o.count; ++i) {
            auto servant = factory->createServant(Middleware::CommunicationProperties(1),
                                                  Middleware::ConcurrencyProperties(1));
            auto updater = servant->createUpdater();
            updater->set_platformID(UniqueID::Interface::create(1, 1, static_cast<std::uint32_t>(i + 1)));
            updater->set_callSign("UUT" + std::to_string(i + 1));
            updater->set_designator("SIM" + std::to_string(i + 1));
            updater->set_platformType(PlatformType::Interface::create(1, 1));
            updater->set_affiliation(Affiliation::Friend);
            // On its track from the first commit, never at the default (the earth's centre).
            const uutsim::Pose pose = uutsim::poseAt(i, 0.0);
            updater->set_timeStamp(Time::Interface::now());
            updater->set_tspi(TSPI::Interface::createIn(frame, pose.position, pose.orientation, pose.velocity));
            servant->commitUpdater(std::move(updater));
            servants.push_back(servant);
        }
        std::cout << "uutsim: publishing " << o.count << " Platform objects in execution \"" << o.execution
                  << "\" at " << o.rateHz << " Hz" << std::endl;

        const auto start = Clock::now();
        const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / o.rateHz));
        const auto end = o.durationSeconds
                             ? start + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(*o.durationSeconds))
                             : Clock::time_point::max();
        bool stopped = false;
        for (auto tick = start; !stopped && tick <= end; tick += period) {
            if (stopSignals.waitUntil(tick)) {
                stopped = true;
                break;
            }
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            for (int i = 0; i < o.count; ++i)
                publish(*servants[static_cast<std::size_t>(i)], frame, i, seconds);
        }
        if (!stopped && end != Clock::time_point::max())
            stopped = stopSignals.waitUntil(end) != 0;
        for (std::size_t i = 0; i < servants.size(); ++i) {
            servants[i].reset();
            std::cout << "uutsim: withdrew UUT" << i + 1 << std::endl;
        }
    } catch (const Middleware::Exception& e) {
        std::cerr << "uutsim: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
