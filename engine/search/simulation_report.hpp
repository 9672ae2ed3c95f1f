// The statistics lines of a simulated move (the results view's lower part
// and the move analysis): means with their intervals, medians and
// quartiles, what the replies and the next moves were worth, and the
// replies and next moves seen most.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "state/game.hpp"

namespace pexil {

// The heading of the results table for the game's mode.
std::string SimulationResultsHeading(const Game& game);

// The lines for the move (empty when it has no statistics record).
std::vector<std::string> SimulationStatsLines(const Game& game, const Move& move);

// Prints them through the text pane.
void PrintSimulationStats(const Game& game, const Move& move);

// The q-quantile (0..1) of the values by the nearest rank (0 for none).
template <typename Value>
Value Quantile(std::vector<Value> values, double q) {
  if (values.empty()) return Value{};
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
  return values[std::min(values.size() - 1, rank == 0 ? 0 : rank - 1)];
}

}  // namespace pexil
