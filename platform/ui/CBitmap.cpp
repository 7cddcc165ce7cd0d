#include "platform/ui/CBitmap.h"

#include <cstring>

#include "platform/ui/qt/Handles.h"

CBitmap::~CBitmap() {
    DeleteObject();
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) {
    if (m_hObject || nPlanes != 1 || nBitcount != 32 || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    auto* data = new BitmapData{QImage(nWidth, nHeight, QImage::Format_RGB32), NextBitmapSerial()};
    if (data->image.isNull()) {
        delete data;
        return FALSE;
    }
    // A 32-bit top-down bitmap is Format_RGB32 byte for byte on a little-endian machine.
    const size_t rowBytes = static_cast<size_t>(nWidth) * 4;
    for (int y = 0; y < nHeight; ++y) {
        uchar* row = data->image.scanLine(y);
        if (lpBits) {
            std::memcpy(row, static_cast<const uchar*>(lpBits) + rowBytes * static_cast<size_t>(y),
                        rowBytes);
        } else {
            std::memset(row, 0, rowBytes);
        }
    }
    m_hObject = HandleOfBitmap(data);
    return TRUE;
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, void* lpBits) const {
    const BitmapData* data = BitmapOf(m_hObject);
    if (!data || !lpBits)
        return 0;
    const size_t rowBytes = static_cast<size_t>(data->image.width()) * 4;
    size_t copied = 0;
    for (int y = 0; y < data->image.height() && copied < dwCount; ++y) {
        const size_t n = std::min<size_t>(rowBytes, dwCount - copied);
        std::memcpy(static_cast<uchar*>(lpBits) + copied, data->image.constScanLine(y), n);
        copied += n;
    }
    return static_cast<DWORD>(copied);
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    const BitmapData* data = BitmapOf(m_hObject);
    if (!data || !pBitMap)
        return 0;
    *pBitMap = BITMAP{
        0, data->image.width(), data->image.height(), data->image.width() * 4, 1, 32, nullptr};
    return static_cast<int>(sizeof(BITMAP));
}

BOOL CBitmap::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    delete BitmapOf(m_hObject);
    m_hObject = nullptr;
    return TRUE;
}
