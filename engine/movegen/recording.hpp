// Internal pieces shared by the generators and the whole-board driver.
#pragma once

#include <optional>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

// Records a placement whose score (bingo included) is already known, or
// is scored on the board when none is given.
void recordPlacementWith(Game& game, Move& move, bool bestOnly, std::optional<int> knownScore);
void recordScoredPlacement(Game& game, Move& move, bool bestOnly, int score);
// The common end of recording: the going-out bonus, equity, and the move
// list or the best-only comparison. `adjustment` is the leave value plus
// the static adjustments, in tenths.
void finishPlacement(Game& game, Move& move, int tiles, int adjustment, bool bestOnly);

// Whether placement a comes before placement b, both from the same first
// square and direction, in the order the walk finds them.
bool walkOrderBefore(const Move& a, const Move& b);

// The first-square generator over every square of the board: the opening
// direction first, the other one too unless onlyOpening.
void GenerateFromEverySquare(Game& game, bool bestOnly, bool onlyOpening, int opening);

// The order in which full generation visits a first square: column by
// column, row by row, the opening direction (pass 0) before the other.
int squareOrder(const Board& board, int column, int row, int pass);

// How best-only generation bounds the placements of a first square: by
// points (the highest-scoring move) or by equity, with the most the board
// adjustments can add.
struct BoundRule {
  bool byScore = false;
  int adjustmentLimit = 0;
};

// Best-only generation over every first square, the highest bound first,
// stopping when no bound left can beat the best move found (ties as the
// full list would settle them). Gives the same best move as
// GenerateFromEverySquare.
void GenerateBestByBounds(Game& game, bool onlyOpening, int opening, const BoundRule& rule);

}  // namespace pexil
