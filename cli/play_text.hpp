// Text typed and read in "play": command words, and
// tiles and racks as the user reads them (multi-letter tiles in
// parentheses, as they are typed).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/tile_counts.hpp"

namespace pexil::cli {

std::string asciiLower(std::string text);

// The words of a line, split at white space.
std::vector<std::string> splitWords(const std::string& line);

// A tile: the multi-letter ones in parentheses ("(CH)").
std::string tileText(int code);

// The tiles of a rack (or any counts), in code order.
std::string rackText(const LetterCounts& rack);

}  // namespace pexil::cli
