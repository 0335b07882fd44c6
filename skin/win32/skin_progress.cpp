#include "skin/win32/skin_progress.h"

#include <commctrl.h>

#include "skin/progress_geometry.h"
#include "skin/win32/gdi.h"
#include "skin/win32/mem_dc.h"

namespace quorvel::skin {

namespace {

constexpr COLORREF kBarColour = RGB(4, 134, 232);

}  // namespace

CSkinProgress::CSkinProgress(HWND bar) { Subclass(bar); }

// The blue part over the button face, drawn off-screen and copied in one step.
void CSkinProgress::Paint(HDC dc, const RECT& client) {
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  PBRANGE range{};
  ::SendMessageA(hwnd(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const int position = static_cast<int>(::SendMessageA(hwnd(), PBM_GETPOS, 0, 0));
  RECT filled = client;
  filled.right = client.left + ProgressFillWidth(range.iLow, range.iHigh, position, client.right - client.left);
  if (filled.right > filled.left) {
    GdiObject<HBRUSH> blue(::CreateSolidBrush(kBarColour));
    ::FillRect(dc, &filled, blue.get());
  }
}

bool CSkinProgress::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message != WM_PAINT) return false;
  PaintOffScreen(hwnd(), [this](HDC, HDC memory, const RECT& client) { Paint(memory, client); });
  result = 0;
  return true;
}

}  // namespace quorvel::skin
