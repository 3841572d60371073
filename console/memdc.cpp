#include "console/memdc.h"

#include <QPaintDevice>

namespace {

QRect coveredRect(QPainter& target, QRect rect)
{
    if (!rect.isEmpty())
        return rect;
    if (target.hasClipping())
        return target.clipBoundingRect().toAlignedRect();
    const QPaintDevice* device = target.device();
    return QRect(0, 0, device->width(), device->height());
}

}  // namespace

CMemDC::CMemDC(QPainter& target, QRect rect)
    : m_target(target),
      m_rect(coveredRect(target, rect)),
      m_bMemDC(target.device()->devType() != QInternal::Printer)
{
    if (!m_bMemDC)
        return;
    const qreal ratio = target.device()->devicePixelRatioF();
    m_bitmap = QImage(m_rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    m_bitmap.setDevicePixelRatio(ratio);
    m_bitmap.fill(target.background().color());
    m_memPainter.emplace(&m_bitmap);
    m_memPainter->setFont(target.font());
    m_memPainter->setPen(target.pen());
    m_memPainter->setBrush(target.brush());
    m_memPainter->setBackground(target.background());
    m_memPainter->setBackgroundMode(target.backgroundMode());
    // The image's origin is the rectangle's top-left corner.
    m_memPainter->translate(-m_rect.topLeft());
}

CMemDC::~CMemDC()
{
    if (!m_bMemDC)
        return;
    m_memPainter->end();
    m_target.drawImage(m_rect.topLeft(), m_bitmap);
}
