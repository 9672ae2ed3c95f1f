// The fast lookahead's pre-drawn opponent racks: a table of racks drawn
// once per simulation from the unseen tiles, for the opponents in turn,
// optionally biased by a mood (optimistic moods give the opponents only
// racks below a value threshold, pessimistic ones only racks above it).
// The table is allocated on first use and kept for the process; one
// simulation uses it at a time (`lock()`).
#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "rules/tile_counts.hpp"
#include "state/game.hpp"

namespace pexil {

struct PredrawnRack {
  Rack rack;
  int value = 0;  // the rack's value, tenths of a point (0 when unknown)
  int order = 0;  // the interleaving key
};

class PredrawnRacks {
 public:
  static constexpr int kSlots = 32000;
  static constexpr int kMoodSamples = 1000;
  static constexpr int kBlock = 400;

  // Fills the table for the player to move of `game`: every slot a rack
  // for the next opponent in turn (the previous player's from `knownRacks`
  // when given, completed at random). False, with the table left empty,
  // when the game has open racks or a single player, or (with
  // `sortRacksPeg` off) 10 or fewer tiles are in the bag.
  // `value` rates a rack (tenths; none when unknown): the rack tables'
  // value unless given.
  using RackValue = std::optional<int> (*)(const Rack&);
  bool build(const Game& game, const std::vector<Rack>& knownRacks, int mood, GameRandom& random,
             RackValue value = nullptr);

  bool active() const { return active_; }
  int size() const { return active_ ? kSlots : 0; }
  const PredrawnRack& slot(int index) const { return slots_[static_cast<std::size_t>(index % kSlots)]; }
  // The opponents the slots were drawn for, in turn order from the player
  // after the mover: slot i is for opponent i % opponents.
  int opponents() const { return opponents_; }
  // The mean rack value over the table, tenths of a point.
  double meanValue() const { return meanValue_; }
  // The mood threshold in tenths (meaningful with a mood), and whether a
  // mood was applied.
  int threshold() const { return threshold_; }
  bool moodApplied() const { return moodApplied_; }

  static std::mutex& lock();

 private:
  std::vector<PredrawnRack> slots_;
  bool active_ = false;
  int opponents_ = 1;
  double meanValue_ = 0;
  int threshold_ = 0;
  bool moodApplied_ = false;
};

// The process-wide table (created on first use).
PredrawnRacks& predrawnRacks();

// The value of an opponent's rack in tenths of a point: the full-rack
// table's for a full rack, the leave table's otherwise; none when neither
// knows it.
std::optional<int> opponentRackValue(const Rack& rack);

// The position of the mood's threshold among n sorted values: 0.8 n for
// +1, 0.6 n for +2 and -3, 0.4 n for +3 and -2, 0.2 n for -1.
int moodThresholdIndex(int mood, int n);

}  // namespace pexil
