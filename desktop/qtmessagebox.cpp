#include "desktop/qtmessagebox.h"

#include "desktop/messagebox.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QMetaObject>
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

// The object through which askers reach the GUI thread. Made by the first installation and never
// destroyed: an asker may hold its address at any moment, also while the program ends, and a
// posted request for a gone object would be a use of freed memory.
alignas(QObject) unsigned char courierStorage[sizeof(QObject)];
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
void openBox(const std::shared_ptr<PendingBox>& pending)
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

    QMetaObject::invokeMethod(courier, [pending] { openBox(pending); }, Qt::QueuedConnection);
    // Closing stops accepting and then runs every request already posted; a request posted after
    // that run finds `accepting` false here and releases itself (both are sequentially
    // consistent, and posting and running share the queue's own lock).
    if (!accepting.load())
        pending->release();
    // A request the toolkit dropped unrun (its queue went with the application) breaks the
    // promise, which ends the wait too.
    dismissed.wait();
}

}  // namespace

void installQtMessageBoxes()
{
    if (!courierObject.load(std::memory_order_acquire))
        courierObject.store(new (courierStorage) QObject, std::memory_order_release);
    accepting.store(true);
    setMessageBoxHandler(&showForAsker);
}

void uninstallQtMessageBoxes()
{
    setMessageBoxHandler(nullptr);
    accepting.store(false);
    if (QObject* courier = courierObject.load(std::memory_order_acquire))
        QCoreApplication::sendPostedEvents(courier, QEvent::MetaCall);
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
