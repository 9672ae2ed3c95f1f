// Opening and saving position files and game records from the command
// line: one-shot commands, and the same actions inside "play".
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "options.hpp"
#include "files/game_file_actions.hpp"
#include "state/game.hpp"

namespace pexil::cli {

using pexil::GameFileNames;
using pexil::RecordWordList;

// The record word list of "--list NAME": loaded under --type or --kind when
// one is given, otherwise named for the record to load. None after
// reporting a missing or unloadable list, with the command's exit code in
// *failureExit.
std::optional<RecordWordList> recordWordListFromOptions(const ParsedOptions& options, int* failureExit);

// The "--open FILE [--move N] [--list NAME]" options of moves and play: opens FILE into
// `game` when given. Gives false after reporting a problem, and then sets
// *failureExit (when given) to the command's exit code; `opened` tells
// whether a file was opened. FILE is found as userInputPath finds it.
bool openFromOptions(Game& game, const ParsedOptions& options, bool& opened, int* failureExit = nullptr);

// The board as text (the last move's tiles highlighted) with its legend,
// every player's score (clock, the player to move) and the tiles left in
// the bag.
void printGamePosition(const Game& game);


}  // namespace pexil::cli
