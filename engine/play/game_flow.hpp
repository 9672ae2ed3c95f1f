// The rules by which a game advances: playing, passing and exchanging,
// challenges, the end of the game, undo and redo, new games.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "state/game.hpp"

namespace pexil {

// Plays a move for the player to move: a placement, "(Pass)", an exchange
// label, "(Lost challenge)" or "(Incorrect challenge)". With `record`, an
// undo snapshot is taken, a history entry appended and the after-move hook
// run. With `randomRefill`, refills are random even with median draws on.
void PlayMove(Game& game, const Move& move, bool record = true, bool randomRefill = false);
// Plays a placement for the player to move without recording it (no
// history, no undo snapshot), refilling at random: PlayMove for self-play
// and searches.
void commitPlacement(Game& game, const Move& move);
void Pass(Game& game);
// An exchange keeping the given tiles ("(Exchanged tiles)").
void Exchange(Game& game, const std::string& keep);

bool ExchangeAllowed(const Game& game);

// Gives the player exactly these tiles (one-character forms, '?' a blank):
// the player's rack goes back to the well and the tiles are taken from it.
// A tile the well cannot supply is reported, with how many the board and
// the other racks hold, and then nothing changes.
bool GiveRack(Game& game, int player, const std::string& tiles);
// The final rack adjustments (each kept as a score change) and the end.
void EndGame(Game& game);
// What the end of the game adds to the scores under the game's rule with
// the racks as they are, one change per player and rack counted;
// `wentOut` is the player who has just moved (under the rule without
// doubling, the one who gains the others' racks when a rack is empty).
std::vector<ScoreChange> EndOfGameChanges(const Game& game, int wentOut);
// Keeps a change of score made after the last history entry; the second
// form keeps one for the entry it names (afterEntry), after the changes
// already kept there.
void AddScoreChange(Game& game, const ScoreChange& change);
void AddScoreChangeAfter(Game& game, const ScoreChange& change);
// Challenges the last move; true when the challenge succeeded.
bool ChallengeLast(Game& game);

// Creates a game for the active rules: players, their arrays, the lexicon
// (the game type's default word list when none is given), and resets it.
void NewGame(Game& game, int players, std::shared_ptr<Lexicon> lexicon);
// Sets up a game of `players` players for the active rules and the given
// lexicon: empty board, full bag, a rack drawn for every player, scores 0
// (NewGame).
void startGame(Game& game, int players, std::shared_ptr<Lexicon> lexicon);
// Back to the start of a game of the same type and players.
void ResetGame(Game& game);

void SetPlayerName(Game& game, int player, const std::string& name);
// The name shown for a player: the set name, or "Player %d".
std::string playerName(const Game& game, int player);

// Word knowledge: words challenged off that the player after the player to
// move must not be offered (looked up in the lexicon, typed forms
// converted). Returns the words taken.
std::vector<std::string> SetBarredWords(Game& game, const std::vector<std::string>& typed);

// Words challenged off in this game (one list for the process, emptied at
// every new game), which the simulation consults.
std::vector<std::string> wordsChallengedOff();

// The undo stack of the game shown to the user: snapshots and a cursor.
class UndoStack {
 public:
  void clear();
  void save(const Game& game);
  // False when there is nothing to undo (or redo).
  bool undo(Game& game);
  bool redo(Game& game);
  bool canUndo() const { return !snapshots_.empty() && cursor_ > 0; }
  bool hasRedo() const { return cursor_ + 1 < static_cast<int>(snapshots_.size()); }
  int size() const { return static_cast<int>(snapshots_.size()); }

 private:
  void restore(Game& game, int index);
  static void dropLists(Game& snapshot);
  std::vector<Game> snapshots_;
  int cursor_ = -1;
};
UndoStack& undoStack();

// Runs after every recorded move (the desktop program redraws there).
void SetAfterMoveHook(std::function<void(Game&)> hook);

// Whether the tiles of the game add up: board + racks + well = the full
// distribution, no count negative. Checked after every move in debug builds.
bool tilesConserved(const Game& game);

}  // namespace pexil
