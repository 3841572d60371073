#pragma once
// The control dialog (template 102): Start VKR, Join ORVA, Resign ORVA and OK, the pan knob and
// the tilt slider, the tilt readout, and a two-pane status bar that shows the UUT position and
// the published view angles every 100 ms. It talks to the worker threads only through the state
// block. Dialog thread only; the command handlers sleep on it (5 s, 1 s, 2 s) by design.

#include "console/kbutsliderctrl.h"
#include "console/macsliderctrl.h"
#include "console/statusbar.h"

#include <ace/Thread_Manager.h>

#include <QDialog>
#include <QIcon>

#include <map>

class QMenu;

namespace console {

// The thread entries the commands start: the render thread and the session thread.
struct WorkerEntries {
    ACE_THR_FUNC render;
    ACE_THR_FUNC session;
};

}  // namespace console

class CVKRsimDlg : public QDialog {
    Q_OBJECT
public:
    explicit CVKRsimDlg(console::WorkerEntries entries, QWidget* parent = nullptr);

    // The control with a template id (1, 1000..1002, 1007..1009), or nullptr.
    QWidget* GetDlgItem(int id) const;
    QString statusPaneText(int pane) const;
    CStatusBar& statusBar() { return m_wndStatusBar; }
    // The dialog's system menu, shown as its context menu.
    QMenu* systemMenu() const { return m_pSysMenu; }

    void OnSysCommand(unsigned nID, quintptr lParam);

    // Shows the dialog and runs it until it ends (OK, Cancel, the close box, a termination
    // signal); returns its result. The program's only main window, run without application
    // modality: the boxes of worker threads stand beside it, each usable while the other is.
    int DoModal();

protected:
    void timerEvent(QTimerEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool OnInitDialog();
    void OnTimer(int nIDEvent);
    void OnVScroll(int nSBCode, int nPos, QWidget* pScrollBar);
    void OnBnClickedStart();
    void OnBnClickedJoin();
    void OnBnClickedResign();
    void OnBnClickedOk();
    void createControls();
    void setPaneText(int pane, const QString& text);

    QIcon m_hIcon;
    int m_nTimer = 0;
    CMacSliderCtrl m_ctrlTilt;
    CStatusBar m_wndStatusBar;
    KbutsliderCtrl m_ctrlPan;

    console::WorkerEntries m_entries;
    std::map<int, QWidget*> m_items;
    QMenu* m_pSysMenu = nullptr;
};
