#include "net/http_get.hpp"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "net/connection.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr std::size_t kPieceBytes = 2048;

int Fail(const HttpGetOptions& options, int code, const std::string& text) {
  if (options.report) textPane().PrintAndRefresh(text);
  return code;
}

// Receives until the server closes, the deadline passes or the cap is
// exceeded.
int ReceiveAll(int socket, const std::string& host, const HttpGetOptions& options, std::string& reply) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(options.receiveTimeoutMs);
  char piece[kPieceBytes];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) {
      return Fail(options, kHttpTimedOut,
                  FormatMessage(msg::HttpTimedOut, host.c_str(), options.receiveTimeoutMs / 1000.0));
    }
    pollfd waiting{socket, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return Fail(options, kHttpReceiveFailed, FormatMessage(msg::HttpReceiveFailed, host.c_str(), std::strerror(errno)));
    if (ready == 0) continue;  // the deadline check above ends it
    const ssize_t got = ::recv(socket, piece, sizeof piece, 0);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return Fail(options, kHttpReceiveFailed, FormatMessage(msg::HttpReceiveFailed, host.c_str(), std::strerror(errno)));
    }
    if (reply.size() + static_cast<std::size_t>(got) > options.maxReplyBytes) {
      return Fail(options, kHttpNoRoom,
                  FormatMessage(msg::HttpReplyTooLarge, host.c_str(), static_cast<int>(options.maxReplyBytes / 1024)));
    }
    reply.append(piece, static_cast<std::size_t>(got));
  }
}

}  // namespace

std::string UrlHost(std::string_view url) {
  const std::size_t slashes = url.find("//");
  if (slashes == std::string_view::npos) return std::string(url);
  const std::string_view rest = url.substr(slashes + 2);
  return std::string(rest.substr(0, rest.find('/')));
}

int HttpGet(const std::string& url, std::string& reply, int port, const HttpGetOptions& options) {
  reply.clear();
  const std::string host = UrlHost(url);
  const Connection connection = ConnectTcp(host, port, options.connectTimeoutMs);
  switch (connection.failure) {
    case ConnectFailure::kNone: break;
    case ConnectFailure::kNoSocket: return Fail(options, kHttpNoSocket, FormatMessage(msg::HttpNoSocket, host.c_str()));
    case ConnectFailure::kNoHost: return Fail(options, kHttpNoHost, FormatMessage(msg::HttpNoHost, host.c_str()));
    case ConnectFailure::kNoConnection:
      return Fail(options, kHttpNoConnection, FormatMessage(msg::HttpNoConnection, host.c_str(), port));
  }
  if (!SendAll(connection.socket.get(), "GET " + url + "\n\n", options.connectTimeoutMs)) {
    return Fail(options, kHttpNoConnection, FormatMessage(msg::HttpNoConnection, host.c_str(), port));
  }
  const int result = ReceiveAll(connection.socket.get(), host, options, reply);
  if (result != 0) reply.clear();
  return result;
}

std::optional<std::string> ParseOpeningRack(std::string_view reply) {
  static constexpr std::string_view kMarker = "Rack: ";
  const std::size_t at = reply.find(kMarker);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rack = reply.substr(at + kMarker.size());
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  while (!rack.empty() && isSpace(rack.back())) rack.remove_suffix(1);
  if (rack.empty()) return std::nullopt;
  const auto first = static_cast<unsigned char>(rack.front());
  if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z'))) return std::nullopt;
  return std::string(rack);
}

}  // namespace pexil
