#include "commands.hpp"

#include <algorithm>
#include <chrono>

#include "commands_state.hpp"
#include "menu_table.hpp"
#include "play/game_flow.hpp"
#include "play/listings.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "state/abort_flag.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil::ui {

Commands::Commands(Session& session, Prompter& prompter, ViewHost& host)
    : session_(session), prompter_(prompter), host_(host), state_(std::make_unique<State>()) {
  state_->recent.load(session_.store());
  // Every recorded move: the beep, the well shown when asked for, a repaint.
  // (It may run on a worker, on the worker's copy of the game: it reads
  // the options through atomic copies, which settingsChanged refreshes.)
  copyHookOptions();
  SetAfterMoveHook([this](Game& game) {
    if (beepOnMove_.load()) post([this] { host_.beep(); });
    if (showWellOnMove_.load() && !game.gameOver) ShowWell(game, game.toMove, conciseWell_.load());
    host_.repaint();
  });
}

void Commands::post(std::function<void()> task) {
  // A task still queued when the commands are gone does nothing.
  host_.runOnUiThread([alive = std::weak_ptr<bool>(alive_), task = std::move(task)] {
    if (!alive.expired()) task();
  });
}

void Commands::setPlayers(int players) { state_->players = players; }

Commands::~Commands() {
  SetAfterMoveHook(nullptr);
  requestAbort();
  joinWorker();
  clearAbort();
}

bool Commands::busy() const {
  return std::any_of(busy_.begin(), busy_.end(), [](const std::atomic<bool>& b) { return b.load(); });
}

void Commands::joinWorker() {
  std::thread worker;
  {
    std::lock_guard lock(workerMutex_);
    worker = std::move(worker_);
  }
  if (worker.joinable()) worker.join();
}

bool Commands::startLong(Busy kind, std::function<void()> work, std::function<void()> done) {
  if (busy()) {
    PrintMessage(msg::BusyStopFirst);
    return false;
  }
  joinWorker();  // the last worker has ended; its thread object may remain
  clearAbort();
  busy_[static_cast<int>(kind)] = true;
  host_.commandsChanged();
  host_.repaint();
  std::lock_guard lock(workerMutex_);
  worker_ = std::thread([this, kind, work = std::move(work), done = std::move(done)]() mutable {
    work();
    // The worker's last acts: the flag cleared on the interface thread
    // after the finishing step, and a repaint.
    post([this, kind, done = std::move(done)] {
      if (done) done();
      busy_[static_cast<int>(kind)] = false;
      clearAbort();
      host_.commandsChanged();
      host_.repaint();
      afterChange();
    });
  });
  return true;
}

bool Commands::startOwnGames(Busy kind, std::function<void()> work, std::function<void()> done) {
  // Checked before the game is taken: a running worker may be using it.
  if (busy()) {
    PrintMessage(msg::BusyStopFirst);
    return false;
  }
  auto parked = std::make_shared<std::unique_ptr<Game>>(session_.takeGame());
  // What the window's game was shown under, put back whole.
  const RulesInForce shown;
  return startLong(kind, std::move(work), [this, parked, shown, done = std::move(done)] {
    if (done) done();
    if (*parked && (*parked)->lexicon) ActivateListTables(*(*parked)->lexicon);
    shown.restore();
    session_.replaceGame(std::move(*parked));
  });
}

void Commands::waitIdle() {
  // The finishing steps run on the interface thread, which the caller is:
  // the host's queue is served by the caller's loop between the checks.
  joinWorker();
}

void Commands::escape() {
  if (busy()) {
    requestAbort();
    return;
  }
  session_.entry().recall();
  host_.repaint();
}

bool Commands::enabled(int number) const {
  const Game* game = session_.game();
  if (number == cmd::abort) return busy();
  if (ChangesGame(number) && busy()) return false;
  if (NeedsGame(number) && game == nullptr) return false;
  // Moves and their searches end with the game.
  if (game != nullptr && game->gameOver && MovesInGame(number)) return false;
  if (number == cmd::undo) return game != nullptr && undoStack().canUndo() && !busy();
  if (number == cmd::redo) return game != nullptr && undoStack().hasRedo() && !busy();
  if (number == cmd::startGame || number == cmd::selectLexicon) return !busy();
  return true;
}

void Commands::run(int number) {
  if (!enabled(number)) return;
  if (bool Settings::*member = ToggledSetting(number)) {
    Settings& s = session_.settings();
    s.*member = !(s.*member);
    settingsChanged();
  } else if (number >= 508 && number <= 520) {
    runFile(number);
  } else if (number >= 521 && number <= 545) {
    runGame(number);
  } else if ((number >= 546 && number <= 577) || number < 0) {
    runMove(number);
  } else if (number >= 578 && number <= 594) {
    runRack(number);
  } else if (number >= 595 && number <= 626) {
    runWords(number);
  } else {
    runOther(number);
  }
  host_.commandsChanged();
  host_.repaint();
}

void Commands::copyHookOptions() {
  const Settings& s = session_.settings();
  beepOnMove_ = s.beep;
  showWellOnMove_ = s.autoShowWell;
  conciseWell_ = s.conciseWell;
}

void Commands::settingsChanged() {
  copyHookOptions();
  session_.applyEngineSettings();
  session_.saveSettings();
  host_.commandsChanged();
  host_.repaint();
}

void Commands::afterChange() {
  Game* game = session_.mutableGame();
  if (game == nullptr) return;
  session_.entry().sync(*game);
  session_.forgetPreview();
  state_->turnStart = std::chrono::steady_clock::now();
  // In a game against the computer, its turn follows the user's at once.
  if (state_->computerSeat >= 0 && !game->gameOver && game->toMove == state_->computerSeat && !busy() &&
      state_->computerMovesAutomatically) {
    computerMove(false);
  }
}

bool Commands::confirmDropRedo() {
  return !undoStack().hasRedo() || prompter_.confirm(Message(msg::PlayRedoQuestion));
}

void Commands::chargeUserClock(Game& game) {
  const int seat = state_->computerSeat;
  if (seat < 0 || game.toMove == seat) return;
  int& clock = game.clocks[static_cast<std::size_t>(game.toMove)];
  if (clock == kNoClock) return;
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                           state_->turnStart);
  clock -= static_cast<int>(spent.count() / 10);
}

}  // namespace pexil::ui
