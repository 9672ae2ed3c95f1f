// Files that hold nothing of a game (empty, binary, a folder, a record
// whose every line is skipped) are refused: the game, the active rules and
// the undo stack stay as they were.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/gcg_reader.hpp"
#include "gcg_test_support.hpp"

namespace pexil {
namespace {

class GcgUnreadable : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(5u);
    textPane().SetQuiet(true);
    options.lexicon = test::plainWords();
    undoStack().clear();
    const std::string record = folder.write("good.gcg", "#player1 Ann Ann\n#player2 Bob Bob\n"
                                                        ">Ann: AEHRTTW 8D WATER +24 24\n>Bob: ADEIKLN E7 K.NDLE +17 17\n");
    ASSERT_TRUE(ReadGcg(game, record, options).opened);
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
  }
  // Reads `path` and checks that nothing changed.
  void refused(const std::string& path) {
    const std::string history = test::historyText(game), position = test::positionText(game);
    const int kind = rules().gameKind, index = rules().gameTypeIndex, undo = undoStack().size();
    textPane().SetQuiet(false);
    test::PaneCapture capture;
    const GcgReadResult result = ReadGcg(game, path, options);
    textPane().SetQuiet(true);
    EXPECT_FALSE(result.opened);
    EXPECT_TRUE(result.nothingRead);
    EXPECT_EQ(test::historyText(game), history);
    EXPECT_EQ(test::positionText(game), position);
    EXPECT_EQ(rules().gameKind, kind);
    EXPECT_EQ(rules().gameTypeIndex, index);
    EXPECT_EQ(undoStack().size(), undo);
    std::string text;
    for (const std::string& line : capture.lines()) text += line;
    EXPECT_NE(text.find("Nothing could be read from " + path), std::string::npos) << text;
  }
  test::StateGuard guard;
  test::TempFolder folder;
  GcgReadOptions options;
  Game game;
};

TEST_F(GcgUnreadable, AnEmptyFileIsRefused) { refused(folder.write("empty.gcg", "")); }

TEST_F(GcgUnreadable, ABinaryFileIsRefused) {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<char>((i * 7919) % 256));
  refused(folder.write("binary.gcg", bytes));
}

TEST_F(GcgUnreadable, AFolderIsRefused) {
  std::filesystem::create_directory(folder.path("records.gcg"));
  refused(folder.path("records.gcg"));
}

TEST_F(GcgUnreadable, ARecordWhoseEveryLineIsSkippedIsRefused) {
  // Pragmas we do not read, and move lines of players no line names.
  refused(folder.write("skipped.gcg", "#title A game\n#description none\n#lexicon TWL06\n"
                                      "Ann: AEHRTTW 8D WATER +24 24\n"));
}

TEST_F(GcgUnreadable, AMissingFileChangesNothing) {
  const std::string history = test::historyText(game);
  const GcgReadResult result = ReadGcg(game, folder.path("none.gcg"), options);
  EXPECT_FALSE(result.opened);
  EXPECT_FALSE(result.nothingRead);
  EXPECT_EQ(test::historyText(game), history);
}

TEST_F(GcgUnreadable, PlayersAloneAreAGame) {
  const GcgReadResult result = ReadGcg(game, folder.write("players.gcg", "#player1 Cy Cy\n#player2 Di Di\n"), options);
  EXPECT_TRUE(result.opened);
  EXPECT_TRUE(game.history.empty());
  EXPECT_EQ(playerName(game, 0), "Cy");
}

}  // namespace
}  // namespace pexil
