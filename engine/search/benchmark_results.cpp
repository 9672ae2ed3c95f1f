#include "search/benchmark_results.hpp"

#include <algorithm>

#include "text/messages.hpp"

namespace pexil {

void PrintBenchmarkResults(const std::optional<BenchmarkRates>& rates) {
  if (!rates || std::any_of(rates->begin(), rates->end(), [](double rate) { return rate == 0; })) {
    PrintMessage(msg::BenchNoData);
    return;
  }
  PrintMessage(msg::BenchResultsHeading);
  // The first eight lines are the program's own messages; the ninth is the
  // catalogue's.
  for (int k = 0; k < 8; ++k) PrintMessageF(msg::BenchResultFirst + k, (*rates)[static_cast<std::size_t>(k)]);
  PrintMessageF(msg::BenchLateBothSeen, (*rates)[8]);
}

}  // namespace pexil
