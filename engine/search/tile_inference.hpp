// Tile inference: the opponent's last move says something about the tiles
// it kept. A player who kept three tiles and made a modest play did not
// hold a play its own move generator ranks far higher. The inference turns
// that move into the game's known-rack list (search/known_racks.hpp): the
// racks the opponent may hold, each present in proportion to its
// likelihood, which the threaded lookahead then gives the opponent instead
// of purely random racks.
#pragma once

#include "search/leave_guess.hpp"
#include "state/game.hpp"

namespace pexil {

// Which construction the opponent's last move allows.
enum class GuessChoice {
  notPossible,  // open racks, the anagram rule or fewer than two players
  firstTurn,    // no move made yet
  leaves,       // a placement that kept 1 to 3 tiles
  pass,         // a pass or an exchange
  bingo,        // a placement that kept nothing
  none,         // anything else (no record of the move, 4 or more kept)
};
GuessChoice chooseGuess(const Game& game, const OpponentMove& last);

// How many tiles the move kept: the rack size less the tiles played.
int keptTiles(const OpponentMove& last);

// Whether the threaded lookahead builds a guess for a strategy that asks
// for one: the opponent's last move kept 1 to 3 tiles or was an exchange.
bool guessAppliesToLookahead(const Game& game);

// Empties the known-rack list and builds it again from the opponent's last
// move: prints the construction line ("Constructing rack distribution
// guess (known played '...')", "... (known opponent pass)") or why there is
// none ("Can't guess leave distribution -- last move was a bingo!", "No
// tile guess.", "Can't guess leave distribution -- first turn of game!");
// merges the typed known tiles; ends with the summary. Returns the number
// of listed racks.
// The budget bounds the random constructions (tests ask for less).
int GuessOpponentRack(Game& game, int threads, GuessBudget budget = {});

// The menu command: the guess on the game's threads. The list stays in the
// game for the simulations that follow.
void RunTileLeaveGuess(Game& game);

}  // namespace pexil
