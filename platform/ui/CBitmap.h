// CBitmap: a device-independent 32-bit picture (top row first, bytes blue, green, red, unused) that
// a picture control can show.
#pragma once

#include "platform/ui/UiTypes.h"

class CBitmap {
public:
    CBitmap() = default;
    ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // One plane of 32 bits per pixel only; bits may be null (black). Replaces nothing: FALSE when
    // this object already holds a bitmap or the format is not supported.
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    // Copies up to dwCount bytes of the pixels; returns the number copied.
    DWORD GetBitmapBits(DWORD dwCount, void* lpBits) const;
    int GetBitmap(BITMAP* pBitMap) const;
    HBITMAP GetSafeHandle() const { return m_hObject; }
    operator HBITMAP() const { return m_hObject; }  // NOLINT
    BOOL DeleteObject();

    HBITMAP m_hObject = nullptr;
};
