// The static endgame: a cheaper endgame search in which each side may only
// play moves from the list generated at the root (a move is replayed when
// its squares and tiles still allow it). It stops at the first winning
// line, and answers at once when the position is lost or won whatever is
// played.
#pragma once

#include "state/game.hpp"

namespace pexil {

// With the bag empty (or the analysis position of IsEndgame) in a
// two-player game: every move of the player to move gets in `equity` the
// spread its line leads to (1 for every move when all win, -1 when all
// lose; -9999999 for moves not tried), sorted best first into the main
// list, or with bestOnly only the best into game.bestMove. Returns the
// best value (-9999999 when the position is no endgame). The node budget
// is the process-wide static one (endgameOptions().staticNodeBudget).
int StaticEndgame(Game& game, bool bestOnly);

// The value the last StaticEndgame gave by a quick verdict: 1 all won, -1
// all lost, 0 searched.
int lastStaticVerdict();

}  // namespace pexil
