// "Last benchmark results": the nine rates the benchmarks stored, each on
// a line of its own, or the line saying there are none.
#pragma once

#include <optional>

#include "search/timed_move.hpp"

namespace pexil {

// Prints the heading and the nine rates ("%4.1f"), or "No benchmark data
// available." when there are no rates or one of them is 0.
void PrintBenchmarkResults(const std::optional<BenchmarkRates>& rates);

}  // namespace pexil
