// The lookahead simulation: the stopping rules on flat outcomes, the
// single-candidate answer, the position left exactly as it was, the sort
// orders, the scoreless-turn guard and the worker wrapper.
#include "search/simulation.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"
#include "search/simulation_state.hpp"
#include "search/strategy.hpp"
#include "search/worker_thread.hpp"
#include "state/abort_flag.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class Simulation : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(activateGameType(kKindStandard)); }

  Game position(const char* rack, std::uint32_t seed) { return test::catPosition(rack, seed); }

  test::StateGuard guard;
};

// With no ply after the candidate every iteration gives the same spread: the
// single engine stops each candidate at iteration 50, the threaded one at 84
// (five converged checks from iteration 80), and the means are the scores.
TEST_F(Simulation, FlatOutcomesStopAtTheFirstChecks) {
  Game single = position("DEGLNOR", 3);
  SimulateSingleThreaded(single, 0, 200, 0.25, 10);
  int simulated = 0;
  for (const Move& move : single.moves) {
    if (move.simCount == 0) continue;
    ++simulated;
    EXPECT_EQ(move.simCount, 50) << move.word;
    EXPECT_FLOAT_EQ(move.simValueA, static_cast<float>(move.score)) << move.word;
    EXPECT_EQ(move.simValueB, move.score > 0 ? 100.0f : 0.0f);
  }
  EXPECT_GT(simulated, 1);
  EXPECT_TRUE(std::is_sorted(single.moves.begin(), single.moves.end(),
                             [](const Move& a, const Move& b) { return a.simValueA > b.simValueA; }));

  Game threaded = position("EINRSTU", 3);
  threaded.strategies[0] = threaded.strategies[1] = 2;
  SimulateThreaded(threaded, 2, 0, 0.1);
  ASSERT_FALSE(threaded.moves.empty());
  int counted = 0;
  for (const Move& move : threaded.moves) {
    if (move.simCount == 0) continue;
    ++counted;
    EXPECT_EQ(move.simCount, 84) << move.word;
    EXPECT_FLOAT_EQ(move.simValueA, static_cast<float>(move.score)) << move.word;
  }
  EXPECT_GT(counted, 10);
  EXPECT_EQ(threaded.strategies[0], 2);
}

// One candidate within reach: no simulation, the move's score plus the lead.
TEST_F(Simulation, ASingleCandidateIsAnsweredFromTheLead) {
  Game game = position("EINRSTU", 5);
  game.scores[0] = 40;
  game.scores[1] = 25;
  SimulateSingleThreaded(game, 2, 200, 0.25, 1);
  ASSERT_FALSE(game.moves.empty());
  const Move& best = game.moves.front();
  EXPECT_FLOAT_EQ(best.simValueA, static_cast<float>(best.score + 15));
  EXPECT_EQ(best.simValueB, 100.0f);
  EXPECT_EQ(best.simCount, 0);
  for (std::size_t i = 1; i < game.moves.size(); ++i) EXPECT_EQ(game.moves[i].simValueA, kNoSimValue);
}

// Every engine leaves the position as it found it: board, racks, bag,
// scores and turn, and strategy 0 back where it was.
TEST_F(Simulation, ThePositionIsLeftAsItWas) {
  for (const bool threaded : {false, true}) {
    Game game = position("AEGINRS", 7);
    game.strategies[1] = 0;
    const Game before = game;
    if (threaded) {
      SimulateThreaded(game, 2, 2, 0.1);
    } else {
      SimulateSingleThreaded(game, 2, 60, 0.25, 4);
    }
    for (std::size_t i = 0; i < game.board.squares.size(); ++i) {
      ASSERT_EQ(game.board.squares[i].letter, before.board.squares[i].letter) << i;
    }
    EXPECT_EQ(game.racks, before.racks);
    EXPECT_EQ(game.bag.total(), before.bag.total());
    for (int code = 0; code < kCodeSlots; ++code) EXPECT_EQ(game.bag[code], before.bag[code]);
    EXPECT_EQ(game.scores, before.scores);
    EXPECT_EQ(game.moveNumber, before.moveNumber);
    EXPECT_EQ(game.toMove, before.toMove);
    EXPECT_EQ(game.strategies, before.strategies);
    EXPECT_FALSE(game.gameOver);
    EXPECT_FALSE(game.simulating);
    ASSERT_FALSE(game.moves.empty());
    EXPECT_GT(game.moves.front().simCount, 0) << "threaded " << threaded;
  }
}

TEST_F(Simulation, SortOrders) {
  Game game;
  auto move = [](const char* word, float spread, float win, float mixed) {
    Move m;
    m.word = word;
    m.simValueA = spread;
    m.simValueB = win;
    m.simValueC = mixed;
    return m;
  };
  static const char* const kWords[] = {"ONE", "TWO", "THREE"};
  const std::vector<Move> list = {move(label::pass, 10, 60, 1), move(kWords[0], 5, 60, 3), move(kWords[1], 20, 40, 2),
                                  move(kWords[2], 7, 60, 0)};
  game.moves = list;
  SortSimulated(game);
  EXPECT_EQ(game.moves[0].word, kWords[1]);
  EXPECT_EQ(game.moves[1].word, label::pass);
  game.moves = list;
  game.maximizeWinProb = true;
  SortSimulated(game);
  // Equal win chances: not the pass first, then the higher spread.
  EXPECT_EQ(game.moves[0].word, kWords[2]);
  EXPECT_EQ(game.moves[1].word, kWords[0]);
  EXPECT_EQ(game.moves[2].word, label::pass);
  EXPECT_EQ(game.moves[3].word, kWords[1]);
  // Chances within a point of 0 or of 100 rank by spread (not the pass
  // first); between them the chance decides.
  game.moves = {move(label::pass, 10, 0.9f, 0), move(kWords[0], -300, 0.8f, 0), move(kWords[1], -200, 0.1f, 0),
                move(kWords[2], -400, 1.5f, 0)};
  SortSimulated(game);
  EXPECT_EQ(game.moves[0].word, kWords[2]);
  EXPECT_EQ(game.moves[1].word, kWords[1]);
  EXPECT_EQ(game.moves[2].word, kWords[0]);
  EXPECT_EQ(game.moves[3].word, label::pass);
  game.moves = {move(kWords[0], 50, 99.5f, 0), move(kWords[1], 150, 99.2f, 0), move(kWords[2], 20, 98.0f, 0),
                move(label::pass, 10, 100.0f, 0)};
  SortSimulated(game);
  EXPECT_EQ(game.moves[0].word, label::pass);  // certain
  EXPECT_EQ(game.moves[1].word, kWords[1]);
  EXPECT_EQ(game.moves[2].word, kWords[0]);
  EXPECT_EQ(game.moves[3].word, kWords[2]);
  game.moves = list;
  game.mixedOptimization = true;
  SortSimulated(game);
  EXPECT_EQ(game.moves[0].word, kWords[0]);
  EXPECT_EQ(game.moves[3].word, kWords[2]);
}

// After two scoreless turns per player with a lead under 30, passes and
// exchanges sink below every placement.
TEST_F(Simulation, ScorelessTurnsSinkThePassAndTheExchanges) {
  Game game = position("EINRSTU", 9);
  game.scorelessTurns = 4;
  SimulateThreaded(game, 2, 0, 0.1);
  bool sawPass = false;
  for (const Move& m : game.moves) {
    if (isNonPlacement(m) && m.simCount > 0) {
      sawPass = true;
      EXPECT_LT(m.simValueA, -400.0f) << m.word;
      EXPECT_EQ(m.simValueB, 0.0f);
    }
  }
  EXPECT_TRUE(sawPass);
  EXPECT_FALSE(isNonPlacement(game.moves.front()));
}

TEST_F(Simulation, TheHorizonWinChanceNeedsTheStandardGameAndFewerThan120Tiles) {
  Game game = position("EINRSTU", 4);
  GenerateMoves(game, Generation::fullList);
  EXPECT_TRUE(WinProbAtHorizon(game));
  game.playerCount = 5;
  EXPECT_FALSE(WinProbAtHorizon(game));
  game.playerCount = 2;
  game.standardTileValues = false;
  EXPECT_FALSE(WinProbAtHorizon(game));
}

// Known racks for the previous player are announced, one rack by its
// tiles; the list is cleared at the end; the final line says "done".
TEST_F(Simulation, KnownRacksAreAnnouncedAndClearedAtTheEnd) {
  Game game = position("DEGLNOR", 14);
  game.quiet = false;
  game.useKnownTiles = true;
  Rack known;
  addLetters(known, "QZ", nullptr);
  game.knownRacks = {known};
  test::PaneCapture capture;
  SimulateThreaded(game, 2, 0, 0.1);
  std::string text;
  for (const std::string& line : capture.lines()) text += line + "\n";
  EXPECT_NE(text.find("Using known tiles QZ in simulation."), std::string::npos) << text;
  EXPECT_NE(text.find("Simulation done: "), std::string::npos) << text;
  EXPECT_NE(text.find(" sims, "), std::string::npos) << text;
  EXPECT_TRUE(game.knownRacks.empty());
}

// Esc (the abort flag) mid-wave: the workers stop after their iteration,
// what they gathered stands, the final line says "aborted", and the
// position is as it was.
TEST_F(Simulation, AnAbortMidWaveKeepsWhatWasGathered) {
  Game game = position("DEGLNOR", 16);
  game.quiet = false;
  const Game before = game;
  test::PaneCapture capture;
  std::thread esc([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    requestAbort();
  });
  SimulateThreaded(game, 2, 2, 0.00001);  // would run for minutes
  esc.join();
  std::string text;
  for (const std::string& line : capture.lines()) text += line + "\n";
  EXPECT_NE(text.find("Simulation aborted: "), std::string::npos) << text;
  int simulated = 0;
  for (const Move& move : game.moves) simulated += move.simCount > 0 ? 1 : 0;
  EXPECT_GE(simulated, 1);
  EXPECT_LT(simulated, static_cast<int>(game.moves.size()));
  EXPECT_EQ(game.racks, before.racks);
  EXPECT_EQ(game.scores, before.scores);
  EXPECT_EQ(game.bag.total(), before.bag.total());
  clearAbort();
}

TEST(WorkerThreads, RunJoinAndReportFinished) {
  std::atomic<int> ran{0};
  {
    WorkerThread first([&] { ran.fetch_add(1); });
    WorkerThread second([&] { ran.fetch_add(10); });
    first.join();
    second.join();
    EXPECT_TRUE(first.finished());
    EXPECT_TRUE(first.started());
  }
  EXPECT_EQ(ran.load(), 11);
  WorkerThread none;  // never started: finished at once, joins at once
  EXPECT_TRUE(none.finished());
  none.join();
}

// A thread the system will not give: the worker counts as finished at once,
// joins at once and never runs its work; the next worker starts.
TEST(WorkerThreads, ARefusedThreadIsFinishedAndNeverRuns) {
  std::atomic<int> ran{0};
  WorkerThread::refuseNextStarts(1);
  WorkerThread refused([&] { ran.fetch_add(1); });
  EXPECT_FALSE(refused.started());
  EXPECT_TRUE(refused.finished());
  refused.join();
  WorkerThread next([&] { ran.fetch_add(10); });
  next.join();
  EXPECT_TRUE(next.started());
  EXPECT_EQ(ran.load(), 10);
}

// In the threaded lookahead the refused slot gives no result and the
// search goes on with the others: its candidate stays unsimulated, the
// rest are simulated, and the position is as it was.
TEST_F(Simulation, AThreadThatCannotBeCreatedLeavesItsCandidateUnsimulated) {
  Game game = position("DEGLNOR", 21);
  game.quiet = false;
  const Game before = game;
  GenerateMoves(game, Generation::fullList);
  const Move staticBest = game.moves.front();
  test::PaneCapture capture;
  WorkerThread::refuseNextStarts(1);  // the first slot of the first wave: the static best
  SimulateThreaded(game, 2, 1, 0.5);
  WorkerThread::refuseNextStarts(0);
  std::string text;
  for (const std::string& line : capture.lines()) text += line + "\n";
  EXPECT_NE(text.find("Simulation done: "), std::string::npos) << text;
  EXPECT_EQ(text.find("M01 - "), std::string::npos) << "the refused slot printed a line:\n" << text;
  int simulated = 0;
  for (const Move& move : game.moves) {
    if (move.word == staticBest.word && move.column == staticBest.column && move.row == staticBest.row &&
        move.direction == staticBest.direction) {
      EXPECT_EQ(move.simCount, 0) << move.word;
    }
    simulated += move.simCount > 0 ? 1 : 0;
  }
  EXPECT_GE(simulated, 2);
  EXPECT_EQ(game.racks, before.racks);
  EXPECT_EQ(game.scores, before.scores);
  EXPECT_EQ(game.bag.total(), before.bag.total());
  EXPECT_EQ(game.toMove, before.toMove);
}

// Statistics records go with the main list: a new generation releases every
// record its moves held, simulated or not, and the next records reuse them.
TEST_F(Simulation, StatisticsRecordsAreReleasedWithTheMainList) {
  Game game = position("DEGLNOR", 23);
  GenerateMoves(game, Generation::fullList);
  ASSERT_GE(game.moves.size(), 3u);
  Move& simulated = game.moves[0];
  simulated.simCount = 40;
  attachSimulationStats(game, simulated).spreads = {1.0f, 2.0f};
  Move& unsimulated = game.moves[1];  // simCount 0: its record must not be lost either
  attachSimulationStats(game, unsimulated).iterations = 3;
  EXPECT_EQ(attachSimulationStats(game, simulated).spreads.size(), 2u) << "a second attach keeps the move's record";
  ASSERT_NE(simulationStatsOf(game, game.moves[0]), nullptr);
  EXPECT_EQ(simulationStatsOf(game, game.moves[2]), nullptr);
  const Move kept = game.moves[0];  // a copy outside the list still names the index

  GenerateMoves(game, Generation::fullList);
  EXPECT_EQ(game.simulationStats.free.size(), 2u);
  EXPECT_EQ(simulationStatsOf(game, kept), nullptr) << "a released record is no move's";
  for (const Move& move : game.moves) EXPECT_EQ(move.simStats, -1);
  attachSimulationStats(game, game.moves[0]);
  attachSimulationStats(game, game.moves[1]);
  attachSimulationStats(game, game.moves[2]);
  EXPECT_EQ(game.simulationStats.records.size(), 3u) << "released records are used again";
  EXPECT_TRUE(simulationStatsOf(game, game.moves[1])->spreads.empty());
}

TEST(SharedBest, RaisedOnlyUpwardAndByASureCandidate) {
  setSharedBest(kNoBest);
  raiseSharedBest(12.0f);
  raiseSharedBest(3.0f);
  EXPECT_EQ(sharedBest(), 12.0f);
  raiseSharedBestBar(20.0f, 1.0f);  // 20 is not above 12 + 10
  EXPECT_EQ(sharedBest(), 12.0f);
  raiseSharedBestBar(25.0f, 1.0f);
  EXPECT_EQ(sharedBest(), 20.0f);
  setSharedBest(kNoBest);
}


// The lookahead strategies play the move their simulation ranks first; the
// blend strategy ranks statically while the bag is full.
TEST_F(Simulation, LookaheadStrategiesPlayTheSimulatedBest) {
  for (const int strategy : {3, 21}) {
    Game game = position("DEGLNOR", 12);
    game.strategies[0] = strategy;
    game.threads = 2;
    ASSERT_TRUE(strategyAvailable(strategy));
    const Move played = PlayStrategyTurn(game);
    EXPECT_EQ(game.moveNumber, 1);
    ASSERT_EQ(game.history.size(), 1u);
    const Move& recorded = game.history.back().move.move();
    EXPECT_EQ(recorded.simPly, strategy == 3 ? 1 : 2) << strategy;
    EXPECT_GT(recorded.simCount, 0) << strategy;
    EXPECT_STREQ(recorded.word, played.word);
  }
  Game blend = position("DEGLNOR", 12);
  blend.strategies[0] = 4;
  ASSERT_GE(blend.bag.total(), 50);
  PlayStrategyTurn(blend);
  EXPECT_EQ(blend.history.back().move.move().simCount, 0);
}

}  // namespace
}  // namespace pexil
