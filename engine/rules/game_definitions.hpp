// The list of game types, read from "game.definitions" beside the program.
#pragma once

#include <istream>
#include <string>
#include <string_view>

#include "rules/game_type.hpp"

namespace pexil {

inline constexpr const char* kGameDefinitionsFile = "game.definitions";

// Empties the list and reads "game.definitions" from the working directory.
// Problems are reported in the text pane; the program always goes on.
void readGameDefinitions();
void readGameDefinitions(const std::string& path);
// Reads definitions from a stream (tests, fuzzing).
void readGameDefinitions(std::istream& in);

int gameTypeCount();
// The game type at a position of the list (0-based, file order).
const GameType& gameType(int index);
// Exact, case-sensitive comparison; the first match, or -1.
int findGameType(std::string_view name);

}  // namespace pexil
