// rangemon: the operator's window onto a range execution. Joins the execution, subscribes to
// every object class of the platform and mission models through their basic implementations,
// and lets the callbacks log on standard output until the time is up or SIGINT or SIGTERM
// arrives. Diagnostics of its own go to standard error.

#include "tools/rangemon/monitor.h"
#include "tools/rangemon/options.h"

#include <exception>
#include <iostream>
#include <memory>

namespace {

// Copied at static initialisation so that both libraries load with the program.
[[maybe_unused]] volatile std::int32_t platformBasicLink = basicImpl_ORVA_Platform_v3_1_forceThisLibraryToBeLinked;
[[maybe_unused]] volatile std::int32_t missionBasicLink = basicImpl_HALC_VKRsim_v4_forceThisLibraryToBeLinked;

}  // namespace

int main(int argc, char** argv)
{
    const rangemon::ParseResult parsed = rangemon::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::cout << rangemon::usageText << std::endl;
        return 0;
    }
    if (!parsed.options) {
        std::cerr << "rangemon - " << parsed.error << '\n' << rangemon::usageText << std::endl;
        return 2;
    }
    const rangemon::Options& options = *parsed.options;
    // Before the middleware starts its threads, so that none of them takes a stop signal.
    const rangeprogram::StopSignals stopSignals;

    std::unique_ptr<rangemon::Monitor> monitor;
    try {
        monitor = std::make_unique<rangemon::Monitor>(options.execution, options.initRef);
        monitor->subscribeAll(std::cout, options.verbosity);
    } catch (const std::exception& e) {
        std::cerr << "rangemon - cannot join execution \"" << options.execution << "\": " << e.what() << std::endl;
        return 1;
    }
    std::cerr << "rangemon - monitoring execution \"" << options.execution << "\"" << std::endl;

    try {
        std::optional<std::chrono::duration<double>> duration;
        if (options.durationSeconds)
            duration = std::chrono::duration<double>(*options.durationSeconds);
        monitor->run(stopSignals, duration);
    } catch (const std::exception& e) {
        std::cerr << "rangemon - callback failed: " << e.what() << std::endl;
        return 1;
    }
    // Leaving the execution (the monitor's release) happens before the exit status is given.
    monitor.reset();
    return 0;
}
