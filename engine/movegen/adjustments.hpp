// The board adjustments of a placement's static value, in tenths of a
// point: two-letter shields, edge-lane and premium exposure, emptying the
// bag, hooks on the second line, lane statistics, the opening reply, board
// closing and the board-pattern term.
#pragma once

#include <cstdint>
#include <optional>

#include "state/game.hpp"

namespace pexil {

// The experimental play flag (ExperimentalPlay, state/evaluation_context.hpp)
// the evaluation context takes up: process-wide, kXpfNone unless set.
int experimentalPlayFlag();
void setExperimentalPlayFlag(int flag);

struct PlacementShape {
  const char* word = nullptr;
  EntryIndex entry = kNoEntry;  // the word's lexicon entry, when known
  int length = 0;
  int column = 0;
  int row = 0;
  int direction = 0;
  std::uint32_t placed = 0;  // bit i: word letter i is a tile from the rack
  std::uint32_t blanks = 0;  // bit i: that tile is a blank
};

// Works out the position's evaluation context (game.evaluation) for the
// player to move.
void refreshEvaluationContext(Game& game);

// The sum of the adjustments for a placement on the game's board, given
// the tiles it leaves and its score. The squares the placement covers may
// hold its tiles or be empty: they are not read. The game's evaluation
// context must be current.
int placementAdjustments(const Game& game, const PlacementShape& shape, const LetterCounts& leave, int score);

// The most placementAdjustments can add for any placement in the current
// evaluation context, or none when a term has no simple limit (the
// board-pattern term).
std::optional<int> placementAdjustmentLimit(const Game& game);

// The lane of the lane-statistics term that a placement opens, if any: the
// square and the letter standing there. Exposed for tests.
struct LaneOpening {
  bool found = false;
  int column = 0;
  int row = 0;
  int letter = 0;
};
LaneOpening laneOpening(const Game& game, const PlacementShape& shape);

}  // namespace pexil
