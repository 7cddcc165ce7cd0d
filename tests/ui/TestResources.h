// Small dialog templates, a menu, strings and an icon of the framework's own tests.
#pragma once

#include "platform/ui/Resource.h"
#include "platform/ui/UiTypes.h"

enum TestIds : UINT {
    IDD_FORM = 500,   // modal dialog with fields of every exchanged type
    IDD_PANEL = 501,  // modal dialog with the common controls
    IDD_PAGE = 502,   // child page
    IDD_BARE = 503,   // modal dialog without a system menu or menu bar
    IDR_MENU = 600,
    IDI_APP = 128,
    IDS_TITLE = 700,

    IDC_INT = 1001,
    IDC_UINT = 1002,
    IDC_REAL = 1003,
    IDC_TEXT = 1004,
    IDC_CHECK = 1005,
    IDC_COMBO = 1006,
    IDC_APPLY = 1007,
    IDC_READONLY = 1008,
    IDC_LABEL = 1009,

    IDC_SLIDER = 1010,
    IDC_SCROLL = 1011,
    IDC_TAB = 1012,
    IDC_LIST = 1013,
    IDC_PROGRESS = 1014,
    IDC_PICTURE = 1015,
    IDC_GROUP = 1016,

    IDC_PAGE_EDIT = 1020,
    IDC_PAGE_LIST = 1021,
    IDC_PAGE_BUTTON = 1022,
    IDC_PAGE_PICTURE = 1023,

    ID_FILE_OPEN = 40001,
    ID_FILE_QUIT = 40003,
    ID_DEVICE_READ = 40005,
    ID_DEVICE_WRITE = 40004,
};

// Registers the test resources (idempotent).
void UseTestResources();
