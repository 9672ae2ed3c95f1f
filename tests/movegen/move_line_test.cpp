// Move lines: every piece of the layout, byte for byte, and the pending
// listing that the continuation line pages through.
#include "movegen/move_line.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rules/board.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "state/game.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

Move placement(const char* word, int column, int row, int direction, int score, const char* leave = "",
               std::vector<int> blanks = {}) {
  Move m;
  m.word = word;
  m.column = column;
  m.row = row;
  m.direction = direction;
  m.score = score;
  m.setLeave(leave);
  for (std::size_t i = 0; i < blanks.size(); ++i) m.blankPositions[i] = blanks[i];
  return m;
}

Move labelled(const char* label, const char* leave = "", int score = 0) {
  Move m;
  m.word = label;
  m.score = score;
  m.setLeave(leave);
  return m;
}

Move simulated(float spread, float win, int count) {
  Move m = placement("CATS", 3, 7, kAcross, 12, "ER");
  m.simValueA = spread;
  m.simValueB = win;
  m.simCount = count;
  return m;
}

void lay(Board& board, int column, int row, char letter, int mark = 0) {
  Square* s = squareAt(board, column, row);
  ASSERT_NE(s, nullptr);
  s->letter = letter;
  s->placedMark = mark;
}

class MoveLines : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    game.playerCount = 2;
    buildBoard(game.board);
  }
  test::StateGuard guard;
  Game game;
};

// The line of CATS at 8D for 12 points before any evaluation text.
const std::string kCats = "P1: CATS" + std::string(12, ' ') + " 8D  12 pts";

TEST_F(MoveLines, PlacementWithLeave) {
  EXPECT_EQ(MoveLine(game, 0, placement("CATS", 3, 7, kAcross, 12, "ER"), ""), kCats + "  [ER]");
}

TEST_F(MoveLines, NoLeaveShowsNothingAfterTheScore) {
  EXPECT_EQ(MoveLine(game, 0, placement("CATS", 3, 7, kAcross, 12, ""), ""), kCats);
}

TEST_F(MoveLines, OnePointMoveEndsWithPtAndOneSpace) {
  const std::string one = MoveLine(game, 1, placement("AA", 7, 7, kAcross, 1), "");
  EXPECT_EQ(one, "P2: AA" + sp(14) + " 8H   1 pt ");
  const std::string two = MoveLine(game, 1, placement("AA", 7, 7, kAcross, 2), "");
  EXPECT_EQ(two, "P2: AA" + sp(14) + " 8H   2 pts");
  EXPECT_EQ(one.size(), two.size());
  // With a leave the brackets line up with those of other scores.
  EXPECT_EQ(MoveLine(game, 1, placement("AA", 7, 7, kAcross, 1, "ER"), ""), "P2: AA" + sp(14) + " 8H   1 pt   [ER]");
  EXPECT_EQ(MoveLine(game, 1, placement("AA", 7, 7, kAcross, 2, "ER"), ""), "P2: AA" + sp(14) + " 8H   2 pts  [ER]");
}

TEST_F(MoveLines, ScorePaddingBelowTenAndBelowHundred) {
  const std::string head = "P1: AA" + sp(14) + " 8H";
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 7, 7, kAcross, 0), ""), head + "   0 pts");
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 7, 7, kAcross, 9), ""), head + "   9 pts");
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 7, 7, kAcross, 10), ""), head + "  10 pts");
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 7, 7, kAcross, 99), ""), head + "  99 pts");
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 7, 7, kAcross, 100), ""), head + " 100 pts");
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 7, 7, kAcross, 1234), ""), head + " 1234 pts");
}

TEST_F(MoveLines, PositionsLineUpWithOneDigitRows) {
  const Move across10 = placement("AA", 3, 9, kAcross, 5);
  const Move down8 = placement("AA", 3, 7, kDown, 5);
  const Move down10 = placement("AA", 3, 9, kDown, 5);
  EXPECT_EQ(MoveLine(game, 0, across10, ""), "P1: AA" + sp(14) + "10D   5 pts");
  EXPECT_EQ(MoveLine(game, 0, down8, ""), "P1: AA" + sp(14) + " D8   5 pts");
  EXPECT_EQ(MoveLine(game, 0, down10, ""), "P1: AA" + sp(14) + "D10   5 pts");
  EXPECT_EQ(MoveLine(game, 0, down8, "").size(), MoveLine(game, 0, down10, "").size());
}

TEST_F(MoveLines, GermanPositionsLineUpToo) {
  setWordListAlphabet(kAlphabetGerman);
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 3, 7, kAcross, 5), ""), "P1: AA" + sp(14) + " H4w   5 pts");
  EXPECT_EQ(MoveLine(game, 0, placement("AA", 9, 7, kDown, 5), ""), "P1: AA" + sp(14) + "H10s   5 pts");
}

TEST_F(MoveLines, LongWordIsNotCut) {
  const Move m = placement("ABCDEFGHIJKLMNOPQ", 0, 0, kAcross, 20);
  EXPECT_EQ(MoveLine(game, 0, m, ""), "P1: ABCDEFGHIJKLMNOPQ 1A  20 pts");
}

TEST_F(MoveLines, ExchangeKeepingTiles) {
  const Move keepER = labelled(label::exchangeRetains, "ER");
  EXPECT_EQ(MoveLine(game, 0, keepER, ""), "P1: (Keep ER)" + sp(7) + "   0 pts  [ER]");
  game.hideLeaves = true;
  EXPECT_EQ(MoveLine(game, 0, keepER, ""), "P1: (Exchanged 5)" + sp(3) + "   0 pts");
  // The count follows the rack size.
  rules().rackSize = 8;
  EXPECT_EQ(MoveLine(game, 0, keepER, ""), "P1: (Exchanged 6)" + sp(3) + "   0 pts");
}

TEST_F(MoveLines, ExchangeOfEveryTile) {
  for (const char* exchange : {label::exchange, label::exchangedTiles, label::exchangeOptimal}) {
    const Move all = labelled(exchange);
    EXPECT_EQ(MoveLine(game, 0, all, ""), "P1: (Exchange all)" + sp(2) + "   0 pts");
    game.hideLeaves = true;
    EXPECT_EQ(MoveLine(game, 0, all, ""), "P1: (Exchange all)" + sp(2) + "   0 pts");
    game.hideLeaves = false;
  }
  // Every exchange label keeps by its leave, not by its own name.
  EXPECT_EQ(MoveLine(game, 0, labelled(label::exchangeS, "S"), ""), "P1: (Keep S)" + sp(8) + "   0 pts  [S]");
}

TEST_F(MoveLines, PassAndChallengeLabels) {
  EXPECT_EQ(MoveLine(game, 0, labelled(label::pass, "ABC"), ""), "P1: (Pass)" + sp(10) + "   0 pts  [ABC]");
  EXPECT_EQ(MoveLine(game, 1, labelled(label::lostChallenge), ""), "P2: (Lost challenge)" + sp(0) + "   0 pts");
  EXPECT_EQ(MoveLine(game, 1, labelled(label::incorrectChallenge, "", -10), ""),
            "P2: (Bad challenge)" + sp(1) + "   -10 pts");
}

TEST_F(MoveLines, LabelsInTheUiLanguage) {
  SetUILang(kPigLatin);
  EXPECT_EQ(MoveLine(game, -1, labelled(label::pass), ""), "(Asspay)" + sp(8) + "   0 pts");
  EXPECT_EQ(MoveLine(game, -1, labelled(label::lostChallenge), ""), "(Ostlay allengechay)   0 pts");
  EXPECT_EQ(MoveLine(game, -1, labelled(label::incorrectChallenge), ""), "(Adbay allengechay)   0 pts");
  SetUILang(kCatalan);
  EXPECT_EQ(MoveLine(game, -1, labelled(label::pass), ""), "(Passa)" + sp(9) + "   0 pts");
  EXPECT_EQ(MoveLine(game, -1, labelled(label::lostChallenge), ""), "(Impug. perd.)" + sp(2) + "   0 pts");
  EXPECT_EQ(MoveLine(game, -1, labelled(label::incorrectChallenge), ""), "(Impug. err\xF2nia)   0 pts");
}

TEST_F(MoveLines, LettersOnTheBoardAreMarked) {
  lay(game.board, 3, 7, 'c');
  lay(game.board, 4, 7, 'a');
  lay(game.board, 5, 7, 't');
  // '|' does not count towards the 16 characters of the word column.
  EXPECT_EQ(MoveLine(game, 0, placement("CATS", 3, 7, kAcross, 6), ""), "P1: |CAT|S" + sp(12) + " 8D   6 pts");
  // A run at the end and one in the middle.
  EXPECT_EQ(moveLineWord(placement("SCAT", 2, 7, kAcross, 6), &game.board), "S|CAT|");
  lay(game.board, 7, 7, 'e');
  EXPECT_EQ(moveLineWord(placement("SCATTER", 2, 7, kAcross, 6), &game.board), "S|CAT|T|E|R");
  // Down: the line is read down the column.
  EXPECT_EQ(moveLineWord(placement("BAD", 4, 6, kDown, 5), &game.board), "B|A|D");
}

TEST_F(MoveLines, MarksComeFromTheBoardBeforeTheMove) {
  // CATS already laid: its own tiles are on the game's board.
  for (int c = 3; c <= 6; ++c) lay(game.board, c, 7, "cats"[c - 3], c < 6 ? 0 : 1);
  Board before = game.board;
  squareAt(before, 6, 7)->letter = ' ';
  squareAt(before, 6, 7)->placedMark = kEmptyMark;
  const Move cats = placement("CATS", 3, 7, kAcross, 6);
  MoveLineOptions options;
  options.before = &before;
  EXPECT_EQ(MoveLine(game, 0, cats, "", options), "P1: |CAT|S" + sp(12) + " 8D   6 pts");
  // Without a board: the game's board, where every letter lies now.
  EXPECT_EQ(MoveLine(game, 0, cats, ""), "P1: |CATS|" + sp(12) + " 8D   6 pts");
  // With no board known there are no marks at all.
  options.boardKnown = false;
  EXPECT_EQ(MoveLine(game, 0, cats, "", options), "P1: CATS" + sp(12) + " 8D   6 pts");
}

TEST_F(MoveLines, TentativeTilesAreNotOnTheBoard) {
  lay(game.board, 3, 7, 'c');
  lay(game.board, 4, 7, 'a', kNewTileMark);
  EXPECT_EQ(moveLineWord(placement("CAT", 3, 7, kAcross, 5), &game.board), "|C|AT");
}

TEST_F(MoveLines, BlanksInLowerCase) {
  EXPECT_EQ(MoveLine(game, 0, placement("cats", 3, 7, kAcross, 5, "", {0, 3}), ""), "P1: cATs" + sp(12) + " 8D   5 pts");
  // Upper case whatever the case of the stored word.
  EXPECT_EQ(MoveLine(game, 0, placement("Cats", 3, 7, kAcross, 5, "", {2}), ""), "P1: CAtS" + sp(12) + " 8D   5 pts");
}

TEST_F(MoveLines, SpanishMultiLetterTilesWrittenOut) {
  setWordListAlphabet(kAlphabetSpanish);
  // "chorro" stored as 1o3o; the blank stands for the CH.
  const Move m = placement("1o3o", 3, 7, kAcross, 8, "", {0});
  EXPECT_EQ(MoveLine(game, 0, m, ""), "P1: chORRO" + sp(10) + " 8D   8 pts");
  const Move ll = placement("2ama", 3, 7, kAcross, 8, "", {});
  EXPECT_EQ(moveLineWord(ll, nullptr), "LLAMA");
  lay(game.board, 3, 7, '2');
  EXPECT_EQ(moveLineWord(ll, &game.board), "|LL|AMA");
  // Other alphabets keep the characters as they are.
  setWordListAlphabet(kAlphabetEnglish);
  EXPECT_EQ(moveLineWord(m, nullptr), "1O3O");
}

TEST_F(MoveLines, PlayerPrefixes) {
  const Move m = placement("AA", 7, 7, kAcross, 2);
  const std::string rest = "AA" + sp(14) + " 8H   2 pts";
  EXPECT_EQ(MoveLine(game, -1, m, ""), rest);
  EXPECT_EQ(MoveLine(game, -1, m, "00001 AEINRST "), "00001 AEINRST " + rest);
  EXPECT_EQ(MoveLine(game, 0, m, "(ABC)     "), "P1: (ABC)     " + rest);
  game.playerCount = 9;
  EXPECT_EQ(MoveLine(game, 8, m, ""), "P9: " + rest);
  game.playerCount = 10;
  EXPECT_EQ(MoveLine(game, 0, m, ""), "P1 : " + rest);
  EXPECT_EQ(MoveLine(game, 8, m, ""), "P9 : " + rest);
  EXPECT_EQ(MoveLine(game, 9, m, ""), "P10: " + rest);
  game.playerCount = 16;
  EXPECT_EQ(MoveLine(game, 15, m, ""), "P16: " + rest);
}

TEST_F(MoveLines, SimulatedShortForm) {
  EXPECT_EQ(MoveLine(game, 0, simulated(5.5f, 50.0f, 200), ""), kCats + "   +5.50 / 50.0% (200)");
  EXPECT_EQ(MoveLine(game, 0, simulated(-12.25f, 7.5f, 300), ""), kCats + "  -12.25 /  7.5% (300)");
  EXPECT_EQ(MoveLine(game, 0, simulated(123.5f, 100.0f, 50), ""), kCats + " +123.50 / 100.0% (50)");
  EXPECT_EQ(MoveLine(game, 0, simulated(-150.0f, 0.0f, 1), ""), kCats + " -150.00 /  0.0% (1)");
  EXPECT_EQ(MoveLine(game, 0, simulated(99.0f, 10.0f, 7), ""), kCats + "  +99.00 / 10.0% (7)");
  EXPECT_EQ(MoveLine(game, 0, simulated(0.0f, 9.3f, 7), ""), kCats + "   +0.00 /  9.3% (7)");
}

TEST_F(MoveLines, PreEndgameResultShowsPeg) {
  EXPECT_EQ(MoveLine(game, 0, simulated(3.0f, 62.5f, kPreEndgameCountMark), ""), kCats + "   +3.00 / 62.5% (peg)");
  MoveLineOptions longForm;
  longForm.longForm = true;
  Move m = simulated(3.0f, 62.5f, kPreEndgameCountMark);
  m.simMedian = -4.0f;
  EXPECT_EQ(MoveLine(game, 0, m, "", longForm), kCats + "   +3.00 /  -4.00 / 62.5% (peg)");
  m.simByWinProb = 1;
  m.simMedian = 60.0f;
  EXPECT_EQ(MoveLine(game, 0, m, "", longForm), kCats + "   +3.00 / 60.0% / 62.5% (peg)");
}

TEST_F(MoveLines, SimulatedLongForms) {
  MoveLineOptions longForm;
  longForm.longForm = true;
  Move spread = simulated(-24.5f, 30.0f, 1000);
  spread.simMedian = -3.0f;
  EXPECT_EQ(MoveLine(game, 0, spread, "", longForm), kCats + "  -24.50 /  -3.00 / 30.0% (1000)");
  spread.simMedian = 150.0f;
  EXPECT_EQ(MoveLine(game, 0, spread, "", longForm), kCats + "  -24.50 /+150.00 / 30.0% (1000)");
  Move win = simulated(8.0f, 55.5f, 400);
  win.simByWinProb = 1;
  win.simMedian = 5.0f;
  EXPECT_EQ(MoveLine(game, 0, win, "", longForm), kCats + "   +8.00 /  5.0% / 55.5% (400)");
  // The short form is the same move without the median.
  EXPECT_EQ(MoveLine(game, 0, win, ""), kCats + "   +8.00 / 55.5% (400)");
}

TEST_F(MoveLines, MixedOptimisationAddsItsScore) {
  MoveLineOptions mixed;
  mixed.mixedOptimisation = true;
  Move m = simulated(5.5f, 50.0f, 200);
  m.simValueC = 0.75f;
  EXPECT_EQ(MoveLine(game, 0, m, "", mixed), kCats + "   +5.50 / 50.0% (200) ms 0.75");
  mixed.longForm = true;
  m.simMedian = 2.0f;
  EXPECT_EQ(MoveLine(game, 0, m, "", mixed), kCats + "   +5.50 /  +2.00 / 50.0% (200) ms 0.75");
  // Not without the option.
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "   +5.50 / 50.0% (200)");
}

TEST_F(MoveLines, UnsimulatedMovesShowTheirLeave) {
  // A value without iterations is no simulation result.
  Move m = simulated(5.5f, 50.0f, 0);
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "  [ER]");
  m = simulated(kNoSimValue, 50.0f, 100);
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "  [ER]");
}

TEST_F(MoveLines, HiddenLeavesHideLeavesAndSimulatedFigures) {
  game.hideLeaves = true;
  EXPECT_EQ(MoveLine(game, 0, simulated(5.5f, 50.0f, 200), ""), kCats);
  EXPECT_EQ(MoveLine(game, 0, placement("CATS", 3, 7, kAcross, 12, "ER"), ""), kCats);
}

TEST_F(MoveLines, EndgameResults) {
  Move m = simulated(kEndgameResultMark, 5.0f, 0);
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "     5.0% (eg)");
  m.simValueB = 75.0f;
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "   75.0% (eg)");
  m.simValueB = 100.0f;
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "   100.0% (eg)");
  // Shown while leaves are hidden as well.
  game.hideLeaves = true;
  EXPECT_EQ(MoveLine(game, 0, m, ""), kCats + "   100.0% (eg)");
}

TEST_F(MoveLines, PrintedToThePaneOrToTheListing) {
  moveListing().clear();
  test::PaneCapture capture;
  PrintMoveLine(game, 0, placement("CATS", 3, 7, kAcross, 12, "ER"), "");
  EXPECT_EQ(capture.lines(), std::vector<std::string>{kCats + "  [ER]"});
  PrintMoveLine(game, 0, placement("CATS", 3, 7, kAcross, 12, "ER"), "", true);
  EXPECT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(moveListing().remaining(), 1u);
  EXPECT_TRUE(moveListing().showNextPage());
  EXPECT_EQ(capture.lines(), (std::vector<std::string>{kCats + "  [ER]", kCats + "  [ER]"}));
  EXPECT_FALSE(moveListing().hasMore());
}

TEST(MoveListingPages, TwentyLinesAPageThenTheContinuationLine) {
  test::StateGuard guard;
  SetUILang(kEnglish);
  TextPane pane;
  MoveListing listing;
  EXPECT_FALSE(listing.showNextPage(pane));
  for (int i = 0; i < 45; ++i) listing.add(FormatText("line %d", i));
  EXPECT_EQ(listing.remaining(), 45u);

  ASSERT_TRUE(listing.showNextPage(pane));
  std::vector<std::string> lines = pane.Lines();
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines.front(), "line 0");
  EXPECT_EQ(lines[19], "line 19");
  EXPECT_EQ(lines[20], "Type 'y' to see more moves.");
  EXPECT_EQ(listing.remaining(), 25u);

  ASSERT_TRUE(listing.showNextPage(pane));
  lines = pane.Lines();
  ASSERT_EQ(lines.size(), 42u);
  EXPECT_EQ(lines[21], "line 20");
  EXPECT_EQ(lines[41], "Type 'y' to see more moves.");

  // The last five: no continuation line.
  ASSERT_TRUE(listing.showNextPage(pane));
  lines = pane.Lines();
  ASSERT_EQ(lines.size(), 47u);
  EXPECT_EQ(lines.back(), "line 44");
  EXPECT_FALSE(listing.hasMore());
  EXPECT_FALSE(listing.showNextPage(pane));
  EXPECT_EQ(pane.LineCount(), 47u);

  // A line added after the end starts a new listing.
  listing.add("new");
  EXPECT_EQ(listing.remaining(), 1u);
  ASSERT_TRUE(listing.showNextPage(pane));
  EXPECT_EQ(pane.LastLine(), "new");
}

TEST(MoveListingPages, ExactlyOnePageHasNoContinuation) {
  test::StateGuard guard;
  SetUILang(kPigLatin);
  TextPane pane;
  MoveListing listing;
  for (int i = 0; i < 20; ++i) listing.add(FormatText("m%d", i));
  listing.showNextPage(pane);
  EXPECT_EQ(pane.LineCount(), 20u);
  EXPECT_EQ(pane.LastLine(), "m19");
  // One more line: the continuation in the UI language.
  listing.clear();
  for (int i = 0; i < 21; ++i) listing.add(FormatText("m%d", i));
  listing.showNextPage(pane);
  EXPECT_EQ(pane.LastLine(), "Ypetay 'y' otay eesay oremay ovesmay.");
  // clear() drops what was not shown.
  listing.clear();
  EXPECT_FALSE(listing.hasMore());
  EXPECT_FALSE(listing.showNextPage(pane));
}

TEST(TileDisplayTexts, MultiLetterTilesWrittenOut) {
  test::StateGuard guard;
  setWordListAlphabet(kAlphabetEnglish);
  ASSERT_TRUE(activateGameType(kKindStandard));
  EXPECT_EQ(tileDisplayText(0), "A");
  EXPECT_EQ(tileDisplayText(25), "Z");
  EXPECT_EQ(tileDisplayText(rules().blankCode), "?");
  setWordListAlphabet(kAlphabetSpanish);
  setAlphabetCounts(kAlphabetSpanish);
  EXPECT_EQ(tileDisplayText(27), "CH");
  EXPECT_EQ(tileDisplayText(22), "LL");
  EXPECT_EQ(tileDisplayText(10), "RR");
  EXPECT_EQ(tileDisplayText(26), "\xD1");
  EXPECT_EQ(tileDisplayText(28), "?");
  setWordListAlphabet(kAlphabetCatalan);
  setAlphabetCounts(kAlphabetCatalan);
  EXPECT_EQ(tileDisplayText(16), "QU");
  EXPECT_EQ(tileDisplayText(22), "L\xB7L");
  EXPECT_EQ(tileDisplayText(24), "NY");
  EXPECT_EQ(tileDisplayText(10), "\xC7");
}

}  // namespace
}  // namespace pexil
