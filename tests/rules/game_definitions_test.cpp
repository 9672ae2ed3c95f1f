// The game.definitions reader: keywords, bonus, tile and board lines, the
// checks at "GameEnd", warnings and fatal errors, hostile input, and the
// definitions file shipped with the program.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

using test::readDefinitionsText;
using test::StateGuard;
using Lines = std::vector<std::string>;

// The pane lines that printing these texts one after another yields: line
// ends become spaces and texts longer than 60 columns are wrapped.
Lines shown(std::initializer_list<std::string> texts) {
  Lines lines;
  for (const std::string& text : texts) {
    for (std::string& piece : TextPane::WrapPieces(text, true)) lines.push_back(std::move(piece));
  }
  return lines;
}

std::string warning(const std::string& game, const std::string& text) {
  return "Warning: Syntax error in game \"" + game + "\" " + text;
}

std::string errorIn(const std::string& game) { return "(Error in game description \"" + game + "\")\n"; }

// A valid 3x3 game type; `extra` lines come after the board, before "GameEnd".
std::string game(const std::string& name, const std::string& extra = "") {
  return "Game \"" + name + "\"\n"
         "boardsize 3 3\n"
         "bonus none . B4D4DC\n"
         "bonus 2ws * FC98D4\n"
         "board\n"
         "...\n"
         ".*.\n"
         "...\n"
         "racksize 7\n" +
         extra + "GameEnd\n";
}

// A game type with a board of `width` x `height` plain squares.
std::string sizedGame(const std::string& name, int width, int height) {
  std::string text = "Game \"" + name + "\"\nboardsize " + std::to_string(width) + " " + std::to_string(height) +
                     "\nbonus none . 000000\nboard\n";
  for (int row = 0; row < height; ++row) text += std::string(static_cast<std::size_t>(width), '.') + "\n";
  return text + "racksize 7\nGameEnd\n";
}

const char* const kNoBoard = "Invalid game description -- didn't set game board?\n";
const char* const kZeroBoard = "Invalid game description -- zero board dimensions\n";
const char* const kTooBig = "Invalid game description -- board is too big (maximum allowed side is 32 squares)\n";
const char* const kStartOff = "Invalid game description -- starting square is outside of the board?\n";
const char* const kRackSmall = "Invalid game description -- rack size too small\n";
const char* const kRackLarge = "Invalid game description -- rack size too large (maximum is 32)\n";
const char* const kTileRange =
    "Invalid game description -- tile count (0 to 10000) or value (-1000 to 1000) out of range\n";
const char* const kTooFew = "Invalid game description -- min players is too small!\n";
const char* const kMaxBelowMin = "Invalid game description -- max players < min players!\n";
const char* const kTooMany = "Invalid game description -- too many players (maximum is 16)\n";
const char* const kNoName = "Invalid game description -- no name for game!\n";

TEST(GameDefinitions, ShippedFileReadsCleanlyAndActivatesEveryType) {
  StateGuard guard;
  SetUILang(kEnglish);
  test::PaneCapture capture;
  readGameDefinitions(std::string(PEXIL_SOURCE_DIR "/data/game.definitions"));
  EXPECT_EQ(capture.lines(), Lines{});

  struct Expected {
    const char* name;
    int tiles;
    int alphabet;
    int blankCode;
  };
  const Expected expected[] = {
      {"Scrabble(R) - American English", 100, kAlphabetEnglish, 26},
      {"Scrabble(R) - International English", 100, kAlphabetEnglish, 26},
      {"Super 21x21 - English", 200, kAlphabetEnglish, 26},
      {"Anagram rule - English", 100, kAlphabetEnglish, 26},
      {"Open racks - English", 100, kAlphabetEnglish, 26},
      {"Lettered rows - English", 100, kAlphabetEnglish, 26},
      {"Scrabble(R) - Spanish", 100, kAlphabetSpanish, 28},
      {"Scrabble(R) - Danish", 100, kAlphabetDanish, 29},
      {"Scrabble(R) - French", 102, kAlphabetFrench, 26},
      {"Scrabble(R) - German", 102, kAlphabetGerman, 29},
      {"Scrabble(R) - Italian", 120, kAlphabetItalian, 26},
      {"Scrabble(R) - Catalan", 100, kAlphabetCatalan, 26},
      {"Scrabble(R) - Swedish", 100, kAlphabetSwedish, 29},
      {"Scrabble(R) - Latin", 100, kAlphabetLatin, 26},
  };
  ASSERT_EQ(gameTypeCount(), 14);
  for (int i = 0; i < 14; ++i) {
    const Expected& e = expected[i];
    const GameType& g = gameType(i);
    SCOPED_TRACE(e.name);
    EXPECT_EQ(g.name, e.name);
    EXPECT_EQ(g.tileTotal(), e.tiles);
    EXPECT_EQ(g.alphabet, e.alphabet);
    EXPECT_EQ(g.senyors, e.alphabet == kAlphabetCatalan);
    EXPECT_EQ(g.anagrams, i == 3);
    EXPECT_EQ(g.openRacks, i == 4);
    EXPECT_EQ(g.letteredRows, i == 5);

    ASSERT_TRUE(activateGameType(kKindDefined, i));
    const GameRules& r = rules();
    const int side = i == 2 ? 21 : 15;
    EXPECT_EQ(r.gameKind, kKindDefined);
    EXPECT_EQ(r.gameTypeIndex, i);
    EXPECT_EQ(r.rackSize, 7);
    EXPECT_EQ(r.bingoBonus, 50);
    EXPECT_EQ(r.width, side);
    EXPECT_EQ(r.height, side);
    EXPECT_EQ(r.maxSide, side);
    EXPECT_EQ(r.startColumn, side / 2);
    EXPECT_EQ(r.startRow, side / 2);
    EXPECT_EQ(r.tileTotal, e.tiles);
    EXPECT_EQ(r.blankCode, e.blankCode);
    EXPECT_EQ(r.letterCount, e.blankCode);
    EXPECT_EQ(r.codeCount, e.blankCode + 1);
    // The blanks are declared after the language line, at the blank code.
    EXPECT_EQ(tileCount(e.blankCode), i == 2 ? 4 : 2);
    EXPECT_EQ(squareType(side / 2, side / 2), square::doubleWord);
  }
  // The first type is the standard game on the standard board.
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  for (int row = 0; row < 15; ++row) {
    for (int column = 0; column < 15; ++column) {
      EXPECT_EQ(squareType(row, column), builtInSquareType(kKindStandard, row, column)) << row << "," << column;
    }
  }
  EXPECT_EQ(squarePrintChar(0, 0), '#');
  EXPECT_EQ(squareColor(0, 3), 0x00B6FC);
}

TEST(GameDefinitions, KeywordsSetTheirFields) {
  StateGuard guard;
  SetUILang(kEnglish);
  // A fresh record, with comments and blank lines around.
  EXPECT_EQ(readDefinitionsText("; a comment\n\n   \t\n;GameEnd\n" + game("Fresh") + "\n; done\n"), Lines{});
  ASSERT_EQ(gameTypeCount(), 1);
  {
    const GameType& g = gameType(0);
    EXPECT_EQ(g.name, "Fresh");
    EXPECT_EQ(g.minPlayers, 1);
    EXPECT_EQ(g.maxPlayers, 4);
    EXPECT_EQ(g.defaultWordList, "TWL06.LST");
    EXPECT_FALSE(g.phonyCheckList.has_value());
    EXPECT_FALSE(g.markPhonies || g.anagrams || g.openRacks || g.letteredRows || g.senyors);
    EXPECT_EQ(g.alphabet, kAlphabetEnglish);
    EXPECT_EQ(g.startColumn, 0);
    EXPECT_EQ(g.startRow, 0);
    EXPECT_EQ(g.rackSize, 7);
    EXPECT_EQ(g.bingoBonus, 0);
    EXPECT_EQ(g.minTilesExchange, 0);
    EXPECT_EQ(g.tileExtra[5], -1);
    EXPECT_EQ(g.tileTotal(), 0);
  }

  EXPECT_EQ(readDefinitionsText(game("All", "numplayers 2 6\nletteredrows\nsenyors\nopenracks\nanagrams\n"
                                            "defaultwordlist \"X.LST\" rest\nmarkphonies \"P.LST\"\n"
                                            "startsquare 1 2\nracksize 5\nbingobonus 35\nmintilesexchange 3\n")),
            Lines{});
  ASSERT_EQ(gameTypeCount(), 1);
  {
    const GameType& g = gameType(0);
    EXPECT_EQ(g.minPlayers, 2);
    EXPECT_EQ(g.maxPlayers, 6);
    EXPECT_TRUE(g.letteredRows && g.senyors && g.openRacks && g.anagrams && g.markPhonies);
    EXPECT_EQ(g.defaultWordList, "X.LST");
    EXPECT_EQ(g.phonyCheckList, "P.LST");
    EXPECT_EQ(g.startColumn, 1);
    EXPECT_EQ(g.startRow, 2);
    EXPECT_EQ(g.rackSize, 5);
    EXPECT_EQ(g.bingoBonus, 35);
    EXPECT_EQ(g.minTilesExchange, 3);
  }

  // numplayers with a missing number; boardsize and startsquare naming a 0
  // are ignored.
  auto players = [](const std::string& line, int min, int max, const Lines& printed) {
    SCOPED_TRACE(line);
    EXPECT_EQ(readDefinitionsText(game("P", line + "\n")), printed);
    ASSERT_EQ(gameTypeCount(), 1);
    EXPECT_EQ(gameType(0).minPlayers, min);
    EXPECT_EQ(gameType(0).maxPlayers, max);
  };
  const Lines noCount = shown({warning("P", "couldn't find number of players")});
  players("numplayers 3", 3, 4, noCount);
  players("numplayers 3x5", 3, 4, noCount);
  players("numplayers", 1, 4, noCount);
  players("numplayers  +2\t 9", 2, 9, {});

  EXPECT_EQ(readDefinitionsText(game("Z", "boardsize 0 5\nboardsize 5 0\n")), Lines{});
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).width, 3);
  EXPECT_EQ(gameType(0).height, 3);
  EXPECT_EQ(readDefinitionsText(game("S", "startsquare 0 2\nstartsquare 2 0\n")), Lines{});
  EXPECT_EQ(gameType(0).startColumn, 0);
  EXPECT_EQ(gameType(0).startRow, 0);
  EXPECT_EQ(readDefinitionsText(game("S", "startsquare 2 1\nstartsquare 0 2\n")), Lines{});
  EXPECT_EQ(gameType(0).startColumn, 2);
  EXPECT_EQ(gameType(0).startRow, 1);

  // markphonies without a quoted name still turns the marking on.
  EXPECT_EQ(readDefinitionsText(game("M", "markphonies CHECK.LST\n")),
            shown({warning("M", "couldn't find validating word list name as argument to \"markphonies\"?")}));
  EXPECT_TRUE(gameType(0).markPhonies);
  EXPECT_FALSE(gameType(0).phonyCheckList.has_value());

  // Language lines, in Latin-1 and in UTF-8 spelling; the blank follows.
  struct Language {
    const char* keyword;
    int alphabet;
    int blank;
  };
  const Language languages[] = {
      {"espa\xF1ol", kAlphabetSpanish, 28}, {"espa\xC3\xB1ol", kAlphabetSpanish, 28},
      {"dansk", kAlphabetDanish, 29},       {"fran\xE7" "ais", kAlphabetFrench, 26},
      {"fran\xC3\xA7" "ais", kAlphabetFrench, 26}, {"deutsch", kAlphabetGerman, 29},
      {"italia", kAlphabetItalian, 26},     {"latin", kAlphabetLatin, 26},
      {"catalan", kAlphabetCatalan, 26},    {"svenska", kAlphabetSwedish, 29},
  };
  for (const Language& l : languages) {
    SCOPED_TRACE(l.keyword);
    EXPECT_EQ(readDefinitionsText(game("L", std::string(l.keyword) + "\ntile ? 2 0 -1\n")), Lines{});
    ASSERT_EQ(gameTypeCount(), 1);
    EXPECT_EQ(gameType(0).alphabet, l.alphabet);
    EXPECT_EQ(gameType(0).tileCount[static_cast<std::size_t>(l.blank)], 2);
    EXPECT_EQ(gameType(0).tileTotal(), 2);
  }
  EXPECT_EQ(readDefinitionsText(game("L", "english\n")), shown({warning("L", "Syntax error: Unknown line")}));

  // The blank goes to the code of the language seen so far; every "Game"
  // line returns to English.
  EXPECT_EQ(readDefinitionsText(game("Before", "tile ? 2 0 -1\nespa\xF1ol\n") +
                                game("After", "espa\xF1ol\ntile ? 3 0 -1\n") + game("Next", "tile ? 4 0 -1\n")),
            Lines{});
  ASSERT_EQ(gameTypeCount(), 3);
  EXPECT_EQ(gameType(0).alphabet, kAlphabetSpanish);
  EXPECT_EQ(gameType(0).tileCount[26], 2);
  EXPECT_EQ(gameType(0).tileCount[28], 0);
  EXPECT_EQ(gameType(1).tileCount[28], 3);
  EXPECT_EQ(gameType(1).tileCount[26], 0);
  EXPECT_EQ(gameType(2).tileCount[26], 4);

  // "GameEnd" appends a copy: the working record lives on after it.
  EXPECT_EQ(readDefinitionsText(game("Twice") + "racksize 9\nGameEnd\n"), Lines{});
  ASSERT_EQ(gameTypeCount(), 2);
  EXPECT_EQ(gameType(0).rackSize, 7);
  EXPECT_EQ(gameType(1).rackSize, 9);
  EXPECT_EQ(gameType(1).name, "Twice");
}

TEST(GameDefinitions, BonusLines) {
  StateGuard guard;
  SetUILang(kEnglish);
  const std::string lines =
      "bonus 2ls : 00B6FC\n"
      "bonus 2ls :: 00B6FC\n"
      "bonus 3ls : 0000FF\n"
      "bonus 0ls z 000000\n"
      "bonus 1ws w 000001\n"
      "bonus NONE n 00000A\n"
      "bonus Empty e 0000FF\n"
      "bonus\t-2LS\tm\t123456\n"
      "bonus 19ls a ab cd ef\n"
      "bonus 20ls b 000000\n"
      "bonus -9ls c fedcba\n"
      "bonus -10ls d 000000\n"
      "bonus 99Ws f 010203\n"
      "bonus -99ws g 0a0b0c\n"
      "bonus 100ws h 000000\n"
      "bonus 2xs i 000000\n"
      "bonus ls j 000000\n"
      "bonus\n"
      "bonus 2ls\n"
      "bonus 2ls k\n"
      "bonus 2ls k   \n"
      "bonus 2ls k 12345\n"
      "bonus 2ls k #12-34-56 x\n"
      "bonus 2ls l 1234567\n";
  const std::string unknownType = warning("B", "unknown bonus square type");
  const std::string endOfLine = warning("B", "unexpected end of line");
  EXPECT_EQ(readDefinitionsText(game("B", lines)),
            shown({warning("B", "use only one character to represent a square"),
                   warning("B", "ambiguous representation of bonus squares"), unknownType, unknownType,
                   unknownType, unknownType, unknownType, unknownType, unknownType, endOfLine, endOfLine, endOfLine,
                   warning("B", "invalid square color")}));
  ASSERT_EQ(gameTypeCount(), 1);
  const GameType& g = gameType(0);
  EXPECT_EQ(g.squareTypes, (std::vector<SquareType>{0, 20, 2, 10, 0, 90000, -2, 19, -9, 990, -990, 2, 2}));
  EXPECT_EQ(g.squareSymbols,
            (std::vector<char>{'.', '*', ':', 'w', 'n', 'e', 'm', 'a', 'c', 'f', 'g', 'k', 'l'}));
  EXPECT_EQ(g.squareColors, (std::vector<int>{0xB4D4DC, 0xFC98D4, 0x00B6FC, 0x000001, 0x00000A, 0x0000FF, 0x123456,
                                              0xABCDEF, 0xFEDCBA, 0x010203, 0x0A0B0C, 0x123456, 0x123456}));
}

TEST(GameDefinitions, TileLines) {
  StateGuard guard;
  SetUILang(kEnglish);
  const std::string lines =
      "tile a 9 1 -1\n"
      "tile b 2 3 7\n"
      "tile A 3 2 5\n"
      "tile ch 1 5 -1\n"
      "tile % 1 1 1\n"
      "tile ~ 1 1 1\n"
      "tile \x7F 1 1 1\n"
      "tile c 1 2\n"
      "tile\n"
      "tile   d\t4   2  0\n";
  EXPECT_EQ(readDefinitionsText(game("T", lines)),
            shown({warning("T", "unknown letter or digraph for tile: c"),
                   warning("T", "unknown letter or digraph for tile: %"),
                   warning("T", "unknown letter or digraph for tile: \x7F"),
                   warning("T", "unexpected end of line in tile"), warning("T", "unexpected end of line in tile")}));
  ASSERT_EQ(gameTypeCount(), 1);
  const GameType& g = gameType(0);
  // The later line for a letter wins.
  EXPECT_EQ(g.tileCount[0], 3);
  EXPECT_EQ(g.tileValue[0], 2);
  EXPECT_EQ(g.tileExtra[0], 5);
  EXPECT_EQ(g.tileCount[1], 2);
  EXPECT_EQ(g.tileExtra[1], 7);
  EXPECT_EQ(g.tileCount[2], 0);  // neither "ch" nor the short line stored anything
  EXPECT_EQ(g.tileExtra[2], -1);
  EXPECT_EQ(g.tileCount[3], 4);
  EXPECT_EQ(g.tileExtra[3], 0);
  EXPECT_EQ(g.tileCount[29], 1);  // '~' is the last code a tile may have
  EXPECT_EQ(g.tileTotal(), 10);

  // Substitute characters and Latin-1 letters, also written in UTF-8.
  EXPECT_EQ(readDefinitionsText(game("Es", "espa\xF1ol\ntile 1 1 5 -1\ntile 2 1 8 -1\ntile 3 1 8 -1\n"
                                           "tile \xD1 1 8 -1\n") +
                                game("Utf", "espa\xF1ol\ntile \xC3\x91 2 9 -1\n") +
                                game("Da", "dansk\ntile \xC6 2 4 -1\ntile \xF8 3 4 -1\ntile \xC5 4 4 -1\n")),
            Lines{});
  ASSERT_EQ(gameTypeCount(), 3);
  EXPECT_EQ(gameType(0).tileValue[27], 5);  // CH
  EXPECT_EQ(gameType(0).tileCount[22], 1);  // LL
  EXPECT_EQ(gameType(0).tileCount[10], 1);  // RR
  EXPECT_EQ(gameType(0).tileValue[26], 8);  // Ñ
  EXPECT_EQ(gameType(1).tileCount[26], 2);
  EXPECT_EQ(gameType(1).tileValue[26], 9);
  EXPECT_EQ(gameType(1).tileTotal(), 2);
  EXPECT_EQ(gameType(2).tileCount[26], 2);
  EXPECT_EQ(gameType(2).tileCount[27], 3);
  EXPECT_EQ(gameType(2).tileCount[28], 4);
}

TEST(GameDefinitions, BoardRows) {
  StateGuard guard;
  SetUILang(kEnglish);
  // Blank lines are skipped inside a board; an undeclared character drops
  // the line and the same row is read from the next one. Inside a board a
  // ';' line is a row like any other.
  const std::string text =
      "Game \"Board\"\nboardsize 4 3\nstartsquare 1 2\n"
      "bonus none . B4D4DC\nbonus 2ls : 00B6FC\nbonus empty x 000000\n"
      "board\n\n..:.\n \t\n.?..\n;;;;\nx..x\t \n.\t..\n:..:\n"
      "racksize 7\nGameEnd\n";
  EXPECT_EQ(readDefinitionsText(text), shown({warning("Board", "unknown square character ?"),
                                              warning("Board", "unknown square character ;"),
                                              warning("Board", "unknown square character \t")}));
  ASSERT_EQ(gameTypeCount(), 1);
  const GameType& g = gameType(0);
  const std::vector<SquareType> types{0, 0, 2, 0, 90000, 0, 0, 90000, 2, 0, 0, 2};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      EXPECT_EQ(g.squareTypeAt(row, column), types[static_cast<std::size_t>(row * 4 + column)]) << row << "," << column;
    }
  }
  EXPECT_EQ(g.symbolIndexAt(0, 2), 1);
  EXPECT_EQ(g.symbolIndexAt(1, 3), 2);
  ASSERT_TRUE(activateGameType(kKindDefined, 0));
  EXPECT_EQ(rules().width, 4);
  EXPECT_EQ(rules().height, 3);
  EXPECT_EQ(rules().startColumn, 1);
  EXPECT_EQ(rules().startRow, 2);
  EXPECT_EQ(squareType(2, 3), square::doubleLetter);
  EXPECT_EQ(squarePrintChar(1, 0), 'x');
  EXPECT_EQ(squareColor(2, 0), 0x00B6FC);

  // A row of the wrong length stops the whole file; earlier types stay.
  const std::string badRow = "Error reading board in game \"Short\" -- invalid size for board string";
  for (const char* row : {"..............\n", "................\n", "\n\n...............x\n"}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(readDefinitionsText(game("First") + "Game \"Short\"\nboardsize 15 15\nbonus none . 000000\nboard\n" +
                                  row + std::string(14, '\n') + "racksize 7\nGameEnd\n" + game("Later")),
              shown({badRow}));
    ASSERT_EQ(gameTypeCount(), 1);
    EXPECT_EQ(gameType(0).name, "First");
  }
  EXPECT_EQ(readDefinitionsText("boardsize 2 2\nbonus none . 000000\nboard\n...\n"),
            shown({"Error reading board in game \"(unnamed)\" -- invalid size for board string"}));

  // "board" needs both dimensions; "boardsize" with a 0 is ignored.
  for (const char* size : {"", "boardsize 0 5\n", "boardsize 5 0\n", "boardsize -2 3\n"}) {
    SCOPED_TRACE(size);
    EXPECT_EQ(readDefinitionsText(game("First") + "Game \"NoSize\"\n" + size + "board\n...\nGameEnd\n" + game("Later")),
              shown({"Error: board without board dimensions"}));
    EXPECT_EQ(gameTypeCount(), 1);
  }

  // A board read for other dimensions is no board.
  EXPECT_EQ(readDefinitionsText(game("Resized", "boardsize 4 4\n")), shown({kNoBoard, errorIn("Resized")}));
  EXPECT_EQ(gameTypeCount(), 0);
}

TEST(GameDefinitions, CopyAndCopyboard) {
  StateGuard guard;
  SetUILang(kEnglish);
  const std::string text =
      game("Spain", "espa\xF1ol\nstartsquare 1 1\ntile ? 2 0 -1\ntile a 12 1 -1\nmarkphonies \"CHECK.LST\"\n"
                    "anagrams\nbingobonus 40\n") +
      "Game \"Copy\"\ncopy \"Spain\"\ntile ? 3 0 -1\nGameEnd\n"
      "Game \"CopyThenLanguage\"\ncopy \"Spain\"\nespa\xF1ol\ntile ? 3 0 -1\nGameEnd\n"
      "Game \"BoardOnly\"\ncopyboard \"Spain\"\nracksize 7\nGameEnd\n"
      "Game \"Resized\"\ncopyboard \"Spain\"\nboardsize 4 4\nracksize 7\nGameEnd\n";
  EXPECT_EQ(readDefinitionsText(text), shown({kNoBoard, errorIn("Resized")}));
  ASSERT_EQ(gameTypeCount(), 4);
  const GameType& spain = gameType(0);
  const GameType& copy = gameType(1);
  EXPECT_EQ(copy.name, "Copy");
  EXPECT_EQ(copy.alphabet, kAlphabetSpanish);
  // "copy" leaves the language of later tile lines alone: the blank lands
  // on the English code.
  EXPECT_EQ(copy.tileCount[26], 3);
  EXPECT_EQ(copy.tileCount[28], 2);
  EXPECT_EQ(copy.tileCount[0], 12);
  EXPECT_EQ(copy.rackSize, 7);
  EXPECT_EQ(copy.bingoBonus, 40);
  EXPECT_TRUE(copy.anagrams && copy.markPhonies);
  EXPECT_EQ(copy.phonyCheckList, "CHECK.LST");
  EXPECT_EQ(copy.startColumn, 1);
  EXPECT_EQ(copy.squareTypeGrid.get(), spain.squareTypeGrid.get());
  EXPECT_EQ(gameType(2).tileCount[28], 3);
  EXPECT_EQ(gameType(2).tileCount[26], 0);

  const GameType& boardOnly = gameType(3);
  EXPECT_EQ(boardOnly.name, "BoardOnly");
  ASSERT_NE(spain.squareTypeGrid, nullptr);
  EXPECT_EQ(boardOnly.squareTypeGrid.get(), spain.squareTypeGrid.get());
  EXPECT_EQ(boardOnly.squareSymbolGrid.get(), spain.squareSymbolGrid.get());
  EXPECT_EQ(boardOnly.squareSymbols, spain.squareSymbols);
  EXPECT_EQ(boardOnly.squareColors, spain.squareColors);
  EXPECT_EQ(boardOnly.width, 3);
  EXPECT_EQ(boardOnly.startRow, 1);
  EXPECT_EQ(boardOnly.squareTypeAt(1, 1), square::doubleWord);
  EXPECT_EQ(boardOnly.alphabet, kAlphabetEnglish);
  EXPECT_EQ(boardOnly.tileTotal(), 0);
  EXPECT_EQ(boardOnly.bingoBonus, 0);
  EXPECT_FALSE(boardOnly.anagrams);

  // Only game types already accepted can be copied.
  EXPECT_EQ(readDefinitionsText(game("Bad", "racksize 1\n") +
                                "Game \"C\"\ncopy Spain\ncopyboard Spain\ncopy \"Spain\ncopy \"Bad\"\n"
                                "copyboard \"Bad\"\ncopy \"C\"\ncopyboard \"Nowhere\"\n" +
                                game("Tail")),
            shown({kRackSmall, errorIn("Bad"), warning("C", "Missing or invalid copy argument\n"),
                   warning("C", "Missing or invalid copyboard argument\n"),
                   warning("C", "Missing or invalid copy argument\n"), warning("C", "Game unknown in copy\n"),
                   warning("C", "Game unknown in copyboard\n"), warning("C", "Game unknown in copy\n"),
                   warning("C", "Game unknown in copyboard\n"),
                   warning("C", "has no \"GameEnd\" line and is ignored")}));
  EXPECT_EQ(gameTypeCount(), 1);

  // Names are not de-duplicated; lookups find the first.
  EXPECT_EQ(readDefinitionsText(game("Dup", "bingobonus 1\n") + game("Dup", "bingobonus 2\n") +
                                "Game \"X\"\ncopy \"Dup\"\nGameEnd\n"),
            Lines{});
  ASSERT_EQ(gameTypeCount(), 3);
  EXPECT_EQ(findGameType("Dup"), 0);
  EXPECT_EQ(gameType(1).bingoBonus, 2);
  EXPECT_EQ(gameType(2).bingoBonus, 1);
  EXPECT_EQ(gameType(2).name, "X");
  EXPECT_EQ(findGameType("X"), 2);
  EXPECT_EQ(findGameType("dup"), -1);
  EXPECT_EQ(findGameType("Nope"), -1);
}

TEST(GameDefinitions, ValidationMessages) {
  StateGuard guard;
  SetUILang(kEnglish);
  // One failing check at a time.
  const std::pair<const char*, const char*> faults[] = {
      {"numplayers 0 4\n", kTooFew},       {"numplayers 5 3\n", kMaxBelowMin}, {"numplayers 1 17\n", kTooMany},
      {"startsquare 3 1\n", kStartOff},    {"startsquare 1 3\n", kStartOff},   {"startsquare -1 1\n", kStartOff},
      {"racksize 2\n", kRackSmall},        {"racksize 33\n", kRackLarge},      {"tile a 10001 1 -1\n", kTileRange},
      {"tile a -1 1 -1\n", kTileRange},    {"tile ? 1 1001 -1\n", kTileRange}, {"tile z 1 -1001 -1\n", kTileRange},
  };
  for (const auto& [line, message] : faults) {
    SCOPED_TRACE(line);
    EXPECT_EQ(readDefinitionsText(game("V", line)), shown({message, errorIn("V")}));
    EXPECT_EQ(gameTypeCount(), 0);
  }
  EXPECT_EQ(readDefinitionsText(sizedGame("Wide", 33, 3)), shown({kTooBig, errorIn("Wide")}));
  EXPECT_EQ(readDefinitionsText(sizedGame("Tall", 2, 33)), shown({kTooBig, errorIn("Tall")}));
  EXPECT_EQ(readDefinitionsText(game("V") + "Game \"NoBoard\"\nboardsize 3 3\nracksize 7\nGameEnd\n"),
            shown({kNoBoard, errorIn("NoBoard")}));
  EXPECT_EQ(gameTypeCount(), 1);
  // Without a "Game" line there is no name, and no line naming the type.
  EXPECT_EQ(readDefinitionsText(game("V").substr(std::string("Game \"V\"\n").size())), shown({kNoName}));
  EXPECT_EQ(gameTypeCount(), 0);

  // The limits themselves are allowed.
  for (const char* line : {"numplayers 1 16\n", "numplayers 16 16\n", "startsquare 2 2\n", "racksize 3\n",
                           "racksize 32\n", "tile a 10000 1000 -1\ntile ? 0 -1000 -1\n"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(readDefinitionsText(game("V", line)), Lines{});
    EXPECT_EQ(gameTypeCount(), 1);
  }
  EXPECT_EQ(readDefinitionsText(sizedGame("Max", 32, 32) + sizedGame("Min", 1, 1)), Lines{});
  EXPECT_EQ(gameTypeCount(), 2);

  // Every failing check is reported, in order, then the name.
  EXPECT_EQ(readDefinitionsText("Game \"Many\"\nnumplayers 20 17\nboardsize -1 40\nracksize 2\n"
                                "tile a 1 5000 -1\nGameEnd\n"),
            shown({kMaxBelowMin, kTooMany, kZeroBoard, kTooBig, kStartOff, kNoBoard, kRackSmall, kTileRange,
                   errorIn("Many")}));
  EXPECT_EQ(readDefinitionsText(game("Few", "numplayers 0 -1\nracksize 40\n")),
            shown({kTooFew, kMaxBelowMin, kRackLarge, errorIn("Few")}));
  EXPECT_EQ(readDefinitionsText("GameEnd\n"), shown({kNoName, kZeroBoard, kStartOff, kNoBoard, kRackSmall}));
  EXPECT_EQ(gameTypeCount(), 0);
  // Long messages are wrapped in the pane like any other text.
  EXPECT_EQ(readDefinitionsText(sizedGame("Wide", 33, 1)),
            (Lines{"Invalid game description -- board is too big (maximum ", "allowed side is 32 squares) ",
                   "(Error in game description \"Wide\") "}));
}

TEST(GameDefinitions, WarningsAndFatalErrors) {
  StateGuard guard;
  SetUILang(kEnglish);
  const std::string text =
      "frobnicate\n"
      "Game \"W\"\n"
      "Gamer\n"
      "Game\n"
      "gameend\n"
      " racksize 7\n"
      "Racksize 7\n"
      "defaultwordlist ENGLISH.LST\n"
      "defaultwordlist \"ENGLISH.LST\n"
      "numplayers\n" +
      game("W").substr(std::string("Game \"W\"\n").size());
  EXPECT_EQ(readDefinitionsText(text),
            shown({warning("(unnamed)", "Syntax error: Unknown line"), warning("W", "unknown line"),
                   warning("W", "unknown line"), warning("W", "Syntax error: Unknown line"),
                   warning("W", "Syntax error: Unknown line"), warning("W", "Syntax error: Unknown line"),
                   warning("W", "couldn't find default word list name?"),
                   warning("W", "couldn't find default word list name?"),
                   warning("W", "couldn't find number of players")}));
  // Warnings do not reject the game type.
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).name, "W");
  EXPECT_EQ(gameType(0).defaultWordList, "TWL06.LST");

  // A "Game" line without a quoted name ends the reading.
  const std::string noName = "Fatal error: couldn't find game name\n";
  for (const char* line : {"Game NoQuotes\n", "Game \"Open\n", "Game \t \n"}) {
    SCOPED_TRACE(line);
    EXPECT_EQ(readDefinitionsText(game("Before") + line + game("After")), shown({noName}));
    ASSERT_EQ(gameTypeCount(), 1);
    EXPECT_EQ(gameType(0).name, "Before");
  }
  EXPECT_EQ(readDefinitionsText("Game\t\"Tabbed\"\nGame oops\n"),
            shown({warning("Tabbed", "has no \"GameEnd\" line and is ignored"), noName}));

  // A record that never reaches "GameEnd" is reported and dropped.
  EXPECT_EQ(readDefinitionsText(game("A").substr(0, game("A").size() - 8) + game("B") + "Game \"C\"\nracksize 7\n"),
            shown({warning("A", "has no \"GameEnd\" line and is ignored"),
                   warning("C", "has no \"GameEnd\" line and is ignored")}));
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).name, "B");
}

TEST(GameDefinitions, HostileInput) {
  StateGuard guard;
  SetUILang(kEnglish);
  // CR LF line ends read like LF: the "Game" line alone lacks its white space.
  std::string crlf;
  for (char c : game("Crlf", "numplayers 2 3\ndefaultwordlist \"X.LST\"\ntile a 9 1 4\nbonus 3ls $ 0000FF\nGame\n")) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  EXPECT_EQ(readDefinitionsText(crlf), shown({warning("Crlf", "unknown line")}));
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).name, "Crlf");
  EXPECT_EQ(gameType(0).maxPlayers, 3);
  EXPECT_EQ(gameType(0).defaultWordList, "X.LST");
  EXPECT_EQ(gameType(0).tileExtra[0], 4);
  EXPECT_EQ(gameType(0).squareColors.back(), 0x0000FF);
  EXPECT_EQ(gameType(0).squareTypeAt(1, 1), square::doubleWord);

  // Long lines are cut at 1023 characters and the rest is dropped.
  const std::string cutName = "defaultwordlist \"" + std::string(1100, 'L') + "\"\n";
  const std::string longName = std::string(1000, 'N');
  std::string longLines(1, ';');
  longLines.append(5000, 'x').append("\n" + cutName + "defaultwordlist \"" + longName + "\"\nracksize 9");
  longLines.append(5000, ' ').append("\n");
  EXPECT_EQ(readDefinitionsText(game("Long", longLines)),
            shown({warning("Long", "couldn't find default word list name?")}));
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).defaultWordList, longName);
  EXPECT_EQ(gameType(0).rackSize, 9);

  // Binary junk, NUL bytes included, is an unknown line.
  std::string junk(1, '\0');
  for (int byte = 1; byte < 256; ++byte) {
    if (byte != '\n') junk += static_cast<char>(byte);
  }
  const std::string nul(1, '\0');
  EXPECT_EQ(readDefinitionsText(junk + "\n" + game("Junk", nul + nul + "\nracksize 5" + nul + "junk\n")),
            shown({warning("(unnamed)", "Syntax error: Unknown line"), warning("Junk", "Syntax error: Unknown line")}));
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).rackSize, 5);

  // Huge numbers saturate instead of wrapping around.
  const std::string huge = "99999999999";
  EXPECT_EQ(readDefinitionsText(game("First") + "Game \"Huge\"\nboardsize " + huge + " " + huge +
                                "\nbonus none . 000000\nboard\n...\nGameEnd\n"),
            shown({"Error reading board in game \"Huge\" -- invalid size for board string"}));
  EXPECT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(readDefinitionsText("Game \"Huge\"\nboardsize " + huge + " " + huge + "\nracksize 7\nGameEnd\n"),
            shown({kTooBig, kNoBoard, errorIn("Huge")}));
  EXPECT_EQ(readDefinitionsText(game("R", "racksize " + huge + "\n")), shown({kRackLarge, errorIn("R")}));
  EXPECT_EQ(readDefinitionsText(game("R", "racksize -" + huge + "\n")), shown({kRackSmall, errorIn("R")}));
  EXPECT_EQ(readDefinitionsText(game("N", "numplayers " + huge + " " + huge + "\n")), shown({kTooMany, errorIn("N")}));
  EXPECT_EQ(readDefinitionsText(game("T", "tile a " + huge + " 1 -1\n")), shown({kTileRange, errorIn("T")}));
  EXPECT_EQ(readDefinitionsText(game("Low", "bingobonus -" + huge + "\nmintilesexchange " + huge + "\n")), Lines{});
  ASSERT_EQ(gameTypeCount(), 1);
  EXPECT_EQ(gameType(0).bingoBonus, INT_MIN);
  EXPECT_EQ(gameType(0).minTilesExchange, INT_MAX);
  // 4294967298 wraps around to 2 in 32 bits.
  EXPECT_EQ(readDefinitionsText(game("B", "bonus 4294967298ls q 000000\n")),
            shown({warning("B", "unknown bonus square type")}));
  EXPECT_EQ(gameType(0).squareSymbols.size(), 2u);
  EXPECT_EQ(readDefinitionsText("Game \"Wrap\"\nboardsize 4294967299 4294967299\nbonus none . 000000\nboard\n...\n"),
            shown({"Error reading board in game \"Wrap\" -- invalid size for board string"}));
}

TEST(GameDefinitions, ReadingFromFiles) {
  StateGuard guard;
  SetUILang(kEnglish);
  ASSERT_EQ(readDefinitionsText(game("Old")), Lines{});
  ASSERT_EQ(gameTypeCount(), 1);
  {
    test::PaneCapture capture;
    readGameDefinitions(std::string("/nonexistent/path"));
    EXPECT_EQ(capture.lines(), shown({"Could not open the game definitions file \"/nonexistent/path\"; no game "
                                      "types are available.\n",
                                      "No game definitions found."}));
    EXPECT_EQ(gameTypeCount(), 0);
  }

  const std::string path = testing::TempDir() + "pexil_game_definitions_test.txt";
  auto readFile = [&](const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
    test::PaneCapture capture;
    readGameDefinitions(path);
    return capture.lines();
  };
  EXPECT_EQ(readFile("; nothing here\n"), shown({"No game definitions found."}));
  EXPECT_EQ(gameTypeCount(), 0);
  EXPECT_EQ(readFile(game("One") + game("Two")), Lines{});
  ASSERT_EQ(gameTypeCount(), 2);
  EXPECT_EQ(gameType(1).name, "Two");
  std::remove(path.c_str());
}

// A path that opens but cannot be read (a folder) ends the reading; the
// program goes on without game types and says so.
TEST(GameDefinitions, UnreadablePathEndsReadingQuietly) {
  StateGuard guard;
  SetUILang(kEnglish);
  ASSERT_EQ(readDefinitionsText(game("Old")), Lines{});
  const std::string folder = testing::TempDir();
  test::PaneCapture capture;
  EXPECT_NO_THROW(readGameDefinitions(folder));
  EXPECT_EQ(gameTypeCount(), 0);
  const Lines lines = capture.lines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back(), "No game definitions found.");
  std::string joined;
  for (const std::string& line : lines) joined += line;
  EXPECT_NE(joined.find("\"" + folder + "\""), std::string::npos) << joined;
}

}  // namespace
}  // namespace pexil
