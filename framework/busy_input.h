// What the Windows busy loop reads from the thread's queue, in portable terms so that its rules are checked
// natively: which key press is a close, and what is held for the end of the work (posted messages and timers
// of every window of the thread, in the order they came).
#pragma once

#include <cstdint>
#include <vector>

namespace quorvel::ui {

// The system's message and key codes that the rules below read.
inline constexpr unsigned kMessageKeyDown = 0x0100;     // WM_KEYDOWN
inline constexpr unsigned kMessageSysKeyDown = 0x0104;  // WM_SYSKEYDOWN: Alt held, or no window has the focus
inline constexpr std::uintptr_t kKeyEscape = 0x1B;
inline constexpr std::uintptr_t kKeyEnter = 0x0D;
inline constexpr std::uintptr_t kKeyF4 = 0x73;
inline constexpr std::intptr_t kAltDownBit = std::intptr_t{1} << 29;  // the key message's context code

enum class BusyKey { Other, Escape, Enter, AltF4 };

// A key press as the busy loop takes it. With no focused window (the Refresh button that was clicked is
// disabled for the work), every key comes as WM_SYSKEYDOWN: Escape counts from it too, and F4 is Alt+F4
// only with Alt down.
inline BusyKey ClassifyBusyKey(unsigned message, std::uintptr_t key, std::intptr_t lParam) {
  if (message != kMessageKeyDown && message != kMessageSysKeyDown) return BusyKey::Other;
  if (key == kKeyEscape) return BusyKey::Escape;
  if (key == kKeyEnter && message == kMessageKeyDown) return BusyKey::Enter;
  if (key == kKeyF4 && message == kMessageSysKeyDown && (lParam & kAltDownBit) != 0) return BusyKey::AltF4;
  return BusyKey::Other;
}

// A posted message or timer held while busy work runs.
struct HeldMessage {
  std::uintptr_t window = 0;
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;  // a timer's callback, when it has one
  bool timer = false;

  bool operator==(const HeldMessage&) const = default;
};

// Held messages in their order. A timer that fires again while held is held once, as the system keeps one
// WM_TIMER per timer in a queue: a timer is its window, its id and its callback.
class HeldMessages {
 public:
  void Hold(const HeldMessage& held) {
    if (held.timer) {
      for (const HeldMessage& each : held_) {
        if (each.timer && each.window == held.window && each.wParam == held.wParam && each.lParam == held.lParam) {
          return;
        }
      }
    }
    held_.push_back(held);
  }
  bool empty() const { return held_.empty(); }
  // Everything held, in order; none is held afterwards.
  std::vector<HeldMessage> Release() {
    std::vector<HeldMessage> released;
    released.swap(held_);
    return released;
  }

 private:
  std::vector<HeldMessage> held_;
};

}  // namespace quorvel::ui
