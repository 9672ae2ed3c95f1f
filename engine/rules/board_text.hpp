// The board as text lines: tiles in upper case, blanks in lower case, empty
// squares as their board-print character, with row and column labels.
// Given the board as it was before the last move, the tiles that move laid
// are set apart by highlight marks (which take no room when shown).
#pragma once

#include <string>
#include <vector>

#include "rules/board.hpp"

namespace pexil {

std::vector<std::string> boardTextLines(const Board& board, const Board* before = nullptr);

}  // namespace pexil
