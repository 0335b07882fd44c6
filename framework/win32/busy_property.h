// The window property that a dialog carries while its busy work runs. Input meanwhile is dropped, so a
// program that drives the window from outside (the Wine tests, through quorvel-winread) reads it to wait
// for the end of the work before it clicks.
#pragma once

namespace quorvel::ui {

inline constexpr char kBusyWindowProperty[] = "QuorvelBusy";

}  // namespace quorvel::ui
