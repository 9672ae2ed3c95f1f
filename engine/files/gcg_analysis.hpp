// What reading a game record in analysis mode collects for the whole-game
// analysis: one entry per move line of the record, in order.
#pragma once

#include <string>
#include <vector>

#include "state/game.hpp"

namespace pexil {

struct GcgAnalysisEntry {
  // The game as it stood before the move, with its move lists emptied (the
  // analysis generates them again on its own copy).
  Game before;
  int mover = 0;
  // The mover's rack before the move.
  Rack rack{};
  // The move as the game recorded it: a placement, a pass, an exchange or
  // "(Lost challenge)".
  KeptMove move;
  // The tiles the mover kept: what was left on the rack after a
  // placement, the kept tiles of an exchange, the whole rack otherwise.
  std::string kept;
};

using GcgAnalysis = std::vector<GcgAnalysisEntry>;

}  // namespace pexil
