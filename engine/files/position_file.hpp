// Position files (".pexil"): one game position as plain Latin-1 text, one
// record a line: the game type, the word list, the players with their
// scores, racks and names, whose turn it is, the board and the engine
// flags. The move history and the well are not stored: on reading, the
// well is the game type's full distribution minus the board and the racks.
#pragma once

#include <string>

#include "state/game.hpp"

namespace pexil {

// Writes the game to `path`, creating or replacing it whole (see
// writeFileAtomically), so a failed write leaves any earlier file as it
// was. Prints nothing; false when the file cannot be written.
bool WritePosition(const Game& game, const std::string& path);

// Replaces the game by the position in `path`. A fault prints one message
// on the text pane and puts the previous game, and the rules that were
// active with it, back; a missing file changes nothing. The word list the
// file names is loaded into a lexicon of its own (the previous one, which
// other copies of the game may share, is never reloaded in place). The
// undo stack is left to the caller. True when the position was read.
bool ReadPosition(Game& game, const std::string& path);

}  // namespace pexil
