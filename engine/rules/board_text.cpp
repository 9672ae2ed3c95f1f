#include "rules/board_text.hpp"

#include <cstdio>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"

namespace pexil {

std::vector<std::string> boardTextLines(const Board& board) {
  const bool lettered = letteredRows();
  std::vector<std::string> lines;
  // Column labels: letters, or with lettered rows the column numbers written
  // as a tens line and a units line, one character per square.
  std::vector<std::string> header;
  if (lettered) {
    std::string tens = "    ", units = "    ";
    for (int c = 0; c < board.width; ++c) {
      const int n = c + 1;
      tens.push_back(n >= 10 ? static_cast<char>('0' + n / 10) : ' ');
      units.push_back(static_cast<char>('0' + n % 10));
    }
    header = {tens, units};
  } else {
    std::string letters = "    ";
    for (int c = 0; c < board.width; ++c) letters.push_back(indexLetter(c));
    header = {letters};
  }
  lines.insert(lines.end(), header.begin(), header.end());
  lines.emplace_back();
  for (int r = 0; r < board.height; ++r) {
    const std::string label = lettered ? std::string(1, indexLetter(r)) : std::to_string(r + 1);
    char left[8];
    std::snprintf(left, sizeof left, "%3s ", label.c_str());
    std::string line = left;
    for (int c = 0; c < board.width; ++c) {
      const Square& s = *squareAt(board, c, r);
      if (s.empty()) {
        line.push_back(squarePrintChar(r, c));
      } else {
        line.push_back(s.isBlank ? latin1Lower(s.letter) : latin1Upper(s.letter));
      }
    }
    line += label.size() < 2 ? "  " : " ";
    line += label;
    lines.push_back(std::move(line));
  }
  lines.emplace_back();
  lines.insert(lines.end(), header.begin(), header.end());
  lines.emplace_back();
  return lines;
}

}  // namespace pexil
