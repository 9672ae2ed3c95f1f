// Writing a two-player game as a GCG game record: the players, the word
// list, one group of lines per history entry with its notes, and the racks
// left at the end.
#pragma once

#include <string>

#include "state/game.hpp"
#include "text/program_version.hpp"

namespace pexil {

// The program's version as the record's description line gives it.
inline constexpr const char* kGcgProgramVersion = kProgramVersion;

// The whole record as text, one line per '\n'.
std::string GcgText(const Game& game);

// Writes the record to `path`, creating or replacing the file whole (see
// writeFileAtomically): a failed write leaves an earlier file as it was.
// False when the file cannot be written.
bool WriteGcg(const Game& game, const std::string& path);

// The nickname a record gives a player: the name (or "Player N") with
// every white-space character and every ':' replaced by '_'.
std::string gcgNickname(const Game& game, int player);

}  // namespace pexil
