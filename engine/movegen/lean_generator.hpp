// Placements with their scores only, on a lean board: no leave values, no
// adjustments, no sorting, no allocation once the output buffer has grown.
// For searches that generate at every node (the exact endgame solver).
//
// The plays are those of the full generator with phony play off: every
// word of the lexicon that is no phony-class word, with cross-words of the
// same kind, and without the words barred for the player when the game
// bars some. Blanks are designated as playing the move designates them
// (see asPlayed). A one-tile play that forms words both ways is listed once
// (across), where the full generator lists it for each direction.
#pragma once

#include <cstdint>
#include <vector>

#include "movegen/lean_board.hpp"
#include "state/game.hpp"

namespace pexil {

class LeanGenerator {
 public:
  // The rules' rack size and bingo bonus are read here.
  LeanGenerator();

  // Words barred for `player` (game.barredWords when game.restrictedPlayer
  // is that player) are left out of that player's plays.
  void setBarredWords(const Game* game) { barredGame_ = game; }

  // Appends every placement of `rack` for `player` on the board to `out`.
  void generate(const LeanBoard& board, const LeanRack& rack, int player, std::vector<LeanMove>& out);

  // A move without blanks found on another board, given the letter codes
  // of its whole word (one per square, tiles on the board included): true
  // when generate would list the same play of `rack` for `player` on this
  // board, forming the same main word, and then `move.score` is set to its
  // score here. Moves with
  // blanks and players with barred words are always refused.
  bool replay(const LeanBoard& board, const LeanRack& rack, int player, LeanMove& move, const std::int8_t* letters) const;

 private:
  void walkLine(int direction, int line);
  void fromSquare(int position);
  void extend(int k, NodeIndex node, int tiles, int mainSum, int wordFactor, int crossTotal);
  void record(int length, EntryIndex word, int tiles, int score);
  bool barred(const LeanMove& move) const;
  // Whether the walk's blanks are where playing the move lays them: the
  // rack's own tiles first in word order, the blanks for what the rack
  // lacks, and each blank on the square of its letter that scores best
  // (the earliest on ties). Other designations are not listed.
  bool asPlayed(int length, int tiles) const;
  int scoreWithBlanks(int length, int tiles, std::uint32_t blankOffsets) const;

  const LeanBoard* board_ = nullptr;
  const Lexicon* lexicon_ = nullptr;
  std::vector<LeanMove>* out_ = nullptr;
  const Game* barredGame_ = nullptr;
  bool checkBarred_ = false;
  int player_ = 0;
  int rackSize_ = 7;
  int bingoBonus_ = 50;

  // The rack being walked.
  std::array<int, 32> counts_{};
  std::uint32_t rackMask_ = 0;
  int blanks_ = 0;
  int rackBlanks_ = 0;
  int rackTiles_ = 0;

  // The line and first square being walked.
  int direction_ = 0;
  int lineStart_ = 0;  // square index of the line's first square
  int lineLength_ = 0;
  int step_ = 1;
  int start_ = 0;      // position in the line of the word's first square
  std::uint64_t legal_ = 0;
  int maxLegal_ = 0;
  std::array<std::uint8_t, 64> reach_{};
  std::array<std::uint8_t, 64> touching_{};

  // The tiles laid so far on the walk.
  std::array<std::uint8_t, kLeanMaxTiles> offsets_{};
  std::array<std::uint8_t, kLeanMaxTiles> codes_{};
};

}  // namespace pexil
