// Word queries compare letters as tiles: every spelling of a tile (Spanish
// '4' and the n with tilde, capitals of accented letters, '1' for CH)
// matches the word list's form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon/word_queries.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using Words = std::vector<std::string>;

Words texts(const Lexicon& lexicon, const std::vector<EntryIndex>& entries) {
  Words words;
  for (EntryIndex e : entries) words.emplace_back(lexicon.textView(e));
  return words;
}

class SpanishQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetSpanish);
    lexicon.loadLeaves = false;
    ASSERT_TRUE(loadWordListWithTables(lexicon, PEXIL_TEST_DATA "/cli/conventions/spanish.lst"));
    ASSERT_EQ(lexicon.alphabet(), kAlphabetSpanish);
  }
  Words pattern(const std::string& typed) { return texts(lexicon, patternMatch(lexicon, convertQueryText(typed))); }

  test::StateGuard guard;
  Lexicon lexicon;
};

TEST_F(SpanishQueries, PatternsMatchEverySpellingOfATile) {
  const Words year = {"a\xF1o"};
  EXPECT_EQ(pattern("a4o"), year);
  EXPECT_EQ(pattern("A\xD1O"), year);
  EXPECT_EQ(pattern("a\xF1o"), year);
  EXPECT_EQ(pattern("?[4]?"), year);
  EXPECT_EQ(pattern("?[\xD1]?"), year);
  EXPECT_EQ(pattern("?[n]?"), Words{"ano"});
  EXPECT_EQ(pattern("CH*"), (Words{"1a3o", "1ica", "1ico"}));
  EXPECT_EQ(pattern("*RRO"), (Words{"1a3o", "pe3o"}));
}

TEST_F(SpanishQueries, AnagramsAndHooksCompareTiles) {
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, convertQueryText("O4A"))), Words{"a\xF1o"});
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, convertQueryText("\xD1?O"))), (Words{"a\xF1o"}));
  EXPECT_EQ(texts(lexicon, backHooks(lexicon, convertQueryText("A\xD1O"))), Words{"a\xF1os"});
  EXPECT_EQ(texts(lexicon, frontHooks(lexicon, convertQueryText("RRO"))), (Words{"1a3o", "pe3o"}));
  EXPECT_EQ(texts(lexicon, backHooks(lexicon, convertQueryText("LLAMA"))), Words{"2amas"});
}

TEST(QueryTiles, AccentedCapitalsAndSubstitutesAreTheirTiles) {
  test::StateGuard guard;
  setWordListAlphabet(kAlphabetGerman);
  EXPECT_TRUE(matchesPattern("\xE4rger", "\xC4RGER"));
  EXPECT_TRUE(matchesPattern("\xFC" "ber", "[\xDC]*"));
  EXPECT_FALSE(matchesPattern("\xE4rger", "arger"));
  setWordListAlphabet(kAlphabetCatalan);
  EXPECT_TRUE(matchesPattern("caka", "ca\xC7" "a"));  // the lists write Ç as k
  // Characters that name no tile never stand for one.
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_FALSE(matchesPattern("a\xF1o", "a{o"));
  EXPECT_TRUE(matchesPattern("a{o", "A{O"));
}

}  // namespace
}  // namespace pexil
