// A short text form of a move: the word (blanks in lower case), its
// position and score; non-placements by their label. The full move line
// with leaves and simulation figures is built elsewhere.
#pragma once

#include <string>

#include "state/move.hpp"

namespace pexil {

std::string moveWordText(const Move& move);
std::string briefMoveText(const Move& move);

}  // namespace pexil
