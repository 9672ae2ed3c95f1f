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
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bmp_file.hpp"
#include "glyph_raster.hpp"

namespace {

constexpr int kTargetHeight = 64;
constexpr double kWidestPair = 1.1;  // of the cell height
constexpr int kMargin = 2;            // empty columns on either side of a glyph

// Sets the largest pixel size whose text height stays within the target.
bool chooseSize(pexil::tools::FontFace& face) {
  int chosen = 0;
  for (int size = 8; size <= 4 * kTargetHeight && face.setPixelSize(size) && face.textHeight() <= kTargetHeight; ++size) {
    chosen = size;
  }
  return chosen > 0 && face.setPixelSize(chosen);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FONT.ttf OUT.bmp\n", argv[0]);
    return 2;
  }
  pexil::tools::FontFace face;
  if (!face.open(argv[1])) {
    std::fprintf(stderr, "cannot read the font %s\n", argv[1]);
    return 1;
  }
  if (!chooseSize(face)) {
    std::fprintf(stderr, "the font %s has no usable size\n", argv[1]);
    return 1;
  }
  const int height = face.textHeight();
  const std::vector<std::vector<unsigned long>> pairs = {
      {'C', 'H'}, {'L', 'L'}, {'R', 'R'}, {'Q', 'U'}, {'N', 'Y'}, {'L', 0xB7, 'L'}, {0xC6},
  };
  std::vector<pexil::tools::GreyImage> cells;
  for (const auto& pair : pairs) {
    // A pair wider than the widest allowed is narrowed to it.
    const double natural = face.advance(pair), widest = kWidestPair * height;
    pexil::tools::GreyImage cell = face.render(pair, natural > widest ? widest / natural : 1.0, kMargin);
    if (cell.width == 0 || natural <= 0) {
      std::fprintf(stderr, "the font %s lacks a glyph of the sheet\n", argv[1]);
      return 1;
    }
    cells.push_back(std::move(cell));
  }
  int width = 0;
  for (const auto& cell : cells) width += cell.width + 1;
  pexil::tools::RgbImage sheet(width, height + 1);
  int left = 0;
  for (const auto& cell : cells) {
    sheet.set(left + cell.width, 0, 255, 0, 0);  // the marker that ends the cell
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < cell.width; ++x) {
        const std::uint8_t v = cell.at(x, y);
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
