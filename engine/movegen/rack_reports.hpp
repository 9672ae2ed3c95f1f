// The rack-value reports: the estimated value of every keep of the current
// rack, and the median rack draw of the "Give median rack draws" option.
#pragma once

#include "rules/random.hpp"
#include "state/game.hpp"

namespace pexil {

// Prints "Estimated value of rack leaves": for every distinct subset of
// the mover's rack, the mean full-rack value of 12,000 random refills from
// the mover's unseen tiles (or, when they cannot fill the rack, the leave
// value of the subset), lowest first, the whole rack highlighted.
void EstimateLeaveValues(Game& game);

// Refills the player's rack from the bag with the median of 1,001 random
// refills ranked by full-rack value, steering blanks with the player's
// blank countdown (game.rackTags[player]): once it runs below 0 a blank is
// put on the rack first; once the player holds a blank it is 999999 and the
// median steps aside from refills that bring another one.
void MedianRackDraw(Game& game, int player);

// The random redraws a drawn rack is rated against, and how often the
// rating reports its progress.
inline constexpr int kRackDrawRedraws = 4000;
inline constexpr int kRackDrawProgressEvery = 500;

// Rates the tiles `player` drew after a move ("Rate current rack draw").
// `game` stands in the position after the move (its board and scores),
// `leave` holds the tiles the player kept and `newRack` the rack after
// drawing, so the draw is newRack less leave. `redraws` random draws of as
// many tiles from the player's unseen tiles (every tile not on the board
// and not kept) are valued like the real one, by the equity of the best
// move of best-only generation with that rack. The result is the
// percentile of the real draw among them, ties counting half: 0 for the
// worst luck, 100 for the best. "%d..." is printed every 500 redraws. 50
// when no tile was drawn; negative when newRack does not hold the leave or
// the unseen tiles cannot have supplied the draw. The game is not changed.
double RateRackDraw(const Game& game, int player, const Rack& leave, const Rack& newRack, int redraws,
                    GameRandom& random);

// The countdown value that marks a player who has received a blank.
inline constexpr int kBlankReceived = 999999;

}  // namespace pexil
