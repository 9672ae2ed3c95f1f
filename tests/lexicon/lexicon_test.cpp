#include "lexicon/lexicon.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <thread>

#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::PaneCapture;
using test::StateGuard;
using test::TempFolder;

// Words of a loaded lexicon, in entry order.
std::vector<std::string> entries(const Lexicon& lexicon) {
  std::vector<std::string> words;
  for (int i = 0; i < lexicon.wordCount(); ++i) words.emplace_back(lexicon.text(i));
  return words;
}

class LexiconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
  }
  StateGuard guard;
  TempFolder folder;
};

TEST_F(LexiconTest, ReadsTokensAndSortsByLengthKeepingFileOrder) {
  const std::string path = folder.write(
      "mixed.lst", "zebra aa bb\r\ncat\tdog\n\nx " + std::string(33, 'q') + " ok " + std::string(32, 'r') +
                       " BIG dig1t caf\xE9 ab\n");
  PaneCapture capture;
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, path));
  EXPECT_EQ(entries(lexicon), (std::vector<std::string>{"aa", "bb", "ok", "ab", "cat", "dog", "big", "zebra",
                                                        std::string(32, 'r')}));
  EXPECT_EQ(capture.lines(), (std::vector<std::string>{"Reading word list \"" + path + "\"... ",
                                                       "9 words in word list. "}));
  EXPECT_EQ(lexicon.firstIndexByLength()[2], 0);
  EXPECT_EQ(lexicon.firstIndexByLength()[3], 4);
  EXPECT_EQ(lexicon.firstIndexByLength()[5], 7);
  EXPECT_EQ(lexicon.firstIndexByLength()[4], 0);
  EXPECT_EQ(lexicon.firstIndexByLength()[32], 8);
  EXPECT_TRUE(lexicon.isWord("BIG", 0));
  EXPECT_TRUE(lexicon.isWord(std::string(32, 'r'), 0));
  EXPECT_FALSE(lexicon.isWord("x", 0));
  EXPECT_FALSE(lexicon.isWord("ca", 0));
  EXPECT_FALSE(lexicon.isWord("", 0));

  // Signatures: repeated letters first, then single ones, in code order.
  const EntryIndex zebra = lexicon.findEntry("zebra");
  ASSERT_NE(zebra, kNoEntry);
  const std::string signature(reinterpret_cast<const char*>(lexicon.signature(zebra)));
  EXPECT_EQ(signature, std::string("a\x01" "b\x01" "e\x01" "r\x01" "z\x01"));
  const EntryIndex aa = lexicon.findEntry("AA");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(lexicon.signature(aa))), std::string("a\x02"));
  EXPECT_EQ(lexicon.entry(zebra).letterMask, (1u << 25) | (1u << 4) | (1u << 1) | (1u << 17) | 1u);
}

TEST_F(LexiconTest, SameFileLoadsOnceInAnyCase) {
  const std::string path = folder.write("Once.lst", "one two three");
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, path));
  PaneCapture capture;
  EXPECT_TRUE(loadWordListWithTables(lexicon, latin1Upper(path)));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(lexicon.wordCount(), 3);
  // Another file replaces everything, accepted extras included.
  lexicon.addAcceptedExtra("Zyzzyva");
  EXPECT_TRUE(lexicon.isAcceptedExtra("ZYZZYVA"));
  EXPECT_FALSE(lexicon.isAcceptedExtra("zyzzyv"));
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("other.lst", "four")));
  EXPECT_EQ(lexicon.wordCount(), 1);
  EXPECT_FALSE(lexicon.isWord("one", 0));
  EXPECT_FALSE(lexicon.isAcceptedExtra("zyzzyva"));
}

TEST_F(LexiconTest, BadFilesLeaveAnEmptyLexicon) {
  PaneCapture capture;
  Lexicon lexicon;
  EXPECT_FALSE(loadWordListWithTables(lexicon, folder.path("missing.lst")));
  EXPECT_EQ(lexicon.wordCount(), 0);
  EXPECT_FALSE(lexicon.isWord("aa", 0));
  const auto lines = capture.lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[lines.size() - 2] + lines.back(),
            "The word list \"" + folder.path("missing.lst") + "\" could not be read; the lexicon is empty. ");
  // A folder instead of a file.
  EXPECT_FALSE(loadWordListWithTables(lexicon, folder.path("")));

  // Empty files, binary junk, a 2 MB line and 300-character tokens.
  std::string junk;
  Mt19937 random;
  random.seed(7);
  for (int i = 0; i < 100000; ++i) junk.push_back(static_cast<char>(random.next()));
  for (const std::string& content : {std::string(), junk, std::string(2 << 20, 'a'),
                                     std::string(300, 'b') + " ok " + std::string(300, 'c'), std::string("\0\0ab\0", 5)}) {
    Lexicon bad;
    ASSERT_TRUE(loadWordListWithTables(bad, folder.write("bad.lst", content)));
    for (int i = 0; i < bad.wordCount(); ++i) {
      EXPECT_GE(bad.entry(i).length, 2);
      EXPECT_LE(bad.entry(i).length, 32);
    }
  }
  Lexicon mixed;
  ASSERT_TRUE(loadWordListWithTables(mixed, folder.write("bad.lst", std::string(300, 'b') + " ok " + std::string(300, 'c'))));
  EXPECT_EQ(entries(mixed), std::vector<std::string>{"ok"});
}

TEST_F(LexiconTest, ValidatingListMarksPhonies) {
  const std::string list = folder.write("big.lst", "cat dog qat zax");
  const std::string validating = folder.write("small.lst", "CAT qat\nnotinbig");
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, list, validating));
  EXPECT_EQ(lexicon.identityName(), validating);
  bool phony = true;
  EXPECT_TRUE(lexicon.isWord("cat", 999, &phony));
  EXPECT_FALSE(phony);
  EXPECT_FALSE(lexicon.isWord("dog", 999, &phony));
  EXPECT_TRUE(phony);
  EXPECT_TRUE(lexicon.isWord("dog", 0, &phony));
  EXPECT_TRUE(phony);
  EXPECT_TRUE(lexicon.isWord("dog", 3));  // long enough to be accepted
  EXPECT_FALSE(lexicon.isWord("dog", 4));
  EXPECT_EQ(lexicon.entry(lexicon.findEntry("zax")).wordClass, kClassPhony);
  EXPECT_EQ(lexicon.entry(lexicon.findEntry("qat")).wordClass, kClassNormal);

  // A validating list that cannot be read changes no class.
  PaneCapture capture;
  Lexicon unmarked;
  ASSERT_TRUE(loadWordListWithTables(unmarked, list, folder.path("gone.lst")));
  EXPECT_TRUE(unmarked.isWord("dog", 999));
  std::string all;
  for (const std::string& line : capture.lines()) all += line;
  EXPECT_NE(all.find("The word list \"" + folder.path("gone.lst") + "\" could not be read; words are not marked by it. "),
            std::string::npos);
}

TEST_F(LexiconTest, IdentityTable) {
  struct Case {
    const char* name;
    int listId, figure;
  };
  for (const Case& c : {Case{"TWL06whatever.lst", 2, 80}, Case{"twl06.LST", 2, 80}, Case{"Enable2k.txt", 1, 50},
                        Case{"OSPD4.lst", 3, 80}, Case{"ospd2.lst", 7, 50}, Case{"SOWPODS.lst", 4, 0},
                        Case{"CSW12.lst", 5, 0}, Case{"CATALAN.lst", 14, 0}, Case{"swedish.lst", 15, 0},
                        Case{"ENGLISH.LST", 0, 0}, Case{"xtwl06.lst", 0, 0}}) {
    Lexicon lexicon;
    ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write(c.name, "aa")));
    EXPECT_EQ(lexicon.listId(), c.listId) << c.name;
    EXPECT_EQ(lexicon.identityFigure(), c.figure) << c.name;
  }
  // The published-list classes need their lists; without them nothing changes.
  Lexicon international;
  ASSERT_TRUE(loadWordListWithTables(international, folder.write("CSW12-copy.lst", "aa")));
  EXPECT_EQ(international.entry(0).wordClass, kClassNormal);
}

TEST_F(LexiconTest, LanguageProbes) {
  struct Case {
    std::string words;
    int alphabet;
  };
  const Case cases[] = {
      {"there this that the have group against several", kAlphabetEnglish},
      {"there this that the have group against", kAlphabetEnglish},  // no probe matched: English anyway
      {"abo2an abolaga aboga acervado", kAlphabetSpanish},
      {"abolaga aboga acervado", kAlphabetEnglish},
      {"kurvfulde retr\xE6tes sm\xE5" "barn b\xF8" "ddel", kAlphabetDanish},
      {"afroamerikaner agrikultur ahnungsvolle", kAlphabetGerman},
      {"abaissait encabanasses huisserie pronassiez", kAlphabetFrench},
      {"abavo arteficio gambizzi semipoetica", kAlphabetItalian},
      {"abivgavi accvsare", kAlphabetLatin},
      {"abarrocarem emmagrix primmirat", kAlphabetCatalan},
      {"allergisk f\xE4ltm\xE4ssig lagspr\xE5k", kAlphabetSwedish},
      // German and French probes both present: German is tested first.
      {"afroamerikaner agrikultur ahnungsvolle abaissait encabanasses huisserie pronassiez", kAlphabetGerman},
  };
  for (const Case& c : cases) {
    // Languages with extra letters need their alphabet's codes to read them.
    setAlphabetCounts(kAlphabetSwedish);
    Lexicon lexicon;
    ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("probe" + std::to_string(c.alphabet) + ".lst", c.words)));
    EXPECT_EQ(lexicon.alphabet(), c.alphabet) << c.words;
    EXPECT_EQ(wordListAlphabet(), c.alphabet);
  }
}

TEST_F(LexiconTest, AlphabetOfTheActiveGameTypeDecidesValidTokens) {
  test::readDefinitionsText(
      "Game \"Espa\xF1ol\"\nespa\xF1ol\nboardsize 3 3\nbonus none . 000000\nboard\n...\n...\n...\nracksize 3\nGameEnd\n");
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  setAlphabetCounts(kAlphabetEnglish);  // the loader switches to Spanish itself
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("es.lst", "ca2e a\xF1o \xE4rger abo2an abolaga aboga acervado")));
  EXPECT_EQ(rules().letterCount, 28);
  EXPECT_TRUE(lexicon.isWord("ca2e", 0));
  EXPECT_TRUE(lexicon.isWord("A\xD1O", 0));  // the code map ignores case
  EXPECT_TRUE(lexicon.isWord("\xE4rger", 0));  // the fixed map reads a-umlaut as code 26, the Spanish N-tilde
  EXPECT_EQ(lexicon.alphabet(), kAlphabetSpanish);
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
}

TEST_F(LexiconTest, LookupsAgreeWithANaiveScan) {
  // A seeded random list with repeats, checked against std::set and scans.
  Mt19937 random;
  random.seed(99);
  std::vector<std::string> file;
  for (int i = 0; i < 3000; ++i) {
    std::string w(2 + random.next() % 7, 'a');
    for (char& c : w) c = "aesttrinlodcbq"[random.next() % 14];
    file.push_back(w);
  }
  file.push_back(file[10]);  // a repeated word
  std::string content;
  for (const std::string& w : file) content += w + "\n";
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("random.lst", content)));
  ASSERT_EQ(lexicon.wordCount(), static_cast<int>(file.size()));
  const std::set<std::string> set(file.begin(), file.end());

  // Membership for every word and for random strings.
  for (const std::string& w : file) EXPECT_TRUE(lexicon.isWord(w, 0)) << w;
  for (int i = 0; i < 5000; ++i) {
    std::string w(1 + random.next() % 9, 'a');
    for (char& c : w) c = static_cast<char>('a' + random.next() % 26);
    EXPECT_EQ(lexicon.isWord(w, 0), set.count(w) > 0) << w;
    EXPECT_EQ(lexicon.findEntry(w) != kNoEntry, set.count(w) > 0 && w.size() >= 2) << w;
  }
  // findEntry gives the first entry of a repeated word.
  const EntryIndex first = lexicon.findEntry(file[10]);
  for (EntryIndex e = 0; e < first; ++e) EXPECT_NE(lexicon.textView(e), file[10]);
  EXPECT_EQ(lexicon.findEntry(std::string(34, 'a')), kNoEntry);

  // Sorted views.
  const auto byText = lexicon.byText();
  ASSERT_EQ(byText.size(), file.size());
  for (std::size_t i = 1; i < byText.size(); ++i) EXPECT_LE(lexicon.textView(byText[i - 1]), lexicon.textView(byText[i]));
  const auto byReversed = lexicon.byReversedText();
  for (std::size_t i = 1; i < byReversed.size(); ++i) {
    std::string a(lexicon.textView(byReversed[i - 1])), b(lexicon.textView(byReversed[i]));
    std::reverse(a.begin(), a.end());
    std::reverse(b.begin(), b.end());
    EXPECT_LE(a, b);
  }
  // Runs of first letters in byText, then the word count.
  const auto& starts = lexicon.firstLetterStart();
  std::set<char> firsts;
  for (const std::string& w : file) firsts.insert(w[0]);
  for (std::size_t run = 0; run < firsts.size(); ++run) {
    const char letter = lexicon.text(byText[static_cast<std::size_t>(starts[run])])[0];
    EXPECT_EQ(letter, *std::next(firsts.begin(), static_cast<long>(run)));
  }
  EXPECT_EQ(starts[firsts.size()], lexicon.wordCount());

  // The position index against a filter of the entries.
  const char excluded[4] = {'e', 's', 'a', 't'};
  for (int trial = 0; trial < 300; ++trial) {
    const int table = static_cast<int>(random.next() % 16), position = static_cast<int>(random.next() % 8);
    const int length = 2 + static_cast<int>(random.next() % 8), code = static_cast<int>(random.next() % 26);
    std::vector<EntryIndex> expected;
    for (EntryIndex e = 0; e < lexicon.wordCount(); ++e) {
      const std::string_view w = lexicon.textView(e);
      if (static_cast<int>(w.size()) != length || position >= length || w[static_cast<std::size_t>(position)] != 'a' + code) continue;
      bool keep = true;
      for (int bit = 0; bit < 4; ++bit) keep = keep && !((table >> bit) & 1 && w.find(excluded[bit]) != std::string_view::npos);
      if (keep) expected.push_back(e);
    }
    const auto actual = lexicon.letterIndex(table, position, code, length);
    EXPECT_EQ(std::vector<EntryIndex>(actual.begin(), actual.end()), expected);
  }
  EXPECT_TRUE(lexicon.letterIndex(0, 8, 0, 3).empty());
  EXPECT_TRUE(lexicon.letterIndex(16, 0, 0, 3).empty());
}

TEST_F(LexiconTest, TrieNodes) {
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("trie.lst", "cat cats car dog")));
  const NodeIndex c = lexicon.child(Lexicon::trieRoot, 2);
  ASSERT_NE(c, kNoNode);
  EXPECT_EQ(lexicon.onlyChild(c), 0);  // only "a" follows c
  const NodeIndex ca = lexicon.child(c, 0);
  EXPECT_EQ(lexicon.onlyChild(ca), -2);  // r and t
  const NodeIndex cat = lexicon.child(ca, 19);
  ASSERT_NE(lexicon.nodeWord(cat), kNoEntry);
  EXPECT_EQ(lexicon.textView(lexicon.nodeWord(cat)), "cat");
  const NodeIndex cats = lexicon.child(cat, 18);
  EXPECT_EQ(lexicon.onlyChild(cats), -1);
  EXPECT_EQ(lexicon.child(cats, 0), kNoNode);
  EXPECT_EQ(lexicon.child(Lexicon::trieRoot, 25), kNoNode);
  EXPECT_EQ(lexicon.nodeWord(Lexicon::trieRoot), kNoEntry);
  EXPECT_EQ(lexicon.onlyChild(Lexicon::trieRoot), -2);
}

TEST_F(LexiconTest, AnagramsAndTwoLetterWords) {
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("ana.lst", "ate eat tea tee at ta qi xu aa stare tears")));
  EXPECT_TRUE(lexicon.hasAnagram("eta"));
  EXPECT_TRUE(lexicon.hasAnagram("ETA"));
  EXPECT_TRUE(lexicon.hasAnagram("aerts"));
  EXPECT_FALSE(lexicon.hasAnagram("ett"));
  EXPECT_TRUE(lexicon.hasAnagram("ete"));
  EXPECT_FALSE(lexicon.hasAnagram("a?e"));
  EXPECT_FALSE(lexicon.hasAnagram(""));
  EXPECT_TRUE(lexicon.hasAnagram("eta"));  // from the memo

  EXPECT_EQ(lexicon.textView(lexicon.findAnagramWord("tae")), "ate");
  EXPECT_EQ(lexicon.textView(lexicon.findAnagramWord("RATES")), "stare");
  EXPECT_EQ(lexicon.findAnagramWord("tte"), kNoEntry);
  EXPECT_EQ(lexicon.findAnagramWord("a"), kNoEntry);

  EXPECT_TRUE(lexicon.isTwoLetterWord(16, 8));   // qi
  EXPECT_FALSE(lexicon.isTwoLetterWord(8, 16));  // iq
  EXPECT_TRUE(lexicon.canStartTwo(16));
  EXPECT_TRUE(lexicon.canEndTwo(20));  // xu
  EXPECT_FALSE(lexicon.canEndTwo(16));
  EXPECT_TRUE(lexicon.isTwoLetterWord(0, 0));  // aa
}

TEST_F(LexiconTest, AnagramMemoUnderConcurrentReaders) {
  Mt19937 random;
  random.seed(5);
  std::string content;
  std::vector<std::string> words;
  for (int i = 0; i < 2000; ++i) {
    std::string w(3 + random.next() % 4, 'a');
    for (char& c : w) c = "abcdeilnorst"[random.next() % 12];
    words.push_back(w);
    content += w + " ";
  }
  Lexicon lexicon;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("memo.lst", content)));
  std::set<std::string> sortedWords;
  for (std::string w : words) {
    std::sort(w.begin(), w.end());
    sortedWords.insert(w);
  }
  // Queries: shuffled words and random letter sets, asked from four threads.
  std::vector<std::string> queries;
  for (int i = 0; i < 4000; ++i) {
    std::string q(3 + random.next() % 4, 'a');
    for (char& c : q) c = "abcdeilnorst"[random.next() % 12];
    queries.push_back(i % 2 ? words[random.next() % words.size()] : q);
  }
  std::vector<std::vector<bool>> answers(4, std::vector<bool>(queries.size()));
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (std::size_t i = 0; i < queries.size(); ++i) answers[static_cast<std::size_t>(t)][i] = lexicon.hasAnagram(queries[i]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (std::size_t i = 0; i < queries.size(); ++i) {
    std::string sorted = queries[i];
    std::sort(sorted.begin(), sorted.end());
    const bool expected = sortedWords.count(sorted) > 0;
    for (int t = 0; t < 4; ++t) EXPECT_EQ(answers[static_cast<std::size_t>(t)][i], expected) << queries[i];
  }
}

TEST_F(LexiconTest, LanguagePackNotice) {
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Danish")));
  PaneCapture capture;
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  loadWordListWithTables(lexicon, folder.write("DANISH.LST", "kurvfulde retr\xE6tes sm\xE5" "barn b\xF8" "ddel"));
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[1], "***************************************************** ");
  EXPECT_EQ(lines[2], "It appears that you do not have the Danish ");
  EXPECT_EQ(lines[9], lines[1]);
  EXPECT_EQ(textPane().LineColour(textPane().LineCount() - lines.size() + 1), colour::yellow);
  EXPECT_EQ(textPane().Colour(), colour::green);
  EXPECT_EQ(lexicon.alphabet(), kAlphabetDanish);
  EXPECT_EQ(rules().letterCount, 29);
  EXPECT_EQ(languageName(-1), "unknown");
  EXPECT_EQ(languageName(kAlphabetCatalan), "Catalan");
}

}  // namespace
}  // namespace pexil
