// Process starts and shell opens for tests: every command line and every opened file recorded with its show
// value, the results scripted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace quorvel::platform {

class FakeProcesses final : public Processes {
 public:
  static constexpr unsigned kStarted = 33;  // what a successful start returns when nothing is queued
  static constexpr unsigned kOpened = 42;   // what a successful shell open returns when nothing is queued

  struct Start {
    std::string commandLine;
    int show;
    friend bool operator==(const Start&, const Start&) = default;
  };

  // The results of the next starts, in order; each is used once.
  void QueueResult(unsigned result) { results_.push_back(result); }
  // The results of the next shell opens, in order; each is used once.
  void QueueOpenResult(unsigned result) { openResults_.push_back(result); }

  unsigned StartCommandLine(std::string_view commandLine, int show) override {
    starts_.push_back({std::string(commandLine), show});
    return Next(results_, kStarted);
  }

  unsigned ShellOpen(std::string_view file, int show) override {
    opens_.push_back({std::string(file), show});
    return Next(openResults_, kOpened);
  }

  const std::vector<Start>& starts() const { return starts_; }
  // The shell opens, each as the opened file and its show value.
  const std::vector<Start>& opens() const { return opens_; }
  std::vector<std::string> commandLines() const {
    std::vector<std::string> lines;
    for (const Start& start : starts_) lines.push_back(start.commandLine);
    return lines;
  }

 private:
  static unsigned Next(std::deque<unsigned>& queued, unsigned otherwise) {
    if (queued.empty()) return otherwise;
    const unsigned result = queued.front();
    queued.pop_front();
    return result;
  }

  std::deque<unsigned> results_;
  std::deque<unsigned> openResults_;
  std::vector<Start> starts_;
  std::vector<Start> opens_;
};

}  // namespace quorvel::platform
