#include "signal_watch.h"

#include <sys/signalfd.h>

#include <cerrno>
#include <cstring>

namespace quorvel::boxsim {

SignalWatch::~SignalWatch() {
  TakeSignals();
  fd_.Reset();
  if (blocked_) sigprocmask(SIG_SETMASK, &previous_, nullptr);
}

bool SignalWatch::Start(std::string& error) {
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGTERM);
  sigaddset(&stopping, SIGINT);
  if (sigprocmask(SIG_BLOCK, &stopping, &previous_) != 0) {
    error = std::string("sigprocmask: ") + std::strerror(errno);
    return false;
  }
  blocked_ = true;
  fd_ = FileDescriptor(signalfd(-1, &stopping, SFD_CLOEXEC | SFD_NONBLOCK));
  if (!fd_.valid()) error = std::string("signalfd: ") + std::strerror(errno);
  return fd_.valid();
}

bool SignalWatch::TakeSignals() {
  if (!fd_.valid()) return false;
  bool taken = false;
  signalfd_siginfo info{};
  while (read(fd_.get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info)) taken = true;
  return taken;
}

}  // namespace quorvel::boxsim
