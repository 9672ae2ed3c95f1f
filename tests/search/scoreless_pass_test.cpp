// A pass that would end a two-player game by scoreless turns is worth
// 99999 when the mover's lead beats its rack value plus 20, else -99999; the
// value holds through every ranking, the one against the unseen tiles
// included, so the strategies that rank that way take the winning pass and
// avoid the losing one.
#include <gtest/gtest.h>

#include <algorithm>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class ScorelessPass : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(activateGameType(kKindStandard)); }

  // A two-player game after five scoreless turns, CAT on the board, the
  // mover (player 0) holding AEINRST (7 points) with the given scores.
  Game position(int moverScore, int opponentScore) {
    Game game = test::gameWithCatAtCentre(11);
    EXPECT_EQ(addLetters(game.racks[0], "AEINRST", &game.bag), 7);
    drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
    game.scores[0] = moverScore;
    game.scores[1] = opponentScore;
    game.scorelessTurns = 5;
    game.consecutivePasses = 1;
    game.moveNumber = 6;
    prepareBoard(game);
    return game;
  }

  test::StateGuard guard;
};

const Move* passIn(const std::vector<Move>& moves) {
  const auto found = std::find_if(moves.begin(), moves.end(), [](const Move& m) { return isPass(m); });
  return found == moves.end() ? nullptr : &*found;
}

TEST_F(ScorelessPass, TheValueHoldsInEveryRanking) {
  for (const bool pool : {false, true}) {
    // 50 ahead: more than 7 + 20, the pass wins the game.
    Game ahead = position(60, 10);
    ahead.unseenPoolEvaluation = pool;
    GenerateMoves(ahead, false);
    ASSERT_FALSE(ahead.moves.empty());
    EXPECT_TRUE(isPass(ahead.moves.front())) << "pool " << pool;
    EXPECT_EQ(ahead.moves.front().equity, 99999) << "pool " << pool;
    GenerateMoves(ahead, true);
    EXPECT_TRUE(isPass(ahead.bestMove)) << "pool " << pool;
    EXPECT_EQ(ahead.bestMove.equity, 99999) << "pool " << pool;

    // 20 ahead: not enough, the pass would lose and comes last.
    Game behind = position(30, 10);
    behind.unseenPoolEvaluation = pool;
    GenerateMoves(behind, false);
    const Move* pass = passIn(behind.moves);
    ASSERT_NE(pass, nullptr);
    EXPECT_EQ(pass->equity, -99999) << "pool " << pool;
    EXPECT_TRUE(isPass(behind.moves.back())) << "pool " << pool;
    GenerateMoves(behind, true);
    EXPECT_FALSE(isNonPlacement(behind.bestMove)) << "pool " << pool;
  }
}

TEST_F(ScorelessPass, StrategiesRankingAgainstTheUnseenTilesTakeTheWinningPass) {
  for (const int strategy : {0, 2, 11, 15}) {
    Game ahead = position(60, 10);
    ahead.strategies[0] = strategy;
    const Move played = PlayStrategyTurn(ahead);
    EXPECT_TRUE(isPass(played)) << "strategy " << strategy;
    EXPECT_TRUE(ahead.gameOver) << "strategy " << strategy;
    EXPECT_GT(ahead.scores[0], ahead.scores[1]) << "strategy " << strategy;

    Game behind = position(10, 60);
    behind.strategies[0] = strategy;
    const Move placed = PlayStrategyTurn(behind);
    EXPECT_FALSE(isNonPlacement(placed)) << "strategy " << strategy;
    EXPECT_FALSE(behind.gameOver) << "strategy " << strategy;
  }
}

}  // namespace
}  // namespace pexil
