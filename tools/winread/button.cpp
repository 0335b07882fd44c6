// A button of another process: the check state, for the kinds that have one.
#include "control_readers.h"

namespace quorvel::winread {

namespace {

bool HasCheckState(HWND hwnd) {
  switch (static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return true;
    default:
      return false;
  }
}

}  // namespace

void WriteButton(Target& target, HWND hwnd, JsonWriter& out) {
  if (HasCheckState(hwnd)) out.Key("checked").Int(static_cast<int>(target.Send(hwnd, BM_GETCHECK)));
}

}  // namespace quorvel::winread
