// The text board with the tiles of the last move set apart by highlight
// marks.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "test_support.hpp"
#include "text/highlight_marks.hpp"

namespace pexil {
namespace {

void put(Board& board, std::string_view word, int column, int row, int direction) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int k = static_cast<int>(i);
    Square* s = squareAt(board, direction == kAcross ? column + k : column, direction == kAcross ? row : row + k);
    ASSERT_NE(s, nullptr);
    s->letter = latin1Lower(word[i]);
    s->placedMark = 1;
  }
}

class BoardHighlight : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    buildBoard(board);
  }
  test::StateGuard guard;
  Board board;
};

TEST_F(BoardHighlight, TheLastMoveStandsBetweenMarks) {
  put(board, "CAT", 6, 7, kAcross);
  const Board before = board;
  // The last move: S after CAT, with ON below the S (SON down).
  put(board, "S", 9, 7, kAcross);
  put(board, "ON", 9, 8, kDown);
  const auto lines = boardTextLines(board, &before);
  EXPECT_EQ(lines[2 + 7], "  8 #..:..CAT|S|.:..#  8");
  EXPECT_EQ(lines[2 + 8], "  9 ..:...:.:|O|..:..  9");
  EXPECT_EQ(lines[2 + 9], " 10 .$...$...|N|...$. 10");
  // Shown, the marks take no room: the columns stay in place.
  EXPECT_EQ(withoutHighlightMarks(lines[2 + 7]), "  8 #..:..CATS.:..#  8");
  EXPECT_EQ(withoutHighlightMarks(lines[2 + 9]), " 10 .$...$...N...$. 10");
  // Rows the move did not touch carry no marks.
  EXPECT_EQ(lines[2], "  1 #..:...#...:..#  1");
}

TEST_F(BoardHighlight, RunsAtTheEdgeAndWithoutABoardBefore) {
  const Board before = board;
  put(board, "ZA", 13, 0, kAcross);
  EXPECT_EQ(boardTextLines(board, &before)[2], "  1 #..:...#...:.|ZA|  1");
  // Without the board before, or when nothing was laid, no marks at all.
  EXPECT_EQ(boardTextLines(board)[2], "  1 #..:...#...:.ZA  1");
  EXPECT_EQ(boardTextLines(board, &board)[2], "  1 #..:...#...:.ZA  1");
  // A board before of another size tells nothing.
  Board other;
  EXPECT_EQ(boardTextLines(board, &other)[2], "  1 #..:...#...:.ZA  1");
}

}  // namespace
}  // namespace pexil
