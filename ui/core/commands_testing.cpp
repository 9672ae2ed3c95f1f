// The "Testing" menu's long-running tools: the benchmark suite, the
// strength tests and the opening-book builder. Each asks first, then runs
// on a worker under its own busy flag, on games of its own while the
// window's game waits aside; Escape stops it. The benchmark's
// rates are stored on the interface thread, which owns the settings store,
// and handed to the timed move at once.
#include <algorithm>
#include <memory>
#include <thread>

#include "commands.hpp"
#include "commands_state.hpp"
#include "search/timed_move.hpp"
#include "settings.hpp"
#include "text/messages.hpp"
#include "tools/benchmark_suite.hpp"
#include "tools/opening_book.hpp"
#include "tools/strength_test.hpp"

namespace pexil::ui {

void Commands::runBenchmarks() {
  if (!prompter_.confirm(Message(msg::BenchmarkQuestion))) return;
  // The worker hands the results over; the interface thread stores them.
  auto results = std::make_shared<std::optional<std::array<float, 9>>>();
  BenchmarkOptions options;
  options.store = [results](const std::array<float, 9>& measured) {
    *results = measured;
    return true;
  };
  startOwnGames(Busy::benchmarks, [options] { RunBenchmarks(options); }, [this, results] {
    if (!*results) return;
    SaveBenchmarkResults(**results, session_.store());
    BenchmarkRates rates{};
    std::copy((*results)->begin(), (*results)->end(), rates.begin());
    setStoredBenchmarkRates(rates);
  });
}

void Commands::runStrengthTests() {
  if (!prompter_.confirm(Message(msg::StrengthTestQuestion))) return;
  const std::optional<BenchmarkRates> rates = storedBenchmarkRates();
  if (!rates && !prompter_.confirm(Message(msg::StrengthNoBenchmark))) return;
  StrengthOptions options;
  options.host = session_.settings().uploadHost;
  options.benchmarks = rates;
  startOwnGames(Busy::strengthTests, [options] { RunStrengthTests(options); });
}

void Commands::runOpeningBook() {
  const std::string host = session_.settings().uploadHost;
  if (host.empty()) {
    PrintMessage(msg::UploadNotSetUp);
    return;
  }
  OpeningBookOptions options;
  options.host = host;
  // Yes: in the background on one thread; no: on every processor.
  options.threads = prompter_.confirm(Message(msg::OpeningBookQuestion))
                        ? 1
                        : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  startOwnGames(Busy::openingBook, [options] { RunOpeningBook(options); });
}

}  // namespace pexil::ui
