// Benchmarks that print figures: bench lexicon, movegen, selfplay, sim
// (bench endgame has a file of its own).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "bench_endgame.hpp"
#include "settings.hpp"
#include "commands.hpp"
#include "game_choice.hpp"
#include "game_files.hpp"
#include "io/data_files.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "movegen/evaluation.hpp"
#include "search/benchmark_results.hpp"
#include "search/cpu_time.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation.hpp"
#include "search/simulation_state.hpp"
#include "search/worker_thread.hpp"
#include "search/strategy.hpp"
#include "state/game.hpp"
#include "tables/rack_tables.hpp"
#include "tables/win_prob.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

extern char** environ;

namespace pexil::cli {
namespace {

using Clock = std::chrono::steady_clock;

// Resident set size and its peak so far, in KiB, from /proc.
long statusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.starts_with(prefix)) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
  }
  return -1;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void say(const std::string& text) { textPane().Print(text); }

// ---- bench lexicon ----

// A run of this program as a child process: its wall time from start to
// end, its peak resident memory (wait4's ru_maxrss, KiB) and exit status.
// Linux counts into a child's peak the peak of the process it was started
// from (the spawn shares this process's memory until the child's exec), so
// the children run while this process is still small.
struct ChildRun {
  double seconds = 0;
  long peakKiB = 0;
  int exitCode = -1;
};

// Runs the program with `args` (after the program name), `input` on its
// standard input and its output thrown away.
std::optional<ChildRun> runSelf(const std::vector<std::string>& args, std::string_view input) {
  std::vector<std::string> all = {"pexil-cli"};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The input waits in the pipe before the child starts, so nothing here
  // can block on it or write to a pipe nobody reads.
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
  const bool written = ::write(fds[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
  ::close(fds[1]);
  if (!written) {
    ::close(fds[0]);
    return std::nullopt;
  }
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) {
    ::close(fds[0]);
    return std::nullopt;
  }
  posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[0]);
  if (failed != 0) return std::nullopt;
  int status = 0;
  struct rusage usage {};
  if (::wait4(pid, &status, 0, &usage) != pid) return std::nullopt;
  ChildRun run;
  run.seconds = secondsSince(start);
  run.peakKiB = usage.ru_maxrss;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// Asks the kernel to drop the data folder's files from the page cache, so
// that the next run reads them from the disk again (pages some process
// has mapped stay).
void dropDataFilesFromCache() {
  namespace fs = std::filesystem;
  std::error_code error;
  for (fs::directory_iterator it(".", error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
  }
}

// Start-up of a new process running `args`: once with the data files
// dropped from the page cache, then the best of three warm runs. False,
// with nothing said, when the child could not load the word list.
bool reportChildRuns(const char* what, const std::vector<std::string>& args, std::string_view input) {
  dropDataFilesFromCache();
  const auto cold = runSelf(args, input);
  if (cold && cold->exitCode == kExitNoWordList) return false;
  std::optional<ChildRun> warm;
  for (int i = 0; i < 3; ++i) {
    const auto run = runSelf(args, input);
    if (run && (!warm || run->seconds < warm->seconds)) warm = run;
  }
  if (!cold || !warm) {
    say(FormatText("%s: the program could not be run as a child process", what));
    return true;
  }
  say(FormatText("%s: %.3f s, peak resident %.1f MiB from a cold page cache; warm %.3f s, %.1f MiB (best of 3)", what,
                 cold->seconds, cold->peakKiB / 1024.0, warm->seconds, warm->peakKiB / 1024.0));
  return true;
}

// check CAT and play to its first prompt, each as a new process with the
// bench's game and list.
void reportStartUps(const ParsedOptions& options) {
  std::error_code error;
  std::vector<std::string> common = {"--data", std::filesystem::current_path(error).string(), "--no-colour"};
  if (const auto type = options.value("--type")) common.insert(common.end(), {"--type", *type});
  if (const auto kind = options.value("--kind")) common.insert(common.end(), {"--kind", *kind});
  if (const auto list = options.value("--list")) common.insert(common.end(), {"--list", userInputPath(*list)});
  std::vector<std::string> check = common, play = common;
  check.insert(check.end(), {"check", "CAT"});
  play.push_back("play");
  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  if (reportChildRuns("check CAT, a new process", check, "")) {
    reportChildRuns("play to its first prompt, a new process", play, "quit\n");
  }
  pane.SetNoWrap(wasNoWrap);
}

// Loads in this process: with and without the graph and from the texts,
// then lookups.
int benchLexiconLoads(const ParsedOptions& options) {
  const long rssBefore = statusKiB("VmRSS");
  // Load with the word graph (when the list has one), then without it.
  auto start = Clock::now();
  const auto chosen = loadChosenLexicon(options);
  if (!chosen.lexicon) return chosen.exitCode;
  const Lexicon* withGraph = chosen.lexicon.get();
  const double loadWithGraph = secondsSince(start);
  const long rssLoaded = statusKiB("VmRSS");
  const bool hasGraph = withGraph->graph() != nullptr;

  Lexicon withoutGraph;
  withoutGraph.loadLeaves = false;
  withoutGraph.useGraphFile = false;
  start = Clock::now();
  loadWordListWithTables(withoutGraph, withGraph->fileName());
  const double loadWithoutGraph = secondsSince(start);

  // The same from the texts, as without a binary form.
  Lexicon fromText;
  fromText.loadLeaves = false;
  fromText.useBinaryFile = false;
  start = Clock::now();
  loadWordListWithTables(fromText, withGraph->fileName());
  const double loadFromText = secondsSince(start);

  // Lookups: words of the list and random letter strings, half and half.
  Mt19937 random;
  random.seed(12345);
  std::vector<std::string> queries;
  const int n = withGraph->wordCount();
  for (int i = 0; i < 100000; ++i) {
    if (i % 2 == 0) {
      queries.emplace_back(withGraph->textView(static_cast<EntryIndex>(random.next() % static_cast<unsigned>(n))));
    } else {
      std::string junk(2 + random.next() % 8, 'a');
      for (char& c : junk) c = static_cast<char>('a' + random.next() % 26);
      queries.push_back(std::move(junk));
    }
  }
  long found = 0, lookups = 0;
  start = Clock::now();
  double elapsed = 0;
  do {
    for (const std::string& q : queries) found += withGraph->isWord(q, 0) ? 1 : 0;
    lookups += static_cast<long>(queries.size());
    elapsed = secondsSince(start);
  } while (elapsed < 1.0);

  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words, %zu trie nodes%s)", withGraph->fileName().c_str(), n,
                 withGraph->trieNodeCount(),
                 hasGraph ? FormatText(", %zu graph nodes", withGraph->graph()->nodeCount()).c_str() : ", no graph"));
  say(FormatText("Load time with graph:    %.3f s%s", loadWithGraph, hasGraph ? "" : " (no graph file)"));
  say(FormatText("Load time without graph: %.3f s", loadWithoutGraph));
  say(FormatText("Load time from the texts (list and graph, no binary form): %.3f s; the loads above %s", loadFromText,
                 withGraph->loadedFromBinary() ? "used the binary form" : "read the texts too"));
  say(FormatText("Memory: %.1f MiB resident for the loaded list; peak resident %.1f MiB",
                 (rssLoaded - rssBefore) / 1024.0, statusKiB("VmHWM") / 1024.0));
  say(FormatText("isWord: %.2f million lookups per second (%ld of %ld found)", lookups / elapsed / 1e6, found, lookups));
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

int benchLexicon(const ParsedOptions& options) {
  // New processes first, while this one is small and maps no data file.
  reportStartUps(options);
  return benchLexiconLoads(options);
}

// ---- bench movegen ----

constexpr std::uint32_t kMovegenSeed = 20240229;
constexpr int kMovegenPositions = 400;
constexpr double kMovegenSeconds = 2.0;

// FNV-1a, 64 bits.
struct Fnv1a {
  std::uint64_t value = 0xcbf29ce484222325ull;
  void add(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
      value ^= bytes[i];
      value *= 0x100000001b3ull;
    }
  }
  void add(std::int32_t n) { add(&n, sizeof n); }
};

void addMove(Fnv1a& hash, const Move& move) {
  const std::string_view word = move.wordView();
  hash.add(word.data(), word.size());
  hash.add(0);
  hash.add(move.column);
  hash.add(move.row);
  hash.add(move.direction);
  hash.add(move.score);
  for (int blank : move.blankPositions) {
    if (blank >= 0) hash.add(blank);
  }
}

// Mid-game positions from seeded highest-scoring self-play: each game runs
// 4 to 12 turns and stops while the bag still holds tiles.
std::vector<Game> selfPlayPositions(const std::shared_ptr<Lexicon>& lexicon, int count) {
  setProgramSeed(kMovegenSeed);
  Mt19937 turnsRandom;
  turnsRandom.seed(kMovegenSeed);
  std::vector<Game> positions;
  positions.reserve(static_cast<std::size_t>(count));
  for (int attempt = 0; static_cast<int>(positions.size()) < count && attempt < count * 10; ++attempt) {
    Game game;
    startGame(game, 2, lexicon);
    prepareBoard(game);
    game.highestScoreBest = true;
    const int turns = 4 + static_cast<int>(turnsRandom.next() % 9);
    int played = 0;
    while (played < turns && game.bag.total() > 0) {
      GenerateMoves(game, true);
      if (isNonPlacement(game.bestMove)) break;
      commitPlacement(game, game.bestMove);
      ++played;
    }
    if (played == 0 || game.bag.total() == 0) continue;
    game.highestScoreBest = false;
    game.moves.clear();
    game.moves.shrink_to_fit();
    game.candidates.clear();
    game.candidates.shrink_to_fit();
    positions.push_back(game);
  }
  return positions;
}

int benchMovegen(const ParsedOptions& options) {
  auto chosen = loadChosenLexicon(options);
  if (!chosen.lexicon) return chosen.exitCode;
  const std::shared_ptr<Lexicon> lexicon(std::move(chosen.lexicon));

  auto start = Clock::now();
  const std::vector<Game> positions = selfPlayPositions(lexicon, kMovegenPositions);
  const double setUpTime = secondsSince(start);
  if (positions.empty()) return 1;
  const auto n = static_cast<long>(positions.size());
  long tilesOnBoard = 0, tilesInBag = 0;
  for (const Game& g : positions) {
    for (const Square& s : g.board.squares) tilesOnBoard += s.empty() ? 0 : 1;
    tilesInBag += g.bag.total();
  }

  // Every pass generates for copies of the same positions.
  std::vector<Game> work = positions;

  // --only best or --only full times one kind (for profiling).
  const std::string only = options.value("--only").value_or("");
  if (only != "" && only != "best" && only != "full") {
    PrintMessageF(msg::CliBadOption, ("--only " + only).c_str());
    return 2;
  }

  // One pass of each kind for the checksums (and to warm up): every move
  // of the full lists, and the best-only choices.
  Fnv1a checksum, bestChecksum;
  long movesPerPass = 0;
  if (only != "best") {
    for (Game& g : work) {
      GenerateMoves(g, false);
      movesPerPass += static_cast<long>(g.moves.size());
      for (const Move& m : g.moves) addMove(checksum, m);
    }
  }
  if (only != "full") {
    for (Game& g : work) {
      GenerateMoves(g, true);
      addMove(bestChecksum, g.bestMove);
    }
  }

  long fullGenerations = 0, movesGenerated = 0;
  double cpuStart = threadCpuSeconds();
  double fullTime = 0;
  if (only != "best") do {
    for (Game& g : work) {
      GenerateMoves(g, false);
      movesGenerated += static_cast<long>(g.moves.size());
    }
    fullGenerations += n;
    fullTime = threadCpuSeconds() - cpuStart;
  } while (fullTime < kMovegenSeconds);

  long bestGenerations = 0;
  cpuStart = threadCpuSeconds();
  double bestTime = 0;
  if (only != "full") do {
    for (Game& g : work) GenerateMoves(g, true);
    bestGenerations += n;
    bestTime = threadCpuSeconds() - cpuStart;
  } while (bestTime < kMovegenSeconds);

  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words)", lexicon->fileName().c_str(), lexicon->wordCount()));
  say(FormatText("Positions: %ld from seeded self-play in %.2f s; on average %.1f tiles on the board, %.1f in the bag",
                 n, setUpTime, static_cast<double>(tilesOnBoard) / n, static_cast<double>(tilesInBag) / n));
  if (fullGenerations > 0) {
    say(FormatText("Full generation: %.0f positions per second (%ld in %.2f s of CPU time, one thread)", fullGenerations / fullTime,
                   fullGenerations, fullTime));
    say(FormatText("Moves: %.3f million per second; %.1f moves per position on average",
                   movesGenerated / fullTime / 1e6, static_cast<double>(movesPerPass) / n));
  }
  if (bestGenerations > 0) {
    say(FormatText("Best-only generation: %.0f positions per second (%ld in %.2f s of CPU time, one thread)",
                   bestGenerations / bestTime, bestGenerations, bestTime));
  }
  if (only != "best") {
    say(FormatText("Checksum of the %ld moves of one pass: %016llx", movesPerPass,
                   static_cast<unsigned long long>(checksum.value)));
  }
  if (only != "full") {
    say(FormatText("Checksum of the best-only choices: %016llx", static_cast<unsigned long long>(bestChecksum.value)));
  }
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

// ---- bench sim ----

constexpr int kSimCandidates = 15;
constexpr int kSimPly = 2;
constexpr int kSimIterations = 100;
constexpr std::uint32_t kSimSeed = 20261209;

// Rollouts (one simulation iteration of one candidate: the candidate and
// two plies of best-only replies, strategy 2 with the leave tables) of the
// 15 best moves of a fixed mid-game position shipped with the program
// (bench-sim.pexil; with --list or --type, a seeded self-play position of
// that list instead): a fixed number of iterations each on one thread,
// then spread over all threads. Prints rollouts per second, and a checksum
// of the one-thread sums so that any change in simulated play shows.
// The fast lookahead on the position, to its own stop, on one worker and
// then on every thread: iterations per second of the workers' CPU time and
// of the clock, and a checksum of the one-worker run (which depends on the
// seed alone).
int benchSimFast(Game& game, std::uint32_t seed) {
  // `cpu`: the workers' CPU time, without the set-up before them.
  const auto run = [&](int threads, Fnv1a* checksum, double& seconds, double& cpu) {
    Game copy = game;
    copy.random.seed(seed);
    const auto wallStart = Clock::now();
    FastLookahead(copy, kSimPly, threads);
    seconds = secondsSince(wallStart);
    cpu = lastWorkerSeconds();
    long long iterations = 0;
    int candidates = 0;
    for (const Move& move : copy.moves) {
      if (move.simCount <= 0 || move.simCount == 54321) continue;
      iterations += move.simCount;
      ++candidates;
      if (checksum) {
        checksum->add(static_cast<std::int32_t>(move.simCount));
        checksum->add(static_cast<std::int32_t>(std::lround(move.simValueA * 100)));
      }
    }
    return std::pair<long long, int>(iterations, candidates);
  };
  Fnv1a checksum;
  double oneWall = 0, oneCpu = 0, allWall = 0, allCpu = 0;
  const auto [oneIterations, candidates] = run(1, &checksum, oneWall, oneCpu);
  const int threads = std::max(1, game.threads);
  const auto [allIterations, allCandidates] = run(threads, nullptr, allWall, allCpu);
  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words)", game.lexicon->fileName().c_str(), game.lexicon->wordCount()));
  say(FormatText("Position: move %d, rack %s, %d tiles in the bag; fast lookahead, %d plies, to its own stop",
                 game.moveNumber + 1, rackString(game.racks[static_cast<std::size_t>(game.toMove)]).c_str(),
                 game.bag.total(), kSimPly));
  say(FormatText("One worker: %lld iterations over %d candidates, %.0f per second of its CPU time (%.2f s; %.2f s in all)",
                 oneIterations, candidates, oneIterations / std::max(oneCpu, 1e-9), oneCpu, oneWall));
  say(FormatText("%d workers: %lld iterations over %d candidates, %.0f per second, %.0f per thread of CPU time (%.2f s)",
                 threads, allIterations, allCandidates, allIterations / std::max(allWall, 1e-9),
                 allIterations / std::max(allCpu, 1e-9), allWall));
  say(FormatText("Checksum of the one-worker results (seed %u): %016llx", static_cast<unsigned>(seed),
                 static_cast<unsigned long long>(checksum.value)));
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

int benchSim(const ParsedOptions& options) {
  long long iterations = kSimIterations;
  if (const auto text = options.value("--iterations")) {
    const auto n = parseNumber(*text, 1, 1000000);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--iterations " + *text).c_str());
      return 2;
    }
    iterations = *n;
  }
  Game game;
  if (options.value("--list") || options.value("--type") || options.value("--kind")) {
    auto chosen = loadChosenLexicon(options);
    if (!chosen.lexicon) return chosen.exitCode;
    const std::shared_ptr<Lexicon> lexicon(std::move(chosen.lexicon));
    LoadRackTables(*lexicon);
    std::vector<Game> positions = selfPlayPositions(lexicon, 1);
    if (positions.empty()) return 1;
    game = positions.front();
  } else {
    // Opened as `--open` opens a position: with the game definitions.
    ParsedOptions open;
    open.values["--open"] = "bench-sim.pexil";
    bool opened = false;
    int failure = 1;
    if (!openFromOptions(game, open, opened, &failure)) return failure;
  }
  const std::uint32_t seed = programSeed().value_or(kSimSeed);
  game.strategies[0] = game.strategies[1] = 2;
  game.quiet = true;
  const std::string engine = options.value("--engine").value_or("threaded");
  if (engine == "fast") return benchSimFast(game, seed);
  if (engine != "threaded") {
    PrintMessageF(msg::CliBadOption, ("--engine " + engine).c_str());
    return 2;
  }
  GenerateMoves(game, Generation::fullList);
  std::vector<Move> candidates(game.moves.begin(),
                               game.moves.begin() + std::min<std::ptrdiff_t>(kSimCandidates, static_cast<std::ptrdiff_t>(game.moves.size())));
  if (candidates.empty()) return 1;
  game.targetTurn = game.moveNumber + kSimPly;
  game.winProbAtHorizon = WinProbAtHorizon(game);
  const std::shared_ptr<const WinProbTable> table = sharedWinProbTable(game.playerCount);
  const WinProbTable* horizon = table.get();

  // The candidates k, k + step, ... on one game copy with its own seed.
  const auto simulateShare = [&](Game& copy, std::size_t first, std::size_t step, Fnv1a* checksum) {
    PositionSnapshot snapshot;
    for (std::size_t c = first; c < candidates.size(); c += step) {
      IterationSums sums;
      for (long long i = 0; i < iterations; ++i) RunIteration(copy, candidates[c], nullptr, horizon, sums, snapshot);
      if (checksum) {
        checksum->add(static_cast<std::int32_t>(sums.spread));
        checksum->add(static_cast<std::int32_t>(sums.win * 100));
      }
    }
  };
  const long long rollouts = iterations * static_cast<long long>(candidates.size());

  // Untimed: a few iterations of every candidate on a copy of its own, so
  // that the timings see the word map built and the tables' pages read in.
  {
    Game warm = game;
    warm.random.seed(seed ^ 0x5A5A5A5Au);
    PositionSnapshot snapshot;
    for (const Move& candidate : candidates) {
      IterationSums sums;
      for (int i = 0; i < 5; ++i) RunIteration(warm, candidate, nullptr, horizon, sums, snapshot);
    }
  }

  Fnv1a checksum;
  Game single = game;
  single.random.seed(seed);
  const double cpuStart = threadCpuSeconds();
  simulateShare(single, 0, 1, &checksum);
  const double oneThread = threadCpuSeconds() - cpuStart;

  const int threads = std::max(1, game.threads);
  std::vector<std::unique_ptr<Game>> copies;
  for (int k = 0; k < threads; ++k) {
    copies.push_back(std::make_unique<Game>(game));
    copies.back()->random.seed(seed + 1 + static_cast<std::uint32_t>(k));
  }
  const auto wallStart = Clock::now();
  {
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int k = 0; k < threads; ++k) {
      Game* copy = copies[static_cast<std::size_t>(k)].get();
      workers.push_back(std::make_unique<WorkerThread>(
          [&, copy, k] { simulateShare(*copy, static_cast<std::size_t>(k), static_cast<std::size_t>(threads), nullptr); }));
    }
    for (auto& worker : workers) worker->join();
  }
  const double allThreads = secondsSince(wallStart);

  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words)", game.lexicon->fileName().c_str(), game.lexicon->wordCount()));
  say(FormatText("Position: move %d, rack %s, %d tiles in the bag; %d candidates, %lld iterations each, %d plies",
                 game.moveNumber + 1, rackString(game.racks[static_cast<std::size_t>(game.toMove)]).c_str(),
                 game.bag.total(), static_cast<int>(candidates.size()), iterations, kSimPly));
  say(FormatText("One thread: %.0f rollouts per second (%lld in %.2f s of CPU time)", rollouts / oneThread, rollouts, oneThread));
  say(FormatText("%d threads: %.0f rollouts per second, %.0f per thread (%lld in %.2f s)", threads, rollouts / allThreads,
                 rollouts / allThreads / threads, rollouts, allThreads));
  say(FormatText("Checksum of the one-thread results (seed %u): %016llx", static_cast<unsigned>(seed),
                 static_cast<unsigned long long>(checksum.value)));
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

// ---- bench selfplay ----

constexpr std::uint32_t kSelfplaySeed = 20240611;
constexpr int kSelfplayGames = 200;

// Whole games of static self-play, strategy 2 against 2, one thread, from a
// fixed seed: the same games on every run with the same word list.
int benchSelfplay(const ParsedOptions& options) {
  int games = kSelfplayGames;
  if (const auto text = options.value("--games")) {
    const auto n = parseNumber(*text, 1, 1000000);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--games " + *text).c_str());
      return 2;
    }
    games = static_cast<int>(*n);
  }
  auto chosen = loadChosenLexicon(options);
  if (!chosen.lexicon) return chosen.exitCode;
  const std::shared_ptr<Lexicon> lexicon(std::move(chosen.lexicon));
  // The strategy ranks by the leave values when the list has them.
  LoadRackTables(*lexicon);

  setProgramSeed(kSelfplaySeed);
  Game game;
  NewGame(game, 2, lexicon);
  game.historyEnabled = false;  // no undo snapshots
  game.strategies[0] = game.strategies[1] = 2;

  Fnv1a checksum;
  long moves = 0;
  long long scoreSum = 0;
  TextPane& pane = textPane();
  const bool wasQuiet = pane.Quiet();
  pane.SetQuiet(true);  // the move lines would time the terminal
  const double start = threadCpuSeconds();
  for (int g = 0; g < games; ++g) {
    Autoplay(game);
    moves += game.moveNumber;
    for (int p = 0; p < game.playerCount; ++p) {
      checksum.add(game.scores[static_cast<std::size_t>(p)]);
      scoreSum += game.scores[static_cast<std::size_t>(p)];
    }
  }
  const double elapsed = threadCpuSeconds() - start;
  pane.SetQuiet(wasQuiet);

  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words)", lexicon->fileName().c_str(), lexicon->wordCount()));
  say(FormatText("Self-play: %d games, strategy 2 against 2, seed %u, one thread, in %.2f s of CPU time", games,
                 static_cast<unsigned>(kSelfplaySeed), elapsed));
  say(FormatText("Games per second: %.2f", games / elapsed));
  say(FormatText("Moves per second: %.0f (%.1f moves per game)", moves / elapsed, static_cast<double>(moves) / games));
  say(FormatText("Mean score: %.1f", static_cast<double>(scoreSum) / (2.0 * games)));
  say(FormatText("Checksum of the final scores: %016llx", static_cast<unsigned long long>(checksum.value)));
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

}  // namespace

int runBench(const Arguments& args) {
  const auto options = parseOptions(
      args, {"--type", "--kind", "--list", "--games", "--only", "--iterations", "--threads", "--positions", "--seconds", "--pick", "--engine",
             "--tests", "--evaluations", "--processors", "--out"},
      {"--cpu"});
  if (!options) return 2;
  if (options->positional.size() == 1 && options->positional.front() == "lexicon") return benchLexicon(*options);
  if (options->positional.size() == 1 && options->positional.front() == "movegen") return benchMovegen(*options);
  if (options->positional.size() == 1 && options->positional.front() == "selfplay") return benchSelfplay(*options);
  if (options->positional.size() == 1 && options->positional.front() == "sim") return benchSim(*options);
  if (options->positional.size() == 1 && options->positional.front() == "endgame") return benchEndgame(*options);
  if (options->positional.size() == 1 && options->positional.front() == "suite") return benchSuite(*options);
  if (options->positional.size() == 1 && options->positional.front() == "positions") return benchPositions(*options);
  if (options->positional.size() == 1 && options->positional.front() == "results") {
    // The rates the benchmarks stored in the settings.
    PrintBenchmarkResults(StoredRates(SettingsStore()));
    return 0;
  }
  PrintMessageF(msg::CliBadOption, options->positional.empty() ? "bench" : options->positional.front().c_str());
  return 2;
}

}  // namespace pexil::cli
