#pragma once
// The Qt face of the message box service. A box belongs to the thread that asks for it: it has
// no owner window and is not modal, so the dialog and every other window stay usable while it is
// open; only the asking thread waits until the operator dismisses it. Qt widgets live on the GUI
// thread, so that thread shows the box on the asker's behalf.
//
// Closing the service (on the GUI thread, when the program ends) closes every open box and
// releases every thread waiting for one; boxes asked for afterwards go to standard error.

#include <string>
#include <vector>

namespace desktop {

// Routes showMessageBox to Qt boxes shown by the calling thread, which must be the GUI thread
// and must stay the same for every installation in the process.
void installQtMessageBoxes();
// Closes the open boxes, releases their askers and restores the standard-error fallback. GUI
// thread only.
void uninstallQtMessageBoxes();

// Installs for its lifetime.
class QtMessageBoxes {
public:
    QtMessageBoxes() { installQtMessageBoxes(); }
    ~QtMessageBoxes() { uninstallQtMessageBoxes(); }
    QtMessageBoxes(const QtMessageBoxes&) = delete;
    QtMessageBoxes& operator=(const QtMessageBoxes&) = delete;
};

// Texts of the boxes open now, oldest first (GUI thread; for tests and diagnostics).
std::vector<std::string> openMessageBoxTexts();

}  // namespace desktop
