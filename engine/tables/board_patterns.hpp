// Board-pattern statistics ("boardsim.scr" beside the program): for every
// interior square of the board and every 3x3 occupancy pattern around it,
// how often the pattern was seen and the points scored on the next turn.
// The board-pattern value of a position is 10 x (sum of totals) / (sum of
// counts) over the patterns its interior squares show.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "rules/board.hpp"

namespace pexil {

class BoardPatterns {
 public:
  static constexpr int kPatterns = 512;

  // Reads the file's text: width and height, then records of four
  // integers (cell, pattern, count, total). Records out of range are
  // skipped; none when the header is missing or absurd.
  static std::optional<BoardPatterns> parse(std::string_view text);

  // The table read from "boardsim.scr" on first use; null without one.
  static const BoardPatterns* loaded();
  // Forgets the loaded table so the next use reads the file again (tests).
  static void reset();

  int width() const { return width_; }
  int height() const { return height_; }
  bool fits(const Board& board) const { return board.width == width_ && board.height == height_; }

  // The cell of an interior square (neither on the first nor the last row
  // or column), or -1.
  int cellOf(int column, int row) const {
    if (column < 1 || row < 1 || column > width_ - 2 || row > height_ - 2) return -1;
    return (row - 1) * (width_ - 2) + (column - 1);
  }
  long long count(int cell, int pattern) const { return counts_[index(cell, pattern)]; }
  long long total(int cell, int pattern) const { return totals_[index(cell, pattern)]; }

  // The 3x3 occupancy pattern around an interior square of a board.
  static int patternAt(const Board& board, int column, int row);
  // The board-pattern value of a position.
  int value(const Board& board) const;

 private:
  std::size_t index(int cell, int pattern) const {
    return static_cast<std::size_t>(cell) * kPatterns + static_cast<std::size_t>(pattern);
  }
  int width_ = 0, height_ = 0;
  std::vector<long long> counts_, totals_;
};

}  // namespace pexil
