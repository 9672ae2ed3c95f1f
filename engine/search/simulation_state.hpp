// The process-wide state of the running simulation (one at a time): the
// time-out flag, the best mean any worker has found (read without the
// lock, written under it), the places of the special moves in the list,
// and the stopwatch. The abort flag lives in state/abort_flag.hpp.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <vector>

#include "state/move.hpp"

namespace pexil {

inline constexpr float kNoBest = -9999999.0f;

bool simulationTimedOut();
void setSimulationTimedOut(bool value);

// The best mean of the threaded lookahead's workers, kNoBest for none.
float sharedBest();
void setSharedBest(float value);
// Raises the shared best to `value` when it is higher (under the lock).
void raiseSharedBest(float value);
// A worker sure of its candidate raises the bar: when its lowest running
// mean is more than ten deviations above the shared best, the shared best
// becomes that mean less five deviations (under the lock).
void raiseSharedBestBar(float lowestMean, float deviation);

// The six non-placement candidates in the order the threaded lookahead
// takes them when the list runs out: "(Exchange)", "(Xchg RETAINS)",
// "(Xchg X)", "(Xchg S)", "(Xchg optimal)", "(Pass)".
inline constexpr int kSpecialMoves = 6;
const std::array<const char*, kSpecialMoves>& specialMoveLabels();
// For each special move, its index in the list, or -1 when the list has none.
std::array<int, kSpecialMoves> findSpecialMoves(const std::vector<Move>& moves);
// The slots of the last simulation's list.
std::array<int, kSpecialMoves>& specialMoveSlots();

// The stopwatch of the running simulation.
class SimulationClock {
 public:
  void start() { start_ = std::chrono::steady_clock::now(); }
  // Elapsed time in hundredths of a second.
  long long hundredths() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count() / 10;
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
SimulationClock& simulationClock();
// The elapsed time of the last simulation, in seconds (for the benchmarks).
double lastSimulationSeconds();
void setLastSimulationSeconds(double seconds);
// The CPU time the last fast lookahead's workers spent in their loops, in
// seconds over all of them (for the benchmarks' per-thread rates).
double lastWorkerSeconds();
void setLastWorkerSeconds(double seconds);
// The iterations the last fast lookahead did over all its candidates (for
// the benchmarks' rates).
long long lastSimulationIterations();
void setLastSimulationIterations(long long iterations);
// A cap on the fast lookahead's iterations over all candidates, 0 for none:
// the benchmarks measure a run of a fixed amount of work. Set it with the
// scope below, which puts the previous cap back.
long long simulationIterationBudget();
class IterationBudgetScope {
 public:
  explicit IterationBudgetScope(long long budget);
  ~IterationBudgetScope();
  IterationBudgetScope(const IterationBudgetScope&) = delete;
  IterationBudgetScope& operator=(const IterationBudgetScope&) = delete;

 private:
  long long saved_;
};

}  // namespace pexil
