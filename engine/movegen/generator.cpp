// The placement generator: from every first square, a walk of the word
// graph along the line, taking board tiles where the line is occupied and
// rack tiles where it is empty.
#include "movegen/generator.hpp"

#include <algorithm>
#include <cstring>

#include "movegen/adjustments.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/recording.hpp"
#include "rules/game_rules.hpp"
#include "rules/scoring.hpp"
#include "text/messages.hpp"

namespace pexil {
namespace {

// The trie and the compact graph seen through one interface.
struct TrieWalk {
  static constexpr bool isMain = true;
  const Lexicon& lexicon;
  std::int32_t child(std::int32_t node, int code) const { return lexicon.child(node, code); }
  EntryIndex word(std::int32_t node) const { return lexicon.nodeWord(node); }
  std::uint32_t mask(std::int32_t node) const { return lexicon.childMask(node); }
  int onlyChild(std::int32_t node) const { return lexicon.onlyChild(node); }
};

struct GraphWalk {
  static constexpr bool isMain = false;
  const WordGraph& graph;
  std::int32_t child(std::int32_t node, int code) const { return graph.child(node, code); }
  EntryIndex word(std::int32_t node) const { return graph.node(node).word; }
  std::uint32_t mask(std::int32_t node) const { return graph.node(node).edgeMask; }
  int onlyChild(std::int32_t) const { return -1; }
};

// Placement generation for one game position: the rack, the per-square
// scoring data and the options are set up once, then every first square
// is walked.
class PlacementGenerator {
 public:
  PlacementGenerator(Game& game, bool bestOnly)
      : game_(game), board_(game.board), lexicon_(*game.lexicon), bestOnly_(bestOnly) {
    const GameRules& r = rules();
    mover_ = game.toMove;
    const Rack& rack = game.racks[static_cast<std::size_t>(mover_)];
    blankCode_ = r.blankCode;
    for (int code = 0; code < kCodeSlots; ++code) {
      counts_[code] = code == blankCode_ ? 0 : std::max(rack[code], 0);
      if (counts_[code] > 0) rackMask_ |= 1u << code;
      upper_[code] = code == blankCode_ ? '?' : charOfUpper(code);
    }
    blanks_ = std::max(rack[blankCode_], 0);
    startMask_ = rackMask_;
    rackTiles_ = rack.total();
    const int blanks = blanks_;
    template_.strategy = game.strategies[static_cast<std::size_t>(mover_)];
    noLeaveValues_ = game.evaluation.noLeaveValues;
    phonyPlay_ = game.phonyPlay;
    minPhonyLength_ = game.minPhonyLength;
    barred_ = game.restrictedPlayer == mover_ && !game.barredWords.empty();
    letterMask_ = r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u;
    rackSizeRule_ = r.rackSize;
    bingoBonus_ = r.bingoBonus;
    const WordGraph* compact = lexicon_.graph();
    compact_ = blanks == 1 && compact != nullptr && game.searchMode != SearchMode::none ? compact : nullptr;

    // Letter values, and each square's multipliers and cross-word sums.
    for (int code = 0; code < kCodeSlots; ++code) value_[code] = r.letterValue[static_cast<std::size_t>(code)];
    const GameType* type = activeGameType();
    blankValue_ = type ? type->tileValue[static_cast<std::size_t>(blankCode_)] : 0;
    const int size = board_.width * board_.height;
    squareData_.resize(static_cast<std::size_t>(size));
    for (int row = 0; row < board_.height; ++row) {
      for (int column = 0; column < board_.width; ++column) {
        const Square& s = *squareAt(board_, column, row);
        SquareData& d = squareData_[static_cast<std::size_t>(column + row * board_.width)];
        const int type = s.type;
        d.letterMultiplier = 1;
        d.wordMultiplier = 1;
        if (type != 0 && type != 1 && type != square::empty) {
          if (type >= -9 && type <= 19) {
            d.letterMultiplier = type;
          } else {
            d.wordMultiplier = type / 10;
          }
        }
        d.tileValue = s.empty() ? 0 : letterValue(s.letter, s.isBlank != 0);
        for (int dir = 0; dir < 2; ++dir) d.crossSum[dir] = crossSum(column, row, dir);
      }
    }
  }

  void fromSquare(int column, int row, int direction) {
    column_ = column;
    row_ = row;
    direction_ = direction;
    if (rackTiles_ <= 0 || !computeLengths()) return;
    step_ = direction == kAcross ? 1 : board_.width;
    start_ = column + row * board_.width;
    lineLetters_ = 0;
    for (int k = 0; k < maxLen_; ++k) {
      const Square& s = board_.squares[static_cast<std::size_t>(start_ + k * step_)];
      if (!s.empty()) {
        const int code = codeOfLetter(s.letter);
        if (code >= 0 && code < 32) lineLetters_ |= 1u << code;
      }
    }
    move_ = template_;
    move_.column = column;
    move_.row = row;
    move_.direction = direction;
    blankCount_ = 0;
    const Score zero;
    if (compact_) {
      extend(GraphWalk{*compact_}, 0, WordGraph::root, 0, false, zero);
    } else {
      extend(TrieWalk{lexicon_}, 0, Lexicon::trieRoot, 0, false, zero);
    }
  }

 private:
  static constexpr int kMaxRack = 32;
  // Past these magnitudes the running score is left to the board scorer,
  // which clamps extreme multipliers of custom game types.
  static constexpr long long kExactLimit = 1LL << 40;

  struct SquareData {
    int letterMultiplier;
    int wordMultiplier;
    int tileValue;    // of the tile on the square
    int crossSum[2];  // plain values of the cross-word's tiles, -1 without one
  };

  // The running score of a partial word.
  struct Score {
    long long mainSum = 0;
    long long wordFactor = 1;
    long long crossTotal = 0;
    bool exact = true;
  };

  int crossSum(int column, int row, int direction) const {
    const int dc = direction == kAcross ? 0 : 1, dr = 1 - dc;  // the cross-word's direction
    int sum = 0;
    bool any = false;
    for (int sign = -1; sign <= 1; sign += 2) {
      for (int k = 1;; ++k) {
        const Square* t = squareAt(board_, column + sign * dc * k, row + sign * dr * k);
        if (!t || t->empty()) break;
        sum += letterValue(t->letter, t->isBlank != 0);
        any = true;
      }
    }
    return any ? sum : -1;
  }

  // The legal lengths from the first square, in one walk along the line.
  bool computeLengths() {
    const Board& board = board_;
    const int dc = direction_ == kAcross ? 1 : 0, dr = 1 - dc;
    const Square* before = squareAt(board, column_ - dc, row_ - dr);
    if (before && !before->empty()) return false;
    maxLen_ = direction_ == kAcross ? board.width - column_ : board.height - row_;
    legal_ = 0;
    minLen_ = 0;
    maxLegal_ = 0;
    bool touches = false;
    int empties = 0;
    for (int k = 0; k < maxLen_ && k < kMaxWordLength; ++k) {
      const Square* s = squareAt(board, column_ + dc * k, row_ + dr * k);
      if (!s->usable) break;
      touches = touches || !s->empty() || (s->hasCrossNeighbours[direction_] && !s->noLetterFits[direction_]);
      // Every empty square up to the first touching one takes a rack tile.
      if (s->empty()) ++empties;
      if (!touches && empties > rackTiles_) break;
      const int n = k + 1;
      const Square* after = squareAt(board, column_ + dc * n, row_ + dr * n);
      if (n >= 2 && touches && (!after || after->empty())) {
        legal_ |= std::uint64_t{1} << n;
        if (minLen_ == 0) minLen_ = n;
        maxLegal_ = n;
      }
    }
    return legal_ != 0;
  }

  Score withBoardTile(Score score, const SquareData& d) const {
    score.mainSum += d.tileValue;
    return score;
  }

  Score withNewTile(Score score, const SquareData& d, int value) const {
    const long long placed = static_cast<long long>(value) * d.letterMultiplier;
    score.mainSum += placed;
    score.wordFactor *= d.wordMultiplier;
    if (d.crossSum[direction_] >= 0) score.crossTotal += (d.crossSum[direction_] + placed) * d.wordMultiplier;
    if (score.wordFactor > kExactLimit || score.wordFactor < -kExactLimit || score.mainSum > kExactLimit ||
        score.mainSum < -kExactLimit || score.crossTotal > kExactLimit || score.crossTotal < -kExactLimit) {
      score.exact = false;
      score.wordFactor = 1;
    }
    return score;
  }

  // Whether stepping onto the square at depth k with the graph at `node`
  // can lead anywhere: record a word there, or place or pass a tile on it.
  // Checked before the step so that dead ends cost no call.
  template <class Walk>
  bool promising(const Walk& walk, int k, std::int32_t node) const {
    if (k >= minLen_ && ((legal_ >> k) & 1) && walk.word(node) != kNoEntry) return true;
    if (k >= maxLegal_) return false;
    const Square& s = board_.squares[static_cast<std::size_t>(start_ + k * step_)];
    if (!s.usable) return false;
    const std::uint32_t children = walk.mask(node);
    if (!s.empty()) return ((children >> codeOfLetter(s.letter)) & 1) != 0;
    const std::uint32_t allowed = s.hasCrossNeighbours[direction_] ? s.crossSet[direction_] : letterMask_;
    const std::uint32_t tiles = blanks_ > 0 ? letterMask_ : rackMask_;
    return (children & allowed & tiles) != 0;
  }

  // One step of the walk: the square at depth k of the line, reached with
  // the graph at `node` after `tiles` rack tiles. Rack letters are tried in
  // alphabet order, each letter once per square, the blanks last.
  template <class Walk>
  void extend(const Walk& walk, int k, std::int32_t node, int tiles, bool phonyCross, const Score& score) {
    // Record the word ending here.
    if (k >= minLen_ && ((legal_ >> k) & 1) && tiles != 0) {
      const EntryIndex w = walk.word(node);
      if (w != kNoEntry) record(w, phonyCross, score, tiles);
    }
    if (k >= maxLegal_) return;
    const int index = start_ + k * step_;
    const Square& s = board_.squares[static_cast<std::size_t>(index)];
    if (!s.usable) return;
    const std::uint32_t children = walk.mask(node);
    if (Walk::isMain && children == 0) return;
    const SquareData& d = squareData_[static_cast<std::size_t>(index)];

    if (!s.empty()) {
      const std::int32_t next = walk.child(node, codeOfLetter(s.letter));
      if (next >= 0) extend(walk, k + 1, next, tiles, phonyCross, withBoardTile(score, d));
      return;
    }

    if constexpr (Walk::isMain) {
      // Single-child pruning: nothing on the rack can continue the word.
      const int only = walk.onlyChild(node);
      if (only >= 0 && counts_[only] == 0 && blanks_ == 0 && !((lineLetters_ >> only) & 1)) return;
    }

    const bool anchor = s.hasCrossNeighbours[direction_] != 0;
    const std::uint32_t allowed = (anchor ? s.crossSet[direction_] : letterMask_) & children;
    const std::uint32_t phonies = s.phonySet[direction_];
    for (std::uint32_t letters = allowed & rackMask_; letters; letters &= letters - 1) {
      const int letter = __builtin_ctz(letters);
      const std::int32_t child = walk.child(node, letter);
      if (child < 0) continue;
      const bool flag = phonyCross || (phonyPlay_ && anchor && ((phonies >> letter) & 1));
      if (--counts_[letter] == 0) rackMask_ &= ~(1u << letter);
      if (promising(walk, k + 1, child)) extend(walk, k + 1, child, tiles + 1, flag, withNewTile(score, d, value_[letter]));
      if (counts_[letter]++ == 0) rackMask_ |= 1u << letter;
    }
    if (blanks_ > 0 && allowed) {
      const Score next = withNewTile(score, d, blankValue_);
      --blanks_;
      for (std::uint32_t letters = allowed; letters; letters &= letters - 1) {
        const int letter = __builtin_ctz(letters);
        const std::int32_t child = walk.child(node, letter);
        if (child < 0) continue;
        const bool flag = phonyCross || (phonyPlay_ && anchor && ((phonies >> letter) & 1));
        if (blankCount_ < kBlankSlots) move_.blankPositions[static_cast<std::size_t>(blankCount_)] = k;
        ++blankCount_;
        if (promising(walk, k + 1, child)) extend(walk, k + 1, child, tiles + 1, flag, next);
        --blankCount_;
        if (blankCount_ < kBlankSlots) move_.blankPositions[static_cast<std::size_t>(blankCount_)] = -1;
      }
      ++blanks_;
    }
  }

  __attribute__((noinline)) void record(EntryIndex w, bool phonyCross, const Score& score, int tiles) {
    const WordEntry& entry = lexicon_.entry(w);
    if (entry.wordClass == kClassPhony && !(phonyPlay_ && entry.length >= minPhonyLength_)) return;
    const char* text = lexicon_.text(w);
    if (barred_ && isBarredFor(game_, mover_, text)) return;
    Move move = move_;
    move.word = text;
    move.wordClass = entry.wordClass;
    move.phonyCross = phonyCross;
    if (!score.exact) {
      RecordPlacement(game_, move, bestOnly_);
      return;
    }
    // The leave is what the walk has not used.
    std::size_t n = 0;
    LetterCounts leave;
    for (std::uint32_t letters = startMask_; letters; letters &= letters - 1) {
      const int code = __builtin_ctz(letters);
      const int left = counts_[code];
      leave[code] = left;
      leave[kTotalSlot] += left;
      for (int i = 0; i < left && n + 1 < move.leave.size(); ++i) move.leave[n++] = upper_[code];
    }
    if (blanks_ > 0) {
      // The blank comes last in alphabet order.
      leave[blankCode_] = blanks_;
      leave[kTotalSlot] += blanks_;
      for (int i = 0; i < blanks_ && n + 1 < move.leave.size(); ++i) move.leave[n++] = '?';
    }
    move.leave[n] = '\0';
    const long long points = score.mainSum * score.wordFactor + score.crossTotal;
    move.score = static_cast<int>(points) + (tiles == rackSizeRule_ ? bingoBonus_ : 0);

    // The board adjustments need the tiles the move places; the board holds
    // none of them.
    PlacementShape shape;
    shape.word = text;
    shape.entry = w;
    shape.length = entry.length;
    shape.column = column_;
    shape.row = row_;
    shape.direction = direction_;
    for (int i = 0; i < entry.length; ++i) {
      if (board_.squares[static_cast<std::size_t>(start_ + i * step_)].empty()) shape.placed |= 1u << i;
    }
    for (int b = 0; b < blankCount_ && b < kBlankSlots; ++b) shape.blanks |= 1u << move_.blankPositions[static_cast<std::size_t>(b)];
    const int adjustments = placementAdjustments(game_, shape, leave, move.score);
    move.bonus += adjustments;
    const int leaveValue = noLeaveValues_ ? 0 : LeaveValue(move.leaveView());
    finishPlacement(game_, move, tiles, leaveValue + adjustments, bestOnly_);
  }

  Game& game_;
  const Board& board_;
  const Lexicon& lexicon_;
  bool bestOnly_;
  int column_ = 0, row_ = 0, direction_ = 0;
  int step_ = 1, start_ = 0;
  std::uint64_t legal_ = 0;
  int minLen_ = 0, maxLen_ = 0, maxLegal_ = 0;
  std::uint32_t lineLetters_ = 0;
  int counts_[kCodeSlots] = {};  // rack letters not yet used, blanks apart
  std::uint32_t rackMask_ = 0;    // letters with a count above 0
  std::uint32_t startMask_ = 0;   // the rack's letters before the walk
  int blanks_ = 0;
  int rackTiles_ = 0;
  char upper_[kCodeSlots] = {};
  int blankCode_ = 26;
  int mover_ = 0;
  bool noLeaveValues_ = false;
  Move template_;
  Move move_;
  int blankCount_ = 0;
  bool phonyPlay_ = false;
  int minPhonyLength_ = 5;
  bool barred_ = false;
  std::uint32_t letterMask_ = 0;
  int rackSizeRule_ = 7;
  int bingoBonus_ = 50;
  const WordGraph* compact_ = nullptr;
  int value_[kCodeSlots] = {};
  int blankValue_ = 0;
  std::vector<SquareData> squareData_;
};

}  // namespace

std::vector<Move>& activeList(Game& game) {
  if (game.altListAActive) return game.altListA;
  if (game.searchMode == SearchMode::alternativeB) return game.altListB;
  return game.moves;
}

void GenerateFromSquare(Game& game, int column, int row, int direction, bool bestOnly) {
  if (!game.lexicon) return;
  const bool wasGenerating = game.generating;
  game.generating = true;
  PlacementGenerator(game, bestOnly).fromSquare(column, row, direction);
  game.generating = wasGenerating;
}

void GenerateFromEverySquare(Game& game, bool bestOnly, bool onlyOpening, int opening) {
  if (!game.lexicon) return;
  const bool wasGenerating = game.generating;
  game.generating = true;
  PlacementGenerator generator(game, bestOnly);
  for (int column = 0; column < game.board.width; ++column) {
    for (int row = 0; row < game.board.height; ++row) {
      generator.fromSquare(column, row, opening);
      if (!onlyOpening) generator.fromSquare(column, row, 1 - opening);
    }
  }
  game.generating = wasGenerating;
}

void RecordPlacement(Game& game, Move move, bool bestOnly) { recordPlacementWith(game, move, bestOnly, std::nullopt); }

void recordScoredPlacement(Game& game, Move& move, bool bestOnly, int score) {
  recordPlacementWith(game, move, bestOnly, score);
}

void recordPlacementWith(Game& game, Move& move, bool bestOnly, std::optional<int> knownScore) {
  const Evaluation evaluation = EvaluatePlacement(game, move, false);
  const int tiles = evaluation.tilesUsed;
  const int length = static_cast<int>(std::strlen(move.word));
  move.score = knownScore ? *knownScore
                          : playScore(game.board, move.direction, move.column, move.row, length) + bingoBonusFor(tiles);
  liftTentative(game.board, std::string_view(move.word, static_cast<std::size_t>(length)), move.column, move.row,
                move.direction);
  finishPlacement(game, move, tiles, evaluation.adjustment, bestOnly);
}

void finishPlacement(Game& game, Move& move, int tiles, int adjustment, bool bestOnly) {
  // Going out with the bag empty, and still ahead afterwards.
  const int mover = game.toMove;
  const Rack& rack = game.racks[static_cast<std::size_t>(mover)];
  if (game.bag.total() == 0 && tiles == rack.total()) {
    int opponentTiles = 0, bestOpponent = 0;
    bool first = true;
    for (int p = 0; p < game.playerCount; ++p) {
      if (p == mover) continue;
      opponentTiles += rackValue(game.racks[static_cast<std::size_t>(p)]);
      const int score = game.scores[static_cast<std::size_t>(p)];
      if (first || score > bestOpponent) bestOpponent = score;
      first = false;
    }
    const int margin = move.score + 2 * opponentTiles + (game.scores[static_cast<std::size_t>(mover)] - bestOpponent);
    if (margin >= 1) {
      move.winsByGoingOut = 1;
      adjustment += 100;
      move.bonus += 100;
    }
  }
  move.equity = adjustment + 10 * move.score;
  game.highestEquity = std::max(game.highestEquity, move.equity);

  if (!bestOnly) {
    if (tiles > 0) activeList(game).push_back(move);
    return;
  }
  const bool clean = !move.phonyCross && move.wordClass != kClassPhony && !isBarredFor(game, mover, move.word);
  Move& best = game.bestMove;
  if (game.searchMode == SearchMode::simulationReply && best.word == label::pass && best.equity < 9000 && clean) {
    best = move;
  }
  if (!game.rankByScore && game.unseenPoolEvaluation && clean) game.candidates.push_back(move);
  if (tiles > 0 && clean) {
    bool replace;
    if (move.winsByGoingOut != best.winsByGoingOut) {
      replace = move.winsByGoingOut != 0;
    } else if (move.winsByGoingOut || game.highestScoreBest) {
      replace = move.score > best.score;
    } else {
      replace = move.equity > best.equity;
    }
    if (replace) best = move;
  }
}

}  // namespace pexil
