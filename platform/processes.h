// Starting another program from a command line, as the user would type it.
#pragma once

#include <string_view>

namespace quorvel::platform {

// Show values of the started program's first window (the Windows values).
inline constexpr int kShowHide = 0;

// Results of a start (the Windows values): above kStartErrorMax the program was started; otherwise an
// error number, of which these say that the program could not be found or run.
inline constexpr unsigned kStartErrorMax = 31;
inline constexpr unsigned kStartFileNotFound = 2;
inline constexpr unsigned kStartPathNotFound = 3;
inline constexpr unsigned kStartBadFormat = 11;

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line with the show value (WinExec): the program is the command line's first
  // word, or its first quoted part. Returns without waiting for the program.
  virtual unsigned StartCommandLine(std::string_view commandLine, int show) = 0;
};

}  // namespace quorvel::platform
