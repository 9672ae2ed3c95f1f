// The move a player makes inside a simulated game (every engine's
// iteration, after the candidate).
#pragma once

#include "state/game.hpp"

namespace pexil {

// Puts into game.bestMove the move the player to move makes in simulated
// play: the static best move, or, with the game's
// staticEndgameInSimulation on and a two-player endgame reached (the bag
// empty), the best move of the static endgame. The game's move lists are
// left as they were: they hold the simulation's candidates.
void ChooseSimulatedMove(Game& game);

}  // namespace pexil
