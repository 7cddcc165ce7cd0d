// Dialog data exchange: accepted and refused values, the standard prompts, abandoned exchanges and
// change notifications.
#include <gtest/gtest.h>

#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "tests/ui/TestDialogs.h"

namespace {
// Names a control that its template does not have.
class MisboundDialog : public CDialog {
public:
    MisboundDialog() : CDialog(IDD_BARE) {}
    CString m_strMissing = "kept";
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 9876, m_strMissing); }
};

class DataExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestResources(); }

    // Runs the form modally with the body as the person's actions, then ends it.
    template <class Body>
    void WithForm(FormDialog& dlg, Body body) {
        ui.ExpectModal([&](CDialog&) {
            body();
            dlg.EndDialog(IDOK);
        });
        dlg.DoModal();
    }
    ScriptedUi ui;
};
}  // namespace

TEST_F(DataExchangeTest, NumbersAreTakenOverOrRefusedWithThePrompt) {
    struct Case {
        UINT id;
        const char* text;
        bool accepted;
        double value;  // the field afterwards
        const char* prompt;
    };
    const Case cases[] = {
        {IDC_INT, "42", true, 42, nullptr},
        {IDC_INT, "  -17 ", true, -17, nullptr},
        {IDC_INT, "+3", true, 3, nullptr},
        {IDC_INT, "2147483647", true, 2147483647.0, nullptr},
        {IDC_INT, "2147483648", false, 5, "Please enter an integer."},
        {IDC_INT, "", false, 5, "Please enter an integer."},
        {IDC_INT, "12abc", false, 5, "Please enter an integer."},
        {IDC_INT, "1.5", false, 5, "Please enter an integer."},
        {IDC_UINT, "70000", true, 70000, nullptr},
        {IDC_UINT, "4294967295", true, 4294967295.0, nullptr},
        {IDC_UINT, "4294967296", false, 7, "Please enter a positive integer."},
        {IDC_UINT, "-1", false, 7, "Please enter a positive integer."},
        {IDC_UINT, "", false, 7, "Please enter a positive integer."},
        {IDC_REAL, "2.2", true, 2.2, nullptr},
        {IDC_REAL, "-1e-3", true, -0.001, nullptr},
        {IDC_REAL, "0,5", false, 0.5, "Please enter a number."},
        {IDC_REAL, "1e999", false, 0.5, "Please enter a number."},
        {IDC_REAL, "nan", false, 0.5, "Please enter a number."},
        {IDC_REAL, "x", false, 0.5, "Please enter a number."},
    };
    FormDialog dlg;
    WithForm(dlg, [&] {
        for (const Case& c : cases) {
            dlg.m_nInt = 5;
            dlg.m_nUint = 7;
            dlg.m_dReal = 0.5;
            ASSERT_TRUE(dlg.UpdateData(FALSE));
            dlg.SetDlgItemText(c.id, c.text);
            const size_t boxes = ui.CallsOf(ScriptedUi::Kind::MessageBox).size();
            if (!c.accepted)
                ui.ExpectMessageBox(IDOK);
            EXPECT_EQ(dlg.UpdateData(TRUE), c.accepted ? TRUE : FALSE) << c.text;
            const double value = c.id == IDC_INT    ? dlg.m_nInt
                                 : c.id == IDC_UINT ? dlg.m_nUint
                                                    : dlg.m_dReal;
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
            const auto calls = ui.CallsOf(ScriptedUi::Kind::MessageBox);
            if (c.accepted) {
                EXPECT_EQ(calls.size(), boxes) << c.text;
            } else {
                ASSERT_EQ(calls.size(), boxes + 1) << c.text;
                EXPECT_EQ(calls.back().text, CString(c.prompt));
                EXPECT_EQ(calls.back().type & MB_ICONMASK, MB_ICONEXCLAMATION);
            }
        }
    });
}

TEST_F(DataExchangeTest, ARefusedValueAbandonsTheRestOfTheExchange) {
    FormDialog dlg;
    WithForm(dlg, [&] {
        dlg.m_strText = "before";
        dlg.UpdateData(FALSE);
        dlg.SetDlgItemText(IDC_TEXT, "after");
        dlg.SetDlgItemText(IDC_UINT, "12");
        dlg.SetDlgItemText(IDC_INT, "zz");  // exchanged first
        ui.ExpectMessageBox(IDOK);
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_strText, CString("before"));
        EXPECT_EQ(dlg.m_nUint, 7u);
        CString shown;
        dlg.GetDlgItemText(IDC_INT, shown);
        EXPECT_EQ(shown, CString("zz"));  // the control keeps what was typed
    });
}

TEST_F(DataExchangeTest, WritingTheSameTextSendsNoChangeNotification) {
    FormDialog dlg;
    WithForm(dlg, [&] {
        const int start = dlg.textChanges;
        dlg.UpdateData(FALSE);  // "start" is already there
        EXPECT_EQ(dlg.textChanges, start);
        dlg.m_strText = "new";
        dlg.UpdateData(FALSE);
        EXPECT_EQ(dlg.textChanges, start + 1);  // program changes notify too
        dlg.m_editText.SetWindowText("new");
        EXPECT_EQ(dlg.textChanges, start + 1);
    });
}

TEST_F(DataExchangeTest, DoublesAreWrittenWithFifteenDigitsAndAPoint) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{0.1, "0.1"},
                          {2.2, "2.2"},
                          {-0.5, "-0.5"},
                          {1e20, "1e+20"},
                          {1.0 / 3, "0.333333333333333"}};
    FormDialog dlg;
    WithForm(dlg, [&] {
        for (const Case& c : cases) {
            dlg.m_dReal = c.value;
            dlg.UpdateData(FALSE);
            CString shown;
            dlg.GetDlgItemText(IDC_REAL, shown);
            EXPECT_EQ(shown, CString(c.text));
        }
    });
}

TEST_F(DataExchangeTest, CheckBoxAndComboIndexGoBothWays) {
    FormDialog dlg;
    WithForm(dlg, [&] {
        UiDriver::Show(dlg);
        CWnd* check = dlg.GetDlgItem(IDC_CHECK);
        UiDriver::Click(*check);
        EXPECT_EQ(dlg.checkClicks, 1);
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_bCheck, 1);
        EXPECT_EQ(dlg.m_nCombo, -1);  // no entry selected from the template

        dlg.m_bCheck = 0;
        dlg.m_nCombo = 2;
        dlg.UpdateData(FALSE);
        EXPECT_EQ(dlg.m_combo.GetCurSel(), 2);
        EXPECT_EQ(dlg.comboChanges, 0);  // program selection: no notification
        EXPECT_EQ(dlg.checkClicks, 1);
        dlg.m_nCombo = 99;
        dlg.UpdateData(FALSE);
        EXPECT_EQ(dlg.m_combo.GetCurSel(), CB_ERR);
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_bCheck, 0);
        EXPECT_EQ(dlg.m_nCombo, -1);
    });
}

TEST_F(DataExchangeTest, AMissingControlEndsTheExchangeWithoutAPrompt) {
    MisboundDialog dlg;
    ui.ExpectModal([&](CDialog&) {
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        EXPECT_FALSE(dlg.UpdateData(FALSE));
        dlg.OnOK();  // refused: the dialog stays
        EXPECT_FALSE(dlg.IsEnded());
        dlg.OnCancel();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strMissing, CString("kept"));
    EXPECT_TRUE(ui.CallsOf(ScriptedUi::Kind::MessageBox).empty());
}
