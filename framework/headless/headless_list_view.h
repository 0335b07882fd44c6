// The list view in memory: columns, rows of texts, item data, selection and the top row.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/headless/headless_control.h"

namespace quorvel::ui {

class HeadlessListView : public HeadlessControl<ListView> {
 public:
  struct Column {
    std::string header;
    int width = 0;
  };

  using HeadlessControl::HeadlessControl;

  void SetFullRowSelect() override { fullRowSelect_ = true; }
  void SetTextColor(Rgb color) override { textColor_ = color; }
  void InsertColumn(int column, std::string_view header, int widthPixels) override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  int InsertItem(int item, std::string_view text) override;
  void SetItemText(int item, int column, std::string_view text) override;
  std::string ItemText(int item, int column) const override;
  void SetItemData(int item, std::uintptr_t data) override;
  std::uintptr_t ItemData(int item) const override;
  int ItemCount() const override { return Touch(), static_cast<int>(rows_.size()); }
  void DeleteItem(int item) override;
  void SetRedraw(bool redraw) override { Touch(), redraw_ = redraw; }
  void DeleteAllItems() override;
  int TopIndex() const override { return Touch(), topIndex_; }
  bool IsSelected(int item) const override;
  // Item -1 means every row. In a single-selection list, selecting a row clears the others.
  void SetSelected(int item, bool selected) override;

  // For tests.
  bool fullRowSelect() const { return fullRowSelect_; }
  Rgb textColor() const { return textColor_; }
  const std::vector<Column>& columns() const { return columns_; }
  void SetTopIndex(int item);  // as if the user had scrolled; kept within the rows
  void SetSingleSelection(bool single) { singleSelection_ = single; }
  std::vector<int> SelectedRows() const;
  bool redraws() const { return redraw_; }

 private:
  struct Row {
    std::vector<std::string> texts;  // by column; missing ones are empty
    std::uintptr_t data = 0;
    bool selected = false;
  };

  Row* RowAt(int item);
  const Row* RowAt(int item) const;

  std::vector<Column> columns_;
  std::vector<Row> rows_;
  int topIndex_ = 0;
  bool fullRowSelect_ = false;
  bool singleSelection_ = false;
  bool redraw_ = true;
  Rgb textColor_ = 0;
};

}  // namespace quorvel::ui
