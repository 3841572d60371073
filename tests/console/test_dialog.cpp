#include "console/aboutdlg.h"
#include "console/resourceids.h"
#include "stateblock/stateblock.h"
#include "console/vkrsimdlg.h"
#include "console/workerlauncher.h"
#include "support/childprocess.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

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
    const TrackbarGeometry g = tilt->geometry();
    EXPECT_EQ(image.pixelColor(g.thumb.left() + 2, g.thumb.center().y()), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(tilt->width() / 2, trackbarPixelOf(g, -60, 60, 40)),
              QColor(255, 196, 196));
}

TEST_F(ControlDialog, TiltSliderMovesTheReadoutAndTiltDegrees)
{
    auto* tilt = qobject_cast<CMacSliderCtrl*>(dlg.GetDlgItem(resid::IDC_TILT));
    const TrackbarGeometry g = tilt->geometry();
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

}  // namespace
