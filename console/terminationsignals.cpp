#include "console/terminationsignals.h"

#include <QSocketNotifier>

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <iostream>

namespace console {

namespace {

sigset_t terminationSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void blockTerminationSignals()
{
    const sigset_t set = terminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TerminationSignalWatcher::TerminationSignalWatcher(std::function<void()> onSignal)
    : m_onSignal(std::move(onSignal))
{
    const sigset_t set = terminationSignals();
    m_fd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_fd == -1) {
        std::cerr << "TerminationSignalWatcher - signalfd failed; signals end the program at once" << std::endl;
        return;
    }
    m_pNotifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_pNotifier.get(), &QSocketNotifier::activated, this, &TerminationSignalWatcher::takeSignal);
}

TerminationSignalWatcher::~TerminationSignalWatcher()
{
    m_pNotifier.reset();
    if (m_fd != -1)
        ::close(m_fd);
}

void TerminationSignalWatcher::takeSignal()
{
    signalfd_siginfo info{};
    while (::read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        m_nSignal = static_cast<int>(info.ssi_signo);
        if (m_onSignal)
            m_onSignal();
    }
}

}  // namespace console
