// Racks and the well (the pool of undrawn tiles): letter-count vectors of
// 33 ints, counts per letter code in [0..31] and the total in [32].
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "rules/letter_codes.hpp"

namespace pexil {

class GameRandom;

inline constexpr int kTotalSlot = 32;

struct LetterCounts {
  std::array<int, 33> counts{};

  int& operator[](int code) { return counts[static_cast<std::size_t>(code)]; }
  int operator[](int code) const { return counts[static_cast<std::size_t>(code)]; }
  int total() const { return counts[kTotalSlot]; }
  bool operator==(const LetterCounts&) const = default;
};

using Rack = LetterCounts;
using Well = LetterCounts;

// The full well of the active game: tileCount(code) for every code below
// codeCount, and the tile total of the rules.
void fillWell(Well& well);

// Draws one tile at a time until the well is empty or the rack holds upTo
// tiles. Random numbers come from the game's source, or from the
// program-wide generator when no game is given.
void drawTiles(Rack& rack, Well& well, int upTo, GameRandom* game);

// Empties the rack and draws a full rack; returns the rack's tag (the next
// value of the shared pre-drawn sequence modulo 8).
int dealRack(Rack& rack, Well& well, GameRandom* game);

// Puts every tile of the rack back into the well.
void returnAll(Well& well, Rack& rack);

// Adds the tiles written in text ('?' is the blank) to the rack, taking
// them from the well when one is given. Characters that are no letter code
// are skipped. Returns the number of tiles added.
int addLetters(Rack& rack, std::string_view text, Well* well);

// Removes one tile; returns its code, or a negative value (changing
// nothing) for a character that is no letter code.
int removeLetter(LetterCounts& counts, char letter);

// The tiles in code order as upper-case one-character forms, blanks as
// '?'; none when the total exceeds the capacity.
std::optional<std::string> countsToText(const LetterCounts& counts, int capacity = 32);

bool allNonNegative(const LetterCounts& counts);
int rackValue(const LetterCounts& counts);
int vowelCount(const LetterCounts& counts);

}  // namespace pexil
