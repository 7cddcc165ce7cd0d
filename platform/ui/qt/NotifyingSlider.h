// NotifyingSlider: a trackbar that sends NM_CUSTOMDRAW to its parent before every paint, as the
// Windows trackbar does.
#pragma once

#include <QSlider>

class NotifyingSlider : public QSlider {
public:
    explicit NotifyingSlider(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
