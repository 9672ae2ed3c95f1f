// Moves made on the board by hand: the board cursor and its typing
// direction, the tiles laid from the rack by typing or by dragging, the
// rack as the view shows it (its order, shuffled on request, without the
// tiles laid) and the move the laid tiles make. No wx here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil::ui {

// One tile laid on the board and not yet played.
struct LaidTile {
  int column = 0;
  int row = 0;
  char letter = 0;     // the board character it shows (upper case)
  bool blank = false;  // a blank standing for `letter`
};

class BoardEntry {
 public:
  // The board cursor, if set, and the typing direction.
  struct Cursor {
    int column = 0;
    int row = 0;
    bool down = false;
  };
  const std::optional<Cursor>& cursor() const { return cursor_; }
  // Sets the cursor on a square of the board (any square; typing skips
  // occupied ones). Off the board: no cursor.
  void setCursor(const Game& game, int column, int row);
  void clearCursor() { cursor_.reset(); }
  void toggleDirection();
  // Moves the cursor to the nearest empty square in that direction.
  void moveCursor(const Game& game, int columnStep, int rowStep);

  // A typed letter (Latin-1, either case): lays the rack tile of that
  // letter, or a blank standing for it, on the cursor square and advances
  // the cursor. With the Spanish alphabet "l" after "l", "r" after "r" and
  // "h" after "c" turn the pair into the LL, RR or CH tile. False when the
  // rack cannot lay it.
  bool typeLetter(const Game& game, char letter);
  // Backspace: takes back the last tile laid and puts the cursor there.
  bool takeBackLast();
  // Drags: the tile in slot `slot` of the displayed rack onto a square (a
  // blank needs `blankLetter`, upper case); a laid tile back to the rack.
  bool placeFromRack(const Game& game, int slot, int column, int row, char blankLetter = 0);
  bool returnToRack(int column, int row);

  const std::vector<LaidTile>& laid() const { return laid_; }
  // Takes every laid tile back to the rack.
  void recall();

  // The move the laid tiles make for the player to move, or none with the
  // reason (a line of the pane) in `why`.
  std::optional<Move> laidMove(const Game& game, std::string* why = nullptr) const;

  // The rack of `player` as the view shows it: its tiles in the displayed
  // order, without the tiles laid (the player to move). '?' for a blank.
  std::vector<char> displayedRack(const Game& game, int player) const;
  // A new order of the displayed rack.
  void shuffle(unsigned seed);
  // Forgets the laid tiles and the order when the game moved on.
  void sync(const Game& game);

 private:
  std::optional<Cursor> cursor_;
  std::vector<LaidTile> laid_;
  std::vector<char> order_;
  int syncedMove_ = -1;
};

}  // namespace pexil::ui
