// Moves made on the board by hand: the cursor, typing (with the two-letter
// tiles of Spanish and Catalan), dragging, the move the laid tiles make
// checked against the move generator, the displayed rack and its shuffle,
// and forgetting it all when the game moves on.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "board_entry.hpp"
#include "movegen/move_line.hpp"
#include "pane_click.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "ui_test_support.hpp"

namespace pexil::ui {
namespace {

constexpr int kSpanishType = 6;
constexpr int kCatalanType = 11;

// The rack of the player to move, replaced by these tiles ('?' a blank)
// from the well, the other racks drawn again after it.
void giveRack(Game& game, const char* tiles) {
  for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  ASSERT_EQ(addLetters(rack, tiles, &game.bag), static_cast<int>(std::string(tiles).size()));
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) drawTiles(game.racks[static_cast<std::size_t>(p)], game.bag, rules().rackSize, &game.random);
  }
}

// A game of a game type on one of the sample word lists of tests/data,
// the board empty.
Game gameOnList(int type, const char* list, unsigned seed) {
  Game game = test::seededPosition(type, seed, false);
  static std::map<std::string, std::shared_ptr<Lexicon>> loaded;
  auto& lexicon = loaded[list];
  if (!lexicon) {
    lexicon = std::make_shared<Lexicon>();
    lexicon->loadLeaves = false;
    lexicon->loadWinProb = false;
    lexicon->useGraphFile = false;
    lexicon->useBinaryFile = false;
    EXPECT_TRUE(loadWordListWithTables(*lexicon, std::string(PEXIL_TEST_DATA "/lexicon/") + list));
  }
  setWordListAlphabet(gameType(type).alphabet);
  setProgramSeed(seed);
  Game fresh;
  startGame(fresh, 2, lexicon);
  return fresh;
}

std::vector<Move> legalMoves(const Game& game) {
  Game copy(game);
  copy.quiet = true;
  GenerateMoves(copy, Generation::fullList);
  return activeList(copy);
}

bool sameMove(const Move& a, const Move& b) {
  return a.column == b.column && a.row == b.row && a.direction == b.direction && a.wordView() == b.wordView() &&
         a.blankPositions == b.blankPositions;
}

// The squares of a move's word that are empty on the board, with the word
// index of each.
struct NewTile {
  int column, row, index;
};
std::vector<NewTile> newTiles(const Game& game, const Move& move) {
  std::vector<NewTile> tiles;
  const int n = static_cast<int>(move.wordView().size());
  for (int k = 0; k < n; ++k) {
    const int column = move.column + (move.direction == kAcross ? k : 0);
    const int row = move.row + (move.direction == kAcross ? 0 : k);
    if (squareAt(game.board, column, row)->empty()) tiles.push_back({column, row, k});
  }
  return tiles;
}

// Lays a move's new tiles by dragging them from the displayed rack, in the
// given order of its tiles.
bool dragMove(BoardEntry& entry, const Game& game, const Move& move, bool reversed) {
  std::vector<NewTile> tiles = newTiles(game, move);
  if (reversed) std::reverse(tiles.begin(), tiles.end());
  for (const NewTile& tile : tiles) {
    const char letter = move.word[tile.index];
    const bool blank = move.isBlankAt(tile.index);
    const std::vector<char> rack = entry.displayedRack(game, game.toMove);
    const char wanted = blank ? '?' : charOfUpper(codeOfLetter(letter));
    const auto slot = std::find(rack.begin(), rack.end(), wanted);
    if (slot == rack.end()) return false;
    if (!entry.placeFromRack(game, static_cast<int>(slot - rack.begin()), tile.column, tile.row, blank ? letter : 0)) {
      return false;
    }
  }
  return true;
}

std::string text(const std::vector<char>& tiles) { return std::string(tiles.begin(), tiles.end()); }

TEST(UiBoardEntry, CursorMovesToTheNearestEmptySquare) {
  test::StateGuard guard;
  const Game game = test::seededPosition(0, 2024);
  BoardEntry entry;
  // QUARTZ lies across row 8 from column F (5..10, row 7).
  entry.setCursor(game, 3, 7);
  ASSERT_TRUE(entry.cursor());
  entry.moveCursor(game, 1, 0);
  EXPECT_EQ(entry.cursor()->column, 4);
  entry.moveCursor(game, 1, 0);
  EXPECT_EQ(entry.cursor()->column, 11);
  EXPECT_EQ(entry.cursor()->row, 7);
  entry.moveCursor(game, -1, 0);
  EXPECT_EQ(entry.cursor()->column, 4);
  // Up and down the column of BOXED (column 5, rows 6..10) and QUARTZ.
  entry.setCursor(game, 5, 3);
  entry.moveCursor(game, 0, 1);
  EXPECT_EQ(entry.cursor()->row, 4);
  entry.moveCursor(game, 0, 1);
  EXPECT_EQ(entry.cursor()->row, 5);
  entry.moveCursor(game, 0, 1);
  EXPECT_EQ(entry.cursor()->row, 11);
  // At the edge it stays.
  entry.setCursor(game, 0, 0);
  entry.moveCursor(game, -1, 0);
  entry.moveCursor(game, 0, -1);
  EXPECT_EQ(entry.cursor()->column, 0);
  EXPECT_EQ(entry.cursor()->row, 0);
  // Off the board: no cursor.
  entry.setCursor(game, 15, 0);
  EXPECT_FALSE(entry.cursor());
  entry.setCursor(game, -1, 3);
  EXPECT_FALSE(entry.cursor());
}

TEST(UiBoardEntry, TypingLaysTilesInTheTypingDirectionOverTheBoardsTiles) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "STONEAB");
  BoardEntry entry;
  entry.setCursor(game, 0, 0);
  ASSERT_FALSE(entry.cursor()->down);
  EXPECT_TRUE(entry.typeLetter(game, 'n'));
  EXPECT_TRUE(entry.typeLetter(game, 'O'));
  ASSERT_EQ(entry.laid().size(), 2u);
  EXPECT_EQ(entry.laid()[0].column, 0);
  EXPECT_EQ(entry.laid()[1].column, 1);
  EXPECT_EQ(entry.laid()[1].letter, 'O');
  EXPECT_FALSE(entry.laid()[1].blank);
  EXPECT_EQ(entry.cursor()->column, 2);
  entry.toggleDirection();
  EXPECT_TRUE(entry.cursor()->down);
  EXPECT_TRUE(entry.typeLetter(game, 't'));
  EXPECT_EQ(entry.laid().back().column, 2);
  EXPECT_EQ(entry.laid().back().row, 0);
  EXPECT_EQ(entry.cursor()->column, 2);
  EXPECT_EQ(entry.cursor()->row, 1);
  // Across row 8 from column E: the next letter goes after QUARTZ.
  entry.recall();
  entry.toggleDirection();
  entry.setCursor(game, 4, 7);
  EXPECT_TRUE(entry.typeLetter(game, 'a'));
  EXPECT_EQ(entry.cursor()->column, 11);
  EXPECT_TRUE(entry.typeLetter(game, 's'));
  EXPECT_EQ(entry.laid().back().column, 11);
  EXPECT_EQ(entry.laid().back().row, 7);
  // A cursor on an occupied square lays on the next empty one.
  entry.recall();
  entry.setCursor(game, 6, 7);
  EXPECT_TRUE(entry.typeLetter(game, 'b'));
  EXPECT_EQ(entry.laid().back().column, 11);
  // Without a cursor nothing is typed.
  entry.recall();
  entry.clearCursor();
  EXPECT_FALSE(entry.typeLetter(game, 'a'));
  EXPECT_TRUE(entry.laid().empty());
}

TEST(UiBoardEntry, TypingTakesABlankWhenTheLetterIsOutAndRefusesWhatTheRackCannotLay) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "EE?");
  BoardEntry entry;
  entry.setCursor(game, 0, 0);
  EXPECT_TRUE(entry.typeLetter(game, 'e'));
  EXPECT_TRUE(entry.typeLetter(game, 'e'));
  EXPECT_TRUE(entry.typeLetter(game, 'e'));
  ASSERT_EQ(entry.laid().size(), 3u);
  EXPECT_FALSE(entry.laid()[0].blank);
  EXPECT_FALSE(entry.laid()[1].blank);
  EXPECT_TRUE(entry.laid()[2].blank);
  EXPECT_EQ(entry.laid()[2].letter, 'E');
  EXPECT_FALSE(entry.typeLetter(game, 'e'));
  EXPECT_TRUE(entry.displayedRack(game, game.toMove).empty());
  entry.recall();
  giveRack(game, "AB");
  entry.setCursor(game, 0, 0);
  EXPECT_FALSE(entry.typeLetter(game, 'z'));
  EXPECT_FALSE(entry.typeLetter(game, '?'));
  EXPECT_FALSE(entry.typeLetter(game, '5'));
  EXPECT_TRUE(entry.laid().empty());
  EXPECT_TRUE(entry.typeLetter(game, 'B'));
  EXPECT_EQ(entry.laid().size(), 1u);
}

TEST(UiBoardEntry, SpanishPairsOfLettersMakeTheTwoLetterTiles) {
  test::StateGuard guard;
  Game game = gameOnList(kSpanishType, "spanish_sample.lst", 7);
  ASSERT_EQ(wordListAlphabet(), kAlphabetSpanish);
  giveRack(game, "12L3ROC");  // CH LL L RR R O C
  BoardEntry entry;
  entry.setCursor(game, 3, 7);
  for (char c : std::string("chllrr")) EXPECT_TRUE(entry.typeLetter(game, c)) << c;
  ASSERT_EQ(entry.laid().size(), 3u);
  EXPECT_EQ(entry.laid()[0].letter, '1');
  EXPECT_EQ(entry.laid()[1].letter, '2');
  EXPECT_EQ(entry.laid()[2].letter, '3');
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(entry.laid()[static_cast<std::size_t>(k)].column, 3 + k);
    EXPECT_FALSE(entry.laid()[static_cast<std::size_t>(k)].blank);
  }
  EXPECT_EQ(entry.cursor()->column, 6);
  // The single letters went back to the rack.
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "CLOR");
  // A plain "c" then "o": two tiles.
  EXPECT_TRUE(entry.typeLetter(game, 'c'));
  EXPECT_TRUE(entry.typeLetter(game, 'o'));
  EXPECT_EQ(entry.laid().size(), 5u);
  // "k" and "w" are no Spanish tiles (the code tables read them as RR, LL).
  EXPECT_FALSE(entry.typeLetter(game, 'k'));
  EXPECT_FALSE(entry.typeLetter(game, 'w'));

  // No LL tile and no blank: "ll" stays two L tiles; with a blank the pair
  // becomes a blank LL.
  entry.recall();
  giveRack(game, "LLA");
  entry.setCursor(game, 3, 7);
  EXPECT_TRUE(entry.typeLetter(game, 'l'));
  EXPECT_TRUE(entry.typeLetter(game, 'l'));
  ASSERT_EQ(entry.laid().size(), 2u);
  EXPECT_EQ(entry.laid()[1].letter, 'L');
  entry.recall();
  giveRack(game, "L?A");
  entry.setCursor(game, 3, 7);
  EXPECT_TRUE(entry.typeLetter(game, 'l'));
  EXPECT_TRUE(entry.typeLetter(game, 'l'));
  ASSERT_EQ(entry.laid().size(), 1u);
  EXPECT_EQ(entry.laid()[0].letter, '2');
  EXPECT_TRUE(entry.laid()[0].blank);
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "AL");
  // Ñ typed as itself.
  giveRack(game, "\xD1" "A");
  entry.setCursor(game, 3, 7);
  EXPECT_TRUE(entry.typeLetter(game, '\xF1'));
  ASSERT_EQ(entry.laid().size(), 1u);
  EXPECT_EQ(entry.laid()[0].letter, '\xD1');
}

TEST(UiBoardEntry, CatalanMiddleDotMakesTheLLTile) {
  test::StateGuard guard;
  Game game = gameOnList(kCatalanType, "catalan_sample.lst", 7);
  ASSERT_EQ(wordListAlphabet(), kAlphabetCatalan);
  giveRack(game, "LWLWNYQ");  // L, L·L, L, L·L, N, NY, QU
  BoardEntry entry;
  entry.setCursor(game, 2, 7);
  for (char c : std::string("l\xB7l")) EXPECT_TRUE(entry.typeLetter(game, c));
  ASSERT_EQ(entry.laid().size(), 1u);
  EXPECT_EQ(entry.laid()[0].letter, 'W');
  for (char c : std::string("l.l")) EXPECT_TRUE(entry.typeLetter(game, c));
  ASSERT_EQ(entry.laid().size(), 2u);
  EXPECT_EQ(entry.laid()[1].letter, 'W');
  EXPECT_EQ(entry.laid()[1].column, 3);
  // "ny" is the NY tile, "qu" the QU tile.
  for (char c : std::string("nyqu")) EXPECT_TRUE(entry.typeLetter(game, c));
  ASSERT_EQ(entry.laid().size(), 4u);
  EXPECT_EQ(entry.laid()[2].letter, 'Y');
  EXPECT_EQ(entry.laid()[3].letter, 'Q');
  EXPECT_EQ(entry.cursor()->column, 6);
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "LLN");
  // Two plain L tiles stay two tiles (Catalan writes them so).
  for (char c : std::string("ll")) EXPECT_TRUE(entry.typeLetter(game, c));
  EXPECT_EQ(entry.laid().size(), 6u);
  EXPECT_EQ(entry.laid()[5].letter, 'L');
}

TEST(UiBoardEntry, LaidMovesAreTheGeneratorsMovesWithTheirScores) {
  test::StateGuard guard;
  for (const unsigned seed : {2024u, 77u}) {
    Game game = test::seededPosition(0, seed);
    giveRack(game, seed == 2024 ? "AEIRST?" : "DGNOU?E");
    const std::vector<Move> moves = legalMoves(game);
    ASSERT_GT(moves.size(), 30u);
    int checked = 0, singles = 0, blanks = 0;
    for (const Move& move : moves) {
      if (isNonPlacement(move)) continue;
      const bool single = newTiles(game, move).size() == 1;
      if (checked >= 60 && !(single && singles < 5)) continue;
      SCOPED_TRACE(std::string(move.wordView()) + " " + std::to_string(move.column) + "," + std::to_string(move.row));
      BoardEntry entry;
      ASSERT_TRUE(dragMove(entry, game, move, checked % 2 == 1));
      std::string why;
      const auto laid = entry.laidMove(game, &why);
      ASSERT_TRUE(laid.has_value()) << why;
      EXPECT_TRUE(why.empty());
      const auto listed = std::find_if(moves.begin(), moves.end(), [&](const Move& m) { return sameMove(m, *laid); });
      ASSERT_NE(listed, moves.end());
      EXPECT_EQ(listed->score, laid->score);
      EXPECT_EQ(laid->score, move.score);
      EXPECT_EQ(laid->wordView(), move.wordView());
      EXPECT_EQ(laid->wordClass, move.wordClass);
      EXPECT_EQ(std::string(laid->leaveView()), std::string(move.leaveView()));
      ++checked;
      singles += single ? 1 : 0;
      blanks += move.blankPositions[0] >= 0 ? 1 : 0;
    }
    EXPECT_GE(checked, 60);
    EXPECT_GT(singles, 0);
    EXPECT_GT(blanks, 0);
  }
}

TEST(UiBoardEntry, TypedSpanishMovesWithTwoLetterTilesAreLegalMoves) {
  test::StateGuard guard;
  Game game = gameOnList(kSpanishType, "spanish_sample.lst", 11);
  giveRack(game, "PO2OAC1");  // P O LL O A C CH: POLLO, CHA ...
  const std::vector<Move> moves = legalMoves(game);
  int checked = 0;
  for (const Move& move : moves) {
    if (isNonPlacement(move) || move.wordView().find_first_of("123") == std::string_view::npos) continue;
    SCOPED_TRACE(std::string(move.wordView()));
    // Typed as a player writes it: "ll", "ch" spelled out.
    std::string spelled;
    for (char c : move.wordView()) spelled += c == '1' ? "ch" : c == '2' ? "ll" : c == '3' ? "rr" : std::string(1, c);
    BoardEntry entry;
    entry.setCursor(game, move.column, move.row);
    if (move.direction == kDown) entry.toggleDirection();
    for (char c : spelled) ASSERT_TRUE(entry.typeLetter(game, c)) << c;
    ASSERT_EQ(entry.laid().size(), move.wordView().size());
    std::string why;
    const auto laid = entry.laidMove(game, &why);
    ASSERT_TRUE(laid.has_value()) << why;
    EXPECT_TRUE(sameMove(*laid, move));
    EXPECT_EQ(laid->score, move.score);
    ++checked;
  }
  EXPECT_GT(checked, 3);
}

// A click on a move line with two-letter tiles looks the word up as it is
// written: "POLLO", not its one-character form.
TEST(UiPaneClick, SpanishMoveLineWordsAreWrittenOut) {
  test::StateGuard guard;
  Game game = gameOnList(kSpanishType, "spanish_sample.lst", 11);
  giveRack(game, "PO2OAC1");
  const std::vector<Move> moves = legalMoves(game);
  const auto pollo = std::find_if(moves.begin(), moves.end(), [](const Move& m) { return m.wordView() == "po2o"; });
  ASSERT_NE(pollo, moves.end());
  const PaneLineRead read = ReadPaneLine(&game, MoveLine(game, game.toMove, *pollo, std::string()));
  EXPECT_EQ(read.kind, PaneLineKind::move);
  EXPECT_EQ(read.word, "POLLO");
}

TEST(UiBoardEntry, TypedCatalanMoveWithTheLLTileIsALegalMove) {
  test::StateGuard guard;
  Game game = gameOnList(kCatalanType, "catalan_sample.lst", 11);
  // A word of the list with L·L, laid from its letters.
  const Lexicon& lexicon = *game.lexicon;
  std::string word;
  for (int e = 0; e < lexicon.wordCount() && word.empty(); ++e) {
    const std::string_view w = lexicon.textView(e);
    if (w.size() >= 4 && w.size() <= 7 && w.find('w') != std::string_view::npos && lexicon.entry(e).wordClass != kClassPhony) {
      word = std::string(w);
    }
  }
  ASSERT_FALSE(word.empty());
  SCOPED_TRACE(word);
  std::string tiles;
  for (char c : word) tiles += latin1Upper(c);
  giveRack(game, tiles.c_str());
  BoardEntry entry;
  entry.setCursor(game, rules().startColumn, rules().startRow);
  for (char c : word) {
    if (c == 'w') {
      for (char t : std::string("l\xB7l")) ASSERT_TRUE(entry.typeLetter(game, t));
    } else if (c == 'y') {
      ASSERT_TRUE(entry.typeLetter(game, 'n'));
      ASSERT_TRUE(entry.typeLetter(game, 'y'));
    } else if (c == 'q') {
      ASSERT_TRUE(entry.typeLetter(game, 'q'));
      ASSERT_TRUE(entry.typeLetter(game, 'u'));
    } else {
      ASSERT_TRUE(entry.typeLetter(game, c)) << c;
    }
  }
  std::string why;
  const auto laid = entry.laidMove(game, &why);
  ASSERT_TRUE(laid.has_value()) << why;
  EXPECT_EQ(laid->wordView(), word);
  const std::vector<Move> moves = legalMoves(game);
  const auto listed = std::find_if(moves.begin(), moves.end(), [&](const Move& m) { return sameMove(m, *laid); });
  ASSERT_NE(listed, moves.end());
  EXPECT_EQ(listed->score, laid->score);
}

TEST(UiBoardEntry, LayoutsThatMakeNoMoveSayWhy) {
  test::StateGuard guard;
  SetUILang(kEnglish);
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "AEIRSTN");
  BoardEntry entry;
  std::string why;
  EXPECT_FALSE(entry.laidMove(game, &why));
  EXPECT_EQ(why, "No tiles are laid on the board.");
  // Not in one line.
  ASSERT_TRUE(entry.placeFromRack(game, 0, 11, 7));
  ASSERT_TRUE(entry.placeFromRack(game, 0, 12, 8));
  EXPECT_FALSE(entry.laidMove(game, &why));
  EXPECT_EQ(why, "The tiles laid on the board are not in one row or column.");
  // A gap: row 8 after QUARTZ, columns L and N.
  entry.recall();
  ASSERT_TRUE(entry.placeFromRack(game, 0, 11, 7));
  ASSERT_TRUE(entry.placeFromRack(game, 0, 13, 7));
  EXPECT_FALSE(entry.laidMove(game, &why));
  EXPECT_EQ(why, "The tiles laid on the board leave a gap at M8.");
  // Away from every tile.
  entry.recall();
  ASSERT_TRUE(entry.placeFromRack(game, 0, 0, 0));
  ASSERT_TRUE(entry.placeFromRack(game, 0, 1, 0));
  EXPECT_FALSE(entry.laidMove(game, &why));
  EXPECT_EQ(why, "The tiles laid on the board do not touch any tile already there.");
  // The first move off the start square, and a single tile on an empty board.
  Game empty = test::seededPosition(0, 2024, false);
  giveRack(empty, "AEIRSTN");
  BoardEntry first;
  ASSERT_TRUE(first.placeFromRack(empty, 0, 2, 2));
  ASSERT_TRUE(first.placeFromRack(empty, 0, 3, 2));
  EXPECT_FALSE(first.laidMove(empty, &why));
  EXPECT_EQ(why, "The first word must cover the start square H8.");
  first.recall();
  ASSERT_TRUE(first.placeFromRack(empty, 0, 7, 7));
  EXPECT_FALSE(first.laidMove(empty, &why));
  EXPECT_EQ(why, "A word has at least two letters.");
  // In Catalan.
  SetUILang(kCatalan);
  first.recall();
  ASSERT_TRUE(first.placeFromRack(empty, 0, 2, 2));
  ASSERT_TRUE(first.placeFromRack(empty, 0, 3, 2));
  EXPECT_FALSE(first.laidMove(empty, &why));
  EXPECT_EQ(why, "El primer mot ha de cobrir la casella inicial H8.");
}

TEST(UiBoardEntry, APhonyIsGivenScoredAndMarked) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024, false);
  giveRack(game, "XQAEIOU");
  BoardEntry entry;
  // XQ over the start square (double word) and the plain square after it.
  ASSERT_TRUE(entry.placeFromRack(game, 4, 8, 7));  // Q of AEIOQUX
  ASSERT_TRUE(entry.placeFromRack(game, 5, 7, 7));  // X of AEIOUX
  std::string why;
  const auto move = entry.laidMove(game, &why);
  ASSERT_TRUE(move.has_value()) << why;
  EXPECT_EQ(move->wordView(), "xq");
  EXPECT_EQ(move->column, 7);
  EXPECT_EQ(move->row, 7);
  EXPECT_EQ(move->direction, kAcross);
  EXPECT_EQ(move->wordClass, kClassPhony);
  EXPECT_EQ(move->score, (8 + 10) * 2);
  EXPECT_EQ(std::string(move->leaveView()), "AEIOU");
  const std::vector<Move> moves = legalMoves(game);
  EXPECT_TRUE(std::none_of(moves.begin(), moves.end(), [&](const Move& m) { return sameMove(m, *move); }));
  // Played, it scores what it said.
  Move played = *move;
  const int before = game.scores[static_cast<std::size_t>(game.toMove)];
  const int mover = game.toMove;
  PlayMove(game, played);
  EXPECT_EQ(game.scores[static_cast<std::size_t>(mover)], before + 36);
}

TEST(UiBoardEntry, TakingBackRecallingAndDraggingBack) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "CATS");
  BoardEntry entry;
  entry.setCursor(game, 0, 1);
  entry.toggleDirection();
  for (char c : std::string("cat")) ASSERT_TRUE(entry.typeLetter(game, c));
  EXPECT_EQ(entry.cursor()->row, 4);
  EXPECT_TRUE(entry.takeBackLast());
  ASSERT_EQ(entry.laid().size(), 2u);
  EXPECT_EQ(entry.cursor()->column, 0);
  EXPECT_EQ(entry.cursor()->row, 3);
  EXPECT_TRUE(entry.cursor()->down);
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "ST");
  // A laid tile dragged to another square, and back to the rack.
  EXPECT_FALSE(entry.moveLaid(game, 0, 1, 0, 2));  // taken by the A
  EXPECT_FALSE(entry.moveLaid(game, 0, 1, 5, 7));  // a tile of the board
  EXPECT_TRUE(entry.moveLaid(game, 0, 1, 14, 14));
  ASSERT_NE(entry.laidAt(14, 14), nullptr);
  EXPECT_EQ(entry.laidAt(14, 14)->letter, 'C');
  EXPECT_TRUE(entry.returnToRack(14, 14));
  EXPECT_FALSE(entry.returnToRack(14, 14));
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "CST");
  // Dropping on a taken square or off the board changes nothing.
  EXPECT_FALSE(entry.placeFromRack(game, 0, 0, 2));
  EXPECT_FALSE(entry.placeFromRack(game, 0, 5, 7));
  EXPECT_FALSE(entry.placeFromRack(game, 0, 15, 0));
  EXPECT_FALSE(entry.placeFromRack(game, 3, 1, 1));  // no fourth tile shown
  entry.recall();
  EXPECT_TRUE(entry.laid().empty());
  EXPECT_FALSE(entry.takeBackLast());
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "ACST");
  // A blank needs its letter.
  giveRack(game, "?");
  EXPECT_FALSE(entry.placeFromRack(game, 0, 1, 1));
  EXPECT_FALSE(entry.placeFromRack(game, 0, 1, 1, '?'));
  EXPECT_TRUE(entry.placeFromRack(game, 0, 1, 1, 'e'));
  EXPECT_EQ(entry.laidAt(1, 1)->letter, 'E');
  EXPECT_TRUE(entry.laidAt(1, 1)->blank);
}

TEST(UiBoardEntry, TheDisplayedRackKeepsItsShuffledOrderWithoutTheLaidTiles) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024);
  giveRack(game, "ABCDEF?");
  BoardEntry entry;
  entry.sync(game);
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "ABCDEF?");
  entry.shuffle(5);
  const std::string shuffled = text(entry.displayedRack(game, game.toMove));
  std::string sorted = shuffled;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, "?ABCDEF");
  // The same seed gives the same order; some seed another.
  BoardEntry again;
  again.sync(game);
  again.shuffle(5);
  EXPECT_EQ(text(again.displayedRack(game, game.toMove)), shuffled);
  std::set<std::string> orders;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    BoardEntry other;
    other.sync(game);
    other.shuffle(seed);
    orders.insert(text(other.displayedRack(game, game.toMove)));
  }
  EXPECT_GT(orders.size(), 3u);
  // Laying a tile takes it out where it was; the others keep their order.
  const int slot = static_cast<int>(shuffled.find('C'));
  ASSERT_TRUE(entry.placeFromRack(game, slot, 0, 0));
  std::string without = shuffled;
  without.erase(static_cast<std::size_t>(slot), 1);
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), without);
  // A shuffle with a tile laid keeps the tile laid and off the rack.
  entry.shuffle(9);
  const std::string reshuffled = text(entry.displayedRack(game, game.toMove));
  EXPECT_EQ(reshuffled.size(), 6u);
  EXPECT_EQ(reshuffled.find('C'), std::string::npos);
  entry.recall();
  EXPECT_EQ(entry.displayedRack(game, game.toMove).size(), 7u);
  // The other player's rack shows in letter order.
  const int other = 1 - game.toMove;
  std::string expected;
  const Rack& rack = game.racks[static_cast<std::size_t>(other)];
  for (int code = 0; code < rules().codeCount; ++code) expected += std::string(static_cast<std::size_t>(rack[code]), charOfUpper(code));
  EXPECT_EQ(text(entry.displayedRack(game, other)), expected);
  EXPECT_TRUE(entry.displayedRack(game, 5).empty());
}

TEST(UiBoardEntry, SyncForgetsTheEntryWhenTheGameMovesOn) {
  test::StateGuard guard;
  Game game = test::seededPosition(0, 2024, false);
  giveRack(game, "AEIRST?");
  BoardEntry entry;
  entry.setCursor(game, 7, 7);
  ASSERT_TRUE(entry.typeLetter(game, 's'));
  entry.shuffle(3);
  const std::string order = text(entry.displayedRack(game, game.toMove));
  // Nothing changed: all stays.
  entry.sync(game);
  EXPECT_EQ(entry.laid().size(), 1u);
  EXPECT_TRUE(entry.cursor());
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), order);
  // Another rack (set by hand): the entry goes.
  giveRack(game, "AEIRSTU");
  entry.sync(game);
  EXPECT_TRUE(entry.laid().empty());
  EXPECT_FALSE(entry.cursor());
  EXPECT_EQ(text(entry.displayedRack(game, game.toMove)), "AEIRSTU");
  // A move played: the entry goes, the next rack shows in letter order.
  entry.setCursor(game, 7, 7);
  ASSERT_TRUE(entry.typeLetter(game, 'a'));
  ASSERT_TRUE(entry.typeLetter(game, 't'));
  const auto move = entry.laidMove(game);
  ASSERT_TRUE(move.has_value());
  game.quiet = true;
  PlayMove(game, *move);
  entry.sync(game);
  EXPECT_TRUE(entry.laid().empty());
  EXPECT_FALSE(entry.cursor());
  EXPECT_FALSE(entry.laidMove(game));
  // A tile put on a laid tile's square in place ends the entry too.
  entry.setCursor(game, 0, 0);
  giveRack(game, "A");
  entry.sync(game);
  entry.setCursor(game, 0, 0);
  ASSERT_TRUE(entry.typeLetter(game, 'a'));
  ASSERT_TRUE(entry.laidAt(0, 0) != nullptr);
  test::lay(game, "z", 0, 0, false);
  entry.sync(game);
  EXPECT_TRUE(entry.laid().empty());
}

}  // namespace
}  // namespace pexil::ui
