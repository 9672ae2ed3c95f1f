// Writing game records: the exact lines of every kind of turn (placements
// across and down with blanks, passes, exchanges, phonies taken off,
// failed challenges with and without the lost turn, bonuses followed by a
// pass), the notes, the lexicon lines by list, and the end of the record.
#include <gtest/gtest.h>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"
#include "movegen/move_line.hpp"
#include "play/word_list_loading.hpp"

namespace pexil {
namespace {

class GcgWriting : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(31u);
    textPane().SetQuiet(true);
    undoStack().clear();
    NewGame(game, 2, test::plainWords());
    SetPlayerName(game, 0, "Ann Lee");
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
  }
  void setRack(int player, std::string_view tiles) { test::setRack(game, player, tiles); }
  void place(std::string_view rack, const char* word, int column, int row, int direction) {
    test::placeWord(game, rack, word, column, row, direction);
  }
  // The lines after the header (players and description).
  std::vector<std::string> body() const {
    std::vector<std::string> lines;
    std::istringstream in(GcgText(game));
    std::string line;
    for (int n = 0; std::getline(in, line); ++n) {
      if (n >= 3) lines.push_back(line);
    }
    return lines;
  }

  test::StateGuard guard;
  Game game;
};

using Lines = std::vector<std::string>;

TEST_F(GcgWriting, TheHeaderNamesThePlayers) {
  std::istringstream in(GcgText(game));
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "#player1 Ann_Lee Ann Lee");
  std::getline(in, line);
  EXPECT_EQ(line, "#player2 Player_2 Player 2");
  std::getline(in, line);
  EXPECT_EQ(line, std::string("#description Saved by Pexil version ") + PEXIL_PROJECT_VERSION);
  EXPECT_EQ(gcgNickname(game, 0), "Ann_Lee");
  SetPlayerName(game, 1, "x:\ty");
  EXPECT_EQ(gcgNickname(game, 1), "x__y");
}

TEST_F(GcgWriting, Latin1ThatLooksLikeUtf8SaysWhatItIs) {
  const test::TempFolder folder;
  GcgReadOptions options;
  options.lexicon = game.lexicon;
  for (const char* name : {"B\xE9la", "\xC3\xA9mile"}) {
    SCOPED_TRACE(name);
    SetPlayerName(game, 1, name);
    const bool declared = GcgText(game).rfind("#character-encoding ISO-8859-1\n", 0) == 0;
    EXPECT_EQ(declared, name[0] == '\xC3');
    ASSERT_TRUE(WriteGcg(game, folder.path("e.gcg")));
    Game read;
    const GcgReadResult result = ReadGcg(read, folder.path("e.gcg"), options);
    EXPECT_FALSE(result.pragmaDiscarded);
    EXPECT_EQ(playerName(read, 1), name);
  }
}

TEST_F(GcgWriting, PlacementsPassesAndExchanges) {
  place("AEHRTTW", "water", 3, 7, kAcross);
  place("?ADEILN", "kandle", 4, 6, kDown);  // the K from the blank
  Pass(game);
  setRack(1, "ADEIKLN");
  Exchange(game, "AEIN");
  EXPECT_EQ(body(), (Lines{">Ann_Lee: AEHRTTW 8D WATER +24 24", ">Player_2: ADEILN? E7 kANDLE +12 12",
                           ">Ann_Lee: " + rackString(game.history[2].rackBefore) + " - +0 24",
                           ">Player_2: ADEIKLN -DKL +0 12", "#rack1 " + rackString(game.racks[0]),
                           "#rack2 " + rackString(game.racks[1])}));
}

TEST_F(GcgWriting, APhonyTakenOffIsItsPlayThenTheWithdrawal) {
  place("AEHRTTW", "water", 3, 7, kAcross);
  ASSERT_TRUE(ChallengeLast(game));
  EXPECT_EQ(body(), (Lines{">Ann_Lee: AEHRTTW 8D WATER +24 24", ">Ann_Lee: AEHRTTW -- -24 0",
                           "#rack1 AEHRTTW", "#rack2 " + rackString(game.racks[1])}));
}

TEST_F(GcgWriting, AFailedChallengeWritesTheBonusAndTheLostTurn) {
  // Strict: ten points and the challenger's turn.
  game.challengeType = 3;
  place("AEHRTTW", "water", 3, 7, kAcross);
  game.lastMove.wordClass = kClassNormal;
  const std::string challenger = rackString(game.racks[1]);
  EXPECT_FALSE(ChallengeLast(game));
  const Lines lines = body();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], ">Ann_Lee: AEHRTTW (challenge) +10 34");
  EXPECT_EQ(lines[2], ">Player_2: " + challenger + " - +0 0");
}

TEST_F(GcgWriting, ABonusBeforeAPassIsWrittenAfterThePass) {
  // Penalty only: the challenger goes on and passes; read back, the pass
  // must not look like a turn the challenge cost.
  game.challengeType = 2;
  place("AEHRTTW", "water", 3, 7, kAcross);
  game.lastMove.wordClass = kClassNormal;
  EXPECT_FALSE(ChallengeLast(game));
  const std::string passer = rackString(game.racks[1]);
  Pass(game);
  const Lines lines = body();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], ">Player_2: " + passer + " - +0 0");
  EXPECT_EQ(lines[2], ">Ann_Lee: AEHRTTW (challenge) +10 34");
  const test::TempFolder folder;
  ASSERT_TRUE(WriteGcg(game, folder.path("p.gcg")));
  Game read;
  GcgReadOptions options;
  options.lexicon = game.lexicon;
  ReadGcg(read, folder.path("p.gcg"), options);
  EXPECT_EQ(test::historyText(read), test::historyText(game));
}

TEST_F(GcgWriting, NotesCarrySimulationsClocksAndAnnotations) {
  place("AEHRTTW", "water", 3, 7, kAcross);
  HistoryEntry& entry = game.history.back();
  Move m = entry.move.move();
  m.simPly = 2;
  m.simCount = 100;
  m.simValueA = 3.5f;
  m.simValueB = 45.25f;
  entry.move.set(m);
  entry.clock = 32345;
  entry.notes = {"first", "two\nlines"};
  Lines lines = body();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[1], "#note 2-ply spread simulation (100), +3.50 / 45.2%");
  EXPECT_EQ(lines[2], "#note Time remaining on clock: [05:23.45]");
  EXPECT_EQ(lines[3], "#note first");
  EXPECT_EQ(lines[4], "#note two");
  EXPECT_EQ(lines[5], "#note lines");
  m.simByWinProb = 1;
  m.simCount = kPreEndgameCountMark;
  entry.move.set(m);
  entry.clock = 400000;
  lines = body();
  EXPECT_EQ(lines[1], "#note Pre-endgame evaluation, +3.50 / 45.2%");
  EXPECT_EQ(lines[2], "#note Time remaining on clock: [01:06:40.00]");
  entry.clock = -150;
  EXPECT_EQ(body()[2], "#note Time remaining on clock: [-00:01.50]");
  // The clock comes back as the entry's clock, not as a note.
  const test::TempFolder folder;
  ASSERT_TRUE(WriteGcg(game, folder.path("n.gcg")));
  Game read;
  GcgReadOptions options;
  options.lexicon = game.lexicon;
  ReadGcg(read, folder.path("n.gcg"), options);
  EXPECT_EQ(read.history[0].clock, -150);
  EXPECT_EQ(read.history[0].notes,
            (std::vector<std::string>{"Pre-endgame evaluation, +3.50 / 45.2%", "first", "two", "lines"}));
}

TEST_F(GcgWriting, AFinishedGameEndsWithTheRacksLeft) {
  // Ann goes out with her last two tiles; Player 2 holds all the others.
  setRack(0, "AT");
  Rack& other = game.racks[1];
  for (int slot = 0; slot <= kTotalSlot; ++slot) other.counts[static_cast<std::size_t>(slot)] += game.bag.counts[static_cast<std::size_t>(slot)];
  game.bag = LetterCounts{};
  place("AT", "at", 7, 7, kAcross);
  ASSERT_TRUE(game.gameOver);
  const int v = rackValue(game.racks[1]);
  const Lines lines = body();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], ">Ann_Lee: AT 8H AT +4 4");
  EXPECT_EQ(lines[1], ">Ann_Lee: (" + rackString(game.racks[1]) + FormatText(") +%d %d", 2 * v, 4 + 2 * v));
  EXPECT_EQ(game.scores[0], 4 + 2 * v);
}

TEST_F(GcgWriting, LexiconLinesFollowTheList) {
  const test::TempFolder folder;
  struct Case {
    const char* file;
    const char* lines;
  };
  const Case cases[] = {
      {"twl06.lst", "#lexicon TWL06\n"},
      {"enable.lst", "#lexicon TWL98\n"},
      {"ospd4.lst", "#lexicon OSPD4\n"},
      {"csw12.lst", "#lexicon CSW12\n"},
      {"fise.lst", "#lexicon FISE\n#tile LL ll\n#tile RR rr\n#tile CH ch\n"},
      {"catalan.lst", "#lexicon CATALAN\n#tile NY ny\n#tile QU qu\n#tile L\xB7L l\xB7l\n"},
      {"swedish.lst", "#lexicon SWEDISH\n"},
      {"mine.lst", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    auto lexicon = std::make_shared<Lexicon>();
    lexicon->loadLeaves = false;
    loadWordListWithTables(*lexicon, folder.write(c.file, "at\nta\n"));
    game.lexicon = lexicon;
    const std::string text = GcgText(game);
    const std::size_t start = text.find("#description");
    const std::size_t end = text.find("#rack1");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(text.substr(text.find('\n', start) + 1, end - text.find('\n', start) - 1), c.lines);
  }
}

TEST_F(GcgWriting, AFileThatCannotBeCreatedIsRefused) {
  EXPECT_FALSE(WriteGcg(game, "/nonexistent-folder/x.gcg"));
  const test::TempFolder folder;
  EXPECT_TRUE(WriteGcg(game, folder.path("x.gcg")));
}

}  // namespace
}  // namespace pexil
