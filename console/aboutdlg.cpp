#include "console/aboutdlg.h"

#include "console/appicon.h"
#include "console/dialogunits.h"
#include "console/resourceids.h"

#include <QLabel>
#include <QPushButton>

using namespace console;

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_ABOUTBOX"));
    setWindowTitle(QStringLiteral("About VKRsim"));
    // Modal frame: no resizing, no help button.
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const double dpi = logicalDpiX();
    setFixedSize(dialogRectToPixels(0, 0, 235, 55, dpi).size());

    auto* icon = new QLabel(this);
    const QIcon appIcon = loadApplicationIcon();
    icon->setPixmap(appIcon.pixmap(32, 32));
    icon->setGeometry(QRect(dialogRectToPixels(11, 17, 0, 0, dpi).topLeft(), QSize(32, 32)));

    auto* version = new QLabel(QStringLiteral("VKRsim Version 1.0"), this);
    version->move(dialogRectToPixels(40, 10, 0, 0, dpi).topLeft());
    version->adjustSize();

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setGeometry(dialogRectToPixels(178, 7, 50, 16, dpi));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
