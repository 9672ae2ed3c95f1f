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


}  // namespace pexil::cli
