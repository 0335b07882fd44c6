// The password comes from standard input, never from the command line, so that it does not show
// in process lists or shell histories.
#pragma once

#include <istream>
#include <string>

namespace quorvel::cli {

// One line of the stream without its line end ("\n" or "\r\n"); end of input gives what was
// read so far, which may be empty.
std::string ReadPasswordLine(std::istream& in);

// From standard input. When that is a terminal, asks for it on standard error and keeps the
// typed characters from being echoed.
std::string ReadPasswordFromStdin();

}  // namespace quorvel::cli
