// The opening-book builder: fetches an opening rack from the results
// server, simulates it 9 plies deep and reports the best five moves back,
// cycle after cycle until the user aborts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/game.hpp"
#include "state/move.hpp"

namespace pexil {

struct OpeningBookOptions {
  std::string host;  // the results server; empty: not set up, nothing happens
  int port = 80;
  int threads = 1;   // 1 in the background, else the processors
  int cycles = 0;    // cycles with a rack analysed; 0: until aborted
  int ply = 9;
  // The simulation's size: up to 1000 iterations for each of 10 candidates.
  int iterationsPerCandidate = 1000;
  int candidates = 10;
  std::uint32_t seed = 0;          // 0: from the clock
  int retryPauseMs = 1000;         // after a rack request that failed
  int maxFailedRequests = 0;       // give up after this many in a row; 0: never
};

struct OpeningBookOutcome {
  int cycles = 0;                 // racks analysed and reported
  int failedRequests = 0;
  std::vector<std::string> reports;  // the report urls sent, in order
};

// The url of a rack request for a lexicon ("TWL06" or "CSW12").
std::string OpeningRackUrl(const std::string& host, const std::string& lexicon);
// The url reporting one analysed move of `rack`.
std::string OpeningReportUrl(const std::string& host, const std::string& lexicon, const std::string& rack,
                             const Move& move, int ply);

OpeningBookOutcome RunOpeningBook(const OpeningBookOptions& options);

}  // namespace pexil
