// Opening the window: only where there is a display to open it on. Without
// one the program says so in one line, naming the terminal game, and ends
// with status 1 instead of failing inside the toolkit.
#pragma once

#include <string>

#include "launch_options.hpp"

namespace pexil::ui {

// The line that tells the user there is no display: `program` is how the
// program was started (argv[0]); the terminal game is named the same way
// ("build/run/pexil" -> "build/run/pexil-cli play").
std::string NoDisplayMessage(const std::string& program, const std::string& why);

// Runs the window until it is closed; returns the exit status.
int RunWindow(int argc, char** argv, const LaunchOptions& options);

}  // namespace pexil::ui
