// The board and its squares.
#pragma once

#include <cstdint>
#include <vector>

#include "rules/square_types.hpp"

namespace pexil {

class Lexicon;

// Marks of `Square::placedMark`.
inline constexpr int kEmptyMark = -1;
inline constexpr int kNewTileMark = -999;  // a tile of the play being scored

enum Direction : int { kAcross = 0, kDown = 1 };

// One board square. The paired annotations are indexed by direction:
// 0 for plays across, 1 for plays down.
struct Square {
  char letter = ' ';  // ' ' when empty, else the lower-case one-character form
  SquareType type = square::plain;
  int placedMark = kEmptyMark;  // move number that placed the tile, or a mark above
  std::uint32_t crossSet[2] = {0, 0};  // one bit per letter code
  std::uint32_t phonySet[2] = {0, 0};
  std::uint8_t hasCrossNeighbours[2] = {0, 0};
  std::uint8_t noLetterFits[2] = {0, 0};
  int onlyLetter[2] = {0, 0};  // a character, or 0
  int fitCount[2] = {0, 0};
  std::uint8_t isBlank = 0;
  std::uint8_t nearOpenBonusV = 0;  // empty, with an empty bonus square above or below
  std::uint8_t nearOpenBonusH = 0;  // empty, with an empty bonus square left or right
  std::uint8_t usable = 1;          // 0 for squares outside the playing area

  bool empty() const { return letter == ' '; }
};

struct Board {
  int width = 0;
  int height = 0;
  std::vector<Square> squares;     // row-major: (column c, row r) is c + r * width
  std::vector<Square> transposed;  // scratch for transpose()
  const Lexicon* lexicon = nullptr;  // cross sets are computed against it
  std::vector<std::uint8_t> columnHasNew;  // width entries
  std::vector<std::uint8_t> rowHasNew;     // height entries
  // Phony-class cross-words shorter than this are not accepted when the
  // board is annotated (999: none are).
  int phonyLengthLimit = 999;
};

// (Re)creates the squares for the active rules: empty squares of the active
// board's types, the start square open in both directions, the near-bonus
// flags computed.
void buildBoard(Board& board);

// The square, or null outside the board.
inline Square* squareAt(Board& board, int column, int row) {
  if (column < 0 || row < 0 || column >= board.width || row >= board.height) return nullptr;
  return &board.squares[static_cast<std::size_t>(column + row * board.width)];
}
inline const Square* squareAt(const Board& board, int column, int row) {
  if (column < 0 || row < 0 || column >= board.width || row >= board.height) return nullptr;
  return &board.squares[static_cast<std::size_t>(column + row * board.width)];
}

// Mirrors the board on its diagonal; twice restores it.
void transpose(Board& board);

// Facts about the board's own square types (cheaper than asking the rules,
// which look the active game type up square by square): the standard
// 15x15 layout, and symmetry about the main diagonal.
bool hasStandardLayout(const Board& board);
// No tile anywhere on the board. A board can hold tiles while its start
// square is empty (a position typed in or read from a file), and is then
// no opening position.
bool boardIsEmpty(const Board& board);
bool isDiagonallySymmetric(const Board& board);

// Recomputes the near-open-bonus flags of every square.
void updateNearOpenBonus(Board& board);

// Clears the row and column flags of new tiles.
void clearNewFlags(Board& board);

}  // namespace pexil
