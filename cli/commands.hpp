// The commands of pexil-cli.
#pragma once

#include <string>
#include <vector>

namespace pexil::cli {

using Arguments = std::vector<std::string>;

// Runs one command with its own options; returns the process exit code.
// An empty command runs the main job.
int runCommand(const std::string& command, const Arguments& options);

}  // namespace pexil::cli
