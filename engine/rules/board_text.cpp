#include "rules/board_text.hpp"

#include <cstdio>

#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/notation.hpp"
#include "text/highlight_marks.hpp"

namespace pexil {
namespace {

// A tile that was not on the board before: one of the last move's.
bool newlyLaid(const Board& board, const Board* before, int column, int row) {
  if (before == nullptr || before->width != board.width || before->height != board.height) return false;
  const Square* now = squareAt(board, column, row);
  const Square* then = squareAt(*before, column, row);
  return now != nullptr && then != nullptr && !now->empty() && then->empty();
}

}  // namespace

std::vector<std::string> boardTextLines(const Board& board, const Board* before) {
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
    bool highlighted = false;
    for (int c = 0; c < board.width; ++c) {
      const bool laidLast = newlyLaid(board, before, c, r);
      if (laidLast != highlighted) {
        line.push_back(kHighlightMark);
        highlighted = laidLast;
      }
      const Square& s = *squareAt(board, c, r);
      if (s.empty()) {
        line.push_back(squarePrintChar(r, c));
      } else {
        line.push_back(s.isBlank ? latin1Lower(s.letter) : latin1Upper(s.letter));
      }
    }
    if (highlighted) line.push_back(kHighlightMark);
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
