// TabControlWidget: a row of tabs over a framed area. Pages are plain child widgets of this widget,
// not owned by the tabs. Only selections made by the user send TCN_SELCHANGE.
#pragma once

#include <QTabBar>
#include <QWidget>

class TabControlWidget : public QWidget {
public:
    explicit TabControlWidget(QWidget* parent);

    QTabBar* Bar() const { return m_bar; }
    // Program changes of the tabs: no notification.
    int InsertTab(int index, const QString& text);
    void RemoveAll();
    void RemoveTab(int index);
    void SetCurrent(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QTabBar* m_bar;
    bool m_programChange = false;
};
