#include "search/exact_search.hpp"

#include <algorithm>

#include "rules/game_rules.hpp"
#include "state/abort_flag.hpp"

namespace pexil {
namespace {

constexpr int kInfinity = 1 << 28;
// The racks' blanks are keyed under a code no letter uses.
constexpr int kBlankKeyCode = 31;
// How often (in nodes, a power of two) the stop conditions are polled.
constexpr long long kPollMask = 1023;
// Slots of each searcher's remembered best moves (a power of two).
constexpr std::size_t kBestMoveSlots = std::size_t{1} << 15;

// The change of the spread (mover minus other) that the end of the game
// makes, with the racks' values as they are: the rule doubling the racks,
// or each player losing the own rack and the player who went out gaining
// the other's.
int endChange(bool doubled, int moverValue, int otherValue, bool moverWentOut) {
  const int mover = std::max(moverValue, 0), other = std::max(otherValue, 0);
  if (doubled) return 2 * other - 2 * mover;
  return -mover + other + (moverWentOut ? other : 0);
}

// The depth left below a move. Depth counts placements: a pass leaves it
// as it is, so the lines of a player who can only pass are seen as far as
// the other's plays reach (passes in a row end the game by the pass limit).
int childDepth(const LeanMove& move, int depth) { return move.isPass() ? depth : depth - 1; }

// Whether the table's entry settles a search in the window (alpha, beta).
bool settles(const ExactEntry& entry, int alpha, int beta) {
  return entry.bound == ExactBound::exact || (entry.bound == ExactBound::lower && entry.value >= beta) ||
         (entry.bound == ExactBound::upper && entry.value <= alpha);
}

}  // namespace

bool ExactStart::load(const Game& game) {
  const GameRules& r = rules();
  if (game.playerCount != 2 || game.gameOver || game.bag.total() != 0 || anagramRule()) return false;
  if (game.toMove < 0 || game.toMove > 1) return false;
  blankCode = r.blankCode;
  for (int p = 0; p < 2; ++p) {
    const Rack& rack = game.racks[static_cast<std::size_t>(p)];
    if (rack.total() <= 0 || rack.total() > kLeanMaxTiles) return false;
    LeanRack& lean = racks[static_cast<std::size_t>(p)];
    lean = LeanRack{};
    for (int code = 0; code < kCodeSlots; ++code) {
      const int n = rack[code];
      if (n < 0 || n >= ExactKeys::kCounts) return false;
      if (code == blankCode) {
        lean.blanks = n;
      } else {
        lean.counts[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(n);
      }
      lean.total += n;
    }
  }
  if (!board.load(game)) return false;
  if (board.width() * board.height() > ExactKeys::kSquares) return false;
  for (int code = 0; code < 32; ++code) {
    tileValues[static_cast<std::size_t>(code)] =
        code == blankCode ? board.blankValue() : code < r.letterCount ? board.letterValue(code) : 0;
  }
  scores = {game.scores[0], game.scores[1]};
  toMove = game.toMove;
  const ScorelessLimits limits = scorelessLimits(game);
  passLimit = limits.passes;
  scorelessLimit = limits.scoreless;
  // The one rule that depends on the scores: a Spanish list has no
  // scoreless end of a two-player game while both scores are 0.
  scorelessWithZeroScores = wordListAlphabet() != kAlphabetSpanish;
  passesLeft = passLimit - game.consecutivePasses;
  if (limits.scorelessApplies) passesLeft = std::min(passesLeft, scorelessLimit - game.scorelessTurns);
  if (passesLeft < 1 || passesLeft >= ExactKeys::kPassStates || passLimit >= ExactKeys::kPassStates) return false;
  doubledEndScoring = game.doubledEndScoring;
  barred = game.restrictedPlayer >= 0 && !game.barredWords.empty() ? &game : nullptr;
  return true;
}

int ExactStart::rackValue(const LeanRack& rack) const {
  int value = rack.blanks * tileValues[static_cast<std::size_t>(blankCode & 31)];
  for (int code = 0; code < 32; ++code) {
    if (code != blankCode) value += rack.counts[static_cast<std::size_t>(code)] * tileValues[static_cast<std::size_t>(code)];
  }
  return value;
}

ExactSearcher::ExactSearcher(const ExactStart& start, ExactTable& table, const ExactKeys& keys, ExactStop& stop)
    : start_(start), table_(table), keys_(keys), stop_(stop), board_(start.board), bestMoves_(kBestMoveSlots), history_(kHistorySlots, 0) {

  generator_.setBarredWords(start.barred);
  racks_ = start.racks;
  scores_ = start.scores;
  toMove_ = start.toMove;
  passesLeft_ = start.passesLeft;
  key_ = keys_.toMove(toMove_) ^ keys_.passesLeft(passesLeft_);
  for (int p = 0; p < 2; ++p) {
    const LeanRack& rack = racks_[static_cast<std::size_t>(p)];
    rackValues_[static_cast<std::size_t>(p)] = start.rackValue(rack);
    for (int code = 0; code < 32; ++code) {
      for (int n = 1; n <= rack.counts[static_cast<std::size_t>(code)]; ++n) key_ ^= keys_.rackTile(p, code, n);
    }
    for (int n = 1; n <= rack.blanks; ++n) key_ ^= keys_.rackTile(p, kBlankKeyCode, n);
  }
}

ExactSearcher::PlyState& ExactSearcher::plyState(int ply) {
  while (static_cast<int>(plies_.size()) <= ply) plies_.push_back(std::make_unique<PlyState>());
  return *plies_[static_cast<std::size_t>(ply)];
}

std::uint32_t ExactSearcher::moveIdentity(const LeanMove& move) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  const auto mix = [&h](std::uint64_t v) {
    h ^= v;
    h *= 0x100000001b3ull;
  };
  mix(move.start);
  mix(move.direction);
  mix(move.tiles);
  for (int i = 0; i < move.tiles; ++i) {
    mix(move.offset[static_cast<std::size_t>(i)]);
    mix(move.code[static_cast<std::size_t>(i)]);
  }
  const auto id = static_cast<std::uint32_t>((h ^ (h >> 32)) & ((1u << 29) - 1));
  return id == 0 ? 1 : id;
}

void ExactSearcher::rootMoves(const ExactStart& start, std::vector<LeanMove>& moves) {
  moves.clear();
  LeanGenerator generator;
  generator.setBarredWords(start.barred);
  generator.generate(start.board, start.racks[static_cast<std::size_t>(start.toMove)], start.toMove, moves);
  moves.emplace_back();  // the pass
}

int ExactSearcher::valueOfRootMove(const LeanMove& move, int depth, int alpha, int beta, bool& final) {
  stopped_ = stop_.stop.load(std::memory_order_relaxed);
  if (stopped_) {
    final = false;
    return 0;
  }
  return valueOf(0, move, childDepth(move, depth), alpha, beta, final);
}

void ExactSearcher::pollStop() {
  if (stop_.stop.load(std::memory_order_relaxed)) {
    stopped_ = true;
    return;
  }
  if (abortRequested() || (stop_.hasDeadline && std::chrono::steady_clock::now() >= stop_.deadline) ||
      (stop_.hasCpuDeadline && processCpuSeconds() >= stop_.cpuDeadline)) {
    stop_.stop.store(true, std::memory_order_relaxed);
    stopped_ = true;
  }
}

bool ExactSearcher::endsGame(const LeanMove& move) const {
  if (move.isPass()) return passesLeft_ <= 1;
  return move.tiles == racks_[static_cast<std::size_t>(toMove_)].total;
}

int ExactSearcher::endValue(const LeanMove& move) const {
  const int mover = toMove_, other = 1 - toMove_;
  const int otherValue = rackValues_[static_cast<std::size_t>(other)];
  if (move.isPass()) return endChange(start_.doubledEndScoring, rackValues_[static_cast<std::size_t>(mover)], otherValue, false);
  return move.score + endChange(start_.doubledEndScoring, 0, otherValue, true);
}

std::uint64_t ExactSearcher::childKey(const LeanMove& move) const {
  const int mover = toMove_;
  std::uint64_t key = key_ ^ keys_.toMove(mover) ^ keys_.toMove(1 - mover) ^ keys_.passesLeft(passesLeft_);
  if (move.isPass()) return key ^ keys_.passesLeft(passesLeft_ - 1);
  const LeanRack& rack = racks_[static_cast<std::size_t>(mover)];
  const int step = board_.step(move.direction);
  int blanks = rack.blanks;
  std::array<std::uint8_t, 32> counts = rack.counts;
  for (int i = 0; i < move.tiles; ++i) {
    const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
    const bool blank = (code & kLeanBlank) != 0;
    const int letter = code & ~kLeanBlank;
    if (blank) {
      key ^= keys_.rackTile(mover, kBlankKeyCode, blanks--);
    } else {
      key ^= keys_.rackTile(mover, letter, counts[static_cast<std::size_t>(letter)]--);
    }
    key ^= keys_.tile(move.start + step * move.offset[static_cast<std::size_t>(i)], letter, blank);
  }
  std::array<int, 2> scores = scores_;
  scores[static_cast<std::size_t>(mover)] += move.score;
  return key ^ keys_.passesLeft(passesAfterPlacement(scores));
}

int ExactSearcher::passesAfterPlacement(const std::array<int, 2>& scores) const {
  int left = start_.passLimit;
  const bool scoreless = start_.scorelessWithZeroScores || scores[0] != 0 || scores[1] != 0;
  if (scoreless) left = std::min(left, start_.scorelessLimit);
  return std::clamp(left, 1, ExactKeys::kPassStates - 1);
}

void ExactSearcher::play(int ply, const LeanMove& move) {
  PlyState& state = plyState(ply);
  state.passesBefore = passesLeft_;
  state.keyBefore = key_;
  const int mover = toMove_;
  if (!move.isPass()) {
    board_.place(move, state.undo);
    LeanRack& rack = racks_[static_cast<std::size_t>(mover)];
    const int step = board_.step(move.direction);
    int value = 0;
    for (int i = 0; i < move.tiles; ++i) {
      const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
      const bool blank = (code & kLeanBlank) != 0;
      const int letter = code & ~kLeanBlank;
      if (blank) {
        key_ ^= keys_.rackTile(mover, kBlankKeyCode, rack.blanks);
        --rack.blanks;
        value += start_.tileValues[static_cast<std::size_t>(start_.blankCode & 31)];
      } else {
        auto& count = rack.counts[static_cast<std::size_t>(letter)];
        key_ ^= keys_.rackTile(mover, letter, count);
        --count;
        value += start_.tileValues[static_cast<std::size_t>(letter)];
      }
      --rack.total;
      key_ ^= keys_.tile(move.start + step * move.offset[static_cast<std::size_t>(i)], letter, blank);
    }
    rackValues_[static_cast<std::size_t>(mover)] -= value;
    scores_[static_cast<std::size_t>(mover)] += move.score;
    passesLeft_ = passesAfterPlacement(scores_);
  } else {
    --passesLeft_;
  }
  key_ ^= keys_.passesLeft(state.passesBefore) ^ keys_.passesLeft(passesLeft_);
  key_ ^= keys_.toMove(mover) ^ keys_.toMove(1 - mover);
  toMove_ = 1 - mover;
}

void ExactSearcher::takeBack(int ply, const LeanMove& move) {
  PlyState& state = plyState(ply);
  toMove_ = 1 - toMove_;
  const int mover = toMove_;
  if (!move.isPass()) {
    board_.takeBack(state.undo);
    LeanRack& rack = racks_[static_cast<std::size_t>(mover)];
    int value = 0;
    for (int i = 0; i < move.tiles; ++i) {
      const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
      if ((code & kLeanBlank) != 0) {
        ++rack.blanks;
        value += start_.tileValues[static_cast<std::size_t>(start_.blankCode & 31)];
      } else {
        ++rack.counts[static_cast<std::size_t>(code)];
        value += start_.tileValues[static_cast<std::size_t>(code)];
      }
      ++rack.total;
    }
    rackValues_[static_cast<std::size_t>(mover)] += value;
    scores_[static_cast<std::size_t>(mover)] -= move.score;
  }
  passesLeft_ = state.passesBefore;
  key_ = state.keyBefore;
}

const LeanMove* ExactSearcher::rememberedMove() const {
  const BestMoveSlot& slot = bestMoves_[key_ & (kBestMoveSlots - 1)];
  if (slot.key != key_ || slot.move.isPass()) return nullptr;
  // The key names this position; still, nothing is played that does not
  // fit the board and the rack.
  const LeanMove& move = slot.move;
  const LeanRack& rack = racks_[static_cast<std::size_t>(toMove_)];
  std::array<int, 32> need{};
  int blanks = 0;
  const int step = board_.step(move.direction);
  for (int i = 0; i < move.tiles; ++i) {
    const std::uint8_t code = move.code[static_cast<std::size_t>(i)];
    if ((code & kLeanBlank) != 0) {
      ++blanks;
    } else if (++need[code] > rack.counts[code]) {
      return nullptr;
    }
    const int at = move.start + step * move.offset[static_cast<std::size_t>(i)];
    if (at >= board_.width() * board_.height() || !board_.square(at).empty()) return nullptr;
  }
  return blanks <= rack.blanks ? &move : nullptr;
}

void ExactSearcher::remember(const LeanMove& move) {
  BestMoveSlot& slot = bestMoves_[key_ & (kBestMoveSlots - 1)];
  slot.key = key_;
  slot.move = move;
}

int ExactSearcher::valueOf(int ply, const LeanMove& move, int depth, int alpha, int beta, bool& final, std::uint64_t key) {
  if (endsGame(move)) {
    final = true;
    return endValue(move);
  }
  if (depth <= 0) {
    // At the horizon the child is only looked up in the table: its key
    // is enough, the move need not be played.
    ++nodes_;
    if ((nodes_ & kPollMask) == 0) pollStop();
    final = false;
    if (stopped_) return move.score;
    ExactEntry entry;
    if (table_.probe(key != 0 ? key : childKey(move), entry) && settles(entry, move.score - beta, move.score - alpha)) {
      final = entry.final;
      return move.score - entry.value;
    }
    return move.score;
  }
  play(ply, move);
  bool childFinal = false;
  const int child = search(ply + 1, depth, move.score - beta, move.score - alpha, childFinal);
  takeBack(ply, move);
  final = childFinal;
  return move.score - child;
}

namespace {

// Whether two plays lay the same tiles on the same squares.
bool samePlay(const LeanMove& a, const LeanMove& b) {
  if (a.start != b.start || a.direction != b.direction || a.tiles != b.tiles) return false;
  for (int i = 0; i < a.tiles; ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (a.offset[k] != b.offset[k] || a.code[k] != b.code[k]) return false;
  }
  return true;
}

}  // namespace

void ExactSearcher::addHistory(const LeanMove& move, int depth) {
  if (move.isPass()) return;
  std::uint32_t& count = history_[moveIdentity(move) & (kHistorySlots - 1)];
  count = std::min<std::uint32_t>(count + static_cast<std::uint32_t>(depth * depth), 1u << 30);
}

void ExactSearcher::addKiller(PlyState& state, const LeanMove& move) {
  if (move.isPass() || start_.barred != nullptr) return;
  for (int i = 0; i < move.tiles; ++i) {
    if ((move.code[static_cast<std::size_t>(i)] & kLeanBlank) != 0) return;
  }
  if (samePlay(state.killers[0].move, move)) return;
  state.killers[1] = state.killers[0];
  Killer& killer = state.killers[0];
  killer.move = move;
  const int step = board_.step(move.direction);
  int next = 0;
  for (int k = 0; k < move.length; ++k) {
    if (next < move.tiles && move.offset[static_cast<std::size_t>(next)] == k) {
      killer.letters[static_cast<std::size_t>(k)] = static_cast<std::int8_t>(move.code[static_cast<std::size_t>(next++)]);
    } else {
      killer.letters[static_cast<std::size_t>(k)] = board_.square(move.start + step * k).tile;
    }
  }
}

int ExactSearcher::search(int ply, int depth, int alpha, int beta, bool& final) {
  ++nodes_;
  if ((nodes_ & kPollMask) == 0) pollStop();
  if (stopped_) {
    final = false;
    return 0;
  }
  ExactEntry entry;
  std::uint32_t tableMove = 0;
  if (table_.probe(key_, entry)) {
    tableMove = entry.move;
    if ((entry.final || entry.depth >= depth) && settles(entry, alpha, beta)) {
      final = entry.final;
      return entry.value;
    }
  }
  if (depth <= 0) {
    final = false;
    return 0;
  }

  PlyState& state = plyState(ply);
  const int originalAlpha = alpha;
  int best = -kInfinity;
  LeanMove bestLean;
  bool allFinal = true;
  bool first = true;
  bool cut = false;
  // Searches one move: the first with the whole window, the others with a
  // null window that asks only whether the move is better (and the whole
  // window again when it is). True when the search must end here: a cut
  // or a stop.
  const auto tryMove = [&](const LeanMove& move, std::uint64_t key = 0) {
    bool childFinal = false;
    int value;
    const int depthBelow = childDepth(move, depth);
    if (first || endsGame(move)) {
      value = valueOf(ply, move, depthBelow, alpha, beta, childFinal, key);
    } else {
      value = valueOf(ply, move, depthBelow, alpha, alpha + 1, childFinal, key);
      if (value > alpha && value < beta && !stopped_) value = valueOf(ply, move, depthBelow, alpha, beta, childFinal, key);
    }
    first = false;
    if (stopped_) return true;
    if (value > best) {
      best = value;
      bestLean = move;
    }
    if (value >= beta) {
      final = childFinal;
      cut = true;
      return true;
    }
    allFinal = allFinal && childFinal;
    if (value > alpha) alpha = value;
    return false;
  };
  const auto finish = [&]() {
    if (stopped_) {
      final = false;
      return best > -kInfinity ? best : 0;
    }
    if (cut) {
      table_.store(key_, ExactEntry{best, ExactBound::lower, final, depth, moveIdentity(bestLean)});
      remember(bestLean);
      addKiller(state, bestLean);
      addHistory(bestLean, depth);
      return best;
    }
    final = allFinal;
    table_.store(key_, ExactEntry{best, best > originalAlpha ? ExactBound::exact : ExactBound::upper, final, depth,
                                  best > -kInfinity ? moveIdentity(bestLean) : 0});
    if (best > originalAlpha) {
      remember(bestLean);
      addHistory(bestLean, depth);
    }
    return best;
  };

  // After a cut that stops at the horizon: a move that ends the game and
  // refutes as well proves the cut (and costs no search).
  const auto seekProvedCut = [&](const std::vector<LeanMove>& moves) {
    for (const LeanMove& other : moves) {
      if (!endsGame(other)) continue;
      const int value = endValue(other);
      if (value >= beta && (!final || value > best)) {
        best = value;
        bestLean = other;
        final = true;
      }
    }
    if (final) return;
    // Else a move whose position after it the table knows to the end, as
    // bad enough for the opponent.
    for (std::size_t i = 0; i < moves.size(); ++i) {
      const LeanMove& other = moves[i];
      ExactEntry entry;
      if (!table_.probe(depth == 1 ? state.childKeys[i] : childKey(other), entry) || !entry.final) continue;
      if (entry.bound != ExactBound::exact && entry.bound != ExactBound::upper) continue;
      const int value = other.score - entry.value;
      if (value >= beta) {
        best = value;
        bestLean = other;
        final = true;
        return;
      }
    }
  };

  // Before generating anything: the remembered best move, then the
  // killers that still fit.
  std::array<LeanMove, 3> tried;
  int triedCount = 0;
  if (const LeanMove* remembered = rememberedMove()) {
    tried[0] = *remembered;  // the slot may be reused below
    ++triedCount;
    if (tryMove(tried[0])) return finish();
  }
  const LeanRack& rack = racks_[static_cast<std::size_t>(toMove_)];
  board_.refresh();
  // A killer that ends the game proves its value at once: tried before
  // generating. The others wait for their turn in the order (after the
  // moves that end the game, which prove what they refute).
  for (const Killer& killer : state.killers) {
    if (killer.move.isPass() || killer.move.tiles != rack.total) continue;
    LeanMove move = killer.move;
    if (!generator_.replay(board_, rack, toMove_, move, killer.letters.data())) continue;
    if (triedCount > 0 && samePlay(move, tried[0])) continue;
    tried[static_cast<std::size_t>(triedCount++)] = move;
    if (tryMove(move)) return finish();
  }

  std::vector<LeanMove>& moves = state.moves;
  moves.clear();
  generator_.generate(board_, rack, toMove_, moves);
  moves.emplace_back();  // the pass
  // Best first: the table's move; the moves that end the game, by their
  // values; the killers; the others by how often they refuted before, then
  // by their scores; the pass last unless it ends the game.
  std::vector<std::uint64_t>& order = state.order;
  order.clear();
  constexpr int kSubBits = 29;
  constexpr int kScoreBits = 12;
  for (std::size_t i = 0; i < moves.size(); ++i) {
    LeanMove& move = moves[i];
    const std::uint32_t identity = move.isPass() ? 0 : moveIdentity(move);
    std::uint64_t tier, sub;
    if (tableMove != 0 && identity == tableMove) {
      tier = 4, sub = 0;
    } else if (endsGame(move)) {
      tier = 3, sub = static_cast<std::uint64_t>(std::clamp(endValue(move) + (1 << 20), 0, (1 << kSubBits) - 1));
    } else if (move.isPass()) {
      tier = 0, sub = 0;
    } else {
      const bool killer = samePlay(move, state.killers[0].move) || samePlay(move, state.killers[1].move);
      tier = killer ? 2 : 1;
      const std::uint64_t h = std::min<std::uint32_t>(history_[identity & (kHistorySlots - 1)], (1u << (kSubBits - kScoreBits)) - 1);
      // Among plays of equal record, the one that sheds more tile value
      // first: what is left on a rack at the end counts against it twice.
      int played = 0;
      for (int t = 0; t < move.tiles; ++t) {
        const std::uint8_t code = move.code[static_cast<std::size_t>(t)];
        played += start_.tileValues[static_cast<std::size_t>((code & kLeanBlank) != 0 ? (start_.blankCode & 31) : code)];
      }
      const int estimate = move.score + 2 * played;
      sub = (h << kScoreBits) | static_cast<std::uint64_t>(std::clamp(estimate, 0, (1 << kScoreBits) - 1));
    }
    const std::uint64_t rank = (tier << kSubBits) | sub;
    order.push_back(((std::uint64_t{0xFFFFFFFF} - rank) << 32) | i);
  }
  std::sort(order.begin(), order.end());
  // One ply from the horizon the children are only looked up in the
  // table: their entries are fetched a few moves ahead.
  std::vector<std::uint64_t>& keys = state.childKeys;
  const bool horizon = depth == 1;
  constexpr std::size_t kAhead = 8;
  if (horizon) {
    keys.resize(moves.size());
    for (std::size_t i = 0; i < moves.size(); ++i) keys[i] = childKey(moves[i]);
    for (std::size_t j = 0; j < kAhead && j < order.size(); ++j) table_.prefetch(keys[order[j] & 0xFFFFFFFFu]);
  }

  for (std::size_t j = 0; j < order.size(); ++j) {
    const std::size_t index = order[j] & 0xFFFFFFFFu;
    if (horizon && j + kAhead < order.size()) table_.prefetch(keys[order[j + kAhead] & 0xFFFFFFFFu]);
    const LeanMove& move = moves[index];
    bool skip = false;
    for (int t = 0; t < triedCount && !skip; ++t) skip = samePlay(move, tried[static_cast<std::size_t>(t)]) && !move.isPass();
    if (skip) continue;
    if (tryMove(move, horizon ? keys[index] : 0)) {
      // A refutation that stops at the horizon: one that ends the game
      // proves the same cut (and costs no search).
      if (cut && !final) seekProvedCut(moves);
      return finish();
    }
  }
  return finish();
}

}  // namespace pexil
