// Control ids of the probe dialog, shared by its template and its code.
#pragma once

#define IDD_PROBE 102
#define IDC_LIST 1000
#define IDC_ADD 1002
#define IDC_LAST 1005
#define IDC_ADDRESS 1006
#define IDC_DISABLED 1008
#define IDC_EXIT 1009
#define IDC_NETMASK 1010
#define IDC_GATEWAY 1011
#define IDC_COMBO 1013
#define IDC_NAME 1020
#define IDC_ABOUT 1021
#define IDC_HIDDEN 1022
#define IDC_COUNTER 1030
#define IDC_CHECK 1031

// What the dialog returns as the process's exit code when its Exit button ends it.
#define PROBE_EXIT_CODE 3
