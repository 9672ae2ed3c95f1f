// Fetching a resource from the results server: "GET <url>" and two LFs (a
// request without protocol version), then everything the server sends until
// it closes, kept as received, status line and headers included.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pexil {

// HttpGet's results: 0, or one of these.
inline constexpr int kHttpReceiveFailed = -1;  // the connection broke while receiving
inline constexpr int kHttpNoSocket = -2;
inline constexpr int kHttpNoConnection = -3;   // refused, unreachable, or broke while the request went out
inline constexpr int kHttpNoHost = -4;
inline constexpr int kHttpTimedOut = -5;       // the reply did not end within the receive time
// The reply could not be kept. The reply is held in memory, not in a
// temporary file, so what cannot be stored is a reply longer than the cap.
inline constexpr int kHttpNoRoom = -6;

struct HttpGetOptions {
  int connectTimeoutMs = 10000;
  // From the request sent to the server's close: a reply that never ends,
  // or trickles, is given up after this long.
  int receiveTimeoutMs = 30000;
  // Longer replies are refused rather than buffered.
  std::size_t maxReplyBytes = std::size_t{4} << 20;
  // Failures are printed on the text pane unless this is off (callers that
  // retry in silence).
  bool report = true;
};

// The host of a url: after the first "//" up to the next '/' (or the end);
// the whole url when it has no "//".
std::string UrlHost(std::string_view url);

// Sends "GET " + url + "\n\n" to the url's host on `port` and gives the
// whole reply in `reply`. Returns 0 or one of the codes above (with `reply`
// empty), after printing what went wrong.
int HttpGet(const std::string& url, std::string& reply, int port = 80, const HttpGetOptions& options = {});

// The opening rack of a rack request's reply: the text after "Rack: " to
// the end with trailing white space removed, when it begins with a letter.
std::optional<std::string> ParseOpeningRack(std::string_view reply);

}  // namespace pexil
