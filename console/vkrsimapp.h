#pragma once
// The application: starts the toolkit, runs the control dialog modally and ends the process
// when it returns. One process-wide instance, `theApp`.

#include "console/vkrsimdlg.h"

class CVKRsimApp {
public:
    CVKRsimApp() = default;
    CVKRsimApp(const CVKRsimApp&) = delete;
    CVKRsimApp& operator=(const CVKRsimApp&) = delete;

    // Runs the dialog with the given worker entries; always false: there is no message loop
    // after the dialog, the process exits.
    bool InitInstance(int& argc, char** argv, WorkerEntries entries);
};

extern CVKRsimApp theApp;
