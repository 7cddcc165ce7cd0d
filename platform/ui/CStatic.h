// CStatic: a text label or a picture control. A picture shows its bitmap at the top left, sized to
// it.
#pragma once

#include "platform/ui/CWnd.h"

class CStatic : public CWnd {
public:
    // Shows a copy of the bitmap (null clears); returns the bitmap shown before.
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};
