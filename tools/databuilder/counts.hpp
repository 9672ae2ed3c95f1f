// The raw counts of the evaluation-data builder: exact 64-bit sums of
// what self-play observed, before any table is finished. A shard of a run
// writes one counts file; counts files add up exactly, so shards merged
// equal one unsharded run, and a checkpoint is a counts file that also
// says which game to play next.
//
// Tiles are identified by the letter codes of the active rules (0..31),
// never by letters, so that counts can be read, merged and checked without
// any word list loaded.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/atomic_file.hpp"

namespace pexil::databuilder {

// ---------------------------------------------------------------------------
// Multisets of tiles as keys.
//
// A multiset of at most 12 tiles packs into 64 bits: bits 0..3 the number
// of tiles, then 5 bits per tile code in ascending order. The empty
// multiset is 0. In counts files a key is written as its codes, one
// character each from "abcdefghijklmnopqrstuvwxyz012345" (code 0 is 'a',
// code 26 is '0'), or "-" for the empty multiset.

inline constexpr int kMaxKeyTiles = 12;
inline constexpr int kCodes = 32;
using TileKey = std::uint64_t;
// Never a key: its length bits read 15.
inline constexpr TileKey kNoKey = ~TileKey(0);

// The key of per-code tile counts (32 entries); kNoKey for a negative
// count or more than 12 tiles.
TileKey keyOfCounts(const std::array<int, kCodes>& counts);
// The per-code counts of a key.
std::array<int, kCodes> countsOfKey(TileKey key);
inline int keyTiles(TileKey key) { return static_cast<int>(key & 15); }
// A key's text form, and the key of a text form (kNoKey when malformed).
std::string keyText(TileKey key);
TileKey keyOfText(std::string_view text);

// ---------------------------------------------------------------------------
// Sums.

struct Sum {
  std::int64_t count = 0;
  std::int64_t total = 0;
};

// Adds b to a; false (a unchanged) when either sum would overflow.
bool addSum(Sum& a, std::int64_t count, std::int64_t total);

// Sums by key: open addressing over a power-of-two slot count, kept at
// most half full. Key 0 (the empty multiset) has a slot of its own.
class KeyedSums {
 public:
  // False when the sum would overflow (nothing changes then).
  bool add(TileKey key, std::int64_t count, std::int64_t total);
  // The sum held for a key (zero when none).
  Sum get(TileKey key) const;
  std::size_t size() const { return used_ + (hasEmpty_ ? 1 : 0); }
  // The keys held, in ascending order.
  std::vector<TileKey> sortedKeys() const;
  bool operator==(const KeyedSums& other) const;

 private:
  struct Slot {
    TileKey key = 0;
    Sum sum;
  };
  std::size_t find(TileKey key) const;
  void grow();
  std::vector<Slot> slots_;
  std::size_t used_ = 0;
  Sum empty_;
  bool hasEmpty_ = false;
};

// ---------------------------------------------------------------------------
// The win-probability observations: one table per number of players
// (2..4), cells by lead (-200..200), unseen tiles (0..86) and blank state
// (0..4); games and wins are counted twice over so that a draw is one win.

inline constexpr int kMaxLead = 200;
inline constexpr int kLeads = 2 * kMaxLead + 1;
inline constexpr int kMaxUnseen = 86;
inline constexpr int kUnseenSlots = kMaxUnseen + 1;
inline constexpr int kBlankStates = 5;
inline constexpr std::size_t kWinCells = std::size_t(kLeads) * kUnseenSlots * kBlankStates;
inline std::size_t winCell(int lead, int unseen, int state) {
  return (static_cast<std::size_t>(lead + kMaxLead) * kUnseenSlots + static_cast<std::size_t>(unseen)) * kBlankStates +
         static_cast<std::size_t>(state);
}

// Square-letter observations: 15 x 15 squares, 32 letter codes.
inline constexpr int kSquareSide = 15;
inline constexpr std::size_t kSquareCells = std::size_t(kSquareSide) * kSquareSide * kCodes;
inline std::size_t squareCell(int letter, int column, int row) {
  return (static_cast<std::size_t>(row) * kSquareSide + static_cast<std::size_t>(column)) * kCodes +
         static_cast<std::size_t>(letter);
}

// Board-pattern observations: per interior cell, 512 patterns.
inline constexpr int kPatterns = 512;

// What a shard or a run is: which list, seed, generation and games it
// covers. A merged file keeps the list and drops the shard fields.
struct CountsInfo {
  std::string list;
  std::int64_t seed = -1;
  int generation = -1;
  int players = 0;
  int shard = -1;
  int shards = 0;
  std::int64_t next = 0;  // the next game index to play (checkpoints)
  std::int64_t end = 0;   // the games of the generation
  std::string leaves;     // a digest of the leave values played with ("" for none)
  bool operator==(const CountsInfo&) const = default;
};

struct EvalCounts {
  CountsInfo info;
  std::array<std::int64_t, 5> games{};  // games played, by number of players
  Sum baseline;                          // fresh-rack equity at next-turn positions (tenths)
  KeyedSums leaves;                      // leave -> (turns, next-turn equity in tenths)
  KeyedSums racks;                       // full rack -> (turns, points this turn and the next)
  std::array<std::vector<Sum>, 5> win;   // [players] kWinCells each, empty until used
  std::vector<Sum> squares;              // kSquareCells, empty until used
  int patternWidth = 0, patternHeight = 0;
  std::vector<Sum> patterns;             // cells x kPatterns, empty until used

  // Room for the tables, allocated on first use.
  std::vector<Sum>& winTable(int players);
  std::vector<Sum>& squareTable();
  // The pattern table for a board; false when the table has other sizes
  // (or the sizes are absurd).
  bool usePatternTable(int width, int height);
  int patternCells() const { return (patternWidth - 2) * (patternHeight - 2); }

  // Adds another set of counts; false when the lists differ or a sum would
  // overflow (this set may then be partly added: callers discard it).
  bool add(const EvalCounts& other);
  // Same sums (the info aside).
  bool sameSums(const EvalCounts& other) const;
};

// The text of a counts file: a header of the info, then one record per
// line, in a fixed order so that equal counts give equal bytes.
std::string writeCounts(const EvalCounts& counts);

// Reads a counts file's text into `counts` (adding to what it holds).
// Lines that are malformed, out of range, inconsistent (negative counts,
// wins above games) or would overflow a sum are skipped and counted.
struct ReadReport {
  std::size_t records = 0;
  std::size_t skipped = 0;
  bool sawFormat = false;
};
ReadReport readCounts(std::string_view text, EvalCounts& counts);

// Files are written through a temporary name and a rename, so that a
// reader (or a resumed run) sees the old file or the new one, never half
// of one.
using pexil::writeFileAtomically;
// A whole file, or none.
bool readFileText(const std::string& path, std::string& text);

// FNV-1a of a text, as 16 hex digits (identifies a leave-values file).
std::string digestOf(std::string_view text);

}  // namespace pexil::databuilder
