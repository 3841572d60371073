// orva-executionmanager --execution NAME [--init-ref REF]
// Announces one execution until SIGINT or SIGTERM, then withdraws the announcement and exits 0.

#include "middleware/configuration.h"
#include "middleware/exceptions.h"
#include "middleware/executionmanager.h"

#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace {

int usage(const char* why)
{
    std::cerr << "orva-executionmanager: " << why << "\n"
              << "usage: orva-executionmanager --execution NAME [--init-ref REF]\n";
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    std::optional<std::string> execution;
    std::string initRef;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--execution" || arg == "--init-ref") && i + 1 < argc) {
            (arg == "--execution" ? execution.emplace() : initRef) = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            usage("announces one range execution");
            return 0;
        } else {
            return usage(("unknown or incomplete option " + arg).c_str());
        }
    }
    if (!execution)
        return usage("--execution is required");

    // Signals are taken synchronously by sigwait below; block them before DDS starts its threads so
    // that none of those threads receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        int optionCount = 2;
        const char* options[] = {"-ORBdefaultInitRef", initRef.c_str(), nullptr};
        const ORVA::Middleware::Configuration configuration(optionCount, options, "orva-executionmanager", "");
        ORVA::Middleware::ExecutionManager manager(configuration, *execution);
        std::cout << "orva-executionmanager: announcing execution \"" << *execution << "\"" << std::endl;
        int signo = 0;
        sigwait(&stopSignals, &signo);
        std::cout << "orva-executionmanager: " << (signo == SIGINT ? "SIGINT" : "SIGTERM")
                  << ", withdrawing execution \"" << *execution << "\"" << std::endl;
    } catch (const ORVA::Middleware::Exception& e) {
        std::cerr << "orva-executionmanager: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
