#include "web_page.h"

#include <arpa/inet.h>

#include <nlohmann/json.hpp>

namespace quorvel::boxsim {

namespace {

using json = nlohmann::ordered_json;

constexpr std::size_t kLongestMethod = 16;

bool IsDottedAddress(const std::string& text) {
  in_addr address{};
  return inet_pton(AF_INET, text.c_str(), &address) == 1;
}

bool IsToken(std::string_view text) {
  if (text.empty() || text.size() > kLongestMethod) return false;
  for (char c : text) {
    if (c < 'A' || c > 'Z') return false;
  }
  return true;
}

bool IsVisible(std::string_view text) {
  for (unsigned char c : text) {
    if (c <= ' ' || c == 0x7f) return false;
  }
  return !text.empty();
}

const char* ReasonOf(int status) {
  switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    default: return "Not Implemented";
  }
}

std::string Answer(int status, std::string_view type, const std::string& body, bool withBody) {
  std::string bytes = "HTTP/1.0 " + std::to_string(status) + " " + ReasonOf(status) + "\r\n";
  bytes += "Content-Type: " + std::string(type) + "\r\n";
  bytes += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  bytes += "Connection: close\r\n\r\n";
  if (withBody) bytes += body;
  return bytes;
}

std::string Dump(const json& line) { return line.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

std::optional<std::string> WebAddressOf(const BoxState& box) {
  if (box.faults.noWeb) return std::nullopt;
  if (box.primaryPort < 0 || static_cast<std::size_t>(box.primaryPort) >= box.ports.size()) return std::nullopt;
  const std::string& ip = box.ports[static_cast<std::size_t>(box.primaryPort)].ip;
  if (!IsDottedAddress(ip)) return std::nullopt;
  return ip;
}

std::optional<std::size_t> EndOfHead(std::string_view received) {
  for (std::size_t i = 0; i < received.size(); ++i) {
    if (received[i] != '\n') continue;
    if (i + 1 < received.size() && received[i + 1] == '\n') return i + 2;
    if (i + 2 < received.size() && received[i + 1] == '\r' && received[i + 2] == '\n') return i + 3;
  }
  return std::nullopt;
}

std::optional<WebRequest> ParseRequestLine(std::string_view head) {
  std::string_view line = head.substr(0, head.find('\n'));
  if (line.ends_with('\r')) line.remove_suffix(1);
  const std::size_t first = line.find(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = line.find(' ', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  const std::string_view method = line.substr(0, first);
  const std::string_view target = line.substr(first + 1, second - first - 1);
  const std::string_view version = line.substr(second + 1);
  if (!IsToken(method) || !IsVisible(target) || !version.starts_with("HTTP/") || version.size() != 8) {
    return std::nullopt;
  }
  return WebRequest{std::string(method), std::string(target)};
}

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

std::string WebPage(const BoxState& box) {
  const std::string name = EscapeHtml(box.name);
  return "<html><head><title>" + name + "</title></head><body><h1>" + name + "</h1><p>" +
         EscapeHtml(box.model) + "</p></body></html>\n";
}

WebAnswer AnswerRequest(const std::optional<WebRequest>& request, const std::string& page) {
  constexpr std::string_view kHtml = "text/html; charset=utf-8";
  constexpr std::string_view kText = "text/plain; charset=utf-8";
  if (!request) return {400, Answer(400, kText, "bad request\n", true)};
  const bool head = request->method == "HEAD";
  if (request->method != "GET" && !head) return {501, Answer(501, kText, "not implemented\n", true)};
  return {200, Answer(200, kHtml, page, !head)};
}

std::string WebConnectLogLine(double seconds, std::string_view box, std::string_view address,
                              std::string_view from) {
  return Dump({{"time", seconds}, {"http", true}, {"event", "connect"}, {"box", std::string(box)},
               {"address", std::string(address)}, {"from", std::string(from)}});
}

std::string WebRequestLogLine(double seconds, std::string_view box, std::string_view address,
                              std::string_view from, const std::optional<WebRequest>& request, int status) {
  json line = {{"time", seconds}, {"http", true}, {"event", "request"}, {"box", std::string(box)},
               {"address", std::string(address)}, {"from", std::string(from)}};
  line["method"] = request ? json(request->method) : json(nullptr);
  line["path"] = request ? json(request->target) : json(nullptr);
  line["status"] = status;
  return Dump(line);
}

}  // namespace quorvel::boxsim
