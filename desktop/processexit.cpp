#include "desktop/processexit.h"

#include <atomic>
#include <csignal>
#include <signal.h>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace desktop {
namespace {

constexpr int kMaxCleanups = 8;
// Slots filled once each, by compare-and-swap; a taken slot never changes again.
std::atomic<LeaveCleanup> cleanups[kMaxCleanups];
// Set by the one caller that runs each slot, so two leaving threads never run a cleanup twice.
std::atomic<bool> ran[kMaxCleanups];

void flushOutput()
{
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
}

}  // namespace

bool addLeaveCleanup(LeaveCleanup cleanup)
{
    for (auto& slot : cleanups) {
        LeaveCleanup expected = nullptr;
        if (slot.compare_exchange_strong(expected, cleanup, std::memory_order_acq_rel))
            return true;
        if (expected == cleanup)
            return true;
    }
    return false;
}

void runLeaveCleanups()
{
    for (int i = kMaxCleanups - 1; i >= 0; --i) {
        const LeaveCleanup cleanup = cleanups[i].load(std::memory_order_acquire);
        if (cleanup && !ran[i].exchange(true, std::memory_order_acq_rel))
            cleanup();
    }
}

void leaveProcess(int status)
{
    flushOutput();
    runLeaveCleanups();
    flushOutput();
    std::_Exit(status);
}

void leaveProcessBySignal(int signo)
{
    flushOutput();
    runLeaveCleanups();
    flushOutput();
    std::signal(signo, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signo);
    // The signal may be blocked in this thread (it was taken by a signal descriptor).
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    std::raise(signo);
    std::_Exit(128 + signo);
}

}  // namespace desktop
