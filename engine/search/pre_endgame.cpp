#include "search/pre_endgame.hpp"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "search/endgame_state.hpp"
#include "search/simulation.hpp"
#include "search/static_endgame.hpp"
#include "search/worker_thread.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

double choose(int n, int k) {
  double result = 1;
  for (int i = 0; i < k; ++i) result = result * (n - i) / (i + 1);
  return result;
}

void enumerate(const LetterCounts& unseen, int code, int left, Rack& drawn, double weight, std::vector<RackDraw>& out) {
  if (left == 0) {
    RackDraw draw;
    draw.drawn = drawn;
    draw.weight = weight;
    for (int c = 0; c < kTotalSlot; ++c) draw.opponent[c] = unseen[c] - drawn[c];
    draw.opponent[kTotalSlot] = unseen.total() - drawn.total();
    out.push_back(draw);
    return;
  }
  int remaining = 0;
  for (int c = code; c < kTotalSlot; ++c) remaining += unseen[c];
  if (remaining < left) return;
  if (code >= kTotalSlot) return;
  for (int take = std::min(left, unseen[code]); take >= 0; --take) {
    drawn[code] = take;
    drawn[kTotalSlot] += take;
    enumerate(unseen, code + 1, left - take, drawn, weight * choose(unseen[code], take), out);
    drawn[kTotalSlot] -= take;
    drawn[code] = 0;
  }
}

bool contains(const Rack& rack, const Rack& part) {
  for (int c = 0; c < kTotalSlot; ++c) {
    if (part[c] > rack[c]) return false;
  }
  return true;
}

// The position before the move with the opponent's tiles and the bag set
// aside as the unseen tiles.
struct PreEndgameBase {
  Game game;
  LetterCounts unseen{};
  int player = 0;
};

PreEndgameBase baseFor(const Game& source) {
  PreEndgameBase base{source, {}, source.toMove};
  Game& game = base.game;
  game.quiet = true;
  game.historyEnabled = false;
  Rack& opponent = game.racks[static_cast<std::size_t>(1 - base.player)];
  base.unseen = game.bag;
  for (int c = 0; c < kTotalSlot; ++c) base.unseen[c] += opponent[c];
  base.unseen[kTotalSlot] = game.bag.total() + opponent.total();
  opponent = Rack{};
  return base;
}

// The outcome for the player of one draw: the move played from the base
// with the bag holding exactly the drawn tiles, then the opponent's static
// endgame.
void evaluateDraw(Game& game, const PositionSnapshot& start, const Move& move, RackDraw& draw) {
  start.restore(game);
  const int player = game.toMove;
  game.bag = draw.drawn;
  game.racks[static_cast<std::size_t>(1 - player)] = draw.opponent;
  PlayMove(game, move, false, true);
  if (game.gameOver) {
    draw.spread = game.scores[static_cast<std::size_t>(player)] - game.scores[static_cast<std::size_t>(1 - player)];
  } else {
    const int value = StaticEndgame(game, true);
    draw.spread = -value;
  }
  draw.outcome = draw.spread > 0 ? 100 : draw.spread == 0 ? 50 : 0;
}

// Hands out draw indexes; taken under a lock tried without waiting.
class DrawCounter {
 public:
  explicit DrawCounter(int total) : total_(total) {}
  // The next index, or -1 when all are taken.
  int next() {
    for (;;) {
      if (lock_.try_lock()) {
        const int index = next_ < total_ ? next_++ : -1;
        lock_.unlock();
        return index;
      }
      std::this_thread::yield();
    }
  }

 private:
  std::mutex lock_;
  int next_ = 0;
  int total_ = 0;
};

bool stopped(const Game& game, long long startHundredths) {
  return abortRequested() || (game.timeBudget > 0 && endgameHundredths() - startHundredths >= game.timeBudget);
}

}  // namespace

bool IsPreEndgameMove(const Game& game, const Move& move) {
  if (game.playerCount != 2 || isExchange(move) || isNonPlacement(move)) return false;
  if (move.wordClass == kClassPhony || move.phonyCross) return false;
  const int rackSize = rules().rackSize;
  const int opponentRack = game.racks[static_cast<std::size_t>(1 - game.toMove)].total();
  const int n = game.bag.total() - (rackSize - opponentRack);
  const int leave = static_cast<int>(move.leaveView().size());
  return n > 0 && leave + n <= rackSize;
}

std::vector<RackDraw> EnumerateRackDraws(const LetterCounts& unseen, int count) {
  std::vector<RackDraw> draws;
  if (count < 0 || count > unseen.total()) return draws;
  Rack drawn{};
  enumerate(unseen, 0, count, drawn, 1.0, draws);
  return draws;
}

PreEndgameResult PreEndgameEvaluate(const Game& source, const Move& move, int threads, int drawLimit) {
  PreEndgameResult result;
  if (source.playerCount != 2 || source.gameOver || !source.lexicon || source.bag.total() == 0) return result;
  if (!IsPreEndgameMove(source, move)) return result;
  PreEndgameBase base = baseFor(source);
  result.draws = EnumerateRackDraws(base.unseen, source.bag.total());
  if (static_cast<int>(result.draws.size()) > drawLimit) {
    result.tooManyDraws = true;
    return result;
  }
  if (drawLimit > 200 && !source.quiet) {
    textPane().Print(FormatText("Evaluating %d different possible rack draws.\n", static_cast<int>(result.draws.size())));
  }
  // The tile inference's racks weight each opponent rack by how many of them it holds.
  const std::vector<Rack>& known = source.knownRacks;
  for (RackDraw& draw : result.draws) {
    int held = 0;
    for (const Rack& rack : known) held += contains(draw.opponent, rack) ? 1 : 0;
    draw.guessWeight = draw.weight * held;
  }

  StaticNodeBudgetScope budget(100000);
  const long long start = endgameHundredths();
  DrawCounter counter(static_cast<int>(result.draws.size()));
  threads = std::max(1, threads);
  std::vector<std::unique_ptr<Game>> copies;
  for (int k = 0; k < threads; ++k) copies.push_back(std::make_unique<Game>(base.game));
  {
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int k = 0; k < threads; ++k) {
      Game* game = copies[static_cast<std::size_t>(k)].get();
      workers.push_back(std::make_unique<WorkerThread>([game, &counter, &result, &move, start] {
        PositionSnapshot snapshot;
        snapshot.save(*game);
        for (int index = counter.next(); index >= 0; index = counter.next()) {
          if (stopped(*game, start)) return;
          evaluateDraw(*game, snapshot, move, result.draws[static_cast<std::size_t>(index)]);
        }
      }));
    }
    for (auto& worker : workers) worker->join();
  }
  double total = 0, won = 0, guessTotal = 0, guessWon = 0;
  for (const RackDraw& draw : result.draws) {
    if (draw.outcome < 0) return result;  // cut short, or a worker that never ran
    total += draw.weight;
    won += draw.weight * draw.outcome;
    guessTotal += draw.guessWeight;
    guessWon += draw.guessWeight * draw.outcome;
  }
  if (total > 0) result.winPercent = won / total;
  if (guessTotal > 0) result.guessWinPercent = guessWon / guessTotal;
  return result;
}

float PreEndgameValue(const Game& game, const Move& move, int threads, int drawLimit) {
  return static_cast<float>(PreEndgameEvaluate(game, move, threads, drawLimit).winPercent);
}

float PreEndgamePassValue(const Game& source, int threads) {
  if (source.playerCount != 2 || source.gameOver || !source.lexicon || source.bag.total() != 1) return -1.0f;
  (void)threads;
  PreEndgameBase base = baseFor(source);
  const std::vector<RackDraw> splits = EnumerateRackDraws(base.unseen, 1);
  StaticNodeBudgetScope budget(100000);
  Game& game = base.game;
  const int player = base.player;
  double total = 0, won = 0;
  PositionSnapshot start;
  start.save(game);
  for (const RackDraw& split : splits) {
    if (abortRequested()) return -1.0f;
    // The bag holds the split's tile; the player passes.
    start.restore(game);
    game.bag = split.drawn;
    game.racks[static_cast<std::size_t>(1 - player)] = split.opponent;
    Move pass;
    pass.word = label::pass;
    PlayMove(game, pass, false, true);
    PositionSnapshot afterPass;
    afterPass.save(game);
    GenerateMoves(game, Generation::fullList);
    const std::vector<Move> replies = activeList(game);
    int worst = 100;  // the player's outcome under the opponent's best reply
    bool replied = false;
    int examined = 0;
    for (const Move& reply : replies) {
      if (!IsPreEndgameMove(game, reply)) continue;
      if (++examined > 30) break;
      afterPass.restore(game);
      PlayMove(game, reply, false, true);
      int spread = 0;
      if (game.gameOver) {
        spread = game.scores[static_cast<std::size_t>(player)] - game.scores[static_cast<std::size_t>(1 - player)];
      } else {
        spread = StaticEndgame(game, true);
      }
      const int outcome = spread > 0 ? 100 : spread == 0 ? 50 : 0;
      worst = std::min(worst, outcome);
      replied = true;
      if (worst == 0) break;
    }
    // An opponent with no move that empties the bag leaves it as it is:
    // neither side is the better for it.
    if (!replied) worst = 50;
    total += split.weight;
    won += split.weight * worst;
  }
  return total > 0 ? static_cast<float>(won / total) : -1.0f;
}

void PrintPreEndgameReport(const PreEndgameResult& result) {
  TextPane& pane = textPane();
  pane.Print("Rack / OppRack / Prob / ProbGuess / Outcome\n");
  double total = 0, guessTotal = 0;
  for (const RackDraw& draw : result.draws) {
    total += draw.weight;
    guessTotal += draw.guessWeight;
  }
  for (const RackDraw& draw : result.draws) {
    const char* outcome = draw.outcome == 100 ? "WIN" : draw.outcome == 50 ? "DRAW" : draw.outcome == 0 ? "LOSS" : "-";
    const double probability = total > 0 ? 100.0 * draw.weight / total : 0;
    const double guess = guessTotal > 0 ? 100.0 * draw.guessWeight / guessTotal : 0;
    pane.Print(FormatText("%s / %s / %.2f%% / %.2f%% / %s (%+d)\n", rackString(draw.drawn).c_str(),
                          rackString(draw.opponent).c_str(), probability, guess, outcome, draw.spread));
  }
  if (result.winPercent >= 0) {
    pane.Print(FormatText("Win probability, assuming all tiles are equally likely on\nopponent's rack: %.2f%%\n",
                          result.winPercent));
  }
  if (result.guessWinPercent >= 0) {
    pane.Print(FormatText("Win probability, using tile inference data: %.2f%%\n", result.guessWinPercent));
  }
  pane.Print("Outcomes shown above are from static end game, which is not an\nexhaustive search.\n");
}

}  // namespace pexil
