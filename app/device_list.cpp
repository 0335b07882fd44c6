// The device list: one row per box of the last search, in search order. Its rows are emptied before the
// search's work starts, since their item data points into the table that the search rebuilds; during the
// search each box is shown as its reply is accepted, in rows that carry no item data, and the finished
// table then gives every row its texts and item data in place.
#include "app/vantor_dlg.h"
#include "res/resource.h"

namespace quorvel {

void CVantorDlg::RefreshDeviceList() {
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  devices.DeleteAllItems();
  host().List(IDC_SHARE_LIST).DeleteAllItems();
  shareListContent_ = {};
  deviceListContent_ = {};
  authTable_.Clear();
  ui::ComboBox& interfaces = host().Combo(IDC_INTERFACE);
  interfaces.ResetContent();
  interfaces.Enable(false);
  for (int editor : {IDC_IP, IDC_NETMASK, IDC_GATEWAY}) host().Address(editor).ClearAddress();

  ui::Control& refresh = host().Item(IDC_REFRESH);
  // The disabled button loses the focus; a keyboard user who pressed it gets it back afterwards.
  const bool refreshHadFocus = host().FocusedId() == IDC_REFRESH;
  refresh.Enable(false);
  // A close recorded during the search ends it at its next poll. Each change of the table-to-be goes to
  // the window as a copy, since the table itself belongs to the worker until the search ends; changes that
  // come before the window has shown the last ones join them, so that a hundred boxes answering at once
  // cost the list one repaint rather than a hundred.
  FoundDevices found;
  const auto searched = host().RunBusy([this, &found](const ui::BusyStop& stop, ui::BusyProgress& progress) {
    protocol_.SearchDevices([&stop] { return stop.requested(); },
                            [this, &found, &progress](const SearchChange& change) {
                              bool first = false;
                              {
                                std::lock_guard<std::mutex> lock(found.mutex);
                                first = found.changes.empty();
                                found.changes.push_back(change);
                              }
                              if (first) progress.Post([this, &found] { ShowFoundDevices(found); });
                            });
  });
  refresh.Enable(true);
  if (refreshHadFocus) refresh.SetFocus();
  // A search that did not run (a close was waiting) leaves the table empty; one that ran, even with a
  // close recorded meanwhile, has its rows shown so that they match the table.
  if (!searched.ran()) return;

  devices.SetRedraw(false);
  int row = 0;
  for (const DeviceRecord& record : protocol_.DeviceTable()) {
    // The rows shown during the search are the table's already; only a missing one is added.
    if (row >= devices.ItemCount()) devices.InsertItem(row, "");
    SetDeviceRowTexts(row, record);
    // The row refers to the id inside its record: valid until the next search frees the records.
    devices.SetItemData(row, reinterpret_cast<std::uintptr_t>(record.id.data()));
    deviceListContent_.rows.push_back({record.name.str(), record.primary().ip.str()});
    authTable_.Insert(DeviceKeyText(record.id));
    ++row;
  }
  for (int extra = devices.ItemCount() - 1; extra >= row; --extra) devices.DeleteItem(extra);
  devices.SetRedraw(true);
  deviceSelectedMark_ = 0;
}

void CVantorDlg::ShowFoundDevices(FoundDevices& found) {
  std::vector<SearchChange> changes;
  {
    std::lock_guard<std::mutex> lock(found.mutex);
    changes.swap(found.changes);
  }
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  devices.SetRedraw(false);
  for (const SearchChange& change : changes) {
    if (change.from >= 0) devices.DeleteItem(change.from);
    devices.InsertItem(change.to, "");
    SetDeviceRowTexts(change.to, change.record);
  }
  devices.SetRedraw(true);
}

void CVantorDlg::SetDeviceRowTexts(int row, const DeviceRecord& record) {
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  const PortSettings& port = record.primary();
  // Shown in the ANSI code page; compared in the box's own UTF-8, kept beside the row.
  devices.SetItemText(row, 0, platform_.text.Utf8ToAnsi(record.name.view()));
  devices.SetItemText(row, 1, port.ip.view());
  devices.SetItemText(row, 2, port.netmask.view());
  devices.SetItemText(row, 3, port.gateway.view());
}

}  // namespace quorvel
