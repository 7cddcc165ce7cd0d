#include "formula/CDlgFormel.h"

#include "formula/FormulaEntry.h"
#include "platform/ui/CDataExchange.h"
#include "resources/resource.h"

namespace {

constexpr const char* kDefaultFormula = "x*4";

// What each entry of the function list appends, by index; the entries' names are in the template.
// "abs" appends "abs(" like its siblings: the evaluator knows the name and nothing speaks for
// another text.
const char* const kAppendedTexts[] = {
    "",        "sin(", "arcsin(", "sinh(", "arsinh(", "cos(", "arccos(", "cosh(",
    "arcosh(", "tan(", "arctan(", "tanh(", "artanh(", "exp(", "ln(",     "int(",
    "abs(",    "10^x", "log(",    "rad(",  "deg(",    "x^2",  "sqr(",
};
constexpr int kFunctionCount = static_cast<int>(sizeof kAppendedTexts / sizeof kAppendedTexts[0]);

}  // namespace

BEGIN_MESSAGE_MAP(CDlgFormel, CDialog)
ON_CBN_SELCHANGE(IDC_FUNCTION, &CDlgFormel::OnCbnSelchangeFunction)
END_MESSAGE_MAP()

CDlgFormel::CDlgFormel(CWnd* pParent)
    : CDialog(IDD_FORMEL, pParent), m_strFormula(kDefaultFormula) {}

void CDlgFormel::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_FORMULA, m_strFormula);
    DDX_CBIndex(pDX, IDC_FUNCTION, m_nFunction);
}

void CDlgFormel::OnCbnSelchangeFunction() {
    UpdateData(TRUE);
    if (m_nFunction > 0 && m_nFunction < kFunctionCount) {
        m_strFormula += kAppendedTexts[m_nFunction];
    }
    m_nFunction = 0;
    UpdateData(FALSE);
}

WORD CDlgFormel::Evaluate(WORD x) {
    WORD errorPosition = 0;
    CString message;
    return FormulaEntry(m_strFormula, x, errorPosition, message);
}
