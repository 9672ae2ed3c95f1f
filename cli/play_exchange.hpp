// Exchanges typed in "play". As players say it and game records write it,
// the tiles named are those thrown back: "exchange AEZ" (or "-AEZ", the
// record's form) returns A, E and Z to the bag. "keep TILES" names the
// tiles kept instead, as the desktop's exchange dialog asks for them.
// Multi-letter tiles are typed in parentheses ("(CH)", "(L·L)"), "?" is
// the blank, letter case does not matter.
#pragma once

#include <optional>
#include <string>

#include "rules/tile_counts.hpp"

namespace pexil::cli {

// What the typed tiles are.
enum class ExchangeTiles { thrownBack, kept };

struct ExchangeRequest {
  // No tiles were named: the whole rack goes back (the player is asked).
  bool wholeRack = false;
  // The tiles the rack keeps, in their one-character forms.
  std::string keep;
};

// Works out an exchange from the typed tiles (Latin-1; empty when none were
// typed). Reports and gives none when the tiles cannot be read or the rack
// does not hold them.
std::optional<ExchangeRequest> readExchange(const Rack& rack, const std::string& typed, ExchangeTiles meaning);

}  // namespace pexil::cli
