// Turns SIGTERM and SIGINT into a readable descriptor, so the main loop's wait also sees them.
// The signals stay blocked for the object's lifetime; the old mask comes back afterwards, once the
// signals that arrived have been taken, so that they do not end the process on the way out.
#pragma once

#include <signal.h>

#include <string>

#include "file_descriptor.h"

namespace quorvel::boxsim {

class SignalWatch {
 public:
  SignalWatch() = default;
  ~SignalWatch();
  SignalWatch(const SignalWatch&) = delete;
  SignalWatch& operator=(const SignalWatch&) = delete;

  bool Start(std::string& error);
  int fd() const { return fd_.get(); }
  // Takes every signal that waits on the descriptor; true when there was at least one.
  bool TakeSignals();

 private:
  FileDescriptor fd_;
  sigset_t previous_{};
  bool blocked_ = false;
};

}  // namespace quorvel::boxsim
