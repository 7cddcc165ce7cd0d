// Child pages inside a tab control: plain child windows that keep Enter and Esc to themselves, and
// whose lifetime is independent of their wrappers'.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/ui/qt/WindowLink.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/ui/TestDialogs.h"

namespace {
class PageTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestResources(); }

    template <class Body>
    int Run(PanelDialog& dlg, Body body) {
        ui.ExpectModal([&](CDialog&) {
            UiDriver::Show(dlg);
            body();
            if (!dlg.IsEnded())
                dlg.EndDialog(IDOK);
        });
        return static_cast<int>(dlg.DoModal());
    }

    // Shows the page below the tabs, as a tab control's owner does.
    static void ShowPage(TestPage& page) {
        page.SetWindowPos(nullptr, 4, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        UiDriver::ProcessEvents();
    }
    ScriptedUi ui;
};
}  // namespace

TEST_F(PageTest, PageIsAHiddenPlainChildOfTheTabControl) {
    PanelDialog dlg;
    TestPage page;
    EXPECT_EQ(page.m_nTabIndex, -1);
    Run(dlg, [&] {
        ASSERT_TRUE(page.Create(IDD_PAGE, &dlg.m_tab));
        EXPECT_FALSE(page.IsWindowVisible());  // no visible style in the template
        EXPECT_EQ(page.GetParent(), &dlg.m_tab);
        QWidget* w = WidgetOf(page.m_hWnd);
        EXPECT_FALSE(w->isWindow());
        EXPECT_EQ(w->parentWidget(), WidgetOf(dlg.m_tab.m_hWnd));

        ShowPage(page);
        EXPECT_TRUE(page.IsWindowVisible());
        EXPECT_EQ(UiDriver::Geometry(page), CRect(4, 30, 304, 193));  // 200 x 100 dialog units
        EXPECT_GT(page.paints, 0);
        EXPECT_TRUE(page.paintHadContext);

        // Deleting the tabs leaves the page alone: the tab control does not own it.
        dlg.m_tab.InsertItem(0, "Output 1");
        dlg.m_tab.DeleteAllItems();
        EXPECT_NE(page.m_hWnd, nullptr);
        EXPECT_TRUE(page.IsWindowVisible());
    });
    EXPECT_EQ(page.m_hWnd, nullptr);  // destroyed with the window that held it
    EXPECT_EQ(page.m_edit.m_hWnd, nullptr);
}

TEST_F(PageTest, EnterAndEscInsideAPageLeaveThePageAndTheWindowOpen) {
    PanelDialog dlg;
    TestPage page;
    bool endedInside = true;
    bool visibleInside = false;
    const int result = Run(dlg, [&] {
        ASSERT_TRUE(page.Create(IDD_PAGE, &dlg.m_tab));
        ShowPage(page);
        UiDriver::PressKey(page.m_edit, VK_RETURN);
        UiDriver::PressKey(page.m_edit, VK_ESCAPE);
        UiDriver::PressKey(page.m_list, VK_ESCAPE);
        UiDriver::PressKey(page.m_list, VK_RETURN);
        UiDriver::PressKey(*page.GetDlgItem(IDC_PAGE_BUTTON),
                           VK_RETURN);  // clicks the focused button
        endedInside = dlg.IsEnded() != FALSE;
        visibleInside = page.IsWindowVisible() != FALSE;
        // Esc in a control of the window itself still ends the window.
        UiDriver::PressKey(dlg.m_list, VK_ESCAPE);
    });
    EXPECT_EQ(page.oks, 2);
    EXPECT_EQ(page.cancels, 2);
    EXPECT_EQ(page.presses, 1);
    EXPECT_FALSE(endedInside);
    EXPECT_TRUE(visibleInside);
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(PageTest, PageObjectMayGoBeforeOrAfterItsParentWindow) {
    PanelDialog dlg;
    Run(dlg, [&] {
        QWidget* tab = WidgetOf(dlg.m_tab.m_hWnd);
        const int childrenBefore =
            static_cast<int>(tab->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size());
        {
            TestPage early;
            ASSERT_TRUE(early.Create(IDD_PAGE, &dlg.m_tab));
            ShowPage(early);
            early.m_list.InsertColumn(0, "A", LVCFMT_LEFT, 20);
            early.m_list.InsertItem(0, "row");
        }  // the wrapper takes its window with it
        UiDriver::ProcessEvents();
        EXPECT_EQ(static_cast<int>(tab->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size()),
                  childrenBefore);
    });
    // And a page created in a window that has gone is simply without a window.
    TestPage late;
    EXPECT_FALSE(late.Create(IDD_PAGE, &dlg.m_tab));
    EXPECT_EQ(late.m_hWnd, nullptr);
    EXPECT_FALSE(late.Create(4711, nullptr));
}

TEST_F(PageTest, HandingTheSameBitmapOverOnEveryPaintDoesNotPaintForever) {
    PanelDialog dlg;
    TestPage page;
    Run(dlg, [&] {
        ASSERT_TRUE(page.Create(IDD_PAGE, &dlg.m_tab));
        std::vector<unsigned char> black(20 * 20 * 4, 0);
        ASSERT_TRUE(page.m_bitmap.CreateBitmap(20, 20, 1, 32, black.data()));
        ShowPage(page);
        UiDriver::ProcessEvents();
        EXPECT_EQ(UiDriver::Geometry(page.m_picture).Width(), 20);
        const int settled = page.paints;
        UiDriver::ProcessEvents();
        UiDriver::ProcessEvents();
        EXPECT_EQ(page.paints, settled);

        // A new bitmap (the old one deleted first) is shown after the next paint, and painting
        // settles.
        std::vector<unsigned char> white(30 * 30 * 4, 255);
        page.m_bitmap.DeleteObject();
        ASSERT_TRUE(page.m_bitmap.CreateBitmap(30, 30, 1, 32, white.data()));
        page.Invalidate();
        UiDriver::ProcessEvents();
        EXPECT_EQ(UiDriver::Geometry(page.m_picture).Width(), 30);
        const int again = page.paints;
        EXPECT_GT(again, settled);
        UiDriver::ProcessEvents();
        EXPECT_EQ(page.paints, again);
    });
}
