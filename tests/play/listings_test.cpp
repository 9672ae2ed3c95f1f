// The game listings: the well's contents, the history and the statistics,
// line by line and colour by colour, on positions set up by hand.
#include "play/listings.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "tables/rack_tables.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

using Lines = std::vector<std::string>;

std::shared_ptr<Lexicon> words() { return test::fixtureWords(); }

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

LetterCounts countsOf(std::string_view letters) {
  LetterCounts counts;
  addLetters(counts, letters, nullptr);
  return counts;
}

// The lines and colours the process-wide pane gains while it lives.
class Capture {
 public:
  Capture() : start_(textPane().LineCount()) {}
  Lines lines() const {
    const Lines all = textPane().Lines();
    return Lines(all.begin() + static_cast<std::ptrdiff_t>(start_), all.end());
  }
  std::vector<int> colours() const {
    std::vector<int> out;
    for (std::size_t i = start_; i < textPane().LineCount(); ++i) out.push_back(textPane().LineColour(i));
    return out;
  }

 private:
  std::size_t start_;
};

Lines concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Move placement(const char* word, int column, int row, int score, const char* leave) {
  Move m;
  m.word = word;
  m.column = column;
  m.row = row;
  m.direction = kAcross;
  m.score = score;
  m.setLeave(leave);
  return m;
}

Move labelled(const char* label, const char* leave) {
  Move m;
  m.word = label;
  m.setLeave(leave);
  return m;
}

HistoryEntry entry(const Move& move, const char* rack, bool known = true) {
  HistoryEntry e;
  e.move.set(move);
  e.rackBefore = countsOf(rack);
  e.rackKnown = known;
  return e;
}

void lay(Board& board, int column, int row, char letter, int mark, bool blank = false) {
  Square* s = squareAt(board, column, row);
  ASSERT_NE(s, nullptr);
  s->letter = letter;
  s->placedMark = mark;
  s->isBlank = blank ? 1 : 0;
}

class Listings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(20240611u);
    startGame(game, 2, words());
    game.bag = LetterCounts{};
    for (Rack& rack : game.racks) rack = LetterCounts{};
    textPane().SetColour(colour::green);
  }
  void TearDown() override { textPane().SetColour(colour::green); }

  test::StateGuard guard;
  Game game;
  const std::string stars50 = std::string(50, '*');
};

// ---- the well ----

class WellListing : public Listings {
 protected:
  void SetUp() override {
    Listings::SetUp();
    game.bag = countsOf("AAEIS?");
    game.racks[0] = countsOf("BCDFGHJ");
    game.racks[1] = countsOf("QRST");
  }
};

TEST_F(WellListing, ConciseFormThreeEntriesToALine) {
  Capture capture;
  ShowWell(game, 0, true);
  EXPECT_EQ(capture.lines(), (Lines{stars50, "3 tiles left in the bag.", "Tiles not yet seen:",
                                    "A:   2    E:   1    I:   1    ", "Q:   1    R:   1    S:   2    ",
                                    "T:   1    ?:   1    ", "Vowels: 4 Consonants: 5 Blanks: 1", stars50}));
}

TEST_F(WellListing, FullFormOneLinePerLetter) {
  Capture capture;
  ShowWell(game, 0, false);
  EXPECT_EQ(capture.lines(), (Lines{stars50, "3 tiles left in the bag.", "Tiles not yet seen:", "AA", "E", "I", "Q", "R",
                                    "SS", "T", "?", "Vowels: 4 Consonants: 5 Blanks: 1", stars50}));
}

TEST_F(WellListing, TheViewersOwnRackIsNotCounted) {
  Capture capture;
  ShowWell(game, 1, false);
  // The well and player 1's rack: B C D F G H J are unseen now, Q R S T not.
  EXPECT_EQ(capture.lines(), (Lines{stars50, "3 tiles left in the bag.", "Tiles not yet seen:", "AA", "B", "C", "D", "E",
                                    "F", "G", "H", "I", "J", "S", "?", "Vowels: 4 Consonants: 8 Blanks: 1", stars50}));
}

TEST_F(WellListing, ListingChangesNothingAndKeepsTheColour) {
  const LetterCounts bag = game.bag;
  const Rack rack1 = game.racks[1];
  textPane().SetColour(colour::orange);
  Capture capture;
  ShowWell(game, 0, true);
  EXPECT_EQ(game.bag, bag);
  EXPECT_EQ(game.racks[1], rack1);
  for (int c : capture.colours()) EXPECT_EQ(c, colour::orange);
  EXPECT_EQ(textPane().Colour(), colour::orange);
}

TEST_F(WellListing, TilesLeftOnceEveryRackIsFull) {
  // Eight in the well, one player short of seven tiles.
  game.bag = countsOf("AEIOUBCD");
  game.racks[0] = LetterCounts{};
  game.racks[1] = countsOf("QRSTUVW");
  {
    Capture capture;
    ShowWell(game, 0, true);
    ASSERT_GE(capture.lines().size(), 2u);
    EXPECT_EQ(capture.lines()[1], "1 tile left in the bag.");
  }
  // Short of one tile: seven left.
  game.racks[0] = countsOf("ABCDEF");
  {
    Capture capture;
    ShowWell(game, 0, true);
    EXPECT_EQ(capture.lines()[1], "7 tiles left in the bag.");
  }
  // The shortfalls of both players together exceed the well: 0, not below.
  game.bag = countsOf("AEI");
  game.racks[0] = countsOf("AB");
  game.racks[1] = LetterCounts{};
  {
    Capture capture;
    ShowWell(game, 0, true);
    EXPECT_EQ(capture.lines()[1], "0 tiles left in the bag.");
  }
  // Full racks leave the well as it is.
  game.bag = countsOf("AEIOUBCDE");
  game.racks[0] = countsOf("ABCDEFG");
  game.racks[1] = countsOf("ABCDEFG");
  {
    Capture capture;
    ShowWell(game, 0, true);
    EXPECT_EQ(capture.lines()[1], "9 tiles left in the bag.");
  }
}

TEST_F(WellListing, AllTilesSeen) {
  game.bag = LetterCounts{};
  game.racks[0] = countsOf("AB");
  game.racks[1] = LetterCounts{};
  Capture capture;
  ShowWell(game, 0, true);
  EXPECT_EQ(capture.lines(),
            (Lines{stars50, "0 tiles left in the bag.", "All tiles have been seen: the game is over.", stars50}));
}

TEST_F(WellListing, NoteForMoreTilesThanTheSetHolds) {
  const std::string note =
      "*** NOTE: More of some tiles have been removed than are contained in the default well. The well "
      "distribution, accordingly, will not match that of a standard game.";
  game.bag = countsOf("AB");
  game.racks[1] = countsOf("E");
  // A position typed with one Z more than the set holds.
  game.bag[25] = -1;
  game.bag[kTotalSlot] -= 1;
  Capture capture;
  ShowWell(game, 0, false);
  const Lines pieces = TextPane::WrapPieces(note, true);
  ASSERT_GT(pieces.size(), 1u);
  // The negative count gives no line of tiles.
  EXPECT_EQ(capture.lines(), concat(concat(Lines{stars50, "0 tiles left in the bag."}, pieces),
                                    Lines{"Tiles not yet seen:", "A", "B", "E", "Vowels: 2 Consonants: 0 Blanks: 0",
                                          stars50}));
}

TEST_F(WellListing, NoNoteWithoutNegativeCounts) {
  Capture capture;
  ShowWell(game, 0, false);
  for (const std::string& line : capture.lines()) EXPECT_EQ(line.find("NOTE"), std::string::npos) << line;
}

TEST_F(WellListing, SpanishMultiLetterTiles) {
  setWordListAlphabet(kAlphabetSpanish);
  setAlphabetCounts(kAlphabetSpanish);
  game.bag = LetterCounts{};
  game.bag[0] = 9;    // A
  game.bag[27] = 1;   // CH
  game.bag[22] = 2;   // LL
  game.bag[26] = 1;   // Ñ
  game.bag[28] = 2;   // the blank
  game.bag[kTotalSlot] = 15;
  game.racks[0] = countsOf("AAAAAAA");
  game.racks[1] = countsOf("EEEEEEE");
  {
    Capture capture;
    ShowWell(game, 0, true);
    // A with a space after the colon, CH and LL without; counts in three.
    EXPECT_EQ(capture.lines(), (Lines{stars50, "15 tiles left in the bag.", "Tiles not yet seen:",
                                      "A:   9    E:   7    LL:  2    ", "\xD1:   1    CH:  1    ?:   2    ",
                                      "Vowels: 16 Consonants: 4 Blanks: 2", stars50}));
  }
  game.bag[0] = 0;
  game.bag[kTotalSlot] = 6;
  game.racks[1] = LetterCounts{};
  {
    Capture capture;
    ShowWell(game, 0, false);
    EXPECT_EQ(capture.lines(), (Lines{stars50, "0 tiles left in the bag.", "Tiles not yet seen:", "LL LL ", "\xD1",
                                      "CH ", "??", "Vowels: 0 Consonants: 4 Blanks: 2", stars50}));
  }
}

TEST_F(WellListing, OpenRacksCountTheWellOnly) {
  test::readDefinitionsText(
      "Game \"Open\"\nnumplayers 2 4\nboardsize 3 3\nbonus none . 000000\nboard\n...\n...\n...\n"
      "racksize 7\ntile a 9 1 0\ntile e 9 1 0\ntile s 9 1 0\ntile ? 2 0 0\nbingobonus 50\nopenracks\nGameEnd\n");
  ASSERT_EQ(gameTypeCount(), 1);
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  ASSERT_TRUE(openRacks());
  {
    Capture capture;
    ShowWell(game, 0, false);
    EXPECT_EQ(capture.lines(), (Lines{stars50, "3 tiles left in the bag.", "Tiles remaining in the bag:", "AA", "E",
                                      "I", "S", "?", "Vowels: 4 Consonants: 1 Blanks: 1", stars50}));
  }
  test::readDefinitionsText("");
}

// ---- the history ----

class HistoryListing : public Listings {
 protected:
  void SetUp() override {
    Listings::SetUp();
    startGame(game, 3, words());
    SetPlayerName(game, 0, "Alice");
    SetPlayerName(game, 2, "Carol");
    game.scores[0] = 16;
    game.scores[1] = 1;
    game.scores[2] = 0;
    // CATS lies on the board: the history has no board before each move,
    // so its lines carry no marks.
    lay(game.board, 3, 7, 'c', 0);
    lay(game.board, 4, 7, 'a', 0);
    lay(game.board, 5, 7, 't', 0);
    lay(game.board, 6, 7, 's', 0);
    game.history.push_back(entry(placement("CATS", 3, 7, 12, "ER"), "ACERSTT"));
    game.history.push_back(entry(labelled(label::exchangedTiles, "E"), "EIIUUVV"));
    game.history.push_back(entry(labelled(label::pass, "ABC"), "ABC", false));
    game.history.push_back(entry(placement("AA", 7, 7, 4, "B"), "AAB"));
    game.history.push_back(entry(labelled(label::lostChallenge, ""), "", false));
  }
  const std::string stars40 = std::string(40, '*');
};

TEST_F(HistoryListing, RackColumnsAndScores) {
  Capture capture;
  ShowHistory(game, false);
  EXPECT_EQ(capture.lines(), (Lines{stars40, "Game history: ",
                                    "P1: (ACERSTT) CATS" + sp(12) + " 8D  12 pts  [ER]",
                                    "P2: (EIIUUVV) (Keep E)" + sp(8) + "   0 pts  [E]",
                                    "P3: [ABC]     (Pass)" + sp(10) + "   0 pts  [ABC]",
                                    "P1: (AAB)     AA" + sp(14) + " 8H   4 pts  [B]",
                                    "P2: --------- (Lost challenge)   0 pts",
                                    "P1: Alice, 16 points", "P2: Player 2, 1 point", "P3: Carol, 0 points"}));
  EXPECT_EQ(capture.colours(), (std::vector<int>{colour::cyan, colour::cyan, colour::cyan, colour::cyan, colour::cyan,
                                                 colour::cyan, colour::cyan, colour::green, colour::green,
                                                 colour::green}));
  EXPECT_EQ(textPane().Colour(), colour::green);
}

TEST_F(HistoryListing, HiddenRacksShowDashes) {
  Capture capture;
  ShowHistory(game, true);
  const Lines lines = capture.lines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[2], "P1: --------- CATS" + sp(12) + " 8D  12 pts  [ER]");
  EXPECT_EQ(lines[3], "P2: --------- (Keep E)" + sp(8) + "   0 pts  [E]");
  EXPECT_EQ(lines[4], "P3: --------- (Pass)" + sp(10) + "   0 pts  [ABC]");
  EXPECT_EQ(lines[5], "P1: --------- AA" + sp(14) + " 8H   4 pts  [B]");
}

TEST_F(HistoryListing, RackColumnFollowsTheRackSize) {
  rules().rackSize = 8;
  Capture capture;
  ShowHistory(game, false);
  const Lines lines = capture.lines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[2], "P1: (ACERSTT)  CATS" + sp(12) + " 8D  12 pts  [ER]");
  EXPECT_EQ(lines[4], "P3: [ABC]      (Pass)" + sp(10) + "   0 pts  [ABC]");
  EXPECT_EQ(lines[6], "P2: ---------- (Lost challenge)   0 pts");
}

TEST_F(HistoryListing, LongLinesAreNotWrapped) {
  Move simulated = placement("CATS", 3, 7, 12, "ER");
  simulated.simValueA = 5.5f;
  simulated.simValueB = 50.0f;
  simulated.simCount = 200;
  game.history.resize(1);
  game.history[0].move.set(simulated);
  ASSERT_FALSE(textPane().NoWrap());
  Capture capture;
  ShowHistory(game, false);
  const std::string line = "P1: (ACERSTT) CATS" + sp(12) + " 8D  12 pts   +5.50 / 50.0% (200)";
  ASSERT_GT(line.size(), TextPane::kWrapColumn);
  ASSERT_EQ(capture.lines().size(), 6u);
  EXPECT_EQ(capture.lines()[2], line);
  // Wrapping is back on afterwards.
  EXPECT_FALSE(textPane().NoWrap());
  textPane().SetNoWrap(true);
  ShowHistory(game, false);
  EXPECT_TRUE(textPane().NoWrap());
  textPane().SetNoWrap(false);
}

TEST_F(HistoryListing, ThreePlayersNumberedInTurn) {
  game.history.resize(3);
  Capture capture;
  ShowHistory(game, false);
  const Lines lines = capture.lines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[2].substr(0, 4), "P1: ");
  EXPECT_EQ(lines[3].substr(0, 4), "P2: ");
  EXPECT_EQ(lines[4].substr(0, 4), "P3: ");
}

TEST_F(HistoryListing, HiddenLeavesInTheMoveLines) {
  game.hideLeaves = true;
  Capture capture;
  ShowHistory(game, false);
  const Lines lines = capture.lines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[2], "P1: (ACERSTT) CATS" + sp(12) + " 8D  12 pts");
  EXPECT_EQ(lines[3], "P2: (EIIUUVV) (Exchanged 6)" + sp(3) + "   0 pts");
}

TEST_F(HistoryListing, EmptyHistoryPrintsNothing) {
  game.history.clear();
  Capture capture;
  ShowHistory(game, false);
  EXPECT_TRUE(capture.lines().empty());
}

// ---- the statistics ----

class StatisticsListing : public Listings {
 protected:
  void SetUp() override {
    Listings::SetUp();
    clearRackTables();
    SetPlayerName(game, 0, "Alice");
    // Player 0 laid C A T on move 0 and S and a blank E on move 2; player
    // 1 laid Q on move 1 and I on move 3.
    lay(game.board, 3, 7, 'c', 0);
    lay(game.board, 4, 7, 'a', 0);
    lay(game.board, 5, 7, 't', 0);
    lay(game.board, 6, 7, 's', 2);
    lay(game.board, 7, 7, 'e', 2, true);
    lay(game.board, 3, 6, 'q', 1);
    lay(game.board, 3, 8, 'i', 3);
    game.scores[0] = 62;
    game.scores[1] = 30;
    game.history.push_back(entry(placement("CATS", 3, 7, 74, ""), "AEINRST"));           // bingo
    game.history.push_back(entry(placement("QI", 3, 6, 30, ""), "BCDFGHJ"));             // under the bonus
    game.history.push_back(entry(placement("CATSE", 3, 7, 50, "E"), "AEINRST", false));  // a tile left
    game.history.push_back(entry(labelled(label::pass, "ABCDEF"), "ABCDEF"));           // six tiles
    game.history.push_back(entry(placement("CATSE", 3, 7, 50, ""), "BCDFGHJ"));          // bingo
  }
  void TearDown() override {
    clearRackTables();
    setFullRackTableCapacity(0);
    Listings::TearDown();
  }
  Lines note() const {
    return TextPane::WrapPieces("(In above calculation, a blank is worth half the bingo bonus.)", true);
  }
  const std::string dashes = std::string(50, '-');
};

TEST_F(StatisticsListing, EveryLineForBothPlayers) {
  loadFullRackText("AEINRST 2 50\nBCDFGHJ 2 10\n");
  ASSERT_EQ(FullRackValue(countsOf("AEINRST")), 102);
  ASSERT_EQ(FullRackValue(countsOf("BCDFGHJ")), -98);
  Capture capture;
  ShowStatistics(game);
  Lines expected{dashes, "Statistics for Alice: ", dashes, "Number of bingos played: 2 ",
                 "Tile turnover (# of tiles played): 5 ", "Value of tiles played: 31 "};
  expected = concat(expected, note());
  // 62 / 31, 62 / 5, and (102 - 98) / 20 over the two known full racks.
  expected = concat(expected, {"Tile efficiency (score/value of tiles): 2.00 ", "Score per tile: 12.40 ",
                               "Average relative value of rack: +0.20 ", dashes, "Statistics for Player 2: ", dashes,
                               "Number of bingos played: 0 ", "Tile turnover (# of tiles played): 2 ",
                               "Value of tiles played: 11 "});
  expected = concat(expected, note());
  expected = concat(expected, {"Tile efficiency (score/value of tiles): 2.73 ", "Score per tile: 15.00 ",
                               "Average relative value of rack: -9.80 ", std::string(50, '*')});
  EXPECT_EQ(capture.lines(), expected);
  for (int c : capture.colours()) EXPECT_EQ(c, colour::white);
  EXPECT_EQ(textPane().Colour(), colour::green);
}

TEST_F(StatisticsListing, NoRackLineWithoutAKnownFullRack) {
  // No full-rack table: no rack has a value, so no player gets the line.
  Capture capture;
  ShowStatistics(game);
  for (const std::string& line : capture.lines()) EXPECT_EQ(line.find("Average relative"), std::string::npos) << line;
  // Player 1's only full rack unknown: no line for player 1, but one for player 0.
  loadFullRackText("AEINRST 2 50\nBCDFGHJ 2 10\n");
  game.history[1].rackKnown = false;
  Capture second;
  ShowStatistics(game);
  int rackLines = 0;
  for (const std::string& line : second.lines()) rackLines += line.starts_with("Average relative value of rack:");
  EXPECT_EQ(rackLines, 1);
}

TEST_F(StatisticsListing, NoEfficiencyLinesWithoutTilesPlayed) {
  squareAt(game.board, 3, 6)->letter = ' ';
  squareAt(game.board, 3, 6)->placedMark = kEmptyMark;
  squareAt(game.board, 3, 8)->letter = ' ';
  squareAt(game.board, 3, 8)->placedMark = kEmptyMark;
  Capture capture;
  ShowStatistics(game);
  const Lines lines = capture.lines();
  std::size_t second = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == "Statistics for Player 2: ") second = i;
  }
  ASSERT_GT(second, 0u);
  const Lines player1(lines.begin() + static_cast<std::ptrdiff_t>(second - 1), lines.end());
  EXPECT_EQ(player1, concat(Lines{dashes, "Statistics for Player 2: ", dashes, "Number of bingos played: 0 ",
                                  "Tile turnover (# of tiles played): 0 ", "Value of tiles played: 0 "},
                            concat(note(), Lines{std::string(50, '*')})));
}

TEST_F(StatisticsListing, FinishedGameCountsTheTilesLeftOnTheRack) {
  game.gameOver = true;
  game.racks[0] = countsOf("E");
  game.racks[1] = countsOf("QZ");
  // Player 1 laid nothing.
  squareAt(game.board, 3, 6)->letter = ' ';
  squareAt(game.board, 3, 6)->placedMark = kEmptyMark;
  squareAt(game.board, 3, 8)->letter = ' ';
  squareAt(game.board, 3, 8)->placedMark = kEmptyMark;
  Capture capture;
  ShowStatistics(game);
  const Lines lines = capture.lines();
  auto has = [&](const std::string& text) {
    int n = 0;
    for (const std::string& line : lines) n += line == text;
    return n;
  };
  // 31 + 1 for the E left; 62 / 32 = 1.9375.
  EXPECT_EQ(has("Value of tiles played: 32 "), 1);
  EXPECT_EQ(has("Tile efficiency (score/value of tiles): 1.94 "), 1);
  EXPECT_EQ(has("Score per tile: 12.40 "), 1);
  // Q and Z left, no tile laid: a value but no figures per tile.
  EXPECT_EQ(has("Value of tiles played: 20 "), 1);
  int efficiency = 0;
  for (const std::string& line : lines) efficiency += line.starts_with("Tile efficiency");
  EXPECT_EQ(efficiency, 1);
}

TEST_F(StatisticsListing, BlankIsWorthHalfTheBingoBonus) {
  rules().bingoBonus = 35;
  Capture capture;
  ShowStatistics(game);
  const Lines lines = capture.lines();
  ASSERT_GT(lines.size(), 5u);
  // 3 + 1 + 1 + 1 + 35 / 2.
  EXPECT_EQ(lines[5], "Value of tiles played: 23 ");
  // Bingos against the lower bonus: every move of 35 or more with nothing left.
  EXPECT_EQ(lines[3], "Number of bingos played: 2 ");
  rules().bingoBonus = 30;
  Capture second;
  ShowStatistics(game);
  const Lines again = second.lines();
  ASSERT_GT(again.size(), 3u);
  EXPECT_EQ(again[5], "Value of tiles played: 21 ");
  bool player1Bingo = false;
  for (const std::string& line : again) player1Bingo = player1Bingo || line == "Number of bingos played: 1 ";
  EXPECT_TRUE(player1Bingo);  // QI for 30 now counts
}

TEST_F(StatisticsListing, ThreePlayersTakeTurnsInTheRecord) {
  startGame(game, 3, words());
  game.bag = LetterCounts{};
  lay(game.board, 7, 7, 'a', 0);
  lay(game.board, 8, 7, 'b', 1);
  lay(game.board, 9, 7, 'c', 2);
  lay(game.board, 10, 7, 'd', 3);
  lay(game.board, 11, 7, 'e', 4);
  lay(game.board, 12, 7, 'f', 5);
  lay(game.board, 13, 7, 'g', 6);
  game.scores = {};
  Capture capture;
  ShowStatistics(game);
  Lines turnovers;
  for (const std::string& line : capture.lines()) {
    if (line.starts_with("Tile turnover")) turnovers.push_back(line);
  }
  // Moves 0, 3, 6 / 1, 4 / 2, 5.
  EXPECT_EQ(turnovers, (Lines{"Tile turnover (# of tiles played): 3 ", "Tile turnover (# of tiles played): 2 ",
                              "Tile turnover (# of tiles played): 2 "}));
}

}  // namespace
}  // namespace pexil
