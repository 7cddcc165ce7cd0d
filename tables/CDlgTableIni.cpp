// A page's section of a configuration file.
#include "tables/CDlgTable.h"
#include "tables/TableIni.h"

BOOL CDlgTable::SaveToIni(const CString& path) {
    return SaveTableSection(path, m_outputIndex, m_maxValue, m_table);
}

void CDlgTable::LoadFromIni(const CString& path) {
    WORD maxValue = 0;
    WORD loaded[TABLE_SIZE] = {};
    if (!LoadTableSection(path, m_outputIndex, maxValue, loaded)) {
        return;  // no such section, or no range in it: the page stays as it is
    }
    SetMaxValue(maxValue);
    for (int i = 0; i < TABLE_SIZE; ++i) {
        m_table[i] = loaded[i];
    }
    RefillList();
    RedrawCurve();
    HandOverCurve();
}
