// The exact endgame solver's search: full-width negamax with alpha-beta on
// a lean copy of the position, with a transposition table, to a depth in
// placements (passes are not counted: they are bounded by the pass limit).
// Values are points the player to move gains on the opponent from
// the position to the end of the game, end-of-game rack adjustments
// included; a value is "final" when no line under it stopped at the depth
// limit, and then it is the exact result of perfect play.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "movegen/lean_board.hpp"
#include "search/cpu_time.hpp"
#include "movegen/lean_generator.hpp"
#include "search/exact_table.hpp"
#include "state/game.hpp"

namespace pexil {

// The position and the rules of its end, read once from the game; every
// searcher starts from a copy.
struct ExactStart {
  LeanBoard board;
  std::array<LeanRack, 2> racks{};
  std::array<int, 2> scores{};
  int toMove = 0;
  int passesLeft = 0;     // passes in a row that end the game from here
  int passLimit = 0;      // passes in a row that end it after a placement
  int scorelessLimit = 0; // scoreless turns in a row that end it after a placement
  bool scorelessWithZeroScores = true;  // false: no scoreless end while both scores are 0
  bool doubledEndScoring = true;
  int blankCode = 26;
  std::array<int, 32> tileValues{};  // per letter code, the blank's at blankCode
  const Game* barred = nullptr;      // the game, when it bars words for a player

  // Fills everything from the game; false when the game is no two-player
  // game with an empty bag and tiles on both racks, is over, is played
  // under the anagram rule, or a rack is too large.
  bool load(const Game& game);
  // The value of the rack's tiles.
  int rackValue(const LeanRack& rack) const;
};

// How searches stop early: a shared flag, raised by the first searcher that
// sees the deadline pass or the process-wide abort flag.
struct ExactStop {
  std::atomic<bool> stop{false};
  bool hasDeadline = false;
  std::chrono::steady_clock::time_point deadline{};
  // Else a deadline in seconds of the process's CPU time.
  bool hasCpuDeadline = false;
  double cpuDeadline = 0;
};


class ExactSearcher {
 public:
  ExactSearcher(const ExactStart& start, ExactTable& table, const ExactKeys& keys, ExactStop& stop);

  // Every move of the player to move at the start: the placements, then
  // the pass.
  static void rootMoves(const ExactStart& start, std::vector<LeanMove>& moves);
  // The value of playing `move` at the start, searched `depth` placements deep
  // in all (the move included), within the window (alpha, beta). `final`
  // tells whether the value is proved to the end of the game.
  int valueOfRootMove(const LeanMove& move, int depth, int alpha, int beta, bool& final);

  long long nodes() const { return nodes_; }
  bool stopped() const { return stopped_; }
  // The identity of a move as the table keeps it (never 0).
  static std::uint32_t moveIdentity(const LeanMove& move);

 private:
  int search(int ply, int depth, int alpha, int beta, bool& final);
  // The value of the move for the player to move, the child searched
  // `depth` placements deep.
  // `key` is the child's key when known, else 0.
  int valueOf(int ply, const LeanMove& move, int depth, int alpha, int beta, bool& final, std::uint64_t key = 0);
  // A move that ends the game (going out, or the last pass) has its value
  // at once.
  bool endsGame(const LeanMove& move) const;
  int endValue(const LeanMove& move) const;
  void play(int ply, const LeanMove& move);
  void takeBack(int ply, const LeanMove& move);
  // Passes in a row that end the game after a placement that leaves the
  // scores at `scores`.
  int passesAfterPlacement(const std::array<int, 2>& scores) const;
  // The key of the position after the move.
  std::uint64_t childKey(const LeanMove& move) const;
  void pollStop();

  const ExactStart& start_;
  ExactTable& table_;
  const ExactKeys& keys_;
  ExactStop& stop_;
  LeanGenerator generator_;

  LeanBoard board_;
  std::array<LeanRack, 2> racks_{};
  std::array<int, 2> rackValues_{};
  std::array<int, 2> scores_{};
  int toMove_ = 0;
  int passesLeft_ = 0;
  std::uint64_t key_ = 0;

  // Per ply: the moves, their order, the undo of the move played, and
  // what the move changed besides the board.
  // Killer moves: the latest plays that refuted a position at the ply,
  // with their words' letters, tried (when they still fit) before any
  // generation.
  struct Killer {
    LeanMove move;
    std::array<std::int8_t, kMaxWordLength> letters{};
  };
  struct PlyState {
    std::vector<LeanMove> moves;
    std::vector<std::uint64_t> order;
    std::vector<std::uint64_t> childKeys;  // one ply from the horizon
    LeanUndo undo;
    int passesBefore = 0;
    std::uint64_t keyBefore = 0;
    std::array<Killer, 2> killers{};
  };
  std::vector<std::unique_ptr<PlyState>> plies_;  // each stays in place as more are added
  PlyState& plyState(int ply);

  // The best move found for a position, by its key: tried before any
  // generation, since it often refutes the move before it on its own.
  struct BestMoveSlot {
    std::uint64_t key = 0;
    LeanMove move;
  };
  std::vector<BestMoveSlot> bestMoves_;
  // The remembered best move of the current position when it can be
  // played here, else null.
  const LeanMove* rememberedMove() const;
  void remember(const LeanMove& move);
  // Keeps a move that refuted the position at the ply as its first killer.
  void addKiller(PlyState& state, const LeanMove& move);

  // How often each play (by its identity, folded) was the best move or a
  // refutation, weighted by the depth below: orders the plays that neither
  // the table nor the killers name. The same plays recur all over an
  // endgame's tree, since most moves leave most of the board alone.
  static constexpr std::size_t kHistorySlots = std::size_t{1} << 16;
  std::vector<std::uint32_t> history_;
  void addHistory(const LeanMove& move, int depth);

  long long nodes_ = 0;
  bool stopped_ = false;
};

}  // namespace pexil
