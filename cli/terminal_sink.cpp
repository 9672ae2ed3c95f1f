#include "terminal_sink.hpp"

#include <cstdio>
#include <string>

#include "text/highlight_marks.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

std::string toUtf8(std::string_view latin1) {
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

constexpr const char* kBoldOn = "\033[1m";
constexpr const char* kBoldOff = "\033[22m";

}  // namespace

std::string terminalLine(const std::string& line, int colour, const SinkOptions& options) {
  std::string out;
  if (options.colour) out += colourPrefix(colour);
  // The highlight marks are never shown: on a terminal the runs between
  // them are bold, elsewhere the words simply read whole.
  for (const HighlightRun& run : highlightRuns(line)) {
    if (options.colour && run.highlighted) out += kBoldOn;
    out += options.utf8 ? toUtf8(run.text) : std::string(run.text);
    if (options.colour && run.highlighted) out += kBoldOff;
  }
  if (options.colour) out += "\033[0m";
  return out;
}

void installTerminalSink(const SinkOptions& options) {
  textPane().SetLineSink([options](const std::string& line, int colour, bool replacesLast) {
    // Progress lines overwrite the previous line in place.
    if (options.colour && replacesLast) std::fputs("\033[A\r\033[K", stdout);
    const std::string text = terminalLine(line, colour, options);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  });
}

}  // namespace pexil::cli
