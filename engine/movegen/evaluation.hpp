// Static evaluation of a placement: laying its tiles, the leave, the blank
// choice, and (with the rack-value tables) the leave value and the board
// adjustments.
#pragma once

#include <string_view>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

struct Evaluation {
  int tilesUsed = 0;     // rack tiles the placement takes
  int adjustment = 0;    // leave value plus adjustments, tenths of a point
  int score = 0;         // the placement's score, bingo bonus included
};

// Lays the move's tiles on the game's board (tentatively: placedMark -999;
// when committing: the move number), fills the move's leave and, unless
// the game is generating, chooses which tiles are blanks for the best
// score and writes blankPositions. The board keeps the tiles; the caller
// scores and lifts them (liftTentative) or keeps them (commit).
Evaluation EvaluatePlacement(Game& game, Move& move, bool commit);

// The leave value of a sorted letter string in tenths (0 while no
// rack-value tables are loaded).
int LeaveValue(std::string_view letters);

// The equity of a move against the unseen pool.
void ReevaluateWithPool(const LetterCounts& pool, Move& move, Game& game);

// The rack as a string in alphabet order, upper case, '?' for blanks.
std::string rackString(const Rack& rack);

}  // namespace pexil
