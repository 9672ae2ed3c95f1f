// The rules by which a game advances: the end by passes and scoreless turns
// (English and Spanish limits), the two end-of-game scorings, challenges of
// every type on phonies and on good words, the senyors redraw, undo and
// redo, exchanges of every label, history entries, word knowledge, and
// conservation of the tiles through whole seeded games.
#include "play/game_flow.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "play/word_list_loading.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "search/strategy.hpp"
#include "state/game.hpp"
#include "test_support.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

using Lines = std::vector<std::string>;

std::shared_ptr<Lexicon> words() { return test::fixtureWords(); }

// A small list with a validating list that lacks "tac" and "cata": those
// two are phonies.
std::shared_ptr<Lexicon> phonyWords() {
  static test::TempFolder folder;
  static std::shared_ptr<Lexicon> lexicon = [] {
    const std::string list = folder.write("phony.lst", "at\ncat\ncata\nta\ntac\n");
    const std::string valid = folder.write("valid.lst", "at\ncat\nta\n");
    auto l = std::make_shared<Lexicon>();
    l->loadLeaves = false;
    loadWordListWithTables(*l, list, valid);
    return l;
  }();
  return lexicon;
}

LetterCounts countsOf(std::string_view letters) {
  LetterCounts counts;
  addLetters(counts, letters, nullptr);
  return counts;
}

std::string textOf(const LetterCounts& counts) { return countsToText(counts, 200).value_or("?too many?"); }

// Every tile's value summed by hand from the active rules (a blank is 0).
int valueByHand(const LetterCounts& counts) {
  int total = 0;
  for (int code = 0; code < rules().letterCount; ++code) total += counts[code] * rules().letterValue[static_cast<std::size_t>(code)];
  return total;
}

// Gives the player exactly these tiles, from the bag.
void setRack(Game& game, int player, std::string_view tiles) {
  Rack& rack = game.racks[static_cast<std::size_t>(player)];
  returnAll(game.bag, rack);
  ASSERT_EQ(addLetters(rack, tiles, &game.bag), static_cast<int>(tiles.size())) << tiles;
}

// Leaves exactly these tiles in the bag; the rest go to the player's rack
// (which may hold more than a rack's worth), so that no tile is lost.
void setBag(Game& game, std::string_view tiles, int dumpPlayer) {
  Rack& dump = game.racks[static_cast<std::size_t>(dumpPlayer)];
  for (int slot = 0; slot <= kTotalSlot; ++slot) dump.counts[static_cast<std::size_t>(slot)] += game.bag.counts[static_cast<std::size_t>(slot)];
  game.bag = LetterCounts{};
  ASSERT_EQ(addLetters(game.bag, tiles, &dump), static_cast<int>(tiles.size())) << tiles;
}

// A placement whose word text lives in the lexicon.
Move placement(const Game& game, const char* word, int column, int row, int direction) {
  const EntryIndex entry = game.lexicon->findEntry(word);
  EXPECT_NE(entry, kNoEntry) << word;
  Move m;
  m.word = entry == kNoEntry ? label::pass : game.lexicon->text(entry);
  m.column = column;
  m.row = row;
  m.direction = direction;
  m.wordClass = entry == kNoEntry ? 0 : game.lexicon->entry(entry).wordClass;
  return m;
}

Move exchangeMove(const char* label, const char* leave = "") {
  Move m;
  m.word = label;
  m.setLeave(leave);
  return m;
}

int linesContaining(const Lines& lines, const std::string& needle) {
  return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                        [&](const std::string& l) { return l.find(needle) != std::string::npos; }));
}

// What a position is made of, for comparing positions.
struct Position {
  std::vector<std::tuple<char, int, int>> squares;
  std::vector<LetterCounts> racks;
  LetterCounts bag;
  std::vector<int> scores;
  int toMove, moveNumber, scoreless, passes;
  bool gameOver;
  std::size_t historySize;
  std::string lastMove;
  bool operator==(const Position&) const = default;
};

Position positionOf(const Game& game) {
  Position p;
  for (const Square& s : game.board.squares) p.squares.emplace_back(s.letter, s.placedMark, s.isBlank);
  for (int i = 0; i < game.playerCount; ++i) {
    p.racks.push_back(game.racks[static_cast<std::size_t>(i)]);
    p.scores.push_back(game.scores[static_cast<std::size_t>(i)]);
  }
  p.bag = game.bag;
  p.toMove = game.toMove;
  p.moveNumber = game.moveNumber;
  p.scoreless = game.scorelessTurns;
  p.passes = game.consecutivePasses;
  p.gameOver = game.gameOver;
  p.historySize = game.history.size();
  p.lastMove = std::string(game.lastMove.wordView()) + "@" + std::to_string(game.lastMove.column) + "," +
               std::to_string(game.lastMove.row) + "/" + std::string(game.lastMove.leaveView());
  return p;
}

class GameFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(20240612u);
    undoStack().clear();
    SetAfterMoveHook(nullptr);
    newGame(words());
  }
  void TearDown() override {
    SetAfterMoveHook(nullptr);
    undoStack().clear();
  }
  void newGame(std::shared_ptr<Lexicon> lexicon) {
    undoStack().clear();
    NewGame(game, 2, std::move(lexicon));
  }

  test::StateGuard guard;
  Game game;
};

// ---- the end by passes and scoreless turns ----

TEST_F(GameFlow, SixPassesEndATwoPlayerGameAfterTheSixth) {
  for (int turn = 1; turn <= 5; ++turn) {
    Pass(game);
    EXPECT_FALSE(game.gameOver) << "after pass " << turn;
    EXPECT_EQ(game.consecutivePasses, turn);
    EXPECT_EQ(game.scorelessTurns, turn);
  }
  const int value0 = valueByHand(game.racks[0]), value1 = valueByHand(game.racks[1]);
  Pass(game);
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.moveNumber, 6);
  // Nobody went out: each player gains twice the other's rack.
  EXPECT_EQ(game.scores[0], 2 * value1);
  EXPECT_EQ(game.scores[1], 2 * value0);
  // A finished game takes no more moves.
  const Position over = positionOf(game);
  Pass(game);
  EXPECT_EQ(positionOf(game), over);
}

TEST_F(GameFlow, ExchangesCountAsScorelessTurnsButRestartThePassCount) {
  Pass(game);
  Pass(game);
  Exchange(game, "");
  EXPECT_EQ(game.consecutivePasses, 0);
  EXPECT_EQ(game.scorelessTurns, 3);
  Pass(game);
  Pass(game);
  EXPECT_EQ(game.consecutivePasses, 2);
  EXPECT_EQ(game.scorelessTurns, 5);
  EXPECT_FALSE(game.gameOver);
  // The sixth scoreless turn ends the game although only two passes ran.
  Exchange(game, "");
  EXPECT_EQ(game.consecutivePasses, 0);
  EXPECT_TRUE(game.gameOver);
}

TEST_F(GameFlow, FivePassesThenAnExchangeEndTheGameByScorelessTurns) {
  for (int i = 0; i < 5; ++i) Pass(game);
  EXPECT_EQ(game.consecutivePasses, 5);
  Exchange(game, "");
  EXPECT_EQ(game.consecutivePasses, 0);
  EXPECT_EQ(game.scorelessTurns, 6);
  EXPECT_TRUE(game.gameOver);
}

TEST_F(GameFlow, APlacementResetsBothCounts) {
  Pass(game);
  Exchange(game, "");
  setRack(game, 0, "CATEEEE");
  const int bag = game.bag.total();
  PlayMove(game, placement(game, "cat", 6, 7, kAcross));
  EXPECT_EQ(game.scorelessTurns, 0);
  EXPECT_EQ(game.consecutivePasses, 0);
  EXPECT_EQ(game.scores[0], 10);
  // The rack is refilled from the bag.
  EXPECT_EQ(game.racks[0].total(), 7);
  EXPECT_EQ(game.bag.total(), bag - 3);
  EXPECT_EQ(squareAt(game.board, 7, 7)->placedMark, 2);  // the game's third move
}

// ---- Spanish limits ----

class SpanishGameFlow : public GameFlow {
 protected:
  void SetUp() override {
    GameFlow::SetUp();
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    const int spanish = findGameType("Scrabble(R) - Spanish");
    ASSERT_GE(spanish, 0);
    ASSERT_TRUE(activateGameType(kKindDefined, spanish));
    // The four probe words make the list Spanish.
    const std::string path = folder.write("es.lst", "abo2an\nabolaga\naboga\nacervado\ncasa\ncosa\n");
    lexicon = std::make_shared<Lexicon>();
    lexicon->loadLeaves = false;
    loadWordListWithTables(*lexicon, path);
    ASSERT_EQ(lexicon->alphabet(), kAlphabetSpanish);
    ASSERT_EQ(wordListAlphabet(), kAlphabetSpanish);
    newGame(lexicon);
  }
  test::TempFolder folder;
  std::shared_ptr<Lexicon> lexicon;
};

TEST_F(SpanishGameFlow, FourPassesEndTheGameAndRacksCountAgainstTheirOwners) {
  EXPECT_FALSE(game.doubledEndScoring);
  for (int i = 0; i < 3; ++i) Pass(game);
  EXPECT_FALSE(game.gameOver);
  const int value0 = valueByHand(game.racks[0]), value1 = valueByHand(game.racks[1]);
  Pass(game);
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[0], -value0);
  EXPECT_EQ(game.scores[1], -value1);
}

TEST_F(SpanishGameFlow, ScorelessTurnsAloneDoNotEndAGameWhileBothScoresAreZero) {
  for (int i = 0; i < 13; ++i) Exchange(game, "");
  EXPECT_EQ(game.scorelessTurns, 13);
  EXPECT_FALSE(game.gameOver);
  // With a score on the board the limit of twelve applies again.
  game.scores[1] = 1;
  Exchange(game, "");
  EXPECT_TRUE(game.gameOver);
}

TEST_F(SpanishGameFlow, TwelveScorelessTurnsEndAGameWithAScore) {
  game.scores[0] = 3;
  for (int i = 0; i < 11; ++i) Exchange(game, "");
  EXPECT_FALSE(game.gameOver);
  Exchange(game, "");
  EXPECT_TRUE(game.gameOver);
}

// ---- going out ----

TEST_F(GameFlow, GoingOutWithTheDoubledRuleGainsTwiceTheOpponentsRacks) {
  ASSERT_TRUE(game.doubledEndScoring);
  setRack(game, 0, "CAT");
  setBag(game, "", 1);
  const int opponent = valueByHand(game.racks[1]);
  ASSERT_EQ(opponent, 187 - 5);  // the whole set but C, A and T
  PlayMove(game, placement(game, "cat", 6, 7, kAcross));
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[0], 10 + 2 * opponent);
  EXPECT_EQ(game.scores[1], 0);
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(GameFlow, GoingOutWithTheOtherRuleTakesWhatTheOthersLose) {
  game.doubledEndScoring = false;
  setRack(game, 0, "CAT");
  setBag(game, "", 1);
  const int opponent = valueByHand(game.racks[1]);
  PlayMove(game, placement(game, "cat", 6, 7, kAcross));
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[0], 10 + opponent);
  EXPECT_EQ(game.scores[1], -opponent);
}

TEST_F(GameFlow, ThreePlayersGoingOutGainFromEveryOpponent) {
  NewGame(game, 3, words());
  setRack(game, 0, "CAT");
  setRack(game, 2, "QZ");
  setBag(game, "", 1);
  const int opponents = valueByHand(game.racks[1]) + valueByHand(game.racks[2]);
  PlayMove(game, placement(game, "cat", 6, 7, kAcross));
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[0], 10 + 2 * opponents);
  // The others gain from each other's racks as well.
  EXPECT_EQ(game.scores[1], 2 * valueByHand(game.racks[2]));
  EXPECT_EQ(game.scores[2], 2 * valueByHand(game.racks[1]));
}

// ---- challenges ----

class Challenges : public GameFlow {
 protected:
  void SetUp() override {
    GameFlow::SetUp();
    newGame(phonyWords());
    setRack(game, 0, "ACTEEEE");
    setRack(game, 1, "ATIIOOU");
  }
  // Player 0 plays the word at 8G across (H8 is the start square).
  void playFirst(const char* word) {
    before = positionOf(game);
    rack0 = game.racks[0];
    PlayMove(game, placement(game, word, 6, 7, kAcross));
  }
  Position before;
  Rack rack0;
};

TEST_F(Challenges, PhoniesOfTheValidatingListAreMarked) {
  const Lexicon& l = *game.lexicon;
  EXPECT_EQ(l.entry(l.findEntry("tac")).wordClass, kClassPhony);
  EXPECT_EQ(l.entry(l.findEntry("cata")).wordClass, kClassPhony);
  EXPECT_EQ(l.entry(l.findEntry("cat")).wordClass, kClassNormal);
}

TEST_F(Challenges, APhonyIsTakenOffUnderEveryChallengeTypeButNone) {
  for (int type = 0; type <= 3; ++type) {
    SCOPED_TRACE(type);
    SetUp();
    game.challengeType = type;
    playFirst("tac");
    ASSERT_EQ(game.scores[0], 10);
    test::PaneCapture capture;
    EXPECT_TRUE(ChallengeLast(game));
    EXPECT_EQ(linesContaining(capture.lines(), "Challenge of last move was successful."), 1);
    // The tiles are back on the rack, the board is as it was, and the
    // challenged player has lost the turn.
    EXPECT_EQ(game.racks[0], rack0);
    EXPECT_EQ(game.bag, before.bag);
    EXPECT_EQ(game.scores[0], 0);
    EXPECT_EQ(game.scores[1], 0);
    for (const Square& s : game.board.squares) EXPECT_TRUE(s.empty());
    EXPECT_EQ(game.toMove, 1);
    EXPECT_EQ(game.moveNumber, 1);
    EXPECT_EQ(game.lastMove.word, label::lostChallenge);
    ASSERT_EQ(game.history.size(), 1u);
    EXPECT_EQ(game.history[0].move.move().word, label::lostChallenge);
    EXPECT_TRUE(game.history[0].hasChallengedMove);
    EXPECT_EQ(game.history[0].challengedMove.move().wordView(), "tac");
    EXPECT_EQ(game.history[0].rackBefore, rack0);
    EXPECT_EQ(game.knownTiles[0], "TAC");
    const auto off = wordsChallengedOff();
    EXPECT_NE(std::find(off.begin(), off.end(), "tac"), off.end());
    EXPECT_EQ(game.scorelessTurns, 1);
    EXPECT_EQ(game.consecutivePasses, 1);
    EXPECT_TRUE(tilesConserved(game));
  }
}

TEST_F(Challenges, AChallengeWithNothingToUndoChangesNothing) {
  playFirst("tac");
  undoStack().clear();  // as if the snapshot were gone
  const Position played = positionOf(game);
  EXPECT_FALSE(ChallengeLast(game));
  EXPECT_EQ(positionOf(game), played);
  const auto off = wordsChallengedOff();
  EXPECT_EQ(std::find(off.begin(), off.end(), "tac"), off.end());
  EXPECT_TRUE(game.knownTiles[0].empty());
}

TEST_F(Challenges, NoChallengesLeavesAPhonyStanding) {
  game.challengeType = 4;
  playFirst("tac");
  const Position played = positionOf(game);
  test::PaneCapture capture;
  EXPECT_FALSE(ChallengeLast(game));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(positionOf(game), played);
  EXPECT_FALSE(game.history[0].survivedChallenge);
  EXPECT_FALSE(game.moveJustPlayed);
}

TEST_F(Challenges, AGoodWordSurvivesWithTheConsequencesOfEachType) {
  struct Expected {
    int type;
    int score0;
    int toMove;
    std::size_t history;
  };
  // Single: nothing; double: the challenger loses the turn; penalty: ten
  // points to the challenged player; strict: both.
  for (const Expected e : {Expected{0, 10, 1, 1}, Expected{1, 10, 0, 2}, Expected{2, 20, 1, 1}, Expected{3, 20, 0, 2}}) {
    SCOPED_TRACE(e.type);
    SetUp();
    game.challengeType = e.type;
    playFirst("cat");
    const Rack rack1 = game.racks[1];
    test::PaneCapture capture;
    EXPECT_FALSE(ChallengeLast(game));
    EXPECT_EQ(linesContaining(capture.lines(), "Challenge of last move was unsuccessful."), 1);
    EXPECT_EQ(game.scores[0], e.score0);
    EXPECT_EQ(game.scores[1], 0);
    EXPECT_EQ(game.toMove, e.toMove);
    ASSERT_EQ(game.history.size(), e.history);
    EXPECT_TRUE(game.history[0].survivedChallenge);
    EXPECT_EQ(game.history[0].move.move().wordView(), "cat");
    if (e.history == 2) {
      EXPECT_EQ(game.history[1].move.move().word, label::incorrectChallenge);
      EXPECT_EQ(game.history[1].rackBefore, rack1);
      EXPECT_EQ(game.racks[1], rack1);
      EXPECT_EQ(game.scorelessTurns, 1);
    }
    // The word stays.
    EXPECT_EQ(squareAt(game.board, 6, 7)->letter, 'c');
  }
}

TEST_F(Challenges, ThePenaltyIsTheGamesSetting) {
  game.challengePenalty = 7;
  playFirst("cat");
  EXPECT_FALSE(ChallengeLast(game));
  EXPECT_EQ(game.scores[0], 17);
}

TEST_F(Challenges, NoChallengesLeavesAGoodWordAlone) {
  game.challengeType = 4;
  playFirst("cat");
  EXPECT_FALSE(ChallengeLast(game));
  EXPECT_EQ(game.scores[0], 10);
  EXPECT_EQ(game.toMove, 1);
  EXPECT_FALSE(game.history[0].survivedChallenge);
}

TEST_F(Challenges, ChallengingAPassIsAnUnsuccessfulChallenge) {
  Pass(game);
  EXPECT_FALSE(ChallengeLast(game));
  EXPECT_EQ(game.scores[0], 10);  // the penalty goes to the player who passed
  EXPECT_EQ(game.toMove, 1);
}

TEST_F(Challenges, APhonyCrossWordIsTakenOffAndItsTilesGoBack) {
  playFirst("cat");
  // Player 1 plays TA down from J7: the A at J8 makes CATA across.
  const Rack rack1 = game.racks[1];
  Move ta = placement(game, "ta", 9, 6, kDown);
  ta.phonyCross = 1;
  PlayMove(game, ta);
  ASSERT_GT(game.scores[1], 0);
  ASSERT_EQ(squareAt(game.board, 9, 7)->letter, 'a');
  EXPECT_TRUE(ChallengeLast(game));
  EXPECT_EQ(game.racks[1], rack1);
  EXPECT_EQ(game.scores[1], 0);
  EXPECT_EQ(game.scores[0], 10);
  EXPECT_TRUE(squareAt(game.board, 9, 6)->empty());
  EXPECT_TRUE(squareAt(game.board, 9, 7)->empty());
  EXPECT_EQ(squareAt(game.board, 8, 7)->letter, 't');
  EXPECT_EQ(game.toMove, 0);
  ASSERT_EQ(game.history.size(), 2u);
  EXPECT_EQ(game.history[1].move.move().word, label::lostChallenge);
  EXPECT_EQ(game.history[1].challengedMove.move().wordView(), "ta");
  EXPECT_EQ(game.knownTiles[1], "TA");
  // Only a phony main word joins the words challenged off.
  const auto off = wordsChallengedOff();
  EXPECT_EQ(std::find(off.begin(), off.end(), "ta"), off.end());
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(Challenges, ANewGameEmptiesTheWordsChallengedOff) {
  playFirst("tac");
  ASSERT_TRUE(ChallengeLast(game));
  ASSERT_FALSE(wordsChallengedOff().empty());
  ResetGame(game);
  EXPECT_TRUE(wordsChallengedOff().empty());
}

// ---- senyors ----

std::string senyorsDefinitions(bool senyors) {
  std::string text = "Game \"Redraw test\"\nnumplayers 1 4\ndefaultwordlist \"ENGLISH.LST\"\n";
  if (senyors) text += "senyors\n";
  text += "boardsize 15 15\nstartsquare 7 7\nbonus none . B4D4DC\nboard\n";
  for (int row = 0; row < 15; ++row) text += std::string(15, '.') + "\n";
  text += "racksize 7\nbingobonus 50\nmintilesexchange 7\n";
  const char* tiles[] = {"a 9 1", "b 2 3", "c 2 3", "d 4 2", "e 12 1", "f 2 4", "g 3 2", "h 2 4", "i 9 1",
                         "j 1 8", "k 1 5", "l 4 1", "m 2 3", "n 6 1", "o 8 1", "p 2 3", "q 1 10", "r 6 1",
                         "s 4 1", "t 6 1", "u 4 1", "v 2 4", "w 2 4", "x 1 8", "y 2 4", "z 1 10", "? 2 0"};
  for (const char* t : tiles) text += std::string("tile ") + t + " -1\n";
  text += "GameEnd\n";
  return text;
}

class Senyors : public GameFlow {
 protected:
  void useRules(bool senyors) {
    const Lines printed = test::readDefinitionsText(senyorsDefinitions(senyors));
    for (const std::string& line : printed) ADD_FAILURE() << line;
    ASSERT_EQ(gameTypeCount(), 1);
    ASSERT_TRUE(activateGameType(kKindDefined, 0));
    ASSERT_EQ(senyorsRule(), senyors);
    newGame(words());
    game.announceSenyors = true;
  }
  void TearDown() override {
    GameFlow::TearDown();
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
  }
  int redrawsAfterPass() {
    test::PaneCapture capture;
    Pass(game);
    return linesContaining(capture.lines(), "I invoke the \"senyors\" rule (rack ");
  }
};

TEST_F(Senyors, AnAllVowelRackIsRedrawnAtMostTwice) {
  useRules(true);
  setRack(game, 0, "AEIOUAE");
  setBag(game, "AAEEIIOOUUAEIOUA", 1);  // every redraw is all vowels again
  EXPECT_EQ(redrawsAfterPass(), 2);
  EXPECT_EQ(game.racks[0].total(), 7);
  EXPECT_EQ(vowelCount(game.racks[0]), 7);
  EXPECT_EQ(game.bag.total(), 16);
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(Senyors, AnAllConsonantRackIsRedrawnAtMostTwice) {
  useRules(true);
  setRack(game, 0, "BCDFGHJ");
  setBag(game, "KLMNPQRSTV", 1);
  EXPECT_EQ(redrawsAfterPass(), 2);
  EXPECT_EQ(vowelCount(game.racks[0]), 0);
  EXPECT_EQ(game.racks[0].total(), 7);
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(Senyors, ARedrawThatIsMixedStops) {
  useRules(true);
  // After the return the bag holds 7 vowels and 6 consonants: a new rack
  // cannot be all consonants, and is all vowels in one draw of 1716 (not
  // with this seed), so one redraw settles it.
  setRack(game, 0, "AEIOUAE");
  setBag(game, "BCDFGH", 1);
  EXPECT_EQ(redrawsAfterPass(), 1);
  EXPECT_GT(vowelCount(game.racks[0]), 0);
  EXPECT_LT(vowelCount(game.racks[0]), 7);
}

TEST_F(Senyors, ABlankMixedRackOrEmptyBagIsKept) {
  useRules(true);
  setRack(game, 0, "AEIOUA?");
  setBag(game, "AAEEIIOOUU", 1);
  EXPECT_EQ(redrawsAfterPass(), 0);
  EXPECT_EQ(game.racks[0], countsOf("AEIOUA?"));
  // Player 1 (all the other tiles) passes; then player 0 with vowels only
  // and an empty bag.
  Pass(game);
  setRack(game, 0, "");
  setBag(game, "AEIOUAE", 1);
  setRack(game, 0, "AEIOUAE");
  ASSERT_EQ(game.bag.total(), 0);
  EXPECT_EQ(redrawsAfterPass(), 0);
}

TEST_F(Senyors, GameTypesWithoutTheRuleNeverRedraw) {
  useRules(false);
  setRack(game, 0, "AEIOUAE");
  setBag(game, "AAEEIIOOUU", 1);
  EXPECT_EQ(redrawsAfterPass(), 0);
  EXPECT_EQ(game.racks[0], countsOf("AEIOUAE"));
}

// ---- undo and redo ----

TEST_F(GameFlow, UndoThenANewMoveDropsTheRedoSnapshot) {
  Pass(game);
  const Position afterPass = positionOf(game);
  ASSERT_TRUE(undoStack().undo(game));
  EXPECT_TRUE(undoStack().hasRedo());
  Exchange(game, "");
  EXPECT_FALSE(undoStack().hasRedo());
  const Position afterExchange = positionOf(game);
  EXPECT_NE(afterExchange, afterPass);
  EXPECT_FALSE(undoStack().redo(game));
  EXPECT_EQ(positionOf(game), afterExchange);
  // Undo now goes back to the start, past the exchange only.
  ASSERT_TRUE(undoStack().undo(game));
  EXPECT_EQ(game.moveNumber, 0);
  EXPECT_FALSE(undoStack().undo(game));
}

TEST_F(GameFlow, UndoAndRedoRestoreEveryPositionExactly) {
  game.strategies[0] = game.strategies[1] = 2;
  std::vector<Position> positions{positionOf(game)};
  for (int i = 0; i < 6 && !game.gameOver; ++i) {
    PlayStrategyTurn(game);
    positions.push_back(positionOf(game));
  }
  ASSERT_EQ(positions.size(), 7u);
  for (int i = 5; i >= 0; --i) {
    ASSERT_TRUE(undoStack().undo(game));
    EXPECT_EQ(positionOf(game), positions[static_cast<std::size_t>(i)]) << "undo to " << i;
    EXPECT_TRUE(tilesConserved(game));
  }
  EXPECT_FALSE(undoStack().undo(game));
  EXPECT_EQ(positionOf(game), positions[0]);
  for (std::size_t i = 1; i < positions.size(); ++i) {
    ASSERT_TRUE(undoStack().redo(game));
    EXPECT_EQ(positionOf(game), positions[i]) << "redo to " << i;
  }
  EXPECT_FALSE(undoStack().redo(game));
  EXPECT_EQ(positionOf(game), positions.back());
  // Undo once more and play on: the game goes on from the earlier position.
  ASSERT_TRUE(undoStack().undo(game));
  PlayStrategyTurn(game);
  EXPECT_EQ(game.moveNumber, 6);
  EXPECT_TRUE(tilesConserved(game));
}

TEST_F(GameFlow, ANewGameCannotBeUndoneIntoThePreviousOne) {
  Pass(game);
  Pass(game);
  ASSERT_TRUE(undoStack().canUndo());
  NewGame(game, 2, words());
  EXPECT_EQ(undoStack().size(), 0);
  EXPECT_FALSE(undoStack().undo(game));
  EXPECT_EQ(game.moveNumber, 0);
  // Resetting the same game empties the stack too.
  Pass(game);
  ResetGame(game);
  EXPECT_FALSE(undoStack().canUndo());
}

TEST_F(GameFlow, SnapshotsDoNotKeepTheMoveLists) {
  GenerateMoves(game, false);
  ASSERT_FALSE(game.moves.empty());
  const Position start = positionOf(game);
  PlayMove(game, game.moves.front());
  ASSERT_TRUE(undoStack().undo(game));
  EXPECT_EQ(positionOf(game), start);
  EXPECT_TRUE(game.moves.empty());
}

TEST_F(GameFlow, NoSnapshotsWithoutHistory) {
  game.historyEnabled = false;
  Pass(game);
  EXPECT_EQ(undoStack().size(), 0);
  EXPECT_FALSE(undoStack().undo(game));
  EXPECT_EQ(game.moveNumber, 1);
}

// ---- exchanges ----

class Exchanges : public GameFlow {
 protected:
  void SetUp() override {
    GameFlow::SetUp();
    setRack(game, 0, "AAESTX?");
    setBag(game, "BBCCDDFFGG", 1);  // no letter of the rack
  }
  // The tiles of the rack's letters still on the rack after the exchange.
  Rack keptOf(const Rack& rack) {
    Rack kept;
    for (char c : std::string("AESTX?")) {
      const int code = codeOfTile(c);
      kept[code] = rack[code];
      kept[kTotalSlot] += rack[code];
    }
    return kept;
  }
  void expectKept(const Move& move, const char* kept, const char* returned) {
    SCOPED_TRACE(move.word);
    PlayMove(game, move);
    const Rack rack = game.racks[0];
    EXPECT_EQ(rack.total(), 7);
    EXPECT_EQ(keptOf(rack), countsOf(kept));
    EXPECT_EQ(game.bag.total(), 10);
    // What went back is in the bag now, beside what was not drawn.
    for (char c : std::string(returned)) EXPECT_GE(game.bag[codeOfTile(c)], 1) << c;
    EXPECT_EQ(game.exchangedLast[0], returned);
    EXPECT_EQ(game.lastMove.leaveView(), kept);
    EXPECT_EQ(game.history.back().move.move().leaveView(), kept);
    EXPECT_EQ(game.scorelessTurns, 1);
    EXPECT_EQ(game.consecutivePasses, 0);
    EXPECT_TRUE(tilesConserved(game));
  }
};

TEST_F(Exchanges, ExchangeKeepsTheBlanks) { expectKept(exchangeMove(label::exchange), "?", "AAESTX"); }

TEST_F(Exchanges, RetainsKeepsBlanksAndOneOfEachOfAEINRST) {
  expectKept(exchangeMove(label::exchangeRetains), "AEST?", "AX");
}

TEST_F(Exchanges, XKeepsBlanksAndTheX) { expectKept(exchangeMove(label::exchangeX), "X?", "AAEST"); }

TEST_F(Exchanges, SKeepsBlanksAndTheS) { expectKept(exchangeMove(label::exchangeS), "S?", "AAETX"); }

TEST_F(Exchanges, OptimalKeepsItsLeave) { expectKept(exchangeMove(label::exchangeOptimal, "AAX"), "AAX", "EST?"); }

TEST_F(Exchanges, TypedExchangeKeepsWhatWasTyped) {
  expectKept(exchangeMove(label::exchangedTiles, "ET?"), "ET?", "AASX");
}

TEST_F(Exchanges, TilesNotOnTheRackAreNotKept) {
  expectKept(exchangeMove(label::exchangedTiles, "QAA"), "AA", "ESTX?");
}

TEST_F(Exchanges, TheNewRackIsDrawnBeforeTheOldTilesGoBack) {
  Exchange(game, "");
  // Seven exchanged, seven drawn from the ten non-rack tiles.
  const Rack rack = game.racks[0];
  for (char c : std::string("AESTX?")) EXPECT_EQ(rack[codeOfTile(c)], 0) << c;
  EXPECT_EQ(game.bag.total(), 10);
}

TEST_F(Exchanges, AnExchangeThatIsNotAllowedOnlyCountsAsScoreless) {
  setBag(game, "BCDFGH", 1);
  ASSERT_FALSE(ExchangeAllowed(game));
  const Rack rack = game.racks[0];
  const LetterCounts bag = game.bag;
  Exchange(game, "A");
  EXPECT_EQ(game.racks[0], rack);
  EXPECT_EQ(game.bag, bag);
  EXPECT_EQ(game.scorelessTurns, 1);
  EXPECT_EQ(game.exchangedLast[0], "");
  EXPECT_EQ(game.toMove, 1);
}

TEST_F(GameFlow, ExchangeAllowedSetsAsideWhatEmptyRacksMustDraw) {
  // Only the counts matter here: the tiles need not add up.
  game.racks[0] = countsOf("AEIOUBC");
  game.racks[1] = countsOf("EEEEEEE");
  game.bag = countsOf("DDDDDDD");
  EXPECT_TRUE(ExchangeAllowed(game));  // seven in the bag
  game.bag = countsOf("DDDDDD");
  EXPECT_FALSE(ExchangeAllowed(game));  // six
  // Player 1 with an empty rack must still draw seven of them.
  game.racks[1] = LetterCounts{};
  game.bag = countsOf("DDDDDDDDDDDDD");
  EXPECT_FALSE(ExchangeAllowed(game));  // 13 - 7
  game.bag = countsOf("DDDDDDDDDDDDDD");
  EXPECT_TRUE(ExchangeAllowed(game));  // 14 - 7
  // The mover's own empty rack is not set aside.
  game.racks[0] = LetterCounts{};
  game.racks[1] = countsOf("EEEEEEE");
  game.bag = countsOf("DDDDDDD");
  EXPECT_TRUE(ExchangeAllowed(game));
  // Three players, two of them empty.
  NewGame(game, 3, words());
  game.racks[1] = LetterCounts{};
  game.racks[2] = LetterCounts{};
  game.bag = countsOf("DDDDDDDDDDDDDDDDDDDD");
  EXPECT_FALSE(ExchangeAllowed(game));  // 20 - 14
  game.bag = countsOf("DDDDDDDDDDDDDDDDDDDDD");
  EXPECT_TRUE(ExchangeAllowed(game));  // 21 - 14
  // The hundredfold kind never exchanges.
  ASSERT_TRUE(activateGameType(kKindHundredfold));
  game.bag = countsOf("DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD");
  EXPECT_FALSE(ExchangeAllowed(game));
}

// ---- history ----

TEST_F(GameFlow, HistoryEntriesHoldTheRackBeforeAndTheScoresAfter) {
  setRack(game, 0, "CATEEEE");
  game.clocks[0] = 6000;
  const Rack rack0 = game.racks[0];
  PlayMove(game, placement(game, "cat", 6, 7, kAcross));
  const Rack rack1 = game.racks[1];
  Pass(game);
  ASSERT_EQ(game.history.size(), 2u);
  const HistoryEntry& first = game.history[0];
  EXPECT_EQ(first.rackBefore, rack0);
  EXPECT_TRUE(first.rackKnown);
  EXPECT_EQ(first.move.move().wordView(), "cat");
  EXPECT_EQ(first.move.move().score, 10);
  EXPECT_EQ(first.move.move().leaveView(), "EEEE");
  EXPECT_EQ(first.scoresAfter[0], 10);
  EXPECT_EQ(first.scoresAfter[1], 0);
  EXPECT_EQ(first.clock, 6000);
  EXPECT_FALSE(first.survivedChallenge);
  const HistoryEntry& second = game.history[1];
  EXPECT_EQ(second.rackBefore, rack1);
  EXPECT_EQ(second.move.move().word, label::pass);
  EXPECT_EQ(second.move.move().leaveView(), textOf(rack1));
  EXPECT_EQ(second.scoresAfter[0], 10);
  EXPECT_EQ(second.clock, -10000000);
  // The entry owns its word: it outlives the move it was made from.
  EXPECT_NE(first.move.move().word, game.lexicon->text(game.lexicon->findEntry("cat")));
}

TEST_F(GameFlow, TheAfterMoveHookRunsForRecordedMovesOnly) {
  int calls = 0;
  SetAfterMoveHook([&](Game&) { ++calls; });
  Pass(game);
  PlayMove(game, exchangeMove(label::pass, ""), false);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(game.history.size(), 1u);
  EXPECT_EQ(game.moveNumber, 2);
}

// ---- word knowledge ----

TEST_F(GameFlow, BarredWordsAreLookedUpAndApplyToTheNextPlayer) {
  const auto taken = SetBarredWords(game, {"CAT", "Zzzq", "ta"});
  EXPECT_EQ(taken, (std::vector<std::string>{"cat", "ta"}));
  EXPECT_EQ(game.barredWords, taken);
  EXPECT_EQ(game.restrictedPlayer, 1);
  EXPECT_TRUE(isBarredFor(game, 1, "CAT"));
  EXPECT_FALSE(isBarredFor(game, 0, "cat"));
  EXPECT_FALSE(isBarredFor(game, 1, "cats"));
  EXPECT_TRUE(SetBarredWords(game, {"zzzq"}).empty());
  EXPECT_EQ(game.restrictedPlayer, -1);
  Pass(game);
  SetBarredWords(game, {"cat"});
  EXPECT_EQ(game.restrictedPlayer, 0);
}

TEST_F(GameFlow, TheRestrictedPlayerIsNeverOfferedABarredWord) {
  setRack(game, 1, "CATQJZX");
  auto wordsOffered = [&] {
    std::vector<std::string> found;
    GenerateMoves(game, false);
    for (const Move& m : game.moves) {
      if (!isNonPlacement(m)) found.emplace_back(m.wordView());
    }
    return found;
  };
  Pass(game);
  const auto free = wordsOffered();
  ASSERT_NE(std::find(free.begin(), free.end(), "cat"), free.end());
  undoStack().undo(game);
  SetBarredWords(game, {"cat"});
  Pass(game);
  const auto restricted = wordsOffered();
  EXPECT_EQ(std::find(restricted.begin(), restricted.end(), "cat"), restricted.end());
  EXPECT_NE(std::find(restricted.begin(), restricted.end(), "ta"), restricted.end());
}

// ---- conservation through seeded games ----

TEST_F(GameFlow, TilesAreConservedAfterEveryMoveOfSeededGames) {
  int checked = 0, broken = 0;
  SetAfterMoveHook([&](Game& g) {
    ++checked;
    if (!tilesConserved(g)) ++broken;
  });
  Mt19937 choice;
  choice.seed(77);
  const int strategies[] = {1, 2, 11};
  for (int g = 0; g < 12; ++g) {
    setProgramSeed(1000u + static_cast<std::uint32_t>(g));
    newGame(words());
    game.strategies[0] = strategies[g % 3];
    game.strategies[1] = strategies[(g / 3) % 3];
    game.challengeType = static_cast<int>(choice.next() % 5);
    for (int turn = 0; turn < 200 && !game.gameOver; ++turn) {
      const unsigned r = choice.next() % 20;
      if (r == 0) {
        Pass(game);
      } else if (r == 1) {
        // Keep a random part of the rack.
        std::string keep;
        for (char c : textOf(game.racks[static_cast<std::size_t>(game.toMove)])) {
          if (choice.next() % 2) keep.push_back(c);
        }
        Exchange(game, keep);
      } else if (r == 2) {
        ChallengeLast(game);
      } else if (r == 3) {
        undoStack().undo(game);
      } else {
        PlayStrategyTurn(game);
      }
      ASSERT_TRUE(tilesConserved(game)) << "game " << g << " turn " << turn;
    }
    EXPECT_TRUE(game.gameOver) << "game " << g;
  }
  EXPECT_GT(checked, 200);
  EXPECT_EQ(broken, 0);
}

}  // namespace
}  // namespace pexil
