// The strength tests without a server: the record's notes, the players'
// names, the ARRV figures of a seeded game, and a game played and kept
// when upload is not set up.
#include "tools/strength_test.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "files/rack_draw_ratings.hpp"
#include "movegen/adjustments.hpp"
#include "state/abort_flag.hpp"
#include "test_support.hpp"
#include "text/program_version.hpp"

namespace pexil {
namespace {

TEST(StrengthNotes, BenchmarksArrvAndTheUtcDate) {
  const BenchmarkRates rates = {101.25, 2, 3, 4, 5, 6, 7, 8, 9.06};
  // 2026-12-10 15:04:05 UTC.
  const std::time_t when = 1796915045;
  const std::vector<std::string> notes = StrengthNotes(rates, {3.456, -0.5}, when);
  ASSERT_EQ(notes.size(), 3u);
  EXPECT_EQ(notes[0], "Benchmarks: 101.2/ 2.0/ 3.0/ 4.0/ 5.0/ 6.0/ 7.0/ 8.0/ 9.1");
  EXPECT_EQ(notes[1], "ARRV: +3.46 / -0.50");
  EXPECT_EQ(notes[2], "10Dec2026 15:04:05");
}

TEST(StrengthNotes, WithoutBenchmarksOrWithAZero) {
  EXPECT_EQ(StrengthNotes(std::nullopt, {0, 0}, 0)[0], "No benchmark data available.");
  BenchmarkRates withZero{};
  withZero.fill(5);
  withZero[4] = 0;
  EXPECT_EQ(StrengthNotes(withZero, {0, 0}, 0)[0], "No benchmark data available.");
  EXPECT_EQ(StrengthNotes(std::nullopt, {0, 0}, 0)[2], "01Jan1970 00:00:00");
}

TEST(StrengthNames, VersionSeatAndFlag) {
  EXPECT_EQ(StrengthPlayerName(true, 2), std::string("Pexil ") + kProgramVersion + " xpf 2");
  EXPECT_EQ(StrengthPlayerName(false, 0), std::string("Pexil ") + kProgramVersion + " no xpf 0");
}

class StrengthGames : public ::testing::Test {
 protected:
  void SetUp() override {
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    clearAbort();
    quiet_ = textPane().Quiet();
  }
  void TearDown() override { textPane().SetQuiet(quiet_); }

  test::StateGuard guard;
  test::InFolder inRun{PEXIL_RUN_DIR};
  test::TempFolder folder;
  bool quiet_ = false;
};

TEST_F(StrengthGames, ArrvIsTheMeanRackRatingLessFiftyAndRepeatable) {
  setProgramSeed(4242);
  Game game;
  NewGame(game, 2, test::fixtureWords());
  game.quiet = true;
  for (int turn = 0; turn < 200 && !game.gameOver; ++turn) test::playStaticBestMove(game);
  ASSERT_TRUE(game.gameOver);

  const std::array<double, 2> arrv = ArrvFigures(game, 50, 7);
  EXPECT_EQ(arrv, ArrvFigures(game, 50, 7));
  // Worked out from the ratings themselves.
  RackDrawOptions options;
  options.redraws = 50;
  options.seed = 7;
  std::array<double, 2> sum{};
  std::array<int, 2> count{};
  for (const RackDrawRating& r : RateRackDraws(game, options)) {
    sum[static_cast<std::size_t>(r.player)] += r.rating;
    ++count[static_cast<std::size_t>(r.player)];
  }
  ASSERT_GT(count[0], 0);
  ASSERT_GT(count[1], 0);
  EXPECT_DOUBLE_EQ(arrv[0], sum[0] / count[0] - 50.0);
  EXPECT_DOUBLE_EQ(arrv[1], sum[1] / count[1] - 50.0);
  for (const double a : arrv) {
    EXPECT_GE(a, -50.0);
    EXPECT_LE(a, 50.0);
  }
  // Another seed rates the same draws a little differently.
  EXPECT_NE(arrv, ArrvFigures(game, 50, 8));
}

TEST_F(StrengthGames, WithoutAServerTheRecordIsKeptAndNothingSent) {
  StrengthOptions options;
  options.games = 2;
  options.seed = 99;
  options.gameType = "Scrabble(R) - American English";
  options.recordPath = folder.path("strength.gcg");
  options.playMove = test::playStaticBestMove;
  std::vector<int> flags;
  options.playMove = [&flags](Game& game) {
    flags.push_back(experimentalPlayFlag());
    test::playStaticBestMove(game);
  };
  test::PaneCapture capture;
  const StrengthOutcome outcome = RunStrengthTests(options);
  EXPECT_EQ(outcome.gamesFinished, 2);
  EXPECT_EQ(outcome.uploaded, 0);
  std::string text;
  for (const std::string& line : capture.lines()) text += line + "\n";
  EXPECT_NE(text.find("Upload is not set up"), std::string::npos);
  EXPECT_NE(text.find("Game finished! Uploading..."), std::string::npos);
  std::ifstream in(options.recordPath, std::ios::binary);
  const std::string record((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(record, outcome.lastRecord);
  EXPECT_NE(record.find("#note No benchmark data available."), std::string::npos);
  EXPECT_NE(record.find("#note ARRV: "), std::string::npos);
  EXPECT_NE(record.find(" xpf "), std::string::npos);
  EXPECT_NE(record.find(" no xpf "), std::string::npos);
  // One seat used the flag (one value for the pair), the other -1; the flag
  // is off again afterwards.
  int off = 0, on = 0;
  for (const int f : flags) (f == kXpfNone ? off : on)++;
  EXPECT_GT(off, 0);
  EXPECT_GT(on, 0);
  EXPECT_EQ(experimentalPlayFlag(), kXpfNone);
}

}  // namespace
}  // namespace pexil
