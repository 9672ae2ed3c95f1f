#include "self_play.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <vector>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/random.hpp"
#include "tables/board_patterns.hpp"
#include "tables/rack_tables.hpp"
#include "tables/win_prob.hpp"

namespace pexil::databuilder {
namespace {

// The strategy every seat plays: static ranking by equity.
constexpr int kStrategy = 2;
// A game either places tiles or counts toward the scoreless limits; the
// bound only guards against a rule gone wrong.
constexpr int kMostTurns = 10000;
// Distinguishes the baseline's generator from the game's.
constexpr std::uint32_t kBaselineStream = 0x42415345u;

std::array<int, kCodes> codesOf(const LetterCounts& counts) {
  std::array<int, kCodes> codes{};
  for (int code = 0; code < kCodes; ++code) codes[static_cast<std::size_t>(code)] = counts[code];
  return codes;
}

TileKey keyOfRack(const LetterCounts& rack) { return keyOfCounts(codesOf(rack)); }

// The tiles of a leave text ('?' the blank); false for a character that is
// no tile.
bool leaveCounts(std::string_view leave, LetterCounts& counts) {
  counts = LetterCounts{};
  for (char c : leave) {
    const int code = codeOfTile(c);
    if (code < 0 || code >= kCodeSlots) return false;
    ++counts[code];
    ++counts[kTotalSlot];
  }
  return true;
}

bool contains(const LetterCounts& whole, const LetterCounts& part) {
  for (int code = 0; code < kCodeSlots; ++code) {
    if (part[code] > whole[code]) return false;
  }
  return true;
}

// Draws `n` tiles uniformly without replacement from a pool.
LetterCounts drawFrom(LetterCounts pool, int n, Mt19937& random) {
  LetterCounts drawn;
  for (int k = 0; k < n && pool.total() > 0; ++k) {
    int r = static_cast<int>(random.next() % static_cast<std::uint32_t>(pool.total()));
    for (int code = 0; code < kCodeSlots; ++code) {
      if (r < pool[code]) {
        --pool[code];
        --pool[kTotalSlot];
        ++drawn[code];
        ++drawn[kTotalSlot];
        break;
      }
      r -= pool[code];
    }
  }
  return drawn;
}

// The move strategy 2 plays in the position as it stands.
Move strategyMove(Game& game) {
  GenerateMoves(game, false);
  return game.moves.empty() ? game.bestMove : game.moves.front();
}

int wordLength(const Move& move) { return move.word ? static_cast<int>(std::strlen(move.word)) : 0; }

int squareIndex(const Board& board, int column, int row) { return column + row * board.width; }

// The squares of a placement's main word: index, and whether the move
// laid a tile there (the square was empty before it).
template <class Visit>
void forEachWordSquare(const Board& board, const Move& move, Visit&& visit) {
  const int length = wordLength(move);
  for (int i = 0; i < length; ++i) {
    const int column = move.direction == kAcross ? move.column + i : move.column;
    const int row = move.direction == kAcross ? move.row : move.row + i;
    if (column < 0 || row < 0 || column >= board.width || row >= board.height) return;
    visit(column, row);
  }
}

// Marks the squares covered by the words a placement formed: its main
// word and the cross word through every tile it laid.
void markCovered(const Board& after, const std::vector<char>& before, const Move& move, std::vector<std::uint8_t>& covered) {
  std::fill(covered.begin(), covered.end(), 0);
  if (isNonPlacement(move)) return;
  forEachWordSquare(after, move, [&](int column, int row) {
    covered[static_cast<std::size_t>(squareIndex(after, column, row))] = 1;
    if (before[static_cast<std::size_t>(squareIndex(after, column, row))] != ' ') return;
    // The cross word through a laid tile, across the line of play.
    const int dx = move.direction == kAcross ? 0 : 1, dy = move.direction == kAcross ? 1 : 0;
    int c0 = column, r0 = row;
    while (squareAt(after, c0 - dx, r0 - dy) && !squareAt(after, c0 - dx, r0 - dy)->empty()) {
      c0 -= dx;
      r0 -= dy;
    }
    int c1 = column, r1 = row;
    while (squareAt(after, c1 + dx, r1 + dy) && !squareAt(after, c1 + dx, r1 + dy)->empty()) {
      c1 += dx;
      r1 += dy;
    }
    if (c0 == c1 && r0 == r1) return;
    for (int c = c0, r = r0;; c += dx, r += dy) {
      covered[static_cast<std::size_t>(squareIndex(after, c, r))] = 1;
      if (c == c1 && r == r1) break;
    }
  });
}

struct LaidTile {
  int letter;
  int column;
  int row;
};

struct WinObservation {
  int player;
  int lead;
  int unseen;
  int state;
};

}  // namespace

void playRecordedGame(Game& game, const SelfPlayConfig& config, std::int64_t index, EvalCounts& counts) {
  const GameRules& r = rules();
  const int rackSize = r.rackSize;
  const int players = game.playerCount;
  const bool full = players == 2;
  const auto lo = static_cast<std::uint32_t>(static_cast<std::uint64_t>(index) & 0xFFFFFFFFu);
  const auto hi = static_cast<std::uint32_t>(static_cast<std::uint64_t>(index) >> 32);
  const std::uint32_t key[5] = {config.seed, static_cast<std::uint32_t>(config.generation),
                                static_cast<std::uint32_t>(players), lo, hi};
  game.random.seed(key, 5);
  Mt19937 baselineRandom;
  const std::uint32_t baselineKey[6] = {key[0], key[1], key[2], key[3], key[4], kBaselineStream};
  baselineRandom.seedByArray(baselineKey, 6);

  for (int p = 0; p < players; ++p) game.strategies[static_cast<std::size_t>(p)] = kStrategy;
  game.historyEnabled = false;
  game.medianDraws = false;
  ResetGame(game);
  game.unseenPoolEvaluation = false;

  Board& board = game.board;
  const bool squaresFit = full && board.width == kSquareSide && board.height == kSquareSide;
  const bool patternsFit = full && counts.usePatternTable(board.width, board.height);
  const int blank = r.blankCode;

  // Per player: the leave kept with a full draw after it, waiting for the
  // player's next turn; the full rack a turn began with and that turn's
  // score, waiting for the next turn's.
  struct Pending {
    bool leave = false;
    TileKey leaveKey = 0;
    bool rack = false;
    TileKey rackKey = 0;
    int rackScore = 0;
  };
  std::array<Pending, kMaxPlayers> pending{};
  std::vector<LaidTile> laid;  // the tiles the last move laid
  std::vector<char> before(board.squares.size(), ' ');
  std::vector<std::uint8_t> covered(board.squares.size(), 0);
  std::vector<int> cellPatterns;
  std::vector<WinObservation> winObservations;

  for (int turn = 0; turn < kMostTurns && !game.gameOver; ++turn) {
    const int mover = game.toMove;
    Pending& mine = pending[static_cast<std::size_t>(mover)];
    const Rack rackBefore = game.racks[static_cast<std::size_t>(mover)];

    // The board patterns of the position the last move left.
    bool patternsNow = false;
    if (patternsFit && turn > 0) {
      cellPatterns.clear();
      for (int row = 1; row < board.height - 1; ++row) {
        for (int column = 1; column < board.width - 1; ++column) cellPatterns.push_back(BoardPatterns::patternAt(board, column, row));
      }
      patternsNow = true;
    }

    // The baseline: at a position where the player's last leave is judged,
    // the equity of a fresh rack drawn from the tiles the player cannot see
    // (with the player's own rack, which came from them too).
    const int every = std::max(1, config.baselineEvery);
    if (full && mine.leave && baselineRandom.next() % static_cast<std::uint32_t>(every) == 0) {
      LetterCounts pool = unseenTilesOf(game, mover);
      for (int slot = 0; slot <= kTotalSlot; ++slot) pool.counts[static_cast<std::size_t>(slot)] += rackBefore.counts[static_cast<std::size_t>(slot)];
      if (pool.total() >= rackSize) {
        game.racks[static_cast<std::size_t>(mover)] = drawFrom(pool, rackSize, baselineRandom);
        const Move fresh = strategyMove(game);
        game.racks[static_cast<std::size_t>(mover)] = rackBefore;
        const std::int64_t equity = 10 * static_cast<std::int64_t>(fresh.score) + LeaveValue(fresh.leaveView());
        addSum(counts.baseline, 1, equity);
      }
    }

    const Move chosen = strategyMove(game);
    for (std::size_t i = 0; i < board.squares.size(); ++i) before[i] = board.squares[i].letter;
    PlayMove(game, chosen, false);
    const Move& played = game.lastMove;
    const int score = played.score;

    if (full) {
      // The leave kept last turn meets its target: this turn's equity.
      if (mine.leave) {
        const std::int64_t target = 10 * static_cast<std::int64_t>(score) + LeaveValue(played.leaveView());
        counts.leaves.add(mine.leaveKey, 1, target);
        mine.leave = false;
      }
      // Full racks: this turn's points and the next turn's.
      if (mine.rack) {
        counts.racks.add(mine.rackKey, 1, static_cast<std::int64_t>(mine.rackScore) + score);
        mine.rack = false;
      }
      if (rackBefore.total() == rackSize) {
        mine.rack = true;
        mine.rackKey = keyOfRack(rackBefore);
        mine.rackScore = score;
      }
      // A new leave, when the rack was filled up behind it.
      const Rack& rackAfter = game.racks[static_cast<std::size_t>(mover)];
      LetterCounts leave;
      if (!game.gameOver && (isExchange(played) || !isNonPlacement(played)) && rackAfter.total() == rackSize &&
          leaveCounts(played.leaveView(), leave) && leave.total() < rackSize && contains(rackAfter, leave)) {
        const TileKey leaveKey = keyOfRack(leave);
        if (leaveKey != kNoKey) {
          mine.leave = true;
          mine.leaveKey = leaveKey;
        }
      }

      // Square letters: the squares the last move laid tiles on, and
      // whether this move's words went through them.
      if (squaresFit) {
        if (!laid.empty()) {
          markCovered(board, before, played, covered);
          std::vector<Sum>& table = counts.squareTable();
          for (const LaidTile& t : laid) {
            const bool through = covered[static_cast<std::size_t>(squareIndex(board, t.column, t.row))] != 0;
            addSum(table[squareCell(t.letter, t.column, t.row)], 1, through ? score : 0);
          }
          laid.clear();
        }
        if (!isNonPlacement(played)) {
          forEachWordSquare(board, played, [&](int column, int row) {
            if (before[static_cast<std::size_t>(squareIndex(board, column, row))] != ' ') return;
            const int letter = codeOfLetter(squareAt(board, column, row)->letter);
            if (letter >= 0 && letter < kCodes) laid.push_back(LaidTile{letter, column, row});
          });
        }
      }

      // Board patterns: the points this move scored from the position the
      // last move left.
      if (patternsNow) {
        for (std::size_t cell = 0; cell < cellPatterns.size(); ++cell) {
          addSum(counts.patterns[cell * kPatterns + static_cast<std::size_t>(cellPatterns[cell])], 1, score);
        }
      }
    }

    // The position summary of the player who has just moved.
    int bestOther = 0, unseen = game.bag.total(), blanksUnseen = game.bag[blank];
    bool first = true;
    for (int p = 0; p < players; ++p) {
      if (p == mover) continue;
      const int s = game.scores[static_cast<std::size_t>(p)];
      bestOther = first ? s : std::max(bestOther, s);
      first = false;
      unseen += game.racks[static_cast<std::size_t>(p)].total();
      blanksUnseen += game.racks[static_cast<std::size_t>(p)][blank];
    }
    const int lead = std::clamp(game.scores[static_cast<std::size_t>(mover)] - bestOther, -kMaxLead, kMaxLead);
    const int state = WinProbBlankState(blanksUnseen, game.racks[static_cast<std::size_t>(mover)][blank]);
    winObservations.push_back(WinObservation{mover, lead, std::clamp(unseen, 0, kMaxUnseen), state});
  }

  // Each position of a player counts the game's result for that player:
  // two for a win, one for a draw.
  std::array<int, kMaxPlayers> result{};
  for (int p = 0; p < players; ++p) {
    int best = 0, leaders = 0;
    bool first = true;
    for (int q = 0; q < players; ++q) {
      if (q == p) continue;
      const int s = game.scores[static_cast<std::size_t>(q)];
      best = first ? s : std::max(best, s);
      first = false;
    }
    const int own = game.scores[static_cast<std::size_t>(p)];
    leaders = own > best ? 2 : own == best ? 1 : 0;
    result[static_cast<std::size_t>(p)] = leaders;
  }
  std::vector<Sum>& table = counts.winTable(players);
  for (const WinObservation& o : winObservations) {
    addSum(table[winCell(o.lead, o.unseen, o.state)], 2, result[static_cast<std::size_t>(o.player)]);
  }
  ++counts.games[static_cast<std::size_t>(std::clamp(players, 2, 4))];
}

std::int64_t shardShare(std::int64_t games, int shard, int shards) {
  if (shards <= 0 || shard < 0 || shard >= shards || games <= shard) return 0;
  return (games - shard + shards - 1) / shards;
}

ShardResult runShard(const ShardOptions& options, const std::shared_ptr<Lexicon>& lexicon, std::string& message) {
  if (!lexicon || options.shards < 1 || options.shard < 0 || options.shard >= options.shards || options.games < 0) {
    message = "bad shard options";
    return ShardResult::failed;
  }
  CountsInfo info;
  info.list = options.list;
  info.seed = options.config.seed;
  info.generation = options.config.generation;
  info.players = options.config.players;
  info.shard = options.shard;
  info.shards = options.shards;
  info.end = options.games;
  info.leaves = options.leavesDigest;
  info.next = options.shard;

  EvalCounts counts;
  counts.info = info;
  std::error_code error;
  if (std::filesystem::exists(options.outPath, error)) {
    std::string text;
    EvalCounts held;
    if (!readFileText(options.outPath, text)) {
      message = "cannot read " + options.outPath;
      return ShardResult::failed;
    }
    const ReadReport report = readCounts(text, held);
    CountsInfo expected = info;
    expected.next = held.info.next;
    const bool aligned = held.info.next >= options.games || held.info.next % options.shards == options.shard;
    if (!report.sawFormat || report.skipped > 0 || !(held.info == expected) || !aligned) {
      message = options.outPath + " holds counts of another run (or is damaged); remove it to start again";
      return ShardResult::failed;
    }
    counts = std::move(held);
  }

  const std::int64_t share = shardShare(options.games, options.shard, options.shards);
  std::int64_t done = counts.info.next >= options.games ? share : shardShare(counts.info.next, options.shard, options.shards);
  if (counts.info.next >= options.games) {
    counts.info.next = options.games;
    if (!writeFileAtomically(options.outPath, writeCounts(counts))) {
      message = "cannot write " + options.outPath;
      return ShardResult::failed;
    }
    if (options.progress) options.progress(share, share);
    return ShardResult::done;
  }

  Game game;
  NewGame(game, options.config.players, lexicon);
  game.historyEnabled = false;
  std::int64_t sinceCheckpoint = 0, thisCall = 0;
  for (std::int64_t i = counts.info.next; i < options.games; i += options.shards) {
    if (options.stopAfter >= 0 && thisCall >= options.stopAfter) {
      counts.info.next = i;
      if (!writeFileAtomically(options.outPath, writeCounts(counts))) {
        message = "cannot write " + options.outPath;
        return ShardResult::failed;
      }
      return ShardResult::stopped;
    }
    playRecordedGame(game, options.config, i, counts);
    ++done;
    ++thisCall;
    if (options.progress) options.progress(done, share);
    if (++sinceCheckpoint >= options.checkpointEvery && i + options.shards < options.games) {
      counts.info.next = i + options.shards;
      if (!writeFileAtomically(options.outPath, writeCounts(counts))) {
        message = "cannot write " + options.outPath;
        return ShardResult::failed;
      }
      sinceCheckpoint = 0;
    }
  }
  counts.info.next = options.games;
  if (!writeFileAtomically(options.outPath, writeCounts(counts))) {
    message = "cannot write " + options.outPath;
    return ShardResult::failed;
  }
  return ShardResult::done;
}

}  // namespace pexil::databuilder
