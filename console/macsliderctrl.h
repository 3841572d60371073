#pragma once
// The tilt slider: a trackbar whose thumb and channel are painted in colours of the dialog's
// choosing, with the 3D shades derived from the thumb colour. Position and range are the
// slider's own. Every user action (mouse, wheel, keyboard) is reported by `scrolled` after the
// position has changed; setting the position from code reports nothing. Dialog thread only.

#include "console/colorref.h"
#include "console/slidergeometry.h"

#include <QSlider>

class QPainter;

class CMacSliderCtrl : public QSlider {
    Q_OBJECT
public:
    explicit CMacSliderCtrl(Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);

    void SetPrimaryColor(COLORREF color);    // thumb fill; redraws
    void SetSelectionColor(COLORREF color);  // selection band; redraws
    void SetChannelColor(COLORREF color);    // channel fill; no redraw
    COLORREF GetPrimaryColor() const { return m_crPrimary; }
    COLORREF GetSelectionColor() const { return m_crSelection; }
    COLORREF GetChannelColor() const { return m_crChannel; }

    // Derived shades, for inspection.
    COLORREF hiliteColor() const { return m_crHilite; }
    COLORREF lighterColor() const { return m_crLighter; }
    COLORREF shadowColor() const { return m_crShadow; }
    COLORREF darkerColor() const { return m_crDarker; }
    COLORREF darkFrameColor() const { return m_crDarkFrame; }
    COLORREF frameMidColor() const { return m_crFrameMid; }
    COLORREF edgeLightColor() const { return m_crEdgeLight; }

    // Selection range, empty (0, 0) unless set.
    void SetSelection(int start, int end);

    // Where the channel and the thumb are now.
    console::TrackbarGeometry trackbarGeometry() const;

signals:
    // A scroll notification: trackbar code (tb::...) and the new position.
    void scrolled(int code, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateColors();
    void DrawThumb(QPainter& p, QRect thumb);
    void DrawBothSidesThumb(QPainter& p, QRect thumb, COLORREF frame);
    void DrawPointedThumb(QPainter& p, QRect thumb, COLORREF frame, bool towardsStart);
    void DrawChannel(QPainter& p, QRect channel);
    void DrawTicks(QPainter& p, const console::TrackbarGeometry& g);
    void userSetValue(int v, int code);
    int alongOf(QPoint p) const;

    COLORREF m_crSelection;
    COLORREF m_crChannel;
    COLORREF m_crPrimary;
    COLORREF m_crHilite = 0;
    COLORREF m_crLighter = 0;
    COLORREF m_crShadow = 0;
    COLORREF m_crDarker = 0;
    COLORREF m_crDarkFrame = 0;
    COLORREF m_crFrameMid = 0;
    COLORREF m_crEdgeLight = 0;
    int m_nSelStart = 0;
    int m_nSelEnd = 0;
    bool m_bThumbPressed = false;
    int m_nGrabOffset = 0;  // pixels from the thumb centre to where it was taken
    int m_nWheelRest = 0;   // wheel turn not yet worth a notch, eighths of a degree
};
