// The highlight mark of pane lines: a '|' inside a line switches
// highlighting on or off (the tiles of a move that already lay on the
// board, the tiles just played on a printed board). The mark is never
// shown: a front end draws the runs between marks highlighted and drops
// the marks; copied text loses them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pexil {

inline constexpr char kHighlightMark = '|';

// A stretch of a line between two marks.
struct HighlightRun {
  std::string_view text;
  bool highlighted = false;
};

// The line cut at its marks, in order, without the marks and without empty
// runs. The first run is plain; each mark flips the state; a line that
// ends highlighted simply ends.
std::vector<HighlightRun> highlightRuns(std::string_view line);

// The line as read, without its marks.
std::string withoutHighlightMarks(std::string_view line);

// Number of characters shown: the marks do not count.
std::size_t shownLength(std::string_view line);

}  // namespace pexil
