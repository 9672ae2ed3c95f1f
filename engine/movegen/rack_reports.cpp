#include "movegen/rack_reports.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "movegen/generator.hpp"
#include "movegen/keep_value.hpp"
#include "rules/game_rules.hpp"
#include "state/abort_flag.hpp"
#include "tables/rack_tables.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr int kEstimateDraws = 12000;
constexpr int kMedianRefills = 1001;
constexpr int kMedianIndex = 500;        // the 501st
constexpr int kMissProbe = 100;          // refills tried before misses count too
constexpr int kMaxRefillAttempts = 1000000;
constexpr int kMaxReportRack = 16;

std::string keepText(const std::vector<int>& positions, std::uint32_t mask) {
  const int blank = rules().blankCode;
  std::string text;
  for (std::size_t i = 0; i < positions.size(); ++i) {
    if (mask & (std::uint32_t(1) << i)) text.push_back(positions[i] == blank ? '?' : charOfUpper(positions[i]));
  }
  return text;
}

}  // namespace

void EstimateLeaveValues(Game& game) {
  const int player = game.toMove;
  const Rack& rack = game.racks[static_cast<std::size_t>(player)];
  const std::vector<int> positions = tilesOf(rack);
  const int n = static_cast<int>(positions.size());
  if (n > kMaxReportRack) return;
  const int rackSize = rules().rackSize;
  const LetterCounts pool = unseenTilesOf(game, player);
  const std::vector<int> tiles = tilesOf(pool);
  const int poolTotal = static_cast<int>(tiles.size());

  struct Line {
    std::string keep;
    int value;
    bool wholeRack;
  };
  std::vector<Line> lines;
  std::set<std::string> seen;
  for (std::uint32_t mask = 0; mask < (std::uint32_t(1) << n); ++mask) {
    std::string keep = keepText(positions, mask);
    if (!seen.insert(keep).second) continue;  // the same letters kept from other positions
    LetterCounts kept;
    for (int i = 0; i < n; ++i) {
      if (mask & (std::uint32_t(1) << i)) {
        ++kept[positions[static_cast<std::size_t>(i)]];
        ++kept[kTotalSlot];
      }
    }
    const int toDraw = rackSize - static_cast<int>(keep.size());
    std::int64_t sum = 0, count = 0;
    if (toDraw <= 0 || poolTotal < toDraw) {
      // Every draw comes out the same: the whole rack, or all the pool can
      // give, valued by the leave value of the keep.
      const std::optional<int> v = toDraw <= 0 ? FullRackValue(kept) : leaveValueOf(kept);
      if (v) {
        sum = std::int64_t(*v) * kEstimateDraws;
        count = kEstimateDraws;
      }
    } else {
      for (int draw = 0; draw < kEstimateDraws && !abortRequested(); ++draw) {
        LetterCounts filled = kept;
        addRandomTiles(game.random, tiles, toDraw, filled);
        if (const std::optional<int> v = FullRackValue(filled)) {
          sum += *v;
          ++count;
        }
      }
    }
    if (count == 0) continue;
    lines.push_back({std::move(keep), static_cast<int>((sum + 5) / count), static_cast<int>(mask) == (1 << n) - 1});
  }
  std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.value < b.value; });

  PrintMessage(msg::RackEstimateTitle);
  for (const Line& line : lines) {
    std::string padded = line.keep;
    if (static_cast<int>(padded.size()) < rackSize) padded.append(static_cast<std::size_t>(rackSize) - padded.size(), '.');
    const char* note = line.wholeRack ? Message(msg::RackEstimateThisRack)
                       : line.keep.empty() ? Message(msg::RackEstimateUnseenAverage)
                                           : "";
    const std::string text = FormatMessage(msg::RackEstimateLine, padded.c_str(), line.value / 10.0, note);
    if (line.wholeRack) {
      textPane().Print(text, colour::yellow);
    } else {
      textPane().Print(text);
    }
  }
}

void MedianRackDraw(Game& game, int player) {
  if (player < 0 || player >= kMaxPlayers) return;
  Rack& rack = game.racks[static_cast<std::size_t>(player)];
  int& countdown = game.rackTags[static_cast<std::size_t>(player)];
  const int rackSize = rules().rackSize;
  const int blank = rules().blankCode;

  // The countdown of a player who has had a blank stays where it is.
  if (countdown != kBlankReceived) --countdown;
  Rack start = rack;
  Well bag = game.bag;
  if (countdown < 0 && countdown != kBlankReceived && bag[blank] > 0 && start.total() < rackSize) {
    --bag[blank];
    --bag[kTotalSlot];
    ++start[blank];
    ++start[kTotalSlot];
  }

  struct Refill {
    std::optional<int> value;
    Rack rack;
  };
  std::vector<Refill> refills;
  refills.reserve(kMedianRefills + kMissProbe);
  bool collectMisses = false, anyHit = false;
  for (int attempt = 1; static_cast<int>(refills.size()) < kMedianRefills; ++attempt) {
    Refill refill{std::nullopt, start};
    Well well = bag;
    drawTiles(refill.rack, well, rackSize, &game.random);
    refill.value = FullRackValue(refill.rack);
    anyHit = anyHit || refill.value.has_value();
    // The first refills are held whatever they are worth until it is
    // known whether any of them has a table entry.
    if (refill.value || collectMisses || attempt <= kMissProbe) refills.push_back(std::move(refill));
    if (attempt == kMissProbe) {
      if (anyHit) {
        std::erase_if(refills, [](const Refill& r) { return !r.value; });
      } else {
        collectMisses = true;
      }
    }
    // A table that almost never holds the refills must not stall the game.
    if (attempt >= kMaxRefillAttempts) collectMisses = true;
  }
  // By value, lowest first; refills without a value before all others.
  std::stable_sort(refills.begin(), refills.end(), [](const Refill& a, const Refill& b) { return a.value < b.value; });

  int chosen = kMedianIndex;
  if (countdown == kBlankReceived && refills[static_cast<std::size_t>(chosen)].rack[blank] > 0) {
    // The 500th, 502nd, 499th, 503rd and 501st in turn: the first without
    // a blank, else the last tried.
    for (int index : {kMedianIndex - 1, kMedianIndex + 1, kMedianIndex - 2, kMedianIndex + 2, kMedianIndex}) {
      chosen = index;
      if (refills[static_cast<std::size_t>(index)].rack[blank] == 0) break;
    }
  }
  const Rack& drawn = refills[static_cast<std::size_t>(chosen)].rack;
  for (int slot = 0; slot <= kTotalSlot; ++slot) {
    bag.counts[static_cast<std::size_t>(slot)] -= drawn.counts[static_cast<std::size_t>(slot)] - start.counts[static_cast<std::size_t>(slot)];
  }
  rack = drawn;
  game.bag = bag;
  if (rack[blank] > 0) countdown = kBlankReceived;
}

namespace {

// Moves the tiles from one count array to another; false (moving nothing)
// when `from` lacks some of them.
bool moveTiles(LetterCounts& from, LetterCounts& to, const LetterCounts& tiles) {
  for (int code = 0; code < kCodeSlots; ++code) {
    if (tiles[code] < 0 || from[code] < tiles[code]) return false;
  }
  for (int slot = 0; slot <= kTotalSlot; ++slot) {
    from.counts[static_cast<std::size_t>(slot)] -= tiles.counts[static_cast<std::size_t>(slot)];
    to.counts[static_cast<std::size_t>(slot)] += tiles.counts[static_cast<std::size_t>(slot)];
  }
  return true;
}

// The equity of the best move of the player to move.
int bestEquity(Game& game) {
  GenerateMoves(game, true);
  return game.bestMove.equity;
}

}  // namespace

double RateRackDraw(const Game& game, int player, const Rack& leave, const Rack& newRack, int redraws,
                    GameRandom& random) {
  if (player < 0 || player >= game.playerCount || redraws < 1) return -1;
  Rack drawn;
  for (int slot = 0; slot <= kTotalSlot; ++slot) {
    drawn.counts[static_cast<std::size_t>(slot)] = newRack.counts[static_cast<std::size_t>(slot)] - leave.counts[static_cast<std::size_t>(slot)];
  }
  if (!allNonNegative(drawn)) return -1;
  if (drawn.total() == 0) return 50;

  // Every rack goes back into the bag, which then holds every tile off the
  // board: the player's unseen tiles once the leave is taken out. The
  // opponents' tiles stay in the bag; the evaluation counts what they
  // would draw as drawn from it, which leaves the tiles left for drawing
  // as they were.
  Game work = game;
  work.history.clear();
  work.toMove = player;
  work.gameOver = false;
  for (int p = 0; p < work.playerCount; ++p) returnAll(work.bag, work.racks[static_cast<std::size_t>(p)]);
  Rack& rack = work.racks[static_cast<std::size_t>(player)];
  if (!moveTiles(work.bag, rack, leave)) return -1;
  const Well unseen = work.bag;
  if (!moveTiles(work.bag, rack, drawn)) return -1;
  const int real = bestEquity(work);

  const int rackSize = leave.total() + drawn.total();
  int below = 0, equal = 0;
  for (int n = 1; n <= redraws; ++n) {
    // Escape stops the rating: the draw goes unrated.
    if (abortRequested()) return -1;
    work.bag = unseen;
    rack = leave;
    drawTiles(rack, work.bag, rackSize, &random);
    const int value = bestEquity(work);
    below += value < real ? 1 : 0;
    equal += value == real ? 1 : 0;
    if (n % kRackDrawProgressEvery == 0) PrintMessageF(msg::RateDrawsProgress, n);
  }
  return 100.0 * (below + 0.5 * equal) / redraws;
}

}  // namespace pexil
