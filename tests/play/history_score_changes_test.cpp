// The game history accounts for every point: after the move lines, one
// line for each change of score no move shows (a failed challenge's
// penalty, the tiles left at the end), and the moves and these changes add
// up to the scores.
#include <gtest/gtest.h>

#include "play/game_flow.hpp"
#include "play/listings.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

class HistoryScoreChanges : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(3u);
    undoStack().clear();
    NewGame(game, 2, test::fixtureWords());
  }
  void TearDown() override { undoStack().clear(); }
  void setRack(int player, std::string_view tiles) {
    Rack& rack = game.racks[static_cast<std::size_t>(player)];
    returnAll(game.bag, rack);
    ASSERT_EQ(addLetters(rack, tiles, &game.bag), static_cast<int>(tiles.size()));
  }
  void place(std::string_view rack, const char* word, int column, int row, int direction) {
    setRack(game.toMove, rack);
    Move m;
    const EntryIndex entry = game.lexicon->findEntry(word);
    ASSERT_NE(entry, kNoEntry) << word;
    m.word = game.lexicon->text(entry);
    m.column = column;
    m.row = row;
    m.direction = direction;
    PlayMove(game, m);
  }
  std::vector<std::string> history() {
    test::PaneCapture capture;
    ShowHistory(game, false);
    return capture.lines();
  }
  // Every move's score and every change, per player.
  std::array<int, 2> accounted() const {
    std::array<int, 2> sum{};
    for (std::size_t i = 0; i < game.history.size(); ++i) {
      const Move& m = game.history[i].move.move();
      if (!isNonPlacement(m)) sum[i % 2] += m.score;
    }
    for (const ScoreChange& c : game.scoreChanges) sum[static_cast<std::size_t>(c.player)] += c.points;
    return sum;
  }
  test::StateGuard guard;
  Game game;
};

TEST_F(HistoryScoreChanges, APenaltyAndTheEndOfTheGameAreListed) {
  game.challengeType = 2;  // a failed challenge gives the challenged player 10
  place("AEHRTTW", "wheat", 3, 7, kAcross);
  EXPECT_FALSE(ChallengeLast(game));
  // Player 2 goes out with two tiles; player 1 keeps the rest.
  setRack(1, "AT");
  Rack& other = game.racks[0];
  returnAll(game.bag, other);
  ASSERT_EQ(addLetters(other, "QVZ", &game.bag), 3);
  game.bag = LetterCounts{};
  place("AT", "at", 4, 8, kAcross);
  ASSERT_TRUE(game.gameOver);

  const std::vector<std::string> lines = history();
  const auto has = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
  EXPECT_TRUE(has("P1: +10 points, the challenge of move 1 failed"));
  // Twice the value of Q V Z (10 + 4 + 10).
  EXPECT_TRUE(has("P2: +48 points for the tiles left on P1's rack (QVZ)"));
  // The changes come after the last move line and before the totals.
  const auto penalty = std::find(lines.begin(), lines.end(), "P1: +10 points, the challenge of move 1 failed");
  ASSERT_NE(penalty, lines.end());
  EXPECT_NE((penalty - 1)->find("AT"), std::string::npos);
  EXPECT_EQ((penalty + 2)->rfind("P1: Player 1, ", 0), 0u);
  EXPECT_EQ(accounted(), (std::array<int, 2>{game.scores[0], game.scores[1]}));
}

TEST_F(HistoryScoreChanges, TheRuleWithoutDoublingListsEachRack) {
  game.doubledEndScoring = false;
  setRack(1, "QVZ");
  setRack(0, "AT");
  game.bag = LetterCounts{};
  place("AT", "at", 7, 7, kAcross);
  ASSERT_TRUE(game.gameOver);
  const std::vector<std::string> lines = history();
  const auto has = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
  EXPECT_TRUE(has("P2: -24 points for the tiles left on their own rack (QVZ)"));
  EXPECT_TRUE(has("P1: +24 points for the tiles left on P2's rack (QVZ)"));
  EXPECT_EQ(accounted(), (std::array<int, 2>{game.scores[0], game.scores[1]}));
}

TEST_F(HistoryScoreChanges, UndoTakesTheChangesBack) {
  game.challengeType = 2;
  place("AEHRTTW", "wheat", 3, 7, kAcross);
  EXPECT_FALSE(ChallengeLast(game));
  ASSERT_EQ(game.scoreChanges.size(), 1u);
  ASSERT_TRUE(undoStack().undo(game));
  EXPECT_TRUE(game.scoreChanges.empty());
  EXPECT_EQ(accounted(), (std::array<int, 2>{game.scores[0], game.scores[1]}));
}

}  // namespace
}  // namespace pexil
