// VKRsim: the operator console of the sight emulator.

#include "console/vkrsimapp.h"
#include "console/workerlauncher.h"
#include "rangelink/sessionthread.h"
#include "sightview/sightviewthread.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

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
    theApp.InitInstance(argc, argv, WorkerEntries{&sightViewThread, &sessionThread});
    // Worker threads still running end with the process. Static destructors must not run under
    // them (the render thread's scene-graph objects, the session's middleware), so leave at once,
    // with the console output flushed.
    if (renderLauncher().running() || sessionLauncher().running()) {
        std::cout.flush();
        std::fflush(nullptr);
        std::_Exit(0);
    }
    return 0;
}
