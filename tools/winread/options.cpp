#include "options.h"

#include <cstdlib>
#include <string_view>

namespace quorvel::winread {

const char kUsage[] =
    "usage: quorvel-winread --title T [--class C] [--with-control ID] [--hidden] [--timeout S] [--names]\n"
    "       quorvel-winread --list [--hidden]\n"
    "       quorvel-winread --wait-title T [--class C] [--with-control ID] [--hidden] [--timeout S]\n"
    "       quorvel-winread --wait-gone T [--class C] [--with-control ID] [--hidden] [--timeout S]\n"
    "       quorvel-winread --command T ID [--with-control ID] [--hidden] [--timeout S]\n"
    "       quorvel-winread --responsiveness T S [--with-control ID] [--timeout S]\n"
    "       quorvel-winread --wait-rows T ID N [--with-control ID] [--timeout S]\n"
    "       quorvel-winread --watch-refresh T N [--timeout S]\n"
    "       quorvel-winread --watch-start T ID [--with-control ID] [--timeout S]\n"
    "  --title         print the top-level window titled exactly T, with its controls, as JSON\n"
    "  --list          print the visible top-level windows as a JSON array\n"
    "  --wait-title    wait until such a window exists, then print its summary\n"
    "  --wait-gone     wait until no such window exists\n"
    "  --command       post a click of button ID (WM_COMMAND, BN_CLICKED) to the window titled T that\n"
    "                  has control 1000 (or the --with-control one), as the button itself would\n"
    "  --responsiveness  for S seconds, send WM_NULL to the window titled T every 20 ms and print the\n"
    "                  longest wait for an answer as JSON ({\"longestUnansweredMs\": ..., ...})\n"
    "  --wait-rows     print {\"waiting\": rows} once the window titled T is found, then look at its list\n"
    "                  view ID every 5 ms and print {\"rows\": N} as soon as it has N rows (exit 1 at --timeout)\n"
    "  --watch-start   started before the program: print {\"watching\": true}, then look every 2 ms for the\n"
    "                  window titled T, hidden or not, and print when it was first on screen and when its list\n"
    "                  view ID first had rows, in microseconds since the Unix epoch (realtime):\n"
    "                  {\"visibleUs\": ..., \"emptyUs\": ..., \"rowsUs\": ..., \"rows\": N} (exit 1 at --timeout)\n"
    "  --watch-refresh post a click of Refresh (1002) to the main window titled T, then look at its device\n"
    "                  list and Refresh every 2 ms and print, in microseconds after the post, when the list\n"
    "                  was empty, had a row again, had N rows, and when Refresh was enabled again:\n"
    "                  {\"emptyUs\": ..., \"firstRowUs\": ..., \"allRowsUs\": ..., \"endUs\": ...}\n"
    "  --names         with --title: each control's accessible name as well (\"accName\", null for none)\n"
    "  --hidden        consider invisible windows as well\n"
    "  --timeout S     seconds to wait for the window (default 0 for --title, 30 for the waits)\n"
    "  --message-timeout MS  give up when the window does not answer a message in MS ms (10000)\n"
    "exit code: 0 found (or gone), 1 not found (or still there), 2 bad usage or failed inspection\n";

namespace {

constexpr int kMainListId = 1000;  // the device list: tells the main window from a box of the same title

bool ParseNumber(std::string_view text, double& value) {
  if (text.empty()) return false;
  const std::string copy(text);
  char* end = nullptr;
  value = std::strtod(copy.c_str(), &end);
  return end && *end == '\0' && value >= 0 && value < 1e7;
}

bool SetMode(Options& options, Mode mode, bool& modeSet, std::string& error) {
  if (modeSet) {
    error = "give one mode: --title, --list, --wait-title, --wait-gone, --command, --responsiveness, --wait-rows,"
            " --watch-start, --watch-refresh";
    return false;
  }
  options.mode = mode;
  modeSet = true;
  return true;
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
  bool modeSet = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--list") {
      if (!SetMode(options, Mode::List, modeSet, error)) return false;
      continue;
    }
    if (arg == "--hidden") {
      options.match.includeHidden = true;
      continue;
    }
    if (arg == "--names") {
      options.names = true;
      continue;
    }
    if (i + 1 >= argc) {
      error = "unknown option or missing value: " + std::string(arg);
      return false;
    }
    const std::string_view value = argv[++i];
    double number = 0;
    if (arg == "--command" || arg == "--watch-start") {
      if (!SetMode(options, arg == "--command" ? Mode::Command : Mode::WatchStart, modeSet, error)) return false;
      options.match.title = value;
      if (i + 1 >= argc || !ParseNumber(argv[i + 1], number) || number >= 65536) {
        error = std::string(arg) + " needs a window title and a control id";
        return false;
      }
      options.commandId = static_cast<int>(number);
      ++i;
      continue;
    }
    if (arg == "--wait-rows") {
      if (!SetMode(options, Mode::WaitRows, modeSet, error)) return false;
      options.match.title = value;
      double rows = 0;
      if (i + 2 >= argc || !ParseNumber(argv[i + 1], number) || number >= 65536 || !ParseNumber(argv[i + 2], rows)) {
        error = "--wait-rows needs a window title, a list view id and a row count";
        return false;
      }
      options.commandId = static_cast<int>(number);
      options.rows = static_cast<int>(rows);
      i += 2;
      continue;
    }
    if (arg == "--watch-refresh") {
      if (!SetMode(options, Mode::WatchRefresh, modeSet, error)) return false;
      options.match.title = value;
      double rows = 0;
      if (i + 1 >= argc || !ParseNumber(argv[i + 1], rows) || rows < 1) {
        error = "--watch-refresh needs a window title and a row count";
        return false;
      }
      options.rows = static_cast<int>(rows);
      ++i;
      continue;
    }
    if (arg == "--responsiveness") {
      if (!SetMode(options, Mode::Responsiveness, modeSet, error)) return false;
      options.match.title = value;
      if (i + 1 >= argc || !ParseNumber(argv[i + 1], number) || number > 3600) {
        error = "--responsiveness needs a window title and seconds";
        return false;
      }
      options.durationMs = static_cast<DWORD>(number * 1000);
      ++i;
      continue;
    }
    if (arg == "--title" || arg == "--wait-title" || arg == "--wait-gone") {
      const Mode mode = arg == "--title" ? Mode::Inspect : arg == "--wait-title" ? Mode::Wait : Mode::WaitGone;
      if (!SetMode(options, mode, modeSet, error)) return false;
      options.match.title = value;
    } else if (arg == "--class") {
      options.match.cls = value;
    } else if (arg == "--with-control" && ParseNumber(value, number) && number < 65536) {
      options.match.withControl = static_cast<int>(number);
    } else if (arg == "--timeout" && ParseNumber(value, number)) {
      options.timeoutMs = static_cast<DWORD>(number * 1000);
      options.timeoutGiven = true;
    } else if (arg == "--message-timeout" && ParseNumber(value, number) && number >= 1) {
      options.messageTimeoutMs = static_cast<UINT>(number);
    } else {
      error = "bad option or value: " + std::string(arg) + " " + std::string(value);
      return false;
    }
  }
  if (!modeSet) {
    error = "nothing to do";
    return false;
  }
  const bool mainWindowMode = options.mode == Mode::Command || options.mode == Mode::Responsiveness ||
                              options.mode == Mode::WaitRows || options.mode == Mode::WatchStart ||
                              options.mode == Mode::WatchRefresh;
  if (mainWindowMode && options.match.withControl < 0) options.match.withControl = kMainListId;
  if (!options.timeoutGiven && options.mode != Mode::Inspect && options.mode != Mode::List) {
    options.timeoutMs = 30000;
  }
  return true;
}

}  // namespace quorvel::winread
