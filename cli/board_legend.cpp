#include "board_legend.hpp"

#include <algorithm>
#include <utility>

#include "board_text_file.hpp"
#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/square_types.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

struct Mark {
  char symbol = '.';
  SquareType type = square::plain;
};

bool isPlain(SquareType type) { return type == 0 || type == 1; }
// Letter multipliers are the types -9 to 19; word multipliers are ten
// times theirs (as the scoring reads them).
bool isLetterBonus(SquareType type) { return type >= -9 && type <= 19; }

// Plain squares first, then letter bonuses, word bonuses, and the squares
// outside the playing area last.
std::pair<int, int> legendOrder(SquareType type) {
  if (isPlain(type)) return {0, 0};
  if (type == square::empty) return {3, 0};
  if (isLetterBonus(type)) return {1, type};
  return {2, type / 10};
}

std::string meaning(SquareType type) {
  if (isPlain(type)) return Message(msg::BoardLegendPlain);
  if (type == square::empty) return Message(msg::BoardLegendOutside);
  if (isLetterBonus(type)) return FormatMessage(msg::BoardLegendLetter, type);
  return FormatMessage(msg::BoardLegendWord, type / 10);
}

std::string squaresLine(const Board& board) {
  std::vector<Mark> marks;
  for (int row = 0; row < board.height; ++row) {
    for (int column = 0; column < board.width; ++column) {
      const char symbol = squarePrintChar(row, column);
      const auto seen = std::find_if(marks.begin(), marks.end(), [&](const Mark& m) { return m.symbol == symbol; });
      if (seen == marks.end()) marks.push_back({symbol, squareAt(board, column, row)->type});
    }
  }
  std::stable_sort(marks.begin(), marks.end(),
                   [](const Mark& a, const Mark& b) { return legendOrder(a.type) < legendOrder(b.type); });
  std::string text;
  for (const Mark& mark : marks) {
    if (!text.empty()) text += "  ";
    text += std::string(1, mark.symbol) + " " + meaning(mark.type);
  }
  return FormatMessage(msg::BoardLegendSquares, text.c_str());
}

// Tiles whose board character is not how they read: "1 = CH", "W = L·L".
std::string tilesLine() {
  std::vector<std::pair<char, std::string>> differing;
  for (int code = 0; code < rules().letterCount && code < kCodeSlots; ++code) {
    const char onBoard = latin1Upper(boardLetter(code));
    const std::string reads = tileDisplayText(code);
    if (reads != std::string(1, onBoard)) differing.emplace_back(onBoard, reads);
  }
  std::sort(differing.begin(), differing.end());
  std::string forms;
  for (const auto& [onBoard, reads] : differing) {
    if (!forms.empty()) forms += ", ";
    forms += std::string(1, onBoard) + " = " + reads;
  }
  return forms.empty() ? std::string(Message(msg::BoardLegendTiles))
                       : FormatMessage(msg::BoardLegendTileForms, forms.c_str());
}

}  // namespace

std::vector<std::string> boardLegendLines(const Board& board) { return {squaresLine(board), tilesLine()}; }

}  // namespace pexil::cli
