// The benchmark suite: the results as means of the tests, the thread count,
// the fall-back to the default English list (said in the first line), the
// results stored only when all nine are measured, a missing position, an
// abort; and the positions the suite ships.
#include "tools/benchmark_suite.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "files/position_file.hpp"
#include "state/abort_flag.hpp"
#include "test_support.hpp"
#include "tools/benchmark_positions.hpp"

namespace pexil {
namespace {

class BenchmarkSuiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    clearAbort();
  }
  void TearDown() override { clearAbort(); }

  // A few tiny tests: enough to measure, fast enough for a unit test.
  BenchmarkOptions tiny(int tests) {
    BenchmarkOptions options;
    options.tests = tests;
    options.evaluationBudget = 60;
    options.ply = 2;
    options.processors = 2;
    options.folder = folder.path("");
    options.store = [this](const std::array<float, 9>& results) {
      stored.push_back(results);
      return true;
    };
    return options;
  }

  test::StateGuard guard;
  test::InFolder inRun{PEXIL_RUN_DIR};
  test::TempFolder folder;
  std::vector<std::array<float, 9>> stored;
};

// Whether the pane's lines hold the text, also across a wrapped line (a
// wrapped line keeps the space it was broken at).
bool contains(const std::vector<std::string>& lines, const std::string& text) {
  std::string all;
  for (const std::string& line : lines) all += line;
  return all.find(text) != std::string::npos;
}

TEST(BenchmarkMeans, GroupTheTestsAsTheNineKindsOfPosition) {
  std::vector<double> rates;
  for (int t = 1; t <= kBenchmarkTests; ++t) rates.push_back(t);
  const std::array<float, 9> means = BenchmarkMeans(rates);
  const std::array<float, 9> expected = {2.0f, 5.0f, 8.0f, 11.0f, 14.0f, 17.0f, 19.5f, 21.5f, 23.5f};
  EXPECT_EQ(means, expected);
  // Tests not run count as 0.
  const std::array<float, 9> partial = BenchmarkMeans({3.0, 6.0});
  EXPECT_FLOAT_EQ(partial[0], 3.0f);
  EXPECT_FLOAT_EQ(partial[1], 0.0f);
}

TEST(BenchmarkThreads, OneOrTwoProcessorsGiveOneThread) {
  EXPECT_EQ(BenchmarkThreads(1), 1);
  EXPECT_EQ(BenchmarkThreads(2), 1);
  EXPECT_EQ(BenchmarkThreads(0), 1);
  EXPECT_EQ(BenchmarkThreads(8), 7);
}

TEST(BenchmarkTests, ExpectedWinnersAreTheTableOnes) {
  const auto& tests = benchmarkTests();
  EXPECT_STREQ(tests[0].rack, "AENQRUY");
  EXPECT_EQ(std::string(tests[0].expectedWord) + " " + std::to_string(tests[0].column) + " " +
                std::to_string(tests[0].row) + " " + std::to_string(tests[0].score),
            "QUERY 3 7 54");
  EXPECT_EQ(tests[12].column, 0);
  EXPECT_EQ(tests[12].row, 1);
  EXPECT_EQ(tests[12].score, 83);
  for (int t = 0; t < kBenchmarkTests; ++t) EXPECT_EQ(tests[static_cast<std::size_t>(t)].position, t < 9 ? 0 : t - 8);
}

TEST_F(BenchmarkSuiteTest, WithoutTwl06TheDefaultListIsUsedAndTheFirstLineSaysSo) {
  test::PaneCapture capture;
  const BenchmarkOutcome outcome = RunBenchmarks(tiny(2));
  const std::vector<std::string> lines = capture.lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.front().find("TWL06 data not found"), std::string::npos) << lines.front();
  EXPECT_NE(lines.front().find("ENGLISH.LST"), std::string::npos) << lines.front();
  EXPECT_TRUE(outcome.usedFallbackList);
  EXPECT_EQ(outcome.threads, 1);
  ASSERT_EQ(outcome.testRates.size(), 2u);
  EXPECT_GT(outcome.testRates[0], 0.0);
  EXPECT_GT(outcome.testRates[1], 0.0);
  EXPECT_TRUE(contains(lines, "Starting test: opening rack AENQRUY"));
  EXPECT_TRUE(contains(lines, "Starting test: opening rack AEEGIOP"));
  EXPECT_TRUE(contains(lines, "eval/thread-second"));
}

TEST_F(BenchmarkSuiteTest, AZeroResultLeavesTheStoredResultsAlone) {
  test::PaneCapture capture;
  const BenchmarkOutcome outcome = RunBenchmarks(tiny(3));
  EXPECT_FALSE(outcome.stored);
  EXPECT_TRUE(stored.empty());
  EXPECT_FLOAT_EQ(outcome.results[1], 0.0f);
  EXPECT_GT(outcome.results[0], 0.0f);
  // Nothing stored, so the results say there are none.
  EXPECT_TRUE(contains(capture.lines(), "No benchmark data available."));
}

TEST_F(BenchmarkSuiteTest, AMissingPositionStopsTheRunUnstored) {
  BenchmarkOptions options = tiny(10);
  options.evaluationBudget = 20;
  test::PaneCapture capture;
  const BenchmarkOutcome outcome = RunBenchmarks(options);
  EXPECT_TRUE(contains(capture.lines(), "bench1.pexil is missing"));
  EXPECT_EQ(outcome.testRates.size(), 9u);
  EXPECT_FALSE(outcome.completed);
  EXPECT_TRUE(stored.empty());
  EXPECT_FALSE(contains(capture.lines(), "Benchmark tests have finished!"));
}

TEST_F(BenchmarkSuiteTest, AnAbortStopsTheRunUnstored) {
  requestAbort();
  test::PaneCapture capture;
  const BenchmarkOutcome outcome = RunBenchmarks(tiny(3));
  EXPECT_TRUE(outcome.testRates.empty());
  EXPECT_TRUE(stored.empty());
  EXPECT_TRUE(contains(capture.lines(), "Benchmarks stopped"));
}

TEST_F(BenchmarkSuiteTest, TheShippedPositionsRunAllTestsAndTheResultsAreStored) {
  BenchmarkOptions options = tiny(kBenchmarkTests);
  options.folder = PEXIL_SOURCE_DIR "/data";
  options.evaluationBudget = 20;
  test::PaneCapture capture;
  const BenchmarkOutcome outcome = RunBenchmarks(options);
  ASSERT_TRUE(outcome.completed);
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored.front(), outcome.results);
  for (const float r : outcome.results) EXPECT_GT(r, 0.0f);
  EXPECT_TRUE(contains(capture.lines(), "Benchmark tests have finished!"));
  EXPECT_TRUE(contains(capture.lines(), "Avg. evals/thread-second for each test:"));
}

// Each shipped position is of its kind: bag size, blanks on the board, and
// room for its test's rack.
TEST_F(BenchmarkSuiteTest, TheShippedPositionsFitTheirTests) {
  for (int p = 1; p <= kBenchmarkPositions; ++p) {
    SCOPED_TRACE("bench" + std::to_string(p));
    Game game;
    ASSERT_TRUE(ReadPosition(game, PEXIL_SOURCE_DIR "/data/bench" + std::to_string(p) + ".pexil"));
    EXPECT_EQ(game.lexicon->fileName().find("ENGLISH"), 0u) << game.lexicon->fileName();
    EXPECT_TRUE(FitsBenchmarkPosition(game, p));
  }
}

// With a TWL06 set beside the program (here the fixture list under that
// name, its tables empty) the suite runs on it, the positions included, and
// says nothing about a fall-back.
TEST_F(BenchmarkSuiteTest, WithTwl06ItsListIsUsedForEveryTest) {
  std::ifstream words(PEXIL_TEST_DATA "/movegen/words.lst", std::ios::binary);
  folder.write("TWL06.lst", std::string((std::istreambuf_iterator<char>(words)), std::istreambuf_iterator<char>()));
  for (const char* companion : {"TWL06.rack", "TWL06.rack.partial", "TWL06.2p", "TWL06.bb", "TWL06.tribble"}) {
    folder.write(companion, "");
  }
  for (int p = 1; p <= 2; ++p) {
    const std::string name = "bench" + std::to_string(p) + ".pexil";
    std::ifstream in(PEXIL_SOURCE_DIR "/data/" + name, std::ios::binary);
    folder.write(name, std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  }
  BenchmarkOptions options = tiny(11);
  options.evaluationBudget = 20;
  test::PaneCapture capture;
  const BenchmarkOutcome outcome = RunBenchmarks(options);
  EXPECT_FALSE(outcome.usedFallbackList);
  EXPECT_FALSE(contains(capture.lines(), "TWL06 data not found"));
  EXPECT_EQ(outcome.testRates.size(), 11u);
  std::string all;
  for (const std::string& line : capture.lines()) all += line + "\n";
  for (const double rate : outcome.testRates) EXPECT_GT(rate, 0.0) << all;
}

// The maker of the positions gives the shipped files again, byte for byte.
TEST_F(BenchmarkSuiteTest, ThePositionsAreMadeAgainFromTheirSeed) {
  ASSERT_TRUE(WriteBenchmarkPositions(folder.path("")));
  const auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  for (int p = 1; p <= kBenchmarkPositions; ++p) {
    const std::string name = "bench" + std::to_string(p) + ".pexil";
    const std::string made = read(folder.path(name));
    EXPECT_FALSE(made.empty()) << name;
    EXPECT_EQ(made, read(PEXIL_SOURCE_DIR "/data/" + name)) << name;
  }
}

}  // namespace
}  // namespace pexil
