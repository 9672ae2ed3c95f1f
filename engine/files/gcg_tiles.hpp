// Tiles as game records spell them: one letter per tile, "?" for the
// blank, and the multi-letter tiles written out as the record's "#tile"
// lines declare them (Spanish CH LL RR, Catalan QU L·L NY), by the word-list
// alphabet. Spelled out, a text like "LL" can mean one tile or two; the
// writer puts the multi-letter tiles first and keeps single letters that
// would spell one apart where it can, and a reader picks among the
// possible readings by what the game allows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/tile_counts.hpp"

namespace pexil {

// A set of tiles (a rack, exchanged tiles, the tiles left at the end) as a
// record writes it: upper case, the multi-letter tiles first, then the
// others in tile-code order, arranged where that is possible so that no
// two neighbouring letters spell a multi-letter tile.
std::string gcgTilesText(const LetterCounts& tiles);

// Every way of reading tiles text (at most 64), the reading of a letter
// pair as one multi-letter tile before the reading as two; the first one is
// the reading of what gcgTilesText writes whenever its letters could be
// kept apart. Empty when some character is no tile of the game. Letters
// are read in either case; the one-character forms of earlier records
// (Spanish "1" "2" "3", Catalan "Q" "W" "Y" for the multi-letter tiles)
// are read as well.
std::vector<LetterCounts> gcgTileReadings(std::string_view text);

// Whether a letter is a tile of the game of the word-list alphabet (Spanish
// has no K or W, Danish no Q or W: those codes name other tiles).
bool gcgLetterInGame(char letter);

}  // namespace pexil
