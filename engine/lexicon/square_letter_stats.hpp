// Square-letter statistics of a word list (its ".bb" companion file): per
// square of the standard board and letter, the points opponents went on to
// score through lanes a tile of that letter opened there, as tenths of a
// point relative to the mean.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace pexil {

class SquareLetterStats {
 public:
  static constexpr int kSide = 15;

  // Reads whitespace-separated records of five integers: letter code,
  // column, row, count, total. Records out of range, and trailing partial
  // records, are skipped. Then normalises: pairs seen 10 or more times get
  // 10 x total / count minus the overall mean (in tenths), rarer ones 0.
  static SquareLetterStats parse(std::string_view text);

  bool empty() const { return squaresWithTable_ == 0; }
  // The value in tenths, or none when the square has no table.
  std::optional<int> value(int column, int row, int letter) const;
  // The lowest value of any square and letter (0 when none is lower).
  int lowestValue() const { return lowest_; }

 private:
  struct Pair {
    long long count = 0;
    long long total = 0;
  };
  std::array<std::array<Pair, 32>, kSide * kSide> pairs_{};
  std::array<bool, kSide * kSide> hasTable_{};
  int squaresWithTable_ = 0;
  int lowest_ = 0;
};

}  // namespace pexil
