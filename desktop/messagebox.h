#pragma once
// Message box service. Callable from any thread. With the dialog running, the box belongs to
// the caller: it has no owner window, the dialog stays usable, and only the caller blocks until
// the operator dismisses the box (or the program ends); with no dialog (tools, unit tests) the
// caption and text go to standard error and the call returns. Tests install a recorder in place
// of either.

#include <string>

namespace desktop {

enum class MessageIcon { None, Information, Warning, Error };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    bool topMost = false;  // keep the box above every other window
};

// Shows the box through the installed handler and returns when it has been dismissed.
void showMessageBox(const std::string& text, const std::string& caption,
                    MessageIcon icon = MessageIcon::None, bool topMost = false);

// A handler shows one box and returns when it is dismissed. A plain function, so that it can be
// swapped atomically without a lock while other threads call showMessageBox.
using MessageBoxHandler = void (*)(const MessageBoxRequest&);

// Installs `handler` (nullptr: the standard-error fallback) and returns the previous one.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// The fallback used when no dialog runs: "<caption>: <text>" on standard error.
void writeMessageBoxToStderr(const MessageBoxRequest& request);

}  // namespace desktop
