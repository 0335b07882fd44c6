// Reachability checks for tests, without threads. Each check answers as the test has scripted it: at
// once (before the caller first looks), once the clock has reached a later time, or never. An answer
// whose time has come is handed over on the test's own thread, as a worker that finished meanwhile would
// have stored it: after every sleep of an AnsweringClock, and when the next check is started.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/reachability.h"
#include "protocol/clock.h"

namespace quorvel::platform {

class FakeReachability final : public Reachability {
 public:
  struct Answer {
    bool reachable = true;
    std::optional<std::int64_t> afterMicros = 0;  // after the start; nothing: the check never answers
  };
  static Answer AtOnce(bool reachable) { return {reachable, 0}; }
  static Answer After(std::int64_t micros, bool reachable) { return {reachable, micros}; }
  static Answer Never() { return {true, std::nullopt}; }

  explicit FakeReachability(Clock& clock) : clock_(clock) {}

  // The answers of the next checks, in order; once they are used up, every check answers true at once.
  void ScriptNext(Answer answer) { scripts_.push_back(answer); }

  void StartCheck(std::string url, std::function<void(bool reachable)> answer) override;
  // Hands every held answer whose time has come to its check, earliest first.
  void DeliverDue();

  const std::vector<std::string>& urls() const { return urls_; }  // of every check started
  std::size_t held() const { return held_.size(); }               // answers not handed over yet

 private:
  struct Held {
    std::int64_t dueMicros;
    bool reachable;
    std::function<void(bool)> answer;
  };

  Clock& clock_;
  std::deque<Answer> scripts_;
  std::vector<Held> held_;
  std::vector<std::string> urls_;
};

// A clock over another one that lets the held checks answer after each sleep. The sleeps are recorded.
class AnsweringClock final : public Clock {
 public:
  AnsweringClock(Clock& time, FakeReachability& checks) : time_(time), checks_(checks) {}
  std::int64_t NowMicros() override { return time_.NowMicros(); }
  void SleepMillis(int millis) override {
    sleeps_.push_back(millis);
    time_.SleepMillis(millis);
    checks_.DeliverDue();
  }
  const std::vector<int>& sleeps() const { return sleeps_; }

 private:
  Clock& time_;
  FakeReachability& checks_;
  std::vector<int> sleeps_;
};

}  // namespace quorvel::platform
