// The operator's path through the real dialog: Join ORVA, dismiss the greeting, and the status
// bar follows a Platform that uutsim publishes; Resign leaves the execution.

#include "console/vkrsimdlg.h"
#include "console/workerlauncher.h"
#include "desktop/qtmessagebox.h"
#include "rangelink/sessionthread.h"
#include "sightview/sightviewthread.h"
#include "stateblock/stateblock.h"
#include "support/childprocess.h"
#include "support/isolation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <memory>

using namespace console;

namespace {

using vkrsim::test::builtProgram;
using vkrsim::test::ChildProcess;

// Runs the event loop until `done` holds or `ms` pass.
template <class Predicate>
bool pumpUntil(Predicate done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

QMessageBox* visibleBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            return box;
    return nullptr;
}

// The operator: presses OK on every message box.
class Operator : public QObject {
public:
    Operator()
    {
        timer_.callOnTimeout([this] {
            if (QMessageBox* box = visibleBox()) {
                dismissed << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start(50);
    }
    QStringList dismissed;

private:
    QTimer timer_;
};

// A click as the window system delivers it, so that window modality applies to it.
void clickThroughWindow(QWidget* widget)
{
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, widget->rect().center()));
}

// A private working directory with a config.txt for `execution`.
std::string enterWorkingDirectory(const std::string& execution)
{
    char pattern[] = "/tmp/vkrsim-join-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    EXPECT_EQ(chdir(dir.c_str()), 0);
    std::ofstream("config.txt") << "ORVA.executionName=" << execution << "\nORVA.sessionName=SightBench\n"
                                << "ORVA.LTP_latitude=0\nORVA.LTP_longitude=0\nORVA.LTP_HeightOffset=0\n";
    return dir;
}

TEST(JoinFromDialog, StatusBarFollowsThePlatformAndResignLeaves)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = "JoinFromDialog." + std::to_string(getpid());
    const std::string dir = enterWorkingDirectory(execution);
    ChildProcess manager({builtProgram("orva-executionmanager"), "--execution", execution});
    ChildProcess uut({builtProgram("uutsim"), "--execution", execution, "--count", "1", "--rate", "10",
                      "--lat", "0", "--lon", "0", "--alt", "100"}, dir + "/uutsim.log");

    int argc = 1;
    char name[] = "test_joinfromdialog";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    // The console log goes to a file, as an operator would redirect it.
    std::ofstream log(dir + "/console.log");
    std::streambuf* saved = std::cout.rdbuf(log.rdbuf());
    {
        CVKRsimDlg dlg(WorkerEntries{sightViewThread, sessionThread});
        desktop::installQtMessageBoxes();
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        const QString idle = "UUT Pos 0.0000008.2,0.0000008.2,0.0000008.2";
        ASSERT_TRUE(pumpUntil([&] { return dlg.statusPaneText(0) == idle; }, 2000)) << "no readout before Join";

        Operator op;
        QStringList& dismissed = op.dismissed;
        QTimer::singleShot(0, [&] { QTest::mouseClick(dlg.GetDlgItem(1001), Qt::LeftButton); });
        const QString idleEulers = "Eulers 0.0000008.2,0.0000008.2,0.0000008.2";
        const bool following = pumpUntil([&] {
            return dlg.statusPaneText(0).startsWith("UUT Pos ") && dlg.statusPaneText(0) != idle &&
                   dlg.statusPaneText(1).startsWith("Eulers ") && dlg.statusPaneText(1) != idleEulers;
        }, 20000);
        EXPECT_TRUE(following) << dlg.statusPaneText(0).toStdString() << " / " << dlg.statusPaneText(1).toStdString();
        ASSERT_FALSE(dismissed.isEmpty());
        EXPECT_EQ(dismissed.front(), "From Orva Subscriber");
        EXPECT_EQ(dismissed.size(), 1) << dismissed.join(" | ").toStdString();

        QTest::mouseClick(dlg.GetDlgItem(1002), Qt::LeftButton);
        EXPECT_TRUE(stateBlock.stopSession);
        // The session thread leaves in order and ends.
        ACE_Thread_Manager::instance()->wait();
        desktop::uninstallQtMessageBoxes();
    }
    std::cout.rdbuf(saved);
    const std::string console = vkrsim::test::readFile(dir + "/console.log");
    EXPECT_NE(console.find("Number of Platforms = 1\nStuff for Platform # 1\nX pos = "), std::string::npos);
    chdir("/");
    std::system(("rm -rf '" + dir + "'").c_str());
}

// Resign while the greeting box is open: the dialog takes the press at once; once the greeting
// is dismissed the session joins, runs one cycle and leaves.
TEST(JoinFromDialog, ResignWhileTheGreetingIsOpenEndsTheSessionAfterOneCycle)
{
    VKRSIM_REQUIRE_ISOLATED_NETWORK();
    const std::string execution = "ResignAtGreeting." + std::to_string(getpid());
    const std::string dir = enterWorkingDirectory(execution);
    ChildProcess manager({builtProgram("orva-executionmanager"), "--execution", execution});

    int argc = 1;
    char name[] = "test_joinfromdialog";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::ofstream log(dir + "/console.log");
    std::streambuf* saved = std::cout.rdbuf(log.rdbuf());
    {
        CVKRsimDlg dlg(WorkerEntries{sightViewThread, sessionThread});
        desktop::QtMessageBoxes boxes;
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        QTimer::singleShot(0, [&] { clickThroughWindow(dlg.GetDlgItem(1001)); });
        QMessageBox* greeting = nullptr;
        ASSERT_TRUE(pumpUntil([&] { return (greeting = visibleBox()) != nullptr; }, 5000));
        EXPECT_EQ(greeting->text(), "From Orva Subscriber");
        clickThroughWindow(dlg.GetDlgItem(1002));
        EXPECT_TRUE(stateBlock.stopSession);
        EXPECT_TRUE(greeting->isVisible());
        clickThroughWindow(greeting->button(QMessageBox::Ok));
        // Joining takes a moment; then one cycle and the thread leaves, with no error box.
        EXPECT_TRUE(pumpUntil([] { return !sessionLauncher().running(); }, 15000));
        EXPECT_EQ(visibleBox(), nullptr);
    }
    ACE_Thread_Manager::instance()->wait();
    std::cout.rdbuf(saved);
    chdir("/");
    std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
