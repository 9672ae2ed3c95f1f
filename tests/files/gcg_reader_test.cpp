// Reading game records: the word list a "#lexicon" line chooses, players,
// "." for tiles on the board, end-of-game rack lines, "#rack1"/"#rack2",
// the alternative save name, the faults that are mended and those that
// skip a line, and hostile input (truncated records, huge lines, bytes of
// every kind) that must never crash the reader or lose a tile.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"

namespace pexil {
namespace {

// The pane's lines as one text (long lines are wrapped in the pane).
std::string paneText(const test::PaneCapture& capture) {
  std::string text;
  for (const std::string& line : capture.lines()) text += line;
  return text;
}

bool hasFault(const GcgReadResult& result, GcgFault fault) {
  return std::any_of(result.faults.begin(), result.faults.end(), [&](const GcgFaultNote& f) { return f.fault == fault; });
}

char letterAt(const Game& game, int column, int row) {
  const Square* s = squareAt(game.board, column, row);
  return s == nullptr || s->empty() ? '.' : s->isBlank ? latin1Upper(s->letter) : s->letter;
}

class GcgReading : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(4242u);
    options.lexicon = test::plainWords();
  }
  void TearDown() override { undoStack().clear(); }

  GcgReadResult readText(const std::string& text) {
    const std::string path = folder.write("record.gcg", text);
    return ReadGcg(game, path, options);
  }

  test::StateGuard guard;
  test::TempFolder folder;
  GcgReadOptions options;
  Game game;
};

const std::string kPlayers = "#player1 Ann_Lee Ann Lee\n#player2 Bob Bob\n";

// ---- the word list ----

TEST(GcgLexiconLine, ChoosesTheListAndTheAlphabet) {
  struct Case {
    const char* line;
    const char* list;
    int alphabet;
  };
  const Case cases[] = {
      {"#lexicon TWL06", "TWL06.LST", kAlphabetEnglish},   {"#lexicon TWL98", "ENABLE.LST", kAlphabetEnglish},
      {"#lexicon TWL", "TWL06.LST", kAlphabetEnglish},     {"#lexicon OSPD4", "TWL06.LST", kAlphabetEnglish},
      {"#lexicon OSPD2", "OSPD2.LST", kAlphabetEnglish},   {"#lexicon OSPD3", "ENABLE.LST", kAlphabetEnglish},
      {"#lexicon ENABLE2K", "ENABLE.LST", kAlphabetEnglish}, {"#lexicon enable", "ENABLE.LST", kAlphabetEnglish},
      {"#lexicon SOWPODS", "SOWPODS.lst", kAlphabetEnglish}, {"#lexicon CSW12", "CSW12.LST", kAlphabetEnglish},
      {"#lexicon CSW19", "SOWPODS.lst", kAlphabetEnglish}, {"#lexicon csw21", "SOWPODS.lst", kAlphabetEnglish},
      {"#lexicon FISE", "FISE.LST", kAlphabetSpanish},     {"#lexicon DANISH", "DANISH.LST", kAlphabetDanish},
      {"#lexicon german", "GERMAN.LST", kAlphabetGerman},  {"#lexicon ITALIAN", "ITALIAN.LST", kAlphabetItalian},
      {"#lexicon ODS5", "ODS5.LST", kAlphabetFrench},      {"#lexicon ODS8", "ODS5.LST", kAlphabetFrench},
      {"#lexicon LATIN", "LATIN.LST", kAlphabetLatin},     {"#lexicon CATALAN", "CATALAN.lst", kAlphabetCatalan},
      {"#lexicon SWEDISH", "SWEDISH.lst", kAlphabetSwedish}, {"#lexicon ITALIAN LATIN", "LATIN.LST", kAlphabetLatin},
      {"#lexicon NWL20", "", kAlphabetEnglish},            {"#lexicon", "", kAlphabetEnglish},
  };
  for (const Case& c : cases) {
    const GcgListChoice choice = gcgListForLexiconLine(c.line);
    EXPECT_EQ(choice.wordList, c.list) << c.line;
    EXPECT_EQ(choice.alphabet, c.alphabet) << c.line;
  }
}

TEST_F(GcgReading, TheNamedListIsLoadedAndAMissingOneGivesWayToTheDefault) {
  options.lexicon = nullptr;
  folder.write("TWL06.LST", "at\nta\ncat\n");
  folder.write("ENGLISH.LST", "aa\nab\n");
  test::InFolder inside(folder.path(""));
  test::PaneCapture capture;
  GcgReadResult result = readText(kPlayers + "#lexicon TWL06\n");
  EXPECT_EQ(result.wordListChosen, "TWL06.LST");
  EXPECT_EQ(game.lexicon->fileName(), "TWL06.LST");
  EXPECT_FALSE(result.pragmaDiscarded);
  // CSW21 names SOWPODS.lst, which is not there.
  result = readText(kPlayers + "#lexicon CSW21\n");
  EXPECT_EQ(result.wordListChosen, "SOWPODS.lst");
  EXPECT_EQ(game.lexicon->fileName(), "ENGLISH.LST");
  EXPECT_NE(paneText(capture).find("Word list \"SOWPODS.lst\" not found: using \"ENGLISH.LST\" instead."), std::string::npos);
  // No line: the default list.
  result = readText(kPlayers);
  EXPECT_EQ(result.wordListChosen, "");
  EXPECT_EQ(game.lexicon->fileName(), "ENGLISH.LST");
}

// ---- players and move lines ----

TEST_F(GcgReading, NamesAreTheNicknamesWithSpacesBack) {
  const GcgReadResult result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Bob: ADEIKLN E7 K.NDLE +17 17\n");
  EXPECT_FALSE(result.pragmaDiscarded);
  EXPECT_EQ(playerName(game, 0), "Ann Lee");
  EXPECT_EQ(playerName(game, 1), "Bob");
  EXPECT_EQ(game.history.size(), 2u);
  EXPECT_EQ(game.toMove, 0);
}

TEST_F(GcgReading, AMoveLineOfNeitherPlayerIsSkippedWithTheWarning) {
  const GcgReadResult result =
      readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Carol: ADEIKLN E7 K.NDLE +17 17\n>Bob: ADEIKLN E7 K.NDLE +17 17\n");
  EXPECT_TRUE(result.pragmaDiscarded);
  ASSERT_EQ(result.unrecognised.size(), 1u);
  EXPECT_EQ(result.unrecognised[0].number, 4);
  EXPECT_TRUE(hasFault(result, GcgFault::unknownPlayer));
  EXPECT_EQ(game.history.size(), 2u);
  // "#player3" is no player of a two-player game either.
  EXPECT_TRUE(readText(kPlayers + "#player3 Cy Cy\n").pragmaDiscarded);
}

TEST_F(GcgReading, DotsAndLettersStandForTheTilesOnTheBoard) {
  for (const char* word : {"K.NDLE", "KANDLE", "K#NDLE", "kANDLE"}) {
    SCOPED_TRACE(word);
    const bool blank = word[0] == 'k';
    const GcgReadResult result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Bob: " +
                                          (blank ? "?ADEILN" : "ADEIKLN") + " E7 " + word + " +17 17\n");
    EXPECT_TRUE(result.faults.empty()) << test::problemsOf(result);
    ASSERT_EQ(game.history.size(), 2u);
    const Move& m = game.history[1].move.move();
    EXPECT_EQ(m.wordView(), "kandle");
    EXPECT_EQ(m.direction, kDown);
    EXPECT_EQ(m.isBlankAt(0), blank);
    EXPECT_EQ(letterAt(game, 4, 6), blank ? 'K' : 'k');
    EXPECT_EQ(letterAt(game, 4, 7), 'a');
    EXPECT_EQ(letterAt(game, 4, 11), 'e');
    // WATER: 2 x (8 + 4) = 24; KANDLE: D7 plain ... all single, one DLS.
    EXPECT_EQ(game.history[0].move.move().score, 24);
    EXPECT_TRUE(tilesConserved(game));
  }
}

TEST_F(GcgReading, EndOfGameRackLinesAndScoreLinesAreRead) {
  const GcgReadResult result = readText(kPlayers +
                                        ">Ann_Lee: AEHRTTW 8D WATER +24 24\n"
                                        ">Ann_Lee: AEHRTTW (challenge) +5 29\n"
                                        ">Bob: (AEHRTTW) +20 20\n"
                                        ">Bob: ADEIKLN (ADEIKLN) -11 9\n"
                                        ">Bob: ADEIKLN (time) -10 -1\n");
  EXPECT_FALSE(result.pragmaDiscarded) << test::problemsOf(result);
  EXPECT_EQ(game.history.size(), 1u);
  EXPECT_TRUE(game.history[0].survivedChallenge);
  EXPECT_EQ(game.scores[0], 29);
  // The end-of-game lines say the game ended, and how it was scored.
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[1], -1);
  EXPECT_EQ(result.statedFinal[1], -1);
}

TEST_F(GcgReading, RackLinesSetTheFinalRacksUnlessTheirPlayerMovesAfter) {
  // Before Bob's last line: forgotten. After Ann's last line: kept.
  GcgReadResult result =
      readText(kPlayers + "#rack2 ZZZ\n>Ann_Lee: AEHRTTW 8D WATER +24 24\n#rack1 EEIOU?\n>Bob: ADEIKLN -KL +0 0\n");
  EXPECT_FALSE(result.pragmaDiscarded) << test::problemsOf(result);
  EXPECT_EQ(rackString(game.racks[0]), "EEIOU?");
  EXPECT_EQ(game.racks[1].total(), 7);
  EXPECT_TRUE(tilesConserved(game));
  result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n#rack1 ZZZ\n#rack2 QQ\n");
  // Only one Z and one Q exist: neither rack can be made.
  EXPECT_TRUE(hasFault(result, GcgFault::impossibleRack));
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(GcgReading, AWithdrawnPlayIsTakenBackAndAnExchangeKeepsTheRest) {
  const GcgReadResult result = readText(kPlayers +
                                        ">Ann_Lee: AEHRTTW 8D WRATHE +32 32\n"
                                        ">Ann_Lee: AEHRTTW -- -32 0\n"
                                        ">Bob: ADEIKLN -DKL +0 0\n"
                                        ">Ann_Lee: AEHRTTW - +0 0\n");
  EXPECT_TRUE(result.faults.empty()) << test::problemsOf(result);
  ASSERT_EQ(game.history.size(), 3u);
  EXPECT_EQ(game.history[0].move.move().word, label::lostChallenge);
  EXPECT_TRUE(game.history[0].hasChallengedMove);
  EXPECT_EQ(game.history[0].challengedMove.move().wordView(), "wrathe");
  EXPECT_EQ(game.scores[0], 0);
  EXPECT_TRUE(isExchange(game.history[1].move.move()));
  EXPECT_EQ(game.history[1].move.move().leaveView(), "AEIN");
  EXPECT_TRUE(isPass(game.history[2].move.move()));
  for (const Square& s : game.board.squares) EXPECT_TRUE(s.empty());
  ASSERT_EQ(result.moves.size(), 4u);
  EXPECT_EQ(result.moves[1].computedScore, -32);
  EXPECT_FALSE(result.moves[1].scoresDiffer());
}

TEST_F(GcgReading, APassAfterTheOthersChallengeLineIsTheTurnTheChallengeCost) {
  readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Ann_Lee: AEHRTTW (challenge) +0 24\n>Bob: ADEIKLN - +0 0\n");
  ASSERT_EQ(game.history.size(), 2u);
  EXPECT_EQ(game.history[1].move.move().word, label::incorrectChallenge);
  readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Bob: ADEIKLN - +0 0\n");
  EXPECT_TRUE(isPass(game.history[1].move.move()));
}

// ---- the alternative save name ----

TEST_F(GcgReading, TheAlternativeNameIsTheFirstFreeNumber) {
  const std::string base = folder.path("game");
  EXPECT_EQ(gcgAlternativeName(base + ".gcg"), base + "-0.gcg");
  folder.write("game-0.gcg", "");
  folder.write("game-1.gcg", "");
  EXPECT_EQ(gcgAlternativeName(base + ".gcg"), base + "-2.gcg");
  for (int n = 2; n <= 999; ++n) folder.write("game-" + std::to_string(n) + ".gcg", "");
  EXPECT_EQ(gcgAlternativeName(base + ".gcg"), base + "-999.gcg");
  // Only the file name's extension goes.
  EXPECT_EQ(gcgAlternativeName("/tmp/a.b/record"), "/tmp/a.b/record-0.gcg");
  const GcgReadResult result = readText(kPlayers + "#title x\n");
  EXPECT_TRUE(result.pragmaDiscarded);
  EXPECT_EQ(result.alternativeName, folder.path("record-0.gcg"));
}

TEST_F(GcgReading, AMissingFileSaysSoAndLeavesTheGame) {
  readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n");
  const std::string before = test::historyText(game) + test::positionText(game);
  test::PaneCapture capture;
  const std::string path = folder.path("nothing.gcg");
  const GcgReadResult result = ReadGcg(game, path, options);
  EXPECT_FALSE(result.opened);
  EXPECT_EQ(test::historyText(game) + test::positionText(game), before);
  EXPECT_NE(paneText(capture).find("File " + path + " not found."), std::string::npos);
}

// ---- faults mended ----

TEST_F(GcgReading, MoveLinesBeforeThePlayerLinesNameThePlayers) {
  const GcgReadResult result = readText(">ann: AEHRTTW 8D WATER +24 24\n>bob: ADEIKLN E7 K.NDLE +17 17\n");
  EXPECT_TRUE(hasFault(result, GcgFault::playersAdopted));
  EXPECT_FALSE(result.pragmaDiscarded);
  EXPECT_EQ(game.history.size(), 2u);
  EXPECT_EQ(playerName(game, 1), "bob");
}

TEST_F(GcgReading, MissingTilesAreAddedAndAdjoiningTilesJoinTheWord) {
  // Bob's rack lacks the K; the word leaves out the W before it.
  const GcgReadResult result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Bob: ADEILN 8I S +8 8\n");
  EXPECT_TRUE(hasFault(result, GcgFault::tilesAdded)) << test::problemsOf(result);
  ASSERT_EQ(game.history.size(), 2u);
  const Move& m = game.history[1].move.move();
  EXPECT_EQ(m.wordView(), "waters");
  EXPECT_EQ(m.column, 3);
  EXPECT_TRUE(hasFault(result, GcgFault::wordExtended));
  EXPECT_EQ(rackString(game.history[1].rackBefore), "ADEILNS");
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(GcgReading, ATurnSkippedBecomesAPassAndAGameOverGoesOn) {
  GcgReadResult result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n>Ann_Lee: ADEIKLN E7 K.NDLE +17 41\n");
  EXPECT_TRUE(hasFault(result, GcgFault::turnSkipped));
  ASSERT_EQ(game.history.size(), 3u);
  EXPECT_TRUE(isPass(game.history[1].move.move()));
  EXPECT_EQ(game.scores[0], 24 + game.history[2].move.move().score);
  // Six passes end our game; the record goes on.
  std::string text = kPlayers;
  for (int i = 0; i < 3; ++i) text += ">Ann_Lee: AEHRTTW - +0 0\n>Bob: ADEIKLN - +0 0\n";
  text += ">Ann_Lee: AEHRTTW 8D WATER +24 24\n";
  result = readText(text);
  EXPECT_TRUE(hasFault(result, GcgFault::gameReopened));
  EXPECT_EQ(game.history.size(), 7u);
  EXPECT_EQ(game.scores[0], 24);
  EXPECT_EQ(game.scores[1], 0);
  EXPECT_FALSE(game.gameOver);
  EXPECT_TRUE(tilesConserved(game));
}

// ---- bad input ----

TEST_F(GcgReading, LinesThatCannotBeUsedAreSkipped) {
  struct Case {
    const char* line;
    GcgFault fault;
  };
  const Case cases[] = {
      {">Bob: ADEIKLN 16A KALE +9 9", GcgFault::badPosition},  {">Bob: ADEIKLN P8 KALE +9 9", GcgFault::badPosition},
      {">Bob: ADEIKLN 8P KALE +9 9", GcgFault::badPosition},   {">Bob: ADEIKLN 0H KALE +9 9", GcgFault::badPosition},
      {">Bob: ADEIKLN H0 KALE +9 9", GcgFault::badPosition},   {">Bob: ADEIKLN 8Z KALE +9 9", GcgFault::badPosition},
      {">Bob: ADEIKLN 8HH KALE +9 9", GcgFault::badPosition},  {">Bob: ADEIKLN 99999999H KALE +9 9", GcgFault::badPosition},
      {">Bob: ADEIKLN 1M DENIAL +9 9", GcgFault::offBoard},    {">Bob: ADEIKLN M12 DENIAL +9 9", GcgFault::offBoard},
      {">Bob: ZZZZ 1A ZZZZ +9 9", GcgFault::impossibleRack},   {">Bob: AAAAAAAA 1A AA +2 2", GcgFault::impossibleRack},
      {">Bob: AD1IKLN 1A AD +3 3", GcgFault::badRack},         {">Bob: ADEIKLN 1A A1 +3 3", GcgFault::dotOnEmptySquare},
      {">Bob: ADEIKLN 1A A\xE9 +3 3", GcgFault::badWord},      {">Bob: ADEIKLN 1A ... +3 3", GcgFault::dotOnEmptySquare},
      {">Bob: ADEIKLN -Q +0 0", GcgFault::impossibleRack},     {">Bob: ADEIKLN -1 +0 0", GcgFault::exchangeByCount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const GcgReadResult result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n" + c.line + "\n#note after\n");
    EXPECT_TRUE(hasFault(result, c.fault)) << test::problemsOf(result);
    EXPECT_TRUE(tilesConserved(game));
    EXPECT_EQ(letterAt(game, 3, 7), 'w');
  }
  // Nonsense lines and pragmas we do not know.
  for (const char* line : {">Bob:", ">Bob: ADEIKLN", ">Bob: ADEIKLN 8H", "#comment x", "hello", "#note before any move",
                           "#notebook", "#player1", "#player 1 x", "#rack"}) {
    SCOPED_TRACE(line);
    const GcgReadResult result = readText(std::string(line) + "\n" + kPlayers);
    EXPECT_TRUE(result.pragmaDiscarded);
  }
}

TEST_F(GcgReading, AHugeLineIsSkippedAndTheRestRead) {
  const std::string huge = "#note " + std::string(300000, 'x');
  const GcgReadResult result = readText(kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n" + huge + "\n>Bob: ADEIKLN E7 K.NDLE +17 17\n");
  EXPECT_TRUE(hasFault(result, GcgFault::lineTooLong));
  EXPECT_EQ(game.history.size(), 2u);
  EXPECT_TRUE(game.history[0].notes.empty());
  // Empty lines, lines of blanks, CR LF and lone CR line ends are all fine.
  const GcgReadResult crlf = readText("\r\n  \t\r\n#player1 Ann_Lee Ann\r#player2 Bob Bob\r\n\n>Ann_Lee: AEHRTTW 8D WATER +24 24\r\n");
  EXPECT_FALSE(crlf.pragmaDiscarded) << test::problemsOf(crlf);
  EXPECT_EQ(game.history.size(), 1u);
}

TEST_F(GcgReading, UnrepresentableTextIsSkipped) {
  // "Ł" and an emoji in UTF-8; a byte that is no UTF-8 in a UTF-8 record.
  const GcgReadResult result = readText("#character-encoding UTF-8\n" + kPlayers +
                                        ">Ann_Lee: AEHRTTW 8D WATER +24 24\n#note caf\xC3\xA9 \xF0\x9F\x98\x80\n"
                                        ">Bob: ADEIK\xC5\x81N E7 K.NDLE +17 17\n#note \xE9t\xE9\n");
  EXPECT_TRUE(hasFault(result, GcgFault::notRepresentable));
  EXPECT_EQ(result.unrecognised.size(), 3u);
  EXPECT_EQ(game.history.size(), 1u);
  // Without the emoji the note is kept, in Latin-1.
  readText("#character-encoding UTF-8\n" + kPlayers + ">Ann_Lee: AEHRTTW 8D WATER +24 24\n#note caf\xC3\xA9\n");
  ASSERT_EQ(game.history[0].notes.size(), 1u);
  EXPECT_EQ(game.history[0].notes[0], "caf\xE9");
}

TEST_F(GcgReading, EveryTruncationOfARecordReadsSafely) {
  std::ifstream in(PEXIL_TEST_DATA "/gcg-samples/macondo/doug_v_emely.gcg", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(text.size(), 500u);
  textPane().SetQuiet(true);
  for (std::size_t cut = 0; cut <= text.size(); cut += 7) {
    const std::string before = test::historyText(game);
    const GcgReadResult result = readText(text.substr(0, cut));
    // A part too short to hold anything of a game leaves the game as it was.
    if (!result.opened) {
      ASSERT_TRUE(result.nothingRead) << cut;
      ASSERT_EQ(test::historyText(game), before) << cut;
      continue;
    }
    ASSERT_TRUE(tilesConserved(game)) << cut;
    ASSERT_LE(game.history.size(), 26u);
  }
  textPane().SetQuiet(false);
}

TEST_F(GcgReading, RandomBytesAndMangledRecordsNeverCrash) {
  std::ifstream in(PEXIL_TEST_DATA "/gcg-samples/liwords/many_challenges.gcg", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Mt19937 random;
  random.seed(99);
  textPane().SetQuiet(true);
  for (int round = 0; round < 150; ++round) {
    std::string mangled = text;
    // Change a few bytes of a real record, or write noise with line ends.
    if (round % 3 != 0) {
      for (int k = 0; k < 8; ++k) mangled[random.next() % mangled.size()] = static_cast<char>(random.next() % 256);
    } else {
      mangled.assign(random.next() % 400, '\0');
      const char alphabet[] = ">#: -+.?()ABCDEZaez0189\n\xC3\xB7\xE9";
      for (char& c : mangled) c = alphabet[random.next() % (sizeof alphabet - 1)];
      mangled = kPlayers + mangled;
    }
    const std::string before = test::historyText(game);
    const GcgReadResult result = readText(mangled);
    // Zero bytes make it no text, and no record: the game stays.
    if (!result.opened) {
      ASSERT_NE(mangled.find('\0'), std::string::npos) << round;
      ASSERT_EQ(test::historyText(game), before) << round;
      continue;
    }
    ASSERT_TRUE(tilesConserved(game)) << round;
    // What we read, we can write and read again.
    ASSERT_TRUE(WriteGcg(game, folder.path("again.gcg")));
    Game copy;
    ReadGcg(copy, folder.path("again.gcg"), options);
    ASSERT_TRUE(tilesConserved(copy)) << round;
  }
  textPane().SetQuiet(false);
}

// ---- other alphabets ----

class GcgLanguages : public GcgReading {
 protected:
  void SetUp() override {
    GcgReading::SetUp();
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    textPane().SetQuiet(true);
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    GcgReading::TearDown();
  }
  // A language's list (see test::languageList), loaded.
  static std::shared_ptr<Lexicon> listOf(const test::TempFolder& where, const std::string& name, const std::string& letters,
                                         const std::string& probes, const std::vector<std::string>& banned = {}) {
    const std::string list = test::languageList(letters, probes, banned);
    auto lexicon = std::make_shared<Lexicon>();
    lexicon->loadLeaves = false;
    loadWordListWithTables(*lexicon, where.write(name, list));
    return lexicon;
  }
  // Self-play games of the language written and read back whole.
  void roundTrips(const std::string& typeName, const std::shared_ptr<Lexicon>& lexicon, int alphabet,
                  const std::string& lexiconLine, const std::string& spelled) {
    options.lexicon = lexicon;
    int seen = 0;
    for (int g = 0; g < 6; ++g) {
      SCOPED_TRACE(g);
      ASSERT_TRUE(activateGameType(kKindDefined, findGameType(typeName)));
      setWordListAlphabet(alphabet);
      Game played;
      undoStack().clear();
      NewGame(played, 2, lexicon);
      played.strategies[0] = played.strategies[1] = 1;
      for (int turn = 0; turn < 40 && !played.gameOver; ++turn) PlayStrategyTurn(played);
      const std::string text = GcgText(played);
      EXPECT_NE(text.find(lexiconLine), std::string::npos);
      seen += text.find(spelled) != std::string::npos;
      ASSERT_TRUE(WriteGcg(played, folder.path("lang.gcg")));
      activateGameType(kKindStandard);
      setWordListAlphabet(kAlphabetEnglish);
      Game read;
      const GcgReadResult result = ReadGcg(read, folder.path("lang.gcg"), options);
      EXPECT_TRUE(result.faults.empty()) << test::problemsOf(result);
      EXPECT_FALSE(result.pragmaDiscarded) << test::problemsOf(result);
      EXPECT_EQ(rules().gameTypeIndex, findGameType(typeName));
      EXPECT_EQ(test::historyText(read), test::historyText(played)) << text;
      EXPECT_EQ(test::positionText(read), test::positionText(played)) << text;
    }
    // The multi-letter tiles were written out in the records.
    EXPECT_GT(seen, 0);
  }
};

TEST_F(GcgLanguages, SpanishGamesWithDoubleTilesComeBackWhole) {
  static test::TempFolder where;
  const auto lexicon = listOf(where, "spanish_test.lst", "abcdefghijlmnopqrstuvxyz123\xF1", "abo2an\nabolaga\naboga\nacervado\n",
                              {"ch", "ll", "rr", "l2", "2l", "r3", "3r"});
  ASSERT_EQ(lexicon->alphabet(), kAlphabetSpanish);
  roundTrips("Scrabble(R) - Spanish", lexicon, kAlphabetSpanish, "#lexicon SPANISH\n#tile LL ll\n#tile RR rr\n#tile CH ch\n", "CH");
}

TEST_F(GcgLanguages, CatalanGamesWithDoubleTilesComeBackWhole) {
  static test::TempFolder where;
  const auto lexicon = listOf(where, "catalan_test.lst", "abcdefghijlmnopqrstuvxzkwy", "abarrocarem\nemmagrix\nprimmirat\n");
  ASSERT_EQ(lexicon->alphabet(), kAlphabetCatalan);
  ASSERT_EQ(lexicon->listId(), 14);
  roundTrips("Scrabble(R) - Catalan", lexicon, kAlphabetCatalan, "#lexicon CATALAN\n", "L\xB7L");
}

}  // namespace
}  // namespace pexil
