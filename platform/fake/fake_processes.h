// Process starts for tests: every command line recorded with its show value, the results scripted.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace quorvel::platform {

class FakeProcesses final : public Processes {
 public:
  static constexpr unsigned kStarted = 33;  // what a successful start returns when nothing is queued

  struct Start {
    std::string commandLine;
    int show;
    friend bool operator==(const Start&, const Start&) = default;
  };

  // The results of the next starts, in order; each is used once.
  void QueueResult(unsigned result) { results_.push_back(result); }

  unsigned StartCommandLine(std::string_view commandLine, int show) override {
    starts_.push_back({std::string(commandLine), show});
    if (results_.empty()) return kStarted;
    const unsigned result = results_.front();
    results_.pop_front();
    return result;
  }

  const std::vector<Start>& starts() const { return starts_; }
  std::vector<std::string> commandLines() const {
    std::vector<std::string> lines;
    for (const Start& start : starts_) lines.push_back(start.commandLine);
    return lines;
  }

 private:
  std::deque<unsigned> results_;
  std::vector<Start> starts_;
};

}  // namespace quorvel::platform
