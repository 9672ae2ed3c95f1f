#include "files/simulation_note.hpp"

#include "movegen/move_line.hpp"
#include "text/messages.hpp"

namespace pexil {

std::string SimulationNoteText(const Move& move) {
  if (move.simPly <= 0 || move.simValueA == kNoSimValue) return std::string();
  std::string text;
  if (move.simCount == kPreEndgameCountMark) {
    text += Message(msg::PreEndgameEvaluation);
    text += ", ";
  } else {
    text += FormatText("%d-ply ", move.simPly);
    text += Message(move.simByWinProb ? msg::SimByWinProb : msg::SimBySpread);
    text += FormatText(" (%d), ", move.simCount);
  }
  text += FormatText("%+.2f / %.1f%%", static_cast<double>(move.simValueA), static_cast<double>(move.simValueB));
  return text;
}

}  // namespace pexil
