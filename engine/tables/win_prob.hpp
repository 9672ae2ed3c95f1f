// Win-probability tables: the chance, in percent, that the player who has
// just moved wins, given that player's lead, the number of unseen tiles
// and where the blanks are. One table per number of players (2, 3, 4) is
// loaded from text files beside the program whenever a word list loads: the
// list's own "<identity>.2p"/".3p"/".4p" file when there is one, else the
// generic "2player.pt"/"3player.pt"/"4player.pt". Tables are gap-filled,
// smoothed and made monotone in the lead at load time, so a lookup is a
// clamp, a blank-state computation and one array read.
//
// Threads: the tables are immutable once built. Loading builds a new table
// completely and only then swaps it in under a lock; a simulation takes a
// shared_ptr copy once (sharedWinProbTable) and reads it without locking
// for as long as it runs, whatever is loaded meanwhile.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pexil {

struct WinProbTable {
  static constexpr int kMaxLead = 200;                 // leads -200..+200
  static constexpr int kLeads = 2 * kMaxLead + 1;      // 401 lead indexes
  static constexpr int kTileSlots = 120;               // unseen-tile slots held
  static constexpr int kMaxTiles = 86;                 // the largest tile count filled and looked up
  static constexpr int kBlankStates = 5;
  static constexpr std::size_t kCells = std::size_t(kLeads) * kTileSlots * kBlankStates;

  // Both arrays hold kCells values, indexed by cell(): percentages as read
  // from the file (-1 where it gave nothing; gaps at tile counts 0..86 are
  // filled in by finishWinProbTable), and the values lookups return.
  std::vector<float> raw;
  std::vector<float> smoothed;
  // Whether the table came from a generic file (4-field records applying to
  // every blank state; the narrower smoothing window for all states).
  bool generic = false;
  // The file name the table was asked to load ("" for one built from text),
  // and whether that file could be opened.
  std::string fileName;
  bool opened = false;

  // Every raw cell -1, every smoothed cell 0.
  WinProbTable();

  // The index of [leadIndex][tiles][state]; leadIndex = lead + 200, all
  // three within their ranges.
  static constexpr std::size_t cell(int leadIndex, int tiles, int state) {
    return (static_cast<std::size_t>(leadIndex) * kTileSlots + static_cast<std::size_t>(tiles)) * kBlankStates +
           static_cast<std::size_t>(state);
  }
  // The cells by lead (-200..200), tile count (0..119) and state (0..4).
  float rawAt(int lead, int tiles, int state) const { return raw[cell(lead + kMaxLead, tiles, state)]; }
  float smoothedAt(int lead, int tiles, int state) const { return smoothed[cell(lead + kMaxLead, tiles, state)]; }
};

// The blank state (0..4) from the blanks still unseen and those on the
// player's rack: 4 for two or more unseen; otherwise 0 = no blank anywhere,
// 1 = one on the rack and none unseen, 2 = one unseen and none on the rack,
// 3 = one unseen and one on the rack. Negative counts count as none.
constexpr int WinProbBlankState(int blanksUnseen, int blanksOnRack) {
  if (blanksUnseen >= 2) return 4;
  const int unseen = blanksUnseen > 0 ? blanksUnseen : 0;
  const int onRack = blanksOnRack > 0 ? 1 : 0;
  return onRack + 2 * unseen;
}

// The chance in percent that the player wins: the lead is clamped to
// -200..200, the tile count to 0..86.
inline float WinProb(const WinProbTable& table, int lead, int tiles, int blanksUnseen, int blanksOnRack) {
  lead = lead < -WinProbTable::kMaxLead ? -WinProbTable::kMaxLead : lead > WinProbTable::kMaxLead ? WinProbTable::kMaxLead : lead;
  tiles = tiles < 0 ? 0 : tiles > WinProbTable::kMaxTiles ? WinProbTable::kMaxTiles : tiles;
  return table.smoothed[WinProbTable::cell(lead + WinProbTable::kMaxLead, tiles, WinProbBlankState(blanksUnseen, blanksOnRack))];
}

// Whether a file name names a generic table: its file-name part contains
// ".pt" (in any letter case).
bool isGenericWinProbName(std::string_view fileName);

// Reads records into the raw cells: "lead tiles state games wins", or for
// a generic table "lead tiles games wins" applied to all five states; each
// sets its cell to 100 * wins / games. A record with a token that is not a
// decimal integer, a lead outside -200..200, a tile count outside 0..119,
// a state outside 0..4, games <= 0 or wins outside 0..games is skipped, as
// is an incomplete record at the end. Later records overwrite earlier
// ones. Returns the number of records used.
std::size_t readWinProbRecords(WinProbTable& table, std::string_view text);

// Turns the raw cells into the lookup values: a missing cell takes the mean
// of the other blank states present at its lead and tile count, the gaps
// left are filled outward from lead 0, least-squares lines are fitted over
// the leads (a window of +-10, +-16 for states 1 and 3 of a non-generic
// table), and the values are clamped to 0..100 and made non-decreasing in
// the lead in every column.
void finishWinProbTable(WinProbTable& table);

// A finished table from records in memory; null only when memory runs out.
std::shared_ptr<WinProbTable> winProbTableFromText(std::string_view text, bool generic);

// A finished table from a file beside the program (found ignoring letter
// case; its format by its name). A file that cannot be opened gives the
// table of no records: 50 everywhere. Null only when memory runs out.
std::shared_ptr<WinProbTable> loadWinProbTable(const std::string& fileName);

// The list ids (of the word list's identity) whose tables may come from an
// earlier list's name: csw12... from "SOWPODS", ospd2... from "ENABLE".
inline constexpr int kListIdCsw12 = 5;
inline constexpr int kListIdOspd2 = 7;

// The files LoadWinProbTables takes for a word list, for 2, 3 and 4
// players: the list's identity name (its validating list when it has one,
// else its own file name) cut at the first '.', plus ".2p", ".3p" or
// ".4p", each when it exists, else "2player.pt", "3player.pt" or
// "4player.pt". A csw12 list without its own ".2p" file takes the three
// names from "SOWPODS" instead, an ospd2 list from "ENABLE" (each still
// falling back to the generic file).
std::array<std::string, 3> winProbFileNames(const std::string& identityName, int listId);
// One of them, for 2..4 players; "" for another number.
std::string winProbFileName(const std::string& identityName, int listId, int players);

// Loads the three tables for a word list, replacing the ones held (the
// word-list loader does so for every list it loads).
void LoadWinProbTables(const std::string& identityName, int listId);
// Loads the three generic tables when no two-player table is held (a game
// starting before any word list brought its tables).
void EnsureGenericWinProbTables();

// The table held for 2, 3 or 4 players; null when none is (or for another
// number). The pointer stays valid until the next load of that table; a
// thread that may overlap a load takes sharedWinProbTable instead.
const WinProbTable* winProbTable(int players);
// A reference to the table held, which keeps it alive while in use (taken
// once per simulation by its workers).
std::shared_ptr<const WinProbTable> sharedWinProbTable(int players);

// Puts a table in place for 2..4 players (tests, tools); null removes it.
// A table whose arrays do not hold kCells values is refused.
void setWinProbTable(int players, std::shared_ptr<const WinProbTable> table);
// Drops all three tables (tests).
void clearWinProbTables();

}  // namespace pexil
