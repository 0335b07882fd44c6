#include "skin/win32/skin_list_ctrl.h"

#include <commctrl.h>

#include <optional>

#include "framework/dpi_scale.h"
#include "framework/win32/dpi.h"
#include "framework/win32/dpi_font.h"
#include "framework/win32/gdi_handles.h"
#include "skin/win32/mem_dc.h"

namespace quorvel::skin {

namespace {

HWND HeaderOf(HWND list) { return reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0)); }

// The pixel a report list adds under its font's line (or its pictures) for each row.
constexpr int kRowPadding = 1;

// The height of a line of the font, with its leading, as a list measures its rows.
int FontRows(const LOGFONTA& description) {
  ui::FontHandle font(::CreateFontIndirectA(&description));
  HDC dc = ::CreateCompatibleDC(nullptr);
  TEXTMETRICA metrics{};
  bool measured = false;
  if (dc != nullptr && font) {
    HGDIOBJ previous = ::SelectObject(dc, font.get());
    measured = ::GetTextMetricsA(dc, &metrics) != 0;
    ::SelectObject(dc, previous);
  }
  if (dc != nullptr) ::DeleteDC(dc);
  return measured ? metrics.tmHeight + metrics.tmExternalLeading : 0;
}

void SetSelected(HWND list, int item, bool selected) {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED;
  state.state = selected ? LVIS_SELECTED : 0;
  ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

}  // namespace

CSkinListCtrl::CSkinListCtrl(HINSTANCE instance, HWND list)
    : header_(instance, HeaderOf(list)), vertical_(instance), horizontal_(instance) {
  Subclass(list);
  // Only the bitmap bars act: the list's own bars go flat and disabled.
  ::InitializeFlatSB(list);
  ::FlatSB_EnableScrollBar(list, SB_BOTH, ESB_DISABLE_BOTH);
  HWND parent = ::GetParent(list);
  vertical_.Create(parent, list);
  horizontal_.Create(parent, list);
  PlaceBars();
}

std::vector<int> CSkinListCtrl::Pictures() {
  std::vector<int> pictures{CSkinHeaderCtrl::kStripBitmap, CSkinHeaderCtrl::kDividerBitmap};
  for (const BarBitmapIds& bar : {CSkinVerticleScrollbar::kPictures, CSkinHorizontalScrollbar::kPictures}) {
    pictures.insert(pictures.end(), {bar.firstArrow, bar.secondArrow, bar.thumb, bar.track, bar.firstArrowLight,
                                     bar.secondArrowLight, bar.trackLight});
  }
  return pictures;
}

HWND CSkinListCtrl::window() const { return hwnd(); }

// The bitmap bars beside the list stand in for its own. The list keeps its scroll state (the bars read and
// change it), but its frame is measured without scroll bars, so they are neither drawn over the rows nor
// take room from them. The list shows a bar again whenever its range changes; that reaches here too.
void CSkinListCtrl::HideOwnScrollBars() {
  const LONG_PTR style = ::GetWindowLongPtrA(hwnd(), GWL_STYLE);
  const LONG_PTR bars = WS_VSCROLL | WS_HSCROLL;
  if ((style & bars) != 0) ::SetWindowLongPtrA(hwnd(), GWL_STYLE, style & ~bars);
}

// The vertical bar to the right of the list, the horizontal one below it.
void CSkinListCtrl::PlaceBars() {
  HWND list = hwnd();
  RECT rect{};
  ::GetWindowRect(list, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(list), reinterpret_cast<POINT*>(&rect), 2);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int dpi = ui::WindowDpi(list);
  const int thickness = ui::ScaleToDpi(kBarThickness, dpi);
  vertical_.Place(rect.right, rect.top, thickness, height - ui::ScaleToDpi(1, dpi));
  horizontal_.Place(rect.left, rect.bottom, width - ui::ScaleToDpi(2, dpi), thickness);
  UpdateThumbs();
}

// A report list's rows are as high as its font plus a pixel or two, which does not grow by the DPI's factor
// (a 13-pixel font is 15-pixel rows at 96 DPI, 27 at 192). Away from 96 DPI a picture list of blank
// one-pixel-wide pictures as high as the 96-DPI row scaled (less that pixel) makes the rows that high;
// at 96 DPI the list keeps its own rows.
void CSkinListCtrl::FitRowHeight(HFONT font) {
  HWND list = hwnd();
  const int dpi = ui::WindowDpi(list);
  int pictureHeight = 0;
  LOGFONTA description{};
  // The font's 96-DPI description where it was made from one; else its height scaled back.
  const std::optional<LOGFONTA> reference = ui::DpiFont::ReferenceOf(font);
  if (reference) description = *reference;
  if (dpi != ui::kReferenceDpi && font != nullptr &&
      (reference || ::GetObjectA(font, sizeof description, &description) != 0)) {
    if (!reference) description.lfHeight = ui::ScaleBetween(description.lfHeight, dpi, ui::kReferenceDpi);
    const int fontRows = FontRows(description);
    if (fontRows > 0) pictureHeight = ui::ScaleToDpi(fontRows + kRowPadding, dpi) - kRowPadding;
  }
  if (pictureHeight == 0 && ::SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) == 0) return;
  HIMAGELIST pictures = pictureHeight > 0 ? ::ImageList_Create(1, pictureHeight, ILC_COLOR, 0, 1) : nullptr;
  const auto previous = reinterpret_cast<HIMAGELIST>(
      ::SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(pictures)));
  if (previous != nullptr) ::ImageList_Destroy(previous);  // the list destroys only the one it has at the end
}

void CSkinListCtrl::OnDpiChanged() {
  header_.LoadPictures();
  vertical_.LoadPictures();
  horizontal_.LoadPictures();
  PlaceBars();
}

void CSkinListCtrl::UpdateThumbs() {
  vertical_.UpdateThumb();
  horizontal_.UpdateThumb();
}

bool CSkinListCtrl::OnParentNotify(const NMHDR& header, LRESULT& result) {
  HWND list = hwnd();
  if (list == nullptr || header.hwndFrom != list || header.code != static_cast<UINT>(NM_CUSTOMDRAW)) return false;
  // The notification is the list's own buffer: its colours and item state are answers the list reads back.
  auto& draw = *reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header));
  const int item = static_cast<int>(draw.nmcd.dwItemSpec);
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
      drawingSelected_ = (::SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
      if (drawingSelected_) {
        draw.clrText = selectedText_;
        draw.clrTextBk = selectedGround_;
        // No system highlight: the row is drawn as not selected, in the grey.
        SetSelected(list, item, false);
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
      }
      result = CDRF_NOTIFYPOSTPAINT;
      return true;
    case CDDS_ITEMPOSTPAINT:
      if (drawingSelected_) SetSelected(list, item, true);
      drawingSelected_ = false;
      result = CDRF_DODEFAULT;
      return true;
    default:
      result = CDRF_DODEFAULT;
      return true;
  }
}

// The list draws itself into the off-screen copy, on white; the copy back leaves the header alone (it
// paints itself).
void CSkinListCtrl::Paint(HDC target, HDC memory) {
  HWND list = hwnd();
  if (HWND header = HeaderOf(list)) {
    RECT headerRect{};
    ::GetWindowRect(header, &headerRect);
    ::MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&headerRect), 2);
    ::ExcludeClipRect(target, headerRect.left, headerRect.top, headerRect.right, headerRect.bottom);
  }
  RECT box{};
  ::GetClipBox(memory, &box);
  ::FillRect(memory, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  constexpr COLORREF kWhite = RGB(255, 255, 255);
  if (static_cast<COLORREF>(::SendMessageA(list, LVM_GETTEXTBKCOLOR, 0, 0)) != kWhite) {
    ::SendMessageA(list, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(kWhite));
  }
  UpdateThumbs();
  Default(WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
}

bool CSkinListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETFONT:
      result = Default(message, wParam, lParam);
      FitRowHeight(reinterpret_cast<HFONT>(wParam));
      return true;
    case WM_PAINT:
      PaintOffScreen(hwnd(), [this](HDC target, HDC memory, const RECT&) { Paint(target, memory); });
      result = 0;
      return true;
    case WM_ERASEBKGND:
      UpdateThumbs();
      result = 0;  // not erased: the painting fills the ground
      return true;
    case WM_NCCALCSIZE:
      // The list's own bars come and go with its rows (a row added past the page shows the vertical one);
      // they are taken off again and the skinned bars' thumbs follow. Nothing is painted here: what the
      // rows invalidated paints with the next WM_PAINT, so a list filled row by row never waits for a
      // repaint per row.
      HideOwnScrollBars();
      UpdateThumbs();
      return false;
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_KEYUP:
      UpdateThumbs();
      return false;
    default:
      return false;
  }
}

}  // namespace quorvel::skin
