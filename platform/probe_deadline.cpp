#include "platform/probe_deadline.h"

#include <chrono>
#include <future>
#include <memory>
#include <thread>

namespace quorvel::platform {

ProbeAnswer AnswerWithin(std::function<ProbeAnswer()> work, int timeoutMillis) {
  auto answer = std::make_shared<std::promise<ProbeAnswer>>();
  std::future<ProbeAnswer> future = answer->get_future();
  std::thread([answer, work = std::move(work)] { answer->set_value(work()); }).detach();
  if (future.wait_for(std::chrono::milliseconds(timeoutMillis)) != std::future_status::ready) {
    return ProbeAnswer::CannotProbe;
  }
  return future.get();
}

}  // namespace quorvel::platform
