// Reads arbitrary bytes as a board-pattern statistics file ("boardsim.scr")
// and values a few boards of the table's size with it: empty, full, a
// checkerboard and boards filled from the input.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "rules/board.hpp"
#include "tables/board_patterns.hpp"

namespace {

pexil::Board boardOf(int width, int height) {
  pexil::Board board;
  board.width = width;
  board.height = height;
  board.squares.assign(static_cast<std::size_t>(width * height), pexil::Square{});
  return board;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto table = pexil::BoardPatterns::parse(text);
  if (!table) return 0;
  const int width = table->width(), height = table->height();
  if (width < 3 || height < 3 || width > 32 || height > 32) __builtin_trap();

  pexil::Board board = boardOf(width, height);
  (void)table->value(board);
  for (int fill = 0; fill < 4; ++fill) {
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        const std::size_t i = static_cast<std::size_t>(column + row * width);
        bool tile = false;
        switch (fill) {
          case 0: tile = true; break;
          case 1: tile = (row + column) % 2 == 0; break;
          default: tile = size > 0 && (data[(i * 7 + static_cast<std::size_t>(fill)) % size] & 1) != 0; break;
        }
        board.squares[i].letter = tile ? 'a' : ' ';
      }
    }
    (void)table->value(board);
    // Every interior square's pattern is a 9-bit value and its cell is on
    // the table.
    for (int row = 1; row < height - 1; ++row) {
      for (int column = 1; column < width - 1; ++column) {
        const int pattern = pexil::BoardPatterns::patternAt(board, column, row);
        const int cell = table->cellOf(column, row);
        if (pattern < 0 || pattern >= pexil::BoardPatterns::kPatterns || cell < 0 || cell >= (width - 2) * (height - 2)) {
          __builtin_trap();
        }
        if (table->count(cell, pattern) < 0) __builtin_trap();
      }
    }
  }
  // A board of another size is worth 0.
  if (table->value(boardOf(width + 1, height)) != 0) __builtin_trap();
  return 0;
}
