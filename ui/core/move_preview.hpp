// Moves read from text for the board preview: a pane line that reads as a
// move (a move line of any listing: "P1: QUA|R|TZ  8D  57 pts [EI]") or a
// move typed as "8D WORD", and the board with that move laid. No wx here.
#pragma once

#include <optional>
#include <string>

#include "board_preview.hpp"
#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil::ui {

// The move of the player to move that the text names: a position (as the
// move lines write it, "8D", "D8", or in the plain form) next to a word
// (upper case for tiles, lower case for blanks; '|' marks ignored; the
// multi-letter tiles written out, "CH", "L·L", or in their one-character
// form). A move of the game's last simulation or move list is taken as it
// is there (with its statistics); otherwise it must be one of the legal
// moves of the rack to move. None when the text names no such move.
std::optional<Move> ReadMove(const Game& game, const std::string& latin1);

// The board with the move laid on a copy of the game, and its squares.
struct LaidMove {
  Move move;
  Board board;
  std::vector<draw::Cell> laid;  // squares that were empty
  std::vector<draw::Cell> used;  // squares of the word that held tiles already
};
LaidMove LayMove(const Game& game, const Move& move);

// The statistics with heat maps that the game's move list holds for the
// move (after a simulation that tracked them), or none.
const SimulationStats* HeatStatsOf(const Game& game, const Move& move);

// The heat map a preview shows with the modifier keys held and the
// LockHeatmap setting: Ctrl the replies' scores, Alt the player's next
// moves, otherwise the replies' share when Shift is held while the lock is
// off, or Shift is not held while it is on.
draw::HeatView HeatViewFor(bool shift, bool control, bool alt, bool lockHeatmap);

}  // namespace pexil::ui
