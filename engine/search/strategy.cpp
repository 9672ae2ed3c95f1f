#include "search/strategy.hpp"

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <optional>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "movegen/move_text.hpp"
#include "play/game_flow.hpp"
#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "search/fast_lookahead.hpp"
#include "search/timed_move.hpp"
#include "search/simulation.hpp"
#include "search/static_endgame.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr const char* kDescriptions[kStrategyCount] = {
    "best fast method",
    "highest scoring",
    "highest leave",
    "lookahead 1 ply, single-threaded",
    "blend lookahead 2 ply, single-threaded",
    "lookahead 2 ply, single-threaded",
    "lookahead 5 ply, single-threaded",
    "lookahead 5 ply, four threads, highest equity",
    "hi-leave with experimental features",
    "lookahead 5 ply, four threads, highest win probability",
    "hi-leave with end game code",
    "hi-leave with rack simulation code",
    "lookahead 5 ply, four threads, highest equity, rack simulation",
    "lookahead 3 ply, four threads, highest equity, rack simulation",
    "lookahead 7 ply, four threads, highest equity, rack simulation",
    "hi-leave with rack simulation code and experimental features",
    "lookahead 1 ply, multi-threaded, hi equity, with rack distribution guess",
    "lookahead 3 ply, multi-threaded, hi equity, with rack distribution guess",
    "lookahead 5 ply, multi-threaded, hi equity, with rack distribution guess",
    "lookahead 7 ply, multi-threaded, hi equity, with rack distribution guess",
    "lookahead 2 ply, multi-threaded, hi equity, with rack distribution guess",
    "lookahead 2 ply, multi-threaded",
    "lookahead 2 ply, multi-threaded, hi win probability, with rack distribution guess",
    "lookahead infinite depth, multi-threaded, hi equity, with rack distribution guess",
    "lookahead 2 ply, single threaded, rack simulation (for profiling)",
    "fast lookahead 1 ply, multi-threaded",
    "fast lookahead 2 ply, multi-threaded",
    "fast lookahead 3 ply, multi-threaded",
    "fast lookahead 5 ply, multi-threaded",
    "fast lookahead 7 ply, multi-threaded",
    "15 minutes per game (standard algorithms)",
    "15 minutes per game (alternate/experimental algorithms)",
    "20 minutes per game (standard algorithms)",
    "20 minutes per game (alternate/experimental algorithms)",
    "25 minutes per game (standard algorithms)",
    "25 minutes per game (alternate/experimental algorithms)",
    "fast lookahead 2 ply, alternate move selection",
    "fast lookahead 3 ply, alternate move selection",
    "fast lookahead 5 ply, alternate move selection",
    "legacy move generation code (1999)",
    "fast lookahead 3 ply, multi-threaded, win prob sort",
    "lookahead 3 ply, multi-threaded",
    "lookahead 3 ply, multi-threaded, win prob sort",
    "lookahead 2 ply, multi-threaded",
    "lookahead 2 ply, multi-threaded, win prob sort",
    "hi-leave with experimental features and endgame code",
    "fast lookahead 3 ply, multi-threaded, with tile guess",
    "fast lookahead 5 ply, multi-threaded, with tile guess",
    "fast lookahead 7 ply, multi-threaded, with tile guess",
    "fast lookahead 3 ply, multi-threaded, with tile guess, mixed optimization",
    "fast lookahead 3 ply, multi-threaded, with moods",
    "fast lookahead 3 ply, multi-threaded, pessimistic simulation",
    "hi-leave with static end game evaluation",
    "experimental fast lookahead 3 ply",
    "10 minutes per game (standard algorithms)",
};

// The fast lookahead strategies run this many workers.
constexpr int kFastStrategyWorkers = 4;

std::mutex logMutex;
std::ostream* autoplayLog = nullptr;

// Strategies whose generation evaluates leaves against the unseen tiles.
bool usesUnseenPool(int strategy) {
  return strategy == 0 || (strategy >= 11 && strategy <= 15) || strategy == 24;
}

// A lookahead strategy: its engine and settings, and the options it turns
// on for its move.
struct Lookahead {
  bool threaded = true;
  int ply = 2;
  int iterations = 0;    // single engine
  double stdevStop = 0.1;
  int maxCandidates = 0; // single engine
  bool unseenPool = false;
  bool winProb = false;
  bool guessTiles = false;
  int staticFromBag = 0;  // > 0: static ranking while the bag holds this many tiles or more
};

std::optional<Lookahead> lookaheadOf(int strategy) {
  const auto single = [](int ply, int iterations, double stdev, int candidates) {
    Lookahead l;
    l.threaded = false;
    l.ply = ply;
    l.iterations = iterations;
    l.stdevStop = stdev;
    l.maxCandidates = candidates;
    return l;
  };
  const auto threaded = [](int ply, double stdev) {
    Lookahead l;
    l.ply = ply;
    l.stdevStop = stdev;
    return l;
  };
  Lookahead l;
  switch (strategy) {
    case 3: return single(1, 200, 0.25, 10);
    case 4:
      l = single(2, 200, 0.25, 10);
      l.staticFromBag = 50;
      return l;
    case 5: return single(2, 300, 0.25, 10);
    case 6: return single(5, 300, 0.25, 10);
    case 7: return threaded(5, 0.1);
    case 9:
      l = threaded(5, 0.1);
      l.winProb = true;
      return l;
    case 12: case 13: case 14:
      l = threaded(strategy == 12 ? 5 : strategy == 13 ? 3 : 7, 0.1);
      l.unseenPool = true;
      return l;
    case 16: case 17: case 18: case 19: case 20: case 22: case 23:
      l = threaded(strategy == 16 ? 1 : strategy == 17 ? 3 : strategy == 18 ? 5 : strategy == 19 ? 7
                   : strategy == 23 ? 99 : 2, 0.1);
      l.guessTiles = true;
      l.winProb = strategy == 22;
      return l;
    case 21: case 43: return threaded(2, 0.1);
    case 41: return threaded(3, 0.1);
    case 42: case 44:
      l = threaded(strategy == 42 ? 3 : 2, 0.02);
      l.winProb = true;
      return l;
    case 24:
      l = single(2, 300, 0.2, 15);
      l.unseenPool = true;
      return l;
    default: return std::nullopt;
  }
}

// A fast lookahead strategy: its ply and the options it turns on.
struct FastStrategy {
  int ply = 3;
  bool winProb = false;
  bool winProbStays = false;  // 25 to 29 leave it on after the move
  bool winProbByLead = false; // 40: on when the lead is within 150
  bool guessTiles = false;
  bool mixed = false;
  bool moodFromPosition = false;
  int mood = 0;               // with moodFromPosition false: a fixed mood (0: the user's)
  bool sortRacksPegOff = false;
};

std::optional<FastStrategy> fastOf(int strategy) {
  FastStrategy f;
  switch (strategy) {
    case 25: case 26: case 27: case 28: case 29:
      f.ply = strategy == 25 ? 1 : strategy == 26 ? 2 : strategy == 27 ? 3 : strategy == 28 ? 5 : 7;
      f.winProb = true;
      f.winProbStays = true;
      return f;
    case 36: case 37: case 38:
      f.ply = strategy == 36 ? 2 : strategy == 37 ? 3 : 5;
      return f;
    case 40:
      f.winProbByLead = true;
      return f;
    case 46: case 47: case 48:
      f.ply = strategy == 46 ? 3 : strategy == 47 ? 5 : 7;
      f.guessTiles = true;
      f.winProb = true;
      return f;
    case 49:
      f.guessTiles = true;
      f.mixed = true;
      return f;
    case 50:
      f.moodFromPosition = true;
      return f;
    case 51:
      f.mood = -3;
      return f;
    case 53:
      f.sortRacksPegOff = true;
      f.guessTiles = true;
      f.winProb = true;
      return f;
    default: return std::nullopt;
  }
}

// The first move of a searched list, or the pass when it is empty.
Move firstOrPass(const std::vector<Move>& list) {
  if (!list.empty()) return list.front();
  Move pass;
  pass.word = label::pass;
  return pass;
}

// Runs the lookahead for the player to move and gives the move it ranks
// first (the pass when the list is empty). The options it turns on hold
// for this move only.
Move lookaheadMove(Game& game, const Lookahead& l) {
  const bool unseenPool = game.unseenPoolEvaluation, winProb = game.maximizeWinProb, guess = game.guessTiles;
  const bool guessRack = game.guessRackDistribution;
  game.unseenPoolEvaluation = l.unseenPool;
  game.maximizeWinProb = l.winProb;
  if (l.guessTiles) game.guessTiles = true;
  // The threaded lookahead guesses the opponent's rack for these strategies only.
  game.guessRackDistribution = l.guessTiles && l.threaded;
  if (l.threaded) {
    SimulateThreaded(game, game.threads, l.ply, l.stdevStop);
  } else {
    SimulateSingleThreaded(game, l.ply, l.iterations, l.stdevStop, l.maxCandidates);
  }
  game.unseenPoolEvaluation = unseenPool;
  game.maximizeWinProb = winProb;
  game.guessTiles = guess;
  game.guessRackDistribution = guessRack;
  return firstOrPass(activeList(game));
}

// The mood strategy's mood: pessimistic when well ahead or after the
// opponent's exchange, optimistic when well behind.
int moodFromPosition(const Game& game) {
  const int lead = leadOf(game, game.toMove);
  if (lead > 60 || isExchange(game.lastMove)) return -3;
  if (lead < -80) return 3;
  return 0;
}

// The fast lookahead strategies' move (the endgame search in the endgame),
// on four workers.
Move fastMove(Game& game, const FastStrategy& f) {
  if (IsEndgame(game)) {
    ComputerEndgame(game);
    return firstOrPass(activeList(game));
  }
  const bool winProb = game.maximizeWinProb, guessRack = game.guessRackDistribution, mixed = game.mixedOptimization;
  const bool sortRacksPeg = game.sortRacksPeg;
  const int mood = game.mood;
  if (f.winProb) game.maximizeWinProb = true;
  if (f.winProbByLead) {
    const int lead = leadOf(game, game.toMove);
    const bool byWin = lead >= -150 && lead <= 150;
    if (!game.quiet) textPane().Print(byWin ? "Using winprob sort.\n" : "Using equity sort.\n");
    game.maximizeWinProb = byWin;
  }
  game.guessRackDistribution = f.guessTiles;
  game.mixedOptimization = f.mixed;
  if (f.sortRacksPegOff) game.sortRacksPeg = false;
  if (f.moodFromPosition) game.mood = moodFromPosition(game);
  if (f.mood != 0) game.mood = f.mood;
  FastLookahead(game, f.ply, kFastStrategyWorkers);
  if (!f.winProbStays) game.maximizeWinProb = winProb;
  game.guessRackDistribution = guessRack;
  game.mixedOptimization = mixed;
  game.sortRacksPeg = sortRacksPeg;
  if (f.moodFromPosition || f.mood != 0) game.mood = 0;
  else game.mood = mood;
  return firstOrPass(activeList(game));
}

bool isTimed(int strategy) { return (strategy >= 30 && strategy <= 35) || strategy == 54; }

std::map<std::string, int>* wordUsage = nullptr;

void countWordUsage(const Move& move) {
  if (isNonPlacement(move)) return;
  std::lock_guard<std::mutex> lock(logMutex);
  if (wordUsage != nullptr) ++(*wordUsage)[std::string(move.wordView())];
}

void writeLog(const std::string& text) {
  std::lock_guard<std::mutex> lock(logMutex);
  if (autoplayLog) *autoplayLog << text << std::flush;
}

}  // namespace

const char* strategyDescription(int strategy) {
  return strategy >= 0 && strategy < kStrategyCount ? kDescriptions[strategy] : nullptr;
}

bool strategyAvailable(int strategy) {
  return strategy == 0 || strategy == 1 || strategy == 2 || strategy == 8 || strategy == 10 || strategy == 11 ||
         strategy == 15 || strategy == 45 || strategy == 52 || lookaheadOf(strategy).has_value() ||
         fastOf(strategy).has_value() || isTimed(strategy);
}

namespace {
Move playTurn(Game& game, int ply);
}  // namespace

Move PlayStrategyTurn(Game& game) { return playTurn(game, 0); }

Move PlayLookaheadTurn(Game& game, int ply) { return playTurn(game, std::max(1, ply)); }

namespace {

// The computer's turn: the strategy's move, or with ply > 0 the threaded
// lookahead's at that depth.
Move playTurn(Game& game, int ply) {
  Move played;
  if (game.playerCount <= 0 || game.gameOver) return played;
  const auto start = std::chrono::steady_clock::now();
  const int mover = game.toMove;
  const int strategy = game.strategies[static_cast<std::size_t>(mover)];
  writeLog("Player " + std::to_string(mover + 1) + "\t" +
           rackString(game.racks[static_cast<std::size_t>(mover)]) + "\t | ");

  // The move played counts in the word usage, its time in the player's
  // thinking time and the log.
  const auto account = [&](const Move& move) {
    countWordUsage(move);
    const int elapsed = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count() / 10);
    game.thinkingTime[static_cast<std::size_t>(mover)] += elapsed;
    writeLog(briefMoveText(move) + "\t" + std::to_string(elapsed) + "\n");
  };

  game.unseenPoolEvaluation = usesUnseenPool(strategy);
  if (ply == 0 && isTimed(strategy)) {
    // The timed move plays and reports its move itself.
    played = PlayTimedMove(game);
    game.unseenPoolEvaluation = false;
    account(played);
    return played;
  }
  if (!strategyAvailable(strategy)) PrintMessage(msg::StrategyUnknown);
  std::optional<Lookahead> lookahead = lookaheadOf(strategy);
  if (ply > 0) {
    lookahead = Lookahead{};
    lookahead->ply = ply;
  }
  const bool endgameCheck = strategy == 0 || strategy == 10 || strategy == 45;
  if (ply == 0 && endgameCheck && IsEndgame(game)) {
    ComputerEndgame(game);
    played = firstOrPass(activeList(game));
  } else if (ply == 0 && strategy == 52 && IsEndgame(game)) {
    StaticNodeBudgetScope budget(100000);
    StaticEndgame(game, true);
    played = game.bestMove;
  } else if (const auto fast = fastOf(strategy); ply == 0 && fast) {
    played = fastMove(game, *fast);
  } else if (lookahead && !(lookahead->staticFromBag > 0 && game.bag.total() >= lookahead->staticFromBag)) {
    played = lookaheadMove(game, *lookahead);
  } else if (strategy == 1) {
    // Highest scoring: the best-only move by score.
    const bool was = game.highestScoreBest;
    game.highestScoreBest = true;
    GenerateMoves(game, true);
    game.highestScoreBest = was;
    played = game.bestMove;
  } else {
    // Static ranking (also what an unknown strategy plays): the first move
    // of the list sorted by equity, found without the list.
    GenerateMoves(game, Generation::firstOfList);
    played = game.bestMove;
  }
  game.unseenPoolEvaluation = false;

  PlayMove(game, played);
  // The move as played carries its computed score and the leave after it.
  played = game.lastMove;
  account(played);

  MoveLineOptions options;
  options.before = &game.previousBoard;
  PrintMoveLine(game, mover, played, std::string(), false, options);
  return played;
}

}  // namespace

void Autoplay(Game& game) {
  PrintMessage(msg::AutoplayStarting);
  ResetGame(game);
  // Every turn either places tiles or counts toward the scoreless limits,
  // so the game ends; the bound only guards against a rule gone wrong.
  const int bound = 10000;
  for (int turn = 0; turn < bound && !game.gameOver && game.playerCount > 0; ++turn) PlayStrategyTurn(game);
  PrintMessage(msg::AutoplayFinished);
}

void setWordUsage(std::map<std::string, int>* usage) {
  std::lock_guard<std::mutex> lock(logMutex);
  wordUsage = usage;
}

void setAutoplayLog(std::ostream* log) {
  std::lock_guard<std::mutex> lock(logMutex);
  autoplayLog = log;
}

}  // namespace pexil
