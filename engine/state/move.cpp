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

}  // namespace pexil
