// Rack-draw ratings from the command line: the one-shot command, and the
// same action on the game being played.
#pragma once

#include <string>
#include <vector>

#include "state/game.hpp"

namespace pexil::cli {

// Rates every draw of the game's history with `redraws` redraws each and
// prints the report, or writes it to `reportPath` when one is given (a
// file written whole under another name first, then renamed over the
// target). With `onlyPlayer` 0 or more only that player's draws are
// rated. False when the report could not be written.
bool rateDrawsAndReport(const Game& game, int redraws, const std::string& reportPath, int onlyPlayer = -1);

// "rate-draws [FILE]" inside play: the report of the game so far, of the
// user's draws only (`user`) while the game goes on and Pexil's racks are
// hidden, of everyone's once it is over.
void rateDrawsInPlay(const Game& game, const std::vector<std::string>& words, int user);

}  // namespace pexil::cli
