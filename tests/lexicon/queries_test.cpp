#include "lexicon/word_queries.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <filesystem>
#include <random>
#include <set>

#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using test::PaneCapture;
using test::StateGuard;
using test::InFolder;
using test::TempFolder;
using Words = std::vector<std::string>;

const std::string kQueriesList = PEXIL_TEST_DATA "/lexicon/queries.lst";
const std::string kQueriesValidating = PEXIL_TEST_DATA "/lexicon/queries_valid.lst";

Words texts(const Lexicon& lexicon, const std::vector<EntryIndex>& entries) {
  Words words;
  for (EntryIndex e : entries) words.emplace_back(lexicon.textView(e));
  return words;
}

// The pane's lines and colours from `start` on.
struct PaneLine {
  std::string text;
  int colour;
};
std::vector<PaneLine> paneFrom(std::size_t start) {
  std::vector<PaneLine> lines;
  for (std::size_t i = start; i < textPane().LineCount(); ++i) lines.push_back({textPane().Line(i), textPane().LineColour(i)});
  return lines;
}

class WordQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
    lexicon.loadLeaves = false;
    ASSERT_TRUE(loadWordListWithTables(lexicon, kQueriesList));
  }
  StateGuard guard;
  Lexicon lexicon;
};

TEST_F(WordQueriesTest, TypedTextIsLoweredThenConvertedByAlphabet) {
  EXPECT_EQ(convertQueryText("AtOm"), "atom");
  // Only A..Z are lowered; other Latin-1 capitals stay.
  EXPECT_EQ(convertQueryText("\xC9T\xC9"), "\xC9t\xC9");
  EXPECT_EQ(convertQueryText("CHaRRo"), "charro");
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_EQ(convertQueryText("CHaRRo"), "1a3o");
  EXPECT_EQ(convertQueryText("LLama"), "2ama");
  setWordListAlphabet(kAlphabetCatalan);
  EXPECT_EQ(convertQueryText("PAL\xB7LA"), "pawa");
  EXPECT_EQ(convertQueryText("QUE"), "qe");
}

TEST_F(WordQueriesTest, CheckWordGivesTheVerdictText) {
  const std::string valid = "That is a valid word in the current lexicon.";
  const std::string invalid = "That is not a valid word in the current lexicon.";
  EXPECT_EQ(checkWord(lexicon, "cat"), valid);
  EXPECT_EQ(checkWord(lexicon, "CAT"), valid);
  EXPECT_EQ(checkWord(lexicon, "cta"), invalid);
  EXPECT_EQ(checkWord(lexicon, "c"), invalid);
  EXPECT_EQ(checkWord(lexicon, ""), invalid);

  // Words missing from the validating list are phonies, and still valid.
  Lexicon checked;
  checked.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(checked, kQueriesList, kQueriesValidating));
  bool phony = false;
  EXPECT_TRUE(checked.isWord("qat", 0, &phony));
  ASSERT_TRUE(phony);
  EXPECT_EQ(checkWord(checked, "QAT"), valid);
  EXPECT_EQ(checkWord(checked, "qats"), invalid);
}

TEST_F(WordQueriesTest, FrontHooksAreEveryLongerWordEndingInTheText) {
  const Words expected{"bat", "cat", "eat", "fat", "hat", "mat", "oat", "pat", "qat",
                       "rat", "sat", "tat", "vat", "combat", "wombat", "acrobat"};
  EXPECT_EQ(texts(lexicon, frontHooks(lexicon, "at")), expected);
  EXPECT_EQ(texts(lexicon, frontHooks(lexicon, "AT")), expected);
  EXPECT_EQ(texts(lexicon, frontHooks(lexicon, "bat")), (Words{"combat", "wombat", "acrobat"}));
  EXPECT_TRUE(frontHooks(lexicon, "acrobat").empty());  // the word itself is no hook
  EXPECT_TRUE(frontHooks(lexicon, "xyz").empty());
}

TEST_F(WordQueriesTest, BackHooksAreEveryLongerWordBeginningWithTheText) {
  EXPECT_EQ(texts(lexicon, backHooks(lexicon, "at")), (Words{"ate", "atom", "atlas", "atoll", "atoms"}));
  EXPECT_EQ(texts(lexicon, backHooks(lexicon, "aTo")), (Words{"atom", "atoll", "atoms"}));
  EXPECT_EQ(texts(lexicon, backHooks(lexicon, "qu")), (Words{"qua", "quiz"}));
  EXPECT_TRUE(backHooks(lexicon, "atoms").empty());
}

TEST_F(WordQueriesTest, AnagramsUseEveryLetterAndOneMoreForEachBlank) {
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, "?at")),
            (Words{"act", "aft", "ait", "ant", "apt", "art", "ate", "bat", "cat", "eat", "eta", "fat",
                   "hat", "mat", "oat", "pat", "qat", "rat", "sat", "tae", "tat", "tea", "vat"}));
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, "tea")), (Words{"ate", "eat", "eta", "tae", "tea"}));
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, "TTA")), (Words{"tat"}));
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, "a?")),
            (Words{"aa", "ab", "ad", "ae", "ag", "ah", "ai", "al", "am", "an", "ar", "as", "at", "aw", "ax", "ay",
                   "ba", "da", "ka", "za"}));
  EXPECT_EQ(anagrams(lexicon, "??").size(), 40u);
  EXPECT_TRUE(anagrams(lexicon, "aat").empty());  // a letter used twice must be there twice
  EXPECT_TRUE(anagrams(lexicon, "").empty());
}

TEST_F(WordQueriesTest, PatternsMatchLetterByLetter) {
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "c*t")), (Words{"cat", "cot", "cut", "cart", "cult", "combat"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "[bc]at")), (Words{"bat", "cat"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "[BC]at")), (Words{"bat", "cat"}));
  // q and z are worth 10 in the standard game.
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(10)??")), (Words{"qat", "qis", "qua", "zag", "zap", "zax"}));
  EXPECT_EQ(patternMatch(lexicon, "??").size(), 40u);
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(v)at")), (Words{"eat", "oat"}));
  const Words consonantAt{"bat", "cat", "fat", "hat", "mat", "pat", "qat", "rat", "sat", "tat", "vat"};
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(c)at")), consonantAt);
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(C)at")), consonantAt);
  // Y is never a vowel.
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "?(c)")), (Words{"ab", "ad", "ag", "ah", "al", "am", "an", "ar", "as",
                                                                  "at", "aw", "ax", "ay", "by", "ed", "ef", "eh", "el",
                                                                  "em", "en", "er", "es", "ex"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(v)(v)")), (Words{"aa", "ae", "ai"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "cat*")), (Words{"cat", "cats"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "at*s")), (Words{"atlas", "atoms"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "*a*a*")), (Words{"aa", "atlas", "acrobat", std::string(32, 'a')}));
  EXPECT_EQ(patternMatch(lexicon, "*").size(), static_cast<std::size_t>(lexicon.wordCount()));
  EXPECT_EQ(patternMatch(lexicon, "**").size(), static_cast<std::size_t>(lexicon.wordCount()));
  EXPECT_TRUE(patternMatch(lexicon, "").empty());
  EXPECT_TRUE(patternMatch(lexicon, "c?t?s").empty());
}

TEST_F(WordQueriesTest, StrayParenthesesAndUnclosedListsInPatterns) {
  // '(' starting no form is skipped; what follows stands for itself.
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(at")), (Words{"at"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "(cat")), (Words{"cat"}));
  EXPECT_TRUE(patternMatch(lexicon, "(?at").empty());  // a literal '?'
  EXPECT_TRUE(patternMatch(lexicon, "(*").empty());
  EXPECT_TRUE(patternMatch(lexicon, "(0)at").empty());  // N must not be zero
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "at(")), (Words{"at"}));
  EXPECT_TRUE(matchesPattern("(a", "((a"));
  EXPECT_TRUE(matchesPattern("0)", "(0)"));
  EXPECT_TRUE(matchesPattern("10", "(10"));  // a number needs its ')'
  EXPECT_TRUE(matchesPattern("cb", "(cb"));  // so do (c) and (v)
  EXPECT_FALSE(matchesPattern("c)", "(c)"));
  EXPECT_TRUE(matchesPattern("b", "(c)"));
  EXPECT_TRUE(matchesPattern("qi", "(00010)(1)"));
  EXPECT_FALSE(matchesPattern("qi", "(99999999999999999999)?"));  // no overflow into some value
  // An unclosed letter list runs to the end of the pattern.
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "a[bd")), (Words{"ab", "ad"}));
  EXPECT_FALSE(matchesPattern("a]", "a[]]"));  // an empty list, then ']'
  EXPECT_FALSE(matchesPattern("ab]", "a[]]"));
  EXPECT_FALSE(matchesPattern("a", "[]"));
}

TEST_F(WordQueriesTest, ManyStarsStayFast) {
  // 32 a's against sixteen stars: a search that retries every split would
  // take far too long here.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(patternMatch(lexicon, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b").empty());
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a")),
            (Words{std::string(32, 'a')}));
  EXPECT_TRUE(patternMatch(lexicon, std::string(100000, '*') + "q").empty());
  EXPECT_EQ(patternMatch(lexicon, std::string(100000, '*')).size(), static_cast<std::size_t>(lexicon.wordCount()));
  EXPECT_TRUE(patternMatch(lexicon, std::string(40, '?')).empty());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(WordQueryOrder, ShorterFirstThenUnsignedBytes) {
  StateGuard guard;
  activateGameType(kKindStandard);
  setAlphabetCounts(kAlphabetDanish);
  TempFolder folder;
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("dansk.lst", "\xE6" "bler zebra abe \xF8" "se \xE5" "r bo")));
  ASSERT_EQ(lexicon.wordCount(), 6);
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "*")),
            (Words{"bo", "\xE5r", "abe", "\xF8se", "zebra", "\xE6" "bler"}));
  // Latin-1 capitals compare equal to their small letters.
  EXPECT_EQ(texts(lexicon, backHooks(lexicon, "\xC6")), (Words{"\xE6" "bler"}));
  EXPECT_EQ(texts(lexicon, frontHooks(lexicon, "SE")), (Words{"\xF8se"}));
  EXPECT_EQ(texts(lexicon, anagrams(lexicon, "R\xC5")), (Words{"\xE5r"}));
  EXPECT_EQ(texts(lexicon, patternMatch(lexicon, "[\xC5\xD8]*")), (Words{"\xE5r", "\xF8se"}));

  // sortResults on its own.
  std::vector<EntryIndex> all;
  for (EntryIndex e = lexicon.wordCount(); e-- > 0;) all.push_back(e);
  sortResults(lexicon, all);
  EXPECT_EQ(texts(lexicon, all), (Words{"bo", "\xE5r", "abe", "\xF8se", "zebra", "\xE6" "bler"}));
}

// ---- result pages ----

TEST_F(WordQueriesTest, PagesOfTwentyWithContinuationAndReset) {
  WordResults results;
  const std::size_t start = textPane().LineCount();
  EXPECT_EQ(runWordQuery(lexicon, WordQuery::pattern, "??", results, false), 40u);
  std::vector<PaneLine> lines = paneFrom(start);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines[0].text, "Matches '?" "?'");
  EXPECT_EQ(lines[0].colour, colour::orange);
  EXPECT_EQ(lines[1].text, "   1. aa");
  EXPECT_EQ(lines[2].text, "   2. ab");
  EXPECT_EQ(lines[20].text, "  20. bo");
  for (std::size_t i = 1; i <= 20; ++i) EXPECT_EQ(lines[i].colour, colour::orange) << i;
  EXPECT_EQ(lines[21].text, "Type 'y' to see more words.");
  EXPECT_EQ(lines[21].colour, colour::green);
  EXPECT_EQ(textPane().Colour(), colour::green);
  EXPECT_EQ(results.nextIndex(), 20u);
  EXPECT_TRUE(results.hasMore());

  // The second page ends the list exactly: no continuation, back to 0.
  const std::size_t second = textPane().LineCount();
  EXPECT_FALSE(results.showPage(false));
  lines = paneFrom(second);
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(lines[0].text, "  21. by");
  EXPECT_EQ(lines[19].text, "  40. za");
  EXPECT_EQ(results.nextIndex(), 0u);
  EXPECT_FALSE(results.hasMore());
  EXPECT_EQ(textPane().Colour(), colour::green);

  // Another page starts over.
  const std::size_t third = textPane().LineCount();
  EXPECT_TRUE(results.showPage(false));
  lines = paneFrom(third);
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[0].text, "   1. aa");
}

TEST_F(WordQueriesTest, LastPageHoldsTheRest) {
  // 26 two-letter and 19 three-letter words beginning with q.
  TempFolder folder;
  std::string list;
  for (char c = 'a'; c <= 'z'; ++c) list += std::string("q") + c + " ";
  for (char c = 'a'; c < 'a' + 19; ++c) list += std::string("qa") + c + " ";
  Lexicon many;
  many.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(many, folder.write("q.lst", list)));
  WordResults results;
  EXPECT_EQ(runWordQuery(many, WordQuery::backHooks, "Q", results, false), 45u);
  EXPECT_EQ(results.nextIndex(), 20u);
  EXPECT_TRUE(results.showPage(false));
  EXPECT_EQ(results.nextIndex(), 40u);
  const std::size_t last = textPane().LineCount();
  EXPECT_FALSE(results.showPage(false));
  const std::vector<PaneLine> lines = paneFrom(last);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].text, "  41. qao");
  EXPECT_EQ(lines[4].text, "  45. qas");
  EXPECT_EQ(results.nextIndex(), 0u);

  // Without the continuation line, for callers that print every page.
  const std::size_t quiet = textPane().LineCount();
  EXPECT_TRUE(results.showPage(false, false));
  EXPECT_EQ(textPane().LineCount() - quiet, 20u);
  EXPECT_EQ(textPane().LastLine(), "  20. qt");
}

TEST_F(WordQueriesTest, HeadingsShowTheConvertedText) {
  struct Case {
    WordQuery query;
    const char* typed;
    const char* heading;
    const char* none;
  };
  for (const Case& c : {Case{WordQuery::frontHooks, "BAT", "Front hooks 'bat'", "No front hooks found in the current lexicon."},
                        Case{WordQuery::backHooks, "ATO", "Back hooks 'ato'", "No back hooks found in the current lexicon."},
                        Case{WordQuery::anagrams, "TEA", "Anagrams 'tea'", "No anagrams found in the current lexicon."},
                        Case{WordQuery::pattern, "C*T", "Matches 'c*t'", "No matches found in the current lexicon."}}) {
    WordResults results;
    PaneCapture capture;
    EXPECT_GT(runWordQuery(lexicon, c.query, c.typed, results, false), 0u);
    ASSERT_FALSE(capture.lines().empty());
    EXPECT_EQ(capture.lines().front(), c.heading);
    EXPECT_EQ(capture.lines().size(), results.size() + 1);  // fewer than 20: no continuation line
    EXPECT_EQ(results.nextIndex(), 0u);

    PaneCapture none;
    EXPECT_EQ(runWordQuery(lexicon, c.query, "xyzzy", results, false), 0u);
    EXPECT_EQ(none.lines(), (Words{c.none}));
    EXPECT_TRUE(results.empty());
  }
  // The conversion is that of the list's alphabet: Catalan turns qu into q.
  WordResults results;
  PaneCapture english;
  runWordQuery(lexicon, WordQuery::pattern, "QU*", results, false);
  EXPECT_EQ(english.lines(), (Words{"Matches 'qu*'", "   1. qua", "   2. quiz"}));
  setWordListAlphabet(kAlphabetCatalan);
  PaneCapture catalan;
  runWordQuery(lexicon, WordQuery::pattern, "QU*", results, false);
  EXPECT_EQ(catalan.lines(), (Words{"Matches 'q*'", "   1. qi", "   2. qat", "   3. qis", "   4. qua", "   5. quiz"}));
}

TEST_F(WordQueriesTest, ResultsOutliveTheirLexicon) {
  WordResults results;
  {
    Lexicon brief;
    brief.loadLeaves = false;
    ASSERT_TRUE(loadWordListWithTables(brief, kQueriesList));
    runWordQuery(brief, WordQuery::anagrams, "?at", results, false);
  }
  PaneCapture capture;
  EXPECT_FALSE(results.showPage(false));
  EXPECT_EQ(capture.lines(), (Words{"  21. tat", "  22. tea", "  23. vat"}));
}

// ---- highlighting by class ----

TEST_F(WordQueriesTest, HighlightMarksPhoniesWithAStar) {
  Lexicon checked;
  checked.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(checked, kQueriesList, kQueriesValidating));
  WordResults results;
  PaneCapture marked;
  runWordQuery(checked, WordQuery::frontHooks, "at", results, true);
  const Words lines = marked.lines();
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[9], "   9. qat*");
  EXPECT_EQ(lines[8], "   8. pat");
  EXPECT_EQ(lines[16], "  16. acrobat*");

  PaneCapture plain;
  runWordQuery(checked, WordQuery::frontHooks, "at", results, false);
  EXPECT_EQ(plain.lines()[9], "   9. qat");
  EXPECT_EQ(plain.lines()[16], "  16. acrobat");
}

TEST_F(WordQueriesTest, HighlightMarksInternationalOnlyWordsWithAHash) {
  TempFolder folder;
  folder.write("TWL06.lst", "cat qi za");
  folder.write("CSW12.lst", "cat qi za zo xu");
  folder.write("sowpods.lst", "cat qi za zo");
  folder.write("unabridged.lst", "cat qi za zo xu xx");
  InFolder here(folder.path(""));

  Lexicon international;
  international.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(international, "sowpods.lst"));
  WordResults results;
  PaneCapture capture;
  runWordQuery(international, WordQuery::pattern, "??", results, true);
  EXPECT_EQ(capture.lines(), (Words{"Matches '?" "?'", "   1. qi", "   2. za", "   3. zo#"}));

  // The unabridged list also has words in neither list: '*'.
  Lexicon unabridged;
  unabridged.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(unabridged, "unabridged.lst"));
  PaneCapture both;
  runWordQuery(unabridged, WordQuery::pattern, "[qxz]?", results, true);
  EXPECT_EQ(both.lines(), (Words{"Matches '[qxz]?'", "   1. qi", "   2. xu#", "   3. xx*", "   4. za", "   5. zo#"}));
}

// ---- every query against a plain scan ----

// The pattern language read straight from its table, by trying every split
// of each '*' (shortest first): slow but simple.
bool plainMatch(const std::string& word, std::size_t w, const std::string& pattern, std::size_t p) {
  if (p == pattern.size()) return w == word.size();
  const char c = pattern[p];
  if (c == '*') {
    for (std::size_t k = w; k <= word.size(); ++k) {
      if (plainMatch(word, k, pattern, p + 1)) return true;
    }
    return false;
  }
  auto lower = [](char x) { return latin1Lower(x); };
  std::function<bool(char)> takes;
  std::size_t next = p + 1;
  if (c == '?') {
    takes = [](char) { return true; };
  } else if (c == '[') {
    std::size_t close = pattern.find(']', p + 1);
    if (close == std::string::npos) close = pattern.size();
    const std::string set = latin1Lower(pattern.substr(p + 1, close - p - 1));
    takes = [set, lower](char x) { return set.find(lower(x)) != std::string::npos; };
    next = std::min(close + 1, pattern.size());
  } else if (c == '(') {
    std::size_t digits = p + 1;
    long long n = 0;
    while (digits < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[digits]))) {
      n = std::min(10000000LL, n * 10 + (pattern[digits] - '0'));
      ++digits;
    }
    if (p + 2 < pattern.size() && pattern[p + 2] == ')' && (lower(pattern[p + 1]) == 'c' || lower(pattern[p + 1]) == 'v')) {
      const bool vowel = lower(pattern[p + 1]) == 'v';
      takes = [vowel](char x) { return isVowel(x) == vowel; };
      next = p + 3;
    } else if (digits > p + 1 && digits < pattern.size() && pattern[digits] == ')' && n > 0) {
      takes = [n](char x) { return rules().letterValue[static_cast<std::size_t>(codeOfLetter(x))] == n; };
      next = digits + 1;
    } else {
      if (p + 1 == pattern.size()) return w == word.size();
      const char literal = lower(pattern[p + 1]);
      takes = [literal, lower](char x) { return lower(x) == literal; };
      next = p + 2;
    }
  } else {
    takes = [c, lower](char x) { return lower(x) == lower(c); };
  }
  return w < word.size() && takes(word[w]) && plainMatch(word, w + 1, pattern, next);
}

Words inResultOrder(Words words) {
  std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  });
  return words;
}

TEST(WordQueryCrossCheck, EveryQueryAgreesWithAPlainScan) {
  StateGuard guard;
  activateGameType(kKindStandard);
  setAlphabetCounts(kAlphabetEnglish);
  std::mt19937 random(20240611);
  auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  const std::string letters = "aaeeiioustrnlcdbpmqz";

  std::set<std::string> unique;
  while (unique.size() < 400) {
    std::string w;
    const std::size_t length = 2 + pick(7);
    for (std::size_t i = 0; i < length; ++i) w += letters[pick(letters.size())];
    unique.insert(w);
  }
  const Words list(unique.begin(), unique.end());
  std::string file;
  for (const std::string& w : list) file += w + "\n";
  TempFolder folder;
  Lexicon lexicon;
  lexicon.loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(lexicon, folder.write("cross.lst", file)));
  ASSERT_EQ(lexicon.wordCount(), 400);

  auto scan = [&](auto keep) {
    Words found;
    for (const std::string& w : list) {
      if (keep(w)) found.push_back(w);
    }
    return inResultOrder(found);
  };
  auto someWord = [&] { return list[pick(list.size())]; };
  auto maybeUpper = [&](std::string text) {
    for (char& c : text) {
      if (pick(4) == 0) c = latin1Upper(c);
    }
    return text;
  };

  std::size_t nonEmpty[4] = {};
  for (int round = 0; round < 300; ++round) {
    // Hooks: a piece of a word, or random letters.
    const std::string w = someWord();
    const std::size_t cut = 1 + pick(w.size() - 1);
    std::string tail = w.substr(cut), head = w.substr(0, cut);
    if (pick(5) == 0) tail = {letters[pick(letters.size())], 'e'};
    if (pick(5) == 0) head = {'q', letters[pick(letters.size())]};
    const Words front = scan([&](const std::string& x) { return x.size() > tail.size() && x.ends_with(tail); });
    const Words back = scan([&](const std::string& x) { return x.size() > head.size() && x.starts_with(head); });
    EXPECT_EQ(texts(lexicon, frontHooks(lexicon, maybeUpper(tail))), front) << tail;
    EXPECT_EQ(texts(lexicon, backHooks(lexicon, maybeUpper(head))), back) << head;
    nonEmpty[0] += !front.empty();
    nonEmpty[1] += !back.empty();

    // Anagrams: a word shuffled with up to two letters blanked.
    std::string query = someWord();
    std::shuffle(query.begin(), query.end(), random);
    for (std::size_t b = pick(3); b > 0; --b) query[pick(query.size())] = '?';
    if (pick(6) == 0) query += letters[pick(letters.size())];
    std::string wanted;
    for (char c : query) {
      if (c != '?') wanted += c;
    }
    std::sort(wanted.begin(), wanted.end());
    const Words anagramsFound = scan([&](const std::string& x) {
      if (x.size() != query.size()) return false;
      std::string have = x;
      std::sort(have.begin(), have.end());
      return std::includes(have.begin(), have.end(), wanted.begin(), wanted.end());
    });
    EXPECT_EQ(texts(lexicon, anagrams(lexicon, maybeUpper(query))), anagramsFound) << query;
    nonEmpty[2] += !anagramsFound.empty();

    // Patterns: a word with its letters turned into pattern elements.
    const std::string source = someWord();
    std::string pattern;
    int stars = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
      const char c = source[i];
      switch (pick(10)) {
        case 0: pattern += '?'; break;
        case 1: pattern += {'[', c, letters[pick(letters.size())], ']'}; break;
        case 2: pattern += isVowel(c) ? (pick(2) ? "(v)" : "(V)") : (pick(2) ? "(c)" : "(C)"); break;
        case 3:
          pattern += '(';
          pattern += std::to_string(rules().letterValue[static_cast<std::size_t>(codeOfLetter(c))]);
          pattern += ')';
          break;
        case 4:
          if (stars < 3) {
            pattern += '*';
            ++stars;
            i += pick(3);  // the star stands for some letters
          } else {
            pattern += c;
          }
          break;
        case 5: pattern += {'(', c}; break;  // a stray '('
        case 6: pattern += letters[pick(letters.size())]; break;
        default: pattern += pick(3) ? c : latin1Upper(c); break;
      }
    }
    if (pick(8) == 0) pattern += '*';
    const Words matched = scan([&](const std::string& x) { return plainMatch(x, 0, pattern, 0); });
    EXPECT_EQ(texts(lexicon, patternMatch(lexicon, pattern)), matched) << pattern;
    nonEmpty[3] += !matched.empty();
  }
  // The random queries must have found something, or they test little.
  for (std::size_t count : nonEmpty) EXPECT_GT(count, 50u);
}

}  // namespace
}  // namespace pexil
