// The turns of a "play" session: the user's moves, passes, exchanges and
// challenges, taking moves back, the computer's replies and the end of the
// game.
#include <algorithm>

#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "play/listings.hpp"
#include "play_session.hpp"
#include "play_text.hpp"
#include "rules/game_rules.hpp"
#include "search/strategy.hpp"
#include "search/timed_move.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::cli {
namespace {

int elapsedHundredths(std::chrono::steady_clock::time_point since) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count() / 10);
}

// Prints a message without the line end some messages carry.
void printTrimmed(const std::string& text) {
  std::string line = text;
  while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
  textPane().Print(line);
}

}  // namespace

// Leaves and exchanged tiles stay hidden while the game goes on.
void PlaySession::setHideLeaves() { game_.hideLeaves = !game_.gameOver; }

// The time the user took since the prompt, on the user's clock when it is
// set.
void PlaySession::chargeUser() {
  int& clock = game_.clocks[static_cast<std::size_t>(user_)];
  if (clock >= 0) clock = std::max(0, clock - elapsedHundredths(promptTime_));
}

void PlaySession::showPlayed(int player) {
  printTrimmed(FormatMessage(msg::PlayPlayed, name(player).c_str()));
  MoveLineOptions options;
  options.before = &game_.previousBoard;
  PrintMoveLine(game_, player, game_.lastMove, std::string(), false, options);
}

// Pexil knows its word list: a phony of the user's is challenged at once,
// even one that went out.
void PlaySession::challengeUserPhony() {
  const Move& last = game_.lastMove;
  if (game_.challengeType != 4 && lastMoveBy(user_) && !isNonPlacement(last) &&
      (last.wordClass == kClassPhony || last.phonyCross)) {
    PrintMessageF(msg::PlayChallenging, name(computer_).c_str());
    ChallengeLast(game_);
    applySeats();
  }
}

void PlaySession::computerTurn() {
  game_.hideLeaves = true;
  printTrimmed(FormatMessage(msg::PlayPlayed, name(computer_).c_str()));
  const auto start = Clock::now();
  if (settings_.ply > 0) {
    PlayFixedDepthMove(game_, settings_.ply);
  } else if (settings_.clock != kNoClock) {
    // The timed move manages and charges its clock itself.
    PlayTimedMove(game_);
    noteChange();
    return;
  } else {
    PlayStrategyTurn(game_);
  }
  noteChange();
  int& clock = game_.clocks[static_cast<std::size_t>(computer_)];
  if (clock >= 0) clock = std::max(0, clock - elapsedHundredths(start));
}

// Lets the computer move while it is its turn, then shows the position
// (and the end of the game once).
void PlaySession::settle() {
  applySeats();
  challengeUserPhony();
  for (int guard = 0; guard < 16 && !game_.gameOver && game_.toMove == computer_; ++guard) computerTurn();
  setHideLeaves();
  showPosition();
  // A game that was over goes on after a challenge or an undo.
  if (!game_.gameOver) endShown_ = false;
  if (game_.gameOver && !endShown_) {
    showFinal();
    endShown_ = true;
  }
}

void PlaySession::showPosition() { printGamePosition(game_); }

void PlaySession::showFinal() {
  PrintMessage(msg::PlayFinalScores);
  for (int p = 0; p < game_.playerCount; ++p) {
    textPane().Print(
        FormatMessage(msg::PlayScoreLine, p + 1, name(p).c_str(), game_.scores[static_cast<std::size_t>(p)], ""));
  }
  const int mine = game_.scores[static_cast<std::size_t>(user_)];
  const int pexil = game_.scores[static_cast<std::size_t>(computer_)];
  if (mine == pexil) {
    PrintMessageF(msg::PlayTie, mine, pexil);
  } else {
    const int winner = mine > pexil ? user_ : computer_;
    PrintMessageF(msg::PlayWinner, name(winner).c_str(), std::max(mine, pexil), std::min(mine, pexil));
  }
  ShowStatistics(game_);
}

void PlaySession::handleMove(const Position& at, const std::string& word) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  const auto move = typedPlacement(game_, at, word);
  if (!move || !confirmRedo()) return;
  chargeUser();
  // The list of a previous generation is no longer this position's.
  game_.moves.clear();
  PlayMove(game_, *move);
  noteChange();
  showPlayed(user_);
  settle();
}

void PlaySession::handlePass() {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  if (!confirmRedo()) return;
  chargeUser();
  game_.moves.clear();
  Pass(game_);
  noteChange();
  showPlayed(user_);
  settle();
}

void PlaySession::handleExchange(const std::string& typed, ExchangeTiles meaning) {
  if (game_.gameOver) {
    PrintMessage(msg::PlayGameOver);
    return;
  }
  const Rack& rack = game_.racks[static_cast<std::size_t>(user_)];
  const auto request = readExchange(rack, typed, meaning);
  if (!request) return;
  if (!ExchangeAllowed(game_)) {
    const GameRules& r = rules();
    if (r.gameKind == kKindHundredfold) {
      PrintMessage(msg::PlayExchangeNever);
    } else {
      int available = game_.bag.total();
      for (int p = 0; p < game_.playerCount; ++p) {
        if (p != game_.toMove && game_.racks[static_cast<std::size_t>(p)].total() == 0) available -= r.rackSize;
      }
      PrintMessageF(msg::PlayExchangeTooFew, r.minTilesExchange, std::max(0, available));
    }
    return;
  }
  // Nothing named: the whole rack would go back, which is worth a question.
  if (request->wholeRack && !confirm(FormatMessage(msg::PlayExchangeAllQuestion, rackText(rack).c_str()))) {
    PrintMessage(msg::PlayMoveNotMade);
    return;
  }
  if (!confirmRedo()) return;
  chargeUser();
  game_.moves.clear();
  Exchange(game_, request->keep);
  noteChange();
  showPlayed(user_);
  settle();
}

void PlaySession::handleChallenge() {
  if (game_.challengeType == 4) {
    PrintMessage(msg::PlayChallengesOff);
    return;
  }
  // Pexil's last move may be challenged even when it ended the game.
  if (game_.toMove != user_ || !lastMoveBy(computer_)) {
    PrintMessageF(msg::PlayCannotChallenge, name(computer_).c_str());
    return;
  }
  if (!confirmRedo()) return;
  ChallengeLast(game_);
  noteChange();
  // A successful challenge takes the move back and Pexil loses the turn; a
  // failed one may cost the user the turn (double and strict challenges).
  settle();
}

void PlaySession::handleUndo() {
  // Back to the user's previous turn: past Pexil's reply as well.
  int steps = 0;
  while (undoStack().undo(game_)) {
    ++steps;
    if (game_.toMove == user_) break;
  }
  if (steps == 0 || game_.toMove != user_) {
    // Pexil's opening move alone cannot be taken back.
    for (; steps > 0; --steps) undoStack().redo(game_);
    applySeats();
    PrintMessage(msg::PlayNothingToUndo);
    return;
  }
  applySeats();
  noteChange();
  if (!game_.gameOver) endShown_ = false;
  PrintMessage(msg::PlayUndoLast);
  setHideLeaves();
  showPosition();
}

void PlaySession::handleRedo() {
  if (!undoStack().redo(game_)) {
    PrintMessage(msg::PlayNothingToRedo);
    return;
  }
  while (!game_.gameOver && game_.toMove != user_ && undoStack().hasRedo()) undoStack().redo(game_);
  noteChange();
  PrintMessage(msg::PlayRedoDone);
  settle();
}

}  // namespace pexil::cli
