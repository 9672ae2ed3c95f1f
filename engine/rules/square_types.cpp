#include "rules/square_types.hpp"

namespace pexil {

int defaultSquareColor(SquareType type) {
  switch (type) {
    case 0:
    case 1: return 0xB4D4DC;
    case square::doubleLetter: return 0x00B6FC;
    case square::tripleLetter: return 0x0000FF;
    case square::quadrupleLetter: return 0xF01080;
    case square::doubleWord: return 0xFC98D4;
    case square::tripleWord: return 0xFF0000;
    case square::quadrupleWord: return 0x8000D8;
    default: return 0x000000;
  }
}

char builtInPrintChar(SquareType type) {
  switch (type) {
    case square::doubleLetter: return ':';
    case square::tripleLetter: return '$';
    case square::quadrupleLetter: return '!';
    case square::doubleWord: return '*';
    case square::tripleWord: return '#';
    case square::quadrupleWord: return '@';
    default: return '.';
  }
}

}  // namespace pexil
