// Work that waits (a search, a request and its reply, a pause, a platform call that may block) runs on a
// worker thread while the user-interface thread keeps answering its windows. This is the portable core:
// the worker, the hand-back of the work's end and of its exception, the refusal of a second run on the
// same user-interface thread, and the close that the user asked for meanwhile. Each backend brings its own
// loop (BusyLoop); handlers use DialogHost::RunBusy.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace quorvel::ui {

// How a run of busy work ended.
enum class BusyStatus {
  Done,     // the work ran to its end (or threw, and the exception went on to the caller)
  Refused,  // busy work already runs on this thread: a programming error; nothing ran
  Closing,  // a close was recorded before: the handler is skipping its steps; nothing ran
};

// What a control does while busy work runs (DialogHost::SetBusyRole).
enum class BusyRole {
  Close,       // a button that closes the window (the Close disc, Exit): its click is recorded as a close
  Minimize,    // the Minimise disc: its click minimises the window
  KeepsEnter,  // a field where an idle Enter does not close the window: an Enter there is dropped
  PicksRow,    // a list where an idle Enter picks the selected row: an Enter there closes only with none
};

// The work's channel to the user-interface thread: partial results handed over while the work runs.
class BusyProgress {
 public:
  virtual ~BusyProgress() = default;
  // Called by the work: `apply` runs on the user-interface thread between its messages, in the order
  // posted, never held back as posted messages and timers are; whatever was posted before the work
  // ended has run when RunBusy returns (what those last ones post in turn is dropped: the work is over).
  // It may touch the windows and must not wait.
  virtual void Post(std::function<void()> apply) = 0;
};

// What the work reads to stop at its next poll or pause: a close was recorded. Safe on any thread.
class BusyStop {
 public:
  BusyStop() = default;
  explicit BusyStop(const std::atomic<bool>& flag, BusyProgress* progress = nullptr)
      : flag_(&flag), progress_(progress) {}
  bool requested() const { return flag_ != nullptr && flag_->load(); }
  // The run's progress channel; a stop made outside a run has none, and what is posted to it is dropped.
  BusyProgress& progress() const;

 private:
  const std::atomic<bool>* flag_ = nullptr;
  BusyProgress* progress_ = nullptr;
};

// The result of DialogHost::RunBusy: the work's value when it ran, and whether the handler goes on.
template <class T>
class BusyResult {
 public:
  BusyResult(BusyStatus status, std::optional<T> value, bool closing)
      : status_(status), value_(std::move(value)), closing_(closing) {}
  BusyStatus status() const { return status_; }
  bool ran() const { return status_ == BusyStatus::Done; }
  // A close was recorded (during this work or before): the handler skips its remaining steps.
  bool closing() const { return closing_; }
  // The handler goes on: the work ran and no close is waiting.
  explicit operator bool() const { return ran() && !closing_; }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  // The work's value, or `fallback` when it did not run.
  T value_or(T fallback) const { return value_ ? *value_ : fallback; }

 private:
  BusyStatus status_;
  std::optional<T> value_;
  bool closing_;
};

template <>
class BusyResult<void> {
 public:
  BusyResult(BusyStatus status, bool closing) : status_(status), closing_(closing) {}
  BusyStatus status() const { return status_; }
  bool ran() const { return status_ == BusyStatus::Done; }
  bool closing() const { return closing_; }
  explicit operator bool() const { return ran() && !closing_; }

 private:
  BusyStatus status_;
  bool closing_;
};

class BusyRun;

// The backend's loop on the user-interface thread while the work runs.
class BusyLoop {
 public:
  virtual ~BusyLoop() = default;
  // Handles messages until run.finished(); may record a close (run.RecordClose()).
  virtual void Pump(BusyRun& run) = 0;
  // Called on the worker thread as the work ends, so that a loop that sleeps wakes up.
  virtual void Wake() = 0;
  // Called on the worker thread before the work and after it (also when it threw): what the system asks
  // of a thread that calls it (Windows: its COM apartment) is set up and taken down here.
  virtual void WorkerStarted() {}
  virtual void WorkerEnded() {}
};

// One run: the worker thread and what passes between it and the user-interface thread.
class BusyRun final : public BusyProgress {
 public:
  BusyRun() = default;
  BusyRun(const BusyRun&) = delete;
  BusyRun& operator=(const BusyRun&) = delete;

  bool finished() const { return finished_.load(); }
  // Blocks the calling thread up to `millis` or until the work has ended; true when it has.
  bool WaitFinished(int millis);
  // The user asked to close: the work sees it through its BusyStop.
  void RecordClose() { stop_.store(true); }
  bool closeRecorded() const { return stop_.load(); }
  BusyStop stop() { return BusyStop(stop_, this); }
  // On the worker: queues `apply` and wakes the loop.
  void Post(std::function<void()> apply) override;
  // On the user-interface thread, between messages: runs what the work posted so far.
  void ApplyProgress();

 private:
  friend BusyStatus RunBusyWork(const std::function<void(const BusyStop&)>&, BusyLoop&, BusyRun&);
  void MarkFinished();

  std::atomic<bool> finished_{false};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable ended_;
  BusyLoop* loop_ = nullptr;                      // set before the worker starts
  std::vector<std::function<void()>> progress_;  // guarded by mutex_
};

// Runs `work` on a worker thread and `loop` on this one until the work ends, then joins the worker. An
// exception of the work is thrown again here. Refused (nothing runs) while this thread is already in a
// run. `run` is the caller's; a close recorded in it stays readable after the return. When the loop
// throws, the stop is recorded and the loop goes on until the work has ended (a worker waiting for an
// answer of this thread gets it), and then the loop's exception goes on. When no thread can be started,
// the work runs on this thread.
BusyStatus RunBusyWork(const std::function<void(const BusyStop&)>& work, BusyLoop& loop, BusyRun& run);

// True while this thread is inside RunBusyWork (the headless backend's in-line runs count too).
bool InBusyWork();

// Marks this thread as running busy work for as long as it lives; refuses (active() false) when it is.
class BusyScope {
 public:
  BusyScope();
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  bool active() const { return active_; }

 private:
  bool active_;
};

// Calls work with the stop token and the progress channel when it takes them, without them otherwise.
template <class Work>
decltype(auto) CallWork(Work& work, const BusyStop& stop) {
  if constexpr (std::is_invocable_v<Work&, const BusyStop&, BusyProgress&>) {
    return work(stop, stop.progress());
  } else if constexpr (std::is_invocable_v<Work&, const BusyStop&>) {
    return work(stop);
  } else {
    return work();
  }
}

}  // namespace quorvel::ui
