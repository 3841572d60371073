#include "console/vkrsimapp.h"

#include "console/terminationsignals.h"
#include "desktop/qtmessagebox.h"

#include <QApplication>

using namespace console;

CVKRsimApp theApp;

bool CVKRsimApp::InitInstance(int& argc, char** argv, WorkerEntries entries)
{
    QApplication app(argc, argv);
    // The settings key the program has always named; nothing is stored under it.
    QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QCoreApplication::setApplicationName(QStringLiteral("VKRsim"));

    // Worker threads still running when the dialog ends end with the process: the thread
    // manager must not wait for them at exit.
    ACE_Thread_Manager::instance()->wait_on_exit(0);

    CVKRsimDlg dlg(entries);
    // Boxes of worker threads, beside the dialog. Declared after it: when the dialog has ended,
    // open boxes close and their threads are released before the dialog goes.
    desktop::QtMessageBoxes boxes;
    TerminationSignalWatcher terminations([&dlg] { dlg.reject(); });
    dlg.DoModal();
    m_nTerminationSignal = terminations.signalNumber();
    return false;
}
