#include "drain.h"

#include "interface_loop.h"

namespace quorvel {

namespace {

class DrainTask final : public InterfaceTask {
 public:
  explicit DrainTask(Clock& clock) : clock_(clock), timer_(clock.NowMicros()) {}

  bool Done() const override { return done_; }
  std::int64_t WakeAtMicros() const override { return timer_.WakeAtMicros(); }
  void OnDatagram(const Received&, const PacketBuffer&) override { done_ = timer_.Dropped(clock_.NowMicros()); }
  void OnQuiet() override { done_ = true; }

 private:
  Clock& clock_;
  DrainTimer timer_;
  bool done_ = false;
};

}  // namespace

void DrainInterface(Transport& transport, Clock& clock, int index) {
  DrainTask task(clock);
  const ServedInterface served[] = {{index, &task}};
  ServeInterfaces(transport, clock, served);
}

}  // namespace quorvel
