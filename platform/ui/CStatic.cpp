#include "platform/ui/CStatic.h"

#include "platform/ui/qt/PictureLabel.h"
#include "platform/ui/qt/WindowLink.h"

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}

HBITMAP CStatic::GetBitmap() const {
    auto* picture = WidgetAs<PictureLabel>(*this);
    return picture ? picture->Bitmap() : nullptr;
}
