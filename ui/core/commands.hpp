// The commands of the main menu and the view's actions on the game: every
// menu item's effect, whether it is enabled and ticked, and the long
// actions (computer moves, simulations, analysis, file loading, autoplay,
// searches), each on a worker thread of its own while a busy flag keeps
// the commands that change the game disabled. Escape aborts them. No wx
// here: the tests drive the same code through a scripted prompter.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "prompter.hpp"
#include "session.hpp"
#include "view_actions.hpp"
#include "view_host.hpp"

namespace pexil::ui {

// The kinds of long action; while any is running no command that changes
// the game runs.
enum class Busy { autoplay, loading, computerMove, simulation, analysis, search, benchmarks, strengthTests, openingBook };
inline constexpr int kBusyKinds = 9;

class Commands : public ViewActions {
 public:
  Commands(Session& session, Prompter& prompter, ViewHost& host);
  // Stops the running action and waits for its worker.
  ~Commands() override;
  Commands(const Commands&) = delete;
  Commands& operator=(const Commands&) = delete;

  // Runs the menu command of message number `number` (the XPF items are
  // -1..-4). Ignored when it is not enabled now.
  void run(int number);
  bool enabled(int number) const;
  // Whether the item carries a tick (toggles, moods, styles, languages).
  bool checked(int number) const;

  bool busy() const override;
  bool busy(Busy kind) const { return busy_[static_cast<int>(kind)].load(); }
  // Escape: recalls the laid tiles when nothing runs, else aborts.
  void escape() override;
  // Waits until no long action runs (the tests; the window never blocks).
  void waitIdle();
  // The window is about to close: a game with unsaved moves is offered for
  // saving first. False when the user cancelled the save, or the save
  // failed: the window stays. While an action runs the game is in a
  // worker's hands, and the action is stopped without asking.
  bool confirmClose();

  // The files of the File menu's recent list, newest first, and opening
  // one of them.
  const std::vector<std::string>& recentFiles() const;
  void openRecent(std::size_t index);

  // The number of players "Start game..." offers first.
  void setPlayers(int players);

  // The view's actions.
  // A pane line clicked with the left button: plays the move it names.
  void playLine(const std::string& line) override;
  // Looks up a word's definition (a right click on a move line, a click on
  // a numbered word line).
  void lookupWord(const std::string& word) override;
  // The key Y or a click on a continuation line: the next page of the
  // pending listing; false when none was pending.
  bool continueListing() override;
  // The "&Move" command: the tiles laid on the board, else the computer
  // player's move.
  void makeMove() override;
  // The letter a blank dropped on the board stands for.
  std::optional<std::string> askBlankLetter() override { return prompter_.blankLetter(); }

 private:
  // Starts `work` on a worker thread under busy flag `kind`; `done` runs on
  // the user-interface thread afterwards, before the flag is cleared. False
  // (saying so) when something runs already.
  bool startLong(Busy kind, std::function<void()> work, std::function<void()> done = {});
  // startLong for work that plays games of its own (the Testing tools, the
  // analysis of a record) and so sets the process-wide rules and tables
  // for them. The window's game is set aside meanwhile, so that nothing
  // paints or reads it under rules not its own, and comes back with its
  // rules, alphabet and tables when the work ends.
  bool startOwnGames(Busy kind, std::function<void()> work, std::function<void()> done = {});
  void joinWorker();
  // Runs `task` on the user-interface thread, unless these commands are
  // gone by then.
  void post(std::function<void()> task);

  // The menus, by their top-level menu.
  void runFile(int number);
  void runGame(int number);
  void runMove(int number);
  void runRack(int number);
  void runWords(int number);
  void runOther(int number);

  // Commands with dialogs.
  void startGameDialog();
  void playPexilDialog();
  void setScores();
  void setNames();
  void lookahead();
  void analyzeMoveDialog();
  void analyzeGameDialog();
  void saveRecap();
  void exchangeDialog();
  void setRackDialog();
  void selectLexiconDialog();

  // Long actions.
  void openFile(const std::string& path, bool record);
  void autoplay();
  void quickMove();
  // The computer's move for the player to move: by its clock (`byClock`,
  // or the computer of a game against it without a set depth), at its set
  // depth, or by the player's strategy.
  void computerMove(bool byClock);
  // The "Testing" menu's tools, each asked about first and then run on a
  // worker under a busy flag of its own until it ends or Escape stops it.
  void runBenchmarks();
  void runStrengthTests();
  void runOpeningBook();
  // Sets up a new game of a type on a worker, then runs `then`.
  void setUpGame(int index, int players, std::function<void()> then);

  void playHumanMove(const Move& move);
  // Before a move while taken-back moves wait on the redo stack: asks
  // whether to drop them; false when the user keeps them.
  bool confirmDropRedo();
  // In a game against the computer, the user's thinking time comes off
  // the user's clock (when it was set) as the user moves.
  void chargeUserClock(Game& game);
  void showSimulationResults();
  // Asks whether to save a game with unsaved moves first; false when the
  // user cancelled the save or it failed (the game must not be dropped).
  bool confirmAbandonUnsaved();
  // Puts a worker's game in place of the shown one.
  void adopt(const std::shared_ptr<Game>& game);
  // A file opened or saved goes first in the recent list, which is stored.
  void noteRecent(const std::string& path);
  void settingsChanged();
  // The game changed: counted, the view's laid tiles synchronised, and in
  // a game against the computer its move started when it is its turn.
  void noteChange();
  void afterChange();

  Session& session_;
  Prompter& prompter_;
  ViewHost& host_;
  std::array<std::atomic<bool>, kBusyKinds> busy_{};
  std::mutex workerMutex_;
  std::thread worker_;
  struct State;
  std::unique_ptr<State> state_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  // The options the after-move hook reads, which may run on a worker.
  void copyHookOptions();
  std::atomic<bool> beepOnMove_{false}, showWellOnMove_{false}, conciseWell_{false};
};

}  // namespace pexil::ui
