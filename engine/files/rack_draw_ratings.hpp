// Rack-draw ratings: how lucky each player's draws were over a game. The
// game's history is replayed from the start; after every move the tiles
// its player drew are rated against random redraws (RateRackDraw), and the
// ratings make a report of one line per move and an average per player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "movegen/rack_reports.hpp"
#include "state/game.hpp"

namespace pexil {

struct RackDrawOptions {
  // Random redraws per rated move.
  int redraws = kRackDrawRedraws;
  // The redraws after history entry n come from a generator seeded with
  // (seed, n), so a rating does not depend on the others.
  std::uint32_t seed = 0;
  // Rate only this player's draws (-1: every player's), e.g. a human's
  // own while the opponent's racks are still hidden.
  int onlyPlayer = -1;
};

// One rated move.
struct RackDrawRating {
  int entry = 0;         // history entry number, from 1
  int player = 0;        // player index
  std::string leave;     // the tiles kept, as the user reads them
  std::string newRack;   // the rack after drawing, likewise
  double rating = 50.0;  // percentile, 0..100; 50 when no tile was drawn
};

// Rates the draw after every move of the game's history. The rack drawn
// after a move is the rack its player holds before their next move, or,
// after their last move, the rack the game holds now. Moves whose racks
// the history does not know, or whose racks do not fit together, are left
// out. The game is not changed.
std::vector<RackDrawRating> RateRackDraws(const Game& game, const RackDrawOptions& options = {});

// The report: the heading "Move\tPlayer\tLeave\tNew Rack\tPercentile
// rating", a line per rating, then for every player the mean of their
// ratings and how many there were (50 for a player without any).
std::vector<std::string> RackDrawReportLines(const Game& game, const std::vector<RackDrawRating>& ratings);

}  // namespace pexil
