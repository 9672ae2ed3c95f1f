// Making the benchmark positions "bench1.pexil" to "bench15.pexil" from
// seeded games of static play on the default English word list: the same
// files on every run with the same list.
#pragma once

#include <cstdint>
#include <string>

#include "state/game.hpp"

namespace pexil {

inline constexpr std::uint32_t kBenchmarkPositionSeed = 20261210;

// What a benchmark position must be for its test: tiles in the bag, blanks
// already on the board (the test rack holds none, so the blanks the mover
// has not seen are the two less these), and room in the bag and the
// mover's rack for the test's rack.
struct BenchmarkPositionNeed {
  int fewestInBag;
  int mostInBag;
  int blanksOnBoard;
};
BenchmarkPositionNeed benchmarkPositionNeed(int position);

// Whether the game, with the player to move, fits position `position`
// (1 to 15) and its test rack.
bool FitsBenchmarkPosition(const Game& game, int position);

// Plays seeded games (strategy: the best static move) and writes each
// position as it first turns up into `folder`. False after printing why
// when the game type or a file fails.
bool WriteBenchmarkPositions(const std::string& folder, std::uint32_t seed = kBenchmarkPositionSeed);

}  // namespace pexil
