// Modal runs through the scripted seam: how Enter, Esc, the close box and commands end them, menus,
// the window menu, message map chaining, timers, and wrappers outliving their windows.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "platform/ui/qt/WindowLink.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/support/RecordingTimeService.h"
#include "tests/ui/TestDialogs.h"

namespace {
class DialogRunTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestResources(); }
    ScriptedUi ui;
};

class EarlyEndDialog : public FormDialog {
public:
    BOOL OnInitDialog() override {
        FormDialog::OnInitDialog();
        EndDialog(77);
        return TRUE;
    }
};

int g_forgottenResult = 0;
void RunDialogThatIsNeverEnded() {
    FormDialog dlg;
    g_forgottenResult = static_cast<int>(dlg.DoModal());
}

int g_unexpectedAnswer = 0;
}  // namespace

TEST_F(DialogRunTest, EscInAControlEndsTheRunWithCancel) {
    FormDialog dlg;
    ui.ExpectModal(
        [&](CDialog& d) {
            EXPECT_EQ(&d, &dlg);
            EXPECT_EQ(dlg.initCount, 1);  // OnInitDialog ran before the script
            EXPECT_NE(dlg.m_editText.m_hWnd,
                      nullptr);  // the base initialisation bound the controls
            UiDriver::PressKey(dlg.m_editText, VK_ESCAPE);
        },
        IDD_FORM);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_editText.m_hWnd, nullptr);  // the wrapper forgot the destroyed control
}

TEST_F(DialogRunTest, EnterTakesTheFieldsOverAndEndsWithOk) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        CWnd* edit = dlg.GetDlgItem(IDC_INT);
        ASSERT_NE(edit, nullptr);
        UiDriver::ClearText(*edit);
        UiDriver::TypeText(*edit, "42");
        UiDriver::PressKey(*edit, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nInt, 42);
}

TEST_F(DialogRunTest, EnterWithARefusedValueKeepsTheDialogOpen) {
    FormDialog dlg;
    bool stillRunning = false;
    ui.ExpectModal([&](CDialog&) {
        CWnd* edit = dlg.GetDlgItem(IDC_INT);
        UiDriver::ClearText(*edit);
        UiDriver::TypeText(*edit, "4x");
        UiDriver::PressKey(*edit, VK_RETURN);
        stillRunning = !dlg.IsEnded();
        UiDriver::PressKey(*edit, VK_ESCAPE);
    });
    ui.ExpectMessageBox(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(stillRunning);
    ASSERT_EQ(ui.CallsOf(ScriptedUi::Kind::MessageBox).size(), 1u);
    EXPECT_EQ(ui.CallsOf(ScriptedUi::Kind::MessageBox)[0].text,
              CString("Please enter an integer."));
    EXPECT_EQ(dlg.m_nInt, 5);
}

TEST_F(DialogRunTest, EnterOnAFocusedButtonClicksThatButton) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) { UiDriver::PressKey(*dlg.GetDlgItem(IDCANCEL), VK_RETURN); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogRunTest, EnterWithTheDefaultButtonDisabledOnlyBeeps) {
    RecordingTimeService time;  // beeps are sounded by the time service
    FormDialog dlg;
    bool ended = true;
    ui.ExpectModal([&](CDialog&) {
        dlg.GetDlgItem(IDOK)->EnableWindow(FALSE);
        UiDriver::PressKey(*dlg.GetDlgItem(IDC_INT), VK_RETURN);
        ended = dlg.IsEnded() != FALSE;
        dlg.EndDialog(IDABORT);
    });
    EXPECT_EQ(dlg.DoModal(), IDABORT);
    EXPECT_FALSE(ended);
    EXPECT_EQ(
        time.Events(),
        (std::vector<RecordingTimeService::Event>{{RecordingTimeService::Event::BeepSound, 0, 0}}));
}

TEST_F(DialogRunTest, CloseBoxIsTheCloseSystemCommandAndEndsWithCancel) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) { UiDriver::CloseWindow(dlg); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(dlg.sysCommands.size(), 1u);
    EXPECT_EQ(dlg.sysCommands[0], SC_CLOSE);
}

TEST_F(DialogRunTest, MenuCommandMappedToOnCancelEndsTheRun) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) { EXPECT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_FILE_QUIT)); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(DialogRunTest, TitleComesFromTheCaptionAndCanBeReplaced) {
    FormDialog dlg;
    CString before;
    CString after;
    ui.ExpectModal([&](CDialog&) {
        dlg.GetWindowText(before);
        dlg.SetWindowText("Brenvo \xB0 - Offline");
        dlg.GetWindowText(after);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(before, CString("Form"));
    EXPECT_EQ(after, CString("Brenvo \xB0 - Offline"));
}

TEST_F(DialogRunTest, MenuBarItemsCanBeGrayedAndCounted) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        CMenu* menu = dlg.GetMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->GetMenuItemCount(), 2);
        CMenu* file = menu->GetSubMenu(0);
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->GetMenuItemCount(), 3);
        EXPECT_EQ(file->GetMenuItemID(0), static_cast<UINT>(ID_FILE_OPEN));
        EXPECT_EQ(file->GetMenuItemID(1), 0u);  // separator
        EXPECT_EQ(file->GetMenuState(1, MF_BYPOSITION), MF_SEPARATOR);

        // Searching by command reaches into the popups.
        EXPECT_EQ(menu->EnableMenuItem(ID_DEVICE_READ, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
        EXPECT_EQ(menu->EnableMenuItem(ID_DEVICE_READ, MF_BYCOMMAND | MF_GRAYED), MF_GRAYED);
        EXPECT_EQ(menu->GetMenuState(ID_DEVICE_READ, MF_BYCOMMAND), MF_GRAYED);
        EXPECT_FALSE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_READ));
        EXPECT_EQ(dlg.reads, 0);
        EXPECT_EQ(menu->EnableMenuItem(ID_DEVICE_READ, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
        EXPECT_TRUE(UiDriver::TriggerMenuItem(dlg, ID_DEVICE_READ));
        EXPECT_EQ(dlg.reads, 1);

        CString text;
        EXPECT_EQ(menu->GetMenuString(ID_FILE_OPEN, text, MF_BYCOMMAND), 5);
        EXPECT_EQ(text, CString("&Open"));
        EXPECT_EQ(menu->GetMenuState(12345, MF_BYCOMMAND), 0xFFFFFFFFu);
        EXPECT_EQ(menu->EnableMenuItem(12345, MF_BYCOMMAND | MF_GRAYED), 0xFFFFFFFFu);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.GetMenu(), nullptr);  // gone with the window
}

TEST_F(DialogRunTest, WindowMenuItemsSendSystemCommands) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        CMenu* sys = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(sys, nullptr);
        const int before = sys->GetMenuItemCount();
        EXPECT_TRUE(sys->AppendMenu(MF_SEPARATOR));
        EXPECT_TRUE(sys->AppendMenu(MF_STRING, 16,
                                    "Inf&o \xFC"
                                    "ber Brenvo ..."));
        EXPECT_EQ(sys->GetMenuItemCount(), before + 2);
        CString text;
        sys->GetMenuString(16, text, MF_BYCOMMAND);
        EXPECT_EQ(text, CString("Inf&o \xFC"
                                "ber Brenvo ..."));
        // Where a person finds it: the "?" menu at the right of the menu bar and the context menu
        // of the window's background.
        QWidget* frame = WidgetOf(dlg.m_hWnd);
        auto* bar = frame->findChild<QMenuBar*>();
        ASSERT_NE(bar, nullptr);
        auto* corner = qobject_cast<QToolButton*>(bar->cornerWidget(Qt::TopRightCorner));
        ASSERT_NE(corner, nullptr);
        EXPECT_EQ(reinterpret_cast<HMENU>(corner->menu()), sys->m_hMenu);
        EXPECT_EQ(WidgetOf(dlg.GetDlgItem(IDC_INT)->m_hWnd)->parentWidget()->contextMenuPolicy(),
                  Qt::CustomContextMenu);
        EXPECT_TRUE(UiDriver::TriggerMenuItem(dlg, 16, TRUE));
        EXPECT_FALSE(dlg.IsEnded());  // 16 is no close command
        EXPECT_TRUE(UiDriver::TriggerMenuItem(dlg, SC_CLOSE, TRUE));
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.sysCommands, (std::vector<UINT>{16, SC_CLOSE}));
}

TEST_F(DialogRunTest, DialogWithoutSystemStyleHasNoWindowMenuOrMenuBar) {
    CDialog dlg(IDD_BARE);
    ui.ExpectModal([&](CDialog&) {
        EXPECT_EQ(dlg.GetSystemMenu(FALSE), nullptr);
        EXPECT_EQ(dlg.GetMenu(), nullptr);
        UiDriver::PressKey(*dlg.GetDlgItem(IDOK), VK_SPACE);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);  // the OK button's click is IDOK
}

TEST_F(DialogRunTest, DerivedMapsChainToTheBaseAndReplaceItsEntries) {
    DerivedFormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        UiDriver::TriggerMenuItem(dlg, ID_DEVICE_READ);   // only the base handles it
        UiDriver::TriggerMenuItem(dlg, ID_DEVICE_WRITE);  // only the derived class handles it
        UiDriver::TriggerMenuItem(dlg, ID_FILE_OPEN);     // both: the derived entry wins
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.reads, 1);
    EXPECT_EQ(dlg.writes, 1);
    EXPECT_EQ(dlg.derivedOpens, 1);
    EXPECT_EQ(dlg.opens, 0);
}

TEST_F(DialogRunTest, EndDialogDuringInitialisationSkipsTheModalRun) {
    EarlyEndDialog dlg;
    EXPECT_EQ(dlg.DoModal(), 77);
    EXPECT_TRUE(ui.CallsOf(ScriptedUi::Kind::Modal).empty());
}

TEST_F(DialogRunTest, MissingTemplateFailsWithoutARun) {
    CDialog dlg(9999);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(DialogRunTest, TimerTicksUntilKilledAndRestartsWhenSetAgain) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        EXPECT_NE(dlg.SetTimer(0, 20, nullptr), 0u);
        UiDriver::ProcessEventsFor(250);
        EXPECT_GE(dlg.timers.size(), 2u);
        EXPECT_TRUE(dlg.KillTimer(0));
        EXPECT_FALSE(dlg.KillTimer(0));
        const size_t afterKill = dlg.timers.size();
        UiDriver::ProcessEventsFor(100);
        EXPECT_EQ(dlg.timers.size(), afterKill);

        // Setting a running id again starts its period anew.
        dlg.timers.clear();
        // The restart at 500 ms moves the first tick from 1000 ms to 1500 ms; the check at 1100 ms
        // keeps a 400 ms margin for a loaded machine.
        dlg.SetTimer(3, 1000, nullptr);
        UiDriver::ProcessEventsFor(500);
        dlg.SetTimer(3, 1000, nullptr);
        UiDriver::ProcessEventsFor(600);
        EXPECT_TRUE(dlg.timers.empty());
        UiDriver::ProcessEventsFor(1000);
        EXPECT_FALSE(dlg.timers.empty());
        for (UINT_PTR id : dlg.timers)
            EXPECT_EQ(id, 3u);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    const size_t ended = dlg.timers.size();
    UiDriver::ProcessEventsFor(500);
    EXPECT_EQ(dlg.timers.size(), ended);  // the timer ended with the window
}

TEST_F(DialogRunTest, WrappersOfDestroyedWindowsAreHarmless) {
    FormDialog dlg;
    CWnd* temporary = nullptr;
    ui.ExpectModal([&](CDialog&) {
        temporary = dlg.GetDlgItem(IDC_INT);
        EXPECT_EQ(dlg.GetDlgItem(IDC_INT), temporary);  // one wrapper per control
        EXPECT_EQ(temporary->GetDlgCtrlID(), static_cast<int>(IDC_INT));
        EXPECT_EQ(temporary->GetParent(), &dlg);
        EXPECT_EQ(dlg.GetDlgItem(IDC_TEXT), &dlg.m_editText);  // the bound wrapper
        EXPECT_EQ(dlg.GetDlgItem(4242), nullptr);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
    UiDriver::ProcessEvents();
    // Every operation on a forgotten window is a no-op with a neutral answer.
    dlg.m_editText.SetWindowText("late");
    CString text;
    EXPECT_EQ(dlg.m_editText.GetWindowText(text), 0);
    EXPECT_FALSE(dlg.m_editText.IsWindowEnabled());
    EXPECT_EQ(dlg.m_combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(dlg.GetDlgItem(IDC_INT), nullptr);
    EXPECT_EQ(dlg.SetTimer(1, 10, nullptr), 0u);
}

TEST_F(DialogRunTest, TimerOfAWrapperEndsWithTheWrapper) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        {
            CWnd edit;
            edit.Attach(dlg.GetDlgItem(IDC_INT)->m_hWnd);
            EXPECT_NE(edit.SetTimer(9, 5, nullptr), 0u);
            edit.Detach();
            EXPECT_EQ(edit.m_hWnd, nullptr);
            EXPECT_TRUE(edit.Attach(dlg.GetDlgItem(IDC_REAL)->m_hWnd));
            EXPECT_NE(edit.SetTimer(9, 5, nullptr), 0u);
        }  // the control stays, its wrapper's timer must not call into freed memory
        UiDriver::ProcessEventsFor(60);
        EXPECT_NE(dlg.GetDlgItem(IDC_REAL), nullptr);
        dlg.EndDialog(IDOK);
    });
    dlg.DoModal();
}

TEST_F(DialogRunTest, ScriptedSeamFailsOnAnUnexpectedCallInsteadOfBlocking) {
    EXPECT_NONFATAL_FAILURE(g_unexpectedAnswer = AfxMessageBox("Surprise", MB_YESNO),
                            "unexpected a message box");
    EXPECT_EQ(g_unexpectedAnswer, IDNO);
    ui.ExpectModal([](CDialog&) {});
    EXPECT_NONFATAL_FAILURE(RunDialogThatIsNeverEnded(), "left template 500 running");
    EXPECT_EQ(g_forgottenResult, IDCANCEL);
}
