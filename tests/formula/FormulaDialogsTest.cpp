#include <gtest/gtest.h>

#include "formula/CDlgFormel.h"
#include "formula/CDlgGamma.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"
#include "resources/resource.h"

namespace {

CString TextOf(CDialog& dialog, int id) {
    CString text;
    dialog.GetDlgItem(id)->GetWindowText(text);
    return text;
}

class FormulaDialogsTest : public testing::Test {
protected:
    void SetUp() override { AfxSetResourceSet(&BrenvoResources()); }
    ScriptedUi ui;
};

}  // namespace

TEST_F(FormulaDialogsTest, TheFunctionListAppendsItsTextAndEveryOpeningStartsWithX4) {
    ui.ExpectModal(
        [&](CDialog& dialog) {
            CComboBox list;
            list.Attach(dialog.GetDlgItem(IDC_FUNCTION)->GetSafeHwnd());
            for (int entry : {1, 16, 0, 21}) {
                UiDriver::PickComboEntry(list, entry);
                EXPECT_EQ(list.GetCurSel(), 0) << "back to select...";
            }
            list.Detach();
            UiDriver::Click(*dialog.GetDlgItem(IDOK));
        },
        IDD_FORMEL);
    CDlgFormel first;
    ASSERT_EQ(first.DoModal(), IDOK);
    EXPECT_EQ(first.m_strFormula, "x*4sin(abs(x^2");

    ui.ExpectModal([&](CDialog& dialog) {
        EXPECT_EQ(TextOf(dialog, IDC_FORMULA), "x*4");
        dialog.EndDialog(IDCANCEL);
    });
    CDlgFormel().DoModal();
}

TEST_F(FormulaDialogsTest, EvaluateKeepsTheLow16BitsOfThe32BitTruncation) {
    struct Case {
        const char* formula;
        WORD x, expected;
    };
    // x reads as 1e-99 at 0, so 1/x is far outside 32 bits there; arcosh(-2) is not a number.
    const Case cases[] = {
        {"x*4", 255, 1020},
        {"0-1", 7, 65535},
        {"1/x", 0, 0},
        {"1/x", 1, 1},
        {"1/x", 2, 0},
        {"arcosh(0-2)", 5, 0},
        {"2147483647.9", 0, 65535},
        {"2147483648", 0, 0},
        {"0-2147483650", 0, 0},
    };
    for (const auto& c : cases) {
        CDlgFormel dialog;
        dialog.m_strFormula = c.formula;
        EXPECT_EQ(dialog.Evaluate(c.x), c.expected) << c.formula << " at " << c.x;
    }
}

TEST_F(FormulaDialogsTest, AGammaThatIsNoNumberIsRefusedAndTheDialogStaysOpen) {
    ui.ExpectModal(
        [&](CDialog& dialog) {
            EXPECT_EQ(TextOf(dialog, IDC_GAMMA), "0.5");
            dialog.GetDlgItem(IDC_GAMMA)->SetWindowText("2,2");
            ui.ExpectMessageBox(IDOK);
            UiDriver::Click(*dialog.GetDlgItem(IDOK));
            EXPECT_FALSE(dialog.IsEnded());
            EXPECT_EQ(ui.CallsOf(ScriptedUi::Kind::MessageBox).at(0).text,
                      "Please enter a number.");
            dialog.GetDlgItem(IDC_GAMMA)->SetWindowText("2.2");
            UiDriver::Click(*dialog.GetDlgItem(IDOK));
        },
        IDD_GAMMA);
    CDlgGamma dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_dGamma, 2.2);
}
