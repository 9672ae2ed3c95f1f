// The lean generator against the full one: the same placements with the
// same scores (phony play off), each once, on four board shapes, with one
// and two blanks and barred words; and the lean board's square-by-square
// update after a placement against annotating the whole board, and its
// undo against the board before; plays replayed after another placement
// against generating again.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/lean_board.hpp"
#include "movegen/lean_generator.hpp"
#include "movegen/seeded_positions.hpp"
#include "rules/scoring.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

// A placement as the tiles it lays (square, letter code, blank) and its score.
using Tiles = std::vector<std::tuple<int, int, bool>>;
using Play = std::pair<Tiles, int>;

Play playOf(const LeanMove& move, const LeanBoard& board) {
  Tiles tiles;
  const int step = board.step(move.direction);
  for (int i = 0; i < move.tiles; ++i) {
    const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
    tiles.emplace_back(move.start + step * move.offset[static_cast<std::size_t>(i)], code & ~kLeanBlank,
                       (code & kLeanBlank) != 0);
  }
  std::sort(tiles.begin(), tiles.end());
  return {tiles, move.score};
}

Play playOf(const Move& move, const Game& game) {
  Tiles tiles;
  const std::string_view word = move.wordView();
  for (int i = 0; i < static_cast<int>(word.size()); ++i) {
    const int column = move.direction == kAcross ? move.column + i : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + i;
    if (!squareAt(game.board, column, row)->empty()) continue;
    tiles.emplace_back(column + row * game.board.width, codeOfLetter(word[static_cast<std::size_t>(i)]), move.isBlankAt(i));
  }
  std::sort(tiles.begin(), tiles.end());
  return {tiles, move.score};
}

LeanRack leanRack(const Rack& rack) {
  LeanRack lean;
  for (int code = 0; code < kCodeSlots; ++code) {
    if (code == rules().blankCode) {
      lean.blanks = rack[code];
    } else {
      lean.counts[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(rack[code]);
    }
    lean.total += rack[code];
  }
  return lean;
}

// The first empty square whose annotations differ, described; empty when none.
std::string difference(const LeanBoard& a, const LeanBoard& b) {
  for (int i = 0; i < a.width() * a.height(); ++i) {
    const LeanSquare& x = a.square(i);
    const LeanSquare& y = b.square(i);
    if (x.tile != y.tile || x.blank != y.blank) return "tile at " + std::to_string(i);
    if (!x.empty()) continue;
    for (int d = 0; d < 2; ++d) {
      const auto k = static_cast<std::size_t>(d);
      if (x.cross[k] != y.cross[k] || x.hasCross[k] != y.hasCross[k] || (x.hasCross[k] && x.crossSum[k] != y.crossSum[k])) {
        return "square " + std::to_string(i) + " direction " + std::to_string(d);
      }
    }
  }
  return {};
}

class LeanGeneration : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::readDefinitionsText(test::definitionsText()).empty()); }

  // Compares the two generators on seeded positions; returns the number of
  // plays compared.
  int compare(test::Variant variant, std::uint32_t firstSeed, int positions, const test::RackPlan& plan) {
    int compared = 0;
    for (int n = 0; n < positions; ++n) {
      const std::uint32_t seed = firstSeed + static_cast<std::uint32_t>(n);
      test::Position pos;
      test::buildPosition(pos, seed, 12, plan);
      Game& game = pos.game;
      game.phonyPlay = false;
      prepareBoard(game);
      LeanBoard board;
      if (!board.load(game)) continue;  // an empty board
      const std::string where = test::positionText(pos, variant, seed);

      GenerateMoves(game, Generation::fullList);
      // Blanks as playing the move designates them (the rack's own tiles
      // first, a blank on its letter's best square).
      const bool blanks = game.racks[static_cast<std::size_t>(game.toMove)][rules().blankCode] > 0;
      Game scratch = game;
      scratch.generating = false;
      std::set<Play> expected;
      for (const Move& listed : game.moves) {
        if (isNonPlacement(listed)) continue;
        if (!blanks) {
          expected.insert(playOf(listed, game));
          continue;
        }
        Move move = listed;
        const Evaluation evaluation = EvaluatePlacement(scratch, move, false);
        liftTentative(scratch.board, move.wordView(), move.column, move.row, move.direction);
        move.score = evaluation.score;
        expected.insert(playOf(move, game));
      }
      std::vector<LeanMove> moves;
      LeanGenerator generator;
      generator.setBarredWords(&game);
      generator.generate(board, leanRack(game.racks[static_cast<std::size_t>(game.toMove)]), game.toMove, moves);
      std::set<Play> found;
      for (const LeanMove& move : moves) found.insert(playOf(move, board));
      EXPECT_EQ(found.size(), moves.size()) << "a play listed twice\n" << where;
      EXPECT_TRUE(found == expected) << found.size() << " plays against " << expected.size() << "\n" << where;
      if (found != expected) return compared;
      compared += static_cast<int>(moves.size());

      // Every seventh play laid and taken back.
      for (std::size_t i = 0; i < moves.size(); i += 7) {
        LeanBoard updated = board;
        LeanUndo undo;
        updated.place(moves[i], undo);
        updated.refresh();
        LeanBoard whole = updated;
        for (int square = 0; square < whole.width() * whole.height(); ++square) {
          for (int d = 0; d < 2; ++d) whole.annotate(square, d);
        }
        const std::string after = difference(updated, whole);
        EXPECT_TRUE(after.empty()) << "after play " << i << ": " << after << "\n" << where;
        compared += checkReplays(board, updated, moves, moves[i], generator, game, where);
        updated.takeBack(undo);
        const std::string back = difference(updated, board);
        EXPECT_TRUE(back.empty()) << "after undoing play " << i << ": " << back << "\n" << where;
        if (!after.empty() || !back.empty()) return compared;
      }
    }
    return compared;
  }

  // The plays found on `before`, replayed on `after` (the board after
  // `played`) with the rack less the tiles of `played`: each replay must
  // agree with generating on `after` (the same tiles forming the same main
  // word), refused or with the same score.
  // Returns the number of plays compared.
  int checkReplays(const LeanBoard& before, const LeanBoard& after, const std::vector<LeanMove>& moves,
                   const LeanMove& played, const LeanGenerator& generator, const Game& game, const std::string& where) {
    LeanRack rack = leanRack(game.racks[static_cast<std::size_t>(game.toMove)]);
    for (int i = 0; i < played.tiles; ++i) {
      const std::uint8_t code = played.code[static_cast<std::size_t>(i)];
      if ((code & kLeanBlank) != 0) {
        --rack.blanks;
      } else {
        --rack.counts[code];
      }
      --rack.total;
    }
    std::vector<LeanMove> fresh;
    LeanGenerator again;
    again.setBarredWords(&game);
    again.generate(after, rack, game.toMove, fresh);
    // The tiles and the main word's squares; a one-tile play told apart by
    // its direction (listed once).
    const auto keyOf = [&after](const LeanMove& move) {
      return std::make_tuple(playOf(move, after).first, move.tiles == 1 ? move.direction : -1, move.start, move.length);
    };
    std::map<std::tuple<Tiles, int, int, int>, int> scores;
    for (const LeanMove& move : fresh) scores[keyOf(move)] = move.score;
    const bool barred = game.restrictedPlayer == game.toMove && !game.barredWords.empty();
    int compared = 0;
    for (const LeanMove& move : moves) {
      bool blank = false;
      for (int i = 0; i < move.tiles; ++i) blank = blank || (move.code[static_cast<std::size_t>(i)] & kLeanBlank) != 0;
      std::vector<std::int8_t> letters;
      const int step = before.step(move.direction);
      for (int k = 0, next = 0; k < move.length; ++k) {
        if (next < move.tiles && move.offset[static_cast<std::size_t>(next)] == k) {
          letters.push_back(static_cast<std::int8_t>(move.code[static_cast<std::size_t>(next++)] & ~kLeanBlank));
        } else {
          letters.push_back(before.square(move.start + step * k).tile);
        }
      }
      LeanMove replayed = move;
      replayed.score = -1;
      const bool fits = generator.replay(after, rack, game.toMove, replayed, letters.data());
      const auto listed = scores.find(keyOf(move));
      if (blank || barred) {
        EXPECT_FALSE(fits) << "a play with a blank or of a barred player replayed\n" << where;
        continue;
      }
      EXPECT_EQ(fits, listed != scores.end()) << "replay of " << lexiconWord(game, move) << "\n" << where;
      if (fits && listed != scores.end()) {
        EXPECT_EQ(replayed.score, listed->second) << "replay of " << lexiconWord(game, move) << "\n" << where;
      }
      ++compared;
      if (HasFailure()) break;
    }
    return compared;
  }

  static std::string lexiconWord(const Game& game, const LeanMove& move) {
    return std::string(game.lexicon->textView(move.entry)) + " at " + std::to_string(move.start) + " direction " +
           std::to_string(move.direction);
  }

  test::StateGuard guard_;
};

TEST_F(LeanGeneration, MatchesTheFullGeneratorOnEveryBoardShape) {
  for (const test::Variant v : {test::Variant::standard, test::Variant::super, test::Variant::holes, test::Variant::lettered}) {
    test::activate(v);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GT(compare(v, 300, 12, test::RackPlan{}), 500) << test::variantName(v);
  }
}

TEST_F(LeanGeneration, MatchesWithBlanksAndBarredWords) {
  test::activate(test::Variant::standard);
  test::RackPlan one;
  one.blanks = 1;
  EXPECT_GT(compare(test::Variant::standard, 400, 4, one), 500);
  test::RackPlan two;
  two.blanks = 2;
  two.size = 5;
  EXPECT_GT(compare(test::Variant::standard, 500, 2, two), 500);
  test::RackPlan barred;
  barred.barred = true;
  EXPECT_GT(compare(test::Variant::standard, 600, 8, barred), 200);
  test::RackPlan small;
  small.size = 2;
  small.emptyBag = true;
  EXPECT_GT(compare(test::Variant::standard, 700, 6, small), 20);
}

// Plays laid and taken back in a seeded random order, the board refreshed
// at random moments: a refreshed copy must always match annotating the
// whole board, and taking everything back must give the board before.
// (Plays are laid as tiles only, legal or not where they are laid.)
TEST_F(LeanGeneration, RefreshWorksOutWhatPlacementsLeftOutOfDate) {
  test::activate(test::Variant::standard);
  int operations = 0;
  for (std::uint32_t seed = 800; seed < 806; ++seed) {
    test::Position pos;
    test::buildPosition(pos, seed, 12, test::RackPlan{});
    Game& game = pos.game;
    game.phonyPlay = false;
    prepareBoard(game);
    LeanBoard original;
    if (!original.load(game)) continue;
    std::vector<LeanMove> moves;
    LeanGenerator generator;
    generator.generate(original, leanRack(game.racks[static_cast<std::size_t>(game.toMove)]), game.toMove, moves);
    ASSERT_FALSE(moves.empty());
    LeanBoard board = original;
    std::vector<std::pair<LeanMove, LeanUndo>> laid;
    std::mt19937 random(seed);
    for (int step = 0; step < 400; ++step) {
      const unsigned choice = random() % 3;
      if (choice == 0 && laid.size() < 6) {
        const LeanMove& move = moves[random() % moves.size()];
        bool free = true;
        for (int i = 0; i < move.tiles; ++i) {
          free = free && board.square(move.start + board.step(move.direction) * move.offset[static_cast<std::size_t>(i)]).empty();
        }
        if (!free) continue;
        laid.emplace_back(move, LeanUndo{});
        board.place(laid.back().first, laid.back().second);
      } else if (choice == 1 && !laid.empty()) {
        board.takeBack(laid.back().second);
        laid.pop_back();
      } else {
        board.refresh();
      }
      ++operations;
      LeanBoard refreshed = board;
      refreshed.refresh();
      LeanBoard whole = refreshed;
      for (int square = 0; square < whole.width() * whole.height(); ++square) {
        for (int d = 0; d < 2; ++d) whole.annotate(square, d);
      }
      const std::string wrong = difference(refreshed, whole);
      ASSERT_TRUE(wrong.empty()) << "seed " << seed << " step " << step << ": " << wrong;
    }
    while (!laid.empty()) {
      board.takeBack(laid.back().second);
      laid.pop_back();
    }
    board.refresh();
    EXPECT_TRUE(difference(board, original).empty()) << "seed " << seed;
  }
  EXPECT_GT(operations, 1000);
}

}  // namespace
}  // namespace pexil
