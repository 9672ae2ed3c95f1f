// The endgame search: with the bag empty in a two-player game every tile
// is known, and the computer searches the position instead of simulating
// it. A selective depth-first negamax over freshly generated move lists,
// run on worker threads with the root moves shared among them; values
// are point spreads from the mover's side, end-of-game rack adjustments
// included.
#pragma once

#include "state/game.hpp"

namespace pexil {

// Two players and either an empty bag, or (an analysis position whose
// opponent tiles were not entered) at most a rackful in the bag, the game
// not over and the opponent's rack empty: the bag is then that rack.
bool IsEndgame(const Game& game);

// Gives the opponent the bag's tiles when the opponent's rack is empty
// (the analysis position of IsEndgame); false when nothing changed.
bool FillOpponentRackFromBag(Game& game);

// Fills the main move list with every move of the player to move, each
// with its searched value in `equity` (points; -9999999 = not searched,
// when the time budget or Escape cut the search short), best first. Runs
// on game.threads workers with game.timeBudget (hundredths, 0 = none).
// Moves of the phony class get a second pass when the game allows them and
// every ordinary move loses.
void EndgameSearch(Game& game);

// The computer's endgame: the exact solver when that option is on (and the
// position is one it solves), else the selective search with the prune
// flag set for the computer's own lines.
// Without a time budget set, the search gets kComputerEndgameBudget.
void ComputerEndgame(Game& game);
inline constexpr int kComputerEndgameBudget = 3000;  // hundredths of a second

// How many nodes the last EndgameSearch visited on all its workers.
long long lastEndgameNodes();

}  // namespace pexil
