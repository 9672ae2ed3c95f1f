// The endgame searches: when a position is an endgame, the selective
// search against a plain negamax on tiny endgames, its first pass and its
// time-out, the analysis position whose opponent tiles are in the bag,
// the static endgame's verdicts, and the pre-endgame's draws.
#include "search/endgame.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"
#include "search/endgame_state.hpp"
#include "search/fast_lookahead.hpp"
#include "search/pre_endgame.hpp"
#include "search/simulated_move.hpp"
#include "search/simulation.hpp"
#include "search/simulation_state.hpp"
#include "search/static_endgame.hpp"
#include "search/strategy.hpp"
#include "state/abort_flag.hpp"
#include "state/move.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

// Static best-first self-play from a seeded start until `reached` holds
// (the board then annotated); none when the game ends first.
template <typename Reached>
std::optional<Game> selfPlayUntil(std::uint32_t seed, Reached reached) {
  setProgramSeed(seed);
  Game game;
  startGame(game, 2, test::fixtureWords());
  game.random.seed(seed);
  game.quiet = true;
  game.historyEnabled = false;
  game.threads = 1;
  for (int turn = 0; turn < 200 && !game.gameOver; ++turn) {
    if (reached(game)) {
      prepareBoard(game);
      return game;
    }
    GenerateMoves(game, Generation::firstOfList);
    PlayMove(game, game.bestMove, false, true);
  }
  return std::nullopt;
}

// Self-play until the bag is empty and neither rack holds more than `most`
// tiles; none when the game ends first or a rack has fewer than `least`.
std::optional<Game> selfPlayEndgame(std::uint32_t seed, int most, int least = 1) {
  std::optional<Game> game = selfPlayUntil(seed, [most](const Game& g) {
    return g.bag.total() == 0 && g.racks[0].total() <= most && g.racks[1].total() <= most;
  });
  if (game && (game->racks[0].total() < least || game->racks[1].total() < least)) return std::nullopt;
  return game;
}

// A plain negamax with alpha-beta over the full move lists, passing only
// when no placement is possible (as the selective search does). Notes the
// longest list it met.
int negamax(Game& game, int alpha, int beta, std::size_t& longest) {
  const int mover = game.toMove;
  if (game.gameOver) return game.scores[static_cast<std::size_t>(mover)] - game.scores[static_cast<std::size_t>(1 - mover)];
  GenerateMoves(game, Generation::fullList);
  const std::vector<Move> list = game.moves;
  longest = std::max(longest, list.size());
  const bool placements = std::any_of(list.begin(), list.end(), [](const Move& m) { return !isNonPlacement(m); });
  int best = INT_MIN / 2;
  PositionSnapshot snapshot;
  for (const Move& move : list) {
    if (isNonPlacement(move) && (placements || !isPass(move))) continue;
    snapshot.save(game);
    PlayMove(game, move, false, true);
    const int value = -negamax(game, -beta, -alpha, longest);
    snapshot.restore(game);
    best = std::max(best, value);
    alpha = std::max(alpha, value);
    if (alpha >= beta) break;
  }
  if (best == INT_MIN / 2) {
    Move pass;
    pass.word = label::pass;
    snapshot.save(game);
    PlayMove(game, pass, false, true);
    best = -negamax(game, -beta, -alpha, longest);
    snapshot.restore(game);
  }
  return best;
}

class Endgame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    endgameOptions() = EndgameOptions{};
    forgetEndgameMove();
  }
  test::StateGuard guard;
};

TEST_F(Endgame, IsEndgameNeedsTwoPlayersAndKnownTiles) {
  std::optional<Game> game = selfPlayEndgame(11, 7);
  ASSERT_TRUE(game);
  EXPECT_TRUE(IsEndgame(*game));
  // The analysis position: the opponent's tiles not entered, the bag holding them.
  Game analysis = *game;
  returnAll(analysis.bag, analysis.racks[static_cast<std::size_t>(1 - analysis.toMove)]);
  EXPECT_TRUE(IsEndgame(analysis) || analysis.bag.total() > rules().rackSize);
  Game tooMany = analysis;
  addLetters(tooMany.bag, "EEEEEEEE", nullptr);
  EXPECT_FALSE(IsEndgame(tooMany));
  Game over = analysis;
  over.gameOver = true;
  EXPECT_FALSE(IsEndgame(over) && over.bag.total() > 0);
  Game three = *game;
  three.playerCount = 3;
  EXPECT_FALSE(IsEndgame(three));
  Game opening = test::gameWithCatAtCentre(3);
  drawTiles(opening.racks[0], opening.bag, 7, &opening.random);
  drawTiles(opening.racks[1], opening.bag, 7, &opening.random);
  EXPECT_FALSE(IsEndgame(opening));
}

// On tiny endgames (no list longer than the search's breadths) the
// selective search wins exactly when the full negamax does, and a move it
// values as a win is one.
TEST_F(Endgame, SelectiveSearchAgreesWithNegamaxOnTinyEndgames) {
  int compared = 0, wins = 0;
  for (std::uint32_t seed = 1; seed < 120 && compared < 25; ++seed) {
    std::optional<Game> found = selfPlayEndgame(seed, 2);
    if (!found || found->racks[0].total() + found->racks[1].total() > 3) continue;
    Game reference = *found;
    std::size_t longest = 0;
    const int exact = negamax(reference, INT_MIN / 2, INT_MAX / 2, longest);
    if (longest > 16) continue;
    Game game = *found;
    EndgameSearch(game);
    ASSERT_FALSE(game.moves.empty());
    const Move best = game.moves.front();
    ASSERT_NE(best.equity, kNotSearched) << "seed " << seed;
    EXPECT_EQ(best.equity > 0, exact > 0) << "seed " << seed << " search " << best.equity << " negamax " << exact;
    EXPECT_EQ(best.equity >= 0, exact >= 0) << "seed " << seed;
    if (best.equity > 0) {
      ++wins;
      Game after = *found;
      PlayMove(after, best, false, true);
      std::size_t ignored = 0;
      EXPECT_GT(-negamax(after, INT_MIN / 2, INT_MAX / 2, ignored), 0) << "seed " << seed << " " << best.word;
    }
    // The search leaves the position as it found it.
    EXPECT_EQ(game.board.squares.size(), found->board.squares.size());
    for (std::size_t i = 0; i < game.board.squares.size(); ++i) {
      ASSERT_EQ(game.board.squares[i].letter, found->board.squares[i].letter);
    }
    EXPECT_EQ(game.racks, found->racks);
    EXPECT_EQ(game.scores, found->scores);
    ++compared;
  }
  EXPECT_GE(compared, 10);
  EXPECT_GT(wins, 0);
}

// A winning way out is found by the first pass, which (the greedier option
// off) ends the search: no other root move is searched.
TEST_F(Endgame, WinningGoOutEndsTheSearchInTheFirstPass) {
  int checked = 0;
  for (std::uint32_t seed = 1; seed < 200 && checked < 5; ++seed) {
    std::optional<Game> found = selfPlayEndgame(seed, 3);
    if (!found) continue;
    Game game = *found;
    EndgameSearch(game);
    const Move& best = game.moves.front();
    if (best.equity <= 0 || best.leave[0] != '\0') continue;
    for (const Move& move : game.moves) {
      if (move.equity != kNotSearched) {
        EXPECT_EQ(move.leave[0], '\0') << "seed " << seed << ": a move that keeps tiles was searched: " << move.word;
      }
    }
    // The value of going out: the score, twice the opponent's tiles, the spread.
    const int mover = game.toMove;
    const int spread = game.scores[static_cast<std::size_t>(mover)] - game.scores[static_cast<std::size_t>(1 - mover)];
    EXPECT_EQ(best.equity, best.score + 2 * rackValue(game.racks[static_cast<std::size_t>(1 - mover)]) + spread);
    ++checked;
  }
  EXPECT_GE(checked, 3);
}

// The analysis position: the opponent's tiles were not entered, so the bag
// (five tiles here) is the opponent's rack.
TEST_F(Endgame, AnalysisPositionTakesTheBagAsOpponentRack) {
  for (std::uint32_t seed = 1; seed < 200; ++seed) {
    std::optional<Game> found = selfPlayEndgame(seed, 5, 5);
    if (!found || found->racks[static_cast<std::size_t>(1 - found->toMove)].total() != 5) continue;
    Game game = *found;
    const Rack opponent = game.racks[static_cast<std::size_t>(1 - game.toMove)];
    returnAll(game.bag, game.racks[static_cast<std::size_t>(1 - game.toMove)]);
    ASSERT_EQ(game.bag.total(), 5);
    ASSERT_TRUE(IsEndgame(game));
    game.timeBudget = 200;
    game.threads = 2;  // the root moves shared between two workers
    EndgameSearch(game);
    EXPECT_EQ(game.bag.total(), 0);
    EXPECT_EQ(game.racks[static_cast<std::size_t>(1 - game.toMove)], opponent);
    ASSERT_FALSE(game.moves.empty());
    EXPECT_NE(game.moves.front().equity, kNotSearched);
    return;
  }
  FAIL() << "no position with five tiles on the opponent's rack";
}

// A time budget cuts the search: the message, the flag, and the moves left
// unsearched sort last.
TEST_F(Endgame, TimeBudgetStopsTheSearch) {
  std::optional<Game> found;
  for (std::uint32_t seed = 1; seed < 100 && !found; ++seed) {
    found = selfPlayEndgame(seed, 7, 6);
  }
  ASSERT_TRUE(found);
  Game game = *found;
  game.quiet = false;
  game.timeBudget = 1;
  test::PaneCapture capture;
  EndgameSearch(game);
  EXPECT_TRUE(endgameTimedOut());
  bool message = false;
  for (const std::string& line : capture.lines()) message = message || line.find("Aborting endgame search due to time...") != std::string::npos;
  EXPECT_TRUE(message);
  const auto firstUnsearched = std::find_if(game.moves.begin(), game.moves.end(),
                                            [](const Move& m) { return m.equity == kNotSearched; });
  ASSERT_NE(firstUnsearched, game.moves.end());
  EXPECT_TRUE(std::all_of(firstUnsearched, game.moves.end(), [](const Move& m) { return m.equity == kNotSearched; }));
}

// The static endgame's quick verdicts: far behind every move loses, far
// ahead every move wins, without a search.
TEST_F(Endgame, StaticEndgameVerdicts) {
  std::optional<Game> found = selfPlayEndgame(7, 7);
  ASSERT_TRUE(found);
  Game behind = *found;
  behind.scores[static_cast<std::size_t>(behind.toMove)] = 0;
  behind.scores[static_cast<std::size_t>(1 - behind.toMove)] = 900;
  EXPECT_EQ(StaticEndgame(behind, false), -1);
  EXPECT_EQ(lastStaticVerdict(), -1);
  EXPECT_TRUE(std::all_of(behind.moves.begin(), behind.moves.end(), [](const Move& m) { return m.equity == -1; }));
  Game ahead = *found;
  ahead.scores[static_cast<std::size_t>(ahead.toMove)] = 900;
  ahead.scores[static_cast<std::size_t>(1 - ahead.toMove)] = 0;
  EXPECT_EQ(StaticEndgame(ahead, true), 1);
  EXPECT_EQ(lastStaticVerdict(), 1);
}

// The static search replays root moves on the board and racks and puts
// them back; a winning line it reports is a win under full play on tiny
// endgames too.
TEST_F(Endgame, StaticEndgameRestoresThePosition) {
  int searched = 0;
  for (std::uint32_t seed = 1; seed < 60 && searched < 6; ++seed) {
    std::optional<Game> found = selfPlayEndgame(seed, 4, 2);
    if (!found) continue;
    Game game = *found;
    const int best = StaticEndgame(game, false);
    ASSERT_NE(best, kNotSearched);
    if (lastStaticVerdict() == 0) ++searched;
    for (std::size_t i = 0; i < game.board.squares.size(); ++i) {
      ASSERT_EQ(game.board.squares[i].letter, found->board.squares[i].letter);
      ASSERT_EQ(game.board.squares[i].crossSet[0], found->board.squares[i].crossSet[0]);
    }
    EXPECT_EQ(game.racks, found->racks);
    EXPECT_EQ(game.bag, found->bag);
    EXPECT_TRUE(std::is_sorted(game.moves.begin(), game.moves.end(),
                               [](const Move& a, const Move& b) { return a.equity > b.equity; }));
  }
  EXPECT_GE(searched, 3);
}

// "Use static endgame in simulation": once the bag is empty, a simulated
// player's move is the static endgame's best, with the simulation's
// candidates and search mode left in place; otherwise, and with the option
// off, it is the static best move. The option changes what a simulation of
// an endgame position finds.
TEST_F(Endgame, SimulatedPlayersChooseByTheStaticEndgameWhenAsked) {
  endgameOptions().staticNodeBudget = 20000;  // small searches keep the test quick
  int differing = 0, simulationsDiffering = 0, positions = 0;
  for (std::uint32_t seed = 1; seed < 40 && positions < 6; ++seed) {
    std::optional<Game> found = selfPlayEndgame(seed, 7, 2);
    if (!found) continue;
    ++positions;
    Game game = *found;
    GenerateMoves(game, Generation::fullList);
    const std::vector<Move> candidates = game.moves;

    Game plain = game;
    GenerateMoves(plain, Generation::bestOnly);
    Game off = game;
    ChooseSimulatedMove(off);
    EXPECT_TRUE(SameMove(off.bestMove, plain.bestMove)) << seed;

    Game reference = game;
    ASSERT_NE(StaticEndgame(reference, true), kNotSearched);
    Game on = game;
    on.staticEndgameInSimulation = true;
    on.searchMode = SearchMode::simulationReply;
    ChooseSimulatedMove(on);
    EXPECT_TRUE(SameMove(on.bestMove, reference.bestMove)) << seed;
    EXPECT_EQ(on.searchMode, SearchMode::simulationReply);
    ASSERT_EQ(on.moves.size(), candidates.size());
    for (std::size_t k = 0; k < candidates.size(); ++k) EXPECT_TRUE(SameMove(on.moves[k], candidates[k])) << k;
    EXPECT_EQ(on.racks, game.racks);
    differing += SameMove(on.bestMove, plain.bestMove) ? 0 : 1;

    // The same simulation with and without the option.
    Game simulatedOff = game, simulatedOn = game;
    simulatedOn.staticEndgameInSimulation = true;
    SimulateSingleThreaded(simulatedOff, 2, 2, 0.25, 5);
    SimulateSingleThreaded(simulatedOn, 2, 2, 0.25, 5);
    for (const Move& a : simulatedOff.moves) {
      for (const Move& b : simulatedOn.moves) {
        if (SameMove(a, b) && a.simCount > 0 && b.simCount > 0 && a.simValueA != b.simValueA) {
          ++simulationsDiffering;
        }
      }
    }
  }
  ASSERT_GE(positions, 4);
  EXPECT_GE(differing, 1) << "the static endgame never chose otherwise than the static best move";
  EXPECT_GE(simulationsDiffering, 1);

  // Tiles in the bag: the static best move, option or not.
  Game opening = test::catPosition("AEINRST", 5);
  opening.staticEndgameInSimulation = true;
  Game plain = opening;
  GenerateMoves(plain, Generation::bestOnly);
  ChooseSimulatedMove(opening);
  EXPECT_TRUE(SameMove(opening.bestMove, plain.bestMove));
}

// The static endgame inside the fast lookahead's workers: a few tiles in the
// bag, so that the simulated games reach the endgame on two threads at
// once; the position comes back as it was.
TEST_F(Endgame, StaticEndgameInsideTheFastLookaheadsWorkers) {
  endgameOptions().staticNodeBudget = 5000;
  std::optional<Game> found;
  for (std::uint32_t seed = 1; seed < 40 && !found; ++seed) {
    found = selfPlayUntil(seed, [](const Game& g) { return g.bag.total() > 0 && g.bag.total() <= 4; });
  }
  ASSERT_TRUE(found);
  Game game = *found;
  game.staticEndgameInSimulation = true;
  game.preEndgameInSimulation = false;
  GenerateMoves(game, Generation::fullList);
  {
    const IterationBudgetScope budget(100);
    FastLookahead(game, 2, 2);
  }
  EXPECT_EQ(game.racks, found->racks);
  EXPECT_EQ(game.bag, found->bag);
  EXPECT_EQ(game.scores, found->scores);
  ASSERT_FALSE(game.moves.empty());
  EXPECT_GT(game.moves.front().simCount, 0);
}

// Every way to draw is counted: the multiplicities add up to C(n, k),
// blanks included, and each opponent rack is the rest.
TEST_F(Endgame, RackDrawMultiplicitiesSumToTheWays) {
  LetterCounts unseen{};
  addLetters(unseen, "AAABEE??Z", nullptr);
  const std::vector<RackDraw> draws = EnumerateRackDraws(unseen, 3);
  double total = 0;
  for (const RackDraw& draw : draws) {
    total += draw.weight;
    EXPECT_EQ(draw.drawn.total(), 3);
    EXPECT_EQ(draw.opponent.total(), 6);
    for (int code = 0; code < kTotalSlot; ++code) EXPECT_EQ(draw.drawn[code] + draw.opponent[code], unseen[code]);
  }
  EXPECT_DOUBLE_EQ(total, 84.0);  // C(9, 3)
  // Distinct draws: multisets of size 3 from A3 B1 E2 ?2 Z1, counted by hand.
  int distinct = 0;
  for (int a = 0; a <= 3; ++a)
    for (int b = 0; b <= 1; ++b)
      for (int e = 0; e <= 2; ++e)
        for (int q = 0; q <= 2; ++q)
          for (int z = 0; z <= 1; ++z) distinct += a + b + e + q + z == 3 ? 1 : 0;
  EXPECT_EQ(static_cast<int>(draws.size()), distinct);
  EXPECT_TRUE(EnumerateRackDraws(unseen, 10).empty());
}

// With one tile in the bag: every move that empties it is valued over the
// unseen tiles (the draws weigh as many as the tiles), and so is the pass.
TEST_F(Endgame, OneTileInTheBagValuesMovesAndThePass) {
  for (std::uint32_t seed = 1; seed < 200; ++seed) {
    setProgramSeed(seed);
    Game game;
    startGame(game, 2, test::fixtureWords());
    game.random.seed(seed);
    game.quiet = true;
    game.historyEnabled = false;
    while (!game.gameOver && game.bag.total() > 1) {
      GenerateMoves(game, Generation::firstOfList);
      PlayMove(game, game.bestMove, false, true);
    }
    if (game.gameOver || game.bag.total() != 1) continue;
    prepareBoard(game);
    GenerateMoves(game, Generation::fullList);
    const auto move = std::find_if(game.moves.begin(), game.moves.end(),
                                   [&](const Move& m) { return IsPreEndgameMove(game, m); });
    if (move == game.moves.end()) continue;
    const PreEndgameResult result = PreEndgameEvaluate(game, *move, 2, 200);
    ASSERT_GE(result.winPercent, 0.0);
    ASSERT_LE(result.winPercent, 100.0);
    double weight = 0;
    for (const RackDraw& draw : result.draws) {
      weight += draw.weight;
      EXPECT_GE(draw.outcome, 0);
    }
    EXPECT_DOUBLE_EQ(weight, 8.0);  // the bag's tile and the opponent's seven
    const float pass = PreEndgamePassValue(game, 1);
    EXPECT_GE(pass, 0.0f);
    EXPECT_LE(pass, 100.0f);
    // A move that keeps too many tiles to empty the bag is not valued.
    Move exchange;
    exchange.word = label::exchange;
    EXPECT_FALSE(IsPreEndgameMove(game, exchange));
    EXPECT_LT(PreEndgameValue(game, *move, 1, 0), 0.0f);  // more draws than the limit
    return;
  }
  FAIL() << "no position with one tile in the bag";
}

// The computer's strategies 0 and 52 finish a game through the endgame.
TEST_F(Endgame, EndgameStrategiesFinishAGame) {
  for (const int strategy : {0, 52}) {
    std::optional<Game> found = selfPlayEndgame(5, 3);
    ASSERT_TRUE(found);
    Game game = *found;
    game.strategies[0] = game.strategies[1] = strategy;
    test::PaneCapture capture;
    for (int turn = 0; turn < 30 && !game.gameOver; ++turn) PlayStrategyTurn(game);
    EXPECT_TRUE(game.gameOver) << "strategy " << strategy;
  }
}

}  // namespace
}  // namespace pexil
