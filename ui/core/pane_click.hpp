// What a click on a line of the text pane asks for: a move line plays its
// move (the left button) or looks its word up (the right one); a
// continuation line ("Type 'y' to see more moves.", "... more words.")
// shows the next page of its listing; a numbered word line of a word
// listing ("   3. QUA*") looks its word up. No wx here.
#pragma once

#include <string>

#include "state/game.hpp"

namespace pexil::ui {

enum class PaneLineKind { other, move, moreMoves, moreWords, numberedWord };

struct PaneLineRead {
  PaneLineKind kind = PaneLineKind::other;
  // The word to look up: a numbered line's word without its trailing '*'
  // or '#' marks; a move line's word with its tiles written out, upper
  // case.
  std::string word;
};

// The continuation lines, in any of the UI languages (a listing printed
// before a change of language still continues), and the numbered word
// lines "%4d. %s": a positive number, a full stop in the fifth column and
// the word from the seventh (lines shorter than seven characters do not
// count).
PaneLineRead ReadPaneText(const std::string& line);

// The same, a move line first: a line that names a move of the player to
// move of `game` (none: no move lines).
PaneLineRead ReadPaneLine(const Game* game, const std::string& line);

}  // namespace pexil::ui
