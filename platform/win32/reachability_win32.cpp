#include "platform/win32/reachability_win32.h"

#include <windows.h>
#include <wininet.h>

#include <system_error>
#include <thread>
#include <utility>

namespace quorvel::platform {

void Win32Reachability::StartCheck(std::string url, std::function<void(bool reachable)> answer) {
  // The worker owns its url and its answer: it may outlive this object and the window that asked.
  try {
    std::thread([checkedUrl = std::move(url), answer] {
      answer(InternetCheckConnectionA(checkedUrl.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE);
    }).detach();
  } catch (const std::system_error&) {
    answer(false);  // no worker to ask with: the box cannot be confirmed, so it counts as not reachable
  }
}

}  // namespace quorvel::platform
