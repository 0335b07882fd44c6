// quorvel-plain-window: the yardstick of the start-up figure. A plain window titled "Plain window" with a
// button and a report list (id 1000) that gets one row once the window is up: the common controls loaded,
// none of the painted look, no pictures, no network.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr int kList = 1000;
constexpr int kButton = 1002;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto instance = reinterpret_cast<const CREATESTRUCTA*>(lParam)->hInstance;
      CreateWindowExA(0, "Button", "Refresh", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 330, 10, 90, 25, window,
                      reinterpret_cast<HMENU>(kButton), instance, nullptr);
      HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10,
                                  310, 200, window, reinterpret_cast<HMENU>(kList), instance, nullptr);
      LVCOLUMNA column{};
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.cx = 150;
      column.pszText = const_cast<char*>("Name");
      SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
      PostMessageA(window, WM_APP, 0, 0);  // the row comes once the window is up, as the main window's do
      return 0;
    }
    case WM_APP: {
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.pszText = const_cast<char*>("alpha");
      SendMessageA(GetDlgItem(window, kList), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "QuorvelPlainWindow";
  if (RegisterClassA(&windowClass) == 0) return 1;
  HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Plain window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 440, 260, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
