// pexil-cli autoplay: whole games of the computer against itself, each
// player by its strategy, with the results per seat at the end.
//
// Every game starts from a fresh bag in the same seats; with the global
// --seed option the games are repeatable. The spread of a seat in a game is
// its score minus the best score among the other seats (with two players,
// the usual difference of the scores).
#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "commands.hpp"
#include "game/game.hpp"
#include "game/game_flow.hpp"
#include "game_choice.hpp"
#include "movegen/rack_tables.hpp"
#include "rules/game_rules.hpp"
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

// Lines as they are: the terminal wraps them.
class NoWrapPane {
 public:
  NoWrapPane() : was_(textPane().NoWrap()) { textPane().SetNoWrap(true); }
  ~NoWrapPane() { textPane().SetNoWrap(was_); }
  NoWrapPane(const NoWrapPane&) = delete;
  NoWrapPane& operator=(const NoWrapPane&) = delete;

 private:
  bool was_;
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

}  // namespace

int runAutoplay(const Arguments& args) {
  const auto options = parseOptions(
      args, {"--type", "--kind", "--list", "--players", "--strategies", "--games", "--gcg-dir", "--log"}, {"--summary"});
  if (!options) return 2;
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
    auto loaded = loadChosenLexicon(*options);
    if (!loaded || loaded->wordCount() == 0) return 1;
    lexicon = std::shared_ptr<Lexicon>(std::move(loaded));
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

  if (const auto folder = options->value("--gcg-dir")) PrintMessageF(msg::AutoGcgNotYet, folder->c_str());
  std::ofstream log;
  if (const auto file = options->value("--log")) {
    log.open(userFilePath(*file), std::ios::out | std::ios::trunc);
    if (!log) {
      PrintMessageF(msg::CliCannotWrite, file->c_str());
      return 1;
    }
    setAutoplayLog(&log);
  }

  Game game;
  NewGame(game, players, lexicon);
  // Nobody takes moves back here: no undo snapshots.
  game.historyEnabled = false;
  for (int p = 0; p < players; ++p) game.strategies[static_cast<std::size_t>(p)] = strategies[static_cast<std::size_t>(p)];

  const bool summary = options->has("--summary");
  std::vector<SeatTotals> totals(static_cast<std::size_t>(players));
  for (int g = 1; g <= games; ++g) {
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
  setAutoplayLog(nullptr);

  PrintMessageF(msg::AutoTotalsHeading, games);
  for (int p = 0; p < players; ++p) {
    const SeatTotals& seat = totals[static_cast<std::size_t>(p)];
    PrintMessageF(msg::AutoSeatLine, p + 1, strategies[static_cast<std::size_t>(p)], seat.wins, seat.draws, seat.losses,
                  static_cast<double>(seat.score) / games, static_cast<double>(seat.spread) / games);
  }
  return 0;
}

}  // namespace pexil::cli
