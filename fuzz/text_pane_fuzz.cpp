// Prints arbitrary text through a private pane: wrapping, markers,
// progress-line replacement and stream writing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/text_pane.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  pexil::TextPane pane;
  pane.Print(text);
  pane.SetNoWrap(true);
  pane.Print(text);
  pane.SetNoWrap(false);
  pane.ReplaceLastLine(text);
  {
    pexil::PaneStream out(pane);
    out << text;
  }
  for (std::size_t i = 0; i < pane.LineCount(); ++i) {
    const std::string line = pane.Line(i);
    if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) __builtin_trap();
  }
  return 0;
}
