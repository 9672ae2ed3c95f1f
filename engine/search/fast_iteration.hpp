// One iteration of the fast lookahead on a candidate's own game copy: the
// opponents' racks from the pre-drawn table (or drawn at random, the
// previous player's from the known racks), the candidate and then
// best-only moves played silently to the horizon, the outcome as spread,
// win and mixed values, and the opponent's reply and the player's next
// move recorded for the statistics (and the heat maps).
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "search/predrawn_racks.hpp"
#include "search/simulation.hpp"
#include "state/game.hpp"
#include "state/simulation_stats.hpp"
#include "tables/win_prob.hpp"

namespace pexil {

struct FastOutcome {
  float spread = 0;
  float win = 0;    // 0..100
  float mixed = 0;  // the mixed optimisation's value: win + spread / 10
};

// What a candidate's iterations need besides the game: where it reads the
// pre-drawn table, its scratch snapshot, and its statistics record.
struct FastIterationState {
  int rackCursor = 0;
  PositionSnapshot snapshot;
  SimulationStats stats;
  std::unordered_map<std::uint64_t, std::size_t> replyIndex;
  std::unordered_map<std::uint64_t, std::size_t> nextIndex;
};

struct FastIterationSetup {
  const PredrawnRacks* racks = nullptr;         // null or inactive: random racks
  const std::vector<Rack>* knownRacks = nullptr;  // for the previous player without the table
  const WinProbTable* table = nullptr;
  bool heatMaps = false;
};

// The win outcome (0..100) at the horizon for `player`, the simulating
// player: a plain win or loss without the tables; with them, the two-player
// table read for whoever has just moved, or for three and four players the
// simulating player's spread with the scores of the players still to move
// before it estimated.
double FastHorizonWin(Game& game, int player, const WinProbTable* table);

FastOutcome RunFastIteration(Game& game, const Move& candidate, const FastIterationSetup& setup, FastIterationState& state);

// Adds the move to the tallies of one kind (keyed by word, square and
// direction) and to the heat map when there is one.
void RecordSeenMove(std::vector<SeenMove>& seen, std::unordered_map<std::uint64_t, std::size_t>& index,
                    const Move& move, const Rack& rackBefore);
void RecordHeat(HeatMap& map, const Move& move, bool bingo);

}  // namespace pexil
