// The benchmark suite: 24 simulations of typical positions (empty board,
// mid game, late game; with and without blanks) that measure how many
// simulation evaluations per thread-second this machine does, as nine
// rates the timed move's clock management reads.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace pexil {

inline constexpr int kBenchmarkTests = 24;
inline constexpr int kBenchmarkPositions = 15;
inline constexpr const char* kBenchmarkGameType = "Scrabble(R) - American English";

// One test: the rack the player to move is given, the position (0: the
// empty board of a new game, n: "bench<n>.pexil"), and the move expected
// to win the simulation, if any (word, 0-based column and row, score).
struct BenchmarkTest {
  const char* rack;
  int position;
  const char* expectedWord;  // null: no expectation
  int column;
  int row;
  int score;
};
const std::array<BenchmarkTest, kBenchmarkTests>& benchmarkTests();

// The nine results from the 24 test rates: the means of tests 1-3, 4-6,
// 7-9, 10-12, 13-15, 16-18, 19-20, 21-22 and 23-24. Tests beyond the
// rates given count as 0.
std::array<float, 9> BenchmarkMeans(const std::vector<double>& testRates);

// The simulation threads of a test: the processors less one, at least one.
int BenchmarkThreads(int processors);

// The files the suite uses when they are there: the TWL06 list and its
// companions.
const std::vector<std::string>& benchmarkListFiles();

struct BenchmarkOptions {
  // The evaluation budget of each test's simulation (iterations over all
  // candidates) and its depth.
  int evaluationBudget = 15000;
  int ply = 5;
  // How many of the 24 tests to run, from the first (tests keep it small).
  int tests = kBenchmarkTests;
  // Processors to plan for; 0: as many as the machine reports.
  int processors = 0;
  // The folder holding the position files and the TWL06 files (the
  // program's folder, "" for the working directory).
  std::string folder;
  // Keeps the nine results (the settings' SaveBenchmarkResults); called
  // only when none of them is 0. Returns whether they were stored.
  std::function<bool(const std::array<float, 9>&)> store;
};

struct BenchmarkOutcome {
  std::vector<double> testRates;  // one per test run
  std::array<float, 9> results{};
  int threads = 1;
  bool usedFallbackList = false;  // TWL06 absent: the game type's own list
  bool completed = false;         // every test ran (no abort, no missing file)
  bool stored = false;
};

// Runs the suite, printing its lines in orange, and stores the results
// through options.store when all nine are non-zero, then prints them
// (PrintBenchmarkResults). Stops without storing when the user aborts or a
// position file is missing.
BenchmarkOutcome RunBenchmarks(const BenchmarkOptions& options = {});

}  // namespace pexil
