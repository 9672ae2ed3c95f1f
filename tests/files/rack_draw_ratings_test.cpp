// Rack-draw ratings: the percentile of a real draw among random redraws,
// and the report over a whole game, in English and in Spanish (whose
// double tiles are written out), for games played here and for the same
// games read back from their records.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "files/rack_draw_ratings.hpp"
#include "gcg_test_support.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "state/game.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

Rack rackOf(const std::string& text) {
  Rack rack;
  addLetters(rack, text, nullptr);
  return rack;
}

// The tiles of a text as the report writes them, double tiles as one.
std::multiset<std::string> tilesOf(const std::string& text, bool spanish) {
  std::multiset<std::string> tiles;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string two = text.substr(i, 2);
    if (spanish && (two == "CH" || two == "LL" || two == "RR")) {
      tiles.insert(two);
      ++i;
    } else {
      tiles.insert(text.substr(i, 1));
    }
  }
  return tiles;
}

class RackDrawRatings : public ::testing::Test {
 protected:
  void SetUp() override {
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    textPane().SetQuiet(true);
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    activateGameType(kKindStandard);
  }

  // A position after the first move: CAT across the centre, player 0's
  // rack back in the bag.
  Game afterOpening() {
    Game game = test::gameWithCatAtCentre(21);
    drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
    game.scores[0] = 10;
    game.toMove = 1;
    prepareBoard(game);
    return game;
  }

  // Plays a game with the highest-scoring strategy for both players, with
  // a pass by each player after the third move.
  Game playedGame(const std::shared_ptr<Lexicon>& lexicon) {
    setProgramSeed(5);
    Game game;
    undoStack().clear();
    NewGame(game, 2, lexicon);
    game.strategies[0] = game.strategies[1] = 1;
    SetPlayerName(game, 1, "Ana");
    for (int turn = 0; turn < 60 && !game.gameOver; ++turn) {
      if (turn == 3 || turn == 4) {
        Pass(game);
      } else {
        PlayStrategyTurn(game);
      }
    }
    return game;
  }

  // Every rating is a percentile of a known draw, the kept tiles are on
  // the new rack, and passes (which draw nothing) rate 50.
  void checkRatings(const Game& game, const std::vector<RackDrawRating>& ratings, bool spanish) {
    ASSERT_EQ(ratings.size(), game.history.size());
    for (std::size_t i = 0; i < ratings.size(); ++i) {
      const RackDrawRating& r = ratings[i];
      EXPECT_EQ(r.entry, static_cast<int>(i + 1));
      EXPECT_EQ(r.player, static_cast<int>(i % 2));
      EXPECT_GE(r.rating, 0.0);
      EXPECT_LE(r.rating, 100.0);
      const std::multiset<std::string> kept = tilesOf(r.leave, spanish), rack = tilesOf(r.newRack, spanish);
      EXPECT_TRUE(std::includes(rack.begin(), rack.end(), kept.begin(), kept.end())) << r.leave << " / " << r.newRack;
      if (isPass(game.history[i].move.move())) {
        EXPECT_EQ(r.rating, 50.0);
        EXPECT_EQ(r.leave, r.newRack);
      }
    }
  }

  test::StateGuard guard;
  test::TempFolder folder;
};

TEST_F(RackDrawRatings, GoodAndBadDrawsAndDrawsThatCannotBe) {
  const Game game = afterOpening();
  GameRandom random;
  random.seed(1);
  const double good = RateRackDraw(game, 1, Rack{}, rackOf("ACEIQUZ"), 200, random);
  const double bad = RateRackDraw(game, 1, Rack{}, rackOf("UUUUVVW"), 200, random);
  EXPECT_GE(good, 80.0);
  EXPECT_LE(bad, 10.0);
  // The kept tiles count as kept: only the drawn ones are redrawn.
  const double kept = RateRackDraw(game, 1, rackOf("UUUUVV"), rackOf("UUUUVVW"), 200, random);
  EXPECT_GT(kept, bad);
  // Nothing drawn: not rated, 50.
  EXPECT_EQ(RateRackDraw(game, 1, rackOf("ABC"), rackOf("ABC"), 200, random), 50.0);
  // A new rack without the kept tiles, or a draw of tiles that are not to
  // be had (a single Z is in the set), cannot be rated.
  EXPECT_LT(RateRackDraw(game, 1, rackOf("AB"), rackOf("ACDEFGH"), 200, random), 0.0);
  EXPECT_LT(RateRackDraw(game, 1, Rack{}, rackOf("ZZ"), 200, random), 0.0);
  // The set's two C: one is on the board, one kept.
  EXPECT_LT(RateRackDraw(game, 1, rackOf("C"), rackOf("CCC"), 200, random), 0.0);
}

TEST_F(RackDrawRatings, RepeatableProgressReportedAndTheGameLeftAlone) {
  const Game game = afterOpening();
  const Game copy = game;
  test::PaneCapture capture;
  textPane().SetQuiet(false);
  GameRandom first, second;
  first.seed(7);
  second.seed(7);
  const double a = RateRackDraw(game, 1, rackOf("E"), rackOf("EINRST?"), 1000, first);
  const double b = RateRackDraw(game, 1, rackOf("E"), rackOf("EINRST?"), 1000, second);
  textPane().SetQuiet(true);
  EXPECT_EQ(a, b);
  std::vector<std::string> progress;
  for (const std::string& line : capture.lines()) {
    if (line.find("...") != std::string::npos) progress.push_back(line);
  }
  EXPECT_EQ(progress, (std::vector<std::string>{"500...", "1000...", "500...", "1000..."}));
  EXPECT_EQ(game.bag, copy.bag);
  EXPECT_EQ(game.racks, copy.racks);
  EXPECT_EQ(game.toMove, copy.toMove);
  for (std::size_t s = 0; s < game.board.squares.size(); ++s) EXPECT_EQ(game.board.squares[s].letter, copy.board.squares[s].letter);
}

TEST_F(RackDrawRatings, EveryDrawOfAnEnglishGameAndOfItsRecord) {
  const Game played = playedGame(test::fixtureWords());
  ASSERT_GE(played.history.size(), 12u);
  RackDrawOptions options;
  options.redraws = 20;
  options.seed = 3;
  const std::vector<RackDrawRating> ratings = RateRackDraws(played, options);
  checkRatings(played, ratings, false);
  // The same seed gives the same ratings; another seed gives others.
  const std::vector<RackDrawRating> again = RateRackDraws(played, options);
  options.seed = 4;
  const std::vector<RackDrawRating> other = RateRackDraws(played, options);
  ASSERT_EQ(again.size(), ratings.size());
  ASSERT_EQ(other.size(), ratings.size());
  bool differs = false;
  for (std::size_t i = 0; i < ratings.size(); ++i) {
    EXPECT_EQ(again[i].rating, ratings[i].rating);
    differs = differs || other[i].rating != ratings[i].rating;
  }
  EXPECT_TRUE(differs);
  // One player's draws alone, rated as among everyone's.
  options.seed = 3;
  options.onlyPlayer = 1;
  const std::vector<RackDrawRating> second = RateRackDraws(played, options);
  ASSERT_EQ(second.size(), ratings.size() / 2);
  for (const RackDrawRating& r : second) {
    EXPECT_EQ(r.player, 1);
    EXPECT_EQ(r.rating, ratings[static_cast<std::size_t>(r.entry - 1)].rating);
  }
  options.onlyPlayer = -1;

  // The record holds every rack the ratings need.
  ASSERT_TRUE(WriteGcg(played, folder.path("english.gcg")));
  Game read;
  GcgReadOptions readOptions;
  readOptions.lexicon = test::fixtureWords();
  ReadGcg(read, folder.path("english.gcg"), readOptions);
  options.seed = 3;
  const std::vector<RackDrawRating> fromRecord = RateRackDraws(read, options);
  ASSERT_EQ(fromRecord.size(), ratings.size());
  for (std::size_t i = 0; i < ratings.size(); ++i) {
    EXPECT_EQ(fromRecord[i].leave, ratings[i].leave) << i;
    EXPECT_EQ(fromRecord[i].newRack, ratings[i].newRack) << i;
    EXPECT_EQ(fromRecord[i].rating, ratings[i].rating) << i;
  }
}

TEST_F(RackDrawRatings, SpanishDoubleTilesAreWrittenOut) {
  // Every string of two or three of these letters is a word, and of four
  // of the commoner ones, with the probe words that make the list Spanish;
  // CH, LL and RR are the tiles 1, 2 and 3. Pairs that a record would read
  // as a double tile (C H, L L, R R) are left out.
  const std::string letters = "abcdefghijlmnopqrstuvxyz123\xF1";
  const std::vector<std::string> banned = {"ch", "ll", "rr", "l2", "2l", "r3", "3r"};
  auto allowed = [&](char a, char b) { return std::find(banned.begin(), banned.end(), std::string{a, b}) == banned.end(); };
  std::string list = test::languageList(letters, "abo2an\nabolaga\naboga\nacervado\n", banned);
  const std::string common = "aeiounrstl123";
  for (char a : common) {
    for (char b : common) {
      for (char c : common) {
        for (char d : common) {
          if (allowed(a, b) && allowed(b, c) && allowed(c, d)) list += {a, b, c, d, '\n'};
        }
      }
    }
  }
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Spanish")));
  auto lexicon = std::make_shared<Lexicon>();
  lexicon->loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(*lexicon, folder.write("spanish_test.lst", list)));
  ASSERT_EQ(lexicon->alphabet(), kAlphabetSpanish);
  const Game played = playedGame(lexicon);
  ASSERT_GE(played.history.size(), 12u);
  RackDrawOptions options;
  options.redraws = 20;
  options.seed = 9;
  const std::vector<RackDrawRating> ratings = RateRackDraws(played, options);
  checkRatings(played, ratings, true);
  std::string all;
  for (const RackDrawRating& r : ratings) all += r.newRack + " ";
  EXPECT_TRUE(all.find("CH") != std::string::npos || all.find("LL") != std::string::npos ||
              all.find("RR") != std::string::npos)
      << all;
  EXPECT_EQ(all.find_first_of("123"), std::string::npos) << all;

  ASSERT_TRUE(WriteGcg(played, folder.path("spanish.gcg")));
  Game read;
  GcgReadOptions readOptions;
  readOptions.lexicon = lexicon;
  ReadGcg(read, folder.path("spanish.gcg"), readOptions);
  const std::vector<RackDrawRating> fromRecord = RateRackDraws(read, options);
  ASSERT_EQ(fromRecord.size(), ratings.size());
  for (std::size_t i = 0; i < ratings.size(); ++i) {
    EXPECT_EQ(fromRecord[i].newRack, ratings[i].newRack) << i;
    EXPECT_EQ(fromRecord[i].rating, ratings[i].rating) << i;
  }
}

TEST_F(RackDrawRatings, TheReport) {
  setProgramSeed(1);
  Game game;
  startGame(game, 2, test::fixtureWords());
  SetPlayerName(game, 0, "Ann");
  const std::vector<RackDrawRating> ratings = {
      {1, 0, "AE", "AEINRST", 75.0}, {2, 1, "", "CHLLRR?", 12.5}, {3, 0, "Q", "QUIZ", 50.0}};
  const std::vector<std::string> lines = RackDrawReportLines(game, ratings);
  const std::vector<std::string> expected = {
      "Move\tPlayer\tLeave\tNew Rack\tPercentile rating",
      "1\tAnn\tAE\tAEINRST  \t75.0%",
      "2\tPlayer 2\t\tCHLLRR?  \t12.5%",
      "3\tAnn\tQ\tQUIZ  \t50.0%",
      "Ann average rack draw percentile: 62.5% (2 moves)",
      "Player 2 average rack draw percentile: 12.5% (1 moves)",
  };
  EXPECT_EQ(lines, expected);
  // Nobody rated: the heading and averages of 50.
  const std::vector<std::string> empty = RackDrawReportLines(game, {});
  EXPECT_EQ(empty, (std::vector<std::string>{"Move\tPlayer\tLeave\tNew Rack\tPercentile rating",
                                             "Ann average rack draw percentile: 50.0% (0 moves)",
                                             "Player 2 average rack draw percentile: 50.0% (0 moves)"}));
}

}  // namespace
}  // namespace pexil
