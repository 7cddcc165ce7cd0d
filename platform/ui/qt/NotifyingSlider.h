// NotifyingSlider: a trackbar that sends NM_CUSTOMDRAW to its parent before every paint, as the
// Windows trackbar does.
#pragma once

#include <QSlider>

class NotifyingSlider : public QSlider {
public:
    explicit NotifyingSlider(QWidget* parent);

    // A range change without redraw: the position is held within the new range, but nothing is
    // repainted now (and so nothing notifies); the new range shows at the next paint.
    void SetRangeWithoutRedraw(int min, int max);

protected:
    void paintEvent(QPaintEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    bool m_noRedraw = false;
};
