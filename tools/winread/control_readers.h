// What the inspector reports of one child window: the fields every control has, and per kind the
// contents that the message-based readers fetch (list view rows and columns, combo box items, the
// address fields, a check box's state).
#pragma once

#include <windows.h>

#include <string>

#include "json_writer.h"
#include "target.h"

namespace quorvel::winread {

std::string ClassOf(HWND hwnd);
std::wstring WindowText(Target& target, HWND hwnd);  // WM_GETTEXT, which Windows carries across processes
void WriteRect(JsonWriter& out, const RECT& rect);

// Each writes its own keys into the control's open object.
void WriteListView(Target& target, HWND hwnd, JsonWriter& out);
void WriteComboBox(Target& target, HWND hwnd, JsonWriter& out);
void WriteIpAddress(Target& target, HWND hwnd, JsonWriter& out);
void WriteButton(Target& target, HWND hwnd, JsonWriter& out);

// The "controls" array: every descendant of the target's top window, in enumeration order.
void WriteControls(Target& target, JsonWriter& out, bool names = false);

}  // namespace quorvel::winread
