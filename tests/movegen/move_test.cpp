// Direct tests of the move generator: labels, the board annotations, the
// placement shape test, and the small rules of GenerateMoves.
#include "state/move.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/scoring.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

std::shared_ptr<Lexicon> words() { return test::fixtureWords(); }

// A placement as (word, column, row, direction, blank positions).
using Placement = std::tuple<std::string, int, int, int, std::vector<int>>;

Placement placementOf(const Move& m) {
  std::vector<int> blanks;
  for (int p : m.blankPositions) {
    if (p >= 0) blanks.push_back(p);
  }
  std::sort(blanks.begin(), blanks.end());
  return {std::string(m.wordView()), m.column, m.row, m.direction, blanks};
}

std::vector<Move> placements(const Game& game) {
  std::vector<Move> out;
  for (const Move& m : game.moves) {
    if (!isNonPlacement(m)) out.push_back(m);
  }
  return out;
}

const Move* findLabel(const Game& game, const char* label) {
  for (const Move& m : game.moves) {
    if (m.word == label) return &m;
  }
  return nullptr;
}

// Whether the move's word covers the square.
bool covers(const Move& m, int column, int row) {
  const int n = static_cast<int>(m.wordView().size());
  if (m.direction == kAcross) return row == m.row && column >= m.column && column < m.column + n;
  return column == m.column && row >= m.row && row < m.row + n;
}

class MoveGeneration : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    ASSERT_GT(words()->wordCount(), 10000);
  }

  // A game of `players` players whose first player holds exactly `rack`.
  void start(int players, const std::string& rack) {
    setProgramSeed(11);
    startGame(game_, players, words());
    game_.toMove = 0;
    setRack(0, rack);
  }
  void setRack(int player, const std::string& rack) {
    Rack& r = game_.racks[static_cast<std::size_t>(player)];
    returnAll(game_.bag, r);
    ASSERT_EQ(addLetters(r, rack, &game_.bag), static_cast<int>(rack.size()));
    ASSERT_TRUE(allNonNegative(game_.bag));
  }
  // Lays a word as tiles played earlier, then annotates the board.
  void put(const std::string& word, int column, int row, int direction) {
    for (std::size_t i = 0; i < word.size(); ++i) {
      Square* s = squareAt(game_.board, direction == kAcross ? column + static_cast<int>(i) : column,
                           direction == kAcross ? row : row + static_cast<int>(i));
      ASSERT_NE(s, nullptr);
      s->letter = word[i];
      s->placedMark = 1;
    }
    prepareBoard(game_);
  }
  int count(const std::string& word, int column, int row, int direction) const {
    int n = 0;
    for (const Move& m : game_.moves) {
      if (!isNonPlacement(m) && m.wordView() == word && m.column == column && m.row == row && m.direction == direction)
        ++n;
    }
    return n;
  }

  test::StateGuard guard_;
  Game game_;
};

// ---------------------------------------------------------------------------
// Labels.

TEST(MoveLabels, TextsAndKinds) {
  EXPECT_STREQ(label::pass, "(Pass)");
  EXPECT_STREQ(label::exchange, "(Exchange)");
  EXPECT_STREQ(label::exchangeRetains, "(Xchg RETAINS)");
  EXPECT_STREQ(label::exchangeX, "(Xchg X)");
  EXPECT_STREQ(label::exchangeS, "(Xchg S)");
  EXPECT_STREQ(label::exchangeOptimal, "(Xchg optimal)");
  EXPECT_STREQ(label::exchangedTiles, "(Exchanged tiles)");
  EXPECT_STREQ(label::lostChallenge, "(Lost challenge)");
  EXPECT_STREQ(label::incorrectChallenge, "(Incorrect challenge)");

  const char* exchanges[] = {label::exchange,  label::exchangeRetains, label::exchangeX,
                             label::exchangeS, label::exchangeOptimal, label::exchangedTiles};
  for (const char* l : exchanges) {
    Move m;
    m.word = l;
    EXPECT_TRUE(isExchange(m)) << l;
    EXPECT_TRUE(isNonPlacement(m)) << l;
    EXPECT_FALSE(isPass(m)) << l;
  }
  for (const char* l : {label::pass, label::lostChallenge, label::incorrectChallenge}) {
    Move m;
    m.word = l;
    EXPECT_FALSE(isExchange(m)) << l;
    EXPECT_TRUE(isNonPlacement(m)) << l;
    EXPECT_EQ(isPass(m), l == label::pass) << l;
  }
  // A fresh move is a pass.
  EXPECT_TRUE(isPass(Move{}));

  // Labels are known by identity: the same text elsewhere is a word.
  static const char passText[] = "(Pass)";
  static const char exchangeText[] = "(Exchange)";
  Move copy;
  copy.word = passText;
  EXPECT_FALSE(isPass(copy));
  EXPECT_FALSE(isNonPlacement(copy));
  copy.word = exchangeText;
  EXPECT_FALSE(isExchange(copy));
  Move word;
  word.word = "cat";
  EXPECT_FALSE(isNonPlacement(word));
  EXPECT_FALSE(isExchange(word));
}

TEST(MoveRecord, LeaveAndBlankSlots) {
  Move m;
  m.setLeave("AEQ?");
  EXPECT_EQ(m.leaveView(), "AEQ?");
  m.setLeave(std::string(50, 'E'));
  EXPECT_EQ(m.leaveView(), std::string(kLeaveSize - 1, 'E'));
  m.blankPositions = {3, 0, -1, -1, -1, -1, -1, -1};
  EXPECT_TRUE(m.isBlankAt(0));
  EXPECT_TRUE(m.isBlankAt(3));
  EXPECT_FALSE(m.isBlankAt(1));
  EXPECT_FALSE(m.isBlankAt(2));
}

// ---------------------------------------------------------------------------
// GenerateMoves: the rules of the list.

TEST_F(MoveGeneration, EveryOpeningPlayCoversTheStartSquareAndRunsAcross) {
  start(2, "ABOLISH");
  ASSERT_TRUE(boardIsSymmetric());
  GenerateMoves(game_, false);
  const std::vector<Move> list = placements(game_);
  ASSERT_GT(list.size(), 100u);
  for (const Move& m : list) {
    EXPECT_TRUE(covers(m, 7, 7)) << m.wordView() << " " << m.column << "," << m.row;
    EXPECT_EQ(m.direction, kAcross) << m.wordView();
  }
  // The whole rack, from each of the seven first squares that reach the
  // centre, with the bonus.
  // Letters worth 12, doubled by the centre, a double-letter square at
  // column 3 or 11 under some of them, and 50 for the whole rack.
  const std::map<int, int> scores{{1, 76}, {2, 80}, {3, 76}, {4, 74}, {5, 82}, {6, 76}, {7, 76}};
  for (const auto& [column, score] : scores) {
    EXPECT_EQ(count("abolish", column, 7, kAcross), 1) << column;
  }
  for (const Move& m : list) {
    if (m.wordView() == "abolish") {
      EXPECT_EQ(m.score, scores.at(m.column)) << m.column;
    }
  }
}

// Reads the shipped game types again when it goes.
struct ShippedDefinitions {
  ~ShippedDefinitions() { readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions"); }
};

TEST_F(MoveGeneration, OpeningOnAnUnevenBoardGoesBothWays) {
  ShippedDefinitions restore;
  ASSERT_TRUE(
      test::readDefinitionsText(
          "Game \"Uneven\"\nboardsize 9 7\nstartsquare 4 3\nbonus none . 000000\nbonus 2ws * FF0000\n"
          "board\n.........\n.........\n.........\n....*....\n.........\n.........\n.........\n"
          "racksize 7\nbingobonus 50\nmintilesexchange 7\n"
          "tile a 9 1 -1\ntile c 2 3 -1\ntile e 12 1 -1\ntile s 4 1 -1\ntile t 6 1 -1\ntile ? 2 0 -1\nGameEnd\n")
          .empty());
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Uneven")));
  ASSERT_FALSE(boardIsSymmetric());
  start(2, "CATS");
  GenerateMoves(game_, false);
  const std::vector<Move> list = placements(game_);
  ASSERT_FALSE(list.empty());
  for (const Move& m : list) EXPECT_TRUE(covers(m, 4, 3)) << m.wordView();
  EXPECT_EQ(count("cats", 1, 3, kAcross), 1);
  EXPECT_EQ(count("cats", 4, 0, kDown), 1);
}

TEST_F(MoveGeneration, DuplicateLettersListEachPlayOnce) {
  start(2, "EEETTA");
  GenerateMoves(game_, false);
  std::vector<Placement> seen;
  for (const Move& m : placements(game_)) seen.push_back(placementOf(m));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
  EXPECT_EQ(count("tee", 5, 7, kAcross), 1);
  EXPECT_EQ(count("tee", 7, 7, kAcross), 1);
  EXPECT_EQ(count("teeth", 3, 7, kAcross), 0);  // no H on the rack
}

TEST_F(MoveGeneration, BoardTilesAloneMakeNoMove) {
  start(2, "S");
  put("cat", 6, 7, kAcross);
  GenerateMoves(game_, false);
  EXPECT_EQ(count("cat", 6, 7, kAcross), 0);
  EXPECT_EQ(count("cats", 6, 7, kAcross), 1);
  EXPECT_EQ(count("scat", 5, 7, kAcross), 1);
  for (const Move& m : placements(game_)) {
    EXPECT_EQ(m.leaveView(), "") << m.wordView();  // the S is always laid
  }

  // An empty rack lays nothing at all.
  setRack(0, "");
  GenerateMoves(game_, false);
  EXPECT_TRUE(placements(game_).empty());
  ASSERT_NE(findLabel(game_, label::pass), nullptr);
}

TEST_F(MoveGeneration, BlankAndRealTileOfOneLetterGiveAMoveForEachWay) {
  start(2, "TEEH?");
  GenerateMoves(game_, false);
  // "teeth" from the double-letter square D8 to the centre: the blank is
  // one T or the other, and the real T on the double-letter square counts.
  std::map<std::vector<int>, int> teeth;
  for (const Move& m : placements(game_)) {
    if (m.wordView() == "teeth" && m.column == 3 && m.row == 7 && m.direction == kAcross) {
      teeth[std::get<4>(placementOf(m))] = m.score;
    }
  }
  EXPECT_EQ(teeth, (std::map<std::vector<int>, int>{{{0}, 14}, {{3}, 16}}));

  // "tee": all real tiles, or the blank as any one of its letters.
  std::map<std::vector<int>, std::string> tee;
  for (const Move& m : placements(game_)) {
    if (m.wordView() == "tee" && m.column == 5 && m.row == 7 && m.direction == kAcross) {
      EXPECT_TRUE(tee.emplace(std::get<4>(placementOf(m)), std::string(m.leaveView())).second);
    }
  }
  EXPECT_EQ(tee, (std::map<std::vector<int>, std::string>{{{}, "H?"}, {{0}, "HT"}, {{1}, "EH"}, {{2}, "EH"}}));
}

TEST_F(MoveGeneration, OnePlayerPassIsWorthNothing) {
  start(1, "AEINRST");
  GenerateMoves(game_, false);
  const Move* pass = findLabel(game_, label::pass);
  ASSERT_NE(pass, nullptr);
  EXPECT_EQ(pass->equity, -99999);
  EXPECT_EQ(pass->leaveView(), "AEINRST");

  start(2, "AEINRST");
  GenerateMoves(game_, false);
  pass = findLabel(game_, label::pass);
  ASSERT_NE(pass, nullptr);
  EXPECT_EQ(pass->equity, -100);
}

TEST_F(MoveGeneration, ExchangesNeedTheTilesInTheBag) {
  start(2, "AEXSKMP");
  rules().minTilesExchange = 3;
  auto offered = [&](std::size_t bagTiles) {
    game_.bag = Well{};
    EXPECT_EQ(addLetters(game_.bag, std::string("BCDFGHJLNO").substr(0, bagTiles), nullptr),
              static_cast<int>(bagTiles));
    GenerateMoves(game_, false);
    std::map<std::string, std::string> kept;
    for (const Move& m : game_.moves) {
      if (isExchange(m)) {
        kept[m.word] = std::string(m.leaveView());
        EXPECT_EQ(m.equity, 0) << m.word;
      }
    }
    return kept;
  };
  using Kept = std::map<std::string, std::string>;
  // RETAINS keeps A, E and S (exchanging 4); X and S keep one tile
  // (exchanging 6); the plain exchange keeps nothing (7).
  EXPECT_EQ(
      offered(7),
      (Kept{{label::exchange, ""}, {label::exchangeRetains, "AES"}, {label::exchangeX, "X"}, {label::exchangeS, "S"}}));
  EXPECT_EQ(offered(6), (Kept{{label::exchangeRetains, "AES"}, {label::exchangeX, "X"}, {label::exchangeS, "S"}}));
  EXPECT_EQ(offered(5), (Kept{{label::exchangeRetains, "AES"}}));
  EXPECT_EQ(offered(4), (Kept{{label::exchangeRetains, "AES"}}));
  EXPECT_EQ(offered(3), Kept{});  // allowed, but every exchange returns four or more
  EXPECT_EQ(offered(2), Kept{});  // below the minimum: no exchange at all

  // The standard minimum of seven.
  rules().minTilesExchange = 7;
  EXPECT_EQ(offered(6), Kept{});
  EXPECT_EQ(offered(7).size(), 4u);
}

TEST_F(MoveGeneration, PassBeforeTheScorelessLimit) {
  start(2, "QZ");  // no play on an empty board
  game_.scores[0] = 100;
  game_.scores[1] = 50;
  auto passEquity = [&] {
    GenerateMoves(game_, false);
    EXPECT_TRUE(placements(game_).empty());
    const Move* pass = findLabel(game_, label::pass);
    return pass ? pass->equity : 0;
  };
  auto bestOnlyEquity = [&] {
    GenerateMoves(game_, true);
    EXPECT_TRUE(isNonPlacement(game_.bestMove));
    return game_.bestMove.equity;
  };

  game_.scorelessTurns = 4;
  EXPECT_EQ(passEquity(), -100);
  // One more scoreless turn ends the game (3 x 2 players): passing wins
  // when the lead (50) exceeds the rack's value (20) + 20.
  game_.scorelessTurns = 5;
  EXPECT_EQ(passEquity(), 99999);
  EXPECT_EQ(bestOnlyEquity(), 99999);
  game_.scores[1] = 60;  // lead 40: not enough
  EXPECT_EQ(passEquity(), -99999);
  EXPECT_EQ(bestOnlyEquity(), -99999);
  game_.scores[1] = 59;  // lead 41
  EXPECT_EQ(passEquity(), 99999);
  // Five passes in a row count the same way.
  game_.scorelessTurns = 0;
  game_.consecutivePasses = 5;
  EXPECT_EQ(passEquity(), 99999);
  game_.consecutivePasses = 4;
  EXPECT_EQ(passEquity(), -100);
}

TEST_F(MoveGeneration, WinningByGoingOut) {
  start(2, "AT");
  put("cat", 6, 7, kAcross);
  setRack(1, "Q");
  game_.bag = Well{};
  game_.scores[0] = 100;
  game_.scores[1] = 120;
  GenerateMoves(game_, false);
  // Playing both tiles goes out: 20 behind, but the Q left to the
  // opponent counts 2 x 10.
  bool outFound = false;
  for (const Move& m : placements(game_)) {
    const bool out = m.leaveView().empty();
    outFound = outFound || out;
    EXPECT_EQ(m.winsByGoingOut != 0, out && m.score + 2 * 10 + (100 - 120) >= 1) << m.wordView();
    EXPECT_EQ(m.equity, 10 * m.score + (m.winsByGoingOut ? 100 : 0)) << m.wordView();
  }
  EXPECT_TRUE(outFound);

  // At the edge: going out must leave the mover at least one point ahead.
  const auto out = std::find_if(game_.moves.begin(), game_.moves.end(),
                                [](const Move& m) { return !isNonPlacement(m) && m.leaveView().empty(); });
  ASSERT_NE(out, game_.moves.end());
  const Placement edge = placementOf(*out);
  const int edgeScore = out->score;
  auto winsAt = [&](int opponentScore) {
    game_.scores[1] = opponentScore;
    GenerateMoves(game_, false);
    for (const Move& m : placements(game_)) {
      if (placementOf(m) == edge) return m.winsByGoingOut != 0;
    }
    ADD_FAILURE() << "the play out is gone";
    return false;
  };
  EXPECT_FALSE(winsAt(100 + edgeScore + 20));  // ends level
  EXPECT_TRUE(winsAt(100 + edgeScore + 19));   // ends one ahead

  // Far behind: no play out wins.
  game_.scores[1] = 500;
  GenerateMoves(game_, false);
  for (const Move& m : placements(game_)) EXPECT_EQ(m.winsByGoingOut, 0) << m.wordView();
}

TEST_F(MoveGeneration, NeedsAGame) {
  Game empty;
  test::PaneCapture capture;
  GenerateMoves(empty, false);
  EXPECT_EQ(capture.lines(), std::vector<std::string>{"Need a game first."});
  EXPECT_TRUE(empty.moves.empty());
}

TEST_F(MoveGeneration, BarredWordsForTheRestrictedPlayer) {
  start(2, "ED");
  put("at", 7, 7, kAcross);
  game_.barredWords = {"eat"};
  // The E before "at" would make "eat", as the main word or a cross word.
  auto eatPlays = [&] {
    GenerateMoves(game_, false);
    int n = 0;
    for (const Move& m : placements(game_)) {
      if (covers(m, 6, 7)) {
        const int index = m.direction == kAcross ? 6 - m.column : 7 - m.row;
        if (m.wordView()[static_cast<std::size_t>(index)] == 'e') ++n;
      }
    }
    return n;
  };
  game_.restrictedPlayer = 1;  // the other player
  EXPECT_GE(eatPlays(), 3);    // "eat" across; "ed" and "de" down
  EXPECT_EQ(count("eat", 6, 7, kAcross), 1);
  game_.restrictedPlayer = 0;  // the mover
  EXPECT_EQ(eatPlays(), 0);
  EXPECT_EQ(count("eat", 6, 7, kAcross), 0);
  EXPECT_FALSE((squareAt(game_.board, 6, 7)->crossSet[kDown] >> codeOfLetter('e')) & 1);

  // Best-only generation keeps away from it too (by score, so that the
  // board adjustments do not decide).
  setRack(0, "E");
  game_.highestScoreBest = true;
  GenerateMoves(game_, true);
  EXPECT_TRUE(isNonPlacement(game_.bestMove) || !covers(game_.bestMove, 6, 7)) << game_.bestMove.wordView();
  game_.restrictedPlayer = 1;
  GenerateMoves(game_, true);
  EXPECT_TRUE(covers(game_.bestMove, 6, 7)) << game_.bestMove.wordView();
}

// ---------------------------------------------------------------------------
// The annotations and the shape test on hand-made boards.

// A 5 x 5 board whose square E3 (column 4, row 2) is outside the playing
// area:
//   q . . . .
//   . . . . .
//   . c a t x
//   . . . . .
//   . . . . .
class TinyBoard : public MoveGeneration {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::readDefinitionsText(
                    "Game \"Tiny\"\nboardsize 5 5\nstartsquare 2 2\nbonus none . 000000\nbonus empty x 000000\n"
                    "board\n.....\n.....\n....x\n.....\n.....\n"
                    "racksize 7\nbingobonus 50\nmintilesexchange 7\n"
                    "tile a 9 1 -1\ntile c 2 3 -1\ntile e 12 1 -1\ntile i 9 1 -1\ntile q 1 10 -1\ntile s 4 1 -1\n"
                    "tile t 6 1 -1\ntile ? 2 0 -1\nGameEnd\n")
                    .empty());
    ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Tiny")));
    start(2, "SEI");
  }
  void TearDown() override { readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions"); }

  const Square& at(int column, int row) const { return *squareAt(game_.board, column, row); }
  static std::uint32_t bits(const std::string& letters) {
    std::uint32_t b = 0;
    for (char c : letters) b |= 1u << codeOfLetter(c);
    return b;
  }
  static constexpr std::uint32_t kAll = (1u << 26) - 1;
};

TEST_F(TinyBoard, EmptyBoardAnnotations) {
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 5; ++c) {
      const Square& s = at(c, r);
      const bool startSquare = c == 2 && r == 2;
      for (int d = 0; d < 2; ++d) {
        EXPECT_EQ(s.hasCrossNeighbours[d], startSquare ? 1 : 0) << c << "," << r;
        if (s.usable) {
          EXPECT_EQ(s.crossSet[d], kAll) << c << "," << r;
        }
      }
      if (startSquare) {
        EXPECT_EQ(s.fitCount[0], 26);
        EXPECT_EQ(s.fitCount[1], 26);
        EXPECT_EQ(s.noLetterFits[0], 0);
      }
    }
  }
  EXPECT_EQ(at(4, 2).usable, 0);
  EXPECT_EQ(at(4, 2).noLetterFits[0], 1);
  EXPECT_EQ(at(4, 2).noLetterFits[1], 1);
  EXPECT_TRUE(PlacementFits(game_.board, 1, 2, 2, kAcross));
  EXPECT_TRUE(PlacementFits(game_.board, 2, 0, 3, kDown));
  EXPECT_FALSE(PlacementFits(game_.board, 0, 0, 2, kAcross));
  EXPECT_FALSE(PlacementFits(game_.board, 2, 2, 3, kAcross));  // reaches the hole at E3
}

TEST_F(TinyBoard, CrossSetsAndCounts) {
  put("q", 0, 0, kAcross);
  put("cat", 1, 2, kAcross);

  // Plays across meet cross words running down.
  EXPECT_EQ(at(0, 1).hasCrossNeighbours[kAcross], 1);  // under the Q: only "qi"
  EXPECT_EQ(at(0, 1).crossSet[kAcross], bits("i"));
  EXPECT_EQ(at(0, 1).fitCount[kAcross], 1);
  EXPECT_EQ(at(0, 1).onlyLetter[kAcross], 'i');
  EXPECT_EQ(at(0, 1).noLetterFits[kAcross], 0);

  EXPECT_EQ(at(1, 1).hasCrossNeighbours[kAcross], 1);  // over the C: no word ends in c
  EXPECT_EQ(at(1, 1).crossSet[kAcross], 0u);
  EXPECT_EQ(at(1, 1).fitCount[kAcross], 0);
  EXPECT_EQ(at(1, 1).onlyLetter[kAcross], 0);
  EXPECT_EQ(at(1, 1).noLetterFits[kAcross], 1);

  EXPECT_EQ(at(2, 1).crossSet[kAcross], bits("abdfhklmnptyz"));  // ?a
  EXPECT_EQ(at(2, 1).fitCount[kAcross], 13);
  EXPECT_EQ(at(2, 1).onlyLetter[kAcross], 0);
  EXPECT_EQ(at(3, 1).crossSet[kAcross], bits("aiu"));   // ?t
  EXPECT_EQ(at(3, 3).crossSet[kAcross], bits("aeio"));  // t?
  EXPECT_EQ(at(1, 3).noLetterFits[kAcross], 1);         // c?

  // Plays down meet cross words running across.
  EXPECT_EQ(at(0, 2).crossSet[kDown], bits("s"));  // ?cat
  EXPECT_EQ(at(0, 2).onlyLetter[kDown], 's');
  EXPECT_EQ(at(0, 2).hasCrossNeighbours[kAcross], 0);
  EXPECT_EQ(at(1, 0).crossSet[kDown], bits("i"));  // q?
  EXPECT_EQ(at(1, 0).hasCrossNeighbours[kAcross], 0);
  // No tile beside: every letter, no anchor.
  EXPECT_EQ(at(0, 1).hasCrossNeighbours[kDown], 0);
  EXPECT_EQ(at(0, 1).crossSet[kDown], kAll);
  EXPECT_EQ(at(0, 1).noLetterFits[kDown], 0);
  EXPECT_EQ(at(4, 4).hasCrossNeighbours[kAcross], 0);
  EXPECT_EQ(at(4, 4).crossSet[kAcross], kAll);
  // The hole beside the T fits nothing and is no anchor.
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(at(4, 2).noLetterFits[d], 1);
    EXPECT_EQ(at(4, 2).crossSet[d], 0u);
    EXPECT_EQ(at(4, 2).hasCrossNeighbours[d], 0);
  }

  // Every empty usable square agrees with a look-up of each letter.
  const Lexicon& lexicon = *words();
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 5; ++c) {
      const Square& s = at(c, r);
      if (!s.empty() || !s.usable) continue;
      for (int d = 0; d < 2; ++d) {
        const int dc = d == kAcross ? 0 : 1, dr = 1 - dc;  // the cross word's step
        std::string before, after;
        for (int k = 1; squareAt(game_.board, c - dc * k, r - dr * k) && !at(c - dc * k, r - dr * k).empty(); ++k)
          before.insert(before.begin(), at(c - dc * k, r - dr * k).letter);
        for (int k = 1; squareAt(game_.board, c + dc * k, r + dr * k) && !at(c + dc * k, r + dr * k).empty(); ++k)
          after.push_back(at(c + dc * k, r + dr * k).letter);
        if (before.empty() && after.empty()) {
          EXPECT_EQ(s.hasCrossNeighbours[d], 0) << c << "," << r << " " << d;
          continue;
        }
        std::uint32_t expected = 0;
        for (int code = 0; code < 26; ++code) {
          if (lexicon.isWord(before + charOfLower(code) + after, 999)) expected |= 1u << code;
        }
        EXPECT_EQ(s.hasCrossNeighbours[d], 1) << c << "," << r << " " << d;
        EXPECT_EQ(s.crossSet[d], expected) << c << "," << r << " " << d;
        EXPECT_EQ(s.fitCount[d], __builtin_popcount(expected)) << c << "," << r << " " << d;
        EXPECT_EQ(s.noLetterFits[d], expected == 0 ? 1 : 0) << c << "," << r << " " << d;
      }
    }
  }

  // Barred cross words leave the sets of the restricted player only.
  game_.barredWords = {"qi"};
  game_.restrictedPlayer = 0;
  AnnotateBoard(game_.board, game_, false);
  EXPECT_EQ(at(0, 1).crossSet[kAcross], bits("i"));
  AnnotateBoard(game_.board, game_);
  EXPECT_EQ(at(0, 1).crossSet[kAcross], 0u);
  EXPECT_EQ(at(0, 1).noLetterFits[kAcross], 1);
  EXPECT_EQ(at(1, 0).crossSet[kDown], 0u);
  game_.restrictedPlayer = 1;
  AnnotateBoard(game_.board, game_);
  EXPECT_EQ(at(0, 1).crossSet[kAcross], bits("i"));
}

TEST_F(TinyBoard, PlacementShapes) {
  put("q", 0, 0, kAcross);
  put("cat", 1, 2, kAcross);
  const Board& b = game_.board;
  EXPECT_TRUE(PlacementFits(b, 1, 2, 3, kAcross));   // the tiles alone (a shape, not a move)
  EXPECT_TRUE(PlacementFits(b, 0, 2, 4, kAcross));   // "scat": the hole after it is no tile
  EXPECT_FALSE(PlacementFits(b, 0, 2, 5, kAcross));  // covers the hole
  EXPECT_FALSE(PlacementFits(b, 1, 2, 2, kAcross));  // T follows
  EXPECT_FALSE(PlacementFits(b, 2, 2, 2, kAcross));  // C before
  EXPECT_FALSE(PlacementFits(b, 0, 2, 6, kAcross));  // off the board
  EXPECT_TRUE(PlacementFits(b, 2, 1, 2, kAcross));   // over the A: open anchors
  EXPECT_FALSE(PlacementFits(b, 2, 0, 2, kAcross));  // two rows above: nothing near
  EXPECT_TRUE(PlacementFits(b, 0, 1, 2, kAcross));   // under the Q
  // Under C (nothing fits) and the free square before it: no open anchor.
  EXPECT_FALSE(PlacementFits(b, 0, 3, 2, kAcross));
  EXPECT_TRUE(PlacementFits(b, 0, 3, 3, kAcross));   // reaches the square under A
  EXPECT_FALSE(PlacementFits(b, 3, 4, 2, kAcross));  // nothing near
  // Down.
  EXPECT_FALSE(PlacementFits(b, 2, 0, 2, kDown));  // the A follows
  EXPECT_TRUE(PlacementFits(b, 2, 0, 3, kDown));
  EXPECT_TRUE(PlacementFits(b, 2, 0, 5, kDown));
  EXPECT_FALSE(PlacementFits(b, 2, 3, 2, kDown));  // the A before
  EXPECT_FALSE(PlacementFits(b, 4, 0, 3, kDown));  // through the hole
  EXPECT_FALSE(PlacementFits(b, 4, 3, 2, kDown));  // below the hole: the T is only diagonal
}

}  // namespace
}  // namespace pexil
