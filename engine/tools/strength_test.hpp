// The strength tests: the computer player plays itself, one seat with an
// experimental play flag, in pairs of games with the seats swapped; every
// finished game is written as "strength.gcg" with notes (the benchmark
// rates, the players' ARRV figures, the date) and uploaded to the results
// server.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "net/upload.hpp"
#include "search/timed_move.hpp"
#include "state/game.hpp"

namespace pexil {

// One hour, the clock each player gets per game (hundredths).
inline constexpr int kStrengthClock = 360000;
// The redraws per rated move of the ARRV figures.
inline constexpr int kArrvRedraws = 300;
inline constexpr std::uint32_t kArrvSeed = 0x41525256u;

// ARRV, the average rack rating versus the field: per player, the mean of
// the percentile ratings of the racks they drew over the game (RateRackDraws,
// with kArrvRedraws seeded redraws per move) less 50. Positive: luckier
// draws than an average draw; 0 for a player without rated draws.
std::array<double, 2> ArrvFigures(const Game& game, int redraws = kArrvRedraws, std::uint32_t seed = kArrvSeed);

// The three notes a strength-test record gets: the benchmark rates
// ("Benchmarks: a/b/.../i" or "No benchmark data available."), the ARRV
// figures ("ARRV: %+.2f / %+.2f") and the UTC time as "10Dec2026 15:04:05".
std::vector<std::string> StrengthNotes(const std::optional<BenchmarkRates>& rates, const std::array<double, 2>& arrv,
                                       std::time_t when);

// A player's name in a strength test: "Pexil <version> xpf <n>" for the
// experimental seat, "Pexil <version> no xpf <n>" for the other.
std::string StrengthPlayerName(bool experimental, int flag);

struct StrengthOptions {
  int games = 0;  // games to play; 0: until aborted
  // The results server (empty: upload is not set up; the record is kept).
  std::string host;
  int port = 80;
  // The random choices (game type, seats, flag values); 0: from the clock.
  std::uint32_t seed = 0;
  // The game type; empty: one of the two English types at random.
  std::string gameType;
  std::optional<BenchmarkRates> benchmarks;
  std::string recordPath = kUploadFileName;
  // Plays one move for the player to move; empty: the timed move.
  std::function<void(Game&)> playMove;
};

struct StrengthOutcome {
  int gamesFinished = 0;
  int uploaded = 0;
  std::string lastRecord;  // the text of the last record written
};

// Runs the tests on one thread until `games` are finished or the user
// aborts. The experimental flag is off again afterwards.
StrengthOutcome RunStrengthTests(const StrengthOptions& options = {});

}  // namespace pexil
