// The candidates of the fast lookahead.
#include <algorithm>

#include "rules/game_rules.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation_state.hpp"

namespace pexil {
namespace {

constexpr int kFirstCandidates = 32;
constexpr int kOneTileCandidates = 120;
constexpr int kTwoTileCandidates = 150;

// The letter laid on (column, row) by the move, as the word spells it.
char letterAt(const Move& move, int column, int row) {
  const int i = move.direction == kAcross ? column - move.column : row - move.row;
  return move.wordView()[static_cast<std::size_t>(i)];
}

bool usesBlank(const Move& move) { return move.blankPositions[0] >= 0; }

}  // namespace

int TilesLaid(const Board& board, const Move& move, int* column, int* row) {
  if (isNonPlacement(move)) return 0;
  int laid = 0;
  const int length = static_cast<int>(move.wordView().size());
  for (int i = 0; i < length; ++i) {
    const int c = move.direction == kAcross ? move.column + i : move.column;
    const int r = move.direction == kAcross ? move.row : move.row + i;
    const Square* square = squareAt(board, c, r);
    if (square == nullptr || !square->empty()) continue;
    ++laid;
    if (column != nullptr) *column = c;
    if (row != nullptr) *row = r;
  }
  return laid;
}

bool DuplicateCandidate(const Game& game, const Move& earlier, const Move& later) {
  if (isNonPlacement(earlier) || isNonPlacement(later)) return false;
  if (earlier.wordView() == later.wordView() && earlier.column == later.column && earlier.row == later.row &&
      earlier.direction == later.direction && earlier.blankPositions[0] == later.blankPositions[0] &&
      earlier.blankPositions[1] == later.blankPositions[1]) {
    return true;
  }
  if (earlier.direction == later.direction) return false;
  int c1 = -1, r1 = -1, c2 = -1, r2 = -1;
  if (TilesLaid(game.board, earlier, &c1, &r1) != 1 || TilesLaid(game.board, later, &c2, &r2) != 1) return false;
  if (c1 != c2 || r1 != r2) return false;
  const int i1 = earlier.direction == kAcross ? c1 - earlier.column : r1 - earlier.row;
  const int i2 = later.direction == kAcross ? c2 - later.column : r2 - later.row;
  return letterAt(earlier, c1, r1) == letterAt(later, c2, r2) && earlier.isBlankAt(i1) == later.isBlankAt(i2);
}

std::vector<int> FastLookaheadCandidates(const Game& game, const std::vector<Move>& list, int ply) {
  std::vector<int> chosen;
  const int size = static_cast<int>(list.size());
  const auto isDuplicate = [&](int index) {
    return std::any_of(chosen.begin(), chosen.end(), [&](int c) {
      return DuplicateCandidate(game, list[static_cast<std::size_t>(c)], list[static_cast<std::size_t>(index)]);
    });
  };
  int next = 0;
  for (; next < size && static_cast<int>(chosen.size()) < kFirstCandidates; ++next) {
    if (!isDuplicate(next)) chosen.push_back(next);
  }
  for (const int special : findSpecialMoves(list)) {
    if (special >= 0 && std::find(chosen.begin(), chosen.end(), special) == chosen.end()) chosen.push_back(special);
  }

  // Near the end of the game: the quiet plays, which matter most then.
  const int rackSize = rules().rackSize;
  int lacking = 0;
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != game.toMove) lacking += rackSize - game.racks[static_cast<std::size_t>(p)].total();
  }
  const int n = std::max(0, game.bag.total() - lacking);
  const int lead = leadOf(game, game.toMove);
  const bool extend = n <= 9 || (ply >= 6 && n <= 15) || game.playerCount == 1 || (n >= 10 && n <= 19 && std::abs(lead) < 15);
  if (!extend) return chosen;
  const auto addPlays = [&](int tiles, int upTo) {
    for (int i = next; i < size && static_cast<int>(chosen.size()) < upTo; ++i) {
      const Move& move = list[static_cast<std::size_t>(i)];
      if (isNonPlacement(move) || usesBlank(move)) continue;
      if (TilesLaid(game.board, move) != tiles) continue;
      if (std::find(chosen.begin(), chosen.end(), i) != chosen.end() || isDuplicate(i)) continue;
      chosen.push_back(i);
    }
  };
  addPlays(1, kOneTileCandidates);
  if (game.racks[static_cast<std::size_t>(game.toMove)].total() > 1) addPlays(2, kTwoTileCandidates);
  return chosen;
}

}  // namespace pexil
