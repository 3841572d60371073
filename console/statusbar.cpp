#include "console/statusbar.h"

#include <QPainter>

namespace {

constexpr int kGap = 2;     // pixels between panes and at the bar's ends
constexpr int kBorder = 2;  // pixels above the panes (the bar's top border)

}  // namespace

CStatusBar::CStatusBar(QWidget* parent)
    : QWidget(parent), m_crBackground(fromQColor(palette().color(QPalette::Window)))
{
}

void CStatusBar::SetIndicators(const int* ids, int count)
{
    m_panes.clear();
    for (int i = 0; i < count; ++i)
        m_panes.push_back({ids[i], SBPS_NORMAL, 0, QString()});
    update();
}

void CStatusBar::SetPaneInfo(int index, int id, PaneStyle style, int width)
{
    Pane& pane = m_panes.at(static_cast<std::size_t>(index));
    pane.id = id;
    pane.style = style;
    pane.width = width;
    update();
}

void CStatusBar::SetPaneText(int index, const QString& text)
{
    Pane& pane = m_panes.at(static_cast<std::size_t>(index));
    if (pane.text == text)
        return;
    pane.text = text;
    update(paneRect(index));
}

QString CStatusBar::GetPaneText(int index) const
{
    return m_panes.at(static_cast<std::size_t>(index)).text;
}

QRect CStatusBar::paneRect(int index) const
{
    int fixed = kGap;
    int stretching = 0;
    for (const Pane& pane : m_panes) {
        if (pane.style == SBPS_STRETCH)
            ++stretching;
        else
            fixed += pane.width;
        fixed += kGap;
    }
    const int spare = std::max(0, width() - fixed);
    int x = kGap;
    for (int i = 0; i < paneCount(); ++i) {
        const Pane& pane = m_panes[static_cast<std::size_t>(i)];
        const int w = pane.style == SBPS_STRETCH ? spare / std::max(1, stretching) : pane.width;
        if (i == index)
            return QRect(x, kBorder, w, height() - kBorder - 1);
        x += w + kGap;
    }
    return QRect();
}

void CStatusBar::SetBkColor(COLORREF color)
{
    m_crBackground = color;
    update();
}

QSize CStatusBar::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 2 * 3 + kBorder);
}

void CStatusBar::RepositionInParent()
{
    if (QWidget* parent = parentWidget()) {
        const int h = sizeHint().height();
        setGeometry(0, parent->height() - h, parent->width(), h);
    }
}

void CStatusBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), toQColor(m_crBackground));
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 0, width() - 1, 0);
    for (int i = 0; i < paneCount(); ++i) {
        const QRect r = paneRect(i);
        if (r.width() <= 0)
            continue;
        // Sunken: shadow on the top and left, light on the bottom and right.
        p.setPen(palette().color(QPalette::Dark));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QRect textRect = r.adjusted(3, 1, -2, -1);
        p.save();
        p.setClipRect(textRect);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, m_panes[static_cast<std::size_t>(i)].text);
        p.restore();
    }
}
