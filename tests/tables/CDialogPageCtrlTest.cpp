#include "tables/CDialogPageCtrl.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/ui/testing/UiDriver.h"
#include "tests/tables/PageHost.h"

namespace {

// A page that counts how its tab control tells it about showing and hiding.
class CountingPage : public CDialogPage {
public:
    CountingPage() : CDialogPage(IDD_STANDALONE, nullptr) {}
    void OnPageActivate(BOOL bActive) override { (bActive ? shown : hidden)++; }
    int shown = 0;
    int hidden = 0;
};

struct PageSet {
    explicit PageSet(PageHost& host, int count) {
        for (int i = 0; i < count; ++i) {
            pages.push_back(std::make_unique<CountingPage>());
            pages.back()->Create(IDD_STANDALONE, &host.m_tabCtrl);
        }
    }
    std::vector<std::unique_ptr<CountingPage>> pages;
};

int TabRowHeight(CDialogPageCtrl& tabs, int index) {
    CRect r;
    tabs.GetItemRect(index, &r);
    return r.bottom - r.top;
}

}  // namespace

TEST(CDialogPageCtrl, ShowsTheSelectedPageBelowTheTabRowAndHidesTheOthers) {
    ScriptedUi ui;
    PageHost host;
    host.Run(ui, [&] {
        PageSet set(host, 3);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(host.m_tabCtrl.AddPage(set.pages[i].get(), "Page"));
            EXPECT_EQ(set.pages[i]->m_nTabIndex, i);
            EXPECT_FALSE(set.pages[i]->IsWindowVisible()) << "pages start hidden";
        }
        const CRect before = UiDriver::Geometry(*set.pages[2]);

        host.m_tabCtrl.SetCurSel(2);
        host.m_tabCtrl.ShowSelectedPage();
        EXPECT_TRUE(set.pages[2]->IsWindowVisible());
        const CRect at = UiDriver::Geometry(*set.pages[2]);
        EXPECT_EQ(at.left, 4);
        EXPECT_EQ(at.top, TabRowHeight(host.m_tabCtrl, 2) + 4);
        EXPECT_EQ(at.Width(), before.Width()) << "the page keeps its size";
        EXPECT_EQ(at.Height(), before.Height());
        EXPECT_EQ(set.pages[2]->shown, 1);

        host.m_tabCtrl.SetCurSel(0);
        host.m_tabCtrl.ShowSelectedPage();
        EXPECT_TRUE(set.pages[0]->IsWindowVisible());
        EXPECT_FALSE(set.pages[2]->IsWindowVisible());
        EXPECT_EQ(set.pages[2]->hidden, 1);
        EXPECT_EQ(set.pages[1]->hidden, 0) << "only visible pages are told they were hidden";
    });
}

TEST(CDialogPageCtrl, ATabWithoutAPageHidesTheVisiblePageAndShowsNothing) {
    ScriptedUi ui;
    PageHost host;
    host.Run(ui, [&] {
        PageSet set(host, 1);
        host.m_tabCtrl.AddPage(set.pages[0].get(), "Page");
        host.m_tabCtrl.SetCurSel(0);
        host.m_tabCtrl.ShowSelectedPage();
        ASSERT_TRUE(set.pages[0]->IsWindowVisible());

        ASSERT_EQ(host.m_tabCtrl.InsertItem(1, "Empty"), 1);
        host.m_tabCtrl.SetCurSel(1);
        host.m_tabCtrl.ShowSelectedPage();
        EXPECT_FALSE(set.pages[0]->IsWindowVisible());
    });
}

TEST(CDialogPageCtrl, ASeventeenthPageIsRefusedAndChangesNothing) {
    ScriptedUi ui;
    PageHost host;
    host.Run(ui, [&] {
        PageSet set(host, 17);
        for (int i = 0; i < 16; ++i) {
            ASSERT_TRUE(host.m_tabCtrl.AddPage(set.pages[i].get(), "Page"));
        }
        EXPECT_FALSE(host.m_tabCtrl.AddPage(set.pages[16].get(), "Page"));
        EXPECT_EQ(host.m_tabCtrl.m_nPageCount, 16);
        EXPECT_EQ(host.m_tabCtrl.GetItemCount(), 16);
        EXPECT_EQ(set.pages[16]->m_nTabIndex, -1);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(host.m_tabCtrl.m_pages[i], set.pages[i].get());
        }
    });
}

TEST(CDialogPageCtrl, AfterDeletingAllTabsFewerPagesReuseTheLowSlots) {
    ScriptedUi ui;
    PageHost host;
    host.Run(ui, [&] {
        PageSet first(host, 4);
        for (auto& page : first.pages) {
            host.m_tabCtrl.AddPage(page.get(), "Old");
        }
        host.m_tabCtrl.SetCurSel(3);
        host.m_tabCtrl.ShowSelectedPage();
        ASSERT_TRUE(first.pages[3]->IsWindowVisible());

        host.m_tabCtrl.DeleteAllItems();
        PageSet second(host, 2);
        for (auto& page : second.pages) {
            ASSERT_TRUE(host.m_tabCtrl.AddPage(page.get(), "New"));
        }
        EXPECT_EQ(host.m_tabCtrl.m_nPageCount, 6) << "the count is not reset by deleting tabs";
        EXPECT_EQ(host.m_tabCtrl.GetItemCount(), 2);
        EXPECT_EQ(second.pages[0]->m_nTabIndex, 0);
        EXPECT_EQ(second.pages[1]->m_nTabIndex, 1);

        for (int tab = 0; tab < 2; ++tab) {
            host.m_tabCtrl.SetCurSel(tab);
            host.m_tabCtrl.ShowSelectedPage();
            EXPECT_TRUE(second.pages[tab]->IsWindowVisible()) << "tab " << tab;
            EXPECT_FALSE(second.pages[1 - tab]->IsWindowVisible());
            for (auto& old : first.pages) {
                EXPECT_FALSE(old->IsWindowVisible()) << "old pages in higher slots stay hidden";
            }
        }
    });
}
