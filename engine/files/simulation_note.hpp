// The note a simulated move carries into game records and recaps: how it
// was simulated and what it scored, e.g. "2-ply winprob simulation (480),
// +12.34 / 61.2%" or "Pre-endgame evaluation, +3.00 / 75.0%".
#pragma once

#include <string>

#include "state/move.hpp"

namespace pexil {

// Empty when the move carries no simulation result.
std::string SimulationNoteText(const Move& move);

}  // namespace pexil
