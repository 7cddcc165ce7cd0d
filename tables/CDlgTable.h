// CDlgTable: the page of one output's lookup table: the list of its 256 entries, the Value box that
// edits the selected entry, Copy and Paste between pages, the curve preview, and the Write and Read
// buttons, which are usable only while a link to the dimmer is open.
#pragma once

#include "platform/os/CableDriver.h"
#include "platform/ui/CBitmap.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialogPage.h"
#include "platform/ui/CListCtrl.h"
#include "platform/ui/CStatic.h"
#include "tables/LookupTable.h"

// The one table that Copy fills and Paste reads, shared by all pages; zeros until the first Copy.
extern WORD g_tableClipboard[TABLE_SIZE];

class CDlgTable : public CDialogPage {
public:
    explicit CDlgTable(CWnd* pParent = nullptr);

    // Sets the top of the output range and resets the table to the linear curve of that range.
    void SetMaxValue(WORD maxValue);
    // Sets the top of the output range and leaves every entry as it is (an entry above the new
    // top stays there).
    void SetRangeKeepingTable(WORD maxValue);
    // Whether the table is the linear curve of the page's range.
    bool HoldsLinearCurve() const;
    // Rebuilds the preview bitmap and enables Write and Read as the link state says.
    void RedrawCurve();

    // Transfers to and from the dimmer (TableTransfer.cpp).
    BOOL WriteTableToDevice();
    BOOL ReadTableFromDevice();
    BOOL ResetToLinearAndWrite();

    // The page's section of a configuration file (CDlgTableIni.cpp). SaveToIni: FALSE when a
    // write was refused.
    BOOL SaveToIni(const CString& path);
    void LoadFromIni(const CString& path);

    WORD m_table[TABLE_SIZE] = {};
    BYTE m_outputIndex = 0;
    FT_HANDLE* m_pCableHandle = nullptr;  // the main window's cable handle
    CBitmap m_bmpCurve;
    WORD m_maxValue = 0;
    BYTE m_writeCommand = 0;
    CStatic m_picCurve;
    CComboBox m_cbPredefines;
    CListCtrl m_listTable;
    UINT m_nValue = 0;

    static constexpr int CURVE_SIZE = 129;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    void OnBnClickedCopy();
    void OnBnClickedPaste();
    void OnEnChangeValue();
    void OnNMClickTable(NMHDR* pNMHDR, LRESULT* pResult);
    void OnWrite();
    void OnRead();
    // The predefined curves and table files (Predefines.cpp).
    void OnCbnSelchangePredefines();

    // Refills the list from m_table (the selection is lost).
    void RefillList();
    // Gives the preview bitmap to the picture control.
    void HandOverCurve();

    DECLARE_MESSAGE_MAP()
};
