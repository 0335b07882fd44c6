#include "skin/win32/skinned_dialog.h"

#include <algorithm>

#include "framework/win32/dpi.h"
#include "framework/win32/window_class.h"
#include "res/resource.h"
#include "skin/region.h"
#include "skin/win32/skin_button.h"
#include "skin/win32/skin_list_ctrl.h"
#include "skin/win32/skin_progress.h"

namespace quorvel::skin {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED

// Static texts, check boxes, radio buttons and group boxes: the controls whose text lies on the
// background. Read-only and disabled edit fields also ask with WM_CTLCOLORSTATIC but keep their look.
bool TextOnBackground(HWND control) {
  return ui::HasWindowClass(control, "Static") || ui::HasWindowClass(control, "Button");
}

bool IsControlColourMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && message != WM_CTLCOLORDLG;
}

}  // namespace

SkinnedDialog::SkinnedDialog(HINSTANCE instance, HWND dialog, const DialogLook& look)
    : instance_(instance), dialog_(dialog), look_(look) {
  LoadBackground();
  for (const ButtonFaces& faces : look.buttons) {
    auto button = std::make_unique<CxSkinButton>(instance);
    if (!button->Subclass(::GetDlgItem(dialog, faces.control))) continue;
    const int disabled = look.activeFaceWhenDisabled ? faces.active : faces.normal;
    button->SetSkin(faces.normal, faces.active, faces.active, disabled, 0, 0, kDrawCopy, 0, 0);
    ::SetWindowTextA(button->window(), faces.label);
    buttons_.push_back(std::move(button));
  }
  if (look.facelessButton != 0) {
    auto button = std::make_unique<CxSkinButton>(instance);
    if (button->Subclass(::GetDlgItem(dialog, look.facelessButton))) {
      ::SetWindowTextA(button->window(), look.facelessLabel);
      buttons_.push_back(std::move(button));
    }
  }
  for (int id : look.lists) {
    if (HWND list = ::GetDlgItem(dialog, id)) lists_.push_back(std::make_unique<CSkinListCtrl>(instance, list));
  }
  if (look.progressBar != 0) {
    if (HWND bar = ::GetDlgItem(dialog, look.progressBar)) progress_ = std::make_unique<CSkinProgress>(bar);
  }
  if (look.mainFrame) {
    icon_ = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
    // The window got its first WM_SIZE before this look existed.
    RECT client{};
    ::GetClientRect(dialog, &client);
    SetFrameRegion(client.right, client.bottom);
    ::InvalidateRect(dialog, nullptr, TRUE);
  }
}

SkinnedDialog::~SkinnedDialog() = default;

void SkinnedDialog::LoadBackground() {
  background_ = LoadBitmapResource(instance_, look_.backgroundBitmap, look_.background == Background::Unscaled,
                                   ui::WindowDpi(dialog_));
}

// The window and its controls have their new places (the layout saw the message first): the pictures for
// the new DPI, the bars beside the lists, the outline for the new size.
void SkinnedDialog::OnDpiChanged() {
  LoadBackground();
  for (const auto& button : buttons_) button->OnDpiChanged();
  for (const auto& list : lists_) list->OnDpiChanged();
  if (look_.mainFrame) {
    RECT client{};
    ::GetClientRect(dialog_, &client);
    SetFrameRegion(client.right, client.bottom);
  }
  ::InvalidateRect(dialog_, nullptr, TRUE);
}

INT_PTR SkinnedDialog::Answer(LRESULT value) const {
  ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, value);
  return TRUE;
}

bool SkinnedDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (look_.mainFrame && MainFrameMessage(message, wParam, lParam, result)) return true;
  if (IsControlColourMessage(message)) {
    return ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
  }
  switch (message) {
    case WM_ERASEBKGND:
      if (!EraseBackground(reinterpret_cast<HDC>(wParam))) return false;
      result = Answer(TRUE);
      return true;
    case WM_DRAWITEM:
      return DrawItem(wParam, lParam, result);
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam), result);
    case kDpiChanged:
      OnDpiChanged();
      return false;  // the dialog's own handling goes on
    default:
      return false;
  }
}

// Stretched: the standard erase, then the whole picture over the client area. Unscaled: the picture at
// its own size in the top-left corner, over the standard erase where the client area is larger. Without
// a picture the standard handling stays.
bool SkinnedDialog::EraseBackground(HDC dc) {
  if (!background_) return false;
  RECT client{};
  ::GetClientRect(dialog_, &client);
  const LRESULT brush = ::DefWindowProcA(dialog_, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(dialog_));
  ::FillRect(dc, &client, brush != 0 ? reinterpret_cast<HBRUSH>(brush) : ::GetSysColorBrush(COLOR_BTNFACE));
  if (look_.background == Background::Stretched) {
    DrawBitmap(dc, background_.get(), client, true);
    return true;
  }
  const SIZE size = BitmapSize(background_.get());
  return DrawBitmap(dc, background_.get(), {0, 0, size.cx, size.cy}, false);
}

// Text on the background is drawn transparent in the look's colour; without the picture the standard
// handling stays, as for the controls that keep the standard colours.
bool SkinnedDialog::ControlColours(HDC dc, HWND control, INT_PTR& result) const {
  if (!TextOnBackground(control)) return false;
  const TextColour colour = DialogTextColour(look_, ::GetDlgCtrlID(control), static_cast<bool>(background_));
  if (colour == TextColour::Standard) return false;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour == TextColour::White ? kWhite : kBlack);
  result = reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));  // these answers skip DWLP_MSGRESULT
  return true;
}

// Owner-drawn menu items stay with their menu; a control draws itself when the request comes back to it.
bool SkinnedDialog::DrawItem(WPARAM wParam, LPARAM lParam, INT_PTR& result) const {
  const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (item.CtlType == ODT_MENU || item.hwndItem == nullptr) return false;
  if (::SendMessageA(item.hwndItem, kReflectedDrawItem, wParam, lParam) == 0) return false;
  result = Answer(TRUE);
  return true;
}

bool SkinnedDialog::Notify(const NMHDR& header, INT_PTR& result) const {
  for (const auto& list : lists_) {
    if (list->window() != header.hwndFrom) continue;
    LRESULT answer = 0;
    if (!list->OnParentNotify(header, answer)) return false;
    result = Answer(answer);
    return true;
  }
  return false;
}

bool SkinnedDialog::MainFrameMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_NCHITTEST: {
      // No caption: the background is where the window is taken to be moved.
      LRESULT hit = ::DefWindowProcA(dialog_, message, wParam, lParam);
      if (hit == HTCLIENT) hit = HTCAPTION;
      result = Answer(hit);
      return true;
    }
    case WM_LBUTTONDOWN:
      ::PostMessageA(dialog_, WM_NCLBUTTONDOWN, HTCAPTION, lParam);  // x low, y high: the click position
      return false;  // the standard handling goes on
    case WM_SIZE:
      // A minimised window has no client area: its outline stays for when it comes back.
      if (wParam != SIZE_MINIMIZED) {
        SetFrameRegion(LOWORD(lParam), HIWORD(lParam));
        ::InvalidateRect(dialog_, nullptr, TRUE);
      }
      return false;
    case WM_PAINT:
      if (!::IsIconic(dialog_) || !PaintMinimised()) return false;
      result = Answer(0);
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(icon_);  // answered directly, not through DWLP_MSGRESULT
      return true;
    default:
      return false;
  }
}

void SkinnedDialog::SetFrameRegion(int width, int height) const {
  RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
  if (!region) return;
  for (const PixelRect& rect : FrameRegionRects(width, height, ui::WindowDpi(dialog_))) {
    if (rect.empty()) continue;
    RegionHandle piece(::CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom));
    if (piece) ::CombineRgn(region.get(), region.get(), piece.get(), RGN_OR);
  }
  if (::SetWindowRgn(dialog_, region.get(), TRUE) != 0) region.Release();  // the window owns it now
}

bool SkinnedDialog::PaintMinimised() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(dialog_, &paint);
  if (dc == nullptr) return false;
  ::SendMessageA(dialog_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  ::GetClientRect(dialog_, &client);
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  if (icon_ != nullptr) ::DrawIcon(dc, x, y, icon_);
  ::EndPaint(dialog_, &paint);
  return true;
}

}  // namespace quorvel::skin
