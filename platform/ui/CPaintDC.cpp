#include "platform/ui/CPaintDC.h"

#include <QPainter>

#include "platform/ui/CWnd.h"
#include "platform/ui/qt/CWndPrivate.h"
#include "platform/ui/qt/Handles.h"

struct CPaintDCPrivate {
    QPainter* painter = nullptr;
};

namespace {
int g_outsidePaint = 0;  // a non-null context for callers outside a paint
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_private(std::make_unique<CPaintDCPrivate>()) {
    m_private->painter = pWnd ? pWnd->Private().painter : nullptr;
    m_hDC = m_private->painter ? reinterpret_cast<HDC>(m_private->painter)
                               : reinterpret_cast<HDC>(&g_outsidePaint);
}

CPaintDC::~CPaintDC() = default;

BOOL CPaintDC::DrawIcon(int x, int y, HICON hIcon) {
    IconData* icon = IconOf(hIcon);
    if (!m_private->painter || !icon || icon->isCursor)
        return FALSE;
    m_private->painter->drawPixmap(x, y, icon->icon.pixmap(32, 32));
    return TRUE;
}
