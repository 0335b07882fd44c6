// The device list: one row per box of the last search, in search order. Its rows are emptied before the
// search's work starts, since their item data points into the table that the search rebuilds; during the
// search each box is shown as its reply is accepted, in rows that carry no item data, and the finished
// table then gives every row its texts and item data in place.
#include "app/vantor_dlg.h"

#include <chrono>
#include <utility>

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
  // the window as a copy, since the table itself belongs to the worker until the search ends. One turn at
  // a time is on its way to the window: changes that come meanwhile join it, so that a hundred boxes
  // answering at once cost the list a few repaints rather than a hundred, and the window answers between
  // turns.
  FoundDevices found;
  const auto searched = host().RunBusy([this, &found](const ui::BusyStop& stop, ui::BusyProgress& progress) {
    protocol_.SearchDevices([&stop] { return stop.requested(); },
                            [this, &found, &progress](const SearchChange& change) {
                              bool post = false;
                              {
                                std::lock_guard<std::mutex> lock(found.mutex);
                                found.changes.push_back(change);
                                post = !std::exchange(found.turnPosted, true);
                              }
                              if (post) {
                                progress.Post([this, &found, &progress] { ShowFoundDevices(found, progress); });
                              }
                            });
    std::lock_guard<std::mutex> lock(found.mutex);
    found.searchEnded = true;
  });
  refresh.Enable(true);
  if (refreshHadFocus) refresh.SetFocus();
  // A search that did not run (a close was waiting) leaves the table empty; one that ran, even with a
  // close recorded meanwhile, has its rows shown so that they match the table.
  if (!searched.ran()) return;

  const ui::RedrawPause paused(devices);
  std::vector<DeviceRowTexts>& shown = found.shown;
  int row = 0;
  for (const DeviceRecord& record : protocol_.DeviceTable()) {
    // The rows shown during the search are the table's already; only a missing one is added.
    if (static_cast<std::size_t>(row) >= shown.size()) {
      devices.InsertItem(row, "");
      shown.emplace_back();
    }
    SetDeviceRowTexts(row, record, shown[static_cast<std::size_t>(row)]);
    // The row refers to the id inside its record: valid until the next search frees the records.
    devices.SetItemData(row, reinterpret_cast<std::uintptr_t>(record.id.data()));
    deviceListContent_.rows.push_back({record.name.str(), record.primary().ip.str()});
    authTable_.Insert(DeviceKeyText(record.id));
    ++row;
  }
  for (int extra = static_cast<int>(shown.size()) - 1; extra >= row; --extra) devices.DeleteItem(extra);
  deviceSelectedMark_ = 0;
}

// A row costs the list about a millisecond under load: a turn shows what fits in its share of time and
// leaves the rest, in order, for the next turn, so that the window answers between them however many boxes
// answered at once.
void CVantorDlg::ShowFoundDevices(FoundDevices& found, ui::BusyProgress& progress) {
  constexpr auto kTurnShare = std::chrono::milliseconds(30);
  std::vector<SearchChange> changes;
  {
    std::lock_guard<std::mutex> lock(found.mutex);
    changes.swap(found.changes);
    found.turnPosted = !found.searchEnded && !changes.empty();
    if (!found.turnPosted) return;
  }
  const auto start = std::chrono::steady_clock::now();
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  std::size_t shown = 0;
  {
    const ui::RedrawPause paused(devices);
    while (shown < changes.size() && (shown == 0 || std::chrono::steady_clock::now() - start < kTurnShare)) {
      const SearchChange& change = changes[shown++];
      std::vector<DeviceRowTexts>& rows = found.shown;
      if (change.from >= 0) {
        devices.DeleteItem(change.from);
        rows.erase(rows.begin() + change.from);
      }
      devices.InsertItem(change.to, "");
      SetDeviceRowTexts(change.to, change.record, *rows.emplace(rows.begin() + change.to));
    }
  }
  {
    // The search may have added changes meanwhile: they come after the ones left. The next turn is posted
    // only when there is something for it.
    std::lock_guard<std::mutex> lock(found.mutex);
    found.changes.insert(found.changes.begin(), changes.begin() + static_cast<std::ptrdiff_t>(shown), changes.end());
    found.turnPosted = !found.changes.empty();
    if (!found.turnPosted) return;
  }
  progress.Post([this, &found, &progress] { ShowFoundDevices(found, progress); });
}

// Only a text that differs from the one shown is set: a row shown during the search has its texts already.
void CVantorDlg::SetDeviceRowTexts(int row, const DeviceRecord& record, DeviceRowTexts& shown) {
  ui::ListView& devices = host().List(IDC_DEVICE_LIST);
  const PortSettings& port = record.primary();
  // Shown in the ANSI code page; compared in the box's own UTF-8, kept beside the row.
  DeviceRowTexts texts{platform_.text.Utf8ToAnsi(record.name.view()), std::string(port.ip.view()),
                       std::string(port.netmask.view()), std::string(port.gateway.view())};
  for (std::size_t column = 0; column < texts.size(); ++column) {
    if (shown[column] != texts[column]) devices.SetItemText(row, static_cast<int>(column), texts[column]);
  }
  shown = std::move(texts);
}

}  // namespace quorvel
