#pragma once
// The application: starts the toolkit, runs the control dialog and ends the process when it
// returns. One process-wide instance, `theApp`.

#include "console/vkrsimdlg.h"

class CVKRsimApp {
public:
    CVKRsimApp() = default;
    CVKRsimApp(const CVKRsimApp&) = delete;
    CVKRsimApp& operator=(const CVKRsimApp&) = delete;

    // Runs the dialog with the given worker entries; always false: there is no message loop
    // after the dialog, the process exits. A termination signal ends the dialog like Cancel.
    bool InitInstance(int& argc, char** argv, console::WorkerEntries entries);

    // The termination signal that ended the dialog, 0 when the operator did.
    int terminationSignal() const { return m_nTerminationSignal; }

private:
    int m_nTerminationSignal = 0;
};

extern CVKRsimApp theApp;
