#include "search/endgame.hpp"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "search/endgame_state.hpp"
#include "search/exact_endgame.hpp"
#include "search/simulation.hpp"
#include "search/worker_thread.hpp"
#include "state/abort_flag.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

// Deeper than this below the root the search returns its static bound.
constexpr int kDeepest = 11;

std::atomic<long long> totalNodes{0};
std::mutex printLock;

void sayTimedOut(const Game& game) {
  if (game.quiet) return;
  std::lock_guard<std::mutex> lock(printLock);
  textPane().Print("Aborting endgame search due to time...\n");
}

int spreadOf(const Game& game, int player) {
  return game.scores[static_cast<std::size_t>(player)] - game.scores[static_cast<std::size_t>(1 - player)];
}

// A placement that uses every tile of the rack (with the bag empty: it
// goes out).
bool emptiesRack(const Move& move) {
  return !isNonPlacement(move) && (move.winsByGoingOut != 0 || move.leave[0] == '\0');
}

// The one square a one-tile placement fills, or -1 for another move.
int singleTileSquare(const Board& board, const Move& move) {
  if (isNonPlacement(move)) return -1;
  const int length = static_cast<int>(std::strlen(move.word));
  const int dc = move.direction == 0 ? 1 : 0, dr = 1 - dc;
  int found = -1;
  for (int i = 0; i < length; ++i) {
    const int column = move.column + dc * i, row = move.row + dr * i;
    if (column >= board.width || row >= board.height) return -1;
    const int square = column + row * board.width;
    if (!board.squares[static_cast<std::size_t>(square)].empty()) continue;
    if (found >= 0) return -1;
    found = square;
  }
  return found;
}

// The letter a one-tile placement lays on `square` (as the word writes it).
char letterAt(const Board& board, const Move& move, int square) {
  const int column = square % board.width, row = square / board.width;
  const int index = move.direction == 0 ? column - move.column : row - move.row;
  return move.word[index];
}

// The worker's search state: its game copy, one move list and one position
// snapshot per depth, reused from node to node.
struct SearchContext {
  Game game;
  int threads = 1;
  std::vector<std::vector<Move>> lists;
  std::vector<PositionSnapshot> snapshots;

  SearchContext(const Game& source, int threadCount) : game(source), threads(threadCount) {
    lists.resize(kDeepest + 2);
    snapshots.resize(kDeepest + 2);
    lists[0] = activeList(game);
    game.endgameNodes = 0;
    game.quiet = source.quiet;
  }
};

bool stopRequested() { return endgameTimedOut() || abortRequested(); }

// Checks the time budget; true (after printing, once) when it is used up.
bool outOfTime(const Game& game) {
  if (game.timeBudget <= 0 || endgameHundredths() < game.timeBudget) return false;
  if (markEndgameTimedOut()) sayTimedOut(game);
  return true;
}

// Plays the move on the copy, searches the child and takes the move back;
// the child's value from the child's mover's side.
int searchChild(SearchContext& context, int depth, const Move& move);

// The selective negamax: the value of the position for the player to
// move; at the root (depth 0) the moves of this worker's share get their
// values in the root list.
int Search(SearchContext& context, int depth, int share) {
  Game& game = context.game;
  ++game.endgameNodes;
  const int mover = game.toMove;
  if (game.gameOver) return spreadOf(game, mover);

  std::vector<Move>& list = context.lists[static_cast<std::size_t>(depth)];
  if (depth > 0) {
    GenerateMoves(game, Generation::fullList);
    // The next generation clears the game's list anyway: take it over.
    list.swap(activeList(game));
  }
  if (list.empty()) {
    Move pass;
    pass.word = label::pass;
    list.push_back(pass);
  }
  const int spread = spreadOf(game, mover);
  const int ownTiles = rackValue(game.racks[static_cast<std::size_t>(mover)]);
  const int otherTiles = rackValue(game.racks[static_cast<std::size_t>(1 - mover)]);
  const int goingOutBonus = 2 * otherTiles;

  // The static bound: the first move's score, with the going-out bonus
  // when it goes out, else the tiles still to be counted at the end; and
  // every move that goes out.
  int bound = list.front().score + spread;
  if (emptiesRack(list.front())) {
    bound += goingOutBonus;
    list.front().equity = bound;
  } else {
    bound += depth % 2 == 1 ? 2 * otherTiles : -2 * ownTiles;
  }
  for (std::size_t i = 1; i < list.size(); ++i) {
    if (!emptiesRack(list[i])) continue;
    list[i].equity = list[i].score + goingOutBonus + spread;
    bound = std::max(bound, list[i].equity);
  }

  const bool greedier = greedierInEffect();
  const long long nodeLimit = greedier ? 24000 : 12000;
  if ((game.endgamePrune && bound < -149) || depth > kDeepest || game.endgameNodes > nodeLimit) return bound;
  if (stopRequested()) return kNotSearched;
  if (game.endgameNodes > 1 && outOfTime(game)) return kNotSearched;

  for (Move& move : list) move.equity = kNotSearched;
  const bool atRoot = depth == 0;
  const auto inShare = [&](std::size_t i) {
    return !atRoot || share < 0 || static_cast<int>(i % static_cast<std::size_t>(context.threads)) == share;
  };

  // First pass: the moves that go out.
  int best = kNotSearched;
  int goingOut = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!emptiesRack(list[i]) || !inShare(i)) continue;
    if (++goingOut > 100 || stopRequested()) break;
    const int child = searchChild(context, depth, list[i]);
    if (child == kNotSearched) break;
    list[i].equity = -child;
    best = std::max(best, -child);
  }

  // A win by going out ends the search here, except near the root for the
  // greedier search, which then looks at a few more moves.
  int unimproved = 0, examined = 0;
  if (best >= 1) {
    if (depth % 2 == 1 || depth > 2 || !greedier) return best;
    unimproved = 10;
    examined = 10;
  } else if (atRoot) {
    unimproved = 800;
    examined = static_cast<int>(list.size());
  } else if (depth == 1) {
    unimproved = examined = greedier ? 40 : 30;
  } else if (depth == 2 && greedier) {
    unimproved = 30;
    examined = 20;
  } else {
    unimproved = 40;
    examined = 16;
  }
  if (atRoot) {
    if (share >= 0) unimproved = std::max(10, unimproved / std::max(1, context.threads));
    examined = static_cast<int>(list.size());
  }
  const int poorLimit = std::max(unimproved, 10);

  // Second pass: the first moves of the list, in order.
  const bool winSuffices = depth % 2 == 1 || depth > 2 || !greedier;
  bool narrowing = false;
  int sinceBest = 0, poor = 0;
  const std::size_t end = std::min(list.size(), static_cast<std::size_t>(std::max(0, examined)));
  for (std::size_t i = 0; i < end; ++i) {
    Move& move = list[i];
    if (isPass(move) && list.size() > 1) continue;
    if (move.equity != kNotSearched || !inShare(i)) continue;
    if (atRoot && (stopRequested() || outOfTime(game))) return bound;
    if (narrowing) {
      bool repeated = false;
      if (std::strlen(move.leave.data()) > 3) {
        for (std::size_t j = 0; j < i && !repeated; ++j) repeated = std::strcmp(list[j].leave.data(), move.leave.data()) == 0;
      }
      const int square = singleTileSquare(game.board, move);
      if (square >= 0) {
        const char letter = letterAt(game.board, move, square);
        for (std::size_t j = 0; j < i && !repeated; ++j) {
          repeated = list[j].direction != move.direction && singleTileSquare(game.board, list[j]) == square &&
                     letterAt(game.board, list[j], square) == letter;
        }
      }
      if (repeated) continue;
    }
    if (atRoot) game.endgameNodes = 0;
    const int child = searchChild(context, depth, move);
    if (child == kNotSearched) {
      move.equity = kNotSearched;
      break;
    }
    const int value = -child;
    move.equity = value;
    if (winSuffices && value > 0) {
      best = std::max(best, value);
      break;
    }
    if (value > best) {
      best = value;
      sinceBest = 0;
    } else if (++sinceBest > unimproved) {
      if (!atRoot) break;
      narrowing = true;
    }
    if (value < best - 20 && ++poor >= poorLimit) {
      if (!atRoot) break;
      narrowing = true;
    }
  }
  return best;
}

int searchChild(SearchContext& context, int depth, const Move& move) {
  Game& game = context.game;
  PositionSnapshot& snapshot = context.snapshots[static_cast<std::size_t>(depth)];
  snapshot.save(game);
  PlayMove(game, move, false, true);
  const int value = Search(context, depth + 1, -1);
  snapshot.restore(game);
  return value;
}

// One run of the driver: generate, share the root among the workers,
// merge their values, sort. Returns the best value.
int searchRoot(Game& game) {
  GenerateMoves(game, Generation::fullList);
  std::vector<Move>& list = activeList(game);
  if (list.empty()) {
    Move pass;
    pass.word = label::pass;
    list.push_back(pass);
  }
  if (const std::optional<Move> remembered = rememberedEndgameMove()) {
    const auto same = std::find_if(list.begin(), list.end(), [&](const Move& move) {
      return move.column == remembered->column && move.row == remembered->row &&
             move.direction == remembered->direction && std::strcmp(move.word, remembered->word) == 0;
    });
    if (same != list.end()) std::rotate(list.begin(), same, same + 1);
  }
  for (Move& move : list) move.equity = kNotSearched;

  const int threads = std::max(1, game.threads);
  std::vector<std::unique_ptr<SearchContext>> contexts;
  for (int k = 0; k < threads; ++k) contexts.push_back(std::make_unique<SearchContext>(game, threads));
  {
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int k = 0; k < threads; ++k) {
      SearchContext* context = contexts[static_cast<std::size_t>(k)].get();
      workers.push_back(std::make_unique<WorkerThread>([context, k] { Search(*context, 0, k); }));
    }
    for (auto& worker : workers) worker->join();
  }
  // The copies' root lists are the main list, move for move.
  for (const auto& context : contexts) {
    const std::vector<Move>& searched = context->lists[0];
    for (std::size_t i = 0; i < searched.size() && i < list.size(); ++i) {
      if (searched[i].equity != kNotSearched) list[i].equity = searched[i].equity;
    }
    totalNodes += context->game.endgameNodes;
  }
  std::stable_sort(list.begin(), list.end(), [](const Move& a, const Move& b) { return a.equity > b.equity; });
  return list.front().equity;
}

}  // namespace

bool IsEndgame(const Game& game) {
  if (game.playerCount != 2) return false;
  if (game.bag.total() == 0) return true;
  const int opponent = 1 - game.toMove;
  return game.bag.total() <= rules().rackSize && !game.gameOver &&
         game.racks[static_cast<std::size_t>(opponent)].total() == 0;
}

bool FillOpponentRackFromBag(Game& game) {
  if (game.playerCount != 2 || game.bag.total() == 0) return false;
  Rack& rack = game.racks[static_cast<std::size_t>(1 - game.toMove)];
  if (rack.total() != 0) return false;
  for (int code = 0; code < kTotalSlot; ++code) {
    rack[code] += game.bag[code];
    rack[kTotalSlot] += game.bag[code];
    game.bag[code] = 0;
  }
  game.bag[kTotalSlot] = 0;
  return true;
}

void EndgameSearch(Game& game) {
  startEndgameClock();
  setEndgameTimedOut(false);
  setGreedierInEffect(endgameOptions().greedier && !anagramRule());
  totalNodes = 0;
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return;
  FillOpponentRackFromBag(game);
  game.endgameRunning = true;

  const bool phony = game.phonyPlay;
  if (phony) {
    game.phonyPlay = false;
    prepareBoard(game);
  }
  const int best = searchRoot(game);
  if (phony && best < 0 && !endgameTimedOut() && !abortRequested()) {
    // Every ordinary move loses: the phony-class words may save the game.
    game.phonyPlay = true;
    prepareBoard(game);
    searchRoot(game);
  }
  if (game.phonyPlay != phony) {
    game.phonyPlay = phony;
    prepareBoard(game);
  }
  const std::vector<Move>& list = activeList(game);
  if (!list.empty() && list.front().equity != kNotSearched) rememberEndgameMove(list.front());
  game.endgameRunning = false;
}

void ComputerEndgame(Game& game) {
  // Without a budget of its own the computer's move gets one: every node of
  // the selective search is a full generation, and a lost endgame with full
  // racks would otherwise take many minutes.
  const int budget = game.timeBudget;
  if (budget <= 0) game.timeBudget = kComputerEndgameBudget;
  bool searched = false;
  if (endgameOptions().exact) {
    FillOpponentRackFromBag(game);
    ExactEndgameOptions options;
    options.threads = std::max(1, game.threads);
    options.timeBudget = game.timeBudget;
    searched = ExactEndgameSearch(game, options).ran;
  }
  if (!searched) {
    const bool prune = game.endgamePrune;
    game.endgamePrune = true;
    EndgameSearch(game);
    game.endgamePrune = prune;
  }
  game.timeBudget = budget;
}

long long lastEndgameNodes() { return totalNodes.load(); }

}  // namespace pexil
