// Identifiers of Brenvo's resources: templates, controls, menu commands, strings, icon.
#pragma once

// Templates, menu, icon
#define IDD_ABOUTBOX 100
#define IDD_BRENVO_DIALOG 102
#define IDR_MAINFRAME 128
#define IDD_TABLE 129
#define IDD_GAMMA 131
#define IDD_FORMEL 135
#define IDD_STANDALONE 137
#define IDR_MENU 138

// String table
#define IDS_ABOUTBOX 101
#define IDS_TITLE 102

// System-menu command of the About box
#define IDM_ABOUTBOX 0x0010

// Main window
#define IDC_SLIDER_ROW2 1003
#define IDC_SLIDER_ROW1 1004
#define IDC_SLIDER_ROW3 1006
#define IDC_SLIDER_ROW4 1007
#define IDC_GROUP_OUTPUT 1012
#define IDC_LOOKUP_8BIT 1013
#define IDC_TAB 1015
#define IDC_SHUTDOWN_TEMP 1023
#define IDC_ACTUAL_TEMP 1024
#define IDC_TEMP_READ 1025
#define IDC_TEMP_WRITE 1026
#define IDC_TEMP_DEFAULT 1027
#define IDC_GROUP_TEMP 1029
#define IDC_LABEL_ACTUAL_TEMP 1030
#define IDC_LABEL_SHUTDOWN_TEMP 1031
#define IDC_LABEL_OUTPUT1 1032
#define IDC_LABEL_OUTPUT2 1033
#define IDC_LABEL_OUTPUT3 1034
#define IDC_LABEL_OUTPUT4 1035
#define IDC_SCROLL_OUTPUTS 1041
#define IDC_PROGRESS 1042

// Table page
#define IDC_TABLE_WRITE 1016
#define IDC_TABLE_PASTE 1017
#define IDC_TABLE_COPY 1018
#define IDC_TABLE_LIST 1019
#define IDC_PREDEFINES 1020
#define IDC_TABLE_READ 1021
#define IDC_CURVE 1022
#define IDC_VALUE 1036

// Gamma and formula dialogs
#define IDC_GAMMA 1021
#define IDC_FORMULA 1038
#define IDC_FUNCTION 1039

// StandAlone page
#define IDC_WRITE_HEX 1016

// Menu commands
#define ID_FILE_OPENCONFIG 40001
#define ID_FILE_SAVECONFIG 40002
#define ID_FILE_QUIT 40003
#define ID_DEVICE_WRITEALL 40004
#define ID_DEVICE_READALL 40005
#define ID_DEVICE_RESETALL 40006
#define ID_DEVICE_SEARCH 40007
