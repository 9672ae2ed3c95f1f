// Writes the lines of the text pane to standard output as they arrive: in
// their colours when the output is a terminal, plain otherwise.
#pragma once

namespace pexil::cli {

struct SinkOptions {
  bool colour = false;  // ANSI colours (terminals)
  bool utf8 = true;     // convert the pane's Latin-1 text to UTF-8
};

// Installs the sink on the process-wide pane.
void installTerminalSink(const SinkOptions& options);

}  // namespace pexil::cli
