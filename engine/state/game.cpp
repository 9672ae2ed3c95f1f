#include "state/game.hpp"

#include <algorithm>

#include "rules/game_rules.hpp"

namespace pexil {

const char* LaidWords::add(std::string_view text) {
  if (own_ == nullptr) {
    arenas_.push_back(std::make_shared<Arena>());
    own_ = arenas_.back().get();
  }
  return own_->emplace(text).first->c_str();
}

bool exchangeAllowed(const Game& game) {
  const GameRules& r = rules();
  if (r.gameKind == kKindHundredfold || game.bag.total() < r.minTilesExchange) return false;
  int available = game.bag.total();
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove && game.racks[static_cast<std::size_t>(p)].total() == 0) available -= r.rackSize;
  }
  return available >= r.minTilesExchange;
}

SimulationStats& attachSimulationStats(Game& game, Move& move) {
  SimulationStatsStore& store = game.simulationStats;
  if (simulationStatsOf(game, move) != nullptr) {
    return store.records[static_cast<std::size_t>(move.simStats)];
  }
  std::int32_t index;
  if (!store.free.empty()) {
    index = store.free.back();
    store.free.pop_back();
  } else {
    index = static_cast<std::int32_t>(store.records.size());
    store.records.emplace_back();
  }
  SimulationStats& record = store.records[static_cast<std::size_t>(index)];
  record = SimulationStats{};
  record.inUse = true;
  move.simStats = index;
  return record;
}

const SimulationStats* simulationStatsOf(const Game& game, const Move& move) {
  const auto& records = game.simulationStats.records;
  if (move.simStats < 0 || static_cast<std::size_t>(move.simStats) >= records.size()) return nullptr;
  const SimulationStats& record = records[static_cast<std::size_t>(move.simStats)];
  return record.inUse ? &record : nullptr;
}

void clearMainList(Game& game) {
  SimulationStatsStore& store = game.simulationStats;
  for (Move& move : game.moves) {
    if (move.simStats < 0 || static_cast<std::size_t>(move.simStats) >= store.records.size()) continue;
    SimulationStats& record = store.records[static_cast<std::size_t>(move.simStats)];
    if (record.inUse) {
      record = SimulationStats{};  // gives the memory back
      store.free.push_back(move.simStats);
    }
    move.simStats = -1;
  }
  game.moves.clear();
}

int leadOf(const Game& game, int player) {
  int bestOther = 0;
  bool first = true;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == player) continue;
    const int score = game.scores[static_cast<std::size_t>(p)];
    if (first || score > bestOther) bestOther = score;
    first = false;
  }
  return game.scores[static_cast<std::size_t>(player)] - bestOther;
}

LetterCounts unseenTilesOf(const Game& game, int player) {
  LetterCounts pool = game.bag;
  if (openRacks()) return pool;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == player) continue;
    const Rack& rack = game.racks[static_cast<std::size_t>(p)];
    for (int slot = 0; slot <= kTotalSlot; ++slot) pool.counts[static_cast<std::size_t>(slot)] += rack.counts[static_cast<std::size_t>(slot)];
  }
  return pool;
}

bool isBarredFor(const Game& game, int player, std::string_view word) {
  if (game.restrictedPlayer != player || game.barredWords.empty()) return false;
  const std::string lowered = latin1Lower(word);
  return std::find(game.barredWords.begin(), game.barredWords.end(), lowered) != game.barredWords.end();
}

ScorelessLimits scorelessLimits(const Game& game) {
  const int players = game.playerCount;
  ScorelessLimits limits{3 * players, 3 * players, true};
  if (wordListAlphabet() == kAlphabetSpanish) {
    limits.scoreless = 6 * players;
    limits.passes = 2 * players;
    limits.scorelessApplies = !(players == 2 && game.scores[0] == 0 && game.scores[1] == 0);
  }
  return limits;
}

}  // namespace pexil
