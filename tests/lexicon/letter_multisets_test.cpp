// The letter multisets of a list: every word's letters are found in any
// order, with a blank standing for any one of them, and letter sets that no
// word spells are not (checked against a naive sorted-letters set).
#include "lexicon/letter_multisets.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

std::uint64_t keyOf(std::string_view letters) {
  std::uint64_t key = 0;
  for (const char c : letters) key += LetterMultisets::letterKey(codeOfLetter(c));
  return key;
}

// The entries the word map names for a key; each word's stored letter
// codes must be those of its entry's text.
std::vector<EntryIndex> wordsOf(const LetterMultisets& sets, std::uint64_t key, const Lexicon* lexicon = nullptr) {
  std::vector<EntryIndex> entries;
  sets.forEachWord(key, [&](const LetterMultisets::Word& word) {
    entries.push_back(word.entry);
    if (!lexicon) return;
    const std::string_view text = lexicon->textView(word.entry);
    EXPECT_EQ(static_cast<std::size_t>(word.length), text.size());
    for (int k = 0; k < word.length && k < static_cast<int>(text.size()); ++k) {
      EXPECT_EQ(word.codes[k], codeOfLetter(text[static_cast<std::size_t>(k)])) << text;
    }
  });
  return entries;
}

std::string sortedCodes(std::string_view letters) {
  std::string codes;
  for (const char c : letters) codes.push_back(static_cast<char>(codeOfLetter(c)));
  std::sort(codes.begin(), codes.end());
  return codes;
}

class LetterMultisetsTest : public ::testing::Test {
 protected:
  void SetUp() override { activateGameType(kKindStandard); }
  test::StateGuard guard;
  test::TempFolder folder;
};

// Every word found shuffled, with a letter as a blank; random letter sets
// agree with the naive answer.
void checkAgainstNaive(const Lexicon& lexicon, const std::string& alphabet, std::uint32_t seed) {
  const LetterMultisets& sets = lexicon.letterMultisets();
  std::set<std::string> naive;
  for (EntryIndex i = 0; i < lexicon.wordCount(); ++i) {
    const std::string word(lexicon.textView(i));
    naive.insert(sortedCodes(word));
    std::string shuffled = word;
    std::reverse(shuffled.begin(), shuffled.end());
    EXPECT_TRUE(sets.contains(keyOf(shuffled))) << word;
    // The first letter as a blank: the rest plus that letter's key.
    EXPECT_TRUE(sets.contains(keyOf(word.substr(1)) + LetterMultisets::letterKey(codeOfLetter(word[0])))) << word;
  }
  std::mt19937 random(seed);
  int spelled = 0, notSpelled = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string letters;
    const int n = 2 + static_cast<int>(random() % 4);
    for (int k = 0; k < n; ++k) letters.push_back(alphabet[random() % alphabet.size()]);
    const bool expected = naive.count(sortedCodes(letters)) != 0;
    EXPECT_EQ(sets.contains(keyOf(letters)), expected) << letters;
    (expected ? spelled : notSpelled) += 1;
  }
  EXPECT_GT(spelled, 10);
  EXPECT_GT(notSpelled, 1000);
  // The word map: every word is among the words of its own letters, and
  // every word named there has exactly those letters.
  for (EntryIndex i = 0; i < lexicon.wordCount(); ++i) {
    const std::string word(lexicon.textView(i));
    const auto words = wordsOf(sets, keyOf(word), &lexicon);
    ASSERT_FALSE(words.empty()) << word;
    bool self = false;
    for (const EntryIndex w : words) {
      EXPECT_EQ(sortedCodes(lexicon.textView(w)), sortedCodes(word)) << word;
      self = self || lexicon.textView(w) == word;
    }
    EXPECT_TRUE(self) << word;
    EXPECT_TRUE(std::is_sorted(words.begin(), words.end())) << word;
  }
}

TEST_F(LetterMultisetsTest, EnglishWordsAndNonWords) {
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, PEXIL_TEST_DATA "/movegen/words.lst"));
  checkAgainstNaive(lexicon, "abcdeeilnorst", 5);
  // A reload builds the sets of the new list.
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("two.lst", "zzz qi")));
  EXPECT_TRUE(lexicon.letterMultisets().contains(keyOf("iq")));
  EXPECT_FALSE(lexicon.letterMultisets().contains(keyOf("rest")));
  EXPECT_TRUE(wordsOf(lexicon.letterMultisets(), keyOf("rest")).empty());
  ASSERT_EQ(wordsOf(lexicon.letterMultisets(), keyOf("zzz")).size(), 1u);
}

// The entry the trie's node for a text names.
EntryIndex trieWord(const Lexicon& lexicon, std::string_view text) {
  NodeIndex node = Lexicon::trieRoot;
  for (const char c : text) node = lexicon.child(node, codeOfLetter(c));
  return lexicon.nodeWord(node);
}

// A word repeated in the list is named once, as the entry the trie holds
// (the one the move generator's walk records).
TEST_F(LetterMultisetsTest, TheWordMapNamesEachAnagramOnce) {
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(lexicon.loadWordList(folder.write("anagrams.lst", "stop pots tops spot post opts pots zo")));
  const auto words = wordsOf(lexicon.letterMultisets(), keyOf("stop"));
  std::set<std::string> texts;
  for (const EntryIndex w : words) texts.insert(std::string(lexicon.textView(w)));
  EXPECT_EQ(texts, (std::set<std::string>{"opts", "post", "pots", "spot", "stop", "tops"}));
  EXPECT_EQ(words.size(), texts.size());
  for (const EntryIndex w : words) EXPECT_EQ(trieWord(lexicon, lexicon.textView(w)), w);
}

// Spanish tiles CH, LL and RR are single letters of their own (written 1,
// 2 and 3 in the list): a word with LL is not the same set as one with L L.
TEST_F(LetterMultisetsTest, SpanishDigraphTilesAreLettersOfTheirOwn) {
  test::readDefinitionsText(
      "Game \"Espa\xF1ol\"\nespa\xF1ol\nboardsize 3 3\nbonus none . 000000\nboard\n...\n...\n...\nracksize 3\nGameEnd\n");
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("es.lst", "ca2e ca1o pe3o lelo a\xF1o abo2an abolaga aboga acervado")));
  ASSERT_EQ(lexicon.alphabet(), kAlphabetSpanish);
  const LetterMultisets& sets = lexicon.letterMultisets();
  EXPECT_TRUE(sets.contains(keyOf("e2ac")));
  EXPECT_FALSE(sets.contains(keyOf("ellac")));  // L L is not LL
  EXPECT_TRUE(sets.contains(keyOf("o3pe")));
  EXPECT_FALSE(sets.contains(keyOf("orrpe")));
  EXPECT_TRUE(sets.contains(keyOf("o\xF1" "a")));
  ASSERT_EQ(wordsOf(sets, keyOf("e2ac")).size(), 1u);
  EXPECT_EQ(lexicon.textView(wordsOf(sets, keyOf("e2ac"))[0]), "ca2e");
  EXPECT_TRUE(wordsOf(sets, keyOf("ellac")).empty());
  checkAgainstNaive(lexicon, "abcelnopr123\xF1", 9);
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
}

}  // namespace
}  // namespace pexil
