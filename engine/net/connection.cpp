#include "net/connection.hpp"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>

#include <cerrno>
#include <memory>

namespace pexil {
namespace {

struct AddressListDeleter {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListDeleter>;

bool SetBlocking(int fd, bool blocking) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0) return false;
  return fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) == 0;
}

// A non-blocking connect waited for with poll, so that an address that never
// answers costs at most the timeout.
bool ConnectWithin(int fd, const sockaddr* address, socklen_t length, int timeoutMs) {
  if (!SetBlocking(fd, false)) return false;
  int result = ::connect(fd, address, length);
  if (result != 0 && errno == EINPROGRESS) {
    pollfd waiting{fd, POLLOUT, 0};
    do {
      result = ::poll(&waiting, 1, timeoutMs);
    } while (result < 0 && errno == EINTR);
    if (result <= 0) return false;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return false;
    result = 0;
  }
  return result == 0 && SetBlocking(fd, true);
}

}  // namespace

Connection ConnectTcp(const std::string& host, int port, int timeoutMs) {
  Connection connection;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (host.empty() || port <= 0 || port > 65535 || getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 ||
      found == nullptr) {
    if (found != nullptr) freeaddrinfo(found);
    connection.failure = ConnectFailure::kNoHost;
    return connection;
  }
  const AddressList addresses(found);
  bool anySocket = false;
  for (const addrinfo* address = addresses.get(); address != nullptr; address = address->ai_next) {
    FileDescriptor fd(::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol));
    if (!fd.valid()) continue;
    anySocket = true;
    if (ConnectWithin(fd.get(), address->ai_addr, address->ai_addrlen, timeoutMs)) {
      connection.socket = std::move(fd);
      return connection;
    }
  }
  connection.failure = anySocket ? ConnectFailure::kNoConnection : ConnectFailure::kNoSocket;
  return connection;
}

bool SendAll(int socket, std::string_view bytes, int timeoutMs) {
  while (!bytes.empty()) {
    pollfd waiting{socket, POLLOUT, 0};
    int ready;
    do {
      ready = ::poll(&waiting, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0) return false;
    const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace pexil
