#include "terminal_sink.hpp"

#include <cstdio>
#include <string>

#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

std::string toUtf8(const std::string& latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char c : latin1) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (b >> 6)));
      out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return out;
}

// A colour as a 24-bit ANSI foreground.
std::string colourPrefix(int colour) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "\033[38;2;%d;%d;%dm", (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
  return buffer;
}

}  // namespace

void installTerminalSink(const SinkOptions& options) {
  textPane().SetLineSink([options](const std::string& line, int colour, bool replacesLast) {
    const std::string text = options.utf8 ? toUtf8(line) : line;
    if (options.colour) {
      // Progress lines overwrite the previous line in place.
      if (replacesLast) std::fputs("\033[A\r\033[K", stdout);
      std::fputs(colourPrefix(colour).c_str(), stdout);
      std::fwrite(text.data(), 1, text.size(), stdout);
      std::fputs("\033[0m", stdout);
    } else {
      std::fwrite(text.data(), 1, text.size(), stdout);
    }
    std::fputc('\n', stdout);
    std::fflush(stdout);
  });
}

}  // namespace pexil::cli
