// A page's section of a configuration file.
#include "tables/CDlgTable.h"

// To be built.
void CDlgTable::SaveToIni(const CString& /*path*/) {}
void CDlgTable::LoadFromIni(const CString& /*path*/) {}
