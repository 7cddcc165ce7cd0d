#include "app/CBrenvoDlg.h"

#include <algorithm>

#include "app/CAboutDlg.h"
#include "link/DeviceCommands.h"
#include "link/TableLink.h"
#include "platform/os/TextMark.h"
#include "platform/os/UserLanguage.h"
#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CPaintDC.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/Resource.h"
#include "resources/resource.h"

namespace {

// Slider rows 4, 3, 2, 1, in the order of m_sliders.
constexpr int kSliderIds[CBrenvoDlg::SLIDER_ROWS] = {IDC_SLIDER_ROW4, IDC_SLIDER_ROW3,
                                                     IDC_SLIDER_ROW2, IDC_SLIDER_ROW1};
constexpr int kLabelIds[CBrenvoDlg::SLIDER_ROWS] = {IDC_LABEL_OUTPUT1, IDC_LABEL_OUTPUT2,
                                                    IDC_LABEL_OUTPUT3, IDC_LABEL_OUTPUT4};
constexpr UINT kDeviceMenuItems[] = {ID_DEVICE_READALL, ID_DEVICE_WRITEALL, ID_DEVICE_RESETALL};

CString OutputCaption(const char* format, int number) {
    CString text;
    text.Format(format, number);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CBrenvoDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_NOTIFY(TCN_SELCHANGE, IDC_TAB, &CBrenvoDlg::OnTcnSelchangeTab)
ON_COMMAND(ID_FILE_QUIT, &CBrenvoDlg::OnQuit)
ON_COMMAND(ID_FILE_OPENCONFIG, &CBrenvoDlg::OnOpenConfig)
ON_COMMAND(ID_FILE_SAVECONFIG, &CBrenvoDlg::OnSaveConfig)
ON_COMMAND(ID_DEVICE_READALL, &CBrenvoDlg::OnReadAll)
ON_COMMAND(ID_DEVICE_WRITEALL, &CBrenvoDlg::OnWriteAll)
ON_COMMAND(ID_DEVICE_RESETALL, &CBrenvoDlg::OnResetAll)
ON_COMMAND(ID_DEVICE_SEARCH, &CBrenvoDlg::OnSearchForDimmer)
ON_COMMAND(ID_DEVICE_CHOOSE, &CBrenvoDlg::OnChooseDimmer)
ON_MESSAGE(CBrenvoDlg::WM_PORTS_CHANGED, &CBrenvoDlg::OnPortsChanged)
ON_MESSAGE(CBrenvoDlg::WM_OPERATION_ENDED, &CBrenvoDlg::OnOperationEnded)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER_ROW1, &CBrenvoDlg::OnNMCustomdrawSliderRow1)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER_ROW2, &CBrenvoDlg::OnNMCustomdrawSliderRow2)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER_ROW3, &CBrenvoDlg::OnNMCustomdrawSliderRow3)
ON_NOTIFY(NM_CUSTOMDRAW, IDC_SLIDER_ROW4, &CBrenvoDlg::OnNMCustomdrawSliderRow4)
ON_BN_CLICKED(IDC_LOOKUP_8BIT, &CBrenvoDlg::OnBnClickedLookup8Bit)
ON_WM_VSCROLL()
ON_WM_TIMER()
ON_BN_CLICKED(IDC_TEMP_READ, &CBrenvoDlg::OnBnClickedTempRead)
ON_BN_CLICKED(IDC_TEMP_WRITE, &CBrenvoDlg::OnBnClickedTempWrite)
ON_BN_CLICKED(IDC_TEMP_DEFAULT, &CBrenvoDlg::OnBnClickedTempDefault)
END_MESSAGE_MAP()

CBrenvoDlg::CBrenvoDlg(CWnd* pParent) : CDialog(IDD_BRENVO_DIALOG, pParent) {
    if (CWinApp* app = AfxGetApp()) {
        m_hIcon = app->LoadIcon(IDR_MAINFRAME);
    }
}

void CBrenvoDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCROLL_OUTPUTS, m_scrollBar);
    DDX_Control(pDX, IDC_TAB, m_tabCtrl);
    for (int row = 0; row < SLIDER_ROWS; ++row) {
        DDX_Control(pDX, kSliderIds[row], m_sliders[row]);
    }
    DDX_Check(pDX, IDC_LOOKUP_8BIT, m_bLookup8Bit);
    DDX_Text(pDX, IDC_ACTUAL_TEMP, m_strActualTemp);
    DDX_Text(pDX, IDC_SHUTDOWN_TEMP, m_strShutdownTemp);
    for (int i = 0; i < SLIDER_ROWS; ++i) {
        DDX_Text(pDX, kLabelIds[i], m_strOutputLabel[i]);
    }
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CBrenvoDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        const char* about = AfxFindString(IDS_ABOUTBOX);
        if (about != nullptr && *about != '\0') {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SetTitleSuffix(" - Offline");

    m_hCable = nullptr;
    for (int k = 0; k < MAX_OUTPUTS; ++k) {
        m_tables[k].m_outputIndex = static_cast<BYTE>(k);
        m_tables[k].m_pCableHandle = &m_hCable;
    }
    m_standAlone.m_pCableHandle = &m_hCable;
    m_bReadShutdown = 0;
    m_bWriteShutdown = 0;
    m_nMaxValue = 1023;
    // Four output tabs are shown until a profile says otherwise; the bulk operations follow them.
    m_nOutputs = 4;

    for (CDlgTable& page : m_tables) {
        page.Create(IDD_TABLE, &m_tabCtrl);
    }
    m_standAlone.Create(IDD_STANDALONE, &m_tabCtrl);

    ShowOutputTabs(1, 4);

    for (int& value : m_nOutputValue) {
        value = 0;
    }

    StartFollowing();
    DetectDevice();
    FollowLink();
    return TRUE;
}

void CBrenvoDlg::SetTitleSuffix(const char* suffix) {
    m_strTitleSuffix = suffix;
    ShowTitle();
}

void CBrenvoDlg::ShowTitle() {
    // A model's name is data and has no translation; a state such as "no device" has one.
    CString title =
        CString(AfxFindString(IDS_TITLE)) + ShownText(m_strTitleSuffix.GetString()).c_str();
    const bool others =
        std::any_of(m_knownDimmers.begin(), m_knownDimmers.end(),
                    [this](const std::string& name) { return name != m_port.name; });
    if (others && TableLinkIsOpen(m_hCable)) {
        CString port;
        port.Format(AfxFindString(IDS_TITLE_PORT), m_port.name.c_str());
        // The title as a whole is no catalogue text: its port part is translated on its own.
        title += ShownText(port.GetString()).c_str();
    }
    SetWindowText(title);
}

void CBrenvoDlg::EnableDeviceMenu(bool enable) {
    if (CMenu* menu = GetMenu()) {
        for (UINT id : kDeviceMenuItems) {
            menu->EnableMenuItem(id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
        }
    }
}

void CBrenvoDlg::FinishDetection(bool keepTables) {
    for (CDlgTable& page : m_tables) {
        if (keepTables) {
            page.RedrawCurve();  // Write and Read follow the link
        } else {
            page.SetMaxValue(static_cast<WORD>(m_nMaxValue));
        }
    }
    // The 8-bit box keeps its state from one dimmer to the next, and the range follows it.
    const int sliderMax = m_bLookup8Bit ? TABLE_ENTRIES - 1 : m_nMaxValue;
    for (CSliderCtrl& slider : m_sliders) {
        slider.SetRange(0, sliderMax, FALSE);
    }
    m_tabCtrl.SetCurSel(0);
    m_tabCtrl.ShowSelectedPage();
    for (int i = 0; i < SLIDER_ROWS; ++i) {
        m_strOutputLabel[i] = OutputCaption(N_("Output %d:"), i + 1);
    }
    UpdateData(FALSE);
    EnableDeviceMenu(TableLinkIsOpen(m_hCable));
}

void CBrenvoDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CBrenvoDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CBrenvoDlg::OnQueryDragIcon() {
    return m_hIcon;
}

void CBrenvoDlg::OnTcnSelchangeTab(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    m_tabCtrl.ShowSelectedPage();
    *pResult = 0;
}

void CBrenvoDlg::OnQuit() {
    OnCancel();
}
