// Writes the lines of the text pane to standard output as they arrive: in
// their colours, highlighted runs in bold, when the output is a terminal;
// plain otherwise. The highlight marks of the pane never reach the output.
#pragma once

#include <string>

#include "text/text_pane.hpp"

namespace pexil::cli {

// Switches the pane's wrapping off while it lives (a terminal wraps long
// lines itself, and tables read better whole), restoring the setting after.
class NoWrapPane {
 public:
  NoWrapPane() : was_(textPane().NoWrap()) { textPane().SetNoWrap(true); }
  ~NoWrapPane() { textPane().SetNoWrap(was_); }
  NoWrapPane(const NoWrapPane&) = delete;
  NoWrapPane& operator=(const NoWrapPane&) = delete;

 private:
  bool was_;
};

struct SinkOptions {
  bool colour = false;  // ANSI colours (terminals)
  bool utf8 = true;     // convert the pane's Latin-1 text to UTF-8
};

// One pane line as the sink writes it, without the line end.
std::string terminalLine(const std::string& line, int colour, const SinkOptions& options);

// Installs the sink on the process-wide pane.
void installTerminalSink(const SinkOptions& options);

}  // namespace pexil::cli
