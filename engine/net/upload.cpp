#include "net/upload.hpp"

#include <fstream>
#include <iterator>

#include "net/connection.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int Fail(int message) {
  textPane().PrintAndRefresh(Message(message));
  return -1;
}

}  // namespace

std::string EncodeGcgForm(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == ' ') {
      encoded += '+';
    } else if (IsAsciiLetter(c)) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 0x0F];
    }
  }
  return encoded;
}

std::string UploadRequest(const std::string& host, std::string_view record) {
  const std::string encoded = EncodeGcgForm(record);
  std::string request = FormatText(
      "POST %s HTTP/1.1\nHost: %s\nContent-Length: %d\nContent-Type: application/x-www-form-urlencoded\n"
      "Accept-Charset: utf-8\n\n",
      kUploadPath, host.c_str(), static_cast<int>(encoded.size() + 4));
  request += "gcg=";
  request += encoded;
  request += '\n';
  return request;
}

int UploadGame(const std::string& host, int port, const std::string& path, int timeoutMs) {
  // POSIX sockets need no library start-up, so the "initializing" failure
  // has no counterpart here. Connecting comes before reading the file, so
  // that an unreachable server is reported even when the record is missing.
  const Connection connection = ConnectTcp(host, port, timeoutMs);
  switch (connection.failure) {
    case ConnectFailure::kNone: break;
    case ConnectFailure::kNoSocket: return Fail(msg::UploadNoSocket);
    case ConnectFailure::kNoHost: return Fail(msg::UploadNoHost);
    case ConnectFailure::kNoConnection: return Fail(msg::UploadNoConnection);
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return Fail(msg::UploadNoFile);
  // One byte past the limit is enough to know the record is too long.
  std::string record(kUploadMaxBytes + 1, '\0');
  file.read(record.data(), static_cast<std::streamsize>(record.size()));
  record.resize(static_cast<std::size_t>(file.gcount()));
  if (record.size() > kUploadMaxBytes) return -1;  // abandoned without a word; the socket closes here
  // A connection that breaks while the record goes out is a failed
  // connection to the user: the record stays on disk either way.
  if (!SendAll(connection.socket.get(), UploadRequest(host, record), timeoutMs)) {
    return Fail(msg::UploadNoConnection);
  }
  return 0;  // closed without reading a reply: nothing waits for one
}

}  // namespace pexil
