// A busy scope over a long operation: the window keeps painting through the operation's pauses,
// and takes no input, no close request and no timer tick until the scope ends.
#include "platform/ui/CBusyScope.h"

#include <gtest/gtest.h>

#include "platform/os/TimeService.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/ui/TestDialogs.h"

TEST(BusyScopeTest, PausesRepaintButInputTicksAndCloseAreDropped) {
    UseTestResources();
    ScriptedUi ui;
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        UiDriver::ProcessEvents();
        dlg.SetTimer(5, 1, nullptr);
        const int paintsBefore = UiDriver::PaintCount(dlg);
        {
            CBusyScope busy;
            UiDriver::Click(*dlg.GetDlgItem(IDC_CHECK));
            UiDriver::PressKey(*dlg.GetDlgItem(IDC_INT), VK_ESCAPE);
            UiDriver::CloseWindow(dlg);
            dlg.GetDlgItem(IDC_TEXT)->SetWindowText("changed");
            dlg.Invalidate();
            dlg.timers.clear();
            Sleep(60);  // the production pause pumps the window
            EXPECT_GT(UiDriver::PaintCount(dlg), paintsBefore);
        }
        EXPECT_FALSE(CBusyScope::IsActive());
        EXPECT_EQ(dlg.checkClicks, 0);
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_TRUE(dlg.timers.empty());
        // Afterwards all of it works again.
        UiDriver::Click(*dlg.GetDlgItem(IDC_CHECK));
        EXPECT_EQ(dlg.checkClicks, 1);
        UiDriver::ProcessEventsFor(30);
        EXPECT_FALSE(dlg.timers.empty());
        dlg.KillTimer(5);
        UiDriver::CloseWindow(dlg);
        EXPECT_TRUE(dlg.IsEnded());
    });
    dlg.DoModal();
    const auto cursors = ui.CallsOf(ScriptedUi::Kind::Cursor);
    ASSERT_EQ(cursors.size(), 2u) << "the wait cursor, then the arrow";
}

// A slider notifies its parent on every paint; while busy a repaint must not start an exchange.
TEST(BusyScopeTest, SliderPaintsDuringPausesNotifyNobody) {
    UseTestResources();
    ScriptedUi ui;
    PanelDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        UiDriver::ProcessEvents();
        const int before = dlg.customDraws;
        const int paints = UiDriver::PaintCount(dlg.m_slider);
        {
            CBusyScope busy;
            dlg.m_slider.SetPos(dlg.m_slider.GetPos() + 5);
            dlg.m_slider.Invalidate();
            Sleep(40);
        }
        EXPECT_GT(UiDriver::PaintCount(dlg.m_slider), paints);
        EXPECT_EQ(dlg.customDraws, before);
        dlg.m_slider.Invalidate();
        UiDriver::ProcessEvents();
        EXPECT_GT(dlg.customDraws, before);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
}
