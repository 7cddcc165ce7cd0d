#include "tables/CDlgTable.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "link/CableTransport.h"
#include "link/SerialTransport.h"
#include "platform/os/TextMark.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CPaintDC.h"
#include "resources/resource.h"

WORD g_tableClipboard[TABLE_SIZE] = {};

namespace {

CString Decimal(unsigned value) {
    CString text;
    text.Format("%d", static_cast<int>(value));
    return text;
}

constexpr DWORD kCurveBlack = 0x00000001;  // blue 1: the pixel value that reads as black
constexpr DWORD kCurveWhite = 0x00FFFFFF;

}  // namespace

BEGIN_MESSAGE_MAP(CDlgTable, CDialogPage)
ON_WM_PAINT()
ON_BN_CLICKED(IDC_TABLE_COPY, &CDlgTable::OnBnClickedCopy)
ON_BN_CLICKED(IDC_TABLE_PASTE, &CDlgTable::OnBnClickedPaste)
ON_EN_CHANGE(IDC_VALUE, &CDlgTable::OnEnChangeValue)
ON_NOTIFY(NM_CLICK, IDC_TABLE_LIST, &CDlgTable::OnNMClickTable)
ON_BN_CLICKED(IDC_TABLE_WRITE, &CDlgTable::OnWrite)
ON_BN_CLICKED(IDC_TABLE_READ, &CDlgTable::OnRead)
ON_CBN_SELCHANGE(IDC_PREDEFINES, &CDlgTable::OnCbnSelchangePredefines)
END_MESSAGE_MAP()

CDlgTable::CDlgTable(CWnd* pParent) : CDialogPage(IDD_TABLE, pParent) {}

void CDlgTable::DoDataExchange(CDataExchange* pDX) {
    CDialogPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CURVE, m_picCurve);
    DDX_Control(pDX, IDC_PREDEFINES, m_cbPredefines);
    DDX_Control(pDX, IDC_TABLE_LIST, m_listTable);
    DDX_Text(pDX, IDC_VALUE, m_nValue);
}

BOOL CDlgTable::OnInitDialog() {
    CDialogPage::OnInitDialog();
    m_maxValue = 1023;
    m_listTable.InsertColumn(0, N_("DMX"), LVCFMT_LEFT, 45);
    m_listTable.InsertColumn(1, N_("OUTPUT"), LVCFMT_LEFT, 60);
    m_listTable.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_cbPredefines.SetCurSel(0);
    RedrawCurve();
    return TRUE;
}

void CDlgTable::RefillList() {
    m_listTable.DeleteAllItems();
    for (int i = 0; i < TABLE_SIZE; ++i) {
        m_listTable.InsertItem(i, Decimal(static_cast<unsigned>(i)));
        m_listTable.SetItemText(i, 1, Decimal(m_table[i]));
    }
}

void CDlgTable::SetMaxValue(WORD maxValue) {
    m_maxValue = maxValue;
    FillLinear(m_table, m_maxValue);
    RefillList();
    RedrawCurve();
    HandOverCurve();
}

void CDlgTable::SetRangeKeepingTable(WORD maxValue) {
    m_maxValue = maxValue;
    RedrawCurve();  // the preview's scale follows the range
    HandOverCurve();
}

bool CDlgTable::HoldsLinearCurve() const {
    WORD linear[TABLE_SIZE];
    FillLinear(linear, m_maxValue);
    return std::equal(std::begin(linear), std::end(linear), std::begin(m_table));
}

void CDlgTable::RedrawCurve() {
    // 8 output levels per pixel row; the 16-bit range is scaled down to the same height.
    const int divisor = (m_maxValue == 65535) ? 64 : 1;
    std::vector<DWORD> pixels(static_cast<size_t>(CURVE_SIZE) * CURVE_SIZE);
    for (int r = 0; r < CURVE_SIZE; ++r) {
        for (int c = 0; c < CURVE_SIZE; ++c) {
            bool black = (c == 0 || r == CURVE_SIZE - 1);
            if (!black) {
                const int v = m_table[2 * (c - 1)] / divisor;
                black = std::abs(1031 - 8 * r - v) < 8;
            }
            pixels[static_cast<size_t>(r) * CURVE_SIZE + c] = black ? kCurveBlack : kCurveWhite;
        }
    }
    // The picture control holds the handle of the bitmap it shows: it gets the new one before the
    // old one is deleted, so it never holds a freed handle.
    CBitmap fresh;
    fresh.CreateBitmap(CURVE_SIZE, CURVE_SIZE, 1, 32, pixels.data());
    m_picCurve.SetBitmap(fresh);
    m_bmpCurve.DeleteObject();
    m_bmpCurve.m_hObject = fresh.m_hObject;
    fresh.m_hObject = nullptr;

    const bool cableOpen = m_pCableHandle != nullptr && CableIsOpen(*m_pCableHandle);
    const BOOL linkOpen = (cableOpen || SerialIsOpen()) ? TRUE : FALSE;
    if (CWnd* write = GetDlgItem(IDC_TABLE_WRITE)) {
        write->EnableWindow(linkOpen);
    }
    if (CWnd* read = GetDlgItem(IDC_TABLE_READ)) {
        read->EnableWindow(linkOpen);
    }
}

void CDlgTable::HandOverCurve() {
    m_picCurve.SetBitmap(m_bmpCurve);
}

void CDlgTable::OnPaint() {
    CPaintDC dc(this);
    HandOverCurve();
}

void CDlgTable::OnBnClickedCopy() {
    for (int i = 0; i < TABLE_SIZE; ++i) {
        g_tableClipboard[i] = m_table[i];
    }
}

void CDlgTable::OnBnClickedPaste() {
    for (int i = 0; i < TABLE_SIZE; ++i) {
        m_table[i] = g_tableClipboard[i];
    }
    RefillList();
    RedrawCurve();
    HandOverCurve();
}

void CDlgTable::OnEnChangeValue() {
    // After a refill nothing is selected: an edit then has no entry to go to and is ignored.
    const int index = m_listTable.GetNextItem(-1, LVNI_SELECTED);
    if (index < 0 || index >= TABLE_SIZE) {
        return;
    }
    // A refused text leaves m_nValue at its last accepted value, which is stored instead.
    UpdateData(TRUE);
    m_table[index] = static_cast<WORD>(m_nValue & 0xFFFF);
    m_listTable.SetItemText(index, 1, Decimal(m_table[index]));
    RedrawCurve();
    HandOverCurve();
    UpdateData(FALSE);
}

void CDlgTable::OnNMClickTable(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    const int index = m_listTable.GetNextItem(-1, LVNI_SELECTED);
    if (index < 0 || index >= TABLE_SIZE) {
        return;
    }
    UpdateData(TRUE);
    m_nValue = m_table[index];
    UpdateData(FALSE);
}
