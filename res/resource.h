// Resource and control ids of the program's windows; shared by the resource script and the code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Icons, bitmaps and dialog templates.
#define IDI_APPLICATION_ICON 128
#define IDB_MAIN_BACKGROUND 267
#define IDD_MAIN 102
#define IDD_ABOUT 308

// Main window controls.
#define IDC_DEVICE_LIST 1000
#define IDC_SHARE_LIST 1001
#define IDC_REFRESH 1002
#define IDC_CONNECT 1003
#define IDC_DISCONNECT 1004
#define IDC_IP 1006
#define IDC_APPLY 1007
#define IDC_CONFIGURATION 1008
#define IDC_EXIT 1009
#define IDC_NETMASK 1010
#define IDC_GATEWAY 1011
#define IDC_DRIVE_LETTER 1013
#define IDC_DHCP 1015
#define IDC_INTERFACE 1016
#define IDC_ABOUT 1021
#define IDC_CODEPAGE 1022
#define IDC_ADDON 1025
#define IDC_MINIMIZE 1027
#define IDC_CLOSE 1028
#define IDC_WIDGET 1032

// About box.
#define IDC_ABOUT_ICON 1100
#define IDC_ABOUT_NAME 1101
#define IDC_ABOUT_VERSION 1102

// Login dialog.
#define IDD_LOGIN 134
#define IDC_LOGIN_USER_NAME 1016
#define IDC_LOGIN_PASSWORD 1017

// Drive-letter-in-use dialog (the letter chosen for a mapping has a connection already).
#define IDD_MOUNT_MESSAGE 229

// Desktop widget install: the notice that the widget engine is needed (Download / Next) and the model
// chooser for a box whose model has no widget of its own.
#define IDD_WIDGET_NOTICE 264
#define IDD_MODEL_CHOOSER 265
#define IDC_MODEL_VRX511 1029
#define IDC_MODEL_VRX513 1030
#define IDC_MODEL_VRX533 1031

// Codepage upload: the codepage chooser, the copy message (its timer runs the copy job) and the restart wait.
#define IDD_LANGUAGE 139
#define IDC_LANGUAGE_LIST 1022
#define IDD_RESTART_PROGRESS 141
#define IDC_RESTART_PROGRESS_BAR 1023
#define IDD_COPY_MESSAGE 180
