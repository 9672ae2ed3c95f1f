// The move a player makes inside a simulated game (every engine's
// iteration, after the candidate).
#pragma once

#include "movegen/generator.hpp"
#include "state/game.hpp"

namespace pexil {

// With a two-player endgame reached (the bag empty), puts the static
// endgame's best move into game.bestMove and returns true; false, with
// nothing changed, otherwise. The game's move lists are left as they were:
// they hold the simulation's candidates.
bool ChooseByStaticEndgame(Game& game);

// Puts into game.bestMove the move the player to move makes in simulated
// play: the static best move, or, with the game's
// staticEndgameInSimulation on and a two-player endgame reached, the best
// move of the static endgame. Inline: the usual path is one test away from
// the generator.
inline void ChooseSimulatedMove(Game& game) {
  if (game.staticEndgameInSimulation && ChooseByStaticEndgame(game)) return;
  GenerateMoves(game, Generation::bestOnly);
}

}  // namespace pexil
