// pexil-cli play: the options of a game against the computer, and the
// game they set up (see play_session.hpp for the session itself).
//
// Seats: --first me (the default) puts the computer second, --first pexil
// puts it first. For a single game "alternate" means the opposite of the
// default (Pexil first); "random" draws the seat from one random bit of the
// program's generator, so --seed makes it repeatable.
#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "commands.hpp"
#include "search/endgame_state.hpp"
#include "search/timed_move.hpp"
#include "settings.hpp"
#include "state/game.hpp"
#include "play/game_flow.hpp"
#include "game_choice.hpp"
#include "game_files.hpp"
#include "lexicon/lexicon.hpp"
#include "tables/rack_tables.hpp"
#include "play_session.hpp"
#include "play_text.hpp"
#include "rules/random.hpp"
#include "search/strategy.hpp"
#include "terminal_sink.hpp"
#include "typed_text.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

constexpr int kMaxPly = 40;

}  // namespace

int runPlay(const Arguments& args) {
  // The terminal wraps long lines itself.
  NoWrapPane noWrap;
  const auto options = parseOptions(
      args,
      {"--type", "--kind", "--list", "--first", "--name", "--strategy", "--challenge", "--time", "--ply", "--open", "--move"},
      {"--same-time", "--exact-endgame", "--greedier-endgame"});
  if (!options) return 2;
  // The stored options (shared with the desktop program) are the starting
  // point; the command line's own options win over them.
  const SettingsStore store;
  if (!store.error().empty()) PrintMessageF(msg::SettingsCannotRead, store.error().c_str());
  Settings stored;
  LoadSettings(stored, store);
  // The benchmark's rates, when it stored them, guide the timed move's depth.
  if (const auto rates = StoredRates(store)) setStoredBenchmarkRates(rates);
  applyEndgameOptions(*options);
  endgameOptions().greedier = endgameOptions().greedier || stored.greedierEndgame;
  if (!options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, options->positional.front().c_str());
    return 2;
  }
  PlaySettings settings;
  settings.challengeType = stored.challengeType >= 0 && stored.challengeType <= 4 ? stored.challengeType : 2;
  const std::string first = options->value("--first").value_or("me");
  if (first != "me" && first != "pexil" && first != "alternate" && first != "random") {
    PrintMessageF(msg::CliBadOption, ("--first " + first).c_str());
    return 2;
  }
  if (const auto text = options->value("--strategy")) {
    const auto n = parseNumber(*text, 0, kStrategyCount - 1);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--strategy " + *text).c_str());
      return 2;
    }
    settings.strategy = static_cast<int>(*n);
  }
  if (const auto text = options->value("--challenge")) {
    const auto n = parseNumber(*text, 0, 4);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--challenge " + *text).c_str());
      return 2;
    }
    settings.challengeType = static_cast<int>(*n);
  }
  if (const auto text = options->value("--time")) {
    const auto time = ParseClockTime(*text);
    if (!time) {
      PrintMessage(msg::PlayInvalidTime);
      return 2;
    }
    settings.clock = *time;
  }
  settings.sameTime = options->has("--same-time");
  if (const auto text = options->value("--ply")) {
    const auto ply = parseNumber(*text, 1, kMaxPly);
    if (!ply) {
      PrintMessage(msg::PlayBadPly);
      return 2;
    }
    settings.plyGiven = true;
    settings.ply = static_cast<int>(*ply);
  }
  const auto typedName = decodeTypedText(options->value("--name").value_or(std::string()));
  if (!typedName) return 2;
  settings.userName = *typedName;
  settings.nameGiven = !settings.userName.empty();
  if (!settings.nameGiven) settings.userName = stored.playerName;
  if (settings.userName.empty()) settings.userName = Message(msg::PlayDefaultName);

  std::shared_ptr<Lexicon> lexicon;
  {
    auto chosen = loadChosenLexicon(*options);
    if (!chosen.lexicon) return chosen.exitCode;
    lexicon = std::shared_ptr<Lexicon>(std::move(chosen.lexicon));
  }
  // The leave values the computer's strategies rank by.
  LoadRackTables(*lexicon);
  if (options->value("--list")) settings.namedList = lexicon;

  if (first == "me") {
    settings.computerSeat = 1;
  } else if (first == "pexil" || first == "alternate") {
    settings.computerSeat = 0;
  } else {
    settings.computerSeat = randomNonNegative() & 1;
  }

  Game game;
  NewGame(game, 2, lexicon);
  // A position or record to play on from; the stored options then go back
  // on (a file may have set some of them).
  bool opened = false;
  if (!openFromOptions(game, *options, opened)) return 1;
  const bool greedier = endgameOptions().greedier;
  ApplyEngineSettings(stored, game);
  endgameOptions().greedier = greedier;
  if (opened && game.playerCount != 2) {
    PrintMessageF(msg::PlayTwoPlayersOnly, options->value("--open")->c_str(), game.playerCount);
    return 1;
  }
  PlaySession session(game, settings, opened);
  if (settings.clock != kNoClock) {
    game.clocks[static_cast<std::size_t>(settings.computerSeat)] = settings.clock;
    if (settings.sameTime) game.clocks[static_cast<std::size_t>(1 - settings.computerSeat)] = settings.clock;
  }
  return session.run();
}

}  // namespace pexil::cli
