// The statistics lines of a simulated move (the results view's lower part
// and the move analysis): means with their intervals, medians and
// quartiles, what the replies and the next moves were worth, and the
// replies and next moves seen most.
#pragma once

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

// The q-quantile (0..1) of the values by the nearest rank.
float Quantile(std::vector<float> values, double q);

}  // namespace pexil
