// CDialogPageCtrl: the tab control of the main window. It records which page belongs to which tab
// (16 slots, pages not owned) and shows the page of the selected tab.
#pragma once

#include "platform/ui/CDialogPage.h"
#include "platform/ui/CTabCtrl.h"

class CDialogPageCtrl : public CTabCtrl {
public:
    static constexpr int MAX_PAGES = 16;

    // Appends a tab with the caption for a created page; FALSE (and no tab added) when all slots
    // are taken or the control refused the tab.
    BOOL AddPage(CDialogPage* pPage, const char* caption);
    // Hides every recorded page and shows the page of the selected tab below the tab row.
    void ShowSelectedPage();

    CDialogPage* m_pages[MAX_PAGES] = {};
    // Successful AddPage calls so far: the insertion position of the next tab. Deleting all tabs
    // does not reset it; the control then appends, and the slots are overwritten from 0 upward.
    int m_nPageCount = 0;
};
