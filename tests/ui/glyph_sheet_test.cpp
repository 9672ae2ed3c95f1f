// The glyph sheet of two-letter tiles (tchars.bmp): its cells, and tiles
// drawn from it with both letters as tall as a single capital.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <filesystem>

#include "bmp_file.hpp"
#include "renderer.hpp"
#include "rules/letter_codes.hpp"
#include "ui_test_support.hpp"

namespace pexil::draw {
namespace {

// The rows and columns of a tile where it differs from an empty tile of
// the same square: the letter's ink.
struct Ink {
  int top = 1 << 30, bottom = -1, left = 1 << 30, right = -1;
};

Ink inkOf(const TileFace& face, int square) {
  ViewOptions options;
  options.randomNumber = 321;
  options.tileValue = false;
  Canvas empty(test::drawContext(), square, square);
  Canvas lettered(test::drawContext(), square, square);
  DrawTile(test::drawContext(), empty, 0, 0, square, TileFace{0, false, 0}, options, 2, 3);
  DrawTile(test::drawContext(), lettered, 0, 0, square, face, options, 2, 3);
  Ink ink;
  for (int y = 0; y < square; ++y) {
    for (int x = 0; x < square; ++x) {
      if (empty.pixel(x, y) == lettered.pixel(x, y)) continue;
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
    }
  }
  return ink;
}

class AlphabetScope {
 public:
  explicit AlphabetScope(int alphabet) : before_(wordListAlphabet()) { setWordListAlphabet(alphabet); }
  ~AlphabetScope() { setWordListAlphabet(before_); }

 private:
  int before_;
};

TEST(UiGlyphSheets, BothSheetsAreLoadedWithTheirCells) {
  EXPECT_EQ(test::drawContext().markCells(), 6) << "chars.bmp missing in " PEXIL_RUN_DIR;
  EXPECT_EQ(test::drawContext().twoLetterCells(), 7) << "tchars.bmp missing in " PEXIL_RUN_DIR;
}

TEST(UiGlyphSheets, CaptionsDrawnWholeFromTheSheet) {
  EXPECT_EQ(TwoLetterCell("CH"), 0);
  EXPECT_EQ(TwoLetterCell("LL"), 1);
  EXPECT_EQ(TwoLetterCell("RR"), 2);
  EXPECT_EQ(TwoLetterCell("QU"), 3);
  EXPECT_EQ(TwoLetterCell("NY"), 4);
  EXPECT_EQ(TwoLetterCell("L\xB7L"), 5);
  EXPECT_EQ(TwoLetterCell("\xC6"), 6);
  EXPECT_EQ(TwoLetterCell("C"), -1);
  EXPECT_EQ(TwoLetterCell("\xD1"), -1);  // Ñ: a letter and a mark from chars.bmp
  EXPECT_EQ(TwoLetterCell(""), -1);
}

// A Spanish CH, a Catalan L·L and QU, a Danish Æ: the pair spans the same
// rows as a single C (or L, Q, A) on a tile of the same size, and fits
// across the tile. Composed from the font instead, CH would need a smaller
// font at these sizes and come out shorter.
TEST(UiGlyphSheets, TwoLetterTilesStandAsTallAsOneLetter) {
  ASSERT_TRUE(test::drawContext().hasBoardFonts());
  ASSERT_EQ(test::drawContext().twoLetterCells(), 7);
  struct Case {
    int alphabet;
    char tile;
    char single;
  };
  const Case cases[] = {{kAlphabetSpanish, '1', 'c'}, {kAlphabetSpanish, '2', 'l'}, {kAlphabetCatalan, 'w', 'l'},
                        {kAlphabetCatalan, 'q', 'n'}, {kAlphabetDanish, '\xE6', 'a'}};
  for (const int square : {24, 37, 50}) {
    for (const Case& c : cases) {
      AlphabetScope scope(c.alphabet);
      SCOPED_TRACE(TileCaption(c.tile) + " on a tile of " + std::to_string(square));
      ASSERT_GE(TwoLetterCell(TileCaption(c.tile)), 0);
      const Ink pair = inkOf(TileFace{c.tile, false, 0}, square);
      const Ink single = inkOf(TileFace{c.single, false, 0}, square);
      ASSERT_GE(pair.bottom, 0);
      ASSERT_GE(single.bottom, 0);
      // The Q of QU has a tail below the line: its bottom is not compared.
      EXPECT_LE(std::abs(pair.top - single.top), 1);
      if (c.tile != 'q') {
        EXPECT_LE(std::abs(pair.bottom - single.bottom), 1);
      }
      EXPECT_GE(pair.left, 1);
      EXPECT_LE(pair.right, square - 2);
      // Two letters take more room across than one.
      EXPECT_GT(pair.right - pair.left, single.right - single.left);
    }
  }
}

// Puts the run folder's sheet back however a test ends.
class SheetScope {
 public:
  ~SheetScope() { test::drawContext().loadTwoLetterSheet(PEXIL_RUN_DIR "/tchars.bmp"); }
};

// A sheet of seven cells, 10 wide and 20 high, whose cell for CH is one
// solid block: a CH tile then shows that block in the letter's colour,
// scaled to the text height of the tile's letter font and centred; other
// captions stay as they were; without any sheet the CH is composed from
// the font (the two letters side by side, wider than the sheet's glyph).
TEST(UiGlyphSheets, TheTileShowsTheSheetsCell) {
  SheetScope restore;
  AlphabetScope spanish(kAlphabetSpanish);
  ASSERT_TRUE(test::drawContext().hasBoardFonts());
  const int square = 50;
  const Ink fromSheet = inkOf(TileFace{'1', false, 0}, square);
  const Ink letterA = inkOf(TileFace{'a', false, 0}, square);

  const std::string path = (std::filesystem::temp_directory_path() / "pexil-test-block-sheet.bmp").string();
  tools::RgbImage sheet(7 * 11, 21);
  for (int k = 0; k < 7; ++k) sheet.set(k * 11 + 10, 0, 255, 0, 0);
  for (int y = 1; y < 21; ++y) {
    for (int x = 0; x < 10; ++x) sheet.set(x, y, 255, 255, 255);
  }
  ASSERT_TRUE(tools::WriteBmp(path, sheet));
  ASSERT_TRUE(test::drawContext().loadTwoLetterSheet(path));
  ASSERT_EQ(test::drawContext().twoLetterCells(), 7);

  const int h = test::drawContext().boardFontHeight(4 * square / 5);
  const Ink block = inkOf(TileFace{'1', false, 0}, square);
  EXPECT_EQ(block.bottom - block.top + 1, h);
  EXPECT_NEAR(block.right - block.left + 1, h / 2, 1);
  EXPECT_NEAR((block.left + block.right) / 2.0, (square - 1) / 2.0, 1.0);
  EXPECT_NEAR((block.top + block.bottom) / 2.0, (square - 1) / 2.0, 1.0);
  {
    Canvas canvas(test::drawContext(), square, square);
    ViewOptions options;
    options.tileValue = false;
    DrawTile(test::drawContext(), canvas, 0, 0, square, TileFace{'1', false, 0}, options, 2, 3);
    EXPECT_EQ(canvas.pixel(square / 2, square / 2), 0x000000u);  // black on light wood
  }
  const Ink stillA = inkOf(TileFace{'a', false, 0}, square);
  EXPECT_EQ(stillA.top, letterA.top);
  EXPECT_EQ(stillA.right, letterA.right);
  std::filesystem::remove(path);

  EXPECT_FALSE(test::drawContext().loadTwoLetterSheet(path));
  EXPECT_EQ(test::drawContext().twoLetterCells(), 0);
  const Ink composed = inkOf(TileFace{'1', false, 0}, square);
  EXPECT_TRUE(composed.left != fromSheet.left || composed.right != fromSheet.right);
  ASSERT_TRUE(test::drawContext().loadTwoLetterSheet(PEXIL_RUN_DIR "/tchars.bmp"));
  const Ink again = inkOf(TileFace{'1', false, 0}, square);
  EXPECT_EQ(again.left, fromSheet.left);
  EXPECT_EQ(again.right, fromSheet.right);
  EXPECT_EQ(again.top, fromSheet.top);
}

}  // namespace
}  // namespace pexil::draw
