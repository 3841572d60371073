#include "desktop/qtmessagebox.h"

#include "desktop/messagebox.h"

#include <QMessageBox>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>

namespace desktop {
namespace {

std::atomic<QObject*> dialogObject{nullptr};

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

void showOnDialogThread(const MessageBoxRequest& request)
{
    QObject* target = dialogObject.load(std::memory_order_acquire);
    if (!target) {
        writeMessageBoxToStderr(request);
        return;
    }
    auto show = [&request] {
        // No owner window, as the range programs' boxes always were.
        QMessageBox box(toQtIcon(request.icon), QString::fromLocal8Bit(request.caption.c_str()),
                        QString::fromLocal8Bit(request.text.c_str()), QMessageBox::Ok);
        if (request.topMost)
            box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        box.exec();
    };
    if (QThread::currentThread() == target->thread())
        show();
    else
        // Blocks this thread until the box on the dialog thread is dismissed. The dialog thread
        // must never join a thread that is inside this call.
        QMetaObject::invokeMethod(target, show, Qt::BlockingQueuedConnection);
}

}  // namespace

void installQtMessageBoxes(QObject* dialogThreadObject)
{
    dialogObject.store(dialogThreadObject, std::memory_order_release);
    setMessageBoxHandler(&showOnDialogThread);
}

void uninstallQtMessageBoxes()
{
    setMessageBoxHandler(nullptr);
    dialogObject.store(nullptr, std::memory_order_release);
}

}  // namespace desktop
