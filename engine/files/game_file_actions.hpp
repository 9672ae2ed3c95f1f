// Opening and saving position files and game records, as the command
// line and the desktop program both do it: what is said in the pane on
// success and on every failure, and the names the files were read from.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "state/game.hpp"

namespace pexil {

struct GcgReadResult;

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

// The lines of a record that were not used, at most `most` of them, then
// how many more there were. A `standalone` list begins by saying how many
// there were and gives each line's reason when one is known; otherwise
// (in the replay report, which lists the reasons itself) only the lines
// without a known reason are printed.
void printUnusedGcgLines(const GcgReadResult& result, std::size_t most, bool standalone);
// A record's line cut to 100 characters for the reports (notes, mostly).
std::string shortenedGcgText(const std::string& text);

}  // namespace pexil
