// The application object's resources, cursors and message boxes through the seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>

#include "platform/ui/testing/ScriptedUi.h"
#include "tests/ui/TestDialogs.h"

namespace {
class AppTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestResources(); }
    ScriptedUi ui;
};
}  // namespace

TEST_F(AppTest, ApplicationObjectRegistersItselfAndLoadsResources) {
    {
        CWinApp app("Tester");
        EXPECT_EQ(AfxGetApp(), &app);
        const HICON icon = app.LoadIcon(IDI_APP);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(app.LoadIcon(IDI_APP), icon);  // loaded once
        EXPECT_EQ(app.LoadIcon(4711), nullptr);
        EXPECT_NE(app.LoadStandardCursor(IDC_WAIT), nullptr);
        EXPECT_NE(app.LoadStandardCursor(IDC_WAIT), app.LoadStandardCursor(IDC_ARROW));
        EXPECT_EQ(app.LoadStandardCursor(1), nullptr);

        ui.ExpectMessageBox(IDYES);
        EXPECT_EQ(AfxMessageBox("Replace?", MB_YESNO | MB_ICONQUESTION), IDYES);
        const auto boxes = ui.CallsOf(ScriptedUi::Kind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, CString("Tester"));
        EXPECT_EQ(boxes[0].type, MB_YESNO | MB_ICONQUESTION);

        FormDialog dlg;
        ui.ExpectModal([&](CDialog&) {
            EXPECT_EQ(dlg.SetIcon(icon, TRUE), nullptr);
            EXPECT_EQ(dlg.SetIcon(icon, FALSE), nullptr);
            EXPECT_EQ(dlg.GetIcon(TRUE), icon);
            EXPECT_EQ(dlg.OnQueryDragIcon(), icon);
            EXPECT_FALSE(dlg.IsIconic());
            ui.ExpectMessageBox(IDOK);
            dlg.MessageBox("Hello", "Caption");
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
        EXPECT_EQ(ui.CallsOf(ScriptedUi::Kind::MessageBox)[1].caption, CString("Caption"));
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
}

TEST_F(AppTest, MainWindowPointerGoesWithItsWindowObject) {
    CWinApp app;
    {
        FormDialog main;
        app.m_pMainWnd = &main;
        ui.ExpectModal([&](CDialog&) { main.EndDialog(IDOK); });
        main.DoModal();
        EXPECT_EQ(app.m_pMainWnd, &main);  // the object outlives its window
    }
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    // A later dialog and message box find no owner instead of a freed one.
    FormDialog later;
    ui.ExpectModal([&](CDialog&) { later.EndDialog(IDOK); });
    EXPECT_EQ(later.DoModal(), IDOK);
    ui.ExpectMessageBox(IDOK);
    EXPECT_EQ(AfxMessageBox("After"), IDOK);
}

TEST_F(AppTest, WaitCursorShowsAndRestores) {
    CWinApp app;
    {
        CWaitCursor wait;
        SetCursor(app.LoadStandardCursor(IDC_ARROW));
        wait.Restore();
    }
    const auto calls = ui.CallsOf(ScriptedUi::Kind::Cursor);
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].cursor, app.LoadStandardCursor(IDC_WAIT));
    EXPECT_EQ(calls[1].cursor, app.LoadStandardCursor(IDC_ARROW));
    EXPECT_EQ(calls[2].cursor, app.LoadStandardCursor(IDC_WAIT));
    EXPECT_EQ(calls[3].cursor, app.LoadStandardCursor(IDC_ARROW));
}

TEST_F(AppTest, WindowsUseTheFusionStyle) {
    FormDialog dlg;
    ui.ExpectModal([&](CDialog&) { dlg.EndDialog(IDOK); });
    dlg.DoModal();
    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
}
