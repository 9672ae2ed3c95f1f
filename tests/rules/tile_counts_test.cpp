#include "rules/tile_counts.hpp"

#include <gtest/gtest.h>

#include <map>

#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class TileCountsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    activateGameType(kKindStandard);
    setWordListAlphabet(kAlphabetEnglish);
    setProgramSeed(2024);
  }
  test::StateGuard guard;
};

TEST_F(TileCountsTest, FullWellOfEachKind) {
  Well well;
  fillWell(well);
  EXPECT_EQ(well.total(), 100);
  EXPECT_EQ(well[4], 12);   // E
  EXPECT_EQ(well[26], 2);   // blanks
  EXPECT_EQ(well[27], 0);
  EXPECT_EQ(countsToText(well, 100).value(), standardBag(kAlphabetEnglish));

  activateGameType(kKindSuper);
  fillWell(well);
  EXPECT_EQ(well.total(), 200);
  EXPECT_EQ(well[26], 4);
  int sum = 0;
  for (int code = 0; code < 32; ++code) sum += well[code];
  EXPECT_EQ(sum, 200);

  activateGameType(kKindHundredfold);
  fillWell(well);
  EXPECT_EQ(well.total(), 10000);
  EXPECT_EQ(well[0], 900);

  activateGameType(kKindFrench);
  fillWell(well);
  EXPECT_EQ(well.total(), 102);
  EXPECT_EQ(well[4], 15);
  EXPECT_EQ(letterValue('k', false), 10);
}

TEST_F(TileCountsTest, DrawingKeepsTilesAndStopsAtTheRackSize) {
  Well well;
  fillWell(well);
  const Well full = well;
  Rack rack;
  GameRandom random;
  dealRack(rack, well, &random);
  EXPECT_EQ(rack.total(), 7);
  EXPECT_EQ(well.total(), 93);
  EXPECT_TRUE(allNonNegative(well));
  for (int code = 0; code < 32; ++code) EXPECT_EQ(rack[code] + well[code], full[code]);

  // With 3 tiles left, a rack of 4 drawing to 7 takes all 3; a rack of 5
  // takes 2 and leaves one.
  Well small;
  addLetters(small, "ABC", nullptr);
  Rack four;
  addLetters(four, "DEFG", nullptr);
  drawTiles(four, small, 7, &random);
  EXPECT_EQ(four.total(), 7);
  EXPECT_EQ(small.total(), 0);
  EXPECT_EQ(countsToText(four).value(), "ABCDEFG");
  drawTiles(four, small, 9, &random);  // an empty well draws nothing
  EXPECT_EQ(four.total(), 7);
  addLetters(small, "ABC", nullptr);
  Rack five;
  addLetters(five, "DEFGH", nullptr);
  drawTiles(five, small, 7, &random);
  EXPECT_EQ(five.total(), 7);
  EXPECT_EQ(small.total(), 1);

  returnAll(well, rack);
  EXPECT_EQ(well, full);
  EXPECT_EQ(rack.total(), 0);
}

TEST_F(TileCountsTest, DrawsAreUniformOverTiles) {
  // Drawing one tile from the full well many times: each letter comes up in
  // proportion to its count.
  std::map<int, int> seen;
  GameRandom random;
  constexpr int kDraws = 20000;
  for (int i = 0; i < kDraws; ++i) {
    Well well;
    fillWell(well);
    Rack rack;
    drawTiles(rack, well, 1, &random);
    for (int code = 0; code < 32; ++code) {
      if (rack[code]) ++seen[code];
    }
  }
  // E is 12% of the bag, Z 1%: allow five standard deviations.
  EXPECT_NEAR(seen[4], kDraws * 0.12, 5 * 46);
  EXPECT_NEAR(seen[25], kDraws * 0.01, 5 * 14);
  EXPECT_NEAR(seen[26], kDraws * 0.02, 5 * 20);
}

TEST_F(TileCountsTest, SameSeedSameDeal) {
  auto deal = [] {
    Well well;
    fillWell(well);
    Rack rack;
    GameRandom random;
    dealRack(rack, well, &random);
    return countsToText(rack).value();
  };
  setProgramSeed(99);
  const std::string first = deal();
  setProgramSeed(99);
  EXPECT_EQ(deal(), first);
}

TEST_F(TileCountsTest, LettersTextAndValues) {
  Rack rack;
  Well well;
  fillWell(well);
  EXPECT_EQ(addLetters(rack, "qu?ZZ-", &well), 5);  // '-' is no tile
  EXPECT_EQ(rack.total(), 5);
  EXPECT_EQ(rack[25], 2);
  EXPECT_EQ(well[25], -1);  // only one Z in the bag
  EXPECT_FALSE(allNonNegative(well));
  EXPECT_EQ(countsToText(rack).value(), "QUZZ?");
  EXPECT_FALSE(countsToText(rack, 4).has_value());
  EXPECT_EQ(rackValue(rack), 10 + 1 + 20);
  EXPECT_EQ(vowelCount(rack), 1);

  EXPECT_EQ(removeLetter(rack, 'Z'), 25);
  EXPECT_EQ(removeLetter(rack, '?'), 26);
  EXPECT_LT(removeLetter(rack, '#'), 0);
  EXPECT_EQ(rack.total(), 3);
  EXPECT_EQ(removeLetter(rack, 'a'), 0);
  EXPECT_EQ(rack[0], -1);
  EXPECT_FALSE(allNonNegative(rack));
}

TEST_F(TileCountsTest, CustomGameTypeBlankValueAndVowels) {
  test::readDefinitionsText(
      "Game \"Valued blanks\"\nnumplayers 2 2\ndeutsch\nboardsize 3 3\nbonus none . 000000\nboard\n...\n...\n...\n"
      "racksize 3\ntile a 2 1 -1\ntile \xE4 2 2 -1\ntile ? 1 5 -1\nGameEnd\n");
  ASSERT_EQ(gameTypeCount(), 1);
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  setWordListAlphabet(kAlphabetGerman);
  EXPECT_EQ(rules().blankCode, 29);
  EXPECT_EQ(rules().tileTotal, 5);
  Well well;
  fillWell(well);
  EXPECT_EQ(well[29], 1);
  EXPECT_EQ(countsToText(well).value(), "AA\xC4\xC4?");
  EXPECT_EQ(rackValue(well), 2 * 1 + 2 * 2 + 5);
  EXPECT_EQ(vowelCount(well), 4);
  EXPECT_EQ(letterValue('?', true), 5);
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
}

}  // namespace
}  // namespace pexil
