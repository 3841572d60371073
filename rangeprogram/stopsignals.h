#pragma once
// SIGINT and SIGTERM end a range program the same way everywhere: they are blocked in every thread
// and taken synchronously where the program chooses, so the program withdraws its objects and
// leaves the execution in order, whatever thread the signal was sent to.

#include <chrono>
#include <csignal>

namespace rangeprogram {

class StopSignals {
public:
    using Clock = std::chrono::steady_clock;

    // Blocks SIGINT and SIGTERM for the calling thread and every thread it starts afterwards:
    // make it first in main, before the middleware starts its threads.
    StopSignals();
    // Unblocks them again; a signal still pending is then delivered as usual.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Waits until `until` unless a stop signal comes first: the signal's number, or 0.
    int waitUntil(Clock::time_point until) const;
    // Waits for a stop signal, without limit: its number.
    int wait() const;
    // A stop signal already pending, taken now: its number, or 0.
    int poll() const;

    static const char* name(int signo);

private:
    sigset_t set_{};
    sigset_t previous_{};
};

}  // namespace rangeprogram
