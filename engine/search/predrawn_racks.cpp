#include "search/predrawn_racks.hpp"

#include <algorithm>
#include <numeric>

#include "rules/game_rules.hpp"
#include "search/known_racks.hpp"
#include "tables/rack_tables.hpp"

namespace pexil {
namespace {

// Redraws allowed for one slot before a rack the mood rejects is taken
// anyway (a pool whose racks all fall on one side of the threshold).
constexpr int kMaxRedraws = 2000;

// One rack for an opponent: the known tiles first (for the previous
// player), the rest at random from the pool.
Rack drawOpponentRack(const Well& unseen, bool previous, const std::vector<Rack>& knownRacks, int size,
                      GameRandom& random) {
  Well pool = unseen;
  Rack rack{};
  if (previous && !knownRacks.empty()) {
    takeKnownTiles(rack, pool, knownRacks[static_cast<std::size_t>(random.next()) % knownRacks.size()]);
  }
  drawTiles(rack, pool, size, &random);
  return rack;
}

bool moodRejects(int mood, int threshold, const std::optional<int>& value) {
  if (!value) return true;
  if (mood > 0) return *value > threshold;
  if (mood < 0) return *value < threshold;
  return false;
}

}  // namespace

std::optional<int> opponentRackValue(const Rack& rack) {
  if (rack.total() == rules().rackSize) {
    if (const auto full = FullRackValue(rack)) return full;
  }
  return leaveValueOf(rack);
}

int moodThresholdIndex(int mood, int n) {
  double share = 0.0;
  switch (mood) {
    case 1: share = 0.8; break;
    case 2: case -3: share = 0.6; break;
    case 3: case -2: share = 0.4; break;
    case -1: share = 0.2; break;
    default: share = 0.0; break;
  }
  return std::clamp(static_cast<int>(share * n), 0, std::max(0, n - 1));
}

std::mutex& PredrawnRacks::lock() {
  static std::mutex mutex;
  return mutex;
}

PredrawnRacks& predrawnRacks() {
  static PredrawnRacks table;
  return table;
}

bool PredrawnRacks::build(const Game& game, const std::vector<Rack>& knownRacks, int mood, GameRandom& random,
                          RackValue rate) {
  if (rate == nullptr) rate = opponentRackValue;
  active_ = false;
  moodApplied_ = false;
  meanValue_ = 0;
  if (openRacks() || game.playerCount < 2) return false;
  if (!game.sortRacksPeg && game.bag.total() <= 10) return false;
  const int mover = game.toMove;
  const int players = game.playerCount;
  const int previous = (mover + players - 1) % players;
  opponents_ = players - 1;
  const Well unseen = unseenTilesOf(game, mover);
  const int size = std::min(rules().rackSize, unseen.total());
  if (size <= 0) return false;
  const auto isPrevious = [&](int slot) { return (mover + 1 + slot % opponents_) % players == previous; };

  threshold_ = 0;
  if (mood != 0) {
    std::vector<int> values;
    values.reserve(kMoodSamples);
    for (int i = 0; i < kMoodSamples; ++i) {
      if (const auto value = rate(drawOpponentRack(unseen, isPrevious(i), knownRacks, size, random))) {
        values.push_back(*value);
      }
    }
    if (!values.empty()) {
      std::sort(values.begin(), values.end());
      threshold_ = values[static_cast<std::size_t>(moodThresholdIndex(mood, static_cast<int>(values.size())))];
      moodApplied_ = true;
    }
  }

  if (slots_.size() != kSlots) slots_.resize(kSlots);  // allocated once, kept for the process
  long long total = 0;
  for (int i = 0; i < kSlots; ++i) {
    PredrawnRack& slot = slots_[static_cast<std::size_t>(i)];
    std::optional<int> value;
    for (int attempt = 0;; ++attempt) {
      slot.rack = drawOpponentRack(unseen, isPrevious(i), knownRacks, size, random);
      value = rate(slot.rack);
      if (!moodApplied_ || attempt >= kMaxRedraws || !moodRejects(mood, threshold_, value)) break;
    }
    slot.value = value.value_or(0);
    slot.order = i;
    total += slot.value;
  }
  meanValue_ = static_cast<double>(total) / kSlots;

  // Two players: sorted by value, then dealt in blocks whose members are
  // spread over the whole table, so that any run of consecutive slots
  // covers the whole range of values.
  if (players == 2) {
    std::sort(slots_.begin(), slots_.end(), [](const PredrawnRack& a, const PredrawnRack& b) { return a.value < b.value; });
    constexpr int kBlocks = kSlots / kBlock;
    std::vector<int> permutation(kBlock);
    for (int block = 0; block < kBlocks; ++block) {
      std::iota(permutation.begin(), permutation.end(), 0);
      for (int k = kBlock - 1; k > 0; --k) {
        std::swap(permutation[static_cast<std::size_t>(k)], permutation[static_cast<std::size_t>(random.next() % (k + 1))]);
      }
      for (int k = 0; k < kBlock; ++k) {
        slots_[static_cast<std::size_t>(block * kBlock + k)].order = permutation[static_cast<std::size_t>(k)] * kBlocks + block;
      }
    }
    std::sort(slots_.begin(), slots_.end(), [](const PredrawnRack& a, const PredrawnRack& b) { return a.order < b.order; });
  }
  active_ = true;
  return true;
}

}  // namespace pexil
