// A word list loads on its own or together with its tables: the lexicon
// alone reads none of the rack-value or win-probability tables, while the
// load with tables reads them at their usual places among the list's
// messages, and only those its lexicon asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "tables/rack_tables.hpp"
#include "tables/win_prob.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class WordListLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
    clearRackTables();
    clearWinProbTables();
    folder_.write("tiny.lst", "cat dog qat zax\n");
    folder_.write("tiny.rack", "AEINRST 1 10\nABCDEFG 1 30\n");
    folder_.write("tiny.rack.partial", "S 80\n");
    folder_.write("tiny.2p", "0 5 0 10 9\n");
  }
  void TearDown() override {
    clearRackTables();
    clearWinProbTables();
  }

  // A lexicon that reads the list's text only.
  static void plainText(Lexicon& lexicon) {
    lexicon.useGraphFile = false;
    lexicon.useBinaryFile = false;
  }

  static std::string winProbName(int players) {
    const WinProbTable* table = winProbTable(players);
    return table ? table->fileName : std::string("<none>");
  }

  test::StateGuard guard_;
  test::TempFolder folder_;
  test::InFolder in_{folder_.path("")};
};

TEST_F(WordListLoading, TheLexiconAloneReadsNoTables) {
  Lexicon lexicon;
  plainText(lexicon);
  test::PaneCapture capture;
  ASSERT_TRUE(lexicon.loadWordList("tiny.lst"));
  EXPECT_EQ(capture.lines(), (std::vector<std::string>{"Reading word list \"tiny.lst\"... ", "4 words in word list. "}));
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(leaveTableSize(), 0u);
  EXPECT_EQ(winProbTable(2), nullptr);
}

TEST_F(WordListLoading, TablesComeWithTheListInTheirPlaces) {
  Lexicon lexicon;
  plainText(lexicon);
  test::PaneCapture capture;
  ASSERT_TRUE(loadWordListWithTables(lexicon, "tiny.lst"));
  EXPECT_EQ(capture.lines(), (std::vector<std::string>{"Reading word list \"tiny.lst\"... ",
                                                       "Reading rack statistics... ", "4 words in word list. "}));
  EXPECT_EQ(loadedRackTableName(), "tiny.rack");
  EXPECT_TRUE(hasFullRackTable());
  EXPECT_EQ(leaveValueOf("S"), 80);
  EXPECT_EQ(winProbName(2), "tiny.2p");
  EXPECT_EQ(winProbName(3), "3player.pt");
}

TEST_F(WordListLoading, OnlyTheTablesTheLexiconAsksFor) {
  Lexicon lexicon;
  plainText(lexicon);
  lexicon.loadLeaves = false;
  lexicon.loadWinProb = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, "tiny.lst"));
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(winProbTable(2), nullptr);

  Lexicon withLeaves;
  plainText(withLeaves);
  withLeaves.loadWinProb = false;
  ASSERT_TRUE(loadWordListWithTables(withLeaves, "tiny.lst"));
  EXPECT_TRUE(hasFullRackTable());
  EXPECT_EQ(winProbTable(2), nullptr);
}

TEST_F(WordListLoading, TheSameListAgainReadsNothing) {
  Lexicon lexicon;
  plainText(lexicon);
  ASSERT_TRUE(loadWordListWithTables(lexicon, "tiny.lst"));
  clearRackTables();
  clearWinProbTables();
  test::PaneCapture capture;
  EXPECT_TRUE(loadWordListWithTables(lexicon, "TINY.LST"));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(winProbTable(2), nullptr);
}

}  // namespace
}  // namespace pexil
