#include "framework/busy_work.h"

#include <chrono>
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
  std::thread worker([&] {
    try {
      work(run.stop());
    } catch (...) {
      failure = std::current_exception();
    }
    run.MarkFinished();
    loop.Wake();
  });
  // The loop must not leave the worker unjoined, whatever it throws.
  struct Join {
    std::thread& thread;
    ~Join() {
      if (thread.joinable()) thread.join();
    }
  } join{worker};
  while (!run.finished()) loop.Pump(run);
  worker.join();
  if (failure) std::rethrow_exception(failure);
  return BusyStatus::Done;
}

}  // namespace quorvel::ui
