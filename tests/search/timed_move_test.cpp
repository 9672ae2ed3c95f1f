// The clock management of the timed move (budgets, the fast ways, the time
// per move, the benchmark rates and the ply), the strategies that switch
// options by the position (40, 50), and the timed and fixed-depth moves
// played whole.
#include "search/timed_move.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>
#include <string>
#include <thread>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "state/abort_flag.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class TimedMoveTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(activateGameType(kKindStandard)); }

  // test::catPosition, both players on the static strategy.
  Game position(const char* rack, std::uint32_t seed) {
    Game game = test::catPosition(rack, seed);
    game.strategies[0] = game.strategies[1] = 2;
    return game;
  }

  test::StateGuard guard;
};

bool printed(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

TEST_F(TimedMoveTest, EndgameBudgets) {
  EXPECT_EQ(EndgameTimeBudget(8000), 6000) << "80 seconds left: 60 for the search";
  EXPECT_EQ(EndgameTimeBudget(2000), 1000) << "20 seconds left: 10";
  EXPECT_EQ(EndgameTimeBudget(100), 100) << "at least one second";
  EXPECT_EQ(EndgameTimeBudget(9000), 4500);
  EXPECT_EQ(EndgameTimeBudget(60000), 12000) << "at most two minutes";
}

TEST_F(TimedMoveTest, ClockTexts) {
  EXPECT_EQ(ClockText(0), "[00:00.00]");
  EXPECT_EQ(ClockText(1999), "[00:19.99]");
  EXPECT_EQ(ClockText(120000), "[20:00.00]");
  EXPECT_EQ(ClockText(-250), "[-00:02.50]");
  EXPECT_EQ(ClockText(366012), "[01:01:00.12]");
}

TEST_F(TimedMoveTest, FastWays) {
  Game game = position("AEINRST", 21);
  GenerateMoves(game, Generation::fullList);
  std::vector<Move> list = game.moves;
  ASSERT_GE(list.size(), 2u);
  EXPECT_EQ(FastWayReason(game, list, 1999).value_or(""), "Clock running out, going with fast move find.\n");
  // A first move 30 points clear of the second in mid-game with ten
  // minutes or less on the clock.
  list[0].equity = list[1].equity + 301;
  list[0].wordClass = 0;
  EXPECT_EQ(FastWayReason(game, list, 60000).value_or(""),
            "Killer move (first type) found, going with it (no simulation).\n");
  EXPECT_FALSE(FastWayReason(game, list, 60001).has_value()) << "more than ten minutes: simulate";
  list[0].equity = list[1].equity + 70;
  EXPECT_EQ(FastWayReason(game, list, 60000).value_or(""), "Killer move (third type) found, going with it.\n");
  list[0].equity = list[1].equity;
  EXPECT_FALSE(FastWayReason(game, list, 60000).has_value());
  game.scores = {0, 400};
  EXPECT_EQ(FastWayReason(game, list, 60000).value_or(""), "Way behind, going with fast move generation.\n");
  game.scores = {400, 0};
  EXPECT_EQ(FastWayReason(game, list, 60000).value_or(""), "Far ahead, going with fast move generation.\n");
}

TEST_F(TimedMoveTest, TimePerMove) {
  // 20 minutes, 12 half-moves left (+2 with a full bag): 7 moves of mine.
  EXPECT_EQ(TimePerMove(120000, 12, 80, 2), (120000 - 12000 - 3500) / 7);
  EXPECT_EQ(TimePerMove(120000, 1, 15, 2), (120000 - 12000 - 3500) / 2) << "at least three half-moves";
  EXPECT_EQ(TimePerMove(40000, 3, 2, 2), 40000 - 15500);
  EXPECT_EQ(TimePerMove(25000, 3, 1, 2), 25000 - 9500);
  EXPECT_EQ(TimePerMove(16000, 3, 1, 2), 16000 - 6500);
  EXPECT_EQ(TimePerMove(10000, 3, 1, 2), 10000 - 3500);
  EXPECT_EQ(TimePerMove(10000, 3, 5, 2), (10000 - 3500) / 2);
  EXPECT_EQ(TimePerMove(10000, 3, 9, 2), (10000 - 3500) / 3);
  EXPECT_EQ(TimePerMove(120000, 12, 80, 3), (120000 - 12000 - 3500) / 5);
}

TEST_F(TimedMoveTest, PliesFromTheBudget) {
  // Without benchmark rates: by threads x budget, at least 3, 3 on the opening move.
  EXPECT_EQ(PlyForBudget(5000, 2, std::nullopt, 2, false), 3);
  EXPECT_EQ(PlyForBudget(20000, 2, std::nullopt, 2, false), 5);
  EXPECT_EQ(PlyForBudget(30000, 2, std::nullopt, 2, false), 7);
  EXPECT_EQ(PlyForBudget(50000, 2, std::nullopt, 2, false), 9);
  EXPECT_EQ(PlyForBudget(50000, 2, std::nullopt, 2, true), 3);
  // With rates: w = e x g/100 x T / 20000, odd, capped by the blanks unseen.
  PositionRates rates{2000, 1000};
  EXPECT_EQ(PlyForBudget(10000, 2, rates, 0, false), 9);  // 20, the deeper rate's 10, odd 9
  EXPECT_EQ(PlyForBudget(10000, 2, PositionRates{1000, 300}, 2, false), 7);  // 10, odd 9, two blanks unseen: 7
  EXPECT_EQ(PlyForBudget(3000, 2, PositionRates{1000, 1000}, 0, false), 3);
}

TEST_F(TimedMoveTest, StoredRatesAreTakenOnlyWhenEveryOneIsPositive) {
  EXPECT_FALSE(storedBenchmarkRates());
  BenchmarkRates rates{900, 800, 700, 600, 500, 400, 300, 200, 100};
  setStoredBenchmarkRates(rates);
  ASSERT_TRUE(storedBenchmarkRates());
  EXPECT_EQ(*storedBenchmarkRates(), rates);
  rates[8] = 0;
  setStoredBenchmarkRates(rates);
  EXPECT_FALSE(storedBenchmarkRates());
  rates[8] = std::numeric_limits<double>::quiet_NaN();
  setStoredBenchmarkRates(rates);
  EXPECT_FALSE(storedBenchmarkRates());
  setStoredBenchmarkRates(std::nullopt);
  EXPECT_FALSE(storedBenchmarkRates());
}

TEST_F(TimedMoveTest, RatesForThePosition) {
  const BenchmarkRates rates{100, 80, 60, 50, 40, 30, 20, 15, 10};
  EXPECT_EQ(RatesForPosition(rates, 2, 1, 70, 100000, "x").first, 80);
  EXPECT_EQ(RatesForPosition(rates, 1, 0, 40, 100000, "x").first, 40);
  EXPECT_DOUBLE_EQ(RatesForPosition(rates, 0, 1, 40, 100000, "x").first, 30 * 0.8);
  EXPECT_EQ(RatesForPosition(rates, 1, 0, 20, 100000, "x").first, 15);
  EXPECT_EQ(RatesForPosition(rates, 2, 0, 50, 100000, "x").second, 50);
  EXPECT_EQ(RatesForPosition(rates, 2, 0, 44, 100000, "x").second, 20);
  EXPECT_DOUBLE_EQ(RatesForPosition(rates, 2, 0, 70, 250000, "CSW12.lst").first, 100 / 1.17);
}

// Strategy 40 sorts by win chance with a lead of 150 and by equity at 151;
// strategy 4 plays the static move with 50 tiles in the bag.
TEST_F(TimedMoveTest, StrategiesThatLookAtThePosition) {
  for (const int lead : {150, 151}) {
    Game game = position("AEINRST", 22);
    game.strategies[0] = 40;
    game.scores = {lead, 0};
    game.timeBudget = 20;  // a glimpse of the simulation is enough
    game.quiet = false;
    test::PaneCapture capture;
    PlayStrategyTurn(game);
    EXPECT_TRUE(printed(capture.lines(), lead == 150 ? "Using winprob sort." : "Using equity sort.")) << lead;
  }
}

TEST_F(TimedMoveTest, TimedMovesPlayOnTheClock) {
  {
    // 19.99 seconds: the static best move at once.
    Game game = position("AEINRST", 23);
    game.clocks[0] = 1999;
    game.quiet = false;
    test::PaneCapture capture;
    const Move played = PlayTimedMove(game);
    EXPECT_TRUE(printed(capture.lines(), "Clock running out, going with fast move find."));
    EXPECT_TRUE(printed(capture.lines(), "Time remaining on clock: "));
    EXPECT_EQ(game.toMove, 1);
    EXPECT_FALSE(isNonPlacement(played));
    EXPECT_LE(game.clocks[0], 1999);
  }
  {
    // An unset clock gets twenty minutes, of which a move in mid-game gets
    // its share for the simulation (stopped here early, as by Esc).
    Game game = position("DEGLNOR", 24);
    // Late in the game, so that the estimate of the moves left is quick.
    while (game.bag.total() > 25) {
      Rack sink{};
      drawTiles(sink, game.bag, 1, &game.random);
    }
    game.threads = 2;
    game.quiet = false;
    game.clocks[0] = kNoClock;
    test::PaneCapture capture;
    std::atomic<bool> done{false};
    std::thread escape([&done] {
      // Esc pressed again and again until the move is played (the
      // simulation clears the flag when it starts).
      while (!done.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        requestAbort();
      }
    });
    PlayTimedMove(game);
    done.store(true);
    escape.join();
    clearAbort();
    const auto lines = capture.lines();
    EXPECT_TRUE(printed(lines, "Clock is not set. Giving myself 20 minutes for the game."));
    EXPECT_TRUE(printed(lines, "Allowing that "));
    EXPECT_TRUE(printed(lines, "This leaves approximately "));
    EXPECT_TRUE(printed(lines, "Set simulation ply to "));
    EXPECT_TRUE(printed(lines, "Simulation aborted: "));
    EXPECT_TRUE(printed(lines, "moved: "));
    EXPECT_LT(game.clocks[0], kDefaultGameClock);
    EXPECT_EQ(game.toMove, 1);
  }
  {
    Game game = position("AEINRST", 25);
    game.quiet = false;
    game.timeBudget = 30;  // a glimpse of the simulation is enough
    test::PaneCapture capture;
    PlayFixedDepthMove(game, 1);
    EXPECT_TRUE(printed(capture.lines(), "moved at 1 ply: "));
    EXPECT_EQ(game.toMove, 1);
    game.gameOver = true;
    test::PaneCapture over;
    PlayFixedDepthMove(game, 1);
    EXPECT_TRUE(printed(over.lines(), "The game is over."));
  }
}

}  // namespace
}  // namespace pexil
