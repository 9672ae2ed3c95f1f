// A board that holds tiles while its start square is empty (a position
// typed in or read from a file) is no opening position: plays run both ways
// and the anchors are those the tiles make.
#include <gtest/gtest.h>

#include <algorithm>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class StartSquareEmpty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setProgramSeed(3);
    startGame(game, 2, test::fixtureWords());
    for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
    // CAT down at E6-E8.
    Rack laid;
    ASSERT_EQ(addLetters(laid, "cat", &game.bag), 3);
    for (int k = 0; k < 3; ++k) squareAt(game.board, 4, 5 + k)->letter = "cat"[k];
    ASSERT_EQ(addLetters(game.racks[0], "COPIHET", &game.bag), 7);
    drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
    prepareBoard(game);
  }
  test::StateGuard guard;
  Game game;
};

TEST_F(StartSquareEmpty, PlaysRunBothWays) {
  GenerateMoves(game, false);
  const auto down = std::count_if(game.moves.begin(), game.moves.end(),
                                  [](const Move& m) { return !isNonPlacement(m) && m.direction == kDown; });
  const auto across = std::count_if(game.moves.begin(), game.moves.end(),
                                    [](const Move& m) { return !isNonPlacement(m) && m.direction == kAcross; });
  EXPECT_GT(down, 20);
  EXPECT_GT(across, 20);
  // Best-only finds a play as good as the list's best.
  const int listBest = std::max_element(game.moves.begin(), game.moves.end(), [](const Move& a, const Move& b) {
                         return a.equity < b.equity;
                       })->equity;
  GenerateMoves(game, true);
  EXPECT_EQ(game.bestMove.equity, listBest);
}

TEST_F(StartSquareEmpty, PremiumAnchorsAreThoseTheTilesMake) {
  GenerateMoves(game, true);
  // Premium squares next to CAT admit some letters, so not every letter is
  // marked as admitted by no premium anchor (as on an empty board).
  int marked = 0;
  for (int code = 0; code < rules().letterCount; ++code) marked += game.noPremiumAnchor[static_cast<std::size_t>(code)];
  EXPECT_LT(marked, rules().letterCount);
}

}  // namespace
}  // namespace pexil
