// VKRsim: the operator console of the sight emulator.

#include "console/terminationsignals.h"
#include "console/vkrsimapp.h"
#include "console/workerlauncher.h"
#include "desktop/processexit.h"
#include "rangelink/sessionthread.h"
#include "sightview/exchangedirectory.h"
#include "sightview/sightviewthread.h"

#include <cstring>
#include <iostream>

using namespace console;

namespace {

const char* const kUsage =
    "usage: VKRsim [--help] [Qt options such as -platform NAME]\n"
    "Operator console of the sight unit: Start VKR opens the sight window, Join ORVA joins the\n"
    "range execution. Reads config.txt and SceneGeneratorconfig.xml from the working directory;\n"
    "overlay pictures and the clock font come from the scene file's model paths, then from the\n"
    "installation data folder (share/vkrsim beside the program's bin folder).\n";

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
    }
    // First, while this is the only thread: every later thread inherits the mask.
    blockTerminationSignals();
    // Exchange directories of earlier runs that were killed outright.
    sightview::removeStaleExchangeDirectories();

    theApp.InitInstance(argc, argv, WorkerEntries{&sightViewThread, &sessionThread});

    // Every way out removes the exchange directory: a normal return through its destructor, the
    // others through the leave cleanups. A termination signal ends the process by that signal.
    if (const int signo = theApp.terminationSignal())
        desktop::leaveProcessBySignal(signo);
    // Worker threads still running end with the process. Static destructors must not run under
    // them (the render thread's scene-graph objects, the session's middleware), so leave at once,
    // with the console output flushed.
    if (renderLauncher().running() || sessionLauncher().running())
        desktop::leaveProcess(0);
    return 0;
}
