// Keep values: what keeping some tiles of the rack is worth once the rack
// is filled again from the unseen tiles, valued with the full-rack table;
// the choice of the best tiles to keep in an exchange.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "rules/tile_counts.hpp"
#include "state/game.hpp"

namespace pexil {

// The cache entry of a keep not computed yet, and the reference value that
// asks for no early cut.
inline constexpr int kKeepNotComputed = -10000000;
// A keep mask that is not cached (the keep is not part of the mover's rack).
inline constexpr std::uint32_t kNoKeepMask = 0xFFFFFFFFu;

// The expected full-rack value, in tenths, of keeping `keep` and drawing
// the rest of a full rack from `pool`: exact weighted sums for one or two
// tiles to draw, 10,000 random draws (game.random) for more. Table entries
// that are missing count 0; 0 when the pool cannot fill the rack. When
// `reference` is not kKeepNotComputed and, after 1,000 draws, 20 x their
// sum is below it, the 1,000-draw mean is returned (and not cached).
// Results are cached in the game by `keepMask`, the bit mask of the kept
// positions of the mover's rack in alphabet order (see keepMaskOf).
int KeepValue(Game& game, const LetterCounts& keep, std::uint32_t keepMask, const LetterCounts& pool, int reference);

// Forgets every cached keep value of the game.
void clearKeepValueCache(Game& game);

// The mask of a leave within a rack: the rack's tiles in alphabet order
// are positions 0, 1, ...; each tile of the leave takes the first position
// of its letter not taken yet, so a leave keeping one of two A's keeps the
// first A. kNoKeepMask when the leave is no part of the rack (or the rack
// has more than 31 tiles).
std::uint32_t keepMaskOf(const Rack& rack, std::string_view leave);

// The best tiles to keep in an exchange, as a string in alphabet order:
// every subset of positions of the mover's rack (duplicates included) is
// valued against the mover's unseen tiles; a strictly higher value wins,
// and only keeps for which the bag holds enough tiles to refill count.
std::string OptimalKeep(Game& game);

// Whether "(Xchg optimal)" is offered for this keep: not the whole rack,
// not empty, not only blanks, not the single letter at alphabet position
// 18 (S) or 23 (X), and not what "(Xchg RETAINS)" keeps.
bool offersOptimalExchange(const Game& game, const std::string& keep);

// The tiles of a pool as a list of codes (one entry per tile), and a draw
// of `count` distinct tiles of that list added to `rack`: positions are
// drawn at random and repeats rejected.
std::vector<int> tilesOf(const LetterCounts& pool);
void addRandomTiles(GameRandom& random, const std::vector<int>& tiles, int count, LetterCounts& rack);

}  // namespace pexil
