// pexil-cli play: a game of the user against the computer in the terminal.
//
// The user types commands on standard input, one per line (a pipe works as
// well as a terminal); everything the program says goes through the text
// pane to standard output. Moves are typed as in play_typed_move.hpp,
// exchanges as in play_exchange.hpp. Pexil knows its word list and
// challenges every phony it sees (unless challenges are off); the user may
// challenge Pexil's last move with "challenge".
//
// The session owns the seats: whatever a file opened or a move taken back
// brings in, the computer's seat keeps Pexil's name and strategy and the
// game keeps the session's challenge rule.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "state/game.hpp"
#include "lexicon/lexicon.hpp"
#include "game_files.hpp"
#include "play_exchange.hpp"
#include "play_typed_move.hpp"

namespace pexil::cli {

inline constexpr int kDefaultPlayStrategy = 2;

struct PlaySettings {
  int computerSeat = 1;
  std::string userName;   // Latin-1
  bool nameGiven = false;  // --name was given: it wins over a file's name
  // The word list --list named: records opened during the game are replayed
  // with it too, instead of the list their "#lexicon" line chooses.
  std::shared_ptr<Lexicon> namedList;
  int strategy = kDefaultPlayStrategy;
  int challengeType = 2;
  int clock = kNoClock;  // hundredths of a second on Pexil's clock, or none
  bool sameTime = false;
  bool plyGiven = false;
  int ply = 0;  // --ply: the computer's moves come from the fast lookahead at this depth
};

class PlaySession {
 public:
  // `opened`: the game was read from a file given on the command line.
  PlaySession(Game& game, const PlaySettings& settings, bool opened);

  int run();

 private:
  using Clock = std::chrono::steady_clock;

  // Input and questions.
  bool readLine(std::string& line);
  std::string typedCommand(const std::string& line);
  bool confirm(const std::string& question);
  bool confirmRedo();
  // Before the game in progress is dropped: asked when it has moves that
  // were not saved.
  bool confirmAbandon();
  // Runs one command line; false when the session ends.
  bool dispatch(const std::string& line);

  // The seats.
  void applySeats();
  void adoptOpenedGame();

  // The flow of the game.
  void settle();
  void challengeUserPhony();
  void computerTurn();
  void setHideLeaves();
  void showPosition();
  void showFinal();
  void showPlayed(int player);
  void chargeUser();
  // Every change of the game also forgets the known tiles and the rack
  // guess, which were about the position before it.
  void noteChange();
  bool hasUnsavedMoves() const { return changes_ != savedAt_; }
  void noteSaved() { savedAt_ = changes_; }

  // Commands.
  void handleMove(const Position& at, const std::string& word);
  void handlePass();
  void handleExchange(const std::string& typed, ExchangeTiles meaning);
  void handleChallenge();
  void handleUndo();
  void handleRedo();
  void handleHint();
  void handleMoves(const std::vector<std::string>& words);
  // "simulate [PLY]": the threaded lookahead on a copy of the game, for the
  // user's rack; the game itself is left as it is.
  void handleSimulate(const std::vector<std::string>& words);
  void handleResults(const std::vector<std::string>& words);
  void printResultsTable(int selected);
  // "endgame [N]": the endgame search for the user's rack, the bag empty.
  void handleEndgame(const std::vector<std::string>& words);
  void handleWell(const std::vector<std::string>& words);
  // "infer": Pexil's rack guessed from its last move; the simulations of
  // this position use the guess. "known TILES": tiles known to be on
  // Pexil's rack, which the simulations of this position use; "known"
  // alone forgets them.
  void handleInfer();
  void handleKnown(const std::string& typed);
  void handleFileCommand(const std::string& command, const std::vector<std::string>& words);
  void help();

  bool lastMoveBy(int player) const;
  std::string name(int player) const;

  Game& game_;
  PlaySettings settings_;
  int computer_;
  int user_;
  std::string userName_;
  GameFileNames files_;
  bool endShown_ = false;
  bool endOfInput_ = false;
  // Changes of the game since the session began, and their number when
  // the game was last opened or saved.
  long changes_ = 0;
  long savedAt_ = 0;
  Clock::time_point promptTime_ = Clock::now();
  // The position of the last "sim", with its simulated list, for "results".
  std::unique_ptr<Game> simulated_;
};

}  // namespace pexil::cli
