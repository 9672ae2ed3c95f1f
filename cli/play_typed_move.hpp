// Moves typed in "play": "8D WORD" plays across from row 8, column D;
// "D8 WORD" plays down from column D, row 8 (with lettered rows, and in
// German, the positions are typed as the move lines show them). The word is
// the whole word formed along the line, the letters already on the board
// included (they must match). Lower case letters are blanks; multi-letter
// tiles are typed as in word queries ("ch" or "(CH)"). A word followed by
// "!" is played even when it is not in the word list (a phony, which can be
// challenged).
#pragma once

#include <optional>
#include <string>

#include "rules/board.hpp"
#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil::cli {

struct Position {
  int column = 0;
  int row = 0;
  int direction = kAcross;
};

// A position as the move lines show it ("8D", "D8"; lettered rows and
// German as their move lines write them), else in the plain form; the
// exact letter case first.
std::optional<Position> readPosition(const Board& board, const std::string& typed);

// Checks a typed placement for the player to move and builds its Move, or
// reports what is wrong and gives none: the move fits the board, covers
// the start square or touches a tile, lays at least one tile, takes tiles
// the rack holds, and every word it forms is in the word list (unless the
// word ends in "!"). Where blanks go is decided when the move is scored.
// The game is not changed, except that the text of a word missing from
// the list is kept with the game.
std::optional<Move> typedPlacement(Game& game, const Position& at, const std::string& typedWord);

}  // namespace pexil::cli
