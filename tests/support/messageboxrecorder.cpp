#include "support/messageboxrecorder.h"

#include <mutex>

namespace vkrsim::test {
namespace {
std::mutex recordMutex;
std::vector<desktop::MessageBoxRequest> recorded;

void record(const desktop::MessageBoxRequest& request)
{
    std::lock_guard<std::mutex> lock(recordMutex);
    recorded.push_back(request);
}
}  // namespace

MessageBoxRecorder::MessageBoxRecorder()
{
    {
        std::lock_guard<std::mutex> lock(recordMutex);
        recorded.clear();
    }
    previous_ = desktop::setMessageBoxHandler(&record);
}

MessageBoxRecorder::~MessageBoxRecorder() { desktop::setMessageBoxHandler(previous_); }

std::vector<desktop::MessageBoxRequest> MessageBoxRecorder::boxes() const
{
    std::lock_guard<std::mutex> lock(recordMutex);
    return recorded;
}

}  // namespace vkrsim::test
