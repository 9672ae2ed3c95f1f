// Move notation: "8D" for a play across from row 8, column D; "D8" down.
#pragma once

#include <string>

namespace pexil {

// The letter of a column or row index: 'A'..'Z' for 0..25, 'a'.. for 26..31.
char indexLetter(int index);

// Column letter then row number; with lettered rows, row letter then
// column number.
std::string squareName(int column, int row);

// The position of a play. Regional notation (used by the program's move
// displays) writes German games as row letter, column number and "w"
// (across) or "s" (down), and games with lettered rows with the row letter.
std::string movePosition(int direction, int column, int row, bool regional);

}  // namespace pexil
