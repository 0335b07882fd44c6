// Starting another program from a command line, as the user would type it, or having the shell open a
// file with the program registered for its type.
#pragma once

#include <string_view>

namespace quorvel::platform {

// Show values of the started program's first window (the Windows values).
inline constexpr int kShowHide = 0;
inline constexpr int kShowShow = 5;

// Results of a start (the Windows values): above kStartErrorMax the program was started; otherwise an
// error number, of which these say that the program could not be found or run.
inline constexpr unsigned kStartErrorMax = 31;
inline constexpr unsigned kStartFileNotFound = 2;
inline constexpr unsigned kStartPathNotFound = 3;
inline constexpr unsigned kStartBadFormat = 11;

// Results of a shell open (the Windows values): above kShellOpenErrorMax the file was opened; otherwise
// an error number (kStartFileNotFound when there is no such file).
inline constexpr unsigned kShellOpenErrorMax = 32;

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line with the show value (WinExec): the program is the command line's first
  // word, or its first quoted part. Returns without waiting for the program.
  virtual unsigned StartCommandLine(std::string_view commandLine, int show) = 0;
  // Has the shell open the file (a path, relative ones against the current folder) with the verb "open",
  // no parameters and no folder of its own, owned by no window (ShellExecute). Returns the shell's result.
  virtual unsigned ShellOpen(std::string_view file, int show) = 0;
};

}  // namespace quorvel::platform
