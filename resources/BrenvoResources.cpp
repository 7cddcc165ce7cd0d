#include "resources/BrenvoResources.h"

#include "resources/BrenvoIcon.h"

namespace {

constexpr const char* kFont = "MS Sans Serif";
constexpr DWORD kModal = WS_POPUP | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
constexpr DWORD kPage = WS_CHILD | DS_SETFONT;
constexpr DWORD kOff = WS_DISABLED;
constexpr DWORD kSlider = TBS_HORZ | TBS_NOTICKS | WS_TABSTOP;
constexpr DWORD kButton = WS_TABSTOP;
constexpr DWORD kEditAuto = WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

using K = ControlKind;

// Controls that show no text of their own carry their accessible name as their text; "%s" stands
// for the control's label or, without one, for the caption of its page.
constexpr const char* kSliderName = "%s level";

// Template 100: the About box.
const DialogItemTemplate kAboutItems[] = {
    {IDC_STATIC, K::Static, "Brenvo V2.2.0.0", 40, 10, 119, 8, 0},
    {IDC_STATIC, K::Static, "Configuration of QELVORN LED-Dimmers", 40, 25, 119, 8, 0},
    {1, K::PushButton, "OK", 178, 7, 50, 14, BS_DEFPUSHBUTTON | kButton | WS_GROUP},
};

// Template 102: the main window.
const DialogItemTemplate kMainItems[] = {
    {IDC_SLIDER_ROW2, K::Slider, kSliderName, 86, 32, 162, 15, kSlider | kOff},
    {IDC_SLIDER_ROW1, K::Slider, kSliderName, 86, 17, 162, 15, kSlider | kOff},
    {IDC_LABEL_OUTPUT1, K::Static, "Output 1:", 12, 20, 74, 8, kOff},
    {IDC_LABEL_OUTPUT2, K::Static, "Output 2:", 12, 35, 75, 8, kOff},
    {IDC_GROUP_OUTPUT, K::GroupBox, "Output control", 7, 7, 263, 91, kOff},
    {IDC_SLIDER_ROW3, K::Slider, kSliderName, 86, 48, 162, 15, kSlider | kOff},
    {IDC_LABEL_OUTPUT3, K::Static, "Output 3:", 12, 51, 75, 8, kOff},
    {IDC_SLIDER_ROW4, K::Slider, kSliderName, 86, 64, 162, 15, kSlider | kOff},
    {IDC_LABEL_OUTPUT4, K::Static, "Output 4:", 12, 67, 75, 8, kOff},
    {IDC_LOOKUP_8BIT, K::CheckBox, "Use Lookup-Tables (8 bit control)", 13, 83, 121, 10,
     BS_AUTOCHECKBOX | kButton | kOff},
    {IDC_TAB, K::Tab, "Pages", 276, 7, 253, 145, WS_TABSTOP},
    {IDC_LABEL_ACTUAL_TEMP, K::Static, "Actual temperature:", 13, 116, 62, 8, kOff},
    {IDC_LABEL_SHUTDOWN_TEMP, K::Static, "Shut down temperature:", 13, 133, 76, 8, kOff},
    {IDC_ACTUAL_TEMP, K::Edit, nullptr, 97, 116, 146, 14, ES_READONLY | ES_AUTOHSCROLL | kOff},
    {IDC_SHUTDOWN_TEMP, K::Edit, nullptr, 97, 130, 40, 14, kEditAuto | kOff},
    {IDC_TEMP_READ, K::PushButton, "Read", 140, 130, 30, 14, kButton | kOff},
    {IDC_TEMP_WRITE, K::PushButton, "Write", 175, 130, 30, 14, kButton | kOff},
    {IDC_TEMP_DEFAULT, K::PushButton, "Default", 210, 130, 30, 14, kButton | kOff},
    {IDC_GROUP_TEMP, K::GroupBox, "Temperatur control", 7, 103, 263, 49, kOff},
    {IDC_SCROLL_OUTPUTS, K::ScrollBar, "Outputs shown", 250, 16, 10, 64, SBS_VERT | kOff},
    {IDC_PROGRESS, K::Progress, "Progress", 341, 154, 188, 14, WS_BORDER},
};

// Template 129: the lookup-table page.
const char* const kPredefines[] = {
    "select Predefines...", "All on",       "All off", "Linear", "Gamma", "Invert",
    "Load from file",       "Save to file", "Formula", nullptr,
};
const DialogItemTemplate kTableItems[] = {
    {IDC_TABLE_WRITE, K::PushButton, "Write", 192, 101, 50, 14, kButton},
    {IDC_CURVE, K::Picture, "Curve of %s", 99, 7, 15, 13, SS_BITMAP},
    {IDC_TABLE_LIST, K::ListView, "Table of %s", 7, 7, 83, 108,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP},
    {IDC_PREDEFINES, K::ComboBox, "Predefined curves", 98, 101, 88, 120, kDropList, kPredefines},
    {IDC_TABLE_PASTE, K::PushButton, "Paste", 192, 65, 50, 14, kButton},
    {IDC_TABLE_COPY, K::PushButton, "Copy", 192, 47, 50, 14, kButton},
    {IDC_STATIC, K::Static, "Value:", 192, 7, 21, 8, 0},
    {IDC_VALUE, K::Edit, nullptr, 192, 18, 50, 14, ES_NUMBER | kEditAuto},
    {IDC_TABLE_READ, K::PushButton, "Read", 192, 83, 50, 14, kButton},
};

// Template 131: the gamma dialog.
const DialogItemTemplate kGammaItems[] = {
    {1, K::PushButton, "OK", 71, 48, 50, 14, BS_DEFPUSHBUTTON | kButton},
    {2, K::PushButton, "Cancel", 7, 48, 50, 14, kButton},
    {IDC_GAMMA, K::Edit, nullptr, 39, 16, 40, 14, kEditAuto},
    {IDC_STATIC, K::Static, "Gamma:", 7, 19, 27, 8, 0},
};

// Template 135: the formula editor.
const char* const kFunctions[] = {
    "select...", "sin",  "arcsin", "sinh", "arsinh", "cos", "arccos", "cosh",
    "arcosh",    "tan",  "arctan", "tanh", "artanh", "exp", "ln",     "int",
    "abs",       "10^x", "log",    "rad",  "deg",    "x^2", "sqr",    nullptr,
};
const DialogItemTemplate kFormelItems[] = {
    {1, K::PushButton, "OK", 142, 74, 50, 14, BS_DEFPUSHBUTTON | kButton},
    {2, K::PushButton, "Cancel", 7, 74, 50, 14, kButton},
    {IDC_STATIC, K::Static, "f(x)=", 7, 23, 14, 8, 0},
    {IDC_FORMULA, K::Edit, nullptr, 24, 20, 168, 14, kEditAuto},
    {IDC_STATIC, K::Static, "Enter your formula while using x for the DMX input value:", 7, 7, 178,
     8, 0},
    {IDC_STATIC, K::Static, "Use function:", 7, 49, 43, 8, 0},
    {IDC_FUNCTION, K::ComboBox, nullptr, 55, 47, 70, 98, kDropList, kFunctions},
};

// Template 137: the StandAlone page.
const DialogItemTemplate kStandAloneItems[] = {
    {IDC_STATIC, K::Static, "Using the StandAlone in the QELVORN LED-Dimmer :", 7, 7, 169, 8, 0},
    {IDC_STATIC, K::Static, "1. Use Velquist to edit the StandAlone sequenze", 15, 25, 184, 8, 0},
    {IDC_STATIC, K::Static, "( The first 8 scenes can be selectes by the switches 1-3 )", 23, 34,
     180, 8, 0},
    {IDC_STATIC, K::Static, "2. Export the settings to a HEX file", 15, 43, 108, 8, 0},
    {IDC_STATIC, K::Static, "3. Instert a EEPROM 2464/24128/24256 in the connector", 15, 54, 185,
     10, 0},
    {IDC_STATIC, K::Static, "4. Use the PC-Cable and enable the PC mode", 15, 65, 145, 8, 0},
    {IDC_STATIC, K::Static, "5. Click on the WRITE bottom and select the HEX file", 15, 76, 170, 8,
     0},
    {IDC_STATIC, K::Static, "6. Disconnect the PC-Cable and use the StandAlone setting", 15, 87,
     189, 8, 0},
    {IDC_WRITE_HEX, K::PushButton, "Write from HEX file", 146, 101, 90, 14, kButton},
};

// Template 140: Device > Choose dimmer.
const DialogItemTemplate kChooseDimmerItems[] = {
    {IDC_STATIC, K::Static, "Dimmers attached:", 7, 7, 200, 8, 0},
    {IDC_DIMMER_LIST, K::ListView, nullptr, 7, 18, 426, 90,
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP},
    {1, K::PushButton, "Use", 327, 114, 50, 14, BS_DEFPUSHBUTTON | kButton},
    {2, K::PushButton, "Cancel", 383, 114, 50, 14, kButton},
};

template <typename T, int N>
constexpr int Count(const T (&)[N]) {
    return N;
}

const DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX,
     "Info \xFC"
     "ber Brenvo",
     235, 55, kFont, 8, kModal, 0, kAboutItems, Count(kAboutItems)},
    {IDD_BRENVO_DIALOG, "Brenvo", 536, 175, kFont, 8, kModal, IDR_MENU, kMainItems,
     Count(kMainItems), WS_EX_APPWINDOW},
    {IDD_TABLE, nullptr, 249, 122, kFont, 8, kPage, 0, kTableItems, Count(kTableItems)},
    {IDD_GAMMA, "Insert Gamma parameters", 128, 69, kFont, 8, kModal, 0, kGammaItems,
     Count(kGammaItems)},
    {IDD_FORMEL, "Formula editor", 199, 95, kFont, 8, kModal, 0, kFormelItems, Count(kFormelItems)},
    {IDD_STANDALONE, nullptr, 243, 122, kFont, 8, kPage, 0, kStandAloneItems,
     Count(kStandAloneItems)},
    {IDD_CHOOSE_DIMMER, "Choose dimmer", 440, 135, kFont, 8, kModal, 0, kChooseDimmerItems,
     Count(kChooseDimmerItems)},
};

// Menu 138.
const MenuItemTemplate kFileMenu[] = {
    {"Open config", ID_FILE_OPENCONFIG},
    {"Save config", ID_FILE_SAVECONFIG},
    {nullptr, 0},
    {"Quit", ID_FILE_QUIT},
};
const MenuItemTemplate kDeviceMenu[] = {
    {"Search for dimmer\tF5", ID_DEVICE_SEARCH},
    {"Choose dimmer\x85", ID_DEVICE_CHOOSE},
    {nullptr, 0},
    {"Read all", ID_DEVICE_READALL},
    {"Write all", ID_DEVICE_WRITEALL},
    {nullptr, 0},
    {"Reset all", ID_DEVICE_RESETALL},
};
const MenuItemTemplate kMenuBar[] = {
    {"File", 0, kFileMenu, Count(kFileMenu)},
    {"Device", 0, kDeviceMenu, Count(kDeviceMenu)},
};
const MenuTemplate kMenus[] = {{IDR_MENU, kMenuBar, Count(kMenuBar)}};

const StringResource kStrings[] = {
    {IDS_ABOUTBOX,
     "Inf&o \xFC"
     "ber Brenvo ..."},
    {IDS_TITLE, "Brenvo V2.4"},
    {IDS_TITLE_PORT, " on %s"},
    {IDS_CHOOSE_IN_USE, "in use"},
    {IDS_CHOOSE_PORT, "Port"},
    {IDS_CHOOSE_MODEL, "Model"},
    {IDS_CHOOSE_SERIAL_NUMBER, "Serial number"},
    {IDS_CHOOSE_STABLE_NAME, "Stable name"},
    {IDS_CHOOSE_NONE, "No dimmer answers on any port."},
    {IDS_CHOOSE_SILENT, "The dimmer on %s does not answer."},
};

const IconResource kIcons[] = {{IDR_MAINFRAME, kBrenvoIconXpm}};

const ResourceSet kResources = {
    kDialogs,        Count(kDialogs), kMenus,        Count(kMenus), kStrings,
    Count(kStrings), kIcons,          Count(kIcons), "brenvo",
};

}  // namespace

const ResourceSet& BrenvoResources() {
    return kResources;
}
