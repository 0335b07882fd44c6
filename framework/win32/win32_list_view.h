// The list view (SysListView32) of a dialog, in report view.
#pragma once

#include "framework/win32/win32_control.h"

namespace quorvel::ui {

class Win32ListView : public Win32Control<ListView> {
 public:
  using Win32Control::Win32Control;

  void SetFullRowSelect() override;
  void SetTextColor(Rgb color) override;
  void InsertColumn(int column, std::string_view header, int widthPixels) override;
  int ColumnCount() const override;
  int InsertItem(int item, std::string_view text) override;
  void SetItemText(int item, int column, std::string_view text) override;
  std::string ItemText(int item, int column) const override;
  void SetItemData(int item, std::uintptr_t data) override;
  std::uintptr_t ItemData(int item) const override;
  int ItemCount() const override;
  void DeleteItem(int item) override;
  void SetRedraw(bool redraw) override;
  void DeleteAllItems() override;
  int TopIndex() const override;
  bool IsSelected(int item) const override;
  void SetSelected(int item, bool selected) override;
};

}  // namespace quorvel::ui
