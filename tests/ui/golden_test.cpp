// Pictures of seeded positions compared pixel for pixel with the PNGs kept
// in tests/data/ui/. PEXIL_UPDATE_GOLDEN=1 writes the pictures there
// instead (look at them before committing them).
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "renderer.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/text_pane.hpp"
#include "ui_test_support.hpp"

namespace pexil::draw {
namespace {

void fillPane(TextPane& pane) {
  pane.Print("Welcome to Pexil crossword puzzle game software.");
  pane.Print("Version 0.0, built 2000-01-01");
  pane.SetColour(0xFFFF00);
  pane.Print("A yellow line, | without its bar.");
  pane.SetColour(0x00FFFF);
  pane.Print("8H QUARTZ 57");
  pane.SetColour(0x00FF00);
  pane.Print("Please select a game type to begin.");
}

void checkGolden(const std::string& name, const Game& game, const ViewOptions& options, int width, int height);

void checkGolden(const std::string& name, int type, const ViewOptions& options, int width, int height) {
  checkGolden(name, test::seededPosition(type, 2024), options, width, height);
}

void checkGolden(const std::string& name, const Game& game, const ViewOptions& options, int width, int height) {
  TextPane pane;
  fillPane(pane);
  Canvas canvas(test::drawContext(), width, height);
  PaneView view;
  view.selected = 3;
  RenderView(test::drawContext(), canvas, &game, options, pane, view);

  const std::string golden = std::string(PEXIL_TEST_DATA "/ui/") + name + ".png";
  const char* update = std::getenv("PEXIL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    ASSERT_TRUE(canvas.savePng(golden));
    GTEST_SKIP() << "wrote " << golden;
  }
  std::vector<unsigned char> expected;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(expected, w, h, golden, LCT_RGB, 8), 0u) << "cannot read " << golden;
  ASSERT_EQ(static_cast<int>(w), width);
  ASSERT_EQ(static_cast<int>(h), height);
  long differing = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t k = (static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)) * 3;
      const std::uint32_t want = static_cast<std::uint32_t>(expected[k]) << 16 | expected[k + 1] << 8 | expected[k + 2];
      if (canvas.pixel(x, y) != want) ++differing;
    }
  }
  if (differing != 0) {
    const std::string actual = std::filesystem::current_path().string() + "/" + name + ".actual.png";
    canvas.savePng(actual);
    ADD_FAILURE() << differing << " pixels differ from " << golden << "; this picture: " << actual;
  }
}

TEST(UiGolden, DefaultStyle) { checkGolden("default", 0, ViewOptions{.randomNumber = 777}, 1000, 700); }

TEST(UiGolden, LabelsOn) {
  ViewOptions options;
  options.randomNumber = 777;
  options.rowColumnLabels = true;
  checkGolden("labels", 0, options, 1000, 700);
}

TEST(UiGolden, DarkWoodNoValuesRedBlank) {
  ViewOptions options;
  options.randomNumber = 31337;
  options.tileStyle = 0;
  options.tileValue = false;
  options.blankColour = 0xFF0000;
  options.bonusLabels = false;
  checkGolden("darkwood", 0, options, 900, 640);
}

TEST(UiGolden, SuperBoard) {
  ViewOptions options;
  options.randomNumber = 99;
  options.tileStyle = 7;
  checkGolden("super21", 2, options, 1100, 800);
}

// Two-letter and accented tiles, composed from the font's letters and
// drawn marks: Spanish CH LL RR Ñ (game type 7), Catalan L·L QU NY Ç
// (game type 12).
TEST(UiGolden, SpanishTiles) {
  Game game = test::seededPosition(6, 2024, false);
  ASSERT_EQ(wordListAlphabet(), kAlphabetSpanish);
  test::lay(game, "1a3o", 5, 7, false);
  test::lay(game, "ca2e", 5, 7, true);
  test::lay(game, "ni\xF1o", 10, 4, true, 2);
  ViewOptions options;
  options.randomNumber = 5;
  checkGolden("spanish", game, options, 900, 640);
}

TEST(UiGolden, CatalanTiles) {
  Game game = test::seededPosition(11, 2024, false);
  ASSERT_EQ(wordListAlphabet(), kAlphabetCatalan);
  test::lay(game, "cowa", 5, 7, false);
  test::lay(game, "qe", 8, 8, true);
  test::lay(game, "\xE7" "ay", 4, 9, false);
  ViewOptions options;
  options.randomNumber = 5;
  options.tileStyle = 3;
  checkGolden("catalan", game, options, 900, 640);
}

// Danish Æ Ø Å and a German Ü on one board (game type 8, Danish tiles).
TEST(UiGolden, DanishTiles) {
  Game game = test::seededPosition(7, 2024, false);
  ASSERT_EQ(wordListAlphabet(), kAlphabetDanish);
  test::lay(game, "\xE6" "bler", 5, 7, false);
  test::lay(game, "\xF8" "l", 5, 8, true);
  test::lay(game, "\xE5" "r", 9, 6, true, 0);
  ViewOptions options;
  options.randomNumber = 8;
  options.tileStyle = 6;
  checkGolden("danish", game, options, 900, 640);
}

}  // namespace
}  // namespace pexil::draw
