#include "simulator.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <span>

#include "handling.h"

namespace quorvel::boxsim {

namespace {

constexpr std::size_t kLargestDatagram = 65536;

}  // namespace

Simulator::Simulator(std::vector<BoxState> boxes, GroupReceiver receiver, GroupSender sender, WebServer web,
                     RequestLog& log)
    : boxes_(std::move(boxes)),
      receiver_(std::move(receiver)),
      sender_(std::move(sender)),
      web_(std::move(web)),
      log_(log),
      buffer_(kLargestDatagram) {}

bool Simulator::Run(SignalWatch& signals) {
  constexpr std::size_t kFirstWeb = 2;  // after the group receiver and the signals
  for (;;) {
    watched_.assign({{receiver_.fd(), POLLIN, 0}, {signals.fd(), POLLIN, 0}});
    web_.Watch(watched_);
    const std::optional<timespec> wait = WaitTime();
    const int ready = ppoll(watched_.data(), watched_.size(), wait ? &*wait : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) {
      std::fprintf(stderr, "quorvel-boxsim: poll: %s\n", std::strerror(errno));
      return false;
    }
    if (ready > 0 && watched_[1].revents && signals.TakeSignals()) return true;
    if (ready > 0 && watched_[0].revents) ReceiveWaiting();
    if (ready > 0) web_.Serve(std::span<const pollfd>(watched_).subspan(kFirstWeb), log_, started_);
    web_.CloseExpired(Clock::now());
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
  const auto wall = std::chrono::system_clock::now().time_since_epoch();
  const std::optional<RequestView> request = ParseRequest(datagram);
  if (!request) return;
  const RequestTime arrival{std::chrono::duration<double>(now - started_).count(),
                        std::chrono::duration_cast<std::chrono::microseconds>(wall).count()};
  log_.Write(RequestLogLine(*request, from, arrival));
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
  std::optional<Clock::time_point> until = web_.NextDeadline();
  if (const auto due = queue_.NextDue()) {
    const Clock::time_point allowed = std::max(*due, nextSendAllowed_);
    until = until ? std::min(*until, allowed) : allowed;
  }
  if (!until) return std::nullopt;
  const auto left = std::max(Clock::duration::zero(), *until - Clock::now());
  const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  return timespec{static_cast<time_t>(nanos / 1'000'000'000), static_cast<long>(nanos % 1'000'000'000)};
}

}  // namespace quorvel::boxsim
