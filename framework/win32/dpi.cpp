#include "framework/win32/dpi.h"

#include "framework/dpi_scale.h"
#include "platform/win32/system_library.h"

namespace quorvel::ui {

using platform::FindSystemFunction;

namespace {

constexpr char kLayoutDpiProperty[] = "QuorvelLayoutDpi";

// The values of the newer headers, which the build's headers may lack.
const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));  // DPI_AWARENESS_CONTEXT
constexpr int kDialogDisableAll = 0x0001;                                             // DDC_DISABLE_ALL
constexpr int kControlDisableFontAndLayout = 0x0001 | 0x0002;  // DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT
constexpr int kEffectiveDpi = 0;                               // MDT_EFFECTIVE_DPI

// Looked up once, on first use.
struct DpiFunctions {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  using SetThreadContextFn = HANDLE(WINAPI*)(HANDLE);
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  using SetDialogBehaviourFn = BOOL(WINAPI*)(HWND, int, int);
  using GetMetricForDpiFn = int(WINAPI*)(int, UINT);

  GetDpiForWindowFn getDpiForWindow = FindSystemFunction<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
  AdjustForDpiFn adjustForDpi = FindSystemFunction<AdjustForDpiFn>("user32.dll", "AdjustWindowRectExForDpi");
  SetThreadContextFn setThreadContext =
      FindSystemFunction<SetThreadContextFn>("user32.dll", "SetThreadDpiAwarenessContext");
  GetDpiForMonitorFn getDpiForMonitor = FindSystemFunction<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
  SetDialogBehaviourFn setDialogBehaviour =
      FindSystemFunction<SetDialogBehaviourFn>("user32.dll", "SetDialogDpiChangeBehavior");
  SetDialogBehaviourFn setControlBehaviour =
      FindSystemFunction<SetDialogBehaviourFn>("user32.dll", "SetDialogControlDpiChangeBehavior");
  GetMetricForDpiFn getMetricForDpi = FindSystemFunction<GetMetricForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions;
  return functions;
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kReferenceDpi;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kReferenceDpi;
}

// The current DPI of the monitor, where the system can say.
int MonitorDpi(HMONITOR monitor) {
  const DpiFunctions& f = Functions();
  UINT x = 0;
  UINT y = 0;
  if (monitor == nullptr || f.getDpiForMonitor == nullptr) return 0;
  return SUCCEEDED(f.getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) ? static_cast<int>(y) : 0;
}

int SystemDpi(HWND window) {
  const DpiFunctions& f = Functions();
  if (window != nullptr && f.getDpiForWindow != nullptr) {
    if (const UINT dpi = f.getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  if (window != nullptr) {
    if (const int dpi = MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); dpi > 0) return dpi;
  }
  return ScreenDpi();
}

}  // namespace

void BecomePerMonitorAware() {
  if (const auto set = Functions().setThreadContext) set(kPerMonitorAwareV2);
}

int WindowDpi(HWND window) {
  HWND dialog = window != nullptr ? ::GetAncestor(window, GA_ROOT) : nullptr;
  if (dialog != nullptr) {
    const auto recorded = reinterpret_cast<INT_PTR>(::GetPropA(dialog, kLayoutDpiProperty));
    if (recorded > 0) return static_cast<int>(recorded);
  }
  return SystemDpi(dialog != nullptr ? dialog : window);
}

int PrimaryMonitorDpi() {
  const int dpi = MonitorDpi(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
  return dpi > 0 ? dpi : ScreenDpi();
}

void SetLayoutDpi(HWND dialog, int dpi) {
  ::SetPropA(dialog, kLayoutDpiProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
}

void ForgetLayoutDpi(HWND dialog) { ::RemovePropA(dialog, kLayoutDpiProperty); }

RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
  RECT rect = client;
  const auto adjust = Functions().adjustForDpi;
  if (adjust == nullptr || !adjust(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    rect = client;
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return rect;
}

int SystemMetricAt(int index, int dpi) {
  if (const auto metric = Functions().getMetricForDpi; metric != nullptr && dpi > 0) {
    if (const int value = metric(index, static_cast<UINT>(dpi)); value > 0) return value;
  }
  return ScaleBetween(::GetSystemMetrics(index), ScreenDpi(), dpi);
}

void KeepDialogManagerFromRescaling(HWND dialog) {
  const DpiFunctions& f = Functions();
  if (f.setDialogBehaviour != nullptr) f.setDialogBehaviour(dialog, kDialogDisableAll, kDialogDisableAll);
  if (f.setControlBehaviour == nullptr) return;
  for (HWND control = ::GetWindow(dialog, GW_CHILD); control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
    f.setControlBehaviour(control, kControlDisableFontAndLayout, kControlDisableFontAndLayout);
  }
}

}  // namespace quorvel::ui
