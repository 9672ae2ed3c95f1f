// The game recap: an HTML page of the game for people, with a picture of
// the final board beside it, the moves as a table (rack, move, square,
// leave, score, running total and the simulation note of each) and the
// players' final scores. The page is 8-bit text in the program's Latin-1.
#pragma once

#include <string>

#include "state/game.hpp"

namespace pexil {

struct RecapOptions {
  // The board picture's file name as the page names it (no folder), or
  // empty when no picture was saved.
  std::string imageFile;
  // Mark each word by the word lists it belongs to ('*' or '#').
  bool highlightLexicon = true;
};

std::string GameRecapHtml(const Game& game, const RecapOptions& options);

// Writes the page to `path`; false when it cannot be written.
bool WriteGameRecap(const Game& game, const std::string& path, const RecapOptions& options);

// The path of the recap's board picture: `recapPath` with the extension of
// its file name replaced by ".png" (added when it has none).
std::string RecapImagePath(const std::string& recapPath);

// The file name of a path without its folder.
std::string FileNameOf(const std::string& path);

}  // namespace pexil
