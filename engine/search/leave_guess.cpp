#include "search/leave_guess.hpp"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/keep_value.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "search/known_racks.hpp"
#include "search/worker_thread.hpp"
#include "state/abort_flag.hpp"

namespace pexil {
namespace {

// After this many tries with fewer than kFewAccepted acceptances, a worker
// of the random leave construction stops valuing leaves against the unseen
// tiles: the construction is then slow and finds little.
constexpr int kSlowAfterTries = 200;
constexpr int kFewAccepted = 10;
// The pass construction's sample for the leave-value bar, and the share of
// it that reaches the bar.
constexpr int kBarSample = 1000;
constexpr int kBarShare = 10;
// A move is explained when it is among this many of the sorted list's
// first moves, none further below the best than kEquityReach tenths.
constexpr int kExplainingMoves = 5;
constexpr int kEquityReach = 120;
// A pass or exchange is explained when it is among this many first moves.
constexpr int kPassMoves = 10;

int binomial(int n, int k) {
  if (k < 0 || k > n) return 0;
  long long value = 1;
  for (int i = 1; i <= k; ++i) value = value * (n - k + i) / i;
  return static_cast<int>(value);
}

void addTiles(LetterCounts& to, const LetterCounts& tiles) {
  for (int slot = 0; slot <= kTotalSlot; ++slot) to.counts[static_cast<std::size_t>(slot)] += tiles.counts[static_cast<std::size_t>(slot)];
}

void removeTiles(LetterCounts& from, const LetterCounts& tiles) {
  for (int slot = 0; slot <= kTotalSlot; ++slot) from.counts[static_cast<std::size_t>(slot)] -= tiles.counts[static_cast<std::size_t>(slot)];
}

int previousPlayer(const Game& game) { return (game.toMove + game.playerCount - 1) % game.playerCount; }

// Gives the opponent `rack` and the bag the rest of the pool, and
// generates its moves.
const std::vector<Move>& generateFor(Game& prior, const LetterCounts& pool, const Rack& rack) {
  prior.racks[static_cast<std::size_t>(prior.toMove)] = rack;
  prior.bag = pool;
  removeTiles(prior.bag, rack);
  GenerateMoves(prior, Generation::fullList);
  return activeList(prior);
}

// One game copy per worker, each with a generator of its own, the work
// started on each and joined. A worker whose thread could not be started
// contributes nothing.
void runOnCopies(Game& game, int threads, const std::function<void(Game&, int)>& work) {
  std::vector<std::unique_ptr<Game>> copies;
  for (int w = 0; w < threads; ++w) {
    copies.push_back(std::make_unique<Game>(game));
    copies.back()->random.seed(static_cast<std::uint32_t>(game.random.next()) ^ (0x9E3779B9u * static_cast<std::uint32_t>(w + 1)));
    copies.back()->quiet = true;
  }
  std::vector<std::unique_ptr<WorkerThread>> workers;
  for (int w = 0; w < threads; ++w) {
    Game* copy = copies[static_cast<std::size_t>(w)].get();
    workers.push_back(std::make_unique<WorkerThread>([copy, w, &work] { work(*copy, w); }));
  }
  for (auto& worker : workers) worker->join();
}

// The tiles a random rack of `size` tiles from the pool holds.
Rack randomRack(GameRandom& random, const std::vector<int>& tiles, int size) {
  Rack rack;
  addRandomTiles(random, tiles, size, rack);
  return rack;
}

int rackLeaveValue(const Rack& rack) { return LeaveValue(rackString(rack)); }

}  // namespace

OpponentMove opponentLastMove(const Game& game) {
  OpponentMove last;
  if (game.playerCount < 1 || game.history.empty()) return last;
  last.known = true;
  last.move = game.lastMove;
  last.pass = isPass(last.move);
  last.exchange = isExchange(last.move) || last.move.word == label::exchangedTiles;
  if (isNonPlacement(last.move)) return last;
  // The played tiles: the word's letters on squares that were empty before it.
  const int blank = rules().blankCode;
  const std::string_view word = last.move.wordView();
  for (int i = 0; i < static_cast<int>(word.size()); ++i) {
    const Square* before = last.move.direction == kAcross ? squareAt(game.previousBoard, last.move.column + i, last.move.row)
                                                          : squareAt(game.previousBoard, last.move.column, last.move.row + i);
    if (before == nullptr || !before->empty()) continue;
    const int code = last.move.isBlankAt(i) ? blank : codeOfLetter(word[static_cast<std::size_t>(i)]);
    if (code < 0 || code >= kCodeSlots) continue;
    ++last.played[code];
    ++last.played[kTotalSlot];
  }
  return last;
}

std::vector<WeightedLeave> distinctLeaves(const LetterCounts& pool, int size) {
  std::vector<WeightedLeave> leaves;
  if (size < 0) return leaves;
  Rack leave;
  // Chooses how many of each code from `code` on, `left` tiles still to choose.
  std::function<void(int, int, int)> choose = [&](int code, int left, int weight) {
    if (left == 0) {
      leaves.push_back({leave, weight});
      return;
    }
    if (code >= kCodeSlots) return;
    const int most = std::min(left, pool[code]);
    for (int n = most; n >= 0; --n) {
      leave[code] = n;
      leave[kTotalSlot] += n;
      choose(code + 1, left - n, weight * binomial(pool[code], n));
      leave[kTotalSlot] -= n;
    }
    leave[code] = 0;
  };
  choose(0, size, 1);
  return leaves;
}

LetterCounts setUpPositionBefore(Game& copy, const OpponentMove& last) {
  const int us = copy.toMove;
  const int opponent = previousPlayer(copy);
  if (!isNonPlacement(last.move)) {
    copy.board = copy.previousBoard;
    copy.scores[static_cast<std::size_t>(opponent)] -= last.move.score;
  } else {
    copy.scorelessTurns = std::max(0, copy.scorelessTurns - 1);
    if (last.pass) copy.consecutivePasses = std::max(0, copy.consecutivePasses - 1);
  }
  // Every rack but ours goes back: the opponent's is the candidate's, and
  // the others are as unknown to it as the bag.
  for (int p = 0; p < copy.playerCount; ++p) {
    if (p != us) returnAll(copy.bag, copy.racks[static_cast<std::size_t>(p)]);
  }
  copy.toMove = opponent;
  copy.moveNumber = std::max(0, copy.moveNumber - 1);
  copy.gameOver = false;
  copy.lastMove = copy.history.size() >= 2 ? copy.history[copy.history.size() - 2].move.move() : Move{};
  // A phony can be reproduced only where phonies are generated.
  copy.phonyPlay = last.move.wordClass == kClassPhony || last.move.phonyCross != 0;
  copy.searchMode = SearchMode::none;
  copy.knownRacks.clear();
  prepareBoard(copy);
  return copy.bag;
}

bool explainsMove(const std::vector<Move>& list, const Move& actual) {
  if (list.empty() || isNonPlacement(actual)) return false;
  const int best = list.front().equity;
  for (std::size_t i = 0; i < list.size() && i < kExplainingMoves; ++i) {
    const Move& move = list[i];
    if (move.equity < best - kEquityReach) break;
    if (!isNonPlacement(move) && move.column == actual.column && move.row == actual.row &&
        move.direction == actual.direction && move.wordView() == actual.wordView()) {
      return true;
    }
  }
  return false;
}

bool leaveExplainsMove(Game& prior, const LetterCounts& pool, const OpponentMove& last, const Rack& leave) {
  Rack rack = last.played;
  addTiles(rack, leave);
  return explainsMove(generateFor(prior, pool, rack), last.move);
}

void ConstructLeaveGuess(Game& game, const OpponentMove& last, int kept, int threads, GuessBudget budget) {
  threads = std::max(1, threads);
  if (kept < 1) return;
  Game prior = game;
  prior.knownRacks.clear();
  const LetterCounts pool = setUpPositionBefore(prior, last);
  if (pool.total() < kept) return;
  KnownRackCollector collector(game.knownRacks);

  if (kept <= 3) {
    const std::vector<WeightedLeave> leaves = distinctLeaves(pool, kept);
    runOnCopies(prior, threads, [&](Game& copy, int worker) {
      for (std::size_t i = static_cast<std::size_t>(worker); i < leaves.size() && !abortRequested();
           i += static_cast<std::size_t>(threads)) {
        if (leaveExplainsMove(copy, pool, last, leaves[i].leave)) collector.add(leaves[i].leave, leaves[i].weight);
      }
    });
    return;
  }
  const std::vector<int> tiles = tilesOf(pool);
  runOnCopies(prior, threads, [&](Game& copy, int) {
    int accepted = 0;
    for (int tries = 1; tries <= budget.tries && accepted < budget.accepted && !abortRequested(); ++tries) {
      const Rack leave = randomRack(copy.random, tiles, kept);
      if (leaveExplainsMove(copy, pool, last, leave)) {
        collector.add(leave, 1);
        ++accepted;
      }
      if (tries > kSlowAfterTries && accepted < kFewAccepted) copy.unseenPoolEvaluation = false;
    }
  });
}

void ConstructPassGuess(Game& game, const OpponentMove& last, int threads, GuessBudget budget) {
  threads = std::max(1, threads);
  Game prior = game;
  prior.knownRacks.clear();
  const LetterCounts pool = setUpPositionBefore(prior, last);
  const int size = std::min(rules().rackSize, pool.total());
  if (size <= 0) return;
  const std::vector<int> tiles = tilesOf(pool);

  // A pass keeps a rack worth keeping: the bar is the value the best tenth
  // of random racks reaches. An exchange says nothing of the kind.
  int bar = std::numeric_limits<int>::min();
  if (!last.exchange) {
    std::vector<int> values;
    values.reserve(kBarSample);
    for (int n = 0; n < kBarSample; ++n) values.push_back(rackLeaveValue(randomRack(game.random, tiles, size)));
    std::sort(values.begin(), values.end(), std::greater<int>());
    bar = values[kBarSample / kBarShare - 1];
  }

  KnownRackCollector collector(game.knownRacks);
  const bool exchange = last.exchange;
  runOnCopies(prior, threads, [&](Game& copy, int) {
    int accepted = 0;
    for (int tries = 1; tries <= budget.tries && accepted < budget.accepted && !abortRequested(); ++tries) {
      const Rack rack = randomRack(copy.random, tiles, size);
      if (!exchange && rackLeaveValue(rack) < bar) continue;
      const std::vector<Move>& list = generateFor(copy, pool, rack);
      for (std::size_t i = 0; i < list.size() && i < kPassMoves; ++i) {
        const Move& move = list[i];
        if (exchange ? !isExchange(move) : !isPass(move)) continue;
        Rack listed;
        if (exchange) {
          addLetters(listed, move.leaveView(), nullptr);
        } else {
          listed = rack;
        }
        collector.add(listed, 1);
        ++accepted;
        break;
      }
    }
  });
}

}  // namespace pexil
