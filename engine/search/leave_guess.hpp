// The constructions of the rack guess: which tiles the previous player
// (the opponent) may have kept, found by putting the position back to just
// before its last move, giving it candidate racks and keeping those with
// which its own move generator would have made (or nearly made) the move
// it made. Candidates are tested on game copies, one per worker thread;
// accepted racks go into the game's known-rack list under a lock.
#pragma once

#include <vector>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

// What the game knows of the opponent's last move.
struct OpponentMove {
  bool known = false;  // the game's record ends with that move
  Move move;           // as played
  Rack played;         // the tiles it took from the rack (blanks as blanks)
  bool pass = false;
  bool exchange = false;
};
// The last move of the game's record, made by the player before the one
// to move; `known` is false without a record.
OpponentMove opponentLastMove(const Game& game);

// A kept set of tiles and its number of ways to be drawn from a pool: the
// product over its letters of C(pool count, times the letter is kept).
struct WeightedLeave {
  Rack leave;
  int weight = 0;
};
// Every distinct set of `size` tiles the pool can give, each once.
std::vector<WeightedLeave> distinctLeaves(const LetterCounts& pool, int size);

// Puts a copy of the game back to the position before the opponent's last
// move, the opponent to move, and returns the tiles it cannot see other
// than its own rack's (the pool candidate racks come from). The copy's
// board is annotated for generation; its rack is left to the caller.
LetterCounts setUpPositionBefore(Game& copy, const OpponentMove& last);

// Whether the sorted list explains the actual move: among its first five
// moves, before the first that is more than 12 points of equity below the
// best, is the same word at the same square in the same direction.
bool explainsMove(const std::vector<Move>& list, const Move& actual);

// With a copy set up by setUpPositionBefore: gives the opponent the played
// tiles plus `leave` (the rest of the pool going to the bag), generates
// its moves and tells whether they explain its move.
bool leaveExplainsMove(Game& prior, const LetterCounts& pool, const OpponentMove& last, const Rack& leave);

// How long the random constructions go on: per worker, at most
// `tries` racks, until `accepted` of them have been accepted.
struct GuessBudget {
  int tries = 5000;
  int accepted = 1000;
};

// The guess for a move that kept `kept` tiles, into game.knownRacks (which
// the caller has emptied): for 1 to 3 kept tiles every distinct leave of
// the pool, split among the workers by index, each accepted leave added
// with its weight; for other sizes random leaves within the budget, weight
// 1 each.
void ConstructLeaveGuess(Game& game, const OpponentMove& last, int kept, int threads, GuessBudget budget = {});

// The guess for a pass or an exchange, into game.knownRacks: 1,000 random
// full racks set the leave value that only their best tenth reaches; then
// each worker draws racks within the budget. A pass is explained by a rack
// at or above that value whose list has "(Pass)" among its first ten
// moves (the rack is listed whole). An exchange is explained like a pass,
// by any rack whose list has an exchange among its first ten moves; what
// that exchange keeps is listed.
void ConstructPassGuess(Game& game, const OpponentMove& last, int threads, GuessBudget budget = {});

}  // namespace pexil
