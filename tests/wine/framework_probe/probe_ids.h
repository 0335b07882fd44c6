// Resource ids of the framework probe.
#pragma once

#define IDD_PROBE 100
#define IDD_CHILD 101
#define IDI_PROBE 102
#define IDD_MISSING 199

#define IDC_LIST 1000
#define IDC_COMBO 1001
#define IDC_ADDRESS 1002
#define IDC_BUTTON 1003
#define IDC_PROGRESS 1004
#define IDC_CHECK 1005
