// The reachability seam over the real system: a detached thread that asks InternetCheckConnectionA.
#pragma once

#include "platform/reachability.h"

namespace quorvel::platform {

class Win32Reachability final : public Reachability {
 public:
  void StartCheck(std::string url, std::function<void(bool reachable)> answer) override;
};

}  // namespace quorvel::platform
