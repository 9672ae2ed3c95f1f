#include "game_files.hpp"

#include "board_legend.hpp"
#include "gcg_report.hpp"

#include <algorithm>
#include <fstream>

#include "commands.hpp"
#include "game_choice.hpp"
#include "terminal_sink.hpp"
#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "files/position_file.hpp"
#include "play/game_flow.hpp"
#include "play/listings.hpp"
#include "rules/board_text.hpp"
#include "rules/letter_codes.hpp"
#include "movegen/evaluation.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

// A time in hundredths as minutes:seconds.
std::string clockText(int hundredths) {
  const int seconds = std::max(0, hundredths) / 100;
  return FormatText("%d:%02d", seconds / 60, seconds % 60);
}

}  // namespace

std::optional<RecordWordList> recordWordListFromOptions(const ParsedOptions& options, int* failureExit) {
  const auto named = options.value("--list");
  if (!named) return RecordWordList{};
  if (options.value("--type") || options.value("--kind")) {
    auto chosen = loadChosenLexicon(options, true);
    if (!chosen.lexicon) {
      if (failureExit) *failureExit = chosen.exitCode;
      return std::nullopt;
    }
    return RecordWordList{std::shared_ptr<Lexicon>(std::move(chosen.lexicon)), std::string()};
  }
  const std::string path = userInputPath(*named);
  if (!wordListPresent(path, *named)) {
    if (failureExit) *failureExit = kExitNoWordList;
    return std::nullopt;
  }
  return RecordWordList{nullptr, path};
}

bool openFromOptions(Game& game, const ParsedOptions& options, bool& opened, int* failureExit) {
  opened = false;
  if (failureExit) *failureExit = 1;
  loadGameDefinitionsOnce();
  int stopAfterMove = -1;
  if (const auto text = options.value("--move")) {
    const auto n = parseNumber(*text, 0, 100000);
    if (!n || !options.value("--open")) {
      PrintMessageF(msg::CliBadOption, ("--move " + *text).c_str());
      return false;
    }
    stopAfterMove = static_cast<int>(*n);
  }
  const auto file = options.value("--open");
  if (!file) return true;
  const std::string path = userInputPath(*file);
  if (stopAfterMove >= 0 && !looksLikeRecord(path)) {
    PrintMessageF(msg::CliBadOption, ("--move " + *options.value("--move")).c_str());
    return false;
  }
  // --list names the word list a record is replayed with, instead of the
  // one its "#lexicon" line chooses.
  RecordWordList list;
  if (looksLikeRecord(path)) {
    const auto chosen = recordWordListFromOptions(options, failureExit);
    if (!chosen) return false;
    list = *chosen;
  }
  if (!openGameFile(game, path, stopAfterMove, nullptr, list)) return false;
  opened = true;
  return true;
}

void printGamePosition(const Game& game) {
  TextPane& pane = textPane();
  // The last move's tiles are highlighted; the legend explains the marks.
  for (const std::string& line : boardTextLines(game.board, &game.previousBoard)) pane.Print(line.empty() ? " " : line);
  for (const std::string& line : boardLegendLines(game.board)) pane.Print(line);
  for (int p = 0; p < game.playerCount; ++p) {
    std::string notes;
    if (game.clocks[static_cast<std::size_t>(p)] >= 0) {
      notes += FormatMessage(msg::PlayClock, clockText(game.clocks[static_cast<std::size_t>(p)]).c_str());
    }
    if (!game.gameOver && p == game.toMove) notes += Message(msg::PlayToMove);
    pane.Print(FormatMessage(msg::PlayScoreLine, p + 1, playerName(game, p).c_str(),
                             game.scores[static_cast<std::size_t>(p)], notes.c_str()));
  }
  pane.Print(FormatMessage(msg::PlayBagCount, game.bag.total()));
}

namespace {

// The racks of every player, for a position shown by a one-shot command.
void printRacks(const Game& game) {
  for (int p = 0; p < game.playerCount; ++p) {
    PrintMessageF(msg::FileRackLine, playerName(game, p).c_str(),
                  rackString(game.racks[static_cast<std::size_t>(p)]).c_str());
  }
}

// FILE as the one positional word, plus --open/--move for the save
// commands. Gives the options or none after reporting.
std::optional<ParsedOptions> fileCommandOptions(const Arguments& args, const char* usage, bool withSource) {
  auto options = withSource ? parseOptions(args, {"--open", "--move", "--list"}) : parseOptions(args, {"--move", "--list"});
  if (!options) return std::nullopt;
  if (options->positional.size() != 1 || (withSource && !options->value("--open"))) {
    PrintMessageF(msg::CliBadOption, usage);
    return std::nullopt;
  }
  return options;
}

}  // namespace

int runOpenPosition(const Arguments& args) {
  NoWrapPane noWrap;
  const auto options = fileCommandOptions(args, "open-position FILE", false);
  if (!options || options->has("--move") || options->has("--list")) {
    if (options) PrintMessageF(msg::CliBadOption, "open-position FILE");
    return 2;
  }
  loadGameDefinitionsOnce();
  Game game;
  if (!openPosition(game, userInputPath(options->positional.front()), nullptr)) return 1;
  printGamePosition(game);
  printRacks(game);
  return 0;
}

int runOpenGame(const Arguments& args) {
  NoWrapPane noWrap;
  const auto options = fileCommandOptions(args, "open-game FILE [--move N]", false);
  if (!options) return 2;
  int stopAfterMove = -1;
  if (const auto text = options->value("--move")) {
    const auto n = parseNumber(*text, 0, 100000);
    if (!n) {
      PrintMessageF(msg::CliBadOption, ("--move " + *text).c_str());
      return 2;
    }
    stopAfterMove = static_cast<int>(*n);
  }
  loadGameDefinitionsOnce();
  int failureExit = 1;
  const auto list = recordWordListFromOptions(*options, &failureExit);
  if (!list) return failureExit;
  Game game;
  if (!openRecord(game, userInputPath(options->positional.front()), stopAfterMove, nullptr, *list)) return 1;
  ShowHistory(game, false);
  printGamePosition(game);
  printRacks(game);
  return 0;
}

int runSavePosition(const Arguments& args) {
  NoWrapPane noWrap;
  const auto options = fileCommandOptions(args, "save-position FILE --open POSITION/RECORD [--move N]", true);
  if (!options) return 2;
  Game game;
  bool opened = false;
  int failure = 1;
  if (!openFromOptions(game, *options, opened, &failure)) return failure;
  return savePosition(game, userFilePath(options->positional.front()), nullptr) ? 0 : 1;
}

int runSaveGame(const Arguments& args) {
  NoWrapPane noWrap;
  const auto options = fileCommandOptions(args, "save-game FILE --open POSITION/RECORD [--move N]", true);
  if (!options) return 2;
  Game game;
  bool opened = false;
  int failure = 1;
  if (!openFromOptions(game, *options, opened, &failure)) return failure;
  return saveRecord(game, userFilePath(options->positional.front()), nullptr) ? 0 : 1;
}

}  // namespace pexil::cli

namespace pexil::cli {

int runReplayGcgCommand(const Arguments& args) {
  NoWrapPane noWrap;
  const auto options = parseOptions(args, {});
  if (!options) return 2;
  if (options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, "replay-gcg FILE...");
    return 2;
  }
  // A record's language chooses its game type among the definitions.
  loadGameDefinitionsOnce();
  std::vector<std::string> files;
  for (const std::string& name : options->positional) files.push_back(userInputPath(name));
  return runReplayGcg(files);
}

}  // namespace pexil::cli
