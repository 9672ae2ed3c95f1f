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
using ui::dlgid::text3;

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

// Prints how long the part of a test took (the whole window test is to
// stay well under a minute).
Clock::time_point lastLap = Clock::now();
void lap(const char* what) {
  std::printf("[   lap  ] %-28s %.2f s\n", what, secondsSince(lastLap));
  lastLap = Clock::now();
}

class WindowPlay : public testing::Test {
 protected:
  void SetUp() override {
    answers() = Answers();
    start_ = lastLap = Clock::now();
  }
  void TearDown() override {
    for (const std::string& failure : answers().failures) ADD_FAILURE() << failure;
    // The pane as the test left it, for a look after a failure.
    const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::ofstream pane(filesFolder() + "/pane-" + name + ".txt");
    for (const std::string& line : textPane().Lines()) pane << line << '\n';
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
  answerDialog({expect([](wxDialog& d) { EXPECT_EQ(ui::WxToLatin1(d.GetTitle()), Message(msg::DlgTitlePlayPexil)); }),
                choose(list1, 0), typeInto(text1, "Ann"), choose(list2, 0), setText(text2, "0:06"), ok()});
  w.menu(524);
  ASSERT_TRUE(w.settle());
  lap("new game against the computer");
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
    const std::size_t lines = textPane().LineCount();
    enterMoveByKeys(w, *planned);
    awaitReply(w, 0);
    // The line of the move played: no '|' marks, as no tile lay on the
    // board before it.
    bool printed = false;
    for (std::size_t k = lines; k < textPane().LineCount(); ++k) {
      const std::string line = textPane().Line(k);
      if (line.rfind("P1: ", 0) != 0) continue;
      printed = true;
      std::string upper = planned->word;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_EQ(line.substr(4, upper.size()), upper) << line;
      break;
    }
    EXPECT_TRUE(printed) << "the move played was not printed";
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
  lap("moves typed and clicked");

  // 3. Shift+X: the exchange dialog, the tiles to keep typed, Enter.
  {
    ASSERT_TRUE(ExchangeAllowed(w.game()));
    const std::string rack = rackString(w.game().racks[0]);
    const std::string keep = rack.substr(0, 2);
    const std::size_t before = w.game().history.size();
    answerDialog({typeInto(text1, keep), key(WXK_RETURN)});
    w.key('X', wxMOD_SHIFT);
    awaitReply(w, before);
    const HistoryEntry& exchange = w.game().history[before];
    EXPECT_TRUE(isExchange(exchange.move.move()) || exchange.move.move().word == label::exchangedTiles)
        << exchange.move.move().wordView();
    EXPECT_EQ(exchange.move.move().score, 0);
  }
  lap("exchange");

  // 4. "Challenge last" on the computer's move: a word of the list stands,
  // and under the penalty rule its player gains the penalty.
  {
    ASSERT_EQ(w.game().toMove, 0);
    const Game& game = w.game();
    const int type = game.challengeType, penalty = game.challengePenalty;
    const int before = game.scores[1];
    const std::size_t lines = textPane().LineCount();
    ASSERT_TRUE(w.menuEnabled(557));
    w.menu(557);
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(w.game().history.back().survivedChallenge);
    EXPECT_EQ(w.game().scores[1], before + (type == 2 || type == 3 ? penalty : 0)) << "challenge type " << type;
    EXPECT_GT(textPane().LineCount(), lines);
    EXPECT_EQ(w.game().toMove, type == 1 || type == 3 ? 1 : 0);
    ASSERT_TRUE(w.settle());
  }
  lap("challenge");

  // 5. Ctrl+Z takes the last move back (the computer does not answer at
  // once); Ctrl+Y plays it again.
  {
    const Record before = recordOf(w.game());
    const int mover = w.game().toMove;
    w.key('Z', wxMOD_CONTROL);
    ASSERT_TRUE(waitFor([&] { return w.game().history.size() + 1 == before.turns.size(); }, 5)) << "Ctrl+Z took nothing back";
    pumpFor(0.3);
    EXPECT_FALSE(w.commands().busy()) << "the computer answered a move taken back";
    EXPECT_EQ(w.game().toMove, 1 - mover);
    EXPECT_TRUE(w.menuEnabled(591));
    w.key('Y', wxMOD_CONTROL);
    ASSERT_TRUE(waitFor([&] { return w.game().history.size() == before.turns.size(); }, 5)) << "Ctrl+Y replayed nothing";
    ASSERT_TRUE(w.settle());
    EXPECT_EQ(recordOf(w.game()), before);
    EXPECT_EQ(w.game().toMove, mover);
  }
  lap("undo and redo");

  // 6. To the end: Enter with no tiles laid lets the computer move for the
  // user (and it answers), twice; then Autoplay finishes the game.
  for (int turn = 0; turn < 2 && !w.game().gameOver; ++turn) {
    const std::size_t before = w.game().history.size();
    w.key(WXK_RETURN);
    awaitReply(w, before);
  }
  lap("Enter twice");
  if (!w.game().gameOver) {
    w.menu(525);
    ASSERT_TRUE(waitFor([&] { return w.game().gameOver && !w.commands().busy(); }, 60)) << "Autoplay did not finish";
    ASSERT_TRUE(w.settle());
  }
  EXPECT_TRUE(w.game().gameOver);
  lap("autoplay");

  // 7. Ctrl+S saves the record under the name the file chooser gives;
  // Ctrl+O opens it again: the same turns and scores.
  const Record played = recordOf(w.game());
  const std::string path = filesFolder() + "/whole-game.gcg";
  std::filesystem::remove(path);
  answerFile(path);
  w.key('S', wxMOD_CONTROL);
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(path) && answersWaiting() == 0; }, 5))
      << "Ctrl+S saved nothing; dialogs opened: " << testing::PrintToString(answers().opened) << ", last pane line: " << textPane().LastLine();
  answerFile(path);
  w.key('O', wxMOD_CONTROL);
  ASSERT_TRUE(waitFor([&] { return answersWaiting() == 0; }, 5)) << "Ctrl+O chose no file";
  ASSERT_TRUE(w.settle());
  EXPECT_TRUE(answers().questions.empty()) << "a saved game asked to be saved first";
  EXPECT_EQ(recordOf(w.game()), played);
  EXPECT_EQ(playerName(w.game(), 0), "Ann");
  lap("save and open");
}

// ---------------------------------------------------------------- Esc

TEST_F(WindowPlay, EscStopsASimulation) {
  PlayWindow w(77, 4);
  ASSERT_TRUE(w.open());
  // "Fast lookahead..." by Shift+F: three plies on two threads, until finished.
  answerDialog({expect([](wxDialog& d) { EXPECT_EQ(ui::WxToLatin1(d.GetTitle()), Message(msg::DlgTitleLookahead)); }),
                spin(spin1, 3), spin(spin2, 2), choose(list1, 0), choose(list2, 0), ok()});
  w.key('F', wxMOD_SHIFT);
  ASSERT_TRUE(waitFor([&] { return w.commands().busy(ui::Busy::simulation); }, 5)) << "no simulation started";
  pumpFor(0.4);
  ASSERT_TRUE(w.commands().busy(ui::Busy::simulation)) << "the simulation ended before Esc could stop it";
  EXPECT_TRUE(w.menuEnabled(561)) << "Abort is greyed while a simulation runs";
  EXPECT_FALSE(w.menuEnabled(547)) << "Move is enabled while a simulation runs";
  const auto pressed = Clock::now();
  w.key(WXK_ESCAPE);
  ASSERT_TRUE(waitFor([&] { return !w.commands().busy(); }, 10)) << "Esc did not stop the simulation";
  const double stopped = secondsSince(pressed);
  std::printf("[   lap  ] %-28s %.2f s\n", "Esc to idle", stopped);
  EXPECT_LT(stopped, 5.0);
  ASSERT_TRUE(w.settle());
  EXPECT_FALSE(w.menuEnabled(561));
  EXPECT_TRUE(w.menuEnabled(547));
  // The window still answers: Shift+W prints the bag, a click sets the
  // board cursor, and nothing runs any more.
  const std::size_t lines = textPane().LineCount();
  w.key('W', wxMOD_SHIFT);
  EXPECT_TRUE(waitFor([&] { return textPane().LineCount() > lines; }, 5)) << "Shift+W printed nothing after the stop";
  w.clickAt(w.squareCentre(7, 7));
  EXPECT_TRUE(waitFor([&] { return w.session().entry().cursor().has_value(); }, 5)) << "a click set no cursor";
  EXPECT_FALSE(w.commands().busy());
}

// ---------------------------------------------------------------- menus

// Every item of the menu bar that runs a command (not the submenus).
void collectItems(const std::vector<ui::MenuNode>& nodes, std::vector<int>& items) {
  for (const ui::MenuNode& node : nodes) {
    if (node.kind == ui::MenuKind::submenu) {
      collectItems(node.children, items);
    } else if (node.kind != ui::MenuKind::separator) {
      items.push_back(node.number);
    }
  }
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a command can change, as text: the pane, the answers given, the
// game, the laid tiles and the rack's order, the stored settings, the
// ticks of the menu, the files written and the addresses opened.
std::string fingerprint(PlayWindow& w, const std::vector<int>& items) {
  std::ostringstream out;
  out << "pane " << textPane().LineCount() << " messages " << answers().messages.size() << " questions "
      << answers().questions.size() << '\n';
  if (const Game* game = w.session().game()) {
    out << "history " << game->history.size() << " number " << game->moveNumber << " to " << game->toMove << " over "
        << game->gameOver << " bag " << game->bag[kTotalSlot] << " list " << game->moves.size() << " lexicon "
        << game->lexicon.get() << " challenge " << game->challengeType << '/' << game->challengePenalty << " known "
        << game->typedKnownTiles << '/' << game->knownRacks.size() << " phony " << game->minPhonyLength << '\n';
    for (int p = 0; p < game->playerCount; ++p) {
      out << playerName(*game, p) << ' ' << game->scores[static_cast<std::size_t>(p)] << ' '
          << rackString(game->racks[static_cast<std::size_t>(p)]) << ' ' << game->clocks[static_cast<std::size_t>(p)]
          << '\n';
    }
    for (const std::string& word : game->barredWords) out << "barred " << word << '\n';
    if (!game->history.empty()) {
      for (const std::string& note : game->history.back().notes) out << "note " << note << '\n';
    }
    if (!game->moves.empty()) out << "first simulated " << game->moves.front().simCount << '\n';
    out << "entry " << w.session().entry().laid().size() << ' ';
    for (char c : w.session().entry().displayedRack(*game, game->toMove)) out << c;
    out << '\n';
  }
  if (const char* store = std::getenv("PEXIL_SETTINGS")) out << fileText(store) << '\n';
  out << "language " << UILang() << " flag " << experimentalPlayFlag() << '\n';
  for (const int n : items) out << (w.commands().checked(n) ? '1' : '0');
  out << '\n';
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(filesFolder())) {
    if (entry.path().filename().string().rfind("pane-", 0) != 0) {
      files.insert(entry.path().filename().string() + ":" + std::to_string(entry.file_size()));
    }
  }
  for (const std::string& f : files) out << f << '\n';
  return out.str();
}

TEST_F(WindowPlay, EveryMenuCommandOnce) {
  PlayWindow w(99, 6);
  ASSERT_TRUE(w.open());
  const std::string files = filesFolder();
  std::vector<int> items;
  collectItems(ui::MainMenu(), items);

  // The Testing menu's long-running tools, each declined at its question
  // after the others ("Help create opening book..." asks nothing while no
  // results server is configured, and says so).
  const std::vector<int> declined = {628, 630, 631};
  // Abort runs while "Highest scoring move" does; Exit ends the test.
  // The order: files saved before they are opened, moves made before they
  // are taken back, the game-ending commands last.
  const std::vector<int> order = {
      510, 511, 514, 515, 518, 519, 517, 516,                             // File: saves
      541, 542, 545, 543,                                                 // Board
      526, 529, 530, 528, 527, 531, 532, 533, 534, 538,                   // Game
      547, 548, 549, 550, 544, 562, 563, 565, 566, 567, 568,              // Move
      571, 572, 573, 574, 575, 576, 577, 569, -1, -2, -3, -4,
      552, 553, 554, 555, 556, 557, 537, 535, 536, 558, 559, 560,
      590, 591, 592, 593, 594,                                            // Edit
      579, 580, 581, 582, 583, 584, 585, 586, 587, 588,                   // Rack
      509, 513, 512,                                                      // File: opens
      596, 597, 599, 600, 601, 602, 603, 604, 598,                        // Lexicon
      606, 607, 608, 609, 610, 611, 612, 613, 617, 618,                   // Tiles
      619, 620, 621, 622, 623, 624, 625, 626, 616,
      634, 635, 633,                                                      // UI language
      637, 638,                                                           // Help
      629,                                                                // Testing
  };
  const std::vector<int> tail = {539, 523, 524, 525, 522};
  // Each item once: the list above, Abort and Exit.
  {
    std::multiset<int> listed(order.begin(), order.end());
    listed.insert(tail.begin(), tail.end());
    listed.insert(declined.begin(), declined.end());
    listed.insert(561);
    listed.insert(520);
    EXPECT_EQ(listed, std::multiset<int>(items.begin(), items.end())) << "a menu item is missing from the test";
  }

  // The items ticked at first (the mood, tile style, blank colour, play flag
  // and language in use) change nothing when chosen: they come after the
  // others of their group.
  std::vector<int> sequence, deferred;
  for (const int n : order) {
    (w.commands().checked(n) && ui::ToggledSetting(n) == nullptr ? deferred : sequence).push_back(n);
  }
  sequence.insert(sequence.end(), deferred.begin(), deferred.end());
  sequence.insert(sequence.end(), tail.begin(), tail.end());

  const auto rack = [&w] { return rackString(w.game().racks[static_cast<std::size_t>(w.game().toMove)]); };
  std::map<int, std::function<void()>> prepare = {
      {510, [&] { answerFile(files + "/menu-game.gcg"); }},
      {511, [&] { answerFile(files + "/menu-game-2.gcg"); }},
      {514, [&] { answerFile(files + "/menu-position.pexil"); }},
      {515, [&] { answerFile(files + "/menu-position-2.pexil"); }},
      {517, [&] { answerFile(files + "/menu-ratings.txt"); }},
      {516, [&] { answerFile(files + "/menu-recap.htm"); }},
      {512,
       [&] {
         // The record saved above, analysed one ply deep, two moves listed.
         answerFile(files + "/menu-game.gcg");
         answerDialog({setText(text1, "2"), setText(text3, files + "/menu-analysis.txt"), spin(spin1, 1),
                       setCheck(check1, false), ok()});
       }},
      {518, [&] { answerFile(files + "/menu-board.png"); }},
      {519, [&] { answerFile(files + "/menu-screen.png"); }},
      {509, [&] { answerFile(files + "/menu-game.gcg"); }},
      {513, [&] { answerFile(files + "/menu-position.pexil"); }},
      {527, [] { answerDialog({setText(text1, "0:06"), setCheck(check1, true), ok()}); }},
      {531, [] { answerDialog({setText(text1, "100"), setText(text2, "200"), ok()}); }},
      {532, [] { answerDialog({setText(text1, "Ann"), setText(text2, "Bob"), ok()}); }},
      {537, [] { answerDialog({setText(text1, "A note on the move"), ok()}); }},
      {550, [] { answerDialog({spin(spin1, 1), spin(spin2, 1), choose(list1, 0), choose(list2, 0), ok()}); }},
      {569, [] { answerDialog({setText(text1, "zoic"), press(ui::dlgid::add), ok()}); }},
      {552, [] { answerDialog({choose(list1, 0), spin(spin1, 1), spin(spin2, 1), ok()}); }},
      {554,
       [&] {
         // A tile laid by hand, to be recalled.
         int column = 0, row = 0;
         while (!squareAt(w.game().board, column, row)->empty()) ++column;
         w.clickAt(w.squareCentre(column, row));
         std::string letter(1, static_cast<char>(std::tolower(static_cast<unsigned char>(rack()[0]))));
         if (letter == "?") letter = "e";
         w.type(letter);
         EXPECT_TRUE(waitFor([&] { return w.session().entry().laid().size() == 1; }, 5)) << "no tile was laid";
       }},
      {556, [&] { answerDialog({setText(text1, rack().substr(0, 1)), ok()}); }},
      {558, [] { answerDialog({choose(list1, 0), ok()}); }},
      {579, [&] { answerDialog({setText(text1, rack().substr(0, 3)), ok()}); }},
      {583,
       [&] {
         const std::string theirs = rackString(w.game().racks[static_cast<std::size_t>(1 - w.game().toMove)]);
         answerDialog({setText(text1, theirs.substr(0, 1)), ok()});
       }},
      {596, [] { answerDialog({setText(text1, "cat"), ok()}); }},
      {597, [] { answerDialog({setText(text1, "cat"), ok()}); }},
      {599, [] { answerDialog({setText(text1, "at"), ok()}); }},
      {600, [] { answerDialog({setText(text1, "cat"), ok()}); }},
      {601, [] { answerDialog({setText(text1, "tac"), ok()}); }},
      {602, [] { answerDialog({setText(text1, "c?t"), ok()}); }},
      {604, [] { answerDialog({spin(spin1, 6), ok()}); }},
      {598, [] { answerDialog({choose(list1, 0), ok()}); }},
      {617, [] { answerColour(0x123456); }},
      {618, [] { answerColour(0xFEDCBA); }},
      {626, [] { answerColour(0x00FF80); }},
      {637, [] { answerDialog({ok()}); }},
      {539, [] { answers().replies.push_back(true); }},
      {524, [] { answerDialog({choose(list1, 0), setText(text1, "Ann"), choose(list2, 0), setText(text2, "0:06"), ok()}); }},
      {522, [] { answerDialog({ok()}); }},
  };

  int invoked = 0;
  for (const int n : sequence) {
    SCOPED_TRACE("menu item " + std::to_string(n));
    const auto started = Clock::now();
    ASSERT_TRUE(w.settle());
    if (!w.commands().enabled(n)) {
      ADD_FAILURE() << "menu item " << n << " is not enabled when its turn comes";
      continue;
    }
    EXPECT_TRUE(w.menuEnabled(n)) << "the menu bar shows item " << n << " greyed while its command is enabled";
    if (const auto found = prepare.find(n); found != prepare.end()) found->second();
    const std::size_t opened = answers().opened.size();
    const std::string before = fingerprint(w, items);
    w.menu(n);
    if (n == 559) {
      // "Highest scoring move" searches until stopped: Abort stops it.
      EXPECT_TRUE(w.commands().busy());
      pumpFor(0.3);
      ASSERT_TRUE(w.menuEnabled(561));
      w.menu(561);
      ++invoked;
    }
    if (n == 525 && !waitFor([&] { return !w.commands().busy(); }, 1.0)) {
      // Autoplay of a whole game (with the slower endgame search switched
      // on above) is stopped by Esc after a second of moves.
      w.key(WXK_ESCAPE);
    }
    ASSERT_TRUE(w.settle(30)) << "menu item " << n << " did not finish";
    EXPECT_TRUE(waitFor([&] { return answersWaiting() == 0; }, 5)) << "menu item " << n << " opened no dialog";
    const bool changed = waitFor([&] { return fingerprint(w, items) != before; }, n == 638 ? 3 : 1);
    if (n == 584 && !changed) {
      // A shuffle may give the same order by chance: a few more tries.
      bool shuffled = false;
      for (int k = 0; k < 5 && !shuffled; ++k) {
        w.menu(n);
        shuffled = fingerprint(w, items) != before;
      }
      EXPECT_TRUE(shuffled) << "Shuffle rack never changed the order";
    } else if (n == 637) {
      EXPECT_EQ(answers().opened.size(), opened + 1) << "About opened no box";
    } else {
      EXPECT_TRUE(changed) << "menu item " << n << " changed nothing";
    }
    const double took = secondsSince(started);
    if (took > 1.0) std::printf("[   lap  ] menu item %-18d %.2f s\n", n, took);
    ++invoked;
  }
  EXPECT_EQ(invoked, static_cast<int>(sequence.size()) + 1);
  for (const int n : declined) {
    SCOPED_TRACE("menu item " + std::to_string(n));
    ASSERT_TRUE(w.settle());
    EXPECT_TRUE(w.menuEnabled(n));
    const std::size_t asked = answers().questions.size();
    answers().replies.push_back(false);
    w.menu(n);
    ASSERT_TRUE(w.settle(30));
    EXPECT_FALSE(w.commands().busy()) << "a declined tool runs";
    if (n == 631) {
      answers().replies.clear();
      EXPECT_EQ(answers().questions.size(), asked);
    } else {
      EXPECT_EQ(answers().questions.size(), asked + 1);
    }
  }
  EXPECT_EQ(UILang(), kEnglish);

  // Exit while a search runs: the window closes, the search stops, and no
  // thread of the program is left.
  ASSERT_TRUE(w.settle());
  const int threads = threadCount();
  w.menu(559);
  EXPECT_TRUE(w.commands().busy());
  pumpFor(0.2);
  EXPECT_GT(threadCount(), threads);
  w.menu(520);
  ASSERT_TRUE(waitFor([&] { return !w.open(); }, 10)) << "Exit did not close the window";
  EXPECT_TRUE(waitFor([&] { return threadCount() <= threads; }, 5))
      << threadCount() << " threads are left, " << threads << " before the search";
}

// ---------------------------------------------------------------- goldens

// The version line of the banner carries the build date: it must have
// scrolled out of a picture kept as a golden.
void expectBannerScrolledOff(PlayWindow& w) {
  std::size_t version = 0;
  for (std::size_t k = 0; k < textPane().LineCount(); ++k) {
    if (textPane().Line(k).rfind("Version ", 0) == 0) version = k;
  }
  EXPECT_GT(w.view().PaneLayout().first, version) << "the banner's build date shows in the picture";
}

TEST_F(WindowPlay, GoldenMovePreview) {
  PlayWindow w(2024, 3);
  ASSERT_TRUE(w.open());
  const std::size_t lines = textPane().LineCount();
  w.key('B', wxMOD_SHIFT);
  ASSERT_TRUE(waitFor([&] { return textPane().LineCount() > lines + 10; }, 5)) << "Shift+B printed no board";
  w.key('Q', wxMOD_SHIFT);
  ASSERT_TRUE(w.settle());
  w.paint();
  const std::vector<long> moveLines = visibleMoveLines(w);
  ASSERT_GE(moveLines.size(), 2u);
  const long line = moveLines[1];
  w.pointAt(w.lineCentre(line));
  ASSERT_TRUE(waitFor([&] { return w.view().PaneLayout().selected == line; }, 5));
  pumpFor(0.2);
  const draw::Canvas& canvas = w.paint();
  expectBannerScrolledOff(w);
  checkGolden("window_preview", canvas);
}

TEST_F(WindowPlay, GoldenSimulationResults) {
  PlayWindow w(2024, 3);
  ASSERT_TRUE(w.open());
  // A lookahead of one ply on one thread until it finishes, by point
  // spread, without guessing racks: the same iterations every run.
  answerDialog({spin(spin1, 1), spin(spin2, 1), choose(list1, 0), choose(list2, 0), setCheck(check1, false), ok()});
  w.key('F', wxMOD_SHIFT);
  ASSERT_TRUE(waitFor([&] { return answersWaiting() == 0; }, 5));
  ASSERT_TRUE(w.settle(30));
  w.key(WXK_TAB);
  ASSERT_TRUE(w.settle());
  w.pointAt(wxPoint(2, 2));  // no line selected
  const draw::Canvas& canvas = w.paint();
  expectBannerScrolledOff(w);
  checkGolden("window_results", canvas);
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
