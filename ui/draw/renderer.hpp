// The picture of the main view: the board with its squares, labels and
// tiles on the left, the players' panel at the top right and the text pane
// below it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "board_preview.hpp"
#include "canvas.hpp"
#include "draw_context.hpp"
#include "layout.hpp"

namespace pexil {
struct Game;
class TextPane;
}  // namespace pexil

namespace pexil::draw {

// The display options the picture depends on (the stored settings of the
// same names) and the view's random number for the texture offsets.
struct ViewOptions {
  bool tileValue = true;
  bool rowColumnLabels = false;
  bool wideText = false;
  bool bonusLabels = true;
  int blankColour = 0x0000FF;     // 0xRRGGBB, or -1: a blank's letter is not drawn
  int tileStyle = 2;              // 0..7, -1 custom colours
  int customText = 0x000000;
  int customBackground = 0xFFFFFF;
  int randomNumber = 0;
};

// What the view keeps of the pane between paints: the first visible line,
// the selected line (or -1) and the line count seen at the last paint.
struct PaneView {
  std::size_t first = 0;
  long selected = -1;
  std::size_t seenCount = 0;
  int visibleLines = 0;
  // The scroll arrow held down (its triangle shows green): -1 the upper
  // one, 1 the lower one, 0 none.
  int pressedArrow = 0;
  // Where the last paint put the pane's lines: the top of the first line
  // and the left, right and bottom edges of the box (for the pointer).
  int linesTop = 0, left = 0, right = 0, bottom = 0;
  static constexpr int kLineStep = 20;
  // The line under a point of the view, or -1.
  long lineAt(int x, int y) const {
    if (x <= left || x >= right || y < linesTop || y >= bottom || visibleLines <= 0) return -1;
    const long k = (y - linesTop) / kLineStep;
    if (k >= visibleLines) return -1;
    const long line = static_cast<long>(first) + k;
    return line < static_cast<long>(seenCount) ? line : -1;
  }
};

// A rectangle of the picture.
struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// What the tiles laid by hand add to the picture: the tiles on their
// squares (framed), the board cursor with an arrow of its typing
// direction, the player to move's rack in its displayed order without the
// laid tiles, and a tile being dragged.
struct EntryView {
  struct Tile {
    int column = 0;
    int row = 0;
    char letter = 0;     // the board character (either case)
    bool blank = false;
  };
  std::vector<Tile> laid;
  bool hasCursor = false;
  int cursorColumn = 0;
  int cursorRow = 0;
  bool cursorDown = false;
  // The rack of `rackPlayer` as shown ('?' a blank); the other players'
  // racks show in letter order.
  int rackPlayer = -1;
  std::vector<char> rack;
  // A tile under the pointer, its centre at (dragX, dragY).
  bool dragging = false;
  Tile dragged;
  int dragX = 0;
  int dragY = 0;
};

// Where the last paint put what the pointer can take: each rack tile
// (with its player and its place in the rack as shown), each board
// square, and the pane's two scroll arrows.
struct HitMap {
  struct RackTile {
    int player = 0;
    int slot = 0;
    Box box;
  };
  struct Square {
    int column = 0;
    int row = 0;
    Box box;
  };
  std::vector<RackTile> rackTiles;
  std::vector<Square> squares;
  Box scrollUp, scrollDown;
  int squareSize = 0;  // side of a square (and of a rack tile)

  void clear() { *this = HitMap(); }
  const RackTile* rackTileAt(int x, int y) const {
    for (const RackTile& t : rackTiles) {
      if (t.box.contains(x, y)) return &t;
    }
    return nullptr;
  }
  const Square* squareAt(int x, int y) const {
    for (const Square& s : squares) {
      if (s.box.contains(x, y)) return &s;
    }
    return nullptr;
  }
  // -1 over the upper scroll arrow, 1 over the lower one, else 0.
  int scrollArrowAt(int x, int y) const {
    if (scrollUp.contains(x, y)) return -1;
    if (scrollDown.contains(x, y)) return 1;
    return 0;
  }
};

// Colours of the picture, 0xRRGGBB.
namespace colours {
inline constexpr int background = 0x00002F;
inline constexpr int squareOutline = 0xB4B4B4;
inline constexpr int bonusText = 0xEEEEEE;
inline constexpr int labelText = 0xFFFFFF;
inline constexpr int panel = 0xFFFFFF;
inline constexpr int scrollBar = 0xBFBFBF;
inline constexpr int previewLaid = 0xFFFF00;  // frame of a previewed move's own tiles
inline constexpr int previewUsed = 0x00FFFF;  // frame of the board's tiles its word runs through
inline constexpr int heat = 0xFF3000;         // squares of a heat map are tinted towards it
inline constexpr int scrollArrow = 0x000000;
inline constexpr int scrollArrowPressed = 0x00FF00;
inline constexpr int laidFrame = 0xFF8000;    // frame of the tiles laid by hand
inline constexpr int cursor = 0xFF8000;       // the board cursor and its arrow
}  // namespace colours

// Letter colour of a tile style: white for 0, 1, 5, 7, black for 2, 3, 4, 6.
int StyleLetterColour(int style, int customText);

// Draws the whole view for `game` (none: banner only, the pane on the right
// half). Reads the game and the pane; the active rules must be the game's.
// With a preview the board shows the preview's board, its move's tiles
// framed, and its heat map when it has one (and not the tiles laid by
// hand). `hits`, when given, receives where the pointer can take things.
void RenderView(const DrawContext& context, Canvas& canvas, const Game* game, const ViewOptions& options,
                const TextPane& pane, PaneView& paneView, const BoardPreview* preview = nullptr,
                const EntryView* entry = nullptr, HitMap* hits = nullptr);

// What one tile shows.
struct TileFace {
  char letter = 0;     // the board or rack character (0: none)
  bool blank = false;  // a blank standing for `letter`, or a rack blank when letter is 0
  int value = 0;
};

// One tile of side `square` at (x, y), sampling the texture at the offsets
// of column `column`, row `row`.
void DrawTile(const DrawContext& context, Canvas& canvas, int x, int y, int square, const TileFace& face,
              const ViewOptions& options, int column, int row);

// The text a tile shows for a board or rack character, in upper case, with
// the two-letter tiles written out ("CH", "L·L" as "L.L"): exposed for tests.
std::string TileCaption(char letter);

// The cell of the glyph sheet tchars.bmp that draws a caption whole: CH 0,
// LL 1, RR 2, QU 3, NY 4, L·L 5, Æ 6; -1 for a caption set from the font.
int TwoLetterCell(const std::string& caption);

}  // namespace pexil::draw
