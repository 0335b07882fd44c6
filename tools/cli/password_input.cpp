#include "password_input.h"

#include <iostream>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace quorvel::cli {

namespace {

// Turns the terminal's echo off for its lifetime when standard input is a terminal.
class EchoOff {
 public:
  EchoOff() {
#ifdef _WIN32
    input_ = GetStdHandle(STD_INPUT_HANDLE);
    active_ = input_ != INVALID_HANDLE_VALUE && GetConsoleMode(input_, &saved_) != 0 &&
              SetConsoleMode(input_, saved_ & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) != 0;
#else
    active_ = isatty(STDIN_FILENO) == 1 && tcgetattr(STDIN_FILENO, &saved_) == 0;
    if (active_) {
      termios quiet = saved_;
      quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
      active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
#endif
  }
  ~EchoOff() {
    if (!active_) return;
#ifdef _WIN32
    SetConsoleMode(input_, saved_);
#else
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
#endif
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

  bool active() const { return active_; }

 private:
  bool active_ = false;
#ifdef _WIN32
  HANDLE input_ = INVALID_HANDLE_VALUE;
  DWORD saved_ = 0;
#else
  termios saved_{};
#endif
};

}  // namespace

std::string ReadPasswordLine(std::istream& in) {
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string ReadPasswordFromStdin() {
  const EchoOff echoOff;
  if (echoOff.active()) std::cerr << "Password: " << std::flush;
  std::string password = ReadPasswordLine(std::cin);
  if (echoOff.active()) std::cerr << '\n';
  return password;
}

}  // namespace quorvel::cli
