// Square types: the bonus code of a board square, and their default colours
// and board-print characters.
#pragma once

namespace pexil {

using SquareType = int;

namespace square {
inline constexpr SquareType plain = 0;
inline constexpr SquareType doubleLetter = 2;
inline constexpr SquareType tripleLetter = 3;
inline constexpr SquareType quadrupleLetter = 4;
inline constexpr SquareType doubleWord = 20;
inline constexpr SquareType tripleWord = 30;
inline constexpr SquareType quadrupleWord = 40;
// Not part of the playing area: can never be covered.
inline constexpr SquareType empty = 90000;
}  // namespace square

// Colour (0xRRGGBB) of a square type that has none of its own.
int defaultSquareColor(SquareType type);
// Board-print character of a square type on the built-in boards.
char builtInPrintChar(SquareType type);

}  // namespace pexil
