// The inspector's command line.
#pragma once

#include <windows.h>

#include <string>

#include "top_windows.h"

namespace quorvel::winread {

enum class Mode { Inspect, List, Wait, WaitGone, Command, Responsiveness, WaitRows, WatchStart, WatchRefresh };

struct Options {
  Mode mode = Mode::Inspect;
  WindowMatch match;
  DWORD timeoutMs = 0;            // --timeout: how long to wait for the window (or for it to go)
  bool timeoutGiven = false;
  UINT messageTimeoutMs = 10000;  // per message to the inspected window
  int commandId = 0;              // --command: the button id whose click is posted; --wait-rows, --watch-start:
                                  // the list view
  int rows = 0;                   // --wait-rows, --watch-refresh: the row count waited for
  bool names = false;             // --names: each control with its accessible name
  DWORD durationMs = 0;           // --responsiveness: how long to probe
};

// false with a reason in error when the arguments make no sense.
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);

extern const char kUsage[];

}  // namespace quorvel::winread
