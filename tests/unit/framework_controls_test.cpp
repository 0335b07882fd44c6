// The headless controls: what the list view, the combo box and the address editor keep, and the rules
// they share with the real controls (indexes past the end, selection, blank fields, focus).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/headless/headless_ui.h"

namespace quorvel::ui {
namespace {

class HeadlessControls : public ::testing::Test {
 protected:
  HeadlessListView& list() { return host.List(1000); }
  HeadlessComboBox& combo() { return host.Combo(1016); }
  HeadlessIpAddress& address() { return host.Address(1006); }

  HeadlessUi ui;
  HeadlessHost host{ui, 102, 0};  // never started: the controls alone
};

// --- List view -----------------------------------------------------------------------------------

TEST_F(HeadlessControls, ListRowsInsertedPastTheEndAreAppendedNegativeOnesRefused) {
  EXPECT_EQ(list().InsertItem(0, "alpha"), 0);
  EXPECT_EQ(list().InsertItem(9, "beta"), 1);
  EXPECT_EQ(list().InsertItem(-1, "gamma"), -1);
  EXPECT_EQ(list().InsertItem(0, "first"), 0);
  EXPECT_EQ(list().ItemCount(), 3);
  EXPECT_EQ(list().ItemText(0, 0) + list().ItemText(1, 0) + list().ItemText(2, 0), "firstalphabeta");
}

TEST_F(HeadlessControls, ListSubitemTextsNeedTheirColumn) {
  list().InsertItem(0, "");
  list().SetItemText(0, 0, "name");   // the item's own text: no column needed
  list().SetItemText(0, 1, "lost");   // no column 1 yet
  list().InsertColumn(0, "Name", 94);
  list().InsertColumn(5, "IP", 85);   // past the end: appended as column 1
  list().SetItemText(0, 1, "192.0.2.1");
  list().SetItemText(0, 2, "lost");
  EXPECT_EQ(list().ColumnCount(), 2);
  EXPECT_EQ(list().columns()[1].header, "IP");
  EXPECT_EQ(list().columns()[1].width, 85);
  EXPECT_EQ(list().ItemText(0, 0), "name");
  EXPECT_EQ(list().ItemText(0, 1), "192.0.2.1");
  EXPECT_EQ(list().ItemText(0, 2), "");
  EXPECT_EQ(list().ItemText(3, 0), "");
}

TEST_F(HeadlessControls, ListColumnInsertedInFrontMovesSubitemsButNotTheItemText) {
  list().InsertItem(0, "alpha");
  list().InsertColumn(0, "Name", 94);  // the first column: the row's text is its text
  list().InsertColumn(1, "IP", 85);
  list().SetItemText(0, 1, "192.0.2.1");
  list().InsertColumn(0, "Front", 40);
  EXPECT_EQ(list().ItemText(0, 0), "alpha");
  EXPECT_EQ(list().ItemText(0, 1), "");
  EXPECT_EQ(list().ItemText(0, 2), "192.0.2.1");
}

TEST_F(HeadlessControls, ListItemDataPerRowZeroForMissingRows) {
  list().InsertItem(0, "a");
  list().InsertItem(1, "b");
  list().SetItemData(1, 0xFEEDu);
  list().SetItemData(7, 0xBADu);
  EXPECT_EQ(list().ItemData(0), 0u);
  EXPECT_EQ(list().ItemData(1), 0xFEEDu);
  EXPECT_EQ(list().ItemData(7), 0u);
}

TEST_F(HeadlessControls, ListSelectionManyOrSingleAndMinusOneForAll) {
  for (int i = 0; i < 4; ++i) list().InsertItem(i, "row");
  list().SetSelected(1, true);
  list().SetSelected(3, true);
  EXPECT_EQ(list().SelectedRows(), (std::vector<int>{1, 3}));
  list().SetSelected(-1, false);
  EXPECT_TRUE(list().SelectedRows().empty());
  list().SetSingleSelection(true);
  list().SetSelected(1, true);
  list().SetSelected(2, true);
  EXPECT_EQ(list().SelectedRows(), std::vector<int>{2});
  EXPECT_FALSE(list().IsSelected(9));
}

TEST_F(HeadlessControls, ListTopIndexStaysWithinTheRowsAndResetsWithThem) {
  list().SetTopIndex(3);
  EXPECT_EQ(list().TopIndex(), 0);
  for (int i = 0; i < 10; ++i) list().InsertItem(i, "row");
  list().SetTopIndex(4);
  EXPECT_EQ(list().TopIndex(), 4);
  list().SetTopIndex(40);
  EXPECT_EQ(list().TopIndex(), 9);
  list().DeleteAllItems();
  EXPECT_EQ(list().TopIndex(), 0);
  EXPECT_EQ(list().ItemCount(), 0);
}

TEST_F(HeadlessControls, ListLookSettingsAreKept) {
  list().SetFullRowSelect();
  list().SetTextColor(0x000000FF);
  list().SetFont(FontDescription{"Tahoma", 13, 100, 0});
  EXPECT_TRUE(list().fullRowSelect());
  EXPECT_EQ(list().textColor(), 0x000000FFu);
  ASSERT_TRUE(list().font().has_value());
  EXPECT_EQ(list().font()->face, "Tahoma");
}

// --- Combo box -----------------------------------------------------------------------------------

TEST_F(HeadlessControls, ComboItemsSelectionAndTheTextOfADropDownList) {
  EXPECT_EQ(combo().AddString("Disable"), 0);
  EXPECT_EQ(combo().AddString("Enable"), 1);
  EXPECT_EQ(combo().CurSel(), -1);
  EXPECT_EQ(combo().Text(), "");
  combo().SetCurSel(1);
  combo().SetText("typed");  // a drop-down list has no edit field
  EXPECT_EQ(combo().Text(), "Enable");
  combo().SetCurSel(2);
  EXPECT_EQ(combo().CurSel(), -1);
  EXPECT_EQ(combo().ItemText(2), "");
  combo().SetCurSel(0);
  combo().ResetContent();
  EXPECT_EQ(combo().Count(), 0);
  EXPECT_EQ(combo().CurSel(), -1);
}

// --- Address editor ------------------------------------------------------------------------------

TEST_F(HeadlessControls, AddressBlankOnlyWhenAllFieldsAreEmpty) {
  IpAddressEdit::Fields fields{9, 9, 9, 9};
  EXPECT_TRUE(address().IsBlank());
  EXPECT_EQ(address().GetAddress(fields), 0);
  EXPECT_EQ(fields, (IpAddressEdit::Fields{0, 0, 0, 0}));
  address().SetField(1, 77);
  EXPECT_FALSE(address().IsBlank());
  EXPECT_EQ(address().GetAddress(fields), 1);
  EXPECT_EQ(fields, (IpAddressEdit::Fields{0, 77, 0, 0}));
  address().ClearAddress();
  EXPECT_TRUE(address().IsBlank());
}

TEST_F(HeadlessControls, AddressSetFillsAllFourAsBytes) {
  IpAddressEdit::Fields fields{};
  address().SetAddress({192, 0, 2, 300});
  EXPECT_EQ(address().GetAddress(fields), 4);
  EXPECT_EQ(fields, (IpAddressEdit::Fields{192, 0, 2, 44}));
}

TEST_F(HeadlessControls, AddressFieldFocusOutOfRangeGoesToTheFirstEmptyField) {
  address().SetFieldFocus(2);
  EXPECT_EQ(address().FocusField(), 2);
  EXPECT_EQ(host.focusedId(), 1006);
  address().SetField(0, 10);
  address().SetFieldFocus(7);
  EXPECT_EQ(address().FocusField(), 1);
  address().SetAddress({10, 0, 0, 1});
  address().SetFieldFocus(7);
  EXPECT_EQ(address().FocusField(), 0);
}

// --- Any control ---------------------------------------------------------------------------------

TEST_F(HeadlessControls, OneIdAskedForAsItemAndAsItsKindIsOneControl) {
  host.Item(1016).Enable(false);
  EXPECT_FALSE(combo().IsEnabled());
  combo().Show(false);
  EXPECT_FALSE(host.Item(1016).IsVisible());
  EXPECT_EQ(&host.Item(1016), static_cast<Control*>(&combo()));
  EXPECT_TRUE(ui.errors().empty());
}

TEST_F(HeadlessControls, OneIdAskedForAsTwoKindsIsAnError) {
  list().InsertItem(0, "row");
  HeadlessComboBox& stray = host.Combo(1000);
  stray.AddString("x");
  EXPECT_EQ(list().ItemCount(), 1);
  EXPECT_EQ(ui.errors().size(), 1u);
}

TEST_F(HeadlessControls, FocusFollowsSetFocusAndLeavesADisabledOrHiddenControl) {
  combo().SetFocus();
  EXPECT_EQ(host.focusedId(), 1016);
  EXPECT_TRUE(combo().HasFocus());
  list().SetFocus();
  combo().Enable(false);  // not the focused one: no change
  EXPECT_EQ(host.focusedId(), 1000);
  list().Show(false);
  EXPECT_EQ(host.focusedId(), 0);
  host.Item(1002).SetFocus();
  host.Item(1002).Enable(false);
  EXPECT_EQ(host.focusedId(), 0);
}

}  // namespace
}  // namespace quorvel::ui
