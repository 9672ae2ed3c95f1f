#include "tools/benchmark_suite.hpp"

#include <algorithm>
#include <cctype>
#include <string>
#include <thread>

#include "files/position_file.hpp"
#include "io/data_files.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"
#include "search/benchmark_results.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation_state.hpp"
#include "search/timed_move.hpp"
#include "movegen/adjustments.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "tools/tool_game.hpp"

namespace pexil {
namespace {

const std::string kRule(70, '=');

std::string inFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool sameWord(const char* a, const char* b) {
  const std::string x(a), y(b);
  return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char p, char q) {
           return std::toupper(static_cast<unsigned char>(p)) == std::toupper(static_cast<unsigned char>(q));
         });
}

// The pane's colour for the suite's lines, green again when it ends (on
// every path).
class OrangePane {
 public:
  OrangePane() { textPane().SetColour(colour::orange); }
  ~OrangePane() { textPane().SetColour(colour::green); }
  OrangePane(const OrangePane&) = delete;
  OrangePane& operator=(const OrangePane&) = delete;
};

// The experimental play flag is off while the suite runs and comes back
// afterwards.
class ExperimentalFlagOff {
 public:
  ExperimentalFlagOff() : saved_(experimentalPlayFlag()) { setExperimentalPlayFlag(kXpfNone); }
  ~ExperimentalFlagOff() { setExperimentalPlayFlag(saved_); }
  ExperimentalFlagOff(const ExperimentalFlagOff&) = delete;
  ExperimentalFlagOff& operator=(const ExperimentalFlagOff&) = delete;

 private:
  int saved_;
};

// One test on the position in `game`: the mover gets the test's rack, the
// fast lookahead (the engine the timed move runs) simulates `ply` plies
// within the evaluation budget, and the rate is worked out.
//
// The rate's unit is what the timed move's clock management expects
// (PlyForBudget: w = rate x seconds x threads / 20000): evaluations per
// thread-second, where an evaluation is one simulated turn, so that an
// iteration of a `ply`-ply simulation is `ply` evaluations. The rate is
// ply x iterations / (threads x elapsed wall-clock seconds), the elapsed
// time the simulation itself reports.
double runTest(Game& game, const BenchmarkTest& test, const BenchmarkOptions& options, int threads, bool reportOnly) {
  game.rackSimulation = false;
  game.maximizeWinProb = true;
  game.guessTiles = true;
  game.preEndgameInSimulation = true;
  game.sortRacksPeg = true;
  game.timeBudget = 0;
  game.quiet = true;
  // The opponents' racks are unseen by the mover: they go back to the bag
  // while the mover takes the test's rack (which may need their tiles, a
  // blank say) and are drawn again from what is left.
  const auto others = [&](auto&& f) {
    for (int p = 0; p < game.playerCount; ++p) {
      if (p != game.toMove) f(game.racks[static_cast<std::size_t>(p)]);
    }
  };
  others([&](Rack& rack) { returnAll(game.bag, rack); });
  const bool given = GiveRack(game, game.toMove, test.rack);
  others([&](Rack& rack) { drawTiles(rack, game.bag, rules().rackSize, &game.random); });
  if (!given) return 0.0;
  {
    const IterationBudgetScope budget(options.evaluationBudget);
    FastLookahead(game, options.ply, threads);
  }
  game.maximizeWinProb = false;
  const std::vector<Move>& list = activeList(game);
  if (test.expectedWord != nullptr && !list.empty()) {
    const Move& best = list.front();
    const bool same = sameWord(best.word, test.expectedWord) && best.column == test.column && best.row == test.row &&
                      best.score == test.score;
    if (!same) {
      const std::string expected = FormatText("%s at column %d, row %d, %d points%s", test.expectedWord, test.column,
                                              test.row, test.score, reportOnly ? " (reported only)" : "");
      PrintMessageF(msg::BenchExpectedWinner, expected.c_str());
      textPane().Print(MoveLine(game, game.toMove, best, std::string()));
    }
  }
  const long long iterations = lastSimulationIterations();
  const double seconds = std::max(lastSimulationSeconds(), 0.01);
  if (iterations <= 0) return 0.0;
  const double measured = static_cast<double>(options.ply) * static_cast<double>(iterations) / (threads * seconds);
  // The timed move scales the stored rates down for word lists larger than
  // the reference list; a rate measured on such a list is scaled up by the
  // same factor here, so that the timed move gets back what was measured.
  BenchmarkRates ones{};
  ones.fill(1.0);
  const double listFactor =
      game.lexicon ? RatesForPosition(ones, 2, 0, 100, game.lexicon->wordCount(), game.lexicon->fileName()).first : 1.0;
  return listFactor > 0 ? measured / listFactor : measured;
}

}  // namespace

const std::array<BenchmarkTest, kBenchmarkTests>& benchmarkTests() {
  static const std::array<BenchmarkTest, kBenchmarkTests> tests = {{
      {"AENQRUY", 0, "QUERY", 3, 7, 54},
      {"AEEGIOP", 0, "APOGEE", 2, 7, 24},
      {"CEEEOUW", 0, nullptr, 0, 0, 0},
      {"AAEILW?", 0, nullptr, 0, 0, 0},
      {"ABCEOO?", 0, nullptr, 0, 0, 0},
      {"AEGLOP?", 0, nullptr, 0, 0, 0},
      {"ADEER??", 0, nullptr, 0, 0, 0},
      {"DEIMX??", 0, nullptr, 0, 0, 0},
      {"BGHPR??", 0, nullptr, 0, 0, 0},
      {"AJLOTUV", 1, nullptr, 0, 0, 0},
      {"BDEIILU", 2, nullptr, 0, 0, 0},
      {"AJORTYZ", 3, "JETTY", 9, 13, 62},
      {"AEEGINR", 4, "REGAINER", 0, 1, 83},
      {"DEEIPRU", 5, nullptr, 0, 0, 0},
      {"CEINOTU", 6, nullptr, 0, 0, 0},
      {"EGIILPV", 7, nullptr, 0, 0, 0},
      {"ADGHLMU", 8, nullptr, 0, 0, 0},
      {"AFILNTW", 9, nullptr, 0, 0, 0},
      {"ACHILNS", 10, nullptr, 0, 0, 0},
      {"DEEGRST", 11, nullptr, 0, 0, 0},
      {"AABELNV", 12, nullptr, 0, 0, 0},
      {"EHLTTUU", 13, nullptr, 0, 0, 0},
      {"ACFNOSU", 14, nullptr, 0, 0, 0},
      {"AIILSTW", 15, nullptr, 0, 0, 0},
  }};
  return tests;
}

std::array<float, 9> BenchmarkMeans(const std::vector<double>& testRates) {
  const auto rate = [&](int test) {
    return test <= static_cast<int>(testRates.size()) ? testRates[static_cast<std::size_t>(test - 1)] : 0.0;
  };
  // First and last test (1-based) of each result.
  static constexpr std::array<std::array<int, 2>, 9> kGroups = {
      {{1, 3}, {4, 6}, {7, 9}, {10, 12}, {13, 15}, {16, 18}, {19, 20}, {21, 22}, {23, 24}}};
  std::array<float, 9> results{};
  for (std::size_t k = 0; k < kGroups.size(); ++k) {
    double sum = 0;
    for (int t = kGroups[k][0]; t <= kGroups[k][1]; ++t) sum += rate(t);
    results[k] = static_cast<float>(sum / (kGroups[k][1] - kGroups[k][0] + 1));
  }
  return results;
}

int BenchmarkThreads(int processors) { return std::max(1, processors - 1); }

const std::vector<std::string>& benchmarkListFiles() {
  static const std::vector<std::string> files = {"TWL06.lst", "TWL06.rack", "TWL06.rack.partial",
                                                 "TWL06.2p",  "TWL06.bb",   "TWL06.tribble"};
  return files;
}

BenchmarkOutcome RunBenchmarks(const BenchmarkOptions& options) {
  BenchmarkOutcome outcome;
  const ActiveRulesScope rulesBack;
  const ExperimentalFlagOff xpfOff;
  const OrangePane orange;

  // The TWL06 list when all its files are there; otherwise the game type's
  // own English list, said in the first line.
  const auto& listFiles = benchmarkListFiles();
  const bool haveTwl = std::all_of(listFiles.begin(), listFiles.end(),
                                   [&](const std::string& name) {
                                     const std::string path = inFolder(options.folder, name);
                                     return FileReadable(path) || dataFileExists(path);
                                   });
  const int typeIndex = findGameType(kBenchmarkGameType);
  if (typeIndex < 0) {
    PrintMessage(msg::BenchNoGameType);
    return outcome;
  }
  std::string listName;
  if (haveTwl) {
    listName = inFolder(options.folder, listFiles.front());
  } else {
    outcome.usedFallbackList = true;
    PrintMessageF(msg::BenchFallbackWordList, gameType(typeIndex).defaultWordList.c_str());
  }

  textPane().Print(kRule);
  PrintMessage(msg::BenchStarting);
  Game game;
  if (!StartToolGame(game, kBenchmarkGameType, listName)) {
    PrintMessage(msg::BenchNoLexicon);
    return outcome;
  }
  const std::shared_ptr<Lexicon> suiteList = game.lexicon;
  const int processors =
      options.processors > 0 ? options.processors : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  outcome.threads = BenchmarkThreads(processors);
  const int tests = std::clamp(options.tests, 0, kBenchmarkTests);
  PrintMessageF(msg::BenchPlan, tests, outcome.threads, options.evaluationBudget, options.ply);

  for (int t = 0; t < tests; ++t) {
    if (abortRequested()) {
      PrintMessage(msg::BenchStopped);
      return outcome;
    }
    const BenchmarkTest& test = benchmarkTests()[static_cast<std::size_t>(t)];
    PrintMessage(msg::BenchTestStartFirst + t);
    if (test.position > 0) {
      const std::string file = inFolder(options.folder, "bench" + std::to_string(test.position) + ".pexil");
      // The positions name the default English list, which they load; with
      // TWL06 at hand the tests stay on it.
      if (!FileReadable(file) || !ReadPosition(game, file)) {
        PrintMessageF(msg::BenchMissingPosition, file.c_str());
        return outcome;
      }
      if (haveTwl && game.lexicon != suiteList) {
        game.lexicon = suiteList;
        game.board.lexicon = game.lexicon.get();
      }
    }
    const double rate = runTest(game, test, options, outcome.threads, outcome.usedFallbackList);
    if (abortRequested()) {
      PrintMessage(msg::BenchStopped);
      return outcome;
    }
    outcome.testRates.push_back(rate);
    PrintMessageF(msg::BenchTestDone, rate);
  }
  outcome.completed = tests == kBenchmarkTests;
  outcome.results = BenchmarkMeans(outcome.testRates);

  const bool allMeasured = std::none_of(outcome.results.begin(), outcome.results.end(), [](float r) { return r == 0.0f; });
  if (allMeasured && options.store) {
    outcome.stored = options.store(outcome.results);
  } else if (!allMeasured) {
    PrintMessage(msg::BenchNotStored);
  }
  textPane().Print(kRule);
  PrintMessage(msg::BenchFinished);
  BenchmarkRates rates{};
  std::copy(outcome.results.begin(), outcome.results.end(), rates.begin());
  PrintBenchmarkResults(rates);
  textPane().Print(kRule);
  return outcome;
}

}  // namespace pexil
