// The page's "select Predefines..." box: predefined curves, gamma, formula and table text files.
#include "tables/CDlgTable.h"

// To be built.
void CDlgTable::OnCbnSelchangePredefines() {}
