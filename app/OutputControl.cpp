// Output control: the four slider rows drive the dimmer's outputs. The scroll bar picks the output
// of the top row; the check box switches the sliders to 8-bit levels looked up in each output's
// table.
#include <algorithm>

#include "app/CBrenvoDlg.h"
#include "link/DeviceProtocol.h"
#include "platform/os/TextMark.h"

namespace {

constexpr int kLookupLevelMax = TABLE_ENTRIES - 1;
// Rows a line request and a page request move the outputs by.
constexpr int kLineStep = 1;
constexpr int kPageStep = CBrenvoDlg::SLIDER_ROWS;
// The top row's output never lets the bottom row pass the last output, whatever the range says.
constexpr int kLastTopOutput = CBrenvoDlg::MAX_OUTPUTS - CBrenvoDlg::SLIDER_ROWS;

CString OutputLabel(int outputNumber, int value) {
    CString text;
    text.Format(N_("Output %d (=%d):"), outputNumber, value);
    return text;
}

// m_sliders holds the rows bottom-up (4, 3, 2, 1).
CSliderCtrl& SliderOfRow(CSliderCtrl* sliders, int row) {
    return sliders[CBrenvoDlg::SLIDER_ROWS - row];
}

}  // namespace

void CBrenvoDlg::SendOutput(int row) {
    if (m_bAskingRange) {
        return;  // the range is not settled: the rows send once it is
    }
    const int value = SliderOfRow(m_sliders, row).GetPos();
    const int output = static_cast<BYTE>(m_scrollBar.GetScrollPos()) + row - 1;
    if (output >= MAX_OUTPUTS) {
        return;
    }
    m_nOutputValue[output] = value;
    // In 8-bit mode the range is 0 to 255; the clamp only guards the table's bounds.
    const WORD level = m_bLookup8Bit
                           ? m_tables[output].m_table[std::clamp(value, 0, kLookupLevelMax)]
                           : static_cast<WORD>(value);
    SendOutputLevel(m_hCable, output, level);
    m_strOutputLabel[row - 1] = OutputLabel(output + 1, value);
    UpdateData(FALSE);
}

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

// Nothing is sent here: the sliders send again when they next paint.
void CBrenvoDlg::OnBnClickedLookup8Bit() {
    UpdateData(TRUE);
    const int max = m_bLookup8Bit ? kLookupLevelMax : m_nMaxValue;
    for (int row = 1; row <= SLIDER_ROWS; ++row) {
        SliderOfRow(m_sliders, row).SetRange(0, max, FALSE);
    }
}

void CBrenvoDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar == nullptr || pScrollBar->m_hWnd != m_scrollBar.m_hWnd) {
        CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
        return;
    }
    int top = m_scrollBar.GetScrollPos();
    switch (nSBCode) {
        case SB_LINEUP:
            top -= kLineStep;
            break;
        case SB_LINEDOWN:
            top += kLineStep;
            break;
        case SB_PAGEUP:
            top -= kPageStep;
            break;
        case SB_PAGEDOWN:
            top += kPageStep;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            top = static_cast<int>(nPos);
            break;
        default:
            break;
    }
    int min = 0;
    int max = 0;
    m_scrollBar.GetScrollRange(&min, &max);
    top = std::clamp(top, 0, std::clamp(max, 0, kLastTopOutput));
    m_scrollBar.SetScrollPos(top, TRUE);

    for (int row = 1; row <= SLIDER_ROWS; ++row) {
        m_strOutputLabel[row - 1] = OutputLabel(top + row, m_nOutputValue[top + row - 1]);
    }
    // Each repaint sends that row's output again.
    for (int row = 1; row <= SLIDER_ROWS; ++row) {
        SliderOfRow(m_sliders, row).SetPos(m_nOutputValue[top + row - 1]);
    }
    UpdateData(FALSE);
    CDialog::OnVScroll(nSBCode, nPos, pScrollBar);
}
