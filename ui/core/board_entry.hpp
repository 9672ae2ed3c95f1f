// Moves made on the board by hand: the board cursor and its typing
// direction, the tiles laid from the rack by typing or by dragging, the
// rack as the view shows it (its order, shuffled on request, without the
// tiles laid) and the move the laid tiles make. No wx here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "renderer.hpp"
#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil::ui {

// One tile laid on the board and not yet played.
struct LaidTile {
  int column = 0;
  int row = 0;
  char letter = 0;     // the board character it shows (upper case)
  bool blank = false;  // a blank standing for `letter`
  int rackIndex = -1;  // the tile's place in the full rack order it came from
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
  // occupied ones), keeping the typing direction. Off the board: no cursor.
  void setCursor(const Game& game, int column, int row);
  void clearCursor() { cursor_.reset(); }
  void toggleDirection();
  // Moves the cursor to the nearest empty square in that direction (one of
  // the steps -1, 0, 1 each); it stays where it is when there is none.
  void moveCursor(const Game& game, int columnStep, int rowStep);

  // A typed letter (Latin-1, either case): lays the rack tile of that
  // letter, or a blank standing for it, on the cursor square (or the first
  // empty one after it in the typing direction) and advances the cursor.
  // With the Spanish alphabet "l" after "l", "r" after "r" and "h" after
  // "c" turn the pair into the LL, RR or CH tile; with the Catalan one
  // "l", a middle dot ('·', '.' or '-') and "l" make the L·L tile, "n"
  // then "y" the NY tile, and a "u" typed after "q" belongs to its QU tile.
  // The first letter of such a pair waits, laying nothing, when the rack
  // has no tile of its own for it but the pair's tile (or a blank). False
  // when the rack cannot lay it (or no cursor is set, or the letter is no
  // tile of the game).
  bool typeLetter(const Game& game, char letter);
  // Backspace: takes back the last tile laid and puts the cursor there.
  bool takeBackLast();
  // Drags: the tile in slot `slot` of the displayed rack onto a square (a
  // blank needs `blankLetter`, a board character of the game in either
  // case); a laid tile to another empty square; a laid tile back to the
  // rack. False (changing nothing) when the square is taken, off the
  // board or unusable, or the slot or the blank's letter is not valid.
  bool placeFromRack(const Game& game, int slot, int column, int row, char blankLetter = 0);
  bool moveLaid(const Game& game, int fromColumn, int fromRow, int column, int row);
  bool returnToRack(int column, int row);

  const std::vector<LaidTile>& laid() const { return laid_; }
  // The tile laid on a square, or null.
  const LaidTile* laidAt(int column, int row) const;
  // Takes every laid tile back to the rack.
  void recall();

  // The move the laid tiles make for the player to move, or none with the
  // reason (a line of the pane, in the current language) in `why`. A move
  // of the rack's legal moves is given as the move generator lists it
  // (score, equity, leave); a placement whose words are not all in the
  // word list is given too, scored, with wordClass kClassPhony when its
  // main word is missing and phonyCross set when a cross word is: whether
  // phonies may be played is the caller's decision.
  std::optional<Move> laidMove(const Game& game, std::string* why = nullptr) const;

  // The rack of `player` as the view shows it: its tiles in the displayed
  // order, without the tiles laid (the player to move). '?' for a blank,
  // the letters in their upper-case one-character form.
  std::vector<char> displayedRack(const Game& game, int player) const;
  // A new order of the displayed rack (the player to move's), the same for
  // the same seed.
  void shuffle(unsigned seed);
  // Forgets the laid tiles, the typing state, the cursor and the order when
  // the game moved on (a move, an undo, a new game, another rack), and
  // keeps them otherwise. Every call that takes the game syncs first.
  void sync(const Game& game);

 private:
  // What the entry was made for: when any of it changes, the game moved on.
  struct Stamp {
    int moveNumber = -1;
    int toMove = -1;
    int players = 0;
    std::size_t history = 0;
    bool gameOver = false;
    int width = 0;
    int height = 0;
    Rack rack{};
    bool operator==(const Stamp&) const = default;
  };
  static Stamp stampOf(const Game& game);
  bool synced(const Game& game) const { return synced_ && stamp_ == stampOf(game); }
  // The empty square at or after (column, row) in the direction, none past
  // the edge.
  std::optional<std::pair<int, int>> emptyFrom(const Game& game, int column, int row, int dc, int dr) const;
  bool freeSquare(const Game& game, int column, int row) const;
  // Lays the rack tile of code `code` (or a blank standing for it) at the
  // square; false when the rack has neither left.
  bool layCode(const Game& game, int code, int column, int row);
  int unusedIndexOf(int code) const;
  // Whether the rack still holds a tile of the code, or a blank.
  bool canLay(int code) const;
  bool indexUsed(int index) const;

  std::optional<Cursor> cursor_;
  std::vector<LaidTile> laid_;
  // The full rack of the player to move in the displayed order (letter
  // codes, the blank's code for blanks).
  std::vector<int> order_;
  // The letters typed that made the last tile laid (and a pending middle
  // dot), for the two-letter tiles typed as two letters.
  std::string typed_;
  bool typedLaid_ = false;  // whether the first of them lies on the board
  bool synced_ = false;
  Stamp stamp_;
  // Texts of laid words that are not in the word list, kept for the life
  // of the program so that the moves made of them can point at them.
  mutable LaidWords words_;
};

// What the board picture shows of the entry: the laid tiles, the cursor
// and the rack of the player to move in its displayed order.
draw::EntryView EntryPictureOf(const BoardEntry& entry, const Game& game);

}  // namespace pexil::ui
