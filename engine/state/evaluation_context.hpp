// What the static evaluation of placements needs to know about the
// position, worked out once per generation rather than once per move.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "rules/tile_counts.hpp"

namespace pexil {

class BoardPatterns;

// The experimental play flag the evaluation reads: -1 off, or one of these.
enum ExperimentalPlay : int {
  kXpfNone = -1,
  kXpfNoDangerHooks = 0,  // no premium-exposure term
  kXpfCloseBoard = 1,     // a bonus for moves that close the board when well ahead
  kXpfSetupTileGuesses = 2,
};

// Lanes toward triple-word squares whose opening the lane term watches.
// Edge lanes: the first and last row (for words played down) and the first
// and last column (for words played across), each in two halves.
enum Edge : int { kTopRow = 0, kBottomRow = 1, kLeftColumn = 2, kRightColumn = 3 };
// Middle lanes: rows 4 and 10 (words played down), columns 4 and 10 (words
// played across).
enum MiddleLane : int { kRow4 = 0, kRow10 = 1, kColumn4 = 2, kColumn10 = 3 };

struct EvaluationContext {
  bool standardBoard = false;   // the standard 15x15 layout of bonus squares
  bool standardValues = false;  // standard letter values and counts
  bool anagram = false;
  int experimental = kXpfNone;
  int mover = 0;
  int moverStrategy = 0;
  bool noLeaveValues = false;  // the mover plays with every leave value 0
  int moveNumber = 0;
  bool openingReplyHint = false;
  int moverLead = 0;  // over the best opponent
  int bagTotal = 0;
  int blankValue = 0;  // points of a blank in this game type
  int opponentsMissing = 0;  // tiles the opponents' racks lack of a full rack

  LetterCounts pool;  // the mover's unseen tiles
  // The chance that a rack-size draw from the pool holds at least one tile
  // of the letter.
  std::array<double, 32> drawHolds{};

  // Letters the premium-exposure term weighs: unseen, and on the standard
  // board worth 5 or more.
  std::array<std::int8_t, 32> exposureLetters{};
  int exposureLetterCount = 0;

  // Per square and direction of play: bit 0 when the square before it
  // across the line (above, or to the left) is an empty premium square,
  // bit 1 for the square after it.
  std::vector<std::uint8_t> premiumSides[2];
  std::vector<std::uint8_t> emptyPremium;  // per square: empty, and a premium square

  // Lane flags (standard board only): true when the lane is open.
  bool edgeHalfOpen[4][2] = {};
  bool middleOpen[4] = {};

  // The board-pattern term: the pattern of every interior square now, and
  // the sums its patterns select.
  bool patternTerm = false;
  const BoardPatterns* patterns = nullptr;
  int patternReference = 0;
  long long patternCounts = 0;
  long long patternTotals = 0;
  std::vector<std::int16_t> cellPattern;
};

}  // namespace pexil
