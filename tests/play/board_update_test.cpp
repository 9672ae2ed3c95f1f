// Moves played silently update the board's annotations square by square;
// after every such move the board must read exactly as a full annotation
// would make it: on four board shapes (holes and unusable squares
// included), with phony play, under the anagram rule, and in Spanish with
// its two-letter tiles.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/seeded_positions.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

// The first square whose annotations differ, described; empty when none.
std::string firstDifference(const Board& updated, const Board& full) {
  for (int row = 0; row < full.height; ++row) {
    for (int column = 0; column < full.width; ++column) {
      const Square& a = *squareAt(updated, column, row);
      const Square& b = *squareAt(full, column, row);
      for (int d = 0; d < 2; ++d) {
        if (a.crossSet[d] != b.crossSet[d] || a.phonySet[d] != b.phonySet[d] ||
            a.hasCrossNeighbours[d] != b.hasCrossNeighbours[d] || a.noLetterFits[d] != b.noLetterFits[d] ||
            a.onlyLetter[d] != b.onlyLetter[d] || a.fitCount[d] != b.fitCount[d]) {
          return "square " + std::to_string(column) + "," + std::to_string(row) + " direction " + std::to_string(d) +
                 ": cross set " + std::to_string(a.crossSet[d]) + " against " + std::to_string(b.crossSet[d]) +
                 ", fits " + std::to_string(a.fitCount[d]) + " against " + std::to_string(b.fitCount[d]);
        }
      }
    }
  }
  return {};
}

class BoardUpdate : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::readDefinitionsText(test::definitionsText()).empty()); }

  // Self-play games with silent moves (as a rollout plays them), checking
  // the board after each one. Returns the number of moves checked.
  int playAndCheck(std::shared_ptr<Lexicon> words, std::uint32_t firstSeed, int games, bool phonies, const char* what) {
    int checked = 0;
    for (int g = 0; g < games; ++g) {
      const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(g);
      setProgramSeed(seed);
      Game game;
      startGame(game, 2, words);
      game.historyEnabled = false;
      game.phonyPlay = phonies;
      game.minPhonyLength = 2;
      prepareBoard(game);
      for (int turn = 0; turn < 60 && !game.gameOver; ++turn) {
        GenerateMoves(game, Generation::bestOnly);
        PlayMove(game, game.bestMove, false, true);
        Game copy = game;
        prepareBoard(copy);
        const std::string difference = firstDifference(game.board, copy.board);
        if (!difference.empty()) {
          ADD_FAILURE() << what << ", seed " << seed << ", turn " << turn << ": " << difference;
          return checked;
        }
        ++checked;
      }
    }
    return checked;
  }

  test::StateGuard guard_;
};

TEST_F(BoardUpdate, EqualsAFullAnnotationOnEveryBoardShape) {
  for (const test::Variant v : {test::Variant::standard, test::Variant::super, test::Variant::holes, test::Variant::lettered}) {
    test::activate(v);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GE(playAndCheck(test::sharedWords(), 70, 4, false, test::variantName(v)), 40) << test::variantName(v);
  }
}

TEST_F(BoardUpdate, EqualsAFullAnnotationWithPhoniesAndUnderTheAnagramRule) {
  test::activate(test::Variant::standard);
  EXPECT_GE(playAndCheck(test::sharedWords(), 80, 3, true, "phony play"), 30);
  ASSERT_TRUE(activateGameType(kKindAnagram));
  EXPECT_GE(playAndCheck(test::sharedWords(), 90, 1, false, "anagram rule"), 10);
}

TEST_F(BoardUpdate, EqualsAFullAnnotationInSpanish) {
  const std::string list = std::string(PEXIL_RUN_DIR) + "/SPANISH.LST";
  if (!std::ifstream(list)) GTEST_SKIP() << "word lists not built in " << PEXIL_RUN_DIR;
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  const int type = findGameType("Scrabble(R) - Spanish");  // the shipped types replace the test's
  ASSERT_GE(type, 0);
  ASSERT_TRUE(activateGameType(kKindDefined, type));
  auto spanish = std::make_shared<Lexicon>();
  spanish->loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(*spanish, list));
  EXPECT_GE(playAndCheck(spanish, 100, 3, false, "Spanish"), 30);
}

// A player with barred words sees cross sets without them: the board is
// annotated whole for every move then.
TEST_F(BoardUpdate, IsNotUsedWhileAPlayerHasBarredWords) {
  test::activate(test::Variant::standard);
  setProgramSeed(5);
  Game game;
  startGame(game, 2, test::sharedWords());
  GenerateMoves(game, Generation::bestOnly);
  PlayMove(game, game.bestMove, false, true);
  EXPECT_TRUE(BoardReadyForUpdate(game));
  game.restrictedPlayer = 1;
  game.barredWords.push_back("at");
  EXPECT_FALSE(BoardReadyForUpdate(game));
  game.restrictedPlayer = -1;
  game.phonyPlay = !game.phonyPlay;
  EXPECT_FALSE(BoardReadyForUpdate(game)) << "the phony length limit changed since the last annotation";
}

}  // namespace
}  // namespace pexil
