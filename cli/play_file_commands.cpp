// Opening and saving files inside a "play" session. Opening replaces the
// game in progress, so a game with moves not yet saved asks first; the
// computer keeps its seat, name and strategy in the game opened. Saving a
// record first steps forward through taken-back moves so that the whole
// game is saved; saving without a name reuses the last one. A record is
// replayed with the word list --list named, as at the start.
#include "commands.hpp"
#include "play/game_flow.hpp"
#include "play_session.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "text/messages.hpp"

namespace pexil::cli {

void PlaySession::handleFileCommand(const std::string& command, const std::vector<std::string>& words) {
  const bool open = command.starts_with("open");
  const bool record = command.ends_with("game");
  std::string name = words.size() >= 2 ? words[1] : std::string();
  // A name may hold spaces: the rest of the line.
  for (std::size_t i = 2; i < words.size(); ++i) name += " " + words[i];
  if (name.empty() && !open) {
    const std::string& last = record ? files_.record : files_.position;
    if (latin1Lower(last).find(record ? "gcg" : "pexil") != std::string::npos) name = last;
  }
  if (name.empty()) {
    PrintMessageF(msg::PlayFileNeeded, command.c_str());
    return;
  }
  const std::string path = userFilePath(name);
  if (!open) {
    if (record) {
      while (undoStack().redo(game_)) {
      }
      applySeats();
    }
    const bool saved = record ? saveRecord(game_, path, &files_) : savePosition(game_, path, &files_);
    if (saved) noteSaved();
    return;
  }
  if (!confirmAbandon()) {
    PrintMessage(msg::PlayOpenNotDone);
    return;
  }
  // A game of other than two players has no seat for Pexil and the user
  // alone: the game in progress comes back whole, with its rules and its
  // moves to take back.
  const Game previous = game_;
  const GameRules previousRules = rules();
  const int previousAlphabet = wordListAlphabet();
  const UndoStack previousUndo = undoStack();
  const GameFileNames previousNames = files_;
  const bool opened =
      record ? openRecord(game_, path, -1, &files_, RecordWordList{settings_.namedList, std::string()}) : openPosition(game_, path, &files_);
  if (opened && game_.playerCount != 2) {
    PrintMessageF(msg::PlayTwoPlayersOnly, name.c_str(), game_.playerCount);
    game_ = previous;
    rules() = previousRules;
    setWordListAlphabet(previousAlphabet);
    undoStack() = previousUndo;
    files_ = previousNames;
    PrintMessage(msg::PlayOpenNotDone);
    return;
  }
  // Whatever a failed read left behind, the seats stay the session's.
  if (!opened) {
    applySeats();
    return;
  }
  adoptOpenedGame();
  noteSaved();
  settle();
}

}  // namespace pexil::cli
