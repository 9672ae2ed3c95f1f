// The session's loop: reading command lines, asking questions, keeping the
// seats as the session set them.
#include "play_session.hpp"

#include <algorithm>
#include <iostream>

#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "play/listings.hpp"
#include "play_text.hpp"
#include "rate_draws.hpp"
#include "search/known_racks.hpp"
#include "search/strategy.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"
#include "typed_text.hpp"

namespace pexil::cli {
namespace {

// The rest of the line after the command word, without white space.
std::string joinedFrom(const std::vector<std::string>& words, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < words.size(); ++i) text += words[i];
  return text;
}

bool isYes(const std::string& answer) {
  const auto words = splitWords(answer);
  return !words.empty() && (asciiLower(words[0]) == "y" || asciiLower(words[0]) == "yes");
}

}  // namespace

PlaySession::PlaySession(Game& game, const PlaySettings& settings, bool opened)
    : game_(game),
      settings_(settings),
      computer_(settings.computerSeat),
      user_(1 - settings.computerSeat),
      userName_(settings.userName) {
  if (opened) {
    adoptOpenedGame();
  } else {
    applySeats();
  }
}

bool PlaySession::lastMoveBy(int player) const {
  return game_.moveJustPlayed && !game_.history.empty() &&
         static_cast<int>((game_.history.size() - 1) % static_cast<std::size_t>(game_.playerCount)) == player;
}

std::string PlaySession::name(int player) const { return playerName(game_, player); }

// ---- input ----

bool PlaySession::readLine(std::string& line) {
  if (endOfInput_ || !std::getline(std::cin, line)) {
    endOfInput_ = true;
    return false;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// The pane and the engine read Latin-1, so a typed line is decoded from
// UTF-8; one that is not UTF-8, or that holds a character no game has, is
// reported and counts as empty. File names stay as typed: they are the
// system's bytes, not tiles.
std::string PlaySession::typedCommand(const std::string& line) {
  const std::vector<std::string> words = splitWords(line);
  const std::string command = words.empty() ? std::string() : asciiLower(words[0]);
  const bool fileCommand = command == "open-position" || command == "open-game" || command == "save-position" ||
                           command == "save-game" || command == "rate-draws";
  if (fileCommand) return line;
  return decodeTypedText(line).value_or(std::string());
}

bool PlaySession::confirm(const std::string& question) {
  textPane().Print(question + " " + Message(msg::PlayYesNo));
  std::string answer;
  return readLine(answer) && isYes(answer);
}

// Before a move while taken-back moves wait on the redo stack.
bool PlaySession::confirmRedo() {
  if (!undoStack().hasRedo()) return true;
  if (confirm(Message(msg::PlayRedoQuestion))) return true;
  PrintMessage(msg::PlayMoveNotMade);
  return false;
}

bool PlaySession::confirmAbandon() {
  return game_.gameOver || !hasUnsavedMoves() || confirm(Message(msg::PlayAbandonQuestion));
}

// ---- the seats ----

// Snapshots taken back, and files opened, bring in the seats as they were
// stored; the session's own settings go back on each time.
void PlaySession::applySeats() {
  if (game_.playerCount < 2) return;
  game_.strategies[static_cast<std::size_t>(computer_)] = settings_.strategy;
  game_.challengeType = settings_.challengeType;
  SetPlayerName(game_, computer_, Message(msg::PlayComputerName));
  SetPlayerName(game_, user_, userName_);
}

// A game read from a file: the user's seat keeps the name the file gives it
// unless --name gave one (a file's "Player N", or the computer's own name,
// is no name for the user); the computer's seat is Pexil's.
void PlaySession::adoptOpenedGame() {
  const std::string fromFile = name(user_);
  if (!settings_.nameGiven && !fromFile.empty() && fromFile != FormatMessage(msg::PlayerNumbered, user_ + 1) &&
      fromFile != Message(msg::PlayComputerName)) {
    userName_ = fromFile;
  }
  applySeats();
  // The last move of a file is not Pexil's to challenge.
  game_.moveJustPlayed = false;
  endShown_ = false;
}

// ---- commands ----

void PlaySession::help() {
  for (int n = 0; n < 5; ++n) textPane().Print(Message(msg::PlayHelp1 + n));
  textPane().Print(Message(msg::PlayHelpExchange1));
  textPane().Print(Message(msg::PlayHelpExchange2));
  for (int n = 5; n < 7; ++n) textPane().Print(Message(msg::PlayHelp1 + n));
  textPane().Print(Message(msg::PlayHelpFiles));
  textPane().Print(Message(msg::PlayHelpSearch));
  textPane().Print(Message(msg::PlayHelpEndgame));
  textPane().Print(Message(msg::PlayHelpInfer));
}

void PlaySession::noteChange() {
  ++changes_;
  game_.typedKnownTiles.clear();
  ClearKnownRacks(game_);
  game_.useKnownTiles = false;
}

bool PlaySession::dispatch(const std::string& line) {
  const std::vector<std::string> words = splitWords(line);
  if (words.empty()) return true;
  const std::string command = asciiLower(words[0]);
  // 'y' pages through a move list still being shown.
  if ((command == "y" || command == "yes") && words.size() == 1 && moveListing().hasMore()) {
    moveListing().showNextPage();
    return true;
  }
  // Any other answer ends the listing; a plain "n" is just that answer.
  const bool declinedMore = (command == "n" || command == "no") && words.size() == 1 && moveListing().hasMore();
  moveListing().clear();
  if (declinedMore) return true;

  if (command == "quit" || command == "exit") {
    if (confirmAbandon()) return false;
  } else if (command == "help" || command == "?") {
    help();
  } else if (command == "pass" && words.size() == 1) {
    handlePass();
  } else if (command == "exchange") {
    // "exchange -AEZ" is the record's way of writing "exchange AEZ".
    std::string typed = joinedFrom(words, 1);
    if (typed.starts_with('-')) typed.erase(0, 1);
    handleExchange(typed, ExchangeTiles::thrownBack);
  } else if (command.size() > 1 && command.starts_with('-')) {
    handleExchange(joinedFrom(words, 0).substr(1), ExchangeTiles::thrownBack);
  } else if (command == "keep") {
    handleExchange(joinedFrom(words, 1), ExchangeTiles::kept);
  } else if (command == "challenge" && words.size() == 1) {
    handleChallenge();
  } else if (command == "undo" && words.size() == 1) {
    handleUndo();
  } else if (command == "redo" && words.size() == 1) {
    handleRedo();
  } else if (command == "hint" && words.size() == 1) {
    handleHint();
  } else if (command == "moves") {
    handleMoves(words);
  } else if (command == "simulate" || command == "sim") {
    handleSimulate(words);
  } else if (command == "results") {
    handleResults(words);
  } else if (command == "endgame") {
    handleEndgame(words);
  } else if (command == "infer" && words.size() == 1) {
    handleInfer();
  } else if (command == "known") {
    handleKnown(joinedFrom(words, 1));
  } else if (command == "well") {
    handleWell(words);
  } else if (command == "history") {
    // The racks of the history are Pexil's as well: shown once the game
    // is over.
    ShowHistory(game_, !game_.gameOver);
  } else if (command == "stats") {
    ShowStatistics(game_);
  } else if (command == "board") {
    showPosition();
  } else if (command == "open-position" || command == "open-game" || command == "save-position" ||
             command == "save-game") {
    handleFileCommand(command, words);
  } else if (command == "rate-draws") {
    rateDrawsInPlay(game_, words, user_);
  } else if (const auto at = words.size() == 2 ? readPosition(game_.board, words[0]) : std::nullopt) {
    handleMove(*at, words[1]);
  } else if (words.size() == 2 && (command.size() >= 2 && command.size() <= 4) &&
             std::any_of(command.begin(), command.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    PrintMessageF(msg::PlayBadSquare, words[0].c_str());
  } else {
    PrintMessageF(msg::PlayUnknownCommand, line.c_str());
  }
  return true;
}

int PlaySession::run() {
  // The player to move is the one who moves first here, also in a game
  // taken up from a file.
  PrintMessageF(msg::PlayIntro, name(user_).c_str(), user_ + 1, name(computer_).c_str(), computer_ + 1,
                name(game_.toMove).c_str());
  const int strategy = game_.strategies[static_cast<std::size_t>(computer_)];
  const char* description = strategyDescription(strategy);
  PrintMessageF(msg::PlayStrategyNote, name(computer_).c_str(), strategy, description ? description : "");
  if (!strategyAvailable(strategy) && !settings_.plyGiven) PrintMessageF(msg::PlayNoLookahead, name(computer_).c_str());
  settle();

  for (;;) {
    if (game_.gameOver) {
      PrintMessage(msg::PlayOverPrompt);
    } else {
      PrintMessageF(msg::PlayPrompt, rackText(game_.racks[static_cast<std::size_t>(user_)]).c_str());
    }
    promptTime_ = Clock::now();
    std::string line;
    if (!readLine(line)) break;
    if (!dispatch(typedCommand(line))) return 0;
    if (endOfInput_) break;
  }
  PrintMessage(msg::PlayEndOfInput);
  return 0;
}

}  // namespace pexil::cli
