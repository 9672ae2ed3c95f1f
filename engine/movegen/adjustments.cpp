#include "movegen/adjustments.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "rules/game_rules.hpp"
#include "tables/board_patterns.hpp"

namespace pexil {
namespace {

std::atomic<int> experimentalFlag{kXpfNone};

// The chance that `draw` tiles drawn from a pool of `poolTotal` tiles hold at
// least one of `wanted` particular tiles.
double chanceOfAny(int wanted, int poolTotal, int draw) {
  if (wanted <= 0 || poolTotal <= 0 || draw <= 0) return 0.0;
  draw = std::min(draw, poolTotal);
  if (poolTotal - wanted < draw) return 1.0;
  double none = 1.0;
  for (int i = 0; i < draw; ++i) none *= static_cast<double>(poolTotal - wanted - i) / (poolTotal - i);
  return 1.0 - none;
}

// floor(10 x value + 0.5). The chances behind the values are computed in
// floating point, so an exact half may come out a hair below it: a tiny
// nudge keeps such ties rounding up, as exact arithmetic would.
int roundedTenths(double value) { return static_cast<int>(std::floor(10.0 * value + 0.5 + 1e-9)); }

bool emptyAt(const Board& board, int column, int row) {
  const Square* s = squareAt(board, column, row);
  return s != nullptr && s->empty();
}

// Squares of a word, in board coordinates.
struct Walker {
  const PlacementShape& shape;
  int column(int i) const { return shape.direction == kAcross ? shape.column + i : shape.column; }
  int row(int i) const { return shape.direction == kAcross ? shape.row : shape.row + i; }
  bool isPlaced(int i) const { return (shape.placed >> i) & 1; }
  bool isBlank(int i) const { return (shape.blanks >> i) & 1; }
  // Whether a square is covered by one of the word's tiles from the rack.
  bool placedAt(int c, int r) const {
    const int i = shape.direction == kAcross ? c - shape.column : r - shape.row;
    const bool onLine = shape.direction == kAcross ? r == shape.row : c == shape.column;
    return onLine && i >= 0 && i < shape.length && isPlaced(i);
  }
};

// The multiplier of a premium square for the exposure term (2, 3 or 4), or 0.
int premiumMultiplier(SquareType type) {
  switch (type) {
    case 2: case 20: return 2;
    case 3: case 30: return 3;
    case 4: case 40: return 4;
    default: return 0;
  }
}

// Empty (or covered by the move) along a stretch of two lines: the line at
// `line` and the one at `next`, over positions from..to of the other axis.
// rowsFixed: the lines are rows (positions are columns).
bool stretchClear(const Board& board, const Walker& w, bool rowsFixed, int line, int next, int from, int to) {
  if (from > to) std::swap(from, to);
  for (int p = from; p <= to; ++p) {
    for (int l : {line, next}) {
      const int c = rowsFixed ? p : l, r = rowsFixed ? l : p;
      if (!emptyAt(board, c, r) && !w.placedAt(c, r)) return false;
    }
  }
  return true;
}

int nearestLaneEnd(int position) {
  // The nearest of 0, 7 and 14.
  if (position <= 3) return 0;
  if (position <= 10) return 7;
  return 14;
}

// Edge lanes: a stretch of the edge line and the line next to it, all
// empty. Halves cover positions 0..7 and 7..14. Middle lanes: positions
// 4..10 of line 4 (with line 3) or of line 10 (with line 11).
bool lineStretchEmpty(const Board& board, bool rowsFixed, int line, int next, int from, int to) {
  for (int p = from; p <= to; ++p) {
    for (int l : {line, next}) {
      if (!emptyAt(board, rowsFixed ? p : l, rowsFixed ? l : p)) return false;
    }
  }
  return true;
}

}  // namespace

int experimentalPlayFlag() { return experimentalFlag.load(std::memory_order_relaxed); }
void setExperimentalPlayFlag(int flag) { experimentalFlag.store(flag, std::memory_order_relaxed); }

void refreshEvaluationContext(Game& game) {
  EvaluationContext& e = game.evaluation;
  const GameRules& r = rules();
  const Board& board = game.board;
  e.standardBoard = hasStandardLayout(board);
  e.standardValues = hasStandardTileSet();
  e.anagram = anagramRule();
  e.experimental = experimentalPlayFlag();
  e.mover = game.toMove;
  e.moverStrategy = game.strategies[static_cast<std::size_t>(game.toMove)];
  e.noLeaveValues = game.toMove >= 0 && game.toMove < kMaxPlayers && game.leaveValuesOff[static_cast<std::size_t>(game.toMove)];
  e.moveNumber = game.moveNumber;
  e.openingReplyHint = game.openingReplyHint;
  e.bagTotal = game.bag.total();
  const GameType* type = activeGameType();
  e.blankValue = type ? type->tileValue[static_cast<std::size_t>(r.blankCode)] : 0;
  int missing = 0;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) missing += std::max(0, r.rackSize - game.racks[static_cast<std::size_t>(p)].total());
  }
  e.moverLead = leadOf(game, game.toMove);
  e.opponentsMissing = missing;

  e.pool = unseenTilesOf(game, game.toMove);
  for (int code = 0; code < kCodeSlots; ++code) {
    e.drawHolds[static_cast<std::size_t>(code)] = chanceOfAny(e.pool[code], e.pool.total(), r.rackSize);
  }
  e.exposureLetterCount = 0;
  for (int letter = 0; letter < r.letterCount; ++letter) {
    if (e.pool[letter] <= 0 || (e.standardBoard && r.letterValue[static_cast<std::size_t>(letter)] < 5)) continue;
    e.exposureLetters[static_cast<std::size_t>(e.exposureLetterCount++)] = static_cast<std::int8_t>(letter);
  }
  // Empty premium squares beside each square, from one pass over the board.
  const int width = board.width, height = board.height;
  const std::size_t size = static_cast<std::size_t>(width * height);
  e.emptyPremium.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    const Square& s = board.squares[i];
    e.emptyPremium[i] = s.empty() && premiumMultiplier(s.type) != 0 ? 1 : 0;
  }
  e.premiumSides[kAcross].resize(size);
  e.premiumSides[kDown].resize(size);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const std::size_t i = static_cast<std::size_t>(column + row * width);
      // Words across: the squares above and below; words down: left and right.
      const std::uint8_t above = row > 0 ? e.emptyPremium[i - static_cast<std::size_t>(width)] : 0;
      const std::uint8_t below = row + 1 < height ? e.emptyPremium[i + static_cast<std::size_t>(width)] : 0;
      const std::uint8_t left = column > 0 ? e.emptyPremium[i - 1] : 0;
      const std::uint8_t right = column + 1 < width ? e.emptyPremium[i + 1] : 0;
      e.premiumSides[kAcross][i] = static_cast<std::uint8_t>(above | (below << 1));
      e.premiumSides[kDown][i] = static_cast<std::uint8_t>(left | (right << 1));
    }
  }

  // Lane flags, on the standard board only.
  for (auto& edge : e.edgeHalfOpen) edge[0] = edge[1] = false;
  std::fill(std::begin(e.middleOpen), std::end(e.middleOpen), false);
  if (e.standardBoard) {
    for (int half = 0; half < 2; ++half) {
      const int from = half == 0 ? 0 : 7, to = half == 0 ? 7 : 14;
      e.edgeHalfOpen[kTopRow][half] = lineStretchEmpty(board, true, 0, 1, from, to);
      e.edgeHalfOpen[kBottomRow][half] = lineStretchEmpty(board, true, 14, 13, from, to);
      e.edgeHalfOpen[kLeftColumn][half] = lineStretchEmpty(board, false, 0, 1, from, to);
      e.edgeHalfOpen[kRightColumn][half] = lineStretchEmpty(board, false, 14, 13, from, to);
    }
    e.middleOpen[kRow4] = lineStretchEmpty(board, true, 4, 3, 4, 10);
    e.middleOpen[kRow10] = lineStretchEmpty(board, true, 10, 11, 4, 10);
    e.middleOpen[kColumn4] = lineStretchEmpty(board, false, 4, 3, 4, 10);
    e.middleOpen[kColumn10] = lineStretchEmpty(board, false, 10, 11, 4, 10);
  }

  // The board-pattern term: the mover's strategy 0, a reference value, and
  // a table that fits the board.
  e.patterns = nullptr;
  e.patternTerm = false;
  if (game.boardPatternFlag && e.moverStrategy == 0 && game.hasPatternReference) {
    const BoardPatterns* patterns = BoardPatterns::loaded();
    if (patterns != nullptr && patterns->fits(board)) {
      e.patterns = patterns;
      e.patternTerm = true;
      e.patternReference = game.patternReference;
      e.cellPattern.assign(static_cast<std::size_t>((board.width - 2) * (board.height - 2)), 0);
      e.patternCounts = e.patternTotals = 0;
      for (int row = 1; row < board.height - 1; ++row) {
        for (int column = 1; column < board.width - 1; ++column) {
          const int cell = patterns->cellOf(column, row);
          const int pattern = BoardPatterns::patternAt(board, column, row);
          e.cellPattern[static_cast<std::size_t>(cell)] = static_cast<std::int16_t>(pattern);
          e.patternCounts += patterns->count(cell, pattern);
          e.patternTotals += patterns->total(cell, pattern);
        }
      }
    }
  }
}

std::optional<int> placementAdjustmentLimit(const Game& game) {
  const EvaluationContext& e = game.evaluation;
  if (e.patternTerm) return std::nullopt;
  int limit = 0;
  if (e.standardBoard && game.lexicon) {
    limit += 10;  // the two-letter shield
    limit += 20;  // a second-line hook: 2q - 3p points at most 2
    // The lane term subtracts a quarter of a value, which may be negative.
    limit += std::max(0, -(game.lexicon->squareLetterStats().lowestValue() >> 2));
  }
  if (e.moveNumber == 1 && e.openingReplyHint) limit += 300;
  if (e.experimental == kXpfCloseBoard) limit += 10;
  return limit;
}

LaneOpening laneOpening(const Game& game, const PlacementShape& shape) {
  const EvaluationContext& e = game.evaluation;
  LaneOpening result;
  if (!e.standardBoard) return result;
  const bool down = shape.direction == kDown;
  // Along the word: positions are rows for a down word, columns for an
  // across word; the word's line is its column or its row.
  const int line = down ? shape.column : shape.row;
  const int start = down ? shape.row : shape.column;
  const int end = start + shape.length - 1;
  auto letterAt = [&](int position) { return codeOfLetter(shape.word[position - start]); };
  auto take = [&](int position) {
    result.found = true;
    result.column = down ? line : position;
    result.row = down ? position : line;
    result.letter = letterAt(position);
    return result;
  };
  // (a) A letter on the edge, away from the triple-word squares, with its
  // half of the edge open; otherwise the middle lanes are looked at.
  if ((start == 0 || end == 14) && line != 0 && line != 7 && line != 14) {
    const int edgePosition = start == 0 ? 0 : 14;
    const Edge edge = down ? (edgePosition == 0 ? kTopRow : kBottomRow) : (edgePosition == 0 ? kLeftColumn : kRightColumn);
    const int half = line <= 6 ? 0 : 1;
    if (e.edgeHalfOpen[edge][half]) return take(edgePosition);
  }
  // (b), (c) A long word across row (column) 4 or 10 near the middle.
  if (shape.length >= 4 && line >= 5 && line <= 9) {
    if (start <= 4 && end >= 4 && e.middleOpen[down ? kRow4 : kColumn4]) return take(4);
    if (start <= 10 && end >= 10 && e.middleOpen[down ? kRow10 : kColumn10]) return take(10);
  }
  return result;
}

int placementAdjustments(const Game& game, const PlacementShape& shape, const LetterCounts& leave, int score) {
  const EvaluationContext& e = game.evaluation;
  const GameRules& r = rules();
  const Board& board = game.board;
  const Lexicon* lexicon = game.lexicon.get();
  const Walker w{shape};
  auto tileValue = [&](int i) {
    return w.isBlank(i) ? e.blankValue : r.letterValue[static_cast<std::size_t>(codeOfLetter(shape.word[i]) & 31)];
  };
  const bool down = shape.direction == kDown;
  const int first = 0, last = shape.length - 1;
  int adjustment = 0;

  const int line = down ? shape.column : shape.row;
  const int startPos = down ? shape.row : shape.column;
  const int endPos = startPos + shape.length - 1;

  if (e.standardBoard) {
    // Two-letter shield: a letter on the second line that nothing can
    // stand in front of (or behind) keeps the edge closed.
    if ((line == 1 || line == 13) && lexicon) {
      bool noPrefixLetter = false, noSuffixLetter = false;
      for (int i = 0; i < shape.length; ++i) {
        if (!w.isPlaced(i)) continue;
        const int code = codeOfLetter(shape.word[i]);
        noPrefixLetter = noPrefixLetter || !lexicon->canEndTwo(code);
        noSuffixLetter = noSuffixLetter || !lexicon->canStartTwo(code);
      }
      if ((noPrefixLetter && line == 1) || (noSuffixLetter && line == 13)) adjustment += 10;
    }

    // Edge-lane exposure: a high tile on the edge beside an open stretch.
    if ((startPos == 0 || endPos == 14) && line != 0 && line != 7 && line != 14) {
      const bool highFirst = w.isPlaced(first) && tileValue(first) >= 6;
      const bool highLast = w.isPlaced(last) && tileValue(last) >= 6;
      if (highFirst && startPos == 0 && stretchClear(board, w, down, 0, 1, line, nearestLaneEnd(line))) adjustment -= 5;
      if (highLast && endPos == 14 && stretchClear(board, w, down, 14, 13, line, nearestLaneEnd(line))) adjustment -= 5;
    }
  }

  // Premium exposure: two-letter plays onto premium squares beside the
  // placed tiles, weighted by the chance the opponent holds the letter.
  if (e.experimental != kXpfNoDangerHooks && e.standardValues && lexicon && e.exposureLetterCount > 0) {
    const std::vector<std::uint8_t>& sides = e.premiumSides[shape.direction];
    int bestGain[32];
    bool any = false;
    for (int i = 0; i < shape.length; ++i) {
      if (!w.isPlaced(i)) continue;
      const std::uint8_t open = sides[static_cast<std::size_t>(w.column(i) + w.row(i) * board.width)];
      if (open == 0) continue;
      const int placed = codeOfLetter(shape.word[i]);
      if (!any) std::fill(std::begin(bestGain), std::end(bestGain), 0);
      any = true;
      for (int side = 0; side < 2; ++side) {
        if (!((open >> side) & 1)) continue;
        const int step = side == 0 ? -1 : 1;
        const Square* s = squareAt(board, w.column(i) + (down ? step : 0), w.row(i) + (down ? 0 : step));
        const int m = premiumMultiplier(s->type);
        for (int k = 0; k < e.exposureLetterCount; ++k) {
          const int letter = e.exposureLetters[static_cast<std::size_t>(k)];
          const int value = r.letterValue[static_cast<std::size_t>(letter)];
          const bool forms = side == 0 ? lexicon->isTwoLetterWord(letter, placed) : lexicon->isTwoLetterWord(placed, letter);
          if (!forms) continue;
          const double gain = (m * 2.0 * value - 26.0) * e.drawHolds[static_cast<std::size_t>(letter)];
          if (gain <= 0) continue;
          bestGain[letter] = std::max(bestGain[letter], roundedTenths(gain));
        }
      }
    }
    if (any) {
      for (int gain : bestGain) adjustment -= gain;
    }
  }

  // Emptying the bag, or nearly: a short leave then waits for tiles that
  // are not there.
  {
    const int remaining = e.bagTotal - e.opponentsMissing;
    if (remaining >= 1 && remaining < r.rackSize && leave.total() < r.rackSize + e.opponentsMissing - e.bagTotal) {
      adjustment -= 20;
    }
  }

  if (e.standardBoard && lexicon) {
    // Hooks on the second line toward an open triple-word square.
    const bool front = startPos == 1, back = endPos == 13;
    if (front || back) {
      const int edge = front ? 0 : 14;
      const int wordPos = front ? 1 : 13;  // the word's letter on the second line
      auto tripleOpen = [&](int position) {
        return emptyAt(board, down ? position : edge, down ? edge : position);
      };
      bool reach;
      if (line <= 2) {
        reach = tripleOpen(0);
      } else if (line <= 6) {
        reach = tripleOpen(0) || tripleOpen(7);
      } else if (line <= 11) {
        reach = tripleOpen(7) || tripleOpen(14);
      } else {
        reach = tripleOpen(14);
      }
      const int sideA = line - 1, sideB = line + 1;
      const bool sidesEmpty = emptyAt(board, down ? sideA : wordPos, down ? wordPos : sideA) &&
                              emptyAt(board, down ? sideB : wordPos, down ? wordPos : sideB);
      if (reach && sidesEmpty) {
        const EntryIndex entry =
            shape.entry != kNoEntry ? shape.entry : lexicon->findEntry(std::string_view(shape.word, static_cast<std::size_t>(shape.length)));
        const std::uint32_t hooks = lexicon->hookLetters(entry);
        int inPool = e.pool[r.blankCode], onLeave = leave[r.blankCode];
        for (int letter = 0; letter < r.letterCount; ++letter) {
          if (!((hooks >> letter) & 1)) continue;
          inPool += e.pool[letter];
          onLeave += leave[letter];
        }
        const double p = chanceOfAny(inPool, e.pool.total(), r.rackSize);
        const double q = onLeave > 0 ? 1.0 : chanceOfAny(inPool, e.pool.total(), r.rackSize - leave.total());
        adjustment += roundedTenths(2.0 * q - 3.0 * p);
      }
    }

    // Lane statistics: a quarter of the square-letter value of the lane
    // the move opens.
    const LaneOpening lane = laneOpening(game, shape);
    if (lane.found) {
      if (const auto value = lexicon->squareLetterStats().value(lane.column, lane.row, lane.letter)) adjustment -= *value >> 2;
    }
  }

  // The reply to an opening exchange or pass: a big score now.
  if (e.moveNumber == 1 && e.openingReplyHint && score >= 40) adjustment += 300;

  // Closing the board while well ahead.
  if (e.experimental == kXpfCloseBoard && e.standardValues && e.moverLead >= r.bingoBonus) {
    const int n = shape.length;
    auto occupied = [&](int sideLine, int position) {
      const Square* s = down ? squareAt(board, sideLine, position) : squareAt(board, position, sideLine);
      return s != nullptr && !s->empty();
    };
    int left = 0, right = 0;
    for (int p = startPos; p < startPos + n; ++p) {
      left += occupied(line - 1, p);
      right += occupied(line + 1, p);
    }
    // The busier side: the left one when it holds strictly more tiles.
    const bool useLeft = left > right;
    const int side = useLeft ? line - 1 : line + 1;
    const int m = useLeft ? left : right;
    const bool firstTwoEmpty = !occupied(side, startPos) && !occupied(side, startPos + 1);
    const bool lastTwoEmpty = !occupied(side, startPos + n - 1) && !occupied(side, startPos + n - 2);
    if (!(m < 2 || m < n - 2 || firstTwoEmpty || lastTwoEmpty)) adjustment += 10;
  }

  // The board-pattern term: the position's value with the move laid,
  // against the value after the last move.
  if (e.patternTerm) {
    const BoardPatterns& patterns = *e.patterns;
    // Interior cells whose 3x3 neighbourhood gains a tile, with the bits
    // they gain.
    int cells[kMaxWordLength * 9], added[kMaxWordLength * 9], touched = 0;
    for (int i = 0; i < shape.length; ++i) {
      if (!w.isPlaced(i)) continue;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int cell = patterns.cellOf(w.column(i) - dx, w.row(i) - dy);
          if (cell < 0) continue;
          const int bit = 1 << (3 * (dy + 1) + (dx + 1));
          int k = 0;
          while (k < touched && cells[k] != cell) ++k;
          if (k == touched) {
            cells[touched] = cell;
            added[touched++] = 0;
          }
          added[k] |= bit;
        }
      }
    }
    long long a = e.patternCounts, b = e.patternTotals;
    for (int k = 0; k < touched; ++k) {
      const int before = e.cellPattern[static_cast<std::size_t>(cells[k])];
      const int after = before | added[k];
      a += patterns.count(cells[k], after) - patterns.count(cells[k], before);
      b += patterns.total(cells[k], after) - patterns.total(cells[k], before);
    }
    const int value = a == 0 ? 0 : static_cast<int>(10 * b / a);
    adjustment += e.patternReference - value;
  }
  return adjustment;
}

}  // namespace pexil
