#include "search/exact_endgame.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"
#include "search/exact_search.hpp"
#include "search/worker_thread.hpp"

namespace pexil {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kInfinity = 1 << 28;
// Iterations stop here (the table keeps depths in a byte); no endgame of a
// standard game comes near it.
constexpr int kMaxDepth = 250;

struct RootMove {
  LeanMove move;
  int value = 0;       // points the mover gains from here
  bool exact = false;  // else an upper bound
  bool final = false;
};

// Best value first; on equal values an exact one before a bound.
void sortRoots(std::vector<RootMove>& roots) {
  std::stable_sort(roots.begin(), roots.end(), [](const RootMove& a, const RootMove& b) {
    if (a.value != b.value) return a.value > b.value;
    return a.exact && !b.exact;
  });
}

// Iterative deepening over the root moves: each iteration shares the moves
// out over the threads (the calling thread is one of them), best of the
// previous iteration first. `roots` ends with the last completed
// iteration's values.
void solveRoots(const ExactStart& start, std::vector<RootMove>& roots, const ExactEndgameOptions& options,
                Clock::time_point began, double cpuBegan, ExactEndgameResult& result) {
  ExactTable table(options.tableMegabytes);
  const ExactKeys keys;
  ExactStop stop;
  if (options.timeBudget > 0 && options.budgetInCpuTime) {
    stop.hasCpuDeadline = true;
    stop.cpuDeadline = cpuBegan + 0.01 * options.timeBudget;
  } else if (options.timeBudget > 0) {
    stop.hasDeadline = true;
    stop.deadline = began + std::chrono::milliseconds(10LL * options.timeBudget);
  }
  const int threads = std::clamp(options.threads, 1, 64);
  std::vector<std::unique_ptr<ExactSearcher>> searchers;
  for (int k = 0; k < threads; ++k) searchers.push_back(std::make_unique<ExactSearcher>(start, table, keys, stop));

  std::vector<RootMove> working = roots;
  for (int depth = 1; depth <= kMaxDepth; ++depth) {
    sortRoots(working);
    std::mutex mutex;
    std::size_t next = 0;
    int alpha = -kInfinity;
    const auto work = [&](ExactSearcher& searcher) {
      for (;;) {
        std::size_t i;
        int windowLow;
        {
          const std::lock_guard<std::mutex> lock(mutex);
          i = next++;
          windowLow = alpha;
        }
        if (i >= working.size()) return;
        // A move proved to the end keeps its value: an exact one still
        // raises the bar for the others, a bound under the bar stays below.
        if (working[i].final && (working[i].exact || working[i].value <= windowLow)) {
          if (working[i].exact) {
            const std::lock_guard<std::mutex> lock(mutex);
            alpha = std::max(alpha, working[i].value);
          }
          continue;
        }
        bool final = false;
        // Once one move has a value, the others are first asked only
        // whether they beat it (a null window), and searched in full when
        // they do.
        int value;
        if (windowLow > -kInfinity) {
          value = searcher.valueOfRootMove(working[i].move, depth, windowLow, windowLow + 1, final);
          if (value > windowLow && !searcher.stopped()) {
            value = searcher.valueOfRootMove(working[i].move, depth, windowLow, kInfinity, final);
          }
        } else {
          value = searcher.valueOfRootMove(working[i].move, depth, windowLow, kInfinity, final);
        }
        if (searcher.stopped()) return;
        working[i].value = value;
        working[i].exact = value > windowLow;
        working[i].final = final;
        const std::lock_guard<std::mutex> lock(mutex);
        alpha = std::max(alpha, value);
      }
    };
    {
      std::vector<std::unique_ptr<WorkerThread>> workers;
      for (int k = 1; k < threads; ++k) {
        ExactSearcher* searcher = searchers[static_cast<std::size_t>(k)].get();
        workers.push_back(std::make_unique<WorkerThread>([&work, searcher] { work(*searcher); }));
      }
      work(*searchers.front());
      for (auto& worker : workers) worker->join();
    }
    if (stop.stop.load(std::memory_order_relaxed)) break;
    roots = working;
    result.depth = depth;
    if (std::all_of(roots.begin(), roots.end(), [](const RootMove& r) { return r.final; })) {
      result.solved = true;
      break;
    }
  }
  for (const auto& searcher : searchers) result.nodes += searcher->nodes();
  sortRoots(roots);
}

// The root moves with their first estimates: the value of a move that ends
// the game, else its score; the pass last.
std::vector<RootMove> rootMovesOf(const ExactStart& start) {
  std::vector<LeanMove> moves;
  ExactSearcher::rootMoves(start, moves);
  std::vector<RootMove> roots;
  roots.reserve(moves.size());
  const LeanRack& rack = start.racks[static_cast<std::size_t>(start.toMove)];
  const int otherValue = start.rackValue(start.racks[static_cast<std::size_t>(1 - start.toMove)]);
  for (const LeanMove& move : moves) {
    RootMove root;
    root.move = move;
    root.value = move.isPass() ? -kInfinity / 2 : move.tiles == rack.total ? move.score + 2 * std::max(otherValue, 0) : move.score;
    roots.push_back(root);
  }
  return roots;
}

// The move record of a root move: its word, square, blanks and leave.
Move moveRecord(const Game& game, const ExactStart& start, const LeanMove& lean) {
  Move move;
  Rack rack = game.racks[static_cast<std::size_t>(game.toMove)];
  if (lean.isPass()) {
    move.word = label::pass;
    move.setLeave(rackString(rack));
    return move;
  }
  const Lexicon& lexicon = start.board.lexicon();
  move.word = lexicon.text(lean.entry);
  move.wordClass = lexicon.entry(lean.entry).wordClass;
  move.column = lean.start % start.board.width();
  move.row = lean.start / start.board.width();
  move.direction = lean.direction;
  move.score = lean.score;
  int blanks = 0;
  for (int i = 0; i < lean.tiles; ++i) {
    const std::uint8_t code = lean.code[static_cast<std::size_t>(i)];
    const int taken = (code & kLeanBlank) != 0 ? start.blankCode : code;
    --rack[taken];
    --rack[kTotalSlot];
    if ((code & kLeanBlank) != 0 && blanks < kBlankSlots) {
      move.blankPositions[static_cast<std::size_t>(blanks++)] = lean.offset[static_cast<std::size_t>(i)];
    }
  }
  move.setLeave(rackString(rack));
  return move;
}

// The tiles a move lays, as (square, code with the blank mark), sorted.
std::vector<std::pair<int, int>> laidTiles(const LeanMove& lean, int width) {
  std::vector<std::pair<int, int>> tiles;
  const int step = lean.direction == kAcross ? 1 : width;
  for (int i = 0; i < lean.tiles; ++i) {
    tiles.emplace_back(lean.start + step * lean.offset[static_cast<std::size_t>(i)], lean.code[static_cast<std::size_t>(i)]);
  }
  std::sort(tiles.begin(), tiles.end());
  return tiles;
}

std::vector<std::pair<int, int>> laidTiles(const Game& game, const Move& move) {
  std::vector<std::pair<int, int>> tiles;
  const std::string_view word = move.wordView();
  for (int i = 0; i < static_cast<int>(word.size()); ++i) {
    const int column = move.direction == kAcross ? move.column + i : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + i;
    const Square* s = squareAt(game.board, column, row);
    if (s == nullptr || !s->empty()) continue;
    const int code = codeOfLetter(word[static_cast<std::size_t>(i)]);
    tiles.emplace_back(column + row * game.board.width, code | (move.isBlankAt(i) ? kLeanBlank : 0));
  }
  std::sort(tiles.begin(), tiles.end());
  return tiles;
}

double secondsSince(Clock::time_point began) { return std::chrono::duration<double>(Clock::now() - began).count(); }

}  // namespace

ExactEndgameResult ExactEndgameSearch(Game& game, const ExactEndgameOptions& options) {
  const auto began = Clock::now();
  const double cpuBegan = processCpuSeconds();
  ExactEndgameResult result;
  const auto start = std::make_unique<ExactStart>();
  if (!start->load(game)) return result;
  result.ran = true;
  std::vector<RootMove> roots = rootMovesOf(*start);
  solveRoots(*start, roots, options, began, cpuBegan, result);

  const int mover = start->toMove;
  const int spread = start->scores[static_cast<std::size_t>(mover)] - start->scores[static_cast<std::size_t>(1 - mover)];
  std::vector<Move>& list = activeList(game);
  if (&list == &game.moves) {
    clearMainList(game);
  } else {
    list.clear();
  }
  result.exactMoves = 0;
  bool leading = result.solved;
  for (const RootMove& root : roots) {
    Move move = moveRecord(game, *start, root.move);
    move.equity = spread + root.value;
    list.push_back(move);
    leading = leading && root.exact;
    if (leading) ++result.exactMoves;
  }
  result.value = roots.empty() ? spread : spread + roots.front().value;
  result.seconds = secondsSince(began);
  return result;
}

ExactEndgameResult ExactMoveValue(const Game& game, const Move& move, const ExactEndgameOptions& options) {
  const auto began = Clock::now();
  const double cpuBegan = processCpuSeconds();
  ExactEndgameResult result;
  const auto start = std::make_unique<ExactStart>();
  if (!start->load(game)) return result;
  std::vector<RootMove> roots = rootMovesOf(*start);
  // The root move that lays the same tiles (or the pass).
  const bool pass = isPass(move);
  if (!pass && isNonPlacement(move)) return result;
  const auto wanted = pass ? std::vector<std::pair<int, int>>{} : laidTiles(game, move);
  const auto same = std::find_if(roots.begin(), roots.end(), [&](const RootMove& root) {
    return pass ? root.move.isPass() : !root.move.isPass() && laidTiles(root.move, start->board.width()) == wanted;
  });
  if (same == roots.end()) return result;
  std::vector<RootMove> only{*same};
  result.ran = true;
  solveRoots(*start, only, options, began, cpuBegan, result);
  const int mover = start->toMove;
  const int spread = start->scores[static_cast<std::size_t>(mover)] - start->scores[static_cast<std::size_t>(1 - mover)];
  result.value = spread + only.front().value;
  result.exactMoves = result.solved ? 1 : 0;
  result.seconds = secondsSince(began);
  return result;
}

}  // namespace pexil
