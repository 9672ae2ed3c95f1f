// Reads arbitrary bytes as a square-letter statistics file (".bb") and
// checks the value of every square and letter: none exactly for the
// squares without a table, and no square at all off the board.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lexicon/square_letter_stats.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const pexil::SquareLetterStats stats = pexil::SquareLetterStats::parse(text);
  constexpr int side = pexil::SquareLetterStats::kSide;
  int tables = 0;
  for (int row = 0; row < side; ++row) {
    for (int column = 0; column < side; ++column) {
      const bool table = stats.value(column, row, 0).has_value();
      tables += table;
      for (int letter = 0; letter < 32; ++letter) {
        // A square has a table for every letter or for none.
        if (stats.value(column, row, letter).has_value() != table) __builtin_trap();
      }
      if (stats.value(column, row, -1) || stats.value(column, row, 32)) __builtin_trap();
    }
  }
  if (stats.empty() != (tables == 0)) __builtin_trap();
  for (int far : {-1, side, 1 << 20}) {
    if (stats.value(far, 0, 0) || stats.value(0, far, 0)) __builtin_trap();
  }
  return 0;
}
