// Records whose two players go by one nickname: each move line goes to
// the player whose running total it continues (or whose turn it is), so
// the replay alternates and ends with the totals the record states.
#include <gtest/gtest.h>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"

namespace pexil {
namespace {

class GcgSameNames : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(8u);
    textPane().SetQuiet(true);
    options.lexicon = test::plainWords();
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
  }
  GcgReadResult read(const std::string& text) { return ReadGcg(game, folder.write("same.gcg", text), options); }
  test::StateGuard guard;
  test::TempFolder folder;
  GcgReadOptions options;
  Game game;
};

bool hasFault(const GcgReadResult& result, GcgFault fault) {
  return std::any_of(result.faults.begin(), result.faults.end(), [&](const GcgFaultNote& f) { return f.fault == fault; });
}

TEST_F(GcgSameNames, MovesGoByRunningTotals) {
  const GcgReadResult result = read(
      "#player1 Sam Sam One\n#player2 Sam Sam Two\n"
      ">Sam: AEHRTTW 8D WATER +24 24\n"
      ">Sam: ADEIKLN E7 K.NDLE +22 22\n"
      ">Sam: ABEINST - +0 24\n"
      ">Sam: ADEIILN -DI +0 22\n");
  EXPECT_TRUE(hasFault(result, GcgFault::sameNicknames));
  EXPECT_FALSE(hasFault(result, GcgFault::turnSkipped)) << test::problemsOf(result);
  ASSERT_EQ(game.history.size(), 4u);
  EXPECT_EQ(game.history[1].move.move().wordView(), "kandle");
  EXPECT_EQ(game.scores[0], 24);
  EXPECT_EQ(game.scores[1], 22);
  EXPECT_EQ(result.statedFinal[0], 24);
  EXPECT_EQ(result.statedFinal[1], 22);
  // Written again, the second player's nickname is told apart.
  EXPECT_NE(GcgText(game).find(">Sam_2: ADEIKLN E7 KANDLE +22 22"), std::string::npos);
}

TEST_F(GcgSameNames, WithoutTotalsMovesAlternate) {
  const GcgReadResult result = read(
      "#player1 Sam Sam\n#player2 Sam Sam\n"
      ">Sam: AEHRTTW 8D WATER\n"
      ">Sam: ADEIKLN E7 K.NDLE\n"
      ">Sam: ABEINST -\n");
  EXPECT_FALSE(hasFault(result, GcgFault::turnSkipped)) << test::problemsOf(result);
  ASSERT_EQ(game.history.size(), 3u);
  EXPECT_EQ(game.scores[0], 24);
  EXPECT_EQ(game.scores[1], 22);
  EXPECT_EQ(game.toMove, 1);
}

TEST_F(GcgSameNames, EndOfGameLinesGoByTotalsToo) {
  // Each player loses the own rack; the totals say whose.
  read("#player1 Sam Sam\n#player2 Sam Sam\n"
       ">Sam: AEHRTTW 8D WATER +24 24\n"
       ">Sam: ADEIKLN E7 K.NDLE +22 22\n"
       ">Sam: ADEIILN (ADEIILN) -8 14\n"
       ">Sam: BEINST? (BEINST?) -8 16\n");
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[0], 16);
  EXPECT_EQ(game.scores[1], 14);
}

}  // namespace
}  // namespace pexil
