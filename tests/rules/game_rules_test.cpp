#include "rules/game_rules.hpp"

#include <gtest/gtest.h>

#include "rules/game_definitions.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class GameRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::PaneCapture capture;
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    ASSERT_TRUE(capture.lines().empty());
    setWordListAlphabet(kAlphabetEnglish);
  }
  test::StateGuard guard;
};

TEST_F(GameRulesTest, BuiltInKinds) {
  struct Expect {
    int kind, bingo, side, start, total;
    SquareType centre;
    int valueOfB;
  };
  for (const Expect& e : {Expect{0, 50, 15, 7, 100, 20, 3}, Expect{1, 35, 15, 7, 100, 0, 4}, Expect{2, 50, 15, 7, 100, 20, 3},
                          Expect{3, 50, 21, 10, 200, 20, 3}, Expect{4, 50, 15, 7, 10000, 20, 3},
                          Expect{5, 50, 15, 7, 100, 0, 3}, Expect{6, 50, 15, 7, 102, 20, 3}}) {
    ASSERT_TRUE(activateGameType(e.kind));
    const GameRules& r = rules();
    EXPECT_EQ(r.gameKind, e.kind);
    EXPECT_EQ(r.gameTypeIndex, -1);
    EXPECT_EQ(r.bingoBonus, e.bingo) << e.kind;
    EXPECT_EQ(r.width, e.side);
    EXPECT_EQ(r.maxSide, e.side);
    EXPECT_EQ(r.startColumn, e.start);
    EXPECT_EQ(r.tileTotal, e.total);
    EXPECT_EQ(r.blankSlots, 8);
    EXPECT_EQ(r.rackSize, 7);
    EXPECT_EQ(r.minTilesExchange, 7);
    EXPECT_EQ(squareType(e.start, e.start), e.centre) << e.kind;
    EXPECT_EQ(letterValue('B', false), e.valueOfB) << e.kind;
    EXPECT_EQ(letterValue('b', true), 0);
    int total = 0;
    for (int code = 0; code < 27; ++code) total += tileCount(code);
    EXPECT_EQ(total, e.total) << e.kind;
    EXPECT_EQ(anagramRule(), e.kind == 2);
    EXPECT_TRUE(boardIsSymmetric());
    EXPECT_EQ(isStandardGame(), e.kind == 0) << e.kind;
  }
  EXPECT_FALSE(activateGameType(8));
  EXPECT_FALSE(activateGameType(-1));
  EXPECT_FALSE(activateGameType(kKindDefined, 99));
  EXPECT_EQ(rules().gameKind, 6);  // unchanged by the failed activations
}

TEST_F(GameRulesTest, PrintCharactersAndColours) {
  activateGameType(kKindSuper);
  EXPECT_EQ(squarePrintChar(0, 0), '@');
  EXPECT_EQ(squarePrintChar(2, 5), '!');
  EXPECT_EQ(squarePrintChar(1, 4), '$');
  EXPECT_EQ(squareColor(0, 0), 0x8000D8);
  EXPECT_EQ(typeColor(square::doubleLetter), 0x00B6FC);
  EXPECT_EQ(typeColor(1), 0xB4D4DC);
  EXPECT_EQ(typeColor(77), 0x000000);
  activateGameType(kKindNoBonus);
  EXPECT_EQ(squareType(0, 0), square::plain);
  EXPECT_EQ(squarePrintChar(0, 0), '.');
}

TEST_F(GameRulesTest, DefinedTypesActivate) {
  const int american = findGameType("Scrabble(R) - American English");
  ASSERT_GE(american, 0);
  ASSERT_TRUE(activateGameType(kKindDefined, american));
  EXPECT_EQ(rules().gameTypeIndex, american);
  EXPECT_TRUE(isStandardGame());
  EXPECT_TRUE(boardIsSymmetric());
  EXPECT_EQ(squarePrintChar(0, 0), '#');
  EXPECT_EQ(squareColor(7, 7), 0xFC98D4);

  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Anagram rule - English")));
  EXPECT_TRUE(anagramRule());
  EXPECT_FALSE(isStandardGame());
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Open racks - English")));
  EXPECT_TRUE(openRacks());
  EXPECT_TRUE(isStandardGame());
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Lettered rows - English")));
  EXPECT_TRUE(letteredRows());
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Super 21x21 - English")));
  EXPECT_FALSE(isStandardGame());
  EXPECT_EQ(rules().startRow, 10);

  const int spanish = findGameType("Scrabble(R) - Spanish");
  ASSERT_TRUE(activateGameType(kKindDefined, spanish));
  EXPECT_EQ(rules().codeCount, 29);
  EXPECT_EQ(rules().blankCode, 28);
  EXPECT_EQ(tileCount(27), 1);   // CH
  EXPECT_EQ(tileCount(10), 1);   // RR
  EXPECT_EQ(letterValue('1', false), 5);
  EXPECT_EQ(letterValue('\xF1', false), 8);
  // With a Spanish word list the tile-set test passes at once.
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_TRUE(isStandardGame());
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_FALSE(isStandardGame());

  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Catalan")));
  EXPECT_TRUE(senyorsRule());
  ASSERT_TRUE(activateGameType(kKindStandard));
  EXPECT_FALSE(senyorsRule());
  EXPECT_FALSE(openRacks());
}

TEST_F(GameRulesTest, StandardBagsMatchTheShippedTileSets) {
  for (int index = 6; index < gameTypeCount(); ++index) {
    const GameType& type = gameType(index);
    if (type.alphabet == kAlphabetLatin) continue;  // Latin plays the English bag
    ASSERT_TRUE(activateGameType(kKindDefined, index));
    setWordListAlphabet(type.alphabet);
    std::string bag;
    for (int code = 0; code < rules().codeCount; ++code) {
      for (int n = 0; n < tileCount(code); ++n) bag.push_back(code == rules().blankCode ? '?' : charOfUpper(code));
    }
    // The bag strings write Catalan's multi-letter tiles with the letters of
    // their codes.
    if (type.alphabet == kAlphabetCatalan) {
      for (char& c : bag) c = c == '\xC7' ? 'K' : c;
    }
    EXPECT_EQ(bag, standardBag(type.alphabet)) << *type.name;
  }
  EXPECT_EQ(standardBag(kAlphabetLatin), standardBag(kAlphabetEnglish));
  EXPECT_EQ(standardBag(kAlphabetItalian).size(), 120u);
}

TEST_F(GameRulesTest, AsymmetricCustomBoard) {
  test::readDefinitionsText(
      "Game \"Lopsided\"\nboardsize 3 2\nbonus none . 000000\nbonus 3ws T FF0000\nbonus 3ws X 00FF00\nboard\n"
      "T..\n..X\nracksize 3\nGameEnd\n");
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  EXPECT_FALSE(boardIsSymmetric());
  EXPECT_EQ(rules().width, 3);
  EXPECT_EQ(rules().height, 2);
  EXPECT_EQ(rules().maxSide, 3);
  EXPECT_EQ(squareType(1, 2), 30);
  EXPECT_EQ(squarePrintChar(1, 2), 'X');
  EXPECT_EQ(squareColor(1, 2), 0x00FF00);
  EXPECT_EQ(typeColor(30), 0xFF0000);  // the first symbol declared with the type
  EXPECT_EQ(squareType(5, 5), 0);       // off the board
  EXPECT_FALSE(isStandardGame());
}

}  // namespace
}  // namespace pexil
