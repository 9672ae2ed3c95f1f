// The exact endgame solver: with the bag empty in a two-player game both
// racks are known, and a full-width search (negamax with alpha-beta,
// iterative deepening, a transposition table, the root moves shared out
// over worker threads) finds the true best result for the player to move.
//
// Values are spreads in points from the view of the player to move: that
// player's final score minus the opponent's, with the end-of-game rack
// adjustments of the game's rules and the end by scoreless turns. Plays
// are lexicon words only (phony play off), without the game's barred words.
#pragma once

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

struct ExactEndgameOptions {
  int threads = 1;
  int timeBudget = 0;         // hundredths of a second; 0 = none
  int tableMegabytes = 64;    // the transposition table, shared by the threads
  bool budgetInCpuTime = false;  // the budget counts the process's CPU time, not the clock's
};

struct ExactEndgameResult {
  bool ran = false;       // the position qualified (see below) and was searched
  bool solved = false;    // value is proved: searched to the end of every line
  int value = 0;          // the best spread found (the true one when solved)
  int exactMoves = 0;     // leading moves of the list whose equity is exact
  long long nodes = 0;
  int depth = 0;          // placements deep, the deepest completed iteration
  double seconds = 0;
};

// Fills activeList(game) with every move of the player to move, best first:
// the first `exactMoves` moves hold their exact values in `equity`
// (points), the others upper bounds of their values. A one-tile play that
// forms words both ways is listed once. Runs only for a two-player game
// with an empty bag and tiles on both racks that is not over and not
// played under the anagram rule (the caller fills a rack that was not
// entered from the bag first); otherwise `ran` is false and nothing
// changes. The time budget and the process-wide abort flag stop the search
// with the last completed iteration's list and `solved` false.
ExactEndgameResult ExactEndgameSearch(Game& game, const ExactEndgameOptions& options);

// The exact value, for the player to move, of playing `move` now: the
// spread at the end of the game after best play by both sides. `ran` is
// false when the position does not qualify or the move is not a legal play
// of the mover (nor "(Pass)").
ExactEndgameResult ExactMoveValue(const Game& game, const Move& move, const ExactEndgameOptions& options);

}  // namespace pexil
