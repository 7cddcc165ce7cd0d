// Under a German locale (which the toolkit takes for the whole process when it starts), numbers
// keep their decimal point: gamma values, formulas and what printf and strtod make of them.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "formula/CDlgGamma.h"
#include "formula/FormulaEntry.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/testing/ScriptedUi.h"
#include "platform/ui/testing/UiDriver.h"
#include "resources/BrenvoResources.h"
#include "resources/resource.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

class GermanNumbersTest : public testing::Test {
protected:
    // A German locale made for the test from the C library's sources (no locale need be
    // installed), taken as the toolkit takes the user's, then the program's own setting.
    void SetUp() override {
        AfxSetResourceSet(&BrenvoResources());
        const std::string made = m_dir.Path() + "/de_DE.UTF-8";
        ASSERT_EQ(std::system(("localedef -i de_DE -f UTF-8 '" + made + "' 2>/dev/null").c_str()),
                  0)
            << "localedef and the locale sources (Debian's locales package) are needed";
        setenv("LOCPATH", m_dir.Path().c_str(), 1);
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
        ASSERT_STREQ(std::localeconv()->decimal_point, ",") << "the test locale writes commas";
        AfxUseCNumbers();
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
    }
    TempRuntimeDir m_dir;
    ScriptedUi ui;
};

}  // namespace

TEST_F(GermanNumbersTest, GammaFormulasAndPrintfKeepTheDecimalPoint) {
    CString text;
    text.Format("%.1f", 2.2);
    EXPECT_EQ(text, "2.2");
    text.Format(
        "%.0f \xB0"
        "C",
        25.4);
    EXPECT_EQ(text,
              "25 \xB0"
              "C");
    EXPECT_EQ(std::strtod("1.5", nullptr), 1.5);

    WORD errorPosition = 0;
    CString message;
    EXPECT_EQ(FormulaEntry("x*1.5", 10, errorPosition, message), 15);
    EXPECT_EQ(errorPosition, 0);

    ui.ExpectModal(
        [&](CDialog& dialog) {
            CString shown;
            dialog.GetDlgItem(IDC_GAMMA)->GetWindowText(shown);
            EXPECT_EQ(shown, "0.5");
            dialog.GetDlgItem(IDC_GAMMA)->SetWindowText("2.2");
            UiDriver::Click(*dialog.GetDlgItem(IDOK));
        },
        IDD_GAMMA);
    CDlgGamma gamma;
    ASSERT_EQ(gamma.DoModal(), IDOK);
    EXPECT_EQ(gamma.m_dGamma, 2.2);
}
