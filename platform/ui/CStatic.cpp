#include "platform/ui/CStatic.h"

#include "platform/ui/qt/PictureLabel.h"
#include "platform/ui/qt/WindowLink.h"

HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    auto* picture = WidgetAs<PictureLabel>(*this);
    return picture ? picture->SetBitmap(hBitmap) : nullptr;
}

HBITMAP CStatic::GetBitmap() const {
    auto* picture = WidgetAs<PictureLabel>(*this);
    return picture ? picture->Bitmap() : nullptr;
}
