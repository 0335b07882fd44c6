// The boxes' web servers: one listening socket on port 80 of each box's web address that is an
// address of this host, and the connections they accepted. Nothing here blocks: the simulator's
// loop waits on the descriptors that Watch adds and hands the results to Serve.
#pragma once

#include <poll.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "box_state.h"
#include "file_descriptor.h"
#include "request_log.h"
#include "web_page.h"

namespace quorvel::boxsim {

class WebServer {
 public:
  using Clock = std::chrono::steady_clock;

  // A connection is closed when it has not finished this long after it was accepted.
  static constexpr std::chrono::seconds kConnectionLimit{5};
  // Connections beyond this many are closed as soon as they are accepted.
  static constexpr std::size_t kMostConnections = 32;

  // Listens for every box whose web address (WebAddressOf) is an address of this host; a box whose
  // address is not is skipped, and boxes that share an address share the first one's server.
  // Nothing, with `error` set, when a listener cannot be opened for another reason (the address's
  // port 80 taken by another simulator, for example).
  static std::optional<WebServer> Open(const std::vector<BoxState>& boxes, std::string& error);

  // Appends one entry per listener and per connection, in the order Serve expects them back.
  void Watch(std::vector<pollfd>& watched) const;
  // Takes the results of the entries Watch added (the same count, in the same order): accepts,
  // reads, answers, closes; logs every accepted connection and every request.
  void Serve(std::span<const pollfd> results, RequestLog& log, Clock::time_point started);
  // Closes the connections whose time is up.
  void CloseExpired(Clock::time_point now);
  // When the next connection runs out of time; nothing when none is open.
  std::optional<Clock::time_point> NextDeadline() const;

  std::vector<std::string> Addresses() const;

 private:
  struct Site {
    FileDescriptor listener;
    std::string address;
    std::string box;   // the name of the box that answers here
    std::string page;
  };

  enum class Stage { Reading, Writing, Draining, Done };

  struct Connection {
    FileDescriptor fd;
    std::size_t site = 0;
    std::string from;
    Clock::time_point deadline;
    Stage stage = Stage::Reading;
    std::string received;
    std::string answer;
    std::size_t sent = 0;
  };

  WebServer() = default;

  void Accept(std::size_t site, RequestLog& log, Clock::time_point started);
  void Read(Connection& connection, RequestLog& log, Clock::time_point started);
  void Write(Connection& connection);
  void Drain(Connection& connection);
  void Answer(Connection& connection, RequestLog& log, Clock::time_point started);

  std::vector<Site> sites_;
  std::vector<Connection> connections_;
};

}  // namespace quorvel::boxsim
