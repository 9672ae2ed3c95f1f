// The known-rack list: racks the previous player may hold, which the
// threaded lookahead gives that player instead of purely random racks. The
// list is the game's own (Game::knownRacks); a rack found in k ways is
// stored k times, so that a uniform pick weighs every rack by its count.
// Its sources are the tile inference (search/tile_inference.hpp) and the
// tiles the user types as known to be on that rack.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "state/game.hpp"

namespace pexil {

// Appends the rack `weight` times (nothing for a weight below 1).
void AddKnownRack(Game& game, const Rack& rack, int weight = 1);
// Empties the list.
void ClearKnownRacks(Game& game);
// The entries of the list (every rack counted by its weight).
int KnownRackCount(const Game& game);

// Adds racks to one list from several threads: each add appends its copies
// under the collector's lock.
class KnownRackCollector {
 public:
  explicit KnownRackCollector(std::vector<Rack>& list) : list_(list) {}
  KnownRackCollector(const KnownRackCollector&) = delete;
  KnownRackCollector& operator=(const KnownRackCollector&) = delete;
  void add(const Rack& rack, int weight);

 private:
  std::mutex lock_;
  std::vector<Rack>& list_;
};

// The user's known tiles, one character per tile as racks are written
// ('?' a blank, multi-letter tiles by their one-character codes). False,
// changing nothing, when a character is no tile of the game or there are
// more tiles than a rack holds. Empty text clears them.
bool SetTypedKnownTiles(Game& game, std::string_view tiles);
// The typed known tiles as a rack (empty when none).
Rack typedKnownRack(const Game& game);
// Makes the typed known tiles the whole list, with useKnownTiles on; with
// none typed, empties the list and turns useKnownTiles off.
void UseTypedKnownTiles(Game& game);
// Merges the typed known tiles into every listed rack: each letter is held
// at least as often as typed (racks that would then exceed a full rack are
// dropped). An empty list becomes the typed rack alone.
void MergeTypedKnownTiles(Game& game);

// Tiles as a player reads them, in code order: multi-letter tiles written
// out in parentheses ("(CH)"), blanks as '?' - the form they are typed in.
std::string tilesDisplayText(const Rack& rack);

// Moves the tiles of `wanted` that `pool` still holds onto the rack (a
// known rack placed before the rest is drawn at random).
void takeKnownTiles(Rack& rack, LetterCounts& pool, const Rack& wanted);

}  // namespace pexil
