#include "framework/busy_work.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace quorvel::ui {

namespace {

// One run at a time on each user-interface thread: the loop of a run must not start another.
thread_local bool inBusyWork = false;

}  // namespace

BusyScope::BusyScope() : active_(!inBusyWork) {
  if (active_) inBusyWork = true;
}

BusyScope::~BusyScope() {
  if (active_) inBusyWork = false;
}

bool InBusyWork() { return inBusyWork; }

BusyProgress& BusyStop::progress() const {
  class Dropped final : public BusyProgress {
   public:
    void Post(std::function<void()>) override {}
  };
  static Dropped dropped;
  return progress_ != nullptr ? *progress_ : dropped;
}

void BusyRun::Post(std::function<void()> apply) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    progress_.push_back(std::move(apply));
  }
  if (loop_ != nullptr) loop_->Wake();
}

void BusyRun::ApplyProgress() {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    due.swap(progress_);
  }
  for (const auto& apply : due) apply();
}

bool BusyRun::WaitFinished(int millis) {
  std::unique_lock<std::mutex> lock(mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(millis), [this] { return finished_.load(); });
}

void BusyRun::MarkFinished() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_.store(true);
  }
  ended_.notify_all();
}

BusyStatus RunBusyWork(const std::function<void(const BusyStop&)>& work, BusyLoop& loop, BusyRun& run) {
  BusyScope scope;
  if (!scope.active()) return BusyStatus::Refused;
  std::exception_ptr failure;  // written by the worker, read after the join
  run.loop_ = &loop;
  auto body = [&] {
    loop.WorkerStarted();
    try {
      work(run.stop());
    } catch (...) {
      failure = std::current_exception();
    }
    loop.WorkerEnded();
    run.MarkFinished();
    loop.Wake();
  };
  std::thread worker;
  try {
    worker = std::thread(body);
  } catch (const std::system_error&) {
    body();  // no thread to be had: the work runs here, and the windows wait for it
  }
  if (worker.joinable()) {
    try {
      while (!run.finished()) {
        loop.Pump(run);
        run.ApplyProgress();  // between the loop's rounds of messages, whatever the loop holds back
      }
    } catch (...) {
      // The worker may wait for this thread (a message sent to a window): it is told to stop and the
      // windows keep answering until it has ended; the loop's failure then goes on.
      run.RecordClose();
      while (!run.finished()) {
        try {
          loop.Pump(run);
        } catch (...) {
          run.WaitFinished(50);  // a loop that keeps failing still must not spin
        }
      }
      worker.join();
      throw;
    }
    worker.join();
  }
  run.ApplyProgress();  // what came with the work's last steps
  if (failure) std::rethrow_exception(failure);
  return BusyStatus::Done;
}

}  // namespace quorvel::ui
