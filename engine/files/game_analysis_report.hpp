// The whole-game analysis: every move of a game record analysed in turn
// (the endgame search near the end of a two-player game, the fast
// lookahead otherwise) into a text report of one section per move: the
// position, the scores, the mover's rack, the move played, the best
// candidates with the one played marked, the win percentage each player
// has given up so far, and optionally the tile-inference data and the
// candidates' heat maps. The report is printed to the text pane, which the
// caller redirects into the report file; the progress goes to the pane
// itself.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace pexil {

class Lexicon;

struct GameAnalysisOptions {
  int topMoves = 20;        // candidates listed per move
  int minSimulations = 0;   // iterations each listed candidate gets at least
  int ply = 3;              // plies simulated after each candidate
  int threads = 1;
  bool tileGuesses = true;  // the inference section
  bool heatmaps = false;    // the heat-map section
  // Bounds each move's search (hundredths of a second, 0 = none); the
  // endgame search gets this or 30 seconds when none is given.
  int timeBudget = 0;
  // The word list instead of the one the record names: loaded already, or
  // a file's name (as the record readers take them).
  std::shared_ptr<Lexicon> lexicon;
  std::string wordListName;
};

// Called before each move is analysed: move `number` (from 1) of `total`.
using GameAnalysisProgress = std::function<void(int number, int total)>;

// What an analysis went through.
struct GameAnalysisSummary {
  bool opened = false;   // false: the record could not be read (reported)
  int moves = 0;         // moves analysed
  bool aborted = false;  // stopped by the user
};

GameAnalysisSummary AnalyzeGameRecord(const std::string& recordPath, const GameAnalysisOptions& options,
                                      const GameAnalysisProgress& progress = {});

// The report's default path: the record's path with the extension of its
// file name replaced by ".analysis.txt".
std::string AnalysisReportPath(const std::string& recordPath);

// A progress line with the time left estimated from the moves done so far:
// "Move 3/40 (about 2:15 left)".
std::string AnalysisProgressLine(int number, int total, double secondsSoFar);

}  // namespace pexil
