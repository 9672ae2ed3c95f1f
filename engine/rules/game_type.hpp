// A game type: one entry of game.definitions.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rules/letter_codes.hpp"
#include "rules/square_types.hpp"

namespace pexil {

struct GameType {
  std::optional<std::string> name;  // none until a "Game" line names it
  int minPlayers = 1;
  int maxPlayers = 4;
  // One entry per declared square symbol, in declaration order.
  std::vector<SquareType> squareTypes;
  std::vector<char> squareSymbols;
  std::vector<int> squareColors;
  std::string defaultWordList = "TWL06.LST";
  std::optional<std::string> phonyCheckList;
  bool markPhonies = false;
  int width = 0;   // columns
  int height = 0;  // rows
  int startColumn = 0;
  int startRow = 0;
  // width x height, row-major. "copy" and "copyboard" share the grids.
  std::shared_ptr<const std::vector<SquareType>> squareTypeGrid;
  std::shared_ptr<const std::vector<int>> squareSymbolGrid;  // index into squareSymbols
  int rackSize = 0;
  std::array<int, kCodeSlots> tileCount{};
  std::array<int, kCodeSlots> tileValue{};
  std::array<int, kCodeSlots> tileExtra = filledWith(-1);
  int bingoBonus = 0;
  int minTilesExchange = 0;
  bool anagrams = false;
  bool openRacks = false;
  int alphabet = kAlphabetEnglish;
  bool letteredRows = false;
  bool senyors = false;

  // Type and symbol index of a square; 0 and -1 outside the board or
  // without a board.
  SquareType squareTypeAt(int row, int column) const;
  int symbolIndexAt(int row, int column) const;
  int tileTotal() const;

 private:
  static constexpr std::array<int, kCodeSlots> filledWith(int value) {
    std::array<int, kCodeSlots> a{};
    a.fill(value);
    return a;
  }
};

}  // namespace pexil
