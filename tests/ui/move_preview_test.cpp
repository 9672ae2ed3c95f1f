// Moves read from pane lines and typed text for the board preview, the
// board with the move laid, the heat maps a simulation leaves for it, and
// which heat map the modifier keys show.
#include <gtest/gtest.h>

#include <algorithm>

#include "move_preview.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "rules/notation.hpp"
#include "search/fast_lookahead.hpp"
#include "ui_test_support.hpp"

namespace pexil::ui {
namespace {

bool sameMove(const Move& a, const Move& b) {
  return a.column == b.column && a.row == b.row && a.direction == b.direction && a.wordView() == b.wordView() &&
         a.blankPositions == b.blankPositions;
}

// The legal moves of the player to move, best first.
std::vector<Move> legalMoves(const Game& game) {
  Game copy(game);
  copy.quiet = true;
  GenerateMoves(copy, Generation::fullList);
  return activeList(copy);
}

// A move of the list that lays tiles beside tiles on the board (its word
// runs through some), and one that uses a blank, if any.
const Move* moveThrough(const Game& game, const std::vector<Move>& moves) {
  for (const Move& move : moves) {
    if (!isNonPlacement(move) && !LayMove(game, move).used.empty()) return &move;
  }
  return nullptr;
}

TEST(UiPreview, MoveLinesReadAsTheirMoves) {
  const Game game = test::seededPosition(0, 2024);
  const std::vector<Move> moves = legalMoves(game);
  ASSERT_GT(moves.size(), 20u);
  int placements = 0;
  for (std::size_t k = 0; k < 20; ++k) {
    const Move& move = moves[k];
    if (isNonPlacement(move)) continue;
    ++placements;
    // The line of a move list, with '|' round the letters on the board, and
    // a listing's own prefix.
    const std::string line = MoveLine(game, game.toMove, move, std::string());
    SCOPED_TRACE(line);
    const auto read = ReadMove(game, line);
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(sameMove(*read, move));
    const auto prefixed = ReadMove(game, MoveLine(game, -1, move, "Move 3: "));
    ASSERT_TRUE(prefixed.has_value());
    EXPECT_TRUE(sameMove(*prefixed, move));
    // Typed: position then word, in either order.
    const std::string position = movePosition(move.direction, move.column, move.row, true);
    const std::string word = moveLineWord(move, nullptr);
    const auto typed = ReadMove(game, position + " " + word);
    ASSERT_TRUE(typed.has_value());
    EXPECT_TRUE(sameMove(*typed, move));
    const auto reversed = ReadMove(game, word + " " + position);
    ASSERT_TRUE(reversed.has_value());
    EXPECT_TRUE(sameMove(*reversed, move));
  }
  EXPECT_GT(placements, 10);
}

// The game's move list may be left from another turn (the computer's
// candidates stay in it after its move): a listed move the rack to move
// cannot make is not read as a move, and one it can make still is.
TEST(UiPreview, AListLeftFromAnotherRackNamesNoMove) {
  Game game = test::seededPosition(0, 2024);
  Game other = game;
  other.toMove = 1 - game.toMove;
  std::vector<Move> theirs = legalMoves(other);
  const std::vector<Move> ours = legalMoves(game);
  const Move* foreign = nullptr;
  for (const Move& move : theirs) {
    if (isNonPlacement(move)) continue;
    if (std::none_of(ours.begin(), ours.end(), [&](const Move& m) { return sameMove(m, move); })) {
      foreign = &move;
      break;
    }
  }
  ASSERT_NE(foreign, nullptr) << "the two racks make the same moves";
  const std::string line = MoveLine(other, other.toMove, *foreign, std::string());
  game.moves = theirs;
  EXPECT_FALSE(ReadMove(game, line).has_value()) << line;
  // A move of the list that the rack to move can make too is read.
  for (const Move& move : theirs) {
    if (isNonPlacement(move) || std::none_of(ours.begin(), ours.end(), [&](const Move& m) { return sameMove(m, move); })) {
      continue;
    }
    const auto read = ReadMove(game, MoveLine(game, game.toMove, move, std::string()));
    ASSERT_TRUE(read.has_value());
    EXPECT_TRUE(sameMove(*read, move));
    break;
  }
}

TEST(UiPreview, TextThatNamesNoMoveGivesNone) {
  const Game game = test::seededPosition(0, 2024);
  EXPECT_FALSE(ReadMove(game, "Welcome to Pexil crossword puzzle game software."));
  EXPECT_FALSE(ReadMove(game, ""));
  EXPECT_FALSE(ReadMove(game, "(Pass)"));
  // QUARTZ lies on the board already (row 8 from column F).
  EXPECT_FALSE(ReadMove(game, "8F QUARTZ"));
  // No such word, and a word the rack cannot make.
  EXPECT_FALSE(ReadMove(game, "2B XQXQ"));
  const std::vector<Move> moves = legalMoves(game);
  const Move& best = moves.front();
  const std::string word = moveLineWord(best, nullptr);
  // The right word at another square, and across for down.
  EXPECT_FALSE(ReadMove(game, movePosition(best.direction, best.column, best.row + 3, true) + " " + word).has_value() &&
               sameMove(*ReadMove(game, movePosition(best.direction, best.column, best.row + 3, true) + " " + word), best));
  EXPECT_FALSE(ReadMove(game, "1A " + word).has_value() && sameMove(*ReadMove(game, "1A " + word), best));
  // No game to preview in: a game that is over.
  Game over = game;
  over.gameOver = true;
  EXPECT_FALSE(ReadMove(over, MoveLine(game, game.toMove, best, std::string())));
}

TEST(UiPreview, TheLaidBoardHoldsTheMoveAndTellsItsTilesApart) {
  const Game game = test::seededPosition(0, 2024);
  const std::vector<Move> moves = legalMoves(game);
  const Move* through = moveThrough(game, moves);
  ASSERT_NE(through, nullptr);
  const LaidMove laid = LayMove(game, *through);
  const std::string_view word = through->wordView();
  EXPECT_EQ(laid.laid.size() + laid.used.size(), word.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int column = through->direction == kAcross ? through->column + static_cast<int>(i) : through->column;
    const int row = through->direction == kAcross ? through->row : through->row + static_cast<int>(i);
    const Square* before = squareAt(game.board, column, row);
    const Square* after = squareAt(laid.board, column, row);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->letter, word[i]);
    EXPECT_EQ(after->isBlank != 0, before->empty() ? through->isBlankAt(static_cast<int>(i)) : before->isBlank != 0);
    const auto in = [&](const std::vector<draw::Cell>& cells) {
      return std::any_of(cells.begin(), cells.end(), [&](const draw::Cell& c) { return c.column == column && c.row == row; });
    };
    EXPECT_EQ(in(laid.laid), before->empty());
    EXPECT_EQ(in(laid.used), !before->empty());
  }
  // Nothing else changed, and the game's own board is untouched.
  int changed = 0;
  for (std::size_t k = 0; k < game.board.squares.size(); ++k) {
    changed += game.board.squares[k].letter != laid.board.squares[k].letter;
  }
  EXPECT_EQ(changed, static_cast<int>(laid.laid.size()));
}

TEST(UiPreview, ModifierKeysPickTheHeatMap) {
  using draw::HeatView;
  EXPECT_EQ(HeatViewFor(false, false, false, false), HeatView::none);
  EXPECT_EQ(HeatViewFor(true, false, false, false), HeatView::replyShare);
  EXPECT_EQ(HeatViewFor(false, false, false, true), HeatView::replyShare);
  EXPECT_EQ(HeatViewFor(true, false, false, true), HeatView::none);
  EXPECT_EQ(HeatViewFor(false, true, false, false), HeatView::replyScore);
  EXPECT_EQ(HeatViewFor(true, true, false, true), HeatView::replyScore);
  EXPECT_EQ(HeatViewFor(false, false, true, false), HeatView::nextShare);
  EXPECT_EQ(HeatViewFor(false, false, true, true), HeatView::nextShare);
}

// The move analysis with heat maps tracked leaves them with the move in
// the game's list, where the preview finds them; without tracking there
// are none.
TEST(UiPreview, HeatMapsOfASimulatedMove) {
  Game game = test::seededPosition(0, 2024);
  const std::vector<Move> moves = legalMoves(game);
  const Move best = moves.front();
  EXPECT_EQ(HeatStatsOf(game, best), nullptr);
  game.quiet = true;
  game.trackHeatmaps = false;
  AnalyzeMove(game, best, 2, 1);
  EXPECT_EQ(HeatStatsOf(game, best), nullptr);
  game.trackHeatmaps = true;
  AnalyzeMove(game, best, 2, 1);
  const SimulationStats* stats = HeatStatsOf(game, best);
  ASSERT_NE(stats, nullptr);
  EXPECT_EQ(stats->replyHeat.width, game.board.width);
  EXPECT_GT(stats->replyHeat.moves, 0);
  EXPECT_GT(stats->nextHeat.moves, 0);
  // The move read back from its line carries them too.
  const auto read = ReadMove(game, MoveLine(game, game.toMove, best, std::string()));
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(HeatStatsOf(game, *read), stats);
}

}  // namespace
}  // namespace pexil::ui
