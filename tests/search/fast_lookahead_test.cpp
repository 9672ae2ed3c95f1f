// The fast lookahead: the pre-drawn racks and their moods, the candidate
// choice, the horizon's win outcome, and whole simulations (flat outcomes,
// the solitaire and three-player adjustments, two workers, the position
// left as it was, the statistics lines).
#include "search/fast_lookahead.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"
#include "search/fast_iteration.hpp"
#include "search/predrawn_racks.hpp"
#include "search/simulation_report.hpp"
#include "search/simulation_state.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class FastLookaheadTest : public ::testing::Test {
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

// A rack's value for the tests: the sum of its letter codes, in tenths.
std::optional<int> codeSum(const Rack& rack) {
  int sum = 0;
  for (int code = 0; code < rules().letterCount; ++code) sum += rack[code] * code;
  return sum * 10;
}

bool printed(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

std::vector<int> sortedSample(const Game& game, int count, std::uint32_t seed) {
  GameRandom random;
  random.seed(seed);
  std::vector<int> values;
  const Well unseen = unseenTilesOf(game, game.toMove);
  for (int i = 0; i < count; ++i) {
    Well pool = unseen;
    Rack rack{};
    drawTiles(rack, pool, rules().rackSize, &random);
    values.push_back(*codeSum(rack));
  }
  std::sort(values.begin(), values.end());
  return values;
}

TEST_F(FastLookaheadTest, MoodsKeepTheOpponentsRacksOnOneSideOfTheThreshold) {
  EXPECT_EQ(moodThresholdIndex(1, 1000), 800);
  EXPECT_EQ(moodThresholdIndex(2, 1000), 600);
  EXPECT_EQ(moodThresholdIndex(-3, 1000), 600);
  EXPECT_EQ(moodThresholdIndex(3, 1000), 400);
  EXPECT_EQ(moodThresholdIndex(-2, 1000), 400);
  EXPECT_EQ(moodThresholdIndex(-1, 1000), 200);
  EXPECT_EQ(moodThresholdIndex(3, 0), 0);

  Game game = position("EINRSTU", 11);
  const std::vector<int> population = sortedSample(game, 20000, 99);
  const auto rankOf = [&](int value) {
    return static_cast<double>(std::upper_bound(population.begin(), population.end(), value) - population.begin()) /
           static_cast<double>(population.size());
  };
  PredrawnRacks racks;
  GameRandom random;
  random.seed(7);
  // +3: only racks from the lower 40% of values.
  ASSERT_TRUE(racks.build(game, {}, 3, random, codeSum));
  ASSERT_TRUE(racks.moodApplied());
  EXPECT_NEAR(rankOf(racks.threshold()), 0.4, 0.06);
  for (int i = 0; i < racks.size(); ++i) ASSERT_LE(racks.slot(i).value, racks.threshold()) << i;
  // -1: only from the upper 80%.
  ASSERT_TRUE(racks.build(game, {}, -1, random, codeSum));
  EXPECT_NEAR(rankOf(racks.threshold()), 0.2, 0.06);
  for (int i = 0; i < racks.size(); ++i) ASSERT_GE(racks.slot(i).value, racks.threshold()) << i;
  // Every slot is a rack the unseen tiles can make.
  const Well unseen = unseenTilesOf(game, 0);
  for (int i = 0; i < racks.size(); i += 997) {
    const Rack& rack = racks.slot(i).rack;
    EXPECT_EQ(rack.total(), rules().rackSize);
    for (int code = 0; code < kCodeSlots; ++code) ASSERT_LE(rack[code], unseen[code]);
  }
}

TEST_F(FastLookaheadTest, TwoPlayerTablesSpreadEveryValueOverConsecutiveSlots) {
  Game game = position("EINRSTU", 12);
  PredrawnRacks racks;
  GameRandom random;
  random.seed(8);
  ASSERT_TRUE(racks.build(game, {}, 0, random, codeSum));
  EXPECT_FALSE(racks.moodApplied());
  std::vector<int> all;
  for (int i = 0; i < racks.size(); ++i) all.push_back(racks.slot(i).value);
  std::vector<int> sorted = all;
  std::sort(sorted.begin(), sorted.end());
  const int low = sorted[sorted.size() / 20], high = sorted[sorted.size() * 19 / 20];
  // Any 80 consecutive slots reach from the lowest twentieth to the highest.
  for (int start = 0; start + 80 <= racks.size(); start += 4000) {
    const auto first = all.begin() + start;
    EXPECT_LE(*std::min_element(first, first + 80), low) << start;
    EXPECT_GE(*std::max_element(first, first + 80), high) << start;
  }
  // Known racks fill the previous player's slots first.
  Rack known{};
  addLetters(known, "qz", nullptr);
  Game withQz = position("EINRSTU", 12);
  if (withQz.bag[codeOfLetter('q')] + withQz.racks[1][codeOfLetter('q')] > 0 &&
      withQz.bag[codeOfLetter('z')] + withQz.racks[1][codeOfLetter('z')] > 0) {
    ASSERT_TRUE(racks.build(withQz, {known}, 0, random, codeSum));
    for (int i = 0; i < racks.size(); i += 1111) {
      EXPECT_GE(racks.slot(i).rack[codeOfLetter('q')], 1);
      EXPECT_GE(racks.slot(i).rack[codeOfLetter('z')], 1);
    }
  }
  // Skipped near the end without "SortRacksPEG", and for one player.
  Game late = position("EINRSTU", 12);
  late.sortRacksPeg = false;
  while (late.bag.total() > 10) {
    Rack sink{};
    drawTiles(sink, late.bag, 1, &late.random);
  }
  EXPECT_FALSE(racks.build(late, {}, 0, random, codeSum));
  late.sortRacksPeg = true;
  EXPECT_TRUE(racks.build(late, {}, 0, random, codeSum));
}

TEST_F(FastLookaheadTest, CandidatesSkipDuplicatesAndGrowNearTheEnd) {
  Game game = position("AEINRST", 13);
  GenerateMoves(game, Generation::fullList);
  const std::vector<Move>& list = game.moves;
  ASSERT_GT(list.size(), 200u);
  const std::vector<int> chosen = FastLookaheadCandidates(game, list, 2);
  // Mid-game: at most 32 plays plus the special moves, no duplicates.
  int placements = 0;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    const Move& a = list[static_cast<std::size_t>(chosen[i])];
    placements += isNonPlacement(a) ? 0 : 1;
    for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(DuplicateCandidate(game, list[static_cast<std::size_t>(chosen[j])], a));
  }
  EXPECT_LE(placements, 32);
  for (const int special : findSpecialMoves(list)) {
    if (special >= 0) { EXPECT_NE(std::find(chosen.begin(), chosen.end(), special), chosen.end()); }
  }

  // A one-tile play both ways is one candidate: S after CAT, read across
  // as CATS or down as the S alone.
  Move across, down;
  across.word = "cats";
  across.column = 6, across.row = 7, across.direction = kAcross;
  down.word = "s";
  down.column = 9, down.row = 7, down.direction = kDown;
  EXPECT_TRUE(DuplicateCandidate(game, across, down));
  EXPECT_TRUE(DuplicateCandidate(game, down, across));
  down.word = "t";
  EXPECT_FALSE(DuplicateCandidate(game, across, down)) << "another letter";
  down.word = "s";
  down.blankPositions[0] = 0;
  EXPECT_FALSE(DuplicateCandidate(game, across, down)) << "a blank for the S";

  // Nine or fewer tiles left to draw: up to 120 candidates with one-tile plays.
  while (game.bag.total() > 9) {
    Rack sink{};
    drawTiles(sink, game.bag, 1, &game.random);
  }
  const std::vector<int> late = FastLookaheadCandidates(game, list, 2);
  EXPECT_GT(late.size(), chosen.size());
  EXPECT_LE(late.size(), 150u);
}

TEST_F(FastLookaheadTest, HeatMapsAndTalliesOfSeenMoves) {
  HeatMap map;
  map.width = 15, map.height = 15;
  map.counts.assign(225, 0);
  map.scores.assign(225, 0);
  map.bingoCounts.assign(225, 0);
  map.bingoScores.assign(225, 0);
  Move down;
  down.word = "cats";
  down.column = 3, down.row = 5, down.direction = kDown, down.score = 70;
  RecordHeat(map, down, true);
  Move pass;
  pass.word = label::pass;
  RecordHeat(map, pass, false);
  EXPECT_EQ(map.moves, 2) << "every recorded move counts, placement or not";
  for (int row = 5; row < 9; ++row) {
    EXPECT_EQ(map.counts[static_cast<std::size_t>(row * 15 + 3)], 1);
    EXPECT_EQ(map.scores[static_cast<std::size_t>(row * 15 + 3)], 70);
  }
  EXPECT_EQ(map.counts[static_cast<std::size_t>(9 * 15 + 3)], 0);
  EXPECT_EQ(map.bingoCounts[static_cast<std::size_t>(5 * 15 + 3)], 1) << "a bingo marks its first square";
  EXPECT_EQ(map.bingoCounts[static_cast<std::size_t>(6 * 15 + 3)], 0);

  std::vector<SeenMove> seen;
  std::unordered_map<std::uint64_t, std::size_t> index;
  Rack rack{};
  addLetters(rack, "acstxyz", nullptr);
  RecordSeenMove(seen, index, down, rack);
  down.score = 30;
  RecordSeenMove(seen, index, down, rack);
  RecordSeenMove(seen, index, pass, rack);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].count, 2);
  EXPECT_EQ(seen[0].scoreTotal, 100);
  EXPECT_EQ(seen[0].bestScore, 70);
  EXPECT_EQ(seen[0].text, "CATS D6");
  EXPECT_EQ(seen[1].text, "(Pass)");
}

TEST_F(FastLookaheadTest, HorizonWinOfAFinishedGameCountsATieAsHalf) {
  Game game = position("EINRSTU", 14);
  game.winProbAtHorizon = true;
  game.gameOver = true;
  game.scores = {200, 200};
  WinProbTable table;
  EXPECT_EQ(FastHorizonWin(game, 0, &table), 50.0);
  game.scores = {201, 200};
  EXPECT_EQ(FastHorizonWin(game, 0, &table), 100.0);
  EXPECT_EQ(FastHorizonWin(game, 1, &table), 0.0);
  game.winProbAtHorizon = false;
  game.gameOver = false;
  EXPECT_EQ(FastHorizonWin(game, 0, nullptr), 100.0);
}

// The tables count the tiles the player who has just moved cannot see: the
// bag and the opponent's rack, not the bag alone. A table whose every cell
// holds its tile count shows which column a lookup read.
TEST_F(FastLookaheadTest, HorizonWinReadsTheColumnOfTheUnseenTiles) {
  Game game = position("EINRSTU", 14);
  game.winProbAtHorizon = true;
  WinProbTable table;
  for (int lead = -WinProbTable::kMaxLead; lead <= WinProbTable::kMaxLead; ++lead) {
    for (int tiles = 0; tiles < WinProbTable::kTileSlots; ++tiles) {
      for (int state = 0; state < WinProbTable::kBlankStates; ++state) {
        table.smoothed[WinProbTable::cell(lead + WinProbTable::kMaxLead, tiles, state)] = static_cast<float>(tiles);
      }
    }
  }
  // Late in the game: 50 tiles leave the bag (the column's clamp at 86
  // would hide the difference early on).
  GameRandom random;
  random.seed(3);
  for (int i = 0; i < 10; ++i) {
    Rack drawn{};
    drawTiles(drawn, game.bag, 5, &random);
  }
  const int bag = game.bag.total();
  ASSERT_LT(bag + 14, 86);
  const int opponentRack = game.racks[1].total();
  ASSERT_GT(opponentRack, 0);
  game.toMove = 1;  // player 0 has just moved: read for player 0
  EXPECT_EQ(FastHorizonWin(game, 0, &table), bag + opponentRack);
  game.toMove = 0;  // player 1 has just moved: 100 minus its chance
  EXPECT_EQ(FastHorizonWin(game, 0, &table), 100.0 - (bag + game.racks[0].total()));
  EXPECT_EQ(HorizonWinChance(game, table, 1, 0), bag + game.racks[0].total());
}

// With no ply after the candidate every iteration of a candidate gives its
// score: the initial pass gives each 80, the leader alone stays in
// contention and runs to 400, and the means are the scores.
TEST_F(FastLookaheadTest, FlatOutcomesFinishAfterTheLeadersFourHundred) {
  for (const int threads : {1, 2}) {
    Game game = position("DEGLNOR", 15);
    std::string letters;
    for (const Square& square : game.board.squares) letters += square.empty() ? '.' : square.letter;
    const auto racks = game.racks;
    const auto bag = game.bag;
    FastLookahead(game, 0, threads);
    ASSERT_FALSE(game.moves.empty());
    std::string after;
    for (const Square& square : game.board.squares) after += square.empty() ? '.' : square.letter;
    EXPECT_EQ(after, letters);
    EXPECT_EQ(game.racks, racks);
    EXPECT_EQ(game.bag, bag);
    int simulated = 0;
    for (const Move& move : game.moves) {
      if (move.simCount == 0) continue;
      ++simulated;
      EXPECT_GE(move.simCount, 80) << move.word;
      EXPECT_FLOAT_EQ(move.simValueA, static_cast<float>(move.score)) << move.word;
      EXPECT_FLOAT_EQ(move.simMedian, static_cast<float>(move.score)) << move.word;
      const SimulationStats* stats = simulationStatsOf(game, move);
      ASSERT_NE(stats, nullptr);
      EXPECT_EQ(static_cast<int>(stats->spreads.size()), move.simCount);
    }
    EXPECT_GT(simulated, 10);
    EXPECT_GE(game.moves.front().simCount, 400);
    EXPECT_TRUE(std::is_sorted(game.moves.begin(), game.moves.end(),
                               [](const Move& a, const Move& b) { return a.simValueA > b.simValueA; }));
  }
}

// An iteration budget ends the simulation once the candidates together
// have had it (the batches in hand finish their block of 32), and the count
// of iterations done is kept; without a budget the same position runs on.
TEST_F(FastLookaheadTest, AnIterationBudgetEndsTheSimulationAndTheCountIsKept) {
  long long unbounded = 0;
  {
    Game game = position("DEGLNOR", 15);
    FastLookahead(game, 0, 1);
    unbounded = lastSimulationIterations();
    long long sum = 0;
    for (const Move& move : game.moves) sum += move.simCount;
    EXPECT_EQ(unbounded, sum);
  }
  ASSERT_GT(unbounded, 400);
  for (const int threads : {1, 2}) {
    Game game = position("DEGLNOR", 15);
    {
      const IterationBudgetScope budget(150);
      EXPECT_EQ(simulationIterationBudget(), 150);
      FastLookahead(game, 0, threads);
    }
    EXPECT_EQ(simulationIterationBudget(), 0);
    const long long done = lastSimulationIterations();
    EXPECT_GE(done, 150);
    EXPECT_LT(done, 150 + threads * 80);
    long long sum = 0;
    for (const Move& move : game.moves) sum += move.simCount;
    EXPECT_EQ(done, sum);
  }
}

// Under the anagram rule (slow generation) the initial pass gives each
// candidate 20 iterations; with flat outcomes the ones behind stop there.
TEST_F(FastLookaheadTest, TheAnagramRulePassesTwentyIterationsEach) {
  ASSERT_TRUE(activateGameType(kKindAnagram));
  Game game = position("DEGO", 19);
  FastLookahead(game, 0, 1);
  int atTwenty = 0, simulated = 0;
  for (const Move& move : game.moves) {
    if (move.simCount == 0) continue;
    ++simulated;
    EXPECT_GE(move.simCount, 20) << move.word;
    atTwenty += move.simCount == 20 ? 1 : 0;
  }
  EXPECT_GT(simulated, 2);
  EXPECT_GT(atTwenty, 0);
}

TEST_F(FastLookaheadTest, SimulatesRepliesAndReportsThem) {
  Game game = position("AEINRST", 16);
  game.trackHeatmaps = true;
  test::PaneCapture capture;
  game.quiet = false;
  FastLookahead(game, 2, 2);
  game.quiet = true;
  const std::vector<std::string> lines = capture.lines();
  const auto has = [&](const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  EXPECT_TRUE(has("=== Simulating "));
  EXPECT_TRUE(has("Initial simulation pass complete."));
  EXPECT_TRUE(has("Total of "));
  EXPECT_TRUE(has("Simulation done: "));
  const Move& best = game.moves.front();
  ASSERT_GT(best.simCount, 0);
  EXPECT_EQ(best.simPly, 2);
  const SimulationStats* stats = simulationStatsOf(game, best);
  ASSERT_NE(stats, nullptr);
  EXPECT_EQ(stats->replies, best.simCount);
  EXPECT_EQ(stats->nextMoves, best.simCount);
  ASSERT_TRUE(stats->hasHeatMaps);
  EXPECT_EQ(stats->replyHeat.moves, best.simCount);
  const std::vector<std::string> report = SimulationStatsLines(game, best);
  ASSERT_GE(report.size(), 9u);
  EXPECT_EQ(report[0].rfind("Mean spread: ", 0), 0u);
  EXPECT_NE(std::find(report.begin(), report.end(), "Most frequent opponent replies: -----------"), report.end());
}

TEST_F(FastLookaheadTest, SolitaireAndThreePlayerAdjustments) {
  {
    Game game = position("AEINRST", 17);
    game.playerCount = 1;
    game.maximizeWinProb = true;
    test::PaneCapture capture;
    game.quiet = false;
    FastLookahead(game, 1, 1);
    const auto lines = capture.lines();
    EXPECT_TRUE(printed(lines, "Using spread simulation for solitaire player."));
    EXPECT_EQ(game.moves.front().simByWinProb, 0);
    EXPECT_TRUE(game.maximizeWinProb) << "the caller's setting comes back";
  }
  {
    setProgramSeed(18);
    Game game;
    startGame(game, 3, test::fixtureWords());
    game.quiet = false;
    game.maximizeWinProb = true;
    for (int p = 0; p < 3; ++p) game.strategies[static_cast<std::size_t>(p)] = 2;
    // The depth is what is checked, not the outcome; the budget leaves
    // room for the set-up on a slow (sanitized) build.
    game.timeBudget = 200;
    prepareBoard(game);
    test::PaneCapture capture;
    FastLookahead(game, 4, 1);
    const auto lines = capture.lines();
    ASSERT_TRUE(game.winProbAtHorizon) << "three players on the standard board read the tables";
    EXPECT_TRUE(printed(lines, "Adjusting to 6 ply for more accurate estimation."));
    EXPECT_EQ(game.moves.front().simPly, 6);
  }
}

}  // namespace
}  // namespace pexil
