// The computer's move against a person: on the clock (the timed move,
// which shares the player's remaining time out over the moves left and
// picks the lookahead's depth from the time it allows), or at a set
// simulation depth.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/game.hpp"

namespace pexil {

// Twenty minutes, the clock an unset clock is given.
inline constexpr int kDefaultGameClock = 120000;

// Plays the timed move for the player to move and returns it (nothing when
// the game is over).
Move PlayTimedMove(Game& game);

// Plays the move the fast lookahead finds at `ply` plies (the endgame
// search in the endgame) and returns it.
Move PlayFixedDepthMove(Game& game, int ply);

// The pieces of the clock management, for the tests.

// The endgame search's budget for a clock of `clock` hundredths.
int EndgameTimeBudget(int clock);

// Why the timed move plays the first move of the list at once, or none.
// The list is the full list by equity.
std::optional<std::string> FastWayReason(const Game& game, const std::vector<Move>& list, int clock);

// The hundredths one move may take: `halfMoves` the estimate of half-moves
// left before the endgame (at least 3; 2 more are added with more than 20
// tiles in the bag).
int TimePerMove(int clock, int halfMoves, int bagTiles, int players);

// The nine benchmark rates (evaluations per thread-second): early game
// with 0, 1, 2 blanks on the rack; mid game with 2, 1, 0 blanks unseen;
// late game with 2, 1, 0 blanks unseen.
using BenchmarkRates = std::array<double, 9>;
// The rates the benchmarks stored, when they did (none of them 0): the
// front end hands them over from the settings store at start-up.
std::optional<BenchmarkRates> storedBenchmarkRates();
void setStoredBenchmarkRates(const std::optional<BenchmarkRates>& rates);
// The first and second rates for a position: blanks unseen by the mover,
// blanks on its rack, tiles in the bag, and the word list's size and name.
struct PositionRates {
  double first = 0;
  double second = 0;
};
PositionRates RatesForPosition(const BenchmarkRates& rates, int blanksUnseen, int blanksOnRack, int bagTiles, int words,
                               const std::string& listName);

// The ply for a budget of g hundredths on `threads` threads: from the
// rates when given, else from the fallback table; then at least 3, and 3
// on the opening move.
int PlyForBudget(int g, int threads, const std::optional<PositionRates>& rates, int blanksUnseen, bool openingMove);

// Estimates the half-moves left before the endgame: ten quick playouts of
// best-only moves from the position (racks filled at random).
int EstimateHalfMoves(Game& game);

// A clock reading as "[mm:ss.hh]" or "[h:mm:ss.hh]", "-" for negative
// times.
std::string ClockText(int hundredths);

// A time typed as whole minutes ("25", at most 10000) or "mm:ss" (seconds
// in two digits), blanks around it allowed, in hundredths of a second;
// none for zero or anything else.
std::optional<int> ParseClockTime(std::string_view typed);

}  // namespace pexil
