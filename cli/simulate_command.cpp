// simulate: the lookahead simulation of a position's moves, printed as the
// engine's progress lines and then the moves by their simulated value.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "board_text_file.hpp"
#include "commands.hpp"
#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"
#include "rules/notation.hpp"
#include "search/fast_lookahead.hpp"
#include "search/known_racks.hpp"
#include "search/simulation.hpp"
#include "search/simulation_report.hpp"
#include "search/simulation_state.hpp"
#include "state/abort_flag.hpp"
#include "terminal_sink.hpp"
#include "text/highlight_marks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "typed_text.hpp"

namespace pexil::cli {
namespace {

// The simulated moves: word, position, score, mean spread, win chance and
// iterations; moves not simulated show their static equity only.
void printSimulated(const Game& game, int top) {
  const std::vector<Move>& list = game.moves;
  TextPane& pane = textPane();
  pane.Print(FormatText("%4s  %-18s %-5s %5s  %9s  %7s  %6s", "", "Word", "Where", "Score", "Spread", "Win", "Sims"));
  for (std::size_t i = 0; i < list.size() && static_cast<int>(i) < top; ++i) {
    const Move& move = list[i];
    const std::string word = moveWordOnBoard(game, move);
    const std::string where = isNonPlacement(move) ? std::string() : movePosition(move.direction, move.column, move.row, true);
    std::string line = FormatText("%4d  ", static_cast<int>(i + 1)) + word;
    line.append(std::max<std::size_t>(1, 19 - std::min<std::size_t>(19, shownLength(word))), ' ');
    line += FormatText("%-5s %5d", where.c_str(), move.score);
    if (move.simValueA != kNoSimValue && move.simCount > 0) {
      line += FormatText("  %+9.2f  %6.1f%%  %6d", static_cast<double>(move.simValueA), static_cast<double>(move.simValueB),
                         move.simCount);
    } else {
      line += FormatText("  %9s  equity %d.%d", "-", move.equity / 10, std::abs(move.equity % 10));
    }
    pane.Print(line);
  }
}

// A heat map as a grid: per square, the share of the recorded moves that
// covered it, in percent (".." for none).
void printHeatMap(const HeatMap& map, const char* title) {
  TextPane& pane = textPane();
  pane.Print(FormatText("%s (%d moves): percent of them covering each square", title, map.moves));
  for (int row = 0; row < map.height; ++row) {
    std::string line = FormatText("%2d ", row + 1);
    for (int column = 0; column < map.width; ++column) {
      const int count = map.counts[static_cast<std::size_t>(row * map.width + column)];
      const int percent = map.moves > 0 ? static_cast<int>(100LL * count / map.moves) : 0;
      line += count == 0 ? " .." : FormatText(" %2d", std::min(percent, 99));
    }
    pane.Print(line);
  }
}

void printHeatMaps(const Game& game, const Move& move) {
  const SimulationStats* stats = simulationStatsOf(game, move);
  if (stats == nullptr || !stats->hasHeatMaps) return;
  textPane().Print("");
  printHeatMap(stats->replyHeat, "Opponent's replies");
  textPane().Print("");
  printHeatMap(stats->nextHeat, "Next moves");
}

}  // namespace

bool setKnownTiles(Game& game, const std::string& latin1) {
  if (latin1.empty()) {
    SetTypedKnownTiles(game, "");
    UseTypedKnownTiles(game);
    return true;
  }
  const auto tiles = parseRackText(latin1);
  if (!tiles) return false;
  if (!SetTypedKnownTiles(game, *tiles)) {
    PrintMessageF(msg::KnownTilesBad, latin1.c_str(), rules().rackSize);
    return false;
  }
  UseTypedKnownTiles(game);
  return true;
}

int runSimulate(const Arguments& args) {
  const char* usage =
      "simulate --board FILE --rack TILES, or simulate --open POSITION/RECORD [--move N] [--rack TILES]";
  const auto options = parseOptions(args,
                                    {"--board", "--rack", "--type", "--kind", "--list", "--open", "--move", "--ply",
                                     "--engine", "--threads", "--iterations", "--candidates", "--stdev", "--seconds",
                                     "--top", "--known-tiles", "--mood"},
                                    {"--winprob", "--heatmaps", "--guess", "--stats", "--static-endgame"});
  if (!options) return 2;
  const bool fromFile = options->value("--open").has_value();
  const auto boardFile = options->value("--board");
  if (fromFile == boardFile.has_value() || (boardFile && !options->value("--rack")) || !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, usage);
    return 2;
  }
  const std::string engine = options->value("--engine").value_or("threaded");
  if (engine != "threaded" && engine != "single" && engine != "fast") {
    PrintMessageF(msg::CliBadOption, ("--engine " + engine).c_str());
    return 2;
  }
  auto number = [&](const char* name, long long low, long long high, long long fallback) -> std::optional<long long> {
    const auto text = options->value(name);
    if (!text) return fallback;
    const auto n = parseNumber(*text, low, high);
    if (!n) PrintMessageF(msg::CliBadOption, (std::string(name) + " " + *text).c_str());
    return n;
  };
  const auto ply = number("--ply", 0, 20, 2);
  const auto iterations = number("--iterations", 1, 1000000, 200);
  const auto candidates = number("--candidates", 1, 1000, 10);
  const auto seconds = number("--seconds", 0, 86400, 0);
  const auto top = number("--top", 1, 100000, 20);
  const auto threads = number("--threads", 1, 256, 0);
  const auto mood = number("--mood", -3, 3, 0);
  if (!ply || !iterations || !candidates || !seconds || !top || !threads || !mood) return 2;
  const bool fast = engine == "fast";
  if (!fast && (options->value("--mood") || options->has("--heatmaps") || options->has("--guess") || options->has("--stats"))) {
    PrintMessageF(msg::CliBadOption, "--mood, --heatmaps, --guess and --stats (fast engine only)");
    return 2;
  }
  double stdevStop = engine == "single" ? 0.25 : 0.1;
  if (const auto text = options->value("--stdev")) {
    char* end = nullptr;
    stdevStop = std::strtod(text->c_str(), &end);
    if (text->empty() || *end != '\0' || !(stdevStop >= 0) || stdevStop > 1000) {
      PrintMessageF(msg::CliBadOption, ("--stdev " + *text).c_str());
      return 2;
    }
  }

  const auto knownTiles = options->value("--known-tiles");
  if (knownTiles && engine == "single") {
    PrintMessageF(msg::CliBadOption, "--known-tiles (threaded and fast engines only)");
    return 2;
  }

  NoWrapPane noWrap;
  Game game;
  if (const int failed = setUpMoverPosition(*options, game)) return failed;
  if (knownTiles) {
    // Read in the list's alphabet, so only now.
    const auto latin1 = decodeTypedText(*knownTiles);
    if (!latin1 || !setKnownTiles(game, *latin1)) return 1;
  }
  game.maximizeWinProb = options->has("--winprob");
  game.staticEndgameInSimulation = options->has("--static-endgame");
  game.timeBudget = static_cast<int>(*seconds * 100);
  // Ctrl-C stops the simulation with what it has.
  clearAbort();
  setInterruptStopsSearch(true);
  game.mood = static_cast<int>(*mood);
  game.trackHeatmaps = options->has("--heatmaps");
  game.guessRackDistribution = options->has("--guess");
  const int workers = *threads > 0 ? static_cast<int>(*threads) : game.threads;
  if (fast) {
    FastLookahead(game, static_cast<int>(*ply), workers);
  } else if (engine == "single") {
    SimulateSingleThreaded(game, static_cast<int>(*ply), static_cast<int>(*iterations), stdevStop,
                           static_cast<int>(*candidates));
  } else {
    SimulateThreaded(game, workers, static_cast<int>(*ply), stdevStop);
  }
  setInterruptStopsSearch(false);
  printSimulated(game, static_cast<int>(*top));
  if (fast && !game.moves.empty() && (options->has("--stats") || game.trackHeatmaps)) {
    textPane().Print("");
    textPane().Print(SimulationResultsHeading(game));
    PrintSimulationStats(game, game.moves.front());
    if (game.trackHeatmaps) printHeatMaps(game, game.moves.front());
  }
  return 0;
}

}  // namespace pexil::cli
