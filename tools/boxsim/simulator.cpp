#include "simulator.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "handling.h"

namespace quorvel::boxsim {

namespace {

constexpr std::size_t kLargestDatagram = 65536;

}  // namespace

Simulator::Simulator(std::vector<BoxState> boxes, GroupReceiver receiver, GroupSender sender, RequestLog& log)
    : boxes_(std::move(boxes)),
      receiver_(std::move(receiver)),
      sender_(std::move(sender)),
      log_(log),
      buffer_(kLargestDatagram) {}

bool Simulator::Run(SignalWatch& signals) {
  for (;;) {
    pollfd watched[2] = {{receiver_.fd(), POLLIN, 0}, {signals.fd(), POLLIN, 0}};
    const std::optional<timespec> wait = WaitTime();
    const int ready = ppoll(watched, 2, wait ? &*wait : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) {
      std::fprintf(stderr, "quorvel-boxsim: poll: %s\n", std::strerror(errno));
      return false;
    }
    if (ready > 0 && watched[1].revents && signals.TakeSignals()) return true;
    if (ready > 0 && watched[0].revents) ReceiveWaiting();
    SendNextDue();
  }
}

void Simulator::ReceiveWaiting() {
  while (auto arrival = receiver_.ReadOne(buffer_)) {
    Handle(Bytes(buffer_.data(), arrival->length), arrival->from);
  }
}

void Simulator::Handle(Bytes datagram, const std::string& from) {
  const Clock::time_point now = Clock::now();
  const std::optional<RequestView> request = ParseRequest(datagram);
  if (!request) return;
  const double seconds = std::chrono::duration<double>(now - started_).count();
  log_.Write(RequestLogLine(*request, from, seconds));
  for (OutgoingReply& reply : HandleRequest(boxes_, *request)) {
    queue_.Push(now + reply.delay, std::move(reply.bytes));
  }
}

void Simulator::SendNextDue() {
  const Clock::time_point now = Clock::now();
  if (now < nextSendAllowed_) return;
  const std::optional<Datagram> reply = queue_.TakeNextDue(now);
  if (!reply) return;
  if (!sender_.Send(*reply)) std::fprintf(stderr, "quorvel-boxsim: send: %s\n", std::strerror(errno));
  nextSendAllowed_ = now + kReplyGap;
}

std::optional<timespec> Simulator::WaitTime() const {
  const auto due = queue_.NextDue();
  if (!due) return std::nullopt;
  const auto left = std::max(Clock::duration::zero(), std::max(*due, nextSendAllowed_) - Clock::now());
  const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  return timespec{static_cast<time_t>(nanos / 1'000'000'000), static_cast<long>(nanos % 1'000'000'000)};
}

}  // namespace quorvel::boxsim
