// UiDriver: acts on windows as a person would (mouse and keyboard events through the toolkit), for
// tests of dialogs and pages. Windows are given by their wrappers; nothing here needs the toolkit's
// headers.
#pragma once

#include "platform/ui/CRect.h"
#include "platform/ui/UiTypes.h"

class CWnd;

namespace UiDriver {

// Delivers pending events (paints, timers, deferred deletions) without waiting.
void ProcessEvents();
// Processes events for about the given time (for tests of timers).
void ProcessEventsFor(int milliseconds);
// Shows a window (a top-level dialog outside a modal run, or a page) and waits until it is exposed.
void Show(CWnd& window);

// Mouse click in the middle of a button, check box or other control.
void Click(CWnd& control);
// Types text into the focused edit key by key (ES_NUMBER refuses non-digits as it would for a
// person).
void TypeText(CWnd& edit, const char* text);
// Selects the whole text of an edit and deletes it with the keyboard.
void ClearText(CWnd& edit);
// Picks an entry of a combo box as a person does (sends CBN_SELCHANGE).
void PickComboEntry(CWnd& combo, int index);
// Clicks the tab with that index.
void ClickTab(CWnd& tab, int index);
// Clicks a row of a list view.
void ClickListRow(CWnd& list, int row);
// Double-clicks a row of a list view.
void DoubleClickListRow(CWnd& list, int row);
// Presses and releases a key (VK_RETURN, VK_ESCAPE, VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, ...) in the
// control, which gets the focus first.
void PressKey(CWnd& control, int virtualKey);
// Turns the mouse wheel over the control: positive steps away from the user (up).
void Wheel(CWnd& control, int steps);
// Clicks an arrow or the page area of a vertical scroll bar: SB_LINEUP, SB_LINEDOWN, SB_PAGEUP or
// SB_PAGEDOWN.
void ClickScrollBar(CWnd& scrollBar, UINT request);
// The close box of a top-level window.
void CloseWindow(CWnd& window);
// Triggers a menu item of the window's menu bar (or its window menu) as a click would.
BOOL TriggerMenuItem(CWnd& window, UINT id, BOOL systemMenu = FALSE);

// The first control of the window whose text is `text` (for controls that share IDC_STATIC), or
// null.
CWnd* FindChildByText(const CWnd& window, const char* text);
// The widget's rectangle in pixels, in its parent's client coordinates.
CRect Geometry(const CWnd& window);
// The number of times the window has painted since it was created.
int PaintCount(const CWnd& window);
// The period in milliseconds of the window timer `id`, or -1 when it does not run.
int TimerPeriod(const CWnd& window, UINT_PTR id);

}  // namespace UiDriver
