// The statistics a simulation gathers for one candidate move beyond its
// means: what the results view and the reports show (medians, quartiles,
// reply shares). A move refers to its record by index in its game's store;
// the records are released with the main move list.
#pragma once

#include <cstdint>
#include <vector>

namespace pexil {

struct SimulationStats {
  std::vector<float> spreads;  // the outcome of each iteration
  std::vector<float> wins;     // 0 or 100 per iteration (the win outcome)
  int iterations = 0;
  int opponentBingos = 0;      // replies that used every tile
  int opponentExchanges = 0;   // replies that passed or exchanged
  int nextTurnBingos = 0;
  bool inUse = false;          // a free record waits for the next candidate
};

// The game's records and their free places.
struct SimulationStatsStore {
  std::vector<SimulationStats> records;
  std::vector<std::int32_t> free;
};

}  // namespace pexil
