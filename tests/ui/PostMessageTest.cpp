// Messages posted from another thread: delivered later, on the user-interface thread, through the
// message map; a window that is gone by then gets nothing.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/ui/TestDialogs.h"

TEST(PostMessageTest, PostedMessagesReachTheMapOnTheUserInterfaceThreadUnlessTheWindowWent) {
    UseTestResources();
    ScriptedUi ui;
    PanelDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        TestPage page;
        TestPage destroyed;
        auto freed = std::make_unique<TestPage>();
        for (TestPage* p : {&page, &destroyed, freed.get()})
            ASSERT_TRUE(p->Create(IDD_PAGE, &dlg.m_tab));
        std::thread poster([&] {
            for (int i = 1; i <= 3; ++i)
                EXPECT_TRUE(page.PostMessage(TestPage::WM_APP_TEST, i, -i));
            destroyed.PostMessage(TestPage::WM_APP_TEST, 9, 9);
            freed->PostMessage(TestPage::WM_APP_TEST, 9, 9);
        });
        poster.join();
        EXPECT_TRUE(page.posted.empty());  // not run by the poster
        const int before = TestPage::s_postedToAnyPage;
        destroyed.DestroyWindow();
        freed.reset();
        UiDriver::ProcessEvents();

        ASSERT_EQ(page.posted.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(page.posted[i].wParam, i + 1);
            EXPECT_EQ(page.posted[i].lParam, -static_cast<LPARAM>(i + 1));
            EXPECT_EQ(page.posted[i].thread, std::this_thread::get_id());
        }
        EXPECT_EQ(TestPage::s_postedToAnyPage, before + 3);
        EXPECT_TRUE(destroyed.posted.empty());
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
}
