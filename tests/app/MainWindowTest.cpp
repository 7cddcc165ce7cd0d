// The main window without a dimmer: its offline state, its tabs, and how its modal run ends.
#include <gtest/gtest.h>

#include <functional>

#include "app/CBrenvoDlg.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"
#include "tests/support/EmulatedSerialPorts.h"
#include "tests/support/RecordingCableDriver.h"

namespace {

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { AfxSetResourceSet(&BrenvoResources()); }

    // Runs the main window modally; `body` acts on it and must end it.
    void RunMain(const std::function<void(CBrenvoDlg&)>& body) {
        m_ui.ExpectModal([&](CDialog& dialog) { body(static_cast<CBrenvoDlg&>(dialog)); },
                         IDD_BRENVO_DIALOG);
        m_result = static_cast<int>(m_dlg.DoModal());
    }

    // Nothing attached: no cable, no COM port, and no pause of the port scan waited.
    RecordingTimeService m_time;
    RecordingCableDriver m_cable{&m_time};
    EmulatedSerialPorts m_ports;
    ScriptedUi m_ui;
    CBrenvoDlg m_dlg;
    int m_result = 0;
};

CString TitleOf(CWnd& window) {
    CString title;
    window.GetWindowText(title);
    return title;
}

}  // namespace

TEST_F(MainWindowTest, OpensOfflineWithFourOutputTabsAndEverythingDisabled) {
    RunMain([](CBrenvoDlg& dlg) {
        EXPECT_EQ(TitleOf(dlg), "Brenvo V2.4 - Offline");

        ASSERT_EQ(dlg.m_tabCtrl.GetItemCount(), 4);
        for (int i = 0; i < 4; ++i) {
            CString caption;
            caption.Format("Output %d", i + 1);
            EXPECT_EQ(dlg.m_tabCtrl.GetItemText(i), caption);
            EXPECT_EQ(dlg.m_tabCtrl.m_pages[i], &dlg.m_tables[i]);
        }
        EXPECT_EQ(dlg.m_tabCtrl.GetCurSel(), 0);
        EXPECT_TRUE(dlg.m_tables[0].IsWindowVisible());
        for (int k = 1; k < CBrenvoDlg::MAX_OUTPUTS; ++k) {
            EXPECT_FALSE(dlg.m_tables[k].IsWindowVisible()) << "page " << k + 1;
            EXPECT_EQ(dlg.m_tables[k].m_outputIndex, k);
            EXPECT_EQ(dlg.m_tables[k].m_pCableHandle, &dlg.m_hCable);
            EXPECT_EQ(dlg.m_tables[k].m_table[255], 1023) << "linear curve of the range";
        }
        EXPECT_EQ(dlg.m_standAlone.m_pCableHandle, &dlg.m_hCable);
        EXPECT_NE(dlg.m_standAlone.GetSafeHwnd(), nullptr);
        EXPECT_EQ(dlg.m_hCable, nullptr);
        EXPECT_EQ(dlg.m_nMaxValue, 1023);
        EXPECT_EQ(dlg.m_sliders[0].GetRangeMax(), 1023);

        const int disabled[] = {
            IDC_SLIDER_ROW1,       IDC_SLIDER_ROW2,         IDC_SLIDER_ROW3,    IDC_SLIDER_ROW4,
            IDC_LABEL_OUTPUT1,     IDC_LABEL_OUTPUT2,       IDC_LABEL_OUTPUT3,  IDC_LABEL_OUTPUT4,
            IDC_GROUP_OUTPUT,      IDC_LOOKUP_8BIT,         IDC_SCROLL_OUTPUTS, IDC_GROUP_TEMP,
            IDC_LABEL_ACTUAL_TEMP, IDC_LABEL_SHUTDOWN_TEMP, IDC_ACTUAL_TEMP,    IDC_SHUTDOWN_TEMP,
            IDC_TEMP_READ,         IDC_TEMP_WRITE,          IDC_TEMP_DEFAULT,
        };
        for (int id : disabled) {
            EXPECT_FALSE(dlg.GetDlgItem(id)->IsWindowEnabled()) << "control " << id;
        }
        EXPECT_TRUE(dlg.GetDlgItem(IDC_TAB)->IsWindowEnabled());
        EXPECT_TRUE(dlg.GetDlgItem(IDC_PROGRESS)->IsWindowEnabled());

        CString label;
        dlg.GetDlgItem(IDC_LABEL_OUTPUT3)->GetWindowText(label);
        EXPECT_EQ(label, "Output 3:");

        CMenu* menu = dlg.GetMenu();
        ASSERT_NE(menu, nullptr);
        for (UINT id : {ID_DEVICE_READALL, ID_DEVICE_WRITEALL, ID_DEVICE_RESETALL}) {
            EXPECT_TRUE(menu->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) << "item " << id;
        }
        for (UINT id : {ID_FILE_OPENCONFIG, ID_FILE_SAVECONFIG, ID_FILE_QUIT}) {
            EXPECT_FALSE(menu->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) << "item " << id;
        }
        dlg.EndDialog(IDCANCEL);
    });
}

TEST_F(MainWindowTest, ClickingATabShowsItsPage) {
    RunMain([](CBrenvoDlg& dlg) {
        UiDriver::ClickTab(dlg.m_tabCtrl, 2);
        EXPECT_EQ(dlg.m_tabCtrl.GetCurSel(), 2);
        EXPECT_TRUE(dlg.m_tables[2].IsWindowVisible());
        EXPECT_FALSE(dlg.m_tables[0].IsWindowVisible());
        dlg.EndDialog(IDCANCEL);
    });
}

TEST_F(MainWindowTest, EnterAndEscInsideAPageLeaveItOpen) {
    RunMain([](CBrenvoDlg& dlg) {
        CDlgTable& page = dlg.m_tables[0];
        UiDriver::PressKey(*page.GetDlgItem(IDC_VALUE), VK_RETURN);
        UiDriver::PressKey(*page.GetDlgItem(IDC_VALUE), VK_ESCAPE);
        UiDriver::PressKey(page.m_listTable, VK_ESCAPE);
        UiDriver::PressKey(page.m_listTable, VK_RETURN);
        EXPECT_FALSE(dlg.IsEnded());
        EXPECT_TRUE(page.IsWindowVisible());
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(m_result, IDCANCEL);
}

TEST_F(MainWindowTest, QuitEndsTheModalRun) {
    RunMain([](CBrenvoDlg& dlg) {
        ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_FILE_QUIT));
        EXPECT_TRUE(dlg.IsEnded());
    });
    EXPECT_EQ(m_result, IDCANCEL);
}

TEST_F(MainWindowTest, EscapeEndsTheModalRun) {
    RunMain([](CBrenvoDlg& dlg) {
        UiDriver::PressKey(dlg, VK_ESCAPE);
        EXPECT_TRUE(dlg.IsEnded());
    });
    EXPECT_EQ(m_result, IDCANCEL);
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheModalRun) {
    RunMain([](CBrenvoDlg& dlg) {
        UiDriver::CloseWindow(dlg);
        EXPECT_TRUE(dlg.IsEnded());
    });
    EXPECT_EQ(m_result, IDCANCEL);
}

TEST_F(MainWindowTest, TheWindowMenuEndsWithTheAboutItemWhichOpensTheAboutBox) {
    RunMain([this](CBrenvoDlg& dlg) {
        CMenu* sys = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(sys, nullptr);
        const int count = sys->GetMenuItemCount();
        ASSERT_GE(count, 2);
        EXPECT_EQ(sys->GetMenuItemID(count - 2), 0u) << "a separator before the item";
        EXPECT_EQ(sys->GetMenuItemID(count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        CString text;
        sys->GetMenuString(IDM_ABOUTBOX, text, MF_BYCOMMAND);
        EXPECT_EQ(text,
                  "Inf&o \xFC"
                  "ber Brenvo ...");

        bool aboutShown = false;
        m_ui.ExpectModal(
            [&](CDialog& about) {
                aboutShown = true;
                EXPECT_EQ(TitleOf(about),
                          "Info \xFC"
                          "ber Brenvo");
                about.OnOK();
            },
            IDD_ABOUTBOX);
        ASSERT_TRUE(UiDriver::TriggerMenuItem(dlg, IDM_ABOUTBOX, TRUE));
        EXPECT_TRUE(aboutShown);
        EXPECT_FALSE(dlg.IsEnded());
        dlg.EndDialog(IDCANCEL);
    });
}

TEST_F(MainWindowTest, AnEmptyAboutStringLeavesTheWindowMenuAlone) {
    // The program's own resources with string 101 emptied.
    const ResourceSet& own = BrenvoResources();
    const StringResource strings[] = {{IDS_ABOUTBOX, ""}, {IDS_TITLE, "Brenvo V2.4"}};
    ResourceSet withoutAbout = own;
    withoutAbout.strings = strings;
    withoutAbout.stringCount = 2;
    AfxSetResourceSet(&withoutAbout);

    RunMain([](CBrenvoDlg& dlg) {
        CMenu* sys = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(sys, nullptr);
        for (int i = 0; i < sys->GetMenuItemCount(); ++i) {
            EXPECT_NE(sys->GetMenuItemID(i), static_cast<UINT>(IDM_ABOUTBOX));
            EXPECT_NE(sys->GetMenuItemID(i), 0u) << "no separator appended";
        }
        EXPECT_EQ(TitleOf(dlg), "Brenvo V2.4 - Offline");
        dlg.EndDialog(IDCANCEL);
    });
    AfxSetResourceSet(&own);
}
