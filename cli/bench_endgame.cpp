#include "bench_endgame.hpp"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "endgame_positions.hpp"
#include "game_choice.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "search/cpu_time.hpp"
#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "search/exact_endgame.hpp"
#include "search/pre_endgame.hpp"
#include "search/simulation_report.hpp"
#include "search/static_endgame.hpp"
#include "tables/rack_tables.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

constexpr std::uint32_t kEmptyBagSeed = 20250301;
constexpr std::uint32_t kOneTileSeed = 20250401;
constexpr int kEmptyBagPositions = 100;
constexpr int kOneTilePositions = 20;
constexpr int kDefaultSeconds = 60;

void say(const std::string& text) { textPane().Print(text); }

// What one search made of one position.
struct Outcome {
  bool solved = false;
  int value = 0;  // the mover's final spread
  long long nodes = 0;
  double seconds = 0;  // wall time
  int depth = 0;
  double cpu = 0;      // CPU time of all threads
  bool chose = false;  // a search that picks a move: the move it put first
  Move choice;
};

double wallSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The move a search put first, its value, and whether it was valued.
void takeChoice(const Game& game, Outcome& outcome) {
  if (game.moves.empty()) return;
  outcome.value = game.moves.front().equity;
  outcome.chose = true;
  outcome.choice = game.moves.front();
  outcome.solved = outcome.value != kNotSearched;
}

// A search of the table: run on a copy of each position.
struct EndgameColumn {
  std::string name;
  std::function<Outcome(Game&)> run;
};

// FNV-1a, 64 bits, over 32-bit values.
struct Checksum {
  std::uint64_t value = 0xcbf29ce484222325ull;
  void add(std::int32_t n) {
    for (int i = 0; i < 4; ++i) {
      value ^= static_cast<std::uint8_t>(static_cast<std::uint32_t>(n) >> (8 * i));
      value *= 0x100000001b3ull;
    }
  }
};

std::string racksOf(const Game& game) {
  return rackString(game.racks[static_cast<std::size_t>(game.toMove)]) + "/" +
         rackString(game.racks[static_cast<std::size_t>(1 - game.toMove)]);
}

int spreadOf(const Game& game) {
  return game.scores[static_cast<std::size_t>(game.toMove)] - game.scores[static_cast<std::size_t>(1 - game.toMove)];
}

std::optional<long long> numberOption(const ParsedOptions& options, const char* name, long long low, long long high,
                                      long long fallback, bool& bad) {
  const auto text = options.value(name);
  if (!text) return fallback;
  const auto n = parseNumber(*text, low, high);
  if (!n) {
    PrintMessageF(msg::CliBadOption, (std::string(name) + " " + *text).c_str());
    bad = true;
  }
  return n;
}

std::vector<std::string> commaList(const std::string& text) {
  std::vector<std::string> items;
  std::size_t from = 0;
  while (from < text.size()) {
    const std::size_t comma = std::min(text.find(',', from), text.size());
    if (comma > from) items.push_back(text.substr(from, comma - from));
    from = comma + 1;
  }
  return items;
}

}  // namespace

int benchEndgame(const ParsedOptions& options) {
  bool bad = false;
  const auto threads = numberOption(options, "--threads", 1, 64, 1, bad);
  const auto count = numberOption(options, "--positions", 1, 10000, kEmptyBagPositions, bad);
  const auto seconds = numberOption(options, "--seconds", 1, 86400, kDefaultSeconds, bad);
  if (bad) return 2;
  // On a shared machine the clock says little: --cpu counts the limit in
  // CPU time of the process.
  const bool cpuLimit = options.has("--cpu");
  // --only exact,static runs some of the searches (and peg the
  // one-tile positions); --pick 4,17 some of the
  // positions (numbered from 1), for looking into one of them.
  const auto only = commaList(options.value("--only").value_or(""));
  for (const std::string& name : only) {
    if (name != "exact" && name != "select" && name != "static" && name != "peg") {
      PrintMessageF(msg::CliBadOption, ("--only " + name).c_str());
      return 2;
    }
  }
  std::vector<long long> picked;
  for (const std::string& text : commaList(options.value("--pick").value_or(""))) {
    const auto n = parseNumber(text, 1, *count);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--pick " + text).c_str());
      return 2;
    }
    picked.push_back(*n);
  }
  auto chosen = loadChosenLexicon(options);
  if (!chosen.lexicon) return chosen.exitCode;
  const std::shared_ptr<Lexicon> lexicon(std::move(chosen.lexicon));
  // Self-play ranks by the leave values when the list has them.
  LoadRackTables(*lexicon);

  std::vector<EndgamePosition> positions = EndgameBenchPositions(lexicon, static_cast<int>(*count), 0, kEmptyBagSeed);
  if (!picked.empty()) {
    std::vector<EndgamePosition> some;
    for (const long long n : picked) some.push_back(positions[static_cast<std::size_t>(n - 1)]);
    positions = std::move(some);
  }
  const std::vector<EndgamePosition> oneTile = EndgameBenchPositions(lexicon, kOneTilePositions, 1, kOneTileSeed);

  const std::vector<EndgameColumn> columns = {
      {"exact", [&](Game& game) {
         ExactEndgameOptions search;
         search.threads = static_cast<int>(*threads);
         search.timeBudget = static_cast<int>(*seconds * 100);
         search.budgetInCpuTime = cpuLimit;
         const ExactEndgameResult r = ExactEndgameSearch(game, search);
         Outcome outcome;
         outcome.solved = r.solved;
         outcome.value = r.value;
         outcome.nodes = r.nodes;
         outcome.seconds = r.seconds;
         outcome.depth = r.depth;
         return outcome;
       }},
      {"select", [&](Game& game) {
         game.threads = static_cast<int>(*threads);
         game.timeBudget = static_cast<int>(*seconds * 100);
         const double start = wallSeconds();
         EndgameSearch(game);
         Outcome outcome;
         outcome.seconds = wallSeconds() - start;
         outcome.nodes = lastEndgameNodes();
         takeChoice(game, outcome);
         outcome.solved = outcome.solved && !endgameTimedOut();
         return outcome;
       }},
      {"static", [&](Game& game) {
         const double start = wallSeconds();
         game.endgameNodes = 0;
         StaticEndgame(game, false);
         Outcome outcome;
         outcome.seconds = wallSeconds() - start;
         outcome.nodes = game.endgameNodes;
         takeChoice(game, outcome);
         return outcome;
       }},
  };
  // The exact solver's results, by position, for judging the other searches' choices.
  std::vector<Outcome> exactResults(positions.size());

  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  say(FormatText("Word list: %s (%d words)", lexicon->fileName().c_str(), lexicon->wordCount()));
  say(FormatText("Endgames: %d positions with an empty bag (seeds from %u), %lld thread(s), at most %lld s%s each",
                 static_cast<int>(positions.size()), static_cast<unsigned>(kEmptyBagSeed), *threads, *seconds,
                 cpuLimit ? " of CPU time" : ""));

  struct Summary {
    std::string name;
    int solved = 0;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    long long nodes = 0;
    double cpuTotal = 0;
    double total = 0;
    Checksum checksum;
    int judged = 0;  // positions the exact solver solved, where the choice was valued
    int wrong = 0;   // choices worse than the exact best
    int outcomes = 0;  // ... of them, choices that turn a win into a draw or loss, or a draw into a loss
    long long lost = 0;
  };
  std::vector<Summary> summaries;
  for (const EndgameColumn& column : columns) {
    if (!only.empty() && std::find(only.begin(), only.end(), column.name) == only.end()) continue;
    Summary summary;
    summary.name = column.name;
    say("");
    say(FormatText("%-6s %-10s %-17s %6s %6s %5s %9s %9s %12s %s", "search", "seed", "racks (mover/other)", "spread",
                   "value", "depth", "seconds", "cpu s", "nodes", "solved"));
    for (const EndgamePosition& position : positions) {
      Game game = position.game;
      const double cpuStart = processCpuSeconds();
      Outcome outcome = column.run(game);
      outcome.cpu = processCpuSeconds() - cpuStart;
      const std::size_t index = static_cast<std::size_t>(&position - positions.data());
      if (&column == &columns.front()) exactResults[index] = outcome;
      std::string verdict;
      const Outcome& exact = exactResults[index];
      if (outcome.chose && exact.solved) {
        ExactEndgameOptions judge;
        judge.threads = static_cast<int>(*threads);
        judge.timeBudget = static_cast<int>(*seconds * 100);
        const ExactEndgameResult valued = ExactMoveValue(position.game, outcome.choice, judge);
        if (valued.ran && valued.solved) {
          ++summary.judged;
          if (valued.value < exact.value) {
            ++summary.wrong;
            summary.lost += exact.value - valued.value;
            const auto sign = [](int v) { return v > 0 ? 1 : v < 0 ? -1 : 0; };
            if (sign(valued.value) < sign(exact.value)) ++summary.outcomes;
            verdict = FormatText(" loses %d", exact.value - valued.value);
          }
        }
      }
      summary.cpuTimes.push_back(outcome.cpu);
      summary.cpuTotal += outcome.cpu;
      summary.solved += outcome.solved ? 1 : 0;
      summary.times.push_back(outcome.seconds);
      summary.nodes += outcome.nodes;
      summary.total += outcome.seconds;
      summary.checksum.add(static_cast<std::int32_t>(position.seed));
      summary.checksum.add(outcome.value);
      summary.checksum.add(outcome.solved ? 1 : 0);
      say(FormatText("%-6s %-10u %-17s %6d %6d %5d %9.3f %9.3f %12lld %s", column.name.c_str(),
                     static_cast<unsigned>(position.seed), racksOf(position.game).c_str(), spreadOf(position.game),
                     outcome.value, outcome.depth, outcome.seconds, outcome.cpu, outcome.nodes,
                     (std::string(outcome.solved ? "yes" : "no") + verdict).c_str()));
    }
    summaries.push_back(std::move(summary));
  }

  say("");
  say(FormatText("%-8s %-5s %9s %7s %9s %9s %9s %12s %s", "search", "clock", "positions", "solved", "median s", "p90 s",
                 "worst s", "nodes/s", "checksum of values"));
  for (const Summary& s : summaries) {
    for (int cpu = 0; cpu < 2; ++cpu) {
      const std::vector<double>& times = cpu ? s.cpuTimes : s.times;
      const double total = cpu ? s.cpuTotal : s.total;
      const double worst = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
      say(FormatText("%-8s %-5s %9d %7d %9.3f %9.3f %9.3f %12.0f %016llx", s.name.c_str(), cpu ? "cpu" : "wall",
                     static_cast<int>(times.size()), s.solved, Quantile(times, 0.5), Quantile(times, 0.9), worst,
                     total > 0 ? static_cast<double>(s.nodes) / total : 0.0, static_cast<unsigned long long>(s.checksum.value)));
    }
  }

  say("");
  say("Choices against the exact solver (positions it solved, the choice valued exactly):");
  for (const Summary& s : summaries) {
    if (s.name == columns.front().name) continue;
    say(FormatText("%-8s %d judged, %d worse than the best (%d of them change the result), %lld points of spread lost in all",
                   s.name.c_str(), s.judged, s.wrong, s.outcomes, s.lost));
  }

  if (!only.empty() && std::find(only.begin(), only.end(), "peg") == only.end()) {
    pane.SetNoWrap(wasNoWrap);
    return 0;
  }
  say("");
  // One tile in the bag: the pre-endgame of the move the static ranking
  // puts first among those that empty the bag, over the eight or so ways
  // the tile can fall.
  say(FormatText("Positions with one tile in the bag (seeds from %u): the pre-endgame of the first move that empties it",
                 static_cast<unsigned>(kOneTileSeed)));
  std::vector<double> pegTimes, pegCpu;
  Checksum pegChecksum;
  for (const EndgamePosition& position : oneTile) {
    Game game = position.game;
    game.quiet = true;
    GenerateMoves(game, Generation::fullList);
    const auto move = std::find_if(game.moves.begin(), game.moves.end(),
                                   [&](const Move& m) { return IsPreEndgameMove(game, m); });
    if (move == game.moves.end()) {
      say(FormatText("  seed %-10u racks %-17s no move empties the bag", static_cast<unsigned>(position.seed),
                     racksOf(position.game).c_str()));
      continue;
    }
    const double cpuStart = processCpuSeconds(), start = wallSeconds();
    const PreEndgameResult result = PreEndgameEvaluate(game, *move, static_cast<int>(*threads), 2000);
    pegTimes.push_back(wallSeconds() - start);
    pegCpu.push_back(processCpuSeconds() - cpuStart);
    pegChecksum.add(static_cast<std::int32_t>(position.seed));
    pegChecksum.add(static_cast<std::int32_t>(std::lround(result.winPercent * 100)));
    say(FormatText("  seed %-10u racks %-17s bag %s %-10s %2d draws, win %6.2f%%, %7.3f s, cpu %7.3f s",
                   static_cast<unsigned>(position.seed), racksOf(position.game).c_str(),
                   rackString(position.game.bag).c_str(), move->word, static_cast<int>(result.draws.size()),
                   result.winPercent, pegTimes.back(), pegCpu.back()));
  }
  for (int cpu = 0; cpu < 2; ++cpu) {
    const std::vector<double>& times = cpu ? pegCpu : pegTimes;
    const double worst = times.empty() ? 0 : *std::max_element(times.begin(), times.end());
    say(FormatText("%-8s %-5s %9d %7s %9.3f %9.3f %9.3f %12s %016llx", "peg", cpu ? "cpu" : "wall",
                   static_cast<int>(times.size()), "-", Quantile(times, 0.5), Quantile(times, 0.9), worst, "-",
                   static_cast<unsigned long long>(pegChecksum.value)));
  }
  pane.SetNoWrap(wasNoWrap);
  return 0;
}

}  // namespace pexil::cli
