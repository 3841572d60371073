#include "console/vkrsimdlg.h"

#include "console/aboutdlg.h"
#include "console/appicon.h"
#include "console/dialogunits.h"
#include "console/readouts.h"
#include "console/resourceids.h"
#include "stateblock/stateblock.h"
#include "console/workerlauncher.h"

#include <ace/OS_NS_unistd.h>
#include <ace/Time_Value.h>

#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimerEvent>

using namespace console;

namespace {

// Size of template 102's client area, dialog units.
constexpr int kDialogWidth = 320;
constexpr int kDialogHeight = 190;

// The string table: only the About item's text exists; 108 and 109 have none.
QString LoadString(int id)
{
    return id == resid::IDS_ABOUTBOX ? QStringLiteral("&About VKRsim...") : QString();
}

// Static texts keep their template rectangle but never clip their text.
void placeStatic(QLabel* label, const QRect& rect)
{
    label->setGeometry(rect);
    const QSize hint = label->sizeHint();
    if (hint.width() > rect.width())
        label->resize(hint.width(), std::max(rect.height(), hint.height()));
}

// The worker entries receive the address of a record local to the command; they must not read
// it, as it is gone when the command returns.
struct CommandRecord {
    int unused = 0;
};

}  // namespace

CVKRsimDlg::CVKRsimDlg(WorkerEntries entries, QWidget* parent)
    : QDialog(parent),
      m_hIcon(loadApplicationIcon()),
      m_ctrlTilt(Qt::Vertical, this),
      m_wndStatusBar(this),
      m_ctrlPan(this),
      m_entries(entries)
{
    setObjectName(QStringLiteral("IDD_VKRSIM_DIALOG"));
    setWindowTitle(QStringLiteral("VKRsim"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    createControls();
    OnInitDialog();
}

void CVKRsimDlg::createControls()
{
    const double dpi = logicalDpiX();
    auto at = [dpi](int x, int y, int cx, int cy) { return dialogRectToPixels(x, y, cx, cy, dpi); };
    setFixedSize(at(0, 0, kDialogWidth, kDialogHeight).size());

    auto button = [this](int id, const char* text, QRect rect) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setGeometry(rect);
        b->setAutoDefault(false);
        m_items[id] = b;
        return b;
    };
    QPushButton* ok = button(resid::IDOK, "OK", at(263, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CVKRsimDlg::OnBnClickedOk);
    connect(button(resid::IDC_START, "Start VKR", at(7, 7, 72, 23)), &QPushButton::clicked, this,
            &CVKRsimDlg::OnBnClickedStart);
    connect(button(resid::IDC_JOIN, "Join ORVA", at(7, 30, 72, 23)), &QPushButton::clicked, this,
            &CVKRsimDlg::OnBnClickedJoin);
    connect(button(resid::IDC_RESIGN, "Resign ORVA", at(7, 53, 72, 23)), &QPushButton::clicked,
            this, &CVKRsimDlg::OnBnClickedResign);

    // Data exchange: the knob and the slider take over controls 1007 and 1008.
    m_ctrlPan.setGeometry(at(179, 63, 103, 87));
    m_ctrlPan.setObjectName(QStringLiteral("IDC_PAN"));
    m_items[resid::IDC_PAN] = &m_ctrlPan;
    m_ctrlTilt.setGeometry(at(110, 65, 14, 89));
    m_ctrlTilt.setObjectName(QStringLiteral("IDC_TILT"));
    m_ctrlTilt.setTickPosition(QSlider::TicksBothSides);
    m_ctrlTilt.SetSelection(0, 0);
    m_items[resid::IDC_TILT] = &m_ctrlTilt;
    connect(&m_ctrlTilt, &CMacSliderCtrl::scrolled, this,
            [this](int code, int pos) { OnVScroll(code, pos, &m_ctrlTilt); });

    auto* tiltText = new QLabel(QStringLiteral("0.0 Deg"), this);
    tiltText->setObjectName(QStringLiteral("IDC_TILT_TEXT"));
    placeStatic(tiltText, at(133, 102, 30, 12));
    m_items[resid::IDC_TILT_TEXT] = tiltText;
    placeStatic(new QLabel(QStringLiteral("Pan"), this), at(220, 51, 13, 8));
    placeStatic(new QLabel(QStringLiteral("Tilt"), this), at(117, 51, 10, 8));

    auto* group = new QGroupBox(QStringLiteral("VKR Control"), this);
    group->setGeometry(at(101, 39, 205, 133));
    // The frame stays behind the controls it surrounds.
    group->lower();
}

bool CVKRsimDlg::OnInitDialog()
{
    const QString aboutText = LoadString(resid::IDS_ABOUTBOX);
    m_pSysMenu = new QMenu(this);
    QAction* closeItem = m_pSysMenu->addAction(QStringLiteral("&Close"));
    closeItem->setData(resid::SC_CLOSE);
    if (!aboutText.isEmpty()) {
        m_pSysMenu->addSeparator();
        m_pSysMenu->addAction(aboutText)->setData(resid::IDM_ABOUTBOX);
    }
    connect(m_pSysMenu, &QMenu::triggered, this,
            [this](QAction* action) { OnSysCommand(action->data().toUInt(), 0); });

    setWindowIcon(m_hIcon);

    m_ctrlPan.SetDetentValue(0, 0);

    m_ctrlTilt.blockSignals(true);
    m_ctrlTilt.setRange(-60, 60);
    m_ctrlTilt.setValue(-20);
    m_ctrlTilt.setTickInterval(5);
    m_ctrlTilt.blockSignals(false);
    m_ctrlTilt.SetPrimaryColor(0x0000FF);
    m_ctrlTilt.SetSelectionColor(0x4040FF);
    m_ctrlTilt.SetChannelColor(0xC4C4FF);

    // Status bar: pane 0 is the client width less 200 pixels, pane 1 takes the rest. The panes
    // stay empty until the first tick.
    static const int indicators[] = {resid::ID_INDICATOR_UUT, resid::ID_INDICATOR_EULERS};
    m_wndStatusBar.setObjectName(QStringLiteral("AFX_IDW_STATUS_BAR"));
    m_wndStatusBar.SetIndicators(indicators, 2);
    m_wndStatusBar.SetPaneInfo(0, resid::ID_INDICATOR_UUT, CStatusBar::SBPS_NORMAL, width() - 200);
    m_wndStatusBar.SetPaneInfo(1, resid::ID_INDICATOR_EULERS, CStatusBar::SBPS_STRETCH, 0);
    m_wndStatusBar.RepositionInParent();
    m_wndStatusBar.SetBkColor(makeColorRef(180, 180, 100));

    // Qt chooses the timer's identifier; every tick is handled alike whatever it is.
    m_nTimer = startTimer(100);
    return true;
}

int CVKRsimDlg::DoModal()
{
    // Not exec(), which makes the dialog application-modal: nothing in this program is to be
    // blocked by the dialog, and the worker boxes beside it have no owner it could block for.
    setWindowModality(Qt::NonModal);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    return result();
}

QWidget* CVKRsimDlg::GetDlgItem(int id) const
{
    const auto it = m_items.find(id);
    return it == m_items.end() ? nullptr : it->second;
}

QString CVKRsimDlg::statusPaneText(int pane) const
{
    return m_wndStatusBar.GetPaneText(pane);
}

void CVKRsimDlg::setPaneText(int pane, const QString& text)
{
    m_wndStatusBar.SetPaneText(pane, text);
}

void CVKRsimDlg::OnSysCommand(unsigned nID, quintptr)
{
    if ((nID & 0xFFF0) == resid::IDM_ABOUTBOX) {
        CAboutDlg dlgAbout(this);
        dlgAbout.exec();
    } else if ((nID & 0xFFF0) == resid::SC_CLOSE) {
        // The close box: Cancel, without any stop request.
        reject();
    }
}

void CVKRsimDlg::contextMenuEvent(QContextMenuEvent* event)
{
    m_pSysMenu->popup(event->globalPos());
}

void CVKRsimDlg::timerEvent(QTimerEvent* event)
{
    OnTimer(event->timerId());
}

void CVKRsimDlg::OnTimer(int)
{
    // Fields are read one by one while the session thread writes them; a mix of two passes is
    // accepted.
    setPaneText(0, uutPositionText(stateBlock.uutX, stateBlock.uutY, stateBlock.uutZ));
    setPaneText(1, sightEulersText(stateBlock.sightPsi, stateBlock.sightTheta, stateBlock.sightPhi));
}

void CVKRsimDlg::OnVScroll(int, int, QWidget* pScrollBar)
{
    if (!pScrollBar || pScrollBar != &m_ctrlTilt)
        return;
    const int pos = m_ctrlTilt.value();
    stateBlock.tiltDegrees = pos;
    static_cast<QLabel*>(GetDlgItem(resid::IDC_TILT_TEXT))->setText(tiltText(pos));
}

void CVKRsimDlg::OnBnClickedStart()
{
    CommandRecord record;
    // A second render thread would share the process-wide viewer: refused while one runs.
    if (renderLauncher().spawn(m_entries.render, &record) == WorkerLauncher::Result::AlreadyRunning)
        return;
    // Gives the sight window time to come up; the dialog is unresponsive meanwhile.
    ACE_OS::sleep(ACE_Time_Value(5, 0));
}

void CVKRsimDlg::OnBnClickedJoin()
{
    // One session at a time: a second would hold a second VKRsim object.
    if (sessionLauncher().running())
        return;
    // A Join after a Resign runs a full session, not one cycle.
    stateBlock.stopSession = false;
    QString sORVAInfo;
    CommandRecord record;
    sessionLauncher().spawn(m_entries.session, &record);
    ACE_OS::sleep(ACE_Time_Value(1, 0));
    setPaneText(0, sORVAInfo);
}

void CVKRsimDlg::OnBnClickedResign()
{
    stateBlock.stopSession = true;
}

void CVKRsimDlg::OnBnClickedOk()
{
    stateBlock.stopSession = true;
    stateBlock.stopRender = true;
    // The workers' time to see the requests; the dialog ends whether they have or not.
    ACE_OS::sleep(ACE_Time_Value(2, 0));
    accept();
}
