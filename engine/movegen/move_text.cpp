#include "movegen/move_text.hpp"

#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "text/messages.hpp"

namespace pexil {

std::string moveWordText(const Move& move) {
  std::string word(move.wordView());
  if (isNonPlacement(move)) return word;
  for (std::size_t i = 0; i < word.size(); ++i) {
    word[i] = move.isBlankAt(static_cast<int>(i)) ? latin1Lower(word[i]) : latin1Upper(word[i]);
  }
  return word;
}

std::string briefMoveText(const Move& move) {
  if (isNonPlacement(move)) return FormatText("%s %d", move.word, move.score);
  return FormatText("%s %s %d", moveWordText(move).c_str(),
                    movePosition(move.direction, move.column, move.row, true).c_str(), move.score);
}

}  // namespace pexil
