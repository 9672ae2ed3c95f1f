#include "gcg_report.hpp"

#include "files/game_file_actions.hpp"

#include <algorithm>
#include <memory>

#include "files/gcg_reader.hpp"
#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "state/game.hpp"
#include "text/messages.hpp"

namespace pexil::cli {
namespace {

std::string statedText(const GcgReadResult& result, int player) {
  return result.hasStatedFinal[player] ? std::to_string(result.statedFinal[player]) : std::string("-");
}

}  // namespace


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
      PrintMessageF(msg::GcgReportMended, fault.line, gcgFaultText(fault.fault), shortenedGcgText(fault.text).c_str());
    }
    unused += static_cast<int>(result.unrecognised.size());
    printUnusedGcgLines(result, result.unrecognised.size(), false);
  }
  PrintMessageF(msg::GcgReportSummary, records, moves, differing, unused);
  return allOpened ? 0 : 1;
}

}  // namespace pexil::cli
