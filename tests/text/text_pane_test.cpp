#include "text/text_pane.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "test_support.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

using test::PaneCapture;

std::string words(int count, const char* word) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += word;
  }
  return text;
}

TEST(TextPaneWrap, LongTextBreaksAtTheLastSpaceWithinSixtyColumns) {
  // 26 words of four letters and a space: 129 characters.
  const std::string text = words(26, "abcd") + "x";
  ASSERT_EQ(text.size(), 130u);
  const auto pieces = TextPane::WrapPieces(text, true);
  ASSERT_EQ(pieces.size(), 3u);
  for (const std::string& piece : pieces) EXPECT_LE(piece.size(), 60u) << piece;
  // Each piece ends with the space it was broken at, and nothing is lost.
  EXPECT_EQ(pieces[0].back(), ' ');
  EXPECT_EQ(pieces[1].back(), ' ');
  EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], text);
}

TEST(TextPaneWrap, BreakRules) {
  // A space exactly at column 60 belongs to the first piece.
  const std::string sixty(60, 'a');
  auto pieces = TextPane::WrapPieces(sixty + " tail", true);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], sixty + " ");
  EXPECT_EQ(pieces[1], "tail");

  // No white space in the first 61 characters: the whole rest is one piece.
  pieces = TextPane::WrapPieces(std::string(61, 'b') + " c d", true);
  ASSERT_EQ(pieces.size(), 1u);

  // A short text, or wrapping off, stays whole; line ends become spaces.
  pieces = TextPane::WrapPieces("a\nb", true);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0], "a b");
  pieces = TextPane::WrapPieces(words(30, "word"), false);
  EXPECT_EQ(pieces.size(), 1u);

  // A line end inside a long text is white space too.
  pieces = TextPane::WrapPieces(std::string(50, 'x') + "\n" + std::string(50, 'y'), true);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], std::string(50, 'x') + " ");
}

TEST(TextPanePrint, WrapsUnlessTableLineOrNoWrap) {
  TextPane pane;
  pane.Print(words(26, "abcd") + "x");
  EXPECT_EQ(pane.LineCount(), 3u);

  pane.Print("Quick: " + words(30, "wide"));
  EXPECT_EQ(pane.LineCount(), 4u);
  EXPECT_TRUE(pane.LastLine().starts_with("Quick: "));
  for (const char* marker : {"FastSim:", "Look:", "Endgame:"}) {
    pane.Print(words(20, "wide") + " " + marker);
  }
  EXPECT_EQ(pane.LineCount(), 7u);

  pane.SetNoWrap(true);
  pane.Print(words(30, "wide"));
  EXPECT_EQ(pane.LineCount(), 8u);
  pane.SetNoWrap(false);

  pane.Print("a\r\nb");
  EXPECT_EQ(pane.LastLine(), "a  b");
  pane.Print("");
  EXPECT_EQ(pane.LineCount(), 9u);
}

TEST(TextPanePrint, TableMarkersFollowTheUiLanguage) {
  test::StateGuard guard;
  TextPane pane;
  const std::string text = words(20, "wide") + " Quick:";
  SetUILang(kCatalan);
  // In Catalan "Quick:" is not the table marker, so the line wraps.
  pane.Print(text);
  EXPECT_GT(pane.LineCount(), 1u);
  const std::size_t before = pane.LineCount();
  pane.Print(words(20, "wide") + " " + Message(msg::MarkQuick));
  EXPECT_EQ(pane.LineCount(), before + 1);
}

TEST(TextPanePrint, ColoursAndQuiet) {
  TextPane pane;
  pane.Print("green");
  pane.SetColour(colour::yellow);
  pane.Print("yellow");
  pane.SetColour(colour::green);
  pane.Print("cyan", colour::cyan);
  EXPECT_EQ(pane.LineColour(0), colour::green);
  EXPECT_EQ(pane.LineColour(1), colour::yellow);
  EXPECT_EQ(pane.LineColour(2), colour::cyan);
  EXPECT_EQ(pane.Colour(), colour::green);

  std::ostringstream file;
  pane.Redirect(&file);
  pane.SetQuiet(true);
  pane.Print("nothing");
  pane.ReplaceLastLine("nothing for best move");
  pane.SetQuiet(false);
  pane.EndRedirect();
  EXPECT_EQ(pane.LineCount(), 3u);
  EXPECT_TRUE(file.str().empty());
}

TEST(TextPanePrint, RedirectionKeepsLoadingProgressInThePane) {
  TextPane pane;
  std::ostringstream file;
  pane.Redirect(&file);
  pane.Print("Report line\n");
  pane.Print("Reading word list ");
  pane.Print("Reading game...");
  pane.Print("Reading rack statistics...\n");
  pane.Print("172823 words in word list.");
  pane.Print("Second line\n");
  pane.EndRedirect();
  EXPECT_EQ(file.str(), "Report line\nSecond line\n");
  ASSERT_EQ(pane.LineCount(), 4u);
  EXPECT_EQ(pane.Line(0), "Reading word list ");
  EXPECT_EQ(pane.Line(2), "Reading rack statistics... ");
  pane.Print("after");
  EXPECT_EQ(pane.LastLine(), "after");
}

TEST(TextPaneReplace, ProgressLinesAreRewrittenInPlace) {
  TextPane pane;
  pane.ReplaceLastLine("10 iterations for best move");  // nothing to replace yet
  EXPECT_EQ(pane.LineCount(), 1u);
  pane.ReplaceLastLine("20 iterations for best move");
  pane.ReplaceLastLine("simulation pass 3\n");
  ASSERT_EQ(pane.LineCount(), 1u);
  EXPECT_EQ(pane.LastLine(), "simulation pass 3 ");

  pane.Print("a plain line");
  pane.ReplaceLastLine("30 iterations for best move");
  EXPECT_EQ(pane.LineCount(), 3u);
  pane.ReplaceLastLine("not a progress line");
  EXPECT_EQ(pane.LineCount(), 4u);
}

TEST(TextPaneHooks, SinkSeesEveryLineAndRepaintRuns) {
  TextPane pane;
  std::vector<std::pair<std::string, bool>> seen;
  int repaints = 0;
  pane.SetLineSink([&](const std::string& line, int, bool replaced) { seen.emplace_back(line, replaced); });
  pane.SetRepaintHook([&] { ++repaints; });
  pane.Print(words(26, "abcd"));
  pane.PrintAndRefresh("1 for best move");
  pane.ReplaceLastLine("2 for best move");
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_FALSE(seen[3].second);
  EXPECT_EQ(seen[4], std::make_pair(std::string("2 for best move"), true));
  EXPECT_EQ(repaints, 2);
  EXPECT_EQ(pane.LineCount(), 4u);
}

TEST(TextPaneStream, OneLinePerLineEnd) {
  TextPane pane;
  {
    PaneStream out(pane);
    out << "score " << 42 << '\n' << "two" << "\n" << "unfinished";
  }
  ASSERT_EQ(pane.LineCount(), 3u);
  EXPECT_EQ(pane.Line(0), "score 42");
  EXPECT_EQ(pane.Line(1), "two");
  EXPECT_EQ(pane.Line(2), "unfinished");

  std::ostringstream file;
  pane.Redirect(&file);
  {
    PaneStream out(pane);
    out << "report " << 1 << '\n';
  }
  pane.EndRedirect();
  EXPECT_EQ(file.str(), "report 1\n");
}

TEST(TextPaneThreads, ConcurrentPrintersLoseNothing) {
  TextPane pane;
  constexpr int kThreads = 4, kLines = 500;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&pane, t] {
      for (int i = 0; i < kLines; ++i) pane.Print("thread " + std::to_string(t) + " line " + std::to_string(i), t);
    });
  }
  for (std::thread& thread : threads) thread.join();
  ASSERT_EQ(pane.LineCount(), static_cast<std::size_t>(kThreads * kLines));
  // Each thread's lines keep their order and colour.
  std::vector<int> next(kThreads, 0);
  for (std::size_t i = 0; i < pane.LineCount(); ++i) {
    const int t = pane.LineColour(i);
    EXPECT_EQ(pane.Line(i), "thread " + std::to_string(t) + " line " + std::to_string(next[static_cast<std::size_t>(t)]++));
  }
}

}  // namespace
}  // namespace pexil
