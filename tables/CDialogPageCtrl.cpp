#include "tables/CDialogPageCtrl.h"

BOOL CDialogPageCtrl::AddPage(CDialogPage* pPage, const char* caption) {
    CString text(caption);
    TCITEM item{};
    item.mask = TCIF_TEXT | TCIF_STATE;
    item.dwState = 1;
    item.dwStateMask = 0;
    item.pszText = const_cast<char*>(text.GetString());
    const int index = InsertItem(m_nPageCount, &item);
    if (index < 0) {
        return FALSE;
    }
    if (index >= MAX_PAGES) {
        // A tab without a slot would show nothing when chosen: take it away again.
        DeleteItem(index);
        return FALSE;
    }
    m_pages[index] = pPage;
    pPage->m_nTabIndex = index;
    // The page's caption is its tab's: what the page's controls are named after.
    pPage->SetWindowText(text);
    ++m_nPageCount;
    return TRUE;
}

void CDialogPageCtrl::ShowSelectedPage() {
    const int selected = GetCurSel();
    if (selected < 0) {
        return;
    }
    for (int i = 0; i < MAX_PAGES && m_pages[i] != nullptr; ++i) {
        CDialogPage* page = m_pages[i];
        if (page->GetSafeHwnd() != nullptr && page->IsWindowVisible()) {
            page->ShowWindow(SW_HIDE);
            page->OnPageActivate(FALSE);
        }
    }
    CRect tab;
    GetItemRect(selected, &tab);
    if (selected < MAX_PAGES && m_pages[selected] != nullptr &&
        m_pages[selected]->GetSafeHwnd() != nullptr) {
        CDialogPage* page = m_pages[selected];
        page->SetWindowPos(nullptr, 4, (tab.bottom - tab.top) + 4, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        page->OnPageActivate(TRUE);
    }
}
