#include "desktop/messagebox.h"
#include "desktop/qtmessagebox.h"
#include "support/childprocess.h"
#include "support/messageboxrecorder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

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

// A visible message box, or nullptr.
QMessageBox* visibleBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

// The box belongs to the worker: no owner window, not modal, and only the worker blocks until
// the operator presses OK. Closing the service closes open boxes and releases every worker,
// also those whose boxes were asked for but not yet shown; later asks go to standard error.
TEST(MessageBox, OnlyTheAskingThreadWaitsAndClosingReleasesEveryAsker)
{
    int argc = 1;
    char name[] = "test_desktop";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    desktop::installQtMessageBoxes();

    std::atomic<int> returned{0};
    std::thread greeting([&] {
        desktop::showMessageBox("From Orva Subscriber", "", desktop::MessageIcon::None, true);
        ++returned;
    });
    QMessageBox* box = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] { return (box = visibleBox()) != nullptr; }, 5000));
    EXPECT_EQ(box->text(), "From Orva Subscriber");
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(box->parentWidget(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QTest::qWait(200);  // time for the worker to return if it were not blocked
    EXPECT_EQ(returned, 0);
    box->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return returned == 1; }, 2000));
    greeting.join();

    // Three workers ask at once; the service closes while their boxes are open or on their way.
    std::vector<std::thread> workers;
    for (int i = 0; i < 3; ++i)
        workers.emplace_back([&] {
            desktop::showMessageBox("Error in subscribing to Multicast address ", "");
            ++returned;
        });
    ASSERT_TRUE(QTest::qWaitFor([] { return !desktop::openMessageBoxTexts().empty(); }, 5000));
    desktop::uninstallQtMessageBoxes();
    EXPECT_TRUE(vkrsim::test::eventually([&] { return returned == 4; }, std::chrono::seconds(2)));
    for (std::thread& worker : workers)
        worker.join();
    QApplication::processEvents();
    EXPECT_EQ(visibleBox(), nullptr);
    testing::internal::CaptureStderr();
    std::thread late([] { desktop::showMessageBox("late", "after close"); });
    late.join();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("after close: late"), std::string::npos);
}

// A worker that asks again and again while the service opens and closes under it never hangs.
TEST(MessageBox, AskingWhileTheServiceClosesNeverHangs)
{
    int argc = 1;
    char name[] = "test_desktop";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::atomic<bool> stop{false};
    std::atomic<int> asks{0};
    testing::internal::CaptureStderr();
    std::thread feed([&] {
        while (!stop) {
            desktop::showMessageBox("Error in subscribing to Multicast address ", "");
            ++asks;
        }
    });
    for (int round = 0; round < 50; ++round) {
        desktop::installQtMessageBoxes();
        QTest::qWait(round % 5);
        desktop::uninstallQtMessageBoxes();
    }
    stop = true;
    EXPECT_TRUE(vkrsim::test::eventually([&] { return asks > 0; }, std::chrono::seconds(2)));
    feed.join();
    testing::internal::GetCapturedStderr();
}

}  // namespace
