// The long-running tools of the "Testing" menu on the command line:
// bench suite (the benchmark suite, whose rates are stored in the settings
// shared with the desktop program), bench positions (writes the suite's
// position files), strength-test and opening-book.
#include <string>
#include <thread>

#include "commands.hpp"
#include "game_choice.hpp"
#include "settings.hpp"
#include "state/abort_flag.hpp"
#include "terminal_sink.hpp"
#include "text/messages.hpp"
#include "tools/benchmark_positions.hpp"
#include "tools/benchmark_suite.hpp"
#include "tools/opening_book.hpp"
#include "tools/strength_test.hpp"

namespace pexil::cli {
namespace {

// A whole-number option between `least` and `most`, or `fallback` when not
// given; false after reporting a bad value.
bool numberOption(const ParsedOptions& options, const char* name, long long least, long long most, int& value) {
  const auto typed = options.value(name);
  if (!typed) return true;
  const auto number = parseNumber(*typed, least, most);
  if (!number) {
    PrintMessageF(msg::CliBadOption, (std::string(name) + " " + *typed).c_str());
    return false;
  }
  value = static_cast<int>(*number);
  return true;
}

// The results server: --host, else the UploadHost setting.
std::string serverHost(const ParsedOptions& options) {
  if (const auto host = options.value("--host")) return *host;
  SettingsStore store;
  if (!store.error().empty()) PrintMessageF(msg::SettingsCannotRead, store.error().c_str());
  Settings settings;
  LoadSettings(settings, store);
  return settings.uploadHost;
}

// Ctrl-C stops the tool (not the program) while one of these lives.
class InterruptStopsTool {
 public:
  InterruptStopsTool() {
    clearAbort();
    setInterruptStopsSearch(true);
  }
  ~InterruptStopsTool() { setInterruptStopsSearch(false); }
  InterruptStopsTool(const InterruptStopsTool&) = delete;
  InterruptStopsTool& operator=(const InterruptStopsTool&) = delete;
};

}  // namespace

int benchSuite(const ParsedOptions& options) {
  BenchmarkOptions bench;
  if (!numberOption(options, "--tests", 1, kBenchmarkTests, bench.tests) ||
      !numberOption(options, "--evaluations", 1, 100000000, bench.evaluationBudget) ||
      !numberOption(options, "--processors", 1, 1024, bench.processors)) {
    return 2;
  }
  loadGameDefinitionsOnce();
  NoWrapPane noWrap;
  SettingsStore store;
  if (!store.error().empty()) PrintMessageF(msg::SettingsCannotRead, store.error().c_str());
  bench.store = [&store](const std::array<float, 9>& results) {
    const bool saved = SaveBenchmarkResults(results, store);
    if (!saved && !store.error().empty()) PrintMessageF(msg::SettingsCannotWrite, store.error().c_str());
    return saved;
  };
  const InterruptStopsTool interrupt;
  const BenchmarkOutcome outcome = RunBenchmarks(bench);
  return outcome.testRates.size() == static_cast<std::size_t>(bench.tests) ? 0 : 1;
}

int benchPositions(const ParsedOptions& options) {
  loadGameDefinitionsOnce();
  NoWrapPane noWrap;
  const std::string folder = userFilePath(options.value("--out").value_or("."));
  return WriteBenchmarkPositions(folder) ? 0 : 1;
}

int runStrengthTest(const Arguments& args) {
  const auto options = parseOptions(args, {"--games", "--host", "--port"});
  if (!options) return 2;
  if (!options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, options->positional.front().c_str());
    return 2;
  }
  StrengthOptions strength;
  if (!numberOption(*options, "--games", 1, 1000000, strength.games) ||
      !numberOption(*options, "--port", 1, 65535, strength.port)) {
    return 2;
  }
  loadGameDefinitionsOnce();
  NoWrapPane noWrap;
  strength.host = serverHost(*options);
  strength.recordPath = userFilePath(kUploadFileName);
  {
    SettingsStore store;
    strength.benchmarks = StoredRates(store);
    setStoredBenchmarkRates(strength.benchmarks);
  }
  const InterruptStopsTool interrupt;
  const StrengthOutcome outcome = RunStrengthTests(strength);
  return strength.games == 0 || outcome.gamesFinished == strength.games ? 0 : 1;
}

int runOpeningBook(const Arguments& args) {
  const auto options = parseOptions(args, {"--cycles", "--host", "--port", "--threads"});
  if (!options) return 2;
  if (!options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, options->positional.front().c_str());
    return 2;
  }
  OpeningBookOptions book;
  book.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (!numberOption(*options, "--cycles", 1, 1000000, book.cycles) ||
      !numberOption(*options, "--port", 1, 65535, book.port) ||
      !numberOption(*options, "--threads", 1, 1024, book.threads)) {
    return 2;
  }
  loadGameDefinitionsOnce();
  NoWrapPane noWrap;
  book.host = serverHost(*options);
  if (book.host.empty()) {
    PrintMessage(msg::UploadNotSetUp);
    return 1;
  }
  const InterruptStopsTool interrupt;
  const OpeningBookOutcome outcome = RunOpeningBook(book);
  return book.cycles == 0 || outcome.cycles == book.cycles ? 0 : 1;
}

}  // namespace pexil::cli
