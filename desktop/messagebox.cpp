#include "desktop/messagebox.h"

#include <atomic>
#include <cstdio>

namespace desktop {
namespace {
std::atomic<MessageBoxHandler> installedHandler{nullptr};
}

void writeMessageBoxToStderr(const MessageBoxRequest& request)
{
    // One write per box, so boxes from different threads do not interleave mid-line.
    std::string line = request.caption.empty() ? std::string("Message") : request.caption;
    line += ": ";
    line += request.text;
    if (line.empty() || line.back() != '\n')
        line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void showMessageBox(const std::string& text, const std::string& caption, MessageIcon icon, bool topMost)
{
    const MessageBoxRequest request{text, caption, icon, topMost};
    MessageBoxHandler handler = installedHandler.load(std::memory_order_acquire);
    (handler ? handler : writeMessageBoxToStderr)(request);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    return installedHandler.exchange(handler, std::memory_order_acq_rel);
}

}  // namespace desktop
