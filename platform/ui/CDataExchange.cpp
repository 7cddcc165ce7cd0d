#include "platform/ui/CDataExchange.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QWidget>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/ui/AfxFunctions.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/qt/DataExchangeFailure.h"
#include "platform/ui/qt/WindowLink.h"

namespace {
std::string Trimmed(const CString& text) {
    const std::string& s = text.str();
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// Whole text as a signed number: optional sign, digits, nothing else (blanks around are allowed).
bool ParseSigned(const CString& text, long long lo, long long hi, long long& out) {
    std::string s = Trimmed(text);
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty())
        return false;
    long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool ParseUnsigned(const CString& text, unsigned long long hi, unsigned long long& out) {
    std::string s = Trimmed(text);
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty() || s[0] == '-')
        return false;
    unsigned long long v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || v > hi)
        return false;
    out = v;
    return true;
}

bool ParseDouble(const CString& text, double& out) {
    std::string s = Trimmed(text);
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty())
        return false;
    double v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

CWnd* Control(CDataExchange* pDX, int nIDC, bool edit) {
    HWND h = edit ? pDX->PrepareEditCtrl(nIDC) : pDX->PrepareCtrl(nIDC);
    return CWnd::FromHandle(h);
}

void Refuse(CDataExchange* pDX, const char* prompt) {
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString ReadText(CDataExchange* pDX, int nIDC) {
    CString text;
    Control(pDX, nIDC, true)->GetWindowText(text);
    return text;
}

void WriteText(CDataExchange* pDX, int nIDC, const char* text) {
    Control(pDX, nIDC, true)->SetWindowText(text);
}
}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* item = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!item) {
        std::fprintf(stderr, "dialog data exchange: no control %d in the window\n", nIDC);
        Fail();
    }
    m_hWndLastControl = item->m_hWnd;
    m_bEditLastControl = FALSE;
    return item->m_hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl) {
        QWidget* w = WidgetOf(m_hWndLastControl);
        w->setFocus(Qt::OtherFocusReason);
        if (m_bEditLastControl) {
            QMetaObject::invokeMethod(w, "selectAll");
        }
    }
    throw DataExchangeFailure();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    rControl.Attach(h);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bSaveAndValidate) {
        value = ReadText(pDX, nIDC);
    } else {
        WriteText(pDX, nIDC, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ParseSigned(ReadText(pDX, nIDC), INT_MIN, INT_MAX, v))
            Refuse(pDX, AFX_PROMPT_PARSE_INT);
        value = static_cast<int>(v);
    } else {
        WriteText(pDX, nIDC, std::to_string(value).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    if (pDX->m_bSaveAndValidate) {
        unsigned long long v = 0;
        if (!ParseUnsigned(ReadText(pDX, nIDC), UINT_MAX, v))
            Refuse(pDX, AFX_PROMPT_PARSE_UINT);
        value = static_cast<UINT>(v);
    } else {
        WriteText(pDX, nIDC, std::to_string(value).c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseDouble(ReadText(pDX, nIDC), v))
            Refuse(pDX, AFX_PROMPT_PARSE_REAL);
        value = v;
    } else {
        // Fifteen significant digits, as the Windows exchange writes a double; never a decimal
        // comma.
        char buf[64];
        const auto r =
            std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::general, 15);
        *r.ptr = '\0';
        WriteText(pDX, nIDC, buf);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    CWnd* control = Control(pDX, nIDC, false);
    auto* button = WidgetAs<QAbstractButton>(*control);
    if (!button)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = button->isChecked() ? 1 : 0;
    } else {
        button->setChecked(value != 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    CWnd* control = Control(pDX, nIDC, false);
    auto* combo = WidgetAs<QComboBox>(*control);
    if (!combo)
        return;
    if (pDX->m_bSaveAndValidate) {
        index = combo->currentIndex();
    } else {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    }
}
