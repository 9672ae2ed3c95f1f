// The pre-endgame: one move before the bag empties in a two-player game,
// a move is valued over every way the unseen tiles can fall between the
// player's draw and the opponent's rack, each way weighted by how many
// ways the tiles can be drawn, and each scored with the static endgame.
#pragma once

#include <string>
#include <vector>

#include "state/game.hpp"

namespace pexil {

// Whether playing the move empties the bag in a two-player game (the
// player then draws every tile left): no exchange, no phony-class word or
// cross-word, and the tiles left on the rack plus those drawn fit a rack.
bool IsPreEndgameMove(const Game& game, const Move& move);

// One way the unseen tiles can fall.
struct RackDraw {
  Rack drawn;           // the tiles the player draws
  Rack opponent;        // the opponent's rack
  double weight = 0;    // equally likely ways to draw them
  double guessWeight = 0;  // weighted by the opponent racks of the tile inference
  int spread = 0;       // the static endgame's spread, the player's view
  int outcome = -1;     // 100 win, 50 draw, 0 loss; -1 not evaluated
};

// Every distinct set of `count` tiles out of `unseen`, each with its
// multiplicity: the product over letters of C(unseen count, drawn count).
std::vector<RackDraw> EnumerateRackDraws(const LetterCounts& unseen, int count);

struct PreEndgameResult {
  double winPercent = -1.0;       // -1: not evaluated (too many draws, or cut short)
  double guessWinPercent = -1.0;  // with the tile inference's weights, when it has racks
  std::vector<RackDraw> draws;
  bool tooManyDraws = false;
};

// The win percentage of `move` over every draw, on `threads` workers with
// the static endgame's node budget at 100,000; -1 when there are more than
// drawLimit distinct draws (or Escape or game.timeBudget cut it short).
// With a limit above 200 it prints "Evaluating %d different possible rack
// draws.".
PreEndgameResult PreEndgameEvaluate(const Game& game, const Move& move, int threads, int drawLimit);
float PreEndgameValue(const Game& game, const Move& move, int threads, int drawLimit);

// With exactly one tile in the bag, the value of passing: the opponent then
// faces the same one-tile pre-endgame. Over every tile the bag may hold,
// the opponent is taken to find its best reply that empties the bag among
// its first 30 by equity, knowing the tiles (a cautious value for the
// player); the static endgame then decides. -1 without one tile in the bag.
float PreEndgamePassValue(const Game& game, int threads);

// The analysis report of one move's draws (the rows, the win percentages
// and the closing note), through the text pane.
void PrintPreEndgameReport(const PreEndgameResult& result);

}  // namespace pexil
