#include "search/guess_summary.hpp"

#include <algorithm>
#include <cmath>

#include "search/known_racks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr double kSignificantlyMore = 25.0;
constexpr double kMuchLess = -75.0;

// The chance that `size` tiles drawn from `total` hold none of the `count`
// tiles of one letter.
double chanceOfNone(int count, int total, int size) {
  double none = 1.0;
  for (int i = 0; i < size; ++i) {
    if (total - i <= 0) return 0.0;
    none *= static_cast<double>(total - count - i) / static_cast<double>(total - i);
    if (none <= 0) return 0.0;
  }
  return none;
}

std::string tileOf(int code) {
  Rack one;
  one[code] = 1;
  one[kTotalSlot] = 1;
  return tilesDisplayText(one);
}

}  // namespace

GuessSummary SummarizeGuess(const Game& game) {
  GuessSummary summary;
  const std::vector<Rack>& list = game.knownRacks;
  if (list.empty() || game.playerCount <= 0) return summary;
  const LetterCounts pool = unseenTilesOf(game, game.toMove);
  long long tiles = 0;
  std::array<long long, kCodeSlots> holding{};
  for (const Rack& rack : list) {
    tiles += rack.total();
    for (int code = 0; code < kCodeSlots; ++code) holding[static_cast<std::size_t>(code)] += rack[code] > 0 ? 1 : 0;
  }
  const auto listed = static_cast<double>(list.size());
  const int size = static_cast<int>(std::lround(static_cast<double>(tiles) / listed));
  for (int code = 0; code < kCodeSlots; ++code) {
    if (pool[code] <= 0) continue;
    LetterLikelihood letter;
    letter.code = code;
    letter.chance = 1.0 - chanceOfNone(pool[code], pool.total(), size);
    letter.guessed = static_cast<double>(holding[static_cast<std::size_t>(code)]) / listed;
    // A letter no random rack of this size can hold (racks of no tiles)
    // is as likely as chance says.
    letter.relative = letter.chance > 0 ? letter.guessed / letter.chance * 100.0 - 100.0 : 0.0;
    summary.letters.push_back(letter);
    const std::string tile = tileOf(code);
    if (letter.relative >= kSignificantlyMore) summary.significantlyMore += tile;
    if (letter.guessed > letter.chance) summary.more += tile;
    if (letter.guessed < letter.chance) summary.less += tile;
    if (letter.relative <= kMuchLess) summary.muchLess += tile;
  }
  std::vector<LetterLikelihood> ranked = summary.letters;
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const LetterLikelihood& a, const LetterLikelihood& b) { return a.relative > b.relative; });
  for (const LetterLikelihood& letter : ranked) summary.ranked += tileOf(letter.code);
  return summary;
}

void PrintGuessSummary(const Game& game) {
  if (game.quiet || game.knownRacks.empty()) return;
  const GuessSummary summary = SummarizeGuess(game);
  TextPane& pane = textPane();
  if (!summary.significantlyMore.empty()) pane.Print(FormatText("Significantly more likely than chance: %s\n", summary.significantlyMore.c_str()));
  if (!summary.more.empty()) pane.Print(FormatText("More likely than chance: %s\n", summary.more.c_str()));
  if (!summary.less.empty()) pane.Print(FormatText("Less likely than chance: %s\n", summary.less.c_str()));
  if (!summary.muchLess.empty()) pane.Print(FormatText("Much less likely than chance: %s\n", summary.muchLess.c_str()));
  pane.Print(FormatText("Most likely to least likely: %s\n", summary.ranked.c_str()));
}

}  // namespace pexil
