#include "framework/win32/dpi_layout.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "framework/dpi_scale.h"
#include "framework/win32/dpi.h"
#include "framework/win32/window_class.h"

namespace quorvel::ui {

namespace {

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

// An address editor places its four fields once, when it is made: they move with the DPI here.
void RescaleFields(HWND editor, int fromDpi, int toDpi) {
  for (HWND field = ::GetWindow(editor, GW_CHILD); field != nullptr; field = ::GetWindow(field, GW_HWNDNEXT)) {
    RECT rect{};
    ::GetWindowRect(field, &rect);
    ::MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&rect), 2);
    const RECT scaled{ScaleBetween(rect.left, fromDpi, toDpi), ScaleBetween(rect.top, fromDpi, toDpi),
                      ScaleBetween(rect.right, fromDpi, toDpi), ScaleBetween(rect.bottom, fromDpi, toDpi)};
    ::SetWindowPos(field, nullptr, scaled.left, scaled.top, scaled.right - scaled.left, scaled.bottom - scaled.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void RescaleColumns(HWND list, int fromDpi, int toDpi) {
  HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  const int count = header != nullptr ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int column = 0; column < count; ++column) {
    const int width = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(ScaleBetween(width, fromDpi, toDpi), 0));
  }
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
  if (dpi_ == kReferenceDpi) return;  // the dialog manager's own layout is the reference
  const PixelBox client = ScaleRectToDpi(client_, dpi_);
  const RECT outer = WindowRectForClient({client.left, client.top, client.right, client.bottom},
                                         static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)),
                                         static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)), dpi_);
  ::SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceControls();
  KeepOnWorkArea();
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
  if (suggested != nullptr) {
    ::SetWindowPos(dialog_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceControls();
  KeepOnWorkArea();
  ::InvalidateRect(dialog_, nullptr, TRUE);
}

void DpiLayout::PlaceControls() const {
  if (!laidOut_) return;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const PixelBox box = ScaleRectToDpi(references_[i], dpi_);
    // A control the template gives no size (an icon) takes the size of what it shows: it only moves.
    const UINT keepSize = box.right == box.left && box.bottom == box.top ? SWP_NOSIZE : 0;
    ::SetWindowPos(controls_[i], nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
  }
}

// Every control's font again at the new DPI (one new font for the controls that share one, as they share
// the dialog's), and the list columns' widths and the address fields' places with it.
void DpiLayout::RemakeFonts(int fromDpi, int toDpi) {
  std::map<HFONT, HFONT> remade;
  std::vector<FontHandle> fonts;
  for (HWND control = ::GetWindow(dialog_, GW_CHILD); control != nullptr; control = ::GetWindow(control, GW_HWNDNEXT)) {
    if (IsListView(control)) RescaleColumns(control, fromDpi, toDpi);
    if (IsAddressEditor(control)) RescaleFields(control, fromDpi, toDpi);
    const auto old = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
    if (old == nullptr) continue;
    auto found = remade.find(old);
    if (found == remade.end()) {
      LOGFONTA description{};
      if (::GetObjectA(old, sizeof description, &description) == 0) continue;
      // The template's font as the dialog manager makes it at that DPI; any other scaled.
      const bool templateFont = old == dialogFont_ && pointSize_ > 0;
      description.lfHeight = templateFont ? -ScaleBetween(pointSize_, 72, toDpi)
                                          : ScaleBetween(description.lfHeight, fromDpi, toDpi);
      description.lfWidth = ScaleBetween(description.lfWidth, fromDpi, toDpi);
      fonts.emplace_back(::CreateFontIndirectA(&description));
      found = remade.emplace(old, fonts.back().get()).first;
    }
    if (found->second != nullptr) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(found->second), TRUE);
  }
  if (const auto again = remade.find(dialogFont_); again != remade.end()) dialogFont_ = again->second;
  fonts_ = std::move(fonts);  // the fonts of the previous DPI are no longer used by any control
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
