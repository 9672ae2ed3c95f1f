// Opening and saving position files and game records from the command
// line: one-shot commands, and the same actions inside "play".
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "options.hpp"
#include "state/game.hpp"

namespace pexil::cli {

// Where a saved game record goes by default: the record last opened or
// saved, or the alternative name when opening discarded some of its lines.
struct GameFileNames {
  std::string position;
  std::string record;
};

// A record when the name ends in ".gcg" or the file's first non-blank line
// begins with '#' or '>'; otherwise a position file.
bool looksLikeRecord(const std::string& path);

// The word list a record is replayed with instead of the one its
// "#lexicon" line names: one already loaded (under a game type the user
// chose), or a list file to load once the record's language has chosen
// the game type, so that it is read in that alphabet. Neither: the
// record's own list.
struct RecordWordList {
  std::shared_ptr<Lexicon> lexicon;
  std::string name;
};

// The record word list of "--list NAME": loaded under --type or --kind when
// one is given, otherwise named for the record to load. None after
// reporting a missing or unloadable list, with the command's exit code in
// *failureExit.
std::optional<RecordWordList> recordWordListFromOptions(const ParsedOptions& options, int* failureExit);

// Opens a position file or a game record (by looksLikeRecord) into `game`,
// stopping after move `stopAfterMove` of a record (-1: every move). Reports
// what went wrong and gives false; a position that cannot be read leaves
// `game` as it was. `names` learns the file's name (and for a record with
// discarded lines, the alternative name to save under).
// A record is replayed with `list` when one is given.
bool openGameFile(Game& game, const std::string& path, int stopAfterMove, GameFileNames* names,
                  const RecordWordList& list = {});
bool openPosition(Game& game, const std::string& path, GameFileNames* names);
bool openRecord(Game& game, const std::string& path, int stopAfterMove, GameFileNames* names,
                const RecordWordList& list = {});

// Writes the game and says so, or says it could not.
bool savePosition(const Game& game, const std::string& path, GameFileNames* names);
bool saveRecord(const Game& game, const std::string& path, GameFileNames* names);

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
