#pragma once
// The pan knob: a round dial on a horizontal trackbar whose value is a detent dot on its rim,
// dragged around with the mouse. Range 0..359, whole degrees clockwise from the top. Each paint
// of its value text also publishes that value as the pan of the sight (stateBlock.panDegrees).
// Dialog thread only.

#include "console/knobgeometry.h"

#include <QImage>
#include <QRegion>
#include <QSlider>

class KbutsliderCtrl : public QSlider {
    Q_OBJECT
public:
    static constexpr int kMaxDetents = 16;

    explicit KbutsliderCtrl(QWidget* parent = nullptr);

    // Entry index % 16 becomes value % 360 (truncating remainders; a negative index wraps to
    // 16 + index % 16); redraws when visible.
    void SetDetentValue(int index, int value);
    int GetDetentValue(int index) const { return m_aDetents[detentSlot(index)]; }
    int currentDetent() const { return m_nCurDetent; }
    int frame() const { return m_nFrame; }
    int pushState() const { return m_nPushState; }
    bool isDragging() const { return m_bDragging; }
    QPoint center() const { return m_ptCenter; }
    int radius() const { return m_nRadius; }
    int dotRadius() const { return m_nDotRadius; }
    // The text the knob paints in its centre, from the current detent's value.
    QString valueText() const;

signals:
    // Each scroll notification, as the tilt slider reports its own: the trackbar code and the
    // trackbar's own position (the knob never moves that position itself).
    void scrolled(int code, int position);

protected:
    virtual void OnCenterButtonUp(Qt::KeyboardModifiers flags, int frame);
    virtual void OnCenterButtonDown(Qt::KeyboardModifiers flags, int frame);
    virtual void NotifyParent(int code);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static int detentSlot(int index);
    void LayoutKnob();
    void redraw();
    int PointToValue(QPoint p) const;
    QPoint ValueToPoint(int value) const;
    console::KnobZone zoneOf(QPoint p) const;

    QPoint m_ptCenter;
    int m_nRadius = 0;
    int m_nDotRadius = 8;
    int m_aDetents[kMaxDetents] = {0, 90};
    int m_nDetentCount = 1;
    int m_nCurDetent = 0;
    int m_nPrevDetent = 0;
    QRegion m_rgnKnob;
    bool m_bDragging = false;
    int m_nFrame = 0;
    int m_nPrevFrame = 0;
    int m_nPushState = 0;
    QImage m_bmpFace;
};
