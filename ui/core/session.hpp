// What the desktop program holds apart from its windows: the stored
// settings, the game (once one is set up) and the view's random number;
// the start-up steps that print the banner and read the game definitions;
// setting up a game of a chosen type; the preview of a move named by a
// pane line, and the simulation of a move that gives it a heat map. No wx
// here: the --screenshot path runs it without a display.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "board_entry.hpp"
#include "move_preview.hpp"
#include "renderer.hpp"
#include "settings.hpp"
#include "state/game.hpp"

namespace pexil::ui {

class Session {
 public:
  Session();

  // Start-up: the settings, the banner (messages 0, 1, 2), the game
  // definitions of the working folder, message 3.
  void start();

  // Sets up a game of game type `index` (0-based) with its default word
  // list and deals the racks; prints message 10 and reloads the settings.
  // False (with the reason in the pane) when the type or its list is
  // missing, or the type does not allow that many players.
  bool startGame(int index, int players = 2);
  // The same in three steps, so that the word list can be read on a worker
  // thread: prepareGame (this thread: drops the old game, activates the
  // type's rules), LoadWordList (any thread; null when the list is missing),
  // finishGame (this thread again: deals, prints, stores).
  bool prepareGame(int index);
  static std::shared_ptr<Lexicon> LoadWordList(int index);
  bool finishGame(int index, int players, std::shared_ptr<Lexicon> lexicon);
  // Plays the static best move `count` times (a board with tiles for
  // pictures and tests).
  void playBestMoves(int count);

  // The board preview of the move that a pane line or typed text (Latin-1)
  // names for the player to move, with the heat map of `heat` when the
  // game's last simulation tracked one for that move; none without a game
  // or when the text names no move. The preview refers to data kept here
  // until the next call or a change of the game.
  std::optional<draw::BoardPreview> preview(const std::string& text, draw::HeatView heat);
  // Simulates one move of the player to move (the move analysis of the fast
  // lookahead, `ply` plies, on `threads` workers) with heat maps tracked,
  // keeps its statistics in the game's move list for the preview, and
  // prints the move's line and its statistics. False when it cannot run.
  bool analyzeMove(const Move& move, int ply, int threads);
  // Prints the move's line (as the move lists show it) and gives the index
  // of that line in the pane.
  std::size_t printMoveLine(const Move& move);

  const Game* game() const { return game_.get(); }
  // The game to change: only on the user-interface thread, with
  // gameMutex() held, or on a worker while a busy flag keeps every other
  // change out. Painting only tries the lock.
  Game* mutableGame() { return game_.get(); }
  std::mutex& gameMutex() { return gameMutex_; }
  // Puts a game in place of the current one (a record opened, a worker's
  // copy that moved on); null drops it.
  void replaceGame(std::unique_ptr<Game> game);
  // Takes the current game away (null from then on) and hands it over.
  std::unique_ptr<Game> takeGame();
  // Forgets the last preview (the game it showed has changed).
  void forgetPreview() { gameChanged(); }
  // The tiles laid on the board by hand and the board cursor.
  BoardEntry& entry() { return entry_; }
  const BoardEntry& entry() const { return entry_; }
  // Puts the engine's options of the settings into the game (after a change).
  void applyEngineSettings();
  // The board's rectangle in a view of the given size (zero without a game).
  struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Rect boardRect(const draw::DrawContext& context, int width, int height) const;
  Settings& settings() { return settings_; }
  SettingsStore& store() { return *store_; }
  const Settings& settings() const { return settings_; }
  // Reads or stores the settings (and puts the pane's wrapping in line
  // with the wide-pane option).
  void loadSettings();
  // Puts the process-wide engine options of the settings in place.
  void applyProcessOptions();
  bool saveSettings();
  // The display options of the stored settings.
  draw::ViewOptions viewOptions() const;
  void setRandomNumber(int value) { randomNumber_ = value; }

 private:
  void gameChanged() { previewed_.reset(); }

  std::unique_ptr<SettingsStore> store_;
  Settings settings_;
  std::unique_ptr<Game> game_;
  std::mutex gameMutex_;
  BoardEntry entry_;
  int randomNumber_ = 0;
  // The last preview: the text it was made for and the board it shows.
  std::string previewText_;
  std::optional<LaidMove> previewed_;
};

// The game type names for the start-game choice, in list order.
std::vector<std::string> GameTypeNames();

// The numbers of players game type `index` allows (its "numplayers"), or
// {2, 2} for no such type.
std::pair<int, int> PlayerRange(int index);

// The drawing options the settings choose (the random number places the
// tiles' texture).
draw::ViewOptions ViewOptionsOf(const Settings& settings, int randomNumber);

}  // namespace pexil::ui
