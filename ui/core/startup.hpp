// What the command line asks of the session before the first picture, the
// same for the window and for --screenshot: the UI language, a game of a
// type with its players, static best moves played, and a move previewed
// (simulated first when its heat map is asked for). No wx here.
#pragma once

#include <string>

#include "launch_options.hpp"
#include "session.hpp"

namespace pexil::ui {

struct Startup {
  bool ok = true;          // false: a wrong command line, nothing to draw as asked
  std::string error;       // why not, for the user (without a leading "pexil: ")
  std::string warning;     // the game could not be set up: the view is drawn without it
  long selectedLine = -1;  // the pane line of the previewed move, or -1
};

// Runs on a session that has started (banner, settings, game types read).
Startup ApplyLaunchOptions(Session& session, const LaunchOptions& options);

}  // namespace pexil::ui
