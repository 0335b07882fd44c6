// Whether a box's server can still be reached, asked on a worker thread so that the caller can look
// for the answer while it waits.
#pragma once

#include <functional>
#include <string>

namespace quorvel::platform {

class Reachability {
 public:
  virtual ~Reachability() = default;
  // Starts a worker thread that tries to connect to the server of the url (InternetCheckConnectionA,
  // forcing a connection attempt) and hands the answer, true when a connection can be made, to answer,
  // once, on that worker. Returns at once; nothing waits for the worker, which ends by itself, so answer
  // must own whatever it touches.
  virtual void StartCheck(std::string url, std::function<void(bool reachable)> answer) = 0;
};

}  // namespace quorvel::platform
