// Position files: positions of seeded self-play written and read back whole
// (standard English, and Spanish, a game type of game.definitions with
// digraph tiles), the exact text written, every fault with its message and
// the previous game intact, and hostile input.
#include "files/position_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "io/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_choice.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "search/strategy.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

std::shared_ptr<Lexicon> listFrom(const std::string& path) {
  auto lexicon = std::make_shared<Lexicon>();
  lexicon->loadLeaves = false;
  loadWordListWithTables(*lexicon, path);
  return lexicon;
}

std::shared_ptr<Lexicon> words() {
  static std::shared_ptr<Lexicon> lexicon = listFrom(PEXIL_TEST_DATA "/movegen/words.lst");
  return lexicon;
}

// Everything a position file carries, and the rules in force.
struct Snapshot {
  int kind, typeIndex, activeKind, width, players, turn, toMove;
  const Lexicon* lexicon;
  std::vector<int> scores;
  std::vector<LetterCounts> racks;
  std::vector<std::string> names;
  std::vector<std::pair<char, int>> squares;
  LetterCounts bag;
  bool medianDraws;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const Game& g) {
  Snapshot s{g.gameKind, g.gameTypeIndex, rules().gameKind, rules().width, g.playerCount, g.moveNumber, g.toMove,
             g.lexicon.get(), {}, {}, {}, {}, g.bag, g.medianDraws};
  for (int p = 0; p < g.playerCount; ++p) {
    s.scores.push_back(g.scores[static_cast<std::size_t>(p)]);
    s.racks.push_back(g.racks[static_cast<std::size_t>(p)]);
    s.names.push_back(g.playerNames[static_cast<std::size_t>(p)]);
  }
  for (const Square& q : g.board.squares) s.squares.emplace_back(q.letter, q.isBlank);
  return s;
}

void PrintTo(const Snapshot& s, std::ostream* os) {
  *os << "kind " << s.kind << "/" << s.typeIndex << " rules " << s.activeKind << " width " << s.width << " players "
      << s.players << " turn " << s.turn << " to move " << s.toMove << " median " << s.medianDraws << " bag "
      << countsToText(s.bag, 20000).value_or("?") << "\n";
  for (int p = 0; p < s.players; ++p) {
    const auto i = static_cast<std::size_t>(p);
    *os << " P" << p << " " << s.scores[i] << " " << countsToText(s.racks[i], 20000).value_or("?") << " \"" << s.names[i] << "\"\n";
  }
  for (const auto& [letter, blank] : s.squares) *os << (letter == ' ' ? '.' : blank ? letter : latin1Upper(letter));
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l;
  return text;
}

// Board rows of `width` full stops, the given rows laid over the first ones.
std::string rows(int width, int height, const std::vector<std::string>& given = {}) {
  std::string text = "board\n";
  for (int r = 0; r < height; ++r) {
    std::string row(static_cast<std::size_t>(width), '.');
    if (r < static_cast<int>(given.size())) row.replace(0, given[static_cast<std::size_t>(r)].size(), given[static_cast<std::size_t>(r)]);
    text += row + "\n";
  }
  return text;
}

class PositionFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(20240901u);
    NewGame(game, 2, words());
    game.historyEnabled = false;
  }

  void playTurns(Game& g, int turns) {
    textPane().SetQuiet(true);
    for (int t = 0; t < turns && !g.gameOver; ++t) PlayStrategyTurn(g);
    textPane().SetQuiet(false);
  }

  bool readText(const std::string& text) {
    test::PaneCapture capture;
    const bool read = ReadPosition(game, folder.write("in.pexil", text));
    printed = joined(capture.lines());
    return read;
  }

  // Writes the game and reads it into a game of other players, names and
  // scores; returns the game read.
  Game roundTrip(const Game& original) {
    const std::string path = folder.path("round.pexil");
    EXPECT_TRUE(WritePosition(original, path));
    Game other;
    NewGame(other, 4, original.lexicon);
    SetPlayerName(other, 3, "Someone");
    other.scores[0] = 77;
    EXPECT_TRUE(ReadPosition(other, path));
    EXPECT_TRUE(tilesConserved(other));
    EXPECT_EQ(pendingWordList(), "");
    return other;
  }

  test::StateGuard guard;
  test::TempFolder folder;
  Game game;
  std::string printed;
};

TEST_F(PositionFiles, SelfPlayPositionsComeBackWhole) {
  const int turns[] = {0, 3, 9, 400};
  for (int g = 0; g < 4; ++g) {
    SCOPED_TRACE("game " + std::to_string(g));
    setProgramSeed(700u + static_cast<std::uint32_t>(g));
    NewGame(game, 2 + g % 3, words());
    game.historyEnabled = false;
    playTurns(game, turns[g]);
    SetPlayerName(game, g % game.playerCount, "Player with a  long name " + std::to_string(g));
    game.medianDraws = g % 2 == 1;
    ASSERT_TRUE(tilesConserved(game));
    const Game read = roundTrip(game);
    EXPECT_EQ(snapshot(read), snapshot(game));
  }
}

TEST_F(PositionFiles, WritesTheRecordsInTheirOrder) {
  for (int p = 0; p < 2; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  addLetters(game.racks[0], "QAZ?E", &game.bag);
  SetPlayerName(game, 0, "Ann Lee");
  game.scores = {12, -5};
  game.moveNumber = 3;
  game.toMove = 1;
  game.medianDraws = true;
  squareAt(game.board, 6, 7)->letter = 'c';
  squareAt(game.board, 7, 7)->letter = 'a';
  squareAt(game.board, 7, 7)->isBlank = 1;
  squareAt(game.board, 8, 7)->letter = 't';
  const std::string path = folder.path("written.pexil");
  ASSERT_TRUE(WritePosition(game, path));
  const std::string expected = "gametype\t0\ndict\t" PEXIL_TEST_DATA "/movegen/words.lst\nnplayers\t2\ngameturn\t3\n"
                               "playerturn\t1\nscore\t0\t12\nrack\t0\tAEQZ?\npname\t0\tAnn Lee\nscore\t1\t-5\n" +
                               rows(15, 15, {"", "", "", "", "", "", "", "......CaT"}) + "mediandraw\n";
  EXPECT_EQ(readWholeFile(path).value_or(""), expected);

  // The simulation flags come before it, and back with the file.
  game.maximizeWinProb = true;
  game.rackSimulation = true;
  ASSERT_TRUE(WritePosition(game, path));
  const std::string flagged = readWholeFile(path).value_or("");
  EXPECT_NE(flagged.find("\nwinprob\nracksim\nmediandraw\n"), std::string::npos) << flagged;
  game.maximizeWinProb = game.rackSimulation = false;
  ASSERT_TRUE(ReadPosition(game, path));
  EXPECT_TRUE(game.maximizeWinProb);
  EXPECT_TRUE(game.rackSimulation);
}

TEST_F(PositionFiles, AFileThatCannotBeWrittenLeavesNothingBehind) {
  EXPECT_FALSE(WritePosition(game, folder.path("missing/folder/x.pexil")));
  std::filesystem::create_directory(folder.path("taken"));
  EXPECT_FALSE(WritePosition(game, folder.path("taken")));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path(""))) ++entries;
  EXPECT_EQ(entries, 1);
}

// Every message, each from a minimal faulty file; the records before the
// fault (other rules, the median-draw flag, another word list) are undone.
TEST_F(PositionFiles, EveryFaultPrintsItsMessageAndKeepsThePreviousGame) {
  playTurns(game, 6);
  SetPlayerName(game, 1, "Bea");
  const std::string other = folder.write("other.lst", "za\nzo\n");
  const std::string before = "mediandraw\ndict\t" + other + "\n";
  const std::string h = "gametype\t3\nnplayers\t3\n";  // 21x21 squares
  const std::string missing = folder.path("none.pexil");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {h + "board\n" + std::string(21, '.') + "\n" + std::string(20, '.') + "\n", "Error: invalid board data"},
      {h + rows(21, 21).substr(0, 6 + 22 * 10), "Error: invalid board data"},  // rows missing at the end
      {h + rows(21, 21, {"..2"}), "Error: invalid board data"},        // a digit for a letter
      {h + rows(21, 21, {"A B"}), "Error: invalid board data"},
      {"gametype\n", "Error: Missing parameter for gametype"},
      {"gametype\t7\n", "Error: missing game type name"},
      {"template\tno quotes\ngametype\t7\n", "Error: could not find template name"},
      {"template\ngametype\t7\n", "Error: could not find template name"},
      {"template\t\"Nowhere\"\ngametype\t7\n", "Error: unknown game type \"Nowhere\""},
      {"gametype\t3\npname\t0\tAnn\n", "Error: pname before nplayers"},
      {h + "pname\t3\tAnn\n", "Error: invalid player index in pname"},
      {h + "pname\n", "Error: invalid player index in pname"},
      {h + "nplayers\t2\n", "Error: two nplayers records found"},
      {"nplayers\t2\n", "Error: nplayers before gametype"},
      {"gametype\t3\nnplayers\t\n", "Error: Missing parameter for nplayers"},
      {h + "gameturn\n", "Error: Missing parameter for gameturn"},
      {h + "playerturn\tnext\n", "Error: Missing parameter for playerturn"},
      {h + "score\n", "Error: Missing player index for score"},
      {"gametype\t3\nscore\t0\t5\n", "Error: Score data encountered before number of players"},
      {h + "score\tx\t5\n", "Error: invalid player index for score"},
      {h + "score\t1\n", "Error: Missing parameter for score"},
      {h + "rack\n", "Error: Missing player index for rack"},
      {"gametype\t3\nrack\t0\tABC\n", "Error: Rack data encountered before number of players"},
      {h + "rack\t-1\tABC\n", "Error: invalid player index for rack"},
      {h + "rack\t0\t \n", "Error: Missing parameter for rack"},
      {"board\n", "Error: board data encountered before gametype"},
      {h + "rack\t0\tZZZ\n", "Error: more \"Z\" tiles than the set holds"},  // the large set has two
      {"gametype\t0\nnplayers\t2\nrack\t0\t??\nrack\t1\tA\n" + rows(15, 15, {"b"}), "Error: more \"?\" tiles than the set holds"},
      {h + "rack\t2\tABCDEFGH\n", "Error: the rack of player 2 holds more than 7 tiles"},
      {h + "rack\t0\t" + std::string(300000, 'E') + "\n", "Error: the rack of player 0 holds more than 7 tiles"},
      {"gametype\t8\n", "Error: invalid value for gametype"},
      {"gametype\t3\nnplayers\t17\n", "Error: invalid value for nplayers"},
      {h + "gameturn\t-1\n", "Error: invalid value for gameturn"},
      {h + "playerturn\t3\n", "Error: invalid value for playerturn"},
      {h + "score\t0\t99999999999999999999999\n", "Error: invalid value for score"},
      {"gametype\t3\n", "Error: gametype or nplayers record missing"},
      {"", "Error: gametype or nplayers record missing"},
  };
  const Snapshot previous = snapshot(game);
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text.substr(0, 60));
    EXPECT_FALSE(readText(before + text));
    EXPECT_EQ(printed, message);
    EXPECT_EQ(snapshot(game), previous);
    EXPECT_EQ(pendingWordList(), "");
  }
  test::PaneCapture capture;
  EXPECT_FALSE(ReadPosition(game, missing));
  EXPECT_EQ(joined(capture.lines()).rfind("File " + missing + " not found.", 0), 0u);
  EXPECT_EQ(snapshot(game), previous);
}

TEST_F(PositionFiles, RowsAndRacksAreReadAsTheFormatAllows) {
  // A longer row is cut to the board; rack letters in any order and case,
  // with characters the set lacks skipped; records found by prefix among
  // lines that are none; "racksim" is no rack; the old names go.
  SetPlayerName(game, 1, "Old");
  const std::string text = "# a comment\n\ngametypes\t0\nnplayers\t2\nracksim\nscores\t1\t-40\nrack\t0\tz?a1#\xC4Q2e\n"
                           "pname\t1  \tDe la Cruz  \nsomething\telse\n" +
                           rows(15, 15, {"", "", "", "", "", "", "", ".......J...........XYZ" + std::string(300000, 'x')}) +
                           "junk " + std::string(300000, '#') + "\n";
  ASSERT_TRUE(readText(text)) << printed;
  Rack expected;
  addLetters(expected, "AEQZ?", nullptr);
  EXPECT_EQ(game.racks[0], expected);
  EXPECT_EQ(game.racks[1].total(), 0);
  EXPECT_EQ(game.scores[1], -40);
  EXPECT_EQ(playerName(game, 0), "Player 1");
  EXPECT_EQ(game.playerNames[1], "De la Cruz  ");
  EXPECT_EQ(squareAt(game.board, 7, 7)->letter, 'j');
  EXPECT_EQ(squareAt(game.board, 8, 7)->letter, ' ');
  EXPECT_EQ(game.bag[codeOfLetter('q')], 0);
  EXPECT_EQ(game.bag[codeOfLetter('j')], 0);
  EXPECT_EQ(game.bag.total(), 100 - 6);
  EXPECT_TRUE(game.rackSimulation);
  EXPECT_FALSE(game.maximizeWinProb);
  // A file without the flags clears them.
  ASSERT_TRUE(readText("gametype\t0\nnplayers\t1\n"));
  EXPECT_FALSE(game.rackSimulation);
}

TEST_F(PositionFiles, TheMedianDrawFlagIsOnlyEverSwitchedOn) {
  const std::string plain = "gametype\t0\nnplayers\t1\n";
  game.medianDraws = true;
  ASSERT_TRUE(readText(plain));
  EXPECT_TRUE(game.medianDraws);
  game.medianDraws = false;
  ASSERT_TRUE(readText(plain));
  EXPECT_FALSE(game.medianDraws);
  ASSERT_TRUE(readText(plain + "mediandraw\n"));
  EXPECT_TRUE(game.medianDraws);
}

TEST_F(PositionFiles, AWindowsFileReadsTheSame) {
  playTurns(game, 5);
  SetPlayerName(game, 0, "Ann");
  const std::string path = folder.path("unix.pexil");
  ASSERT_TRUE(WritePosition(game, path));
  std::string windows;
  for (char c : readWholeFile(path).value_or("")) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const Snapshot written = snapshot(game);
  NewGame(game, 3, words());
  ASSERT_TRUE(readText(windows)) << printed;
  EXPECT_EQ(snapshot(game), written);
}

TEST_F(PositionFiles, TheNamedWordListComesInALexiconOfItsOwn) {
  const Game copy = game;
  const std::string other = folder.write("other.lst", "aa\nab\nba\n");
  ASSERT_TRUE(readText("gametype\t0\ndict\t" + other + "\nnplayers\t2\n"));
  ASSERT_NE(game.lexicon, words());
  EXPECT_EQ(game.lexicon->fileName(), other);
  EXPECT_EQ(game.board.lexicon, game.lexicon.get());
  EXPECT_EQ(copy.lexicon->fileName(), PEXIL_TEST_DATA "/movegen/words.lst");
  // A list that cannot be opened gives way to the game type's own.
  test::InFolder empty(folder.path(""));
  ASSERT_TRUE(readText("gametype\t0\ndict\tLOST.LST\nnplayers\t2\n"));
  EXPECT_NE(printed.find("\"LOST.LST\" not found"), std::string::npos) << printed;
  EXPECT_EQ(pendingWordList(), "");
}

TEST_F(PositionFiles, TilesOutsideThePlayingAreaAreRefused) {
  readGameDefinitions(PEXIL_TEST_DATA "/cli/holes/game.definitions");
  const std::string head = "template\t\"Holes\"\ngametype\t7\nnplayers\t2\n";
  ASSERT_TRUE(readText(head + rows(7, 7, {".A"}))) << printed;
  EXPECT_EQ(rules().width, 7);
  EXPECT_EQ(game.gameKind, kKindDefined);
  EXPECT_FALSE(readText(head + rows(7, 7, {"A"})));
  EXPECT_EQ(printed, "Error: invalid board data");
  EXPECT_EQ(squareAt(game.board, 1, 0)->letter, 'a');
}

// Game types of game.definitions, with their own letters.
class DefinedPositionFiles : public PositionFiles {
 protected:
  void SetUp() override {
    PositionFiles::SetUp();
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Spanish")));
  }
  // Every string of two or three Spanish tiles is a word, with the probe
  // words that make the list Spanish.
  static std::shared_ptr<Lexicon> spanishWords() {
    static test::TempFolder listFolder;
    static std::shared_ptr<Lexicon> lexicon = [] {
      const std::string letters = "abcdefghijlmnopqrstuvxyz123\xF1";
      std::string list = "abo2an\nabolaga\naboga\nacervado\n";
      for (char a : letters) {
        for (char b : letters) {
          list += {a, b, '\n'};
          for (char c : letters) list += {a, b, c, '\n'};
        }
      }
      return listFrom(listFolder.write("es.lst", list));
    }();
    return lexicon;
  }
};

TEST_F(DefinedPositionFiles, SpanishSelfPlayPositionsComeBackWhole) {
  auto lexicon = spanishWords();
  ASSERT_EQ(lexicon->alphabet(), kAlphabetSpanish);
  int digraphs = 0;
  for (int g = 0; g < 3; ++g) {
    SCOPED_TRACE("game " + std::to_string(g));
    setProgramSeed(900u + static_cast<std::uint32_t>(g));
    NewGame(game, 2, lexicon);
    game.historyEnabled = false;
    playTurns(game, g == 2 ? 400 : 4 + 6 * g);  // the last to the end
    EXPECT_EQ(snapshot(roundTrip(game)), snapshot(game));
    for (const Square& s : game.board.squares) digraphs += std::string_view("123").find(s.letter) != std::string_view::npos;
  }
  EXPECT_GT(digraphs, 0);
  EXPECT_EQ(readWholeFile(folder.path("round.pexil")).value_or("").rfind("template\t\"Scrabble(R) - Spanish\"\ngametype\t7\n", 0), 0u);
}

TEST_F(DefinedPositionFiles, DigitTilesBeyondTheSetAreTheBlanks) {
  const std::string head = "template\t\"Scrabble(R) - Spanish\"\ngametype\t7\nnplayers\t2\n";
  ASSERT_TRUE(readText(head + "rack\t0\tKWa4\n" + rows(15, 15, {"1.1.\xF1"}))) << printed;
  Rack rack;
  addLetters(rack, "A\xD1", nullptr);
  EXPECT_EQ(game.racks[0], rack);  // K and W are no Spanish tiles
  EXPECT_FALSE(squareAt(game.board, 0, 0)->isBlank);
  EXPECT_TRUE(squareAt(game.board, 2, 0)->isBlank);  // the set holds one CH
  EXPECT_TRUE(squareAt(game.board, 4, 0)->isBlank);
  EXPECT_EQ(game.bag[rules().blankCode], 0);
  EXPECT_EQ(game.bag[codeOfLetter('1')], 0);
  EXPECT_FALSE(readText(head + rows(15, 15, {"1.1.1.\xF1"})));  // one blank left for two surplus CHs
  EXPECT_EQ(printed, "Error: more \"1\" tiles than the set holds");
}

TEST_F(DefinedPositionFiles, AccentedLettersTakeTheirLatin1Pairs) {
  const std::string head = "template\t\"Scrabble(R) - German\"\ngametype\t7\nnplayers\t1\n";
  ASSERT_TRUE(readText(head + "rack\t0\t\xFC\xC5\n" + rows(15, 15, {"\xC4\xFC"}))) << printed;
  EXPECT_EQ(squareAt(game.board, 0, 0)->letter, '\xE4');
  EXPECT_FALSE(squareAt(game.board, 0, 0)->isBlank);
  EXPECT_EQ(squareAt(game.board, 1, 0)->letter, '\xFC');
  EXPECT_TRUE(squareAt(game.board, 1, 0)->isBlank);
  EXPECT_EQ(game.racks[0].total(), 1);  // Å is no German tile
  EXPECT_FALSE(readText(head + rows(15, 15, {"\xC5"})));
  EXPECT_EQ(printed, "Error: invalid board data");
}

}  // namespace
}  // namespace pexil
