// The exact endgame solver against a plain minimax over the full
// generator's moves played with PlayMove (every position kept by copying
// the game), on small endgames from seeded self-play in English and
// Spanish: the best value, each exact move value and each upper bound;
// with passes close to ending the game, racks counted once at the end,
// barred words; threads 1 and 2; the time-out and abort paths; positions
// the solver does not take.
#include "search/exact_endgame.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "state/abort_flag.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

// One thread and a small table: the tests' endgames are small.
const ExactEndgameOptions kSmall{1, 0, 4};

// Minimax over GenerateMoves(fullList) and PlayMove, remembering each
// position's value (keyed by everything that decides the rest of the game,
// the scores included).
class Minimax {
 public:
  // The final spread for the player to move after best play by both.
  int value(const Game& game) {
    if (game.gameOver) return game.scores[static_cast<std::size_t>(game.toMove)] - game.scores[static_cast<std::size_t>(1 - game.toMove)];
    const std::string key = keyOf(game);
    if (const auto known = memo_.find(key); known != memo_.end()) return known->second;
    Game work = game;
    GenerateMoves(work, Generation::fullList);
    const std::vector<Move> moves = work.moves;
    int best = INT_MIN;
    for (const Move& move : moves) best = std::max(best, valueOfMove(game, move));
    memo_[key] = best;
    return best;
  }

  // The final spread for the player to move after playing `move`.
  int valueOfMove(const Game& game, const Move& move) {
    Game child = game;
    PlayMove(child, move, false, true);
    return -value(child);
  }

 private:
  static std::string keyOf(const Game& game) {
    std::string key;
    for (const Square& s : game.board.squares) {
      key.push_back(s.letter);
      key.push_back(s.isBlank ? '*' : '.');
    }
    for (int p = 0; p < 2; ++p) key += rackString(game.racks[static_cast<std::size_t>(p)]) + "/";
    key += std::to_string(game.toMove) + "/" + std::to_string(game.consecutivePasses) + "/" +
           std::to_string(game.scorelessTurns) + "/" + std::to_string(game.scores[0]) + "/" + std::to_string(game.scores[1]);
    return key;
  }
  std::map<std::string, int> memo_;
};

// Plays the game from the seed, both sides taking the quick generator's
// move, until the bag is empty and both racks hold at most `tiles` tiles
// with the game still on; false when the game ends first.
bool smallEndgame(Game& game, std::shared_ptr<Lexicon> words, std::uint32_t seed, int tiles) {
  setProgramSeed(seed);
  startGame(game, 2, std::move(words));
  game.historyEnabled = false;
  game.phonyPlay = false;
  prepareBoard(game);
  for (int turn = 0; turn < 200 && !game.gameOver; ++turn) {
    if (game.bag.total() == 0 && game.racks[0].total() <= tiles && game.racks[1].total() <= tiles) return true;
    GenerateMoves(game, Generation::bestOnly);
    PlayMove(game, game.bestMove, false, true);
  }
  return false;
}

class ExactEndgame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    clearAbort();
  }
  void TearDown() override { clearAbort(); }

  // Solves the position and checks it against the minimax: the best value,
  // the exact moves and the bounds. Returns false on a mismatch.
  bool check(const Game& position, const std::string& what) {
    Game game = position;
    const ExactEndgameResult result = ExactEndgameSearch(game, kSmall);
    EXPECT_TRUE(result.ran && result.solved) << what;
    if (!result.ran || !result.solved) return false;
    Minimax minimax;
    const int expected = minimax.value(position);
    EXPECT_EQ(result.value, expected) << what;
    EXPECT_GE(result.exactMoves, 1) << what;
    const std::vector<Move>& list = game.moves;
    EXPECT_FALSE(list.empty()) << what;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const int truth = minimax.valueOfMove(position, list[i]);
      if (static_cast<int>(i) < result.exactMoves) {
        EXPECT_EQ(list[i].equity, truth) << what << ", move " << i << " " << list[i].wordView();
      } else {
        EXPECT_GE(list[i].equity, truth) << what << ", move " << i << " " << list[i].wordView();
      }
      if (i == 0) {
        EXPECT_EQ(list[i].equity, result.value) << what;
      }
    }
    // The value of one move on its own.
    const Move& probe = list[list.size() / 2];
    const ExactEndgameResult alone = ExactMoveValue(position, probe, kSmall);
    EXPECT_TRUE(alone.ran && alone.solved) << what;
    EXPECT_EQ(alone.value, minimax.valueOfMove(position, probe)) << what << ", " << probe.wordView();
    ++checked_;
    return !HasFailure();
  }

  // Small endgames of a word list: as they come, with passes near the end
  // of the game, and with one side's best first word barred.
  void checkSeeds(std::shared_ptr<Lexicon> words, std::uint32_t firstSeed, int count, const char* language) {
    int found = 0;
    for (std::uint32_t seed = firstSeed; found < count && seed < firstSeed + 20 * static_cast<std::uint32_t>(count); ++seed) {
      Game game;
      if (!smallEndgame(game, words, seed, 3)) continue;
      ++found;
      const std::string what = std::string(language) + ", seed " + std::to_string(seed) + ", racks " +
                               rackString(game.racks[0]) + " " + rackString(game.racks[1]) + ", mover " +
                               std::to_string(game.toMove);
      if (!check(game, what)) return;
      // Passes that matter: one or two more end the game.
      const ScorelessLimits limits = scorelessLimits(game);
      for (int left = 1; left <= 2; ++left) {
        Game passing = game;
        passing.consecutivePasses = limits.passes - left;
        passing.scorelessTurns = passing.consecutivePasses;
        if (!check(passing, what + ", passes left " + std::to_string(left))) return;
      }
      // The other end-of-game rule.
      Game single = game;
      single.doubledEndScoring = !single.doubledEndScoring;
      if (!check(single, what + ", rack rule switched")) return;
      // The mover's best word barred.
      GenerateMoves(game, Generation::fullList);
      const Move* first = nullptr;
      for (const Move& move : game.moves) {
        if (!isNonPlacement(move)) {
          first = &move;
          break;
        }
      }
      if (first != nullptr) {
        Game barred = game;
        barred.barredWords = {latin1Lower(first->wordView())};
        barred.restrictedPlayer = barred.toMove;
        prepareBoard(barred);
        if (!check(barred, what + ", " + barred.barredWords.front() + " barred")) return;
      }
    }
    EXPECT_EQ(found, count) << language;
  }

  test::StateGuard guard_;
  int checked_ = 0;
};

TEST_F(ExactEndgame, MatchesMinimaxInEnglish) {
  checkSeeds(test::fixtureWords(), 1000, 8, "English");
  EXPECT_GE(checked_, 8 * 4);
}

TEST_F(ExactEndgame, MatchesMinimaxInSpanish) {
  const std::string list = std::string(PEXIL_RUN_DIR) + "/SPANISH.LST";
  if (!std::ifstream(list)) GTEST_SKIP() << "word lists not built in " << PEXIL_RUN_DIR;
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  const int type = findGameType("Scrabble(R) - Spanish");
  ASSERT_GE(type, 0);
  ASSERT_TRUE(activateGameType(kKindDefined, type));
  auto spanish = std::make_shared<Lexicon>();
  spanish->loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(*spanish, list));
  checkSeeds(spanish, 2000, 4, "Spanish");
  EXPECT_GE(checked_, 4 * 4);
}

// A full endgame (the bag just emptied) for the paths that do not finish.
Game fullEndgame(std::uint32_t seed) {
  setProgramSeed(seed);
  Game game;
  startGame(game, 2, test::fixtureWords());
  game.historyEnabled = false;
  game.phonyPlay = false;
  prepareBoard(game);
  while (!game.gameOver && game.bag.total() > 0) {
    GenerateMoves(game, Generation::bestOnly);
    PlayMove(game, game.bestMove, false, true);
  }
  return game;
}

TEST_F(ExactEndgame, TwoThreadsGiveTheSameValues) {
  int compared = 0;
  for (std::uint32_t seed = 3000; compared < 6 && seed < 3100; ++seed) {
    Game game;
    if (!smallEndgame(game, test::fixtureWords(), seed, 4)) continue;
    Game one = game, two = game;
    const ExactEndgameResult a = ExactEndgameSearch(one, kSmall);
    const ExactEndgameResult b = ExactEndgameSearch(two, ExactEndgameOptions{2, 0, 4});
    ASSERT_TRUE(a.solved && b.solved) << seed;
    EXPECT_EQ(a.value, b.value) << seed;
    EXPECT_EQ(one.moves.front().equity, two.moves.front().equity) << seed;
    EXPECT_EQ(one.moves.size(), two.moves.size()) << seed;
    ++compared;
  }
  EXPECT_EQ(compared, 6);
}

TEST_F(ExactEndgame, StopsOnTheTimeBudgetAndOnAbort) {
  Game game = fullEndgame(41);
  ASSERT_FALSE(game.gameOver);
  ExactEndgameOptions options = kSmall;
  options.timeBudget = 1;  // a hundredth of a second
  const ExactEndgameResult timed = ExactEndgameSearch(game, options);
  EXPECT_TRUE(timed.ran);
  EXPECT_FALSE(timed.solved);
  EXPECT_EQ(timed.exactMoves, 0);
  EXPECT_FALSE(game.moves.empty()) << "the moves come with their values so far";
  EXPECT_LT(timed.seconds, 5.0);

  requestAbort();
  Game aborted = fullEndgame(41);
  const ExactEndgameResult stopped = ExactEndgameSearch(aborted, ExactEndgameOptions{2, 0, 4});
  EXPECT_TRUE(stopped.ran);
  EXPECT_FALSE(stopped.solved);
  EXPECT_FALSE(aborted.moves.empty());
  const ExactEndgameResult alone = ExactMoveValue(aborted, aborted.moves.front(), kSmall);
  EXPECT_FALSE(alone.solved);
  clearAbort();
}

TEST_F(ExactEndgame, RunsOnlyOnTwoPlayerGamesWithAnEmptyBag) {
  Game game = fullEndgame(43);
  ASSERT_FALSE(game.gameOver);
  Game withBag = game;
  withBag.bag[0] = 1;
  withBag.bag[kTotalSlot] = 1;
  EXPECT_FALSE(ExactEndgameSearch(withBag, kSmall).ran);
  Game emptyRack = game;
  returnAll(emptyRack.bag, emptyRack.racks[1]);
  emptyRack.bag = Well{};
  EXPECT_FALSE(ExactEndgameSearch(emptyRack, kSmall).ran);
  Game over = game;
  over.gameOver = true;
  EXPECT_FALSE(ExactEndgameSearch(over, kSmall).ran);
  Game three = game;
  three.playerCount = 3;
  three.moves.assign(3, Move{});
  EXPECT_FALSE(ExactEndgameSearch(three, kSmall).ran);
  EXPECT_EQ(three.moves.size(), 3u) << "the list is left alone";
  // A move that is no play of the mover.
  Move bogus;
  bogus.word = "zzzzz";
  bogus.column = 0;
  bogus.row = 0;
  EXPECT_FALSE(ExactMoveValue(game, bogus, kSmall).ran);
}

}  // namespace
}  // namespace pexil
