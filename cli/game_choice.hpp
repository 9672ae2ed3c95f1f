// Choosing the game type and word list a command works on.
#pragma once

#include <memory>
#include <string>

#include "lexicon/lexicon.hpp"
#include "options.hpp"

namespace pexil::cli {

// Reads game.definitions, once per run.
void loadGameDefinitionsOnce();

// Reads game.definitions and activates the game chosen by --type NAME|N or
// --kind K: by default the first game type, or the standard built-in game
// when there is none. Reports what was wrong and gives false otherwise.
bool activateChosenGame(const ParsedOptions& options);
// The name of the active game, for headings.
std::string activeGameName();

// The exit code of a command that needs a word list and could not load one.
inline constexpr int kExitNoWordList = 3;

// Whether the word list file `path` is there; when not, says so under
// `shownName` (the name the user gave).
bool wordListPresent(const std::string& path, const std::string& shownName);

// Loads `path` into `lexicon` for a command: the one path by which every
// command loads a word list. A list that is missing, cannot be read or
// holds no word of the active game is reported under `shownName` (the name
// the user gave) and gives false.
bool loadCommandWordList(Lexicon& lexicon, const std::string& path, const std::string& shownName,
                         const std::string& validating = "");

// A word list chosen for a command, or, when there is none, the command's
// exit code: 1 when the game could not be chosen, kExitNoWordList when the
// list could not be loaded (the reason is printed either way).
struct ChosenLexicon {
  std::unique_ptr<Lexicon> lexicon;
  int exitCode = 0;
};

// Activates the chosen game and loads the word list named by --list NAME
// (a file in the current folder, else a data file), or else the default
// word list of the game type. With withLeaveTables the list's rack-leave
// tables are loaded with it, as when a game or a file loads a list;
// commands that only look words up go without.
ChosenLexicon loadChosenLexicon(const ParsedOptions& options, bool withLeaveTables = false);

}  // namespace pexil::cli
