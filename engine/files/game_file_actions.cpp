#include "game_file_actions.hpp"

#include <algorithm>
#include <fstream>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "files/position_file.hpp"
#include "play/game_flow.hpp"
#include "text/latin1.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

// The unused lines of a record that opening it lists.
constexpr std::size_t kUnusedLinesShown = 20;

bool endsWithIgnoringCase(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() && latin1Lower(text.substr(text.size() - ending.size())) == ending;
}

// The discarded-lines warning of a record: one text between two lines of
// stars.
void printDiscardedWarning() {
  const std::string stars(53, '*');
  std::string text;
  for (int n = msg::GcgPragma1; n <= msg::GcgPragma5; ++n) {
    const char* part = Message(n);
    if (part == nullptr) continue;
    if (!text.empty()) text += ' ';
    text += part;
  }
  TextPane& pane = textPane();
  pane.Print(stars);
  pane.Print(text);
  pane.Print(stars);
}

}  // namespace

std::string shortenedGcgText(const std::string& text) {
  constexpr std::size_t kMost = 100;
  return text.size() <= kMost ? text : text.substr(0, kMost) + "...";
}

bool looksLikeRecord(const std::string& path) {
  if (endsWithIgnoringCase(path, ".gcg")) return true;
  if (endsWithIgnoringCase(path, ".pexil")) return false;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  // Only the start of a line matters; a huge line is not read whole.
  char c = 0;
  while (in.get(c)) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '#' || c == '>';
  }
  return false;
}

bool openPosition(Game& game, const std::string& path, GameFileNames* names) {
  if (!ReadPosition(game, path)) return false;
  if (names) names->position = path;
  undoStack().clear();
  PrintMessage(msg::GameReady);
  return true;
}

bool openRecord(Game& game, const std::string& path, int stopAfterMove, GameFileNames* names,
                const RecordWordList& list) {
  GcgReadOptions options;
  options.stopAfterMove = stopAfterMove;
  options.lexicon = list.lexicon;
  options.wordListName = list.name;
  const GcgReadResult result = ReadGcg(game, path, options);
  if (!result.opened) {
    // The lines of a file that held nothing of a game, as far as they tell
    // why (a binary file would fill the screen).
    if (result.nothingRead) printUnusedGcgLines(result, kUnusedLinesShown, true);
    return false;
  }
  if (names) names->record = path;
  if (result.pragmaDiscarded) {
    printDiscardedWarning();
    printUnusedGcgLines(result, kUnusedLinesShown, true);
    if (names) names->record = result.alternativeName;
  }
  if (stopAfterMove >= 0) PrintMessageF(msg::FileStoppedAfterMove, static_cast<int>(game.history.size()));
  PrintMessage(msg::GameReady);
  return true;
}

bool openGameFile(Game& game, const std::string& path, int stopAfterMove, GameFileNames* names,
                  const RecordWordList& list) {
  return looksLikeRecord(path) ? openRecord(game, path, stopAfterMove, names, list)
                               : openPosition(game, path, names);
}

bool savePosition(const Game& game, const std::string& path, GameFileNames* names) {
  if (!WritePosition(game, path)) {
    PrintMessageF(msg::FileCannotWrite, path.c_str());
    return false;
  }
  if (names) names->position = path;
  PrintMessageF(msg::FilePositionSaved, path.c_str());
  return true;
}

bool saveRecord(const Game& game, const std::string& path, GameFileNames* names) {
  if (!WriteGcg(game, path)) {
    PrintMessageF(msg::FileCannotWrite, path.c_str());
    return false;
  }
  if (names) names->record = path;
  PrintMessageF(msg::GcgSavedAs, path.c_str());
  return true;
}

void printUnusedGcgLines(const GcgReadResult& result, std::size_t most, bool standalone) {
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
      PrintMessageF(msg::GcgReportUnused, line.number, shortenedGcgText(line.text).c_str());
    } else if (standalone) {
      PrintMessageF(msg::GcgReportMended, line.number, gcgFaultText(reason->fault), shortenedGcgText(line.text).c_str());
    }
  }
  if (shown < count) PrintMessageF(msg::GcgMoreLinesNotUsed, static_cast<int>(count - shown));
}

}  // namespace pexil
