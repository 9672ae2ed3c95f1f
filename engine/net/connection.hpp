// TCP connections to a named host over POSIX sockets: name resolution with
// getaddrinfo, a connect bounded in time, and sending everything of a
// buffer. Failures come back as values, never as exceptions; the caller
// decides what to tell the user.
#pragma once

#include <string>
#include <string_view>

#include "net/socket_handle.hpp"

namespace pexil {

enum class ConnectFailure { kNone, kNoHost, kNoSocket, kNoConnection };

struct Connection {
  FileDescriptor socket;
  ConnectFailure failure = ConnectFailure::kNone;
  bool ok() const { return failure == ConnectFailure::kNone; }
};

// Resolves the host and connects to `port` on its addresses in the order the
// resolver gives them, the first that answers within `timeoutMs` winning.
// The socket is left in blocking mode.
Connection ConnectTcp(const std::string& host, int port, int timeoutMs);

// Sends every byte (retrying short sends; a peer that went away gives false
// rather than SIGPIPE). `timeoutMs` bounds each wait for room to send.
bool SendAll(int socket, std::string_view bytes, int timeoutMs);

}  // namespace pexil
