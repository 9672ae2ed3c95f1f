#include "files/game_recap.hpp"

#include <filesystem>
#include <fstream>
#include <vector>

#include "files/simulation_note.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/notation.hpp"
#include "text/latin1.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

// The mark of a placement's word by the lists it belongs to, as the word
// queries show it: '*' in neither published list or a phony, '#' in the
// international list only.
std::string lexiconMark(const Game& game, const Move& move) {
  if (!game.lexicon || isNonPlacement(move) || move.word == nullptr) return std::string();
  const EntryIndex entry = game.lexicon->findEntry(move.word);
  if (entry == kNoEntry) return "*";
  const int wordClass = game.lexicon->entry(entry).wordClass;
  if (wordClass == kClassInNeither || wordClass == kClassPhony) return "*";
  if (wordClass == kClassInternational) return "#";
  return std::string();
}

std::string row(const Game& game, const HistoryEntry& entry, int number, int player, int total, bool highlight) {
  const Move& move = entry.move.move();
  std::string text = FormatText("<tr><td>%d</td><td>", number);
  text += playerName(game, player);
  text += "</td><td><center>";
  text += entry.rackKnown ? latin1Lower(tilesDisplayText(rackString(entry.rackBefore))) : std::string("-------");
  text += "</center></td><td>";
  MoveLineOptions options;
  options.boardKnown = false;
  text += MoveLineText(game, move, options);
  if (highlight) text += lexiconMark(game, move);
  text += "</td><td>";
  if (isNonPlacement(move)) {
    text += "---</td><td><center>";
  } else {
    text += movePosition(move.direction, move.column, move.row, true);
    text += "</td><td><center>";
  }
  const std::string_view leave = move.leaveView();
  if (!leave.empty()) {
    text += '[';
    text += latin1Lower(tilesDisplayText(leave));
    text += ']';
  }
  text += "</center></td><td>";
  text += FormatText("%d</td><td>%d</td><td>", move.score, total);
  text += SimulationNoteText(move);
  text += "</td></tr>\n";
  return text;
}

}  // namespace

std::string GameRecapHtml(const Game& game, const RecapOptions& options) {
  std::string out;
  out += "<html><head><title>";
  out += Message(msg::RecapTitle);
  out += "</title></head><body style=\"font-family: sans-serif; background-color: #00002f; color: #ffffff;\">\n";
  out += "<center>\n";
  out += "<p><table border=0 width=70%><tr><td><!-- ";
  out += Message(msg::RecapCommentary);
  out += " -->\n</td></tr></table></p>\n";
  if (!options.imageFile.empty()) out += "<p><img src = \"" + options.imageFile + "\"></p>\n";
  if (game.history.empty() || game.playerCount <= 0) {
    out += Message(msg::RecapNone);
    out += "\n";
  } else {
    out += "<p><table border=0>";
    out += Message(msg::RecapHeaderRow);
    out += "\n";
    std::vector<int> totals(static_cast<std::size_t>(game.playerCount), 0);
    for (std::size_t i = 0; i < game.history.size(); ++i) {
      const int player = static_cast<int>(i % static_cast<std::size_t>(game.playerCount));
      int& total = totals[static_cast<std::size_t>(player)];
      total += game.history[i].move.move().score;
      out += row(game, game.history[i], static_cast<int>(i) + 1, player, total, options.highlightLexicon);
    }
    out += "</table>\n</p><P><b>";
    for (int p = 0; p < game.playerCount; ++p) {
      if (p > 0) out += ", ";
      out += playerName(game, p) + FormatText(": %d", game.scores[static_cast<std::size_t>(p)]);
    }
    out += "</b></p>\n";
  }
  out += "</center></body></html>\n";
  return out;
}

bool WriteGameRecap(const Game& game, const std::string& path, const RecapOptions& options) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file << GameRecapHtml(game, options);
  file.flush();
  return static_cast<bool>(file);
}

std::string RecapImagePath(const std::string& recapPath) {
  std::filesystem::path path(recapPath);
  path.replace_extension(".png");
  return path.string();
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace pexil
