#pragma once
// An off-screen drawing surface: everything painted through it lands in an image covering one
// rectangle of the target, copied to the target in one block when the surface goes, so the
// window never shows a half-painted state. On a printer it draws on the target directly.

#include <QImage>
#include <QPainter>
#include <QRect>

#include <optional>

class CMemDC {
public:
    // Covers `rect` of the target (device pixels); an empty rect means the target's clip box,
    // or the whole device when the target has no clip.
    explicit CMemDC(QPainter& target, QRect rect = QRect());
    ~CMemDC();  // copies the covered rectangle to the target
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    // The painter to draw with; logical coordinates are the target's.
    QPainter& dc() { return m_bMemDC ? *m_memPainter : m_target; }
    QPainter* operator->() { return &dc(); }
    QRect rect() const { return m_rect; }
    bool drawsToMemory() const { return m_bMemDC; }

private:
    QPainter& m_target;
    QRect m_rect;
    bool m_bMemDC;
    QImage m_bitmap;
    std::optional<QPainter> m_memPainter;
};
