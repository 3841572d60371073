#include "console/appicon.h"

#include <QPainter>
#include <QPixmap>

namespace console {

namespace {

QPixmap reticle(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(180, 180, 100));
    p.drawEllipse(QRectF(1, 1, s - 2, s - 2));
    p.setPen(QPen(QColor(40, 40, 40), s / 16.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(s * 0.2, s * 0.2, s * 0.6, s * 0.6));
    p.drawLine(QPointF(s * 0.5, s * 0.08), QPointF(s * 0.5, s * 0.38));
    p.drawLine(QPointF(s * 0.5, s * 0.62), QPointF(s * 0.5, s * 0.92));
    p.drawLine(QPointF(s * 0.08, s * 0.5), QPointF(s * 0.38, s * 0.5));
    p.drawLine(QPointF(s * 0.62, s * 0.5), QPointF(s * 0.92, s * 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 0, 0));
    p.drawEllipse(QPointF(s * 0.5, s * 0.5), s / 20.0 + 0.5, s / 20.0 + 0.5);
    return pixmap;
}

}  // namespace

QIcon loadApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(reticle(size));
    return icon;
}

}  // namespace console
