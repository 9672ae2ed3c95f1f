// Move lines with the equity column, the column titles that line up with
// them, and leaves of multi-letter tiles.
#include <gtest/gtest.h>

#include <string>

#include "movegen/move_line.hpp"
#include "rules/board.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "state/game.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

Move cats(int equity, const char* leave) {
  Move m;
  m.word = "CATS";
  m.column = 3;
  m.row = 7;
  m.direction = kAcross;
  m.score = 12;
  m.equity = equity;
  m.setLeave(leave);
  return m;
}

class MoveLineColumns : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    game.playerCount = 2;
    buildBoard(game.board);
    equity.showEquity = true;
  }
  test::StateGuard guard;
  Game game;
  MoveLineOptions equity;
};

// The line of CATS at 8D for 12 points up to the score.
const std::string kCats = "P1: CATS" + std::string(12, ' ') + " 8D  12 pts";

TEST_F(MoveLineColumns, EquityStandsBetweenScoreAndLeave) {
  EXPECT_EQ(MoveLine(game, 0, cats(145, "ER"), "", equity), kCats + "    14.5  [ER]");
  EXPECT_EQ(MoveLine(game, 0, cats(-37, ""), "", equity), kCats + "    -3.7");
  EXPECT_EQ(MoveLine(game, 0, cats(5, ""), "", equity), kCats + "     0.5");
  // Without the request the line keeps its usual layout.
  EXPECT_EQ(MoveLine(game, 0, cats(145, "ER"), ""), kCats + "  [ER]");
}

TEST_F(MoveLineColumns, TitlesLineUpWithTheColumns) {
  const std::string line = MoveLine(game, 0, cats(145, "ER"), "", equity);
  const std::string header = MoveLineHeader(game, 0, 0, equity);
  EXPECT_EQ(header, "    Move            Pos.  Score  Equity  Leave");
  // The word starts under "Move", "Score" ends with "pts", "Equity" ends
  // with the figure, "Leave" starts over the bracket.
  EXPECT_EQ(header.find("Move"), line.find("CATS"));
  EXPECT_EQ(header.find("Score") + 5, line.find("pts") + 3);
  EXPECT_EQ(header.find("Equity") + 6, line.find("14.5") + 4);
  EXPECT_EQ(header.find("Leave"), line.find('['));
  // A caller's prefix and no player.
  EXPECT_EQ(MoveLineHeader(game, -1, 3, {}), "   Move            Pos.  Score  Leave");
}

TEST_F(MoveLineColumns, SpanishLeavesWriteOutTheirTiles) {
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_EQ(MoveLine(game, 0, cats(145, "A1?"), ""), kCats + "  [ACH?]");
  Move keep;
  keep.word = label::exchangedTiles;
  keep.setLeave("23");
  EXPECT_EQ(MoveLine(game, 0, keep, ""), "P1: (Keep LLRR)        0 pts  [LLRR]");
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_EQ(MoveLine(game, 0, cats(145, "A1?"), ""), kCats + "  [A1?]");
}

}  // namespace
}  // namespace pexil
