// Move lines: the one fixed layout in which every move is shown in the text
// pane (the computer's move, the move list, the simulation listings, the
// game history). Columns line up: player, caller's prefix, the word padded
// to 16 characters, the position, the score, and then either the simulated
// figures or the rack leave.
//
// Layout of a line, piece by piece:
//   "P%d%s: "        player i + 1; %s is one space when the game has 10 or
//                    more players and i + 1 is a single digit; no prefix for
//                    a player index below 0
//   prefix           the caller's text, as given
//   move text        padded with spaces to 16 characters, '|' marks not
//                    counted: labels in the UI language, "(Keep %s)",
//                    "(Exchange all)", "(Exchanged %d)", or the word with
//                    blanks in lower case, Spanish CH LL RR written out, and
//                    '|' around each run of letters that already lay on the
//                    board
//   position         placements only; one leading space when it holds a
//                    single digit ("8D" -> " 8D", "10D" stays)
//   " %s%s%d pt%s"   score: a space below 100 and another below 10; "pts",
//                    or "pt " for a score of 1 so that the columns stay put
//   equity           on request only (move lists the user reads as a table):
//                    the static equity in points, right-aligned in 8
//   evaluation       endgame result, simulated figures or "  [leave]" (the
//                    leave's Spanish multi-letter tiles written out)
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "rules/board.hpp"
#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

class TextPane;

// simValueA of a move whose value comes from the endgame search.
inline constexpr float kEndgameResultMark = -9999998.0f;
// simCount of a move whose value comes from the pre-endgame search.
inline constexpr int kPreEndgameCountMark = 54321;

struct MoveLineOptions {
  // The letters already on the board are those of the board the move is
  // to be laid on, the position before the move. Null means the game's
  // board, which is right for every move that has not been played yet
  // (move lists, simulation listings, hints). A move already laid must be
  // given the board as it was before it (for the move just played, the
  // game's previousBoard), or its own tiles would all be marked.
  const Board* before = nullptr;
  // False when the position before the move is not known (the history
  // listing): no '|' marks at all.
  bool boardKnown = true;
  // Simulated figures in the long form (spread, median, win percentage)
  // instead of the short form (spread, win percentage).
  bool longForm = false;
  // The mixed optimisation is on: " ms %.2f" with simValueC follows the
  // simulated figures.
  bool mixedOptimisation = false;
  // A column with the move's static equity after the score.
  bool showEquity = false;
};

// The text of one tile as the user reads it: "A", "?" for the blank, and
// the multi-letter tiles written out by the word-list alphabet (Spanish
// "CH", "LL", "RR"; Catalan "QU", "L\xB7L", "NY").
std::string tileDisplayText(int code);

// The word of a placement as shown in a move line: blanks in lower case,
// Spanish multi-letter tiles written out, and, with a board, '|' before
// the first and after the last letter of each run of letters that lie on
// that board already.
std::string moveLineWord(const Move& move, const Board* before);

// Tiles of a rack or leave (one character per tile, '?' the blank) as the
// user reads them: the multi-letter tiles written out.
std::string tilesDisplayText(std::string_view tiles);

// The move part of a move line alone, unpadded: the label of a
// non-placement in the UI language, or the placement's word as
// moveLineWord shows it.
std::string MoveLineText(const Game& game, const Move& move, const MoveLineOptions& options = {});

// Builds the line of a move for player index `player` (below 0: no player
// prefix) with the caller's `prefix` after the player prefix.
std::string MoveLine(const Game& game, int player, const Move& move, const std::string& prefix,
                     const MoveLineOptions& options = {});

// A line of column titles (move, position, score, equity when asked for,
// leave) that lines up with the move lines of `player` behind a caller's
// prefix of `prefixWidth` characters.
std::string MoveLineHeader(const Game& game, int player, std::size_t prefixWidth, const MoveLineOptions& options = {});

// Builds the line and prints it to the process-wide pane, or, with
// `toList`, appends it to the pending move listing (moveListing()), which
// the caller then shows page by page.
void PrintMoveLine(const Game& game, int player, const Move& move, const std::string& prefix, bool toList = false,
                   const MoveLineOptions& options = {});

// The pending listing of move lines that the continuation line "Type 'y'
// to see more moves." pages through. A listing is filled with lines (by
// PrintMoveLine with its to-list flag) and then shown with showNextPage:
// each call prints the next 20 lines (the page size of the word query
// results) and, while lines remain, the continuation line; the answer 'y'
// calls it again. Lines added after a listing has been shown to its end
// start a new listing; clear() drops a listing that was not finished.
// Safe to use from several threads.
class MoveListing {
 public:
  static constexpr std::size_t kPageSize = 20;

  void add(std::string line);
  void clear();
  // Lines not yet shown.
  std::size_t remaining() const;
  bool hasMore() const { return remaining() > 0; }
  // Prints the next page into the pane; false when nothing was pending.
  bool showNextPage(TextPane& pane);
  bool showNextPage();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

// The process-wide pending move listing.
MoveListing& moveListing();

}  // namespace pexil
