#include "desktop/qtmessagebox.h"

#include "desktop/messagebox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <new>
#include <vector>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace desktop {
namespace {

// One asked-for box, shared by the asking thread (which waits on `dismissed`) and the GUI thread.
struct PendingBox {
    explicit PendingBox(const MessageBoxRequest& r) : request(r) {}
    // Either side may release, once: the operator's dismissal, the end of the service, or an
    // asker that finds the service closed.
    void release()
    {
        if (!released.exchange(true, std::memory_order_acq_rel))
            dismissed.set_value();
    }

    const MessageBoxRequest request;
    std::promise<void> dismissed;
    std::atomic<bool> released{false};
};

// True between installation and uninstallation.
std::atomic<bool> accepting{false};

void openBox(std::shared_ptr<PendingBox> pending);

// One request on its way from an asker to the GUI thread. Dropped unrun (its queue went with the
// application), it releases its asker.
//
// The queue orders posting before delivery with a lock of the toolkit's own, which
// ThreadSanitizer cannot see (the toolkit is not instrumented): the two annotations tell it about
// that edge, and are nothing in other builds.
class BoxEvent : public QEvent {
public:
    static QEvent::Type type()
    {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }

    explicit BoxEvent(std::shared_ptr<PendingBox> pending) : QEvent(type()), pending_(std::move(pending))
    {
#if defined(__SANITIZE_THREAD__)
        __tsan_release(this);
#endif
    }
    ~BoxEvent() override
    {
        if (pending_)
            pending_->release();
    }
    BoxEvent(const BoxEvent&) = delete;
    BoxEvent& operator=(const BoxEvent&) = delete;

    // GUI thread, once.
    std::shared_ptr<PendingBox> take()
    {
#if defined(__SANITIZE_THREAD__)
        __tsan_acquire(this);
#endif
        return std::move(pending_);
    }

private:
    std::shared_ptr<PendingBox> pending_;
};

// Lives on the GUI thread and opens the boxes the askers post to it.
class Courier : public QObject {
protected:
    bool event(QEvent* e) override
    {
        if (e->type() != BoxEvent::type())
            return QObject::event(e);
        openBox(static_cast<BoxEvent*>(e)->take());
        return true;
    }
};

// The object through which askers reach the GUI thread. Made by the first installation and never
// destroyed: an asker may hold its address at any moment, also while the program ends, and a
// posted request for a gone object would be a use of freed memory.
alignas(Courier) unsigned char courierStorage[sizeof(Courier)];
std::atomic<QObject*> courierObject{nullptr};

// Boxes open now; GUI thread only.
std::vector<QPointer<QMessageBox>>& openBoxes()
{
    static std::vector<QPointer<QMessageBox>> boxes;
    return boxes;
}

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// GUI thread: shows the box of `pending`, not modal and with no owner window; the asker is
// released when the box goes, however it goes.
void openBox(std::shared_ptr<PendingBox> pending)
{
    if (!accepting.load() || pending->released.load(std::memory_order_acquire)) {
        pending->release();
        return;
    }
    const MessageBoxRequest& request = pending->request;
    auto* box = new QMessageBox(toQtIcon(request.icon), QString::fromLocal8Bit(request.caption.c_str()),
                                QString::fromLocal8Bit(request.text.c_str()), QMessageBox::Ok);
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (request.topMost)
        box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QObject::connect(box, &QDialog::finished, box, [pending] { pending->release(); });
    QObject::connect(box, &QObject::destroyed, [pending] { pending->release(); });

    std::vector<QPointer<QMessageBox>>& boxes = openBoxes();
    boxes.erase(std::remove_if(boxes.begin(), boxes.end(), [](const QPointer<QMessageBox>& b) { return b.isNull(); }),
                boxes.end());
    boxes.emplace_back(box);
    box->show();
}

// The handler: any thread. Returns when the box has been dismissed or the service has closed.
void showForAsker(const MessageBoxRequest& request)
{
    QObject* courier = courierObject.load(std::memory_order_acquire);
    if (!courier || !accepting.load()) {
        writeMessageBoxToStderr(request);
        return;
    }
    auto pending = std::make_shared<PendingBox>(request);
    std::future<void> dismissed = pending->dismissed.get_future();

    if (QThread::currentThread() == courier->thread()) {
        // The GUI thread itself asks: keep its events flowing until the box goes.
        QEventLoop loop;
        openBox(pending);
        while (dismissed.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            loop.processEvents(QEventLoop::WaitForMoreEvents);
        return;
    }

    QCoreApplication::postEvent(courier, new BoxEvent(pending));
    // Closing stops accepting and then runs every request already posted; a request posted after
    // that run finds `accepting` false here and releases itself (both are sequentially
    // consistent, and posting and running share the queue's own lock).
    if (!accepting.load())
        pending->release();
    // A request the toolkit dropped unrun released the asker when it went.
    dismissed.wait();
}

}  // namespace

void installQtMessageBoxes()
{
    if (!courierObject.load(std::memory_order_acquire))
        courierObject.store(new (courierStorage) Courier, std::memory_order_release);
    accepting.store(true);
    setMessageBoxHandler(&showForAsker);
}

void uninstallQtMessageBoxes()
{
    setMessageBoxHandler(nullptr);
    accepting.store(false);
    if (QObject* courier = courierObject.load(std::memory_order_acquire))
        QCoreApplication::sendPostedEvents(courier, BoxEvent::type());
    std::vector<QPointer<QMessageBox>> boxes;
    boxes.swap(openBoxes());
    for (const QPointer<QMessageBox>& box : boxes)
        delete box.data();  // releases its asker
}

std::vector<std::string> openMessageBoxTexts()
{
    std::vector<std::string> texts;
    for (const QPointer<QMessageBox>& box : openBoxes())
        if (box && box->isVisible())
            texts.push_back(box->text().toLocal8Bit().toStdString());
    return texts;
}

}  // namespace desktop
