// bench endgame: endgame searches over seeded self-play endgames.
#pragma once

#include "options.hpp"

namespace pexil::cli {

// 100 (--positions N) two-player positions with an empty bag and 20 with
// one tile in the bag, from seeded static self-play; each search of the
// table solves the empty-bag ones and reports the median, 90th percentile
// and worst time, nodes per second and a checksum of its values. The
// one-tile positions are listed. --threads N (1), --seconds S (60: the
// most one search may take; one that runs out counts as unsolved).
int benchEndgame(const ParsedOptions& options);

}  // namespace pexil::cli
