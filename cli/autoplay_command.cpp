// pexil-cli autoplay: whole games of the computer against itself, each
// player by its strategy, with the results per seat at the end.
//
// Every game starts from a fresh bag in the same seats; with the global
// --seed option the games are repeatable. The spread of a seat in a game is
// its score minus the best score among the other seats (with two players,
// the usual difference of the scores).
//
// A strength test (--pairs N) plays two-player games in pairs: both games
// of a pair draw the same tiles in the same order (the game's generator is
// seeded for the pair), and the second game swaps the seats, so the luck of
// the draw falls to each strategy once. It reports the first strategy's
// win rate and mean spread with their standard errors over the pairs.
// --no-leaves makes one seat value every leave at 0 (a flag of that player
// the evaluation reads; the tables stay loaded for the other).
#include <cmath>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.hpp"
#include "search/endgame_state.hpp"
#include "terminal_sink.hpp"
#include "io/atomic_file.hpp"
#include "files/gcg_writer.hpp"
#include "state/game.hpp"
#include "play/game_flow.hpp"
#include "game_choice.hpp"
#include "tables/rack_tables.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "search/strategy.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

constexpr int kDefaultStrategy = 2;
constexpr int kMostGames = 1000000;

// "2" or "1,2,11": one number per seat, or one for every seat.
std::optional<std::vector<int>> readStrategies(const std::string& text, int players) {
  std::vector<int> list;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const auto n = parseNumber(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), 0,
                               kStrategyCount - 1);
    if (!n) return std::nullopt;
    list.push_back(static_cast<int>(*n));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (list.size() == 1) list.assign(static_cast<std::size_t>(players), list.front());
  if (static_cast<int>(list.size()) != players) return std::nullopt;
  return list;
}

struct SeatTotals {
  int wins = 0;
  int draws = 0;
  int losses = 0;
  long long score = 0;
  long long spread = 0;
};

// Restores the pane's quiet setting when it goes.
class QuietPane {
 public:
  explicit QuietPane(bool on) : was_(textPane().Quiet()) {
    if (on) textPane().SetQuiet(true);
  }
  ~QuietPane() { textPane().SetQuiet(was_); }
  QuietPane(const QuietPane&) = delete;
  QuietPane& operator=(const QuietPane&) = delete;

 private:
  bool was_;
};

// The --log file. The engine writes to a temporary file while this lives;
// finish() puts it in place of the old log, so that a log that cannot be
// written whole leaves the old one as it was.
class AutoplayLogFile {
 public:
  explicit AutoplayLogFile(const std::string& path) : writer_(path) {
    if (writer_.isOpen()) setAutoplayLog(&writer_.stream());
  }
  ~AutoplayLogFile() { setAutoplayLog(nullptr); }
  AutoplayLogFile(const AutoplayLogFile&) = delete;
  AutoplayLogFile& operator=(const AutoplayLogFile&) = delete;
  bool isOpen() const { return writer_.isOpen(); }
  bool finish() {
    setAutoplayLog(nullptr);
    return writer_.commit();
  }

 private:
  AtomicFileWriter writer_;
};

// The outcome of a game for seat 0: 1 a win, 0.5 a draw, 0 a loss.
double seatZeroResult(const Game& game) {
  const int a = game.scores[0], b = game.scores[1];
  return a > b ? 1.0 : a == b ? 0.5 : 0.0;
}

// Mean and standard error of the mean.
struct MeanError {
  double mean = 0;
  double error = 0;
};
MeanError meanAndError(const std::vector<double>& values) {
  MeanError m;
  const auto n = static_cast<double>(values.size());
  if (values.empty()) return m;
  for (double v : values) m.mean += v;
  m.mean /= n;
  if (values.size() < 2) return m;
  double squares = 0;
  for (double v : values) squares += (v - m.mean) * (v - m.mean);
  m.error = std::sqrt(squares / (n - 1) / n);
  return m;
}

// Writes game number `number` as "game-NNNN.gcg" in the folder (nothing
// when no folder was asked for); false after saying it could not.
bool writeGameRecord(const Game& game, const std::string& folder, int number) {
  if (folder.empty()) return true;
  const std::string path = (std::filesystem::path(folder) / FormatText("game-%04d.gcg", number)).string();
  if (WriteGcg(game, path)) return true;
  PrintMessageF(msg::FileCannotWrite, path.c_str());
  return false;
}

// Plays pairs of two-player games with the same tiles and the seats
// swapped; reports the first listed strategy's results. The flag of
// --no-leaves stays with its strategy when the seats swap.
int playPairs(Game& game, int pairs, const std::vector<int>& strategies, int noLeavesSeat, bool summary,
              const std::string& recordFolder, int clock) {
  const std::uint32_t base = programSeed().value_or(static_cast<std::uint32_t>(randomNonNegative()));
  std::vector<double> pairResults, pairSpreads;
  pairResults.reserve(static_cast<std::size_t>(pairs));
  pairSpreads.reserve(static_cast<std::size_t>(pairs));
  int wins = 0, draws = 0, losses = 0;
  double totalTime = 0, longest = 0;
  for (int pair = 0; pair < pairs; ++pair) {
    double result = 0, spread = 0;
    for (int swap = 0; swap < 2; ++swap) {
      const int g = 2 * pair + swap + 1;
      // Seat s plays strategy (s + swap) mod 2 of the list.
      for (int seat = 0; seat < 2; ++seat) {
        const int which = (seat + swap) % 2;
        game.strategies[static_cast<std::size_t>(seat)] = strategies[static_cast<std::size_t>(which)];
        game.leaveValuesOff[static_cast<std::size_t>(seat)] = which == noLeavesSeat;
      }
      const std::uint32_t key[2] = {base, static_cast<std::uint32_t>(pair)};
      game.random.seed(key, 2);
      // Every game starts on fresh clocks (the timed strategies' time).
      game.clocks.fill(clock);
      const auto started = std::chrono::steady_clock::now();
      {
        QuietPane quiet(summary);
        Autoplay(game);
      }
      const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
      totalTime += took;
      longest = std::max(longest, took);
      const int first = swap;  // the seat of the first listed strategy
      const std::string outcome = game.scores[0] == game.scores[1] ? Message(msg::AutoDraw)
                                  : FormatMessage(msg::AutoWinner, game.scores[0] > game.scores[1] ? 1 : 2);
      const std::string scores = FormatMessage(msg::AutoScorePiece, 1, game.scores[0]) + FormatMessage(msg::AutoScorePiece, 2, game.scores[1]);
      PrintMessageF(msg::AutoGameLine, g, scores.c_str(), outcome.c_str());
      if (!writeGameRecord(game, recordFolder, g)) return 1;
      const double r = first == 0 ? seatZeroResult(game) : 1.0 - seatZeroResult(game);
      result += r;
      wins += r == 1.0 ? 1 : 0;
      draws += r == 0.5 ? 1 : 0;
      losses += r == 0.0 ? 1 : 0;
      spread += first == 0 ? game.scores[0] - game.scores[1] : game.scores[1] - game.scores[0];
    }
    pairResults.push_back(result / 2);
    pairSpreads.push_back(spread / 2);
  }
  const MeanError rate = meanAndError(pairResults), spread = meanAndError(pairSpreads);
  auto describe = [&](int which) {
    return FormatText("strategy %d%s", strategies[static_cast<std::size_t>(which)],
                      which == noLeavesSeat ? " without leave values" : "");
  };
  textPane().Print(FormatText("%d pairs (%d games, the same tiles with the seats swapped), seed %u:", pairs, 2 * pairs, base));
  textPane().Print(FormatText("%s against %s: %d wins, %d draws, %d losses; win rate %.1f%% +- %.1f%%, mean spread %+.1f +- %.1f",
                              describe(0).c_str(), describe(1).c_str(), wins, draws, losses, 100 * rate.mean,
                              100 * rate.error, spread.mean, spread.error));
  textPane().Print(FormatText("Time per game: %.1f s on average, %.1f s at most", totalTime / (2 * pairs), longest));
  return 0;
}

// What an autoplay run plays, once its options are read.
struct RunPlan {
  int games = 1;
  int pairs = 0;  // above 0: a strength test of this many pairs
  int players = 2;
  std::vector<int> strategies;
  int noLeavesSeat = -1;
  bool summary = false;
  std::string recordFolder;
  int clock = kNoClock;  // each player's clock at the start of every game
};

int playGames(const RunPlan& plan, const std::shared_ptr<Lexicon>& lexicon);

}  // namespace

int runAutoplay(const Arguments& args) {
  const auto options = parseOptions(
      args, {"--type", "--kind", "--list", "--players", "--strategies", "--games", "--gcg-dir", "--log", "--pairs", "--no-leaves",
             "--time", "--word-usage"},
      {"--summary", "--exact-endgame", "--greedier-endgame"});
  if (!options) return 2;
  applyEndgameOptions(*options);
  if (!options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, options->positional.front().c_str());
    return 2;
  }
  NoWrapPane noWrap;
  int games = 1;
  if (const auto text = options->value("--games")) {
    const auto n = parseNumber(*text, 1, kMostGames);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--games " + *text).c_str());
      return 2;
    }
    games = static_cast<int>(*n);
  }

  std::shared_ptr<Lexicon> lexicon;
  {
    auto chosen = loadChosenLexicon(*options);
    if (!chosen.lexicon) return chosen.exitCode;
    lexicon = std::shared_ptr<Lexicon>(std::move(chosen.lexicon));
  }
  LoadRackTables(*lexicon);

  // The number of players the game type allows (the built-in kinds: 1 to 4).
  int fewest = 1, most = 4;
  if (const GameType* type = activeGameType()) {
    fewest = type->minPlayers;
    most = std::min(type->maxPlayers, kMaxPlayers);
  }
  int players = std::clamp(2, fewest, most);
  if (const auto text = options->value("--players")) {
    const auto n = parseNumber(*text, fewest, most);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--players " + *text).c_str());
      return 2;
    }
    players = static_cast<int>(*n);
  }
  std::vector<int> strategies(static_cast<std::size_t>(players), kDefaultStrategy);
  if (const auto text = options->value("--strategies")) {
    const auto list = readStrategies(*text, players);
    if (!list) {
      PrintMessageF(msg::CliBadOption, ("--strategies " + *text).c_str());
      return 2;
    }
    strategies = *list;
  }

  // Every game's record, written to a folder as it ends (two-player games
  // only: a record has two players).
  std::string recordFolder;
  if (const auto folder = options->value("--gcg-dir")) {
    if (players != 2) {
      PrintMessage(msg::AutoGcgTwoPlayers);
      return 2;
    }
    recordFolder = userFilePath(*folder);
    std::error_code error;
    std::filesystem::create_directories(recordFolder, error);
    if (!std::filesystem::is_directory(recordFolder)) {
      PrintMessageF(msg::FileCannotWrite, recordFolder.c_str());
      return 1;
    }
    PrintMessageF(msg::AutoGcgFolder, recordFolder.c_str());
  }
  // The seat (1-based) that plays without leave values.
  int noLeavesSeat = -1;
  if (const auto text = options->value("--no-leaves")) {
    const auto n = parseNumber(*text, 1, players);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--no-leaves " + *text).c_str());
      return 2;
    }
    noLeavesSeat = static_cast<int>(*n) - 1;
  }
  int pairs = 0;
  if (const auto text = options->value("--pairs")) {
    const auto n = parseNumber(*text, 1, kMostGames / 2);
    if (!n || players != 2) {
      PrintMessageF(msg::CliBadOption, ("--pairs " + *text).c_str());
      return 2;
    }
    pairs = static_cast<int>(*n);
  }
  std::optional<AutoplayLogFile> log;
  if (const auto file = options->value("--log")) {
    log.emplace(userFilePath(*file));
    if (!log->isOpen()) {
      PrintMessageF(msg::CliCannotWrite, file->c_str());
      return 1;
    }
  }
  int clock = kNoClock;
  if (const auto text = options->value("--time")) {
    const auto minutes = parseNumber(*text, 1, 600);
    if (!minutes) {
      PrintMessageF(msg::CliBadOption, ("--time " + *text).c_str());
      return 2;
    }
    clock = static_cast<int>(*minutes) * 6000;
  }
  const RunPlan plan{games, pairs, players, strategies, noLeavesSeat, options->has("--summary"), recordFolder, clock};
  // The word-usage statistics: every word the strategies played, with how
  // often, most played first.
  std::map<std::string, int> usage;
  const auto usageFile = options->value("--word-usage");
  if (usageFile) setWordUsage(&usage);
  const int code = playGames(plan, lexicon);
  setWordUsage(nullptr);
  if (usageFile) {
    std::vector<std::pair<std::string, int>> counted(usage.begin(), usage.end());
    std::stable_sort(counted.begin(), counted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    AtomicFileWriter writer(userFilePath(*usageFile));
    for (const auto& [word, count] : counted) writer.stream() << count << '\t' << word << '\n';
    if (!writer.isOpen() || !writer.commit()) {
      PrintMessageF(msg::CliCannotWrite, usageFile->c_str());
      return code == 0 ? 1 : code;
    }
  }
  if (log && !log->finish()) {
    PrintMessageF(msg::CliCannotWrite, options->value("--log")->c_str());
    return code == 0 ? 1 : code;
  }
  return code;
}

namespace {

int playGames(const RunPlan& plan, const std::shared_ptr<Lexicon>& lexicon) {
  const int games = plan.games, players = plan.players, noLeavesSeat = plan.noLeavesSeat;
  const std::vector<int>& strategies = plan.strategies;
  const bool summary = plan.summary;
  Game game;
  NewGame(game, players, lexicon);
  // Nobody takes moves back here: no undo snapshots.
  game.historyEnabled = false;
  for (int p = 0; p < players; ++p) game.strategies[static_cast<std::size_t>(p)] = strategies[static_cast<std::size_t>(p)];
  if (noLeavesSeat >= 0) game.leaveValuesOff[static_cast<std::size_t>(noLeavesSeat)] = true;

  if (plan.pairs > 0) return playPairs(game, plan.pairs, strategies, noLeavesSeat, summary, plan.recordFolder, plan.clock);
  std::vector<SeatTotals> totals(static_cast<std::size_t>(players));
  for (int g = 1; g <= games; ++g) {
    game.clocks.fill(plan.clock);
    {
      QuietPane quiet(summary);
      Autoplay(game);
    }
    std::string scores;
    int best = game.scores[0];
    for (int p = 0; p < players; ++p) {
      const int score = game.scores[static_cast<std::size_t>(p)];
      scores += FormatMessage(msg::AutoScorePiece, p + 1, score);
      best = std::max(best, score);
    }
    int leaders = 0, leader = 0;
    for (int p = 0; p < players; ++p) {
      if (game.scores[static_cast<std::size_t>(p)] == best) {
        ++leaders;
        leader = p;
      }
    }
    const std::string outcome = leaders == 1 ? FormatMessage(msg::AutoWinner, leader + 1) : Message(msg::AutoDraw);
    PrintMessageF(msg::AutoGameLine, g, scores.c_str(), outcome.c_str());
    if (!writeGameRecord(game, plan.recordFolder, g)) return 1;
    for (int p = 0; p < players; ++p) {
      SeatTotals& seat = totals[static_cast<std::size_t>(p)];
      const int score = game.scores[static_cast<std::size_t>(p)];
      int bestOther = 0;
      bool first = true;
      for (int q = 0; q < players; ++q) {
        if (q == p) continue;
        bestOther = first ? game.scores[static_cast<std::size_t>(q)] : std::max(bestOther, game.scores[static_cast<std::size_t>(q)]);
        first = false;
      }
      seat.score += score;
      seat.spread += score - bestOther;
      if (score < best) {
        ++seat.losses;
      } else if (leaders == 1) {
        ++seat.wins;
      } else {
        ++seat.draws;
      }
    }
  }
  PrintMessageF(msg::AutoTotalsHeading, games);
  for (int p = 0; p < players; ++p) {
    const SeatTotals& seat = totals[static_cast<std::size_t>(p)];
    PrintMessageF(msg::AutoSeatLine, p + 1, strategies[static_cast<std::size_t>(p)], seat.wins, seat.draws, seat.losses,
                  static_cast<double>(seat.score) / games, static_cast<double>(seat.spread) / games);
  }
  return 0;
}

}  // namespace
}  // namespace pexil::cli
