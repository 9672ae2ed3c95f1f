#include "search/static_endgame.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <vector>

#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"
#include "rules/scoring.hpp"
#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "text/latin1.hpp"

namespace pexil {
namespace {

constexpr int kDeepest = 10;
thread_local int verdict = 0;

int bestScoreOf(const std::vector<Move>& list) {
  int best = 0;
  for (const Move& move : list) {
    if (!isNonPlacement(move)) best = std::max(best, move.score);
  }
  return best;
}

// The search over the two root lists on the game's own board and racks,
// which it changes and puts back.
class StaticSearch {
 public:
  StaticSearch(Game& game, int player, std::vector<Move>& own, std::vector<Move>& others, long long budget)
      : game_(game), board_(game.board), budget_(budget) {
    lists_[static_cast<std::size_t>(player)] = &own;
    lists_[static_cast<std::size_t>(1 - player)] = &others;
  }

  int search(int mover, int depth, int bar, bool afterPass, int threshold) {
    const int other = 1 - mover;
    Rack& rack = game_.racks[static_cast<std::size_t>(mover)];
    const int stuck = 2 * (rackValue(game_.racks[static_cast<std::size_t>(other)]) - rackValue(rack));
    if (depth > kDeepest || nodes_ >= budget_) return stuck;
    std::vector<Move>& list = *lists_[static_cast<std::size_t>(mover)];
    int best = INT_MIN;
    int tried = 0, weak = 0;
    int passIndex = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
      Move& move = list[i];
      if (isPass(move)) {
        passIndex = static_cast<int>(i);
        continue;
      }
      if (isNonPlacement(move)) continue;
      if (depth == 0 && move.score < threshold) continue;
      Placed placed;
      if (!place(move, rack, placed)) continue;
      ++nodes_;
      ++tried;
      int value = 0;
      if (rack.total() > 0) {
        value = placed.score - search(other, depth + 1, -bar - placed.score, false, 0);
      } else {
        value = placed.score + 2 * rackValue(game_.racks[static_cast<std::size_t>(other)]);
      }
      if (depth == 0) move.equity = bar + value;
      lift(move, rack, placed);
      best = std::max(best, value);
      if (bar + best > 0) return best;
      if (depth > 0 && tried > 20) break;
      if (depth > 3 && bar < 0 && value < -bar / 4 && ++weak > 5) break;
    }
    if (tried > 0) return best;
    const int pass = afterPass ? stuck : -search(other, depth + 1, -bar, true, 0);
    if (depth == 0 && passIndex >= 0) list[static_cast<std::size_t>(passIndex)].equity = bar + pass;
    return pass;
  }

  long long nodes() const { return nodes_; }

 private:
  struct Placed {
    int score = 0;
    int count = 0;
    std::array<int, 32> squares{};
    std::array<int, 32> codes{};
  };

  // Lays the move when its squares and the rack still allow it: every
  // board letter on its path matches, the squares beyond its ends are
  // empty, the rack holds the new tiles and every cross-word they form is
  // a word. Scores it and takes the tiles off the rack.
  bool place(const Move& move, Rack& rack, Placed& placed) {
    const int length = static_cast<int>(std::strlen(move.word));
    if (length <= 0 || length > 31) return false;
    const int dc = move.direction == 0 ? 1 : 0, dr = 1 - dc;
    const Square* before = squareAt(board_, move.column - dc, move.row - dr);
    const Square* after = squareAt(board_, move.column + dc * length, move.row + dr * length);
    if ((before && !before->empty()) || (after && !after->empty())) return false;
    const int blank = rules().blankCode;
    Rack need{};
    placed.count = 0;
    for (int i = 0; i < length; ++i) {
      const Square* square = squareAt(board_, move.column + dc * i, move.row + dr * i);
      if (square == nullptr) return false;
      const char letter = latin1Lower(move.word[i]);
      if (!square->empty()) {
        if (square->letter != letter) return false;
        continue;
      }
      const int code = move.isBlankAt(i) ? blank : codeOfLetter(letter);
      if (code < 0 || ++need[code] > rack[code]) return false;
      if (!crossWordFits(move.column + dc * i, move.row + dr * i, dc, dr, letter)) return false;
      placed.squares[static_cast<std::size_t>(placed.count)] = i;
      placed.codes[static_cast<std::size_t>(placed.count)] = code;
      ++placed.count;
    }
    if (placed.count == 0) return false;
    const int laid = layTentative(board_, std::string_view(move.word, static_cast<std::size_t>(length)), move.column,
                                  move.row, move.direction, move.blankPositions);
    placed.score = playScore(board_, move.direction, move.column, move.row, length) + bingoBonusFor(laid);
    clearNewFlags(board_);
    for (int k = 0; k < placed.count; ++k) {
      const int i = placed.squares[static_cast<std::size_t>(k)];
      squareAt(board_, move.column + dc * i, move.row + dr * i)->placedMark = kLaidMark;
      const int code = placed.codes[static_cast<std::size_t>(k)];
      --rack[code];
      --rack[kTotalSlot];
    }
    return true;
  }

  void lift(const Move& move, Rack& rack, const Placed& placed) {
    const int dc = move.direction == 0 ? 1 : 0, dr = 1 - dc;
    for (int k = 0; k < placed.count; ++k) {
      const int i = placed.squares[static_cast<std::size_t>(k)];
      Square* square = squareAt(board_, move.column + dc * i, move.row + dr * i);
      square->letter = ' ';
      square->placedMark = kEmptyMark;
      square->isBlank = 0;
      const int code = placed.codes[static_cast<std::size_t>(k)];
      ++rack[code];
      ++rack[kTotalSlot];
    }
  }

  // Whether a tile laid at (column, row) makes a word with its neighbours
  // across the play's direction (or has none).
  bool crossWordFits(int column, int row, int dc, int dr, char letter) const {
    // The cross line runs perpendicular to the play: (dr, dc).
    const int sc = dr, sr = dc;
    int startColumn = column, startRow = row;
    while (true) {
      const Square* s = squareAt(board_, startColumn - sc, startRow - sr);
      if (s == nullptr || s->empty()) break;
      startColumn -= sc;
      startRow -= sr;
    }
    char text[40];
    int n = 0;
    for (int c = startColumn, r = startRow;; c += sc, r += sr) {
      const Square* s = squareAt(board_, c, r);
      if (c == column && r == row) {
        text[n++] = letter;
      } else if (s == nullptr || s->empty()) {
        break;
      } else {
        text[n++] = s->letter;
      }
      if (n >= 39) return false;
    }
    if (n < 2) return true;
    const std::string_view word(text, static_cast<std::size_t>(n));
    return anagramRule() ? game_.lexicon->hasAnagram(word) : game_.lexicon->isWord(word, 999);
  }

  static constexpr int kLaidMark = 30000;
  Game& game_;
  Board& board_;
  long long budget_ = 0;
  long long nodes_ = 0;
  std::array<std::vector<Move>*, 2> lists_{};
};

}  // namespace

int lastStaticVerdict() { return verdict; }

int StaticEndgame(Game& game, bool bestOnly) {
  verdict = 0;
  if (!IsEndgame(game) || game.gameOver || !game.lexicon) return kNotSearched;
  const int player = game.toMove, opponent = 1 - player;
  // The analysis position's opponent rack is the bag, for this search only.
  const Well bag = game.bag;
  const Rack opponentRack = game.racks[static_cast<std::size_t>(opponent)];
  FillOpponentRackFromBag(game);

  const bool phony = game.phonyPlay, unseenPool = game.unseenPoolEvaluation;
  const int toMove = game.toMove;
  game.phonyPlay = false;
  game.unseenPoolEvaluation = false;
  // Phony-class cross-words are annotated only while phony play is on.
  if (phony) prepareBoard(game);
  GenerateMoves(game, Generation::fullList);
  std::vector<Move> own = activeList(game);
  game.toMove = opponent;
  GenerateMoves(game, Generation::fullList);
  std::vector<Move> others = activeList(game);
  game.toMove = toMove;

  const int spread = game.scores[static_cast<std::size_t>(player)] - game.scores[static_cast<std::size_t>(opponent)];
  const int ownTiles = rackValue(game.racks[static_cast<std::size_t>(player)]);
  const int otherTiles = rackValue(game.racks[static_cast<std::size_t>(opponent)]);
  const int bestOwn = bestScoreOf(own), bestOther = bestScoreOf(others);
  for (Move& move : own) move.equity = kNotSearched;
  if (spread <= 0 && spread + bestOwn + 2 * ownTiles + 2 * otherTiles <= 0) {
    verdict = -1;
  } else if (spread > 0 && spread - bestOther - 2 * otherTiles - 2 * ownTiles >= 0) {
    verdict = 1;
  }
  if (verdict != 0) {
    for (Move& move : own) move.equity = verdict;
  } else {
    const int threshold = spread < 0 ? bestOwn - (spread + bestOwn + 2 * ownTiles) - 2 * otherTiles : 0;
    StaticSearch search(game, player, own, others, endgameOptions().staticNodeBudget);
    search.search(player, 0, spread, false, threshold);
    game.endgameNodes += search.nodes();
  }
  std::stable_sort(own.begin(), own.end(), [](const Move& a, const Move& b) { return a.equity > b.equity; });

  game.phonyPlay = phony;
  game.unseenPoolEvaluation = unseenPool;
  game.bag = bag;
  game.racks[static_cast<std::size_t>(opponent)] = opponentRack;
  if (phony) prepareBoard(game);
  if (own.empty()) return kNotSearched;
  const int best = own.front().equity;
  if (bestOnly) {
    game.bestMove = own.front();
  } else {
    activeList(game) = std::move(own);
  }
  return best;
}

}  // namespace pexil
