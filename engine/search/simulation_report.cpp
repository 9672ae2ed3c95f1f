#include "search/simulation_report.hpp"

#include <algorithm>
#include <cmath>

#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr std::size_t kListed = 5;

struct Moments {
  double mean = 0;
  double deviation = 0;
};

Moments momentsOf(const std::vector<float>& values) {
  Moments m;
  if (values.empty()) return m;
  double sum = 0;
  for (const float v : values) sum += v;
  m.mean = sum / static_cast<double>(values.size());
  double squares = 0;
  for (const float v : values) squares += (v - m.mean) * (v - m.mean);
  m.deviation = std::sqrt(squares / static_cast<double>(values.size()));
  return m;
}

// The 95% interval of the mean.
double halfInterval(const Moments& m, std::size_t n) {
  return n == 0 ? 0.0 : 1.96 * m.deviation / std::sqrt(static_cast<double>(n));
}

std::string seenLine(const SeenMove& seen, int total, bool frequent) {
  const std::string name = seen.text + " ";
  const char* plural = seen.count == 1 ? "" : "s";
  const double average = seen.count > 0 ? static_cast<double>(seen.scoreTotal) / seen.count : 0.0;
  if (!frequent) {
    return FormatText(" %slast at %s,%s%d time%s / %.1f avg", name.c_str(), seen.lastRack.c_str(), " ", seen.count, plural,
                      average);
  }
  const double share = total > 0 ? 100.0 * seen.count / total : 0.0;
  return FormatText(" %slast at %s,%s%d time%s (%.1f pts avg, %.2f%%)", name.c_str(), seen.lastRack.c_str(), " ", seen.count,
                    plural, average, share);
}

void addList(std::vector<std::string>& lines, const char* title, std::vector<SeenMove> seen, int total, bool frequent) {
  if (seen.empty()) return;
  if (frequent) {
    std::stable_sort(seen.begin(), seen.end(), [](const SeenMove& a, const SeenMove& b) { return a.count > b.count; });
  } else {
    std::stable_sort(seen.begin(), seen.end(), [](const SeenMove& a, const SeenMove& b) {
      const double x = static_cast<double>(a.scoreTotal) / std::max(1, a.count);
      const double y = static_cast<double>(b.scoreTotal) / std::max(1, b.count);
      return x != y ? x > y : a.count > b.count;
    });
  }
  lines.emplace_back(title);
  for (std::size_t i = 0; i < seen.size() && i < kListed; ++i) lines.push_back(seenLine(seen[i], total, frequent));
}

}  // namespace

std::string SimulationResultsHeading(const Game& game) {
  return game.maximizeWinProb ? "Simulation results: spread / mean winprob / median winprob"
                              : "Simulation results: mean spread / median spread / winprob";
}

std::vector<std::string> SimulationStatsLines(const Game& game, const Move& move) {
  std::vector<std::string> lines;
  const SimulationStats* stats = simulationStatsOf(game, move);
  if (stats == nullptr || stats->spreads.empty()) return lines;
  const std::size_t n = stats->spreads.size();
  const Moments spread = momentsOf(stats->spreads);
  const Moments win = momentsOf(stats->wins);
  const double s = halfInterval(spread, n), w = halfInterval(win, n);
  lines.push_back(FormatText("Mean spread: %+.2f, stdev %.2f [%+.2f, %+.2f]", spread.mean, spread.deviation, spread.mean - s,
                             spread.mean + s));
  lines.push_back(FormatText("Mean winprob: %.2f%%, stdev %.2f%% [%.2f%%, %.2f%%]", win.mean, win.deviation,
                             std::max(0.0, win.mean - w), std::min(100.0, win.mean + w)));
  lines.push_back(FormatText("Median spread: %d, 25th pctl: %d, 75th pctl: %d",
                             static_cast<int>(std::lround(Quantile(stats->spreads, 0.5))),
                             static_cast<int>(std::lround(Quantile(stats->spreads, 0.25))),
                             static_cast<int>(std::lround(Quantile(stats->spreads, 0.75)))));
  lines.push_back(FormatText("Median winprob: %.2f%%, 25th pctl: %.2f%%, 75th pctl: %.2f%%", Quantile(stats->wins, 0.5),
                             Quantile(stats->wins, 0.25), Quantile(stats->wins, 0.75)));
  const auto share = [](int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0.0; };
  if (stats->replies > 0) {
    lines.push_back(FormatText("Average opponent reply is worth %.2f points",
                               static_cast<double>(stats->replyScoreTotal) / stats->replies));
  }
  if (stats->nextMoves > 0) {
    lines.push_back(FormatText("Average next move is worth %.2f points",
                               static_cast<double>(stats->nextScoreTotal) / stats->nextMoves));
  }
  lines.push_back(FormatText("Opponent exchange/pass on reply: %.2f%%", share(stats->opponentExchanges, stats->replies)));
  lines.push_back(FormatText("Opponent bingo on reply        : %.2f%%", share(stats->opponentBingos, stats->replies)));
  lines.push_back(FormatText("Bingo on next turn             : %.2f%%", share(stats->nextTurnBingos, stats->nextMoves)));
  addList(lines, "Most dangerous opponent replies: ----------", stats->seenReplies, stats->replies, false);
  addList(lines, "Most frequent opponent replies: -----------", stats->seenReplies, stats->replies, true);
  addList(lines, "Most frequent moves next turn: ------------", stats->seenNextMoves, stats->nextMoves, true);
  return lines;
}

void PrintSimulationStats(const Game& game, const Move& move) {
  if (game.quiet) return;
  for (const std::string& line : SimulationStatsLines(game, move)) textPane().Print(line + "\n");
}

}  // namespace pexil
