#include "search/fast_lookahead.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"
#include "search/endgame.hpp"
#include "search/cpu_time.hpp"
#include "search/fast_iteration.hpp"
#include "search/known_racks.hpp"
#include "search/pre_endgame.hpp"
#include "search/predrawn_racks.hpp"
#include "search/simulation.hpp"
#include "search/simulation_report.hpp"
#include "search/simulation_state.hpp"
#include "search/tile_inference.hpp"
#include "search/worker_thread.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

// The initial pass's iterations per candidate (fewer under the anagram
// rule, whose generation is slow), the statistics windows, the confidence
// factors.
constexpr int kInitialPass = 80;
constexpr int kInitialPassAnagrams = 20;
constexpr int kWindowWin = 80;
constexpr int kWindowSpread = 120;
constexpr double kConfidenceWin = 3.6;
constexpr double kConfidenceSpread = 4.0;
// The leader's iterations past which the stop rule may end the search.
constexpr int kLeaderEnough = 400;
// Past this many iterations a candidate is settled: when every candidate in
// contention has them, the search ends even if they stay level.
constexpr int kSettled = 3000;

void say(const Game& game, const std::string& text) { SimulationSay(game, text); }

// One candidate: its own game copy and statistics. The fields other
// workers read while choosing are atomics; the rest belong to whoever
// holds the candidate.
struct SimSet {
  std::unique_ptr<Game> game;
  int moveIndex = 0;
  Move move;
  std::mutex lock;
  std::atomic<bool> claimed{false};
  std::atomic<bool> eliminated{false};
  std::atomic<bool> finished{false};  // decided by the pre-endgame: never simulated
  std::atomic<int> iterations{0};
  std::atomic<float> trackedMean{0.0f};
  std::atomic<float> trackedDeviation{0.0f};

  FastIterationState state;
  std::vector<float> history;  // running means of the tracked key
  std::vector<float> mixed;    // the mixed outcome per iteration
  double spreadSum = 0, winSum = 0, mixedSum = 0;
};

constexpr long long kViewEvery = 400;

struct FastRun {
  Game* game = nullptr;
  std::vector<std::unique_ptr<SimSet>> sets;
  int threads = 1;
  int initialPass = kInitialPass;
  int window = kWindowSpread;
  double confidence = kConfidenceSpread;
  bool byWin = false;
  bool mixed = false;
  FastIterationSetup setup;
  SimulationClock* clock = nullptr;
  int timeBudget = 0;
  // The reports' minimum: the best `minTop` candidates and the required
  // ones (`required`, indexes into sets) get `minIterations` each.
  int minIterations = 0;
  int minTop = 0;
  std::vector<int> required;
  long long iterationBudget = 0;  // over all candidates, 0 = none

  std::atomic<bool> stop{false};
  std::atomic<long long> totalIterations{0};
  std::atomic<int> contenders{0};
  std::atomic<bool> outOfTimeSaid{false};
  std::mutex progressLock;
  // The results view is redrawn each time the iterations of all candidates
  // have grown by 400: by whichever worker takes viewLock without waiting.
  int ply = 0;
  std::mutex viewLock;
  long long nextView = kViewEvery;  // under viewLock
  int reportedPercent = -100;  // under progressLock
  double workerSeconds = 0;    // under progressLock
  bool passCompleteSaid = false;
};

bool initialPassDone(const FastRun& run) {
  return std::all_of(run.sets.begin(), run.sets.end(), [&](const auto& s) {
    return s->finished.load() || s->iterations.load(std::memory_order_relaxed) >= run.initialPass;
  });
}

int initialPassPercent(const FastRun& run) {
  if (run.sets.empty()) return 100;
  int done = 0;
  for (const auto& s : run.sets) {
    if (s->finished.load() || s->iterations.load(std::memory_order_relaxed) >= run.initialPass) ++done;
  }
  return static_cast<int>(100LL * done / static_cast<long long>(run.sets.size()));
}

bool tryClaim(SimSet& set) {
  if (set.finished.load()) return false;
  bool expected = false;
  if (!set.claimed.compare_exchange_strong(expected, true)) return false;
  if (!set.lock.try_lock()) {
    set.claimed.store(false);
    return false;
  }
  return true;
}

void release(SimSet& set) {
  set.lock.unlock();
  set.claimed.store(false);
}

// The candidates' bounds and who is in contention, worked out from the
// published means: the leader is the highest mean among candidates with
// the initial pass done.
struct Standing {
  int leader = -1;
  int runnerUp = -1;
  std::vector<int> contention;  // most marginal first
  int open = 0;                 // candidates not eliminated
};

Standing standing(FastRun& run) {
  Standing result;
  const int n = static_cast<int>(run.sets.size());
  double bestLower = -std::numeric_limits<double>::infinity();
  float leaderMean = 0, runnerMean = 0;
  for (int i = 0; i < n; ++i) {
    const SimSet& s = *run.sets[static_cast<std::size_t>(i)];
    if (s.finished.load()) continue;
    const int iterations = s.iterations.load(std::memory_order_relaxed);
    if (iterations == 0) continue;
    const double mean = s.trackedMean.load(std::memory_order_relaxed);
    const double deviation = s.trackedDeviation.load(std::memory_order_relaxed);
    bestLower = std::max(bestLower, mean - run.confidence * deviation);
    if (iterations < run.initialPass) continue;
    if (result.leader < 0 || mean > leaderMean) {
      result.runnerUp = result.leader;
      runnerMean = leaderMean;
      result.leader = i;
      leaderMean = static_cast<float>(mean);
    } else if (result.runnerUp < 0 || mean > runnerMean) {
      result.runnerUp = i;
      runnerMean = static_cast<float>(mean);
    }
  }
  // Most marginal first; among equals the one with fewer iterations, so
  // that candidates level with each other all get their turns.
  std::vector<std::tuple<double, int, int>> ranked;
  for (int i = 0; i < n; ++i) {
    SimSet& s = *run.sets[static_cast<std::size_t>(i)];
    if (s.finished.load()) continue;
    const int iterations = s.iterations.load(std::memory_order_relaxed);
    const double mean = s.trackedMean.load(std::memory_order_relaxed);
    const double deviation = s.trackedDeviation.load(std::memory_order_relaxed);
    const double lower = mean - run.confidence * deviation;
    const double upper = mean + run.confidence * deviation;
    // A candidate without iterations yet is open; the one holding the best
    // lower bound is in contention with itself.
    const bool in = iterations == 0 || upper > bestLower || lower >= bestLower;
    s.eliminated.store(!in, std::memory_order_relaxed);
    if (!in) continue;
    ++result.open;
    double rank;
    if (deviation > 0) {
      rank = (bestLower - mean) / (run.confidence * deviation);
    } else {
      rank = mean >= bestLower ? -1e9 : 1e9;
    }
    ranked.emplace_back(-rank, iterations, i);
  }
  std::sort(ranked.begin(), ranked.end());
  for (const auto& [negRank, iterations, i] : ranked) result.contention.push_back(i);
  run.contenders.store(static_cast<int>(result.contention.size()), std::memory_order_relaxed);
  return result;
}

bool settled(FastRun& run);
std::vector<int> shortOfMinimum(const FastRun& run);

// Picks and claims the candidate for the next batch, or returns null.
SimSet* choose(FastRun& run, Mt19937& random) {
  const int n = static_cast<int>(run.sets.size());
  // The initial pass: one batch for every candidate first.
  if (!initialPassDone(run)) {
    for (int i = 0; i < n; ++i) {
      SimSet& s = *run.sets[static_cast<std::size_t>(i)];
      if (s.iterations.load(std::memory_order_relaxed) == 0 && tryClaim(s)) {
        if (s.iterations.load() == 0) return &s;
        release(s);
      }
    }
    return nullptr;
  }
  // Settled, but a report wants more of some candidates: those first.
  if (run.minIterations > 0 && settled(run)) {
    for (const int i : shortOfMinimum(run)) {
      SimSet& s = *run.sets[static_cast<std::size_t>(i)];
      if (tryClaim(s)) return &s;
    }
    return nullptr;
  }
  const std::uint32_t r = random.next();
  const int spreadLimit = (run.byWin ? 6 : 4) * run.initialPass;
  if ((r & 15u) == 0) {
    std::vector<int> early;
    for (int i = 0; i < std::min(run.threads, n); ++i) {
      const SimSet& s = *run.sets[static_cast<std::size_t>(i)];
      if (!s.eliminated.load(std::memory_order_relaxed) && !s.finished.load() &&
          s.iterations.load(std::memory_order_relaxed) < spreadLimit) {
        early.push_back(i);
      }
    }
    if (!early.empty()) {
      SimSet& s = *run.sets[static_cast<std::size_t>(early[random.next() % early.size()])];
      if (tryClaim(s)) return &s;
    }
  }
  const Standing now = standing(run);
  if (((r >> 4) & 15u) == 0 && now.leader >= 0) {
    SimSet& leader = *run.sets[static_cast<std::size_t>(now.leader)];
    const bool leaderDone = run.threads == 1 && leader.iterations.load() > 479 && now.open > 1;
    if (!leaderDone && tryClaim(leader)) return &leader;
    if (now.runnerUp >= 0) {
      SimSet& runner = *run.sets[static_cast<std::size_t>(now.runnerUp)];
      if (tryClaim(runner)) return &runner;
    }
  }
  for (int i = 0; i < n; ++i) {
    SimSet& s = *run.sets[static_cast<std::size_t>(i)];
    if (s.iterations.load(std::memory_order_relaxed) == 0 && tryClaim(s)) return &s;
  }
  int tried = 0;
  for (const int i : now.contention) {
    if (tried++ >= 8) break;
    SimSet& s = *run.sets[static_cast<std::size_t>(i)];
    if (run.threads == 1 && i == now.leader && s.iterations.load() > kSettled && (random.next() & 7u) != 0) continue;
    if (tryClaim(s)) return &s;
  }
  for (int k = 0; k < 6 && !now.contention.empty(); ++k) {
    SimSet& s = *run.sets[static_cast<std::size_t>(now.contention[random.next() % now.contention.size()])];
    if (tryClaim(s)) return &s;
  }
  for (int k = 0; k < n; ++k) {
    SimSet& s = *run.sets[random.next() % static_cast<std::uint32_t>(n)];
    if (!s.eliminated.load(std::memory_order_relaxed) && tryClaim(s)) return &s;
  }
  return nullptr;
}

// Mean and population deviation of the last `count` values.
void windowStats(const std::vector<float>& values, std::size_t count, double& mean, double& deviation) {
  const std::size_t first = values.size() - count;
  double sum = 0;
  for (std::size_t i = first; i < values.size(); ++i) sum += values[i];
  mean = sum / static_cast<double>(count);
  double squares = 0;
  for (std::size_t i = first; i < values.size(); ++i) squares += (values[i] - mean) * (values[i] - mean);
  deviation = std::sqrt(squares / static_cast<double>(count));
}

// After a batch: the running means, the tracked key's mean and deviation
// over the window, published for the other workers.
void publish(const FastRun& run, SimSet& set, int iterations) {
  double mean = 0, deviation = 0;
  if (set.history.size() >= static_cast<std::size_t>(run.window)) {
    windowStats(set.history, static_cast<std::size_t>(run.window), mean, deviation);
  } else if (!set.history.empty()) {
    // A short history: the plain mean, and the spread of the running means
    // so far. (A deviation of 0 here would make every candidate look
    // certain after the initial pass in spread mode, whose window is longer
    // than the pass, and end the search with the first leader.)
    const double sum = run.mixed ? set.mixedSum : run.byWin ? set.winSum : set.spreadSum;
    double ignored = 0;
    windowStats(set.history, set.history.size(), ignored, deviation);
    mean = iterations > 0 ? sum / iterations : 0;
  }
  set.trackedMean.store(static_cast<float>(mean), std::memory_order_relaxed);
  set.trackedDeviation.store(static_cast<float>(deviation), std::memory_order_relaxed);
  set.iterations.store(iterations, std::memory_order_relaxed);
}

bool outOfTime(FastRun& run) {
  if (run.timeBudget <= 0 || run.clock->hundredths() <= run.timeBudget) return false;
  if (!run.outOfTimeSaid.exchange(true)) say(*run.game, "Out of time in simulation...\n");
  setSimulationTimedOut(true);
  run.stop.store(true);
  return true;
}

// Whether the iteration budget is used up (the batches in hand may still
// finish their current block of 32).
bool budgetSpent(FastRun& run) {
  if (run.iterationBudget <= 0 || run.totalIterations.load(std::memory_order_relaxed) < run.iterationBudget) return false;
  run.stop.store(true);
  return true;
}

void runBatch(FastRun& run, SimSet& set, const Standing* now) {
  int batch = run.initialPass;
  const int done = set.iterations.load();
  if (now != nullptr && now->leader >= 0 && run.sets[static_cast<std::size_t>(now->leader)].get() == &set &&
      done < kSettled && now->open > 10 && now->contention.size() <= 3) {
    batch = 400;
  }
  Game& game = *set.game;
  const Move& candidate = set.move;
  int count = done;
  for (int i = 0; i < batch; ++i) {
    if (i > 0 && i % 32 == 0 && outOfTime(run)) break;
    if (i > 0 && i % 32 == 0 && budgetSpent(run)) break;
    if (abortRequested()) break;
    if (i > 0 && i % 10 == 0 && batch - i > 20 && run.contenders.load(std::memory_order_relaxed) <= 1 && done > 0) break;
    const FastOutcome outcome = RunFastIteration(game, candidate, run.setup, set.state);
    ++count;
    SimulationStats& stats = set.state.stats;
    stats.spreads.push_back(outcome.spread);
    stats.wins.push_back(outcome.win);
    set.mixed.push_back(outcome.mixed);
    set.spreadSum += outcome.spread;
    set.winSum += outcome.win;
    set.mixedSum += outcome.mixed;
    const double tracked = run.mixed ? set.mixedSum : run.byWin ? set.winSum : set.spreadSum;
    set.history.push_back(static_cast<float>(tracked / count));
  }
  set.state.stats.iterations = count;
  publish(run, set, count);
  run.totalIterations.fetch_add(count - done, std::memory_order_relaxed);
}

void reportInitialPass(FastRun& run) {
  std::unique_lock<std::mutex> lock(run.progressLock, std::try_to_lock);
  if (!lock.owns_lock() || run.passCompleteSaid) return;
  const int percent = initialPassPercent(run);
  if (percent >= 100) {
    run.passCompleteSaid = true;
    say(*run.game, "Initial simulation pass complete.\n");
    return;
  }
  if (run.reportedPercent < 0 || percent >= run.reportedPercent + 4) {
    run.reportedPercent = percent;
    say(*run.game, FormatText("Initial simulation pass... (%d%%)\n", percent));
  }
}

// Whether the search is over: at most one candidate in contention and the
// leader well simulated, or every contender settled.
bool settled(FastRun& run) {
  if (!initialPassDone(run)) return false;
  const Standing now = standing(run);
  if (now.leader < 0) return true;
  const SimSet& leader = *run.sets[static_cast<std::size_t>(now.leader)];
  if (now.contention.size() <= 1 && leader.iterations.load() >= kLeaderEnough) return true;
  return std::all_of(now.contention.begin(), now.contention.end(), [&](int i) {
    return run.sets[static_cast<std::size_t>(i)]->iterations.load() >= kSettled;
  });
}

// The candidates a report still wants more iterations of: among the best
// `minTop` by tracked mean and the required ones, those below the minimum.
std::vector<int> shortOfMinimum(const FastRun& run) {
  std::vector<int> shortOnes;
  if (run.minIterations <= 0) return shortOnes;
  std::vector<int> order;
  for (int i = 0; i < static_cast<int>(run.sets.size()); ++i) {
    if (!run.sets[static_cast<std::size_t>(i)]->finished.load()) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return run.sets[static_cast<std::size_t>(a)]->trackedMean.load(std::memory_order_relaxed) >
           run.sets[static_cast<std::size_t>(b)]->trackedMean.load(std::memory_order_relaxed);
  });
  if (static_cast<int>(order.size()) > run.minTop) order.resize(static_cast<std::size_t>(std::max(0, run.minTop)));
  for (const int i : run.required) {
    if (!run.sets[static_cast<std::size_t>(i)]->finished.load() && std::find(order.begin(), order.end(), i) == order.end()) {
      order.push_back(i);
    }
  }
  for (const int i : order) {
    if (run.sets[static_cast<std::size_t>(i)]->iterations.load(std::memory_order_relaxed) < run.minIterations) {
      shortOnes.push_back(i);
    }
  }
  return shortOnes;
}

// Whether the search is over: settled, and no report still waits for
// iterations.
bool finished(FastRun& run) { return settled(run) && shortOfMinimum(run).empty(); }

// The lines of the results view while the simulation runs: how far it has
// come, and every candidate's move line with its tracked mean (spread in
// points, or the win chance in percent) and iterations, best first. They go to the
// pane's simulation lines, which the view shows and the clipboard copies.
void refreshResultsView(FastRun& run) {
  const long long total = run.totalIterations.load(std::memory_order_relaxed);
  std::unique_lock<std::mutex> lock(run.viewLock, std::try_to_lock);
  if (!lock.owns_lock() || total < run.nextView) return;
  run.nextView = (total / kViewEvery + 1) * kViewEvery;
  const Game& game = *run.game;
  std::vector<std::string> lines;
  lines.push_back(FormatText(run.byWin ? "%lld simulations done at %d ply, maximizing win probability."
                                       : "%lld simulations done at %d ply, maximizing point spread.",
                             total, run.ply));
  std::vector<const SimSet*> shown;
  for (const auto& set : run.sets) {
    if (set->iterations.load(std::memory_order_relaxed) > 0) shown.push_back(set.get());
  }
  std::stable_sort(shown.begin(), shown.end(), [](const SimSet* a, const SimSet* b) {
    return a->trackedMean.load(std::memory_order_relaxed) > b->trackedMean.load(std::memory_order_relaxed);
  });
  for (const SimSet* set : shown) {
    const double mean = set->trackedMean.load(std::memory_order_relaxed);
    lines.push_back(MoveLine(game, game.toMove, set->move, std::string()) +
                    FormatText(run.byWin ? "  %6.2f%%  %d" : "  %+7.2f  %d", mean,
                               set->iterations.load(std::memory_order_relaxed)));
  }
  TextPane& pane = textPane();
  pane.SetSimulationLines(std::move(lines));
}

void workerLoop(FastRun& run, std::uint32_t seed);

// The loop, with its CPU time added to the run's.
void timedWorkerLoop(FastRun& run, std::uint32_t seed) {
  const double start = threadCpuSeconds();
  workerLoop(run, seed);
  const double used = threadCpuSeconds() - start;
  const std::lock_guard<std::mutex> lock(run.progressLock);
  run.workerSeconds += used;
}

void workerLoop(FastRun& run, std::uint32_t seed) {
  Mt19937 random;
  random.seed(seed);
  while (!run.stop.load()) {
    if (abortRequested()) {
      run.stop.store(true);
      return;
    }
    if (outOfTime(run)) return;
    reportInitialPass(run);
    SimSet* set = choose(run, random);
    if (set == nullptr) {
      if (finished(run)) {
        run.stop.store(true);
        return;
      }
      // Every open candidate is held by another worker.
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    const bool passDone = initialPassDone(run);
    const Standing now = passDone ? standing(run) : Standing{};
    runBatch(run, *set, passDone ? &now : nullptr);
    release(*set);
    refreshResultsView(run);
    if (budgetSpent(run) || finished(run)) run.stop.store(true);
  }
}

// The median of the values (the mean of the middle two for an even count).
float medianOf(std::vector<float> values) {
  if (values.empty()) return 0.0f;
  const std::size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  const float upper = values[mid];
  if (values.size() % 2 == 1) return upper;
  const float lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
  return (lower + upper) / 2.0f;
}

// The shared setup of a simulation of some moves of the game's list (all
// candidates of the fast lookahead, or the one analysed move).
struct Simulation {
  Game& game;
  int ply;
  int threads;
  std::vector<Rack> knownRacks;
  bool knownInUse = false;
  std::shared_ptr<const WinProbTable> table;
};

// Builds the known racks (typed tiles or the guess) and keeps a copy.
void prepareKnownRacks(Simulation& sim) {
  sim.knownInUse = PrepareKnownRacks(sim.game, sim.threads);
  sim.knownRacks = sim.game.knownRacks;
}

// Runs the workers over the candidates of `indexes` (into the active list)
// and writes their results into the moves. Returns the number of
// iterations done.
long long simulateCandidates(Simulation& sim, const std::vector<int>& indexes, const std::vector<int>& decided,
                             const PredrawnRacks* racks) {
  Game& game = sim.game;
  std::vector<Move>& list = activeList(game);
  FastRun run;
  run.game = &game;
  run.threads = std::max(1, sim.threads);
  run.initialPass = anagramRule() ? kInitialPassAnagrams : kInitialPass;
  run.byWin = game.maximizeWinProb && !game.mixedOptimization;
  run.mixed = game.mixedOptimization;
  run.window = run.byWin ? kWindowWin : kWindowSpread;
  run.confidence = run.byWin ? kConfidenceWin : kConfidenceSpread;
  run.setup.racks = racks;
  run.setup.knownRacks = sim.knownInUse ? &sim.knownRacks : nullptr;
  run.setup.table = sim.table.get();
  run.setup.heatMaps = game.trackHeatmaps;
  run.clock = &simulationClock();
  run.timeBudget = game.timeBudget;
  run.iterationBudget = simulationIterationBudget();
  run.ply = sim.ply;
  run.minIterations = game.minSimulations;
  run.minTop = game.minSimulatedTop;

  // The copies read the driver's list and known racks; they need none.
  std::vector<Move> savedList = std::move(list);
  std::vector<Rack> savedKnown = std::move(game.knownRacks);
  list.clear();
  game.knownRacks.clear();
  for (const int index : indexes) {
    auto set = std::make_unique<SimSet>();
    set->game = std::make_unique<Game>(game);
    set->game->random.seed(static_cast<std::uint32_t>(game.random.next()) ^ (0x9E3779B9u * static_cast<std::uint32_t>(index + 1)));
    set->game->quiet = true;
    set->moveIndex = index;
    for (const Move& wanted : game.alsoSimulate) {
      if (SameMove(savedList[static_cast<std::size_t>(index)], wanted)) run.required.push_back(static_cast<int>(run.sets.size()));
    }
    set->move = savedList[static_cast<std::size_t>(index)];
    set->finished.store(std::find(decided.begin(), decided.end(), index) != decided.end());
    // Each candidate starts at its own place in the pre-drawn table, a
    // multiple of the opponents so that every slot goes to its opponent.
    const int opponents = racks != nullptr && racks->active() ? racks->opponents() : 1;
    set->state.rackCursor = static_cast<int>(game.random.next() % PredrawnRacks::kSlots) / opponents * opponents;
    if (game.trackHeatmaps) {
      for (HeatMap* map : {&set->state.stats.replyHeat, &set->state.stats.nextHeat}) {
        map->width = game.board.width;
        map->height = game.board.height;
        const auto cells = static_cast<std::size_t>(map->width * map->height);
        map->counts.assign(cells, 0);
        map->scores.assign(cells, 0);
        map->bingoCounts.assign(cells, 0);
        map->bingoScores.assign(cells, 0);
      }
      set->state.stats.hasHeatMaps = true;
    }
    run.sets.push_back(std::move(set));
  }
  list = std::move(savedList);
  game.knownRacks = std::move(savedKnown);

  {
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int k = 0; k < run.threads; ++k) {
      const auto seed = static_cast<std::uint32_t>(game.random.next()) ^ (0x85EBCA6Bu * static_cast<std::uint32_t>(k + 1));
      workers.push_back(std::make_unique<WorkerThread>([&run, seed] { timedWorkerLoop(run, seed); }));
    }
    bool anyStarted = false;
    for (auto& worker : workers) {
      worker->join();
      anyStarted = anyStarted || worker->started();
    }
    // No worker could be started: the driver does the work itself.
    if (!anyStarted) timedWorkerLoop(run, static_cast<std::uint32_t>(game.random.next()));
  }
  setLastWorkerSeconds(run.workerSeconds);

  game.lastInitialPassPercent = initialPassPercent(run);
  game.lastContenders = initialPassDone(run) ? static_cast<int>(standing(run).contention.size()) : 0;
  const int ply = sim.ply;
  for (const auto& set : run.sets) {
    if (set->finished.load()) continue;
    Move& move = list[static_cast<std::size_t>(set->moveIndex)];
    const int count = set->iterations.load();
    if (count == 0) continue;
    const SimulationStats& stats = set->state.stats;
    move.simValueA = static_cast<float>(set->spreadSum / count);
    move.simValueB = static_cast<float>(set->winSum / count);
    move.simValueC = run.mixed ? static_cast<float>(set->mixedSum / count) : kNoSimValue;
    move.simMedian = medianOf(run.byWin ? stats.wins : stats.spreads);
    move.simCount = count;
    move.simPly = ply;
    move.simByWinProb = run.byWin ? 1 : 0;
    attachSimulationStats(game, move) = std::move(set->state.stats);
    SimulationStats& kept = game.simulationStats.records[static_cast<std::size_t>(move.simStats)];
    kept.inUse = true;
  }
  return run.totalIterations.load();
}

// The pre-endgame of the candidates that empty the bag, in list order (at
// most 60, all with one tile in the bag). Returns the index of a certain
// win, or -1; `decided` gets every candidate it valued.
int preEndgameCandidates(Simulation& sim, const std::vector<int>& order, std::vector<int>& decided, int budget) {
  Game& game = sim.game;
  std::vector<Move>& list = activeList(game);
  say(game, "Starting pre-end game evaluation.\n");
  const bool oneTile = game.bag.total() == 1;
  SimulationClock clock;
  clock.start();
  int wins = 0;
  int walked = 0;
  for (const int index : order) {
    if (!oneTile && walked >= 60) break;
    Move& move = list[static_cast<std::size_t>(index)];
    if (!IsPreEndgameMove(game, move)) continue;
    ++walked;
    if (abortRequested()) break;
    const float value = PreEndgameValue(game, move, sim.threads, 2000);
    if (value < 0) continue;
    move.simValueB = value;
    if (move.simValueA == kNoSimValue) move.simValueA = static_cast<float>(move.score);
    move.simCount = 54321;
    move.simPly = sim.ply;
    decided.push_back(index);
    if (value >= 100.0f) {
      wins += oneTile ? 1 : 5;
      if (wins > 9 || oneTile) return index;
    }
    const long long used = clock.hundredths();
    if (budget <= 0 && used > 20000) break;
    if (budget > 0 && used > (oneTile ? budget : budget / 2)) break;
  }
  return -1;
}

// The game-type flags the horizon's win chance depends on, as they are now
// (a generation refreshes them too, but the choice is made before it).
void refreshGameTypeFlags(Game& game) {
  game.standardBonusLayout = hasStandardLayout(game.board);
  game.standardTileValues = hasStandardTileSet();
  game.winProbAtHorizon = WinProbAtHorizon(game);
}

void putFirst(std::vector<Move>& list, int index) {
  std::rotate(list.begin(), list.begin() + index, list.begin() + index + 1);
}

// The moves a report asks for join the candidates: found in the list, or
// added to it (a phony the generator does not offer).
void addRequiredCandidates(const Game& game, std::vector<Move>& list, std::vector<int>& candidates) {
  for (const Move& wanted : game.alsoSimulate) {
    auto at = std::find_if(list.begin(), list.end(), [&](const Move& m) { return SameMove(m, wanted); });
    if (at == list.end()) {
      list.push_back(wanted);
      at = list.end() - 1;
    }
    const int index = static_cast<int>(at - list.begin());
    if (std::find(candidates.begin(), candidates.end(), index) == candidates.end()) candidates.push_back(index);
  }
}

}  // namespace

void FastLookahead(Game& game, int ply, int threads) {
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return;
  threads = std::max(1, threads);
  SimulationClock& clock = simulationClock();
  clock.start();
  setSimulationTimedOut(false);
  SimulationScope scope(game);
  setLastSimulationIterations(0);
  if (game.playerCount == 1 && game.maximizeWinProb) {
    say(game, "Using spread simulation for solitaire player.\n");
    game.maximizeWinProb = false;
  }
  refreshGameTypeFlags(game);
  if (game.playerCount >= 3 && game.winProbAtHorizon) {
    if (game.maximizeWinProb && ply % game.playerCount != 0) {
      ply = (ply / game.playerCount + 1) * game.playerCount;
      say(game, FormatText("Adjusting to %d ply for more accurate estimation.\n", ply));
    } else if (!game.maximizeWinProb) {
      game.winProbAtHorizon = false;
    }
  }
  Simulation sim{game, ply, threads, {}, false, sharedWinProbTable(game.playerCount)};
  prepareKnownRacks(sim);
  StrategyZeroAsTwo swap(game);

  const std::unique_lock<std::mutex> tableLock(PredrawnRacks::lock());
  PredrawnRacks& racks = predrawnRacks();
  racks.build(game, sim.knownInUse ? sim.knownRacks : std::vector<Rack>{}, game.mood, game.random);
  game.averageOpponentRack = 0.0f;
  if (racks.active() && sim.knownInUse) {
    const int mean = static_cast<int>(std::lround(racks.meanValue()));
    const int magnitude = std::abs(mean);
    say(game, FormatText(mean >= 0 ? "Average opponent rack is %d.%d points BETTER than average.\n"
                                   : "Average opponent rack is %d.%d points WORSE than average.\n",
                         magnitude / 10, magnitude % 10));
    game.averageOpponentRack = static_cast<float>(mean) * 0.1f;
  }

  game.unseenPoolEvaluation = true;
  GenerateMoves(game, Generation::fullList);
  game.unseenPoolEvaluation = scope.unseenPool();
  game.targetTurn = game.moveNumber + ply;
  std::vector<Move>& list = activeList(game);
  if (list.empty()) {
    SaySimulationFinished(game, clock);
    return;
  }
  std::vector<int> candidates = FastLookaheadCandidates(game, list, ply);
  addRequiredCandidates(game, list, candidates);

  // The pre-endgame: at once with one tile in the bag, else after a
  // preliminary simulation with half the time.
  std::vector<int> decided;
  bool deferredPeg = false;
  const bool pegApplies = game.preEndgameInSimulation && game.playerCount == 2 &&
                          std::any_of(candidates.begin(), candidates.end(),
                                      [&](int i) { return IsPreEndgameMove(game, list[static_cast<std::size_t>(i)]); });
  const int budget = game.timeBudget;
  if (pegApplies && game.bag.total() == 1) {
    const int win = preEndgameCandidates(sim, candidates, decided, budget);
    if (win >= 0) {
      say(game, "Winning move found in pre-end game evaluation.\n");
      putFirst(list, win);
      game.knownRacks.clear();
      SaySimulationFinished(game, clock);
      return;
    }
    say(game, "Continuing simulation.\n");
  } else if (pegApplies && (budget <= 0 || budget >= 4000)) {
    deferredPeg = true;
    say(game, "Performing preliminary simulation.\n");
    if (budget > 0) game.timeBudget = budget / 2;
  }

  say(game, FormatText("=== Simulating %d candidate moves ===\n", static_cast<int>(candidates.size())));
  const long long total = simulateCandidates(sim, candidates, decided, &racks);
  game.timeBudget = budget;

  if (deferredPeg && !abortRequested()) {
    // The candidates in their simulated order.
    std::vector<int> order = candidates;
    const bool byWin = game.maximizeWinProb;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      const Move& x = list[static_cast<std::size_t>(a)];
      const Move& y = list[static_cast<std::size_t>(b)];
      return (byWin ? x.simValueB : x.simValueA) > (byWin ? y.simValueB : y.simValueA);
    });
    const int win = preEndgameCandidates(sim, order, decided, budget);
    if (win >= 0) {
      say(game, "Winning move found in pre-end game evaluation.\n");
      SortSimulated(game);
      const auto at = std::find_if(list.begin(), list.end(), [&](const Move& m) { return m.simCount == 54321 && m.simValueB >= 100.0f; });
      if (at != list.end()) putFirst(list, static_cast<int>(at - list.begin()));
      game.knownRacks.clear();
      SaySimulationFinished(game, clock);
      return;
    }
  }

  setLastSimulationIterations(total);
  say(game, FormatText("Total of %d simulations done.\n", static_cast<int>(total)));
  SortSimulated(game);
  game.knownRacks.clear();
  SaySimulationFinished(game, clock);
}

void AnalyzeMove(Game& game, const Move& move, int ply, int threads) {
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return;
  if (IsPreEndgameMove(game, move)) {
    say(game, "Running pre-end game analysis...\n");
    PrintPreEndgameReport(PreEndgameEvaluate(game, move, threads, 2000));
    return;
  }
  SimulationClock& clock = simulationClock();
  clock.start();
  setSimulationTimedOut(false);
  SimulationScope scope(game);
  refreshGameTypeFlags(game);
  if (game.playerCount >= 3 && game.winProbAtHorizon && game.maximizeWinProb && ply % game.playerCount != 0) {
    ply = (ply / game.playerCount + 1) * game.playerCount;
    say(game, FormatText("Adjusting to %d ply for more accurate estimation.\n", ply));
  }
  Simulation sim{game, ply, std::max(1, threads), {}, false, sharedWinProbTable(game.playerCount)};
  prepareKnownRacks(sim);
  StrategyZeroAsTwo swap(game);
  const std::unique_lock<std::mutex> tableLock(PredrawnRacks::lock());
  PredrawnRacks& racks = predrawnRacks();
  racks.build(game, sim.knownInUse ? sim.knownRacks : std::vector<Rack>{}, game.mood, game.random);
  game.targetTurn = game.moveNumber + ply;
  std::vector<Move>& list = activeList(game);
  if (&list == &game.moves) {
    clearMainList(game);
  } else {
    list.clear();
  }
  list.push_back(move);
  simulateCandidates(sim, {0}, {}, &racks);
  game.knownRacks.clear();
  SaySimulationFinished(game, clock);
  PrintSimulationStats(game, list.front());
}

}  // namespace pexil
