// The strength test's upload and the opening-book exchange against the
// stand-in results server: the bytes the server receives.
#include <gtest/gtest.h>

#include <string>

#include "movegen/generator.hpp"
#include "net/upload.hpp"
#include "play/game_flow.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "net_test_support.hpp"
#include "standin.hpp"
#include "state/abort_flag.hpp"
#include "tools/opening_book.hpp"
#include "tools/strength_test.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

class ToolsExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(PEXIL_RUN_DIR);
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    clearAbort();
    folder_ = std::filesystem::temp_directory_path() / ("pexil-tools-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_ / "server");
    rules_ = rules();
    alphabet_ = wordListAlphabet();
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    rules() = rules_;
    setWordListAlphabet(alphabet_);
  }

  std::filesystem::path previous_;
  std::filesystem::path folder_;
  GameRules rules_;
  int alphabet_ = 0;
};

TEST_F(ToolsExchange, AStrengthTestGameIsUploadedWithItsNotes) {
  test::StandinServer server("normal", (folder_ / "server").string());
  ASSERT_GT(server.port(), 0);
  StrengthOptions options;
  options.games = 1;
  options.seed = 5;
  options.host = "127.0.0.1";
  options.port = server.port();
  options.recordPath = (folder_ / "strength.gcg").string();
  options.playMove = test::playStaticBestMove;
  BenchmarkRates rates;
  rates.fill(12.5);
  options.benchmarks = rates;
  const StrengthOutcome outcome = RunStrengthTests(options);
  ASSERT_EQ(outcome.gamesFinished, 1);
  EXPECT_EQ(outcome.uploaded, 1);
  const std::vector<std::string> requests = server.waitForRequests(1);
  ASSERT_EQ(requests.size(), 1u);
  const std::string& sent = requests.front();
  EXPECT_EQ(sent.rfind("POST /pexil/gcg.cgi HTTP/1.1\n", 0), 0u);
  // The record as written, form-encoded, is what went out.
  EXPECT_NE(sent.find("gcg=" + EncodeGcgForm(outcome.lastRecord) + "\n"), std::string::npos);
  EXPECT_NE(sent.find(EncodeGcgForm("#note Benchmarks: 12.5/12.5/12.5/12.5/12.5/12.5/12.5/12.5/12.5")),
            std::string::npos);
  EXPECT_NE(sent.find(EncodeGcgForm("#note ARRV: ")), std::string::npos);
}

TEST_F(ToolsExchange, TheOpeningBookReportsTheFiveBestMovesOfTheServersRack) {
  test::StandinServer server("normal", (folder_ / "server").string());
  ASSERT_GT(server.port(), 0);
  OpeningBookOptions options;
  options.host = "127.0.0.1";
  options.port = server.port();
  options.cycles = 1;
  options.seed = 3;
  options.ply = 2;
  options.iterationsPerCandidate = 10;
  options.candidates = 4;
  test::PaneCapture capture;
  const OpeningBookOutcome outcome = RunOpeningBook(options);
  ASSERT_EQ(outcome.cycles, 1);
  ASSERT_EQ(outcome.reports.size(), 5u);
  const std::vector<std::string> requests = server.waitForRequests(6);
  ASSERT_EQ(requests.size(), 6u);
  EXPECT_TRUE(requests[0].rfind("GET http://127.0.0.1/pexil/gcg.cgi?rlexicon=", 0) == 0) << requests[0];
  const bool twl = requests[0].find("rlexicon=TWL06\n\n") != std::string::npos;
  const bool csw = requests[0].find("rlexicon=CSW12\n\n") != std::string::npos;
  EXPECT_TRUE(twl || csw) << requests[0];
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(requests[i + 1], "GET " + outcome.reports[i] + "\n\n");
    EXPECT_NE(outcome.reports[i].find("%20"), std::string::npos);
    EXPECT_NE(outcome.reports[i].find("&rack=AEINRST&ply=2&winp="), std::string::npos) << outcome.reports[i];
    EXPECT_NE(outcome.reports[i].find(twl ? "&lex=TWL06&" : "&lex=CSW12&"), std::string::npos);
  }
  bool saidRack = false;
  for (const std::string& line : capture.lines()) saidRack = saidRack || line.rfind("Opening rack: AEINRST", 0) == 0;
  EXPECT_TRUE(saidRack) << test::joined(capture.lines());
}

TEST_F(ToolsExchange, TheOpeningBookDoesNothingWithoutAServer) {
  test::PaneCapture capture;
  const OpeningBookOutcome outcome = RunOpeningBook({});
  EXPECT_EQ(outcome.cycles, 0);
  EXPECT_EQ(outcome.failedRequests, 0);
  ASSERT_FALSE(capture.lines().empty());
  EXPECT_NE(capture.lines().front().find("Upload is not set up"), std::string::npos);
}

TEST_F(ToolsExchange, AnAnswerWithoutARackStartsTheNextCycle) {
  test::StandinServer server("garbage", (folder_ / "server").string());
  OpeningBookOptions options;
  options.host = "127.0.0.1";
  options.port = server.port();
  options.cycles = 1;
  options.retryPauseMs = 0;
  options.maxFailedRequests = 3;
  const OpeningBookOutcome outcome = RunOpeningBook(options);
  EXPECT_EQ(outcome.cycles, 0);
  EXPECT_EQ(outcome.failedRequests, 3);
  EXPECT_EQ(server.waitForRequests(3).size(), 3u);
}

}  // namespace
}  // namespace pexil
