#include "rules/notation.hpp"

#include <gtest/gtest.h>

#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

TEST(Notation, StandardPositions) {
  test::StateGuard guard;
  activateGameType(kKindStandard);
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_EQ(movePosition(0, 3, 7, true), "8D");
  EXPECT_EQ(movePosition(1, 3, 7, true), "D8");
  EXPECT_EQ(movePosition(0, 0, 14, false), "15A");
  EXPECT_EQ(squareName(3, 7), "D8");
  EXPECT_EQ(indexLetter(25), 'Z');
  EXPECT_EQ(indexLetter(26), 'a');  // the 27th column of a wide board
  EXPECT_EQ(indexLetter(31), 'f');
  EXPECT_EQ(movePosition(1, 26, 0, true), "a1");

  // German lists write row letter, column number, then w or s.
  setWordListAlphabet(kAlphabetGerman);
  EXPECT_EQ(movePosition(0, 3, 7, true), "H4w");
  EXPECT_EQ(movePosition(1, 3, 7, true), "H4s");
  EXPECT_EQ(movePosition(0, 3, 7, false), "8D");
}

TEST(Notation, LetteredRows) {
  test::StateGuard guard;
  test::readDefinitionsText(
      "Game \"Rows\"\nletteredrows\nboardsize 3 3\nbonus none . 000000\nboard\n...\n...\n...\nracksize 3\nGameEnd\n");
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_TRUE(letteredRows());
  EXPECT_EQ(movePosition(0, 1, 2, true), "C2");
  EXPECT_EQ(movePosition(1, 1, 2, true), "2C");
  EXPECT_EQ(movePosition(0, 1, 2, false), "3B");
  EXPECT_EQ(squareName(1, 2), "C2");
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
}

}  // namespace
}  // namespace pexil
