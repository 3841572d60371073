#include "console/aboutdlg.h"
#include "console/resourceids.h"
#include "stateblock/stateblock.h"
#include "console/vkrsimdlg.h"
#include "console/workerlauncher.h"
#include "desktop/messagebox.h"
#include "desktop/qtmessagebox.h"
#include "sightview/exchangedirectory.h"
#include "sightview/sightviewthread.h"
#include "support/childprocess.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace console;
using namespace sightview;

namespace {

using namespace std::chrono_literals;

// Fake workers: count their starts, note the stop request they start with, and stay inside
// their entry until released.
std::atomic<int> renderStarts{0}, sessionStarts{0};
std::atomic<bool> releaseWorkers{true};
std::atomic<int> stopSessionAtStart{-1};

void holdUntilReleased()
{
    while (!releaseWorkers)
        std::this_thread::sleep_for(5ms);
}

ACE_THR_FUNC_RETURN fakeRender(void*)
{
    ++renderStarts;
    holdUntilReleased();
    return 0;
}

ACE_THR_FUNC_RETURN fakeSession(void*)
{
    stopSessionAtStart = stateBlock.stopSession ? 1 : 0;
    ++sessionStarts;
    holdUntilReleased();
    return 0;
}

// A click as the window system delivers it, so that window modality applies to it (a click sent
// to the widget itself would pass a modal box).
void clickThroughWindow(QWidget* widget)
{
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, widget->rect().center()));
}

QMessageBox* visibleBox(const QString& text = {})
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && (text.isEmpty() || box->text() == text))
            return box;
    return nullptr;
}

int visibleBoxCount()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += qobject_cast<QMessageBox*>(w) && w->isVisible();
    return count;
}

class ControlDialog : public testing::Test {
protected:
    void SetUp() override
    {
        for (auto* f : {&stateBlock.uutX, &stateBlock.uutY, &stateBlock.uutZ, &stateBlock.sightPsi,
                        &stateBlock.sightTheta, &stateBlock.sightPhi})
            *f = 0.0;
        stateBlock.panDegrees = 77;
        stateBlock.tiltDegrees = 0;
        stateBlock.stopSession = false;
        stateBlock.stopRender = false;
        renderStarts = 0;
        sessionStarts = 0;
        stopSessionAtStart = -1;
        releaseWorkers = true;
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    }

    void TearDown() override
    {
        releaseWorkers = true;
        EXPECT_TRUE(vkrsim::test::eventually(
            [] { return !renderLauncher().running() && !sessionLauncher().running(); }, 5s));
    }

    void click(int id)
    {
        auto* button = qobject_cast<QPushButton*>(dlg.GetDlgItem(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Milliseconds a click takes to return.
    qint64 timedClick(int id)
    {
        QElapsedTimer timer;
        timer.start();
        click(id);
        return timer.elapsed();
    }

    QString tiltText() { return static_cast<QLabel*>(dlg.GetDlgItem(resid::IDC_TILT_TEXT))->text(); }

    CVKRsimDlg dlg{WorkerEntries{&fakeRender, &fakeSession}};
};

TEST_F(ControlDialog, HasItsControlsWithTheirTexts)
{
    struct Row {
        int id;
        const char* text;
    };
    const Row buttons[] = {{resid::IDOK, "OK"},
                           {resid::IDC_START, "Start VKR"},
                           {resid::IDC_JOIN, "Join ORVA"},
                           {resid::IDC_RESIGN, "Resign ORVA"}};
    for (const Row& row : buttons) {
        SCOPED_TRACE(row.text);
        auto* button = qobject_cast<QPushButton*>(dlg.GetDlgItem(row.id));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromLatin1(row.text));
        EXPECT_EQ(button->isDefault(), row.id == resid::IDOK);
    }
    EXPECT_NE(qobject_cast<KbutsliderCtrl*>(dlg.GetDlgItem(resid::IDC_PAN)), nullptr);
    // At 96 dpi: 179,63 103x87 and 110,65 14x89 dialog units.
    if (dlg.logicalDpiX() == 96) {
        EXPECT_EQ(dlg.GetDlgItem(resid::IDC_PAN)->geometry(), QRect(269, 102, 154, 142));
        EXPECT_EQ(dlg.GetDlgItem(resid::IDC_TILT)->geometry(), QRect(165, 106, 21, 144));
    }
    // The status bar sits at the bottom in its own colour, pane 0 the width less 200.
    CStatusBar& bar = dlg.statusBar();
    EXPECT_EQ(bar.geometry().bottom(), dlg.height() - 1);
    EXPECT_EQ(bar.geometry().width(), dlg.width());
    EXPECT_EQ(bar.paneCount(), 2);
    EXPECT_EQ(bar.grab().toImage().pixelColor(bar.width() - 1, bar.height() / 2),
              QColor(180, 180, 100));
    EXPECT_EQ(bar.paneRect(0).width(), dlg.width() - 200);
}

TEST_F(ControlDialog, StartsWithTheThumbAtMinusTwentyAndTheTextUntouched)
{
    auto* tilt = qobject_cast<CMacSliderCtrl*>(dlg.GetDlgItem(resid::IDC_TILT));
    ASSERT_NE(tilt, nullptr);
    EXPECT_EQ(tilt->value(), -20);
    EXPECT_EQ(tilt->minimum(), -60);
    EXPECT_EQ(tilt->maximum(), 60);
    EXPECT_EQ(tiltText(), QStringLiteral("0.0 Deg"));
    EXPECT_EQ(stateBlock.tiltDegrees, 0);
    // The knob's first paint published its detent, 0.
    EXPECT_EQ(stateBlock.panDegrees, 0);
    // Red thumb over a pale red channel.
    const QImage image = tilt->grab().toImage();
    const TrackbarGeometry g = tilt->trackbarGeometry();
    EXPECT_EQ(image.pixelColor(g.thumb.left() + 2, g.thumb.center().y()), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(tilt->width() / 2, trackbarPixelOf(g, -60, 60, 40)),
              QColor(255, 196, 196));
}

TEST_F(ControlDialog, TiltSliderMovesTheReadoutAndTiltDegrees)
{
    auto* tilt = qobject_cast<CMacSliderCtrl*>(dlg.GetDlgItem(resid::IDC_TILT));
    const TrackbarGeometry g = tilt->trackbarGeometry();
    const QPoint from = g.thumb.center();
    const QPoint to(from.x(), trackbarPixelOf(g, -60, 60, 5));
    QTest::mousePress(tilt, Qt::LeftButton, {}, from);
    QTest::mouseMove(tilt, to);
    QTest::mouseRelease(tilt, Qt::LeftButton, {}, to);
    EXPECT_EQ(tiltText(), QStringLiteral("  5 Deg"));
    EXPECT_EQ(stateBlock.tiltDegrees, 5);

    QTest::keyClick(tilt, Qt::Key_Home);
    EXPECT_EQ(tiltText(), QStringLiteral("-60 Deg"));
    EXPECT_EQ(stateBlock.tiltDegrees, -60);
}

TEST_F(ControlDialog, ReadoutShowsThePositionAndViewAnglesEveryTick)
{
    EXPECT_EQ(dlg.statusPaneText(0), QString());
    EXPECT_EQ(dlg.statusPaneText(1), QString());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg.statusPaneText(0).isEmpty(); }, 2000));
    EXPECT_EQ(dlg.statusPaneText(0), QStringLiteral("UUT Pos 0.0000008.2,0.0000008.2,0.0000008.2"));
    EXPECT_EQ(dlg.statusPaneText(1), QStringLiteral("Eulers 0.0000008.2,0.0000008.2,0.0000008.2"));

    stateBlock.uutX = 1234.5;
    stateBlock.uutZ = -2.25;
    stateBlock.sightPsi = 0.825467075;
    stateBlock.sightPhi = -0.5;
    ASSERT_TRUE(QTest::qWaitFor([this] { return dlg.statusPaneText(0).contains("1234"); }, 2000));
    EXPECT_TRUE(dlg.statusPaneText(0).startsWith(QStringLiteral("UUT Pos 1234.5000008.2,")));
    // Long texts are clipped in their panes; the panes keep their places.
    const QRect pane0 = dlg.statusBar().paneRect(0), pane1 = dlg.statusBar().paneRect(1);
    EXPECT_EQ(pane0.width(), dlg.width() - 200);
    EXPECT_GT(pane1.left(), pane0.right());
    EXPECT_LT(pane1.right(), dlg.width());
    EXPECT_GT(pane1.width(), 150);
    EXPECT_EQ(dlg.statusPaneText(0), QStringLiteral("UUT Pos 1234.5000008.2,0.0000008.2,-2.2500008.2"));
    EXPECT_EQ(dlg.statusPaneText(1), QStringLiteral("Eulers 0.8254678.2,0.0000008.2,-0.5000008.2"));
}

TEST_F(ControlDialog, OkSetsBothStopRequestsAndClosesTwoSecondsLater)
{
    const qint64 ms = timedClick(resid::IDOK);
    EXPECT_GE(ms, 1990);
    EXPECT_LT(ms, 4000);
    EXPECT_TRUE(stateBlock.stopSession);
    EXPECT_TRUE(stateBlock.stopRender);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(ControlDialog, ResignSetsOnlyTheSessionStopAtOnce)
{
    EXPECT_LT(timedClick(resid::IDC_RESIGN), 500);
    EXPECT_TRUE(stateBlock.stopSession);
    EXPECT_FALSE(stateBlock.stopRender);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(sessionStarts, 0);
}

TEST_F(ControlDialog, JoinAfterResignRunsAFullSessionAndBlanksPaneZeroUntilTheNextTick)
{
    click(resid::IDC_RESIGN);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg.statusPaneText(0).isEmpty(); }, 2000));
    const qint64 ms = timedClick(resid::IDC_JOIN);
    EXPECT_GE(ms, 990);
    EXPECT_EQ(dlg.statusPaneText(0), QString());
    EXPECT_EQ(sessionStarts, 1);
    EXPECT_EQ(stopSessionAtStart, 0);
    EXPECT_FALSE(stateBlock.stopSession);
    // Refilled by the next tick.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !dlg.statusPaneText(0).isEmpty(); }, 1000));
}

TEST_F(ControlDialog, JoinWhileASessionRunsDoesNothing)
{
    releaseWorkers = false;
    click(resid::IDC_JOIN);
    ASSERT_TRUE(vkrsim::test::eventually([] { return sessionStarts == 1; }, 2s));
    click(resid::IDC_RESIGN);
    EXPECT_LT(timedClick(resid::IDC_JOIN), 500);
    EXPECT_EQ(sessionStarts, 1);
    EXPECT_TRUE(stateBlock.stopSession);  // not cleared: the running session must still see it
    releaseWorkers = true;
    ASSERT_TRUE(vkrsim::test::eventually([] { return !sessionLauncher().running(); }, 2s));
}

TEST_F(ControlDialog, StartWhileARenderThreadRunsDoesNothing)
{
    releaseWorkers = false;
    const qint64 first = timedClick(resid::IDC_START);
    EXPECT_GE(first, 4990);
    EXPECT_EQ(renderStarts, 1);
    EXPECT_LT(timedClick(resid::IDC_START), 500);
    EXPECT_EQ(renderStarts, 1);
    EXPECT_FALSE(stateBlock.stopRender);
}

TEST_F(ControlDialog, ContextMenuOpensTheAboutBox)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(30, 150), dlg.mapToGlobal(QPoint(30, 150)));
    QApplication::sendEvent(&dlg, &event);
    QMenu* menu = dlg.systemMenu();
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
    QAction* about = nullptr;
    for (QAction* action : menu->actions())
        if (action->text() == QStringLiteral("&About VKRsim..."))
            about = action;
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->data().toUInt(), 0x0010u);

    QString caption, version;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        if (!box)
            return;
        caption = box->windowTitle();
        for (QLabel* label : box->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                version = label->text();
        QTest::mouseClick(box->findChild<QPushButton*>(QStringLiteral("IDOK")), Qt::LeftButton);
    });
    menu->hide();
    about->trigger();  // returns when the box has been closed
    EXPECT_EQ(caption, QStringLiteral("About VKRsim"));
    EXPECT_EQ(version, QStringLiteral("VKRsim Version 1.0"));
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(ControlDialog, CloseFromTheSystemMenuCancelsWithoutStopRequests)
{
    dlg.OnSysCommand(resid::SC_CLOSE, 0);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(stateBlock.stopSession);
    EXPECT_FALSE(stateBlock.stopRender);
}

TEST_F(ControlDialog, WheelOnTheTiltSliderStepsLikeTheKeysWithUpTowardsTheTop)
{
    auto* tilt = qobject_cast<CMacSliderCtrl*>(dlg.GetDlgItem(resid::IDC_TILT));
    QSignalSpy spy(tilt, &CMacSliderCtrl::scrolled);
    auto wheel = [tilt](int delta) {
        const QPointF at = tilt->trackbarGeometry().thumb.center();
        QWheelEvent event(at, tilt->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(tilt, &event);
    };
    wheel(120);  // one notch up
    EXPECT_EQ(tilt->value(), -21);
    EXPECT_EQ(tiltText(), QStringLiteral("-21 Deg"));
    EXPECT_EQ(stateBlock.tiltDegrees, -21);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), tb::LINEUP);
    EXPECT_EQ(spy.at(1).at(0).toInt(), tb::ENDTRACK);

    spy.clear();
    wheel(-240);  // two notches down
    EXPECT_EQ(stateBlock.tiltDegrees, -19);
    EXPECT_EQ(tiltText(), QStringLiteral("-19 Deg"));
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(1).at(0).toInt(), tb::LINEDOWN);
    EXPECT_EQ(spy.at(2).at(0).toInt(), tb::ENDTRACK);

    spy.clear();
    wheel(60);  // half a notch of a fine wheel: nothing yet
    EXPECT_EQ(spy.count(), 0);
    wheel(60);
    EXPECT_EQ(stateBlock.tiltDegrees, -20);
}

// A worker's box (real Qt box) leaves the dialog usable; only the worker waits for it.
TEST_F(ControlDialog, AWorkersBoxLeavesTheDialogUsableAndOnlyTheWorkerWaits)
{
    std::atomic<bool> returned{false};
    std::thread worker;
    {
        desktop::QtMessageBoxes boxes;
        worker = std::thread([&] {
            desktop::showMessageBox("Unable to join ORVA Execution", "Error!");
            returned = true;
        });
        QMessageBox* box = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (box = visibleBox()) != nullptr; }, 5000));
        clickThroughWindow(dlg.GetDlgItem(resid::IDC_RESIGN));
        EXPECT_TRUE(stateBlock.stopSession);
        auto* tilt = qobject_cast<CMacSliderCtrl*>(dlg.GetDlgItem(resid::IDC_TILT));
        const TrackbarGeometry g = tilt->trackbarGeometry();
        QTest::mouseClick(dlg.windowHandle(), Qt::LeftButton, {},
                          tilt->mapTo(&dlg, QPoint(g.thumb.center().x(), g.travelEnd)));
        EXPECT_EQ(stateBlock.tiltDegrees, -10);  // paged down from -20
        QTest::qWait(100);
        EXPECT_FALSE(returned);
        clickThroughWindow(box->button(QMessageBox::Ok));
        EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 2000));
    }
    worker.join();
}

// With a group that cannot be joined the feed asks for a box in every frame; OK still ends the
// dialog at once (plus its 2 s), the open boxes close and every waiting worker is released.
TEST_F(ControlDialog, OkEndsTheDialogWhileWorkerBoxesKeepComing)
{
    std::atomic<int> multicastBoxes{0};
    std::atomic<bool> feedEnded{false}, greetingEnded{false};
    std::thread feed, greeting;
    int result = -1;
    qint64 okToEnd = -1;
    {
        desktop::QtMessageBoxes boxes;
        feed = std::thread([&] {
            while (!stateBlock.stopRender) {
                desktop::showMessageBox("Error in subscribing to Multicast address ", "");
                ++multicastBoxes;
            }
            feedEnded = true;
        });
        greeting = std::thread([&] {
            desktop::showMessageBox("From Orva Subscriber", "");
            greetingEnded = true;
        });
        // The operator dismisses one multicast box, then presses OK while the next one and the
        // greeting are open.
        QElapsedTimer sinceOk;
        QTimer operatorHand;
        int step = 0;
        operatorHand.callOnTimeout([&] {
            QMessageBox* box = visibleBox(QStringLiteral("Error in subscribing to Multicast address "));
            if (step == 0 && box && visibleBoxCount() == 2) {
                clickThroughWindow(box->button(QMessageBox::Ok));
                step = 1;
            } else if (step == 1 && multicastBoxes >= 1 && box && visibleBoxCount() == 2) {
                step = 2;
                sinceOk.start();
                clickThroughWindow(dlg.GetDlgItem(resid::IDOK));
            }
        });
        operatorHand.start(20);
        // A dialog that cannot be reached still ends the test.
        QTimer::singleShot(15000, &dlg, &QDialog::reject);
        result = dlg.DoModal();
        okToEnd = sinceOk.isValid() ? sinceOk.elapsed() : -1;
    }
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_GE(okToEnd, 1990);
    EXPECT_LT(okToEnd, 4000);
    EXPECT_TRUE(vkrsim::test::eventually([&] { return feedEnded && greetingEnded; }, 2s));
    QApplication::processEvents();
    EXPECT_EQ(visibleBoxCount(), 0);
    feed.join();
    greeting.join();
}

// Objects with static storage announce their destruction once armed: leaving the process while
// other threads run must not destroy them.
struct StaticDestructionWitness {
    ~StaticDestructionWitness()
    {
        if (armed)
            std::fprintf(stderr, "STATIC-DESTRUCTORS-RAN\n");
    }
    bool armed = false;
} staticWitness;

// In the death-test child: the dialog runs its event loop, Start VKR starts the real render
// thread, whose scene file is broken; the operator dismisses the XML box.
void runDialogIntoTheXmlError()
{
    staticWitness.armed = true;
    std::ofstream("SceneGeneratorconfig.xml") << "<MGXML><multicast_address>239.255.0.7</multicast_address>";
    const std::string exchange = exchangeDirectory();
    std::fprintf(stderr, "EXCHANGE %s\n", exchange.c_str());
    desktop::QtMessageBoxes boxes;
    CVKRsimDlg dialog(WorkerEntries{&sightViewThread, &fakeSession});
    QTimer operatorHand;
    operatorHand.callOnTimeout([] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->windowTitle() == "XML Parsing error") {
                std::fprintf(stderr, "BOX-SHOWN\n");
                clickThroughWindow(box->button(QMessageBox::Ok));
            }
    });
    operatorHand.start(20);
    QTimer::singleShot(0, [&dialog] { clickThroughWindow(dialog.GetDlgItem(resid::IDC_START)); });
    QTimer::singleShot(20000, &dialog, &QDialog::reject);
    dialog.DoModal();
    std::fprintf(stderr, "DIALOG-ENDED\n");
    std::exit(0);
}

TEST_F(ControlDialog, XmlErrorLeavesWithoutStaticDestructorsAndRemovesTheExchangeDirectory)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // One directory for the parent and the child, which runs this body again.
    std::string dir;
    if (const char* made = getenv("VKRSIM_TEST_XMLEXIT_DIR")) {
        dir = made;
    } else {
        char pattern[] = "/tmp/xmlexit-test-XXXXXX";
        dir = mkdtemp(pattern);
        setenv("VKRSIM_TEST_XMLEXIT_DIR", dir.c_str(), 1);
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const char* runtime = getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = runtime ? runtime : "";
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    EXPECT_EXIT(runDialogIntoTheXmlError(), testing::ExitedWithCode(255),
                testing::AllOf(testing::HasSubstr("BOX-SHOWN"), testing::HasSubstr("EXCHANGE " + dir + "/vkrsim-"),
                               testing::Not(testing::HasSubstr("STATIC-DESTRUCTORS-RAN"))));
    if (runtime)
        setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
    unsetenv("VKRSIM_TEST_XMLEXIT_DIR");
    std::filesystem::current_path(previous);
    int left = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        left += entry.path().filename().string().rfind("vkrsim-", 0) == 0;
    EXPECT_EQ(left, 0) << "exchange directory left in " << dir;
    std::filesystem::remove_all(dir);
}

}  // namespace
