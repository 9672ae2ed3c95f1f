// The win-probability tables a word list brings: loaded with every list
// (whether or not its leave tables are), named after the list's identity
// (the validating list when there is one), and for the two lists whose
// statistics were gathered under earlier names, taken from those names for
// two, three and four players alike.
#include <gtest/gtest.h>

#include <string>

#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "tables/win_prob.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class WinProbLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
    clearWinProbTables();
  }
  void TearDown() override { clearWinProbTables(); }

  // Loads a list of a few words from the temporary folder, without leave
  // tables.
  void load(const std::string& list, const std::string& validating = "") {
    folder.write(list, "cat dog qat zax\n");
    if (!validating.empty()) folder.write(validating, "cat dog\n");
    Lexicon lexicon;
    lexicon.loadLeaves = false;
    ASSERT_TRUE(loadWordListWithTables(lexicon, list, validating));
  }

  std::string tableName(int players) const {
    const WinProbTable* table = winProbTable(players);
    return table ? table->fileName : std::string("<none>");
  }

  test::StateGuard guard;
  test::TempFolder folder;
};

std::string record(int lead, int tiles, int state, int games, int wins) {
  return std::to_string(lead) + " " + std::to_string(tiles) + " " + std::to_string(state) + " " +
         std::to_string(games) + " " + std::to_string(wins) + "\n";
}

TEST_F(WinProbLoading, EveryListBringsItsTablesWithoutTheLeaveTables) {
  test::InFolder here(folder.path(""));
  folder.write("WORDS.2p", record(0, 5, 0, 10, 9));
  folder.write("words.4p", record(0, 5, 0, 10, 1));
  load("words.lst");
  EXPECT_EQ(tableName(2), "words.2p");
  EXPECT_EQ(tableName(3), "3player.pt");
  EXPECT_EQ(tableName(4), "words.4p");
  ASSERT_NE(winProbTable(2), nullptr);
  EXPECT_TRUE(winProbTable(2)->opened);
  EXPECT_FLOAT_EQ(winProbTable(2)->rawAt(0, 5, 0), 90.0f);
  EXPECT_FLOAT_EQ(winProbTable(4)->rawAt(0, 5, 0), 10.0f);
}

TEST_F(WinProbLoading, TheValidatingListNamesTheTables) {
  test::InFolder here(folder.path(""));
  folder.write("big.2p", record(0, 5, 0, 10, 9));
  folder.write("TWL06.2p", record(0, 5, 0, 10, 3));
  folder.write("TWL06.3p", record(0, 5, 0, 10, 4));
  load("big.lst", "TWL06.LST");
  EXPECT_EQ(tableName(2), "TWL06.2p");
  EXPECT_EQ(tableName(3), "TWL06.3p");
  EXPECT_EQ(tableName(4), "4player.pt");
  EXPECT_FLOAT_EQ(winProbTable(2)->rawAt(0, 5, 0), 30.0f);
}

TEST_F(WinProbLoading, EarlierNamesServeTwoThreeAndFourPlayers) {
  test::InFolder here(folder.path(""));
  folder.write("SOWPODS.2p", record(0, 5, 0, 10, 2));
  folder.write("SOWPODS.3p", record(0, 5, 0, 10, 3));
  folder.write("sowpods.4p", record(0, 5, 0, 10, 4));
  folder.write("ENABLE.2p", "");
  folder.write("ENABLE.4p", "");
  load("CSW12.LST");
  EXPECT_EQ(tableName(2), "SOWPODS.2p");
  EXPECT_EQ(tableName(3), "SOWPODS.3p");
  EXPECT_EQ(tableName(4), "SOWPODS.4p");
  EXPECT_FLOAT_EQ(winProbTable(4)->rawAt(0, 5, 0), 40.0f);
  // The identity decides, whatever the loaded file is called.
  load("mine.lst", "csw12_2014.txt");
  EXPECT_EQ(tableName(2), "SOWPODS.2p");
  EXPECT_EQ(tableName(3), "SOWPODS.3p");
  // A name missing under the earlier name falls back to the generic file.
  load("OSPD2.LST");
  EXPECT_EQ(tableName(2), "ENABLE.2p");
  EXPECT_EQ(tableName(3), "3player.pt");
  EXPECT_EQ(tableName(4), "ENABLE.4p");
  // A list with its own two-player file uses its own names throughout.
  folder.write("OSPD2.2p", "");
  load("ospd2.lst");
  EXPECT_EQ(tableName(2), "ospd2.2p");
  EXPECT_EQ(tableName(3), "3player.pt");
  EXPECT_EQ(tableName(4), "4player.pt");
  // Other lists never borrow them.
  load("TWL06.LST");
  EXPECT_EQ(tableName(2), "2player.pt");
}

}  // namespace
}  // namespace pexil
