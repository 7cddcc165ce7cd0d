// ListViewWidget: a report list view. A mouse click sends NM_CLICK after the selection has moved;
// the keyboard moves the selection without it, as on Windows. The space bar is the keyboard's
// click: it selects the row with the focus and sends NM_CLICK, so that what a click gives needs no
// mouse.
#pragma once

#include <QTreeWidget>

class ListViewWidget : public QTreeWidget {
public:
    explicit ListViewWidget(QWidget* parent);
    unsigned extendedStyle = 0;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The second click of a double click is no new click (Windows sends NM_DBLCLK for it).
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_afterDoubleClick = false;
};
