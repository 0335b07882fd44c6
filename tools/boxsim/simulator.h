// The boxes at work on one interface: wait for requests, log them, let the boxes handle them, and
// send each reply when its delay has passed. The boxes' web servers are served from the same wait.
#pragma once

#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "box_sockets.h"
#include "box_state.h"
#include "reply_queue.h"
#include "request_log.h"
#include "signal_watch.h"
#include "web_server.h"

namespace quorvel::boxsim {

class Simulator {
 public:
  // The least time between two replies. Zero: replies that fall due together leave as one burst,
  // as they do when many boxes answer a search at once; the requester must have room for them.
  static constexpr std::chrono::microseconds kReplyGap{0};

  Simulator(std::vector<BoxState> boxes, GroupReceiver receiver, GroupSender sender, WebServer web,
            RequestLog& log);

  // Serves requests until SIGTERM or SIGINT shows up on `signals`. False when waiting failed.
  bool Run(SignalWatch& signals);

 private:
  using Clock = ReplyQueue::Clock;

  void ReceiveWaiting();
  void Handle(Bytes datagram, const std::string& from);
  // Sends the next due reply, if any, unless the previous one left less than kReplyGap ago.
  void SendNextDue();
  // How long the wait may last: until the next reply may leave or the next web connection runs out
  // of time, or without end when neither waits.
  std::optional<timespec> WaitTime() const;

  std::vector<BoxState> boxes_;
  GroupReceiver receiver_;
  GroupSender sender_;
  WebServer web_;
  RequestLog& log_;
  ReplyQueue queue_;
  Clock::time_point started_ = Clock::now();
  Clock::time_point nextSendAllowed_{};
  std::vector<std::byte> buffer_;
  std::vector<pollfd> watched_;
};

}  // namespace quorvel::boxsim
