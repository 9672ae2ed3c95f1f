// Tables of the seven built-in game kinds: boards, letter values and tile
// counts.
#pragma once

#include <array>

#include "rules/letter_codes.hpp"
#include "rules/square_types.hpp"

namespace pexil::builtin {

using LetterTable = std::array<int, kCodeSlots>;

// Letter values A..Z (blank 0).
extern const LetterTable standardValues;
extern const LetterTable alternativeValues;
extern const LetterTable frenchValues;

// Tile counts A..Z and the blanks at code 26.
extern const LetterTable standardCounts;
extern const LetterTable largeSetCounts;
extern const LetterTable frenchCounts;

// Square type of a built-in board; 0 outside it.
SquareType standardBoard(int row, int column);
SquareType alternativeBoard(int row, int column);
SquareType superBoard(int row, int column);

}  // namespace pexil::builtin
