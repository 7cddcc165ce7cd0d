// CPaintDC: the paint context of a window, constructed inside its OnPaint handler.
#pragma once

#include <memory>

#include "platform/ui/UiTypes.h"

class CWnd;
struct CPaintDCPrivate;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    // Draws the icon at its system size (a no-op outside a paint of the window).
    BOOL DrawIcon(int x, int y, HICON hIcon);

    HDC m_hDC = nullptr;

private:
    std::unique_ptr<CPaintDCPrivate> m_private;
};
