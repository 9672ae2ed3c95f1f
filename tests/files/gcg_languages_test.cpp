// Game records in every language the program ships: multi-letter tiles
// spelled in racks, words, exchanges and end-of-game lines as the "#tile"
// lines declare them (a blank standing for one in lower case), records of
// earlier versions with digit codes still read, every "#lexicon" line the
// writer gives names the list it came from, and self-play games of every
// language come back whole.
#include <gtest/gtest.h>

#include "files/gcg_reader.hpp"
#include "files/gcg_tiles.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "search/strategy.hpp"

namespace pexil {
namespace {

std::string sourceDefinitions() { return PEXIL_SOURCE_DIR "/data/game.definitions"; }

struct Language {
  const char* type;
  int alphabet;
  const char* letters;
  const char* probes;
  std::vector<std::string> banned;
};

const std::vector<Language>& languages() {
  static const std::vector<Language> all = {
      {"Scrabble(R) - American English", kAlphabetEnglish, "abcdefghijklmnopqrstuvwxyz",
       "there\nthis\nthat\nthe\nhave\ngroup\nagainst\nseveral\n", {}},
      {"Scrabble(R) - Spanish", kAlphabetSpanish, "abcdefghijlmnopqrstuvxyz123\xF1", "abo2an\nabolaga\naboga\nacervado\n",
       {"ch", "ll", "rr", "l2", "2l", "r3", "3r"}},
      {"Scrabble(R) - Danish", kAlphabetDanish, "abcdefghijklmnoprstuvxyz\xE6\xF8\xE5",
       "kurvfulde\nretr\xE6tes\nsm\xE5" "barn\nb\xF8" "ddel\n", {}},
      {"Scrabble(R) - French", kAlphabetFrench, "abcdefghijklmnopqrstuvwxyz", "abaissait\nencabanasses\nhuisserie\npronassiez\n", {}},
      {"Scrabble(R) - German", kAlphabetGerman, "abcdefghijklmnopqrstuvwxyz\xE4\xF6\xFC",
       "afroamerikaner\nagrikultur\nahnungsvolle\n", {}},
      {"Scrabble(R) - Italian", kAlphabetItalian, "abcdefghilmnopqrstuvz", "abavo\narteficio\ngambizzi\nsemipoetica\n", {}},
      {"Scrabble(R) - Catalan", kAlphabetCatalan, "abcdefghijlmnopqrstuvxzkwy", "abarrocarem\nemmagrix\nprimmirat\n", {}},
      {"Scrabble(R) - Swedish", kAlphabetSwedish, "abcdefghijklmnoprstuvxyz\xE4\xF6\xE5",
       "allergisk\nf\xE4ltm\xE4ssig\nlagspr\xE5k\n", {}},
      {"Scrabble(R) - Latin", kAlphabetLatin, "abcdefghilmnopqrstuvx", "abivgavi\naccvsare\n", {}},
  };
  return all;
}

class GcgLanguageRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUILang(kEnglish);
    setProgramSeed(2024u);
    readGameDefinitions(sourceDefinitions());
    textPane().SetQuiet(true);
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
    activateGameType(kKindStandard);
  }
  // Activates the language's game type and loads its list, saved under
  // `fileName`.
  std::shared_ptr<Lexicon> load(const Language& language, const std::string& fileName) {
    EXPECT_TRUE(activateGameType(kKindDefined, findGameType(language.type))) << language.type;
    auto lexicon = std::make_shared<Lexicon>();
    lexicon->loadLeaves = false;
    loadWordListWithTables(*lexicon, folder.write(fileName, test::languageList(language.letters, language.probes, language.banned)));
    EXPECT_EQ(lexicon->alphabet(), language.alphabet) << language.type;
    setWordListAlphabet(language.alphabet);
    return lexicon;
  }
  test::StateGuard guard;
  test::TempFolder folder;
};

// The "#lexicon" line of a record whose game used `lexicon`.
std::string lexiconLineOf(const std::shared_ptr<Lexicon>& lexicon) {
  Game game;
  undoStack().clear();
  NewGame(game, 2, lexicon);
  const std::string text = GcgText(game);
  const std::size_t at = text.find("#lexicon");
  return at == std::string::npos ? std::string() : text.substr(at, text.find('\n', at) - at);
}

TEST_F(GcgLanguageRecords, TheLexiconLineOfEveryShippedListNamesThatList) {
  for (const Language& language : languages()) {
    SCOPED_TRACE(language.type);
    const std::string listName = gameType(findGameType(language.type)).defaultWordList;
    const std::string line = lexiconLineOf(load(language, listName));
    ASSERT_FALSE(line.empty());
    const GcgListChoice choice = gcgListForLexiconLine(line);
    EXPECT_EQ(latin1Lower(choice.wordList), latin1Lower(listName)) << line;
    EXPECT_EQ(choice.alphabet, language.alphabet) << line;
  }
}

TEST_F(GcgLanguageRecords, ListsOfOtherNamesGiveTheirLanguage) {
  for (const Language& language : languages()) {
    SCOPED_TRACE(language.type);
    const std::string line = lexiconLineOf(load(language, "mine.lst"));
    const GcgListChoice choice = gcgListForLexiconLine(line);
    EXPECT_EQ(choice.alphabet, language.alphabet) << line;
    if (language.alphabet == kAlphabetEnglish) {
      EXPECT_EQ(line, "");
    }
  }
}

TEST_F(GcgLanguageRecords, SelfPlayGamesOfEveryLanguageComeBackWhole) {
  for (const Language& language : languages()) {
    SCOPED_TRACE(language.type);
    const std::string listName = std::string("x") + std::to_string(language.alphabet) + ".lst";
    const auto lexicon = load(language, listName);
    GcgReadOptions options;
    options.lexicon = lexicon;
    for (int g = 0; g < 3; ++g) {
      SCOPED_TRACE(g);
      ASSERT_TRUE(activateGameType(kKindDefined, findGameType(language.type)));
      setWordListAlphabet(language.alphabet);
      Game played;
      undoStack().clear();
      NewGame(played, 2, lexicon);
      played.strategies[0] = played.strategies[1] = 1;
      for (int turn = 0; turn < 60 && !played.gameOver; ++turn) {
        // Now and then an exchange, so that exchanged tiles are written too.
        if (turn % 7 == 3 && ExchangeAllowed(played)) {
          const std::string rack = rackString(played.racks[static_cast<std::size_t>(played.toMove)]);
          Exchange(played, rack.substr(0, rack.size() / 2));
        } else {
          PlayStrategyTurn(played);
        }
      }
      const std::string path = folder.path("game.gcg");
      ASSERT_TRUE(WriteGcg(played, path));
      activateGameType(kKindStandard);
      setWordListAlphabet(kAlphabetEnglish);
      Game read;
      const GcgReadResult result = ReadGcg(read, path, options);
      ASSERT_TRUE(result.opened);
      EXPECT_TRUE(result.faults.empty()) << test::problemsOf(result) << GcgText(played);
      EXPECT_FALSE(result.pragmaDiscarded) << test::problemsOf(result);
      EXPECT_EQ(rules().gameTypeIndex, findGameType(language.type));
      EXPECT_EQ(test::historyText(read), test::historyText(played)) << GcgText(played);
      EXPECT_EQ(test::positionText(read), test::positionText(played)) << GcgText(played);
      EXPECT_EQ(GcgText(read), GcgText(played));
    }
  }
}

// ---- the multi-letter tiles spelled out ----

class GcgDoubleTiles : public GcgLanguageRecords {
 protected:
  void SetUp() override {
    GcgLanguageRecords::SetUp();
    lexicon = load(languages()[1], "SPANISH.LST");
    NewGame(game, 2, lexicon);
  }
  void setRack(int player, std::string_view tiles) { test::setRack(game, player, tiles); }
  void place(std::string_view rack, const char* word, int column, int row, int direction) {
    test::placeWord(game, rack, word, column, row, direction);
  }
  std::vector<std::string> lines() const {
    std::vector<std::string> all;
    std::istringstream in(GcgText(game));
    for (std::string line; std::getline(in, line);) all.push_back(line);
    return all;
  }
  bool hasLine(const std::string& wanted) const {
    const auto all = lines();
    return std::find(all.begin(), all.end(), wanted) != all.end();
  }
  LetterCounts counts(std::string_view tiles) const {
    LetterCounts c;
    addLetters(c, tiles, nullptr);
    return c;
  }
  std::shared_ptr<Lexicon> lexicon;
  Game game;
};

TEST_F(GcgDoubleTiles, TilesTextPutsDoubleTilesFirstAndKeepsLettersApart) {
  EXPECT_EQ(gcgTilesText(counts("12LLAE?")), "LLCHAEL?L");
  EXPECT_EQ(gcgTilesText(counts("ALL")), "LAL");
  EXPECT_EQ(gcgTilesText(counts("CH")), "HC");
  EXPECT_EQ(gcgTilesText(counts("3RR")), "RRRR");  // no way to keep them apart
  // The first reading of what is written is what was written.
  for (const char* tiles : {"12LLAE?", "ALL", "CH", "3A", "2L", "1CHO"}) {
    const auto readings = gcgTileReadings(gcgTilesText(counts(tiles)));
    ASSERT_FALSE(readings.empty()) << tiles;
    EXPECT_EQ(readings.front(), counts(tiles)) << tiles;
  }
  // "LL" is one tile or two; the digit codes of earlier records read too.
  const auto ll = gcgTileReadings("LL");
  ASSERT_EQ(ll.size(), 2u);
  EXPECT_EQ(ll[0], counts("2"));
  EXPECT_EQ(ll[1], counts("LL"));
  ASSERT_EQ(gcgTileReadings("EEELOO1").size(), 1u);
  EXPECT_EQ(gcgTileReadings("EEELOO1")[0], counts("EEELOO1"));
  EXPECT_TRUE(gcgTileReadings("AKW").empty());  // no K or W in Spanish
}

TEST_F(GcgDoubleTiles, RacksWordsAndExchangesSpellTheDoubleTilesAndReadBack) {
  SetPlayerName(game, 0, "Ana");
  SetPlayerName(game, 1, "Bea");
  place("12LLAE?", "1a2e", 7, 7, kAcross);    // CH A LL E
  place("?OSTUIN", "o1a", 8, 5, kDown);       // O, a blank CH, the A
  place("AEIOUNS", "a1", 7, 6, kAcross);      // A before the blank CH
  setRack(1, "ALLOSTU");
  Exchange(game, "OSTU");                      // returns A L L
  const std::string rack0 = gcgTilesText(game.history[0].rackBefore);
  EXPECT_EQ(rack0, "LLCHAEL?L");
  EXPECT_TRUE(hasLine(">Ana: LLCHAEL?L 8H CHALLE +" + std::to_string(game.history[0].move.move().score) + " " +
                      std::to_string(game.history[0].scoresAfter[0])));
  EXPECT_TRUE(hasLine(">Bea: INOSTU? I6 OchA +" + std::to_string(game.history[1].move.move().score) + " " +
                      std::to_string(game.history[1].scoresAfter[1])));
  // The blank CH stays a blank in the later word that takes it in.
  EXPECT_TRUE(hasLine(">Ana: AEINOSU 7H Ach +" + std::to_string(game.history[2].move.move().score) + " " +
                      std::to_string(game.history[2].scoresAfter[0])));
  EXPECT_TRUE(hasLine(">Bea: ALOLSTU -LAL +0 " + std::to_string(game.history[3].scoresAfter[1])));
  // No rack is written with the digit codes of the one-character forms.
  for (const std::string& line : lines()) {
    std::istringstream words(line);
    std::string nick, rack;
    words >> nick >> rack;
    if (line.starts_with(">") || line.starts_with("#rack")) {
      EXPECT_EQ(rack.find_first_of("123"), std::string::npos) << line;
    }
  }

  const std::string path = folder.path("double.gcg");
  ASSERT_TRUE(WriteGcg(game, path));
  activateGameType(kKindStandard);
  setWordListAlphabet(kAlphabetEnglish);
  GcgReadOptions options;
  options.lexicon = lexicon;
  Game read;
  const GcgReadResult result = ReadGcg(read, path, options);
  EXPECT_TRUE(result.faults.empty()) << test::problemsOf(result);
  EXPECT_FALSE(result.pragmaDiscarded) << test::problemsOf(result);
  EXPECT_EQ(test::historyText(read), test::historyText(game));
  EXPECT_EQ(test::positionText(read), test::positionText(game));
  EXPECT_TRUE(squareAt(read.board, 8, 6)->isBlank);
  EXPECT_EQ(GcgText(read), GcgText(game));
}

TEST_F(GcgDoubleTiles, RecordsWithDigitCodesStillRead) {
  const std::string path = folder.write("old.gcg",
                                        "#player1 A A\n#player2 B B\n#lexicon SPANISH\n"
                                        ">A: EEELOO1 8G ELCHE +22 22\n>B: ACGNPT2 G7 PE +4 4\n");
  GcgReadOptions options;
  options.lexicon = lexicon;
  Game read;
  const GcgReadResult result = ReadGcg(read, path, options);
  ASSERT_TRUE(result.opened);
  EXPECT_TRUE(result.unrecognised.empty()) << test::problemsOf(result);
  ASSERT_EQ(read.history.size(), 2u);
  EXPECT_EQ(read.history[0].rackBefore, counts("EEELOO1"));
  EXPECT_EQ(read.history[1].rackBefore, counts("ACGNPT2"));
}

}  // namespace
}  // namespace pexil
