#include "search/known_racks.hpp"

#include <algorithm>

#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"

namespace pexil {

void AddKnownRack(Game& game, const Rack& rack, int weight) {
  if (weight < 1) return;
  game.knownRacks.insert(game.knownRacks.end(), static_cast<std::size_t>(weight), rack);
}

void ClearKnownRacks(Game& game) { game.knownRacks.clear(); }

int KnownRackCount(const Game& game) { return static_cast<int>(game.knownRacks.size()); }

void KnownRackCollector::add(const Rack& rack, int weight) {
  if (weight < 1) return;
  std::lock_guard<std::mutex> lock(lock_);
  list_.insert(list_.end(), static_cast<std::size_t>(weight), rack);
}

bool SetTypedKnownTiles(Game& game, std::string_view tiles) {
  const GameRules& r = rules();
  if (static_cast<int>(tiles.size()) > r.rackSize) return false;
  for (const char c : tiles) {
    const int code = codeOfTile(c);
    if (code < 0 || code >= r.codeCount || code >= kCodeSlots) return false;
  }
  game.typedKnownTiles.assign(tiles);
  return true;
}

Rack typedKnownRack(const Game& game) {
  Rack rack;
  addLetters(rack, game.typedKnownTiles, nullptr);
  return rack;
}

void UseTypedKnownTiles(Game& game) {
  ClearKnownRacks(game);
  game.useKnownTiles = !game.typedKnownTiles.empty();
  if (game.useKnownTiles) AddKnownRack(game, typedKnownRack(game));
}

void MergeTypedKnownTiles(Game& game) {
  if (game.typedKnownTiles.empty()) return;
  const Rack known = typedKnownRack(game);
  if (game.knownRacks.empty()) {
    AddKnownRack(game, known);
    return;
  }
  const int rackSize = rules().rackSize;
  std::vector<Rack> merged;
  merged.reserve(game.knownRacks.size());
  for (const Rack& listed : game.knownRacks) {
    Rack rack = listed;
    for (int code = 0; code < kCodeSlots; ++code) {
      if (known[code] > rack[code]) {
        rack[kTotalSlot] += known[code] - rack[code];
        rack[code] = known[code];
      }
    }
    if (rack.total() <= rackSize) merged.push_back(rack);
  }
  // Every listed rack contradicting the known tiles: the known tiles alone.
  if (merged.empty()) merged.push_back(known);
  game.knownRacks = std::move(merged);
}

std::string tilesDisplayText(const Rack& rack) {
  std::string text;
  for (int code = 0; code < kCodeSlots; ++code) {
    if (rack[code] <= 0) continue;
    std::string tile = tileDisplayText(code);
    if (tile.size() > 1) tile = "(" + tile + ")";
    for (int n = 0; n < rack[code]; ++n) text += tile;
  }
  return text;
}

void takeKnownTiles(Rack& rack, LetterCounts& pool, const Rack& wanted) {
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int n = 0; n < wanted[code] && pool[code] > 0; ++n) {
      --pool[code];
      --pool[kTotalSlot];
      ++rack[code];
      ++rack[kTotalSlot];
    }
  }
}

}  // namespace pexil
