// Resource data that windows are built from: dialog templates, menus, string tables and icons.
// Plain data with the Windows style bits; the framework looks resources up by id in the
// resource set that the application registers.
#pragma once

#include "platform/os/WinTypes.h"

// Window and control styles (Windows values).
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;  // extended style: shown in the task bar
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD DS_MODALFRAME = 0x80;
constexpr DWORD DS_SETFONT = 0x40;

constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD ES_AUTOHSCROLL = 0x80;
constexpr DWORD ES_READONLY = 0x800;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr DWORD SS_BITMAP = 0xE;
constexpr DWORD CBS_DROPDOWNLIST = 0x3;
constexpr DWORD LVS_REPORT = 0x1;
constexpr DWORD LVS_SINGLESEL = 0x4;
constexpr DWORD LVS_SHOWSELALWAYS = 0x8;
constexpr DWORD TBS_HORZ = 0x0;
constexpr DWORD TBS_NOTICKS = 0x10;
constexpr DWORD SBS_VERT = 0x1;
constexpr DWORD PBS_SMOOTH = 0x1;

// The kind of a template control (its window class, in Windows terms).
enum class ControlKind {
    PushButton,
    CheckBox,
    GroupBox,
    Static,   // text label
    Picture,  // static control showing a bitmap
    Edit,
    ComboBox,   // drop-down list
    ListView,   // report list view
    Slider,     // horizontal trackbar
    ScrollBar,  // vertical scroll bar
    Progress,
    Tab,
};

constexpr UINT IDC_STATIC = 65535;

struct DialogItemTemplate {
    UINT id;
    ControlKind kind;
    const char* text;                    // Windows-1252; nullptr for none
    short x, y, cx, cy;                  // dialog units
    DWORD style;                         // WS_DISABLED, WS_BORDER and the kind's own bits
    const char* const* items = nullptr;  // initial entries of a combo box, nullptr-terminated
};

struct DialogTemplate {
    UINT id;
    const char* caption;  // nullptr for a captionless child
    short cx, cy;         // dialog units
    const char* fontName;
    int pointSize;
    DWORD style;  // WS_CHILD for pages; DS_MODALFRAME | WS_CAPTION | WS_SYSMENU for dialogs
    UINT menuId;  // 0 for none
    const DialogItemTemplate* items;
    int itemCount;
    DWORD exStyle = 0;  // WS_EX_APPWINDOW
};

struct MenuItemTemplate {
    const char* text;                         // nullptr for a separator
    UINT id;                                  // command id; 0 for a separator or a popup
    const MenuItemTemplate* popup = nullptr;  // sub-items of a popup
    int popupCount = 0;
};

struct MenuTemplate {
    UINT id;
    const MenuItemTemplate* items;  // the menu bar's popups
    int itemCount;
};

struct StringResource {
    UINT id;
    const char* text;
};

struct IconResource {
    UINT id;
    const char* const* xpm;  // XPM image data
};

struct ResourceSet {
    const DialogTemplate* dialogs;
    int dialogCount;
    const MenuTemplate* menus;
    int menuCount;
    const StringResource* strings;
    int stringCount;
    const IconResource* icons;
    int iconCount;
    // The name of the translation catalogue of these texts (gettext's domain); nullptr for none.
    const char* catalogue = nullptr;
};

// Registers the application's resources (not copied; must outlive every window).
void AfxSetResourceSet(const ResourceSet* resources);
const ResourceSet* AfxGetResourceSet();
const DialogTemplate* AfxFindDialogTemplate(UINT id);
const MenuTemplate* AfxFindMenuTemplate(UINT id);
const IconResource* AfxFindIcon(UINT id);
// The string table entry, or nullptr when there is none.
const char* AfxFindString(UINT id);
