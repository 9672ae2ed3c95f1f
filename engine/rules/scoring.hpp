// Scoring of the words a play forms, and tentative placement of a play's
// tiles for scoring.
#pragma once

#include <span>
#include <string_view>

#include "rules/board.hpp"

namespace pexil {

// Score of the first run of tiles in the row (column) that holds a new tile;
// 0 unless the row (column) is flagged as holding new tiles.
int scoreRow(const Board& board, int row);
int scoreColumn(const Board& board, int column);

// Sum over the lines a play spans: for a play across at (column, row) of
// `length` letters, that row and the columns column..column+length-1; for a
// play down, the rows row..row+length-1 and that column. The bingo bonus is
// not included.
int playScore(const Board& board, int direction, int column, int row, int length);
// Every row and every column.
int playScoreAll(const Board& board);

// The bingo bonus earned by a play that takes this many tiles from the rack:
// only playing exactly a full rack earns it.
int bingoBonusFor(int tilesFromRack);

// Lays the letters of `word` that fall on empty squares as new tiles
// (placedMark -999), blanks at the word indexes listed in blankPositions
// (negative entries are unused slots), and flags their rows and columns.
// Returns the number of tiles laid; letters outside the board are skipped.
int layTentative(Board& board, std::string_view word, int column, int row, int direction,
                 std::span<const int> blankPositions);
// Takes the new tiles of such a play off again and clears the flags.
void liftTentative(Board& board, std::string_view word, int column, int row, int direction);

}  // namespace pexil
