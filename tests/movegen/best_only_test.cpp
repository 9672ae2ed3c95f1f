// Best-only generation visits first squares best bound first and stops
// early; the move it picks must still be exactly the one the full sorted
// list ranks first under the same rule, ties included. Checked on thousands
// of seeded positions: every turn of seeded self-play games on four boards,
// planned racks with one and two blanks, short racks with an empty bag,
// barred words, with and without leave values, ranking by score, replies
// inside a simulation, the unseen-pool evaluation and the anagram rule.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/recording.hpp"
#include "movegen/seeded_positions.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "tables/rack_tables.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using namespace test;

std::string describeMove(const Move& m) {
  std::ostringstream out;
  out << m.wordView() << " @(" << m.column << "," << m.row << ") " << (m.direction == kAcross ? "across" : "down")
      << " blanks{";
  for (int b : m.blankPositions) {
    if (b >= 0) out << b << " ";
  }
  out << "} score " << m.score << " equity " << m.equity << " leave '" << m.leaveView() << "'";
  return out.str();
}

bool samePlay(const Move& a, const Move& b) {
  if (isNonPlacement(a) || isNonPlacement(b)) return a.word == b.word && a.leaveView() == b.leaveView();
  return a.wordView() == b.wordView() && a.column == b.column && a.row == b.row && a.direction == b.direction &&
         a.blankPositions == b.blankPositions && a.score == b.score;
}

// The best-only rule: a play that wins by going out beats any other, the
// higher score between two such and the earlier generated on equal scores
// (the first such in the list sorted by score, which keeps generation order
// on ties); else the first placement of `ranked`.
const Move* bestOnlyChoice(const std::vector<Move>& byScore, const std::vector<Move>& ranked) {
  for (const Move& m : byScore) {
    if (!isNonPlacement(m) && m.winsByGoingOut) return &m;
  }
  for (const Move& m : ranked) {
    if (!isNonPlacement(m)) return &m;
  }
  return nullptr;
}

// A leave table with a value for every leave of up to three tiles and for a
// sample of longer ones, seeded, so that leaves weigh in every comparison.
std::string syntheticLeaves(std::uint32_t seed) {
  std::mt19937 random(seed);
  const std::string tiles = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
  std::string text;
  auto value = [&] { return static_cast<int>(random() % 501) - 200; };
  for (std::size_t a = 0; a < tiles.size(); ++a) {
    text += std::string(1, tiles[a]) + " " + std::to_string(value()) + "\n";
    for (std::size_t b = a; b < tiles.size(); ++b) {
      text += std::string{tiles[a], tiles[b]} + " " + std::to_string(value()) + "\n";
      for (std::size_t c = b; c < tiles.size(); c += 3) {
        text += std::string{tiles[a], tiles[b], tiles[c]} + " " + std::to_string(value()) + "\n";
      }
    }
  }
  for (int i = 0; i < 3000; ++i) {
    std::string leave;
    const int n = 4 + static_cast<int>(random() % 3);
    for (int k = 0; k < n; ++k) leave.push_back(tiles[random() % tiles.size()]);
    std::sort(leave.begin(), leave.end());
    text += leave + " " + std::to_string(value()) + "\n";
  }
  return text;
}

struct Counts {
  int positions = 0;
  int failed = 0;
  int twoBlanks = 0;
  int oneBlank = 0;
  int goingOut = 0;
  int nonPlacementFirst = 0;
};

// Every way of asking for the best move, against the full lists.
std::string checkPosition(Game& game, Counts& counts) {
  std::ostringstream problems;
  const int blanks = game.racks[static_cast<std::size_t>(game.toMove)][rules().blankCode];

  // The full lists, by equity and by score; both keep generation order on
  // ties.
  GenerateMoves(game, false);
  const std::vector<Move> byEquity = game.moves;
  game.rankByScore = true;
  GenerateMoves(game, false);
  game.rankByScore = false;
  const std::vector<Move> byScore = game.moves;

  const Move* expected = bestOnlyChoice(byScore, byEquity);
  GenerateMoves(game, true);
  if (expected ? !samePlay(game.bestMove, *expected) || game.bestMove.equity != expected->equity
               : !isPass(game.bestMove)) {
    problems << "  best-only gave " << describeMove(game.bestMove) << "; the list's best is "
             << (expected ? describeMove(*expected) : "the pass") << "\n";
  }
  // The first of the list, without the list.
  GenerateMoves(game, Generation::firstOfList);
  if (!samePlay(game.bestMove, byEquity.front()) || game.bestMove.equity != byEquity.front().equity) {
    problems << "  first of the list gave " << describeMove(game.bestMove) << "; the list has "
             << describeMove(byEquity.front()) << "\n";
  }
  // A reply inside a simulation: the best placement, whatever the pass is worth.
  game.searchMode = SearchMode::simulationReply;
  GenerateMoves(game, true);
  game.searchMode = SearchMode::none;
  if (expected ? !samePlay(game.bestMove, *expected) : !isPass(game.bestMove)) {
    problems << "  a simulated reply gave " << describeMove(game.bestMove) << "; the list's best is "
             << (expected ? describeMove(*expected) : "the pass") << "\n";
  }
  // The highest-scoring play.
  const Move* highest = bestOnlyChoice(byScore, byScore);
  game.highestScoreBest = true;
  GenerateMoves(game, true);
  game.highestScoreBest = false;
  if (highest ? !samePlay(game.bestMove, *highest) : !isPass(game.bestMove)) {
    problems << "  highest-scoring best-only gave " << describeMove(game.bestMove) << "; the list's best is "
             << (highest ? describeMove(*highest) : "the pass") << "\n";
  }

  ++counts.positions;
  if (blanks == 1) ++counts.oneBlank;
  if (blanks >= 2) ++counts.twoBlanks;
  if (expected && expected->winsByGoingOut) ++counts.goingOut;
  if (isNonPlacement(byEquity.front())) ++counts.nonPlacementFirst;
  return problems.str();
}

class BestOnlyBounds : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::readDefinitionsText(definitionsText()).empty());
    ASSERT_GT(sharedWords()->wordCount(), 10000);
  }
  void TearDown() override {
    clearRackTables();
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  }

  void report(Game& game, const std::string& what, std::uint32_t seed) {
    const std::string problems = checkPosition(game, counts_);
    if (problems.empty()) return;
    if (++counts_.failed <= 6) {
      std::ostringstream out;
      out << what << ", seed " << seed << ", rack " << rackString(game.racks[static_cast<std::size_t>(game.toMove)])
          << ", bag " << game.bag.total() << "\n";
      for (const std::string& line : boardTextLines(game.board)) out << line << "\n";
      ADD_FAILURE() << out.str() << problems;
    }
  }

  // Whole games of static self-play, every turn checked before it is played.
  void selfPlay(Variant v, std::uint32_t firstSeed, int games) {
    activate(v);
    if (HasFatalFailure()) return;
    for (int g = 0; g < games; ++g) {
      const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(g);
      setProgramSeed(seed);
      Game game;
      startGame(game, 2, sharedWords());
      game.historyEnabled = false;
      for (int turn = 0; turn < 60 && !game.gameOver; ++turn) {
        report(game, variantName(v), seed);
        GenerateMoves(game, Generation::firstOfList);
        PlayMove(game, game.bestMove);
      }
    }
  }

  // Planned racks: blanks, short racks with the bag emptied, barred words.
  void planned(Variant v, std::uint32_t firstSeed, int count) {
    activate(v);
    if (HasFatalFailure()) return;
    for (int i = 0; i < count; ++i) {
      const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(i);
      RackPlan plan;
      plan.blanks = 1 + i % 2;
      if (i % 4 == 3) {
        plan.size = 1 + static_cast<int>(seed % 6);
        plan.emptyBag = true;
      }
      plan.barred = i % 7 == 3;
      Position pos;
      buildPosition(pos, seed, 20, plan);
      if (HasFatalFailure()) return;
      report(pos.game, variantName(v), seed);
    }
  }

  void TearDownCounts() const {
    std::printf("%d positions (%d with one blank, %d with two, %d with a going-out win, %d led by a pass or an exchange)\n",
                counts_.positions, counts_.oneBlank, counts_.twoBlanks, counts_.goingOut, counts_.nonPlacementFirst);
  }

  test::StateGuard guard_;
  Counts counts_;
};

// Plays of one first square found through the word map settle ties by the
// walk's order: a word before its extensions, rack letters in alphabet
// order, a letter's real tile before the blank standing for it.
TEST(WalkOrder, ComparesPlaysOfOneSquareAsTheWalkFindsThem) {
  test::StateGuard guard;
  activateGameType(kKindStandard);
  auto play = [](const char* word, int blankAt = -1) {
    Move move;
    move.word = word;
    if (blankAt >= 0) move.blankPositions[0] = blankAt;
    return move;
  };
  EXPECT_TRUE(walkOrderBefore(play("CAT"), play("CATS")));
  EXPECT_FALSE(walkOrderBefore(play("CATS"), play("CAT")));
  EXPECT_TRUE(walkOrderBefore(play("CATS"), play("COT")));
  EXPECT_FALSE(walkOrderBefore(play("COT"), play("CATS")));
  EXPECT_TRUE(walkOrderBefore(play("ZA"), play("AB", 0)));  // any real tile before a blank there
  EXPECT_TRUE(walkOrderBefore(play("CAT", 2), play("CAT", 1)));  // the real A comes first at square 1
  EXPECT_FALSE(walkOrderBefore(play("CAT", 1), play("CAT", 2)));
  EXPECT_FALSE(walkOrderBefore(play("CAT", 1), play("CAT", 1)));
  EXPECT_TRUE(walkOrderBefore(play("AB", 0), play("ZA", 0)));
}

TEST_F(BestOnlyBounds, PicksTheListsBestWithoutLeaveValues) {
  selfPlay(Variant::standard, 100, 12);
  selfPlay(Variant::super, 200, 6);
  selfPlay(Variant::holes, 300, 6);
  selfPlay(Variant::lettered, 400, 6);
  planned(Variant::standard, 500, 240);
  planned(Variant::super, 800, 100);
  planned(Variant::holes, 900, 80);
  EXPECT_EQ(counts_.failed, 0) << "positions that disagree (the first six are shown above)";
  TearDownCounts();
  EXPECT_GE(counts_.positions, 1000);
  EXPECT_GE(counts_.twoBlanks, 100);
  EXPECT_GE(counts_.oneBlank, 150);
  EXPECT_GE(counts_.goingOut, 10);
}

TEST_F(BestOnlyBounds, PicksTheListsBestWithLeaveValues) {
  ASSERT_GT(loadLeaveText(syntheticLeaves(17)), 1000u);
  selfPlay(Variant::standard, 1100, 12);
  selfPlay(Variant::super, 1200, 6);
  selfPlay(Variant::lettered, 1300, 6);
  planned(Variant::standard, 1500, 240);
  planned(Variant::lettered, 1800, 80);
  EXPECT_EQ(counts_.failed, 0) << "positions that disagree (the first six are shown above)";
  TearDownCounts();
  EXPECT_GE(counts_.positions, 800);
  EXPECT_GE(counts_.twoBlanks, 60);
  // Leaves worth more than a play make passes and exchanges lead some lists.
  EXPECT_GE(counts_.nonPlacementFirst, 5);
}

// A digraph language: Spanish tiles CH, LL and RR are letters of their
// own, with the shipped list and its leave values.
TEST_F(BestOnlyBounds, PicksTheListsBestInSpanish) {
  const std::string list = std::string(PEXIL_RUN_DIR) + "/SPANISH.LST";
  if (!std::ifstream(list)) GTEST_SKIP() << "word lists not built in " << PEXIL_RUN_DIR;
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  const int type = findGameType("Scrabble(R) - Spanish");
  ASSERT_GE(type, 0);
  ASSERT_TRUE(activateGameType(kKindDefined, type));
  auto spanish = std::make_shared<Lexicon>();
  ASSERT_TRUE(loadWordListWithTables(*spanish, list));
  ASSERT_EQ(spanish->alphabet(), kAlphabetSpanish);
  for (std::uint32_t seed = 60; seed < 64; ++seed) {
    setProgramSeed(seed);
    Game game;
    startGame(game, 2, spanish);
    game.historyEnabled = false;
    for (int turn = 0; turn < 60 && !game.gameOver; ++turn) {
      report(game, "Spanish", seed);
      GenerateMoves(game, Generation::firstOfList);
      PlayMove(game, game.bestMove);
    }
  }
  EXPECT_EQ(counts_.failed, 0) << "positions that disagree (the first six are shown above)";
  EXPECT_GE(counts_.positions, 80);
}

// The unseen-pool evaluation ranks the list after generation, and the
// anagram rule has its own generator: the first of the list is still the
// list's first.
TEST_F(BestOnlyBounds, FirstOfTheListWithThePoolAndTheAnagramRule) {
  ASSERT_GT(loadLeaveText(syntheticLeaves(23)), 1000u);
  for (const bool anagrams : {false, true}) {
    if (anagrams) {
      ASSERT_TRUE(activateGameType(kKindAnagram));
    } else {
      activate(Variant::standard);
    }
    for (std::uint32_t seed = 40; seed < 43; ++seed) {
      setProgramSeed(seed);
      Game game;
      startGame(game, 2, sharedWords());
      game.historyEnabled = false;
      game.unseenPoolEvaluation = !anagrams;
      for (int turn = 0; turn < 40 && !game.gameOver; ++turn) {
        GenerateMoves(game, false);
        const Move front = game.moves.front();
        GenerateMoves(game, Generation::firstOfList);
        EXPECT_TRUE(samePlay(game.bestMove, front) && game.bestMove.equity == front.equity)
            << (anagrams ? "anagram rule" : "pool") << ", seed " << seed << ", turn " << turn << ": "
            << describeMove(game.bestMove) << " against " << describeMove(front);
        ++counts_.positions;
        PlayMove(game, game.bestMove);
      }
    }
  }
  EXPECT_GE(counts_.positions, 100);
}

}  // namespace
}  // namespace pexil
