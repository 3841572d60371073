#pragma once
// Replaces the message box service while it lives: every box is recorded and dismissed at once.

#include "desktop/messagebox.h"

#include <vector>

namespace vkrsim::test {

class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // A copy of the boxes shown so far, in order (safe while other threads show boxes).
    std::vector<desktop::MessageBoxRequest> boxes() const;

private:
    desktop::MessageBoxHandler previous_;
};

}  // namespace vkrsim::test
