#include "skin/win32/skin_button.h"

#include <algorithm>
#include <string>

#include "framework/dpi_scale.h"
#include "framework/win32/dpi.h"
#include "framework/win32/gdi_handles.h"
#include "framework/win32/keyboard_cues.h"
#include "framework/win32/win32_control.h"
#include "skin/mask_runs.h"

namespace quorvel::skin {

namespace {

// The client position of a mouse message (signed: a captured mouse may be left or above the button).
POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void FillButtonFace(HDC dc, const RECT& rect) { ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE)); }

// How far inside the button the keyboard's focus cue is drawn when the button sets no margin of its own.
constexpr short kFocusCueMargin = 3;

// The Enter key, asked about by the dialog manager before it turns the key into the default command.
bool IsEnterKey(LPARAM dialogMessage) {
  const auto* message = reinterpret_cast<const MSG*>(dialogMessage);
  return message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_RETURN;
}

}  // namespace

CxSkinButton::CxSkinButton(HINSTANCE instance)
    : instance_(instance), textColour_(::GetSysColor(COLOR_BTNTEXT)) {}

bool CxSkinButton::Subclass(HWND button) {
  if (button == nullptr || hwnd() != nullptr) return false;
  const LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
  if (!SubclassedWindow::Subclass(button)) return false;
  kind_ = ButtonKindFromStyle(static_cast<unsigned long>(style));
  ::SetWindowLongPtrA(button, GWL_STYLE, style | BS_OWNERDRAW);
  Redraw();
  return true;
}

void CxSkinButton::SetSkin(int normal, int down, int over, int disabled, int focus, int mask, int drawMode,
                           short border, short focusMargin) {
  ids_ = {normal, down, over, disabled != 0 ? disabled : normal, focus, mask};
  dpi_ = ui::WindowDpi(hwnd());
  drawMode_ = NormalisedDrawMode(drawMode);
  border_ = border;
  focusMargin_ = focusMargin > 0 ? focusMargin : 0;
  LoadSkin();
}

// The layout has just placed the button at its reference box: with the faces unchanged it still grows to
// its face again.
void CxSkinButton::SetDpi(int dpi) {
  if (dpi == dpi_) {
    CoverFace();
    return;
  }
  dpi_ = dpi;
  if (ids_.normal != 0 || ids_.mask != 0) LoadSkin();
}

// Every face and the mask come from the set of the button's DPI, so the region fits the faces.
void CxSkinButton::LoadSkin() {
  ReleaseFaces();
  down_ = LazyFace{ids_.down, false, {}};
  over_ = LazyFace{ids_.over, false, {}};
  disabled_ = LazyFace{ids_.disabled, false, {}};
  focus_ = LazyFace{ids_.focus, false, {}};
  normal_ = LoadBitmapResource(instance_, ids_.normal, false, dpi_);
  mask_ = LoadMaskResource(instance_, ids_.mask, dpi_);
  if (ids_.mask != 0) ApplyMask();
  CoverFace();
  Redraw();
}

// A face copied unscaled is drawn whole: the button's edges, each scaled and rounded on its own, can make
// it a pixel smaller than the face drawn for the same scale, which would cut the face's last column or
// row. Such a button grows to the face (the mask's size, when there is one, is the face's already).
void CxSkinButton::CoverFace() {
  if (drawMode_ != kDrawCopy || mask_ || !normal_ || hwnd() == nullptr) return;
  const SIZE face = BitmapSize(normal_.get());
  RECT window{};
  if (!::GetWindowRect(hwnd(), &window)) return;
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  if (width >= face.cx && height >= face.cy) return;
  ::SetWindowPos(hwnd(), nullptr, 0, 0, std::max<int>(width, face.cx), std::max<int>(height, face.cy),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CxSkinButton::OnDpiChanged() { SetDpi(ui::WindowDpi(hwnd())); }

void CxSkinButton::ReleaseFaces() {
  for (BitmapHandle* face : {&normal_, &mask_}) face->Reset();
  for (LazyFace* face : {&down_, &over_, &disabled_, &focus_}) *face = LazyFace{};
}

// The pressed, over, focused and disabled faces are made when a draw first needs them: most buttons never
// show most of them, and a window's start then makes only what it paints.
HBITMAP CxSkinButton::FaceBitmap(LazyFace& face) {
  if (!face.made) {
    face.made = true;
    if (face.id != 0) face.bitmap = LoadBitmapResource(instance_, face.id, false, dpi_);
  }
  return face.bitmap.get();
}

// The window takes over the region it is given; the button keeps a copy for its own drawing context. A
// mask made for a scale between two sets has blended edge pixels: it is loaded with every pixel not pure
// white made black, so the region and the drawing keep the same pixels, every one the shape touches.
void CxSkinButton::ApplyMask() {
  region_.Reset();
  RegionHandle shape = RegionFromMask(mask_.get(), kMaskWhite);
  if (!shape || hwnd() == nullptr) return;
  region_ = RegionHandle(::CreateRectRgn(0, 0, 0, 0));
  if (region_) ::CombineRgn(region_.get(), shape.get(), nullptr, RGN_COPY);
  if (::SetWindowRgn(hwnd(), shape.get(), TRUE) != 0) shape.Release();
  if (region_) {
    ui::WindowDc dc(hwnd());
    if (dc) ::SelectClipRgn(dc.get(), region_.get());
  }
  if (drawMode_ == kDrawCopy) {
    const SIZE size = BitmapSize(mask_.get());
    ::SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
  }
}

bool CxSkinButton::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = Handle(message, wParam, lParam);
  return true;
}

LRESULT CxSkinButton::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(hwnd(), message, wParam, lParam);
}

LRESULT CxSkinButton::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kReflectedDrawItem:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second click is a second press, so it clicks again
      OnLButtonDown(wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      break;
    case WM_MOUSELEAVE:
      mouseOver_ = false;
      Redraw();
      return 0;
    case WM_LBUTTONUP:
      if (kind_ != ButtonKind::Push && CursorOver(PointOf(lParam))) ToggleByUser();
      pressedByMouse_ = false;
      break;
    case WM_KILLFOCUS:
      if (::GetCapture() == hwnd()) {
        ::ReleaseCapture();
        pressedByMouse_ = false;
      }
      break;
    case WM_GETDLGCODE:
      // An owner-drawn button never becomes the default one, so the dialog manager would send Enter to
      // the dialog's default command: a focused push button takes the key itself.
      if (kind_ == ButtonKind::Push && IsEnterKey(lParam)) {
        return Default(message, wParam, lParam) | DLGC_WANTMESSAGE;
      }
      break;
    case WM_KEYDOWN:
      if (kind_ != ButtonKind::Push && wParam == VK_SPACE) ToggleByUser();
      if (kind_ == ButtonKind::Push && wParam == VK_RETURN) {
        PressByKeyboard();
        return 0;
      }
      break;
    case WM_UPDATEUISTATE: {
      const LRESULT handled = Default(message, wParam, lParam);
      Redraw();  // the focus cue comes or goes
      return handled;
    }
    case BM_SETCHECK:
      OnSetCheck(wParam != 0);
      return 0;
    case BM_GETCHECK:
      return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case kUncheckRadio:
      if (checked_) {
        checked_ = false;
        Redraw();
      }
      return 0;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

void CxSkinButton::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  if (mouseOver_) {
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE, hwnd(), 0};
    if (::TrackMouseEvent(&cancel)) mouseOver_ = false;
  }
  Default(WM_LBUTTONDOWN, wParam, lParam);  // the button captures the mouse and shows itself pressed
  pressedByMouse_ = true;
}

// While pressed the face follows the cursor on and off the button; otherwise the first move over the
// button shows the over face and asks to be told when the mouse leaves.
void CxSkinButton::OnMouseMove(LPARAM lParam) {
  if (pressedByMouse_ && ::GetCapture() == hwnd()) {
    const bool over = CursorOver(PointOf(lParam));
    if (over != Pushed()) {
      Send(BM_SETSTATE, over ? TRUE : FALSE);
      Redraw();
    }
  } else if (!mouseOver_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
    if (::TrackMouseEvent(&track)) {
      mouseOver_ = true;
      Redraw();
    }
  }
}

// Enter: the click that Space gives on its release, at once.
void CxSkinButton::PressByKeyboard() {
  const HWND dialog = ::GetParent(hwnd());
  const int id = ::GetDlgCtrlID(hwnd());
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, ui::BN_CLICKED), reinterpret_cast<LPARAM>(hwnd()));
}

// The focus cue shows only once the keyboard has moved the focus in the window, and while the system's
// keyboard cues do not hide it.
bool CxSkinButton::FocusCueShown(const DRAWITEMSTRUCT& item) const {
  if ((item.itemState & ODS_FOCUS) == 0 || (item.itemState & ODS_NOFOCUSRECT) != 0) return false;
  return (Send(WM_QUERYUISTATE) & UISF_HIDEFOCUS) == 0 && ui::KeyboardMovedFocus(::GetParent(hwnd()));
}

// A check box released over itself (or given the space bar) toggles; a radio button checks.
void CxSkinButton::ToggleByUser() {
  if (kind_ == ButtonKind::CheckBox) Send(BM_SETCHECK, checked_ ? BST_UNCHECKED : BST_CHECKED);
  if (kind_ == ButtonKind::Radio) Send(BM_SETCHECK, BST_CHECKED);
}

void CxSkinButton::OnSetCheck(bool check) {
  if (kind_ == ButtonKind::Push) return;
  const bool becameChecked = check && !checked_;
  checked_ = check;
  if (becameChecked && kind_ == ButtonKind::Radio) {
    const HWND dialog = ::GetParent(hwnd());
    for (HWND other = ::GetNextDlgGroupItem(dialog, hwnd(), FALSE); other != nullptr && other != hwnd();
         other = ::GetNextDlgGroupItem(dialog, other, FALSE)) {
      ::PostMessageA(other, kUncheckRadio, 0, 0);
    }
  }
  Redraw();
}

bool CxSkinButton::CursorOver(POINT client) const {
  POINT screen = client;
  ::ClientToScreen(hwnd(), &screen);
  return ::WindowFromPoint(screen) == hwnd();
}

bool CxSkinButton::Pushed() const { return (Send(BM_GETSTATE) & BST_PUSHED) != 0; }

void CxSkinButton::Redraw() const {
  if (hwnd() != nullptr) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void CxSkinButton::Draw(const DRAWITEMSTRUCT& item) {
  // A press that slid off (or back on) the button: set the pushed state first; that draws again.
  if (pressedByMouse_ && ::GetCapture() == hwnd()) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(hwnd(), &cursor);
    const bool over = CursorOver(cursor);
    const bool pushed = Pushed();
    if (over != pushed) {
      Send(BM_SETSTATE, over ? TRUE : FALSE);
      return;
    }
  }
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  // The faces show the label: the caption is the button's name for screen readers, painted only on a
  // button without faces.
  const std::string caption = normal_ ? std::string() : ui::WindowText(hwnd());
  RECT text = r;
  text.left += focusMargin_ + 2;
  text.right -= focusMargin_ + 2;
  ::SetBkMode(dc, TRANSPARENT);
  const UINT textFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

  if ((item.itemState & ODS_DISABLED) != 0) {
    DrawFace(dc, r, FaceBitmap(disabled_));
    RECT edge = r;
    if (border_ != 0) ::DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    if (checked_) ::OffsetRect(&text, 1, 1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextA(dc, caption.c_str(), -1, &text, textFormat);
    ::OffsetRect(&text, -1, -1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextA(dc, caption.c_str(), -1, &text, textFormat);
    return;
  }

  UINT edgeKind = EDGE_RAISED;
  if ((item.itemState & ODS_SELECTED) != 0 || checked_) {
    DrawFace(dc, r, FaceBitmap(down_));
    ::OffsetRect(&text, 1, 1);
    edgeKind = EDGE_SUNKEN;
  } else if (HBITMAP over = mouseOver_ ? FaceBitmap(over_) : nullptr) {
    DrawFace(dc, r, over);
  } else if (HBITMAP focus = (item.itemState & ODS_FOCUS) != 0 ? FaceBitmap(focus_) : nullptr) {
    DrawFace(dc, r, focus);
  } else {
    DrawFace(dc, r, normal_.get());
  }
  RECT edge = r;
  if (border_ != 0) ::DrawEdge(dc, &edge, edgeKind, BF_RECT);
  if (FocusCueShown(item)) {
    const int margin = ui::ScaleToDpi(focusMargin_ > 0 ? focusMargin_ : kFocusCueMargin, ui::WindowDpi(hwnd()));
    RECT focus = r;
    ::InflateRect(&focus, -margin, -margin);
    ::DrawFocusRect(dc, &focus);
  }
  ::SetTextColor(dc, textColour_);
  ::DrawTextA(dc, caption.c_str(), -1, &text, textFormat);
}

void CxSkinButton::DrawFace(HDC dc, const RECT& rect, HBITMAP face) const {
  if (face == nullptr) {
    FillButtonFace(dc, rect);
  } else if (mask_ && drawMode_ != kDrawTile) {
    DrawMaskedFace(dc, rect, face);
  } else {
    DrawPlainFace(dc, rect, face);
  }
}

// Unscaled, only the face's part that fits the button is copied; the rest of the button keeps what the
// dialog painted under it.
void CxSkinButton::DrawPlainFace(HDC dc, const RECT& rect, HBITMAP face) const {
  if (drawMode_ != kDrawTile) {
    DrawBitmap(dc, face, rect, drawMode_ == kDrawStretch);
    return;
  }
  const SIZE size = BitmapSize(face);
  MemoryDc source(dc);
  SelectedObject selected(source.get(), face);
  if (!selected.ok()) return;
  for (const PixelRect& copy : TileCopies({rect.left, rect.top, rect.right, rect.bottom}, size.cx, size.cy)) {
    ::BitBlt(dc, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, source.get(), 0, 0, SRCCOPY);
  }
}

// Off-screen: the pixels already there, then face XOR, mask AND, face XOR: black mask pixels show the
// face, white ones what was there.
void CxSkinButton::DrawMaskedFace(HDC dc, const RECT& rect, HBITMAP face) const {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  MemoryDc work(dc);
  BitmapHandle canvas(::CreateCompatibleBitmap(dc, width, height));
  SelectedObject onCanvas(work.get(), canvas.get());
  if (!onCanvas.ok()) {
    DrawPlainFace(dc, rect, face);
    return;
  }
  ::BitBlt(work.get(), 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
  const bool stretched = drawMode_ == kDrawStretch;
  MemoryDc source(dc);
  auto layer = [&](HBITMAP bitmap, DWORD operation) {
    SelectedObject selected(source.get(), bitmap);
    if (!selected.ok()) return;
    const SIZE size = BitmapSize(bitmap);
    if (stretched) {
      ::StretchBlt(work.get(), 0, 0, width, height, source.get(), 0, 0, size.cx, size.cy, operation);
    } else {
      ::BitBlt(work.get(), 0, 0, width, height, source.get(), 0, 0, operation);
    }
  };
  layer(face, SRCINVERT);
  layer(mask_.get(), SRCAND);
  layer(face, SRCINVERT);
  ::BitBlt(dc, rect.left, rect.top, width, height, work.get(), 0, 0, SRCCOPY);
}

}  // namespace quorvel::skin
