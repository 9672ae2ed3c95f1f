#include "renderer.hpp"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "allegro_internal.hpp"
#include "play/game_flow.hpp"
#include "preview_drawing.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "state/game.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::draw {
namespace {

constexpr int kTransparent = 0xFF00FF;
constexpr int kTileRed = 0xFF0000;
constexpr int kCornerRadius = 3;
constexpr int kPaneLineLimit = 18;
constexpr int kPaneLineStep = PaneView::kLineStep;
constexpr int kScrollBarWidth = 16;

// Flat tile colours for a style whose texture is missing.
constexpr int kFlatStyleColour[kTileStyles] = {0x4A2C17, 0x8B5A2B, 0xDEB887, 0xD8D8D0,
                                               0xD4AF37, 0xCDBB99, 0xC8A070, 0x2040A0};

// A message of the catalogue, or the built-in English text while the
// catalogue has none.
std::string text(int number, const char* english) {
  const char* m = Message(number);
  return m != nullptr && *m != 0 ? std::string(m) : std::string(english);
}


void textAt(BITMAP* b, const FontEntry* f, const std::string& s, int x, int y, int rgb) {
  if (f != nullptr) textout_ex(b, f->font.get(), s.c_str(), x, y, PixelOf(rgb), -1);
}
void textCentred(BITMAP* b, const FontEntry* f, const std::string& s, int cx, int y, int rgb) {
  if (f != nullptr) textAt(b, f, s, cx - text_length(f->font.get(), s.c_str()) / 2, y, rgb);
}

// The bonus labels of a square kind: three lines, or none for a plain square.
struct BonusLines {
  std::string lines[3];
  bool any = false;
};
BonusLines bonusLines(SquareType type) {
  BonusLines b;
  auto set = [&](int first, const char* a, const char* c, const char* d) {
    b.lines[0] = text(first, a);
    b.lines[1] = text(first + 1, c);
    b.lines[2] = text(first + 2, d);
    b.any = true;
  };
  switch (type) {
    case 0:
    case 1:
    case square::empty: break;
    case square::doubleLetter: set(483, "DOUBLE", "LETTER", "SCORE"); break;
    case square::tripleLetter: set(486, "TRIPLE", "LETTER", "SCORE"); break;
    case square::quadrupleLetter: set(489, "QUAD", "LETTER", "SCORE"); break;
    case square::doubleWord: set(492, "DOUBLE", "WORD", "SCORE"); break;
    case square::tripleWord: set(495, "TRIPLE", "WORD", "SCORE"); break;
    case square::quadrupleWord: set(498, "QUAD", "WORD", "SCORE"); break;
    default: {
      // A custom kind: word kinds are multiples of ten beyond 19 (or below -9).
      const bool word = type > 19 || type < -9;
      const int multiplier = word ? type / 10 : type;
      const std::string format = text(msg::BonusCustomMultiplier, "%s%dx");
      char first[64];
      std::snprintf(first, sizeof first, format.c_str(), multiplier < 0 ? "-" : "", multiplier < 0 ? -multiplier : multiplier);
      b.lines[0] = first;
      b.lines[1] = word ? text(msg::BonusCustomWord, "WORD") : text(msg::BonusCustomLetter, "LETTER");
      b.lines[2] = text(msg::BonusLabelFirst + 2, "SCORE");
      b.any = true;
    }
  }
  return b;
}

// A rounded rectangle of corner radius 3, filled: the edges, each corner a
// circle clipped to its corner, then a flood fill of the inside.
void roundedTile(BITMAP* tile, int side, int colour) {
  const int last = side - 1, r = kCornerRadius;
  if (side < 2 * r + 2) {
    rectfill(tile, 0, 0, last, last, colour);
    return;
  }
  hline(tile, r, 0, last - r, colour);
  hline(tile, r, last, last - r, colour);
  vline(tile, 0, r, last - r, colour);
  vline(tile, last, r, last - r, colour);
  const int corners[4][4] = {{0, 0, r, r}, {last - r, 0, last, r}, {0, last - r, r, last}, {last - r, last - r, last, last}};
  const int centres[4][2] = {{r, r}, {last - r, r}, {r, last - r}, {last - r, last - r}};
  for (int k = 0; k < 4; ++k) {
    set_clip_rect(tile, corners[k][0], corners[k][1], corners[k][2], corners[k][3]);
    circle(tile, centres[k][0], centres[k][1], r, colour);
  }
  set_clip_rect(tile, 0, 0, last, last);
  floodfill(tile, side / 2, side / 2, colour);
}

// The marks drawn over or under a base letter for the characters the
// fonts lack: from the glyph sheet chars.bmp, or, without it, with lines
// and circles. (Two-letter tiles and Æ come whole from tchars.bmp when it
// is there; the pieces below compose them otherwise.)
enum class Mark { none, tilde, cedilla, ring, dots, stroke, ligature };
struct Piece {
  std::string base;  // ASCII letters, or empty for a middle dot
  Mark mark = Mark::none;
};
Piece pieceOf(unsigned char ch) {
  switch (ch) {
    case 0xD1: return {"N", Mark::tilde};
    case 0xC7: return {"C", Mark::cedilla};
    case 0xC5: return {"A", Mark::ring};
    case 0xC4: return {"A", Mark::dots};
    case 0xD6: return {"O", Mark::dots};
    case 0xDC: return {"U", Mark::dots};
    case 0xD8: return {"O", Mark::stroke};
    case 0xC6: return {"AE", Mark::ligature};
    case 0xB7: return {"", Mark::none};
    default: break;
  }
  if (ch >= 32 && ch <= 127) return {std::string(1, static_cast<char>(ch)), Mark::none};
  return {"?", Mark::none};
}

// Æ: the E drawn over the right part of the A.
int ligatureShift(const FONT* f) { return text_length(f, "A") * 11 / 20; }

int pieceWidth(const FONT* f, const Piece& p) {
  if (p.base.empty()) return std::max(2, text_height(f) / 4);
  if (p.mark == Mark::ligature) return ligatureShift(f) + text_length(f, p.base.c_str() + 1);
  return text_length(f, p.base.c_str());
}

int captionWidth(const FONT* f, const std::string& caption) {
  int w = 0;
  for (unsigned char ch : caption) w += pieceWidth(f, pieceOf(ch));
  return w;
}

void drawMark(BITMAP* b, Mark mark, int x, int y, int advance, int h, int colour) {
  const int cx = x + advance / 2;
  const int dot = std::max(1, h / 16);
  switch (mark) {
    case Mark::none:
    case Mark::ligature: break;
    case Mark::dots:
      circlefill(b, x + advance * 3 / 10, y + h / 10, dot, colour);
      circlefill(b, x + advance * 7 / 10, y + h / 10, dot, colour);
      break;
    case Mark::ring: circle(b, cx, y + h / 10, std::max(1, h / 12), colour); break;
    case Mark::tilde: {
      const int top = y + h / 14, low = y + h / 6, q = advance / 6;
      line(b, cx - 2 * q, low, cx - q, top, colour);
      line(b, cx - q, top, cx + q, low, colour);
      line(b, cx + q, low, cx + 2 * q, top, colour);
      break;
    }
    case Mark::cedilla: {
      const int base = y + h * 4 / 5;
      line(b, cx, base, cx, base + h / 10, colour);
      line(b, cx, base + h / 10, cx - advance / 6, base + h / 6, colour);
      break;
    }
    case Mark::stroke: line(b, x + advance / 6, y + h * 4 / 5, x + advance * 5 / 6, y + h / 5, colour); break;
  }
}

// The cell of chars.bmp that holds a mark.
int sheetCell(Mark mark) {
  switch (mark) {
    case Mark::tilde: return 0;
    case Mark::cedilla: return 1;
    case Mark::ring: return 2;
    case Mark::dots: return 3;
    case Mark::stroke: return 4;
    case Mark::none:
    case Mark::ligature: break;
  }
  return -1;
}
constexpr int kMiddleDotCell = 5;

// A mark from the glyph sheet, its cell (one capital's box) scaled to the
// font's height and centred on the letter; false without the sheet.
bool drawSheetMark(BITMAP* b, const GlyphSheet& sheet, int cell, int x, int y, int advance, int h, int colour) {
  if (cell < 0 || cell >= sheet.cells() || sheet.cellHeight() <= 0) return false;
  const double scale = static_cast<double>(h) / sheet.cellHeight();
  const int width = static_cast<int>(sheet.cellWidth(cell) * scale + 0.5);
  sheet.draw(b, cell, x + (advance - width) / 2, y, scale, colour);
  return true;
}

void drawCaption(BITMAP* b, const GlyphSheet& sheet, const FONT* f, const std::string& caption, int x, int y,
                 int colour) {
  const int h = text_height(f);
  for (unsigned char ch : caption) {
    const Piece p = pieceOf(ch);
    const int w = pieceWidth(f, p);
    if (p.base.empty()) {
      if (!drawSheetMark(b, sheet, kMiddleDotCell, x, y, w, h, colour)) {
        circlefill(b, x + w / 2, y + h / 2, std::max(1, h / 14), colour);
      }
    } else if (p.mark == Mark::ligature) {
      textout_ex(b, f, p.base.substr(0, 1).c_str(), x, y, colour, -1);
      textout_ex(b, f, p.base.substr(1).c_str(), x + ligatureShift(f), y, colour, -1);
    } else {
      textout_ex(b, f, p.base.c_str(), x, y, colour, -1);
      if (p.mark != Mark::none && !drawSheetMark(b, sheet, sheetCell(p.mark), x, y, w, h, colour)) {
        drawMark(b, p.mark, x, y, w, h, colour);
      }
    }
    x += w;
  }
}

// A two-letter tile (or Æ) drawn whole from tchars.bmp: the pair's glyph
// scaled to the text height of the font a single letter of this tile would
// get, so that both letters stand as tall as any capital, narrowed further
// only where it would not fit across the tile; centred. False without the
// sheet (the caption is then composed from the font).
bool drawTwoLetterGlyph(BITMAP* tile, const DrawContext& context, const std::string& caption, int square, int colour) {
  const int cell = TwoLetterCell(caption);
  const GlyphSheet& sheet = context.impl().twoLetter;
  if (cell < 0 || cell >= sheet.cells() || sheet.cellHeight() <= 0 || sheet.cellWidth(cell) <= 0) return false;
  const FontEntry* f = context.impl().boardFonts.pick(4 * square / 5);
  const int h = f != nullptr ? f->height : 4 * square / 5;
  if (h <= 0) return false;
  double scale = static_cast<double>(h) / sheet.cellHeight();
  const int room = square - 2;
  if (sheet.cellWidth(cell) * scale > room) scale = static_cast<double>(room) / sheet.cellWidth(cell);
  const int width = static_cast<int>(sheet.cellWidth(cell) * scale + 0.5);
  const int height = static_cast<int>(sheet.cellHeight() * scale + 0.5);
  sheet.draw(tile, cell, (square - width) / 2, (square - h) / 2 + (h - height) / 2, scale, colour);
  return true;
}

// Pixels of the picture for the board squares and their tiles.
void drawBoard(const DrawContext& context, Canvas& canvas, const Board& board, const BoardLayout& layout,
               const ViewOptions& options, HitMap* hits) {
  BITMAP* b = canvas.impl().bitmap.get();
  const int s = layout.square;
  const FontEntry* bonusFont = options.bonusLabels ? context.impl().boardFonts.pick(s / 4) : nullptr;
  for (int row = 0; row < layout.rows; ++row) {
    for (int column = 0; column < layout.columns; ++column) {
      const SquareType type = squareType(row, column);
      if (type == square::empty) continue;
      const int x = layout.boardLeft() + column * s, y = layout.boardTop() + row * s;
      if (hits != nullptr) hits->squares.push_back({column, row, Box{x, y, s, s}});
      rect(b, x, y, x + s - 1, y + s - 1, PixelOf(colours::squareOutline));
      if (s > 2) rectfill(b, x + 1, y + 1, x + s - 2, y + s - 2, PixelOf(squareColor(row, column)));
      const Square* sq = squareAt(board, column, row);
      if (sq != nullptr && !sq->empty()) {
        TileFace face;
        face.letter = sq->letter;
        face.blank = sq->isBlank != 0;
        face.value = letterValue(sq->letter, face.blank);
        DrawTile(context, canvas, x, y, s, face, options, column, row);
        continue;
      }
      if (bonusFont == nullptr) continue;
      const BonusLines lines = bonusLines(type);
      if (!lines.any) continue;
      set_clip_rect(b, x + 1, y + 1, x + s - 2, y + s - 2);
      const int h = bonusFont->height;
      const int top = y + (s - 3 * h) / 2;
      for (int k = 0; k < 3; ++k) textCentred(b, bonusFont, lines.lines[k], x + s / 2, top + k * h, colours::bonusText);
      set_clip_rect(b, 0, 0, b->w - 1, b->h - 1);
    }
  }
  if (layout.labelBands == 0) return;
  const FontEntry* labelFont = context.impl().boardFonts.pick(2 * s / 3);
  if (labelFont == nullptr) return;  // no font small enough: no labels
  const bool swapped = letteredRows();
  auto letterLabel = [](int k) {
    std::string label;
    if (k >= 26) label += static_cast<char>('A' + k / 26 - 1);
    label += static_cast<char>('A' + k % 26);
    return label;
  };
  auto label = [&](int k, bool letters) { return letters ? letterLabel(k) : std::to_string(k + 1); };
  const int h = labelFont->height;
  for (int column = 0; column < layout.columns; ++column) {
    const std::string t = label(column, !swapped);
    const int cx = layout.boardLeft() + column * s + s / 2;
    textCentred(b, labelFont, t, cx, layout.top + (s - h) / 2, colours::labelText);
    textCentred(b, labelFont, t, cx, layout.boardTop() + layout.rows * s + (s - h) / 2, colours::labelText);
  }
  for (int row = 0; row < layout.rows; ++row) {
    const std::string t = label(row, swapped);
    const int y = layout.boardTop() + row * s + (s - h) / 2;
    textCentred(b, labelFont, t, layout.left + s / 2, y, colours::labelText);
    textCentred(b, labelFont, t, layout.boardLeft() + layout.columns * s + s / 2, y, colours::labelText);
  }
}

// The players' panel; returns its bottom edge.
int drawPanel(const DrawContext& context, Canvas& canvas, const Game& game, const BoardLayout& layout,
              const ViewOptions& options, const EntryView* entry, HitMap* hits) {
  BITMAP* b = canvas.impl().bitmap.get();
  const int s = layout.square, f = PanelTextLimit(s);
  const int left = layout.regionLeft, right = b->w - 8, top = 8;
  const int bottom = top + PanelHeight(s, game.playerCount);
  if (right > left) rectfill(b, left, top, right, bottom - 1, PixelOf(colours::panel));
  const FontEntry* font = context.impl().boardFonts.pick(f);
  for (int p = 0; p < game.playerCount; ++p) {
    const auto index = static_cast<std::size_t>(p);
    const int y = top + 6 + p * (s + f + 8);
    const int score = game.scores[index];
    // "Name, score 57 points (your turn)" in the current language.
    const std::string scoreWord = text(msg::PanelScore, "score");
    const std::string points = score == 1 ? text(msg::HistoryPoint, "point") : text(msg::PanelPoints, "points");
    const std::string turn = p == game.toMove && !game.gameOver ? text(msg::PanelYourTurn, "(your turn)") : "";
    std::string line = FormatMessage(msg::PanelPlayerLine, playerName(game, p).c_str(), scoreWord.c_str(), score,
                                     points.c_str(), turn.c_str());
    while (!line.empty() && line.back() == ' ') line.pop_back();
    // A line wider than the panel is set in a smaller font until it fits.
    const FontEntry* lineFont = font;
    for (int limit = f - 1; lineFont != nullptr && limit >= 8 &&
                            text_length(lineFont->font.get(), line.c_str()) > right - left - 12;
         --limit) {
      if (const FontEntry* smaller = context.impl().boardFonts.pick(limit)) lineFont = smaller;
    }
    textAt(b, lineFont, line, left + 6, y + (font != nullptr && lineFont != nullptr ? font->height - lineFont->height : 0),
           0x000000);
    // Rack tiles beyond the panel's right edge are cut off there.
    set_clip_rect(b, left, top, right, bottom - 1);
    // The rack as the entry shows it, else in letter order.
    std::vector<int> codes;
    if (entry != nullptr && entry->rackPlayer == p) {
      for (char c : entry->rack) codes.push_back(c == '?' ? rules().blankCode : codeOfLetter(c));
    } else {
      const Rack& rack = game.racks[index];
      for (int code = 0; code < rules().codeCount; ++code) codes.insert(codes.end(), static_cast<std::size_t>(rack[code]), code);
    }
    for (int position = 0; position < static_cast<int>(codes.size()); ++position) {
      const int code = codes[static_cast<std::size_t>(position)];
      TileFace face;
      if (code == rules().blankCode) {
        face.blank = true;
      } else if (code >= 0 && code < kCodeSlots) {
        face.letter = charOfLower(code);
        face.value = rules().letterValue[static_cast<std::size_t>(code)];
      }
      const int x = left + 6 + position * (s + 2), ty = y + f + 2;
      DrawTile(context, canvas, x, ty, s, face, options, position, 100 + p);
      if (hits != nullptr) hits->rackTiles.push_back({p, position, Box{x, ty, s, s}});
    }
    set_clip_rect(b, 0, 0, b->w - 1, b->h - 1);
  }
  return bottom;
}

void drawPane(const DrawContext& context, Canvas& canvas, const TextPane& pane, PaneView& view, int left, int top,
              HitMap* hits) {
  BITMAP* b = canvas.impl().bitmap.get();
  const int right = b->w - 12, bottom = b->h - 12;
  if (right - left < 8 || bottom - top < 8) return;
  const int white = PixelOf(0xFFFFFF);
  rectfill(b, left, top, right, bottom, PixelOf(0x000000));
  rect(b, left, top, right, bottom, white);
  rect(b, left + 2, top + 2, right - 2, bottom - 2, white);
  // The scroll bar with its two arrows.
  const int barLeft = right - 3 - kScrollBarWidth, barRight = right - 3;
  rectfill(b, barLeft, top + 3, barRight, bottom - 3, PixelOf(colours::scrollBar));
  const int mid = (barLeft + barRight) / 2;
  const int upColour = PixelOf(view.pressedArrow < 0 ? colours::scrollArrowPressed : colours::scrollArrow);
  const int downColour = PixelOf(view.pressedArrow > 0 ? colours::scrollArrowPressed : colours::scrollArrow);
  triangle(b, barLeft + 3, top + 3 + kScrollBarWidth - 4, barRight - 3, top + 3 + kScrollBarWidth - 4, mid, top + 6, upColour);
  triangle(b, barLeft + 3, bottom - 3 - kScrollBarWidth + 4, barRight - 3, bottom - 3 - kScrollBarWidth + 4, mid, bottom - 6,
           downColour);
  if (hits != nullptr) {
    hits->scrollUp = Box{barLeft, top + 3, barRight - barLeft + 1, kScrollBarWidth};
    hits->scrollDown = Box{barLeft, bottom - 3 - kScrollBarWidth + 1, barRight - barLeft + 1, kScrollBarWidth};
  }

  const FontEntry* font = context.impl().paneFonts.pick(kPaneLineLimit);
  const int visible = std::max(0, (bottom - top - 36) / kPaneLineStep);
  view.visibleLines = visible;
  view.linesTop = top + 22;
  view.left = left;
  view.right = barLeft;
  view.bottom = bottom;
  set_clip_rect(b, left + 3, top + 3, barLeft - 1, bottom - 3);
  pane.WithLines([&](const std::vector<std::string>& lines, const std::vector<int>& lineColours) {
    const std::size_t count = lines.size();
    // New lines: scroll so that the last one shows.
    if (count != view.seenCount) {
      view.first = count > static_cast<std::size_t>(visible) ? count - static_cast<std::size_t>(visible) : 0;
      view.seenCount = count;
    }
    if (view.first > count) view.first = count;
    for (int k = 0; k < visible && view.first + static_cast<std::size_t>(k) < count; ++k) {
      const std::size_t index = view.first + static_cast<std::size_t>(k);
      std::string shown;
      for (char c : lines[index]) {
        if (c != '|') shown += c;
      }
      const int y = top + 22 + k * kPaneLineStep;
      int colour = lineColours[index];
      if (static_cast<long>(index) == view.selected) {
        rectfill(b, left + 4, y - 1, barLeft - 2, y + kPaneLineStep - 2, PixelOf(colour));
        colour = 0x000000;
      }
      textAt(b, font, shown, left + 10, y, colour);
    }
  });
  set_clip_rect(b, 0, 0, b->w - 1, b->h - 1);
}

// A frame two pixels wide just inside a square.
void squareFrame(BITMAP* b, int x, int y, int s, int rgb) {
  rect(b, x, y, x + s - 1, y + s - 1, PixelOf(rgb));
  if (s > 2) rect(b, x + 1, y + 1, x + s - 2, y + s - 2, PixelOf(rgb));
}

// The tiles laid by hand, framed, and the board cursor: a frame round its
// square and an arrow pointing the way typing goes.
void drawEntry(const DrawContext& context, Canvas& canvas, const BoardLayout& layout, const EntryView& entry,
               const ViewOptions& options) {
  BITMAP* b = canvas.impl().bitmap.get();
  const int s = layout.square;
  for (const EntryView::Tile& tile : entry.laid) {
    if (tile.column < 0 || tile.row < 0 || tile.column >= layout.columns || tile.row >= layout.rows) continue;
    const int x = layout.boardLeft() + tile.column * s, y = layout.boardTop() + tile.row * s;
    TileFace face;
    face.letter = tile.letter;
    face.blank = tile.blank;
    face.value = letterValue(latin1Lower(tile.letter), tile.blank);
    DrawTile(context, canvas, x, y, s, face, options, tile.column, tile.row);
    squareFrame(b, x, y, s, colours::laidFrame);
  }
  if (!entry.hasCursor || entry.cursorColumn < 0 || entry.cursorRow < 0 || entry.cursorColumn >= layout.columns ||
      entry.cursorRow >= layout.rows) {
    return;
  }
  const int x = layout.boardLeft() + entry.cursorColumn * s, y = layout.boardTop() + entry.cursorRow * s;
  const int colour = PixelOf(colours::cursor);
  squareFrame(b, x, y, s, colours::cursor);
  // The arrow: a triangle in the square's middle, pointing right or down.
  const int cx = x + s / 2, cy = y + s / 2, h = std::max(2, s / 4);
  if (entry.cursorDown) {
    triangle(b, cx - h, cy - h / 2, cx + h, cy - h / 2, cx, cy + h, colour);
  } else {
    triangle(b, cx - h / 2, cy - h, cx - h / 2, cy + h, cx + h, cy, colour);
  }
}

// The tile under the pointer, centred on it.
void drawDragged(const DrawContext& context, Canvas& canvas, int square, const EntryView& entry,
                 const ViewOptions& options) {
  if (!entry.dragging || square < 1) return;
  TileFace face;
  face.letter = entry.dragged.letter;
  face.blank = entry.dragged.blank;
  face.value = entry.dragged.letter != 0 ? letterValue(latin1Lower(entry.dragged.letter), entry.dragged.blank) : 0;
  DrawTile(context, canvas, entry.dragX - square / 2, entry.dragY - square / 2, square, face, options, 0, 99);
}

}  // namespace

int StyleLetterColour(int style, int customText) {
  switch (style) {
    case 0:
    case 1:
    case 5:
    case 7: return 0xFFFFFF;
    case 2:
    case 3:
    case 4:
    case 6: return 0x000000;
    default: return customText;
  }
}

int TwoLetterCell(const std::string& caption) {
  static const char* const kCells[] = {"CH", "LL", "RR", "QU", "NY", "L\xB7L", "\xC6"};
  for (int k = 0; k < static_cast<int>(std::size(kCells)); ++k) {
    if (caption == kCells[k]) return k;
  }
  return -1;
}

std::string TileCaption(char letter) {
  if (letter == 0 || letter == ' ') return "";
  const LetterCode code = codeOfLetter(letter);
  // The alphabet's own form of the letter's code (a Catalan 'k' is Ç), or
  // the letter itself where the code means nothing to the active rules.
  const bool known = code >= 0 && code < rules().codeCount && code != rules().blankCode;
  const char upper = known ? charOfUpper(code) : latin1Upper(letter);
  switch (upper) {
    case '1': return "CH";
    case '2': return "LL";
    case '3': return "RR";
    default: break;
  }
  if (wordListAlphabet() == kAlphabetCatalan) {
    if (upper == 'Q') return "QU";
    if (upper == 'W') return "L\xB7L";
    if (upper == 'Y') return "NY";
  }
  return std::string(1, upper);
}

void DrawTile(const DrawContext& context, Canvas& canvas, int x, int y, int square, const TileFace& face,
              const ViewOptions& options, int column, int row) {
  if (square < 1) return;
  BitmapPtr tile(create_bitmap_ex(32, square, square));
  if (!tile) return;
  BITMAP* t = tile.get();
  clear_to_color(t, PixelOf(kTransparent));
  const int red = PixelOf(kTileRed);
  roundedTile(t, square, red);
  // The red inside takes the texture (or the custom or flat colour).
  const int style = options.tileStyle;
  const BITMAP* texture = style >= 0 && style < kTileStyles ? context.impl().textures[static_cast<std::size_t>(style)].get() : nullptr;
  const int ox = TextureOffsetX(options.randomNumber, column, row);
  const int oy = TextureOffsetY(options.randomNumber, column, row);
  const int flat = style < 0 || style >= kTileStyles ? PixelOf(options.customBackground) : PixelOf(kFlatStyleColour[style]);
  for (int py = 0; py < square; ++py) {
    auto* line = reinterpret_cast<std::uint32_t*>(t->line[py]);
    const std::uint32_t* source =
        texture != nullptr ? reinterpret_cast<const std::uint32_t*>(texture->line[(py + oy) % texture->h]) : nullptr;
    for (int px = 0; px < square; ++px) {
      if (line[px] != static_cast<std::uint32_t>(red)) continue;
      line[px] = source != nullptr ? source[(px + ox) % texture->w] : static_cast<std::uint32_t>(flat);
    }
  }
  const int letterColour = StyleLetterColour(style, options.customText);
  const std::string caption = TileCaption(face.letter);
  const bool drawLetter = !caption.empty() && !(face.blank && options.blankColour < 0);
  const int colour = PixelOf(face.blank ? options.blankColour : letterColour);
  if (drawLetter && !drawTwoLetterGlyph(t, context, caption, square, colour)) {
    // The largest font no taller than 4S/5 whose caption fits across the tile.
    const FontSet& fonts = context.impl().boardFonts;
    for (int limit = 4 * square / 5; limit > 0; --limit) {
      const FontEntry* f = fonts.pick(limit);
      if (f == nullptr) break;
      const int w = captionWidth(f->font.get(), caption);
      if (w <= square - 2 || caption.size() == 1) {
        drawCaption(t, context.impl().marks, f->font.get(), caption, (square - w) / 2, (square - f->height) / 2, colour);
        break;
      }
      limit = f->height;  // next try: a smaller font
    }
  }
  if (options.tileValue && face.value > 0 && !face.blank) {
    if (const FontEntry* f = context.impl().boardFonts.pick(square / 3)) {
      const std::string value = std::to_string(face.value);
      const int w = text_length(f->font.get(), value.c_str());
      textout_ex(t, f->font.get(), value.c_str(), square - 3 - w, square - 2 - f->height, PixelOf(letterColour), -1);
    }
  }
  masked_blit(t, canvas.impl().bitmap.get(), 0, 0, x, y, square, square);
}

void RenderView(const DrawContext& context, Canvas& canvas, const Game* game, const ViewOptions& options,
                const TextPane& pane, PaneView& paneView, const BoardPreview* preview, const EntryView* entry,
                HitMap* hits) {
  BITMAP* b = canvas.impl().bitmap.get();
  set_clip_rect(b, 0, 0, b->w - 1, b->h - 1);
  clear_to_color(b, PixelOf(colours::background));
  if (hits != nullptr) hits->clear();
  if (game == nullptr || game->board.width <= 0 || game->board.height <= 0) {
    drawPane(context, canvas, pane, paneView, b->w / 2, 8, hits);
    return;
  }
  const BoardLayout layout = ComputeBoardLayout(b->w, b->h, game->board.width, game->board.height, options.rowColumnLabels,
                                                options.wideText, context.paneCharWidth(kPaneLineLimit));
  const bool previewing = preview != nullptr && preview->board != nullptr &&
                          preview->board->width == game->board.width && preview->board->height == game->board.height;
  if (hits != nullptr) hits->squareSize = layout.square;
  drawBoard(context, canvas, previewing ? *preview->board : game->board, layout, options, hits);
  if (previewing) {
    if (preview->stats != nullptr && preview->heat != HeatView::none) {
      DrawHeatMap(context, canvas, layout, *preview->stats, preview->heat);
    }
    DrawPreviewFrames(canvas, layout, *preview);
  } else if (entry != nullptr) {
    drawEntry(context, canvas, layout, *entry, options);
  }
  const int panelBottom = drawPanel(context, canvas, *game, layout, options, entry, hits);
  drawPane(context, canvas, pane, paneView, layout.regionLeft, panelBottom + 20, hits);
  if (entry != nullptr) drawDragged(context, canvas, layout.square, *entry, options);
}

}  // namespace pexil::draw
