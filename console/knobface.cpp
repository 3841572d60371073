#include "console/knobface.h"

#include <QPainter>
#include <QRadialGradient>

namespace console {

namespace {

// One round push button: raised when idle, lit when hovered, sunken when pressed.
void drawCell(QPainter& p, int index, const SystemColors& c)
{
    const QRectF cell(index * kKnobFaceCell, 0, kKnobFaceCell, kKnobFaceCell);
    const QRectF button = cell.adjusted(4, 4, -4, -4);
    const bool pressed = index == 2;
    const QColor face = toQColor(index == 1 ? LightenColor(c.btnFace, 16) : c.btnFace);

    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(c.btnFace));
    p.drawRect(cell);

    QRadialGradient shade(button.center() + (pressed ? QPointF(4, 4) : QPointF(-4, -4)),
                          button.width() * 0.75);
    shade.setColorAt(0.0, pressed ? toQColor(c.btnShadow) : toQColor(c.btnHighlight));
    shade.setColorAt(1.0, face);
    p.setBrush(shade);
    p.setPen(QPen(toQColor(pressed ? c.darkShadow3d : c.btnShadow), 1.0));
    p.drawEllipse(button);
    p.setPen(QPen(toQColor(pressed ? c.btnShadow : c.btnHighlight), 1.0));
    p.drawArc(button.adjusted(1, 1, -1, -1), 45 * 16, 180 * 16);
}

}  // namespace

QImage makeKnobFaceStrip(const SystemColors& colors)
{
    QImage strip(3 * kKnobFaceCell, kKnobFaceCell, QImage::Format_ARGB32_Premultiplied);
    strip.fill(toQColor(colors.btnFace));
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 3; ++i)
        drawCell(p, i, colors);
    return strip;
}

}  // namespace console
