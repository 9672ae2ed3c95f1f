// The word lists the data command builds beside the program: each loads
// with its game type and is recognised as its language. Skipped where the
// data has not been built (sanitizer builds, for instance).
#include <gtest/gtest.h>

#include <filesystem>

#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

TEST(ShippedWordLists, EachGameTypeLoadsItsListInItsLanguage) {
  const std::filesystem::path run = PEXIL_RUN_DIR;
  if (!std::filesystem::exists(run / "ENGLISH.LST")) GTEST_SKIP() << "word lists not built in " << run;
  test::StateGuard guard;
  readGameDefinitions((run / "game.definitions").string());
  int loaded = 0;
  for (int i = 0; i < gameTypeCount(); ++i) {
    const GameType& type = gameType(i);
    const auto list = run / type.defaultWordList;
    if (!std::filesystem::exists(list)) {
      EXPECT_EQ(type.alphabet, kAlphabetLatin) << *type.name << " has no word list";
      continue;
    }
    if (i > 0 && type.defaultWordList == gameType(i - 1).defaultWordList) continue;  // same list as before
    ASSERT_TRUE(activateGameType(kKindDefined, i));
    Lexicon lexicon;
    lexicon.loadLeaves = false;
    ASSERT_TRUE(loadWordListWithTables(lexicon, list.string())) << *type.name;
    EXPECT_GT(lexicon.wordCount(), 50000) << *type.name;
    EXPECT_EQ(lexicon.alphabet(), type.alphabet) << *type.name;
    EXPECT_NE(lexicon.graph(), nullptr) << *type.name << ": no fitting word graph";
    ++loaded;
  }
  EXPECT_EQ(loaded, 8);
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
}

TEST(ShippedWordLists, EnglishTwoLetterWordsAreExactlyTheFixedSet) {
  const std::filesystem::path run = PEXIL_RUN_DIR;
  if (!std::filesystem::exists(run / "ENGLISH.LST")) GTEST_SKIP() << "word lists not built in " << run;
  test::StateGuard guard;
  activateGameType(kKindStandard);
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, (run / "ENGLISH.LST").string()));
  int twoLetterWords = 0;
  for (int a = 0; a < 26; ++a) {
    for (int b = 0; b < 26; ++b) twoLetterWords += lexicon.isTwoLetterWord(a, b) ? 1 : 0;
  }
  EXPECT_EQ(twoLetterWords, 106);
  for (const char* word : {"qi", "za", "cat", "xu", "several"}) EXPECT_TRUE(lexicon.isWord(word, 999)) << word;
  for (const char* word : {"xyzzy", "qq", "zz"}) EXPECT_FALSE(lexicon.isWord(word, 0)) << word;
}

}  // namespace
}  // namespace pexil
