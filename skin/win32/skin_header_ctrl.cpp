#include "skin/win32/skin_header_ctrl.h"

#include <commctrl.h>

#include "framework/dpi_scale.h"
#include "framework/win32/dpi.h"
#include "framework/win32/gdi_handles.h"
#include "skin/dialog_looks.h"
#include "skin/win32/mem_dc.h"

namespace quorvel::skin {

namespace {

// Sizes in 96-DPI pixels, scaled to the header's DPI when drawn.
constexpr int kStripHeight = 17;
constexpr int kDividerWidth = 12;
constexpr int kDividerOffset = 2;
constexpr int kTextInset = 2;
constexpr int kTextHeight = 14;

}  // namespace

CSkinHeaderCtrl::CSkinHeaderCtrl(HINSTANCE instance, HWND header) : instance_(instance) {
  Subclass(header);
  LoadPictures();
}

void CSkinHeaderCtrl::LoadPictures() {
  const int dpi = ui::WindowDpi(hwnd());
  strip_ = LoadBitmapResource(instance_, kStripBitmap, false, dpi);
  divider_ = LoadBitmapResource(instance_, kDividerBitmap, false, dpi);
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

// On the strip: a black ground and black text. Without the strip picture the header is drawn in the
// standard face and text colours, so that its texts stay readable.
void CSkinHeaderCtrl::Paint(HDC dc, const RECT& client) {
  const bool standard = HeaderTextColour(static_cast<bool>(strip_)) == TextColour::Standard;
  ::FillRect(dc, &client,
             standard ? ::GetSysColorBrush(COLOR_BTNFACE) : static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::SetTextColor(dc, standard ? ::GetSysColor(COLOR_BTNTEXT) : RGB(0, 0, 0));
  DrawBitmap(dc, strip_.get(), RECT{0, 0, client.right, Px(kStripHeight)}, true);
  const int count = static_cast<int>(::SendMessageA(hwnd(), HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) DrawItem(dc, i);
}

void CSkinHeaderCtrl::DrawItem(HDC dc, int index) {
  char text[256] = {};
  HDITEMA item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(sizeof text);
  RECT rect{};
  if (!::SendMessageA(hwnd(), HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)) ||
      !::SendMessageA(hwnd(), HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect))) {
    return;
  }
  // The column's fill: the strip's pixel column copied to every pixel column of the item, as deep as the
  // strip (the rows below stay as the ground).
  DrawBitmap(dc, strip_.get(), RECT{rect.left, rect.top, rect.right, rect.top + Px(kStripHeight)}, true);
  if (index > 0) {
    const int left = rect.left - Px(kDividerOffset);
    DrawBitmap(dc, divider_.get(), RECT{left, rect.top, left + Px(kDividerWidth), rect.top + Px(kStripHeight)}, false);
  }
  ui::FontHandle font = ui::CreateFontFrom(ui::FontDescription{"Tahoma", Px(kTextHeight), 0, 0});
  SelectedObject selected(dc, font.get());
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const int inset = Px(kTextInset);
  RECT textRect{rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset};
  ::DrawTextA(dc, text, -1, &textRect, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SetBkMode(dc, oldMode);
}

int CSkinHeaderCtrl::Px(int pixels) const { return ui::ScaleToDpi(pixels, ui::WindowDpi(hwnd())); }

bool CSkinHeaderCtrl::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      PaintOffScreen(hwnd(), [this](HDC, HDC memory, const RECT& client) { Paint(memory, client); });
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 0;  // not erased: the painting covers everything
      return true;
    default:
      return false;
  }
}

}  // namespace quorvel::skin
