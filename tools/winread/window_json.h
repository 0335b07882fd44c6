// The JSON objects for top-level windows: a summary (for --list and the waits) and the full
// inspection with every control.
#pragma once

#include <windows.h>

#include "json_writer.h"
#include "target.h"

namespace quorvel::winread {

void WriteWindowSummary(HWND hwnd, JsonWriter& out);
// names: each control also gets "accName", its accessible name (null when it has none).
void WriteWindow(Target& target, JsonWriter& out, bool names = false);

}  // namespace quorvel::winread
