// The legend printed under a text board: what each square mark means
// ("# word x3"), and how tiles are written there (blanks in lower case,
// the one-character forms that stand for multi-letter tiles, "1 = CH").
#pragma once

#include <string>
#include <vector>

#include "rules/board.hpp"

namespace pexil::cli {

std::vector<std::string> boardLegendLines(const Board& board);

}  // namespace pexil::cli
