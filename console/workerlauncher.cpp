#include "console/workerlauncher.h"

namespace console {

WorkerLauncher::Result WorkerLauncher::spawn(ACE_THR_FUNC entry, void* arg)
{
    if (running_.exchange(true, std::memory_order_acq_rel))
        return Result::AlreadyRunning;
    // Read only by the thread spawned next, and only one runs at a time.
    entry_.store(entry, std::memory_order_relaxed);
    arg_.store(arg, std::memory_order_relaxed);
    const int result = ACE_Thread_Manager::instance()->spawn(&WorkerLauncher::run, this, 0, nullptr,
                                                             nullptr, 0, -1, nullptr, 0);
    if (result == -1) {
        running_.store(false, std::memory_order_release);
        return Result::Failed;
    }
    return Result::Started;
}

ACE_THR_FUNC_RETURN WorkerLauncher::run(void* self)
{
    auto* launcher = static_cast<WorkerLauncher*>(self);
    const ACE_THR_FUNC entry = launcher->entry_.load(std::memory_order_relaxed);
    entry(launcher->arg_.load(std::memory_order_relaxed));
    launcher->running_.store(false, std::memory_order_release);
    return 0;
}

WorkerLauncher& renderLauncher()
{
    static WorkerLauncher launcher;
    return launcher;
}

WorkerLauncher& sessionLauncher()
{
    static WorkerLauncher launcher;
    return launcher;
}

}  // namespace console
