// Positions typed as text: a board file (one line per row, tiles as
// letters) and a rack given on the command line.
//
// Board file: one line per board row, one character per square. "." is an
// empty square (so are the board-print characters : $ ! * # @, the
// square's own print character of the game type, and a space); an
// upper-case letter is a tile, a lower-case letter a blank standing for
// that letter. Multi-letter tiles are written in their one-character forms
// (Spanish 1 2 3 for CH LL RR; Catalan W Y Q K for L·L NY QU Ç). The file
// may be Latin-1 or UTF-8; line ends may be LF or CR LF; blank lines after
// the last row are ignored, and so are spaces after the last column. An
// empty file (or one of blank lines only) is the empty board.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "state/game.hpp"

namespace pexil::cli {

// Reads the board file (a relative name is taken from the folder the
// program was started in, or else the data folder) and lays its tiles on game.board for good (lower
// case, blanks marked, placed by move 0), taking them from game.bag. The
// bag must hold the tiles not yet on the board or on a rack. Reports every
// problem through the text pane and gives false, leaving the board empty.
bool layBoardFile(Game& game, const std::string& fileName);

// Reads rack text as typed (Latin-1 or UTF-8; '?' for a blank; multi-letter
// tiles in parentheses, "(CH)"): one character per tile, or none after
// reporting what was wrong. At most kMaxRackTiles tiles.
inline constexpr int kMaxRackTiles = 32;
std::optional<std::string> parseRackText(std::string_view typed);


// A tile as the player reads it: "CH" for Spanish '1', "?" for a blank,
// otherwise the upper-case letter.
std::string tileName(int code);

// A word as laid on the board, letter by letter: tiles upper case, blanks
// lower case, Spanish multi-letter tiles written out.
std::string displayLetter(char letter, bool isBlank);

// The letter code of a typed tile character, or -1 when it is no letter of
// the active alphabet. Catalan also takes K, the word lists' form of Ç.
int letterCodeOf(char c);
// The one-character form a tile takes on the board: the word lists' form.
char boardLetter(int code);
// A Latin-1 lower case letter (a blank when typed).
bool isLowerCaseLetter(char c);

}  // namespace pexil::cli
