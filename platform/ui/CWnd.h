// CWnd: the wrapper of one window or control, with the Windows operations that dialogs and their
// handlers use. A wrapper refers to its widget through m_hWnd; when the toolkit destroys the
// widget, the wrapper forgets it (m_hWnd becomes null), as a Windows wrapper does on its last
// message.
#pragma once

#include <memory>

#include "platform/os/CString.h"
#include "platform/ui/CPoint.h"
#include "platform/ui/CRect.h"
#include "platform/ui/MessageMap.h"
#include "platform/ui/UiTypes.h"

class CMenu;
class CDataExchange;
struct CWndPrivate;

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT

    // The permanent wrapper of a window, or a temporary one that lives as long as the window.
    static CWnd* FromHandle(HWND hWnd);
    // Binds this wrapper to an existing window (FALSE when already bound or hWnd is null).
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL DestroyWindow();

    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    void SetDlgItemText(int nID, const char* text);
    int GetDlgItemText(int nID, CString& text) const;

    // Returns TRUE when the window was disabled before.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    // Returns TRUE when the window was visible before.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    // Leaves the text alone when it is already the same (so no change notification is sent).
    void SetWindowText(const char* text);
    int GetWindowText(CString& text) const;
    int GetWindowTextLength() const;

    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL bRepaint = TRUE);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;

    // Window timer: WM_TIMER to this window's message map every nElapse ms (precise timing).
    // Setting an id that runs restarts it. The callback must be null.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void* lpfnTimer);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // The menu bar of a dialog whose template names a menu; null otherwise.
    CMenu* GetMenu() const;
    // The window menu. Linux window managers own the title-bar menu, so this menu is shown where a
    // user finds it here: as the "?" menu at the right end of the window's menu bar (when it has
    // one) and as the context menu of the window's background. Its items send OnSysCommand(id, 0).
    // Null when the window's template has no WS_SYSMENU.
    CMenu* GetSystemMenu(BOOL bRevert);

    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    BOOL IsIconic() const;
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // The messages that callers send directly: STM_SETIMAGE / STM_GETIMAGE on a picture control,
    // WM_ICONERASEBKGND (nothing to erase here), WM_COMMAND and WM_SYSCOMMAND to a window.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues a message for this window from any thread; the user-interface thread delivers it
    // later through the message map (ON_MESSAGE for WM_APP + n). A window destroyed before then
    // does not get it. The wrapper must outlive the call itself. FALSE without an application.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    int MessageBox(const char* text, const char* caption = nullptr, UINT nType = MB_OK);

    // Two-way data exchange between the fields and the controls. FALSE when a value was refused.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Routes a message through the message maps (most derived first); FALSE when nobody handled it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // Default handlers, for handlers that pass a message on ("default handling").
    void OnTimer(UINT_PTR nIDEvent);
    void OnPaint();
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    // SC_CLOSE ends a dialog through its Cancel handling; other ids do nothing.
    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();

    // Framework internals, public so that the toolkit side can reach them.
    CWndPrivate& Private() const;
    // Called once the widget was destroyed and m_hWnd cleared.
    virtual void OnWindowDestroyed();

protected:
    // WM_COMMAND entries that no map handles; a dialog turns IDOK/IDCANCEL into OnOK/OnCancel.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

private:
    std::unique_ptr<CWndPrivate> m_private;
};
