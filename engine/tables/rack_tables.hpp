// The rack-value tables loaded beside a word list: the full-rack table
// (".rack": occurrence counts and point totals per full rack, normalised to
// tenths of a point above or below the mean) and the leave values
// (".rack.partial": tenths of a point per leave of fewer tiles). Both are
// process-wide, written only while a word list loads and read by every
// search thread afterwards.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <span>
#include <string_view>

#include "rules/tile_counts.hpp"

namespace pexil {

class Lexicon;

// Picks and loads the .rack and .rack.partial files for the lexicon's
// word list: "<list base>.rack", else "ENABLE.rack" for lists with identity
// 1 to 3 and 7, else nothing for a list in another language than English,
// else "CSW12.rack". Loading the name already loaded does nothing. With the
// lexicon's useBinaryFile, the tables come from their binary form
// ("<base>.rackbin" beside the .rack file) when it matches the texts, the
// rack size and the distribution; otherwise from the texts, and for files
// of the data folder the binary form is written again.
void LoadRackTables(const Lexicon& lexicon);

// The distribution racks are drawn from: the standard bag of the word-list
// alphabet (Latin plays the English bag). Set again when the word-list
// alphabet changes; it decides which letter strings are racks at all.
void setRackDistribution(int alphabet);

// The leave value, in tenths of a point, of a letter string (upper or lower
// case, '?' for blanks; its order does not matter); none when it is not a
// multiset of at most rack-size tiles of the distribution. Leaves the
// table does not list are worth 0.
std::optional<int> leaveValueOf(std::string_view letters);
// The same for letter counts (33-int form).
std::optional<int> leaveValueOf(const LetterCounts& counts);
// leaveValueOf(letters).value_or(0), without the optional: the form the
// evaluation of every generated move uses.
int leaveValueOrZero(std::string_view letters);
// leaveValueOrZero for many leaves at once: values[i] for leaves[i]. The
// table's slots are fetched together, so that their cache misses overlap.
void leaveValuesOrZero(std::span<const std::string_view> leaves, std::span<int> values);

// The normalised full-rack value of a rack-size count array, or none when
// the table has no entry for it.
std::optional<int> FullRackValue(const LetterCounts& counts);
// FullRackValue(racks[i]).value_or(0) into values[i], the table's slots
// fetched together so that their cache misses overlap.
void fullRackValuesOrZero(std::span<const LetterCounts> racks, std::span<int> values);

// Whether a full-rack table is loaded (with at least one record), and the
// .rack name LoadRackTables chose last, whether or not that file could be
// read ("" for none).
bool hasFullRackTable();
const std::string& loadedRackTableName();

// Forgets both tables (tests).
void clearRackTables();

// The readers behind LoadRackTables, for text already in memory (tests,
// fuzzing). loadFullRackText replaces the full-rack table with the records
// of a .rack text and normalises them, printing "no rack statistics found"
// when no record counts; it returns the number of distinct racks held.
// loadLeaveText replaces the leave values with those of a .rack.partial
// text and returns the number of leaves listed.
std::size_t loadFullRackText(std::string_view text);
std::size_t loadLeaveText(std::string_view text);

// The most racks the full-rack table holds (6,068,243), the racks it holds
// and the leaves listed. setFullRackTableCapacity frees the table and gives
// it another capacity (tests of a full table; 0 restores the standard one).
std::size_t fullRackTableCapacity();
std::size_t fullRackTableSize();
std::size_t leaveTableSize();
void setFullRackTableCapacity(std::size_t slots);

// The binary form of the tables LoadRackTables loaded: written to a path
// (false when no tables came from files, or the write fails), its name
// beside the loaded .rack file ("" when none), and whether the tables in
// use come from it.
bool writeRackTablesBinary(const std::string& path);
std::string rackTablesBinaryName();
bool rackTablesFromBinary();

}  // namespace pexil
