#include "search/timed_move.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "search/endgame.hpp"
#include "search/endgame_state.hpp"
#include "search/fast_lookahead.hpp"
#include "search/simulation_state.hpp"
#include "text/highlight_marks.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

constexpr int kPegMark = 54321;
const std::string kRule(70, '=');

void say(const Game& game, const std::string& text) {
  if (!game.quiet) textPane().Print(text);
}

// A highlighted note.
void note(const Game& game, const std::string& text) {
  std::string line = text;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  say(game, std::string(1, kHighlightMark) + line + std::string(1, kHighlightMark) + "\n");
}

int hundredthsSince(std::chrono::steady_clock::time_point start) {
  return static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count() / 10);
}

bool phonyClass(const Move& move) { return move.wordClass == kClassPhony || move.phonyCross != 0; }

int blanksUnseenBy(const Game& game, int player) {
  const int blank = rules().blankCode;
  int unseen = game.bag[blank];
  for (int p = 0; p < game.playerCount; ++p) {
    if (p != player) unseen += game.racks[static_cast<std::size_t>(p)][blank];
  }
  return unseen;
}

bool openingMove(const Game& game) {
  for (const Square& square : game.board.squares) {
    if (!square.empty()) return false;
  }
  return true;
}

// The move the timed move plays from the searched list: the first, or
// after a simulation that timed out the first well-simulated one.
std::size_t chosenIndex(const std::vector<Move>& list, bool timedOut) {
  if (!timedOut || list.empty()) return 0;
  for (const int least : {400, 200}) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      const Move& move = list[i];
      const bool peg = move.simCount == kPegMark;
      if (!peg && (phonyClass(move) || move.simCount < least)) continue;
      if (i == 0) return 0;
      if (!peg || move.simValueB >= list.front().simValueB - 5.0f) return i;
      break;
    }
  }
  return 0;
}

// Prints the report of the move and plays it; the timed move's report also
// names the runners-up and the clock.
Move reportAndPlay(Game& game, const Move& chosen, const std::string& heading, int elapsed, bool timed) {
  const int mover = game.toMove;
  const std::vector<Move>& list = activeList(game);
  say(game, kRule + "\n");
  say(game, heading + ClockText(elapsed) + " " + MoveLine(game, mover, chosen, std::string()) + "\n");
  if (timed && list.size() > 4) {
    bool first = true;
    for (std::size_t i = 0; i < list.size() && i < 5; ++i) {
      const Move& other = list[i];
      if (other.word == chosen.word && other.column == chosen.column && other.row == chosen.row &&
          other.direction == chosen.direction && other.score == chosen.score) {
        continue;
      }
      say(game, (first ? std::string("Also: ") : std::string("      ")) + MoveLine(game, mover, other, std::string()) + "\n");
      first = false;
    }
  }
  if (timed) say(game, "Time remaining on clock: " + ClockText(game.clocks[static_cast<std::size_t>(mover)]) + "\n");
  say(game, kRule + "\n");
  PlayMove(game, chosen);
  return game.lastMove;
}

Move firstOrPass(const std::vector<Move>& list) {
  if (!list.empty()) return list.front();
  Move pass;
  pass.word = label::pass;
  return pass;
}

}  // namespace

std::string ClockText(int hundredths) {
  const char* sign = hundredths < 0 ? "-" : "";
  const long long t = std::llabs(static_cast<long long>(hundredths));
  const long long hours = t / 360000, minutes = t / 6000 % 60, seconds = t / 100 % 60, rest = t % 100;
  if (hours > 0) {
    return FormatText("[%s%02d:%02d:%02d.%02d]", sign, static_cast<int>(hours), static_cast<int>(minutes),
                      static_cast<int>(seconds), static_cast<int>(rest));
  }
  return FormatText("[%s%02d:%02d.%02d]", sign, static_cast<int>(t / 6000), static_cast<int>(seconds), static_cast<int>(rest));
}

int EndgameTimeBudget(int clock) {
  int budget;
  if (clock < 3000) {
    budget = std::max(100, clock / 2);
  } else if (clock < 9000) {
    budget = clock - 2000;
  } else {
    budget = clock / 2;
  }
  return std::min(budget, 12000);
}

std::optional<std::string> FastWayReason(const Game& game, const std::vector<Move>& list, int clock) {
  if (clock <= 1999) return std::string("Clock running out, going with fast move find.\n");
  if (anagramRule()) return std::string("Clabbers-style game, going with fast move find.\n");
  const int bag = game.bag.total();
  if ((!game.standardTileValues || bag > 30) && clock <= 60000 && list.size() >= 2 && !isNonPlacement(list[0]) &&
      list[0].wordClass != kClassPhony) {
    const int gap = list[0].equity - list[1].equity;
    if (gap > 300) return std::string("Killer move (first type) found, going with it (no simulation).\n");
    const bool topScore = std::none_of(list.begin() + 1, list.end(), [&](const Move& m) { return m.score > list[0].score; });
    if (gap > 100 && topScore) return std::string("Killer move (second type) found, going with it.\n");
    if (bag > 39 && gap > 69) return std::string("Killer move (third type) found, going with it.\n");
  }
  if (game.playerCount >= 2 && !list.empty()) {
    const int outlook = leadOf(game, game.toMove) + list[0].score;
    if (outlook < -200) return std::string("Way behind, going with fast move generation.\n");
    if (outlook >= 301) return std::string("Far ahead, going with fast move generation.\n");
  }
  return std::nullopt;
}

int TimePerMove(int clock, int halfMoves, int bagTiles, int players) {
  int h = std::max(3, halfMoves);
  if (bagTiles > 20) h += 2;
  const int moves = players == 2 ? (h + 1) / 2 : (h + players - 1) / std::max(1, players);
  if (bagTiles > 10) return (clock - clock / 10 - 3500) / std::max(1, moves);
  int g = clock - 3500;
  if (bagTiles == 1 || bagTiles == 2) {
    if (g > 30000) {
      g = clock - 15500;
    } else if (g > 18000) {
      g = clock - 9500;
    } else if (g >= 12000) {
      g = clock - 6500;
    }
  } else if (bagTiles >= 3 && bagTiles <= 7) {
    g /= 2;
  } else {
    g /= 3;
  }
  return g;
}

namespace {
// Set once by the front end before any search runs; read by the timed move.
std::optional<BenchmarkRates> benchmarkRates;
}  // namespace

std::optional<BenchmarkRates> storedBenchmarkRates() { return benchmarkRates; }

void setStoredBenchmarkRates(const std::optional<BenchmarkRates>& rates) {
  benchmarkRates.reset();
  if (!rates) return;
  for (const double rate : *rates) {
    if (!(rate > 0)) return;  // a zero, negative or NaN rate: use the fallback table
  }
  benchmarkRates = rates;
}

PositionRates RatesForPosition(const BenchmarkRates& rates, int blanksUnseen, int blanksOnRack, int bagTiles, int words,
                               const std::string& listName) {
  const auto byUnseen = [&](int base) {
    return rates[static_cast<std::size_t>(base + (blanksUnseen >= 2 ? 0 : blanksUnseen == 1 ? 1 : 2))];
  };
  PositionRates r;
  if (bagTiles >= 61) {
    r.first = rates[static_cast<std::size_t>(std::min(blanksOnRack, 2))];
  } else if (bagTiles >= 30) {
    r.first = byUnseen(3);
    if (blanksOnRack == 1 && rates[0] > 0) r.first *= rates[1] / rates[0];
  } else {
    r.first = byUnseen(6);
  }
  r.second = bagTiles < 45 ? byUnseen(6) : byUnseen(3);
  if (words >= 190000) {
    std::string lower = listName;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const double scale = lower.rfind("csw12", 0) == 0 ? 1.17 : (static_cast<double>(words) / 178691.0 - 1.0) * 0.4295 + 1.0;
    r.first /= scale;
    r.second /= scale;
  }
  return r;
}

int PlyForBudget(int g, int threads, const std::optional<PositionRates>& rates, int blanksUnseen, bool openingMove) {
  int w;
  if (rates) {
    const auto plies = [&](double rate) {
      return static_cast<int>(std::lround(rate * g / 100.0 * threads / 20000.0));
    };
    w = plies(rates->first);
    if (w > 7) {
      const int deeper = plies(rates->second);
      if (deeper < w && deeper > 5) w = deeper;
    }
    if (w % 2 == 0) --w;
    w = std::max(w, 3);
    if (blanksUnseen < 2) {
      w = std::min(w, 9);
    } else if (w == 7) {
      w = 6;
    } else if (w == 9) {
      w = 7;
    } else if (w > 9) {
      w = 9;
    }
  } else {
    const long long budget = static_cast<long long>(threads) * g;
    w = budget < 12001 ? 2 : budget < 32001 ? 3 : budget < 48001 ? 5 : budget < 80001 ? 7 : 9;
  }
  w = std::max(w, 3);
  if (openingMove) w = std::min(w, 3);
  return w;
}

int EstimateHalfMoves(Game& game) {
  int total = 0;
  for (int run = 0; run < 10; ++run) {
    Game copy = game;
    copy.quiet = true;
    copy.historyEnabled = false;
    copy.unseenPoolEvaluation = false;
    for (int p = 0; p < copy.playerCount; ++p) copy.strategies[static_cast<std::size_t>(p)] = 2;
    copy.random.seed(static_cast<std::uint32_t>(game.random.next()));
    // The other racks are unknown: refilled at random from the unseen tiles.
    for (int p = 0; p < copy.playerCount; ++p) {
      if (p != copy.toMove) returnAll(copy.bag, copy.racks[static_cast<std::size_t>(p)]);
    }
    for (int p = 0; p < copy.playerCount; ++p) drawTiles(copy.racks[static_cast<std::size_t>(p)], copy.bag, rules().rackSize, &copy.random);
    int moves = 0;
    while (!copy.gameOver && !IsEndgame(copy) && moves < 200) {
      GenerateMoves(copy, Generation::bestOnly);
      PlayMove(copy, copy.bestMove, false, true);
      ++moves;
    }
    total += moves;
  }
  return total / 10;
}

Move PlayTimedMove(Game& game) {
  if (game.gameOver) {
    say(game, "The game is over.\n");
    return Move{};
  }
  const auto start = std::chrono::steady_clock::now();
  const int mover = game.toMove;
  int& clock = game.clocks[static_cast<std::size_t>(mover)];
  if (clock == kNoClock) {
    say(game, "Clock is not set. Giving myself 20 minutes for the game.\n");
    clock = kDefaultGameClock;
  }
  const int c = clock;
  const int threads = std::max(1, game.threads);
  bool simulated = false;
  const std::optional<BenchmarkRates> rates = storedBenchmarkRates();

  if (IsEndgame(game)) {
    say(game, "Running endgame algorithm.\n");
    const int budget = EndgameTimeBudget(c);
    const bool greedier = endgameOptions().greedier;
    if (budget >= 4500 && leadOf(game, mover) > 30) endgameOptions().greedier = true;
    const int savedBudget = game.timeBudget;
    game.timeBudget = budget;
    ComputerEndgame(game);
    game.timeBudget = savedBudget;
    endgameOptions().greedier = greedier;
  } else {
    const bool unseenPool = game.unseenPoolEvaluation;
    game.unseenPoolEvaluation = true;
    GenerateMoves(game, Generation::fullList);
    game.unseenPoolEvaluation = unseenPool;
    const std::optional<std::string> reason = FastWayReason(game, activeList(game), c);
    if (reason) {
      say(game, *reason);
    } else {
      const int halfMoves = std::max(3, EstimateHalfMoves(game));
      say(game, FormatText("Allowing that %d half-moves may be left before the endgame.\n", halfMoves));
      int g = TimePerMove(c, halfMoves, game.bag.total(), game.playerCount);
      say(game, FormatText("This leaves approximately %d seconds per move for me.\n", (g + 50) / 100));
      const int unseenBlanks = blanksUnseenBy(game, mover);
      std::optional<PositionRates> positionRates;
      if (rates) {
        positionRates = RatesForPosition(*rates, unseenBlanks, game.racks[static_cast<std::size_t>(mover)][rules().blankCode],
                                         game.bag.total(), game.lexicon ? game.lexicon->wordCount() : 0,
                                         game.lexicon ? game.lexicon->fileName() : std::string());
        say(game, FormatText("Estimating %4.1f evals/thread-second from this position.\n", positionRates->first));
      }
      if (g < 1500) {
        say(game, "Time is short, going with fast move generation.\n");
      } else {
        if (c - g < 2000) g = c - 2000;
        if (g < 0) {
          say(game, "Need to save time on my clock for the endgame, skipping simulation\n");
        } else {
          const bool guessRack = game.guessRackDistribution;
          const int laid = TilesLaid(game.previousBoard, game.lastMove);
          const int bag = game.bag.total();
          int reserve = 0;
          if (laid == 4) reserve = bag <= 24 ? 400 : 800;
          if (laid == 5) reserve = bag <= 50 ? 200 : 800;
          if (reserve > 0 && (laid == 4 ? 2 * reserve : reserve) >= g) {
            say(game, "Not enough time for tile distribution guess before simulation\n");
            game.guessRackDistribution = false;
          } else {
            if (laid == 4) g -= reserve;
            say(game, "Guess tile distribution is on.\n");
            game.guessRackDistribution = true;
          }
          const int ply = PlyForBudget(g, threads, positionRates, unseenBlanks, openingMove(game));
          const int lead = leadOf(game, mover);
          const bool winProb = game.maximizeWinProb;
          game.maximizeWinProb = lead >= -150 && lead <= 150;
          say(game, FormatText("Set simulation ply to %d.\n", ply));
          say(game, "Simulating...\n");
          say(game, game.maximizeWinProb ? "Using win probability in simulation\n" : "Using point spread in simulation\n");
          say(game, "(Press ESC to stop simulation, TAB to view results)\n");
          const int savedBudget = game.timeBudget;
          game.timeBudget = g;
          FastLookahead(game, ply, threads);
          game.timeBudget = savedBudget;
          game.maximizeWinProb = winProb;
          game.guessRackDistribution = guessRack;
          simulated = true;
        }
      }
    }
  }

  const int elapsed = hundredthsSince(start);
  clock -= elapsed;
  const std::vector<Move>& list = activeList(game);
  const Move chosen = list.empty() ? firstOrPass(list) : list[chosenIndex(list, simulated && simulationTimedOut())];
  if (simulated && game.bag.total() > 4 && chosen.simCount > 0) {
    if (chosen.simCount < 500 && chosen.simCount != kPegMark) {
      note(game, FormatText("NOTE: Pexil's move has a low number of simulations (%d)\n", chosen.simCount));
      if (!rates) {
        note(game, "Perhaps run benchmark tests to improve Pexil's clock management?\n");
      } else {
        note(game, "Perhaps increase clock time to allow simulations to complete, or\n");
        note(game, "play with a fixed ply level?\n");
      }
    }
    if (game.lastInitialPassPercent < 100) {
      note(game, FormatText("NOTE: initial simulation pass only %d%% complete\n", game.lastInitialPassPercent));
    } else if (game.lastContenders >= 2 && game.lastContenders <= 998) {
      note(game, FormatText("NOTE: %d candidates for best move\n", game.lastContenders));
    }
  }
  return reportAndPlay(game, chosen, playerName(game, mover) + " moved: ", elapsed, true);
}

Move PlayFixedDepthMove(Game& game, int ply) {
  if (game.gameOver) {
    say(game, "The game is over.\n");
    return Move{};
  }
  const auto start = std::chrono::steady_clock::now();
  const int mover = game.toMove;
  const bool unseenPool = game.unseenPoolEvaluation, winProb = game.maximizeWinProb;
  const bool guessRack = game.guessRackDistribution;
  game.unseenPoolEvaluation = false;
  const int lead = leadOf(game, mover);
  game.maximizeWinProb = lead >= -150 && lead <= 150;
  game.guessRackDistribution = true;
  if (IsEndgame(game)) {
    ComputerEndgame(game);
  } else {
    FastLookahead(game, std::max(1, ply), std::max(1, game.threads));
  }
  game.unseenPoolEvaluation = unseenPool;
  game.maximizeWinProb = winProb;
  game.guessRackDistribution = guessRack;
  const Move chosen = firstOrPass(activeList(game));
  return reportAndPlay(game, chosen, FormatText("%s moved at %d ply: ", playerName(game, mover).c_str(), ply),
                       hundredthsSince(start), false);
}

std::optional<int> ParseClockTime(std::string_view typed) {
  constexpr long long kMostMinutes = 10000;
  // Digits only, at most `most`.
  const auto digits = [](std::string_view text, long long most) -> std::optional<long long> {
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (const char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
      if (value > most) return std::nullopt;
    }
    return value;
  };
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!typed.empty() && blank(typed.front())) typed.remove_prefix(1);
  while (!typed.empty() && blank(typed.back())) typed.remove_suffix(1);
  const std::size_t colon = typed.find(':');
  long long minutes = 0, seconds = 0;
  if (colon == std::string_view::npos) {
    const auto m = digits(typed, kMostMinutes);
    if (!m) return std::nullopt;
    minutes = *m;
  } else {
    // Seconds always take two digits: "5:07", never "5:7".
    const std::string_view secondsText = typed.substr(colon + 1);
    const auto m = digits(typed.substr(0, colon), kMostMinutes);
    const auto s = digits(secondsText, 59);
    if (!m || !s || secondsText.size() != 2) return std::nullopt;
    minutes = *m;
    seconds = *s;
  }
  const long long hundredths = (minutes * 60 + seconds) * 100;
  if (hundredths <= 0) return std::nullopt;
  return static_cast<int>(hundredths);
}

}  // namespace pexil
