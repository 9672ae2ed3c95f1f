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

// Activates the chosen game and loads the word list named by --list NAME,
// or else the default word list of the game type. Null (with a message)
// when the game cannot be chosen; an unreadable list gives an empty
// lexicon, as in a game. With withLeaveTables the list's rack-leave tables
// are loaded with it, as when a game or a file loads a list; commands that
// only look words up go without.
std::unique_ptr<Lexicon> loadChosenLexicon(const ParsedOptions& options, bool withLeaveTables = false);

}  // namespace pexil::cli
