// The desktop program played through its window as a person plays it: a
// whole game against the computer player entered with the pointer and the
// keyboard, a simulation stopped with Esc, every menu command once, and
// pictures of the move preview and of the simulation results against the
// PNGs kept in tests/data/ui/.
#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "commands.hpp"
#include "commands_state.hpp"
#include "dialog_support.hpp"
#include "menu_table.hpp"
#include "move_preview.hpp"
#include "movegen/adjustments.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "pane_click.hpp"
#include "play/game_flow.hpp"
#include "play_window.hpp"
#include "rules/random.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::test {
namespace {

using ui::dlgid::check1;
using ui::dlgid::list1;
using ui::dlgid::list2;
using ui::dlgid::spin1;
using ui::dlgid::spin2;
using ui::dlgid::text1;
using ui::dlgid::text2;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A placement the rack to move can make without blanks, as the move
// generator lists it (the best such), with its word kept as text.
struct PlannedMove {
  Move move;
  std::string word;
};

std::optional<PlannedMove> typeableMove(const Game& game) {
  Game copy = game;
  copy.quiet = true;
  GenerateMoves(copy, false);
  for (const Move& m : copy.moves) {
    if (isNonPlacement(m)) continue;
    if (std::any_of(m.blankPositions.begin(), m.blankPositions.end(), [](int p) { return p >= 0; })) continue;
    return PlannedMove{m, std::string(m.wordView())};
  }
  return std::nullopt;
}

// The letters of the move's word that go on empty squares, in order.
std::string newLetters(const Game& game, const Move& move, const std::string& word) {
  std::string letters;
  for (int i = 0; i < static_cast<int>(word.size()); ++i) {
    const int c = move.column + (move.direction == kAcross ? i : 0);
    const int r = move.row + (move.direction == kAcross ? 0 : i);
    const Square* square = squareAt(game.board, c, r);
    if (square != nullptr && square->empty()) letters.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(word[static_cast<std::size_t>(i)]))));
  }
  return letters;
}

std::string describe(const Move& move) {
  std::ostringstream out;
  out << move.wordView() << " at " << move.column << "," << move.row << (move.direction == kAcross ? " across" : " down")
      << " for " << move.score;
  return out.str();
}

// The record of the game as the history and the scores give it.
struct Record {
  std::vector<std::string> turns;
  std::vector<int> scores;
  bool operator==(const Record&) const = default;
};

Record recordOf(const Game& game) {
  Record record;
  for (const HistoryEntry& entry : game.history) {
    const Move& m = entry.move.move();
    std::ostringstream turn;
    turn << m.wordView() << ' ' << m.column << ' ' << m.row << ' ' << m.direction << ' ' << m.score << ' '
         << entry.survivedChallenge << " |";
    for (int p = 0; p < game.playerCount; ++p) turn << ' ' << entry.scoresAfter[static_cast<std::size_t>(p)];
    record.turns.push_back(turn.str());
  }
  record.scores.assign(game.scores.begin(), game.scores.begin() + game.playerCount);
  return record;
}

void PrintTo(const Record& record, std::ostream* out) {
  for (const auto& turn : record.turns) *out << "\n  " << turn;
  *out << "\n  scores:";
  for (int s : record.scores) *out << ' ' << s;
}

// The pane lines now visible that read as moves of the player to move.
std::vector<long> visibleMoveLines(PlayWindow& window) {
  std::vector<long> found;
  const draw::PaneView& pane = window.view().PaneLayout();
  for (int k = 0; k < pane.visibleLines; ++k) {
    const std::size_t line = pane.first + static_cast<std::size_t>(k);
    if (line >= textPane().LineCount()) break;
    if (ui::ReadPaneLine(&window.game(), textPane().Line(line)).kind == ui::PaneLineKind::move) {
      found.push_back(static_cast<long>(line));
    }
  }
  return found;
}

class WindowPlay : public testing::Test {
 protected:
  void SetUp() override {
    answers() = Answers();
    start_ = Clock::now();
  }
  void TearDown() override {
    for (const std::string& failure : answers().failures) ADD_FAILURE() << failure;
    EXPECT_EQ(answersWaiting(), 0u) << "answers were queued for dialogs that never opened";
    std::printf("[ timing ] %s: %.1f s\n", testing::UnitTest::GetInstance()->current_test_info()->name(),
                secondsSince(start_));
  }

 private:
  Clock::time_point start_;
};

// ---------------------------------------------------------------- a game

// The user's move entered on the board: a click on its first square (a
// second click there, or Space, turns the typing direction), its letters
// typed, Enter.
void enterMoveByKeys(PlayWindow& w, const PlannedMove& planned) {
  const Move& move = planned.move;
  const std::string letters = newLetters(w.game(), move, planned.word);
  ASSERT_FALSE(letters.empty());
  w.clickAt(w.squareCentre(move.column, move.row));
  ASSERT_TRUE(waitFor([&] { return w.session().entry().cursor().has_value(); }, 5)) << "the click set no cursor";
  const auto& cursor = w.session().entry().cursor();
  EXPECT_EQ(cursor->column, move.column);
  EXPECT_EQ(cursor->row, move.row);
  if (cursor->down != (move.direction == kDown)) {
    w.key(WXK_SPACE);
    ASSERT_TRUE(waitFor([&] { return w.session().entry().cursor()->down == (move.direction == kDown); }, 5))
        << "Space did not turn the typing direction";
  }
  w.type(letters);
  ASSERT_TRUE(waitFor([&] { return w.session().entry().laid().size() == letters.size(); }, 5))
      << "typed " << letters << ", laid " << w.session().entry().laid().size();
  const auto laid = w.session().entry().laidMove(w.game());
  ASSERT_TRUE(laid.has_value());
  EXPECT_EQ(laid->wordView(), planned.word);
  EXPECT_EQ(laid->score, move.score);
  w.key(WXK_RETURN);
}

// Waits for the user's move and the computer's reply (or the end).
void awaitReply(PlayWindow& w, std::size_t historyBefore) {
  ASSERT_TRUE(waitFor([&] { return w.game().history.size() >= historyBefore + 2 || w.game().gameOver; }, 30))
      << "history " << w.game().history.size() << " after " << historyBefore;
  ASSERT_TRUE(w.settle());
}

TEST_F(WindowPlay, AWholeGameAgainstTheComputer) {
  PlayWindow w(4242);
  ASSERT_TRUE(w.open());
  // A game against the computer player at a set depth of one ply, the user
  // first, the name typed.
  answerDialog({check([](wxDialog& d) { EXPECT_EQ(ui::WxToLatin1(d.GetTitle()), Message(msg::DlgTitlePlayPexil)); }),
                choose(list1, 0), typeInto(text1, "Ann"), choose(list2, 1), setText(text2, "1"), ok()});
  w.menu(524);
  ASSERT_TRUE(w.settle());
  ASSERT_EQ(w.game().playerCount, 2);
  EXPECT_TRUE(w.game().history.empty());
  EXPECT_EQ(w.game().toMove, 0);
  EXPECT_EQ(playerName(w.game(), 0), "Ann");
  EXPECT_EQ(playerName(w.game(), 1), Message(msg::PlayComputerName));
  EXPECT_EQ(w.session().settings().playerName, "Ann");

  // 1. A move typed on the board; the computer replies on its own.
  {
    const auto planned = typeableMove(w.game());
    ASSERT_TRUE(planned) << "the opening rack makes no move";
    enterMoveByKeys(w, *planned);
    awaitReply(w, 0);
    ASSERT_EQ(w.game().history.size(), 2u);
    const Move& played = w.game().history[0].move.move();
    EXPECT_EQ(describe(played), describe(planned->move));
    EXPECT_EQ(w.game().toMove, 0);
    EXPECT_TRUE(w.session().entry().laid().empty());
  }

  // 2. Shift+Q lists moves; a click on a move line plays it.
  {
    const std::size_t lines = textPane().LineCount();
    w.key('Q', wxMOD_SHIFT);
    ASSERT_TRUE(w.settle());
    ASSERT_GT(textPane().LineCount(), lines + 1) << "Quick move find listed nothing";
    w.paint();  // the pane scrolls to its last line
    const std::vector<long> moveLines = visibleMoveLines(w);
    ASSERT_FALSE(moveLines.empty()) << "no move line is visible";
    // The third line listed (or the last one shown): not necessarily the best.
    const long line = moveLines[std::min<std::size_t>(2, moveLines.size() - 1)];
    const auto named = ui::ReadMove(w.game(), textPane().Line(static_cast<std::size_t>(line)));
    ASSERT_TRUE(named.has_value());
    const std::string expected = describe(*named);
    w.pointAt(w.lineCentre(line));
    ASSERT_TRUE(waitFor([&] { return w.view().PaneLayout().selected == line; }, 5)) << "the pointer selected no line";
    const std::size_t before = w.game().history.size();
    w.clickAt(w.lineCentre(line));
    awaitReply(w, before);
    EXPECT_EQ(describe(w.game().history[before].move.move()), expected);
  }
}

}  // namespace
}  // namespace pexil::test

// The test program: a wx application without a main loop of its own; the
// tests turn the loop themselves.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new wxApp());  // wx owns and deletes the application object
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display: the window play test needs an X server\n");
    return 77;
  }
  wxInitAllImageHandlers();
  pexil::test::startAnswering();
  const int status = RUN_ALL_TESTS();
  pexil::test::stopAnswering();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
