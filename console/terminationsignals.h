#pragma once
// SIGINT (Ctrl-C in the terminal), SIGTERM and SIGHUP end the program the way the dialog's
// Cancel does, so that it cleans up on its way out. The signals are blocked in every thread and
// taken from a signal descriptor by the dialog thread's event loop.

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace console {

// Blocks the termination signals in the calling thread. Call first in main, before any thread
// exists: threads inherit the mask, so the signals stay pending for the descriptor.
void blockTerminationSignals();

// Watches the descriptor on the thread that makes it; `onSignal` runs there, once per signal.
class TerminationSignalWatcher : public QObject {
public:
    explicit TerminationSignalWatcher(std::function<void()> onSignal);
    ~TerminationSignalWatcher() override;
    TerminationSignalWatcher(const TerminationSignalWatcher&) = delete;
    TerminationSignalWatcher& operator=(const TerminationSignalWatcher&) = delete;

    // The last signal taken, 0 before any.
    int signalNumber() const { return m_nSignal; }

private:
    void takeSignal();

    int m_fd = -1;
    int m_nSignal = 0;
    std::unique_ptr<QSocketNotifier> m_pNotifier;  // goes before the descriptor closes
    std::function<void()> m_onSignal;
};

}  // namespace console
