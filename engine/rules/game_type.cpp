#include "rules/game_type.hpp"

#include <algorithm>
#include <climits>
#include <numeric>

namespace pexil {

SquareType GameType::squareTypeAt(int row, int column) const {
  if (!squareTypeGrid || row < 0 || column < 0 || row >= height || column >= width) return square::plain;
  const auto index = static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
  return index < squareTypeGrid->size() ? (*squareTypeGrid)[index] : square::plain;
}

int GameType::symbolIndexAt(int row, int column) const {
  if (!squareSymbolGrid || row < 0 || column < 0 || row >= height || column >= width) return -1;
  const auto index = static_cast<std::size_t>(column) + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
  return index < squareSymbolGrid->size() ? (*squareSymbolGrid)[index] : -1;
}

int GameType::tileTotal() const {
  long long total = std::accumulate(tileCount.begin(), tileCount.end(), 0LL);
  return static_cast<int>(std::clamp(total, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

}  // namespace pexil
