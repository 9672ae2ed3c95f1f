// Whole games of the computer against itself: a thousand seeded games with
// the static strategies mixed finish, keep every tile accounted for after
// every move, score exactly what their moves and the end of the game give,
// and the same seed plays the same games.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "state/game.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

std::shared_ptr<Lexicon> words() { return test::fixtureWords(); }

constexpr std::array<int, 3> kStrategies = {1, 2, 11};

// An 11 x 11 board with a double-word start square and a few letter and
// word bonuses, and a set of 54 tiles (about half the standard set): a
// whole game takes about a third of the time of a standard one.
std::string smallGameDefinitions() {
  std::string text =
      "Game \"Small board\"\nnumplayers 1 4\ndefaultwordlist \"ENGLISH.LST\"\n"
      "boardsize 11 11\nstartsquare 5 5\n"
      "bonus none . B4D4DC\nbonus 2ls : 00B6FC\nbonus 3ls $ 0000FF\nbonus 2ws * FC98D4\nbonus 3ws # FF0000\n"
      "board\n"
      "#...:.:...#\n"
      ".*...$...*.\n"
      "..*.....*..\n"
      ":..*...*..:\n"
      "....:.:....\n"
      ".$...*...$.\n"
      "....:.:....\n"
      ":..*...*..:\n"
      "..*.....*..\n"
      ".*...$...*.\n"
      "#...:.:...#\n"
      "racksize 7\nbingobonus 50\nmintilesexchange 7\n";
  const char* tiles[] = {"a 5 1", "b 1 3", "c 1 3", "d 2 2", "e 6 1", "f 1 4", "g 2 2", "h 1 4", "i 5 1",
                         "j 1 8", "k 1 5", "l 2 1", "m 1 3", "n 3 1", "o 4 1", "p 1 3", "q 1 10", "r 3 1",
                         "s 2 1", "t 3 1", "u 2 1", "v 1 4", "w 1 4", "x 1 8", "y 1 4", "z 1 10", "? 1 0"};
  for (const char* t : tiles) text += std::string("tile ") + t + " -1\n";
  return text + "GameEnd\n";
}

// One finished game, as far as the comparisons go.
struct Record {
  std::array<int, 2> scores{};
  std::vector<std::string> moves;
  bool operator==(const Record&) const = default;
};

class SelfPlay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    undoStack().clear();
    quiet_ = textPane().Quiet();
    textPane().SetQuiet(true);  // the move lines of a thousand games
    SetAfterMoveHook([this](Game& g) {
      ++movesChecked_;
      if (!tilesConserved(g)) ++notConserved_;
      // While the bag holds tiles every rack is full after a move.
      for (int p = 0; p < g.playerCount; ++p) {
        if (g.bag.total() > 0 && g.racks[static_cast<std::size_t>(p)].total() != rules().rackSize) ++shortRacks_;
      }
    });
  }
  void TearDown() override {
    SetAfterMoveHook(nullptr);
    textPane().SetQuiet(quiet_);
  }

  // Plays games [first, first + count) of the series, each from its own
  // seed, and checks each one as it ends.
  std::vector<Record> play(int first, int count) {
    std::vector<Record> records;
    // One seed for the series (seeding draws the shared sequence again,
    // which takes longer than a game); each game's generator is derived
    // from it in turn.
    setProgramSeed(5000u + static_cast<std::uint32_t>(first));
    for (int g = first; g < first + count; ++g) {
      Game game;
      NewGame(game, 2, words());
      game.historyEnabled = false;  // no undo snapshots in self-play
      game.strategies[0] = kStrategies[static_cast<std::size_t>(g) % 3];
      game.strategies[1] = kStrategies[static_cast<std::size_t>(g / 3) % 3];
      Autoplay(game);
      checkFinished(game, g);
      Record record;
      record.scores = {game.scores[0], game.scores[1]};
      for (const HistoryEntry& e : game.history) {
        const Move& m = e.move.move();
        record.moves.push_back(std::string(m.wordView()) + " " + std::to_string(m.column) + "," +
                               std::to_string(m.row) + "," + std::to_string(m.direction) + " " +
                               std::to_string(m.score) + " " + std::string(m.leaveView()));
      }
      records.push_back(std::move(record));
    }
    return records;
  }

  void checkFinished(const Game& game, int g) {
    SCOPED_TRACE("game " + std::to_string(g));
    ASSERT_TRUE(game.gameOver);
    EXPECT_TRUE(tilesConserved(game));
    ASSERT_EQ(static_cast<int>(game.history.size()), game.moveNumber);
    // Over by going out (the bag empty and a rack empty) or by six
    // scoreless turns or passes.
    const bool wentOut = game.bag.total() == 0 && (game.racks[0].total() == 0 || game.racks[1].total() == 0);
    EXPECT_TRUE(wentOut || game.scorelessTurns >= 6 || game.consecutivePasses >= 6);
    // Every point comes from a move or from the racks left at the end.
    std::array<int, 2> fromMoves{};
    for (std::size_t i = 0; i < game.history.size(); ++i) fromMoves[i % 2] += game.history[i].move.move().score;
    EXPECT_EQ(game.scores[0], fromMoves[0] + 2 * rackValue(game.racks[1]));
    EXPECT_EQ(game.scores[1], fromMoves[1] + 2 * rackValue(game.racks[0]));
    // The scores recorded after the last move are the final ones.
    EXPECT_EQ(game.history.back().scoresAfter[0], game.scores[0]);
    EXPECT_EQ(game.history.back().scoresAfter[1], game.scores[1]);
  }

  test::StateGuard guard_;
  bool quiet_ = false;
  long movesChecked_ = 0;
  long notConserved_ = 0;
  long shortRacks_ = 0;
};

// A thousand games on the small board, in four parts that CTest can run
// side by side (about 0.6 s each in a release build).
constexpr int kGames = 1000;
constexpr int kParts = 4;

class SelfPlaySeries : public SelfPlay, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    SelfPlay::SetUp();
    for (const std::string& line : test::readDefinitionsText(smallGameDefinitions())) ADD_FAILURE() << line;
    ASSERT_EQ(gameTypeCount(), 1);
    ASSERT_TRUE(activateGameType(kKindDefined, 0));
    ASSERT_EQ(rules().width, 11);
    ASSERT_EQ(rules().tileTotal, 54);
  }
  void TearDown() override {
    SelfPlay::TearDown();
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  }
};

TEST_P(SelfPlaySeries, EveryGameEndsWithEveryTileAccountedFor) {
  const int part = GetParam();
  const int count = kGames / kParts;
  const auto records = play(part * count, count);
  ASSERT_EQ(static_cast<int>(records.size()), count);
  EXPECT_EQ(notConserved_, 0);
  EXPECT_EQ(shortRacks_, 0);
  // A dozen moves or more a game; the hook saw every one.
  long moves = 0;
  for (const Record& r : records) moves += static_cast<long>(r.moves.size());
  EXPECT_EQ(movesChecked_, moves);
  EXPECT_GT(moves, 10L * count);
}

INSTANTIATE_TEST_SUITE_P(Parts, SelfPlaySeries, ::testing::Range(0, kParts));

// Standard games, checked the same way.
TEST_F(SelfPlay, StandardGamesEndWithEveryTileAccountedFor) {
  const auto records = play(2000, 60);
  EXPECT_EQ(notConserved_, 0);
  EXPECT_EQ(shortRacks_, 0);
  long moves = 0;
  for (const Record& r : records) moves += static_cast<long>(r.moves.size());
  EXPECT_EQ(movesChecked_, moves);
  EXPECT_GT(moves, 15L * 60);
}

TEST_F(SelfPlay, TheSameSeedsPlayTheSameGames) {
  const auto first = play(0, 30);
  const auto again = play(0, 30);
  ASSERT_EQ(first.size(), again.size());
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], again[i]) << "game " << i;
  // And other seeds play other games.
  const auto other = play(30, 30);
  int same = 0;
  for (std::size_t i = 0; i < first.size(); ++i) same += first[i] == other[i] ? 1 : 0;
  EXPECT_EQ(same, 0);
}

TEST_F(SelfPlay, AGameContinuesTheSameAfterResetFromTheSameSeed) {
  // Autoplay resets the game it is given: two games in a row from one seed
  // are the same series as from a fresh start.
  auto series = [&] {
    setProgramSeed(99u);
    Game game;
    NewGame(game, 2, words());
    game.historyEnabled = false;
    game.strategies[0] = game.strategies[1] = 2;
    std::vector<std::array<int, 2>> scores;
    for (int i = 0; i < 3; ++i) {
      Autoplay(game);
      scores.push_back({game.scores[0], game.scores[1]});
    }
    return scores;
  };
  const auto a = series();
  EXPECT_EQ(a, series());
  EXPECT_NE(a[0], a[1]);
}

}  // namespace
}  // namespace pexil
