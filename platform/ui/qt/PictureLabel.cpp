#include "platform/ui/qt/PictureLabel.h"

#include <QPixmap>

#include "platform/ui/qt/Handles.h"

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

HBITMAP PictureLabel::SetBitmap(HBITMAP bitmap) {
    HBITMAP previous = m_bitmap;
    BitmapData* data = BitmapOf(bitmap);
    if (bitmap == m_bitmap && (!data || data->serial == m_serial))
        return previous;
    m_bitmap = bitmap;
    m_serial = data ? data->serial : 0;
    if (data) {
        setPixmap(QPixmap::fromImage(data->image));
        resize(data->image.size());
    } else {
        clear();
    }
    return previous;
}
