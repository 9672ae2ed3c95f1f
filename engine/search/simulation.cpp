#include "search/simulation.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <sstream>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/tile_counts.hpp"
#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "search/known_racks.hpp"
#include "search/simulated_move.hpp"
#include "search/simulation_state.hpp"
#include "search/tile_inference.hpp"
#include "search/worker_thread.hpp"
#include "state/abort_flag.hpp"
#include "tables/win_prob.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

// Every simulation's progress lines go through SimulationSay.
void say(const Game& game, const std::string& text) { SimulationSay(game, text); }

// Mean and population deviation of the last `count` entries.
void lastStats(const std::vector<double>& history, std::size_t count, double& mean, double& deviation) {
  const std::size_t first = history.size() - count;
  double sum = 0;
  for (std::size_t i = first; i < history.size(); ++i) sum += history[i];
  mean = sum / static_cast<double>(count);
  double squares = 0;
  for (std::size_t i = first; i < history.size(); ++i) squares += (history[i] - mean) * (history[i] - mean);
  deviation = std::sqrt(squares / static_cast<double>(count));
}

// How many deviations `lead` lies above `mean`; infinite when the
// deviation is 0 and they differ.
double deviationsBelow(double lead, double mean, double deviation) {
  const double gap = lead - mean;
  if (deviation > 0) return gap / deviation;
  if (gap > 0) return std::numeric_limits<double>::infinity();
  if (gap < 0) return -std::numeric_limits<double>::infinity();
  return 0;
}

std::string streamNumber(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

}  // namespace

// The table counts the tiles the mover cannot see (the bag and the other
// racks), as the self-play that fills it does; the blanks are counted from
// the mover's side (the lists' own tables hold no data for "no blank
// anywhere" while most tiles are unseen, so a fixed state would read
// nothing there).
double HorizonWinChance(const Game& game, const WinProbTable& table, int mover, int lead) {
  const int blank = rules().blankCode;
  const int onRack = game.racks[static_cast<std::size_t>(mover)][blank];
  int unseen = game.bag[blank];
  int tiles = game.bag.total();
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == mover) continue;
    unseen += game.racks[static_cast<std::size_t>(p)][blank];
    tiles += game.racks[static_cast<std::size_t>(p)].total();
  }
  return WinProb(table, lead, tiles, unseen, onRack);
}

void PositionSnapshot::save(const Game& game) {
  const Board& board = game.board;
  squares_ = board.squares;
  columnHasNew_ = board.columnHasNew;
  rowHasNew_ = board.rowHasNew;
  width_ = board.width;
  height_ = board.height;
  boardLexicon_ = board.lexicon;
  phonyLengthLimit_ = board.phonyLengthLimit;
  bag_ = game.bag;
  racks_ = game.racks;
  scores_ = game.scores;
  exchangedLast_ = game.exchangedLast;
  lastMove_ = game.lastMove;
  moveNumber_ = game.moveNumber;
  toMove_ = game.toMove;
  scorelessTurns_ = game.scorelessTurns;
  consecutivePasses_ = game.consecutivePasses;
  gameOver_ = game.gameOver;
  moveJustPlayed_ = game.moveJustPlayed;
  clockRunning_ = game.clockRunning;
  hasPatternReference_ = game.hasPatternReference;
  patternReference_ = game.patternReference;
  scoreChanges_ = game.scoreChanges.size();
  history_ = game.history.size();
}

void PositionSnapshot::restore(Game& game) const {
  Board& board = game.board;
  board.squares = squares_;
  board.columnHasNew = columnHasNew_;
  board.rowHasNew = rowHasNew_;
  board.width = width_;
  board.height = height_;
  board.lexicon = boardLexicon_;
  board.phonyLengthLimit = phonyLengthLimit_;
  game.bag = bag_;
  game.racks = racks_;
  game.scores = scores_;
  game.exchangedLast = exchangedLast_;
  game.lastMove = lastMove_;
  game.moveNumber = moveNumber_;
  game.toMove = toMove_;
  game.scorelessTurns = scorelessTurns_;
  game.consecutivePasses = consecutivePasses_;
  game.gameOver = gameOver_;
  game.moveJustPlayed = moveJustPlayed_;
  game.clockRunning = clockRunning_;
  game.hasPatternReference = hasPatternReference_;
  game.patternReference = patternReference_;
  if (game.scoreChanges.size() > scoreChanges_) game.scoreChanges.resize(scoreChanges_);
  if (game.history.size() > history_) game.history.resize(history_);
}

namespace {
std::mutex outputLock;
}  // namespace

void SimulationSay(const Game& game, const std::string& text) {
  if (game.quiet) return;
  const std::lock_guard<std::mutex> lock(outputLock);
  textPane().Print(text);
}

SimulationScope::SimulationScope(Game& game)
    : game_(game), searchMode_(game.searchMode), announceSenyors_(game.announceSenyors),
      unseenPool_(game.unseenPoolEvaluation), maximizeWinProb_(game.maximizeWinProb) {
  game.simulating = true;
  game.announceSenyors = false;
}

SimulationScope::~SimulationScope() {
  game_.simulating = false;
  game_.searchMode = searchMode_;
  game_.announceSenyors = announceSenyors_;
  game_.unseenPoolEvaluation = unseenPool_;
  game_.maximizeWinProb = maximizeWinProb_;
}

bool PrepareKnownRacks(Game& game, int threads) {
  bool knownInUse = game.useKnownTiles && !game.knownRacks.empty();
  if (!knownInUse && game.guessRackDistribution) {
    if (guessAppliesToLookahead(game)) {
      GuessOpponentRack(game, threads);
    } else {
      ClearKnownRacks(game);
    }
    knownInUse = !game.knownRacks.empty();
  }
  if (knownInUse) {
    SimulationSay(game, game.knownRacks.size() == 1
                            ? FormatText("Using known tiles %s in simulation.\n",
                                         tilesDisplayText(game.knownRacks.front()).c_str())
                            : std::string("Using known tile distribution in simulation.\n"));
  }
  return knownInUse;
}

StrategyZeroAsTwo::StrategyZeroAsTwo(Game& game) : game_(game), saved_(game.strategies) {
  for (int p = 0; p < game.playerCount; ++p) {
    if (game.strategies[static_cast<std::size_t>(p)] == 0) game.strategies[static_cast<std::size_t>(p)] = 2;
  }
}

StrategyZeroAsTwo::~StrategyZeroAsTwo() { game_.strategies = saved_; }

void SaySimulationFinished(const Game& game, const SimulationClock& clock) {
  const long long elapsed = clock.hundredths();
  setLastSimulationSeconds(static_cast<double>(elapsed / 100) + static_cast<double>(elapsed % 100) * 0.01);
  const char* word = abortRequested() ? "aborted" : simulationTimedOut() ? "timed out" : "done";
  say(game, FormatText("Simulation %s: %d.%02d seconds\n", word, static_cast<int>(elapsed / 100), static_cast<int>(elapsed % 100)));
}

bool WinProbAtHorizon(const Game& game) {
  return game.playerCount >= 2 && game.playerCount <= 4 && game.standardBonusLayout && game.standardTileValues &&
         game.bag.total() < 120;
}

void RunIteration(Game& game, const Move& candidate, const std::vector<Rack>* knownRacks, const WinProbTable* table,
                  IterationSums& sums, PositionSnapshot& snapshot) {
  snapshot.save(game);
  const int player = game.toMove;
  const int previous = (player + game.playerCount - 1) % game.playerCount;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != player) returnAll(game.bag, game.racks[static_cast<std::size_t>(p)]);
  }
  const int rackSize = rules().rackSize;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p == player) continue;
    Rack& rack = game.racks[static_cast<std::size_t>(p)];
    if (knownRacks && !knownRacks->empty() && p == previous) {
      const auto pick = static_cast<std::size_t>(game.random.next()) % knownRacks->size();
      takeKnownTiles(rack, game.bag, (*knownRacks)[pick]);
    }
    drawTiles(rack, game.bag, rackSize, &game.random);
  }
  const SearchMode mode = game.searchMode;
  PlayMove(game, candidate, false, true);
  game.searchMode = SearchMode::simulationReply;
  while (!game.gameOver && game.moveNumber <= game.targetTurn) {
    ChooseSimulatedMove(game);
    PlayMove(game, game.bestMove, false, true);
  }
  game.searchMode = mode;

  // The horizon: the spread, and the win chance.
  const int spread = leadOf(game, player);
  sums.spread += spread;
  if (table && game.winProbAtHorizon && !game.gameOver) {
    // The table is indexed by the lead of the player who has just moved.
    const int mover = game.toMove == player ? previous : player;
    const double chance = HorizonWinChance(game, *table, mover, leadOf(game, mover));
    sums.win += mover == player ? chance : 100.0 - chance;
  } else {
    sums.win += spread > 0 ? 100.0 : 0.0;
  }
  // The board comes back with its annotations: no need to work them out again.
  snapshot.restore(game);
}

void SortSimulated(Game& game) {
  std::vector<Move>& list = activeList(game);
  if (game.mixedOptimization) {
    std::stable_sort(list.begin(), list.end(), [](const Move& a, const Move& b) { return a.simValueC > b.simValueC; });
  } else if (game.maximizeWinProb) {
    // Win chances within a point of 0 or 100 are beyond what a simulation
    // can tell apart (and all alike in a lost or won game): such moves rank
    // by spread, so a lost game is not thrown away on noise (a pass chosen
    // for 0.8 % against 0.7 %) and a won one is not given back. A certain
    // win (every draw of the pre-endgame, every iteration) stays above them.
    const auto band = [](float win) { return win <= 1.0f ? 0 : win >= 100.0f ? 3 : win >= 99.0f ? 2 : 1; };
    std::stable_sort(list.begin(), list.end(), [&band](const Move& a, const Move& b) {
      const int bandA = band(a.simValueB), bandB = band(b.simValueB);
      if (bandA != bandB) return bandA > bandB;
      if (bandA == 1 && a.simValueB != b.simValueB) return a.simValueB > b.simValueB;
      const bool passA = a.word == label::pass, passB = b.word == label::pass;
      if (passA != passB) return passB;
      return a.simValueA > b.simValueA;
    });
  } else {
    std::stable_sort(list.begin(), list.end(), [](const Move& a, const Move& b) { return a.simValueA > b.simValueA; });
  }
}

void SimulateSingleThreaded(Game& game, int ply, int iterations, double stdevStop, int maxCandidates) {
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return;
  SimulationScope scope(game);
  GenerateMoves(game, Generation::fullList);
  std::vector<Move> list = activeList(game);
  if (list.empty()) return;
  game.targetTurn = game.moveNumber + ply;
  game.winProbAtHorizon = WinProbAtHorizon(game);
  const int player = game.toMove;

  std::size_t count = 0;
  const int bestEquity = list.front().equity;
  while (count < list.size() && static_cast<int>(count) < maxCandidates && bestEquity - list[count].equity < 320) ++count;

  if (count == 1) {
    const int lead = leadOf(game, player);
    list.front().simValueA = static_cast<float>(list.front().score + lead);
    list.front().simValueB = lead > 0 ? 100.0f : 0.0f;
  } else {
    double best = kNoBest;
    PositionSnapshot snapshot;
    std::vector<double> history;
    history.reserve(1000);
    for (std::size_t k = 0; k < count; ++k) {
      say(game, FormatText("Checking move %d of %d...\n", static_cast<int>(k + 1), static_cast<int>(count)));
      Move& candidate = list[k];
      candidate.simValueA = 0;
      candidate.simValueB = 0;
      IterationSums sums;
      history.clear();
      int run = 0;
      for (int i = 1; i <= iterations; ++i) {
        RunIteration(game, candidate, nullptr, nullptr, sums, snapshot);
        run = i;
        if (history.size() == 1000) history.resize(950);
        history.push_back(sums.spread / i);
        if (i < 50) continue;
        double mean = 0, deviation = 0;
        lastStats(history, 50, mean, deviation);
        const double z = deviationsBelow(best, mean, deviation);
        if (z > 2.5) {
          say(game, "Shortcircuited at " + std::to_string(i) + ", mean " + streamNumber(mean) + ", stdev " +
                        streamNumber(deviation) + ", lead " + streamNumber(best) + " (+" + streamNumber(z) + ")\n");
          break;
        }
        if (deviation < stdevStop) {
          say(game, "Shortcircuited at " + std::to_string(i) + " for low stdev\n");
          break;
        }
      }
      candidate.simValueA = static_cast<float>(sums.spread / run);
      candidate.simValueB = static_cast<float>(sums.win / run);
      candidate.simCount = run;
      candidate.simPly = ply;
      candidate.simByWinProb = 0;
      if (candidate.simValueA > best) best = candidate.simValueA;
    }
  }
  activeList(game) = std::move(list);
  SortSimulated(game);
}

namespace {

// What a worker of the threaded lookahead is given.
struct CandidateTask {
  Game* game = nullptr;
  Move candidate;          // the move to simulate
  Move* result = nullptr;  // where its statistics go (the driver's)
  int moveIndex = 0;
  int ply = 0;
  int iterationLimit = 0;  // 0 = none
  double stdevStop = 0.1;
  float lead = kNoBest;
  bool useKnownRacks = false;
  const std::vector<Rack>* knownRacks = nullptr;
  const WinProbTable* table = nullptr;
};

// The line of a finished candidate; without a lead yet, a converged
// candidate's line ends with a blank.
void progressLine(const Game& game, int index, int sims, double mean, double deviation, double lead, bool converged) {
  const bool win = game.maximizeWinProb;
  std::string text;
  if (lead != kNoBest) {
    text = win ? FormatText("M%02d - %d sims, %.2f%% mean, %.2f stdev (lead %.2f%%)\n", index, sims, mean, deviation, lead)
               : FormatText("M%02d - %d sims, %+.2f mean, %.2f stdev (lead %+.2f)\n", index, sims, mean, deviation, lead);
  } else if (converged) {
    text = win ? FormatText("M%02d - %d sims, %.2f%% mean, %.2f stdev \n", index, sims, mean, deviation)
               : FormatText("M%02d - %d sims, %+.2f mean, %.2f stdev \n", index, sims, mean, deviation);
  } else {
    text = win ? FormatText("M%02d - %d sims, %.2f%% mean, %.2f stdev\n", index, sims, mean, deviation)
               : FormatText("M%02d - %d sims, %+.2f mean, %.2f stdev\n", index, sims, mean, deviation);
  }
  say(game, text);
}

// One candidate of the threaded lookahead, on the worker's own game copy.
void simulateCandidate(CandidateTask task) {
  Game& game = *task.game;
  Move& candidate = task.candidate;
  const bool byWin = game.maximizeWinProb;
  const bool known = task.useKnownRacks && task.knownRacks && !task.knownRacks->empty();
  candidate.simValueA = 0;
  candidate.simValueB = 0;
  const int limit = task.iterationLimit;
  const double stdevStop = limit == 0 && task.stdevStop < 0.001 ? 0.1 : task.stdevStop;
  double lowestMean = 10000000.0;
  int worseRun = 0, flatRun = 0;
  double lead = task.lead;
  IterationSums sums;
  PositionSnapshot snapshot;
  std::vector<double> history;
  history.reserve(1000);
  double mean = 0, deviation = 0;
  const int number = task.moveIndex + 1;

  auto store = [&](float tracked, float other, int count) {
    if (byWin) {
      candidate.simValueB = tracked;
      candidate.simValueA = other;
    } else {
      candidate.simValueA = tracked;
      candidate.simValueB = other;
    }
    candidate.simCount = count;
    candidate.simPly = task.ply;
    candidate.simByWinProb = byWin ? 1 : 0;
  };
  auto trackedSum = [&] { return byWin ? sums.win : sums.spread; };
  auto otherSum = [&] { return byWin ? sums.spread : sums.win; };

  int i = 1;
  bool stopped = false;
  for (; limit == 0 || i <= limit; ++i) {
    const float shared = sharedBest();
    if (shared != kNoBest && shared != lead) lead = shared;
    RunIteration(game, candidate, known ? task.knownRacks : nullptr, task.table, sums, snapshot);
    const double running = trackedSum() / i;
    if (history.size() == 1000) history.erase(history.begin(), history.end() - 200);
    history.push_back(running);
    lowestMean = std::min(lowestMean, sums.spread / i);
    if (i >= 80) {
      lastStats(history, 80, mean, deviation);
      const double z = deviationsBelow(lead, mean, deviation);
      worseRun = ((i >= 120 && z > 4.0) || (i >= 90 && z > 8.0)) ? worseRun + 1 : 0;
      if (worseRun > 4) {
        progressLine(game, number, i, mean, deviation, lead, false);
        store(static_cast<float>(mean), static_cast<float>(otherSum() / i), i);
        stopped = true;
        break;
      }
      flatRun = deviation < stdevStop ? flatRun + 1 : 0;
      if (flatRun > 4) {
        const double tracked = trackedSum() / i;
        progressLine(game, number, i, tracked, deviation, lead, true);
        store(static_cast<float>(tracked), static_cast<float>(otherSum() / i), i);
        stopped = true;
        break;
      }
      if (!byWin && deviation < 1.0 && i >= 120) raiseSharedBestBar(static_cast<float>(lowestMean), static_cast<float>(deviation));
    }
    if (abortRequested()) {
      store(static_cast<float>(trackedSum() / i), static_cast<float>(otherSum() / i), i);
      stopped = true;
      break;
    }
  }
  if (!stopped) {
    const int count = limit;
    store(static_cast<float>(trackedSum() / count), static_cast<float>(otherSum() / count), count);
    progressLine(game, number, count, trackedSum() / count, deviation, lead, false);
  }
  raiseSharedBest(byWin ? candidate.simValueB : candidate.simValueA);
  *task.result = candidate;
}

// With every tile known, the endgame search looks for a winning line
// first; when it finds one its values stand for the simulation's. True
// when the simulation is then finished.
bool endgameShortcut(Game& game, const SimulationClock& clock) {
  say(game, "2-player end game detected. Using end game code to check for a winning move...\n");
  ComputerEndgame(game);
  std::vector<Move>& list = activeList(game);
  if (list.empty() || list.front().equity <= 0 || list.front().equity == kNotSearched) {
    say(game, "No winning move path found, continuing with simulation...\n");
    return false;
  }
  say(game, "Winning move path found!\n");
  for (Move& move : list) {
    if (move.equity == kNotSearched) {
      move.simValueA = kNoSimValue;
      move.simValueB = 0;
    } else {
      move.simValueA = static_cast<float>(move.equity);
      move.simValueB = move.equity >= 1 ? 100.0f : 0.0f;
    }
  }
  SortSimulated(game);
  game.knownRacks.clear();
  SaySimulationFinished(game, clock);
  return true;
}

}  // namespace

void SimulateThreaded(Game& game, int threads, int ply, double stdevStop) {
  if (game.playerCount <= 0 || game.gameOver || !game.lexicon) return;
  threads = std::max(1, threads);
  SimulationClock& clock = simulationClock();
  clock.start();
  setSimulationTimedOut(false);
  SimulationScope scope(game);
  if (IsEndgame(game) && endgameShortcut(game, clock)) return;
  StrategyZeroAsTwo swap(game);
  const bool knownInUse = PrepareKnownRacks(game, threads);
  // The copies below read the driver's list; they need none of their own.
  std::vector<Rack> knownRacks = std::move(game.knownRacks);
  game.knownRacks.clear();

  game.unseenPoolEvaluation = true;
  GenerateMoves(game, Generation::fullList);
  game.unseenPoolEvaluation = scope.unseenPool();
  game.targetTurn = game.moveNumber + ply;
  game.winProbAtHorizon = WinProbAtHorizon(game);
  std::vector<Move>& list = activeList(game);
  const std::shared_ptr<const WinProbTable> table = sharedWinProbTable(game.playerCount);

  const int size = static_cast<int>(list.size());
  std::array<int, kSpecialMoves> special = findSpecialMoves(list);
  specialMoveSlots() = special;
  std::array<bool, kSpecialMoves> taken{};
  for (int s = 0; s < kSpecialMoves; ++s) taken[static_cast<std::size_t>(s)] = special[static_cast<std::size_t>(s)] < 0;
  auto untaken = [&] {
    int n = 0;
    for (const bool t : taken) n += t ? 0 : 1;
    return n;
  };

  // One copy of the game per slot, each with a generator of its own.
  std::vector<std::unique_ptr<Game>> copies;
  for (int k = 0; k < threads && size > 0; ++k) {
    copies.push_back(std::make_unique<Game>(game));
    copies.back()->random.seed(static_cast<std::uint32_t>(game.random.next()) ^ (0x9E3779B9u * static_cast<std::uint32_t>(k + 1)));
    copies.back()->quiet = game.quiet;
  }

  int limit = size, next = 0, sinceBest = 0;
  bool shrunk = false;
  float best = kNoBest;
  setSharedBest(best);
  while (next < limit && size > 0) {
    // The slots of this wave and the moves they take.
    std::vector<int> indexes;
    for (int k = next; k < next + threads && k < limit; ++k) {
      int index = k;
      if (k >= limit - untaken()) {
        for (int s = 0; s < kSpecialMoves; ++s) {
          if (!taken[static_cast<std::size_t>(s)]) {
            index = special[static_cast<std::size_t>(s)];
            taken[static_cast<std::size_t>(s)] = true;
            break;
          }
        }
      } else {
        for (int s = 0; s < kSpecialMoves; ++s) {
          if (special[static_cast<std::size_t>(s)] == k) taken[static_cast<std::size_t>(s)] = true;
        }
      }
      indexes.push_back(index);
    }
    std::vector<std::unique_ptr<WorkerThread>> workers;
    std::vector<Move> results(indexes.size());
    for (std::size_t slot = 0; slot < indexes.size(); ++slot) {
      CandidateTask task;
      task.game = copies[slot].get();
      task.candidate = list[static_cast<std::size_t>(indexes[slot])];
      task.result = &results[slot];
      task.moveIndex = indexes[slot];
      task.ply = ply;
      task.stdevStop = stdevStop;
      task.lead = best;
      task.table = table.get();
      task.useKnownRacks = knownInUse;
      task.knownRacks = &knownRacks;
      workers.push_back(std::make_unique<WorkerThread>([task] { simulateCandidate(task); }));
    }
    bool unfinished = false;
    for (auto& worker : workers) {
      worker->join();
      if (!worker->finished()) unfinished = true;
    }
    for (std::size_t slot = 0; slot < indexes.size(); ++slot) {
      if (!workers[slot]->started()) continue;
      const auto index = static_cast<std::size_t>(indexes[slot]);
      const Move& result = results[slot];
      Move& move = list[index];
      move.simValueA = result.simValueA;
      move.simValueB = result.simValueB;
      move.simCount = result.simCount;
      move.simPly = result.simPly;
      move.simByWinProb = result.simByWinProb;
      ++sinceBest;
      const float key = game.maximizeWinProb ? move.simValueB : move.simValueA;
      if (key > best) {
        best = key;
        sinceBest = 0;
      }
    }
    setSharedBest(best);
    if (unfinished) {
      setSimulationTimedOut(true);
      break;
    }
    if (game.timeBudget > 0 && clock.hundredths() > game.timeBudget) {
      say(game, "Out of time in simulation...\n");
      setSimulationTimedOut(true);
      break;
    }
    if (!shrunk && sinceBest > 20) {
      shrunk = true;
      int shrink = next + threads + untaken();
      shrink = (shrink + threads - 1) / threads * threads;
      limit = std::min(shrink, size);
    }
    if (abortRequested()) break;
    next += threads;
  }

  // Passes and exchanges sink after too many scoreless turns with a small lead.
  if (game.scorelessTurns >= 2 * game.playerCount && leadOf(game, game.toMove) < 30) {
    for (Move& move : list) {
      if (isNonPlacement(move)) {
        move.simValueA -= 500.0f;
        move.simValueB = 0;
      }
    }
  }
  SortSimulated(game);
  game.knownRacks.clear();
  SaySimulationFinished(game, clock);
}

}  // namespace pexil
