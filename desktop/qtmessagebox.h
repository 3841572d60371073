#pragma once
// The Qt face of the message box service: boxes are shown modally on the thread that owns
// `dialogThreadObject` (the dialog thread), and callers on other threads block until dismissed.

class QObject;

namespace desktop {

// Routes showMessageBox to Qt message boxes on the thread of `dialogThreadObject`. The object
// must outlive the installation; uninstallQtMessageBoxes restores the standard-error fallback.
void installQtMessageBoxes(QObject* dialogThreadObject);
void uninstallQtMessageBoxes();

}  // namespace desktop
