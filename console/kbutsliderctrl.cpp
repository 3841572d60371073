#include "console/kbutsliderctrl.h"

#include "console/knobface.h"
#include "console/memdc.h"
#include "console/resourceids.h"
#include "console/systemcolors.h"
#include "stateblock/stateblock.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

using namespace console;

namespace {

void setPixels(QPainter& p, const std::vector<PixelPoint>& pixels)
{
    for (const PixelPoint& px : pixels) {
        p.setPen(toQColor(px.color));
        p.drawPoint(px.at);
    }
}

void drawShadedCircle(QPainter& p, QPoint c, int r, COLORREF lit, COLORREF unlit)
{
    setPixels(p, shadedCircle(c, r, lit, unlit));
}

void drawDottedCircle(QPainter& p, QPoint c, int r, const QColor& color)
{
    p.setPen(color);
    for (const QPoint& point : dottedCircle(c, r))
        p.drawPoint(point);
}

}  // namespace

KbutsliderCtrl::KbutsliderCtrl(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 359);
    setSingleStep(1);
    setPageStep(10);
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::StrongFocus);
    // Hover over the centre changes the face without a button down.
    setMouseTracking(true);
    // The whole control is painted from one off-screen image; no separate erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    LayoutKnob();
}

int KbutsliderCtrl::detentSlot(int index)
{
    // A negative index wraps into the table instead of writing before it.
    return ((index % kMaxDetents) + kMaxDetents) % kMaxDetents;
}

void KbutsliderCtrl::SetDetentValue(int index, int value)
{
    m_aDetents[detentSlot(index)] = value % 360;
    if (isVisible())
        redraw();
}

QString KbutsliderCtrl::valueText() const
{
    return QString::asprintf("Pan in Deg: %d", m_aDetents[m_nCurDetent]);
}

void KbutsliderCtrl::OnCenterButtonUp(Qt::KeyboardModifiers, int) {}
void KbutsliderCtrl::OnCenterButtonDown(Qt::KeyboardModifiers, int) {}

void KbutsliderCtrl::NotifyParent(int code) { emit scrolled(code, value()); }

void KbutsliderCtrl::LayoutKnob()
{
    const KnobLayout layout = layoutKnob(size(), m_nDotRadius);
    m_ptCenter = layout.center;
    m_nRadius = layout.radius;
    clearMask();
    // Round control: nothing is painted or received outside the inscribed circle.
    m_rgnKnob = QRegion(layout.square, QRegion::Ellipse);
    setMask(m_rgnKnob);
    m_bmpFace = makeKnobFaceStrip(systemColors(palette()));
}

void KbutsliderCtrl::redraw()
{
    if (isVisible())
        repaint();
}

int KbutsliderCtrl::PointToValue(QPoint p) const
{
    return ::PointToValue(p, minimum(), maximum(), m_ptCenter);
}

QPoint KbutsliderCtrl::ValueToPoint(int v) const
{
    return ::ValueToPoint(v, minimum(), maximum(), m_ptCenter, m_nRadius);
}

KnobZone KbutsliderCtrl::zoneOf(QPoint p) const
{
    return knobZone(p, m_ptCenter, m_nRadius);
}

void KbutsliderCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QSlider::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    m_nCurDetent = FindNearestDetent(m_aDetents, m_nDetentCount, PointToValue(p));
    if (zoneOf(p) == KnobZone::Centre) {
        m_nPushState = 1;
        m_nFrame = 2;
        redraw();
        OnCenterButtonDown(event->modifiers(), m_nFrame);
    }
    if (!m_bDragging) {
        m_bDragging = true;
        // Qt captures the mouse for the widget that took the press until the release.
        setFocus(Qt::MouseFocusReason);
        NotifyParent(tb::THUMBTRACK);
        redraw();
    } else {
        QSlider::mousePressEvent(event);
    }
}

void KbutsliderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_nPrevFrame = m_nFrame;
    m_nPrevDetent = m_nCurDetent;
    const KnobZone zone = zoneOf(p);
    m_nFrame = zone == KnobZone::Centre ? m_nPushState + 1 : 0;
    if (zone != KnobZone::Rim) {
        // Pointing inside the rim only chooses the detent to act on.
        m_nCurDetent = FindNearestDetent(m_aDetents, m_nDetentCount, PointToValue(p));
    } else if (m_bDragging) {
        m_aDetents[m_nCurDetent] = PointToValue(p);
        NotifyParent(tb::THUMBTRACK);
        redraw();
    } else {
        QSlider::mouseMoveEvent(event);
    }
    if (m_nFrame != m_nPrevFrame || m_nCurDetent != m_nPrevDetent)
        redraw();
}

void KbutsliderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QSlider::mouseReleaseEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    if (zoneOf(p) == KnobZone::Centre) {
        m_nPushState = 0;
        redraw();
        OnCenterButtonUp(event->modifiers(), m_nFrame);
    }
    if (m_bDragging) {
        m_bDragging = false;
        NotifyParent(tb::THUMBTRACK);
        redraw();
    } else {
        QSlider::mouseReleaseEvent(event);
    }
}

void KbutsliderCtrl::resizeEvent(QResizeEvent* event)
{
    QSlider::resizeEvent(event);
    LayoutKnob();
}

void KbutsliderCtrl::changeEvent(QEvent* event)
{
    QSlider::changeEvent(event);
    // The face strip is drawn in the 3D colours of the moment.
    if (event->type() == QEvent::PaletteChange)
        m_bmpFace = makeKnobFaceStrip(systemColors(palette()));
}

void KbutsliderCtrl::paintEvent(QPaintEvent* event)
{
    const SystemColors sys = systemColors(palette());
    QPainter target(this);
    target.setBackground(toQColor(sys.btnFace));
    CMemDC mem(target, event->rect());
    QPainter& dc = mem.dc();

    dc.setBrush(Qt::NoBrush);
    dc.fillRect(rect(), toQColor(sys.btnFace));

    // Outer pair sunken, inner pair raised.
    const int r = m_nRadius;
    drawShadedCircle(dc, m_ptCenter, r, sys.darkShadow3d, sys.btnHighlight);
    drawShadedCircle(dc, m_ptCenter, r - 1, sys.btnShadow, sys.light3d);
    drawShadedCircle(dc, m_ptCenter, r - 3, sys.btnHighlight, sys.darkShadow3d);
    drawShadedCircle(dc, m_ptCenter, r - 4, sys.light3d, sys.btnShadow);

    const QRect faceTarget(m_ptCenter.x() - kKnobFaceCell / 2, m_ptCenter.y() - kKnobFaceCell / 2,
                           kKnobFaceCell, kKnobFaceCell);
    const QRect faceSource(kKnobFaceCell * m_nFrame, 0, kKnobFaceCell, kKnobFaceCell);
    if (!m_bmpFace.isNull())
        dc.drawImage(faceTarget, m_bmpFace, faceSource);

    const bool focused = hasFocus();
    const int m = m_nDotRadius;
    for (int i = 0; i < m_nDetentCount; ++i) {
        const QPoint c = ValueToPoint(m_aDetents[i]);
        dc.setPen(Qt::NoPen);
        dc.setBrush(toQColor(sys.btnFace));
        dc.drawEllipse(c, m, m);
        dc.setBrush(Qt::NoBrush);
        if (m_bDragging) {
            drawShadedCircle(dc, c, m - 1, sys.darkShadow3d, sys.btnHighlight);
            drawShadedCircle(dc, c, m - 2, sys.btnShadow, sys.light3d);
        } else {
            drawShadedCircle(dc, c, m - 1, sys.btnHighlight, sys.darkShadow3d);
            drawShadedCircle(dc, c, m - 2, sys.light3d, sys.btnShadow);
        }
        if (focused) {
            drawDottedCircle(dc, c, m - 4, Qt::black);
            if (i == m_nCurDetent)
                drawDottedCircle(dc, c, m - 6, Qt::black);
        }
    }

    const QString text = valueText();
    // The value as painted is the pan the session publishes.
    stateBlock.panDegrees = m_aDetents[m_nCurDetent];
    if (QWidget* parent = parentWidget())
        dc.setFont(parent->font());
    const QSize extent = dc.fontMetrics().size(Qt::TextSingleLine, text);
    const QPoint origin(m_ptCenter.x() - extent.width() / 2, m_ptCenter.y() - extent.height() / 2);
    const QRect textRect(origin, extent);
    dc.setBackgroundMode(Qt::TransparentMode);
    if (isEnabled()) {
        dc.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        dc.drawText(textRect, Qt::AlignCenter, text);
    } else {
        // Embossed: a lit copy one pixel down-right under the shadow-coloured text.
        dc.setPen(toQColor(sys.btnHighlight));
        dc.drawText(textRect.translated(1, 1), Qt::AlignCenter, text);
        dc.setPen(toQColor(sys.btnShadow));
        dc.drawText(textRect, Qt::AlignCenter, text);
    }
}
