// The rack guess from the opponent's last move: the leaves tested and their
// weights (against a slow count over every tile triple), the cases that
// give no guess, the summary lines, typed known tiles (Spanish digraphs
// included), the same list from one worker and from two, and its use by
// the threaded lookahead.
#include "search/tile_inference.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "search/guess_summary.hpp"
#include "search/known_racks.hpp"
#include "search/leave_guess.hpp"
#include "search/simulation.hpp"
#include "search/strategy.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using RackKey = std::array<int, 33>;

std::map<RackKey, int> countsOf(const std::vector<Rack>& racks) {
  std::map<RackKey, int> counts;
  for (const Rack& rack : racks) ++counts[rack.counts];
  return counts;
}

Rack rackOf(const char* tiles) {
  Rack rack;
  addLetters(rack, tiles, nullptr);
  return rack;
}

// The pane's lines without the blank a message's line end leaves.
std::vector<std::string> trimmed(std::vector<std::string> lines) {
  for (std::string& line : lines) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
  }
  return lines;
}

bool containsLine(const std::vector<std::string>& lines, const std::string& text) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// The tiles a placement lays on the game's board.
Rack laidTiles(const Game& game, const Move& move) {
  Rack laid;
  for (int i = 0; i < static_cast<int>(move.wordView().size()); ++i) {
    const Square* square = move.direction == kAcross ? squareAt(game.board, move.column + i, move.row)
                                                     : squareAt(game.board, move.column, move.row + i);
    if (!square || !square->empty()) continue;
    ++laid[move.isBlankAt(i) ? rules().blankCode : codeOfLetter(move.word[i])];
    ++laid[kTotalSlot];
  }
  return laid;
}

// A move that lays the same tiles as a move worth at least 13 points more:
// with any leave the better one is there too, so the worse is never within
// 12 points of the best.
Move worseOfTheSameTiles(const Game& game, const std::vector<Move>& moves) {
  for (auto worse = moves.rbegin(); worse != moves.rend(); ++worse) {
    for (const Move& better : moves) {
      if (better.equity - worse->equity >= 130 && laidTiles(game, better) == laidTiles(game, *worse)) return *worse;
    }
  }
  ADD_FAILURE() << "no two moves lay the same tiles 13 points apart";
  return Move{};
}

class TileInference : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(activateGameType(kKindStandard)); }

  // CAT across the centre; player 1 (the opponent) holds `opponentRack`
  // and plays the move `pick` chooses among its moves that lay `played`
  // tiles; then player 0, holding `ownRack`, is to move.
  template <typename Pick>
  Game afterOpponentMove(const char* opponentRack, const char* ownRack, int played, Pick pick, std::uint32_t seed) {
    Game game = test::gameWithCatAtCentre(seed);
    game.historyEnabled = false;
    game.quiet = true;
    EXPECT_EQ(addLetters(game.racks[0], ownRack, &game.bag), static_cast<int>(std::string(ownRack).size()));
    EXPECT_EQ(addLetters(game.racks[1], opponentRack, &game.bag), static_cast<int>(std::string(opponentRack).size()));
    game.random.seed(seed);
    game.toMove = 1;
    prepareBoard(game);
    GenerateMoves(game, Generation::fullList);
    std::vector<Move> laying;
    for (const Move& move : game.moves) {
      if (!isNonPlacement(move) && laidTiles(game, move).total() == played) laying.push_back(move);
    }
    EXPECT_FALSE(laying.empty());
    if (laying.empty()) return game;
    opponentMove = pick(game, laying);
    PlayMove(game, opponentMove);
    EXPECT_EQ(game.toMove, 0);
    return game;
  }

  // The opponent keeps three tiles with the best move that lays four.
  Game keptThree() {
    return afterOpponentMove("DEGLNOR", "AEIKSTU", 4, [](const Game&, const std::vector<Move>& moves) { return moves.front(); }, 11);
  }

  Move opponentMove;
  test::StateGuard guard;
};

// The weights of the distinct leaves are the numbers of ways to draw them:
// counted here tile by tile over every triple of the pool's tiles.
TEST_F(TileInference, LeaveWeightsCountTheWaysToDrawThem) {
  Game game = test::gameWithCatAtCentre(3);
  const LetterCounts pool = game.bag;
  std::vector<int> tiles;
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int n = 0; n < pool[code]; ++n) tiles.push_back(code);
  }
  for (int size = 1; size <= 3; ++size) {
    std::map<RackKey, int> slow;
    const int n = static_cast<int>(tiles.size());
    std::vector<int> index(static_cast<std::size_t>(size));
    // Every set of `size` distinct tile positions, in increasing order.
    std::function<void(int, int)> walk = [&](int depth, int from) {
      if (depth == size) {
        Rack leave;
        for (const int i : index) {
          ++leave[tiles[static_cast<std::size_t>(i)]];
          ++leave[kTotalSlot];
        }
        ++slow[leave.counts];
        return;
      }
      for (int i = from; i < n; ++i) {
        index[static_cast<std::size_t>(depth)] = i;
        walk(depth + 1, i + 1);
      }
    };
    walk(0, 0);
    const std::vector<WeightedLeave> leaves = distinctLeaves(pool, size);
    std::map<RackKey, int> fast;
    for (const WeightedLeave& leave : leaves) {
      EXPECT_EQ(leave.leave.total(), size);
      EXPECT_TRUE(fast.emplace(leave.leave.counts, leave.weight).second) << "a leave listed twice";
    }
    EXPECT_EQ(fast, slow) << size << " kept tiles";
  }
  // Two of one letter from a pool of a: a x (a - 1) / 2.
  const Rack twoE = rackOf("EE");
  const auto leaves = distinctLeaves(pool, 2);
  const auto found = std::find_if(leaves.begin(), leaves.end(), [&](const WeightedLeave& l) { return l.leave == twoE; });
  ASSERT_NE(found, leaves.end());
  EXPECT_EQ(found->weight, pool[codeOfTile('E')] * (pool[codeOfTile('E')] - 1) / 2);
  EXPECT_TRUE(distinctLeaves(rackOf("AB"), 3).empty());
}

// Kept three tiles: every leave of three tiles from the pool is tested,
// each accepted one is listed as often as it can be drawn, the leave the
// opponent really kept is among them, and two workers list the same racks
// as one.
TEST_F(TileInference, KeptThreeTilesListsEveryExplainingLeaveByItsWeight) {
  Game game = keptThree();
  const OpponentMove last = opponentLastMove(game);
  ASSERT_TRUE(last.known);
  EXPECT_EQ(last.played.total(), 4);
  EXPECT_EQ(chooseGuess(game, last), GuessChoice::leaves);
  EXPECT_TRUE(guessAppliesToLookahead(game));

  game.quiet = false;
  test::PaneCapture capture;
  const int listed = GuessOpponentRack(game, 1);
  const std::vector<std::string> lines = trimmed(capture.lines());
  EXPECT_TRUE(containsLine(lines, "Constructing rack distribution guess (known played '" + tilesDisplayText(last.played) + "')"));
  EXPECT_TRUE(containsLine(lines, "Most likely to least likely: "));
  ASSERT_GT(listed, 0);
  EXPECT_EQ(listed, KnownRackCount(game));

  // The slow way: every distinct leave tried on its own, in turn.
  Game prior = game;
  prior.knownRacks.clear();
  const LetterCounts pool = setUpPositionBefore(prior, last);
  std::map<RackKey, int> expected;
  int tested = 0;
  for (const WeightedLeave& leave : distinctLeaves(pool, 3)) {
    ++tested;
    if (leaveExplainsMove(prior, pool, last, leave.leave)) expected[leave.leave.counts] = leave.weight;
  }
  EXPECT_GT(tested, 1000);
  EXPECT_LT(expected.size(), static_cast<std::size_t>(tested));
  EXPECT_EQ(countsOf(game.knownRacks), expected);
  // What the opponent kept: its rack less the tiles it laid.
  Rack kept = rackOf("DEGLNOR");
  for (int code = 0; code < kCodeSlots; ++code) kept[code] -= last.played[code];
  kept[kTotalSlot] -= last.played.total();
  EXPECT_EQ(kept.total(), 3);
  EXPECT_TRUE(expected.count(kept.counts)) << tilesDisplayText(kept);

  // Two workers: the same racks, in another order.
  Game twice = keptThree();
  GuessOpponentRack(twice, 2);
  EXPECT_EQ(countsOf(twice.knownRacks), expected);
}

// A strategy asking for the guess: the threaded lookahead builds it and
// gives the opponent racks from it.
TEST_F(TileInference, ThreadedLookaheadUsesTheGuessWhenAsked) {
  Game game = keptThree();
  game.quiet = false;
  game.guessRackDistribution = true;
  game.strategies[0] = game.strategies[1] = 2;
  test::PaneCapture capture;
  SimulateThreaded(game, 2, 0, 0.1);
  const std::vector<std::string> lines = trimmed(capture.lines());
  EXPECT_TRUE(containsLine(lines, "Constructing rack distribution guess (known played '"));
  EXPECT_TRUE(containsLine(lines, "Using known tile distribution in simulation."));
  EXPECT_TRUE(game.knownRacks.empty());

  // Without the request nothing is guessed.
  Game plain = keptThree();
  plain.quiet = false;
  plain.strategies[0] = plain.strategies[1] = 2;
  test::PaneCapture quiet;
  SimulateThreaded(plain, 2, 0, 0.1);
  EXPECT_FALSE(containsLine(quiet.lines(), "rack distribution guess"));
  EXPECT_FALSE(containsLine(quiet.lines(), "Using known tile"));
}

// Strategy 16 ("with rack distribution guess") asks for the guess for its
// move only.
TEST_F(TileInference, TheGuessingStrategiesAskForIt) {
  Game game = keptThree();
  game.quiet = false;
  game.threads = 2;
  game.strategies[0] = 16;
  test::PaneCapture capture;
  PlayStrategyTurn(game);
  EXPECT_TRUE(containsLine(trimmed(capture.lines()), "Constructing rack distribution guess (known played '"));
  EXPECT_FALSE(game.guessRackDistribution);
  EXPECT_EQ(game.toMove, 1);
}

// A move no rack would have chosen: no leave explains it, the list stays
// empty, and the simulation falls back to random racks without a word.
TEST_F(TileInference, NoExplainingLeaveLeavesTheListEmpty) {
  // The same four tiles laid where they score far less than elsewhere:
  // whatever the opponent kept, the better place was there too.
  Game game = afterOpponentMove("AHOOOSY", "AEIKSTU", 4, worseOfTheSameTiles, 20);
  ASSERT_FALSE(isNonPlacement(opponentMove));
  EXPECT_EQ(GuessOpponentRack(game, 2), 0);
  EXPECT_EQ(KnownRackCount(game), 0);

  game.quiet = false;
  game.guessRackDistribution = true;
  game.strategies[0] = game.strategies[1] = 2;
  test::PaneCapture capture;
  SimulateThreaded(game, 2, 0, 0.1);
  const std::vector<std::string> lines = trimmed(capture.lines());
  EXPECT_TRUE(containsLine(lines, "Constructing rack distribution guess"));
  EXPECT_FALSE(containsLine(lines, "Using known tile"));
  EXPECT_FALSE(containsLine(lines, "likely than chance"));
}

// All seven tiles laid: nothing kept, nothing to guess.
TEST_F(TileInference, ABingoGivesNoGuess) {
  setProgramSeed(5);
  Game game;
  startGame(game, 2, test::fixtureWords());
  game.historyEnabled = false;
  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  ASSERT_EQ(addLetters(game.racks[0], "ABAXIAL", &game.bag), 7);
  drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
  prepareBoard(game);
  GenerateMoves(game, Generation::fullList);
  ASSERT_FALSE(game.moves.empty());
  ASSERT_EQ(game.moves.front().wordView(), "abaxial");
  PlayMove(game, game.moves.front());

  const OpponentMove last = opponentLastMove(game);
  EXPECT_EQ(last.played.total(), 7);
  EXPECT_EQ(chooseGuess(game, last), GuessChoice::bingo);
  EXPECT_FALSE(guessAppliesToLookahead(game));
  test::PaneCapture capture;
  EXPECT_EQ(GuessOpponentRack(game, 2), 0);
  const std::vector<std::string> lines = trimmed(capture.lines());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Can't guess leave distribution -- last move was a bingo!");
}

TEST_F(TileInference, TheFirstTurnGivesNoGuess) {
  setProgramSeed(6);
  Game game;
  startGame(game, 2, test::fixtureWords());
  const OpponentMove last = opponentLastMove(game);
  EXPECT_FALSE(last.known);
  EXPECT_EQ(chooseGuess(game, last), GuessChoice::firstTurn);
  test::PaneCapture capture;
  EXPECT_EQ(GuessOpponentRack(game, 1), 0);
  const std::vector<std::string> lines = trimmed(capture.lines());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Can't guess leave distribution -- first turn of game!");

  // A position without a record of its last move: no guess either.
  game.moveNumber = 5;
  test::PaneCapture later;
  EXPECT_EQ(GuessOpponentRack(game, 1), 0);
  ASSERT_EQ(later.lines().size(), 1u);
  EXPECT_EQ(trimmed(later.lines())[0], "No tile guess.");
}

// Four tiles kept: the records a guess would need are not kept, so none;
// typed known tiles still make the list.
TEST_F(TileInference, FourKeptTilesGiveNoGuessButKnownTilesStand) {
  Game game = afterOpponentMove("DEGLNOR", "AEIKSTU", 3, [](const Game&, const std::vector<Move>& moves) { return moves.front(); }, 11);
  ASSERT_TRUE(SetTypedKnownTiles(game, "Q?"));
  game.quiet = false;
  test::PaneCapture capture;
  EXPECT_EQ(GuessOpponentRack(game, 1), 1);
  EXPECT_TRUE(containsLine(capture.lines(), "No tile guess."));
  ASSERT_EQ(KnownRackCount(game), 1);
  EXPECT_EQ(game.knownRacks.front(), rackOf("Q?"));
  EXPECT_FALSE(guessAppliesToLookahead(game));
}

// The random construction (kept sizes other than 1 to 3), called directly:
// every listed leave has the kept size, comes from the pool and explains
// the move.
TEST_F(TileInference, RandomLeavesExplainTheMove) {
  Game game = afterOpponentMove("DEGLNOR", "AEIKSTU", 3, [](const Game&, const std::vector<Move>& moves) { return moves.front(); }, 11);
  const OpponentMove last = opponentLastMove(game);
  ASSERT_EQ(keptTiles(last), 4);
  ConstructLeaveGuess(game, last, 4, 2, GuessBudget{400, 100});
  ASSERT_GT(KnownRackCount(game), 0);
  Game prior = game;
  prior.knownRacks.clear();
  const LetterCounts pool = setUpPositionBefore(prior, last);
  const std::map<RackKey, int> listed = countsOf(game.knownRacks);
  int checked = 0;
  for (const auto& [tiles, count] : listed) {
    Rack leave;
    leave.counts = tiles;
    EXPECT_EQ(leave.total(), 4);
    for (int code = 0; code < kCodeSlots; ++code) EXPECT_LE(leave[code], pool[code]);
    if (checked++ < 40) {
      EXPECT_TRUE(leaveExplainsMove(prior, pool, last, leave)) << tilesDisplayText(leave);
    }
  }
}

// A pass: each listed rack is a whole rack from the pool whose own list
// has "(Pass)" among its first ten moves (checked again here, rack by
// rack). The pass ended the game with the opponent well ahead, which makes
// passing the first choice of most racks; without leave values (the
// fixture list has none) other passes are rare.
TEST_F(TileInference, APassListsRacksThatWouldPass) {
  Game game = test::gameWithCatAtCentre(12);
  game.historyEnabled = false;
  game.quiet = false;
  ASSERT_EQ(addLetters(game.racks[0], "AEIKSTU", &game.bag), 7);
  drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
  game.random.seed(12);
  game.toMove = 1;
  game.scores = {100, 200};
  game.scorelessTurns = scorelessLimits(game).scoreless - 1;
  prepareBoard(game);
  Pass(game);
  EXPECT_TRUE(game.gameOver);
  ASSERT_EQ(game.toMove, 0);
  const OpponentMove last = opponentLastMove(game);
  EXPECT_TRUE(last.pass);
  EXPECT_EQ(chooseGuess(game, last), GuessChoice::pass);
  EXPECT_FALSE(guessAppliesToLookahead(game));

  test::PaneCapture capture;
  const int listed = GuessOpponentRack(game, 2, GuessBudget{300, 1000});
  EXPECT_EQ(listed, KnownRackCount(game));
  EXPECT_TRUE(containsLine(trimmed(capture.lines()), "Constructing rack distribution guess (known opponent pass)"));
  ASSERT_GT(listed, 0);
  Game prior = game;
  prior.knownRacks.clear();
  const LetterCounts pool = setUpPositionBefore(prior, last);
  int checked = 0;
  for (const auto& [tiles, count] : countsOf(game.knownRacks)) {
    Rack rack;
    rack.counts = tiles;
    ASSERT_EQ(rack.total(), rules().rackSize);
    for (int code = 0; code < kCodeSlots; ++code) ASSERT_LE(rack[code], pool[code]);
    if (checked++ >= 20) continue;
    prior.racks[static_cast<std::size_t>(prior.toMove)] = rack;
    prior.bag = pool;
    for (int slot = 0; slot <= kTotalSlot; ++slot) prior.bag.counts[static_cast<std::size_t>(slot)] -= rack.counts[static_cast<std::size_t>(slot)];
    GenerateMoves(prior, Generation::fullList);
    const auto tenth = prior.moves.begin() + std::min<std::ptrdiff_t>(10, static_cast<std::ptrdiff_t>(prior.moves.size()));
    EXPECT_TRUE(std::any_of(prior.moves.begin(), tenth, [](const Move& m) { return isPass(m); })) << tilesDisplayText(rack);
  }
}

// The summary of a made-up list against a full bag: the chance that two
// tiles hold a letter is counted over every pair of tiles.
TEST_F(TileInference, SummaryLinesCompareTheListWithChance) {
  setProgramSeed(7);
  Game game;
  startGame(game, 2, test::fixtureWords());
  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  for (const char* rack : {"AB", "AC", "AE", "AE", "E?"}) AddKnownRack(game, rackOf(rack));
  const GuessSummary summary = SummarizeGuess(game);

  std::vector<int> tiles;
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int n = 0; n < game.bag[code]; ++n) tiles.push_back(code);
  }
  std::array<long long, kCodeSlots> holding{};
  long long pairs = 0;
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    for (std::size_t j = i + 1; j < tiles.size(); ++j) {
      ++pairs;
      for (int code = 0; code < kCodeSlots; ++code) {
        if (tiles[i] == code || tiles[j] == code) ++holding[static_cast<std::size_t>(code)];
      }
    }
  }
  std::string more, less, significantly, much;
  std::vector<std::pair<double, std::string>> ranked;
  ASSERT_EQ(summary.letters.size(), 27u);
  for (const LetterLikelihood& letter : summary.letters) {
    const double chance = static_cast<double>(holding[static_cast<std::size_t>(letter.code)]) / static_cast<double>(pairs);
    EXPECT_NEAR(letter.chance, chance, 1e-12) << letter.code;
    const Rack one = [&] {
      Rack r;
      r[letter.code] = 1;
      r[kTotalSlot] = 1;
      return r;
    }();
    int holdingRacks = 0;
    for (const Rack& rack : game.knownRacks) holdingRacks += rack[letter.code] > 0 ? 1 : 0;
    const double guessed = holdingRacks / 5.0;
    EXPECT_DOUBLE_EQ(letter.guessed, guessed);
    const std::string tile = tilesDisplayText(one);
    const double r = guessed / chance * 100 - 100;
    if (r >= 25) significantly += tile;
    if (guessed > chance) more += tile;
    if (guessed < chance) less += tile;
    if (r <= -75) much += tile;
    ranked.emplace_back(r, tile);
  }
  EXPECT_EQ(summary.more, "ABCE?");
  EXPECT_EQ(summary.significantlyMore, significantly);
  EXPECT_EQ(summary.less, less);
  EXPECT_EQ(summary.muchLess, much);
  EXPECT_EQ(less.size(), 22u);
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::string order;
  for (const auto& entry : ranked) order += entry.second;
  EXPECT_EQ(summary.ranked, order);

  test::PaneCapture capture;
  PrintGuessSummary(game);
  const std::vector<std::string> lines = trimmed(capture.lines());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "Significantly more likely than chance: " + significantly);
  EXPECT_EQ(lines[1], "More likely than chance: ABCE?");
  EXPECT_EQ(lines[2], "Less likely than chance: " + less);
  EXPECT_EQ(lines[3], "Much less likely than chance: " + much);
  EXPECT_EQ(lines[4], "Most likely to least likely: " + order);

  // Nothing listed, nothing said.
  ClearKnownRacks(game);
  test::PaneCapture none;
  PrintGuessSummary(game);
  EXPECT_TRUE(none.lines().empty());
}

// Known tiles: a one-rack list; merged into a guess, every rack holds them.
TEST_F(TileInference, TypedKnownTilesMakeAndJoinTheList) {
  Game game = test::gameWithCatAtCentre(8);
  EXPECT_FALSE(SetTypedKnownTiles(game, "QQQQQQQQ"));  // more than a rack
  EXPECT_FALSE(SetTypedKnownTiles(game, "Q1"));        // no tile of English
  EXPECT_TRUE(game.typedKnownTiles.empty());
  ASSERT_TRUE(SetTypedKnownTiles(game, "ZE"));
  UseTypedKnownTiles(game);
  EXPECT_TRUE(game.useKnownTiles);
  ASSERT_EQ(KnownRackCount(game), 1);
  EXPECT_EQ(game.knownRacks.front(), rackOf("EZ"));

  ClearKnownRacks(game);
  AddKnownRack(game, rackOf("ABE"), 3);
  AddKnownRack(game, rackOf("XYZ"));
  AddKnownRack(game, rackOf("DEEFGHI"));
  AddKnownRack(game, rackOf("Q"), 0);
  EXPECT_EQ(KnownRackCount(game), 5);
  MergeTypedKnownTiles(game);
  // ABE gains Z, XYZ gains E; DEEFGHI with Z would be eight tiles.
  const std::map<RackKey, int> merged = countsOf(game.knownRacks);
  const std::map<RackKey, int> expected = {{rackOf("ABEZ").counts, 3}, {rackOf("EXYZ").counts, 1}};
  EXPECT_EQ(merged, expected);

  ASSERT_TRUE(SetTypedKnownTiles(game, ""));
  UseTypedKnownTiles(game);
  EXPECT_FALSE(game.useKnownTiles);
  EXPECT_EQ(KnownRackCount(game), 0);
}

// Spanish: CH, LL, RR and Ñ typed in their written forms come back in the
// same forms, and name the same tiles.
TEST_F(TileInference, SpanishKnownTilesRoundTrip) {
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  const int type = findGameType("Scrabble(R) - Spanish");
  ASSERT_GE(type, 0);
  ASSERT_TRUE(activateGameType(kKindDefined, type));
  setWordListAlphabet(kAlphabetSpanish);
  const std::string typed = "(CH)(LL)\xD1(RR)A?";
  const RackText converted = convertRackText(typed);
  ASSERT_EQ(converted.error, RackTextError::none);
  ASSERT_EQ(converted.tiles.size(), 6u);
  Game game;
  ASSERT_TRUE(SetTypedKnownTiles(game, converted.tiles));
  const Rack rack = typedKnownRack(game);
  EXPECT_EQ(rack.total(), 6);
  EXPECT_EQ(rack[codeOfTile('1')], 1);
  EXPECT_EQ(rack[codeOfTile('2')], 1);
  EXPECT_EQ(rack[codeOfTile('3')], 1);
  EXPECT_EQ(rack[rules().blankCode], 1);
  const std::string shown = tilesDisplayText(rack);
  EXPECT_EQ(shown, "A(RR)(LL)\xD1(CH)?");  // in code order, as racks are shown
  const RackText again = convertRackText(shown);
  ASSERT_EQ(again.error, RackTextError::none);
  Rack back;
  addLetters(back, again.tiles, nullptr);
  EXPECT_EQ(back, rack);
  UseTypedKnownTiles(game);
  ASSERT_EQ(KnownRackCount(game), 1);
  EXPECT_EQ(game.knownRacks.front(), rack);
}

}  // namespace
}  // namespace pexil
