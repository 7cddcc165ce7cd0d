// Temperature control: the one-second poll and the shut-down temperature's Read, Write, Default.
#include "app/CBrenvoDlg.h"

// To be built.
void CBrenvoDlg::OnTimer(UINT_PTR nIDEvent) {
    CDialog::OnTimer(nIDEvent);
}
void CBrenvoDlg::OnBnClickedTempRead() {}
void CBrenvoDlg::OnBnClickedTempWrite() {}
void CBrenvoDlg::OnBnClickedTempDefault() {}
