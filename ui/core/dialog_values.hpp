// What the dialogs of the desktop program collect, as plain values, and
// the checks of typed values they share with the commands. No wx here:
// the commands and their tests use the same records and checks as the
// dialogs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "search/timed_move.hpp"  // ParseClockTime, which the dialogs check times with

namespace pexil::ui {

// "Set the clock": the typed time (whole minutes or "mm:ss") and whether
// every player's clock gets it.
struct ClockChoice {
  std::string time;
  bool allPlayers = false;
};

// "Lookahead": the stored simulation settings of the same names.
struct LookaheadChoice {
  int ply = 3;         // 1..99
  int threads = 1;     // 1..the processor count
  int simType = 1;     // 0 spread, 1 win probability
  int timeCombo = 0;   // 0 until finished, 1..9: 30 s .. 10 min
  bool guessTiles = true;
};

// "Analyze Move": the chosen candidate (an index into the lines the dialog
// was given; the last line is "Custom exchange..."), the tiles to keep for
// a custom exchange, and the simulation's depth, threads and tile guess.
struct AnalyzeMoveChoice {
  int candidate = 0;
  std::string keep;
  int ply = 3;
  int threads = 1;
  bool guessTiles = true;
};

// "Play Pexil".
struct PlayPexilChoice {
  int firstTurn = 0;   // 0 me, 1 Pexil, 2 alternate, 3 random
  std::string name;    // Latin-1
  int playType = 0;    // 0 by time, 1 by depth
  std::string amount;  // the typed time or ply depth
  bool sameTime = false;
};

// "Analyze Game".
struct AnalyzeGameChoice {
  int topMoves = 20;
  int minSim = 0;
  std::string path;
  int ply = 3;
  bool tileGuesses = true;
  bool heatmaps = false;
};

// "Challenge settings".
struct ChallengeChoice {
  int type = 2;  // 0 single .. 4 none
  int penalty = 10;
};

// One player and a typed value ("Set score for player", "Set player
// names", "Set rack" with a choice of player).
struct PlayerValue {
  int player = 0;
  std::string value;
};

// "Select game".
struct GameChoice {
  int gameType = 0;
  int players = 2;
};

// A whole number within [least, most]; none for anything else.
std::optional<int> ParseBounded(const std::string& text, int least, int most);

// The seconds a "Allow simulation to run" choice gives (0: until finished).
int SimulationSeconds(int timeCombo);

// The description of a challenge type (0..4), from the catalogue.
std::string ChallengeNote(int type);

// The most threads the dialogs offer: the processor count, at least 1.
int MaxThreads();

// The deepest simulation the computer player is asked to play at.
inline constexpr int kMaxPlayPly = 40;

// Tiles typed for a rack (a player's rack, the tiles to keep, the known
// tiles of a rack), read by the active rules: the catalogue's complaint,
// or an empty text when they are fine. `mayBeEmpty` allows no tiles at all.
std::string RackProblem(const std::string& typed, bool mayBeEmpty);

// The letter typed for a blank: the one character of the active rules'
// alphabet it stands for (a multi-letter tile may be typed as written),
// or none.
std::optional<char> BlankLetter(const std::string& typed);

// The words of a text file, one a line (blank lines skipped, blanks around
// a word dropped); none when the file cannot be read.
std::optional<std::vector<std::string>> ReadWordFile(const std::string& path);

// Text without the blanks around it.
std::string Trimmed(const std::string& text);

}  // namespace pexil::ui
