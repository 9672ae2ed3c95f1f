#include "rules/builtin_kinds.hpp"

namespace pexil::builtin {
namespace {

constexpr LetterTable letters(std::array<int, 27> values) {
  LetterTable table{};
  for (std::size_t i = 0; i < values.size(); ++i) table[i] = values[i];
  return table;
}

// T triple word, D double word, Q quadruple word, t triple letter,
// d double letter, q quadruple letter, . plain.
constexpr const char* kStandard[15] = {
    "T..d...T...d..T", ".D...t...t...D.", "..D...d.d...D..", "d..D...d...D..d", "....D.....D....",
    ".t...t...t...t.", "..d...d.d...d..", "T..d...D...d..T", "..d...d.d...d..", ".t...t...t...t.",
    "....D.....D....", "d..D...d...D..d", "..D...d.d...D..", ".D...t...t...D.", "T..d...T...d..T",
};

constexpr const char* kAlternative[15] = {
    "...T..t.t..T...", "..d..D...D..d..", ".d..d.....d..d.", "T..t...D...t..T", "..d...d.d...d..",
    ".D...t...t...D.", "t...d.....d...t", "...D.......D...", "t...d.....d...t", ".D...t...t...D.",
    "..d...d.d...d..", "T..t...D...t..T", ".d..d.....d..d.", "..d..D...D..d..", "...T..t.t..T...",
};

constexpr const char* kSuper[21] = {
    "Q..d...T..d..T...d..Q", ".D..t...D...D...t..D.", "..D..q...D.D...q..D..", "d..T..d...T...d..T..d",
    ".t..D...t...t...D..t.", "..q..D...d.d...D..q..", "...d..D...d...D..d...", "T......D.....D......T",
    ".D..t...t...t...t..D.", "..D..d...d.d...d..D..", "d..T..d...D...d..T..d", "..D..d...d.d...d..D..",
    ".D..t...t...t...t..D.", "T......D.....D......T", "...d..D...d...D..d...", "..q..D...d.d...D..q..",
    ".t..D...t...t...D..t.", "d..T..d...T...d..T..d", "..D..q...D.D...q..D..", ".D..t...D...D...t..D.",
    "Q..d...T..d..T...d..Q",
};

constexpr SquareType typeOfMark(char mark) {
  switch (mark) {
    case 'T': return square::tripleWord;
    case 'D': return square::doubleWord;
    case 'Q': return square::quadrupleWord;
    case 't': return square::tripleLetter;
    case 'd': return square::doubleLetter;
    case 'q': return square::quadrupleLetter;
    default: return square::plain;
  }
}

template <int Side>
SquareType lookUp(const char* const (&rows)[Side], int row, int column) {
  if (row < 0 || row >= Side || column < 0 || column >= Side) return square::plain;
  return typeOfMark(rows[row][column]);
}

}  // namespace

//                                  A  B  C  D  E  F  G  H  I  J  K  L  M  N  O  P  Q   R  S  T  U  V  W  X  Y  Z   ?
const LetterTable standardValues = letters({1, 3, 3, 2, 1, 4, 2, 4, 1, 8, 5, 1, 3, 1, 1, 3, 10, 1, 1, 1, 1, 4, 4, 8, 4, 10, 0});
const LetterTable alternativeValues = letters({1, 4, 4, 2, 1, 4, 3, 3, 1, 10, 5, 2, 4, 2, 1, 4, 10, 1, 1, 1, 2, 5, 4, 8, 3, 10, 0});
const LetterTable frenchValues = letters({1, 3, 3, 2, 1, 4, 2, 4, 1, 8, 10, 1, 2, 1, 1, 3, 8, 1, 1, 1, 1, 4, 10, 10, 10, 10, 0});

const LetterTable standardCounts = letters({9, 2, 2, 4, 12, 2, 3, 2, 9, 1, 1, 4, 2, 6, 8, 2, 1, 6, 4, 6, 4, 2, 2, 1, 2, 1, 2});
const LetterTable largeSetCounts = letters({16, 4, 6, 8, 24, 4, 5, 5, 13, 2, 2, 7, 6, 13, 15, 4, 2, 13, 10, 15, 7, 3, 4, 2, 4, 2, 4});
const LetterTable frenchCounts = letters({9, 2, 2, 3, 15, 2, 2, 2, 8, 1, 1, 5, 3, 6, 6, 2, 1, 6, 6, 6, 6, 2, 1, 1, 1, 1, 2});

SquareType standardBoard(int row, int column) { return lookUp(kStandard, row, column); }
SquareType alternativeBoard(int row, int column) { return lookUp(kAlternative, row, column); }
SquareType superBoard(int row, int column) { return lookUp(kSuper, row, column); }

}  // namespace pexil::builtin
