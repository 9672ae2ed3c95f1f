// The rack-value reports: the estimated value of every keep of the current
// rack, and the median rack draw of the "Give median rack draws" option.
#pragma once

#include "game/game.hpp"

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

// The countdown value that marks a player who has received a blank.
inline constexpr int kBlankReceived = 999999;

}  // namespace pexil
