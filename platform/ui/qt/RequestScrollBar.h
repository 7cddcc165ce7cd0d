// RequestScrollBar: a vertical scroll bar that never moves itself. Every line, page or thumb
// request is undone and sent to the parent as WM_VSCROLL; the parent sets the position it wants.
#pragma once

#include <QScrollBar>

class RequestScrollBar : public QScrollBar {
public:
    explicit RequestScrollBar(QWidget* parent);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void OnAction(int action);
    void Send(unsigned code, int pos);

    bool m_restoring = false;
    int m_trackPos = 0;
};
