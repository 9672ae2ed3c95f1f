// The move generator checked against a slow, obvious generator written
// here: every line segment of the board, every word of the segment's length,
// every way the rack can supply the missing letters. Positions come from
// seeded self-play on several boards; each position is a pure function of
// its board variant and seed, printed with every failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/seeded_positions.hpp"
#include "play/game_flow.hpp"
#include "rules/board.hpp"
#include "rules/board_text.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/scoring.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "state/move.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

using namespace test;

// ---------------------------------------------------------------------------
// A play's identity.

struct PlayKey {
  std::string word;
  int column = 0;
  int row = 0;
  int direction = 0;
  std::vector<int> blanks;  // sorted word indexes
  int score = 0;
  auto operator<=>(const PlayKey&) const = default;
};

std::string describe(const PlayKey& key) {
  std::ostringstream out;
  out << key.word << " @(" << key.column << "," << key.row << ") " << (key.direction == kAcross ? "across" : "down")
      << " blanks{";
  for (std::size_t i = 0; i < key.blanks.size(); ++i) out << (i ? "," : "") << key.blanks[i];
  out << "} score " << key.score;
  return out.str();
}

PlayKey keyOf(const Move& move) {
  PlayKey key{latin1Lower(move.wordView()), move.column, move.row, move.direction, {}, move.score};
  for (int p : move.blankPositions) {
    if (p >= 0) key.blanks.push_back(p);
  }
  std::sort(key.blanks.begin(), key.blanks.end());
  return key;
}

struct RefPlay {
  PlayKey key;
  int tiles = 0;
  bool winsByGoingOut = false;
};

const Square& squareOf(const Board& board, int column, int row) {
  return board.squares[static_cast<std::size_t>(column + row * board.width)];
}

bool onBoard(const Board& board, int column, int row) {
  return column >= 0 && row >= 0 && column < board.width && row < board.height;
}

bool noTileOnBoard(const Board& board) {
  return std::all_of(board.squares.begin(), board.squares.end(), [](const Square& s) { return s.empty(); });
}

// Mirror symmetry of the square types about the main diagonal, worked out
// from the board itself.
bool typesSymmetric(const Board& board) {
  if (board.width != board.height) return false;
  for (int r = 0; r < board.height; ++r) {
    for (int c = 0; c < r; ++c) {
      if (squareOf(board, c, r).type != squareOf(board, r, c).type) return false;
    }
  }
  return true;
}

// The leave of a placement: the rack less the tiles the word puts on empty
// squares (blanks where listed), as text.
std::string expectedLeave(const Board& board, const Rack& rack, std::string_view word, int column, int row,
                          int direction, const std::vector<int>& blanks) {
  Rack left = rack;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const int c = direction == kAcross ? column + static_cast<int>(i) : column;
    const int r = direction == kAcross ? row : row + static_cast<int>(i);
    if (!onBoard(board, c, r) || !squareOf(board, c, r).empty()) continue;
    const bool blank = std::find(blanks.begin(), blanks.end(), static_cast<int>(i)) != blanks.end();
    --left[blank ? rules().blankCode : codeOfLetter(word[i])];
    --left[kTotalSlot];
  }
  if (!allNonNegative(left)) return "<rack cannot supply>";
  return countsToText(left, 64).value_or("<too long>");
}

int opponentsTileValue(const Game& game) {
  int total = 0;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) total += rackValue(game.racks[static_cast<std::size_t>(p)]);
  }
  return total;
}

int leadOverBest(const Game& game) {
  int best = -1000000;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) best = std::max(best, game.scores[static_cast<std::size_t>(p)]);
  }
  return game.scores[static_cast<std::size_t>(game.toMove)] - best;
}

// ---------------------------------------------------------------------------
// The reference generator.

class Reference {
 public:
  Reference(const Game& game, const WordIndex& words)
      : game_(game),
        board_(game.board),
        scratch_(game.board),
        words_(words),
        rack_(game.racks[static_cast<std::size_t>(game.toMove)]) {
    const std::size_t n = board_.squares.size();
    for (int d = 0; d < 2; ++d) {
      crossChecked_[d].assign(n * kCodeSlots, 0);
      hasCross_[d].assign(n, 0);
    }
    for (int r = 0; r < board_.height; ++r) {
      for (int c = 0; c < board_.width; ++c) {
        for (int d = 0; d < 2; ++d) {
          hasCross_[d][index(c, r)] = !perpendicularPrefix(c, r, d).empty() || !perpendicularSuffix(c, r, d).empty();
        }
      }
    }
  }

  std::vector<RefPlay> plays() {
    std::vector<RefPlay> out;
    const bool empty = noTileOnBoard(board_);
    const bool acrossOnly = empty && typesSymmetric(board_);
    for (int d = 0; d < 2; ++d) {
      if (acrossOnly && d == kDown) continue;
      for (int r = 0; r < board_.height; ++r) {
        for (int c = 0; c < board_.width; ++c) {
          const int side = d == kAcross ? board_.width : board_.height;
          for (int n = 2; n <= side && n <= kMaxWordLength; ++n) segment(c, r, d, n, empty, out);
        }
      }
    }
    return out;
  }

 private:
  std::size_t index(int c, int r) const { return static_cast<std::size_t>(c + r * board_.width); }

  // Tiles next to (c, r) across the play direction d.
  std::string perpendicularPrefix(int c, int r, int d) const {
    const int dc = d == kAcross ? 0 : 1, dr = d == kAcross ? 1 : 0;
    std::string text;
    for (int cc = c - dc, rr = r - dr; onBoard(board_, cc, rr) && !squareOf(board_, cc, rr).empty(); cc -= dc, rr -= dr)
      text.insert(text.begin(), squareOf(board_, cc, rr).letter);
    return text;
  }
  std::string perpendicularSuffix(int c, int r, int d) const {
    const int dc = d == kAcross ? 0 : 1, dr = d == kAcross ? 1 : 0;
    std::string text;
    for (int cc = c + dc, rr = r + dr; onBoard(board_, cc, rr) && !squareOf(board_, cc, rr).empty(); cc += dc, rr += dr)
      text.push_back(squareOf(board_, cc, rr).letter);
    return text;
  }

  bool crossAccepts(int c, int r, int d, char letter) {
    if (!hasCross_[d][index(c, r)]) return true;
    const int code = codeOfLetter(letter);
    std::uint8_t& known = crossChecked_[d][index(c, r) * kCodeSlots + static_cast<std::size_t>(code)];
    if (known == 0) {
      const std::string cross = perpendicularPrefix(c, r, d) + letter + perpendicularSuffix(c, r, d);
      known = game_.lexicon->isWord(cross, 999) && !isBarredFor(game_, game_.toMove, cross) ? 1 : 2;
    }
    return known == 1;
  }

  void segment(int c0, int r0, int d, int n, bool boardEmpty, std::vector<RefPlay>& out) {
    const int dc = d == kAcross ? 1 : 0, dr = d == kAcross ? 0 : 1;
    const int cEnd = c0 + dc * (n - 1), rEnd = r0 + dr * (n - 1);
    if (!onBoard(board_, cEnd, rEnd)) return;
    if (onBoard(board_, c0 - dc, r0 - dr) && !squareOf(board_, c0 - dc, r0 - dr).empty()) return;
    if (onBoard(board_, cEnd + dc, rEnd + dr) && !squareOf(board_, cEnd + dc, rEnd + dr).empty()) return;
    std::vector<int> holes;
    std::vector<std::pair<int, char>> fixed;
    bool touches = false;
    for (int i = 0; i < n; ++i) {
      const int c = c0 + dc * i, r = r0 + dr * i;
      const Square& s = squareOf(board_, c, r);
      if (!s.usable) return;
      if (s.empty()) {
        holes.push_back(i);
        if (hasCross_[d][index(c, r)]) touches = true;
        if (boardEmpty && c == rules().startColumn && r == rules().startRow) touches = true;
      } else {
        fixed.emplace_back(i, s.letter);
        touches = true;
      }
    }
    if (holes.empty() || !touches) return;
    if (static_cast<int>(holes.size()) > rack_.total()) return;
    if (static_cast<std::size_t>(n) >= words_.byLength.size() || words_.byLength[static_cast<std::size_t>(n)].empty())
      return;

    const std::vector<std::string>& all = words_.byLength[static_cast<std::size_t>(n)];
    const std::vector<int>* narrow = nullptr;
    for (const auto& [i, letter] : fixed) {
      const auto& list = words_.byLetter[static_cast<std::size_t>(n)][static_cast<std::size_t>(i)]
                                        [static_cast<std::size_t>(codeOfLetter(letter))];
      if (!narrow || list.size() < narrow->size()) narrow = &list;
    }
    const std::size_t count = narrow ? narrow->size() : all.size();
    for (std::size_t k = 0; k < count; ++k) {
      const std::string& word = all[narrow ? static_cast<std::size_t>((*narrow)[k]) : k];
      tryWord(word, c0, r0, d, holes, fixed, out);
    }
  }

  void tryWord(const std::string& word, int c0, int r0, int d, const std::vector<int>& holes,
               const std::vector<std::pair<int, char>>& fixed, std::vector<RefPlay>& out) {
    for (const auto& [i, letter] : fixed) {
      if (word[static_cast<std::size_t>(i)] != letter) return;
    }
    std::array<int, kCodeSlots> need{};
    for (int i : holes) ++need[static_cast<std::size_t>(codeOfLetter(word[static_cast<std::size_t>(i)]))];
    const int blanks = rack_[rules().blankCode];
    int shortage = 0;
    for (int code = 0; code < kCodeSlots; ++code) {
      if (code == rules().blankCode) continue;
      shortage += std::max(0, need[static_cast<std::size_t>(code)] - rack_[code]);
    }
    if (shortage > blanks) return;
    const int dc = d == kAcross ? 1 : 0, dr = d == kAcross ? 0 : 1;
    for (int i : holes) {
      if (!crossAccepts(c0 + dc * i, r0 + dr * i, d, word[static_cast<std::size_t>(i)])) return;
    }
    if (isBarredFor(game_, game_.toMove, word)) return;

    // Every choice of the holes that take blanks.
    const int h = static_cast<int>(holes.size());
    for (unsigned mask = 0; mask < (1u << h); ++mask) {
      if (std::popcount(mask) > blanks) continue;
      std::array<int, kCodeSlots> real = need;
      std::vector<int> blankAt;
      for (int j = 0; j < h; ++j) {
        if (mask & (1u << j)) {
          --real[static_cast<std::size_t>(
              codeOfLetter(word[static_cast<std::size_t>(holes[static_cast<std::size_t>(j)])]))];
          blankAt.push_back(holes[static_cast<std::size_t>(j)]);
        }
      }
      bool supplied = true;
      for (int code = 0; code < kCodeSlots && supplied; ++code) {
        if (code != rules().blankCode && real[static_cast<std::size_t>(code)] > rack_[code]) supplied = false;
      }
      if (!supplied) continue;
      std::array<int, kBlankSlots> slots;
      slots.fill(-1);
      for (std::size_t j = 0; j < blankAt.size() && j < slots.size(); ++j) slots[j] = blankAt[j];
      const int laid = layTentative(scratch_, word, c0, r0, d, slots);
      // The bonus for exactly a full rack, worked out here rather than taken
      // from the scorer.
      const int bonus = laid == rules().rackSize ? rules().bingoBonus : 0;
      const int score = playScore(scratch_, d, c0, r0, static_cast<int>(word.size())) + bonus;
      liftTentative(scratch_, word, c0, r0, d);
      RefPlay play{{word, c0, r0, d, blankAt, score}, laid, false};
      if (game_.bag.total() == 0 && laid == rack_.total()) {
        play.winsByGoingOut = score + 2 * opponentsTileValue(game_) + leadOverBest(game_) >= 1;
      }
      out.push_back(std::move(play));
    }
  }

  const Game& game_;
  const Board& board_;
  Board scratch_;
  const WordIndex& words_;
  const Rack& rack_;
  std::vector<std::uint8_t> crossChecked_[2];  // per square and letter: 0 unknown, 1 accepted, 2 refused
  std::vector<std::uint8_t> hasCross_[2];
};

// The best placement of a full list by the best-only rules: a play that
// wins by going out beats any other, the higher score between two such;
// else the highest equity; the earlier on ties.
const Move* bestOfList(const std::vector<Move>& moves) {
  const Move* best = nullptr;
  for (const Move& m : moves) {
    if (isNonPlacement(m)) continue;
    if (!best) {
      best = &m;
    } else if (m.winsByGoingOut && !best->winsByGoingOut) {
      best = &m;
    } else if (m.winsByGoingOut && best->winsByGoingOut) {
      if (m.score > best->score) best = &m;
    } else if (!m.winsByGoingOut && !best->winsByGoingOut && m.equity > best->equity) {
      best = &m;
    }
  }
  return best;
}

struct Tally {
  int positions = 0;
  int failed = 0;
  int placements = 0;
  int withBlanks[3] = {0, 0, 0};
  int scanRacks = 0;
  int goingOut = 0;
  int emptyBoards = 0;
  int noPlacement = 0;
  int barred = 0;
  int tilesOffStart = 0;  // tiles on the board, none on the start square
  int downPlaysOffStart = 0;
};

// Generates for one position and compares with the reference; returns the
// problems found (empty when all agree).
std::string checkPosition(Position& pos, Tally& tally) {
  Game& game = pos.game;
  std::ostringstream problems;
  const Rack rack = game.racks[static_cast<std::size_t>(game.toMove)];
  const bool scan = rack.total() > 7;

  GenerateMoves(game, false);
  const std::vector<Move> moves = game.moves;

  Reference reference(game, sharedIndex());
  std::vector<RefPlay> expected = reference.plays();
  std::map<PlayKey, const RefPlay*> byKey;
  std::vector<PlayKey> want, got;
  for (const RefPlay& p : expected) {
    want.push_back(p.key);
    byKey[p.key] = &p;
  }
  for (const Move& m : moves) {
    if (!isNonPlacement(m)) got.push_back(keyOf(m));
  }
  std::sort(want.begin(), want.end());
  std::sort(got.begin(), got.end());

  for (std::size_t i = 1; i < got.size(); ++i) {
    if (got[i] == got[i - 1]) problems << "  listed twice: " << describe(got[i]) << "\n";
  }
  std::vector<PlayKey> missing, extra;
  std::set_difference(want.begin(), want.end(), got.begin(), got.end(), std::back_inserter(missing));
  std::set_difference(got.begin(), got.end(), want.begin(), want.end(), std::back_inserter(extra));
  if (!missing.empty() || !extra.empty()) {
    problems << "  reference " << want.size() << " plays, generator " << got.size() << "; missing " << missing.size()
             << ", extra " << extra.size() << "\n";
    for (std::size_t i = 0; i < missing.size() && i < 8; ++i) problems << "  missing: " << describe(missing[i]) << "\n";
    for (std::size_t i = 0; i < extra.size() && i < 8; ++i) problems << "  extra:   " << describe(extra[i]) << "\n";
  }

  // Every move: leave, equity, going out; the list by equity, ties in the
  // order of generation: pass and exchanges first, then placements by
  // first square (column by column, row by row, across before down).
  int reported = 0;
  auto squareOrder = [](const Move& m) { return std::tuple(m.column, m.row, m.direction); };
  for (std::size_t i = 0; i < moves.size(); ++i) {
    const Move& m = moves[i];
    if (i > 0 && moves[i - 1].equity < m.equity && reported++ < 4) {
      problems << "  not sorted by equity at " << i << ": " << moves[i - 1].equity << " before " << m.equity << "\n";
    }
    if (i > 0 && moves[i - 1].equity == m.equity) {
      const Move& before = moves[i - 1];
      const bool misplaced =
          isNonPlacement(m) ? !isNonPlacement(before) : !isNonPlacement(before) && squareOrder(before) > squareOrder(m);
      if (misplaced && reported++ < 4) {
        problems << "  tie out of generation order at " << i << ": " << before.wordView() << " before " << m.wordView()
                 << "\n";
      }
    }
    if (isNonPlacement(m)) continue;
    const PlayKey key = keyOf(m);
    const std::string leave = expectedLeave(game.board, rack, m.wordView(), m.column, m.row, m.direction, key.blanks);
    if (m.leaveView() != leave && reported++ < 4) {
      problems << "  leave of " << describe(key) << " is '" << m.leaveView() << "', expected '" << leave << "'\n";
    }
    const auto found = byKey.find(key);
    const bool wins = found != byKey.end() && found->second->winsByGoingOut;
    if (found != byKey.end() && (m.winsByGoingOut != 0) != wins && reported++ < 4) {
      problems << "  winsByGoingOut of " << describe(key) << " is " << int(m.winsByGoingOut) << "\n";
    }
    // Score, leave value and the adjustments (the going-out bonus among them).
    const int equity = 10 * m.score + LeaveValue(m.leaveView()) + m.bonus;
    if (m.equity != equity && reported++ < 4) {
      problems << "  equity of " << describe(key) << " is " << m.equity << ", expected " << equity << "\n";
    }
  }

  // Best-only generation picks the list's best.
  const Move* best = bestOfList(moves);
  GenerateMoves(game, true);
  if (best) {
    const PlayKey bestKey = keyOf(*best);
    const PlayKey gotKey = isNonPlacement(game.bestMove)
                               ? PlayKey{std::string(game.bestMove.wordView()), 0, 0, 0, {}, 0}
                               : keyOf(game.bestMove);
    if (gotKey != bestKey) {
      problems << "  best-only gave " << describe(gotKey) << ", the list's best is " << describe(bestKey) << "\n";
    }
    if (game.bestMove.equity != best->equity) {
      problems << "  best-only equity " << game.bestMove.equity << ", list best " << best->equity << "\n";
    }
  } else {
    ++tally.noPlacement;
    // Nothing to lay: the pass stands (best-only weighs no exchange here).
    if (!isPass(game.bestMove)) problems << "  best-only gave " << game.bestMove.wordView() << " with no placement\n";
  }

  ++tally.positions;
  tally.placements += static_cast<int>(got.size());
  ++tally.withBlanks[std::min(2, rack[rules().blankCode])];
  if (scan) ++tally.scanRacks;
  if (noTileOnBoard(game.board)) ++tally.emptyBoards;
  if (!noTileOnBoard(game.board) && startSquareEmpty(game.board)) {
    ++tally.tilesOffStart;
    for (const PlayKey& key : got) tally.downPlaysOffStart += key.direction == kDown ? 1 : 0;
  }
  if (game.restrictedPlayer == game.toMove) ++tally.barred;
  for (const RefPlay& p : expected) {
    if (p.winsByGoingOut) {
      ++tally.goingOut;
      break;
    }
  }
  return problems.str();
}

class MoveCrossCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::readDefinitionsText(definitionsText()).empty());
    ASSERT_GE(findGameType("Holes"), 0);
    ASSERT_GE(findGameType("Lettered"), 0);
    ASSERT_GT(sharedWords()->wordCount(), 10000);
  }
  void TearDown() override { readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions"); }

  // Runs `count` positions of a variant with seeds first..first+count-1.
  void run(Variant v, std::uint32_t first, int count, int maxTurns, bool largeRacks, bool offStart = false) {
    activate(v);
    if (HasFatalFailure()) return;
    for (int i = 0; i < count; ++i) {
      const std::uint32_t seed = first + static_cast<std::uint32_t>(i);
      RackPlan plan;
      plan.blanks = i % 3;
      if (largeRacks) {
        plan.size = 8 + i % 2;
      } else if (i % 5 == 4) {
        plan.size = 1 + static_cast<int>(seed % 6);
        plan.emptyBag = i % 10 == 4;  // so that plays can go out
      }
      plan.barred = i % 7 == 3;
      plan.offStart = offStart;
      Position pos;
      buildPosition(pos, seed, maxTurns, plan);
      if (HasFatalFailure()) return;
      const std::string problems = checkPosition(pos, tally_);
      if (!problems.empty()) {
        ++tally_.failed;
        if (tally_.failed <= 6) ADD_FAILURE() << positionText(pos, v, seed) << problems;
      }
    }
  }

  test::StateGuard guard_;
  Tally tally_;
};

TEST_F(MoveCrossCheck, MatchesTheReferenceOnSelfPlayPositions) {
  const auto start = std::chrono::steady_clock::now();
  run(Variant::standard, 1000, 110, 20, false);
  run(Variant::super, 2000, 50, 20, false);
  run(Variant::holes, 3000, 75, 20, false);
  run(Variant::lettered, 4000, 65, 20, false);
  run(Variant::standard, 5000, 16, 20, true);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  EXPECT_EQ(tally_.failed, 0) << "positions that disagree (the first six are shown above)";
  EXPECT_GE(tally_.positions, 300);
  // The positions cover what they are meant to cover.
  EXPECT_GE(tally_.withBlanks[1], 60);
  EXPECT_GE(tally_.withBlanks[2], 40);
  EXPECT_EQ(tally_.scanRacks, 16);
  EXPECT_GE(tally_.emptyBoards, 5);
  EXPECT_GE(tally_.goingOut, 10);
  EXPECT_GE(tally_.barred, 40);
  EXPECT_GT(tally_.placements, 100000);
  std::printf(
      "%d positions (%d/%d/%d with 0/1/2 blanks, %d of 8-9 tiles, %d with barred words), %d placements, %d empty "
      "boards, %d with a going-out win, %d without placement; %.1f s\n",
      tally_.positions, tally_.withBlanks[0], tally_.withBlanks[1], tally_.withBlanks[2], tally_.scanRacks,
      tally_.barred, tally_.placements, tally_.emptyBoards, tally_.goingOut, tally_.noPlacement, seconds);
}

// Positions with tiles on the board but none on the start square: both
// directions are played, with every kind of rack (the first-square
// generator, the word-list scan of large racks, best-only with two blanks).
TEST_F(MoveCrossCheck, MatchesTheReferenceWithTheStartSquareEmpty) {
  run(Variant::standard, 6000, 40, 2, false, true);
  run(Variant::standard, 6100, 8, 2, true, true);
  run(Variant::lettered, 6200, 25, 2, false, true);
  run(Variant::holes, 6300, 20, 2, false, true);

  EXPECT_EQ(tally_.failed, 0) << "positions that disagree (the first six are shown above)";
  EXPECT_GE(tally_.tilesOffStart, 40);
  EXPECT_GT(tally_.downPlaysOffStart, 1000);
  EXPECT_EQ(tally_.scanRacks, 8);
  EXPECT_GE(tally_.withBlanks[2], 20);
  std::printf("%d positions, %d with tiles off the start square (%d down plays there), %d placements\n",
              tally_.positions, tally_.tilesOffStart, tally_.downPlaysOffStart, tally_.placements);
}

// The reference itself, on a position small enough to check by hand: an
// empty standard board and the rack E?, where every play is a two-letter
// word through the start square, across only.
TEST_F(MoveCrossCheck, ReferenceOnAnEmptyBoard) {
  activate(Variant::standard);
  Position pos;
  setProgramSeed(7);
  startGame(pos.game, 2, sharedWords());
  Game& game = pos.game;
  Rack& rack = game.racks[0];
  returnAll(game.bag, rack);
  ASSERT_EQ(addLetters(rack, "E?", &game.bag), 2);
  Reference reference(game, sharedIndex());
  const std::vector<RefPlay> plays = reference.plays();
  std::set<std::string> twoLetter;
  for (const std::string& w : sharedIndex().byLength[2]) {
    if (w.find('e') != std::string::npos) twoLetter.insert(w);
  }
  ASSERT_FALSE(twoLetter.empty());
  // A word with one E is laid one way (the blank takes the other letter);
  // "ee" two ways; each at columns 6..7 or 7..8.
  std::size_t expectedCount = 0;
  for (const std::string& w : twoLetter) expectedCount += w == "ee" ? 4 : 2;
  for (const RefPlay& p : plays) {
    EXPECT_EQ(p.key.direction, kAcross);
    EXPECT_EQ(p.key.row, 7);
    EXPECT_TRUE(p.key.column == 6 || p.key.column == 7) << describe(p.key);
    EXPECT_EQ(p.tiles, 2);
    ASSERT_EQ(p.key.blanks.size(), 1u) << describe(p.key);
    EXPECT_TRUE(twoLetter.count(p.key.word)) << describe(p.key);
    EXPECT_EQ(p.key.word[static_cast<std::size_t>(1 - p.key.blanks[0])], 'e') << describe(p.key);
    // The E (1 point) and the blank (0) on the doubled centre square.
    EXPECT_EQ(p.key.score, 2) << describe(p.key);
  }
  EXPECT_EQ(plays.size(), expectedCount);
}

}  // namespace
}  // namespace pexil
