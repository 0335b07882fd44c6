#include "framework/headless/headless_list_view.h"

#include <algorithm>

namespace quorvel::ui {

void HeadlessListView::InsertColumn(int column, std::string_view header, int widthPixels) {
  if (column < 0) return;
  const int at = std::min(column, ColumnCount());  // past the end: appended, as the real control does
  // A column put in front of existing ones moves their subitem texts one column on. The item's own text
  // stays in column 0 whatever is inserted, as with the real control.
  if (at < ColumnCount()) {
    const int from = std::max(at, 1);
    for (Row& row : rows_) {
      if (static_cast<int>(row.texts.size()) > from) row.texts.insert(row.texts.begin() + from, std::string());
    }
  }
  columns_.insert(columns_.begin() + at, Column{std::string(header), widthPixels});
}

int HeadlessListView::InsertItem(int item, std::string_view text) {
  Touch();
  if (item < 0) return -1;
  const int at = std::min(item, ItemCount());
  Row row;
  row.texts.emplace_back(text);
  rows_.insert(rows_.begin() + at, std::move(row));
  return at;
}

void HeadlessListView::SetItemText(int item, int column, std::string_view text) {
  Touch();
  Row* row = RowAt(item);
  // Column 0 is the item's own text, which exists even before any column does.
  if (row == nullptr || column < 0 || (column > 0 && column >= ColumnCount())) return;
  if (static_cast<int>(row->texts.size()) <= column) row->texts.resize(column + 1);
  row->texts[column] = text;
}

std::string HeadlessListView::ItemText(int item, int column) const {
  Touch();
  const Row* row = RowAt(item);
  if (row == nullptr || column < 0 || column >= static_cast<int>(row->texts.size())) return {};
  return row->texts[column];
}

void HeadlessListView::SetItemData(int item, std::uintptr_t data) {
  Touch();
  if (Row* row = RowAt(item)) row->data = data;
}

std::uintptr_t HeadlessListView::ItemData(int item) const {
  Touch();
  const Row* row = RowAt(item);
  return row ? row->data : 0;
}

void HeadlessListView::DeleteItem(int item) {
  Touch();
  if (RowAt(item) == nullptr) return;
  rows_.erase(rows_.begin() + item);
  topIndex_ = std::min(topIndex_, std::max(ItemCount() - 1, 0));
}

void HeadlessListView::DeleteAllItems() {
  Touch();
  rows_.clear();
  topIndex_ = 0;
}

bool HeadlessListView::IsSelected(int item) const {
  Touch();
  const Row* row = RowAt(item);
  return row && row->selected;
}

void HeadlessListView::SetSelected(int item, bool selected) {
  Touch();
  if (item == -1) {
    for (Row& row : rows_) row.selected = selected;
    return;
  }
  Row* row = RowAt(item);
  if (row == nullptr) return;
  if (selected && singleSelection_) {
    for (Row& other : rows_) other.selected = false;
  }
  row->selected = selected;
}

void HeadlessListView::SetTopIndex(int item) {
  topIndex_ = std::clamp(item, 0, std::max(0, ItemCount() - 1));
}

std::vector<int> HeadlessListView::SelectedRows() const {
  std::vector<int> selected;
  for (std::size_t i = 0; i < rows_.size(); ++i) {  // not ItemCount: the backend reads it during busy work
    if (rows_[i].selected) selected.push_back(static_cast<int>(i));
  }
  return selected;
}

HeadlessListView::Row* HeadlessListView::RowAt(int item) {
  return item >= 0 && item < ItemCount() ? &rows_[item] : nullptr;
}

const HeadlessListView::Row* HeadlessListView::RowAt(int item) const {
  return item >= 0 && item < ItemCount() ? &rows_[item] : nullptr;
}

}  // namespace quorvel::ui
