// Uploading a game record to the results server: the record is sent as a
// form post ("gcg=" and the record's bytes form-encoded) and the connection
// closed without waiting for an answer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pexil {

// The largest record that is uploaded; a longer one is left alone.
inline constexpr std::size_t kUploadMaxBytes = 7999;
// The file the strength test writes its last game to.
inline constexpr const char* kUploadFileName = "strength.gcg";
// Where the results server takes uploads.
inline constexpr const char* kUploadPath = "/pexil/gcg.cgi";

// The form encoding of a record: a space becomes '+', the letters A-Z and
// a-z stay, every other byte becomes '%' and two upper-case hexadecimal
// digits ("8D QI +22" gives "%38D+QI+%2B%32%32").
std::string EncodeGcgForm(std::string_view bytes);

// The whole request UploadGame sends for a record: the head with single-LF
// line ends, then "gcg=", the encoded record and a final LF that the
// Content-Length does not count.
std::string UploadRequest(const std::string& host, std::string_view record);

// Connects to host:port, reads the record file and sends it. 0 when sent;
// -1 on any failure, each reported on the text pane with its message (no
// socket, host not resolved, no connection or a connection that broke while
// sending, file not found). A file longer than kUploadMaxBytes gives -1
// and no message. `timeoutMs` bounds the connect and each wait to send.
int UploadGame(const std::string& host, int port = 80, const std::string& path = kUploadFileName,
               int timeoutMs = 10000);

}  // namespace pexil
