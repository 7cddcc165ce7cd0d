#include "tests/ui/TestResources.h"

namespace {
using K = ControlKind;
constexpr DWORD kModal = WS_POPUP | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT;

const char* const kColours[] = {"red", "green", "blue", nullptr};

const DialogItemTemplate kFormItems[] = {
    {IDOK, K::PushButton, "OK", 10, 100, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDCANCEL, K::PushButton, "Cancel", 70, 100, 50, 14, WS_TABSTOP},
    {IDC_INT, K::Edit, nullptr, 10, 20, 40, 14, WS_BORDER | WS_TABSTOP},
    {IDC_UINT, K::Edit, nullptr, 60, 20, 40, 14, WS_BORDER | ES_NUMBER | WS_TABSTOP},
    {IDC_REAL, K::Edit, nullptr, 110, 20, 40, 14, WS_BORDER | WS_TABSTOP},
    {IDC_TEXT, K::Edit, "start", 10, 40, 140, 14, WS_BORDER | WS_TABSTOP},
    {IDC_CHECK, K::CheckBox, "Check me", 10, 60, 80, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    {IDC_COMBO, K::ComboBox, nullptr, 10, 75, 80, 60, CBS_DROPDOWNLIST | WS_TABSTOP, kColours},
    {IDC_APPLY, K::PushButton, "Apply", 130, 100, 50, 14, WS_TABSTOP | WS_DISABLED},
    {IDC_READONLY, K::Edit, "fixed", 100, 60, 60, 14, ES_READONLY},
    {IDC_LABEL, K::Static, "A label whose text runs long", 160, 5, 20, 8, 0},
};

const DialogItemTemplate kPanelItems[] = {
    {IDC_SLIDER, K::Slider, nullptr, 10, 10, 100, 15, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP},
    {IDC_SCROLL, K::ScrollBar, nullptr, 115, 10, 10, 64, SBS_VERT},
    {IDC_GROUP, K::GroupBox, "Group", 5, 5, 125, 80, 0},
    {IDC_TAB, K::Tab, nullptr, 140, 7, 253, 145, WS_TABSTOP},
    {IDC_LIST, K::ListView, nullptr, 10, 90, 83, 108,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER},
    {IDC_PROGRESS, K::Progress, nullptr, 140, 160, 188, 14, WS_BORDER},
    {IDC_PICTURE, K::Picture, nullptr, 100, 90, 15, 13, SS_BITMAP},
};

const DialogItemTemplate kPageItems[] = {
    {IDC_PAGE_EDIT, K::Edit, nullptr, 10, 10, 50, 14, WS_BORDER | ES_NUMBER | WS_TABSTOP},
    {IDC_PAGE_LIST, K::ListView, nullptr, 10, 30, 83, 60,
     LVS_REPORT | LVS_SINGLESEL | WS_BORDER | WS_TABSTOP},
    {IDC_PAGE_BUTTON, K::PushButton, "Press", 100, 10, 50, 14, WS_TABSTOP},
    {IDC_PAGE_PICTURE, K::Picture, nullptr, 100, 30, 15, 13, SS_BITMAP},
};

const DialogItemTemplate kBareItems[] = {
    {IDOK, K::PushButton, "OK", 10, 10, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
};

const DialogTemplate kDialogs[] = {
    {IDD_FORM, "Form", 200, 120, "MS Sans Serif", 8, kModal, IDR_MENU, kFormItems,
     static_cast<int>(sizeof kFormItems / sizeof kFormItems[0])},
    {IDD_PANEL, "Panel", 400, 210, "MS Sans Serif", 8, kModal, 0, kPanelItems,
     static_cast<int>(sizeof kPanelItems / sizeof kPanelItems[0])},
    {IDD_PAGE, nullptr, 200, 100, "MS Sans Serif", 8, WS_CHILD | DS_SETFONT, 0, kPageItems,
     static_cast<int>(sizeof kPageItems / sizeof kPageItems[0])},
    {IDD_BARE, "Bare", 70, 30, "Tahoma", 8, DS_MODALFRAME | WS_CAPTION, 0, kBareItems, 1},
};

const MenuItemTemplate kFileItems[] = {
    {"&Open", ID_FILE_OPEN},
    {nullptr, 0},
    {"&Quit", ID_FILE_QUIT},
};
const MenuItemTemplate kDeviceItems[] = {
    {"Read all", ID_DEVICE_READ},
    {"Write all", ID_DEVICE_WRITE},
};
const MenuItemTemplate kBar[] = {
    {"&File", 0, kFileItems, 3},
    {"Device", 0, kDeviceItems, 2},
};
const MenuTemplate kMenus[] = {{IDR_MENU, kBar, 2}};

const StringResource kStrings[] = {{IDS_TITLE, "Test \xB0 title"}};

const char* const kIconXpm[] = {
    "4 4 2 1", "  c #FFFFFF", "x c #000000", "x  x", " xx ", " xx ", "x  x",
};
const IconResource kIcons[] = {{IDI_APP, kIconXpm}};

const ResourceSet kSet = {kDialogs, 4, kMenus, 1, kStrings, 1, kIcons, 1};
}  // namespace

void UseTestResources() {
    AfxSetResourceSet(&kSet);
}
