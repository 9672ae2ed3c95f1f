// Seeded self-play that records what the evaluation tables count (see
// DESIGN.md beside this file): every seat plays strategy 2 with the leave
// values loaded in the process, and each game's observations are added to
// raw counts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "counts.hpp"
#include "state/game.hpp"

namespace pexil::databuilder {

struct SelfPlayConfig {
  std::uint32_t seed = 1;
  int generation = 0;
  int players = 2;
  // Two-player games also record the leave targets and their fresh-rack
  // baseline, the full racks, the square letters and the board patterns;
  // games of more players only feed their win table.
  //
  // The baseline is one number per run, so a sample of the positions
  // serves it: one eligible position in baselineEvery, chosen at random.
  int baselineEvery = 4;
};

// Plays game `index` of the run from its start and adds its observations.
// The game's tiles come from a generator seeded with (seed, generation,
// players, index) alone, and the fresh racks of the baseline from a
// second one, so a game is the same in whichever shard or process it is
// played. `game` must have been made by NewGame for config.players players
// with the lexicon to play; its strategies and options are set here.
void playRecordedGame(Game& game, const SelfPlayConfig& config, std::int64_t index, EvalCounts& counts);

struct ShardOptions {
  SelfPlayConfig config;
  std::string list;          // the word list's name, recorded in the counts
  std::string leavesDigest;  // digest of the leave values played with ("" for none)
  int shard = 0;
  int shards = 1;
  std::int64_t games = 0;    // games of the generation: indexes 0..games-1
  std::string outPath;       // the shard's counts file (its checkpoint until complete)
  std::int64_t checkpointEvery = 250;  // games between checkpoints
  // Called after every game with the shard's games done and its share.
  std::function<void(std::int64_t done, std::int64_t share)> progress;
  // Tests: return (as if interrupted) after this many games of this call;
  // negative for no limit.
  std::int64_t stopAfter = -1;
};

enum class ShardResult { done, stopped, failed };

// Plays the games i of the generation with i mod shards = shard, resuming
// from the counts file when it holds a checkpoint of the same shard. A
// complete file means there is nothing to do. The file is written every
// checkpointEvery games and at the end, through a temporary name and a
// rename. On failure `message` says why.
ShardResult runShard(const ShardOptions& options, const std::shared_ptr<Lexicon>& lexicon, std::string& message);

// The number of games of a generation that a shard plays.
std::int64_t shardShare(std::int64_t games, int shard, int shards);

}  // namespace pexil::databuilder
