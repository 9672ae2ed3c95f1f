// Board and screen pictures drawn without a window: the board alone is its
// squares (no label bands), whatever the labels; its pixels are the view's.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <string>
#include <vector>

#include "board_image.hpp"
#include "canvas.hpp"
#include "layout.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"
#include "ui_test_support.hpp"

namespace pexil {
namespace {

struct Decoded {
  std::vector<unsigned char> rgba;
  unsigned width = 0, height = 0;
  std::uint32_t pixel(unsigned x, unsigned y) const {
    const std::size_t k = (static_cast<std::size_t>(y) * width + x) * 4;
    return static_cast<std::uint32_t>(rgba[k]) << 16 | rgba[k + 1] << 8 | rgba[k + 2];
  }
  unsigned alpha(unsigned x, unsigned y) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3]; }
};

Decoded decode(const std::string& path) {
  Decoded d;
  EXPECT_EQ(lodepng::decode(d.rgba, d.width, d.height, path, LCT_RGBA, 8), 0u) << path;
  return d;
}

TEST(BoardImage, TheBoardAloneIsItsSquaresWhateverTheLabels) {
  test::TempFolder folder;
  const Game game = test::seededPosition(0, 2024);
  // 1020 x 765: a board area of 680, 40-pixel squares with the label bands
  // (680 / 17) and 45 without (680 / 15).
  for (const bool labels : {true, false}) {
    draw::ViewOptions options;
    options.rowColumnLabels = labels;
    const std::string path = folder.path(labels ? "labels.png" : "plain.png");
    std::string error;
    ASSERT_TRUE(draw::SaveViewImage(test::drawContext(), game, options, 1020, 765, true, path, error)) << error;
    const Decoded image = decode(path);
    const unsigned side = labels ? 600 : 675;
    EXPECT_EQ(image.width, side);
    EXPECT_EQ(image.height, side);

    // The same pixels as the view's picture at the board's own corner.
    draw::Canvas canvas(test::drawContext(), 1020, 765);
    const TextPane pane;
    draw::PaneView view;
    draw::RenderView(test::drawContext(), canvas, &game, options, pane, view);
    const draw::ImageRect r = draw::BoardImageRect(test::drawContext(), game, options, 1020, 765);
    for (const auto& [x, y] : std::vector<std::pair<unsigned, unsigned>>{{0, 0}, {side / 2, side / 2}, {side - 1, side - 1}}) {
      EXPECT_EQ(image.pixel(x, y), canvas.pixel(r.x + static_cast<int>(x), r.y + static_cast<int>(y))) << x << "," << y;
      EXPECT_EQ(image.alpha(x, y), 255u);
    }
  }
}

TEST(BoardImage, TheScreenIsTheWholePictureAndABadPathFails) {
  test::TempFolder folder;
  const Game game = test::seededPosition(0, 7);
  std::string error;
  ASSERT_TRUE(draw::SaveViewImage(test::drawContext(), game, {}, 800, 600, false, folder.path("screen.png"), error));
  const Decoded image = decode(folder.path("screen.png"));
  EXPECT_EQ(image.width, 800u);
  EXPECT_EQ(image.height, 600u);
  EXPECT_FALSE(draw::SaveViewImage(test::drawContext(), game, {}, 800, 600, false, "/nonexistent/dir/x.png", error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace pexil
