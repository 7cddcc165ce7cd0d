// The page's "select Predefines..." box: predefined curves, gamma, formula and table text files.
#include <sys/stat.h>

#include "formula/CDlgFormel.h"
#include "formula/CDlgGamma.h"
#include "platform/os/SafeFile.h"
#include "platform/os/TextMark.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CFileDialog.h"
#include "tables/CDlgTable.h"
#include "tables/TableFile.h"

namespace {

// The items of the box, by index (the page template lists their texts).
enum Predefine {
    kSelectPredefines = 0,
    kAllOn,
    kAllOff,
    kLinear,
    kGamma,
    kInvert,
    kLoadFromFile,
    kSaveToFile,
    kFormula,
};

constexpr const char* kTableFileExt = ".txt";
constexpr const char* kTableFileFilter = N_("TEXT Files (*.txt)|*.txt|All Files (*.*)|*.*||");
constexpr const char* kLoadName = "Table.txt";
constexpr const char* kSaveName = "Table_Output%d.txt";
constexpr const char* kOverrideQuestion = N_("File (%s) already exists. Do you want to override ?");
constexpr const char* kSaveFailed = N_("File (%s) could not be saved: %s.");

// Any kind of file counts, even one that cannot be read: replacing it needs the operator's Yes.
bool Exists(const CString& path) {
    struct stat st = {};
    return ::stat(path.GetString(), &st) == 0;
}

// FALSE when the operator answered No to replacing an existing file.
BOOL SaveToFile(BYTE outputIndex, const WORD (&table)[TABLE_SIZE]) {
    CString name;
    name.Format(kSaveName, outputIndex + 1);
    CFileDialog dialog(FALSE, kTableFileExt, name, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       kTableFileFilter);
    if (dialog.DoModal() != IDOK) {
        return TRUE;
    }
    const CString path = dialog.GetPathName();
    if (Exists(path)) {
        CString question;
        question.Format(kOverrideQuestion, path.GetString());
        if (AfxMessageBox(question, MB_YESNO) != IDYES) {
            return FALSE;
        }
    }
    // The new file replaces the old one only once it is complete, so a failed save loses nothing.
    if (const int error = SaveTableFile(path, table)) {
        CString report;
        report.Format(kSaveFailed, path.GetString(), FileErrorText(error));
        AfxMessageBox(report, MB_OK | MB_ICONEXCLAMATION);
    }
    return TRUE;
}

}  // namespace

void CDlgTable::OnCbnSelchangePredefines() {
    switch (m_cbPredefines.GetCurSel()) {
        case kAllOn:
            FillLevel(m_table, m_maxValue);
            RefillList();
            break;
        case kAllOff:
            FillLevel(m_table, 0);
            RefillList();
            break;
        case kLinear:
            SetMaxValue(m_maxValue);
            break;
        case kGamma: {
            CDlgGamma dialog;
            if (dialog.DoModal() == IDOK) {
                FillGamma(m_table, m_maxValue, dialog.m_dGamma);
                RefillList();
            }
            break;
        }
        case kInvert:
            Invert(m_table, m_maxValue);
            RefillList();
            break;
        case kLoadFromFile: {
            CFileDialog dialog(TRUE, kTableFileExt, kLoadName, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                               kTableFileFilter);
            if (dialog.DoModal() == IDOK && LoadTableFile(dialog.GetPathName(), m_table)) {
                RefillList();
            }
            break;
        }
        case kSaveToFile:
            if (!SaveToFile(m_outputIndex, m_table)) {
                return;  // No to the question: the box stays on "Save to file"
            }
            break;
        case kFormula: {
            CDlgFormel dialog;
            if (dialog.DoModal() == IDOK) {
                for (int x = 0; x < TABLE_SIZE; ++x) {
                    m_table[x] = dialog.Evaluate(static_cast<WORD>(x));
                }
                RefillList();
            }
            break;
        }
        default:
            break;
    }
    RedrawCurve();
    HandOverCurve();
    m_cbPredefines.SetCurSel(kSelectPredefines);
}
