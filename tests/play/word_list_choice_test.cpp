// The word list a game loads: the game type's own, a file's named list
// while it is pending, and the fallback when a named list cannot be opened.
#include "play/word_list_choice.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class WordListChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    SetUILang(kEnglish);
    folder.write("ENGLISH.LST", "cat\ndog\n");
    folder.write("OTHER.LST", "emu\ngnu\n");
  }
  test::StateGuard guard;
  test::TempFolder folder;
};

bool mentions(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

TEST_F(WordListChoice, AMissingListGivesWayToTheGameTypesOwnWithALineSayingSo) {
  test::InFolder inside(folder.path(""));
  test::PaneCapture capture;
  const auto lexicon = lexiconFor(nullptr, "TWL06.LST");
  ASSERT_TRUE(lexicon);
  EXPECT_EQ(lexicon->fileName(), "ENGLISH.LST");
  EXPECT_NE(lexicon->findEntry("cat"), kNoEntry);
  EXPECT_TRUE(mentions(capture.lines(), "Word list \"TWL06.LST\" not found: using \"ENGLISH.LST\""))
      << ::testing::PrintToString(capture.lines());
  // The fallback already held: the same lexicon, nothing loaded again.
  EXPECT_EQ(lexiconFor(lexicon, "CSW12.LST"), lexicon);
}

TEST_F(WordListChoice, AListAlreadyHeldIsKeptWhateverTheLetterCase) {
  test::InFolder inside(folder.path(""));
  const auto english = lexiconFor(nullptr, "ENGLISH.LST");
  EXPECT_EQ(lexiconFor(english, "english.lst"), english);
  // Another list is a new lexicon: the old one, shared by others, is untouched.
  const auto other = lexiconFor(english, "OTHER.LST");
  EXPECT_NE(other, english);
  EXPECT_NE(other->findEntry("gnu"), kNoEntry);
  EXPECT_EQ(english->findEntry("gnu"), kNoEntry);
}

TEST_F(WordListChoice, NewGamesLoadThePendingNameOnlyWhileItIsPending) {
  test::InFolder inside(folder.path(""));
  Game game;
  {
    PendingWordList pending("OTHER.LST");
    EXPECT_EQ(wordListForNewGame(), "OTHER.LST");
    NewGame(game, 2, nullptr);
    EXPECT_EQ(game.lexicon->fileName(), "OTHER.LST");
  }
  EXPECT_EQ(pendingWordList(), "");
  EXPECT_EQ(wordListForNewGame(), "ENGLISH.LST");
  {
    PendingWordList pending("MISSING.LST");
    NewGame(game, 2, nullptr);
    EXPECT_EQ(game.lexicon->fileName(), "ENGLISH.LST");
  }
}

}  // namespace
}  // namespace pexil
