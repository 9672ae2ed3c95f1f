#include "rules/board.hpp"

#include <algorithm>

#include "rules/builtin_kinds.hpp"
#include "rules/game_rules.hpp"

namespace pexil {
namespace {

bool isOpenBonus(const Square* s) {
  return s != nullptr && s->empty() && s->type >= 2 && s->type <= 990;
}

}  // namespace

void buildBoard(Board& board) {
  const GameRules& r = rules();
  board.width = r.width;
  board.height = r.height;
  const auto size = static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height);
  board.squares.assign(size, Square{});
  board.transposed.assign(size, Square{});
  for (int row = 0; row < board.height; ++row) {
    for (int column = 0; column < board.width; ++column) {
      Square& s = *squareAt(board, column, row);
      s.type = squareType(row, column);
      s.usable = s.type == square::empty ? 0 : 1;
    }
  }
  if (Square* start = squareAt(board, r.startColumn, r.startRow)) {
    const std::uint32_t allLetters = r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u;
    for (int d = 0; d < 2; ++d) {
      start->crossSet[d] = allLetters;
      start->hasCrossNeighbours[d] = 1;
      start->fitCount[d] = r.letterCount;
    }
  }
  updateNearOpenBonus(board);
  board.columnHasNew.assign(static_cast<std::size_t>(board.width), 0);
  board.rowHasNew.assign(static_cast<std::size_t>(board.height), 0);
}

void transpose(Board& board) {
  board.transposed.resize(board.squares.size());
  for (int row = 0; row < board.height; ++row) {
    for (int column = 0; column < board.width; ++column) {
      board.transposed[static_cast<std::size_t>(row + column * board.height)] =
          board.squares[static_cast<std::size_t>(column + row * board.width)];
    }
  }
  std::swap(board.width, board.height);
  board.squares.swap(board.transposed);
  board.columnHasNew.swap(board.rowHasNew);
}

void updateNearOpenBonus(Board& board) {
  for (int row = 0; row < board.height; ++row) {
    for (int column = 0; column < board.width; ++column) {
      Square& s = *squareAt(board, column, row);
      const bool open = s.empty();
      s.nearOpenBonusV = open && (isOpenBonus(squareAt(board, column, row - 1)) || isOpenBonus(squareAt(board, column, row + 1)));
      s.nearOpenBonusH = open && (isOpenBonus(squareAt(board, column - 1, row)) || isOpenBonus(squareAt(board, column + 1, row)));
    }
  }
}

void clearNewFlags(Board& board) {
  std::fill(board.columnHasNew.begin(), board.columnHasNew.end(), 0);
  std::fill(board.rowHasNew.begin(), board.rowHasNew.end(), 0);
}

bool boardIsEmpty(const Board& board) {
  for (const Square& s : board.squares) {
    if (!s.empty()) return false;
  }
  return true;
}

bool hasStandardLayout(const Board& board) {
  if (board.width != 15 || board.height != 15) return false;
  for (int row = 0; row < 15; ++row) {
    for (int column = 0; column < 15; ++column) {
      if (board.squares[static_cast<std::size_t>(column + row * 15)].type != builtin::standardBoard(row, column)) return false;
    }
  }
  return true;
}

bool isDiagonallySymmetric(const Board& board) {
  if (board.width != board.height) return false;
  for (int row = 0; row < board.height; ++row) {
    for (int column = 0; column < row; ++column) {
      if (board.squares[static_cast<std::size_t>(column + row * board.width)].type !=
          board.squares[static_cast<std::size_t>(row + column * board.width)].type) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace pexil
