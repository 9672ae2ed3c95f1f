// Commands about game types: types, board, deal, and the main job.
#include "commands.hpp"
#include "game_choice.hpp"
#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

void listTypes() {
  if (gameTypeCount() == 0) {
    PrintMessage(msg::CliNoGameTypes);
    return;
  }
  PrintMessage(msg::CliGameTypesHeading);
  for (int i = 0; i < gameTypeCount(); ++i) {
    textPane().Print(FormatText("%3d  %s", i + 1, gameType(i).name.value_or("").c_str()));
  }
}

void printBoard() {
  Board board;
  buildBoard(board);
  PrintMessageF(msg::CliBoardHeading, activeGameName().c_str());
  TextPane& pane = textPane();
  const bool wasNoWrap = pane.NoWrap();
  pane.SetNoWrap(true);
  for (const std::string& line : boardTextLines(board)) pane.Print(line.empty() ? " " : line);
  pane.SetNoWrap(wasNoWrap);
}

void dealOneRack() {
  Well well;
  fillWell(well);
  Rack rack;
  GameRandom random;
  dealRack(rack, well, &random);
  PrintMessageF(msg::CliRackDealt, countsToText(rack).value_or("").c_str(), well.total());
  PrintMessageF(msg::CliWellHeading, well.total());
  if (auto text = countsToText(well, well.total())) textPane().Print(*text);
}

// Game options with nothing else.
std::optional<ParsedOptions> gameOptions(const Arguments& args) {
  auto options = parseOptions(args, {"--type", "--kind"});
  if (options && !options->positional.empty()) {
    PrintMessageF(msg::CliBadOption, options->positional.front().c_str());
    return std::nullopt;
  }
  return options;
}

}  // namespace

int runMainJob(const Arguments& args) {
  const auto options = gameOptions(args);
  if (!options) return 2;
  PrintMessage(msg::Welcome);
  PrintMessage(msg::Ownership);
  PrintMessageF(msg::Version, kProgramVersion, programBuildDate());
  loadGameDefinitionsOnce();
  listTypes();
  if (!activateChosenGame(*options)) return 1;
  printBoard();
  dealOneRack();
  return 0;
}

int runTypes(const Arguments& args) {
  if (!args.empty()) {
    PrintMessageF(msg::CliBadOption, args.front().c_str());
    return 2;
  }
  loadGameDefinitionsOnce();
  listTypes();
  return gameTypeCount() > 0 ? 0 : 1;
}

int runBoard(const Arguments& args) {
  const auto options = gameOptions(args);
  if (!options) return 2;
  if (!activateChosenGame(*options)) return 1;
  printBoard();
  return 0;
}

int runDeal(const Arguments& args) {
  const auto options = gameOptions(args);
  if (!options) return 2;
  if (!activateChosenGame(*options)) return 1;
  dealOneRack();
  return 0;
}

}  // namespace pexil::cli
