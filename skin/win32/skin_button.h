// CxSkinButton: a push button (or check box, or radio button) of a dialog that draws itself from bitmap
// faces: normal, pressed, mouse over, disabled and focused, optionally cut to the shape of a mask. It
// follows the mouse so that the over face shows and goes at once, and keeps its own check state.
#pragma once

#include "framework/win32/win32_api.h"

#include "skin/button_rules.h"
#include "skin/win32/gdi.h"
#include "skin/win32/subclassed_window.h"

namespace quorvel::skin {

// A dialog sends the controls' owner-draw requests back to the control that asked, with this message
// (same parameters as WM_DRAWITEM); a control that draws itself answers TRUE.
inline constexpr UINT kReflectBase = WM_USER + 0x1C00;
inline constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;

// Posted to the other buttons of a radio button's group when it becomes checked: they uncheck.
inline constexpr UINT kUncheckRadio = WM_USER + 0x100;

class CxSkinButton : public SubclassedWindow {
 public:
  explicit CxSkinButton(HINSTANCE instance);
  CxSkinButton(const CxSkinButton&) = delete;
  CxSkinButton& operator=(const CxSkinButton&) = delete;

  // Takes over a button window: reads its kind from the style and makes it owner-drawn. false when the
  // window is missing or taken already.
  bool Subclass(HWND button);

  // Bitmap resource numbers, 0 for none. A missing disabled face takes the normal one. A mask cuts the
  // button to its non-white pixels (and in draw mode 0 sizes the button to the mask).
  void SetSkin(int normal, int down, int over, int disabled, int focus, int mask, int drawMode = kDrawStretch,
               short border = 0, short focusMargin = 0);

  // The display DPI that the faces and the mask are drawn for (96 until set). A skin already set is
  // loaded again for the new DPI, its mask and region with it.
  void SetDpi(int dpi);
  // The faces again, made for the DPI the button is now laid out for.
  void OnDpiChanged();

  HWND window() const { return hwnd(); }
  ButtonKind kind() const { return kind_; }
  bool checked() const { return checked_; }

 private:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  void OnLButtonDown(WPARAM wParam, LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void ToggleByUser();
  void PressByKeyboard();
  bool FocusCueShown(const DRAWITEMSTRUCT& item) const;
  void OnSetCheck(bool check);
  void Draw(const DRAWITEMSTRUCT& item);
  void DrawFace(HDC dc, const RECT& rect, HBITMAP face) const;
  void DrawMaskedFace(HDC dc, const RECT& rect, HBITMAP face) const;
  void DrawPlainFace(HDC dc, const RECT& rect, HBITMAP face) const;

  bool CursorOver(POINT client) const;
  bool Pushed() const;
  void Redraw() const;
  void LoadSkin();
  void ReleaseFaces();
  void ApplyMask();
  void CoverFace();

  // A face made at its first draw (made: tried already, so a missing picture is not looked for again).
  struct LazyFace {
    int id = 0;
    bool made = false;
    BitmapHandle bitmap;
  };
  HBITMAP FaceBitmap(LazyFace& face);

  // The picture numbers of the faces and the mask, as SetSkin took them (0 for none).
  struct SkinIds {
    int normal = 0;
    int down = 0;
    int over = 0;
    int disabled = 0;
    int focus = 0;
    int mask = 0;
  };

  HINSTANCE instance_;
  SkinIds ids_;
  int dpi_ = 96;

  BitmapHandle normal_, mask_;
  LazyFace down_, over_, disabled_, focus_;
  RegionHandle region_;  // the button's own copy of the region it gave its window
  int drawMode_ = kDrawStretch;
  short border_ = 0;
  short focusMargin_ = 0;  // the focus cue's distance from the edge (0: the standard one)
  COLORREF textColour_;
  ButtonKind kind_ = ButtonKind::Push;
  bool checked_ = false;
  bool mouseOver_ = false;
  bool pressedByMouse_ = false;
};

}  // namespace quorvel::skin
