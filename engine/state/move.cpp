#include "state/move.hpp"

#include <algorithm>

namespace pexil {

namespace label {
const char pass[] = "(Pass)";
const char exchange[] = "(Exchange)";
const char exchangeRetains[] = "(Xchg RETAINS)";
const char exchangeX[] = "(Xchg X)";
const char exchangeS[] = "(Xchg S)";
const char exchangeOptimal[] = "(Xchg optimal)";
const char exchangedTiles[] = "(Exchanged tiles)";
const char lostChallenge[] = "(Lost challenge)";
const char incorrectChallenge[] = "(Incorrect challenge)";
}  // namespace label

void Move::setLeave(std::string_view text) {
  const std::size_t n = std::min(text.size(), leave.size() - 1);
  std::copy_n(text.begin(), n, leave.begin());
  leave[n] = '\0';
}

bool Move::isBlankAt(int index) const {
  return std::find(blankPositions.begin(), blankPositions.end(), index) != blankPositions.end();
}

bool isExchange(const Move& move) {
  const char* w = move.word;
  return w == label::exchange || w == label::exchangeRetains || w == label::exchangeX || w == label::exchangeS ||
         w == label::exchangeOptimal || w == label::exchangedTiles;
}

KeptPositions keptPositionsOf(const char* word) {
  if (word == label::exchangeRetains) return {{0, 4, 8, 13, 17, 18, 19}, 7};
  if (word == label::exchangeX) return {{23}, 1};
  if (word == label::exchangeS) return {{18}, 1};
  return {{}, 0};
}

bool isPass(const Move& move) { return move.word == label::pass; }

bool isNonPlacement(const Move& move) {
  return isExchange(move) || move.word == label::pass || move.word == label::lostChallenge ||
         move.word == label::incorrectChallenge;
}

bool SameMove(const Move& a, const Move& b) {
  const bool labelA = isNonPlacement(a);
  if (labelA != isNonPlacement(b)) return false;
  if (labelA) return a.word == b.word && (!isExchange(a) || a.leaveView() == b.leaveView());
  if (a.wordView() != b.wordView() || a.column != b.column || a.row != b.row || a.direction != b.direction) return false;
  auto blanksA = a.blankPositions;
  auto blanksB = b.blankPositions;
  std::sort(blanksA.begin(), blanksA.end());
  std::sort(blanksB.begin(), blanksB.end());
  return blanksA == blanksB;
}

}  // namespace pexil
