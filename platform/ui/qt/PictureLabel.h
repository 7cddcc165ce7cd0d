// PictureLabel: a picture control that shows a bitmap at its top left, sized to the bitmap.
#pragma once

#include <QLabel>

#include "platform/ui/UiTypes.h"

class PictureLabel : public QLabel {
public:
    explicit PictureLabel(QWidget* parent);
    // Returns the handle shown before. Setting the picture that is already shown changes nothing,
    // so a paint handler may hand the same bitmap over on every paint.
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP Bitmap() const { return m_bitmap; }

private:
    HBITMAP m_bitmap = nullptr;
    quint64 m_serial = 0;
};
