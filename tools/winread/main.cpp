// quorvel-winread: reads the windows and controls of another program (list rows, combo items, address
// fields, check states) and prints them as JSON, for the end-to-end tests that drive the console.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "accessible_name.h"
#include "json_writer.h"
#include "options.h"
#include "refresh_watch.h"
#include "responsiveness.h"
#include "start_watch.h"
#include "target.h"
#include "top_windows.h"
#include "window_json.h"

using namespace quorvel::winread;

namespace {

constexpr int kFound = 0;
constexpr int kNotFound = 1;
constexpr int kError = 2;

void Print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

// The window asked for, once it is there; nullptr, said on stderr, when it is not there in time.
HWND FoundWindow(const Options& options) {
  const HWND hwnd = WaitForWindow(options.match, options.timeoutMs);
  if (!hwnd) std::fprintf(stderr, "quorvel-winread: no window titled \"%s\"\n", options.match.title.c_str());
  return hwnd;
}

int List(const Options& options) {
  JsonWriter out;
  out.BeginArray();
  for (const HWND hwnd : TopWindows(options.match.includeHidden)) WriteWindowSummary(hwnd, out);
  out.EndArray();
  Print(out.text());
  return kFound;
}

int Inspect(const Options& options) {
  const HWND hwnd = FoundWindow(options);
  if (!hwnd) return kNotFound;
  Target target(hwnd, options.messageTimeoutMs);
  ComApartment com;
  JsonWriter out;
  WriteWindow(target, out, options.names);
  if (target.failed()) {
    std::fprintf(stderr, "quorvel-winread: %s\n", target.error().c_str());
    return kError;
  }
  Print(out.text());
  return kFound;
}

int Wait(const Options& options) {
  const HWND hwnd = WaitForWindow(options.match, options.timeoutMs);
  if (!hwnd) return kNotFound;
  JsonWriter out;
  WriteWindowSummary(hwnd, out);
  Print(out.text());
  return kFound;
}

// Posts the click of a button to its dialog, as the button does itself: the main window's hidden buttons
// can be reached no other way.
int Command(const Options& options) {
  const HWND hwnd = FoundWindow(options);
  if (!hwnd) return kNotFound;
  const HWND button = GetDlgItem(hwnd, options.commandId);
  const WPARAM wParam = MAKEWPARAM(static_cast<WORD>(options.commandId), BN_CLICKED);
  if (!PostMessageA(hwnd, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(button))) {
    std::fprintf(stderr, "quorvel-winread: cannot post command %d\n", options.commandId);
    return kError;
  }
  return kFound;
}

// Prints how long the window left WM_NULL unanswered at worst while it was probed.
int Probe(const Options& options) {
  const HWND hwnd = FoundWindow(options);
  if (!hwnd) return kNotFound;
  const Responsiveness measured = MeasureResponsiveness(hwnd, options.durationMs);
  JsonWriter out;
  out.BeginObject();
  out.Key("longestUnansweredMs").UInt(measured.longestUnansweredMs);
  out.Key("probes").Int(measured.probes);
  out.Key("timedOut").Int(measured.timedOut);
  out.Key("windowGone").Bool(measured.windowGone);
  out.EndObject();
  Print(out.text());
  return kFound;
}

// Prints when the list view has the row count asked for, looking every 5 ms from the moment the window is
// found (announced on its own line, so that a caller can act only once the watch runs). A window busy in a
// handler answers the count when the handler returns, which is when its rows become visible anyway.
int WaitRows(const Options& options) {
  const HWND hwnd = WaitForWindow(options.match, options.timeoutMs);
  const HWND list = hwnd ? GetDlgItem(hwnd, options.commandId) : nullptr;
  if (!list) {
    std::fprintf(stderr, "quorvel-winread: no list %d in a window titled \"%s\"\n", options.commandId,
                 options.match.title.c_str());
    return kNotFound;
  }
  Target target(hwnd, options.messageTimeoutMs);
  const ULONGLONG start = GetTickCount64();
  int rows = static_cast<int>(target.Send(list, LVM_GETITEMCOUNT));
  Print("{\"waiting\": " + std::to_string(rows) + "}");
  while (rows != options.rows && !target.failed() && GetTickCount64() - start < options.timeoutMs) {
    Sleep(5);
    rows = static_cast<int>(target.Send(list, LVM_GETITEMCOUNT));
  }
  if (rows != options.rows) return target.failed() ? kError : kNotFound;
  Print("{\"rows\": " + std::to_string(rows) + "}");
  return kFound;
}

// Announces itself on its own line (the caller starts the program only then), then prints the start's moments.
int WatchStartOf(const Options& options) {
  Print("{\"watching\": true}");
  const StartMoments moments =
      WatchStart(options.match, options.commandId, options.timeoutMs, options.messageTimeoutMs);
  Print(StartMomentsJson(moments));
  return moments.rowsUs ? kFound : kNotFound;
}

// Posts the main window's Refresh and prints when its list emptied, showed a row, held them all, and when
// the search ended.
int WatchRefreshOf(const Options& options) {
  constexpr int kRefreshId = 1002;
  constexpr int kDeviceListId = 1000;
  const HWND hwnd = FoundWindow(options);
  if (!hwnd) return kNotFound;
  const RefreshMoments moments =
      WatchRefresh(hwnd, kRefreshId, kDeviceListId, options.rows, options.timeoutMs, options.messageTimeoutMs);
  Print(RefreshMomentsJson(moments));
  return moments.endUs && moments.allRowsUs ? kFound : kNotFound;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Options options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "quorvel-winread: %s\n%s", error.c_str(), kUsage);
    return kError;
  }
  switch (options.mode) {
    case Mode::List: return List(options);
    case Mode::Inspect: return Inspect(options);
    case Mode::Wait: return Wait(options);
    case Mode::WaitGone: return WaitUntilGone(options.match, options.timeoutMs) ? kFound : kNotFound;
    case Mode::Command: return Command(options);
    case Mode::Responsiveness: return Probe(options);
    case Mode::WaitRows: return WaitRows(options);
    case Mode::WatchStart: return WatchStartOf(options);
    case Mode::WatchRefresh: return WatchRefreshOf(options);
  }
  return kError;
}
