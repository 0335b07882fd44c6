// quorvel-gui-probe: a small dialog for the Wine GUI harness's own test. It fills its controls with
// known contents, and its buttons change them in ways the test can see through the inspector:
//   Add   appends the name typed into the edit as a list row (item data 2000 + row) and a combo item,
//         selects both, sets the netmask to 255.255.255.0 and counts the click;
//   Last  selects the last row and scrolls it into view;
//   About shows a message box with the dialog's own caption;
//   Exit  ends the process with PROBE_EXIT_CODE; Escape ends it with IDCANCEL.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "probe_ids.h"

namespace {

constexpr int kInitialRows = 12;
constexpr LPARAM kAddedDataBase = 2000;

int clicks = 0;

void AddColumn(HWND list, int column, const char* header, int width) {
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.fmt = LVCFMT_LEFT;
  col.cx = width;
  col.pszText = const_cast<char*>(header);
  SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
}

int AddRow(HWND list, const std::string& name, const std::string& address, LPARAM data) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  item.pszText = const_cast<char*>(name.c_str());
  item.lParam = data;
  const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  LVITEMA cell{};
  cell.iSubItem = 1;
  cell.pszText = const_cast<char*>(address.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
  return row;
}

void SelectRow(HWND list, int row) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  SendMessageA(list, LVM_ENSUREVISIBLE, row, FALSE);
}

void Init(HWND dlg) {
  const HWND list = GetDlgItem(dlg, IDC_LIST);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddColumn(list, 0, "Name", 94);
  AddColumn(list, 1, "IP", 85);
  for (int i = 0; i < kInitialRows; ++i) {
    char name[32], address[32];
    std::snprintf(name, sizeof name, "box-%02d", i);
    std::snprintf(address, sizeof address, "192.0.2.%d", 10 + i);
    AddRow(list, name, address, 1000 + i);
  }
  // A text beyond the ANSI range's ASCII part: the inspector must hand it on as UTF-8.
  AddRow(list, "caf\xe9", "-", 0);
  const HWND combo = GetDlgItem(dlg, IDC_COMBO);
  for (const char* letter : {"D:", "E:", "F:"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  SendDlgItemMessageA(dlg, IDC_ADDRESS, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 0, 2, 10));
  SetWindowTextA(dlg, "Quorvel Probe");
}

void Add(HWND dlg) {
  char name[256] = {};
  GetDlgItemTextA(dlg, IDC_NAME, name, sizeof name);
  const HWND list = GetDlgItem(dlg, IDC_LIST);
  const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  SelectRow(list, AddRow(list, name, "0.0.0.0", kAddedDataBase + rows));
  const HWND combo = GetDlgItem(dlg, IDC_COMBO);
  const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  SendMessageA(combo, CB_SETCURSEL, index, 0);
  SendDlgItemMessageA(dlg, IDC_NETMASK, IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 255, 255, 0));
  char counter[32];
  std::snprintf(counter, sizeof counter, "clicks: %d", ++clicks);
  SetDlgItemTextA(dlg, IDC_COUNTER, counter);
}

INT_PTR CALLBACK ProbeProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      Init(dlg);
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return FALSE;
      switch (LOWORD(wParam)) {
        case IDC_ADD: Add(dlg); return TRUE;
        case IDC_LAST: {
          const HWND list = GetDlgItem(dlg, IDC_LIST);
          SelectRow(list, static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) - 1);
          return TRUE;
        }
        case IDC_ABOUT: MessageBoxA(dlg, "probe about", "Quorvel Probe", MB_OK | MB_ICONINFORMATION); return TRUE;
        case IDC_EXIT: EndDialog(dlg, PROBE_EXIT_CODE); return TRUE;
        case IDCANCEL: EndDialog(dlg, IDCANCEL); return TRUE;
        default: return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PROBE), nullptr, ProbeProc, 0));
}
