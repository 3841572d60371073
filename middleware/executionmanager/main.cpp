// orva-executionmanager --execution NAME [--init-ref REF]
// Announces one execution until SIGINT or SIGTERM, then withdraws the announcement and exits 0.

#include "middleware/configuration.h"
#include "middleware/exceptions.h"
#include "middleware/executionmanager.h"
#include "rangeprogram/middlewareoptions.h"
#include "rangeprogram/rangeoptions.h"
#include "rangeprogram/stopsignals.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kUsage = "usage: orva-executionmanager --execution NAME [--init-ref REF]\n";

}  // namespace

int main(int argc, char* argv[])
{
    const rangeprogram::CommandLine line =
        rangeprogram::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        std::cout << "orva-executionmanager: announces one range execution\n" << kUsage;
        return 0;
    }
    // The manager runs until it is stopped: a duration is no option of its own.
    const std::string error = !line.error.empty()          ? line.error
                              : line.range.durationSeconds ? std::string("unknown argument \"--duration\"")
                                                           : std::string();
    if (!error.empty()) {
        std::cerr << "orva-executionmanager: " << error << "\n" << kUsage;
        return 2;
    }
    const std::string& execution = line.range.execution;

    // Taken by wait() below; blocked before the middleware starts its threads.
    const rangeprogram::StopSignals stopSignals;
    try {
        rangeprogram::MiddlewareOptions options(line.range.initRef, execution, "orva-executionmanager");
        const ORVA::Middleware::Configuration configuration(options.argc(), options.argv(), "orva-executionmanager",
                                                            "");
        ORVA::Middleware::ExecutionManager manager(configuration, execution);
        std::cout << "orva-executionmanager: announcing execution \"" << execution << "\"" << std::endl;
        const int signo = stopSignals.wait();
        std::cout << "orva-executionmanager: " << rangeprogram::StopSignals::name(signo)
                  << ", withdrawing execution \"" << execution << "\"" << std::endl;
    } catch (const ORVA::Middleware::Exception& e) {
        std::cerr << "orva-executionmanager: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
