// The Device menu: Read all, Write all and Reset all over the model's outputs.
#include "app/CBrenvoDlg.h"

// To be built.
void CBrenvoDlg::OnReadAll() {}
void CBrenvoDlg::OnWriteAll() {}
void CBrenvoDlg::OnResetAll() {}
