#include "rules/notation.hpp"

#include "rules/board.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"

namespace pexil {

char indexLetter(int index) {
  if (index < 0) return '?';
  return index <= 25 ? static_cast<char>('A' + index) : static_cast<char>('a' + (index - 26));
}

namespace {

// Concatenates the pieces of a position ("8D", "H4w").
std::string join(char letter, int number, bool letterFirst, const char* suffix = "") {
  std::string text;
  if (letterFirst) text.push_back(letter);
  text += std::to_string(number);
  if (!letterFirst) text.push_back(letter);
  text += suffix;
  return text;
}

}  // namespace

std::string squareName(int column, int row) {
  if (letteredRows()) return join(indexLetter(row), column + 1, true);
  return join(indexLetter(column), row + 1, true);
}

std::string movePosition(int direction, int column, int row, bool regional) {
  const bool across = direction == kAcross;
  if (regional && wordListAlphabet() == kAlphabetGerman) {
    return join(indexLetter(row), column + 1, true, across ? "w" : "s");
  }
  if (regional && letteredRows()) {
    return across ? join(indexLetter(row), column + 1, true) : join(indexLetter(row), column + 1, false);
  }
  return across ? join(indexLetter(column), row + 1, false) : join(indexLetter(column), row + 1, true);
}

}  // namespace pexil
