// pexil-standin-server: stands in for the results server in tests. It
// listens on 127.0.0.1 only, records the raw bytes of every connection in a
// file of its own (request-001.bin, ...) in the folder given, and answers as
// the results server does, or misbehaves in one chosen way:
//
//   pexil-standin-server --dir DIR [--port N] [--mode MODE] [--idle-exit S]
//
//   normal   GET ...?rlexicon=X: a short reply holding "Rack: AEINRST";
//            other GETs: a short OK; the upload POST: no answer, closed
//   refuse   every connection reset at once, before reading anything
//   reset    the reply's head, then the connection reset
//   hang     the reply's head, then nothing until the client gives up
//   huge     a 10 MB reply
//   garbage  4096 bytes that are no HTTP (GarbageByte(i) below), then closed
//
// The port (N, or one the system chose for 0) is printed on standard output
// as the first line. The server stops on SIGTERM, or by itself after S
// seconds (60) without a connection so that a lost one cannot linger.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

enum class Mode { kNormal, kRefuse, kReset, kHang, kHuge, kGarbage };

constexpr int kReadTimeoutMs = 5000;
constexpr int kHangLimitMs = 60000;
constexpr std::size_t kRequestLimit = 1 << 20;
constexpr std::size_t kHugeBytes = 10u << 20;
constexpr std::size_t kGarbageBytes = 4096;

// Set by SIGTERM: every wait and send gives up so that the server ends soon.
volatile std::sig_atomic_t stopRequested = 0;
void OnTerminate(int) { stopRequested = 1; }

unsigned char GarbageByte(std::size_t i) { return static_cast<unsigned char>((i * 37 + 11) & 0xFF); }

bool WaitReadable(int fd, int timeoutMs) {
  pollfd waiting{fd, POLLIN, 0};
  int ready;
  do {
    ready = ::poll(&waiting, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR && stopRequested == 0);
  return ready > 0 && stopRequested == 0;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR && stopRequested == 0) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// A request ends at its empty line, except the upload's, whose body follows:
// that one is read until the client closes.
bool RequestComplete(const std::string& request) {
  if (request.starts_with("POST")) return false;
  return request.find("\n\n") != std::string::npos || request.find("\r\n\r\n") != std::string::npos;
}

std::string ReadRequest(int fd) {
  std::string request;
  char piece[4096];
  while (request.size() < kRequestLimit && !RequestComplete(request) && WaitReadable(fd, kReadTimeoutMs)) {
    const ssize_t got = ::recv(fd, piece, sizeof piece, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    request.append(piece, static_cast<std::size_t>(got));
  }
  return request;
}

// Closing with a zero linger time sends a reset instead of a normal close.
void ResetConnection(int fd) {
  linger now{1, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &now, sizeof now);
}

// Written under another name and renamed into place, so that a reader
// watching the folder never sees a request half written.
void Record(const std::string& folder, int number, const std::string& bytes) {
  char name[32];
  std::snprintf(name, sizeof name, "/request-%03d.bin", number);
  const std::string partial = folder + "/partial.tmp";
  {
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::rename(partial.c_str(), (folder + name).c_str());
}

constexpr std::string_view kHead = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

void Serve(int fd, Mode mode, const std::string& folder, int number) {
  if (mode == Mode::kRefuse) {
    Record(folder, number, "");
    ResetConnection(fd);
    return;
  }
  const std::string request = ReadRequest(fd);
  Record(folder, number, request);
  if (request.starts_with("POST")) return;  // the upload: never answered
  switch (mode) {
    case Mode::kNormal:
      if (request.find("?rlexicon=") != std::string::npos) {
        SendAll(fd, std::string(kHead) + "Rack: AEINRST\r\n");
      } else {
        SendAll(fd, std::string(kHead) + "OK\r\n");
      }
      break;
    case Mode::kReset:
      SendAll(fd, std::string(kHead) + "Rack: AEI");
      ResetConnection(fd);
      break;
    case Mode::kHang: {
      SendAll(fd, kHead);
      // Nothing more until the client closes (or a minute passes).
      char piece[256];
      while (WaitReadable(fd, kHangLimitMs) && ::recv(fd, piece, sizeof piece, 0) > 0) {
      }
      break;
    }
    case Mode::kHuge: {
      SendAll(fd, kHead);
      const std::string block(64 * 1024, 'x');
      for (std::size_t sent = 0; sent < kHugeBytes; sent += block.size()) {
        if (!SendAll(fd, block)) break;  // the client refused the rest
      }
      break;
    }
    case Mode::kGarbage: {
      std::string garbage(kGarbageBytes, '\0');
      for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(GarbageByte(i));
      SendAll(fd, garbage);
      break;
    }
    case Mode::kRefuse: break;
  }
}


int Usage() {
  std::fprintf(stderr,
               "usage: pexil-standin-server --dir DIR [--port N] [--mode normal|refuse|reset|hang|huge|garbage] "
               "[--idle-exit S]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder;
  int port = 0;
  int idleExitSeconds = 60;
  Mode mode = Mode::kNormal;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (i + 1 >= argc) return Usage();
    const char* value = argv[++i];
    if (option == "--dir") {
      folder = value;
    } else if (option == "--port") {
      port = std::atoi(value);
    } else if (option == "--idle-exit") {
      idleExitSeconds = std::atoi(value);
    } else if (option == "--mode") {
      const std::string_view name = value;
      if (name == "normal") mode = Mode::kNormal;
      else if (name == "refuse") mode = Mode::kRefuse;
      else if (name == "reset") mode = Mode::kReset;
      else if (name == "hang") mode = Mode::kHang;
      else if (name == "huge") mode = Mode::kHuge;
      else if (name == "garbage") mode = Mode::kGarbage;
      else return Usage();
    } else {
      return Usage();
    }
  }
  if (folder.empty() || port < 0 || port > 65535 || idleExitSeconds <= 0) return Usage();
  // What it receives is the point of it: a folder it cannot write to is
  // said at once rather than found empty afterwards.
  if (::access(folder.c_str(), W_OK | X_OK) != 0) {
    std::fprintf(stderr, "pexil-standin-server: cannot write to the folder %s: %s\n", folder.c_str(),
                 std::strerror(errno));
    return 2;
  }

  struct sigaction terminate {};
  terminate.sa_handler = OnTerminate;
  ::sigaction(SIGTERM, &terminate, nullptr);
  ::sigaction(SIGINT, &terminate, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  const Descriptor listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (listener.get() < 0) return 1;
  const int on = 1;
  ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener.get(), 16) != 0) {
    std::perror("pexil-standin-server");
    return 1;
  }
  socklen_t length = sizeof address;
  ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length);
  std::printf("%d\n", ntohs(address.sin_port));
  std::fflush(stdout);

  int connections = 0;
  while (stopRequested == 0) {
    pollfd waiting{listener.get(), POLLIN, 0};
    const int ready = ::poll(&waiting, 1, idleExitSeconds * 1000);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;  // idle too long, or poll failed
    const Descriptor client(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (client.get() < 0) continue;
    Serve(client.get(), mode, folder, ++connections);
  }
  return 0;
}
