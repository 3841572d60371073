#pragma once
// Starts a worker thread entry on the process-wide ACE thread manager and knows, without a
// lock, whether the thread it started last is still inside its entry. One launcher per kind of
// worker; it lives as long as the process, because its threads may outlive any dialog.

#include <ace/Thread_Manager.h>

#include <atomic>

namespace console {

class WorkerLauncher {
public:
    WorkerLauncher() = default;
    WorkerLauncher(const WorkerLauncher&) = delete;
    WorkerLauncher& operator=(const WorkerLauncher&) = delete;

    enum class Result { Started, AlreadyRunning, Failed };

    // Spawns `entry(arg)` unless a thread of this launcher is still running: creation flags 0,
    // no id or handle kept, priority 0, group -1, no stack, stack size 0.
    Result spawn(ACE_THR_FUNC entry, void* arg);

    // True from a successful spawn until the entry has returned.
    bool running() const { return running_.load(std::memory_order_acquire); }

private:
    static ACE_THR_FUNC_RETURN run(void* self);

    std::atomic<bool> running_{false};
    std::atomic<ACE_THR_FUNC> entry_{nullptr};
    std::atomic<void*> arg_{nullptr};
};

// The two workers of the dialog: render thread (Start VKR) and session thread (Join ORVA).
WorkerLauncher& renderLauncher();
WorkerLauncher& sessionLauncher();

}  // namespace console
