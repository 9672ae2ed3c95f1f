// Words of every length the lists allow, up to 32 letters: found by
// findEntry and marked by a validating list like any other word.
#include <gtest/gtest.h>

#include <string>

#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class LongWords : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
  }
  test::StateGuard guard;
  test::TempFolder folder;
};

// A word of n letters: a run of letters that no other word of the test
// shares.
std::string wordOf(int n, char letter) {
  std::string text(static_cast<std::size_t>(n), letter);
  text[0] = 'z';
  return text;
}

TEST_F(LongWords, FindEntryFindsWordsOfEveryLength) {
  std::string list;
  for (int n = 2; n <= kMaxWordLength; ++n) list += wordOf(n, 'a') + "\n";
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("long.lst", list)));
  ASSERT_EQ(lexicon.wordCount(), kMaxWordLength - 1);
  for (int n = 2; n <= kMaxWordLength; ++n) {
    const std::string word = wordOf(n, 'a');
    const EntryIndex e = lexicon.findEntry(word);
    ASSERT_NE(e, kNoEntry) << n << " letters";
    EXPECT_EQ(lexicon.textView(e), word);
    // Either case.
    std::string upper = word;
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    EXPECT_EQ(lexicon.findEntry(upper), e) << n << " letters";
  }
  EXPECT_EQ(lexicon.findEntry(wordOf(33, 'a')), kNoEntry);
  EXPECT_EQ(lexicon.findEntry(wordOf(40, 'a')), kNoEntry);
}

TEST_F(LongWords, AValidatingListMarksThirtyOneAndThirtyTwoLetterWords) {
  const std::string w30 = wordOf(30, 'b'), w31 = wordOf(31, 'c'), w32 = wordOf(32, 'd');
  const std::string p31 = wordOf(31, 'e'), p32 = wordOf(32, 'f');
  const std::string list = folder.write("big.lst", w30 + " " + w31 + " " + w32 + " " + p31 + " " + p32 + "\n");
  // The validating list in upper case, as published lists are.
  std::string valid = w30 + "\n" + w31 + "\n" + w32 + "\n";
  for (char& c : valid) c = c == '\n' ? c : static_cast<char>(c - 'a' + 'A');
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, list, folder.write("valid.lst", valid)));
  for (const std::string& word : {w30, w31, w32}) {
    bool phony = true;
    EXPECT_TRUE(lexicon.isWord(word, 999, &phony)) << word.size() << " letters";
    EXPECT_FALSE(phony) << word.size() << " letters";
    const EntryIndex e = lexicon.findEntry(word);
    ASSERT_NE(e, kNoEntry) << word.size() << " letters";
    EXPECT_EQ(lexicon.entry(e).wordClass, kClassNormal);
  }
  for (const std::string& word : {p31, p32}) {
    bool phony = false;
    EXPECT_FALSE(lexicon.isWord(word, 999, &phony)) << word.size() << " letters";
    EXPECT_TRUE(phony);
    const EntryIndex e = lexicon.findEntry(word);
    ASSERT_NE(e, kNoEntry) << word.size() << " letters";
    EXPECT_EQ(lexicon.entry(e).wordClass, kClassPhony);
  }
}

}  // namespace
}  // namespace pexil
