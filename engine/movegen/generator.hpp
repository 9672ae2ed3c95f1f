// Move generation: every legal placement of the mover's rack, plus the pass
// and the standard exchanges, as Move records in the game's move lists.
#pragma once

#include <cstdint>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

// Generates the moves of the player to move. Without bestOnly every move
// goes to the active list (the main list, or an alternative list of a
// search mode), sorted best first; with bestOnly only game.bestMove (and
// game.candidates) are kept. Prints "Need a game first." when the game has
// no players.
void GenerateMoves(Game& game, bool bestOnly);

// What a generation produces.
enum class Generation : std::uint8_t {
  fullList,     // every move in the active list, sorted best first
  bestOnly,     // game.bestMove by the best-only rule
  firstOfList,  // game.bestMove: the move the full list would put first,
                // found without building the list when it can be
};
void GenerateMoves(Game& game, Generation what);

// The per-square annotations of both directions: cross sets, phony sets,
// anchors, unusable squares. With withBarredWords, words barred for the
// restricted player are left out of the cross sets when that player is to
// move.
void AnnotateBoard(Board& board, const Game& game, bool withBarredWords = true);

// Sets the board's phony length limit (the computer's minimum phony length
// when phony play is on, else none allowed) and annotates the board for
// generation, as after every move.
void prepareBoard(Game& game);

// The annotations after a placement, updated square by square instead of
// worked out again: only the squares at the ends of the lines of tiles
// through the move's squares change. For a board annotated by
// prepareBoard that held tiles before the move (BoardReadyForUpdate,
// asked before the move is placed); the result equals prepareBoard's.
bool BoardReadyForUpdate(const Game& game);
void UpdateBoardAfterPlacement(Game& game, const Move& move);

// True when a word of exactly `length` squares from (column, row) in the
// direction is a legal shape: on the board, on usable squares, not touching
// tiles before or after it, and holding a tile or an open anchor.
bool PlacementFits(const Board& board, int column, int row, int length, int direction);

// The generators for one first square.
void GenerateFromSquare(Game& game, int column, int row, int direction, bool bestOnly);
void ScanWordsFromSquare(Game& game, int column, int row, int length, int direction, bool bestOnly);
void AnagramsFromSquare(Game& game, int column, int row, int length, int direction, bool bestOnly);

// Evaluates and records one placement (the board holds none of its tiles).
void RecordPlacement(Game& game, Move move, bool bestOnly);

// The tiles of the rack an exchange label keeps: the blanks and one tile
// of each of the label's letters the rack holds. `found` (when given) tells
// whether any of those letters was there.
Rack keptByLabel(const Rack& rack, const char* label, bool* found = nullptr);

// The list generation fills now: altListA, altListB or the main list.
std::vector<Move>& activeList(Game& game);

// Searches for the highest-scoring move with any rack drawn from the unseen
// tiles, printing each improvement, until the abort flag is raised.
void SearchHighestScore(Game& game);

}  // namespace pexil
