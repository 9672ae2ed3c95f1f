// The process-wide state of the endgame searches (one search at a time):
// the options read while a search runs, its time-out flag and stopwatch,
// and the best move of the previous search, which orders the next one.
#pragma once

#include <atomic>
#include <chrono>
#include <optional>

#include "state/game.hpp"

namespace pexil {

inline constexpr int kNotSearched = -9999999;

struct EndgameOptions {
  // Searches wins harder near the root ("GreedierEndgame"); off while the
  // anagram rule is in play.
  bool greedier = false;
  // The computer's endgame searches run the exact solver ("ExactEndgame").
  bool exact = false;
  // Nodes the static endgame may visit: 1,000,000, lowered to 100,000
  // while the pre-endgame values rack draws and for strategy 52.
  long long staticNodeBudget = 1000000;
};
EndgameOptions& endgameOptions();

// The greedier option as the running search uses it (set by the driver
// from the option and the rules).
bool greedierInEffect();
void setGreedierInEffect(bool on);

bool endgameTimedOut();
void setEndgameTimedOut(bool value);
// Sets the flag; true for the caller that set it first (who prints the
// time-out message).
bool markEndgameTimedOut();

// The stopwatch of the running endgame search.
void startEndgameClock();
// Hundredths of a second since the search started.
long long endgameHundredths();

// The best move of the previous endgame search.
std::optional<Move> rememberedEndgameMove();
void rememberEndgameMove(const Move& move);
void forgetEndgameMove();

// Sets the static node budget for a scope and restores it after.
class StaticNodeBudgetScope {
 public:
  explicit StaticNodeBudgetScope(long long budget) : saved_(endgameOptions().staticNodeBudget) {
    endgameOptions().staticNodeBudget = budget;
  }
  ~StaticNodeBudgetScope() { endgameOptions().staticNodeBudget = saved_; }
  StaticNodeBudgetScope(const StaticNodeBudgetScope&) = delete;
  StaticNodeBudgetScope& operator=(const StaticNodeBudgetScope&) = delete;

 private:
  long long saved_;
};

}  // namespace pexil
