// ClientWidget: the client area of a dialog, where its controls live. It sends WM_PAINT to the
// dialog's message map when it paints, and for a child page it handles Enter and Esc itself.
#pragma once

#include <QWidget>

class ClientWidget : public QWidget {
public:
    ClientWidget(QWidget* parent, bool handlesKeys);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool m_handlesKeys;
};
