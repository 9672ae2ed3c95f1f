// Text typed and read in "play": typed lines to Latin-1, command words, and
// tiles and racks as the user reads them (multi-letter tiles in
// parentheses, as they are typed).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/tile_counts.hpp"

namespace pexil::cli {

// The typed text as Latin-1: decoded as UTF-8 when it is valid UTF-8 (a
// character beyond Latin-1 becomes '\x01', which no game has as a tile),
// otherwise taken byte by byte.
std::string typedToLatin1(std::string_view bytes);

std::string asciiLower(std::string text);

// The words of a line, split at white space.
std::vector<std::string> splitWords(const std::string& line);

// A tile: the multi-letter ones in parentheses ("(CH)").
std::string tileText(int code);

// The tiles of a rack (or any counts), in code order.
std::string rackText(const LetterCounts& rack);

}  // namespace pexil::cli
