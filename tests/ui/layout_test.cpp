// The layout arithmetic, texture offsets and tile drawing rules.
#include <gtest/gtest.h>

#include "layout.hpp"
#include "rules/letter_codes.hpp"
#include "renderer.hpp"
#include "text/text_pane.hpp"
#include "ui_test_support.hpp"

namespace pexil::draw {
namespace {

TEST(UiLayout, FifteenSquaresInTwelveHundredByNineHundred) {
  const BoardLayout layout = ComputeBoardLayout(1200, 900, 15, 15, false, false, 8);
  EXPECT_EQ(layout.area, 800);
  EXPECT_EQ(layout.square, 53);
  EXPECT_EQ(layout.left, 8);
  EXPECT_EQ(layout.top, (900 - 15 * 53) / 2);
  EXPECT_EQ(layout.regionLeft, 8 + 15 * 53 + 16);
}

TEST(UiLayout, LabelsTakeTwoMoreSquares) {
  const BoardLayout layout = ComputeBoardLayout(1200, 900, 15, 15, true, false, 8);
  EXPECT_EQ(layout.square, 800 / 17);
  EXPECT_EQ(layout.boardLeft(), 8 + layout.square);
}

TEST(UiLayout, RectangularBoardUsesTheLongerSide) {
  EXPECT_EQ(ComputeBoardLayout(1200, 900, 21, 15, false, false, 8).square, 800 / 21);
  EXPECT_EQ(ComputeBoardLayout(1200, 900, 11, 21, false, false, 8).square, 800 / 21);
}

TEST(UiLayout, WideTextLeavesSixtyFourPaneCharacters) {
  // 600 wide: A would be 400, but 600 < 400 + 64 * 8, so A = 600 - 512.
  const BoardLayout narrow = ComputeBoardLayout(600, 900, 15, 15, false, true, 8);
  EXPECT_EQ(narrow.area, 88);
  EXPECT_EQ(narrow.square, 88 / 15);
  // Never below 4 pixels in all.
  EXPECT_EQ(ComputeBoardLayout(500, 900, 15, 15, false, true, 8).area, 4);
  // A wide window keeps the ordinary size.
  EXPECT_EQ(ComputeBoardLayout(1600, 900, 15, 15, false, true, 8).area, 800);
  // Without the option the narrow window keeps 2W/3.
  EXPECT_EQ(ComputeBoardLayout(600, 900, 15, 15, false, false, 8).area, 400);
}

TEST(UiLayout, TextureOffsets) {
  EXPECT_EQ(TextureOffsetX(0, 0, 0), 0);
  EXPECT_EQ(TextureOffsetX(1000, 2, 3), (345 * 2 + 1000 - 3) & 527);
  EXPECT_EQ(TextureOffsetY(1000, 2, 3), (1000 - 123 * 2 - 175 * 3) & 527);
  // Two tiles of one letter at different squares sample different places.
  const int r = 123456;
  EXPECT_TRUE(TextureOffsetX(r, 3, 7) != TextureOffsetX(r, 11, 7) || TextureOffsetY(r, 3, 7) != TextureOffsetY(r, 11, 7));
}

TEST(UiLayout, PanelHeight) {
  EXPECT_EQ(PanelHeight(53, 2), (53 + 24 + 8) * 2 + 12);
  EXPECT_EQ(PanelHeight(20, 3), (20 + 20 + 8) * 3 + 12);
}

// Pixels of one tile drawn alone on a fresh canvas.
std::vector<std::uint32_t> tilePixels(const TileFace& face, const ViewOptions& options, int column, int row) {
  Canvas canvas(test::drawContext(), 60, 60);
  DrawTile(test::drawContext(), canvas, 5, 5, 50, face, options, column, row);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) pixels.push_back(canvas.pixel(x, y));
  }
  return pixels;
}

TEST(UiTiles, SameLetterShowsDifferentTexture) {
  ASSERT_TRUE(test::drawContext().hasTexture(2)) << "texture3.bmp missing in " PEXIL_RUN_DIR;
  ViewOptions options;
  options.randomNumber = 98765;
  const TileFace face{'e', false, 1};
  EXPECT_NE(tilePixels(face, options, 3, 7), tilePixels(face, options, 11, 7));
  EXPECT_EQ(tilePixels(face, options, 3, 7), tilePixels(face, options, 3, 7));
}

TEST(UiTiles, BlankWithoutLetterColourIsAnEmptyTile) {
  ViewOptions options;
  options.randomNumber = 4242;
  options.blankColour = -1;
  const auto blank = tilePixels(TileFace{'e', true, 0}, options, 4, 4);
  const auto empty = tilePixels(TileFace{0, false, 0}, options, 4, 4);
  EXPECT_EQ(blank, empty);
  // With a colour the letter shows in it.
  options.blankColour = 0x0000FF;
  const auto blue = tilePixels(TileFace{'e', true, 0}, options, 4, 4);
  EXPECT_NE(blue, empty);
  EXPECT_NE(std::find(blue.begin(), blue.end(), 0x0000FFu), blue.end());
}

TEST(UiTiles, StyleLetterColours) {
  EXPECT_EQ(StyleLetterColour(0, 0x123456), 0xFFFFFF);
  EXPECT_EQ(StyleLetterColour(2, 0x123456), 0x000000);
  EXPECT_EQ(StyleLetterColour(4, 0x123456), 0x000000);
  EXPECT_EQ(StyleLetterColour(7, 0x123456), 0xFFFFFF);
  EXPECT_EQ(StyleLetterColour(-1, 0x123456), 0x123456);
}

TEST(UiFonts, PickerTakesTheLargestFontNotTallerThanTheLimit) {
  const DrawContext& context = test::drawContext();
  ASSERT_TRUE(context.hasBoardFonts()) << "font.ttf missing in " PEXIL_RUN_DIR;
  const int h = context.boardFontHeight(30);
  EXPECT_GT(h, 0);
  EXPECT_LE(h, 30);
  EXPECT_EQ(context.boardFontHeight(1), 0);
  EXPECT_LE(context.boardFontHeight(h - 1), h - 1);
  EXPECT_GT(context.paneCharWidth(18), 0);
}

TEST(UiBoard, LabelsWithoutAFontSmallEnoughAreSkipped) {
  Game game = test::seededPosition(0, 5);
  TextPane pane;
  ViewOptions options;
  options.rowColumnLabels = true;
  // 135x100: A = min(90, 88) = 88, S = 88 / 17 = 5, labels at most 3 pixels high.
  const BoardLayout layout = ComputeBoardLayout(135, 100, 15, 15, true, false, test::drawContext().paneCharWidth(18));
  ASSERT_EQ(layout.square, 5);
  ASSERT_EQ(test::drawContext().boardFontHeight(2 * 5 / 3), 0);
  auto bandIsEmpty = [](const Canvas& canvas, const BoardLayout& l) {
    for (int y = l.top; y < l.top + l.square; ++y) {
      for (int x = l.left; x < l.left + l.outerWidth(); ++x) {
        if (canvas.pixel(x, y) != static_cast<std::uint32_t>(colours::background)) return false;
      }
    }
    return true;
  };
  {
    Canvas canvas(test::drawContext(), 135, 100);
    PaneView view;
    RenderView(test::drawContext(), canvas, &game, options, pane, view);
    EXPECT_TRUE(bandIsEmpty(canvas, layout));
  }
  // A window large enough for the labels draws them.
  Canvas canvas(test::drawContext(), 1200, 900);
  PaneView view;
  RenderView(test::drawContext(), canvas, &game, options, pane, view);
  EXPECT_FALSE(bandIsEmpty(canvas, ComputeBoardLayout(1200, 900, 15, 15, true, false, 8)));
}

TEST(UiTiles, Captions) {
  const int before = wordListAlphabet();
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_EQ(TileCaption('a'), "A");
  EXPECT_EQ(TileCaption(0), "");
  setWordListAlphabet(kAlphabetSpanish);
  EXPECT_EQ(TileCaption('1'), "CH");
  EXPECT_EQ(TileCaption('2'), "LL");
  EXPECT_EQ(TileCaption('3'), "RR");
  EXPECT_EQ(TileCaption('\xF1'), "\xD1");
  setWordListAlphabet(kAlphabetCatalan);
  EXPECT_EQ(TileCaption('w'), "L\xB7L");
  EXPECT_EQ(TileCaption('q'), "QU");
  EXPECT_EQ(TileCaption('y'), "NY");
  EXPECT_EQ(TileCaption('\xE7'), "\xC7");
  setWordListAlphabet(before);
}

}  // namespace
}  // namespace pexil::draw
