#include "rules/letter_codes.hpp"

#include <gtest/gtest.h>

#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

TEST(LetterCodes, FixedMapInAllVariants) {
  for (char c = 'a'; c <= 'z'; ++c) EXPECT_EQ(codeOfLower(c), c - 'a');
  for (char c = 'A'; c <= 'Z'; ++c) EXPECT_EQ(codeOfUpper(c), c - 'A');
  struct Case {
    char c;
    int code;
  };
  const Case specials[] = {{'1', 27}, {'\xD6', 27}, {'\xD8', 27}, {'\xF6', 27}, {'\xF8', 27}, {'2', 22},
                           {'3', 10}, {'\xC7', 10}, {'\xE7', 10}, {'4', 26},   {'\xC4', 26}, {'\xC6', 26},
                           {'\xD1', 26}, {'\xE4', 26}, {'\xE6', 26}, {'\xF1', 26}, {'\xC5', 28}, {'\xDC', 28},
                           {'\xE5', 28}, {'\xFC', 28}};
  for (const Case& s : specials) {
    EXPECT_EQ(codeOfLower(s.c), s.code) << int(static_cast<unsigned char>(s.c));
    EXPECT_EQ(codeOfUpper(s.c), s.code);
    EXPECT_EQ(codeOfLetter(s.c), s.code);
  }
  // Other characters give their offset, which callers range-check.
  EXPECT_EQ(codeOfLower('A'), 'A' - 'a');
  EXPECT_EQ(codeOfUpper('a'), 'a' - 'A');
  EXPECT_EQ(codeOfLower('\xFF'), 0xFF - 'a');
  // Letters read in either case for tiles.
  EXPECT_EQ(codeOfLetter('Q'), 16);
  EXPECT_EQ(codeOfLetter('q'), 16);
}

TEST(LetterCodes, BlankFollowsTheActiveAlphabet) {
  test::StateGuard guard;
  setAlphabetCounts(kAlphabetEnglish);
  EXPECT_EQ(codeOfTile('?'), 26);
  setAlphabetCounts(kAlphabetSpanish);
  EXPECT_EQ(codeOfTile('?'), 28);
  setAlphabetCounts(kAlphabetSwedish);
  EXPECT_EQ(codeOfTile('?'), 29);
  EXPECT_EQ(codeOfTile('E'), 4);
  EXPECT_EQ(codeOfLower('?'), '?' - 'a');

  struct Counts {
    int alphabet, letters, blank, codes;
  };
  for (const Counts& c : {Counts{0, 26, 26, 27}, Counts{1, 28, 28, 29}, Counts{2, 29, 29, 30}, Counts{3, 26, 26, 27},
                          Counts{4, 29, 29, 30}, Counts{5, 26, 26, 27}, Counts{6, 26, 26, 27}, Counts{7, 26, 26, 27},
                          Counts{8, 29, 29, 30}}) {
    setAlphabetCounts(c.alphabet);
    EXPECT_EQ(rules().letterCount, c.letters) << c.alphabet;
    EXPECT_EQ(rules().blankCode, c.blank) << c.alphabet;
    EXPECT_EQ(rules().codeCount, c.codes) << c.alphabet;
  }
}

TEST(LetterCodes, ReverseMapByWordListAlphabet) {
  test::StateGuard guard;
  setAlphabetCounts(kAlphabetEnglish);
  struct Row {
    int alphabet;
    char c10, c22, c26, c27, c28;
  };
  const Row rows[] = {
      {kAlphabetSpanish, '3', '2', '\xD1', '1', '\xC5'}, {kAlphabetGerman, 'K', 'W', '\xC4', '\xD6', '\xDC'},
      {kAlphabetSwedish, 'K', 'W', '\xC4', '\xD6', '\xC5'}, {kAlphabetCatalan, '\xC7', 'W', '\xC6', '\xD8', '\xC5'},
      {kAlphabetEnglish, 'K', 'W', '\xC6', '\xD8', '\xC5'}, {kAlphabetDanish, 'K', 'W', '\xC6', '\xD8', '\xC5'},
  };
  for (const Row& row : rows) {
    setWordListAlphabet(row.alphabet);
    rules().blankCode = 29;  // keep the blank test out of the way
    EXPECT_EQ(charOfUpper(10), row.c10) << row.alphabet;
    EXPECT_EQ(charOfUpper(22), row.c22) << row.alphabet;
    EXPECT_EQ(charOfUpper(26), row.c26) << row.alphabet;
    EXPECT_EQ(charOfUpper(27), row.c27) << row.alphabet;
    EXPECT_EQ(charOfUpper(28), row.c28) << row.alphabet;
    EXPECT_EQ(charOfLower(26), latin1Lower(row.c26));
    EXPECT_EQ(charOfUpper(0), 'A');
    EXPECT_EQ(charOfLower(25), 'z');
  }
  // The blank test comes first: in Spanish code 28 reads '?'.
  setWordListAlphabet(kAlphabetSpanish);
  setAlphabetCounts(kAlphabetSpanish);
  EXPECT_EQ(charOfUpper(28), '?');
  // Every code of every alphabet maps back to itself.
  for (int alphabet = 0; alphabet < kAlphabetCount; ++alphabet) {
    setWordListAlphabet(alphabet);
    setAlphabetCounts(alphabet);
    for (int code = 0; code < rules().letterCount; ++code) {
      EXPECT_EQ(codeOfUpper(charOfUpper(code)), code) << alphabet << " " << code;
      EXPECT_EQ(codeOfLower(charOfLower(code)), code) << alphabet << " " << code;
    }
    EXPECT_EQ(codeOfTile(charOfUpper(rules().blankCode)), rules().blankCode);
  }
}

TEST(LetterCodes, Latin1Case) {
  EXPECT_EQ(latin1Lower('\xC4'), '\xE4');
  EXPECT_EQ(latin1Upper('\xE7'), '\xC7');
  EXPECT_EQ(latin1Lower('\xD7'), '\xD7');  // multiplication sign has no case
  EXPECT_EQ(latin1Upper('\xF7'), '\xF7');
  EXPECT_EQ(latin1Upper('\xFF'), '\xFF');
  EXPECT_EQ(latin1Upper('\xB7'), '\xB7');
  EXPECT_EQ(latin1Upper(std::string("calle\xF1")), "CALLE\xD1");
  EXPECT_TRUE(latin1IsUpper('\xD1'));
  EXPECT_FALSE(latin1IsUpper('\xF1'));
}

TEST(LetterCodes, MultiLetterWords) {
  test::StateGuard guard;
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_EQ(convertMultiLetter("calle"), "ca2e");
  EXPECT_EQ(convertMultiLetter("CHURRO"), "1U3O");
  EXPECT_EQ(convertMultiLetter("chllrr"), "123");
  EXPECT_EQ(convertMultiLetter("lll"), "2l");  // left to right

  setWordListAlphabet(kAlphabetCatalan);
  EXPECT_EQ(convertMultiLetter("col\xB7leccio"), "coweccio");
  EXPECT_EQ(convertMultiLetter("PAL.LA"), "PAWA");
  EXPECT_EQ(convertMultiLetter("al-la"), "awa");
  EXPECT_EQ(convertMultiLetter("al=la"), "awa");
  EXPECT_EQ(convertMultiLetter("any"), "ay");
  EXPECT_EQ(convertMultiLetter("quatre"), "qatre");
  EXPECT_EQ(convertMultiLetter("pla\xE7" "a"), "plaka");
  EXPECT_EQ(convertMultiLetter("PLA\xC7" "A"), "PLAKA");

  // Other alphabets leave words alone.
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_EQ(convertMultiLetter("church"), "church");
}

TEST(LetterCodes, TypedRacks) {
  test::StateGuard guard;
  setWordListAlphabet(kAlphabetSpanish);
  RackText r = convertRackText("A(ll)(RR)(Ch)4\xD1?");
  EXPECT_EQ(r.error, RackTextError::none);
  EXPECT_EQ(r.tiles, "A231\xF1\xF1?");
  r = convertRackText("ABK");
  EXPECT_EQ(r.error, RackTextError::letterNotInSet);
  EXPECT_EQ(r.offending, "K");
  EXPECT_EQ(convertRackText("aw").error, RackTextError::letterNotInSet);
  r = convertRackText("A(XY)");
  EXPECT_EQ(r.error, RackTextError::unknownTile);
  EXPECT_EQ(r.offending, "(XY)");
  EXPECT_EQ(convertRackText("A(LL").error, RackTextError::unclosedParenthesis);

  setWordListAlphabet(kAlphabetCatalan);
  r = convertRackText("(L\xB7L)(l.l)(L=L)(l-l)(ll)(NY)(qu)E");
  EXPECT_EQ(r.error, RackTextError::none);
  EXPECT_EQ(r.tiles, "wwwwwyqE");

  setWordListAlphabet(kAlphabetDanish);
  EXPECT_EQ(convertRackText("Q").error, RackTextError::letterNotInSet);
  EXPECT_EQ(convertRackText("ABC\xC6").tiles, "ABC\xC6");

  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_EQ(convertRackText("QWK").error, RackTextError::none);
}

TEST(LetterCodes, Vowels) {
  test::StateGuard guard;
  setWordListAlphabet(kAlphabetEnglish);
  for (char c : std::string("aeiouAEIOU")) EXPECT_TRUE(isVowel(c)) << c;
  for (char c : std::string("yYvVbz\xC4\xF6?")) EXPECT_FALSE(isVowel(c)) << c;
  for (int alphabet : {kAlphabetDanish, kAlphabetGerman, kAlphabetSwedish}) {
    setWordListAlphabet(alphabet);
    for (char c : std::string("\xC4\xE4\xD6\xF6\xDC\xFC\xC5\xE5\xC6\xF8")) EXPECT_TRUE(isVowel(c)) << alphabet;
    EXPECT_FALSE(isVowel('y'));
  }
  setWordListAlphabet(kAlphabetLatin);
  EXPECT_TRUE(isVowel('V'));
  EXPECT_TRUE(isVowel('v'));
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_FALSE(isVowel('\xF1'));
}

}  // namespace
}  // namespace pexil
