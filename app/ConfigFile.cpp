// The configuration file: File > Save config and Open config.
#include "app/CBrenvoDlg.h"

// To be built.
void CBrenvoDlg::OnOpenConfig() {}
void CBrenvoDlg::OnSaveConfig() {}
