// A blank keeps its lower case in every later word of a record that takes
// it in, so that other programs do not read a real tile there.
#include <gtest/gtest.h>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"

namespace pexil {
namespace {

class GcgBoardBlanks : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(17u);
    textPane().SetQuiet(true);
    undoStack().clear();
    NewGame(game, 2, test::plainWords());
    SetPlayerName(game, 0, "Ann");
    SetPlayerName(game, 1, "Bob");
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
  }
  void place(std::string_view rack, const char* word, int column, int row, int direction) {
    test::placeWord(game, rack, word, column, row, direction);
  }
  bool hasLine(const std::string& start) const {
    std::istringstream in(GcgText(game));
    for (std::string line; std::getline(in, line);) {
      if (line.starts_with(start)) return true;
    }
    return false;
  }
  test::StateGuard guard;
  test::TempFolder folder;
  Game game;
};

TEST_F(GcgBoardBlanks, LaterWordsWriteTheBlankInLowerCase) {
  place("?AEIOTU", "cat", 7, 7, kAcross);  // the C from the blank
  ASSERT_TRUE(game.history[0].move.move().isBlankAt(0));
  place("SEIOUNL", "cats", 7, 7, kAcross);
  place("AREIOUN", "arc", 7, 5, kDown);
  EXPECT_TRUE(hasLine(">Ann: AEIOTU? 8H cAT +"));
  EXPECT_TRUE(hasLine(">Bob: EILNOSU 8H cATS +"));
  EXPECT_TRUE(hasLine(">Ann: AEINORU H6 ARc +"));

  // Read back, the blank is a blank and the record the same.
  ASSERT_TRUE(WriteGcg(game, folder.path("blanks.gcg")));
  GcgReadOptions options;
  options.lexicon = game.lexicon;
  Game read;
  const GcgReadResult result = ReadGcg(read, folder.path("blanks.gcg"), options);
  EXPECT_TRUE(result.faults.empty()) << test::problemsOf(result);
  EXPECT_TRUE(squareAt(read.board, 7, 7)->isBlank);
  EXPECT_EQ(test::historyText(read), test::historyText(game));
  EXPECT_EQ(GcgText(read), GcgText(game));
}

TEST_F(GcgBoardBlanks, AWithdrawnPlayDoesNotMarkItsSquares) {
  // A phony with a blank, taken off; a real tile later on the same square.
  place("?AEIOTU", "zat", 7, 7, kAcross);
  ASSERT_TRUE(ChallengeLast(game));
  place("SEIOUNL", "lens", 7, 7, kAcross);
  EXPECT_TRUE(hasLine(">Ann: AEIOTU? 8H zAT +"));
  EXPECT_TRUE(hasLine(">Bob: EILNOSU 8H LENS +"));
}

}  // namespace
}  // namespace pexil
