// A box's small web server, without sockets: where a request's head ends, what its first line
// asks for, the answer, and the log line of each connection and request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "box_state.h"

namespace quorvel::boxsim {

inline constexpr std::uint16_t kWebPort = 80;
// The most bytes of a request head that are read; a head that does not end within them is refused.
inline constexpr std::size_t kLargestRequestHead = 4096;

struct WebRequest {
  std::string method;
  std::string target;  // as sent: the path, with its query if any
};

// The web address of a box: the ip of its primary port when that is a dotted IPv4 address.
// Nothing for a box with noWeb, or whose primary port is missing.
std::optional<std::string> WebAddressOf(const BoxState& box);

// The length of the head (up to and including its empty line, CRLF or LF) when it has arrived.
std::optional<std::size_t> EndOfHead(std::string_view received);

// "METHOD SP TARGET SP HTTP/x.y" from the head's first line; nothing when it has another shape.
std::optional<WebRequest> ParseRequestLine(std::string_view head);

// The box's page: its name as the title, its name and model in the body, HTML-escaped.
std::string WebPage(const BoxState& box);

struct WebAnswer {
  int status = 0;
  std::string bytes;  // status line, headers and, unless the request was HEAD, the body
};

// GET and HEAD of any target get the page (200); other methods 501; no request line (malformed,
// or a head too large) 400. Every answer says HTTP/1.0 and that the connection closes.
WebAnswer AnswerRequest(const std::optional<WebRequest>& request, const std::string& page);

std::string EscapeHtml(std::string_view text);

// The log's lines for the web server, beside the protocol's request lines; both carry "http": true.
std::string WebConnectLogLine(double seconds, std::string_view box, std::string_view address,
                              std::string_view from);
std::string WebRequestLogLine(double seconds, std::string_view box, std::string_view address,
                              std::string_view from, const std::optional<WebRequest>& request, int status);

}  // namespace quorvel::boxsim
