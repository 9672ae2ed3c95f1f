// Endgame positions for benchmarks: seeded two-player games of static
// self-play (strategy 2 against 2) played until the bag holds a given
// number of tiles. The same seeds give the same positions on every run
// with the same word list and tables.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "state/game.hpp"

namespace pexil::cli {

struct EndgamePosition {
  Game game;
  std::uint32_t seed = 0;
};

// `count` positions with exactly `bagTiles` tiles in the bag, the game
// not over, from the seeds firstSeed, firstSeed + 1, ... (a game that
// skips past that bag size, or ends first, is left out). Moves are played
// silently; the pane's lines are held back meanwhile.
std::vector<EndgamePosition> EndgameBenchPositions(const std::shared_ptr<Lexicon>& lexicon, int count, int bagTiles,
                                                   std::uint32_t firstSeed);

}  // namespace pexil::cli
