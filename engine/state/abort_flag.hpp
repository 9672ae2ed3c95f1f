// The process-wide abort flag that long searches poll: Escape in the
// desktop program, Ctrl-C in the command line.
#pragma once

namespace pexil {

bool abortRequested();
void requestAbort();
void clearAbort();

}  // namespace pexil
