// Lookahead simulation: candidates played on private copies of the
// position, the opponents given random racks from the unseen tiles, a
// fixed number of further turns played with best-only generation, and the
// spread (and win chance) at the horizon averaged over the iterations.
// The averages become the moves' simValueA/simValueB and the list's sort
// key. Two engines: a plain single-threaded loop over the best moves, and
// the threaded lookahead with one candidate per worker, each stopped once
// it is shown worse than the leader or has converged.
#pragma once

#include <vector>

#include "state/game.hpp"
#include "state/move.hpp"
#include "tables/win_prob.hpp"

namespace pexil {

// Engine 1. The strategies pass (1, 200, 0.25, 10), (2, 200, 0.25, 10),
// (2, 300, 0.25, 10), (5, 300, 0.25, 10) and (2, 300, 0.2, 15).
void SimulateSingleThreaded(Game& game, int ply, int iterations, double stdevStop, int maxCandidates);

// Engine 2, on `threads` workers; stdevStop 0.1 (0.02 for the win-chance
// strategies of 2 and 3 plies).
void SimulateThreaded(Game& game, int threads, int ply, double stdevStop);

// The sums of one candidate's iterations.
struct IterationSums {
  double spread = 0;
  double win = 0;
};

// One iteration for the candidate (the player to move plays it) on the
// game: opponents' racks redrawn from the unseen tiles (the previous
// player's from the known racks when given), the candidate and then
// best-only moves played silently until the turn counter passes
// game.targetTurn, the outcome added to the sums, the position restored.
// With a table (the threaded engines) the horizon's win chance comes from
// it while game.winProbAtHorizon holds; otherwise a win is a spread above
// 0. The snapshot is the iteration's scratch space.
class PositionSnapshot;
void RunIteration(Game& game, const Move& candidate, const std::vector<Rack>* knownRacks, const WinProbTable* table,
                  IterationSums& sums, PositionSnapshot& snapshot);

// Whether the horizon's win chance is read from the tables: 2 to 4 players,
// the standard layout and English tiles, fewer than 120 tiles in the bag.
bool WinProbAtHorizon(const Game& game);

// The chance in percent that `mover`, who has just moved, wins with `lead`:
// the win-probability table read with the tiles unseen by the mover (bag and
// the other racks) and the blank state from the mover's side.
double HorizonWinChance(const Game& game, const WinProbTable& table, int mover, int lead);

// The search mode and the flags a simulation switches for its own run
// (the solitaire player's win-probability sort among them), restored on
// every way out.
class SimulationScope {
 public:
  explicit SimulationScope(Game& game);
  ~SimulationScope();
  SimulationScope(const SimulationScope&) = delete;
  SimulationScope& operator=(const SimulationScope&) = delete;
  // The caller's setting, for the generation that wants it back.
  bool unseenPool() const { return unseenPool_; }

 private:
  Game& game_;
  SearchMode searchMode_;
  bool announceSenyors_, unseenPool_, maximizeWinProb_;
};

// A progress line of a simulation (nothing for a quiet game), the workers'
// lines kept whole.
void SimulationSay(const Game& game, const std::string& text);

// The known racks of the previous player for a simulation: the user's known
// tiles, or else, when the game asks for the guess, one from that player's
// last move; says which are used. True when the simulation uses them.
bool PrepareKnownRacks(Game& game, int threads);

// Players with strategy 0 play strategy 2 while a simulation runs; the
// strategies come back at its end.
class StrategyZeroAsTwo {
 public:
  explicit StrategyZeroAsTwo(Game& game);
  ~StrategyZeroAsTwo();
  StrategyZeroAsTwo(const StrategyZeroAsTwo&) = delete;
  StrategyZeroAsTwo& operator=(const StrategyZeroAsTwo&) = delete;

 private:
  Game& game_;
  std::array<int, kMaxPlayers> saved_;
};

// Prints "Simulation done/timed out/aborted: s.hh seconds" and keeps the
// elapsed time for the benchmarks.
class SimulationClock;
void SaySimulationFinished(const Game& game, const SimulationClock& clock);

// Sorts the active list stably by the simulation's key: simValueA, or
// with maximizeWinProb simValueB (then not "(Pass)" first, then simValueA),
// or with mixedOptimization simValueC; highest first.
void SortSimulated(Game& game);

// The position a simulated iteration changes, saved and restored around
// it (racks, scores, bag, board, turn counters, end state). The board's
// transposition scratch is not part of the position and is left alone.
class PositionSnapshot {
 public:
  void save(const Game& game);
  void restore(Game& game) const;

 private:
  std::vector<Square> squares_;
  std::vector<std::uint8_t> columnHasNew_;
  std::vector<std::uint8_t> rowHasNew_;
  int width_ = 0;
  int height_ = 0;
  const Lexicon* boardLexicon_ = nullptr;
  int phonyLengthLimit_ = 999;
  Well bag_;
  std::array<Rack, kMaxPlayers> racks_{};
  std::array<int, kMaxPlayers> scores_{};
  std::array<std::string, kMaxPlayers> exchangedLast_{};
  Move lastMove_;
  int moveNumber_ = 0;
  int toMove_ = 0;
  int scorelessTurns_ = 0;
  int consecutivePasses_ = 0;
  bool gameOver_ = false;
  bool moveJustPlayed_ = false;
  bool clockRunning_ = false;
  bool hasPatternReference_ = false;
  int patternReference_ = 0;
  std::size_t scoreChanges_ = 0;
  std::size_t history_ = 0;
};

}  // namespace pexil
