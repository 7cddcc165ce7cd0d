// What the opaque icon, cursor and bitmap handles point to on the toolkit side.
#pragma once

#include <QIcon>
#include <QImage>

#include "platform/ui/UiTypes.h"

struct IconData {
    QIcon icon;
    Qt::CursorShape cursor = Qt::ArrowCursor;  // for standard cursors
    bool isCursor = false;
};

struct BitmapData {
    QImage image;
    quint64 serial;  // new for every bitmap, so a reused address is never taken for the old picture
};

inline IconData* IconOf(HICON h) {
    return reinterpret_cast<IconData*>(h);
}
inline HICON HandleOfIcon(IconData* d) {
    return reinterpret_cast<HICON>(d);
}
inline BitmapData* BitmapOf(HBITMAP h) {
    return reinterpret_cast<BitmapData*>(h);
}
inline HBITMAP HandleOfBitmap(BitmapData* d) {
    return reinterpret_cast<HBITMAP>(d);
}
quint64 NextBitmapSerial();
// The handle of IDC_ARROW or IDC_WAIT (null for other ids); lives until exit.
HCURSOR StandardCursorHandle(UINT id);
// The icon resource as a handle (null when there is none); built once, lives until exit.
HICON IconResourceHandle(UINT id);
