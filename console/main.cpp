// VKRsim: the operator console of the sight emulator.

#include "console/vkrsimapp.h"
#include "rangelink/sessionthread.h"
#include "sightview/sightviewthread.h"

int main(int argc, char** argv)
{
    theApp.InitInstance(argc, argv, WorkerEntries{&sightViewThread, &sessionThread});
    return 0;
}
