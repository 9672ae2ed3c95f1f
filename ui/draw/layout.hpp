// Where the board, the players' panel and the text pane go in a window of
// a given size, and which part of a tile texture a tile shows: plain
// arithmetic, kept apart from the drawing so that it can be checked alone.
#pragma once

namespace pexil::draw {

struct BoardLayout {
  int area = 0;          // the board area's side before it is cut into squares
  int square = 0;        // side of one square, pixels
  int labelBands = 0;    // 1 when row and column labels take a band of one square on each side
  int left = 0;          // left edge of the board, labels included
  int top = 0;           // top edge of the board, labels included
  int columns = 0;
  int rows = 0;
  int regionLeft = 0;    // where the players' panel and the text pane start
  int boardLeft() const { return left + labelBands * square; }
  int boardTop() const { return top + labelBands * square; }
  int outerWidth() const { return (columns + 2 * labelBands) * square; }
  int outerHeight() const { return (rows + 2 * labelBands) * square; }
};

// Board area A = min(2W/3, 8H/9); with the wide pane forced and W below
// A plus 64 pane characters, A = W minus 64 pane characters (at least 4).
// S = A / max(columns, rows), each plus 2 with labels. The board sits 8
// pixels from the left, centred vertically; the right-hand region starts
// 16 pixels right of it.
BoardLayout ComputeBoardLayout(int width, int height, int columns, int rows, bool labels, bool wideText,
                               int paneCharWidth);

// The players' panel: (S + F + 8) per player plus 12 high, F = min(S, 24).
inline int PanelTextLimit(int square) { return square < 24 ? square : 24; }
inline int PanelHeight(int square, int players) { return (square + PanelTextLimit(square) + 8) * players + 12; }

// The part of its style's texture a tile shows: with R the view's random
// number, c the column and r the row (or rack position),
// ox = (345c + R - r) & 527 and oy = (R - 123c - 175r) & 527.
inline int TextureOffsetX(int random, int column, int row) { return (345 * column + random - row) & 527; }
inline int TextureOffsetY(int random, int column, int row) { return (random - 123 * column - 175 * row) & 527; }

// A texture must reach this far beyond a tile's own size.
inline constexpr int kTextureMargin = 528;

}  // namespace pexil::draw
