// The reports of a game: the HTML recap (rows by player in turn, running
// totals, notes, the picture's name, the Spanish double tiles written out)
// and the whole-game analysis of a record (a section per move, the played
// move marked, the endgame at the end, the optional sections), with the
// fast lookahead's part in it: the played move simulated even when its own
// choice leaves it out, and the minimum of iterations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "files/game_analysis_report.hpp"
#include "files/game_recap.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"
#include "movegen/move_line.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "search/fast_lookahead.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

std::size_t count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

Move placement(const char* word, int column, int row, int score, const char* leave) {
  Move move;
  move.word = word;
  move.column = column;
  move.row = row;
  move.score = score;
  move.setLeave(leave);
  return move;
}

HistoryEntry entryOf(const Move& move, const char* rack) {
  HistoryEntry entry;
  entry.move = KeptMove(move);
  addLetters(entry.rackBefore, rack, nullptr);
  return entry;
}

class GameRecap : public ::testing::Test {
 protected:
  test::StateGuard guard;
};

TEST_F(GameRecap, RowsTakeThePlayersInTurnWithTheirRunningTotals) {
  activateGameType(kKindStandard);
  Game game;
  game.playerCount = 3;
  SetPlayerName(game, 0, "Ann");
  SetPlayerName(game, 1, "Bob");
  Move simulated = placement("QUIZ", 7, 7, 22, "AE");
  simulated.simPly = 2;
  simulated.simCount = 500;
  simulated.simValueA = 12.3f;
  simulated.simValueB = 61.0f;
  Move pass;
  pass.word = label::pass;
  game.history = {entryOf(placement("CAT", 7, 7, 10, "DOG"), "ACDGOT?"), entryOf(simulated, "AEIQUZ?"),
                  entryOf(pass, "EEEIIOU"), entryOf(placement("DOGS", 2, 3, 7, ""), "DGOS")};
  game.history[2].rackKnown = false;
  game.scores = {17, 22, 0};
  const std::string html = GameRecapHtml(game, {"game.png", false});

  EXPECT_EQ(html.rfind("<html><head><title>Pexil Game Recap</title></head><body style=", 0), 0u);
  EXPECT_NE(html.find("<p><img src = \"game.png\"></p>"), std::string::npos);
  EXPECT_NE(html.find("<tr><td>1</td><td>Ann</td><td><center>acdgot?</center></td><td>CAT</td><td>8H</td>"
                      "<td><center>[dog]</center></td><td>10</td><td>10</td><td></td></tr>\n"),
            std::string::npos)
      << html;
  EXPECT_NE(html.find("<tr><td>2</td><td>Bob</td>"), std::string::npos);
  EXPECT_NE(html.find("<td>22</td><td>22</td><td>2-ply spread simulation (500), +12.30 / 61.0%</td></tr>"), std::string::npos)
      << html;
  // The third player has no name; an unknown rack is dashes, a pass has no square.
  EXPECT_NE(html.find("<tr><td>3</td><td>Player 3</td><td><center>-------</center></td><td>"), std::string::npos) << html;
  EXPECT_NE(html.find("</td><td>---</td><td><center></center></td><td>0</td><td>0</td>"), std::string::npos) << html;
  // Move 4 is the first player's again: 10 + 7.
  EXPECT_NE(html.find("<tr><td>4</td><td>Ann</td><td><center>dgos</center></td><td>DOGS</td><td>4C</td>"), std::string::npos)
      << html;
  EXPECT_NE(html.find("<td>7</td><td>17</td>"), std::string::npos);
  EXPECT_NE(html.find("<P><b>Ann: 17, Bob: 22, Player 3: 0</b></p>"), std::string::npos) << html;
  EXPECT_EQ(html.find(Message(msg::RecapNone)), std::string::npos);
  EXPECT_EQ(html.substr(html.size() - 24), "</center></body></html>\n");
}

TEST_F(GameRecap, AGameWithoutMovesHasNoTable) {
  activateGameType(kKindStandard);
  Game game;
  game.playerCount = 2;
  const std::string html = GameRecapHtml(game, {});
  EXPECT_NE(html.find("No game recap available."), std::string::npos);
  EXPECT_EQ(html.find("<table border=0>"), std::string::npos);
  EXPECT_EQ(html.find("<img"), std::string::npos) << "no picture named when none was saved";
}

TEST_F(GameRecap, SpanishDoubleTilesAreWrittenOutInLowerCase) {
  readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Spanish")));
  setWordListAlphabet(kAlphabetSpanish);
  Game game;
  game.playerCount = 2;
  // '1' is the CH tile and '2' the LL tile of the Spanish alphabet.
  game.history = {entryOf(placement("1O2O", 7, 7, 20, "\xD1"), "1O2O\xD1RA")};
  const std::string html = GameRecapHtml(game, {});
  const std::size_t start = html.find("<tr><td>1</td>");
  ASSERT_NE(start, std::string::npos) << html;
  const std::size_t open = html.find("<center>", start) + std::strlen("<center>");
  const std::string rack = html.substr(open, html.find("</center>", open) - open);
  EXPECT_EQ(rack.size(), 9u) << rack << ": seven tiles, two of them written with two letters";
  EXPECT_NE(rack.find("ch"), std::string::npos) << rack;
  EXPECT_NE(rack.find("ll"), std::string::npos) << rack;
  EXPECT_NE(rack.find('\xF1'), std::string::npos) << rack;
  EXPECT_EQ(rack.find_first_of("12"), std::string::npos) << rack;
  EXPECT_NE(html.find("<td>CHOLLO</td>"), std::string::npos) << html;
  EXPECT_NE(html.find("[\xF1]"), std::string::npos) << html;
}

TEST(RecapFiles, PathsAndAFailedWrite) {
  EXPECT_EQ(RecapImagePath("/tmp/x/game.htm"), "/tmp/x/game.png");
  EXPECT_EQ(RecapImagePath("recap"), "recap.png");
  EXPECT_EQ(FileNameOf("/tmp/x/game.png"), "game.png");
  EXPECT_EQ(FileNameOf("game.png"), "game.png");
  EXPECT_EQ(AnalysisReportPath("/games/final.gcg"), "/games/final.analysis.txt");
  Game game;
  EXPECT_FALSE(WriteGameRecap(game, "/nonexistent-folder/x/game.htm", {}));
  test::TempFolder folder;
  EXPECT_TRUE(WriteGameRecap(game, folder.path("game.htm"), {}));
}

TEST(AnalysisProgress, TheTimeLeftComesFromTheMovesDone) {
  EXPECT_EQ(AnalysisProgressLine(1, 40, 0.0), "Move 1/40");
  // Two moves in 10 s: 5 s each, 38 moves to go.
  EXPECT_EQ(AnalysisProgressLine(3, 40, 10.0), "Move 3/40 (about 3:10 left)");
}

class GameAnalysis : public ::testing::Test {
 protected:
  test::StateGuard guard;
  test::TempFolder folder;

  // A seeded game on the fixture list, its record, and its report with
  // `options` (each move's search bounded, so that the test stays quick).
  // With `firstMoves`, the record of the game's first moves only.
  std::string report(GameAnalysisOptions options, int* sections, std::vector<std::pair<int, int>>* progress,
                     int firstMoves = -1) {
    activateGameType(kKindStandard);
    setProgramSeed(41);
    Game game;
    test::playSeededGame(game, 5, test::fixtureWords());
    const std::string record = folder.path("game.gcg");
    EXPECT_TRUE(WriteGcg(game, record));
    if (firstMoves > 0) {
      GcgReadOptions cut;
      cut.stopAfterMove = firstMoves;
      cut.lexicon = test::fixtureWords();
      ReadGcg(game, record, cut);
      EXPECT_TRUE(WriteGcg(game, record));
    }
    *sections = static_cast<int>(game.history.size());
    *sections = static_cast<int>(game.history.size());
    options.lexicon = test::fixtureWords();
    std::ostringstream out;
    textPane().Redirect(&out);
    const GameAnalysisSummary summary = AnalyzeGameRecord(record, options, [&](int n, int total) {
      progress->emplace_back(n, total);
    });
    textPane().EndRedirect();
    EXPECT_TRUE(summary.opened);
    EXPECT_FALSE(summary.aborted);
    EXPECT_EQ(summary.moves, *sections);
    return out.str();
  }
};

TEST_F(GameAnalysis, ASectionPerMoveToTheEndgame) {
  GameAnalysisOptions options;
  options.topMoves = 5;
  options.ply = 1;
  options.timeBudget = 3;
  options.tileGuesses = false;
  int moves = 0;
  std::vector<std::pair<int, int>> progress;
  const std::string text = report(options, &moves, &progress);
  ASSERT_GT(moves, 10);
  EXPECT_EQ(static_cast<int>(count(text, "Move #")), moves);
  EXPECT_EQ(count(text, "rack leave inference data"), 0u);
  EXPECT_EQ(static_cast<int>(count(text, "Win percentage given up: ")), moves);
  ASSERT_EQ(static_cast<int>(progress.size()), moves);
  for (int i = 0; i < moves; ++i) EXPECT_EQ(progress[static_cast<std::size_t>(i)], std::make_pair(i + 1, moves));
  EXPECT_GT(count(text, "Simulation (1 ply)"), 0u);
  // The game ran to its end: its last moves were searched to the end.
  EXPECT_NE(text.find("\nEndgame\n"), std::string::npos);
  // The board's rows with their numbers on both sides.
  EXPECT_NE(text.find("\n  8 "), std::string::npos);
  EXPECT_EQ(count(text, "heat map data"), 0u);
}

// The first two moves searched to the lookahead's own end (a time budget
// would leave the outcome to the machine's speed), with every section.
TEST_F(GameAnalysis, TheFirstMovesWithInferenceAndHeatMaps) {
  GameAnalysisOptions options;
  options.topMoves = 40;
  options.ply = 1;
  options.tileGuesses = true;
  options.heatmaps = true;
  int moves = 0;
  std::vector<std::pair<int, int>> progress;
  const std::string text = report(options, &moves, &progress, 2);
  ASSERT_EQ(moves, 2);
  // The played move is among the candidates of each, ranked from 001, and
  // the win percentage given up has an average for both players.
  EXPECT_EQ(count(text, " PLAYED "), 2u) << text;
  EXPECT_TRUE(std::regex_search(text, std::regex("\\s(PLAYED|PHONEY| {6}) 001\\. ")));
  EXPECT_TRUE(std::regex_search(text, std::regex(" avg\\.\\)\n[^\n]* avg\\.\\)\n"))) << text;
  EXPECT_EQ(count(text, "rack leave inference data"), 2u);
  EXPECT_NE(text.find("Can't guess leave distribution -- first turn of game!"), std::string::npos);
  EXPECT_NE(text.find("Known played '"), std::string::npos);
  EXPECT_GT(count(text, "heat map data / "), 0u);
  EXPECT_TRUE(std::regex_search(text, std::regex("\n 8( +[0-9]+\\.[0-9]%){15}\n"))) << "a grid row of 15 cells";
}

TEST(GameAnalysisFiles, AMissingRecordIsReportedAndNothingRuns) {
  test::PaneCapture capture;
  int calls = 0;
  const GameAnalysisSummary summary =
      AnalyzeGameRecord("/nonexistent/record.gcg", {}, [&](int, int) { ++calls; });
  EXPECT_FALSE(summary.opened);
  EXPECT_EQ(calls, 0);
  ASSERT_FALSE(capture.lines().empty());
}

TEST(ReportProgress, GoesToThePaneWhileItsOutputIsRedirected) {
  TextPane pane;
  std::ostringstream file;
  pane.Print("before");
  pane.Redirect(&file);
  pane.Print("into the file\n");
  pane.PrintProgressToPane("Move 1/3");
  pane.PrintProgressToPane("Move 2/3");
  pane.Print("more of the file\n");
  pane.EndRedirect();
  EXPECT_EQ(file.str(), "into the file\nmore of the file\n");
  const std::vector<std::string> lines = pane.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "Move 2/3") << "the second progress line replaces the first";
  pane.Print("after");
  pane.PrintProgressToPane("Move 3/3");
  EXPECT_EQ(pane.Lines().size(), 4u) << "a progress line after other lines is a new line";
}

TEST(ReportLookahead, SimulatesThePlayedMoveAndTheMinimumOfIterations) {
  test::StateGuard guard;
  activateGameType(kKindStandard);
  Game game = test::catPosition("EINRSTQ", 7);
  game.quiet = true;
  GenerateMoves(game, Generation::fullList);
  ASSERT_GT(game.moves.size(), 60u);
  // A move far down the list, which the lookahead's own choice leaves out.
  const Move weak = game.moves[game.moves.size() - 3];
  game.alsoSimulate = {weak};
  game.minSimulations = 150;
  game.minSimulatedTop = 3;
  FastLookahead(game, 1, 1);
  const auto at = std::find_if(game.moves.begin(), game.moves.end(), [&](const Move& m) { return SameMove(m, weak); });
  ASSERT_NE(at, game.moves.end());
  EXPECT_GE(at->simCount, 150) << "the required move gets the minimum";
  for (std::size_t i = 0; i < 3; ++i) EXPECT_GE(game.moves[i].simCount, 150) << i;
}

TEST(SameMoves, LabelsWordsSquaresAndBlanks) {
  Move a = placement("CAT", 7, 7, 5, "");
  Move b = a;
  EXPECT_TRUE(SameMove(a, b));
  std::string copy = "CAT";
  b.word = copy.c_str();
  EXPECT_TRUE(SameMove(a, b)) << "compared by the text, not the pointer";
  b.blankPositions[0] = 1;
  EXPECT_FALSE(SameMove(a, b));
  a.blankPositions[0] = 1;
  EXPECT_TRUE(SameMove(a, b));
  b.direction = 1;
  EXPECT_FALSE(SameMove(a, b));
  Move pass, exchange;
  exchange.word = label::exchangedTiles;
  exchange.setLeave("AE");
  EXPECT_FALSE(SameMove(pass, exchange));
  Move other = exchange;
  other.setLeave("AI");
  EXPECT_FALSE(SameMove(exchange, other));
  EXPECT_FALSE(SameMove(a, pass));
}

}  // namespace
}  // namespace pexil
