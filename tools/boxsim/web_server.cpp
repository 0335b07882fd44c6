#include "web_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quorvel::boxsim {

namespace {

constexpr int kBacklog = 16;
constexpr std::size_t kReadChunk = 1024;

std::string DottedText(const sockaddr_in& address) {
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
  return text;
}

double SecondsSince(WebServer::Clock::time_point started) {
  return std::chrono::duration<double>(WebServer::Clock::now() - started).count();
}

// A listening socket on port 80 of the address. An invalid descriptor with `error` empty when the
// address is not one of this host's; with `error` set on any other failure.
FileDescriptor Listen(const std::string& address, std::string& error) {
  FileDescriptor fd(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.valid()) {
    error = std::string("socket: ") + std::strerror(errno);
    return fd;
  }
  const int on = 1;
  setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);  // a restart need not wait for TIME_WAIT
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(kWebPort);
  inet_pton(AF_INET, address.c_str(), &local.sin_addr);
  if (bind(fd.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    if (errno != EADDRNOTAVAIL) error = "web server on " + address + ":80: " + std::strerror(errno);
    return FileDescriptor();
  }
  if (listen(fd.get(), kBacklog) != 0) {
    error = "web server on " + address + ":80: " + std::strerror(errno);
    return FileDescriptor();
  }
  return fd;
}

}  // namespace

std::optional<WebServer> WebServer::Open(const std::vector<BoxState>& boxes, std::string& error) {
  WebServer server;
  std::vector<std::string> tried;
  for (const BoxState& box : boxes) {
    const std::optional<std::string> address = WebAddressOf(box);
    if (!address || std::find(tried.begin(), tried.end(), *address) != tried.end()) continue;
    tried.push_back(*address);
    std::string failure;
    FileDescriptor listener = Listen(*address, failure);
    if (!failure.empty()) {
      error = failure;
      return std::nullopt;
    }
    if (!listener.valid()) continue;  // not an address of this host: this box has no web server
    server.sites_.push_back(Site{std::move(listener), *address, box.name, WebPage(box)});
  }
  return server;
}

void WebServer::Watch(std::vector<pollfd>& watched) const {
  for (const Site& site : sites_) watched.push_back({site.listener.get(), POLLIN, 0});
  for (const Connection& connection : connections_) {
    const short events = connection.stage == Stage::Writing ? POLLOUT : POLLIN;
    watched.push_back({connection.fd.get(), events, 0});
  }
}

void WebServer::Serve(std::span<const pollfd> results, RequestLog& log, Clock::time_point started) {
  // Connections first: accepting below adds to them, and the results follow the order of Watch.
  for (std::size_t i = 0; i < connections_.size() && sites_.size() + i < results.size(); ++i) {
    if (results[sites_.size() + i].revents == 0) continue;
    Connection& connection = connections_[i];
    switch (connection.stage) {
      case Stage::Reading: Read(connection, log, started); break;
      case Stage::Writing: Write(connection); break;
      case Stage::Draining: Drain(connection); break;
      case Stage::Done: break;
    }
  }
  std::erase_if(connections_, [](const Connection& c) { return c.stage == Stage::Done; });
  for (std::size_t s = 0; s < sites_.size() && s < results.size(); ++s) {
    if (results[s].revents != 0) Accept(s, log, started);
  }
}

void WebServer::Accept(std::size_t site, RequestLog& log, Clock::time_point started) {
  for (;;) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    FileDescriptor fd(accept4(sites_[site].listener.get(), reinterpret_cast<sockaddr*>(&peer), &length,
                              SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!fd.valid()) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // EAGAIN: none is waiting; anything else: try again at the next readiness
    }
    if (connections_.size() >= kMostConnections) continue;  // closed at once by fd's destructor
    Connection connection;
    connection.fd = std::move(fd);
    connection.site = site;
    connection.from = DottedText(peer);
    connection.deadline = Clock::now() + kConnectionLimit;
    log.Write(WebConnectLogLine(SecondsSince(started), sites_[site].box, sites_[site].address, connection.from));
    connections_.push_back(std::move(connection));
  }
}

void WebServer::Read(Connection& connection, RequestLog& log, Clock::time_point started) {
  char chunk[kReadChunk];
  for (;;) {
    const std::size_t room = kLargestRequestHead - connection.received.size();
    const ssize_t n = recv(connection.fd.get(), chunk, std::min(room, sizeof chunk), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {  // the client left (or failed) before its request was complete: nothing to answer
      connection.stage = Stage::Done;
      return;
    }
    connection.received.append(chunk, static_cast<std::size_t>(n));
    if (EndOfHead(connection.received) || connection.received.size() == kLargestRequestHead) {
      Answer(connection, log, started);
      return;
    }
  }
}

void WebServer::Answer(Connection& connection, RequestLog& log, Clock::time_point started) {
  const Site& site = sites_[connection.site];
  const std::optional<std::size_t> end = EndOfHead(connection.received);
  const std::optional<WebRequest> request =
      end ? ParseRequestLine(std::string_view(connection.received).substr(0, *end)) : std::nullopt;
  WebAnswer answer = AnswerRequest(request, site.page);
  log.Write(WebRequestLogLine(SecondsSince(started), site.box, site.address, connection.from, request,
                              answer.status));
  connection.received.clear();
  connection.answer = std::move(answer.bytes);
  connection.stage = Stage::Writing;
  Write(connection);
}

void WebServer::Write(Connection& connection) {
  while (connection.sent < connection.answer.size()) {
    const ssize_t n = send(connection.fd.get(), connection.answer.data() + connection.sent,
                           connection.answer.size() - connection.sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {
      connection.stage = Stage::Done;
      return;
    }
    connection.sent += static_cast<std::size_t>(n);
  }
  // The answer is out: say so, and wait for the client to close, so that closing first cannot
  // reset the connection under an answer it has not read yet.
  shutdown(connection.fd.get(), SHUT_WR);
  connection.stage = Stage::Draining;
}

void WebServer::Drain(Connection& connection) {
  char chunk[kReadChunk];
  for (;;) {
    const ssize_t n = recv(connection.fd.get(), chunk, sizeof chunk, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (n <= 0) {
      connection.stage = Stage::Done;
      return;
    }
  }
}

void WebServer::CloseExpired(Clock::time_point now) {
  std::erase_if(connections_, [now](const Connection& c) { return c.deadline <= now; });
}

std::optional<WebServer::Clock::time_point> WebServer::NextDeadline() const {
  std::optional<Clock::time_point> next;
  for (const Connection& connection : connections_) {
    if (!next || connection.deadline < *next) next = connection.deadline;
  }
  return next;
}

std::vector<std::string> WebServer::Addresses() const {
  std::vector<std::string> addresses;
  for (const Site& site : sites_) addresses.push_back(site.address);
  return addresses;
}

}  // namespace quorvel::boxsim
