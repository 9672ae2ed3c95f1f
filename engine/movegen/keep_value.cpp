#include "movegen/keep_value.hpp"

#include <bit>

#include "movegen/evaluation.hpp"
#include "rules/game_rules.hpp"
#include "tables/rack_tables.hpp"

namespace pexil {
namespace {

constexpr int kDraws = 10000;
constexpr int kEarlyDraws = 1000;
constexpr int kDrawBatch = 20;
constexpr int kMaxCachedRack = 16;      // 2^16 cache entries at most
constexpr int kMaxOptimalKeepRack = 16;  // 2^16 subsets at most

int tileCountOf(const LetterCounts& counts) {
  int n = 0;
  for (int code = 0; code < kCodeSlots; ++code) n += counts[code] > 0 ? counts[code] : 0;
  return n;
}

void addTile(LetterCounts& counts, int code) {
  ++counts[code];
  ++counts[kTotalSlot];
}

// The value of a rack in the full-rack table; missing entries count 0.
int valueOr0(const LetterCounts& rack) { return FullRackValue(rack).value_or(0); }

// Rounds sum / n to the nearest integer, halves away from zero.
int roundedMean(std::int64_t sum, std::int64_t n) {
  return static_cast<int>((sum >= 0 ? sum + n / 2 : sum - n / 2) / n);
}

// The cache entry for a mask, resetting the cache when the game's rack or
// the pool changed since it was filled; null for a mask that is not cached.
int* cacheEntry(Game& game, std::uint32_t mask, const LetterCounts& pool) {
  const int rackSize = rules().rackSize;
  if (rackSize < 0 || rackSize > kMaxCachedRack) return nullptr;
  const std::size_t size = std::size_t(1) << rackSize;
  if (mask >= size) return nullptr;
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  if (game.keepValueCache.size() != size || game.keepCacheRack != rack || game.keepCachePool != pool) {
    game.keepValueCache.assign(size, kKeepNotComputed);
    game.keepCacheRack = rack;
    game.keepCachePool = pool;
  }
  return &game.keepValueCache[mask];
}

int exactOneTile(const LetterCounts& keep, const LetterCounts& pool, int poolTotal) {
  std::int64_t sum = 0;
  for (int code = 0; code < kCodeSlots; ++code) {
    if (pool[code] <= 0) continue;
    LetterCounts rack = keep;
    addTile(rack, code);
    sum += static_cast<std::int64_t>(pool[code]) * valueOr0(rack);
  }
  return static_cast<int>(sum / poolTotal);
}

int exactTwoTiles(const LetterCounts& keep, const LetterCounts& pool) {
  std::int64_t sum = 0, weights = 0;
  for (int first = 0; first < kCodeSlots; ++first) {
    if (pool[first] <= 0) continue;
    LetterCounts withFirst = keep;
    addTile(withFirst, first);
    for (int second = first; second < kCodeSlots; ++second) {
      if (pool[second] <= 0) continue;
      const std::int64_t w = first == second ? std::int64_t(pool[first]) * (pool[first] - 1) / 2
                                             : std::int64_t(pool[first]) * pool[second];
      if (w == 0) continue;
      LetterCounts rack = withFirst;
      addTile(rack, second);
      sum += w * valueOr0(rack);
      weights += w;
    }
  }
  return weights == 0 ? 0 : static_cast<int>(sum / weights);
}

}  // namespace

std::vector<int> tilesOf(const LetterCounts& pool) {
  std::vector<int> tiles;
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int k = 0; k < pool[code]; ++k) tiles.push_back(code);
  }
  return tiles;
}

void addRandomTiles(GameRandom& random, const std::vector<int>& tiles, int count, LetterCounts& rack) {
  const int n = static_cast<int>(tiles.size());
  if (count > n) count = n;
  // Up to 32 picks are remembered; more tiles than that are never drawn
  // for one rack (rack sizes stop well below).
  int picked[32];
  int have = 0;
  while (have < count && have < 32) {
    const int position = random.next() % n;
    bool repeat = false;
    for (int i = 0; i < have && !repeat; ++i) repeat = picked[i] == position;
    if (repeat) continue;
    picked[have++] = position;
    addTile(rack, tiles[static_cast<std::size_t>(position)]);
  }
}

void clearKeepValueCache(Game& game) {
  game.keepValueCache.clear();
  game.keepCacheRack = LetterCounts{};
  game.keepCachePool = LetterCounts{};
}

int KeepValue(Game& game, const LetterCounts& keep, std::uint32_t keepMask, const LetterCounts& pool, int reference) {
  const int rackSize = rules().rackSize;
  const int kept = tileCountOf(keep);
  const int toDraw = rackSize - kept;
  const int poolTotal = tileCountOf(pool);
  if (toDraw < 0 || poolTotal < toDraw) return 0;
  // Without a full-rack table every value is missing, so every keep is 0;
  // so it is for a player who plays without the rack-value tables.
  if (!hasFullRackTable() || game.evaluation.noLeaveValues) return 0;

  int* cached = cacheEntry(game, keepMask, pool);
  if (cached != nullptr && *cached != kKeepNotComputed) return *cached;

  int value;
  if (toDraw == 0) {
    value = valueOr0(keep);
  } else if (toDraw == 1) {
    value = exactOneTile(keep, pool, poolTotal);
  } else if (toDraw == 2) {
    value = exactTwoTiles(keep, pool);
  } else {
    const std::vector<int> tiles = tilesOf(pool);
    std::int64_t sum = 0;
    // The draws a batch at a time (the table look-ups overlap); batches
    // end at the early check, so the draws made are the same.
    static_assert(kEarlyDraws % kDrawBatch == 0 && kDraws % kDrawBatch == 0);
    LetterCounts racks[kDrawBatch];
    int values[kDrawBatch];
    for (int draw = 0; draw < kDraws; draw += kDrawBatch) {
      if (draw == kEarlyDraws && reference != kKeepNotComputed && 20 * sum < reference) {
        return roundedMean(sum, kEarlyDraws);  // a hopeless keep: not cached
      }
      for (LetterCounts& rack : racks) {
        rack = keep;
        addRandomTiles(game.random, tiles, toDraw, rack);
      }
      fullRackValuesOrZero(racks, values);
      for (const int v : values) sum += v;
    }
    value = roundedMean(sum, kDraws);
  }
  if (cached != nullptr) *cached = value;
  return value;
}

std::uint32_t keepMaskOf(const Rack& rack, std::string_view leave) {
  LetterCounts wanted;
  for (char c : leave) {
    const int code = codeOfTile(c);
    if (code < 0 || code >= kCodeSlots) return kNoKeepMask;
    addTile(wanted, code);
  }
  std::uint32_t mask = 0;
  int position = 0;
  for (int code = 0; code < kCodeSlots; ++code) {
    const int held = rack[code];
    if (held < 0 || wanted[code] > held) return kNoKeepMask;
    if (position + held > 31) return kNoKeepMask;
    // The first wanted[code] positions of this letter's run.
    for (int k = 0; k < wanted[code]; ++k) mask |= std::uint32_t(1) << (position + k);
    position += held;
  }
  return mask;
}

void ReevaluateWithPool(const LetterCounts& pool, Move& move, Game& game) {
  const std::string_view leave = move.leaveView();
  LetterCounts keep;
  for (char c : leave) {
    const int code = codeOfTile(c);
    if (code >= 0 && code < kCodeSlots) addTile(keep, code);
  }
  const std::uint32_t mask = keepMaskOf(game.racks[static_cast<std::size_t>(game.toMove)], leave);
  move.equity = move.bonus + 10 * move.score + KeepValue(game, keep, mask, pool, -9999999);
}

std::string OptimalKeep(Game& game) {
  const int player = game.toMove;
  const Rack& rack = game.racks[static_cast<std::size_t>(player)];
  const std::vector<int> positions = tilesOf(rack);  // the rack in alphabet order
  const int n = static_cast<int>(positions.size());
  if (n > kMaxOptimalKeepRack) return std::string();
  const LetterCounts pool = unseenTilesOf(game, player);
  const int rackSize = rules().rackSize;
  const int blank = rules().blankCode;

  int best = kKeepNotComputed;
  std::uint32_t bestMask = 0;
  bool found = false;
  for (std::uint32_t mask = 0; mask < (std::uint32_t(1) << n); ++mask) {
    const int kept = std::popcount(mask);
    if (game.bag.total() < rackSize - kept) continue;
    LetterCounts keep;
    for (int i = 0; i < n; ++i) {
      if (mask & (std::uint32_t(1) << i)) addTile(keep, positions[static_cast<std::size_t>(i)]);
    }
    const int value = KeepValue(game, keep, mask, pool, best);
    if (value > best) {
      best = value;
      bestMask = mask;
      found = true;
    }
  }
  std::string result;
  if (!found) return result;
  for (int i = 0; i < n; ++i) {
    if (!(bestMask & (std::uint32_t(1) << i))) continue;
    const int code = positions[static_cast<std::size_t>(i)];
    result.push_back(code == blank ? '?' : charOfUpper(code));
  }
  return result;
}

bool offersOptimalExchange(const Game& game, const std::string& keep) {
  const Rack& rack = game.racks[static_cast<std::size_t>(game.toMove)];
  if (keep.empty() || static_cast<int>(keep.size()) >= tileCountOf(rack)) return false;
  if (keep[0] == '?') return false;
  if (keep.size() == 1) {
    const int code = codeOfTile(keep[0]);
    if (code == 18 || code == 23) return false;
  }
  // What "(Xchg RETAINS)" keeps: the blanks and one of each of A E I N R
  // S T (alphabet positions) the rack holds.
  const int blank = rules().blankCode;
  Rack retains;
  retains[blank] = rack[blank];
  retains[kTotalSlot] = rack[blank];
  for (int position : {0, 4, 8, 13, 17, 18, 19}) {
    if (position != blank && rack[position] > 0) addTile(retains, position);
  }
  Rack kept;
  addLetters(kept, keep, nullptr);
  return rackString(kept) != rackString(retains);
}

}  // namespace pexil
