// Message maps: static tables that bind (message, control id, notification) to a member handler.
// Each entry holds a captureless function that casts the window to the class that declared the map
// and calls the handler, so no member-pointer casts are needed. A map chains to its base class's
// map.
//
// Usage, as on Windows:
//   class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(1001, &CMyDlg::OnGo)
//       ON_WM_TIMER()
//   END_MESSAGE_MAP()
#pragma once

#include "platform/ui/UiTypes.h"

class CWnd;
class CScrollBar;

using AfxCmdFn = void (*)(CWnd*);
using AfxNotifyFn = void (*)(CWnd*, NMHDR*, LRESULT*);
using AfxTimerFn = void (*)(CWnd*, UINT_PTR);
using AfxScrollFn = void (*)(CWnd*, UINT, UINT, CScrollBar*);
using AfxSysCmdFn = void (*)(CWnd*, UINT, LPARAM);
using AfxIconFn = HCURSOR (*)(CWnd*);
using AfxMessageFn = LRESULT (*)(CWnd*, WPARAM, LPARAM);

// One handler of any of the supported signatures; the entry's message says which one is set.
union AfxHandler {
    constexpr AfxHandler() : cmd(nullptr) {}
    constexpr AfxHandler(AfxCmdFn f) : cmd(f) {}          // NOLINT: built from lambdas
    constexpr AfxHandler(AfxNotifyFn f) : notify(f) {}    // NOLINT
    constexpr AfxHandler(AfxTimerFn f) : timer(f) {}      // NOLINT
    constexpr AfxHandler(AfxScrollFn f) : scroll(f) {}    // NOLINT
    constexpr AfxHandler(AfxSysCmdFn f) : syscmd(f) {}    // NOLINT
    constexpr AfxHandler(AfxIconFn f) : icon(f) {}        // NOLINT
    constexpr AfxHandler(AfxMessageFn f) : message(f) {}  // NOLINT
    AfxCmdFn cmd;
    AfxNotifyFn notify;
    AfxTimerFn timer;
    AfxScrollFn scroll;
    AfxSysCmdFn syscmd;
    AfxIconFn icon;
    AfxMessageFn message;
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND, WM_NOTIFY, WM_TIMER, ...; 0 ends the table
    UINT nCode;     // notification code (BN_CLICKED, NM_CLICK, ...)
    UINT nID;       // control or command id; 0 for window messages
    AfxHandler pfn;
};

// The entry that ends every table.
inline constexpr AFX_MSGMAP_ENTRY kAfxMessageMapEnd{0, 0, 0, AfxHandler()};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override; \
                                                      \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const {         \
        return GetThisMessageMap();                             \
    }                                                           \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {           \
        using ThisClass = theClass;                             \
        using TheBaseClass = baseClass;                         \
        static_assert(sizeof(ThisClass) > 0, "complete class"); \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    kAfxMessageMapEnd                                                                             \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// Handlers are given as member pointers: ON_BN_CLICKED(1001, &CMyDlg::OnGo).
#define ON_COMMAND(id, memberFxn)          \
    {WM_COMMAND, 0, static_cast<UINT>(id), \
     AfxHandler(+[](CWnd* w) { (static_cast<ThisClass*>(w)->*(memberFxn))(); })},

#define ON_CONTROL(code, id, memberFxn)                          \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), \
     AfxHandler(+[](CWnd* w) { (static_cast<ThisClass*>(w)->*(memberFxn))(); })},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

#define ON_NOTIFY(code, id, memberFxn)                          \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), \
     AfxHandler(+[](CWnd* w, NMHDR* h, LRESULT* r) {            \
         (static_cast<ThisClass*>(w)->*(memberFxn))(h, r);      \
     })},

#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0,  \
     AfxHandler(+[](CWnd* w, UINT_PTR id) { static_cast<ThisClass*>(w)->OnTimer(id); })},

#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, AfxHandler(+[](CWnd* w) { static_cast<ThisClass*>(w)->OnPaint(); })},

#define ON_WM_VSCROLL()                                                         \
    {WM_VSCROLL, 0, 0, AfxHandler(+[](CWnd* w, UINT c, UINT p, CScrollBar* s) { \
         static_cast<ThisClass*>(w)->OnVScroll(c, p, s);                        \
     })},

#define ON_WM_SYSCOMMAND()                                             \
    {WM_SYSCOMMAND, 0, 0, AfxHandler(+[](CWnd* w, UINT id, LPARAM l) { \
         static_cast<ThisClass*>(w)->OnSysCommand(id, l);              \
     })},

#define ON_WM_QUERYDRAGICON()                                     \
    {WM_QUERYDRAGICON, 0, 0, AfxHandler(+[](CWnd* w) -> HCURSOR { \
         return static_cast<ThisClass*>(w)->OnQueryDragIcon();    \
     })},

// A message of the application's own (WM_APP + n), usually posted: LRESULT Handler(WPARAM, LPARAM).
// Messages that have an entry macro of their own above are not taken here.
#define ON_MESSAGE(message, memberFxn)                                                            \
    {static_cast<UINT>(message), 0, 0, AfxHandler(+[](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT { \
         return (static_cast<ThisClass*>(w)->*(memberFxn))(wp, lp);                               \
     })},
