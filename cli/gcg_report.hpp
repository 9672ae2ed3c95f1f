// The replay report of game records: each record is read and replayed, and
// every move whose score the record states differently from the board's is
// listed, with the lines that could not be used or had to be mended.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pexil {
struct GcgReadResult;
}

namespace pexil::cli {

// Prints the report of every file and a closing summary line. Returns 0
// when every file could be opened, else 1.
int runReplayGcg(const std::vector<std::string>& files);

// The lines of a record that were not used, at most `most` of them, then
// how many more there were. A `standalone` list begins by saying how many
// there were and gives each line's reason when one is known; otherwise
// (in the replay report, which lists the reasons itself) only the lines
// without a known reason are printed.
void printUnusedLines(const GcgReadResult& result, std::size_t most, bool standalone);

}  // namespace pexil::cli
