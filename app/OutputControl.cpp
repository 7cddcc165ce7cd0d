// Output control: the four slider rows drive the dimmer's outputs.
#include "app/CBrenvoDlg.h"

// To be built: sending a row's level, the 8-bit lookup switch and scrolling through the outputs.
void CBrenvoDlg::SendOutput(int /*row*/) {}

void CBrenvoDlg::OnNMCustomdrawSliderRow1(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    SendOutput(1);
    *pResult = 0;
}
void CBrenvoDlg::OnNMCustomdrawSliderRow2(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    SendOutput(2);
    *pResult = 0;
}
void CBrenvoDlg::OnNMCustomdrawSliderRow3(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    SendOutput(3);
    *pResult = 0;
}
void CBrenvoDlg::OnNMCustomdrawSliderRow4(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    SendOutput(4);
    *pResult = 0;
}

void CBrenvoDlg::OnBnClickedLookup8Bit() {}

void CBrenvoDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
}
