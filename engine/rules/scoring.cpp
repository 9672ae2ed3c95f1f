#include "rules/scoring.hpp"

#include <algorithm>
#include <climits>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"

namespace pexil {
namespace {

// Scores the run of tiles containing the first new tile met along a line.
// `at(i)` gives the i-th square of the line (null past its end). Sums are
// kept in 64 bits and clamped, so that extreme multipliers of custom game
// types cannot overflow.
template <class At>
int scoreLine(int length, At at) {
  int runStart = 0;
  for (int i = 0; i < length; ++i) {
    const Square& s = *at(i);
    if (s.empty()) {
      runStart = i + 1;
      continue;
    }
    if (s.placedMark != kNewTileMark) continue;
    long long letterSum = 0;
    long long wordFactor = 1;
    int tiles = 0;
    for (int k = runStart; k < length && !at(k)->empty(); ++k) {
      const Square& t = *at(k);
      const long long value = letterValue(t.letter, t.isBlank != 0);
      letterSum += value;
      ++tiles;
      if (t.placedMark != kNewTileMark) continue;
      const SquareType type = t.type;
      if (type == 0 || type == 1 || type == square::empty) continue;
      if (type >= -9 && type <= 19) {
        letterSum += value * (type - 1);
      } else {
        wordFactor = std::clamp(wordFactor * (type / 10), -1000000000LL, 1000000000LL);
      }
    }
    if (tiles < 2) return 0;
    return static_cast<int>(std::clamp(letterSum * wordFactor, static_cast<long long>(INT_MIN) / 4,
                                       static_cast<long long>(INT_MAX) / 4));
  }
  return 0;
}

}  // namespace

int scoreRow(const Board& board, int row) {
  if (row < 0 || row >= board.height || !board.rowHasNew[static_cast<std::size_t>(row)]) return 0;
  return scoreLine(board.width, [&](int i) { return squareAt(board, i, row); });
}

int scoreColumn(const Board& board, int column) {
  if (column < 0 || column >= board.width || !board.columnHasNew[static_cast<std::size_t>(column)]) return 0;
  return scoreLine(board.height, [&](int i) { return squareAt(board, column, i); });
}

int playScore(const Board& board, int direction, int column, int row, int length) {
  long long total = 0;
  if (direction == kAcross) {
    total += scoreRow(board, row);
    for (int c = column; c < column + length; ++c) total += scoreColumn(board, c);
  } else {
    total += scoreColumn(board, column);
    for (int r = row; r < row + length; ++r) total += scoreRow(board, r);
  }
  return static_cast<int>(std::clamp(total, static_cast<long long>(INT_MIN) / 2, static_cast<long long>(INT_MAX) / 2));
}

int playScoreAll(const Board& board) {
  long long total = 0;
  for (int r = 0; r < board.height; ++r) total += scoreRow(board, r);
  for (int c = 0; c < board.width; ++c) total += scoreColumn(board, c);
  return static_cast<int>(std::clamp(total, static_cast<long long>(INT_MIN) / 2, static_cast<long long>(INT_MAX) / 2));
}

int bingoBonusFor(int tilesFromRack) {
  const GameRules& r = rules();
  return tilesFromRack == r.rackSize ? r.bingoBonus : 0;
}

int layTentative(Board& board, std::string_view word, int column, int row, int direction,
                 std::span<const int> blankPositions) {
  int laid = 0;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int c = direction == kAcross ? column + static_cast<int>(i) : column;
    const int r = direction == kAcross ? row : row + static_cast<int>(i);
    Square* s = squareAt(board, c, r);
    if (s == nullptr || !s->empty()) continue;
    s->letter = latin1Lower(word[i]);
    s->placedMark = kNewTileMark;
    s->isBlank = std::find(blankPositions.begin(), blankPositions.end(), static_cast<int>(i)) != blankPositions.end();
    board.columnHasNew[static_cast<std::size_t>(c)] = 1;
    board.rowHasNew[static_cast<std::size_t>(r)] = 1;
    ++laid;
  }
  return laid;
}

void liftTentative(Board& board, std::string_view word, int column, int row, int direction) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int c = direction == kAcross ? column + static_cast<int>(i) : column;
    const int r = direction == kAcross ? row : row + static_cast<int>(i);
    Square* s = squareAt(board, c, r);
    if (s == nullptr || s->placedMark != kNewTileMark) continue;
    s->letter = ' ';
    s->placedMark = kEmptyMark;
    s->isBlank = 0;
  }
  clearNewFlags(board);
}

}  // namespace pexil
