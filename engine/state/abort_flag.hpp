// The process-wide abort flag that long searches poll: Escape in the
// desktop program, Ctrl-C in the command line. The searches only read it:
// whoever starts a long action clears it first, so that an Escape pressed
// while the action is still starting up is not forgotten.
#pragma once

namespace pexil {

bool abortRequested();
void requestAbort();
void clearAbort();

}  // namespace pexil
