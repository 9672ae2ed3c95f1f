#include "play/game_flow.hpp"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <mutex>
#include <thread>

#include "io/data_files.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/move_line.hpp"
#include "movegen/rack_reports.hpp"
#include "play/word_list_choice.hpp"
#include "rules/builtin_kinds.hpp"
#include "rules/game_rules.hpp"
#include "rules/scoring.hpp"
#include "tables/board_patterns.hpp"
#include "tables/win_prob.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

struct FlowState {
  std::mutex mutex;
  std::vector<std::string> challengedOff;
  std::function<void(Game&)> afterMove;
};

FlowState& flowState() {
  static FlowState state;
  return state;
}

Rack& moverRack(Game& game) { return game.racks[static_cast<std::size_t>(game.toMove)]; }

// The tiles an exchange keeps, in alphabet order: the move's leave for the
// exchanges that name their tiles, else the label's own rule applied to
// the rack.
Rack keptTiles(const Move& move, const Rack& rack) {
  Rack kept;
  if (move.word == label::exchangeOptimal || move.word == label::exchangedTiles) {
    // Only tiles the rack really holds are kept.
    Rack available = rack;
    for (char c : move.leaveView()) {
      const int code = codeOfTile(c);
      if (code < 0 || code >= kCodeSlots || available[code] <= 0) continue;
      --available[code];
      ++kept[code];
      ++kept[kTotalSlot];
    }
    return kept;
  }
  return keptByLabel(rack, move.word);
}

void performExchange(Game& game, const Move& move) {
  Rack& rack = moverRack(game);
  const Rack kept = keptTiles(move, rack);
  Rack returned = rack;
  for (int code = 0; code < kCodeSlots; ++code) returned[code] -= kept[code];
  returned[kTotalSlot] -= kept.total();
  // The new rack is filled before the old tiles go back.
  rack = kept;
  drawTiles(rack, game.bag, rules().rackSize, &game.random);
  for (int slot = 0; slot <= kTotalSlot; ++slot) game.bag.counts[static_cast<std::size_t>(slot)] += returned.counts[static_cast<std::size_t>(slot)];
  game.rackTags[static_cast<std::size_t>(game.toMove)] = game.random.next() % 8;
}

// A rack of only vowels or only consonants, without a blank.
bool senyorsRack(const Rack& rack) {
  const GameRules& r = rules();
  if (rack.total() == 0 || rack[r.blankCode] > 0) return false;
  const int vowels = vowelCount(rack);
  return vowels == 0 || vowels == rack.total();
}

// The text of a rack minus the tiles a move keeps, for the tile inference;
// empty when it would not fit.
std::string tilesReturned(const Rack& before, const Rack& kept) {
  Rack returned = before;
  for (int code = 0; code < kCodeSlots; ++code) returned[code] -= kept[code];
  returned[kTotalSlot] -= kept.total();
  if (!allNonNegative(returned)) return {};
  const auto text = countsToText(returned, 32);
  return text ? *text : std::string();
}

// Finds the generated move with the same placement (to carry its
// simulation data into the record), or null.
const Move* sameMoveInList(const Game& game, const Move& move) {
  for (const Move& m : game.moves) {
    if (m.column == move.column && m.row == move.row && m.direction == move.direction &&
        (isNonPlacement(m) || isNonPlacement(move)
             ? m.word == move.word && m.leaveView() == move.leaveView()  // an exchange is also what it keeps
             : m.wordView() == move.wordView())) {
      return &m;
    }
  }
  return nullptr;
}

void afterMoveHook(Game& game) {
  if (game.boardPatternFlag) {
    if (const BoardPatterns* patterns = BoardPatterns::loaded(); patterns && patterns->fits(game.board)) {
      game.patternReference = patterns->value(game.board);
      game.hasPatternReference = true;
    }
  }
  std::function<void(Game&)> hook;
  {
    std::lock_guard<std::mutex> lock(flowState().mutex);
    hook = flowState().afterMove;
  }
  if (hook) hook(game);
}

}  // namespace

bool GiveRack(Game& game, int player, const std::string& tiles) {
  Rack& rack = game.racks[static_cast<std::size_t>(player)];
  LetterCounts pool = game.bag;
  for (int slot = 0; slot <= kTotalSlot; ++slot) pool[slot] += rack[slot];
  Rack wanted{};
  addLetters(wanted, tiles, nullptr);
  // The set less the pool is what the board and the other racks hold.
  Well full;
  fillWell(full);
  bool fits = true;
  for (int code = 0; code < rules().codeCount && code < kCodeSlots; ++code) {
    if (wanted[code] > pool[code]) {
      PrintMessageF(msg::CliTooManyTiles, tileDisplayText(code).c_str(), full[code] - pool[code], wanted[code],
                    full[code]);
      fits = false;
    }
  }
  if (!fits) return false;
  for (int slot = 0; slot <= kTotalSlot; ++slot) {
    game.bag[slot] = pool[slot] - wanted[slot];
    rack[slot] = wanted[slot];
  }
  return true;
}

bool ExchangeAllowed(const Game& game) { return exchangeAllowed(game); }

void PlayMove(Game& game, const Move& given, bool record, bool randomRefill) {
  if (game.playerCount <= 0 || game.gameOver) return;
  const GameRules& r = rules();
  const int mover = game.toMove;
  Rack& rack = moverRack(game);
  Move move = given;
  // Moves played silently (simulation rollouts) update the annotations
  // of the squares the move changes instead of the whole board's.
  const bool updateBoard = !record && BoardReadyForUpdate(game);
  bool placed = false;

  std::size_t entryIndex = 0;
  if (record) {
    if (game.historyEnabled) undoStack().save(game);
    game.previousBoard = game.board;
    const Move* listed = sameMoveInList(game, move);
    HistoryEntry entry;
    entry.move.set(listed ? *listed : move);
    entry.rackBefore = rack;
    entry.rackKnown = true;
    entry.clock = game.clocks[static_cast<std::size_t>(mover)] >= 0 ? game.clocks[static_cast<std::size_t>(mover)] : -10000000;
    game.history.push_back(std::move(entry));
    entryIndex = game.history.size() - 1;
  }
  game.exchangedLast[static_cast<std::size_t>(mover)].clear();

  if (isExchange(move)) {
    if (ExchangeAllowed(game)) {
      const Rack before = rack;
      const Rack kept = keptTiles(move, rack);
      game.exchangedLast[static_cast<std::size_t>(mover)] = tilesReturned(before, kept);
      performExchange(game, move);
      if (const auto keptText = countsToText(kept, kLeaveSize - 1)) move.setLeave(*keptText);
    }
    ++game.scorelessTurns;
    game.consecutivePasses = 0;
  } else if (isNonPlacement(move)) {
    ++game.scorelessTurns;
    ++game.consecutivePasses;
  } else {
    const bool wasGenerating = game.generating;
    game.generating = false;
    const Evaluation evaluation = EvaluatePlacement(game, move, true);
    game.generating = wasGenerating;
    move.score = evaluation.score;
    if (game.medianDraws && record && !randomRefill) {
      MedianRackDraw(game, mover);
    } else {
      drawTiles(rack, game.bag, r.rackSize, &game.random);
    }
    game.scores[static_cast<std::size_t>(mover)] += move.score;
    game.scorelessTurns = 0;
    game.consecutivePasses = 0;
    updateNearOpenBonus(game.board);
    placed = true;
    if (rack.total() == 0) EndGame(game);
  }
  game.lastMove = move;
  if (record) {
    HistoryEntry& entry = game.history[entryIndex];
    Move recorded = entry.move.move();
    recorded.score = move.score;
    recorded.blankPositions = move.blankPositions;
    recorded.setLeave(move.leaveView());
    entry.move.set(recorded);
  }

  // The end by scoreless turns.
  if (!game.gameOver) {
    const ScorelessLimits limits = scorelessLimits(game);
    if ((limits.scorelessApplies && game.scorelessTurns >= limits.scoreless) || game.consecutivePasses >= limits.passes) {
      EndGame(game);
    }
  }

  // The senyors rule: a rack of only vowels or only consonants is drawn
  // again, at most twice.
  if (senyorsRule()) {
    for (int redraw = 0; redraw < 2 && game.bag.total() > 0 && senyorsRack(rack); ++redraw) {
      if (game.announceSenyors) PrintMessageF(msg::FlowSenyors, rackString(rack).c_str());
      returnAll(game.bag, rack);
      drawTiles(rack, game.bag, r.rackSize, &game.random);
    }
  }

  if (record) {
    HistoryEntry& entry = game.history[entryIndex];
    for (int p = 0; p < game.playerCount && p < 16; ++p) entry.scoresAfter[static_cast<std::size_t>(p)] = game.scores[static_cast<std::size_t>(p)];
  }
  ++game.moveNumber;
  game.toMove = (game.toMove + 1) % game.playerCount;
  game.moveJustPlayed = true;
  if (!updateBoard) {
    prepareBoard(game);
  } else if (placed) {
    UpdateBoardAfterPlacement(game, move);
  }
  assert(tilesConserved(game));
  if (record) afterMoveHook(game);
}

void commitPlacement(Game& game, const Move& move) {
  if (isNonPlacement(move) || game.playerCount == 0) return;
  PlayMove(game, move, false, true);
}

void Pass(Game& game) {
  Move pass;
  pass.word = label::pass;
  pass.setLeave(rackString(moverRack(game)));
  PlayMove(game, pass);
}

void Exchange(Game& game, const std::string& keep) {
  Move exchange;
  exchange.word = label::exchangedTiles;
  exchange.setLeave(keep);
  PlayMove(game, exchange);
}

void AddScoreChange(Game& game, const ScoreChange& change) {
  ScoreChange placed = change;
  placed.afterEntry = static_cast<int>(game.history.size());
  AddScoreChangeAfter(game, placed);
}

void AddScoreChangeAfter(Game& game, const ScoreChange& change) {
  auto at = game.scoreChanges.end();
  while (at != game.scoreChanges.begin() && std::prev(at)->afterEntry > change.afterEntry) --at;
  game.scoreChanges.insert(at, change);
}

std::vector<ScoreChange> EndOfGameChanges(const Game& game, int wentOut) {
  std::vector<ScoreChange> changes;
  const int players = game.playerCount;
  std::array<int, kMaxPlayers> values{};
  for (int p = 0; p < players; ++p) values[static_cast<std::size_t>(p)] = rackValue(game.racks[static_cast<std::size_t>(p)]);
  auto add = [&](int player, ScoreChangeKind kind, int points, int rackOf) {
    ScoreChange change;
    change.player = player;
    change.kind = kind;
    change.points = points;
    change.rackOf = rackOf;
    change.tiles = game.racks[static_cast<std::size_t>(rackOf)];
    changes.push_back(change);
  };
  if (game.doubledEndScoring) {
    for (int p = 0; p < players; ++p) {
      for (int q = 0; q < players; ++q) {
        const int value = values[static_cast<std::size_t>(q)];
        if (q != p && value > 0) add(p, ScoreChangeKind::endRackGain, 2 * value, q);
      }
    }
    return changes;
  }
  bool someoneOut = false;
  for (int p = 0; p < players; ++p) {
    const int value = values[static_cast<std::size_t>(p)];
    if (value > 0) add(p, ScoreChangeKind::endRackLoss, -value, p);
    someoneOut = someoneOut || game.racks[static_cast<std::size_t>(p)].total() == 0;
  }
  // The player who went out gains what the others lost.
  for (int q = 0; someoneOut && q < players; ++q) {
    const int value = values[static_cast<std::size_t>(q)];
    if (q != wentOut && value > 0) add(wentOut, ScoreChangeKind::endRackGain, value, q);
  }
  return changes;
}

void EndGame(Game& game) {
  // Each adjustment is kept with the rack it counts, so that the history
  // accounts for it. The player who went out is the one who has just moved.
  for (const ScoreChange& change : EndOfGameChanges(game, game.toMove)) {
    game.scores[static_cast<std::size_t>(change.player)] += change.points;
    AddScoreChange(game, change);
  }
  game.gameOver = true;
  game.clockRunning = false;
}

bool ChallengeLast(Game& game) {
  game.moveJustPlayed = false;
  if (game.challengeType == 4 || game.playerCount <= 0) return false;
  const Move last = game.lastMove;
  const bool placement = !isNonPlacement(last);
  const bool succeeds =
      (placement && (last.wordClass == kClassPhony || last.phonyCross)) || last.word == label::lostChallenge;
  const int challenger = game.toMove;
  const int challenged = (game.toMove + game.playerCount - 1) % game.playerCount;

  if (succeeds) {
    // Without a snapshot to go back to the challenge cannot be carried out;
    // check before anything changes.
    if (!undoStack().canUndo()) return false;
    if (placement && last.wordClass == kClassPhony) {
      std::lock_guard<std::mutex> lock(flowState().mutex);
      flowState().challengedOff.push_back(latin1Lower(last.wordView()));
    }
    // The tiles the move placed come back (blanks as '?').
    std::string returned;
    if (placement) {
      for (int i = 0; i < static_cast<int>(last.wordView().size()); ++i) {
        const Square* before = last.direction == kAcross ? squareAt(game.previousBoard, last.column + i, last.row)
                                                         : squareAt(game.previousBoard, last.column, last.row + i);
        if (before && before->empty()) returned.push_back(last.isBlankAt(i) ? '?' : latin1Upper(last.word[i]));
      }
    }
    const auto clocks = game.clocks;
    if (!undoStack().undo(game)) return false;  // nothing to take back, nothing changed
    game.clocks = clocks;
    Move lost;
    lost.word = label::lostChallenge;
    lost.setLeave(rackString(moverRack(game)));
    PlayMove(game, lost, true, true);
    game.clocks = clocks;
    PrintMessage(msg::FlowChallengeSucceeded);
    game.knownTiles[static_cast<std::size_t>(challenged)] += returned;
    if (!game.history.empty()) {
      HistoryEntry& entry = game.history.back();
      entry.challengedMove.set(last);
      entry.hasChallengedMove = true;
    }
    return true;
  }

  if (!game.history.empty()) game.history.back().survivedChallenge = true;
  if (game.challengeType == 2 || game.challengeType == 3) {
    game.scores[static_cast<std::size_t>(challenged)] += game.challengePenalty;
    ScoreChange change;
    change.player = challenged;
    change.kind = ScoreChangeKind::challengePenalty;
    change.points = game.challengePenalty;
    AddScoreChange(game, change);
  }
  if (game.challengeType == 1 || game.challengeType == 3) {
    Move incorrect;
    incorrect.word = label::incorrectChallenge;
    incorrect.setLeave(rackString(game.racks[static_cast<std::size_t>(challenger)]));
    PlayMove(game, incorrect);
  }
  PrintMessage(msg::FlowChallengeFailed);
  return false;
}

void NewGame(Game& game, int players, std::shared_ptr<Lexicon> lexicon) {
  const GameRules& r = rules();
  const GameType* type = activeGameType();
  game = Game{};
  game.playerCount = std::clamp(players, 1, kMaxPlayers);
  game.gameKind = r.gameKind;
  game.gameTypeIndex = r.gameTypeIndex;
  game.phonyPlay = type != nullptr && type->markPhonies;
  if (!lexicon) lexicon = lexiconFor(nullptr, wordListForNewGame());
  game.lexicon = std::move(lexicon);
  // Until a word list brings its own win-probability tables, the generic
  // ones serve.
  EnsureGenericWinProbTables();
  game.threads = std::max(1u, std::thread::hardware_concurrency());
  game.historyEnabled = true;
  ResetGame(game);
}

void startGame(Game& game, int players, std::shared_ptr<Lexicon> lexicon) {
  NewGame(game, players, std::move(lexicon));
}

void ResetGame(Game& game) {
  buildBoard(game.board);
  game.board.lexicon = game.lexicon.get();
  game.previousBoard = game.board;
  game.workBoard = game.board;
  fillWell(game.bag);
  game.moveNumber = 0;
  game.toMove = 0;
  game.gameOver = false;
  game.scorelessTurns = 0;
  game.consecutivePasses = 0;
  game.hasPatternReference = false;
  game.patternReference = 0;
  game.clockRunning = false;
  game.doubledEndScoring = wordListAlphabet() != kAlphabetSpanish;
  game.lastMove = Move{};
  for (int p = 0; p < game.playerCount; ++p) {
    Rack& rack = game.racks[static_cast<std::size_t>(p)];
    game.rackTags[static_cast<std::size_t>(p)] = dealRack(rack, game.bag, &game.random);
    if (game.medianDraws) {
      // A median draw instead, with a new blank countdown.
      returnAll(game.bag, rack);
      MedianRackDraw(game, p);
    }
    game.scores[static_cast<std::size_t>(p)] = 0;
    game.thinkingTime[static_cast<std::size_t>(p)] = 0;
  }
  clearMainList(game);
  game.candidates.clear();
  game.altListA.clear();
  game.altListB.clear();
  game.rankByScore = game.considerRetainExchange = game.highestScoreBest = game.altListAActive = false;
  game.unseenPoolEvaluation = false;
  game.searchMode = SearchMode::none;
  game.moveJustPlayed = true;
  game.barredWords.clear();
  game.restrictedPlayer = -1;
  game.history.clear();
  game.scoreChanges.clear();
  game.hideLeaves = false;
  for (auto& text : game.exchangedLast) text.clear();
  for (auto& text : game.knownTiles) text.clear();
  game.typedKnownTiles.clear();
  game.knownRacks.clear();
  {
    std::lock_guard<std::mutex> lock(flowState().mutex);
    flowState().challengedOff.clear();
  }
  // Snapshots of the previous game must not be undone into the new one.
  if (game.historyEnabled) undoStack().clear();
  prepareBoard(game);
}

void SetPlayerName(Game& game, int player, const std::string& name) {
  if (player >= 0 && player < kMaxPlayers) game.playerNames[static_cast<std::size_t>(player)] = name;
}

std::string playerName(const Game& game, int player) {
  if (player >= 0 && player < kMaxPlayers && !game.playerNames[static_cast<std::size_t>(player)].empty()) {
    return game.playerNames[static_cast<std::size_t>(player)];
  }
  return FormatMessage(msg::PlayerNumbered, player + 1);
}

std::vector<std::string> SetBarredWords(Game& game, const std::vector<std::string>& typed) {
  game.barredWords.clear();
  for (const std::string& word : typed) {
    const std::string converted = convertMultiLetter(latin1Lower(word));
    if (game.lexicon && game.lexicon->findEntry(converted) != kNoEntry) game.barredWords.push_back(converted);
  }
  game.restrictedPlayer = game.barredWords.empty() || game.playerCount <= 0 ? -1 : (game.toMove + 1) % game.playerCount;
  return game.barredWords;
}

std::vector<std::string> wordsChallengedOff() {
  std::lock_guard<std::mutex> lock(flowState().mutex);
  return flowState().challengedOff;
}

void SetAfterMoveHook(std::function<void(Game&)> hook) {
  std::lock_guard<std::mutex> lock(flowState().mutex);
  flowState().afterMove = std::move(hook);
}

// ---- undo and redo ----

UndoStack& undoStack() {
  static UndoStack stack;
  return stack;
}

void UndoStack::clear() {
  snapshots_.clear();
  cursor_ = -1;
}

void UndoStack::save(const Game& game) {
  // Snapshots after the present position are dropped: a new move replaces
  // what redo would have given.
  if (cursor_ >= 0 && cursor_ < static_cast<int>(snapshots_.size())) snapshots_.resize(static_cast<std::size_t>(cursor_));
  snapshots_.push_back(game);
  dropLists(snapshots_.back());
  cursor_ = static_cast<int>(snapshots_.size());
}

void UndoStack::dropLists(Game& snapshot) {
  // The move lists are regenerated after a restore; keeping them would cost
  // hundreds of moves per snapshot.
  snapshot.moves = {};
  snapshot.candidates = {};
  snapshot.altListA = {};
  snapshot.altListB = {};
  // A rack guess belongs to the position it was made in, and can be large.
  snapshot.knownRacks = {};
}

void UndoStack::restore(Game& game, int index) {
  game = snapshots_[static_cast<std::size_t>(index)];
  clearMainList(game);
  game.clockRunning = false;
  prepareBoard(game);
}

bool UndoStack::undo(Game& game) {
  if (snapshots_.empty() || cursor_ <= 0) return false;
  // From the newest position, keep it so that redo can come back to it.
  if (cursor_ == static_cast<int>(snapshots_.size())) {
    snapshots_.push_back(game);
    dropLists(snapshots_.back());
  }
  --cursor_;
  restore(game, cursor_);
  return true;
}

bool UndoStack::redo(Game& game) {
  if (!hasRedo()) return false;
  ++cursor_;
  restore(game, cursor_);
  return true;
}

// ---- conservation ----

bool tilesConserved(const Game& game) {
  const GameRules& r = rules();
  LetterCounts seen = game.bag;
  for (int p = 0; p < game.playerCount; ++p) {
    const Rack& rack = game.racks[static_cast<std::size_t>(p)];
    if (!allNonNegative(rack)) return false;
    for (int slot = 0; slot <= kTotalSlot; ++slot) seen.counts[static_cast<std::size_t>(slot)] += rack.counts[static_cast<std::size_t>(slot)];
  }
  if (!allNonNegative(game.bag)) return false;
  for (const Square& s : game.board.squares) {
    if (s.empty()) continue;
    const int code = s.isBlank ? r.blankCode : codeOfLetter(s.letter);
    if (code < 0 || code >= kCodeSlots) return false;
    ++seen[code];
    ++seen[kTotalSlot];
  }
  Well full;
  fillWell(full);
  return seen == full;
}

}  // namespace pexil
