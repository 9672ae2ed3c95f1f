// The commands of the main menu and the view's actions, driven without a
// window: what each does to the game, the settings and the pane, what is
// enabled when, the long actions and Escape.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "commands_support.hpp"
#include "commands_state.hpp"
#include "menu_table.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "pane_clipboard.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/letter_codes.hpp"
#include "state/move.hpp"
#include "rules/game_rules.hpp"
#include "search/endgame_state.hpp"
#include "search/timed_move.hpp"
#include "rules/tile_counts.hpp"
#include "settings.hpp"
#include "state/abort_flag.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::ui {
namespace {

using test::CommandsBench;

bool contains(const std::vector<std::string>& lines, const std::string& part) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

std::string rackOf(const Game& game, int player) { return countsToText(game.racks[static_cast<std::size_t>(player)]).value_or(""); }

// Every item of the menu, submenus included.
void collect(const std::vector<MenuNode>& nodes, std::vector<int>& numbers) {
  for (const MenuNode& node : nodes) {
    if (node.kind == MenuKind::submenu) {
      collect(node.children, numbers);
    } else if (node.kind != MenuKind::separator) {
      numbers.push_back(node.number);
    }
  }
}

std::vector<int> allItems() {
  std::vector<int> numbers;
  for (const MenuNode& top : MainMenu()) collect(top.children, numbers);
  return numbers;
}

// Every command once, each dialog cancelled: nothing crashes, nothing runs
// on, and the game stays a game.
TEST(UiCommands, EveryCommandRunsOnceWithItsDialogCancelled) {
  CommandsBench bench;
  const std::vector<int> items = allItems();
  ASSERT_GT(items.size(), 110u);
  int ran = 0;
  for (const int number : items) {
    if (number == cmd::exit || number == cmd::forfeit || !bench.commands->enabled(number)) continue;
    SCOPED_TRACE(number);
    bench.commands->run(number);
    // A long action runs on: stop it as Escape would.
    if (bench.commands->busy()) bench.commands->escape();
    bench.settle();
    ASSERT_NE(bench.session->game(), nullptr);
    ++ran;
  }
  EXPECT_GT(ran, 100);
  EXPECT_FALSE(bench.commands->busy());
  // Exit asks the window to close.
  bench.commands->run(cmd::exit);
  EXPECT_TRUE(bench.host.closed);
}

TEST(UiCommands, WithoutAGameOnlyTheGameFreeCommandsAreEnabled) {
  CommandsBench bench;
  bench.session->replaceGame(nullptr);
  EXPECT_TRUE(bench.commands->enabled(cmd::startGame));
  EXPECT_TRUE(bench.commands->enabled(cmd::openGame));
  EXPECT_TRUE(bench.commands->enabled(cmd::about));
  EXPECT_TRUE(bench.commands->enabled(541));  // a display toggle
  for (const int number : {cmd::pass, cmd::makeMove, cmd::undo, cmd::bagContents, cmd::anagrams, cmd::setRack}) {
    EXPECT_FALSE(bench.commands->enabled(number)) << number;
  }
  // The commands of the reports stay greyed; the testing tools need no game.
  EXPECT_FALSE(bench.commands->enabled(cmd::analyzeGame));
  EXPECT_TRUE(bench.commands->enabled(cmd::runBenchmarks));
  EXPECT_TRUE(bench.commands->enabled(cmd::strengthTests));
  EXPECT_TRUE(bench.commands->enabled(cmd::openingBook));
}

TEST(UiCommands, TogglesFlipTheirSettingAndStoreIt) {
  CommandsBench bench;
  const bool before = bench.session->settings().rowColumnLabels;
  bench.commands->run(541);
  EXPECT_EQ(bench.session->settings().rowColumnLabels, !before);
  EXPECT_EQ(bench.commands->checked(541), !before);
  {
    SettingsStore store(bench.settingsPath);
    Settings stored;
    LoadSettings(stored, store);
    EXPECT_EQ(stored.rowColumnLabels, !before);
  }
  // A mood: only its item is ticked. The items run from +3 to -3.
  bench.commands->run(cmd::firstMood + 4);
  EXPECT_EQ(bench.session->settings().mood, -1);
  EXPECT_TRUE(bench.commands->checked(cmd::firstMood + 4));
  EXPECT_FALSE(bench.commands->checked(cmd::firstMood));
  bench.commands->run(cmd::firstMood);
  EXPECT_EQ(bench.session->settings().mood, 3);
  bench.commands->run(cmd::firstMood + 6);
  EXPECT_EQ(bench.session->settings().mood, -3);
  EXPECT_EQ(bench.game().mood, -3);
  // The experimental play flag, -1 .. 2 by its four items.
  bench.commands->run(-3);
  EXPECT_TRUE(bench.commands->checked(-3));
  EXPECT_FALSE(bench.commands->checked(-1));
  bench.commands->run(-1);
  EXPECT_TRUE(bench.commands->checked(-1));
  // The static endgame in simulation reaches the game at once and is kept
  // for the session only.
  EXPECT_FALSE(bench.commands->checked(cmd::staticEndgameInSimulation));
  bench.commands->run(cmd::staticEndgameInSimulation);
  EXPECT_TRUE(bench.commands->checked(cmd::staticEndgameInSimulation));
  EXPECT_TRUE(bench.game().staticEndgameInSimulation);
  {
    SettingsStore store(bench.settingsPath);
    Settings stored;
    LoadSettings(stored, store);
    EXPECT_FALSE(stored.staticEndgameInSimulation);
  }
  // A tile style prints its line.
  test::PaneCapture capture;
  bench.commands->run(609);
  EXPECT_EQ(bench.session->settings().tileTexture, 3);
  ASSERT_FALSE(capture.lines().empty());
  EXPECT_EQ(capture.lines().back(), Message(msg::TilesSetFirst + 3));
}

TEST(UiCommands, PassUndoRedoAndTheJumps) {
  CommandsBench bench;
  const int first = bench.game().toMove;
  bench.commands->run(cmd::pass);
  EXPECT_EQ(bench.game().history.size(), 1u);
  EXPECT_NE(bench.game().toMove, first);
  bench.commands->run(cmd::pass);
  EXPECT_EQ(bench.game().history.size(), 2u);
  EXPECT_TRUE(bench.commands->enabled(cmd::undo));
  EXPECT_FALSE(bench.commands->enabled(cmd::redo));
  bench.commands->run(cmd::undo);
  EXPECT_EQ(bench.game().history.size(), 1u);
  EXPECT_TRUE(bench.commands->enabled(cmd::redo));
  bench.commands->run(cmd::redo);
  EXPECT_EQ(bench.game().history.size(), 2u);
  bench.commands->run(cmd::jumpStart);
  EXPECT_EQ(bench.game().history.size(), 0u);
  EXPECT_EQ(bench.game().toMove, first);
  bench.commands->run(cmd::jumpEnd);
  EXPECT_EQ(bench.game().history.size(), 2u);
  // A move while taken-back moves wait for redo asks first; "no" keeps them.
  test::PaneCapture capture;
  bench.commands->run(cmd::undo);
  EXPECT_EQ(capture.lines().back(), Message(msg::PlayUndoLast));
  bench.prompter.yes = false;
  bench.prompter.opened.clear();
  bench.commands->run(cmd::pass);
  EXPECT_EQ(bench.prompter.opened, std::vector<std::string>{"confirm"});
  EXPECT_EQ(bench.game().history.size(), 1u);
  EXPECT_TRUE(bench.commands->enabled(cmd::redo));
  bench.prompter.yes = true;
  bench.commands->run(cmd::pass);
  EXPECT_EQ(bench.game().history.size(), 2u);
  EXPECT_FALSE(bench.commands->enabled(cmd::redo));
}

TEST(UiCommands, ExchangeKeepsTheTypedTilesAndRefusesOthers) {
  CommandsBench bench;
  Game& game = bench.game();
  const int mover = game.toMove;
  const std::string rack = rackOf(game, mover);
  const int bag = game.bag[kTotalSlot];
  // Tiles the rack does not hold: nothing changes.
  test::PaneCapture capture;
  bench.prompter.exchangeKeep = "QQQ";
  bench.commands->run(cmd::exchange);
  EXPECT_EQ(rackOf(game, mover), rack);
  EXPECT_TRUE(game.history.empty());
  EXPECT_FALSE(capture.lines().empty());
  // Keep the first two tiles of the rack.
  bench.prompter.exchangeKeep = rack.substr(0, 2);
  bench.commands->run(cmd::exchange);
  ASSERT_EQ(game.history.size(), 1u);
  EXPECT_EQ(game.bag[kTotalSlot], bag);
  const std::string after = rackOf(game, mover);
  EXPECT_EQ(after.size(), rack.size());
  Rack kept{};
  addLetters(kept, rack.substr(0, 2), nullptr);
  for (int code = 0; code < kCodeSlots; ++code) EXPECT_GE(game.racks[static_cast<std::size_t>(mover)][code], kept[code]);
  // Cancelled: nothing.
  bench.prompter.exchangeKeep.reset();
  bench.commands->run(cmd::exchange);
  EXPECT_EQ(game.history.size(), 1u);
}

TEST(UiCommands, SetRackTakesTheTilesFromTheWellOrChangesNothing) {
  CommandsBench bench;
  Game& game = bench.game();
  const int mover = game.toMove;
  const int total = game.bag[kTotalSlot] + game.racks[static_cast<std::size_t>(mover)][kTotalSlot];
  const bool conserved = tilesConserved(game);
  bench.prompter.rack = "aeiou?";
  bench.commands->run(cmd::setRack);
  EXPECT_EQ(rackOf(game, mover), "AEIOU?");
  EXPECT_EQ(game.bag[kTotalSlot] + game.racks[static_cast<std::size_t>(mover)][kTotalSlot], total);
  EXPECT_EQ(tilesConserved(game), conserved);
  // More Z than the game has: the rack stays.
  bench.prompter.rack = "ZZZ";
  bench.commands->run(cmd::setRack);
  EXPECT_EQ(rackOf(game, mover), "AEIOU?");
  // Too many tiles.
  bench.prompter.rack = "AAAAAAAA";
  bench.commands->run(cmd::setRack);
  EXPECT_EQ(rackOf(game, mover), "AEIOU?");
}

// Spanish: the two-letter tiles are typed in parentheses and come out of
// the well as one tile each.
TEST(UiCommands, SetRackWithSpanishTwoLetterTiles) {
  CommandsBench bench(6, 77, false);
  Game& game = bench.game();
  const int mover = game.toMove;
  // The other rack's tiles back in the well, so that every tile is there.
  returnAll(game.bag, game.racks[static_cast<std::size_t>(1 - mover)]);
  bench.prompter.rack = "(ch)(LL)(rr)A";
  bench.commands->run(cmd::setRack);
  const Rack& rack = game.racks[static_cast<std::size_t>(mover)];
  EXPECT_EQ(rack[kTotalSlot], 4);
  EXPECT_EQ(rack[codeOfTile('1')], 1);  // CH
  EXPECT_EQ(rack[codeOfTile('2')], 1);  // LL
  EXPECT_EQ(rack[codeOfTile('3')], 1);  // RR
  // Keep the LL in an exchange.
  bench.prompter.exchangeKeep = "(ll)";
  const int bag = game.bag[kTotalSlot];
  ASSERT_TRUE(ExchangeAllowed(game));
  {
    bench.commands->run(cmd::exchange);
    EXPECT_EQ(game.racks[static_cast<std::size_t>(mover)][codeOfTile('2')], 1);
    EXPECT_EQ(game.bag[kTotalSlot], bag - 3);  // a rack of 4 filled to 7
  }
}

TEST(UiCommands, ScoresNamesClockAndAnnotation) {
  CommandsBench bench;
  Game& game = bench.game();
  bench.prompter.pair = std::vector<std::string>{"120", "-5"};
  bench.commands->run(cmd::setScores);
  EXPECT_EQ(game.scores[0], 120);
  EXPECT_EQ(game.scores[1], -5);
  bench.prompter.pair = std::vector<std::string>{"12x", "3"};
  bench.commands->run(cmd::setScores);
  EXPECT_EQ(game.scores[0], 120);
  bench.prompter.pair = std::vector<std::string>{"Ana", "Pau"};
  bench.commands->run(cmd::playerNames);
  EXPECT_EQ(playerName(game, 0), "Ana");
  EXPECT_EQ(playerName(game, 1), "Pau");
  // Clock: "mm:ss" for every player, stored as the default time.
  bench.prompter.clockChoice = ClockChoice{"12:30", true};
  bench.commands->run(cmd::setClock);
  EXPECT_EQ(game.clocks[0], 75000);
  EXPECT_EQ(game.clocks[1], 75000);
  EXPECT_EQ(bench.session->settings().defaultTime, 75000);
  test::PaneCapture capture;
  bench.prompter.clockChoice = ClockChoice{"0", false};
  bench.commands->run(cmd::setClock);
  EXPECT_EQ(game.clocks[0], 75000);
  EXPECT_TRUE(contains(capture.lines(), Message(msg::PlayInvalidTime)));
  // An annotation of the last move, line by line.
  bench.commands->run(cmd::pass);
  bench.prompter.note = "first line\r\nsecond line";
  bench.commands->run(cmd::annotate);
  ASSERT_EQ(game.history.back().notes.size(), 2u);
  EXPECT_EQ(game.history.back().notes[1], "second line");
}

TEST(UiCommands, ChallengeOfAGoodMoveCostsThePenalty) {
  CommandsBench bench;
  Game& game = bench.game();
  game.challengeType = 2;
  game.challengePenalty = 10;
  bench.commands->run(cmd::quickMove);  // not needed for the move, but a listing to page through
  bench.settle();
  // The computer's move for the player to move, then a challenge of it.
  const int mover = game.toMove;
  bench.commands->makeMove();
  bench.settle();
  Game& after = bench.game();
  ASSERT_EQ(after.history.size(), 1u);
  const int score = after.scores[static_cast<std::size_t>(mover)];
  bench.commands->run(cmd::challengeLast);
  EXPECT_EQ(bench.game().scores[static_cast<std::size_t>(mover)], score + 10);
}

TEST(UiCommands, ClipboardCopiesTheVisibleLinesWithoutBars) {
  CommandsBench bench;
  textPane().Print("MOVE |A|B 8D");
  for (int k = 0; k < 30; ++k) textPane().Print("line " + std::to_string(k));
  const std::vector<std::string> all = textPane().Lines();
  bench.host.first = 0;
  bench.host.visible = 3;
  bench.commands->run(cmd::copyVisible);
  std::string expected;
  for (std::size_t k = 0; k < 3 && k < all.size(); ++k) {
    std::string line = all[k];
    line.erase(std::remove(line.begin(), line.end(), '|'), line.end());
    expected += line + "\r\n";
  }
  EXPECT_EQ(bench.host.clipboard, expected);
  const std::size_t lines = textPane().LineCount();
  bench.commands->run(cmd::copyPane);
  EXPECT_EQ(std::count(bench.host.clipboard.begin(), bench.host.clipboard.end(), '\n'), static_cast<long>(lines));
}

TEST(UiCommands, YWithNothingPendingDoesNothing) {
  CommandsBench bench;
  moveListing().clear();
  test::PaneCapture capture;
  EXPECT_FALSE(bench.commands->continueListing());
  EXPECT_TRUE(capture.lines().empty());
  // A quick move's list shows a page and its continuation line; Y the next.
  bench.commands->run(cmd::quickMove);
  bench.settle();
  ASSERT_TRUE(contains(capture.lines(), Message(msg::MoreMoves)));
  const std::size_t shown = capture.lines().size();
  EXPECT_TRUE(bench.commands->continueListing());
  EXPECT_GT(capture.lines().size(), shown);
}

TEST(UiCommands, WordToolsListAndPageTheirResults) {
  CommandsBench bench;
  test::PaneCapture capture;
  bench.prompter.text = "?";
  bench.commands->run(cmd::pattern);
  EXPECT_FALSE(capture.lines().empty());
  bench.prompter.text = "aardvark";
  bench.commands->run(cmd::checkWord);
  ASSERT_EQ(bench.prompter.messages.size(), 1u);
  EXPECT_EQ(bench.prompter.messages[0], Message(msg::QueryValidWord));
  bench.prompter.text = "aardvarq";
  bench.commands->run(cmd::checkWord);
  ASSERT_EQ(bench.prompter.messages.size(), 2u);
  EXPECT_EQ(bench.prompter.messages[1], Message(msg::QueryInvalidWord));
  // Cancelled: nothing asked of the lexicon.
  bench.prompter.text.reset();
  const std::size_t printed = capture.lines().size();
  bench.commands->run(cmd::anagrams);
  EXPECT_EQ(capture.lines().size(), printed);
}

// A long action: while it runs the commands that change the game are
// greyed and ignored; Escape stops it.
TEST(UiCommands, EscapeStopsASimulationThatRunsUntilFinished) {
  CommandsBench bench;
  bench.prompter.lookaheadChoice = LookaheadChoice{3, 2, 0, 0, false};
  bench.commands->run(cmd::fastLookahead);
  ASSERT_TRUE(bench.commands->busy(Busy::simulation));
  EXPECT_FALSE(bench.commands->enabled(cmd::pass));
  EXPECT_TRUE(bench.commands->enabled(cmd::abort));
  const std::size_t history = bench.game().history.size();
  bench.commands->run(cmd::pass);  // ignored
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  bench.commands->escape();
  bench.settle();
  EXPECT_FALSE(bench.commands->busy());
  EXPECT_EQ(bench.game().history.size(), history);
  EXPECT_FALSE(abortRequested());
  // The stored lookahead settings.
  EXPECT_EQ(bench.session->settings().simPly, 3);
  EXPECT_EQ(bench.session->settings().simType, 0);
  // Escape with nothing running recalls laid tiles, and aborts nothing.
  bench.commands->escape();
  EXPECT_FALSE(abortRequested());
}

TEST(UiCommands, AnalyzeMoveSimulatesTheChosenCandidate) {
  CommandsBench bench;
  AnalyzeMoveChoice choice;
  choice.candidate = 0;
  choice.ply = 1;
  choice.threads = 1;
  choice.guessTiles = false;
  bench.prompter.analyze = choice;
  test::PaneCapture capture;
  bench.commands->run(cmd::analyzeMove);
  ASSERT_FALSE(bench.prompter.analyzeLines.empty());
  // Stopped after a moment: whatever ran is kept with the candidate.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  bench.commands->escape();
  bench.settle();
  ASSERT_FALSE(bench.game().moves.empty());
  EXPECT_GT(bench.game().moves.front().simCount, 0);
  // The results view shows the table and the statistics of the top move.
  bench.commands->run(cmd::simulationResults);
  EXPECT_FALSE(textPane().SimulationLines().empty());
  bench.commands->run(cmd::copySimulation);
  EXPECT_EQ(std::count(bench.host.clipboard.begin(), bench.host.clipboard.end(), '\n'),
            static_cast<long>(textPane().SimulationLines().size()));
}

TEST(UiCommands, SavedRecordAndPositionOpenAgain) {
  CommandsBench bench(0, 99, false);
  bench.commands->makeMove();
  bench.settle();
  bench.commands->run(cmd::pass);
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-commands-files-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string record = (folder / "game.gcg").string();
  const std::string position = (folder / "game.pexil").string();
  bench.prompter.file = record;
  bench.commands->run(cmd::saveGame);
  ASSERT_TRUE(std::filesystem::exists(record));
  bench.prompter.file = position;
  bench.commands->run(cmd::savePositionAs);
  ASSERT_TRUE(std::filesystem::exists(position));
  const int score0 = bench.game().scores[0], score1 = bench.game().scores[1];
  const std::size_t moves = bench.game().history.size();
  // Changes after the save, then the record opened again: asked whether to
  // save first (no).
  bench.commands->run(cmd::pass);
  bench.prompter.yes = false;
  bench.prompter.file = record;
  bench.commands->run(cmd::openGame);
  bench.settle();
  EXPECT_EQ(bench.game().history.size(), moves);
  EXPECT_EQ(bench.game().scores[0], score0);
  EXPECT_EQ(bench.game().scores[1], score1);
  EXPECT_TRUE(contains(bench.prompter.opened, "confirm"));
  // A file that is no game: the game shown stays.
  const std::string junk = (folder / "junk.gcg").string();
  std::ofstream(junk) << "\x01\x02 not a record\n";
  bench.prompter.file = junk;
  const int type = rules().gameTypeIndex;
  bench.commands->run(cmd::openGame);
  bench.settle();
  EXPECT_EQ(bench.game().history.size(), moves);
  EXPECT_EQ(rules().gameTypeIndex, type);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// The Help menu's web page is the documentation in the data folder; none
// there: the pane says it could not be opened.
TEST(UiCommands, WebsiteOpensTheShippedDocumentation) {
  CommandsBench bench;
  const auto before = std::filesystem::current_path();
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-docs-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  test::PaneCapture capture;
  bench.commands->run(cmd::website);
  EXPECT_TRUE(bench.host.urls.empty());
  EXPECT_TRUE(contains(capture.lines(), Message(msg::WebsiteNotOpened)));
  std::ofstream(folder / "README.md") << "# Pexil\n";
  bench.commands->run(cmd::website);
  ASSERT_EQ(bench.host.urls.size(), 1u);
  EXPECT_EQ(bench.host.urls[0], "file://" + (folder / "README.md").string());
  std::filesystem::current_path(before);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// A data folder of the fixture word list standing in for the English list,
// as the working folder while it lives.
class FixtureDataFolder {
 public:
  FixtureDataFolder()
      : before_(std::filesystem::current_path()),
        folder_(std::filesystem::temp_directory_path() / ("pexil-data-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(PEXIL_TEST_DATA "/movegen/words.lst", folder_ / "ENGLISH.LST",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::current_path(folder_);
  }
  ~FixtureDataFolder() {
    std::filesystem::current_path(before_);
    std::filesystem::remove_all(folder_);
  }

 private:
  std::filesystem::path before_, folder_;
};

// "New game (same type) against Pexil...": the seats, the names, the
// stored choices; the computer moves at once from the first seat and
// answers every move of the user.
TEST(UiCommands, GameAgainstPexilAtASetDepth) {
  FixtureDataFolder data;
  CommandsBench bench(0, 31, false);
  PlayPexilChoice choice;
  choice.firstTurn = 1;  // Pexil first
  choice.name = "Mar\xEDlia";
  choice.playType = 1;
  choice.amount = "1";
  bench.prompter.pexil = choice;
  bench.commands->run(cmd::playPexil);
  bench.settle();
  Game& game = bench.game();
  ASSERT_EQ(game.playerCount, 2);
  EXPECT_EQ(playerName(game, 0), Message(msg::PlayComputerName));
  EXPECT_EQ(playerName(game, 1), "Mar\xEDlia");
  ASSERT_EQ(game.history.size(), 1u);  // Pexil's opening move
  EXPECT_EQ(game.toMove, 1);
  EXPECT_EQ(bench.session->settings().playerName, "Mar\xEDlia");
  EXPECT_EQ(bench.session->settings().defaultPlayType, 1);
  EXPECT_EQ(bench.session->settings().lastGamePlayer, 0);
  // The user passes; Pexil replies on its own.
  bench.commands->run(cmd::pass);
  bench.settle();
  EXPECT_EQ(bench.game().history.size(), 3u);
  EXPECT_EQ(bench.game().toMove, 1);
  // Undo takes back without Pexil moving again at once.
  bench.commands->run(cmd::undo);
  bench.settle();
  EXPECT_EQ(bench.game().history.size(), 2u);
  // A ply depth out of bounds starts nothing.
  choice.amount = "41";
  bench.prompter.pexil = choice;
  test::PaneCapture capture;
  bench.commands->run(cmd::playPexil);
  bench.settle();
  EXPECT_TRUE(contains(capture.lines(), Message(msg::PlayBadPly)));
  EXPECT_EQ(bench.game().history.size(), 2u);
  // "Alternate the first turn" gives Pexil the other seat.
  choice.firstTurn = 2;
  choice.amount = "1";
  bench.prompter.pexil = choice;
  bench.commands->run(cmd::playPexil);
  bench.settle();
  EXPECT_EQ(playerName(bench.game(), 1), Message(msg::PlayComputerName));
  EXPECT_EQ(bench.game().history.size(), 0u);
  EXPECT_EQ(bench.session->settings().lastGamePlayer, 1);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// Once the game is over no move and no search for one can be started; the
// listings, undo and a challenge of the last move still can.
TEST(UiCommands, AFinishedGameTakesNoMoreMoves) {
  CommandsBench bench;
  for (int k = 0; k < 6 && !bench.game().gameOver; ++k) bench.commands->run(cmd::pass);
  ASSERT_TRUE(bench.game().gameOver);
  const std::size_t moves = bench.game().history.size();
  for (const int number : {cmd::makeMove, cmd::pass, cmd::exchange, cmd::quickMove, cmd::fastLookahead,
                           cmd::analyzeMove, cmd::clockMove, cmd::highestScore, cmd::autoplay}) {
    EXPECT_FALSE(bench.commands->enabled(number)) << number;
    bench.commands->run(number);
  }
  bench.commands->makeMove();
  bench.settle();
  EXPECT_EQ(bench.game().history.size(), moves);
  EXPECT_TRUE(bench.commands->enabled(cmd::gameHistory));
  EXPECT_TRUE(bench.commands->enabled(cmd::undo));
  EXPECT_TRUE(bench.commands->enabled(cmd::challengeLast));
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// While the lookahead runs, the results view is redrawn every 400
// iterations; Tab shows the standings as last drawn.
TEST(UiCommands, ResultsViewFollowsARunningSimulation) {
  CommandsBench bench;
  textPane().SetSimulationLines({});
  bench.prompter.lookaheadChoice = LookaheadChoice{2, 1, 0, 0, false};
  bench.commands->run(cmd::fastLookahead);
  ASSERT_TRUE(bench.commands->busy());
  std::vector<std::string> lines;
  for (int k = 0; k < 400 && lines.empty(); ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    lines = textPane().SimulationLines();
  }
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines[0].find(" simulations done at 2 ply, maximizing point spread."), std::string::npos) << lines[0];
  EXPECT_GT(lines.size(), 1u);
  test::PaneCapture capture;
  bench.commands->run(cmd::simulationResults);
  ASSERT_FALSE(capture.lines().empty());
  EXPECT_NE(capture.lines()[0].find(" simulations done at 2 ply"), std::string::npos);
  bench.commands->escape();
  bench.settle();
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// "Beep on move" and "Auto-show bag contents" act after every recorded
// move, the computer's (made on a worker) as well as the user's.
TEST(UiCommands, BeepAndTheWellAfterEachMove) {
  CommandsBench bench;
  bench.commands->run(cmd::beep);
  bench.commands->run(530);  // auto-show bag contents
  ASSERT_TRUE(bench.session->settings().beep);
  test::PaneCapture capture;
  bench.commands->run(cmd::pass);
  bench.settle();
  EXPECT_EQ(bench.host.beeps, 1);
  const std::size_t afterPass = capture.lines().size();
  EXPECT_GT(afterPass, 1u);  // the well's lines
  bench.commands->makeMove();
  bench.settle();
  EXPECT_EQ(bench.host.beeps, 2);
  EXPECT_GT(capture.lines().size(), afterPass + 1);
  bench.commands->run(cmd::beep);
  bench.commands->run(cmd::pass);
  bench.settle();
  EXPECT_EQ(bench.host.beeps, 2);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// The dialogs' choices that are settings are stored, and reach the game.
TEST(UiCommands, DialogChoicesAreStored) {
  CommandsBench bench;
  bench.prompter.challengeChoice = ChallengeChoice{3, 15};
  bench.commands->run(cmd::challengeSettings);
  bench.prompter.phony = 7;
  bench.commands->run(cmd::phonies);
  bench.prompter.colourChoice = 0x123456;
  bench.commands->run(cmd::customBackground);
  bench.prompter.colourChoice = 0x00FF00;
  bench.commands->run(cmd::customBlank);
  EXPECT_EQ(bench.game().challengeType, 3);
  EXPECT_EQ(bench.game().challengePenalty, 15);
  EXPECT_EQ(bench.game().minPhonyLength, 7);
  SettingsStore store(bench.settingsPath);
  Settings stored;
  LoadSettings(stored, store);
  EXPECT_EQ(stored.challengeType, 3);
  EXPECT_EQ(stored.challengePenalty, 15);
  EXPECT_EQ(stored.phonyLength, 7);
  EXPECT_EQ(stored.customTileBackground, 0x123456);
  EXPECT_EQ(stored.tileTexture, -1);  // the custom colours are in use
  EXPECT_EQ(stored.blankColour, 0x00FF00);
  // Cancelled: nothing changes.
  bench.prompter.challengeChoice.reset();
  bench.commands->run(cmd::challengeSettings);
  EXPECT_EQ(bench.session->settings().challengeType, 3);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// The rating of the rack draws stops on Escape: the draws not yet rated
// stay out of the report.
TEST(UiCommands, EscapeStopsTheRatingOfRackDraws) {
  CommandsBench bench(0, 8, false);
  for (int k = 0; k < 6; ++k) {
    bench.commands->makeMove();
    bench.settle();
  }
  ASSERT_EQ(bench.game().history.size(), 6u);
  test::PaneCapture capture;
  bench.commands->run(cmd::rateDraw);
  bench.commands->escape();
  bench.settle();
  const std::vector<std::string> lines = capture.lines();
  const auto rated = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return !line.empty() && line[0] >= '1' && line[0] <= '9' && line.find('\t') != std::string::npos;
  });
  EXPECT_LT(rated, 6);
  EXPECT_FALSE(bench.commands->busy());
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// The options the engine keeps for the whole process follow the settings:
// the greedier endgame toggle, and the stored benchmark rates, which the
// timed move's clock management reads.
TEST(UiCommands, ProcessWideOptionsFollowTheSettings) {
  CommandsBench bench;
  const bool before = endgameOptions().greedier;
  bench.commands->run(568);
  EXPECT_EQ(endgameOptions().greedier, !before);
  bench.commands->run(568);
  EXPECT_EQ(endgameOptions().greedier, before);
  setStoredBenchmarkRates(std::nullopt);
  {
    SettingsStore store(bench.settingsPath);
    ASSERT_TRUE(SaveBenchmarkResults({1, 2, 3, 4, 5, 6, 7, 8, 9.5f}, store));
  }
  Session session;
  session.loadSettings();
  ASSERT_TRUE(storedBenchmarkRates().has_value());
  EXPECT_DOUBLE_EQ((*storedBenchmarkRates())[8], 9.5);
  setStoredBenchmarkRates(std::nullopt);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

// "Last benchmark results": the line saying there are none, and the nine
// rates once the benchmarks have stored them (none of them 0).
TEST(UiCommands, LastBenchmarkResults) {
  CommandsBench bench;
  setStoredBenchmarkRates(std::nullopt);
  ASSERT_TRUE(bench.commands->enabled(cmd::lastBenchmark));
  {
    test::PaneCapture capture;
    bench.commands->run(cmd::lastBenchmark);
    ASSERT_EQ(capture.lines().size(), 1u);
    EXPECT_EQ(capture.lines()[0].rfind("No benchmark data available.", 0), 0u) << capture.lines()[0];
  }
  BenchmarkRates rates{};
  for (int k = 0; k < 9; ++k) rates[static_cast<std::size_t>(k)] = 100.0 * (k + 1) + 0.25;
  setStoredBenchmarkRates(rates);
  {
    test::PaneCapture capture;
    bench.commands->run(cmd::lastBenchmark);
    const std::vector<std::string> lines = capture.lines();
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[0].rfind("Avg. evals/thread-second for each test:", 0), 0u) << lines[0];
    EXPECT_NE(lines[1].find("early game, no blank on rack:  100.2"), std::string::npos) << lines[1];
    EXPECT_NE(lines[9].find("late game, both blanks seen:  900.2"), std::string::npos) << lines[9];
  }
  rates[4] = 0;  // one missing: none count
  setStoredBenchmarkRates(rates);
  {
    test::PaneCapture capture;
    bench.commands->run(cmd::lastBenchmark);
    ASSERT_EQ(capture.lines().size(), 1u);
  }
  setStoredBenchmarkRates(std::nullopt);
}

}  // namespace
}  // namespace pexil::ui

namespace pexil::ui {
namespace {

TEST(UiCommands, RecapAndGameAnalysisFromTheWindow) {
  CommandsBench bench(0, 99, false);
  for (int k = 0; k < 3; ++k) {
    bench.commands->makeMove();
    bench.settle();
  }
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-commands-reports-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  // The recap: the board picture first, named in the page.
  bench.prompter.file = (folder / "recap.htm").string();
  bench.commands->run(cmd::saveRecap);
  ASSERT_EQ(bench.host.savedImages.size(), 1u);
  EXPECT_EQ(bench.host.savedImages[0], "board:" + (folder / "recap.png").string());
  std::ifstream page(folder / "recap.htm");
  const std::string html((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
  EXPECT_NE(html.find("<img src = \"recap.png\">"), std::string::npos);
  EXPECT_NE(html.find("<tr><td>3</td>"), std::string::npos);

  // The analysis of the game's record: the dialog's choices are stored and
  // the report written on a worker while the pane keeps the progress.
  const std::string record = (folder / "game.gcg").string();
  bench.prompter.file = record;
  bench.commands->run(cmd::saveGame);
  AnalyzeGameChoice choice;
  choice.topMoves = 2;
  choice.minSim = 10;
  choice.ply = 1;
  choice.tileGuesses = false;
  choice.path = (folder / "report.txt").string();
  bench.prompter.analyzeGameChoice = choice;
  test::PaneCapture capture;
  const Game* shown = bench.session->game();
  bench.commands->run(cmd::analyzeGame);
  // The record's game is analysed on its own; the window's waits aside.
  EXPECT_EQ(bench.session->game(), nullptr);
  bench.settle();
  EXPECT_EQ(bench.session->game(), shown);
  EXPECT_FALSE(textPane().IsRedirected());
  EXPECT_EQ(bench.session->settings().topMoves, 2);
  EXPECT_EQ(bench.session->settings().minSim, 10);
  EXPECT_FALSE(bench.session->settings().outputTileGuesses);
  std::ifstream file(choice.path);
  const std::string report((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(report.find("Move #3"), std::string::npos) << report;
  EXPECT_EQ(report.find("Move 3/3"), std::string::npos) << "the progress stays in the pane";
  const auto lines = capture.lines();
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("Move 3/3", 0) == 0; }));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return l.find("Game analysis written to") != std::string::npos; }));

  // An output that cannot be created: the message box, and nothing runs.
  choice.path = (folder / "no" / "such" / "report.txt").string();
  bench.prompter.analyzeGameChoice = choice;
  bench.prompter.messages.clear();
  bench.commands->run(cmd::analyzeGame);
  bench.settle();
  ASSERT_FALSE(bench.prompter.messages.empty());
  EXPECT_EQ(bench.prompter.messages.back(), "Error opening output file.");
  EXPECT_FALSE(textPane().IsRedirected());
  std::filesystem::remove_all(folder);
}

// "Run benchmarks...": asked first; a no runs nothing and stores nothing.
TEST(UiCommands, RunBenchmarksAsksFirst) {
  CommandsBench bench;
  bench.prompter.yes = false;
  test::PaneCapture capture;
  bench.commands->run(cmd::runBenchmarks);
  ASSERT_EQ(bench.prompter.questions.size(), 1u);
  EXPECT_EQ(bench.prompter.questions[0], Message(msg::BenchmarkQuestion));
  EXPECT_FALSE(bench.commands->busy());
  EXPECT_TRUE(capture.lines().empty());
}

// "Run strength tests...": without benchmark data a second question; a no
// to it runs nothing. With both answered yes the tests run on a worker of
// their own until Escape.
TEST(UiCommands, StrengthTestsAskAboutMissingBenchmarksAndStopOnEscape) {
  CommandsBench bench;
  setStoredBenchmarkRates(std::nullopt);
  bench.prompter.answers = {true, false};
  bench.commands->run(cmd::strengthTests);
  ASSERT_EQ(bench.prompter.questions.size(), 2u);
  EXPECT_EQ(bench.prompter.questions[0], Message(msg::StrengthTestQuestion));
  EXPECT_EQ(bench.prompter.questions[1], Message(msg::StrengthNoBenchmark));
  EXPECT_FALSE(bench.commands->busy());

  // With benchmark data only the first question.
  BenchmarkRates rates;
  rates.fill(50);
  setStoredBenchmarkRates(rates);
  bench.prompter.questions.clear();
  bench.prompter.answers = {true};
  bench.commands->run(cmd::strengthTests);
  EXPECT_EQ(bench.prompter.questions.size(), 1u);
  EXPECT_TRUE(bench.commands->busy(Busy::strengthTests));
  EXPECT_FALSE(bench.commands->enabled(cmd::runBenchmarks));
  bench.commands->escape();
  bench.settle();
  EXPECT_FALSE(bench.commands->busy());
  setStoredBenchmarkRates(std::nullopt);
}

// Closing the window: a game with unsaved moves is offered for saving; a
// cancelled or failed save keeps the window; a saved game closes without a
// question; while an action runs the game is a worker's and nothing is asked.
TEST(UiCommands, ClosingOffersToSaveAnUnsavedGame) {
  CommandsBench bench(0, 99, false);
  test::TempFolder folder;
  EXPECT_TRUE(bench.commands->confirmClose());
  EXPECT_TRUE(bench.prompter.questions.empty()) << "a game without moves is not offered";
  bench.commands->run(cmd::pass);
  ASSERT_FALSE(bench.game().history.empty());

  bench.prompter.answers = {false};
  EXPECT_TRUE(bench.commands->confirmClose());
  ASSERT_EQ(bench.prompter.questions.size(), 1u);
  EXPECT_EQ(bench.prompter.questions[0], Message(msg::SaveGameFirstQuestion));

  bench.prompter.answers = {true};
  bench.prompter.file.reset();
  EXPECT_FALSE(bench.commands->confirmClose()) << "the save was cancelled";
  bench.prompter.answers = {true};
  bench.prompter.file = folder.path("no/such/folder/game.gcg");
  EXPECT_FALSE(bench.commands->confirmClose()) << "the save failed";

  bench.prompter.answers = {true};
  bench.prompter.file = folder.path("game.gcg");
  EXPECT_TRUE(bench.commands->confirmClose());
  EXPECT_TRUE(std::filesystem::exists(folder.path("game.gcg")));
  bench.prompter.questions.clear();
  EXPECT_TRUE(bench.commands->confirmClose());
  EXPECT_TRUE(bench.prompter.questions.empty()) << "a saved game is not offered again";

  // With a move since and an action running: no question.
  bench.commands->run(cmd::pass);
  bench.session->settings().uploadHost = "127.0.0.1";
  bench.prompter.answers = {true};
  bench.commands->run(cmd::openingBook);
  ASSERT_TRUE(bench.commands->busy());
  bench.prompter.questions.clear();
  EXPECT_TRUE(bench.commands->confirmClose());
  EXPECT_TRUE(bench.prompter.questions.empty());
  bench.commands->escape();
  bench.settle();
}

// A Testing tool plays English games of its own: the window's Spanish game
// waits aside meanwhile (nothing paints it under English rules) and comes
// back afterwards with its rules, alphabet and tables, playing as before.
TEST(UiCommands, TestingToolSetsTheWindowsGameAsideAndBringsItBack) {
  test::StateGuard state;
  test::InFolder inRun{PEXIL_RUN_DIR};
  CommandsBench bench(6, 41, false);
  const Game* shown = bench.session->game();
  ActivateListTables(*bench.game().lexicon);
  setWordListAlphabet(gameType(6).alphabet);
  const GameRules spanish = rules();
  GenerateMoves(bench.game(), Generation::fullList);
  const std::vector<Move> before = bench.game().moves;
  ASSERT_FALSE(before.empty());

  BenchmarkRates rates;
  rates.fill(50);
  setStoredBenchmarkRates(rates);
  bench.prompter.answers = {true};
  bench.commands->run(cmd::strengthTests);
  ASSERT_TRUE(bench.commands->busy(Busy::strengthTests));
  EXPECT_EQ(bench.session->game(), nullptr);
  EXPECT_FALSE(bench.commands->enabled(cmd::makeMove));
  // The tool's English game is set up before it is stopped.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (wordListAlphabet() != kAlphabetEnglish && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(wordListAlphabet(), kAlphabetEnglish);
  bench.commands->escape();
  bench.settle();
  setStoredBenchmarkRates(std::nullopt);

  ASSERT_EQ(bench.session->game(), shown);
  EXPECT_EQ(rules().gameTypeIndex, spanish.gameTypeIndex);
  EXPECT_EQ(rules().codeCount, spanish.codeCount);
  EXPECT_EQ(rules().letterValue, spanish.letterValue);
  EXPECT_EQ(wordListAlphabet(), gameType(6).alphabet);
  GenerateMoves(bench.game(), Generation::fullList);
  ASSERT_EQ(bench.game().moves.size(), before.size());
  for (std::size_t k = 0; k < before.size(); ++k) {
    EXPECT_TRUE(SameMove(bench.game().moves[k], before[k])) << k;
    EXPECT_EQ(bench.game().moves[k].equity, before[k].equity) << k;
  }
}

// "Help create opening book...": with no results server configured it
// says so and asks nothing; with one, the question chooses the threads and
// the builder runs until Escape.
TEST(UiCommands, OpeningBookNeedsAServerAndRunsUntilEscape) {
  CommandsBench bench;
  {
    test::PaneCapture capture;
    bench.commands->run(cmd::openingBook);
    EXPECT_TRUE(bench.prompter.questions.empty());
    EXPECT_FALSE(bench.commands->busy());
    ASSERT_FALSE(capture.lines().empty());
    EXPECT_EQ(capture.lines()[0].rfind("Upload is not set up", 0), 0u) << capture.lines()[0];
  }
  // A server nobody answers for: the builder keeps asking until stopped.
  bench.session->settings().uploadHost = "127.0.0.1";
  bench.prompter.answers = {true};
  bench.commands->run(cmd::openingBook);
  ASSERT_EQ(bench.prompter.questions.size(), 1u);
  EXPECT_EQ(bench.prompter.questions[0], Message(msg::OpeningBookQuestion));
  EXPECT_TRUE(bench.commands->busy(Busy::openingBook));
  bench.commands->escape();
  bench.settle();
  EXPECT_FALSE(bench.commands->busy());
}

}  // namespace
}  // namespace pexil::ui
