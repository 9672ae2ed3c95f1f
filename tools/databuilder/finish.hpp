// Finishing: turns raw counts into the files the engine reads beside a
// word list (".rack.partial", ".rack", ".2p"/".3p"/".4p", ".bb") and the
// generic ones beside the program ("2player.pt".."4player.pt",
// "boardsim.scr"). Finishing needs the list's game type active: the rack
// size, the tiles of the bag and the letters they are written with.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "counts.hpp"

namespace pexil::databuilder {

struct FinishOptions {
  // Leaves seen fewer than about this many times lean on their sub-leave
  // prior: v = (n * mean + K * prior) / (n + K).
  int leavePriorWeight = 30;
  // The same for full racks, whose prior comes from their six-tile
  // sub-leaves.
  int rackPriorWeight = 8;
  // Full racks observed fewer times than this are left out of ".rack".
  int rackMinCount = 1;
  // A win-table cell is written when the games within +-winWindow leads of
  // it (same unseen tiles and blank state) reach winMinGames; it is written
  // with those pooled counts. Games are counted twice over (a draw is one
  // win of two).
  std::int64_t winMinGames = 100;
  int winWindow = 10;
};

struct FinishedTables {
  std::string leaves;                    // .rack.partial
  std::string racks;                     // .rack
  std::array<std::string, 5> win;        // [players] .2p .3p .4p ("" without games)
  std::array<std::string, 5> genericWin; // [players] 2player.pt ...
  std::string squares;                   // .bb
  std::string patterns;                  // boardsim.scr
  // A few figures for the report.
  std::size_t leavesWritten = 0;
  std::size_t leavesObserved = 0;
  std::size_t racksWritten = 0;
  double baselineMean = 0;  // tenths
};

// The leave values alone (what the next generation plays with).
std::string finishLeaves(const EvalCounts& counts, const FinishOptions& options, std::size_t* written = nullptr);

// Every table.
FinishedTables finishTables(const EvalCounts& counts, const FinishOptions& options);

// Writes the tables into a folder: the list's own files named after its
// base name ("ENGLISH.LST" -> "ENGLISH.rack", ...), and with `generic`
// also the generic win tables and boardsim.scr. Tables with no data are
// not written. Returns the paths written; on failure `error` says which
// file could not be written.
bool writeTables(const FinishedTables& tables, const std::string& folder, const std::string& listName, bool generic,
                 std::vector<std::string>& written, std::string& error);

// The base name files of a list are named after: its file name up to the
// first '.'.
std::string listBaseName(const std::string& listName);

}  // namespace pexil::databuilder
