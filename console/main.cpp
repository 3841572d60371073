// VKRsim: the operator console of the sight emulator.

#include "console/vkrsimapp.h"
#include "console/workerlauncher.h"
#include "rangelink/sessionthread.h"
#include "sightview/sightviewthread.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

int main(int argc, char** argv)
{
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
