// The Game: the engine's central record of one game. A plain value record:
// copying it copies every buffer it owns (undo snapshots, one copy per
// search thread); copies share the lexicon, which is read-only while
// searches run.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "rules/board.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/evaluation_context.hpp"
#include "state/move.hpp"
#include "state/simulation_stats.hpp"

namespace pexil {

inline constexpr int kMaxPlayers = 16;
inline constexpr int kNoClock = -9999999;

// Texts of placements laid under the anagram rule, which are not lexicon
// words, so that moves can point at them. A copy of a game shares the
// arenas its moves point into but writes only into an arena of its own.
class LaidWords {
 public:
  LaidWords() = default;
  LaidWords(const LaidWords& other) : arenas_(other.arenas_) {}
  LaidWords& operator=(const LaidWords& other) {
    if (this != &other) {
      arenas_ = other.arenas_;
      own_ = nullptr;
    }
    return *this;
  }
  LaidWords(LaidWords&&) noexcept = default;
  LaidWords& operator=(LaidWords&&) noexcept = default;

  // A lasting copy of the text (one per distinct text of this game).
  const char* add(std::string_view text);

 private:
  using Arena = std::unordered_set<std::string>;
  std::vector<std::shared_ptr<Arena>> arenas_;
  Arena* own_ = nullptr;
};

// A move kept beyond the life of the word list it came from: a placement's
// word text is owned here, and copies point at their own copy.
class KeptMove {
 public:
  KeptMove() = default;
  explicit KeptMove(const Move& move) { set(move); }
  KeptMove(const KeptMove& other) { set(other.move_); }
  KeptMove& operator=(const KeptMove& other) {
    if (this != &other) set(other.move_);
    return *this;
  }
  void set(const Move& move) {
    move_ = move;
    if (!isNonPlacement(move) && move.word != nullptr) {
      text_ = move.word;
      move_.word = text_.c_str();
    } else {
      text_.clear();
    }
  }
  const Move& move() const { return move_; }

 private:
  Move move_;
  std::string text_;
};

// One turn of the game record.
struct HistoryEntry {
  KeptMove move;                 // the move played ("(Lost challenge)" for a turn lost)
  KeptMove challengedMove;       // for a turn lost to a challenge: the move taken back
  bool hasChallengedMove = false;
  bool survivedChallenge = false;
  Rack rackBefore;               // the mover's rack before the move
  bool rackKnown = true;
  std::array<int, 16> scoresAfter{};
  int clock = -10000000;         // the mover's clock reading; -10000000 when not set
  std::vector<std::string> notes;
};

// Points scored outside the moves themselves, kept beside the history so
// that the record of a game accounts for every point.
enum class ScoreChangeKind : std::uint8_t {
  challengePenalty,  // a failed challenge: the challenged player gains
  endRackGain,       // the end: the player gains what another's rack holds
  endRackLoss,       // the end: the player loses what the own rack holds
  timePenalty,       // a record's "(time)" line: points gained or lost
};

struct ScoreChange {
  int afterEntry = 0;  // the number of history entries before it
  int player = 0;
  ScoreChangeKind kind = ScoreChangeKind::challengePenalty;
  int points = 0;
  int rackOf = -1;     // the end-of-game kinds: the player whose rack counted
  Rack tiles{};        // ... and the tiles on it
};

// Where generated placements go while a search mode is on.
enum class SearchMode : std::uint8_t {
  none,
  simulationReply,  // replies inside a simulation: best-only shortcuts apply
  alternativeB,     // moves go to altListB; the compact graph serves one-blank racks
};

struct Game {
  int playerCount = 0;
  int moveNumber = 0;
  int searchCounter = 0;
  int toMove = 0;

  Board board;
  Board previousBoard;
  Board workBoard;

  Move lastMove;
  Well bag;
  LetterCounts unseenPool;  // the mover's unseen tiles, computed by GenerateMoves
  std::array<Rack, kMaxPlayers> racks{};
  std::array<int, kMaxPlayers> rackTags{};
  std::array<int, kMaxPlayers> scores{};
  std::array<int, kMaxPlayers> strategies{};
  // Players whose moves are valued with every leave value 0 (and no keep
  // values against the unseen tiles): a strength test's opponent that
  // plays without the rack-value tables while the other seats use them.
  std::array<bool, kMaxPlayers> leaveValuesOff{};
  std::shared_ptr<Lexicon> lexicon;

  // Move lists.
  Move bestMove;
  std::vector<Move> moves;
  std::vector<Move> candidates;
  std::vector<Move> altListA;
  std::vector<Move> altListB;
  // The simulation statistics the main list's moves refer to (simStats).
  SimulationStatsStore simulationStats;

  bool gameOver = false;
  int scorelessTurns = 0;
  int consecutivePasses = 0;
  bool historyEnabled = true;
  bool unseenPoolEvaluation = false;
  bool medianDraws = false;
  bool doubledEndScoring = true;
  std::array<int, kMaxPlayers> clocks = filledClocks();
  std::array<std::string, kMaxPlayers> playerNames{};
  bool clockRunning = false;
  bool announceSenyors = false;
  int minPhonyLength = 5;
  bool phonyPlay = false;
  bool moveJustPlayed = false;
  int challengeType = 2;
  int challengePenalty = 10;
  std::vector<std::string> barredWords;  // lower case
  int restrictedPlayer = -1;
  std::array<std::string, kMaxPlayers> exchangedLast{};
  // Tiles known to be on each player's rack (tiles a lost challenge put
  // back), for the tile inference.
  std::array<std::string, kMaxPlayers> knownTiles{};
  // Each player's thinking time so far, hundredths of a second.
  std::array<int, kMaxPlayers> thinkingTime{};
  // The strategies while one is overridden for a move.
  std::array<int, kMaxPlayers> savedStrategies{};
  bool strategiesOverridden = false;

  // The game record and the display flag of move lines: leaves and
  // exchanged tiles are hidden while it is set.
  std::vector<HistoryEntry> history;
  // In the order of the history; changes after the same entry in the order
  // they were scored.
  std::vector<ScoreChange> scoreChanges;
  bool hideLeaves = false;

  // The game kind and game type the game was set up with (activating them
  // again restores the rules).
  int gameKind = 0;
  int gameTypeIndex = -1;
  // Worker threads for searches (the processor count, at least 1).
  int threads = 1;

  // ---- lookahead simulation ----
  // Simulated play continues while the turn counter has not passed the
  // target turn.
  int targetTurn = 0;
  bool simulating = false;
  bool quiet = false;              // no progress lines from the searches
  bool maximizeWinProb = false;    // rank by the win chance at the horizon
  bool mixedOptimization = false;  // rank by simValueC
  bool useKnownTiles = false;      // the previous player's racks come from knownRacks
  bool trackHeatmaps = false;
  bool rackSimulation = false;     // a position file's "racksim" flag
  int mood = 0;                    // -3..+3
  // The fast lookahead hands the candidates that empty the bag to the
  // pre-endgame evaluation ("Preendgame"), and draws the opponents'
  // pre-drawn racks even with 10 or fewer tiles in the bag ("SortRacksPEG").
  bool preEndgameInSimulation = true;
  bool sortRacksPeg = true;
  // Simulated players choose their moves by the static endgame once the
  // bag is empty in a two-player game (the window's "Use static endgame in
  // simulation"); off, by the static best move.
  bool staticEndgameInSimulation = false;
  // What the last fast lookahead left for the notes of the timed move and
  // the reports: how far its initial pass got (percent), how many
  // candidates were still in contention, and the mean value of the
  // opponents' drawn racks in points (0 without known racks).
  int lastInitialPassPercent = 100;
  int lastContenders = 0;
  float averageOpponentRack = 0.0f;
  int timeBudget = 0;              // of the running search, hundredths of a second; 0 = none
  // For reports on a move already played (the game analysis): the fast
  // lookahead simulates these moves too, even when its own choice of
  // candidates leaves them out, and does not stop before its best
  // `minSimulatedTop` candidates (and these moves) have
  // `minSimulations` iterations each. 0 leaves its stopping rule alone.
  std::vector<Move> alsoSimulate;
  int minSimulations = 0;
  int minSimulatedTop = 0;
  // Whether the horizon's win chance comes from the win-probability tables
  // (worked out at the start of every simulation).
  bool winProbAtHorizon = false;
  // Racks the previous player may hold (tile inference or typed known
  // tiles), a rack found k ways stored k times so that a uniform pick weighs
  // each by its count (search/known_racks.hpp keeps it).
  std::vector<Rack> knownRacks;
  // Tiles the user knows to be on the previous player's rack, one
  // character per tile ('?' a blank), or empty.
  std::string typedKnownTiles;
  // The running strategy asks the threaded lookahead to guess the previous
  // player's rack from its last move (unlike guessTiles, which stays on as
  // a setting, this holds only while such a strategy moves).
  bool guessRackDistribution = false;

  // ---- endgame searches ----
  long long endgameNodes = 0;  // nodes the search on this copy has visited
  bool endgameRunning = false;
  // Lines 150 points or more behind are cut (the computer's own searches).
  bool endgamePrune = false;

  // ---- generation options ----
  bool rankByScore = false;
  bool considerRetainExchange = false;
  bool highestScoreBest = false;
  bool altListAActive = false;
  SearchMode searchMode = SearchMode::none;
  bool openingDown = false;   // the record being replayed opened down
  bool guessTiles = true;     // tile inference switch (the opening-reply hint reads it)
  bool openingReplyHint = false;
  // Refreshed by GenerateMoves.
  bool standardBonusLayout = false;
  bool standardTileValues = false;
  bool boardSymmetric = false;
  bool boardPatternFlag = false;
  bool generating = false;  // set while the placement generator runs
  int highestEquity = -999999;
  // Best-only bookkeeping while a generation runs. listRule ranks as the
  // full sorted list would (every placement, equity only); otherwise the
  // best-only rule holds (clean plays, going out first). order is the
  // generation order of the first square being walked and bestOrder that of
  // bestMove, so that squares visited best bound first still settle ties
  // as the list does: the earlier first.
  struct BestOnlyTrack {
    bool listRule = false;
    int order = 0;
    int bestOrder = 0;
    // Plays of one first square may come out of the walk's order, so ties
    // within a square compare the plays themselves.
    bool walkOrderTies = false;
  };
  BestOnlyTrack bestOnlyTrack;
  // Keep values of subsets of the mover's rack against the unseen pool, by
  // bit mask of kept positions of the rack in alphabet order (2^rackSize
  // entries, -10000000 = not computed); valid for the rack and pool they
  // were computed with (movegen/keep_value.hpp).
  std::vector<int> keepValueCache;
  LetterCounts keepCacheRack{};
  LetterCounts keepCachePool{};
  // Letters that no empty premium anchor admits (all while the board is
  // empty); for the searches.
  std::array<bool, 32> noPremiumAnchor{};

  // The static evaluation's view of the position, refreshed by
  // GenerateMoves; and the board-pattern value after the last move played.
  EvaluationContext evaluation;
  bool hasPatternReference = false;
  int patternReference = 0;

  GameRandom random;

  LaidWords laidWords;

 private:
  static std::array<int, kMaxPlayers> filledClocks() {
    std::array<int, kMaxPlayers> c{};
    c.fill(kNoClock);
    return c;
  }
};

// Whether an exchange may be made now: the bag holds at least the game
// type's minimum, after setting aside what players with empty racks must
// draw; never in the hundredfold game kind.
bool exchangeAllowed(const Game& game);

// When scoreless turns end the game: after `scoreless` scoreless turns in a
// row (unless `scorelessApplies` is false) or `passes` passes in a row.
// Three per player each; a Spanish list allows six scoreless turns and two
// passes per player, and no scoreless end of a two-player game while both
// scores are 0.
struct ScorelessLimits {
  int scoreless = 0;
  int passes = 0;
  bool scorelessApplies = true;
};
ScorelessLimits scorelessLimits(const Game& game);

// The unseen tiles of the player to move: the bag plus every opponent's
// rack (opponents' racks are seen in open-rack games).
LetterCounts unseenTilesOf(const Game& game, int player);

// The player's score less the highest score among the others (the score
// itself when there are no others).
int leadOf(const Game& game, int player);

// A move's simulation statistics: a fresh record attached to the move
// (reusing a released one), the record of a move (none without one), and
// the main list emptied with every record its moves hold released, whether
// or not the move was simulated yet.
SimulationStats& attachSimulationStats(Game& game, Move& move);
const SimulationStats* simulationStatsOf(const Game& game, const Move& move);
void clearMainList(Game& game);

// Whether the word is barred for this player.
bool isBarredFor(const Game& game, int player, std::string_view word);

}  // namespace pexil
