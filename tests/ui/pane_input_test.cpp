// The text pane's lines for the clipboard (all, the visible ones, the
// simulation's) and what a click on a pane line asks for.
#include <gtest/gtest.h>

#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "pane_click.hpp"
#include "pane_clipboard.hpp"
#include "pane_scroll.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "ui_test_support.hpp"

namespace pexil::ui {
namespace {

TEST(UiPaneClipboard, LinesEndInCrLfWithoutTheBoardMarks) {
  EXPECT_EQ(ClipboardText({}), "");
  EXPECT_EQ(ClipboardText({"P1: QUA|R|TZ  8D  57 pts", "", "a|b|c"}), "P1: QUARTZ  8D  57 pts\r\n\r\nabc\r\n");
}

TEST(UiPaneClipboard, VisibleTextScrolledToTheTopIsExactlyTheVisibleLines) {
  TextPane pane;
  pane.SetNoWrap(true);
  for (int k = 0; k < 30; ++k) pane.Print("line " + std::to_string(k) + (k % 3 == 0 ? " |QI|" : ""));
  const int visible = 12;
  std::string expected;
  for (int k = 0; k < visible; ++k) expected += "line " + std::to_string(k) + (k % 3 == 0 ? " QI" : "") + "\r\n";
  const std::string copied = VisiblePaneText(pane, 0, visible);
  EXPECT_EQ(copied, expected);
  EXPECT_EQ(copied.find('|'), std::string::npos);
  // Scrolled down, and past the end: the lines there are.
  EXPECT_EQ(VisiblePaneText(pane, 27, visible), "line 27 QI\r\nline 28\r\nline 29\r\n");
  EXPECT_EQ(VisiblePaneText(pane, 40, visible), "");
  EXPECT_EQ(VisiblePaneText(pane, 0, 0), "");
  // All lines.
  const std::string all = PaneText(pane);
  EXPECT_EQ(all.substr(0, expected.size()), expected);
  EXPECT_EQ(all.size() - all.find("line 29\r\n"), std::string("line 29\r\n").size());
}

TEST(UiPaneClipboard, SimulationLines) {
  TextPane pane;
  pane.SetSimulationLines({"Simulation |1|", "ZAX 5d 63.2"});
  EXPECT_EQ(SimulationPaneText(pane), "Simulation 1\r\nZAX 5d 63.2\r\n");
}

TEST(UiPaneClick, ContinuationLinesInEveryLanguage) {
  test::StateGuard guard;
  for (const int language : {kEnglish, kPigLatin, kCatalan}) {
    SetUILang(language);
    EXPECT_EQ(ReadPaneText(Message(msg::MoreMoves)).kind, PaneLineKind::moreMoves);
    EXPECT_EQ(ReadPaneText(Message(msg::MoreWords)).kind, PaneLineKind::moreWords);
  }
  SetUILang(kEnglish);
  EXPECT_EQ(ReadPaneText("Type 'y' to see more moves.").kind, PaneLineKind::moreMoves);
  EXPECT_EQ(ReadPaneText("Type 'y' to see more words.  ").kind, PaneLineKind::moreWords);
  EXPECT_EQ(ReadPaneText("Ypetay 'y' otay eesay oremay ovesmay.").kind, PaneLineKind::moreMoves);
  EXPECT_EQ(ReadPaneText("Ypetay 'y' otay eesay oremay ordsway.").kind, PaneLineKind::moreWords);
  EXPECT_EQ(ReadPaneText("Pitgeu 'y' per veure m\xE9s jugades.").kind, PaneLineKind::moreMoves);
  EXPECT_EQ(ReadPaneText("Pitgeu 'y' per veure m\xE9s mots.").kind, PaneLineKind::moreWords);
  EXPECT_EQ(ReadPaneText("Type 'y' to see more moves. Or not.").kind, PaneLineKind::other);
  EXPECT_EQ(ReadPaneText("No more moves to show.").kind, PaneLineKind::other);
}

TEST(UiPaneClick, NumberedWordLines) {
  auto word = [](const std::string& line) {
    const PaneLineRead read = ReadPaneText(line);
    return read.kind == PaneLineKind::numberedWord ? read.word : std::string("-");
  };
  EXPECT_EQ(word("   1. QI"), "QI");
  EXPECT_EQ(word("  12. QUARTZ*"), "QUARTZ");
  EXPECT_EQ(word(" 123. ZAX#"), "ZAX");
  EXPECT_EQ(word("1234. JO*#"), "JO");
  EXPECT_EQ(word("   7. CAVAL\xB7LA  (definition follows)"), "CAVAL\xB7LA");
  EXPECT_EQ(word("   1. A"), "A");
  // Too short, no number, zero, the full stop elsewhere, no word.
  EXPECT_EQ(word("   1. "), "-");
  EXPECT_EQ(word("   1."), "-");
  EXPECT_EQ(word("    . QI"), "-");
  EXPECT_EQ(word("   0. QI"), "-");
  EXPECT_EQ(word("  1.  QI"), "-");
  EXPECT_EQ(word("   x. QI"), "-");
  EXPECT_EQ(word(" 1 2. QI"), "-");
  EXPECT_EQ(word("   1.QIS"), "-");
  EXPECT_EQ(word("   1. *"), "-");
  EXPECT_EQ(word("12345. QI"), "-");
}

TEST(UiPaneClick, MoveLinesReadAsMovesWithTheirWords) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  Game copy(game);
  copy.quiet = true;
  GenerateMoves(copy, Generation::fullList);
  const Move* placement = nullptr;
  for (const Move& move : activeList(copy)) {
    if (!isNonPlacement(move)) {
      placement = &move;
      break;
    }
  }
  ASSERT_NE(placement, nullptr);
  const std::string line = MoveLine(game, game.toMove, *placement, std::string());
  const PaneLineRead read = ReadPaneLine(&game, line);
  EXPECT_EQ(read.kind, PaneLineKind::move);
  EXPECT_EQ(read.word, latin1Upper(std::string(placement->wordView())));
  // Without a game no line is a move; a continuation stays one with a game.
  EXPECT_EQ(ReadPaneLine(nullptr, line).kind, PaneLineKind::other);
  EXPECT_EQ(ReadPaneLine(&game, "Type 'y' to see more moves.").kind, PaneLineKind::moreMoves);
  EXPECT_EQ(ReadPaneLine(&game, "   3. QUARTZ").kind, PaneLineKind::numberedWord);
}

TEST(UiPaneScroll, ScrollingStaysWithinTheLines) {
  EXPECT_EQ(ScrolledFirst(0, -1, 50, 10), 0u);
  EXPECT_EQ(ScrolledFirst(0, 1, 50, 10), 1u);
  EXPECT_EQ(ScrolledFirst(39, 1, 50, 10), 40u);
  EXPECT_EQ(ScrolledFirst(40, 1, 50, 10), 40u);
  EXPECT_EQ(ScrolledFirst(40, -3, 50, 10), 37u);
  EXPECT_EQ(ScrolledFirst(5, 100, 50, 10), 40u);
  // Fewer lines than the pane shows: no scrolling.
  EXPECT_EQ(ScrolledFirst(0, 1, 5, 10), 0u);
  EXPECT_EQ(ScrolledFirst(3, -1, 5, 10), 0u);
}

TEST(UiPaneScroll, AHeldArrowRepeatsFasterDownToTwentyMilliseconds) {
  std::vector<int> delays{kFirstScrollRepeat};
  while (delays.size() < 20) delays.push_back(NextScrollRepeat(delays.back()));
  EXPECT_EQ(delays[0], 100);
  EXPECT_EQ(delays[1], 95);
  EXPECT_EQ(delays[2], 90);
  EXPECT_EQ(delays[16], 20);
  EXPECT_EQ(delays[17], 20);
  EXPECT_EQ(delays[19], 20);
  EXPECT_EQ(NextScrollRepeat(22), 20);
}

}  // namespace
}  // namespace pexil::ui
