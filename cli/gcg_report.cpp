#include "gcg_report.hpp"

#include <algorithm>
#include <memory>

#include "files/gcg_reader.hpp"
#include "game/game.hpp"
#include "game/game_flow.hpp"
#include "lexicon/lexicon.hpp"
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
    if (here == 0) PrintMessage(msg::GcgReportAgree);
    for (const GcgFaultNote& fault : result.faults) {
      PrintMessageF(msg::GcgReportMended, fault.line, gcgFaultText(fault.fault), shortened(fault.text).c_str());
    }
    for (const GcgLine& line : result.unrecognised) {
      ++unused;
      const bool explained = std::any_of(result.faults.begin(), result.faults.end(),
                                         [&](const GcgFaultNote& f) { return f.line == line.number; });
      if (!explained) PrintMessageF(msg::GcgReportUnused, line.number, shortened(line.text).c_str());
    }
  }
  PrintMessageF(msg::GcgReportSummary, records, moves, differing, unused);
  return allOpened ? 0 : 1;
}

}  // namespace pexil::cli
