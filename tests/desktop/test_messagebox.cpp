#include "desktop/messagebox.h"
#include "desktop/qtmessagebox.h"
#include "support/messageboxrecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(MessageBox, WithoutDialogWritesCaptionAndTextToStandardError)
{
    testing::internal::CaptureStderr();
    desktop::showMessageBox("Unable to join", "Error!", desktop::MessageIcon::Error);
    desktop::showMessageBox("From a tool", "");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Error!: Unable to join\n"), std::string::npos) << err;
    EXPECT_NE(err.find("From a tool\n"), std::string::npos) << err;
}

TEST(MessageBox, RecorderTakesEveryFieldAndRestoresThePreviousHandler)
{
    {
        vkrsim::test::MessageBoxRecorder recorder;
        std::thread worker([] { desktop::showMessageBox("text", "caption", desktop::MessageIcon::Warning, true); });
        worker.join();
        const auto boxes = recorder.boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "text");
        EXPECT_EQ(boxes[0].caption, "caption");
        EXPECT_EQ(boxes[0].icon, desktop::MessageIcon::Warning);
        EXPECT_TRUE(boxes[0].topMost);
    }
    testing::internal::CaptureStderr();
    desktop::showMessageBox("after", "restored");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("restored: after"), std::string::npos);
}

// The dialog thread shows the box modally; a worker that asked for it stays blocked until the
// operator presses OK.
TEST(MessageBox, WorkerThreadBlocksUntilTheBoxOnTheDialogThreadIsDismissed)
{
    int argc = 1;
    char name[] = "test_desktop";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QObject dialogThreadObject;
    desktop::installQtMessageBoxes(&dialogThreadObject);

    std::atomic<bool> returned{false};
    std::thread worker([&] {
        desktop::showMessageBox("From Orva Subscriber", "", desktop::MessageIcon::None, true);
        returned = true;
    });

    QString seenText;
    bool seenOnTop = false;
    bool blockedWhileShown = false;
    QTimer poll;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (++ticks > 500)
                app.quit();  // no box after 5 s: fail below
            return;
        }
        // Give the worker time to return if it were not blocked.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        blockedWhileShown = !returned;
        seenText = box->text();
        seenOnTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->button(QMessageBox::Ok)->click();
        poll.stop();
        QTimer::singleShot(0, &app, &QApplication::quit);
    });
    poll.start(10);
    app.exec();
    worker.join();
    desktop::uninstallQtMessageBoxes();

    EXPECT_EQ(seenText, "From Orva Subscriber");
    EXPECT_TRUE(seenOnTop);
    EXPECT_TRUE(blockedWhileShown);
    EXPECT_TRUE(returned);
}

}  // namespace
