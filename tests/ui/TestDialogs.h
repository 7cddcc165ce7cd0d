// Dialogs of the framework's tests: they record what reaches their handlers.
#pragma once

#include <thread>
#include <utility>
#include <vector>

#include "platform/ui/Afx.h"
#include "tests/ui/TestResources.h"

// Template IDD_FORM: every exchanged field type, a menu and the system menu.
class FormDialog : public CDialog {
public:
    FormDialog() : CDialog(IDD_FORM) {}

    int m_nInt = 5;
    UINT m_nUint = 7;
    double m_dReal = 0.5;
    CString m_strText = "start";
    int m_bCheck = 0;
    int m_nCombo = -1;
    CEdit m_editText;
    CComboBox m_combo;

    int initCount = 0;
    int textChanges = 0;
    int comboChanges = 0;
    int checkClicks = 0;
    int reads = 0;
    int opens = 0;
    std::vector<UINT> sysCommands;
    std::vector<UINT_PTR> timers;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEXT, m_editText);
        DDX_Control(pDX, IDC_COMBO, m_combo);
        DDX_Text(pDX, IDC_INT, m_nInt);
        DDX_Text(pDX, IDC_UINT, m_nUint);
        DDX_Text(pDX, IDC_REAL, m_dReal);
        DDX_Text(pDX, IDC_TEXT, m_strText);
        DDX_Check(pDX, IDC_CHECK, m_bCheck);
        DDX_CBIndex(pDX, IDC_COMBO, m_nCombo);
    }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ++initCount;
        return TRUE;
    }

    void OnTimer(UINT_PTR id) { timers.push_back(id); }
    void OnSysCommand(UINT id, LPARAM lParam) {
        sysCommands.push_back(id);
        CDialog::OnSysCommand(id, lParam);
    }

protected:
    void OnTextChange() { ++textChanges; }
    void OnComboChange() { ++comboChanges; }
    void OnCheck() { ++checkClicks; }
    void OnRead() { ++reads; }
    void OnOpen() { ++opens; }
    DECLARE_MESSAGE_MAP()
};

// Derived map: one entry of its own, one that replaces the base's.
class DerivedFormDialog : public FormDialog {
public:
    int writes = 0;
    int derivedOpens = 0;

protected:
    void OnWrite() { ++writes; }
    void OnOpenHere() { ++derivedOpens; }
    DECLARE_MESSAGE_MAP()
};

// Template IDD_PANEL: the common controls.
class PanelDialog : public CDialog {
public:
    PanelDialog() : CDialog(IDD_PANEL) {}

    CSliderCtrl m_slider;
    CScrollBar m_scroll;
    CTabCtrl m_tab;
    CListCtrl m_list;
    CProgressCtrl m_progress;
    CStatic m_picture;

    int customDraws = 0;
    int tabChanges = 0;
    int listClicks = 0;
    int selectedAtClick = -2;
    std::vector<std::pair<UINT, UINT>> scrolls;  // (code, position)
    bool scrollBarMatched = true;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_SLIDER, m_slider);
        DDX_Control(pDX, IDC_SCROLL, m_scroll);
        DDX_Control(pDX, IDC_TAB, m_tab);
        DDX_Control(pDX, IDC_LIST, m_list);
        DDX_Control(pDX, IDC_PROGRESS, m_progress);
        DDX_Control(pDX, IDC_PICTURE, m_picture);
    }

    bool followLines = false;  // move the bar on line requests, as a real handler does

    void OnVScroll(UINT code, UINT pos, CScrollBar* bar) {
        scrolls.emplace_back(code, pos);
        if (bar != &m_scroll)
            scrollBarMatched = false;
        if (followLines && code == SB_LINEDOWN)
            m_scroll.SetScrollPos(m_scroll.GetScrollPos() + 1);
        if (followLines && code == SB_LINEUP)
            m_scroll.SetScrollPos(m_scroll.GetScrollPos() - 1);
    }

protected:
    void OnSliderDraw(NMHDR* hdr, LRESULT* result) {
        if (hdr->idFrom == IDC_SLIDER && hdr->hwndFrom == m_slider.m_hWnd)
            ++customDraws;
        *result = CDRF_DODEFAULT;
    }
    void OnTabChange(NMHDR*, LRESULT* result) {
        ++tabChanges;
        *result = 0;
    }
    void OnListClick(NMHDR*, LRESULT* result) {
        ++listClicks;
        selectedAtClick = m_list.GetNextItem(-1, LVNI_SELECTED);
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

// Template IDD_PAGE: a child page.
class TestPage : public CDialogPage {
public:
    explicit TestPage(CWnd* parent = nullptr) : CDialogPage(IDD_PAGE, parent) {}
    int oks = 0;
    int cancels = 0;
    int presses = 0;
    int paints = 0;
    bool paintHadContext = false;
    std::vector<BOOL> activations;
    CEdit m_edit;
    CListCtrl m_list;
    CStatic m_picture;
    CBitmap m_bitmap;  // handed to the picture on every paint, as a curve preview is

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_PAGE_EDIT, m_edit);
        DDX_Control(pDX, IDC_PAGE_LIST, m_list);
        DDX_Control(pDX, IDC_PAGE_PICTURE, m_picture);
    }
    void OnOK() override {
        ++oks;
        CDialogPage::OnOK();
    }
    void OnCancel() override {
        ++cancels;
        CDialogPage::OnCancel();
    }
    void OnPageActivate(BOOL active) override { activations.push_back(active); }

    static constexpr UINT WM_APP_TEST = WM_APP + 1;
    struct Posted {
        WPARAM wParam;
        LPARAM lParam;
        std::thread::id thread;
    };
    std::vector<Posted> posted;
    inline static int s_postedToAnyPage = 0;
    LRESULT OnPosted(WPARAM wParam, LPARAM lParam) {
        posted.push_back({wParam, lParam, std::this_thread::get_id()});
        ++s_postedToAnyPage;
        return 0;
    }

    void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        paintHadContext = dc.GetSafeHdc() != nullptr;
        if (m_bitmap.GetSafeHandle())
            m_picture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP,
                                  reinterpret_cast<LPARAM>(m_bitmap.GetSafeHandle()));
    }

protected:
    void OnPress() { ++presses; }
    DECLARE_MESSAGE_MAP()
};
