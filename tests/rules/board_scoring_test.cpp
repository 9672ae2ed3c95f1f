#include <gtest/gtest.h>

#include <array>

#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_rules.hpp"
#include "rules/scoring.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

constexpr std::array<int, 8> kNoBlanks = {-1, -1, -1, -1, -1, -1, -1, -1};

// Puts a word on the board for good (as earlier moves).
void putWord(Board& board, std::string_view word, int column, int row, int direction) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    Square* s = squareAt(board, direction == kAcross ? column + int(i) : column, direction == kAcross ? row : row + int(i));
    ASSERT_NE(s, nullptr);
    s->letter = latin1Lower(word[i]);
    s->placedMark = 1;
  }
}

// Scores a play as the move evaluation does: lay, score, lift.
int scorePlay(Board& board, std::string_view word, int column, int row, int direction,
              const std::array<int, 8>& blanks = kNoBlanks, int* laid = nullptr) {
  const int tiles = layTentative(board, word, column, row, direction, blanks);
  if (laid) *laid = tiles;
  const int score = playScore(board, direction, column, row, static_cast<int>(word.size()));
  liftTentative(board, word, column, row, direction);
  return score;
}

// A slow, obvious scorer: every maximal run through a new tile, in both
// directions, scored from scratch.
int bruteForceScore(const Board& board) {
  int total = 0;
  for (int d = 0; d < 2; ++d) {
    const int outer = d == kAcross ? board.height : board.width;
    const int inner = d == kAcross ? board.width : board.height;
    for (int o = 0; o < outer; ++o) {
      int i = 0;
      while (i < inner) {
        auto at = [&](int k) { return d == kAcross ? squareAt(board, k, o) : squareAt(board, o, k); };
        if (at(i)->empty()) {
          ++i;
          continue;
        }
        int end = i, sum = 0, factor = 1, tiles = 0;
        bool hasNew = false;
        for (; end < inner && !at(end)->empty(); ++end) {
          const Square& s = *at(end);
          int value = letterValue(s.letter, s.isBlank);
          ++tiles;
          if (s.placedMark == kNewTileMark) {
            hasNew = true;
            if (s.type == 2 || s.type == 3 || s.type == 4) value *= s.type;
            if (s.type == 20 || s.type == 30 || s.type == 40) factor *= s.type / 10;
          }
          sum += value;
        }
        if (hasNew && tiles >= 2) total += sum * factor;
        i = end;
      }
    }
  }
  return total;
}

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    buildBoard(board);
  }
  test::StateGuard guard;
  Board board;
};

TEST_F(BoardTest, BuildsTheActiveBoard) {
  ASSERT_EQ(board.width, 15);
  ASSERT_EQ(board.height, 15);
  EXPECT_EQ(squareAt(board, 0, 0)->type, square::tripleWord);
  EXPECT_EQ(squareAt(board, 7, 7)->type, square::doubleWord);
  EXPECT_EQ(squareAt(board, 5, 1)->type, square::tripleLetter);
  EXPECT_EQ(squareAt(board, 3, 0)->type, square::doubleLetter);
  EXPECT_EQ(squareAt(board, 15, 0), nullptr);
  EXPECT_EQ(squareAt(board, 0, -1), nullptr);
  const Square& start = *squareAt(board, 7, 7);
  EXPECT_EQ(start.crossSet[0], (1u << 26) - 1);
  EXPECT_EQ(start.fitCount[1], 26);
  EXPECT_EQ(start.hasCrossNeighbours[0], 1);
  EXPECT_EQ(squareAt(board, 8, 8)->fitCount[0], 0);
  // Near-open-bonus flags come from the direct neighbours only.
  EXPECT_TRUE(squareAt(board, 1, 0)->nearOpenBonusH);
  EXPECT_TRUE(squareAt(board, 1, 0)->nearOpenBonusV);  // (1,1) is a double word
  EXPECT_FALSE(squareAt(board, 5, 0)->nearOpenBonusH);
  EXPECT_FALSE(squareAt(board, 2, 4)->nearOpenBonusV);
  EXPECT_TRUE(squareAt(board, 2, 5)->nearOpenBonusV);

  activateGameType(kKindSuper);
  buildBoard(board);
  EXPECT_EQ(board.width, 21);
  EXPECT_EQ(squareAt(board, 0, 0)->type, square::quadrupleWord);
  EXPECT_EQ(squareAt(board, 5, 2)->type, square::quadrupleLetter);
  EXPECT_EQ(squareAt(board, 10, 10)->fitCount[0], 26);
}

TEST_F(BoardTest, TransposeTwiceRestores) {
  putWord(board, "QUIZ", 3, 5, kAcross);
  squareAt(board, 4, 5)->isBlank = 1;
  const std::vector<Square> before = board.squares;
  transpose(board);
  EXPECT_EQ(squareAt(board, 5, 3)->letter, 'q');
  EXPECT_EQ(squareAt(board, 5, 4)->isBlank, 1);
  EXPECT_EQ(squareAt(board, 1, 0)->type, squareType(0, 1));
  transpose(board);
  ASSERT_EQ(board.squares.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(board.squares[i].letter, before[i].letter);
    EXPECT_EQ(board.squares[i].type, before[i].type);
    EXPECT_EQ(board.squares[i].isBlank, before[i].isBlank);
  }
}

TEST_F(BoardTest, FirstMoveAndBingo) {
  // QUIZ from 8E across (centre double word at H8): (10+1+1+10) x 2.
  int laid = 0;
  EXPECT_EQ(scorePlay(board, "QUIZ", 4, 7, kAcross, kNoBlanks, &laid), 44);
  EXPECT_EQ(laid, 4);
  // The board is clean again afterwards.
  EXPECT_TRUE(squareAt(board, 4, 7)->empty());
  EXPECT_EQ(squareAt(board, 4, 7)->placedMark, kEmptyMark);
  EXPECT_EQ(board.rowHasNew[7], 0);

  // Bingo only for exactly a full rack.
  EXPECT_EQ(bingoBonusFor(7), 50);
  EXPECT_EQ(bingoBonusFor(4), 0);
  EXPECT_EQ(bingoBonusFor(8), 0);
  activateGameType(kKindAlternative);
  EXPECT_EQ(bingoBonusFor(7), 35);
}

TEST_F(BoardTest, CrossWordOnDoubleWordDoublesBoth) {
  // An existing B at (3,2), just above the double word at (3,3).
  putWord(board, "B", 3, 2, kAcross);
  // Play "AX" across at row 3 (0-based) from column 3: A lands on the
  // double word under B, forming "BA" down.
  // AX: (1 + 8) x 2 = 18; BA: (3 + 1) x 2 = 8.
  EXPECT_EQ(scorePlay(board, "AX", 3, 3, kAcross), 26);
  // A single tile with no neighbours across scores nothing across.
  EXPECT_EQ(scorePlay(board, "BA", 3, 2, kDown), 8);
}

TEST_F(BoardTest, BlanksAndPlainValuesOfOldTiles) {
  // A blank on a double letter adds nothing.
  putWord(board, "AT", 4, 3, kDown);       // A at (4,3), T at (4,4): (4,4) is a double word
  const std::array<int, 8> firstBlank = {0, -1, -1, -1, -1, -1, -1, -1};
  // "ZA" across at row 3 from column 3: Z on (3,3) double word as a blank.
  EXPECT_EQ(scorePlay(board, "ZA", 3, 3, kAcross, firstBlank), (0 + 1) * 2);
  // Old tiles keep their plain value even on bonus squares: T sits on a
  // double word, playing "S" under it forms "ATS" worth 3.
  EXPECT_EQ(scorePlay(board, "ATS", 4, 3, kDown), 3);
  // A blank on the double letter at (3,0).
  Board empty;
  buildBoard(empty);
  const std::array<int, 8> blankAtOne = {1, -1, -1, -1, -1, -1, -1, -1};
  EXPECT_EQ(scorePlay(empty, "AXE", 2, 0, kAcross, blankAtOne), 1 + 0 + 1);
  EXPECT_EQ(scorePlay(empty, "AXE", 2, 0, kAcross), 1 + 16 + 1);
}

TEST_F(BoardTest, CustomMultipliers) {
  // Type 50 multiplies the word by 5; type 7 counts the tile 7 times;
  // negative letter multipliers subtract.
  squareAt(board, 7, 7)->type = 50;
  squareAt(board, 8, 7)->type = 7;
  squareAt(board, 9, 7)->type = -2;
  squareAt(board, 10, 7)->type = square::empty;
  // C A T S: C on type 50, A (1) on type 7, T (1) on -2, S (1) on empty.
  EXPECT_EQ(scorePlay(board, "CATS", 7, 7, kAcross), (3 + 7 - 2 + 1) * 5);
}

TEST_F(BoardTest, MatchesABruteForceScorerOnRandomPlays) {
  // Random plays over a board with scattered old tiles, across and down.
  putWord(board, "JOKE", 6, 7, kAcross);
  putWord(board, "HAZY", 9, 5, kDown);
  putWord(board, "VEX", 2, 11, kAcross);
  unsigned state = 12345;
  auto next = [&](unsigned n) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % n;
  };
  int checked = 0;
  for (int trial = 0; trial < 2000; ++trial) {
    const int direction = static_cast<int>(next(2));
    const int length = 2 + static_cast<int>(next(6));
    const int column = static_cast<int>(next(15)), row = static_cast<int>(next(15));
    const int endColumn = direction == kAcross ? column + length - 1 : column;
    const int endRow = direction == kAcross ? row : row + length - 1;
    if (endColumn >= 15 || endRow >= 15) continue;
    std::string word;
    for (int i = 0; i < length; ++i) word.push_back(static_cast<char>('a' + next(26)));
    std::array<int, 8> blanks = kNoBlanks;
    if (next(4) == 0) blanks[0] = static_cast<int>(next(static_cast<unsigned>(length)));
    layTentative(board, word, column, row, direction, blanks);
    const int expected = bruteForceScore(board);
    const int actual = playScore(board, direction, column, row, length);
    const int all = playScoreAll(board);
    liftTentative(board, word, column, row, direction);
    // The tiles of a play fill its whole span, so the new tiles of each
    // line form one run and the first-run rule scores everything.
    EXPECT_EQ(actual, expected) << word << " " << column << "," << row << " d" << direction;
    EXPECT_EQ(all, expected);
    ++checked;
  }
  EXPECT_GT(checked, 500);
}

TEST_F(BoardTest, TextDisplay) {
  putWord(board, "QI", 7, 7, kAcross);
  squareAt(board, 8, 7)->isBlank = 1;
  const auto lines = boardTextLines(board);
  ASSERT_EQ(lines.size(), 1u + 1u + 15u + 1u + 1u + 1u);
  EXPECT_EQ(lines[0], "    ABCDEFGHIJKLMNO");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "  1 #..:...#...:..#  1");
  EXPECT_EQ(lines[2 + 7], "  8 #..:...Qi..:..#  8");
  EXPECT_EQ(lines[2 + 14], " 15 #..:...#...:..# 15");
  EXPECT_EQ(lines[18], lines[0]);
}

}  // namespace
}  // namespace pexil
