// The picture of tiles laid by hand (framed on their squares), the board
// cursor with its direction arrow, the rack in its shown order without the
// laid tiles, a dragged tile, the pressed scroll arrow; and the hit map a
// paint leaves for the pointer.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "board_entry.hpp"
#include "renderer.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"
#include "ui_test_support.hpp"

namespace pexil::draw {
namespace {

constexpr int kWidth = 900, kHeight = 640;

// The entry as the view hands it to the picture.
EntryView viewOf(const ui::BoardEntry& entry, const Game& game) { return ui::EntryPictureOf(entry, game); }

struct Painted {
  Canvas canvas{test::drawContext(), kWidth, kHeight};
  HitMap hits;
  BoardLayout layout;
};

void paint(Painted& out, const Game& game, const EntryView* entry, int pressedArrow = 0) {
  TextPane pane;
  for (int k = 0; k < 40; ++k) pane.Print("line " + std::to_string(k));
  PaneView view;
  view.pressedArrow = pressedArrow;
  ViewOptions options;
  options.randomNumber = 5;
  RenderView(test::drawContext(), out.canvas, &game, options, pane, view, nullptr, entry, &out.hits);
  out.layout = ComputeBoardLayout(kWidth, kHeight, game.board.width, game.board.height, false, false,
                                  test::drawContext().paneCharWidth(18));
}

void giveRack(Game& game, const char* tiles) {
  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  ASSERT_EQ(addLetters(game.racks[static_cast<std::size_t>(game.toMove)], tiles, &game.bag),
            static_cast<int>(std::string(tiles).size()));
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) drawTiles(game.racks[static_cast<std::size_t>(p)], game.bag, rules().rackSize, &game.random);
  }
}

TEST(UiEntryDrawing, TheHitMapHoldsEverySquareEachRackTileAndTheScrollArrows) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "RETAINS");
  ui::BoardEntry entry;
  entry.setCursor(game, 11, 7);
  ASSERT_TRUE(entry.typeLetter(game, 's'));
  const EntryView view = viewOf(entry, game);
  Painted painted;
  paint(painted, game, &view);
  const HitMap& hits = painted.hits;
  const BoardLayout& layout = painted.layout;
  EXPECT_EQ(hits.squareSize, layout.square);
  EXPECT_EQ(hits.squares.size(), static_cast<std::size_t>(game.board.width * game.board.height));
  // The middle of square (column 3, row 9) is that square.
  const int x = layout.boardLeft() + 3 * layout.square + layout.square / 2;
  const int y = layout.boardTop() + 9 * layout.square + layout.square / 2;
  const HitMap::Square* square = hits.squareAt(x, y);
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->column, 3);
  EXPECT_EQ(square->row, 9);
  EXPECT_EQ(hits.squareAt(2, 2), nullptr);
  // The mover's six tiles left on the rack, the other player's seven.
  int mover = 0, other = 0;
  for (const HitMap::RackTile& tile : hits.rackTiles) {
    (tile.player == game.toMove ? mover : other) += 1;
    const HitMap::RackTile* found = hits.rackTileAt(tile.box.x + 2, tile.box.y + 2);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->player, tile.player);
    EXPECT_EQ(found->slot, tile.slot);
  }
  EXPECT_EQ(mover, 6);
  EXPECT_EQ(other, 7);
  // The scroll arrows: the upper one above the lower one, both at the right.
  EXPECT_GT(hits.scrollUp.width, 0);
  EXPECT_GT(hits.scrollDown.height, 0);
  EXPECT_LT(hits.scrollUp.y, hits.scrollDown.y);
  EXPECT_EQ(hits.scrollArrowAt(hits.scrollUp.x + 3, hits.scrollUp.y + 3), -1);
  EXPECT_EQ(hits.scrollArrowAt(hits.scrollDown.x + 3, hits.scrollDown.y + 3), 1);
  EXPECT_EQ(hits.scrollArrowAt(x, y), 0);
  EXPECT_GT(hits.scrollUp.x, layout.regionLeft);
}

TEST(UiEntryDrawing, LaidTilesCursorAndPressedArrowShow) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "RETAINS");
  Painted plain;
  paint(plain, game, nullptr);
  ui::BoardEntry entry;
  entry.setCursor(game, 11, 7);
  ASSERT_TRUE(entry.typeLetter(game, 's'));
  entry.setCursor(game, 2, 2);
  entry.toggleDirection();
  const EntryView view = viewOf(entry, game);
  Painted painted;
  paint(painted, game, &view, 1);
  const BoardLayout& layout = painted.layout;
  const int s = layout.square;
  auto corner = [&](const Painted& p, int column, int row) {
    return p.canvas.pixel(layout.boardLeft() + column * s + 1, layout.boardTop() + row * s + s / 2);
  };
  // The laid S: a tile in the laid frame where the square was empty.
  EXPECT_EQ(corner(painted, 11, 7), static_cast<std::uint32_t>(colours::laidFrame));
  EXPECT_NE(corner(plain, 11, 7), static_cast<std::uint32_t>(colours::laidFrame));
  // The cursor: its frame, and an arrow pointing down below the middle.
  EXPECT_EQ(corner(painted, 2, 2), static_cast<std::uint32_t>(colours::cursor));
  const int cx = layout.boardLeft() + 2 * s + s / 2, cy = layout.boardTop() + 2 * s + s / 2;
  EXPECT_EQ(painted.canvas.pixel(cx, cy + s / 4 - 2), static_cast<std::uint32_t>(colours::cursor));
  EXPECT_NE(painted.canvas.pixel(cx + s / 4 - 1, cy), static_cast<std::uint32_t>(colours::cursor));
  // The lower scroll arrow is green while held, the upper one black.
  const Box& down = painted.hits.scrollDown;
  const Box& up = painted.hits.scrollUp;
  EXPECT_EQ(painted.canvas.pixel(down.x + down.width / 2, down.y + down.height / 2),
            static_cast<std::uint32_t>(colours::scrollArrowPressed));
  EXPECT_EQ(painted.canvas.pixel(up.x + up.width / 2, up.y + up.height / 2), 0x000000u);
  EXPECT_EQ(plain.canvas.pixel(down.x + down.width / 2, down.y + down.height / 2), 0x000000u);
  // Only the board's tiles and the mover's rack changed: the picture
  // without an entry matches a paint whose entry lays nothing and shows
  // the rack in letter order.
  ui::BoardEntry none;
  none.sync(game);
  const EntryView empty = viewOf(none, game);
  Painted same;
  paint(same, game, &empty);
  long differing = 0;
  for (int py = 0; py < kHeight; ++py) {
    for (int px = 0; px < kWidth; ++px) differing += same.canvas.pixel(px, py) != plain.canvas.pixel(px, py);
  }
  EXPECT_EQ(differing, 0);
}

// The whole picture with an entry, against tests/data/ui/entry.png
// (PEXIL_UPDATE_GOLDEN=1 writes it instead): Spanish LL and a blank laid
// down a column, the cursor below them, the rack shuffled, a tile dragged.
TEST(UiEntryDrawing, Golden) {
  test::StateGuard guard;
  Game game = test::seededPosition(6, 2024, false);
  ASSERT_EQ(wordListAlphabet(), kAlphabetSpanish);
  giveRack(game, "PO2OA?1");
  ui::BoardEntry entry;
  entry.setCursor(game, 7, 5);
  entry.toggleDirection();
  for (char c : std::string("polloz")) ASSERT_TRUE(entry.typeLetter(game, c)) << c;
  entry.shuffle(4);
  EntryView view = viewOf(entry, game);
  view.dragging = true;
  view.dragged = {0, 0, '1', false};
  view.dragX = 620;
  view.dragY = 300;
  Painted painted;
  paint(painted, game, &view, -1);

  const std::string golden = PEXIL_TEST_DATA "/ui/entry.png";
  const char* update = std::getenv("PEXIL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(painted.canvas.savePng(golden));
    GTEST_SKIP() << "wrote " << golden;
  }
  std::vector<unsigned char> expected;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(expected, w, h, golden, LCT_RGB, 8), 0u) << "cannot read " << golden;
  ASSERT_EQ(static_cast<int>(w), kWidth);
  ASSERT_EQ(static_cast<int>(h), kHeight);
  long differing = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::size_t k = (static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)) * 3;
      const std::uint32_t want = static_cast<std::uint32_t>(expected[k]) << 16 | expected[k + 1] << 8 | expected[k + 2];
      differing += painted.canvas.pixel(x, y) != want;
    }
  }
  EXPECT_EQ(differing, 0) << "pixels differ from " << golden;
}

}  // namespace
}  // namespace pexil::draw
