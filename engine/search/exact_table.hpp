// The exact endgame solver's transposition table and position keys.
//
// Keys are Zobrist hashes: a random 64-bit number per (square, letter,
// blank or not), per (player, letter code, count held), per player to move
// and per number of passes left before the game ends by passes.
//
// The table is shared by the solver's threads without locks: an entry is
// two words, the data and the key XOR the data, written and read with
// relaxed atomic stores and loads. A torn entry (the two words from
// different writes) fails the key check and reads as a miss.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace pexil {

class ExactKeys {
 public:
  static constexpr int kSquares = 32 * 32;
  static constexpr int kCounts = 16;
  static constexpr int kPassStates = 64;

  ExactKeys();
  std::uint64_t tile(int square, int code, bool blank) const {
    return tiles_[static_cast<std::size_t>((square * 32 + (code & 31)) * 2 + (blank ? 1 : 0))];
  }
  // The key of holding the `count`-th tile of `code` (count from 1).
  std::uint64_t rackTile(int player, int code, int count) const {
    return rack_[static_cast<std::size_t>((player * 32 + (code & 31)) * kCounts + (count & (kCounts - 1)))];
  }
  std::uint64_t toMove(int player) const { return toMove_[static_cast<std::size_t>(player & 1)]; }
  std::uint64_t passesLeft(int passes) const { return passes_[static_cast<std::size_t>(passes & (kPassStates - 1))]; }

 private:
  std::vector<std::uint64_t> tiles_;
  std::vector<std::uint64_t> rack_;
  std::array<std::uint64_t, 2> toMove_{};
  std::array<std::uint64_t, kPassStates> passes_{};
};

// What the table knows of a position.
enum class ExactBound : std::uint8_t { none = 0, lower = 1, upper = 2, exact = 3 };

struct ExactEntry {
  int value = 0;          // points the mover gains on the opponent from here
  ExactBound bound = ExactBound::none;
  bool final = false;     // proved to the end of the game, at any depth
  int depth = 0;          // plies searched below the position
  std::uint32_t move = 0; // the best move's identity (0: none)
};

class ExactTable {
 public:
  // About `megabytes` of entries (a power of two, at least 1,024 entries).
  explicit ExactTable(int megabytes);

  bool probe(std::uint64_t key, ExactEntry& entry) const;
  // Asks the processor to fetch the key's slot ahead of a probe.
  void prefetch(std::uint64_t key) const {
    if (words_) __builtin_prefetch(words_.get() + 2 * (key & mask_));
  }
  void store(std::uint64_t key, const ExactEntry& entry);

 private:
  // Two words per slot (the check, then the data), in memory the system
  // hands out zeroed page by page as it is first touched: a large table
  // costs nothing until the search reaches it.
  struct FreeWords {
    std::size_t bytes = 0;
    void operator()(std::uint64_t* words) const;
  };
  std::unique_ptr<std::uint64_t[], FreeWords> words_{nullptr, FreeWords{}};
  std::uint64_t mask_ = 0;
};

}  // namespace pexil
