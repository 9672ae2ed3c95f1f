#include "commands.hpp"

#include <cstdlib>
#include <optional>

#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

// Options shared by the commands that work on one game type.
struct GameChoice {
  std::optional<std::string> typeName;
  std::optional<int> kind;
};

bool parseGameChoice(const Arguments& options, GameChoice& choice) {
  for (std::size_t i = 0; i < options.size(); ++i) {
    const std::string& o = options[i];
    if ((o == "--type" || o == "--kind") && i + 1 < options.size()) {
      const std::string& v = options[++i];
      if (o == "--type") {
        choice.typeName = v;
        continue;
      }
      char* end = nullptr;
      const long k = std::strtol(v.c_str(), &end, 10);
      if (end == v.c_str() || *end != '\0' || k < kKindStandard || k >= kKindDefined) {
        PrintMessageF(msg::CliBadOption, (o + " " + v).c_str());
        return false;
      }
      choice.kind = static_cast<int>(k);
      continue;
    }
    PrintMessageF(msg::CliBadOption, o.c_str());
    return false;
  }
  return true;
}

// A game type by exact name, or by its 1-based number in the list.
int resolveGameType(const std::string& name) {
  const int index = findGameType(name);
  if (index >= 0) return index;
  char* end = nullptr;
  const long n = std::strtol(name.c_str(), &end, 10);
  if (end != name.c_str() && *end == '\0' && n >= 1 && n <= gameTypeCount()) return static_cast<int>(n - 1);
  return -1;
}

// Until a word list is loaded, letters are written in the game type's own
// alphabet.
bool activateDefined(int index) {
  if (!activateGameType(kKindDefined, index)) return false;
  setWordListAlphabet(gameType(index).alphabet);
  return true;
}

// Activates the chosen game; the first game type of the list by default,
// the standard built-in game when there is none.
bool activateChoice(const GameChoice& choice) {
  if (choice.kind) return activateGameType(*choice.kind);
  if (choice.typeName) {
    const int index = resolveGameType(*choice.typeName);
    if (index < 0) {
      PrintMessageF(msg::CliUnknownGameType, choice.typeName->c_str());
      return false;
    }
    return activateDefined(index);
  }
  if (gameTypeCount() > 0) return activateDefined(0);
  return activateGameType(kKindStandard);
}

std::string activeName() {
  if (const GameType* g = activeGameType()) return g->name.value_or("");
  return FormatMessage(msg::CliBuiltInKind, rules().gameKind);
}

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
  PrintMessageF(msg::CliBoardHeading, activeName().c_str());
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

}  // namespace

int runCommand(const std::string& command, const Arguments& options) {
  if (command.empty() || command == "types" || command == "board" || command == "deal") {
    GameChoice choice;
    if (command == "types" && !options.empty()) {
      PrintMessageF(msg::CliBadOption, options.front().c_str());
      return 2;
    }
    if (!parseGameChoice(options, choice)) return 2;
    if (command.empty()) {
      PrintMessage(msg::Welcome);
      PrintMessage(msg::Ownership);
      PrintMessage(msg::Version);
    }
    readGameDefinitions();
    if (command == "types") {
      listTypes();
      return gameTypeCount() > 0 ? 0 : 1;
    }
    if (command.empty()) listTypes();
    if (!activateChoice(choice)) return 1;
    if (command.empty() || command == "board") printBoard();
    if (command.empty() || command == "deal") dealOneRack();
    return 0;
  }
  PrintMessageF(msg::CliUnknownCommand, command.c_str());
  return 2;
}

}  // namespace pexil::cli
