// A word list loaded together with the tables that come with it: the
// rack-value tables (".rack", ".rack.partial") and the win-probability
// tables. The lexicon reads only the list and its own companion files; the
// tables live a layer above it and are read here, at the points of the
// load where they have their place.
#pragma once

#include <string>

#include "lexicon/lexicon.hpp"

namespace pexil {

// Lexicon::loadWordList with the list's tables. Once the words are in, the
// racks become multisets of the standard bag of the list's alphabet and,
// unless the lexicon's loadLeaves is off, the rack tables are loaded
// (LoadRackTables). Once the square-letter statistics are read, the
// win-probability tables named after the list's identity are loaded
// (LoadWinProbTables), unless its loadWinProb is off. Nothing happens when
// the same list is loaded already. Returns what loadWordList returns.
bool loadWordListWithTables(Lexicon& lexicon, const std::string& fileName, const std::string& validatingName = "");

// Makes a loaded list's tables the process-wide ones again after another
// list's were in force for a while: the rack distribution of its alphabet,
// the rack tables (LoadRackTables) and, unless its loadWinProb is off, the
// win-probability tables.
void ActivateListTables(const Lexicon& lexicon);

}  // namespace pexil
