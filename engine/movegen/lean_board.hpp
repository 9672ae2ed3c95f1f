// A compact board for searches that play and take back many moves: letter
// codes, the squares' multipliers and, per direction of play, the cross
// sets and the values of the cross-words' tiles. A placement updates only
// the squares at the ends of the lines of tiles through its tiles, and an
// undo record puts them back, so that a search allocates nothing per move.
//
// The annotations accept lexicon words only (no phony-class word, as cross-
// word or otherwise); barred words are left to the generator's filter.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "state/game.hpp"

namespace pexil {

// The most tiles a lean move places (and a lean rack holds).
inline constexpr int kLeanMaxTiles = 15;
// Marks a blank in LeanMove::code.
inline constexpr std::uint8_t kLeanBlank = 0x80;
inline constexpr std::int8_t kLeanEmpty = -1;

struct LeanSquare {
  std::int8_t tile = kLeanEmpty;  // letter code of the tile on the square
  std::uint8_t blank = 0;
  std::uint8_t usable = 1;
  // Per direction (bit d): the annotation for play in direction d is out
  // of date until the board is refreshed.
  std::uint8_t stale = 0;
  // For play in direction d: the square has tiles beside it across d (a
  // cross-word), and then the letters that make it a word and the plain
  // values of its tiles. Without tiles beside it every letter fits.
  std::array<std::uint8_t, 2> hasCross{};
  std::int16_t letterMultiplier = 1;
  std::int16_t wordMultiplier = 1;
  std::array<std::uint32_t, 2> cross{};
  std::array<std::int32_t, 2> crossSum{};

  bool empty() const { return tile == kLeanEmpty; }
};

// One placement: the word's first square and direction, the tiles it lays
// (their indexes in the word and letter codes, blanks marked), and its
// score. A pass has no tiles.
struct LeanMove {
  std::uint16_t start = 0;  // square index of the word's first letter
  std::uint8_t direction = 0;
  std::uint8_t length = 0;  // letters in the word
  std::uint8_t tiles = 0;   // tiles laid from the rack
  std::int32_t score = 0;   // points, bingo bonus included
  std::int32_t estimate = 0;  // for ordering: filled by the search
  EntryIndex entry = kNoEntry;  // the word; kNoEntry for the pass
  std::array<std::uint8_t, kLeanMaxTiles> offset{};
  std::array<std::uint8_t, kLeanMaxTiles> code{};

  bool isPass() const { return tiles == 0; }
};

// A rack as counts per letter code; blanks are counted apart.
struct LeanRack {
  std::array<std::uint8_t, 32> counts{};
  int blanks = 0;
  int total = 0;
};

// What an undo of one placement restores.
struct LeanUndo {
  static constexpr int kMaxSaved = 2 * kLeanMaxTiles + 4;
  std::array<std::uint16_t, kMaxSaved> index{};
  std::array<LeanSquare, kMaxSaved> saved{};
  int count = 0;
  std::uint16_t start = 0;
  std::uint8_t direction = 0;
  std::uint8_t tiles = 0;
  std::array<std::uint8_t, kLeanMaxTiles> offset{};
};

class LeanBoard {
 public:
  // Copies the game's tiles and square types and annotates every square
  // for the game's lexicon and the active rules. False when the board is
  // empty or the game has no lexicon.
  bool load(const Game& game);

  int width() const { return width_; }
  int height() const { return height_; }
  int step(int direction) const { return direction == kAcross ? 1 : width_; }
  const LeanSquare& square(int index) const { return squares_[static_cast<std::size_t>(index)]; }
  const Lexicon& lexicon() const { return *lexicon_; }
  std::uint32_t letterMask() const { return letterMask_; }
  // Points of a tile: the blank's value for a blank, else the letter's.
  int tileValue(int code, bool blank) const { return blank ? blankValue_ : value_[static_cast<std::size_t>(code & 31)]; }
  int letterValue(int code) const { return value_[static_cast<std::size_t>(code & 31)]; }
  int blankValue() const { return blankValue_; }

  // Lays the move's tiles and marks the annotations it changes out of
  // date; refresh works them out. A search that plays and takes back a
  // move without generating on the board between costs no annotation.
  void place(const LeanMove& move, LeanUndo& undo);
  // Takes the move of `undo` back (the latest placed first).
  void takeBack(const LeanUndo& undo);
  // Brings every out-of-date annotation up to date: needed before the
  // annotations are read (generating, replaying).
  void refresh();

  // The square's annotation for play in direction d, worked out again from
  // the tiles beside it (the whole-board form of what place keeps up).
  void annotate(int index, int direction);

 private:
  void saveSquare(LeanUndo& undo, int index);
  // The empty squares at both ends of the run of tiles through `index`
  // along `along`, marked out of date for play across it.
  void updateRunEnds(LeanUndo& undo, int index, int along);
  void markStale(int index, int direction);

  int width_ = 0;
  int height_ = 0;
  std::vector<LeanSquare> squares_;
  // Squares that may have out-of-date annotations (some listed twice).
  std::vector<std::uint16_t> stale_;
  const Lexicon* lexicon_ = nullptr;
  std::uint32_t letterMask_ = 0;
  int letterCount_ = 0;
  std::array<int, 32> value_{};
  int blankValue_ = 0;
};

}  // namespace pexil
