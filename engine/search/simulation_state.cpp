#include "search/simulation_state.hpp"

#include <cstring>
#include <mutex>

namespace pexil {
namespace {

std::atomic<bool> timedOutFlag{false};
std::atomic<float> bestMean{kNoBest};
std::mutex bestLock;
std::atomic<double> lastSeconds{0.0};
std::atomic<double> lastWorkerCpu{0.0};
std::atomic<long long> lastIterations{0};
std::atomic<long long> iterationBudget{0};

}  // namespace

bool simulationTimedOut() { return timedOutFlag.load(std::memory_order_relaxed); }
void setSimulationTimedOut(bool value) { timedOutFlag.store(value, std::memory_order_relaxed); }

float sharedBest() { return bestMean.load(std::memory_order_relaxed); }

void setSharedBest(float value) {
  std::lock_guard<std::mutex> lock(bestLock);
  bestMean.store(value, std::memory_order_relaxed);
}

void raiseSharedBest(float value) {
  std::lock_guard<std::mutex> lock(bestLock);
  if (value > bestMean.load(std::memory_order_relaxed)) bestMean.store(value, std::memory_order_relaxed);
}

void raiseSharedBestBar(float lowestMean, float deviation) {
  std::lock_guard<std::mutex> lock(bestLock);
  if (lowestMean > bestMean.load(std::memory_order_relaxed) + 10.0f * deviation) {
    bestMean.store(lowestMean - 5.0f * deviation, std::memory_order_relaxed);
  }
}

const std::array<const char*, kSpecialMoves>& specialMoveLabels() {
  static const std::array<const char*, kSpecialMoves> labels = {
      label::exchange, label::exchangeRetains, label::exchangeX, label::exchangeS, label::exchangeOptimal, label::pass};
  return labels;
}

std::array<int, kSpecialMoves> findSpecialMoves(const std::vector<Move>& moves) {
  std::array<int, kSpecialMoves> slots;
  slots.fill(-1);
  for (std::size_t i = 0; i < moves.size(); ++i) {
    for (int k = 0; k < kSpecialMoves; ++k) {
      if (slots[static_cast<std::size_t>(k)] < 0 && moves[i].word == specialMoveLabels()[static_cast<std::size_t>(k)]) {
        slots[static_cast<std::size_t>(k)] = static_cast<int>(i);
      }
    }
  }
  return slots;
}

std::array<int, kSpecialMoves>& specialMoveSlots() {
  static std::array<int, kSpecialMoves> slots = [] {
    std::array<int, kSpecialMoves> s;
    s.fill(-1);
    return s;
  }();
  return slots;
}

SimulationClock& simulationClock() {
  static SimulationClock clock;
  return clock;
}

double lastSimulationSeconds() { return lastSeconds.load(std::memory_order_relaxed); }
double lastWorkerSeconds() { return lastWorkerCpu.load(std::memory_order_relaxed); }
void setLastWorkerSeconds(double seconds) { lastWorkerCpu.store(seconds, std::memory_order_relaxed); }
void setLastSimulationSeconds(double seconds) { lastSeconds.store(seconds, std::memory_order_relaxed); }
long long lastSimulationIterations() { return lastIterations.load(std::memory_order_relaxed); }
void setLastSimulationIterations(long long iterations) { lastIterations.store(iterations, std::memory_order_relaxed); }
long long simulationIterationBudget() { return iterationBudget.load(std::memory_order_relaxed); }
IterationBudgetScope::IterationBudgetScope(long long budget) : saved_(iterationBudget.load(std::memory_order_relaxed)) {
  iterationBudget.store(budget, std::memory_order_relaxed);
}
IterationBudgetScope::~IterationBudgetScope() { iterationBudget.store(saved_, std::memory_order_relaxed); }

}  // namespace pexil
