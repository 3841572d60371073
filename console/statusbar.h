#pragma once
// A status bar of fixed-width and stretching panes along the bottom of a dialog. Each pane is a
// sunken box that clips its text; the bar has one background colour. Dialog thread only.

#include "console/colorref.h"

#include <QString>
#include <QWidget>

#include <vector>

class CStatusBar : public QWidget {
    Q_OBJECT
public:
    enum PaneStyle { SBPS_NORMAL = 0, SBPS_STRETCH = 1 };

    explicit CStatusBar(QWidget* parent = nullptr);

    // One pane per identifier, each with empty text (there are no indicator strings).
    void SetIndicators(const int* ids, int count);
    // Width in pixels; a stretching pane takes what the others leave and ignores `width`.
    void SetPaneInfo(int index, int id, PaneStyle style, int width);
    void SetPaneText(int index, const QString& text);
    QString GetPaneText(int index) const;
    int paneCount() const { return static_cast<int>(m_panes.size()); }
    // Where pane `index` lies in the bar, frame included.
    QRect paneRect(int index) const;
    void SetBkColor(COLORREF color);

    // Places the bar along the bottom of its parent at its natural height.
    void RepositionInParent();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Pane {
        int id;
        PaneStyle style;
        int width;
        QString text;
    };
    std::vector<Pane> m_panes;
    COLORREF m_crBackground;
};
