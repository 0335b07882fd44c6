#include "framework/win32/dpi_layout.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

#include "framework/address_fields.h"
#include "framework/dpi_scale.h"
#include "framework/win32/dpi.h"
#include "framework/win32/dpi_font.h"
#include "framework/win32/window_class.h"

namespace quorvel::ui {

namespace {

constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

std::optional<DialogTemplateInfo> TemplateOf(HINSTANCE instance, int templateId) {
  HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr) return std::nullopt;
  return ReadDialogTemplate({static_cast<const std::byte*>(data), ::SizeofResource(instance, found)});
}

// The base units of the template's font at 96 DPI, measured as the dialog manager measures them: the
// average width of the 52 Latin letters, rounded, and the character height.
BaseUnits ReferenceBaseUnits(const DialogTemplateInfo& info) {
  LOGFONTW description{};
  description.lfHeight = -ScaleBetween(info.pointSize, 72, kReferenceDpi);
  description.lfWeight = info.weight;
  description.lfItalic = info.italic ? TRUE : FALSE;
  description.lfCharSet = static_cast<BYTE>(info.charset);
  const std::size_t length = std::min<std::size_t>(info.face.size(), LF_FACESIZE - 1);
  for (std::size_t i = 0; i < length; ++i) description.lfFaceName[i] = static_cast<wchar_t>(info.face[i]);
  FontHandle font(::CreateFontIndirectW(&description));
  HDC dc = ::CreateCompatibleDC(nullptr);
  BaseUnits base{};
  if (dc != nullptr && font) {
    HGDIOBJ previous = ::SelectObject(dc, font.get());
    TEXTMETRICW metrics{};
    SIZE letters{};
    static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (::GetTextMetricsW(dc, &metrics) && ::GetTextExtentPoint32W(dc, kLetters, 52, &letters)) {
      base = {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
    }
    ::SelectObject(dc, previous);
  }
  if (dc != nullptr) ::DeleteDC(dc);
  return base;
}

bool IsListView(HWND window) { return HasWindowClass(window, WC_LISTVIEWA); }

bool IsAddressEditor(HWND window) { return HasWindowClass(window, WC_IPADDRESSA); }

// A column's width at the new DPI is its 96-DPI width scaled, not its width scaled on from the old DPI,
// so that the rounding of one DPI is not carried into the next. The 96-DPI width is the old width scaled
// back, which gives the width the column was made with at any DPI of 96 or more (a width the user
// dragged becomes the nearest 96-DPI width).
void RescaleColumns(HWND list, int fromDpi, int toDpi) {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int count = header != nullptr ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int column = 0; column < count; ++column) {
    const int width = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
    const int reference = ScaleBetween(width, fromDpi, kReferenceDpi);
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(ScaleToDpi(reference, toDpi), 0));
  }
}

// The 96-DPI description of a control's font: the one it was made from, else (a font this program did
// not make for a DPI) its description at `fromDpi` scaled back.
LOGFONTA ReferenceOf(HFONT font, int fromDpi) {
  if (const std::optional<LOGFONTA> known = DpiFont::ReferenceOf(font)) return *known;
  LOGFONTA description{};
  if (::GetObjectA(font, sizeof description, &description) == 0) return description;
  description.lfHeight = ScaleBetween(description.lfHeight, fromDpi, kReferenceDpi);
  description.lfWidth = ScaleBetween(description.lfWidth, fromDpi, kReferenceDpi);
  return description;
}

// Whether the control is already at `box` (its size aside when `keepSize`), in its parent's client
// coordinates.
bool IsAt(HWND control, const PixelBox& box, bool keepSize) {
  RECT rect{};
  if (!::GetWindowRect(control, &rect)) return false;
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect.left == box.left && rect.top == box.top &&
         (keepSize || (rect.right == box.right && rect.bottom == box.bottom));
}

}  // namespace

DpiLayout::DpiLayout(HINSTANCE instance, HWND dialog, int templateId)
    : dialog_(dialog), dpi_(WindowDpi(dialog)) {
  SetLayoutDpi(dialog, dpi_);
  KeepDialogManagerFromRescaling(dialog);
  const std::optional<DialogTemplateInfo> info = TemplateOf(instance, templateId);
  if (!info || info->pointSize <= 0) return;
  dialogFont_ = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
  pointSize_ = info->pointSize;
  const BaseUnits base = ReferenceBaseUnits(*info);
  if (base.x <= 0 || base.y <= 0) return;
  for (HWND control = ::GetWindow(dialog, GW_CHILD); control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
    controls_.push_back(control);
  }
  if (controls_.size() != info->controls.size()) return;  // not the template's windows: leave them be
  for (const DialogUnits& units : info->controls) references_.push_back(DialogUnitsToPixels(units, base));
  client_ = DialogUnitsToPixels({0, 0, info->size.cx, info->size.cy}, base);
  laidOut_ = true;
  if (dpi_ != kReferenceDpi) {  // at 96 DPI the dialog manager's window is the reference size
    const SIZE size = WindowSizeAt(dpi_);
    ::SetWindowPos(dialog, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    KeepOnWorkArea();
  }
  // At every DPI, 96 included: the address fields get their places and font only here, as after a change.
  PlaceControls();
}

DpiLayout::~DpiLayout() {
  if (::IsWindow(dialog_)) ForgetLayoutDpi(dialog_);
}

void DpiLayout::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  const int dpi = HIWORD(wParam);
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  if (dpi <= 0) return;
  const int previous = dpi_;
  dpi_ = dpi;
  SetLayoutDpi(dialog_, dpi);
  RemakeFonts(previous, dpi);
  if (::IsIconic(dialog_)) {
    SizeRestoredWindow(suggested);
  } else if (suggested != nullptr) {
    ::SetWindowPos(dialog_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceControls();
  // Dragged onto another monitor: the window stays under the cursor until the move ends. Otherwise (the
  // scale changed in the settings, a monitor went) it comes onto its work area at once; a minimised
  // window stays where the system keeps it.
  if (moving_) {
    keepOnWorkAreaAtMoveEnd_ = true;
  } else if (!::IsIconic(dialog_)) {
    KeepOnWorkArea();
  }
  ::InvalidateRect(dialog_, nullptr, TRUE);
}

bool DpiLayout::OnSizeMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_ENTERSIZEMOVE:
      moving_ = true;
      return false;
    case WM_EXITSIZEMOVE:
      moving_ = false;
      if (std::exchange(keepOnWorkAreaAtMoveEnd_, false) && !::IsIconic(dialog_)) KeepOnWorkArea();
      return false;
    case kGetDpiScaledSize: {
      const int dpi = LOWORD(wParam);
      auto* size = reinterpret_cast<SIZE*>(lParam);
      if (!laidOut_ || dpi <= 0 || size == nullptr) return false;  // the system's linear size
      *size = WindowSizeAt(dpi);
      ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, TRUE);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

// The window around the reference client area scaled to `dpi`, its frame at that DPI.
SIZE DpiLayout::WindowSizeAt(int dpi) const {
  const PixelBox client = ScaleRectToDpi(client_, dpi);
  const RECT outer = WindowRectForClient({client.left, client.top, client.right, client.bottom},
                                         static_cast<DWORD>(::GetWindowLongPtrA(dialog_, GWL_STYLE)),
                                         static_cast<DWORD>(::GetWindowLongPtrA(dialog_, GWL_EXSTYLE)), dpi);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

// A minimised window is not moved to the suggested rectangle (that would move its minimised place, and
// the window would be restored at its old size): the rectangle it is restored to takes the window's size
// at the new DPI, its top-left corner kept.
void DpiLayout::SizeRestoredWindow(const RECT* suggested) const {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if ((!laidOut_ && suggested == nullptr) || !::GetWindowPlacement(dialog_, &placement)) return;
  const SIZE size = laidOut_ ? WindowSizeAt(dpi_)
                             : SIZE{suggested->right - suggested->left, suggested->bottom - suggested->top};
  RECT& restored = placement.rcNormalPosition;
  restored.right = restored.left + size.cx;
  restored.bottom = restored.top + size.cy;
  placement.showCmd = SW_SHOWMINNOACTIVE;
  ::SetWindowPlacement(dialog_, &placement);
}

void DpiLayout::PlaceControls() const {
  if (!laidOut_) return;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const PixelBox box = ScaleRectToDpi(references_[i], dpi_);
    // A control the template gives no size (an icon) takes the size of what it shows: it only moves.
    const bool keepSize = box.right == box.left && box.bottom == box.top;
    // One already in its place is left alone: at a start at 96 DPI the dialog manager has put most of
    // them there, and every move costs the control a round of messages.
    if (IsAt(controls_[i], box, keepSize)) continue;
    ::SetWindowPos(controls_[i], nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | (keepSize ? SWP_NOSIZE : 0));
  }
  LayOutAddressFields();
}

// An address editor places its four fields once, from the size it is made with (the dialog manager's,
// at a start away from 96 DPI the wrong one), and gives them a font of its own at the system's DPI. Here
// they are placed from the size the editor now has and get the template's font at the layout's DPI, so
// that they look the same whether the window started at this DPI or came to it.
void DpiLayout::LayOutAddressFields() const {
  for (HWND editor : controls_) {
    if (!IsAddressEditor(editor)) continue;
    RECT client{};
    ::GetClientRect(editor, &client);
    const auto boxes = AddressFieldBoxes(client.right, client.bottom, dpi_);
    std::size_t i = 0;
    for (HWND field = ::GetWindow(editor, GW_CHILD); field != nullptr && i < boxes.size();
         field = ::GetWindow(field, GW_HWNDNEXT), ++i) {
      const PixelBox& box = boxes[i];
      ::SetWindowPos(field, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      if (dialogFont_ != nullptr) ::SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_), FALSE);
    }
    ::RedrawWindow(editor, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

// Every control's font again at the new DPI (one new font for the controls that share one, as they share
// the dialog's), each made from its size at 96 DPI (the template's from its point size, as the dialog
// manager makes it at a start), and the list columns' widths with it.
void DpiLayout::RemakeFonts(int fromDpi, int toDpi) {
  std::map<HFONT, HFONT> remade;
  FontHandle dialogFont;
  std::vector<DpiFont> fonts;
  for (HWND control = ::GetWindow(dialog_, GW_CHILD); control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
    if (IsListView(control)) RescaleColumns(control, fromDpi, toDpi);
    const auto old = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    if (old == nullptr) continue;
    auto found = remade.find(old);
    if (found == remade.end()) {
      HFONT made = nullptr;
      LOGFONTA description{};
      if (old == dialogFont_ && pointSize_ > 0) {
        if (::GetObjectA(old, sizeof description, &description) == 0) continue;
        description.lfHeight = -ScaleBetween(pointSize_, 72, toDpi);
        description.lfWidth = 0;
        dialogFont = FontHandle(::CreateFontIndirectA(&description));
        made = dialogFont.get();
      } else {
        DpiFont font(ReferenceOf(old, fromDpi), toDpi);
        made = font.get();
        if (font) fonts.push_back(std::move(font));
      }
      // A font that cannot be made for the new DPI: the controls keep the one they have.
      found = remade.emplace(old, made != nullptr ? made : old).first;
    }
    if (found->second != old) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(found->second), TRUE);
  }
  if (const auto again = remade.find(dialogFont_); again != remade.end()) dialogFont_ = again->second;
  // The fonts of the previous DPI go, but for those that controls still use (the new one could not be
  // made): a control never draws with a deleted font.
  if (dialogFont) dialogFontMade_ = std::move(dialogFont);
  for (DpiFont& font : fonts_) {
    const auto kept = remade.find(font.get());
    if (kept != remade.end() && kept->second == font.get()) fonts.push_back(std::move(font));
  }
  fonts_ = std::move(fonts);
}

void DpiLayout::KeepOnWorkArea() const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT window{};
  if (!::GetMonitorInfoA(::MonitorFromWindow(dialog_, MONITOR_DEFAULTTONEAREST), &monitor) ||
      !::GetWindowRect(dialog_, &window)) {
    return;
  }
  const RECT placed = PlaceInWorkArea(window, monitor.rcWork);
  if (placed.left != window.left || placed.top != window.top) {
    ::SetWindowPos(dialog_, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace quorvel::ui
