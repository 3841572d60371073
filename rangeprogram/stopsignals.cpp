#include "rangeprogram/stopsignals.h"

#include <cerrno>
#include <ctime>
#include <pthread.h>

namespace rangeprogram {

StopSignals::StopSignals()
{
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set_, &previous_);
}

StopSignals::~StopSignals() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

int StopSignals::waitUntil(Clock::time_point until) const
{
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(until - Clock::now());
        const long long ns = left.count() > 0 ? left.count() : 0;
        const timespec timeout{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        const int signo = sigtimedwait(&set_, nullptr, &timeout);
        if (signo > 0)
            return signo;
        // EINTR: another signal's handler ran; wait on for what is left.
        if (errno != EINTR || ns == 0)
            return 0;
    }
}

int StopSignals::wait() const
{
    int signo = 0;
    while (sigwait(&set_, &signo) != 0) {
    }
    return signo;
}

int StopSignals::poll() const { return waitUntil(Clock::now()); }

const char* StopSignals::name(int signo) { return signo == SIGINT ? "SIGINT" : signo == SIGTERM ? "SIGTERM" : "signal"; }

}  // namespace rangeprogram
