#include "gcg_report.hpp"

#include <algorithm>
#include <memory>

#include "files/gcg_reader.hpp"
#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "state/game.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

// Long lines (notes, mostly) are cut for the report.
std::string shortened(const std::string& text) {
  constexpr std::size_t kMost = 100;
  return text.size() <= kMost ? text : text.substr(0, kMost) + "...";
}

std::string statedText(const GcgReadResult& result, int player) {
  return result.hasStatedFinal[player] ? std::to_string(result.statedFinal[player]) : std::string("-");
}

}  // namespace

void printUnusedLines(const GcgReadResult& result, std::size_t most, bool standalone) {
  const std::size_t count = result.unrecognised.size();
  if (standalone && count > 0) {
    if (count == 1) {
      PrintMessage(msg::GcgOneLineNotUsed);
    } else {
      PrintMessageF(msg::GcgLinesNotUsed, static_cast<int>(count));
    }
  }
  std::size_t shown = 0;
  for (const GcgLine& line : result.unrecognised) {
    if (shown == most) break;
    ++shown;
    const auto reason = std::find_if(result.faults.begin(), result.faults.end(),
                                     [&](const GcgFaultNote& f) { return f.line == line.number; });
    if (reason == result.faults.end()) {
      PrintMessageF(msg::GcgReportUnused, line.number, shortened(line.text).c_str());
    } else if (standalone) {
      PrintMessageF(msg::GcgReportMended, line.number, gcgFaultText(reason->fault), shortened(line.text).c_str());
    }
  }
  if (shown < count) PrintMessageF(msg::GcgMoreLinesNotUsed, static_cast<int>(count - shown));
}

int runReplayGcg(const std::vector<std::string>& files) {
  Game game;  // one game for every record, so that a word list is read once
  int records = 0, moves = 0, differing = 0, unused = 0;
  bool allOpened = true;
  for (const std::string& path : files) {
    const GcgReadResult result = ReadGcg(game, path);
    if (!result.opened) {
      allOpened = false;
      continue;
    }
    ++records;
    PrintMessageF(msg::GcgReportFile, path.c_str());
    if (result.utf8) PrintMessage(msg::GcgReportUtf8);
    if (!result.lexiconLine.empty()) {
      PrintMessageF(msg::GcgReportListLine, result.lexiconLine.c_str(),
                    result.wordListChosen.empty() ? "no list" : result.wordListChosen.c_str());
    }
    PrintMessageF(msg::GcgReportWordList, result.wordListUsed.c_str());
    const int replayed = static_cast<int>(game.history.size());
    moves += replayed;
    PrintMessageF(msg::GcgReportMoves, replayed);
    PrintMessageF(msg::GcgReportFinal, playerName(game, 0).c_str(), game.scores[0], playerName(game, 1).c_str(),
                  game.scores[1]);
    PrintMessageF(msg::GcgReportStatedFinal, statedText(result, 0).c_str(), statedText(result, 1).c_str());
    int here = 0;
    for (const GcgMoveCheck& check : result.moves) {
      if (!check.scoresDiffer()) continue;
      ++here;
      PrintMessageF(msg::GcgReportDiffers, check.moveNumber, check.line, playerName(game, check.player).c_str(),
                    check.moveText.c_str(), check.statedScore, check.computedScore);
    }
    differing += here;
    // Every move may score as stated while the totals still differ (moves
    // given to the wrong player, points scored outside the moves).
    bool totalsDiffer = false;
    for (int p = 0; p < 2; ++p) {
      totalsDiffer = totalsDiffer || (result.hasStatedFinal[p] && result.statedFinal[p] != game.scores[static_cast<std::size_t>(p)]);
    }
    if (here == 0 && !totalsDiffer) PrintMessage(msg::GcgReportAgree);
    if (totalsDiffer) PrintMessage(msg::GcgReportTotalsDiffer);
    if (result.endRule.differs) {
      const auto& rule = result.endRule;
      PrintMessageF(msg::GcgReportEndRule, rule.line, rule.stated[0], rule.stated[1], rule.ours[0], rule.ours[1]);
    }
    for (const GcgFaultNote& fault : result.faults) {
      PrintMessageF(msg::GcgReportMended, fault.line, gcgFaultText(fault.fault), shortened(fault.text).c_str());
    }
    unused += static_cast<int>(result.unrecognised.size());
    printUnusedLines(result, result.unrecognised.size(), false);
  }
  PrintMessageF(msg::GcgReportSummary, records, moves, differing, unused);
  return allOpened ? 0 : 1;
}

}  // namespace pexil::cli
