// endgame and peg: the endgame searches of a position (the selective
// search, the static endgame, the exact solver) and the pre-endgame value
// of a move that empties the bag.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "commands.hpp"
#include "movegen/generator.hpp"
#include "play_typed_move.hpp"
#include "rules/notation.hpp"
#include "search/endgame.hpp"
#include "search/fast_lookahead.hpp"
#include "search/endgame_state.hpp"
#include "search/exact_endgame.hpp"
#include "search/pre_endgame.hpp"
#include "search/static_endgame.hpp"
#include "state/abort_flag.hpp"
#include "terminal_sink.hpp"
#include "typed_text.hpp"
#include "text/highlight_marks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

const char* const kPositionUsage =
    "--board FILE --rack TILES, or --open POSITION/RECORD [--move N] [--rack TILES]";

// The position options every command here takes, checked: one of --open
// and --board (which needs --rack).
bool positionGiven(const ParsedOptions& options) {
  const bool fromFile = options.value("--open").has_value();
  const auto boardFile = options.value("--board");
  return fromFile != boardFile.has_value() && !(boardFile && !options.value("--rack"));
}

std::optional<long long> numberOption(const ParsedOptions& options, const char* name, long long low, long long high,
                                      long long fallback) {
  const auto text = options.value(name);
  if (!text) return fallback;
  const auto n = parseNumber(*text, low, high);
  if (!n) PrintMessageF(msg::CliBadOption, (std::string(name) + " " + *text).c_str());
  return n;
}

// --seconds, --threads and --top, checked (0 seconds: no budget; 0
// threads: the processors).
struct SearchLimits {
  std::optional<long long> seconds, threads, top;
};
std::optional<SearchLimits> searchLimits(const ParsedOptions& options) {
  SearchLimits limits{numberOption(options, "--seconds", 0, 86400, 0), numberOption(options, "--threads", 1, 256, 0),
                      numberOption(options, "--top", 1, 100000, 20)};
  if (!limits.seconds || !limits.threads || !limits.top) return std::nullopt;
  return limits;
}

std::string wherePlayed(const Move& move) {
  return isNonPlacement(move) ? std::string() : movePosition(move.direction, move.column, move.row, true);
}

// One line of a move list: rank, word, position, score, then the value.
std::string moveLine(const Game& game, int rank, const Move& move, const std::string& value) {
  const std::string word = moveWordOnBoard(game, move);
  std::string line = FormatText("%4d  ", rank) + word;
  line.append(std::max<std::size_t>(1, 19 - std::min<std::size_t>(19, shownLength(word))), ' ');
  line += FormatText("%-5s %5d  ", wherePlayed(move).c_str(), move.score) + value;
  return line;
}

}  // namespace

void printEndgameList(const Game& game, int top, int exactMoves) {
  const std::vector<Move>& list = game.moves;
  TextPane& pane = textPane();
  pane.Print(FormatText("%4s  %-18s %-5s %5s  %s", "", "Word", "Where", "Score", "Spread"));
  for (std::size_t i = 0; i < list.size() && static_cast<int>(i) < top; ++i) {
    const Move& move = list[i];
    std::string value = move.equity == kNotSearched ? std::string("-") : FormatText("%+d", move.equity);
    if (exactMoves >= 0 && static_cast<int>(i) >= exactMoves && move.equity != kNotSearched) value = "<= " + value;
    pane.Print(moveLine(game, static_cast<int>(i + 1), move, value));
  }
}

namespace {

// The move typed on the command line ("8D WORD", "D8 WORD", "pass") as the
// generated list holds it, or none after reporting.
std::optional<Move> listedMove(Game& game, const std::vector<std::string>& words) {
  GenerateMoves(game, Generation::fullList);
  const std::vector<Move>& list = game.moves;
  if (words.size() == 1 && (words[0] == "pass" || words[0] == "(Pass)")) {
    const auto pass = std::find_if(list.begin(), list.end(), [](const Move& m) { return isPass(m); });
    if (pass != list.end()) return *pass;
    Move move;
    move.word = label::pass;
    return move;
  }
  if (words.size() != 2) {
    PrintMessageF(msg::CliBadOption, "peg 8D WORD / D8 WORD / pass");
    return std::nullopt;
  }
  const auto at = readPosition(game.board, words[0]);
  if (!at) {
    PrintMessageF(msg::CliBadOption, words[0].c_str());
    return std::nullopt;
  }
  // The word as typed on the command line (UTF-8), in the game's Latin-1.
  const auto word = decodeTypedText(words[1]);
  if (!word) return std::nullopt;
  const auto typed = typedPlacement(game, *at, *word);
  if (!typed) return std::nullopt;
  GenerateMoves(game, Generation::fullList);
  for (const Move& move : game.moves) {
    if (move.column == typed->column && move.row == typed->row && move.direction == typed->direction &&
        std::string_view(move.word) == std::string_view(typed->word) && move.blankPositions == typed->blankPositions) {
      return move;
    }
  }
  // Blanks typed elsewhere than the list puts them: the same word at the same place.
  for (const Move& move : game.moves) {
    if (move.column == typed->column && move.row == typed->row && move.direction == typed->direction &&
        std::string_view(move.word) == std::string_view(typed->word)) {
      return move;
    }
  }
  return typed;
}

}  // namespace

void applyEndgameOptions(const ParsedOptions& options) {
  endgameOptions().exact = options.has("--exact-endgame");
  endgameOptions().greedier = options.has("--greedier-endgame");
}

int runEndgame(const Arguments& args) {
  const std::string usage = std::string("endgame ") + kPositionUsage + " [--exact / --static] [--seconds S]";
  const auto options = parseOptions(args, {"--board", "--rack", "--type", "--kind", "--list", "--open", "--move",
                                           "--seconds", "--threads", "--top"},
                                    {"--exact", "--static", "--greedier"});
  if (!options) return 2;
  if (!positionGiven(*options) || !options->positional.empty() ||
      (options->has("--exact") && options->has("--static"))) {
    PrintMessageF(msg::CliBadOption, usage.c_str());
    return 2;
  }
  const auto limits = searchLimits(*options);
  if (!limits) return 2;
  const auto seconds = limits->seconds, threads = limits->threads, top = limits->top;

  NoWrapPane noWrap;
  Game game;
  if (const int failed = setUpMoverPosition(*options, game)) return failed;
  if (!IsEndgame(game)) {
    textPane().Print("Not an endgame: the bag must be empty (or, with the opponent's rack empty, hold at most a rackful).\n");
    return 1;
  }
  if (*threads > 0) game.threads = static_cast<int>(*threads);
  game.timeBudget = static_cast<int>(*seconds * 100);
  const bool greedier = endgameOptions().greedier;
  endgameOptions().greedier = options->has("--greedier");
  clearAbort();
  setInterruptStopsSearch(true);
  int exactMoves = -1;
  int status = 0;
  if (options->has("--static")) {
    StaticEndgame(game, false);
  } else if (options->has("--exact")) {
    FillOpponentRackFromBag(game);
    ExactEndgameOptions exact;
    exact.threads = game.threads;
    exact.timeBudget = game.timeBudget;
    const ExactEndgameResult result = ExactEndgameSearch(game, exact);
    if (!result.ran) {
      textPane().Print("The exact solver needs tiles on both racks, a board with tiles and no anagram rule.\n");
      status = 1;
    } else {
      exactMoves = result.exactMoves;
      textPane().Print(FormatText(result.solved ? "Solved: best spread %+d (%d placements deep, %lld nodes, %.2f seconds)\n"
                                                : "Not solved in time: best found %+d (%d placements deep, %lld nodes, %.2f seconds)\n",
                                  result.value, result.depth, result.nodes, result.seconds));
    }
  } else {
    EndgameSearch(game);
  }
  setInterruptStopsSearch(false);
  endgameOptions().greedier = greedier;
  if (status == 0) printEndgameList(game, static_cast<int>(*top), exactMoves);
  return status;
}

int runPeg(const Arguments& args) {
  const std::string usage = std::string("peg 8D WORD / D8 WORD / pass / --all, ") + kPositionUsage;
  const auto options = parseOptions(args, {"--board", "--rack", "--type", "--kind", "--list", "--open", "--move",
                                           "--seconds", "--threads", "--top"},
                                    {"--all"});
  if (!options) return 2;
  const bool all = options->has("--all");
  if (!positionGiven(*options) || all == !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, usage.c_str());
    return 2;
  }
  const auto limits = searchLimits(*options);
  if (!limits) return 2;
  const auto seconds = limits->seconds, threads = limits->threads, top = limits->top;

  NoWrapPane noWrap;
  Game game;
  if (const int failed = setUpMoverPosition(*options, game)) return failed;
  if (game.playerCount != 2 || game.bag.total() == 0) {
    textPane().Print("No pre-endgame: a two-player game with tiles in the bag is needed.\n");
    return 1;
  }
  const int threadCount = *threads > 0 ? static_cast<int>(*threads) : game.threads;
  game.timeBudget = static_cast<int>(*seconds * 100);
  startEndgameClock();
  clearAbort();
  setInterruptStopsSearch(true);
  int status = 0;
  TextPane& pane = textPane();
  if (!all) {
    const auto move = listedMove(game, options->positional);
    if (!move) {
      setInterruptStopsSearch(false);
      return 1;
    }
    pane.Print("Running pre-end game analysis...\n");
    if (isPass(*move)) {
      const float value = PreEndgamePassValue(game, threadCount);
      if (value < 0) {
        pane.Print("The pass is valued with exactly one tile in the bag.\n");
        status = 1;
      } else {
        pane.Print(FormatText("Win probability of passing: %.2f%%\n", static_cast<double>(value)));
      }
    } else if (!IsPreEndgameMove(game, *move)) {
      pane.Print("This move does not empty the bag.\n");
      status = 1;
    } else {
      const PreEndgameResult result = PreEndgameEvaluate(game, *move, threadCount, 2000);
      if (result.tooManyDraws) {
        pane.Print("Too many possible well draws for PEG analysis, continuing\nwith normal simulation.\n");
        status = 1;
      } else {
        PrintPreEndgameReport(result);
        if (result.winPercent < 0) status = 1;
      }
    }
  } else {
    // Every move that empties the bag (and, with one tile in the bag, the pass).
    GenerateMoves(game, Generation::fullList);
    std::vector<Move> list = game.moves;
    pane.Print("Starting pre-end game evaluation.\n");
    std::vector<Move> valued;
    for (Move move : list) {
      if (abortRequested()) break;
      float value = -1.0f;
      if (isPass(move)) {
        if (game.bag.total() == 1) value = PreEndgamePassValue(game, threadCount);
      } else if (IsPreEndgameMove(game, move)) {
        value = PreEndgameValue(game, move, threadCount, 2000);
      }
      if (value < 0) continue;
      move.simValueB = value;
      valued.push_back(move);
    }
    std::stable_sort(valued.begin(), valued.end(),
                     [](const Move& a, const Move& b) { return a.simValueB > b.simValueB; });
    pane.Print(FormatText("%4s  %-18s %-5s %5s  %s", "", "Word", "Where", "Score", "Win"));
    for (std::size_t i = 0; i < valued.size() && static_cast<int>(i) < *top; ++i) {
      pane.Print(moveLine(game, static_cast<int>(i + 1), valued[i],
                          FormatText("%.2f%% (peg)", static_cast<double>(valued[i].simValueB))));
    }
    if (valued.empty()) status = 1;
  }
  setInterruptStopsSearch(false);
  return status;
}

}  // namespace pexil::cli

namespace pexil::cli {

// analyze 8D WORD: the move alone simulated by the fast lookahead (or its
// pre-endgame when it empties the bag), with its statistics.
int runAnalyze(const Arguments& args) {
  const std::string usage = std::string("analyze 8D WORD / D8 WORD / pass, ") + kPositionUsage + " [--ply N]";
  const auto options = parseOptions(args, {"--board", "--rack", "--type", "--kind", "--list", "--open", "--move",
                                           "--seconds", "--threads", "--ply", "--mood"},
                                    {"--winprob", "--heatmaps"});
  if (!options) return 2;
  if (!positionGiven(*options) || options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, usage.c_str());
    return 2;
  }
  const auto limits = searchLimits(*options);
  const auto ply = numberOption(*options, "--ply", 1, 20, 2);
  const auto mood = numberOption(*options, "--mood", -3, 3, 0);
  if (!limits || !ply || !mood) return 2;
  NoWrapPane noWrap;
  Game game;
  if (const int failed = setUpMoverPosition(*options, game)) return failed;
  const auto move = listedMove(game, options->positional);
  if (!move) return 1;
  game.timeBudget = static_cast<int>(*limits->seconds * 100);
  game.maximizeWinProb = options->has("--winprob");
  game.trackHeatmaps = options->has("--heatmaps");
  game.mood = static_cast<int>(*mood);
  const int threads = *limits->threads > 0 ? static_cast<int>(*limits->threads) : game.threads;
  clearAbort();
  setInterruptStopsSearch(true);
  textPane().Print("Analyzing " + moveWordOnBoard(game, *move) + " " + wherePlayed(*move) + "\n");
  AnalyzeMove(game, *move, static_cast<int>(*ply), threads);
  setInterruptStopsSearch(false);
  if (!game.moves.empty() && game.moves.front().simCount > 0 && game.moves.front().simCount != 54321) {
    const Move& analysed = game.moves.front();
    textPane().Print(FormatText("%d iterations at %d ply: mean spread %+.2f, win %.2f%%", analysed.simCount, analysed.simPly,
                                static_cast<double>(analysed.simValueA), static_cast<double>(analysed.simValueB)));
  }
  return 0;
}

}  // namespace pexil::cli
