// The statistics a simulation gathers for one candidate move beyond its
// means: what the results view and the reports show (medians, quartiles,
// reply shares, the replies seen most, heat maps). A move refers to its
// record by index in its game's store; the records are released with the
// main move list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pexil {

// One move seen in the simulated play (an opponent's reply, or the
// player's next move), with how often and for how many points.
struct SeenMove {
  std::uint64_t key = 0;  // the move's word, square and direction, hashed
  std::string text;       // as the move lines show it ("QI 8H")
  std::string lastRack;   // the rack it was last played from
  int count = 0;
  long long scoreTotal = 0;
  int bestScore = 0;
};

// Where the moves of one kind (replies, or next moves) went on the board:
// per square, how many covered it and their points, and the bingos that
// started there.
struct HeatMap {
  int width = 0;
  int height = 0;
  std::vector<int> counts;
  std::vector<long long> scores;
  std::vector<int> bingoCounts;
  std::vector<long long> bingoScores;
  int moves = 0;  // every recorded move, placement or not
};

struct SimulationStats {
  std::vector<float> spreads;  // the outcome of each iteration
  std::vector<float> wins;     // the win outcome of each iteration, 0..100
  int iterations = 0;
  int opponentBingos = 0;      // replies that used every tile
  int opponentExchanges = 0;   // replies that passed or exchanged
  int nextTurnBingos = 0;
  long long replyScoreTotal = 0;
  int replies = 0;
  long long nextScoreTotal = 0;
  int nextMoves = 0;
  std::vector<SeenMove> seenReplies;
  std::vector<SeenMove> seenNextMoves;
  bool hasHeatMaps = false;
  HeatMap replyHeat;
  HeatMap nextHeat;
  bool inUse = false;          // a free record waits for the next candidate
};

// The game's records and their free places.
struct SimulationStatsStore {
  std::vector<SimulationStats> records;
  std::vector<std::int32_t> free;
};

}  // namespace pexil
