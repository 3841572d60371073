#include "console/macsliderctrl.h"

#include "console/resourceids.h"
#include "console/systemcolors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

using namespace console;

namespace {

void pixel(QPainter& p, int x, int y, COLORREF c)
{
    p.setPen(toQColor(c));
    p.drawPoint(x, y);
}

void line(QPainter& p, QPoint a, QPoint b, COLORREF c)
{
    p.setPen(toQColor(c));
    p.drawLine(a, b);
}

// A rectangle with its four corner pixels left out, outlined in `pen` and filled with `fill`.
void roundRect(QPainter& p, QRect r, COLORREF pen, COLORREF fill)
{
    if (r.width() < 3 || r.height() < 3) {
        p.fillRect(r, toQColor(fill));
        return;
    }
    p.fillRect(r.adjusted(1, 1, -1, -1), toQColor(fill));
    line(p, {r.left() + 1, r.top()}, {r.right() - 1, r.top()}, pen);
    line(p, {r.left() + 1, r.bottom()}, {r.right() - 1, r.bottom()}, pen);
    line(p, {r.left(), r.top() + 1}, {r.left(), r.bottom() - 1}, pen);
    line(p, {r.right(), r.top() + 1}, {r.right(), r.bottom() - 1}, pen);
}

}  // namespace

CMacSliderCtrl::CMacSliderCtrl(Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent)
{
    const SystemColors sys = systemColors(palette());
    m_crSelection = sys.highlight;
    m_crChannel = sys.window;
    m_crPrimary = sys.btnFace;
    setFocusPolicy(Qt::StrongFocus);
    UpdateColors();
}

void CMacSliderCtrl::SetPrimaryColor(COLORREF color)
{
    m_crPrimary = color;
    UpdateColors();
    update();
}

void CMacSliderCtrl::SetSelectionColor(COLORREF color)
{
    m_crSelection = color;
    UpdateColors();
    update();
}

void CMacSliderCtrl::SetChannelColor(COLORREF color)
{
    m_crChannel = color;
    UpdateColors();
}

void CMacSliderCtrl::SetSelection(int start, int end)
{
    m_nSelStart = start;
    m_nSelEnd = end;
    update();
}

void CMacSliderCtrl::UpdateColors()
{
    const SystemColors sys = systemColors(palette());
    m_crHilite = LightenColor(m_crPrimary, 51);
    m_crLighter = LightenColor(m_crHilite, 51);
    m_crShadow = DarkenColor(m_crPrimary, 51);
    m_crDarker = DarkenColor(m_crShadow, 51);
    m_crDarkFrame = halfwayColor(sys.btnShadow, sys.darkShadow3d);
    m_crFrameMid = halfwayColor(sys.btnFace, sys.btnShadow);
    m_crEdgeLight = sys.btnHighlight;
}

void CMacSliderCtrl::changeEvent(QEvent* event)
{
    QSlider::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        UpdateColors();
}

TrackbarGeometry CMacSliderCtrl::trackbarGeometry() const
{
    return console::trackbarGeometry(size(), orientation() == Qt::Vertical, minimum(), maximum(),
                                     sliderPosition());
}

int CMacSliderCtrl::alongOf(QPoint p) const
{
    return orientation() == Qt::Vertical ? p.y() : p.x();
}

void CMacSliderCtrl::userSetValue(int v, int code)
{
    setSliderPosition(v);
    setValue(v);
    emit scrolled(code, value());
}

void CMacSliderCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const TrackbarGeometry g = trackbarGeometry();
    const QPoint p = event->position().toPoint();
    const int centre = trackbarPixelOf(g, minimum(), maximum(), value());
    if (g.thumb.contains(p)) {
        m_bThumbPressed = true;
        m_nGrabOffset = alongOf(p) - centre;
        setSliderDown(true);
        update();
    } else if (alongOf(p) < centre) {
        userSetValue(std::max(minimum(), value() - pageStep()), tb::PAGEUP);
    } else {
        userSetValue(std::min(maximum(), value() + pageStep()), tb::PAGEDOWN);
    }
}

void CMacSliderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_bThumbPressed)
        return;
    const int v = trackbarValueAt(trackbarGeometry(), minimum(), maximum(),
                                  alongOf(event->position().toPoint()) - m_nGrabOffset);
    userSetValue(v, tb::THUMBTRACK);
}

void CMacSliderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_bThumbPressed) {
        m_bThumbPressed = false;
        setSliderDown(false);
        update();
        emit scrolled(tb::THUMBPOSITION, value());
    }
    emit scrolled(tb::ENDTRACK, value());
}

void CMacSliderCtrl::keyPressEvent(QKeyEvent* event)
{
    // Up and Left go towards the minimum, which is at the top or left.
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        userSetValue(std::max(minimum(), value() - singleStep()), tb::LINEUP);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        userSetValue(std::min(maximum(), value() + singleStep()), tb::LINEDOWN);
        break;
    case Qt::Key_PageUp:
        userSetValue(std::max(minimum(), value() - pageStep()), tb::PAGEUP);
        break;
    case Qt::Key_PageDown:
        userSetValue(std::min(maximum(), value() + pageStep()), tb::PAGEDOWN);
        break;
    case Qt::Key_Home:
        userSetValue(minimum(), tb::TOP);
        break;
    case Qt::Key_End:
        userSetValue(maximum(), tb::BOTTOM);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void CMacSliderCtrl::keyReleaseEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: case Qt::Key_Left: case Qt::Key_Down: case Qt::Key_Right:
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
        if (!event->isAutoRepeat())
            emit scrolled(tb::ENDTRACK, value());
        break;
    default:
        QWidget::keyReleaseEvent(event);
    }
}

void CMacSliderCtrl::wheelEvent(QWheelEvent* event)
{
    // As the trackbar does: one line step per notch (120 eighths of a degree), wheel up towards
    // the minimum at the top, then the end of tracking. Finer wheels add up to whole notches.
    const QPoint delta = event->angleDelta();
    m_nWheelRest += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_nWheelRest / QWheelEvent::DefaultDeltasPerStep;
    m_nWheelRest -= notches * QWheelEvent::DefaultDeltasPerStep;
    event->accept();
    if (notches == 0)
        return;
    for (int i = 0; i < std::abs(notches); ++i) {
        if (notches > 0)
            userSetValue(std::max(minimum(), value() - singleStep()), tb::LINEUP);
        else
            userSetValue(std::min(maximum(), value() + singleStep()), tb::LINEDOWN);
    }
    emit scrolled(tb::ENDTRACK, value());
}

void CMacSliderCtrl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    const TrackbarGeometry g = trackbarGeometry();
    DrawTicks(p, g);
    p.save();
    DrawChannel(p, g.channel);
    p.restore();
    p.save();
    DrawThumb(p, g.thumb);
    p.restore();
}

void CMacSliderCtrl::DrawTicks(QPainter& p, const TrackbarGeometry& g)
{
    // Only the end ticks: no automatic ticks between them. Both sides.
    const COLORREF c = systemColors(palette()).windowFrame;
    const int breadth = g.vertical ? width() : height();
    for (int pos : {minimum(), maximum()}) {
        const int at = trackbarPixelOf(g, minimum(), maximum(), pos);
        if (g.vertical) {
            line(p, {0, at}, {kTickLength - 1, at}, c);
            line(p, {breadth - kTickLength, at}, {breadth - 1, at}, c);
        } else {
            line(p, {at, 0}, {at, kTickLength - 1}, c);
            line(p, {at, breadth - kTickLength}, {at, breadth - 1}, c);
        }
    }
}

void CMacSliderCtrl::DrawChannel(QPainter& p, QRect channel)
{
    const COLORREF saved = m_crChannel;
    if (!isEnabled())
        m_crChannel = systemColors(palette()).btnFace;
    const bool vertical = orientation() == Qt::Vertical;
    QRect r = adjustedChannel(channel, vertical, minimum(), maximum());
    const int length = vertical ? r.height() : r.width();
    if (length > 3)
        roundRect(p, r, m_crDarkFrame, m_crChannel);
    r.adjust(-1, -1, 1, 0);
    // Sunken edge with two-pixel chamfers at the corners.
    line(p, {r.left() + 2, r.top()}, {r.right() - 2, r.top()}, m_crFrameMid);
    line(p, {r.left(), r.top() + 2}, {r.left(), r.bottom() - 2}, m_crFrameMid);
    pixel(p, r.left() + 1, r.top() + 1, m_crFrameMid);
    line(p, {r.left() + 2, r.bottom()}, {r.right() - 2, r.bottom()}, m_crEdgeLight);
    line(p, {r.right(), r.top() + 2}, {r.right(), r.bottom() - 2}, m_crEdgeLight);
    pixel(p, r.right() - 1, r.bottom() - 1, m_crEdgeLight);
    const QRect band = selectionBand(r.adjusted(1, 1, -1, 0), vertical, minimum(), maximum(),
                                     m_nSelStart, m_nSelEnd);
    if (!band.isEmpty())
        p.fillRect(band, toQColor(m_crSelection));
    m_crChannel = saved;
}

void CMacSliderCtrl::DrawThumb(QPainter& p, QRect t)
{
    const COLORREF savedPrimary = m_crPrimary;
    if (m_bThumbPressed) {
        m_crPrimary = DarkenColor(m_crPrimary, 51);
        UpdateColors();
    }
    const bool vertical = orientation() == Qt::Vertical;
    const COLORREF frame = systemColors(palette()).windowFrame;
    if (tickPosition() == QSlider::TicksBothSides)
        DrawBothSidesThumb(p, t, frame);
    else
        DrawPointedThumb(p, t, frame, tickPosition() == QSlider::TicksAbove);

    // Grip: lines across the thumb, hilite and darker alternating one pixel apart, centred in
    // its thickness and kept four pixels clear of its ends.
    const int thickness = vertical ? t.height() : t.width();
    if (isEnabled() && thickness > 5) {
        const int count = thickness > 9 ? 7 : 4;
        const int first = (thickness - count) / 2;
        for (int k = 0; k < count; ++k) {
            const COLORREF c = (k % 2 == 0) ? m_crHilite : m_crDarker;
            const int off = first + k;
            QPoint a, b;
            if (vertical) {
                a = {t.left() + 4, t.top() + off};
                b = {t.right() - 4, t.top() + off};
            } else {
                a = {t.left() + off, t.top() + 4};
                b = {t.left() + off, t.bottom() - 4};
            }
            line(p, a, b, c);
            if (k % 2 == 0)
                pixel(p, a.x(), a.y(), m_crLighter);
        }
    }
    if (m_bThumbPressed) {
        m_crPrimary = savedPrimary;
        UpdateColors();
    }
}

void CMacSliderCtrl::DrawBothSidesThumb(QPainter& p, QRect t, COLORREF frame)
{
    roundRect(p, t, frame, m_crPrimary);
    const QRect in = t.adjusted(1, 1, -1, -1);
    line(p, in.topLeft(), in.topRight(), m_crHilite);
    line(p, in.topLeft(), in.bottomLeft(), m_crHilite);
    line(p, in.bottomLeft(), in.bottomRight(), m_crShadow);
    line(p, in.topRight(), in.bottomRight(), m_crShadow);
    pixel(p, in.left(), in.top(), m_crLighter);
    pixel(p, in.right(), in.top(), m_crPrimary);
    pixel(p, in.left(), in.bottom(), m_crPrimary);
    pixel(p, in.right(), in.bottom(), m_crDarker);
}

void CMacSliderCtrl::DrawPointedThumb(QPainter& p, QRect t, COLORREF frame, bool towardsStart)
{
    // Five corners: the tip, half the thumb's thickness long, points across the travel to the
    // left or top (towardsStart) or else to the right or bottom.
    const bool vertical = orientation() == Qt::Vertical;
    const int thickness = vertical ? t.height() : t.width();
    const int tip = thickness / 2;
    // Work in a frame where the travel runs down and the tip points right, then map back.
    const int across0 = vertical ? t.left() : t.top();
    const int across1 = vertical ? t.right() : t.bottom();
    const int along0 = vertical ? t.top() : t.left();
    const int along1 = vertical ? t.bottom() : t.right();
    const int mid = (along0 + along1) / 2;
    auto at = [&](int across, int along) {
        if (towardsStart)
            across = across0 + across1 - across;
        return vertical ? QPoint(across, along) : QPoint(along, across);
    };
    const QPoint corners[5] = {at(across0, along0), at(across1 - tip, along0), at(across1, mid),
                               at(across1 - tip, along1), at(across0, along1)};
    p.setPen(toQColor(frame));
    p.setBrush(toQColor(m_crPrimary));
    p.drawPolygon(corners, 5);
    p.setBrush(Qt::NoBrush);
    // Lit edges face the upper left, shaded ones the lower right, whichever way the tip points.
    const QPoint a = at(across0 + 1, along0 + 1), b = at(across1 - tip, along0 + 1);
    const QPoint c = at(across1 - 1, mid), d = at(across1 - tip, along1 - 1);
    const QPoint e = at(across0 + 1, along1 - 1);
    line(p, a, b, m_crHilite);
    line(p, a, e, towardsStart ? m_crShadow : m_crHilite);
    line(p, b, c, towardsStart ? m_crLighter : m_crShadow);
    line(p, c, d, m_crDarker);
    line(p, d, e, m_crShadow);
    pixel(p, a.x(), a.y(), m_crLighter);
}
