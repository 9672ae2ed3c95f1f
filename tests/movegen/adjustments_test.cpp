// The board adjustments of a placement's static value: each term on
// constructed positions (where it must fire and, one condition missing at a
// time, where it must not), the terms that belong to the standard board or
// the standard tiles on other games, the generator's fast evaluation against
// the evaluation that lays the tiles, the blank choice of typed moves, and
// the readers of the square-letter and board-pattern statistics.
#include "movegen/adjustments.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "lexicon/square_letter_stats.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/board.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/scoring.hpp"
#include "rules/tile_counts.hpp"
#include "state/evaluation_context.hpp"
#include "state/game.hpp"
#include "tables/board_patterns.hpp"
#include "tables/rack_tables.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

// ---------------------------------------------------------------------------
// The word list and what the tests work out from it on their own.

const std::string& listText() {
  static const std::string text = [] {
    std::ifstream in(PEXIL_TEST_DATA "/movegen/words.lst", std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }();
  return text;
}

const std::vector<std::string>& listWords() {
  static const std::vector<std::string> words = [] {
    std::vector<std::string> out;
    std::istringstream in(listText());
    for (std::string w; in >> w;) out.push_back(w);
    return out;
  }();
  return words;
}

bool inList(const std::string& word) {
  static const std::unordered_set<std::string> words(listWords().begin(), listWords().end());
  return words.count(word) > 0;
}

// Letters of the two-letter words: those some word ends with, and those
// some word starts with.
std::set<char> secondLetters() {
  std::set<char> out;
  for (const std::string& w : listWords()) {
    if (w.size() == 2) out.insert(w[1]);
  }
  return out;
}
std::set<char> firstLetters() {
  std::set<char> out;
  for (const std::string& w : listWords()) {
    if (w.size() == 2) out.insert(w[0]);
  }
  return out;
}

// The letters L for which L + word or word + L is in the list.
std::string hooksOf(const std::string& word, const std::unordered_set<std::string>* without = nullptr) {
  std::string out;
  for (char c = 'a'; c <= 'z'; ++c) {
    for (const std::string& candidate : {std::string(1, c) + word, word + c}) {
      if (inList(candidate) && !(without && without->count(candidate))) {
        out.push_back(c);
        break;
      }
    }
  }
  return out;
}

// The standard letter values, A to Z.
constexpr int kValue[26] = {1, 3, 3, 2, 1, 4, 2, 4, 1, 8, 5, 1, 3, 1, 1, 3, 10, 1, 1, 1, 1, 4, 4, 8, 4, 10};
int valueOf(char c) { return kValue[c - 'a']; }

// Chances are kept as exact fractions, so that values on a rounding tie
// come out as the formulas say.
using Big = __int128;

Big choose(int n, int k) {
  if (k < 0 || k > n) return 0;
  Big r = 1;
  for (int i = 1; i <= k; ++i) r = r * (n - k + i) / i;
  return r;
}

struct Chance {
  Big num = 0, den = 1;
};

// The chance that `draw` tiles taken at random from `total` tiles, `wanted`
// of them of interest, hold at least one of those (the whole pool when it
// has fewer tiles than the draw).
Chance chanceAny(int wanted, int total, int draw) {
  draw = std::min(draw, total);
  if (draw <= 0 || wanted <= 0) return {};
  const Big all = choose(total, draw);
  return {all - choose(total - wanted, draw), all};
}
const Chance kCertain{1, 1};

Big floorDiv(Big a, Big b) {
  Big q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// floor(10 x factor x p + 0.5); `tie` is set when 10 x factor x p + 0.5 is
// a whole number.
int tenths(int factor, Chance p, bool* tie = nullptr) {
  const Big n = 20 * factor * p.num + p.den, d = 2 * p.den;
  if (tie) *tie = n % d == 0;
  return static_cast<int>(floorDiv(n, d));
}

// floor(10 (2Q - 3P) + 0.5).
int hookValue(Chance q, Chance p, bool* tie = nullptr) {
  const Big n = 40 * q.num * p.den - 60 * p.num * q.den + q.den * p.den, d = 2 * q.den * p.den;
  if (tie) *tie = n % d == 0;
  return static_cast<int>(floorDiv(n, d));
}

int countOf(std::string_view tiles, char c) { return static_cast<int>(std::count(tiles.begin(), tiles.end(), c)); }


LetterCounts countsOf(std::string_view letters) {
  LetterCounts counts;
  addLetters(counts, letters, nullptr);
  return counts;
}

// ---------------------------------------------------------------------------
// Square-letter statistics: records, and their normalised values worked out
// here.

struct StatRecord {
  int letter, column, row;
  long long count, total;
};

std::string statText(const std::vector<StatRecord>& records) {
  std::string text;
  for (const StatRecord& r : records) {
    text += std::to_string(r.letter) + " " + std::to_string(r.column) + " " + std::to_string(r.row) + " " +
            std::to_string(r.count) + " " + std::to_string(r.total) + "\n";
  }
  return text;
}

// The normalised value of a record among records of distinct squares and
// letters with non-negative totals.
long long normalised(const std::vector<StatRecord>& records, const StatRecord& r) {
  long long n = 0, s = 0;
  for (const StatRecord& x : records) {
    n += x.count;
    s += x.total;
  }
  const long long mean10 = 10 * s / n;
  return r.count >= 10 ? 10 * r.total / r.count - mean10 : 0;
}

int code(char c) { return c - 'a'; }

// The records the lane tests read.
const std::vector<StatRecord>& laneRecords() {
  static const std::vector<StatRecord> records = {
      {code('b'), 3, 0, 20, 260},     // top edge, left half
      {code('t'), 3, 0, 5, 500},      // seen too rarely: 0
      {code('b'), 7, 0, 20, 1000},    // the triple-word columns are no lanes
      {code('b'), 0, 0, 20, 1000},
      {code('d'), 10, 14, 40, 200},   // bottom edge, right half
      {code('c'), 0, 3, 10, 470},     // left edge, upper half
      {code('s'), 14, 11, 12, 1000},  // right edge, lower half
      {code('o'), 6, 4, 25, 900},     // row 4
      {code('o'), 4, 4, 10, 800},     // row 4 outside the middle columns
      {code('o'), 10, 4, 10, 800},
      {code('e'), 4, 8, 30, 450},     // column 4
      {code('r'), 8, 10, 50, 3000},   // row 10
      {code('n'), 10, 5, 15, 600},    // column 10
      {code('o'), 8, 4, 10, 990},     // row 4 of a long word that also crosses row 10
      {code('h'), 8, 10, 10, 130},
      {code('e'), 7, 7, 1000, 9000},  // the bulk of the statistics
  };
  return records;
}

long long laneValue(int letter, int column, int row) {
  for (const StatRecord& r : laneRecords()) {
    if (r.letter == letter && r.column == column && r.row == row) return normalised(laneRecords(), r);
  }
  ADD_FAILURE() << "no record for " << letter << " at " << column << "," << row;
  return 0;
}

// The lane term of a value: a quarter, rounded down (arithmetic shift).
int laneTerm(long long value) {
  long long q = value / 4;
  if (value % 4 != 0 && value < 0) --q;
  return static_cast<int>(-q);
}

// ---------------------------------------------------------------------------
// Lexicons of the test word list, each loaded from a folder of its own with
// the companion files it needs.

std::shared_ptr<Lexicon> loadList(const std::string& bbText, const std::string& validatingText = "") {
  test::TempFolder folder;
  folder.write("words.lst", listText());
  if (!bbText.empty()) {
    folder.write("words.bb", bbText);
    folder.write("valid.bb", bbText);
  }
  auto lexicon = std::make_shared<Lexicon>();
  lexicon->loadLeaves = false;
  lexicon->useGraphFile = false;
  std::string validating;
  if (!validatingText.empty()) validating = folder.write("valid.lst", validatingText);
  EXPECT_TRUE(loadWordListWithTables(*lexicon, folder.path("words.lst"), validating));
  return lexicon;
}

std::shared_ptr<Lexicon> plainList() {
  static std::shared_ptr<Lexicon> lexicon = loadList("");
  return lexicon;
}
std::shared_ptr<Lexicon> laneList() {
  static std::shared_ptr<Lexicon> lexicon = loadList(statText(laneRecords()));
  return lexicon;
}

// ---------------------------------------------------------------------------
// Board-pattern tables kept here as well as written out.

struct PatternTable {
  int width = 15, height = 15;
  std::vector<long long> counts, totals;  // cell * 512 + pattern
  std::string text;
};

// A table with a record for roughly every other pattern of every cell,
// counts 1..40 and totals 0..3000, from a seeded generator.
PatternTable randomPatterns(std::uint32_t seed) {
  PatternTable t;
  const int cells = (t.width - 2) * (t.height - 2);
  t.counts.assign(static_cast<std::size_t>(cells) * 512, 0);
  t.totals = t.counts;
  std::mt19937 random(seed);
  t.text = "15 15\n";
  for (int cell = 0; cell < cells; ++cell) {
    for (int pattern = 0; pattern < 512; ++pattern) {
      if (random() % 2 == 0) continue;
      const long long count = 1 + random() % 40, total = random() % 3001;
      t.counts[static_cast<std::size_t>(cell * 512 + pattern)] = count;
      t.totals[static_cast<std::size_t>(cell * 512 + pattern)] = total;
      t.text += std::to_string(cell) + " " + std::to_string(pattern) + " " + std::to_string(count) + " " +
                std::to_string(total) + "\n";
    }
  }
  return t;
}

const PatternTable& patternTable() {
  static const PatternTable table = randomPatterns(4242);
  return table;
}

struct SquareRef {
  int column, row;
  bool operator<(const SquareRef& o) const { return std::tie(column, row) < std::tie(o.column, o.row); }
};

// The board-pattern value of the board with the extra squares taken as
// occupied.
int patternValueOf(const PatternTable& t, const Board& board, const std::set<SquareRef>& extra = {}) {
  auto occupied = [&](int c, int r) {
    if (extra.count({c, r})) return true;
    const Square* s = squareAt(board, c, r);
    return s != nullptr && !s->empty();
  };
  long long a = 0, b = 0;
  for (int row = 1; row <= t.height - 2; ++row) {
    for (int column = 1; column <= t.width - 2; ++column) {
      int pattern = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (occupied(column + dx, row + dy)) pattern |= 1 << (3 * (dy + 1) + (dx + 1));
        }
      }
      const std::size_t i = static_cast<std::size_t>(((row - 1) * (t.width - 2) + (column - 1)) * 512 + pattern);
      a += t.counts[i];
      b += t.totals[i];
    }
  }
  return a == 0 ? 0 : static_cast<int>(10 * b / a);
}

// ---------------------------------------------------------------------------
// Positions.

// Pools without letters worth 5 or more: no premium exposure on the
// standard board.
const std::string kQuietBag = "AAAEEEEIIIOOOUURRRSSTTTLLNNDDGGBCMPH";  // 36 tiles
const std::string kQuietOpponent = "AEINRST";

class Adjustments : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    clearRackTables();
    setExperimentalPlayFlag(kXpfNone);
    BoardPatterns::reset();
  }
  void TearDown() override {
    setExperimentalPlayFlag(kXpfNone);
    clearRackTables();
    BoardPatterns::reset();
  }

  // A two-player game, player 0 to move with `rack`; the opponent holds
  // `opponent` and the bag `bag`.
  void setUpGame(std::shared_ptr<Lexicon> lexicon, std::string_view rack = "AEILNRT",
                 std::string_view opponent = kQuietOpponent, std::string_view bag = kQuietBag) {
    startGame(game_, 2, std::move(lexicon));
    game_.racks[0] = countsOf(rack);
    game_.racks[1] = countsOf(opponent);
    game_.bag = countsOf(bag);
    game_.toMove = 0;
    game_.moveNumber = 4;
    game_.strategies.fill(0);
    game_.scores.fill(0);
  }
  // A tile of an earlier move.
  void put(int column, int row, char letter = 'e') {
    Square* s = squareAt(game_.board, column, row);
    ASSERT_NE(s, nullptr);
    s->letter = letter;
    s->placedMark = 1;
  }
  void clear(int column, int row) {
    Square* s = squareAt(game_.board, column, row);
    s->letter = ' ';
    s->placedMark = kEmptyMark;
  }
  // The shape of a placement on the current board: the letters on empty
  // squares are the placed ones; `blankIndexes` of them are blanks.
  PlacementShape shape(const char* word, int column, int row, int direction, std::vector<int> blankIndexes = {}) {
    PlacementShape s;
    s.word = word;
    s.length = static_cast<int>(std::string_view(word).size());
    s.column = column;
    s.row = row;
    s.direction = direction;
    for (int i = 0; i < s.length; ++i) {
      const Square* sq = squareAt(game_.board, direction == kAcross ? column + i : column,
                                  direction == kAcross ? row : row + i);
      if (sq != nullptr && sq->empty()) s.placed |= 1u << i;
    }
    for (int i : blankIndexes) s.blanks |= 1u << i;
    return s;
  }
  // The adjustments of a placement after the position is prepared as the
  // generator prepares it.
  int adjust(const char* word, int column, int row, int direction, std::string_view leave = "EE", int score = 10,
             std::vector<int> blankIndexes = {}) {
    prepareBoard(game_);
    refreshEvaluationContext(game_);
    return placementAdjustments(game_, shape(word, column, row, direction, std::move(blankIndexes)), countsOf(leave),
                                score);
  }

  test::StateGuard guard_;
  Game game_;
};

// ---------------------------------------------------------------------------
// Two-letter shield.

TEST_F(Adjustments, ShieldLettersComeFromTheTwoLetterWords) {
  // The letters the list gives: nothing precedes c, j, q, v, z; nothing
  // follows c, v.
  const std::set<char> second = secondLetters(), first = firstLetters();
  std::string noPrefix, noSuffix;
  for (char c = 'a'; c <= 'z'; ++c) {
    if (!second.count(c)) noPrefix.push_back(c);
    if (!first.count(c)) noSuffix.push_back(c);
  }
  EXPECT_EQ(noPrefix, "cjqvz");
  EXPECT_EQ(noSuffix, "cv");
}

TEST_F(Adjustments, ShieldOnTheSecondLineWithALetterNothingPrecedes) {
  setUpGame(plainList());
  EXPECT_EQ(adjust("aja", 1, 5, kDown), 10);
  EXPECT_EQ(adjust("aja", 5, 1, kAcross), 10);
  // A blank standing for the letter shields as well.
  EXPECT_EQ(adjust("aja", 1, 5, kDown, "EE", 10, {1}), 10);
  // Other lines.
  EXPECT_EQ(adjust("aja", 2, 5, kDown), 0);
  EXPECT_EQ(adjust("aja", 0, 5, kDown), 0);
  EXPECT_EQ(adjust("aja", 5, 2, kAcross), 0);
  // The across word on column 1 or the down word on row 1 is not on line 1.
  EXPECT_EQ(adjust("aja", 1, 5, kAcross), 0);
  EXPECT_EQ(adjust("aja", 5, 2, kDown), 0);
  // Letters that can end a two-letter word.
  EXPECT_EQ(adjust("ata", 1, 5, kDown), 0);
  // On line 13 the letter must be one nothing follows: j starts "jo".
  EXPECT_EQ(adjust("aja", 13, 5, kDown), 0);
  EXPECT_EQ(adjust("aja", 5, 13, kAcross), 0);
  // The letter must be placed by the move.
  put(1, 6, 'j');
  EXPECT_EQ(adjust("aja", 1, 5, kDown), 0);
}

TEST_F(Adjustments, ShieldOnTheThirteenthLineWithALetterNothingFollows) {
  setUpGame(plainList());
  EXPECT_EQ(adjust("ava", 13, 5, kDown), 10);
  EXPECT_EQ(adjust("ava", 5, 13, kAcross), 10);
  EXPECT_EQ(adjust("ava", 12, 5, kDown), 0);
  EXPECT_EQ(adjust("ava", 14, 5, kDown), 0);
  // v fits both tests; on line 1 it shields once.
  EXPECT_EQ(adjust("ava", 1, 5, kDown), 10);
  EXPECT_EQ(adjust("acv", 1, 5, kDown), 10);
  put(13, 6, 'v');
  EXPECT_EQ(adjust("ava", 13, 5, kDown), 0);
}

// ---------------------------------------------------------------------------
// Edge-lane exposure.

TEST_F(Adjustments, EdgeExposureOfAHighFirstLetter) {
  setUpGame(plainList());
  // j on the top edge in column 3: columns 0..3 of rows 0 and 1 are open.
  EXPECT_EQ(adjust("jot", 3, 0, kDown), -5);
  EXPECT_EQ(adjust("qat", 3, 0, kDown), -5);
  EXPECT_EQ(adjust("xat", 3, 0, kDown), -5);
  EXPECT_EQ(adjust("zat", 3, 0, kDown), -5);
  // Letters worth less than 6, and blanks, are not high.
  EXPECT_EQ(adjust("kat", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("hat", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("jot", 3, 0, kDown, "EE", 10, {0}), 0);
  // Not on the edge.
  EXPECT_EQ(adjust("jot", 3, 2, kDown), 0);
  // Columns of the triple-word squares.
  EXPECT_EQ(adjust("jot", 0, 0, kDown), 0);
  EXPECT_EQ(adjust("jot", 7, 0, kDown), 0);
  EXPECT_EQ(adjust("jot", 14, 0, kDown), 0);
  // An across word on the top edge is no down word starting there.
  EXPECT_EQ(adjust("jot", 3, 0, kAcross), 0);
}

TEST_F(Adjustments, EdgeExposureNeedsTheStretchToTheNearestCornerClear) {
  setUpGame(plainList());
  struct Case {
    int wordColumn;
    SquareRef tile;
    int expected;
  };
  const Case cases[] = {
      {3, {0, 1}, 0},  {3, {0, 0}, 0},  {3, {2, 0}, 0},  {3, {1, 1}, 0},
      {3, {4, 1}, -5}, {3, {4, 0}, -5}, {3, {2, 2}, -5}, {3, {7, 0}, -5},
      // Column 4 is nearer to column 7.
      {4, {7, 1}, 0},  {4, {5, 0}, 0},  {4, {3, 0}, -5}, {4, {0, 1}, -5},
      {10, {7, 0}, 0}, {10, {8, 1}, 0}, {10, {11, 1}, -5},
      // Column 11 is nearer to column 14.
      {11, {14, 1}, 0}, {11, {13, 0}, 0}, {11, {10, 1}, -5}, {11, {7, 0}, -5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("word column " + std::to_string(c.wordColumn) + ", tile " + std::to_string(c.tile.column) + "," +
                 std::to_string(c.tile.row));
    put(c.tile.column, c.tile.row);
    EXPECT_EQ(adjust("jot", c.wordColumn, 0, kDown), c.expected);
    clear(c.tile.column, c.tile.row);
  }
  // The high letter must be placed by the move.
  put(3, 0, 'j');
  EXPECT_EQ(adjust("jot", 3, 0, kDown), 0);
  clear(3, 0);
  // The move's own tiles on the stretch do not close it.
  EXPECT_EQ(adjust("jo", 3, 0, kDown), -5);
}

TEST_F(Adjustments, EdgeExposureOfAHighLastLetterAndAcrossWords) {
  setUpGame(plainList());
  // x ending a down word on row 14 in column 11: columns 11..14 of rows 14
  // and 13.
  EXPECT_EQ(adjust("tax", 11, 12, kDown), -5);
  put(13, 13);
  EXPECT_EQ(adjust("tax", 11, 12, kDown), 0);
  clear(13, 13);
  put(10, 13);
  EXPECT_EQ(adjust("tax", 11, 12, kDown), -5);
  clear(10, 13);
  // Not ending on the edge; a low last letter; an unplaced last letter.
  EXPECT_EQ(adjust("tax", 11, 10, kDown), 0);
  EXPECT_EQ(adjust("tab", 11, 12, kDown), 0);
  put(11, 14, 'x');
  EXPECT_EQ(adjust("tax", 11, 12, kDown), 0);
  clear(11, 14);

  // Across: z starting in column 0 of row 5 (rows 5..7 of columns 0 and 1).
  EXPECT_EQ(adjust("zoa", 0, 5, kAcross), -5);
  put(1, 7);
  EXPECT_EQ(adjust("zoa", 0, 5, kAcross), 0);
  clear(1, 7);
  put(0, 4);
  EXPECT_EQ(adjust("zoa", 0, 5, kAcross), -5);
  clear(0, 4);
  // x ending in column 14 of row 9 (rows 9..7 of columns 14 and 13).
  EXPECT_EQ(adjust("box", 12, 9, kAcross), -5);
  put(13, 8);
  EXPECT_EQ(adjust("box", 12, 9, kAcross), 0);
  clear(13, 8);
  EXPECT_EQ(adjust("box", 12, 7, kAcross), 0);

  // Both ends of a word across the whole board, once each.
  EXPECT_EQ(adjust("jaaaaaaaaaaaaax", 3, 0, kDown), -10);
}

// ---------------------------------------------------------------------------
// Premium exposure.

// The letters a word's placed tiles expose, on an empty standard board with
// a pool holding two Z, one K, one J, one X and one Q.
const std::string kExposureBag = "ZZKJXQAAEEEIIOORRSSTTNNLDDGU";
const std::string kExposureOpponent = "AEIORST";

TEST_F(Adjustments, PremiumExposureWeighsEachLetterByTheChanceOfDrawingIt) {
  setUpGame(plainList(), "AEILNRT", kExposureOpponent, kExposureBag);
  const std::string pool = kExposureOpponent + kExposureBag;
  const int total = static_cast<int>(pool.size());
  const Chance pz = chanceAny(countOf(pool, 'Z'), total, 7), pk = chanceAny(countOf(pool, 'K'), total, 7);
  ASSERT_GT(countOf(pool, 'Z'), countOf(pool, 'K'));
  ASSERT_TRUE(inList("za") && inList("ka") && !inList("ja") && !inList("xa") && !inList("qa"));

  // Across row 1, columns 3..7: the a in column 3 lies under the
  // double-letter square (3,0), the a in column 7 under the triple-word
  // square (7,0); "za" and "ka" can be played down onto them. z gains
  // (2 x 2 x 10 - 26) p and (3 x 2 x 10 - 26) p, of which the larger counts;
  // k gains only on the triple (3 x 2 x 5 - 26 = 4).
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), -(tenths(34, pz) + tenths(4, pk)));

  // With the triple-word square taken, the double-letter one is left.
  put(7, 0);
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), -tenths(14, pz));
  clear(7, 0);
  // An a already on the board exposes nothing new.
  put(7, 1, 'a');
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), -tenths(14, pz));
  clear(7, 1);

  // Down words: squares left and right. The a at (6,5) beside the
  // triple-letter (5,5); the a at (5,4) beside the double-word (4,4).
  EXPECT_EQ(adjust("ta", 6, 4, kDown), -(tenths(34, pz) + tenths(4, pk)));
  EXPECT_EQ(adjust("ta", 5, 3, kDown), -tenths(14, pz));
  // The letter goes on the other side: "a" then a letter. The a at (6,7)
  // has the centre double-word square on its right: "ax" (2 x 2 x 8 - 26).
  const Chance px = chanceAny(countOf(pool, 'X'), total, 7);
  ASSERT_TRUE(inList("ax") && !inList("az") && !inList("ak"));
  EXPECT_EQ(adjust("ta", 6, 6, kDown), -tenths(6, px));
}

TEST_F(Adjustments, PremiumExposureFollowsThePool) {
  // The same letters in the opponent's rack count as unseen.
  setUpGame(plainList(), "AEILNRT", "ZZKAEIO", "JXQAAEEEIIOORRSSTTNNLDDGURST");
  const std::string pool = "ZZKAEIOJXQAAEEEIIOORRSSTTNNLDDGURST";
  const int total = static_cast<int>(pool.size());
  const Chance pz = chanceAny(2, total, 7), pk = chanceAny(1, total, 7);
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), -(tenths(34, pz) + tenths(4, pk)));

  // No z left unseen: k alone.
  setUpGame(plainList(), "AEILNRZ", "KAEIOUT", "JXQAAEEEIIOORRSSTTNNLDDGURST");
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), -tenths(4, chanceAny(1, 35, 7)));

  // A pool smaller than a rack: every unseen letter is drawn.
  setUpGame(plainList(), "AEILNRT", "", "ZEE");
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), -340);
}

TEST_F(Adjustments, PremiumExposureIsOffWithoutDangerHooks) {
  setUpGame(plainList(), "AEILNRT", kExposureOpponent, kExposureBag);
  ASSERT_LT(adjust("attta", 3, 1, kAcross), 0);
  setExperimentalPlayFlag(kXpfNoDangerHooks);
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), 0);
  // The other experimental settings leave it on.
  setExperimentalPlayFlag(kXpfSetupTileGuesses);
  EXPECT_LT(adjust("attta", 3, 1, kAcross), 0);
}

// ---------------------------------------------------------------------------
// Emptying the bag.

TEST_F(Adjustments, EmptyingTheBag) {
  struct Case {
    std::string opponent;
    std::string bag;
    std::string leave;
    int expected;
  };
  const Case cases[] = {
      // Full opposing rack: D = 0, R = bag.
      {"AEINRST", "EEEEE", "E", -20},   // R 5, leave 1 < 7 - 5
      {"AEINRST", "EEEEE", "EE", 0},    // leave 2 is not < 2
      {"AEINRST", "E", "EEEEE", -20},   // R 1, leave 5 < 6
      {"AEINRST", "E", "EEEEEE", 0},
      {"AEINRST", "EEEEEE", "", -20},   // R 6, leave 0 < 1
      {"AEINRST", "EEEEEEE", "", 0},    // R 7 is a full rack
      {"AEINRST", "", "", 0},           // R 0
      // The opponent lacks three tiles: D = 3.
      {"AEIN", "EEEEE", "EEEE", -20},   // R 2, leave 4 < 7 + 3 - 5
      {"AEIN", "EEEEE", "EEEEE", 0},
      {"AEIN", "EEE", "", 0},           // R 0
      {"AEIN", "EEEEEEEEEE", "", 0},    // R 7
      {"AEIN", "EEEEEEEEE", "", -20},   // R 6, leave 0 < 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opponent + " / " + c.bag + " / " + c.leave);
    setUpGame(plainList(), "AEILNRT", c.opponent, c.bag);
    EXPECT_EQ(adjust("tea", 6, 7, kAcross, c.leave), c.expected);
  }
  // Several opponents: their missing tiles add up.
  setUpGame(plainList(), "AEILNRT", "AEIN", "EEEEEEEEEEE");
  game_.playerCount = 3;
  game_.racks[2] = countsOf("AEIOU");
  game_.strategies.fill(0);
  // D = 3 + 2, R = 11 - 5 = 6; the leave must be shorter than 7 + 5 - 11.
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, ""), -20);
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "E"), 0);
}

// ---------------------------------------------------------------------------
// Hooks on the second line.

class AdjustmentsHooks : public Adjustments {
 protected:
  // "oat": hooks c (coat) and h (oath). A pool of 40 tiles with one C, two
  // H and no blank.
  void SetUp() override {
    Adjustments::SetUp();
    ASSERT_EQ(hooksOf("oat"), "ch");
  }
  void start(std::string_view bag = "CHHAAAEEEEIIIOORRRSSTTTLLNNDDGGBMPUUUW", std::string_view opponent = "") {
    setUpGame(plainList(), "AEILNRT", opponent, bag);
    pool_ = std::string(opponent) + std::string(bag);
  }
  // floor(10 (2Q - 3P) + 0.5) for the hook tiles and blanks of the pool
  // and a leave.
  int expected(std::string_view leave, const std::string& hooks = "ch") const {
    int wanted = countOf(pool_, '?');
    for (char h : hooks) wanted += countOf(pool_, static_cast<char>(h - 'a' + 'A'));
    const int total = static_cast<int>(pool_.size());
    const Chance p = chanceAny(wanted, total, 7);
    bool held = countOf(leave, '?') > 0;
    for (char h : hooks) held = held || countOf(leave, static_cast<char>(h - 'a' + 'A')) > 0;
    const Chance q = held ? kCertain : chanceAny(wanted, total, 7 - static_cast<int>(leave.size()));
    return hookValue(q, p);
  }
  std::string pool_;
};

TEST_F(AdjustmentsHooks, DownWordFromTheSecondRow) {
  start();
  const int value = expected("EE");
  ASSERT_NE(value, 0);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), value);
  // The word's column reaches (0,0) or (7,0): either open will do.
  put(0, 0);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), value);
  put(7, 0);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), 0);
  clear(0, 0);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), value);
  clear(7, 0);
  // A tile beside the word's letter on row 1, on either side.
  put(2, 1);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), 0);
  clear(2, 1);
  put(4, 1);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), 0);
  clear(4, 1);
  // Tiles beside other letters of the word do not matter.
  put(2, 2);
  put(4, 3);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), value);
  clear(2, 2);
  clear(4, 3);
  // Not on the second row.
  EXPECT_EQ(adjust("oat", 3, 2, kDown, "EE"), 0);
  EXPECT_EQ(adjust("oat", 3, 0, kDown, "EE"), 0);
}

TEST_F(AdjustmentsHooks, TheTripleWordSquaresWithinReach) {
  start();
  const int value = expected("EE");
  struct Case {
    int column;
    std::vector<SquareRef> tiles;
    int expected;
  };
  const std::vector<Case> cases = {
      {1, {{7, 0}, {14, 0}}, value},
      {1, {{0, 0}}, 0},
      {2, {{0, 0}}, 0},
      {2, {{7, 0}}, value},
      {3, {{7, 0}}, value},
      {6, {{0, 0}}, value},
      {6, {{0, 0}, {7, 0}}, 0},
      {7, {{0, 0}, {14, 0}}, value},
      {7, {{7, 0}}, value},
      {7, {{7, 0}, {14, 0}}, 0},
      {11, {{7, 0}}, value},
      {11, {{7, 0}, {14, 0}}, 0},
      {12, {{7, 0}, {0, 0}}, value},
      {12, {{14, 0}}, 0},
      {13, {{14, 0}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("column " + std::to_string(c.column));
    for (const SquareRef& t : c.tiles) put(t.column, t.row);
    EXPECT_EQ(adjust("oat", c.column, 1, kDown, "EE"), c.expected);
    for (const SquareRef& t : c.tiles) clear(t.column, t.row);
  }
}

TEST_F(AdjustmentsHooks, OtherEdgesAndAcrossWords) {
  start();
  const int value = expected("EE");
  // A down word ending on row 13: the hook square is on row 14.
  EXPECT_EQ(adjust("oat", 9, 11, kDown, "EE"), value);
  put(7, 14);
  EXPECT_EQ(adjust("oat", 9, 11, kDown, "EE"), value);
  put(14, 14);
  EXPECT_EQ(adjust("oat", 9, 11, kDown, "EE"), 0);
  clear(7, 14);
  clear(14, 14);
  put(10, 13);
  EXPECT_EQ(adjust("oat", 9, 11, kDown, "EE"), 0);
  clear(10, 13);
  put(8, 11);  // beside the first letter, not the one on row 13
  EXPECT_EQ(adjust("oat", 9, 11, kDown, "EE"), value);
  clear(8, 11);
  EXPECT_EQ(adjust("oat", 9, 12, kDown, "EE"), 0);

  // An across word starting in column 1 of row 4: column 0, (0,0) or (0,7).
  EXPECT_EQ(adjust("oat", 1, 4, kAcross, "EE"), value);
  put(1, 3);
  EXPECT_EQ(adjust("oat", 1, 4, kAcross, "EE"), 0);
  clear(1, 3);
  put(1, 5);
  EXPECT_EQ(adjust("oat", 1, 4, kAcross, "EE"), 0);
  clear(1, 5);
  put(0, 0);
  put(0, 7);
  EXPECT_EQ(adjust("oat", 1, 4, kAcross, "EE"), 0);
  clear(0, 0);
  clear(0, 7);
  // An across word ending in column 13 of row 12: column 14, (14,7) or
  // (14,14).
  EXPECT_EQ(adjust("oat", 11, 12, kAcross, "EE"), value);
  put(14, 14);
  EXPECT_EQ(adjust("oat", 11, 12, kAcross, "EE"), 0);
  clear(14, 14);
  put(13, 11);
  EXPECT_EQ(adjust("oat", 11, 12, kAcross, "EE"), 0);
}

TEST_F(AdjustmentsHooks, TheMoversChanceAgainstTheOpponents) {
  start();
  // A hook letter or a blank kept: Q = 1.
  const int kept = expected("CE");
  EXPECT_EQ(kept, expected("?E"));
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "CE"), kept);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "HE"), kept);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "?E"), kept);
  // Otherwise the draw of 7 - leave tiles decides: longer leaves draw less.
  EXPECT_EQ(adjust("oat", 3, 1, kDown, ""), expected(""));
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EEEE"), expected("EEEE"));
  EXPECT_NE(expected(""), expected("EEEE"));
  // A full leave draws nothing: Q = 0.
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EEEEEEE"), hookValue(Chance{}, chanceAny(3, static_cast<int>(pool_.size()), 7)));

  // Blanks in the pool count with the hook letters.
  start("CHHAAAEEEEIIIOORRRSSTTTLLNNDDGGBMPUU??");
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), expected("EE"));
  // A pool without hooks or blanks: 2Q - 3P = 0.
  start("AAAEEEEIIIOORRRSSTTTLLNNDDGGBMPUU");
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), 0);
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "CE"), 20);
  // Every tile a hook: P = Q = 1.
  start("CCHHHHHH", "HHHHHHH");
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), -10);
  // The opponent's rack is part of the pool.
  start("AAAEEEEIIIOORRRSSTTTLLNNDDGGBMPUUUW", "CHHAEIO");
  EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), expected("EE"));
  EXPECT_NE(expected("EE"), 0);
}

TEST_F(AdjustmentsHooks, PhonyHooksDoNotCount) {
  // A validating list without "coat" (c hooks in front) or without "oath"
  // (h hooks behind): those letters hook only through phonies.
  auto without = [&](const std::string& word, const std::string& left) {
    SCOPED_TRACE(word);
    const std::unordered_set<std::string> dropped{word};
    std::string validating;
    for (const std::string& w : listWords()) {
      if (w != word) validating += w + "\n";
    }
    ASSERT_EQ(hooksOf("oat", &dropped), left);
    setUpGame(loadList("", validating));
    pool_ = kQuietOpponent + "CHHAAAEEEEIIIOORRRSSTTTLLNNDDGGBMPUUUW";
    game_.bag = countsOf("CHHAAAEEEEIIIOORRRSSTTTLLNNDDGGBMPUUUW");
    EXPECT_EQ(adjust("oat", 3, 1, kDown, "EE"), expected("EE", left));
    EXPECT_NE(expected("EE", left), expected("EE", "ch"));
    // A kept letter that hooks only through a phony is no hook.
    const std::string gone = word == "coat" ? "CE" : "HE";
    EXPECT_EQ(adjust("oat", 3, 1, kDown, gone), expected(gone, left));
    EXPECT_NE(expected(gone, left), expected(gone, "ch"));
  };
  without("coat", "h");
  without("oath", "c");
}

// ---------------------------------------------------------------------------
// Lane statistics.

TEST_F(Adjustments, LaneValuesOfTheFixture) {
  // The fixture has negative values whose quarter a division would round
  // the other way.
  const long long d = laneValue(code('d'), 10, 14), b = laneValue(code('b'), 3, 0);
  EXPECT_LT(d, 0);
  EXPECT_NE(d % 4, 0);
  EXPECT_LT(b, 0);
  EXPECT_NE(b % 4, 0);
  EXPECT_EQ(laneTerm(-113), 29);
  EXPECT_EQ(laneTerm(-33), 9);
  EXPECT_EQ(laneTerm(670), -167);
  const SquareLetterStats& stats = laneList()->squareLetterStats();
  for (const StatRecord& r : laneRecords()) {
    EXPECT_EQ(stats.value(r.column, r.row, r.letter), normalised(laneRecords(), r));
  }
  EXPECT_EQ(stats.value(5, 0, code('b')), std::nullopt);
}

TEST_F(Adjustments, LanesOnTheEdges) {
  setUpGame(laneList());
  // (a) A down word from row 0 in column 3: the letter on row 0.
  const int top = laneTerm(laneValue(code('b'), 3, 0));
  ASSERT_NE(top, 0);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), top);
  const LaneOpening lane = laneOpening(game_, shape("bat", 3, 0, kDown));
  EXPECT_TRUE(lane.found);
  EXPECT_EQ(lane.column, 3);
  EXPECT_EQ(lane.row, 0);
  EXPECT_EQ(lane.letter, code('b'));
  // The left half is columns 0..7 of rows 0 and 1.
  put(6, 1);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), 0);
  EXPECT_FALSE(laneOpening(game_, shape("bat", 3, 0, kDown)).found);
  clear(6, 1);
  put(0, 0);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), 0);
  clear(0, 0);
  put(7, 1);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), 0);
  clear(7, 1);
  put(8, 1);
  put(3, 2);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), top);
  clear(8, 1);
  clear(3, 2);
  // A letter seen fewer than 10 times there, a letter without a record, a
  // square without a table.
  EXPECT_EQ(adjust("tab", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("abt", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("bat", 5, 0, kDown), 0);
  // The columns of the triple-word squares open no lane.
  EXPECT_EQ(adjust("bat", 7, 0, kDown), 0);
  EXPECT_EQ(adjust("bat", 0, 0, kDown), 0);
  EXPECT_FALSE(laneOpening(game_, shape("bat", 7, 0, kDown)).found);

  // A down word ending on row 14 in column 10: the right half, columns
  // 7..14 of rows 14 and 13.
  const int bottom = laneTerm(laneValue(code('d'), 10, 14));
  EXPECT_NE(bottom, -static_cast<int>(laneValue(code('d'), 10, 14) / 4));
  EXPECT_EQ(adjust("and", 10, 12, kDown), bottom);
  put(12, 13);
  EXPECT_EQ(adjust("and", 10, 12, kDown), 0);
  clear(12, 13);
  put(7, 14);
  EXPECT_EQ(adjust("and", 10, 12, kDown), 0);
  clear(7, 14);
  put(5, 13);
  EXPECT_EQ(adjust("and", 10, 12, kDown), bottom);
  clear(5, 13);

  // Across twins: a word from column 0 in row 3 (rows 0..7 of columns 0
  // and 1), a word ending in column 14 in row 11 (rows 7..14 of columns 14
  // and 13).
  const int left = laneTerm(laneValue(code('c'), 0, 3));
  EXPECT_EQ(adjust("cat", 0, 3, kAcross), left);
  put(1, 6);
  EXPECT_EQ(adjust("cat", 0, 3, kAcross), 0);
  clear(1, 6);
  put(1, 9);
  EXPECT_EQ(adjust("cat", 0, 3, kAcross), left);
  clear(1, 9);
  const int right = laneTerm(laneValue(code('s'), 14, 11));
  EXPECT_EQ(adjust("its", 12, 11, kAcross), right);
  put(13, 8);
  EXPECT_EQ(adjust("its", 12, 11, kAcross), 0);
  clear(13, 8);
  // An across word along the top edge opens no lane of the top edge.
  EXPECT_EQ(adjust("bat", 3, 0, kAcross), 0);
}

TEST_F(Adjustments, AClosedEdgeHalfFallsThroughToTheMiddleLanes) {
  setUpGame(laneList());
  // A down word from row 0 in column 6 long enough to cross row 4: the edge
  // comes first while its half is open...
  adjust("photo", 6, 0, kDown);  // brings the lane flags up to date
  LaneOpening lane = laneOpening(game_, shape("photo", 6, 0, kDown));
  ASSERT_TRUE(lane.found);
  EXPECT_EQ(lane.row, 0);
  EXPECT_EQ(lane.letter, code('p'));
  // ...and once the half is closed, the middle lane of row 4 decides.
  put(2, 1);
  adjust("photo", 6, 0, kDown);
  lane = laneOpening(game_, shape("photo", 6, 0, kDown));
  ASSERT_TRUE(lane.found);
  EXPECT_EQ(lane.column, 6);
  EXPECT_EQ(lane.row, 4);
  EXPECT_EQ(lane.letter, code('o'));
  clear(2, 1);
}

TEST_F(Adjustments, LanesThroughTheMiddle) {
  setUpGame(laneList());
  // (b) A down word of 4 or more letters crossing row 4 in columns 5..9;
  // the middle lane of row 4 is columns 4..10 of rows 4 and 3.
  const int row4 = laneTerm(laneValue(code('o'), 6, 4));
  ASSERT_NE(row4, 0);
  EXPECT_EQ(adjust("stone", 6, 2, kDown), row4);
  EXPECT_EQ(adjust("onto", 6, 4, kDown), row4);
  put(10, 3);
  EXPECT_EQ(adjust("stone", 6, 2, kDown), 0);
  clear(10, 3);
  put(4, 4);
  EXPECT_EQ(adjust("stone", 6, 2, kDown), 0);
  clear(4, 4);
  put(11, 4);
  put(6, 5);
  EXPECT_EQ(adjust("stone", 6, 2, kDown), row4);
  clear(11, 4);
  clear(6, 5);
  // Three letters are too few; columns 4 and 10 are not in the middle.
  EXPECT_EQ(adjust("sot", 6, 3, kDown), 0);
  EXPECT_EQ(adjust("stone", 4, 2, kDown), 0);
  EXPECT_EQ(adjust("stone", 10, 2, kDown), 0);
  EXPECT_FALSE(laneOpening(game_, shape("stone", 4, 2, kDown)).found);
  // The across twin: a word crossing column 4 in row 8; the lane is rows
  // 4..10 of columns 4 and 3.
  const int column4 = laneTerm(laneValue(code('e'), 4, 8));
  EXPECT_EQ(adjust("tree", 2, 8, kAcross), column4);
  put(3, 10);
  EXPECT_EQ(adjust("tree", 2, 8, kAcross), 0);
  clear(3, 10);

  // (c) Crossing row 10: columns 4..10 of rows 10 and 11.
  const int row10 = laneTerm(laneValue(code('r'), 8, 10));
  EXPECT_EQ(adjust("bird", 8, 8, kDown), row10);
  put(4, 11);
  EXPECT_EQ(adjust("bird", 8, 8, kDown), 0);
  clear(4, 11);
  put(8, 12);
  EXPECT_EQ(adjust("bird", 8, 8, kDown), row10);
  clear(8, 12);
  // The across twin: crossing column 10 in row 5, columns 10 and 11.
  const int column10 = laneTerm(laneValue(code('n'), 10, 5));
  EXPECT_EQ(adjust("tone", 8, 5, kAcross), column10);
  put(11, 4);
  EXPECT_EQ(adjust("tone", 8, 5, kAcross), 0);
  clear(11, 4);

  // A long word crossing both rows takes row 4 while that lane is open.
  const LaneOpening both = laneOpening(game_, shape("ostrich", 8, 4, kDown));
  EXPECT_TRUE(both.found);
  EXPECT_EQ(both.row, 4);
  EXPECT_EQ(both.letter, code('o'));
  EXPECT_EQ(adjust("ostrich", 8, 4, kDown), laneTerm(laneValue(code('o'), 8, 4)));
}

TEST_F(Adjustments, NoLanesWithoutStatistics) {
  setUpGame(plainList());
  EXPECT_TRUE(plainList()->squareLetterStats().empty());
  EXPECT_EQ(adjust("bat", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("stone", 6, 2, kDown), 0);
  // The lane is still found; it is worth nothing.
  EXPECT_TRUE(laneOpening(game_, shape("stone", 6, 2, kDown)).found);
}

// ---------------------------------------------------------------------------
// The opening reply.

TEST_F(Adjustments, OpeningReply) {
  setUpGame(plainList());
  game_.moveNumber = 1;
  game_.openingReplyHint = true;
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 40), 300);
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 95), 300);
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 39), 0);
  game_.openingReplyHint = false;
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 40), 0);
  game_.openingReplyHint = true;
  game_.moveNumber = 2;
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 40), 0);
  game_.moveNumber = 0;
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 40), 0);
}

TEST_F(Adjustments, OpeningReplyHintIsSetByTheGenerator) {
  setUpGame(plainList(), "ABOLISH");
  auto generate = [&](const std::string& leave, int moveNumber, bool guess, const char* last = label::pass) {
    game_.lastMove = Move{};
    game_.lastMove.word = last;
    game_.lastMove.setLeave(leave);
    game_.moveNumber = moveNumber;
    game_.guessTiles = guess;
    GenerateMoves(game_, false);
    return game_.openingReplyHint;
  };
  EXPECT_TRUE(generate("ABCDEFG", 1, true));
  EXPECT_TRUE(generate("ABCD", 1, true));
  EXPECT_FALSE(generate("ABC", 1, true));
  EXPECT_FALSE(generate("ABCDEFG", 1, false));
  EXPECT_FALSE(generate("ABCDEFG", 0, true));
  EXPECT_TRUE(generate("ABCD", 3, true, label::exchange));
  EXPECT_FALSE(generate("ABCDEFG", 1, true, "cat"));
  // With the hint on move 1, placements of 40 or more carry 300 more in
  // bonus than without it, the others the same.
  using Key = std::tuple<std::string, int, int, int, std::array<int, kBlankSlots>>;
  auto bonuses = [&](bool guess) {
    generate("ABCDEFG", 1, guess);
    std::map<Key, std::pair<int, int>> out;  // bonus, score
    for (const Move& m : game_.moves) {
      if (!isNonPlacement(m)) out[{std::string(m.wordView()), m.column, m.row, m.direction, m.blankPositions}] = {m.bonus, m.score};
    }
    return out;
  };
  const auto with = bonuses(true), without = bonuses(false);
  ASSERT_EQ(with.size(), without.size());
  int big = 0, small = 0;
  for (const auto& [key, value] : with) {
    const auto other = without.find(key);
    ASSERT_NE(other, without.end());
    const bool bonus = value.second >= 40;
    big += bonus;
    small += !bonus;
    EXPECT_EQ(value.first - other->second.first, bonus ? 300 : 0) << std::get<0>(key) << " " << value.second;
  }
  EXPECT_GT(big, 0);
  EXPECT_GT(small, 0);
}

// ---------------------------------------------------------------------------
// Closing the board.

class AdjustmentsClosing : public Adjustments {
 protected:
  void SetUp() override {
    Adjustments::SetUp();
    setUpGame(plainList());
    setExperimentalPlayFlag(kXpfCloseBoard);
    game_.scores[0] = 150;
    game_.scores[1] = 100;
  }
  // Tiles in the column left (side -1) or right (+1) of a down word in
  // column 7 from row 5, at the given rows.
  void side(int dx, std::initializer_list<int> rows) {
    for (int r : rows) put(7 + dx, r);
  }
};

TEST_F(AdjustmentsClosing, TwoSideTilesAtBothEndsOfAFourLetterWord) {
  side(-1, {5, 8});
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 10);
  // The lead must be at least the bingo bonus.
  game_.scores[0] = 149;
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
  game_.scores[0] = 150;
  // Only with the experimental setting.
  setExperimentalPlayFlag(kXpfNone);
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
  setExperimentalPlayFlag(kXpfNoDangerHooks);
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
}

TEST_F(AdjustmentsClosing, TheLeadIsOverTheBestOpponent) {
  side(-1, {5, 8});
  game_.playerCount = 3;
  game_.racks[2] = countsOf("AEIOURS");
  game_.scores[1] = 100;
  game_.scores[2] = 140;
  game_.scores[0] = 189;
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
  game_.scores[0] = 190;
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 10);
  game_.scores[1] = 141;
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
}

TEST_F(AdjustmentsClosing, TheSideCountRules) {
  struct Case {
    std::vector<int> left, right;
    const char* word;
    int expected;
  };
  const std::vector<Case> cases = {
      {{5, 8}, {}, "tree", 10},
      {{6, 7}, {}, "tree", 10},       // one beside each end pair
      {{5, 6}, {}, "tree", 0},        // last two empty
      {{7, 8}, {}, "tree", 0},        // first two empty
      {{5}, {}, "tree", 0},           // m < 2
      {{5, 9}, {}, "trees", 0},       // m = 2 < 5 - 2
      {{5, 7, 9}, {}, "trees", 10},
      {{6, 7, 8}, {}, "trees", 10},   // rows 6 and 8 lie within the end pairs
      {{5, 6, 7}, {}, "trees", 0},    // last two empty
      {{}, {5, 8}, "tree", 10},       // the right side alone
      // Equal counts take the right side.
      {{5, 8}, {5, 6}, "tree", 0},
      {{5, 6}, {5, 8}, "tree", 10},
      // The left side with strictly more.
      {{5, 6, 8}, {5, 6}, "tree", 10},
      {{5, 6}, {5, 6, 8}, "tree", 10},
      {{5, 6, 7}, {5, 8}, "tree", 10},
      // Two-letter words: m >= 2 with both rows.
      {{5, 6}, {}, "to", 10},
      {{5}, {}, "to", 0},
  };
  for (const Case& c : cases) {
    std::string trace = std::string(c.word) + " left";
    for (int r : c.left) trace.append(1, ' ').append(std::to_string(r));
    trace += " right";
    for (int r : c.right) trace.append(1, ' ').append(std::to_string(r));
    SCOPED_TRACE(trace);
    for (int r : c.left) put(6, r);
    for (int r : c.right) put(8, r);
    EXPECT_EQ(adjust(c.word, 7, 5, kDown), c.expected);
    for (int r : c.left) clear(6, r);
    for (int r : c.right) clear(8, r);
  }
}

TEST_F(AdjustmentsClosing, AcrossWordsUseTheRowsAboveAndBelow) {
  for (int c : {5, 8}) put(c, 6);
  EXPECT_EQ(adjust("tree", 5, 7, kAcross), 10);
  // The same tiles beside a down word's column do nothing for it.
  EXPECT_EQ(adjust("tree", 5, 8, kDown), 0);
  for (int c : {5, 8}) clear(c, 6);
  for (int c : {5, 8}) put(c, 8);
  EXPECT_EQ(adjust("tree", 5, 7, kAcross), 10);
}

// ---------------------------------------------------------------------------
// The board-pattern term.

class AdjustmentsPatternTerm : public Adjustments {
 protected:
  void SetUp() override {
    Adjustments::SetUp();
    folder_ = std::make_unique<test::TempFolder>();
    in_ = std::make_unique<test::InFolder>(folder_->path("."));
    BoardPatterns::reset();
  }
  void TearDown() override {
    BoardPatterns::reset();
    in_.reset();
    folder_.reset();
    Adjustments::TearDown();
  }
  void writeTable(const std::string& text) {
    folder_->write("boardsim.scr", text);
    BoardPatterns::reset();
  }
  void ready(int reference) {
    game_.boardPatternFlag = true;
    game_.hasPatternReference = true;
    game_.patternReference = reference;
  }
  std::unique_ptr<test::TempFolder> folder_;
  std::unique_ptr<test::InFolder> in_;
};

TEST_F(AdjustmentsPatternTerm, ReferenceLessTheValueWithTheMoveLaid) {
  writeTable(patternTable().text);
  setUpGame(plainList());
  // Some tiles of earlier moves.
  put(7, 7, 't');
  put(8, 7, 'e');
  put(9, 7, 'a');
  put(8, 8, 'r');
  ready(777);
  const int withMove = patternValueOf(patternTable(), game_.board, {{10, 6}, {10, 7}, {10, 8}});
  const int without = patternValueOf(patternTable(), game_.board);
  ASSERT_NE(withMove, without);
  // "bad" down in column 10 from row 6: its tiles join the board's.
  EXPECT_EQ(adjust("bad", 10, 6, kDown), 777 - withMove);
  // A word through a board tile places only its other letters.
  EXPECT_EQ(adjust("ae", 8, 6, kDown), 777 - patternValueOf(patternTable(), game_.board, {{8, 6}}));
  // Tiles on the border squares change their neighbours' patterns.
  EXPECT_EQ(adjust("ate", 0, 0, kAcross), 777 - patternValueOf(patternTable(), game_.board, {{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(adjust("ate", 14, 12, kDown), 777 - patternValueOf(patternTable(), game_.board, {{14, 12}, {14, 13}, {14, 14}}));
}

TEST_F(AdjustmentsPatternTerm, OnlyWithFlagReferenceAndStrategyZero) {
  writeTable(patternTable().text);
  setUpGame(plainList());
  put(7, 7, 't');
  const int term = 500 - patternValueOf(patternTable(), game_.board, {{7, 8}, {7, 9}});
  ASSERT_NE(term, 0);
  ready(500);
  EXPECT_EQ(adjust("ta", 7, 8, kDown), term);
  game_.hasPatternReference = false;
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 0);
  ready(500);
  game_.boardPatternFlag = false;
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 0);
  ready(500);
  game_.strategies[0] = 1;
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 0);
  // The opponent's strategy does not matter.
  game_.strategies[0] = 0;
  game_.strategies[1] = 3;
  EXPECT_EQ(adjust("ta", 7, 8, kDown), term);
}

TEST_F(AdjustmentsPatternTerm, WithoutAFittingTable) {
  setUpGame(plainList());
  ready(500);
  // No file.
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 0);
  // A table of another board size.
  writeTable("21 21\n0 0 10 100\n");
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 0);
  // A fitting table whose selected patterns were never seen: the value is
  // 0, the term the reference.
  writeTable("15 15\n0 1 10 100\n");
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 500);
  // Unreadable header.
  writeTable("fifteen 15\n");
  EXPECT_EQ(adjust("ta", 7, 8, kDown), 0);
}

TEST_F(AdjustmentsPatternTerm, TheFlagFollowsTheGame) {
  writeTable(patternTable().text);
  struct Case {
    int kind;
    bool flag;
  };
  for (const Case c : {Case{kKindStandard, true}, Case{kKindAnagram, false}, Case{kKindFrench, false},
                       Case{kKindSuper, false}, Case{kKindHundredfold, false}, Case{kKindNoBonus, false}}) {
    SCOPED_TRACE(c.kind);
    ASSERT_TRUE(activateGameType(c.kind));
    setUpGame(plainList());
    game_.lexicon.reset();  // the flags alone, no placements
    GenerateMoves(game_, true);
    EXPECT_EQ(game_.boardPatternFlag, c.flag);
  }
}

// ---------------------------------------------------------------------------
// Terms of the standard board and the standard tiles elsewhere.

TEST_F(Adjustments, StandardBoardTermsAreSilentOnTheLargeBoard) {
  ASSERT_TRUE(activateGameType(kKindSuper));
  setUpGame(laneList(), "AEILNRT", kExposureOpponent, kExposureBag);
  // The shield, edge-lane exposure, hooks on the second line, lanes.
  EXPECT_EQ(adjust("aja", 1, 5, kDown), 0);
  EXPECT_EQ(adjust("ava", 5, 13, kAcross), 0);
  EXPECT_EQ(adjust("jot", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("oat", 3, 1, kDown), 0);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), 0);
  EXPECT_EQ(adjust("stone", 6, 2, kDown), 0);
  EXPECT_FALSE(laneOpening(game_, shape("stone", 6, 2, kDown)).found);
  // Premium exposure wants the standard tiles: an a under every kind of
  // premium square of this board.
  int premiums = 0;
  for (int row = 1; row < game_.board.height; ++row) {
    for (int column = 0; column < game_.board.width; ++column) {
      const SquareType above = squareAt(game_.board, column, row - 1)->type;
      if (above == square::plain) continue;
      ++premiums;
      EXPECT_EQ(adjust("a", column, row, kAcross), 0) << column << "," << row;
    }
  }
  EXPECT_GT(premiums, 40);
  // Board closing.
  setExperimentalPlayFlag(kXpfCloseBoard);
  game_.scores[0] = 200;
  put(6, 5);
  put(6, 8);
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
  clear(6, 5);
  clear(6, 8);
  setExperimentalPlayFlag(kXpfNone);
  // Emptying the bag and the opening reply hold on any board.
  game_.bag = countsOf("EEE");
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, ""), -20);
  game_.bag = countsOf(kQuietBag);
  game_.moveNumber = 1;
  game_.openingReplyHint = true;
  EXPECT_EQ(adjust("tea", 6, 7, kAcross, "EE", 50), 300);
}

TEST_F(Adjustments, StandardTileTermsAreSilentWithOtherTiles) {
  // The French kind keeps the standard board and changes the tiles.
  ASSERT_TRUE(activateGameType(kKindFrench));
  setUpGame(laneList(), "AEILNRT", kExposureOpponent, kExposureBag);
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), 0);
  EXPECT_EQ(adjust("ta", 6, 4, kDown), 0);
  setExperimentalPlayFlag(kXpfCloseBoard);
  game_.scores[0] = 200;
  put(6, 5);
  put(6, 8);
  EXPECT_EQ(adjust("tree", 7, 5, kDown), 0);
  clear(6, 5);
  clear(6, 8);
  setExperimentalPlayFlag(kXpfNone);
  // The terms of the board stay: the shield, and the lanes.
  setUpGame(laneList());
  EXPECT_EQ(adjust("aja", 1, 5, kDown), 10);
  EXPECT_EQ(adjust("bat", 3, 0, kDown), laneTerm(laneValue(code('b'), 3, 0)));

  // The standard values with another count of tiles are no standard tiles.
  ASSERT_TRUE(activateGameType(kKindHundredfold));
  setUpGame(plainList(), "AEILNRT", kExposureOpponent, kExposureBag);
  EXPECT_EQ(adjust("attta", 3, 1, kAcross), 0);
}

// The shipped game types come back when the test ends.
struct ShippedDefinitions {
  ~ShippedDefinitions() { readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions"); }
};

TEST_F(Adjustments, PremiumExposureOnAnotherBoardWeighsEveryLetter) {
  // A 15 x 15 board of plain squares but for quadruple-word squares at
  // (4,6) and (10,6), with the standard tiles.
  ShippedDefinitions restore;
  std::string text =
      "Game \"Quads\"\nboardsize 15 15\nstartsquare 7 7\nbonus none . 000000\nbonus 4ws Q FF0000\nboard\n";
  for (int row = 0; row < 15; ++row) {
    std::string line(15, '.');
    if (row == 6) line[4] = line[10] = 'Q';
    text += line + "\n";
  }
  text += "racksize 7\nbingobonus 50\nmintilesexchange 7\n";
  const char* counts = "9 2 2 4 12 2 3 2 9 1 1 4 2 6 8 2 1 6 4 6 4 2 2 1 2 1";
  std::istringstream values(counts);
  for (char c = 'a'; c <= 'z'; ++c) {
    int n = 0;
    values >> n;
    text += std::string("tile ") + c + " " + std::to_string(n) + " " + std::to_string(valueOf(c)) + " -1\n";
  }
  text += "tile ? 2 0 -1\nGameEnd\n";
  ASSERT_TRUE(test::readDefinitionsText(text).empty());
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Quads")));
  ASSERT_TRUE(hasStandardTileSet());
  ASSERT_FALSE(hasStandardBoard());

  const std::string bag = "HHYWJBMAAEEEIIOORRSSTTNNLDDGU", opponent = "AEIORST";
  setUpGame(plainList(), "AEILNRT", opponent, bag);
  const std::string pool = opponent + bag;
  const int total = static_cast<int>(pool.size());
  auto p = [&](char c) { return chanceAny(countOf(pool, c), total, 7); };
  // An o at (5,6) has the quadruple square on its left: "ho", "yo", "wo",
  // "jo", "bo" and "mo" could be played there. Letters worth 4 gain
  // 4 x 2 x 4 - 26 = 6; j gains 38; b and m (worth 3) lose.
  ASSERT_TRUE(inList("ho") && inList("yo") && inList("wo") && inList("jo") && inList("bo") && inList("mo"));
  const int expected = tenths(6, p('H')) + tenths(6, p('Y')) + tenths(6, p('W')) + tenths(38, p('J'));
  EXPECT_EQ(adjust("to", 5, 5, kDown), -expected);
  // The terms of the standard board stay silent here.
  EXPECT_EQ(adjust("aja", 1, 5, kDown), 0);
  EXPECT_EQ(adjust("jot", 3, 0, kDown), 0);
}

// ---------------------------------------------------------------------------
// The evaluation that lays the tiles.

TEST_F(Adjustments, BlankChoiceTakesTheBestScoreFirstInWordOrder) {
  setUpGame(plainList(), "GEES?AB");
  game_.generating = false;
  // "geese" across row 7 from the centre: the last e lies on the
  // double-letter square (11,7). The rack has two E and a blank for three
  // e: a blank on the first or second e scores (2+0+1+1+2) x 2 = 12, on
  // the last (2+1+1+1+0) x 2 = 10; the first e wins the tie.
  Move move;
  move.word = "geese";
  move.column = 7;
  move.row = 7;
  move.direction = kAcross;
  const Evaluation e = EvaluatePlacement(game_, move, false);
  EXPECT_EQ(e.tilesUsed, 5);
  EXPECT_EQ(move.blankPositions[0], 1);
  EXPECT_EQ(move.blankPositions[1], -1);
  EXPECT_EQ(playScore(game_.board, kAcross, 7, 7, 5), 12);
  EXPECT_TRUE(squareAt(game_.board, 8, 7)->isBlank);
  EXPECT_FALSE(squareAt(game_.board, 11, 7)->isBlank);
  EXPECT_EQ(move.leaveView(), "AB");
  liftTentative(game_.board, "geese", 7, 7, kAcross);

  // Two blanks and one E: the two cheapest squares, (1, 2) first.
  setUpGame(plainList(), "GES??AB");
  game_.generating = false;
  Move two;
  two.word = "geese";
  two.column = 7;
  two.row = 7;
  two.direction = kAcross;
  EvaluatePlacement(game_, two, false);
  EXPECT_EQ(two.blankPositions[0], 1);
  EXPECT_EQ(two.blankPositions[1], 2);
  EXPECT_EQ(two.blankPositions[2], -1);
  EXPECT_EQ(playScore(game_.board, kAcross, 7, 7, 5), 10);
  EXPECT_EQ(two.leaveView(), "AB");
  liftTentative(game_.board, "geese", 7, 7, kAcross);

  // Down from the double-letter square (7,3): a blank on the first e
  // scores 0+1+1+1 = 3, on the second or the last 2+0+1+1 = 4; the second
  // wins the tie.
  setUpGame(plainList(), "EES?ABC");
  game_.generating = false;
  Move down;
  down.word = "eese";
  down.column = 7;
  down.row = 3;
  down.direction = kDown;
  EvaluatePlacement(game_, down, false);
  EXPECT_EQ(down.blankPositions[0], 1);
  EXPECT_EQ(playScore(game_.board, kDown, 7, 3, 4), 4);
  liftTentative(game_.board, "eese", 7, 3, kDown);
}

TEST_F(Adjustments, TypedMovesAreValuedLikeGeneratedOnes) {
  // A typed move is valued against the board before it, as the generator
  // values it: the lane it opens counts.
  setUpGame(laneList(), "BATEILN");
  game_.generating = true;
  prepareBoard(game_);
  refreshEvaluationContext(game_);
  Move generated;
  generated.word = "bat";
  generated.column = 3;
  generated.row = 0;
  generated.direction = kDown;
  const Evaluation fast = EvaluatePlacement(game_, generated, false);
  liftTentative(game_.board, "bat", 3, 0, kDown);
  EXPECT_EQ(fast.adjustment, laneTerm(laneValue(code('b'), 3, 0)));

  game_.generating = false;
  Move typed = generated;
  typed.bonus = 0;
  const Evaluation slow = EvaluatePlacement(game_, typed, false);
  liftTentative(game_.board, "bat", 3, 0, kDown);
  EXPECT_EQ(slow.adjustment, fast.adjustment);
  EXPECT_EQ(typed.bonus, generated.bonus);
}

// ---------------------------------------------------------------------------
// The generator's values against the evaluation that lays the tiles, on
// positions of seeded games.

// Square-letter records for every square but two and every letter, from a
// seeded generator.
std::vector<StatRecord> broadRecords(std::uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<StatRecord> records;
  for (int row = 0; row < 15; ++row) {
    for (int column = 0; column < 15; ++column) {
      if ((column == 5 && row == 0) || (column == 9 && row == 14)) continue;
      for (int letter = 0; letter < 27; ++letter) {
        records.push_back({letter, column, row, static_cast<long long>(random() % 60),
                           static_cast<long long>(random() % 6000)});
      }
    }
  }
  return records;
}

// The normalised values of records of distinct squares and letters, by
// square; squares without a record have no table.
struct StatTable {
  std::map<std::pair<int, int>, std::array<long long, 32>> squares;
  explicit StatTable(const std::vector<StatRecord>& records) {
    long long n = 0, s = 0;
    for (const StatRecord& r : records) {
      n += r.count;
      s += r.total;
    }
    const long long mean10 = 10 * s / n;
    for (const StatRecord& r : records) {
      auto& square = squares[{r.column, r.row}];
      square[static_cast<std::size_t>(r.letter)] = r.count >= 10 ? 10 * r.total / r.count - mean10 : 0;
    }
  }
  long long value(int column, int row, int letter) const {
    const auto it = squares.find({column, row});
    return it == squares.end() ? 0 : it->second[static_cast<std::size_t>(letter)];
  }
};

// Leave values for every leave of one or two tiles.
std::string leaveValues(std::uint32_t seed) {
  std::mt19937 random(seed);
  const std::string tiles = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
  std::string text;
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    text += std::string(1, tiles[i]) + " " + std::to_string(static_cast<int>(random() % 201) - 100) + "\n";
    for (std::size_t j = i; j < tiles.size(); ++j) {
      text += std::string(1, tiles[i]) + tiles[j] + " " + std::to_string(static_cast<int>(random() % 201) - 100) + "\n";
    }
  }
  return text;
}

// What the adjustments of a generated placement on the standard board come
// to, worked out from the position before it.
struct Reference {
  const Game& game;
  const Move& move;
  const StatTable& stats;
  const PatternTable& patterns;
  int experimental;
  const std::string& unseen;  // the mover's unseen tiles, upper case
  // Terms whose exact value is a rounding tie (they must still round up).
  mutable int ties = 0;

  bool down() const { return move.direction == kDown; }
  int length() const { return static_cast<int>(move.wordView().size()); }
  int columnAt(int i) const { return down() ? move.column : move.column + i; }
  int rowAt(int i) const { return down() ? move.row + i : move.row; }
  char letterAt(int i) const { return move.word[i]; }
  bool emptyAt(int c, int r) const {
    const Square* s = squareAt(game.board, c, r);
    return s != nullptr && s->letter == ' ';
  }
  bool placedAt(int i) const { return emptyAt(columnAt(i), rowAt(i)); }
  bool blankAt(int i) const {
    return std::find(move.blankPositions.begin(), move.blankPositions.end(), i) != move.blankPositions.end();
  }
  // Board square (c, r) seen along the word: (position, line) for a down
  // word is (row, column).
  bool emptyAlong(int position, int line) const { return down() ? emptyAt(line, position) : emptyAt(position, line); }
  bool coveredAlong(int position, int line) const {
    const int line0 = down() ? move.column : move.row, start = down() ? move.row : move.column;
    return line == line0 && position >= start && position < start + length() && placedAt(position - start);
  }
  // Squares across the word: (across position, edge line) of the edge
  // rows for a down word.
  bool emptyAcross(int position, int line) const { return down() ? emptyAt(position, line) : emptyAt(line, position); }
  bool coveredAcross(int position, int line) const {
    const int line0 = down() ? move.column : move.row, start = down() ? move.row : move.column;
    return position == line0 && line >= start && line < start + length() && placedAt(line - start);
  }

  std::string leave() const {
    LetterCounts rack = game.racks[static_cast<std::size_t>(game.toMove)];
    for (int i = 0; i < length(); ++i) {
      if (!placedAt(i)) continue;
      const int c = blankAt(i) ? 26 : letterAt(i) - 'a';
      --rack[c];
      --rack[kTotalSlot];
    }
    return countsToText(rack, 200).value_or("");
  }
  int tilesPlaced() const {
    int n = 0;
    for (int i = 0; i < length(); ++i) n += placedAt(i);
    return n;
  }

  int shield() const {
    static const std::set<char> second = secondLetters(), first = firstLetters();
    bool noPrefix = false, noSuffix = false;
    for (int i = 0; i < length(); ++i) {
      if (!placedAt(i)) continue;
      noPrefix = noPrefix || !second.count(letterAt(i));
      noSuffix = noSuffix || !first.count(letterAt(i));
    }
    const int line = down() ? move.column : move.row;
    return (noPrefix && line == 1) || (noSuffix && line == 13) ? 10 : 0;
  }

  int edgeExposure() const {
    const int line = down() ? move.column : move.row, start = down() ? move.row : move.column;
    const int end = start + length() - 1;
    if (line == 0 || line == 7 || line == 14) return 0;
    const int nearest = line <= 3 ? 0 : line <= 10 ? 7 : 14;
    auto clear = [&](int edge, int next) {
      for (int p = std::min(line, nearest); p <= std::max(line, nearest); ++p) {
        for (int l : {edge, next}) {
          if (!emptyAcross(p, l) && !coveredAcross(p, l)) return false;
        }
      }
      return true;
    };
    auto high = [&](int i) { return placedAt(i) && !blankAt(i) && valueOf(letterAt(i)) >= 6; };
    int out = 0;
    if (start == 0 && high(0) && clear(0, 1)) out -= 5;
    if (end == 14 && high(length() - 1) && clear(14, 13)) out -= 5;
    return out;
  }

  int premiumExposure() const {
    if (experimental == kXpfNoDangerHooks) return 0;
    const int total = static_cast<int>(unseen.size());
    std::array<int, 26> best{};
    for (int i = 0; i < length(); ++i) {
      if (!placedAt(i)) continue;
      for (int side : {-1, 1}) {
        const int c = columnAt(i) + (down() ? side : 0), r = rowAt(i) + (down() ? 0 : side);
        if (!emptyAt(c, r)) continue;
        const SquareType t = squareAt(game.board, c, r)->type;
        const int m = t == 2 || t == 3 || t == 4 ? t : t == 20 || t == 30 || t == 40 ? t / 10 : 0;
        if (m == 0) continue;
        for (char l = 'a'; l <= 'z'; ++l) {
          const int n = countOf(unseen, static_cast<char>(l - 'a' + 'A'));
          if (n == 0 || valueOf(l) < 5) continue;
          const std::string two = side < 0 ? std::string{l, letterAt(i)} : std::string{letterAt(i), l};
          if (!inList(two)) continue;
          const int factor = m * 2 * valueOf(l) - 26;
          if (factor <= 0) continue;
          bool tie = false;
          const int gain = tenths(factor, chanceAny(n, total, 7), &tie);
          ties += tie;
          best[static_cast<std::size_t>(l - 'a')] = std::max(best[static_cast<std::size_t>(l - 'a')], gain);
        }
      }
    }
    int sum = 0;
    for (int g : best) sum += g;
    return -sum;
  }

  int bagEmptying() const {
    int missing = 0;
    for (int p = 0; p < game.playerCount; ++p) {
      if (p != game.toMove) missing += 7 - game.racks[static_cast<std::size_t>(p)].total();
    }
    const int bag = game.bag.total(), r = bag - missing;
    return r >= 1 && r < 7 && static_cast<int>(leave().size()) < 7 + missing - bag ? -20 : 0;
  }

  int hookDanger() const {
    const int line = down() ? move.column : move.row, start = down() ? move.row : move.column;
    const int end = start + length() - 1;
    if (start != 1 && end != 13) return 0;
    const int edge = start == 1 ? 0 : 14, second = start == 1 ? 1 : 13;
    auto open = [&](int p) { return emptyAcross(p, edge); };
    const bool reach = line <= 2 ? open(0) : line <= 6 ? open(0) || open(7) : line <= 11 ? open(7) || open(14) : open(14);
    // Off the board counts as not empty.
    if (!reach || !emptyAcross(line - 1, second) || !emptyAcross(line + 1, second)) return 0;
    static std::map<std::string, std::string> known;
    const std::string word(move.wordView());
    if (!known.count(word)) known[word] = hooksOf(word);
    const std::string& hooks = known[word];
    const std::string kept = leave();
    int wanted = countOf(unseen, '?');
    bool held = countOf(kept, '?') > 0;
    for (char h : hooks) {
      wanted += countOf(unseen, static_cast<char>(h - 'a' + 'A'));
      held = held || countOf(kept, static_cast<char>(h - 'a' + 'A')) > 0;
    }
    const int total = static_cast<int>(unseen.size());
    const Chance p = chanceAny(wanted, total, 7);
    const Chance q = held ? kCertain : chanceAny(wanted, total, 7 - static_cast<int>(kept.size()));
    bool tie = false;
    const int value = hookValue(q, p, &tie);
    ties += tie;
    return value;
  }

  int lane() const {
    const int line = down() ? move.column : move.row, start = down() ? move.row : move.column;
    const int end = start + length() - 1;
    // The lane flags: stretches of two lines empty before the move.
    auto stretchEmpty = [&](int l1, int l2, int from, int to) {
      for (int p = from; p <= to; ++p) {
        if (!emptyAcross(p, l1) || !emptyAcross(p, l2)) return false;
      }
      return true;
    };
    auto take = [&](int position) {
      const int c = down() ? line : position, r = down() ? position : line;
      return laneTerm(stats.value(c, r, letterAt(position - start) - 'a'));
    };
    if ((start == 0 || end == 14) && line != 0 && line != 7 && line != 14) {
      const int edge = start == 0 ? 0 : 14, next = start == 0 ? 1 : 13;
      const bool open = line <= 6 ? stretchEmpty(edge, next, 0, 7) : stretchEmpty(edge, next, 7, 14);
      return open ? take(edge) : 0;
    }
    if (length() >= 4 && line >= 5 && line <= 9) {
      if (start <= 4 && end >= 4 && stretchEmpty(4, 3, 4, 10)) return take(4);
      if (start <= 10 && end >= 10 && stretchEmpty(10, 11, 4, 10)) return take(10);
    }
    return 0;
  }

  int openingReply() const {
    const bool hint = game.moveNumber >= 1 && game.guessTiles && isNonPlacement(game.lastMove) &&
                      game.lastMove.leaveView().size() >= 4;
    return game.moveNumber == 1 && hint && move.score >= 40 ? 300 : 0;
  }

  int closing() const {
    if (experimental != kXpfCloseBoard) return 0;
    int best = INT_MIN;
    for (int p = 0; p < game.playerCount; ++p) {
      if (p != game.toMove) best = std::max(best, game.scores[static_cast<std::size_t>(p)]);
    }
    if (game.scores[static_cast<std::size_t>(game.toMove)] - best < 50) return 0;
    const int line = down() ? move.column : move.row, start = down() ? move.row : move.column;
    const int n = length();
    auto taken = [&](int side, int p) { return !emptyAlong(p, side) && squareAt(game.board, down() ? side : p, down() ? p : side); };
    int left = 0, right = 0;
    for (int p = start; p < start + n; ++p) {
      left += taken(line - 1, p);
      right += taken(line + 1, p);
    }
    const int side = left > right ? line - 1 : line + 1, m = std::max(left, right);
    if (m < 2 || m < n - 2) return 0;
    if (!taken(side, start) && !taken(side, start + 1)) return 0;
    if (!taken(side, start + n - 1) && !taken(side, start + n - 2)) return 0;
    return 10;
  }

  int pattern() const {
    std::set<SquareRef> laid;
    for (int i = 0; i < length(); ++i) {
      if (placedAt(i)) laid.insert({columnAt(i), rowAt(i)});
    }
    return game.patternReference - patternValueOf(patterns, game.board, laid);
  }

  int goingOut() const {
    if (game.bag.total() != 0 || tilesPlaced() != game.racks[static_cast<std::size_t>(game.toMove)].total()) return 0;
    int tiles = 0, best = INT_MIN;
    for (int p = 0; p < game.playerCount; ++p) {
      if (p == game.toMove) continue;
      tiles += rackValue(game.racks[static_cast<std::size_t>(p)]);
      best = std::max(best, game.scores[static_cast<std::size_t>(p)]);
    }
    return move.score + 2 * tiles + game.scores[static_cast<std::size_t>(game.toMove)] - best >= 1 ? 100 : 0;
  }
};

// Typing a generated placement that uses blanks: the evaluation puts them
// where the score is highest, on the first such squares in word order.
void checkBlankChoice(Game& game, const Move& m) {
  const std::string word(m.wordView());
  const int length = static_cast<int>(word.size());
  auto squareOf = [&](int i) {
    return squareAt(game.board, m.direction == kAcross ? m.column + i : m.column, m.direction == kAcross ? m.row : m.row + i);
  };
  // Real tiles first: the blanks stand for the last letters the rack lacks.
  LetterCounts rack = game.racks[static_cast<std::size_t>(game.toMove)];
  std::vector<int> placed, blanks;
  for (int i = 0; i < length; ++i) {
    if (squareOf(i)->empty()) placed.push_back(i);
  }
  for (int i : placed) {
    int c = word[static_cast<std::size_t>(i)] - 'a';
    if (rack[c] <= 0) {
      blanks.push_back(i);
      c = 26;
    }
    --rack[c];
    --rack[kTotalSlot];
  }
  ASSERT_LE(blanks.size(), 2u);
  auto candidates = [&](int index) {
    std::vector<int> out;
    for (int i : placed) {
      if (word[static_cast<std::size_t>(i)] == word[static_cast<std::size_t>(index)]) out.push_back(i);
    }
    return out;
  };
  auto scoreWith = [&](int a, int b) {
    const std::array<int, 2> at{a, b};
    layTentative(game.board, word, m.column, m.row, m.direction, at);
    const int score = playScore(game.board, m.direction, m.column, m.row, length);
    liftTentative(game.board, word, m.column, m.row, m.direction);
    return score;
  };
  int best = INT_MIN;
  std::pair<int, int> choice{-1, -1};
  if (blanks.empty()) best = scoreWith(-1, -1);
  for (int a : blanks.empty() ? std::vector<int>{} : candidates(blanks[0])) {
    if (blanks.size() == 1) {
      const int score = scoreWith(a, -1);
      if (score > best) {
        best = score;
        choice = {a, -1};
      }
      continue;
    }
    for (int b : candidates(blanks[1])) {
      if (a == b) continue;
      const int score = scoreWith(a, b);
      if (score > best) {
        best = score;
        choice = {std::min(a, b), std::max(a, b)};
      }
    }
  }
  Move typed = m;
  typed.blankPositions.fill(-1);
  typed.bonus = 0;
  typed.leave.fill('\0');
  game.generating = false;
  EvaluatePlacement(game, typed, false);
  const int score = playScore(game.board, m.direction, m.column, m.row, length);
  liftTentative(game.board, word, m.column, m.row, m.direction);
  const std::string where = word + " " + std::to_string(m.column) + "," + std::to_string(m.row);
  EXPECT_EQ(score, best) << where;
  EXPECT_EQ(typed.blankPositions[0], choice.first) << where;
  EXPECT_EQ(typed.blankPositions[1], choice.second) << where;
  EXPECT_EQ(typed.blankPositions[2], -1) << where;
  EXPECT_EQ(typed.leaveView(), countsToText(rack, 200).value_or("")) << where;
}

class AdjustmentsConsistency : public Adjustments {};

TEST_F(AdjustmentsConsistency, GeneratedValuesMatchTheEvaluationThatLaysTheTiles) {
  test::TempFolder folder;
  folder.write("boardsim.scr", patternTable().text);
  test::InFolder in(folder.path("."));
  BoardPatterns::reset();
  static const std::vector<StatRecord> records = broadRecords(99);
  static const StatTable stats(records);
  static std::shared_ptr<Lexicon> lexicon = loadList(statText(records));
  setRackDistribution(kAlphabetEnglish);
  ASSERT_GT(loadLeaveText(leaveValues(5)), 300u);

  struct Plan {
    std::uint32_t seed;
    int players;
    int experimental;
    bool openWithPass;
    bool lead;
  };
  const Plan plans[] = {{101, 2, kXpfNone, true, false},      {202, 2, kXpfCloseBoard, false, true},
                        {303, 2, kXpfNone, false, false},     {404, 3, kXpfCloseBoard, false, true},
                        {505, 2, kXpfNoDangerHooks, false, false}, {606, 2, kXpfCloseBoard, false, true}};
  long long checked = 0;
  std::set<int> bonuses;
  std::map<std::string, int> fired;  // placements where each term is not 0
  int nearEnd = 0, tied = 0, blankMoves = 0;
  for (const Plan& plan : plans) {
    SCOPED_TRACE("seed " + std::to_string(plan.seed));
    setExperimentalPlayFlag(plan.experimental);
    setProgramSeed(plan.seed);
    Game game;
    startGame(game, plan.players, lexicon);
    game.strategies.fill(0);
    if (plan.openWithPass) {
      game.lastMove = Move{};
      game.lastMove.setLeave(rackString(game.racks[0]));
      game.moveNumber = 1;
      game.toMove = 1;
      // A rack that scores 40 and more.
      returnAll(game.bag, game.racks[1]);
      ASSERT_EQ(addLetters(game.racks[1], "ABOLISH", &game.bag), 7);
    }
    for (int turn = 0; turn < 40; ++turn) {
      if (plan.lead) {
        const int other = (game.toMove + 1) % game.playerCount;
        game.scores[static_cast<std::size_t>(game.toMove)] = game.scores[static_cast<std::size_t>(other)] + 49 + turn % 3;
      }
      game.hasPatternReference = true;
      game.patternReference = patternValueOf(patternTable(), game.board) + turn;
      GenerateMoves(game, false);
      ASSERT_TRUE(game.evaluation.patternTerm);
      nearEnd += game.bag.total() > 0 && game.bag.total() < 7;
      std::string unseen = countsToText(game.bag, 200).value_or("");
      for (int p = 0; p < game.playerCount; ++p) {
        if (p != game.toMove) unseen += countsToText(game.racks[static_cast<std::size_t>(p)], 200).value_or("");
      }
      const Move* best = nullptr;
      const std::vector<Move> list = game.moves;
      for (const Move& m : list) {
        if (isNonPlacement(m)) continue;
        if (best == nullptr) best = &m;
        const std::string where = std::string(m.wordView()) + " " + std::to_string(m.column) + "," +
                                  std::to_string(m.row) + (m.direction == kDown ? " down" : " across");
        // The evaluation that lays the tiles, as the generator would call it.
        Move copy = m;
        copy.bonus = 0;
        copy.equity = 0;
        copy.leave.fill('\0');
        game.generating = true;
        const Evaluation e = EvaluatePlacement(game, copy, false);
        const int length = static_cast<int>(copy.wordView().size());
        const int score = playScore(game.board, copy.direction, copy.column, copy.row, length) + bingoBonusFor(e.tilesUsed);
        liftTentative(game.board, copy.wordView(), copy.column, copy.row, copy.direction);
        game.generating = false;

        // The terms worked out here.
        const Reference ref{game, m, stats, patternTable(), plan.experimental, unseen};
        const std::map<std::string, int> terms = {
            {"shield", ref.shield()},       {"edge", ref.edgeExposure()}, {"premium", ref.premiumExposure()},
            {"bag", ref.bagEmptying()},     {"hooks", ref.hookDanger()},  {"lane", ref.lane()},
            {"reply", ref.openingReply()},  {"closing", ref.closing()},   {"pattern", ref.pattern()}};
        int sum = 0;
        for (const auto& [name, value] : terms) {
          sum += value;
          fired[name] += value != 0;
        }
        const int out = ref.goingOut();
        fired["going out"] += out != 0;

        ASSERT_EQ(score, m.score) << where;
        ASSERT_EQ(copy.leaveView(), m.leaveView()) << where;
        ASSERT_EQ(ref.leave(), m.leaveView()) << where;
        ASSERT_EQ(copy.bonus + out, m.bonus) << where;
        ASSERT_EQ(e.adjustment + 10 * score + out, m.equity) << where;
        ASSERT_EQ(e.adjustment, LeaveValue(m.leaveView()) + copy.bonus) << where;
        tied += ref.ties > 0;
        // Exact ties round up too: the engine must agree to the tenth.
        if (sum + out != m.bonus) {
          std::string detail;
          for (const auto& [name, value] : terms) detail += " " + name + " " + std::to_string(value);
          ADD_FAILURE() << where << ": bonus " << m.bonus << ", expected " << sum + out << " from" << detail;
        }
        bonuses.insert(m.bonus);
        ++checked;
        if (m.blankPositions[0] >= 0) {
          checkBlankChoice(game, m);
          ++blankMoves;
        }
      }
      if (best == nullptr) break;
      commitPlacement(game, *best);
      bool emptied = false;
      for (int p = 0; p < game.playerCount; ++p) emptied = emptied || game.racks[static_cast<std::size_t>(p)].total() == 0;
      if (emptied) break;
    }
  }
  setExperimentalPlayFlag(kXpfNone);
  // The positions reach the end of the bag, and every term fires on some
  // placements.
  EXPECT_GT(checked, 10000);
  EXPECT_GT(nearEnd, 0);
  EXPECT_GT(blankMoves, 100);
  EXPECT_GT(bonuses.size(), 300u);
  // Exact rounding ties are rare.
  EXPECT_LT(tied, checked / 200);
  for (const char* name : {"shield", "edge", "premium", "bag", "hooks", "lane", "reply", "closing", "pattern", "going out"}) {
    EXPECT_GT(fired[name], 0) << name;
  }
}

// ---------------------------------------------------------------------------
// Readers: square-letter statistics.

TEST(SquareLetterStatsReader, NormalisesAHandMadeFile) {
  // N = 10 + 40 + 9 + 12 + 0 + 100 = 171, S = 250 + 300 + 900 + 50 + 0 +
  // 2000 = 3500, mean in tenths = 35000 / 171 = 204.
  const SquareLetterStats stats = SquareLetterStats::parse(
      "0 0 0 10 250\n"
      "4 7 7 40 300\n"
      "25 14 14 9 900\n"
      "1 3 0 12 50\n"
      "2 3 0 0 0\n"
      "18 14 0 100 2000\n");
  EXPECT_FALSE(stats.empty());
  EXPECT_EQ(stats.value(0, 0, 0), 250 - 204);         // a at (0,0)
  EXPECT_EQ(stats.value(7, 7, 4), 75 - 204);          // e at (7,7)
  EXPECT_EQ(stats.value(14, 14, 25), 0);              // seen 9 times
  EXPECT_EQ(stats.value(3, 0, 1), 500 / 12 - 204);    // column 3, row 0
  EXPECT_EQ(stats.value(3, 0, 2), 0);                 // seen never
  EXPECT_EQ(stats.value(14, 0, 18), 200 - 204);
  // Letters without a record on a square with a table: 0.
  EXPECT_EQ(stats.value(0, 0, 3), 0);
  EXPECT_EQ(stats.value(3, 0, 31), 0);
  // Squares without a table, and outside the board.
  EXPECT_EQ(stats.value(0, 3, 1), std::nullopt);
  EXPECT_EQ(stats.value(1, 1, 0), std::nullopt);
  EXPECT_EQ(stats.value(15, 0, 0), std::nullopt);
  EXPECT_EQ(stats.value(0, -1, 0), std::nullopt);
  EXPECT_EQ(stats.value(0, 0, 32), std::nullopt);
  EXPECT_EQ(stats.value(0, 0, -1), std::nullopt);
}

TEST(SquareLetterStatsReader, CountsOfTenAndMore) {
  // Exactly 10 counts; the mean alone decides the rest.
  const SquareLetterStats stats = SquareLetterStats::parse("0 5 5 10 100 1 5 5 30 900 2 6 6 1 5000");
  // N = 41, S = 6000, mean = 60000 / 41 = 1463.
  EXPECT_EQ(stats.value(5, 5, 0), 100 - 1463);
  EXPECT_EQ(stats.value(5, 5, 1), 300 - 1463);
  EXPECT_EQ(stats.value(6, 6, 2), 0);
}

TEST(SquareLetterStatsReader, ALaterRecordReplacesAnEarlierOne) {
  const SquareLetterStats stats = SquareLetterStats::parse("0 0 0 10 250\n0 0 0 20 100\n4 7 7 40 300\n");
  // N = 60, S = 400: mean 66.
  EXPECT_EQ(stats.value(0, 0, 0), 50 - 66);
  EXPECT_EQ(stats.value(7, 7, 4), 75 - 66);
}

TEST(SquareLetterStatsReader, RecordsOutOfRangeAndPartialRecordsAreSkipped) {
  const std::string good = "0 0 0 10 250\n4 7 7 40 300\n";
  const SquareLetterStats plain = SquareLetterStats::parse(good);
  const std::string bad[] = {
      "32 0 0 10 99999\n", "-1 0 0 10 99999\n", "0 15 0 10 99999\n", "0 0 15 10 99999\n",
      "0 -1 0 10 99999\n", "0 0 -1 10 99999\n",
  };
  for (const std::string& b : bad) {
    SCOPED_TRACE(b);
    for (const std::string& text : {b + good, good + b}) {
      const SquareLetterStats stats = SquareLetterStats::parse(text);
      EXPECT_EQ(stats.value(0, 0, 0), plain.value(0, 0, 0));
      EXPECT_EQ(stats.value(7, 7, 4), plain.value(7, 7, 4));
      EXPECT_EQ(stats.value(14, 14, 0), std::nullopt);
      EXPECT_EQ(stats.value(0, 14, 0), std::nullopt);
    }
  }
  // N = 50, S = 550: mean 110.
  EXPECT_EQ(plain.value(0, 0, 0), 250 - 110);
  EXPECT_EQ(plain.value(7, 7, 4), 75 - 110);
  // A record with a token that is no number is skipped; the next is read.
  for (const std::string junk : {"x 1 1 10 10\n", "1 1 1 ten 10\n", "1 1 1 10 1.5\n", "1 1 1 10 --3\n"}) {
    SCOPED_TRACE(junk);
    const SquareLetterStats stats = SquareLetterStats::parse("0 0 0 10 250\n" + junk + "4 7 7 40 300\n");
    EXPECT_EQ(stats.value(0, 0, 0), 250 - 110);
    EXPECT_EQ(stats.value(7, 7, 4), 75 - 110);
    EXPECT_EQ(stats.value(1, 1, 1), std::nullopt);
  }
  // A trailing record with fields missing.
  for (const std::string tail : {"1", "1 2", "1 2 3", "1 2 3 4"}) {
    const SquareLetterStats stats = SquareLetterStats::parse(good + tail);
    EXPECT_EQ(stats.value(0, 0, 0), 250 - 110);
    EXPECT_EQ(stats.value(7, 7, 4), 75 - 110);
    EXPECT_EQ(stats.value(2, 1, 1), std::nullopt);
  }
}

TEST(SquareLetterStatsReader, HostileTextDoesNotBreakIt) {
  EXPECT_TRUE(SquareLetterStats::parse("").empty());
  EXPECT_TRUE(SquareLetterStats::parse("   \n\t ").empty());
  EXPECT_TRUE(SquareLetterStats::parse("junk").empty());
  EXPECT_EQ(SquareLetterStats::parse("").value(7, 7, 0), std::nullopt);
  // Junk, signs, huge numbers: the records before them stand.
  const std::string texts[] = {
      "0 0 0 10 250\nx y z w v\n",
      "0 0 0 10 250\n1 1 1 99999999999999999999999 5\n",
      "0 0 0 10 250\n1 1 1 5 -99999999999999999999999\n",
      "0 0 0 10 250\n1 1 1 9223372036854775807 9223372036854775807\n",
      "0 0 0 10 250\n1 1 1 -5 -5\n",
      "0 0 0 10 250\n+1 +1 +1 +10 +10\n",
      "0 0 0 10 250\n- - - - -\n",
      "0 0 0 10 250\n1e3 0x10 1.5 -0 +\n",
      std::string("0 0 0 10 250\n") + std::string(5000, '9'),
  };
  const char withNul[] = "0 0 0 10 250\n\0 1 1 1 1";
  std::vector<std::string> all(std::begin(texts), std::end(texts));
  all.emplace_back(withNul, sizeof withNul - 1);
  for (const std::string& text : all) {
    const SquareLetterStats stats = SquareLetterStats::parse(text);
    EXPECT_FALSE(stats.empty());
    EXPECT_TRUE(stats.value(0, 0, 0).has_value());
  }
  // Seeded noise.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int n = static_cast<int>(random() % 400);
    for (int i = 0; i < n; ++i) {
      const std::uint32_t r = random() % 10;
      if (r < 6) {
        text += std::to_string(static_cast<int>(random() % 40) - 5);
      } else if (r < 8) {
        text += std::to_string(static_cast<unsigned long long>(random()) * static_cast<unsigned long long>(random()));
      } else {
        text.push_back(static_cast<char>(random() % 256));
      }
      text.push_back(random() % 3 ? ' ' : '\n');
    }
    const SquareLetterStats stats = SquareLetterStats::parse(text);
    for (int row = 0; row < 15; ++row) {
      for (int column = 0; column < 15; ++column) {
        for (int letter = 0; letter < 32; ++letter) (void)stats.value(column, row, letter);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// Readers: board patterns.

// A board of the given size with tiles on the listed squares.
Board boardWith(int width, int height, std::initializer_list<SquareRef> tiles) {
  Board b;
  b.width = width;
  b.height = height;
  b.squares.assign(static_cast<std::size_t>(width * height), Square{});
  for (const SquareRef& t : tiles) squareAt(b, t.column, t.row)->letter = 'a';
  return b;
}

TEST(BoardPatternsReader, ValuesOfAHandMadeFile) {
  // A board 5 wide and 4 high: interior cells (1,1) (2,1) (3,1) are 0..2,
  // (1,2) (2,2) (3,2) are 3..5. Tiles at (1,1) and (3,2) give the patterns
  // 16, 8 + 256, 128, 2, 1 + 32 and 16.
  const auto table = BoardPatterns::parse(
      "5 4\n"
      "0 16 10 100\n"
      "1 264 20 50\n"
      "2 128 5 0\n"
      "3 2 1 7\n"
      "4 33 4 40\n"
      "5 16 10 1000\n"
      "5 0 1000 0\n"
      "0 0 300 9000\n"
      "1 258 99 99999\n");
  ASSERT_TRUE(table.has_value());
  EXPECT_EQ(table->width(), 5);
  EXPECT_EQ(table->height(), 4);
  EXPECT_EQ(table->cellOf(1, 1), 0);
  EXPECT_EQ(table->cellOf(3, 1), 2);
  EXPECT_EQ(table->cellOf(1, 2), 3);
  EXPECT_EQ(table->cellOf(0, 1), -1);
  EXPECT_EQ(table->cellOf(4, 1), -1);
  EXPECT_EQ(table->cellOf(1, 3), -1);
  EXPECT_EQ(table->count(1, 264), 20);
  EXPECT_EQ(table->total(5, 16), 1000);
  const Board board = boardWith(5, 4, {{1, 1}, {3, 2}});
  EXPECT_EQ(BoardPatterns::patternAt(board, 2, 1), 264);
  EXPECT_EQ(BoardPatterns::patternAt(board, 2, 2), 33);
  // A = 10 + 20 + 5 + 1 + 4 + 10 = 50, B = 1197: 11970 / 50.
  EXPECT_EQ(table->value(board), 239);
  // The empty board selects pattern 0 of every cell: cells 0 and 5 only.
  EXPECT_EQ(table->value(boardWith(5, 4, {})), 10 * 9000 / 1300);
  // Nothing selected was seen: 0.
  EXPECT_EQ(table->value(boardWith(5, 4, {{0, 0}, {4, 3}, {2, 3}})), 0);
}

TEST(BoardPatternsReader, HeadersAndRecordsOutOfRange) {
  for (const char* text : {"", " ", "15", "x 15", "15 x", "0 15", "15 0", "2 15", "15 2", "-15 15", "33 15",
                           "15 33", "15 99999999999999999999", "1e1 15"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(BoardPatterns::parse(text).has_value());
  }
  // The smallest board has one cell.
  const auto tiny = BoardPatterns::parse("3 3\n0 16 2 10\n");
  ASSERT_TRUE(tiny.has_value());
  EXPECT_EQ(tiny->value(boardWith(3, 3, {{1, 1}})), 50);
  const auto big = BoardPatterns::parse("32 32\n899 511 1 1\n");
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(big->count(899, 511), 1);

  const std::string good = "5 4\n0 16 10 100\n";
  const std::string bad[] = {
      "6 16 10 999\n",  "-1 16 10 999\n", "0 512 10 999\n", "0 -1 10 999\n", "x 16 10 999\n",
      "0 16 junk 999\n", "99999999999999999999 16 10 999\n",
  };
  const Board board = boardWith(5, 4, {{1, 1}});
  const int plain = BoardPatterns::parse(good)->value(board);
  EXPECT_EQ(plain, 100);
  for (const std::string& b : bad) {
    SCOPED_TRACE(b);
    // After the good record, and between the header and it: the record is
    // skipped, the reading goes on.
    for (const std::string& text : {good + b, "5 4\n" + b + "0 16 10 100\n"}) {
      const auto table = BoardPatterns::parse(text);
      ASSERT_TRUE(table.has_value());
      EXPECT_EQ(table->value(board), plain);
      EXPECT_EQ(table->count(0, 16), 10);
    }
  }
  // A trailing record with fields missing.
  for (const char* tail : {"0", "0 16", "0 16 10"}) {
    const auto table = BoardPatterns::parse(good + "1 0 5 5\n" + tail);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->count(1, 0), 5);
    EXPECT_EQ(table->count(0, 16), 10);
  }
}

TEST(BoardPatternsReader, HostileTextDoesNotBreakIt) {
  std::mt19937 random(11);
  const Board boards[] = {boardWith(15, 15, {}), boardWith(15, 15, {{7, 7}, {8, 7}, {0, 0}, {14, 14}}),
                          boardWith(5, 4, {{1, 1}})};
  for (int round = 0; round < 200; ++round) {
    std::string text = std::to_string(3 + random() % 14) + " " + std::to_string(3 + random() % 14) + "\n";
    if (round % 4 == 0) text = "15 15\n";
    const int n = static_cast<int>(random() % 600);
    for (int i = 0; i < n; ++i) {
      const std::uint32_t r = random() % 10;
      if (r < 7) {
        text += std::to_string(static_cast<int>(random() % 700) - 50);
      } else if (r < 9) {
        text += std::to_string(static_cast<unsigned long long>(random()) * static_cast<unsigned long long>(random()) * 7);
      } else {
        text.push_back(static_cast<char>(random() % 256));
      }
      text.push_back(random() % 4 ? ' ' : '\n');
    }
    const auto table = BoardPatterns::parse(text);
    if (!table) continue;
    for (const Board& b : boards) (void)table->value(b);
  }
}

}  // namespace
}  // namespace pexil
