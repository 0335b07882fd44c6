#include "platform/fake/fake_reachability.h"

#include <algorithm>
#include <utility>

namespace quorvel::platform {

void FakeReachability::StartCheck(std::string url, std::function<void(bool reachable)> answer) {
  DeliverDue();  // earlier checks that have finished meanwhile have stored their answers by now
  urls_.push_back(std::move(url));
  Answer script;
  if (!scripts_.empty()) {
    script = scripts_.front();
    scripts_.pop_front();
  }
  if (!script.afterMicros) return;  // never answers: the answer is dropped with the worker
  if (*script.afterMicros <= 0) {
    answer(script.reachable);
    return;
  }
  held_.push_back({clock_.NowMicros() + *script.afterMicros, script.reachable, std::move(answer)});
}

void FakeReachability::DeliverDue() {
  const std::int64_t now = clock_.NowMicros();
  std::stable_sort(held_.begin(), held_.end(),
                   [](const Held& a, const Held& b) { return a.dueMicros < b.dueMicros; });
  const auto firstLater =
      std::find_if(held_.begin(), held_.end(), [now](const Held& held) { return held.dueMicros > now; });
  std::vector<Held> due(std::make_move_iterator(held_.begin()), std::make_move_iterator(firstLater));
  held_.erase(held_.begin(), firstLater);
  for (Held& each : due) each.answer(each.reachable);
}

}  // namespace quorvel::platform
