// The anagram-rule generator against a brute force: every way of filling a
// line's empty squares from the rack, kept when the line's letters and the
// letters of every cross-word can be arranged into listed words.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <tuple>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "rules/scoring.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using Key = std::tuple<std::string, int, int, int, std::vector<int>, int>;

// A generated placement as a key: word, square, direction, sorted blanks, score.
Key keyOf(const Move& move) {
  std::vector<int> blanks;
  for (int b : move.blankPositions) {
    if (b >= 0) blanks.push_back(b);
  }
  std::sort(blanks.begin(), blanks.end());
  return Key{std::string(move.wordView()), move.column, move.row, move.direction, blanks, move.score};
}

std::string sortedLetters(std::string text) {
  for (char& c : text) c = latin1Lower(c);
  std::sort(text.begin(), text.end());
  return text;
}

class AnagramRuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindAnagram));
    lexicon = std::make_shared<Lexicon>();
    ASSERT_TRUE(loadWordListWithTables(*lexicon, folder.write(
        "ANAGRAM.LST", "at ta ate eat tea tan ant nat tie tin nit net ten ton not sat sea set sit tis ne en on no "
                       "ion oe io it ti tone note sent nest tens stone notes onset tines inset stein ")));
    for (int i = 0; i < lexicon->wordCount(); ++i) anagramKeys.insert(sortedLetters(std::string(lexicon->textView(i))));
  }

  // Every placement of the mover's rack that the anagram rule accepts.
  std::set<Key> bruteForce(Game& game) {
    std::set<Key> found;
    Board& board = game.board;
    const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
    std::vector<int> tiles;
    for (int code = 0; code < kCodeSlots; ++code) {
      for (int n = 0; n < rack[code]; ++n) tiles.push_back(code);
    }
    const int blank = rules().blankCode;
    bool emptyBoard = true;
    for (const Square& s : board.squares) emptyBoard = emptyBoard && s.empty();
    // On an empty symmetric board only the opening direction is played.
    for (int d = 0; d < (emptyBoard ? 1 : 2); ++d) {
      for (int row = 0; row < board.height; ++row) {
        for (int column = 0; column < board.width; ++column) {
          for (int length = 2; length <= 7; ++length) {
            const int dc = d == kAcross ? 1 : 0, dr = 1 - dc;
            const Square* before = squareAt(board, column - dc, row - dr);
            const Square* after = squareAt(board, column + dc * length, row + dr * length);
            if ((before && !before->empty()) || (after && !after->empty())) continue;
            std::vector<int> holes;
            bool onBoard = true;
            for (int k = 0; k < length && onBoard; ++k) {
              const Square* s = squareAt(board, column + dc * k, row + dr * k);
              onBoard = s != nullptr;
              if (onBoard && s->empty()) holes.push_back(k);
            }
            if (!onBoard || holes.empty() || holes.size() > tiles.size()) continue;
            // Every ordered choice of tiles for the holes, blanks as any letter.
            std::vector<int> order(tiles.size());
            for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
            std::set<std::vector<int>> tried;
            do {
              std::vector<int> chosen(order.begin(), order.begin() + static_cast<long>(holes.size()));
              std::vector<int> letters;
              for (int t : chosen) letters.push_back(tiles[static_cast<std::size_t>(t)]);
              if (!tried.insert(letters).second) continue;
              fill(game, column, row, d, length, holes, letters, 0, blank, emptyBoard, found);
            } while (std::next_permutation(order.begin(), order.end()));
          }
        }
      }
    }
    return found;
  }

  void fill(Game& game, int column, int row, int d, int length, const std::vector<int>& holes, std::vector<int> letters,
            std::size_t next, int blank, bool emptyBoard, std::set<Key>& found) {
    for (; next < letters.size(); ++next) {
      if (letters[next] != blank) continue;
      for (int letter = 0; letter < rules().letterCount; ++letter) {
        std::vector<int> with = letters;
        with[next] = blank + 100 + letter;  // a blank standing for letter
        fill(game, column, row, d, length, holes, with, next + 1, blank, emptyBoard, found);
      }
      return;
    }
    Board& board = game.board;
    const int dc = d == kAcross ? 1 : 0, dr = 1 - dc;
    std::string word;
    std::vector<int> blanks;
    std::size_t h = 0;
    bool touches = false;
    for (int k = 0; k < length; ++k) {
      const Square* s = squareAt(board, column + dc * k, row + dr * k);
      if (!s->empty()) {
        word.push_back(s->letter);
        touches = true;
        continue;
      }
      int code = letters[h++];
      if (code >= blank + 100) {
        code -= blank + 100;
        blanks.push_back(k);
      }
      word.push_back(charOfLower(code));
      const int sc = column + dc * k, sr = row + dr * k;
      if (emptyBoard && sc == rules().startColumn && sr == rules().startRow) touches = true;
      const Square* side1 = squareAt(board, sc - dr, sr - dc);
      const Square* side2 = squareAt(board, sc + dr, sr + dc);
      touches = touches || (side1 && !side1->empty()) || (side2 && !side2->empty());
    }
    if (!touches || !anagramKeys.count(sortedLetters(word))) return;
    layTentative(board, word, column, row, d, blanks);
    bool crossOk = true;
    for (int k = 0; k < length && crossOk; ++k) {
      const int sc = column + dc * k, sr = row + dr * k;
      if (squareAt(board, sc, sr)->placedMark != kNewTileMark) continue;
      // The cross-word through the new tile.
      int c0 = sc, r0 = sr;
      while (squareAt(board, c0 - dr, r0 - dc) && !squareAt(board, c0 - dr, r0 - dc)->empty()) {
        c0 -= dr;
        r0 -= dc;
      }
      std::string cross;
      for (int c = c0, r = r0; squareAt(board, c, r) && !squareAt(board, c, r)->empty(); c += dr, r += dc) {
        cross.push_back(squareAt(board, c, r)->letter);
      }
      if (cross.size() >= 2 && !anagramKeys.count(sortedLetters(cross))) crossOk = false;
    }
    const int tilesPlaced = static_cast<int>(holes.size());
    const int score = playScore(board, d, column, row, length) + bingoBonusFor(tilesPlaced);
    liftTentative(board, word, column, row, d);
    if (crossOk) found.insert(Key{word, column, row, d, blanks, score});
  }

  test::StateGuard guard;
  test::TempFolder folder;
  std::shared_ptr<Lexicon> lexicon;
  std::set<std::string> anagramKeys;
};

TEST_F(AnagramRuleTest, AgreesWithABruteForce) {
  const std::vector<std::string> racks = {"TEN", "ONES", "SIT?", "?AT", "NOTE", "EE"};
  int positions = 0;
  std::size_t placements = 0;
  for (int seed = 1; seed <= 24; ++seed) {
    setProgramSeed(static_cast<std::uint32_t>(seed));
    Game game;
    startGame(game, 2, lexicon);
    // A few highest-scoring moves to fill the board.
    game.highestScoreBest = true;
    for (int turn = 0; turn < seed % 4; ++turn) {
      GenerateMoves(game, true);
      if (isNonPlacement(game.bestMove)) break;
      commitPlacement(game, game.bestMove);
    }
    Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
    returnAll(game.bag, rack);
    addLetters(rack, racks[static_cast<std::size_t>(seed) % racks.size()], &game.bag);
    if (!allNonNegative(game.bag)) continue;
    prepareBoard(game);

    GenerateMoves(game, false);
    std::multiset<Key> generated;
    for (const Move& move : game.moves) {
      if (isNonPlacement(move)) continue;
      generated.insert(keyOf(move));
    }
    const std::set<Key> expected = bruteForce(game);
    const std::set<Key> unique(generated.begin(), generated.end());
    EXPECT_EQ(unique.size(), generated.size()) << "duplicates, seed " << seed;
    EXPECT_EQ(unique, expected) << "seed " << seed;
    placements += expected.size();
    ++positions;
  }
  EXPECT_GE(positions, 20);
  EXPECT_GT(placements, 300u);  // the positions really offer moves
}

// Tiles on the board but none on the start square: plays run both ways.
// The rack NOTE beside TONE also needs the anchors matched to the tiles
// (E, O and N each fit two of the three anchors).
TEST_F(AnagramRuleTest, TilesAwayFromTheStartSquare) {
  const std::vector<std::string> racks = {"TEN", "SIT?", "NOTE"};
  int downPlays = 0;
  for (std::size_t i = 0; i < racks.size(); ++i) {
    setProgramSeed(static_cast<std::uint32_t>(40 + i));
    Game game;
    startGame(game, 2, lexicon);
    for (int p = 0; p < game.playerCount; ++p) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
    // "tone" down in column C from row 2: away from the start square.
    Rack laid;
    ASSERT_EQ(addLetters(laid, "tone", &game.bag), 4);
    for (int k = 0; k < 4; ++k) squareAt(game.board, 2, 1 + k)->letter = "tone"[k];
    ASSERT_TRUE(squareAt(game.board, rules().startColumn, rules().startRow)->empty());
    ASSERT_EQ(addLetters(game.racks[0], racks[i], &game.bag), static_cast<int>(racks[i].size()));
    drawTiles(game.racks[1], game.bag, rules().rackSize, &game.random);
    prepareBoard(game);

    GenerateMoves(game, false);
    std::set<Key> generated;
    for (const Move& move : game.moves) {
      if (isNonPlacement(move)) continue;
      generated.insert(keyOf(move));
      downPlays += move.direction == kDown ? 1 : 0;
    }
    const std::set<Key> expected = bruteForce(game);
    std::vector<Key> missing, extra;
    std::set_difference(expected.begin(), expected.end(), generated.begin(), generated.end(), std::back_inserter(missing));
    std::set_difference(generated.begin(), generated.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    auto describe = [](const Key& k) {
      return std::get<0>(k) + " at (" + std::to_string(std::get<1>(k)) + "," + std::to_string(std::get<2>(k)) +
             (std::get<3>(k) == kAcross ? ") across" : ") down");
    };
    for (const Key& k : missing) ADD_FAILURE() << "missing " << describe(k) << ", rack " << racks[i];
    for (const Key& k : extra) ADD_FAILURE() << "extra " << describe(k) << ", rack " << racks[i];
  }
  EXPECT_GT(downPlays, 10);
}

}  // namespace
}  // namespace pexil
