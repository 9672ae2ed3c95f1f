#include "game_choice.hpp"

#include <filesystem>

#include "commands.hpp"
#include "io/data_files.hpp"
#include "play/word_list_loading.hpp"
#include "terminal_sink.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

// The word list of the built-in game kinds.
constexpr const char* kBuiltInWordList = "ENGLISH.LST";

// A game type by exact name, or by its 1-based number in the list.
int resolveGameType(const std::string& name) {
  const int index = findGameType(name);
  if (index >= 0) return index;
  if (const auto n = parseNumber(name, 1, gameTypeCount())) return static_cast<int>(*n - 1);
  return -1;
}

// Until a word list is loaded, letters are written in the game type's own
// alphabet.
bool activateDefined(int index) {
  if (!activateGameType(kKindDefined, index)) return false;
  setWordListAlphabet(gameType(index).alphabet);
  return true;
}

}  // namespace

void loadGameDefinitionsOnce() {
  static bool read = false;
  if (!read) readGameDefinitions();
  read = true;
}

bool activateChosenGame(const ParsedOptions& options) {
  loadGameDefinitionsOnce();
  if (const auto kind = options.value("--kind")) {
    const auto k = parseNumber(*kind, kKindStandard, kKindDefined - 1);
    if (!k) {
      PrintMessageF(msg::CliBadOption, ("--kind " + *kind).c_str());
      return false;
    }
    setWordListAlphabet(kAlphabetEnglish);
    return activateGameType(static_cast<int>(*k));
  }
  if (const auto name = options.value("--type")) {
    const int index = resolveGameType(*name);
    if (index < 0) {
      PrintMessageF(msg::CliUnknownGameType, name->c_str());
      return false;
    }
    return activateDefined(index);
  }
  if (gameTypeCount() > 0) return activateDefined(0);
  return activateGameType(kKindStandard);
}

std::string activeGameName() {
  if (const GameType* g = activeGameType()) return g->name.value_or("");
  return FormatMessage(msg::CliBuiltInKind, rules().gameKind);
}

bool wordListPresent(const std::string& path, const std::string& shownName) {
  if (dataFileExists(path)) return true;
  NoWrapPane noWrap;
  std::error_code error;
  PrintMessageF(msg::CliWordListMissing, shownName.c_str(), std::filesystem::current_path(error).c_str());
  return false;
}

bool loadCommandWordList(Lexicon& lexicon, const std::string& path, const std::string& shownName,
                         const std::string& validating) {
  // Names and folders in these lines are easier to read unwrapped.
  NoWrapPane noWrap;
  if (!wordListPresent(path, shownName)) return false;
  if (!loadWordListWithTables(lexicon, path, validating)) {
    PrintMessageF(msg::CliWordListUnreadable, shownName.c_str());
    return false;
  }
  if (lexicon.wordCount() == 0) {
    PrintMessageF(msg::CliWordListEmpty, shownName.c_str());
    return false;
  }
  return true;
}

ChosenLexicon loadChosenLexicon(const ParsedOptions& options, bool withLeaveTables) {
  ChosenLexicon chosen;
  if (!activateChosenGame(options)) {
    chosen.exitCode = 1;
    return chosen;
  }
  std::string list = kBuiltInWordList;
  std::string validating;
  if (const GameType* g = activeGameType()) {
    list = g->defaultWordList;
    if (g->markPhonies && g->phonyCheckList) validating = *g->phonyCheckList;
  }
  std::string path = list;
  if (const auto named = options.value("--list")) {
    list = *named;
    path = userInputPath(*named);
  }
  auto lexicon = std::make_unique<Lexicon>();
  lexicon->loadLeaves = withLeaveTables;
  if (!loadCommandWordList(*lexicon, path, list, validating)) {
    chosen.exitCode = kExitNoWordList;
    return chosen;
  }
  chosen.lexicon = std::move(lexicon);
  return chosen;
}

}  // namespace pexil::cli
