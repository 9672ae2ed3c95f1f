// Pictures of seeded positions compared pixel for pixel with the PNGs kept
// in tests/data/ui/. PEXIL_UPDATE_GOLDEN=1 writes the pictures there
// instead (look at them before committing them).
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <string>
#include <vector>

#include "move_preview.hpp"
#include "session.hpp"
#include "movegen/generator.hpp"
#include "renderer.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/text_pane.hpp"
#include "test_support.hpp"
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

void checkGolden(const std::string& name, const Game& game, const ViewOptions& options, int width, int height,
                 const BoardPreview* preview = nullptr);

void checkGolden(const std::string& name, int type, const ViewOptions& options, int width, int height) {
  checkGolden(name, test::seededPosition(type, 2024), options, width, height);
}

void checkGolden(const std::string& name, const Game& game, const ViewOptions& options, int width, int height,
                 const BoardPreview* preview) {
  TextPane pane;
  fillPane(pane);
  Canvas canvas(test::drawContext(), width, height);
  PaneView view;
  view.selected = 3;
  RenderView(test::drawContext(), canvas, &game, options, pane, view, preview);

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

// The move a preview shows: on the seeded position, the best move that
// runs through tiles of the board.
struct PreviewedPosition {
  Game game;
  ui::LaidMove laid;
};
PreviewedPosition previewedPosition() {
  PreviewedPosition p{test::seededPosition(0, 2024), {}};
  Game copy(p.game);
  copy.quiet = true;
  GenerateMoves(copy, Generation::fullList);
  for (const Move& move : activeList(copy)) {
    if (isNonPlacement(move)) continue;
    p.laid = ui::LayMove(p.game, move);
    if (!p.laid.used.empty()) break;
  }
  return p;
}

BoardPreview previewOf(const ui::LaidMove& laid) {
  BoardPreview preview;
  preview.board = &laid.board;
  preview.laid = laid.laid;
  preview.used = laid.used;
  return preview;
}

// A previewed move: its tiles (not yet played) drawn as tiles with a
// yellow frame, the board's tiles its word runs through with a cyan one.
TEST(UiGolden, MovePreview) {
  const PreviewedPosition p = previewedPosition();
  ASSERT_FALSE(p.laid.laid.empty());
  ASSERT_FALSE(p.laid.used.empty());
  const BoardPreview preview = previewOf(p.laid);
  checkGolden("preview", p.game, ViewOptions{.randomNumber = 777}, 1000, 700, &preview);
}

// Heat maps of a made-up simulation of the previewed move, so that the
// picture depends on the drawing alone: replies covering a band of
// squares, more of them towards the middle, one square taken by every
// reply; the next moves down one column.
SimulationStats madeUpHeat(const Board& board) {
  SimulationStats stats;
  stats.hasHeatMaps = true;
  for (HeatMap* map : {&stats.replyHeat, &stats.nextHeat}) {
    map->width = board.width;
    map->height = board.height;
    const auto cells = static_cast<std::size_t>(board.width * board.height);
    map->counts.assign(cells, 0);
    map->scores.assign(cells, 0);
    map->bingoCounts.assign(cells, 0);
    map->bingoScores.assign(cells, 0);
    map->moves = 400;
  }
  for (int row = 2; row < 6; ++row) {
    for (int column = 1; column < board.width - 1; ++column) {
      const auto at = static_cast<std::size_t>(row * board.width + column);
      stats.replyHeat.counts[at] = 8 * (column < 7 ? column : 14 - column) + row;
      stats.replyHeat.scores[at] = stats.replyHeat.counts[at] * (20 + column);
    }
  }
  stats.replyHeat.counts[3 * board.width + 7] = 400;
  stats.replyHeat.scores[3 * board.width + 7] = 400 * 35;
  for (int row = 0; row < board.height; ++row) {
    const auto at = static_cast<std::size_t>(row * board.width + 11);
    stats.nextHeat.counts[at] = 10 * (row + 1);
    stats.nextHeat.scores[at] = 250 * (row + 1);
  }
  return stats;
}

TEST(UiGolden, HeatMapOfReplies) {
  const PreviewedPosition p = previewedPosition();
  const SimulationStats stats = madeUpHeat(p.game.board);
  BoardPreview preview = previewOf(p.laid);
  preview.stats = &stats;
  preview.heat = HeatView::replyShare;
  checkGolden("heatmap", p.game, ViewOptions{.randomNumber = 777}, 1000, 700, &preview);
}

TEST(UiGolden, HeatMapOfNextMovesWithoutHighlightedBoardTiles) {
  const PreviewedPosition p = previewedPosition();
  const SimulationStats stats = madeUpHeat(p.game.board);
  BoardPreview preview = previewOf(p.laid);
  preview.stats = &stats;
  preview.heat = HeatView::nextShare;
  preview.highlightUsed = false;
  checkGolden("heatmap_next", p.game, ViewOptions{.bonusLabels = false, .randomNumber = 777}, 1000, 700, &preview);
}

TEST(UiHeat, SquareTextsAndLevels) {
  Board board;
  board.width = 15;
  board.height = 15;
  const SimulationStats stats = madeUpHeat(board);
  // Replies: 8 * 3 + 2 = 26 of 400 at (3, 2) = 6.5%; every one at (7, 3).
  EXPECT_EQ(HeatCellText(stats, HeatView::replyShare, 3, 2), "6.5%");
  EXPECT_EQ(HeatCellText(stats, HeatView::replyShare, 7, 3), "100.0%");
  EXPECT_DOUBLE_EQ(HeatLevel(stats, HeatView::replyShare, 7, 3), 1.0);
  EXPECT_DOUBLE_EQ(HeatLevel(stats, HeatView::replyShare, 3, 2), 0.065);
  // Their mean score: 20 + column.
  EXPECT_EQ(HeatCellText(stats, HeatView::replyScore, 3, 2), "23.0");
  EXPECT_EQ(HeatCellText(stats, HeatView::replyScore, 7, 3), "35.0");
  // Next moves: column 11 only.
  EXPECT_EQ(HeatCellText(stats, HeatView::nextShare, 11, 0), "2.5%");
  EXPECT_EQ(HeatCellText(stats, HeatView::nextShare, 3, 2), "");
  EXPECT_DOUBLE_EQ(HeatLevel(stats, HeatView::nextShare, 3, 2), 0.0);
  // Squares nothing covered, off the grid, no view, no heat maps.
  EXPECT_EQ(HeatCellText(stats, HeatView::replyShare, 0, 0), "");
  EXPECT_EQ(HeatCellText(stats, HeatView::replyShare, 15, 2), "");
  EXPECT_EQ(HeatCellText(stats, HeatView::none, 3, 2), "");
  SimulationStats none = stats;
  none.hasHeatMaps = false;
  EXPECT_EQ(HeatCellText(none, HeatView::replyShare, 3, 2), "");
  EXPECT_DOUBLE_EQ(HeatLevel(none, HeatView::replyShare, 7, 3), 0.0);
}

// Colours a game definition gives its squares, custom multipliers with
// their labels, and squares that are no part of the board, on a board of
// 13 by 11 (tests/data/ui/colours.definitions).
TEST(UiGolden, SquareColoursOfTheGameDefinition) {
  std::ifstream file(PEXIL_TEST_DATA "/ui/colours.definitions");
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(text.empty());
  test::DefinitionsScope definitions(text);
  ASSERT_EQ(gameTypeCount(), 1);
  Game game = test::seededPosition(0, 2024, false);
  ASSERT_EQ(game.board.width, 13);
  ASSERT_EQ(game.board.height, 11);
  test::lay(game, "garden", 3, 5, false);
  test::lay(game, "rose", 5, 2, true, 1);
  ViewOptions options;
  options.randomNumber = 4;
  options.rowColumnLabels = true;

  // The colours themselves, one pixel inside each kind of square.
  TextPane pane;
  Canvas canvas(test::drawContext(), 1000, 700);
  PaneView view;
  RenderView(test::drawContext(), canvas, &game, options, pane, view);
  const BoardLayout layout = ComputeBoardLayout(1000, 700, 13, 11, true, false, test::drawContext().paneCharWidth(18));
  auto inside = [&](int column, int row) {
    return canvas.pixel(layout.boardLeft() + column * layout.square + 2, layout.boardTop() + row * layout.square + 2);
  };
  EXPECT_EQ(inside(3, 0), 0xE8F0D8u);   // plain
  EXPECT_EQ(inside(4, 1), 0x70C0F0u);   // double letter
  EXPECT_EQ(inside(3, 3), 0x3050D0u);   // triple letter
  EXPECT_EQ(inside(6, 2), 0xC040A0u);   // quadruple letter
  EXPECT_EQ(inside(1, 1), 0xF0B0C0u);   // double word
  EXPECT_EQ(inside(2, 0), 0xE04030u);   // triple word
  EXPECT_EQ(inside(6, 0), 0x7030C0u);   // quadruple word
  EXPECT_EQ(inside(2, 2), 0xFFD040u);   // five times the letter
  EXPECT_EQ(inside(6, 3), 0x40A060u);   // six times the word
  EXPECT_EQ(inside(4, 4), 0x808080u);   // minus the letter
  EXPECT_EQ(inside(10, 4), 0x404040u);  // minus twice the word
  EXPECT_EQ(inside(0, 0), static_cast<std::uint32_t>(colours::background));  // no square at all
  checkGolden("colours", game, options, 1000, 700);
}

// The numbers of players a game type allows, as the start-game dialog
// bounds its choice.
TEST(UiStartGame, PlayersTheGameTypeAllows) {
  {
    std::ifstream file(PEXIL_TEST_DATA "/ui/colours.definitions");
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    test::DefinitionsScope definitions(text);
    EXPECT_EQ(ui::PlayerRange(0), std::make_pair(2, 3));
    EXPECT_EQ(ui::PlayerRange(1), std::make_pair(2, 2));  // no such type
  }
  test::seededPosition(0, 1);  // the shipped types again
  EXPECT_EQ(ui::PlayerRange(0), std::make_pair(1, 4));
  EXPECT_EQ(ui::PlayerRange(-1), std::make_pair(2, 2));
  EXPECT_EQ(ui::GameTypeNames().front(), "Scrabble(R) - American English");
  // A number the type does not allow starts nothing and says which it does.
  ui::Session session;
  test::PaneCapture capture;
  EXPECT_FALSE(session.startGame(0, 5));
  ASSERT_FALSE(capture.lines().empty());
  EXPECT_EQ(capture.lines().back(), "Scrabble(R) - American English: 1 to 4 players.");
  EXPECT_EQ(session.game(), nullptr);
}

// Three and four players: the panel holds a line and a rack per player.
TEST(UiGolden, FourPlayers) {
  const Game game = test::seededPosition(0, 2024, true, 4);
  ASSERT_EQ(game.playerCount, 4);
  checkGolden("four_players", game, ViewOptions{.randomNumber = 777}, 1000, 700);
}

}  // namespace
}  // namespace pexil::draw
