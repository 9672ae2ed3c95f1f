// The game the long-running tools (benchmarks, strength tests, opening
// book) play on: a two-player game of a named game type with a word list
// and its tables.
#pragma once

#include <memory>
#include <string>

#include "lexicon/lexicon.hpp"
#include "rules/game_rules.hpp"
#include "state/game.hpp"

namespace pexil {

// Activates the game type `typeName`, loads `listName` (the type's own
// list when empty) with its tables and starts a two-player game on it.
// False when the game type is not defined or the list cannot be read
// (the list's failure is printed; a missing game type is the caller's to
// report).
bool StartToolGame(Game& game, const std::string& typeName, const std::string& listName = "");

// Makes the game type `typeName` the active rules again (a game started
// on it earlier goes on after another type was active). False when it is
// not defined.
bool ActivateToolGameType(const std::string& typeName);

// The tools set the active rules for their own games; the rules (and the
// alphabet of the loaded list) the caller had come back when this ends.
class ActiveRulesScope {
 public:
  ActiveRulesScope() = default;
  ~ActiveRulesScope() { saved_.restore(); }
  ActiveRulesScope(const ActiveRulesScope&) = delete;
  ActiveRulesScope& operator=(const ActiveRulesScope&) = delete;

 private:
  RulesInForce saved_;
};

// Whether a file of that name can be opened for reading.
bool FileReadable(const std::string& path);

}  // namespace pexil
