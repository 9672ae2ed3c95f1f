// The board as text lines: tiles in upper case, blanks in lower case, empty
// squares as their board-print character, with row and column labels.
#pragma once

#include <string>
#include <vector>

#include "rules/board.hpp"

namespace pexil {

std::vector<std::string> boardTextLines(const Board& board);

}  // namespace pexil
