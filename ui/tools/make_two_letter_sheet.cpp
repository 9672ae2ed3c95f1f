// Writes the glyph sheet tchars.bmp: the tiles that carry two letters,
// each as one glyph that fits a tile at the height of a single capital.
// The board fonts hold the characters 32..128 only, and a caption such as
// "CH" set in them would need a smaller font to fit across a tile; these
// glyphs are the pair rendered from the board font itself and condensed
// sideways instead, so that two-letter tiles show letters as tall as the
// others. Cells, in order:
//
//   0 CH   1 LL   2 RR   (Spanish)
//   3 QU   4 NY   5 L·L  (Catalan)
//   6 Æ                  (Danish; the font's own ligature glyph)
//
// Every cell is the text box of the board font at the size whose text
// height (ascent plus descent, rounded up as the fonts round them) comes
// closest to 64 pixels without passing it, so that a cell scaled to a
// font's text height lines its capitals up with that font's. A pair wider
// than kWidestPair of that height is condensed to it. White glyphs on black,
// anti-aliased by the rasteriser; a pure red pixel in the top row ends each
// cell (the format of chars.bmp).
//
//   make_two_letter_sheet FONT.ttf OUT.bmp
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "bmp_file.hpp"

namespace {

constexpr int kTargetHeight = 64;
constexpr double kWidestPair = 1.1;  // of the cell height
constexpr int kMargin = 2;            // empty columns on either side of a glyph

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};

int ceilDiv64(long v) { return static_cast<int>((v + 63) / 64); }

// A glyph's coverage in a cell: width x height grey values.
struct Cell {
  int width = 0;
  std::vector<std::uint8_t> grey;
};

// Sets the largest pixel size whose text height stays within the target;
// gives the text height and the ascent in pixels.
bool chooseSize(FT_Face face, int& height, int& ascent) {
  auto textHeight = [&](int size, int* up) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) != 0) return kTargetHeight + 1;
    const int a = ceilDiv64(face->size->metrics.ascender);
    if (up != nullptr) *up = a;
    return a + ceilDiv64(-face->size->metrics.descender);
  };
  int chosen = 0;
  for (int size = 8; size <= 4 * kTargetHeight && textHeight(size, nullptr) <= kTargetHeight; ++size) chosen = size;
  if (chosen == 0) return false;
  height = textHeight(chosen, &ascent);
  return true;
}

// Renders the characters side by side, condensed when they are wider than
// the widest pair allowed.
bool renderCell(FT_Face face, const std::vector<FT_ULong>& chars, int height, int ascent, Cell& cell) {
  const FT_Int32 flags = FT_LOAD_NO_HINTING;
  long natural = 0;  // 26.6
  for (const FT_ULong ch : chars) {
    FT_Set_Transform(face, nullptr, nullptr);
    if (FT_Load_Char(face, ch, flags) != 0) return false;
    natural += face->glyph->advance.x;
  }
  const double widest = kWidestPair * height * 64.0;
  const double condense = natural > widest ? widest / static_cast<double>(natural) : 1.0;
  FT_Matrix matrix{static_cast<FT_Fixed>(std::lround(condense * 65536.0)), 0, 0, 0x10000};
  const int width = static_cast<int>(std::ceil(natural * condense / 64.0)) + 2 * kMargin;
  cell.width = width;
  cell.grey.assign(static_cast<std::size_t>(width * height), 0);
  double pen = kMargin * 64.0;  // 26.6, from the cell's left edge
  for (const FT_ULong ch : chars) {
    // The pen's fraction goes into the outline's shift, its whole pixels
    // into where the bitmap lands.
    const long whole = static_cast<long>(std::floor(pen / 64.0));
    FT_Vector delta{static_cast<FT_Pos>(std::lround(pen - whole * 64.0)), 0};
    FT_Set_Transform(face, &matrix, &delta);
    if (FT_Load_Char(face, ch, flags | FT_LOAD_RENDER) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    for (unsigned row = 0; row < bm.rows; ++row) {
      const int y = ascent - slot->bitmap_top + static_cast<int>(row);
      if (y < 0 || y >= height) continue;
      for (unsigned column = 0; column < bm.width; ++column) {
        const int x = static_cast<int>(whole) + slot->bitmap_left + static_cast<int>(column);
        if (x < 0 || x >= width) continue;
        const int v = bm.buffer[static_cast<int>(row) * bm.pitch + static_cast<int>(column)];
        std::uint8_t& out = cell.grey[static_cast<std::size_t>(y * width + x)];
        out = static_cast<std::uint8_t>(std::min(255, out + v));
      }
    }
    // The untransformed advance, condensed.
    FT_Set_Transform(face, nullptr, nullptr);
    FT_Load_Char(face, ch, flags);
    pen += face->glyph->advance.x * condense;
  }
  FT_Set_Transform(face, nullptr, nullptr);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FONT.ttf OUT.bmp\n", argv[0]);
    return 2;
  }
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0) return 1;
  std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(library.get(), argv[1], 0, &rawFace) != 0) {
    std::fprintf(stderr, "cannot read the font %s\n", argv[1]);
    return 1;
  }
  std::unique_ptr<FT_FaceRec_, FaceDeleter> face(rawFace);
  int height = 0, ascent = 0;
  if (!chooseSize(face.get(), height, ascent)) {
    std::fprintf(stderr, "the font %s has no usable size\n", argv[1]);
    return 1;
  }
  const std::vector<std::vector<FT_ULong>> pairs = {
      {'C', 'H'}, {'L', 'L'}, {'R', 'R'}, {'Q', 'U'}, {'N', 'Y'}, {'L', 0xB7, 'L'}, {0xC6},
  };
  std::vector<Cell> cells;
  for (const auto& pair : pairs) {
    Cell cell;
    if (!renderCell(face.get(), pair, height, ascent, cell)) {
      std::fprintf(stderr, "the font %s lacks a glyph of the sheet\n", argv[1]);
      return 1;
    }
    cells.push_back(std::move(cell));
  }
  int width = 0;
  for (const Cell& cell : cells) width += cell.width + 1;
  pexil::tools::RgbImage sheet(width, height + 1);
  int left = 0;
  for (const Cell& cell : cells) {
    sheet.set(left + cell.width, 0, 255, 0, 0);  // the marker that ends the cell
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < cell.width; ++x) {
        const std::uint8_t v = cell.grey[static_cast<std::size_t>(y * cell.width + x)];
        sheet.set(left + x, y + 1, v, v, v);
      }
    }
    left += cell.width + 1;
  }
  if (!pexil::tools::WriteBmp(argv[2], sheet)) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
