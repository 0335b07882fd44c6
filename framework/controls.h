// The controls that the console's dialogs work with, as the console sees them. Each backend
// implements them: framework/win32 over real windows, framework/headless in memory for tests.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvel::ui {

// <windows.h> defines the names below as macros. A file that includes it first still gets these
// declarations, and keeps its macros afterwards (with the same values).
#pragma push_macro("BN_CLICKED")
#pragma push_macro("CBN_SELCHANGE")
#pragma push_macro("NM_CLICK")
#pragma push_macro("LVN_ITEMCHANGED")
#pragma push_macro("LVN_KEYDOWN")
#pragma push_macro("IDOK")
#pragma push_macro("IDCANCEL")
#undef BN_CLICKED
#undef CBN_SELCHANGE
#undef NM_CLICK
#undef LVN_ITEMCHANGED
#undef LVN_KEYDOWN
#undef IDOK
#undef IDCANCEL

// Notification codes, as the dialogs receive them (the Windows values).
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1;
inline constexpr int NM_CLICK = -2;
inline constexpr int LVN_ITEMCHANGED = -101;
inline constexpr int LVN_KEYDOWN = -155;

// Keys, as a list view reports them (the Windows virtual key codes).
inline constexpr int kKeySpace = 0x20;

// Dialog results and the standard button ids.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
// The answers of a Yes/No message box (the Windows values of IDYES and IDNO).
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

#pragma pop_macro("IDCANCEL")
#pragma pop_macro("IDOK")
#pragma pop_macro("LVN_KEYDOWN")
#pragma pop_macro("LVN_ITEMCHANGED")
#pragma pop_macro("NM_CLICK")
#pragma pop_macro("CBN_SELCHANGE")
#pragma pop_macro("BN_CLICKED")

// Message box icons (the Windows values).
enum class Icon : unsigned { None = 0, Error = 16, Question = 32, Warning = 48, Information = 64 };

struct FontDescription {
  std::string face;
  int height = 0;
  int weight = 0;
  int charset = 0;
};

using Rgb = std::uint32_t;  // 0x00BBGGRR, as Windows keeps colours

class Control {
 public:
  virtual ~Control() = default;
  virtual int id() const = 0;
  virtual void Enable(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Show(bool visible) = 0;
  virtual bool IsVisible() const = 0;
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Text() const = 0;
  virtual void SetFocus() = 0;
  virtual void SetFont(const FontDescription& font) = 0;
  // For an edit: how many characters the user may type into it (0 for the largest the edit allows). Text
  // set by the program is not cut.
  virtual void SetLimitText(int characters) = 0;
  // For a check box or a radio button: whether it is checked. Other controls keep no check state.
  virtual void SetCheck(bool checked) = 0;
  virtual bool GetCheck() const = 0;
};

// A report-style list view: rows of texts in columns, each row with item data and a selected state.
class ListView : public Control {
 public:
  virtual void SetFullRowSelect() = 0;
  virtual void SetTextColor(Rgb color) = 0;
  virtual void InsertColumn(int column, std::string_view header, int widthPixels) = 0;  // left-aligned
  virtual int ColumnCount() const = 0;
  virtual int InsertItem(int item, std::string_view text) = 0;  // returns the row's index, -1 on failure
  virtual void SetItemText(int item, int column, std::string_view text) = 0;
  virtual std::string ItemText(int item, int column) const = 0;
  virtual void SetItemData(int item, std::uintptr_t data) = 0;
  virtual std::uintptr_t ItemData(int item) const = 0;
  virtual int ItemCount() const = 0;
  virtual void DeleteItem(int item) = 0;  // the rows below move up by one
  // Off: changes of the rows are neither painted nor measured for the scroll bars until it is on again,
  // when the list is measured and painted once.
  virtual void SetRedraw(bool redraw) = 0;
  virtual void DeleteAllItems() = 0;
  virtual int TopIndex() const = 0;
  virtual bool IsSelected(int item) const = 0;
  virtual void SetSelected(int item, bool selected) = 0;
};

// A list's redraw off for a scope, and on again (measured and painted once) when the scope ends, however
// it ends.
class RedrawPause {
 public:
  explicit RedrawPause(ListView& list) : list_(list) { list_.SetRedraw(false); }
  ~RedrawPause() { list_.SetRedraw(true); }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  ListView& list_;
};

// The first selected row from the first row in view down; a selected row scrolled above the view
// counts as none. -1 when there is none.
inline int FirstSelectedRow(const ListView& list) {
  for (int row = list.TopIndex(); row < list.ItemCount(); ++row) {
    if (list.IsSelected(row)) return row;
  }
  return -1;
}

// A drop-down list combo box: items in insertion order, one current item or none (-1).
class ComboBox : public Control {
 public:
  virtual void ResetContent() = 0;
  virtual int AddString(std::string_view text) = 0;
  virtual int Count() const = 0;
  virtual std::string ItemText(int index) const = 0;
  virtual int CurSel() const = 0;
  virtual void SetCurSel(int index) = 0;  // -1 clears the selection
};

// A progress bar: a position in a range that advances by a step. Unlike the other controls, its range,
// step and advance may be used from a worker thread (they are messages that the bar's own thread handles);
// the worker gets the control from the dialog, on the user-interface thread.
class ProgressBar : public Control {
 public:
  virtual void SetRange(int lower, int upper) = 0;  // a position outside the range moves to its nearer end
  virtual void SetStep(int step) = 0;
  virtual void StepIt() = 0;  // past the upper end it starts again at the lower one
  virtual int Pos() const = 0;
};

// The IPv4 address editor: four one-byte fields, each of which may be empty.
class IpAddressEdit : public Control {
 public:
  using Fields = std::array<int, 4>;
  virtual bool IsBlank() const = 0;  // all four fields empty
  // The four fields, an empty one as 0; returns how many fields are not empty.
  virtual int GetAddress(Fields& fields) const = 0;
  virtual void SetAddress(const Fields& fields) = 0;
  virtual void ClearAddress() = 0;
  virtual void SetFieldFocus(int field) = 0;  // the caret into field 0 to 3
};

}  // namespace quorvel::ui
