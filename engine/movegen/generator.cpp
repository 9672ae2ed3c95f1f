// The placement generator: from every first square, a walk of the word
// graph along the line, taking board tiles where the line is occupied and
// rack tiles where it is empty.
#include "movegen/generator.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>

#include "movegen/adjustments.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/recording.hpp"
#include "rules/game_rules.hpp"
#include "rules/scoring.hpp"
#include "tables/rack_tables.hpp"
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
// Whether a play worth at most `bound` (points with byScore, else equity)
// from the first square of generation order `order` cannot replace the
// best move found so far.
bool cannotBeatBest(const Game& game, bool byScore, long long bound, int order) {
  const Move& best = game.bestMove;
  const Game::BestOnlyTrack& track = game.bestOnlyTrack;
  // While a simulated reply still holds the pass, any clean play takes its
  // place.
  if (!track.listRule && game.searchMode == SearchMode::simulationReply && best.word == label::pass &&
      best.equity < 9000) {
    return false;
  }
  const long long value = byScore ? best.score : best.equity;
  // From the best move's own square an equal play can still come earlier
  // in the walk's order when the square's plays are not found in that order.
  const bool later = order > track.bestOrder || (order == track.bestOrder && !track.walkOrderTies);
  return bound < value || (bound == value && later);
}

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
    const int freeCap = highestTileIn(letterMask_);
    long long largestLetterFactor = 1, largestWordFactor = 1, largestTile = 0;
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
        // Only a square with tiles beside it across the line has a cross-word.
        for (int dir = 0; dir < 2; ++dir) {
          d.crossSum[dir] = s.hasCrossNeighbours[dir] ? crossSum(column, row, dir) : -1;
          d.cap[dir] = !s.empty() ? -1 : s.hasCrossNeighbours[dir] ? highestTileIn(s.crossSet[dir]) : freeCap;
        }
        largestLetterFactor = std::max(largestLetterFactor, std::abs(static_cast<long long>(d.letterMultiplier)));
        largestWordFactor = std::max(largestWordFactor, std::abs(static_cast<long long>(d.wordMultiplier)));
        largestTile = std::max(largestTile, std::abs(static_cast<long long>(d.tileValue)));
      }
    }
    for (int dir = 0; dir < 2; ++dir) {
      const int lines = dir == kAcross ? board_.height : board_.width;
      const int length = dir == kAcross ? board_.width : board_.height;
      for (int line = 0; line < lines; ++line) {
        std::uint8_t next = kFar;
        for (int k = length - 1; k >= 0; --k) {
          const int index = dir == kAcross ? k + line * board_.width : line + k * board_.width;
          const Square& s = board_.squares[static_cast<std::size_t>(index)];
          const bool touching = !s.empty() || (s.hasCrossNeighbours[dir] && !s.noLetterFits[dir]);
          next = !s.usable ? kFar : touching ? 0 : next == kFar ? kFar : static_cast<std::uint8_t>(std::min(next + 1, 254));
          squareData_[static_cast<std::size_t>(index)].reach[dir] = next;
        }
      }
    }
    // Whether no word can take the running score past the exact range: a
    // word lies on one line, so its word factor is at most the product of
    // the largest line's word multipliers, and it spans at most the board.
    for (int code = 0; code < kCodeSlots; ++code) largestTile = std::max(largestTile, std::abs(static_cast<long long>(value_[code])));
    largestTile = std::max(largestTile, std::abs(static_cast<long long>(blankValue_)));
    long long wordFactor = 1;
    for (int direction = 0; direction < 2; ++direction) {
      const int lines = direction == kAcross ? board_.height : board_.width;
      const int length = direction == kAcross ? board_.width : board_.height;
      for (int line = 0; line < lines && wordFactor <= kExactLimit; ++line) {
        long long product = 1;
        for (int k = 0; k < length && product <= kExactLimit; ++k) {
          const int index = direction == kAcross ? k + line * board_.width : line + k * board_.width;
          product *= std::max(1LL, std::abs(static_cast<long long>(squareData_[static_cast<std::size_t>(index)].wordMultiplier)));
        }
        wordFactor = std::max(wordFactor, product);
      }
    }
    const long long span = std::min(kMaxWordLength, std::max(board_.width, board_.height));
    const long long letters = span * largestTile * largestLetterFactor;
    alwaysExact_ = wordFactor <= kExactLimit && letters <= kExactLimit / std::max(1LL, wordFactor) &&
                   2 * letters * largestWordFactor * span <= kExactLimit;
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

  // Readies upperBound: the rack's tile values best first and the best
  // leave value for each number of tiles kept. byScore bounds points
  // instead of equity; adjustmentLimit is the most the board adjustments
  // can add (tenths).
  void prepareBounds(bool byScore, int adjustmentLimit) {
    bounded_ = true;
    byScore_ = byScore;
    adjustmentLimit_ = adjustmentLimit;
    std::fill(std::begin(spellAnswers_), std::end(spellAnswers_), SpellAnswer{});
    multisets_ = &lexicon_.letterMultisets();
    distinctCount_ = 0;
    for (std::uint32_t letters = startMask_; letters; letters &= letters - 1) {
      distinct_[distinctCount_++] = __builtin_ctz(letters);
    }
    int tiles = blanks_;
    for (int i = distinctCount_ - 1; i >= 0; --i) {
      tiles += counts_[distinct_[i]];
      tilesFrom_[i] = tiles;
    }
    valueCount_ = 0;
    boundsUsable_ = blankValue_ >= 0;
    for (std::uint32_t letters = startMask_; letters; letters &= letters - 1) {
      const int code = __builtin_ctz(letters);
      if (value_[code] < 0) boundsUsable_ = false;
      for (int i = 0; i < counts_[code] && valueCount_ < kMaxRack; ++i) tileValues_[valueCount_++] = value_[code];
    }
    for (int i = 0; i < blanks_ && valueCount_ < kMaxRack; ++i) tileValues_[valueCount_++] = blankValue_;
    std::sort(tileValues_, tileValues_ + valueCount_, std::greater<int>());
    std::fill(std::begin(bestLeave_), std::end(bestLeave_), noLeaveValues_ || byScore ? 0 : std::numeric_limits<int>::min());
    subsetCount_ = 0;
    const bool leaves = !noLeaveValues_ && !byScore;
    if (!byShape()) {
      if (leaves) {
        char leave[kLeaveSize];
        bestLeaves(0, leave, 0);
      }
    } else {
      thread_local std::vector<MapHit> hits;
      hits.clear();
      hits_ = &hits;
      std::uint8_t taken[kMaxShapes] = {};
      rackSubsets(0, taken, 0, 0);
      // Each subset's leave value, and the best of each leave size.
      if (leaves) {
        LeaveText texts[std::size(subsets_)];
        std::string_view views[std::size(subsets_)];
        int values[std::size(subsets_)];
        for (int i = 0; i < subsetCount_; ++i) {
          texts[i] = leaveText(subsets_[i]);
          views[i] = texts[i].view();
        }
        const auto count = static_cast<std::size_t>(subsetCount_);
        leaveValuesOrZero(std::span(views, count), std::span(values, count));
        for (int i = 0; i < subsetCount_; ++i) subsets_[i].leaveValue = values[i];
      } else {
        for (int i = 0; i < subsetCount_; ++i) subsets_[i].leaveValue = 0;
      }
      for (int i = 0; i < subsetCount_; ++i) {
        const RackSubset& subset = subsets_[i];
        int& best = bestLeave_[rackTiles_ - subset.size];
        best = std::max(best, subset.leaveValue);
      }
      // By size, and within a size best leave first (see bestSpellingLeave),
      // ties in the order made; std::sort with that order needs no buffer.
      for (int i = 0; i < subsetCount_; ++i) subsets_[i].order = i;
      std::sort(subsets_, subsets_ + subsetCount_, [](const RackSubset& a, const RackSubset& b) {
        if (a.size != b.size) return a.size < b.size;
        return a.leaveValue != b.leaveValue ? a.leaveValue > b.leaveValue : a.order < b.order;
      });
      for (int t = 0, i = 0; t <= kMaxShapes; ++t) {
        while (i < subsetCount_ && subsets_[i].size < t) ++i;
        subsetsOfSize_[t] = i;
      }
    }
  }

  // A shape's bound with the best leave of the subsets that spell a word
  // in it instead of the best of all subsets of its size; kNoPlacement when
  // none does.
  long long refinedShape(int t, std::uint64_t spanLetters, long long value) {
    const int leave = bestSpellingLeave(t, spanLetters);
    if (leave == kNoSubset) return kNoPlacement;
    if (noLeaveValues_ || byScore_) return value;
    return value - bestLeave_[rackTiles_ - t] + leave;
  }

  // The best leave value of the subsets of t tiles that spell some word
  // with a span's board letters, kNoSubset when none does. The subsets of
  // a size are kept best leave first, so the first that spells something
  // answers: a look-up per subset tried, and no word read.
  static constexpr int kNoSubset = std::numeric_limits<int>::min();
  int bestSpellingLeave(int t, std::uint64_t spanLetters) {
    const std::uint64_t key = spanLetters * kMaxShapes + static_cast<std::uint64_t>(t);
    const ShapeWords& memo = shapeMemo_[(key ^ (key >> 29)) % kShapeMemo];
    if (memo.known && memo.key == key) return memo.count == 0 ? kNoSubset : memo.bestLeave;
    SpellingLeave& answer = spellingLeaves_[(key ^ (key >> 29)) % kShapeMemo];
    if (answer.known && answer.key == key) return answer.leave;
    answer = SpellingLeave{key, true, kNoSubset};
    // The keys the filter lets through, a batch at a time, their slots
    // fetched together before any is read.
    const LetterMultisets& map = *multisets_;
    constexpr int kBatch = 48;
    std::uint64_t keys[kBatch];
    int owners[kBatch];
    int n = 0;
    const auto checkBatch = [&] {
      for (int k = 0; k < n; ++k) {
        if (map.slotOf(keys[k]) != LetterMultisets::kNoSlot) {
          answer.leave = subsets_[owners[k]].leaveValue;
          return true;
        }
      }
      n = 0;
      return false;
    };
    const auto add = [&](std::uint64_t letters, int subset) {
      if (!map.prefetchSlot(letters)) return false;
      keys[n] = letters;
      owners[n++] = subset;
      return n == kBatch && checkBatch();
    };
    for (int i = subsetsOfSize_[t]; i < subsetsOfSize_[t + 1]; ++i) {
      const std::uint64_t letters = subsets_[i].key + spanLetters;
      if (!subsets_[i].blank) {
        if (add(letters, i)) return answer.leave;
        continue;
      }
      for (std::uint32_t codes = letterMask_; codes; codes &= codes - 1) {
        if (add(letters + LetterMultisets::letterKey(__builtin_ctz(codes)), i)) return answer.leave;
      }
    }
    checkBatch();
    return answer.leave;
  }

  // Whether the plays of a first square can be found shape by shape through
  // the word map: a bounded rack of at most seven tiles with at most one
  // blank (two would multiply the subsets by the alphabet's square).
  bool byShape() const { return bounded_ && boundsUsable_ && blanks_ <= 1 && rackTiles_ < kMaxShapes; }

  // The plays of exactly t rack tiles from the first square, whose word of
  // `length` squares covers the first t empty squares of the line and the
  // board tiles up to the next gap. Each subset of t rack tiles, with the
  // span's board letters (the sum of their letter keys), names the words
  // the word map holds for those letters; a word is a play when its board
  // letters stand where the board's are and each rack letter fits its
  // square's cross set. The walk finds the same plays; ties between plays
  // of one square go by the walk's order (see walkOrderBefore).
  void fromShape(int column, int row, int direction, int t, std::uint64_t spanLetters, int length) {
    column_ = column;
    row_ = row;
    direction_ = direction;
    if (t <= 0 || t > rackTiles_) return;
    step_ = direction == kAcross ? 1 : board_.width;
    start_ = column + row * board_.width;
    move_ = template_;
    move_.column = column;
    move_.row = row;
    move_.direction = direction;
    blankCount_ = 0;
    const ShapeWords& found = shapeWords(t, spanLetters);
    for (int i = found.first; i < found.first + found.count; ++i) {
      const MapHit hit = (*hits_)[static_cast<std::size_t>(i)];
      placeFromMap(hit.word, subsets_[hit.subset], hit.blankLetter, length, t);
    }
  }

  static constexpr int kMaxShapes = 8;  // racks of up to 7 tiles are bounded (larger ones are scanned)

  // A play of t tiles exists only when some t tiles of the rack and the
  // board letters in its span spell a word; that costs look-ups, so it is
  // left to the visit: the bound keeps the value of each number of tiles
  // (kNoPlacement where none fits) and the board letters of its span (the
  // sum of their letter keys).
  struct SquareBound {
    long long bound = kNoPlacement;
    long long shape[kMaxShapes] = {};
    std::uint64_t spanLetters[kMaxShapes] = {};
    std::uint8_t length[kMaxShapes] = {};  // the word's length
    std::uint8_t refined = 0;              // bit t: shape t's bound has its subsets' best leave
  };

  // An upper bound on the value of every placement whose first square this
  // is: kNoPlacement when there is none, kUnbounded when the board's
  // multipliers allow no simple bound. For each number of tiles t the word
  // covers the first t empty squares of the line, so its shape is known;
  // the tiles' worth is bounded by the rack's highest values on the
  // heaviest squares, and by each square's highest value its cross set
  // lets the rack put there.
  SquareBound upperBound(int column, int row, int direction) {
    column_ = column;
    row_ = row;
    direction_ = direction;
    SquareBound result;
    std::fill(std::begin(result.shape), std::end(result.shape), kNoPlacement);
    if (rackTiles_ <= 0 || !computeLengths()) return result;
    result.bound = kUnbounded;
    if (!boundsUsable_ || rackTiles_ >= kMaxShapes) return result;
    const int step = direction == kAcross ? 1 : board_.width;
    const int start = column + row * board_.width;
    long long boardSum = 0, wordFactor = 1, crossConstant = 0;
    long long letterMultipliers[kMaxRack], crossFactors[kMaxRack], caps[kMaxRack];
    int t = 0;
    long long best = kNoPlacement;
    std::uint64_t span = 0;  // the letter keys of the board letters passed
    for (int k = 0; k < maxLegal_; ++k) {
      const int index = start + k * step;
      const Square& s = board_.squares[static_cast<std::size_t>(index)];
      const SquareData& d = squareData_[static_cast<std::size_t>(index)];
      if (!s.empty()) {
        boardSum += d.tileValue;
        span += LetterMultisets::letterKey(codeOfLetter(s.letter));
      } else {
        if (t == rackTiles_ || t == kMaxRack) break;
        if (d.letterMultiplier < 0 || d.wordMultiplier < 0) return result;
        const int cap = d.cap[direction];
        if (cap < 0) break;  // no tile of the rack fits here, nor on any longer word
        const int cross = d.crossSum[direction];
        letterMultipliers[t] = d.letterMultiplier;
        crossFactors[t] = cross >= 0 ? d.wordMultiplier : 0;
        if (cross >= 0) crossConstant += static_cast<long long>(cross) * d.wordMultiplier;
        caps[t] = cap;
        wordFactor *= d.wordMultiplier;
        if (wordFactor > kBoundLimit) return result;
        ++t;
      }
      if (t == 0 || !((legal_ >> (k + 1)) & 1)) continue;
      // The squares' weights, heaviest first (an insertion sort: t is small).
      long long weights[kMaxRack];
      long long capped = 0;
      for (int i = 0; i < t; ++i) {
        const long long w = letterMultipliers[i] * (wordFactor + crossFactors[i]);
        capped += w * caps[i];
        int j = i;
        for (; j > 0 && weights[j - 1] < w; --j) weights[j] = weights[j - 1];
        weights[j] = w;
      }
      long long paired = 0;
      for (int i = 0; i < t; ++i) paired += weights[i] * tileValues_[i];
      const long long points = wordFactor * boardSum + crossConstant + std::min(paired, capped);
      const int leave = bestLeave_[rackTiles_ - t];
      if (!byScore_ && leave == std::numeric_limits<int>::min()) continue;
      const long long value = byScore_ ? points : 10 * points + leave + adjustmentLimit_;
      const long long bingo = t == rackSizeRule_ ? (byScore_ ? bingoBonus_ : 10LL * bingoBonus_) : 0;
      result.shape[t] = value + bingo;
      result.spanLetters[t] = span;
      result.length[t] = static_cast<std::uint8_t>(k + 1);
      best = std::max(best, value + bingo);
    }
    result.bound = best;
    return result;
  }

  // The highest value of a shape whose tiles can spell a word with its
  // board letters (the shapes tried best first), kNoPlacement for none.
  long long checkedBound(const long long (&shape)[kMaxShapes], const std::uint64_t (&letters)[kMaxShapes]) {
    bool tried[kMaxShapes] = {};
    for (;;) {
      int t = -1;
      for (int i = 1; i < kMaxShapes; ++i) {
        if (!tried[i] && shape[i] != kNoPlacement && (t < 0 || shape[i] > shape[t])) t = i;
      }
      if (t < 0) return kNoPlacement;
      if (spellable(t, letters[t])) return shape[t];
      tried[t] = true;
    }
  }

  // Whether some t tiles of the rack, with the board letters of a span
  // (the sum of their letter keys), spell some word of the list in some
  // order; a blank stands for each letter in turn. Remembered for the
  // generation. Two blanks, or more look-ups than a walk would cost, are
  // taken as able to.
  bool spellable(int t, std::uint64_t boardLetters) {
    if (blanks_ >= 2) return true;
    const std::uint64_t hash = boardLetters * kMaxShapes + static_cast<std::uint64_t>(t);
    SpellAnswer& answer = spellAnswers_[(hash ^ (hash >> 29)) % kSpellAnswers];
    if (answer.known && answer.key == hash) return answer.possible;
    int probes = 0;
    const bool found = spellsFrom(0, t, boardLetters, probes);
    answer = SpellAnswer{hash, true, found};
    return found;
  }

  // Sub-multisets of the rack's letters from the distinct letter
  // `index` on, `need` tiles in all, the blank last.
  bool spellsFrom(int index, int need, std::uint64_t sum, int& probes) const {
    const LetterMultisets& words = *multisets_;
    if (need == 0) {
      ++probes;
      return words.contains(sum);
    }
    if (index == distinctCount_) {
      if (need > blanks_) return false;
      // The blank as each letter.
      for (std::uint32_t codes = letterMask_; codes; codes &= codes - 1) {
        ++probes;
        if (words.contains(sum + LetterMultisets::letterKey(__builtin_ctz(codes)))) return true;
      }
      return false;
    }
    if (probes > kProbeBudget) return true;
    const int code = distinct_[index];
    if (need > tilesFrom_[index]) return false;
    for (int take = std::min(need, counts_[code]); take >= 0; --take) {
      if (spellsFrom(index + 1, need - take, sum + static_cast<std::uint64_t>(take) * LetterMultisets::letterKey(code),
                     probes)) {
        return true;
      }
      if (probes > kProbeBudget) return true;
    }
    return false;
  }

  static constexpr long long kNoPlacement = std::numeric_limits<long long>::min();
  static constexpr long long kUnbounded = std::numeric_limits<long long>::max();

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
    int cap[2];       // the highest value of a rack tile its cross set admits, -1 for none
    // The empty squares from here along the line before one that a word
    // can touch the board by (kFar when none comes before the end or an
    // unusable square): a first square farther than the rack's tiles has
    // no play.
    std::uint8_t reach[2];
  };
  static constexpr std::uint8_t kFar = 255;

  // The running score of a partial word.
  struct Score {
    long long mainSum = 0;
    long long wordFactor = 1;
    long long crossTotal = 0;
    bool exact = true;
  };

  // The highest value of a rack tile that can stand for one of the
  // letters, -1 when none can.
  int highestTileIn(std::uint32_t allowed) const {
    int cap = -1;
    for (std::uint32_t letters = allowed & startMask_; letters; letters &= letters - 1) {
      cap = std::max(cap, value_[__builtin_ctz(letters)]);
    }
    if (blanks_ > 0 && allowed != 0) cap = std::max(cap, blankValue_);
    return cap;
  }

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
    const bool across = direction_ == kAcross;
    const int step = across ? 1 : board.width;
    const int start = column_ + row_ * board.width;
    const Square* squares = board.squares.data();
    if ((across ? column_ : row_) > 0 && !squares[start - step].empty()) return false;
    if (squareData_[static_cast<std::size_t>(start)].reach[direction_] > rackTiles_) return false;
    maxLen_ = across ? board.width - column_ : board.height - row_;
    legal_ = 0;
    minLen_ = 0;
    maxLegal_ = 0;
    bool touches = false;
    int empties = 0;
    const int limit = std::min(maxLen_, kMaxWordLength);
    for (int k = 0; k < limit; ++k) {
      const Square& s = squares[start + k * step];
      if (!s.usable) break;
      touches = touches || !s.empty() || (s.hasCrossNeighbours[direction_] && !s.noLetterFits[direction_]);
      // Every empty square up to the first touching one takes a rack tile.
      if (s.empty()) ++empties;
      if (!touches && empties > rackTiles_) break;
      const int n = k + 1;
      if (n >= 2 && touches && (n >= maxLen_ || squares[start + n * step].empty())) {
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
    if (!alwaysExact_ &&
        (score.wordFactor > kExactLimit || score.wordFactor < -kExactLimit || score.mainSum > kExactLimit ||
         score.mainSum < -kExactLimit || score.crossTotal > kExactLimit || score.crossTotal < -kExactLimit)) {
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

  // knownLeave: the leave's value when the caller has it.
  __attribute__((noinline)) void record(EntryIndex w, bool phonyCross, const Score& score, int tiles,
                                        const int* knownLeave = nullptr) {
    const WordEntry& entry = lexicon_.entry(w);
    if (entry.wordClass == kClassPhony && !(phonyPlay_ && entry.length >= minPhonyLength_)) return;
    const char* text = lexicon_.text(w);
    if (barred_ && isBarredFor(game_, mover_, text)) return;
    if (bounded_ && score.exact) {
      // Nothing this play's score leaves room for can beat the best.
      const long long points = score.mainSum * score.wordFactor + score.crossTotal + (tiles == rackSizeRule_ ? bingoBonus_ : 0);
      const int leave = knownLeave ? *knownLeave : bestLeave_[rackTiles_ - tiles];
      const long long bound = byScore_ ? points : 10 * points + leave + adjustmentLimit_;
      if (cannotBeatBest(game_, byScore_, bound, game_.bestOnlyTrack.order)) return;
    }
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
    const int leaveValue = noLeaveValues_ ? 0 : knownLeave && !byScore_ ? *knownLeave : LeaveValue(move.leaveView());
    finishPlacement(game_, move, tiles, leaveValue + adjustments, bestOnly_);
  }

  // A sub-multiset of the rack: its tiles per distinct letter, whether it
  // holds the blank, and the sum of its letters' keys (the blank's letter
  // apart).
  struct RackSubset {
    std::uint8_t taken[kMaxShapes] = {};
    int size = 0;
    bool blank = false;
    std::uint64_t key = 0;
    int leaveValue = 0;  // of the rest of the rack (0 without leave values)
    int order = 0;
  };

  // The tiles a subset leaves, as a move records them: letters in alphabet
  // order, then the blanks.
  struct LeaveText {
    char text[kLeaveSize];
    std::size_t size = 0;
    std::string_view view() const { return {text, size}; }
  };
  LeaveText leaveText(const RackSubset& subset) const {
    LeaveText leave;
    for (int i = 0; i < distinctCount_; ++i) {
      const int code = distinct_[i];
      for (int n = counts_[code] - subset.taken[i]; n > 0 && leave.size + 1 < kLeaveSize; --n) leave.text[leave.size++] = upper_[code];
    }
    for (int n = blanks_ - (subset.blank ? 1 : 0); n > 0 && leave.size + 1 < kLeaveSize; --n) leave.text[leave.size++] = '?';
    return leave;
  }

  // Every sub-multiset of the rack's distinct letters from `index` on, with
  // and without the blank.
  void rackSubsets(int index, std::uint8_t (&taken)[kMaxShapes], int size, std::uint64_t key) {
    if (index == distinctCount_) {
      for (int blank = 0; blank <= blanks_; ++blank) {
        if (size + blank == 0) continue;
        RackSubset& subset = subsets_[subsetCount_++];
        std::copy(std::begin(taken), std::end(taken), std::begin(subset.taken));
        subset.size = size + blank;
        subset.blank = blank != 0;
        subset.key = key;
      }
      return;
    }
    const int code = distinct_[index];
    for (int take = 0; take <= counts_[code]; ++take) {
      taken[index] = static_cast<std::uint8_t>(take);
      rackSubsets(index + 1, taken, size + take, key + static_cast<std::uint64_t>(take) * LetterMultisets::letterKey(code));
    }
    taken[index] = 0;
  }

  // A word the word map names for a subset of the rack with a span's board
  // letters.
  struct MapHit {
    int subset;
    int blankLetter;  // the letter the subset's blank stands for, -1 without one
    LetterMultisets::Word word;
  };
  // The hits of one number of tiles and one span's board letters, kept for
  // the generation: many first squares share them.
  struct ShapeWords {
    std::uint64_t key = 0;
    bool known = false;
    int first = 0, count = 0;
    int bestLeave = std::numeric_limits<int>::min();  // the best leave value of the subsets found
  };

  const ShapeWords& shapeWords(int t, std::uint64_t spanLetters) {
    const std::uint64_t key = spanLetters * kMaxShapes + static_cast<std::uint64_t>(t);
    ShapeWords& memo = shapeMemo_[(key ^ (key >> 29)) % kShapeMemo];
    if (memo.known && memo.key == key) return memo;
    // A large hit buffer starts again, and the remembered hits with it.
    std::vector<MapHit>& hits = *hits_;
    if (hits.size() > kMaxHits) {
      hits.clear();
      std::fill(std::begin(shapeMemo_), std::end(shapeMemo_), ShapeWords{});
    }
    memo = ShapeWords{key, true, static_cast<int>(hits.size()), 0};
    // In three rounds over a batch of keys, so that the memory each
    // round reads is fetched together: the filter and the slots, the
    // slots' words, the words.
    const LetterMultisets& map = *multisets_;
    constexpr int kBatch = 48;
    struct Probe {
      std::uint64_t key;
      int subset, blankLetter;
    };
    Probe batch[kBatch];
    int n = 0;
    const auto flush = [&] {
      std::uint64_t slots[kBatch];
      for (int k = 0; k < n; ++k) {
        slots[k] = map.slotOf(batch[k].key);
        map.prefetchWords(slots[k]);
      }
      for (int k = 0; k < n; ++k) {
        map.forEachWordIn(slots[k], [&](const LetterMultisets::Word& word) {
          hits.push_back(MapHit{batch[k].subset, batch[k].blankLetter, word});
          memo.bestLeave = std::max(memo.bestLeave, subsets_[batch[k].subset].leaveValue);
        });
      }
      n = 0;
    };
    const auto add = [&](int subset, std::uint64_t letters, int blankLetter) {
      if (!map.prefetchSlot(letters)) return;
      batch[n++] = Probe{letters, subset, blankLetter};
      if (n == kBatch) flush();
    };
    for (int i = subsetsOfSize_[t]; i < subsetsOfSize_[t + 1]; ++i) {
      const std::uint64_t letters = subsets_[i].key + spanLetters;
      if (!subsets_[i].blank) {
        add(i, letters, -1);
        continue;
      }
      for (std::uint32_t codes = letterMask_; codes; codes &= codes - 1) {
        const int code = __builtin_ctz(codes);
        add(i, letters + LetterMultisets::letterKey(code), code);
      }
    }
    flush();
    memo.count = static_cast<int>(hits.size()) - memo.first;
    return memo;
  }

  // Records word w as the play of the subset's tiles from the current first
  // square, when it fits: its letters on the board squares are the board's,
  // and the rest are exactly the subset's tiles, each allowed by its
  // square's cross set (the word map can name a word of another multiset by
  // a fingerprint's chance meeting; the letter count check rejects it).
  // With the blank standing for blankLetter, each square of that letter
  // the word covers with a rack tile can hold the blank: one play each.
  void placeFromMap(const LetterMultisets::Word& word, const RackSubset& subset, int blankLetter, int length, int t) {
    if (word.length != length) return;
    const std::uint8_t* codes = word.codes;
    std::uint8_t need[kCodeSlots] = {};
    for (int i = 0; i < distinctCount_; ++i) need[distinct_[i]] = subset.taken[i];
    if (blankLetter >= 0) ++need[blankLetter];
    bool phonyCross = false;
    int blankSquares[kMaxShapes];
    int blankChoices = 0;
    for (int k = 0; k < length; ++k) {
      const Square& s = board_.squares[static_cast<std::size_t>(start_ + k * step_)];
      const int code = codes[k];
      if (!s.empty()) {
        if (codeOfLetter(s.letter) != code) return;
        continue;
      }
      if (need[code] == 0) return;
      const bool anchor = s.hasCrossNeighbours[direction_] != 0;
      const std::uint32_t allowed = anchor ? s.crossSet[direction_] : letterMask_;
      if (!((allowed >> code) & 1)) return;
      --need[code];
      phonyCross = phonyCross || (phonyPlay_ && anchor && ((s.phonySet[direction_] >> code) & 1));
      if (code == blankLetter) blankSquares[blankChoices++] = k;
    }
    // The leave is the rack without the subset, as the walk would leave it.
    for (int i = 0; i < distinctCount_; ++i) counts_[distinct_[i]] -= subset.taken[i];
    if (blankLetter < 0) {
      record(word.entry, phonyCross, shapeScore(codes, length, -1), t, &subset.leaveValue);
    } else {
      --blanks_;
      blankCount_ = 1;
      for (int i = 0; i < blankChoices; ++i) {
        move_.blankPositions[0] = blankSquares[i];
        record(word.entry, phonyCross, shapeScore(codes, length, blankSquares[i]), t, &subset.leaveValue);
      }
      move_.blankPositions[0] = -1;
      blankCount_ = 0;
      ++blanks_;
    }
    for (int i = 0; i < distinctCount_; ++i) counts_[distinct_[i]] += subset.taken[i];
  }

  // The running score of a word from the current first square, with the
  // blank on the square at `blankAt` (-1 for none).
  Score shapeScore(const std::uint8_t* codes, int length, int blankAt) const {
    Score score;
    for (int k = 0; k < length; ++k) {
      const int index = start_ + k * step_;
      const SquareData& d = squareData_[static_cast<std::size_t>(index)];
      if (!board_.squares[static_cast<std::size_t>(index)].empty()) {
        score = withBoardTile(score, d);
      } else {
        score = withNewTile(score, d, k == blankAt ? blankValue_ : value_[codes[k]]);
      }
    }
    return score;
  }

  // Every sub-multiset of the rack (letters from `code` on, then the
  // blanks), as the leave text a move records, into bestLeave_ by size.
  void bestLeaves(int code, char* leave, int n) {
    while (code < kCodeSlots && !((startMask_ >> code) & 1)) ++code;
    if (code >= kCodeSlots) {
      for (int b = 0; b <= blanks_ && n + b < kLeaveSize - 1; ++b) {
        for (int i = 0; i < b; ++i) leave[n + i] = '?';
        const int value = LeaveValue(std::string_view(leave, static_cast<std::size_t>(n + b)));
        int& slot = bestLeave_[n + b];
        slot = std::max(slot, value);
      }
      return;
    }
    for (int c = 0; c <= counts_[code] && n + c < kLeaveSize - 1; ++c) {
      for (int i = 0; i < c; ++i) leave[n + i] = upper_[code];
      bestLeaves(code + 1, leave, n + c);
    }
  }

  struct SpellAnswer {
    std::uint64_t key = 0;
    bool known = false;
    bool possible = false;
  };
  static constexpr std::size_t kSpellAnswers = 128;
  static constexpr int kProbeBudget = 32;
  const LetterMultisets* multisets_ = nullptr;
  int distinct_[32] = {};
  int tilesFrom_[32] = {};  // tiles of the distinct letters from i on, the blank included
  int distinctCount_ = 0;
  SpellAnswer spellAnswers_[kSpellAnswers] = {};
  RackSubset subsets_[1 << (kMaxShapes - 1)];
  int subsetCount_ = 0;
  int subsetsOfSize_[kMaxShapes + 1] = {};  // the subsets of t tiles are [subsetsOfSize_[t], subsetsOfSize_[t + 1])
  static constexpr std::size_t kShapeMemo = 256;
  static constexpr std::size_t kMaxHits = 1 << 16;
  ShapeWords shapeMemo_[kShapeMemo] = {};
  struct SpellingLeave {
    std::uint64_t key = 0;
    bool known = false;
    int leave = kNoSubset;
  };
  SpellingLeave spellingLeaves_[kShapeMemo] = {};
  std::vector<MapHit>* hits_ = nullptr;  // a buffer of the thread's, kept from one generation to the next

  static constexpr long long kBoundLimit = 1LL << 20;
  bool bounded_ = false;
  bool byScore_ = false;
  bool boundsUsable_ = false;
  int adjustmentLimit_ = 0;
  int tileValues_[kMaxRack] = {};
  int valueCount_ = 0;
  int bestLeave_[kMaxRack + 1] = {};

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
  // The square data lives in a buffer of the thread's, lent to one
  // generator at a time (a generation may start another), so that no
  // generation allocates once the thread has run a few.
  class SquareDataLease {
   public:
    SquareDataLease() {
      if (spare().empty()) {
        buffer_ = std::make_unique<std::vector<SquareData>>();
      } else {
        buffer_ = std::move(spare().back());
        spare().pop_back();
      }
    }
    ~SquareDataLease() { spare().push_back(std::move(buffer_)); }
    SquareDataLease(const SquareDataLease&) = delete;
    SquareDataLease& operator=(const SquareDataLease&) = delete;
    std::vector<SquareData>& get() { return *buffer_; }

   private:
    static std::vector<std::unique_ptr<std::vector<SquareData>>>& spare() {
      thread_local std::vector<std::unique_ptr<std::vector<SquareData>>> buffers;
      return buffers;
    }
    std::unique_ptr<std::vector<SquareData>> buffer_;
  };
  SquareDataLease squareLease_;
  std::vector<SquareData>& squareData_ = squareLease_.get();
  bool alwaysExact_ = false;  // no running score can leave the exact range
};

// What a visit of a first square does next.
enum class VisitStep : std::uint8_t {
  check,   // check the bound's shapes against the word list
  walk,    // walk the square (its bound holds only shapes whose tiles spell a word)
  shapes,  // find the plays of its best shape left through the word map
};

// A first square to visit, with its bound and its generation order.
struct Visit {
  long long bound;
  int order;
  int index;  // of the square's shapes in the bounds
  VisitStep step;
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
      game.bestOnlyTrack.order = squareOrder(game.board, column, row, 0);
      generator.fromSquare(column, row, opening);
      game.bestOnlyTrack.order = squareOrder(game.board, column, row, 1);
      if (!onlyOpening) generator.fromSquare(column, row, 1 - opening);
    }
  }
  game.generating = wasGenerating;
}

int squareOrder(const Board& board, int column, int row, int pass) { return (column * board.height + row) * 2 + pass; }

void GenerateBestByBounds(Game& game, bool onlyOpening, int opening, const BoundRule& rule) {
  if (!game.lexicon) return;
  const bool wasGenerating = game.generating;
  game.generating = true;
  PlacementGenerator generator(game, true);
  generator.prepareBounds(rule.byScore, rule.adjustmentLimit);
  const bool byShape = generator.byShape();
  Game::BestOnlyTrack& track = game.bestOnlyTrack;
  track.walkOrderTies = byShape;
  const Board& board = game.board;
  // Buffers per thread: rebuilt by every generation, carrying nothing from
  // one to the next.
  thread_local std::vector<Visit> visits;
  thread_local std::vector<PlacementGenerator::SquareBound> bounds;
  visits.clear();
  bounds.clear();
  for (int column = 0; column < board.width; ++column) {
    for (int row = 0; row < board.height; ++row) {
      for (int pass = 0; pass < (onlyOpening ? 1 : 2); ++pass) {
        const auto bound = generator.upperBound(column, row, pass == 0 ? opening : 1 - opening);
        if (bound.bound == PlacementGenerator::kNoPlacement) continue;
        const int order = squareOrder(board, column, row, pass);
        const VisitStep step = bound.bound == PlacementGenerator::kUnbounded ? VisitStep::walk
                               : byShape                                     ? VisitStep::shapes
                                                                             : VisitStep::check;
        visits.push_back({bound.bound, order, static_cast<int>(bounds.size()), step});
        bounds.push_back(bound);
      }
    }
  }

  // Best bound first, the earlier square first on equal bounds; a bound is
  // checked against the word list when it comes to the top, and goes back
  // with what the check leaves of it.
  const auto later = [](const Visit& a, const Visit& b) { return a.bound != b.bound ? a.bound < b.bound : a.order > b.order; };
  std::make_heap(visits.begin(), visits.end(), later);
  while (!visits.empty()) {
    std::pop_heap(visits.begin(), visits.end(), later);
    Visit visit = visits.back();
    visits.pop_back();
    if (cannotBeatBest(game, rule.byScore, visit.bound, visit.order)) {
      // The rest have lower bounds, or equal ones and later orders.
      if (!cannotBeatBest(game, rule.byScore, visit.bound + 1, visit.order)) continue;
      break;
    }
    auto& bound = bounds[static_cast<std::size_t>(visit.index)];
    const auto pushBack = [&](long long value) {
      if (value == PlacementGenerator::kNoPlacement) return;
      visit.bound = value;
      visits.push_back(visit);
      std::push_heap(visits.begin(), visits.end(), later);
    };
    if (visit.step == VisitStep::check) {
      visit.step = VisitStep::walk;
      pushBack(generator.checkedBound(bound.shape, bound.spanLetters));
      continue;
    }
    const int pass = visit.order % 2, square = visit.order / 2;
    const int column = square / board.height, row = square % board.height;
    const int direction = pass == 0 ? opening : 1 - opening;
    track.order = visit.order;
    if (visit.step == VisitStep::walk) {
      generator.fromSquare(column, row, direction);
      continue;
    }
    // The best shape left: first its bound is refined by the subsets that
    // spell a word there, then its plays are found; the square goes back
    // with what is left.
    int t = 1;
    for (int i = 2; i < PlacementGenerator::kMaxShapes; ++i) {
      if (bound.shape[i] > bound.shape[t]) t = i;
    }
    if (!((bound.refined >> t) & 1)) {
      bound.refined |= static_cast<std::uint8_t>(1u << t);
      bound.shape[t] = generator.refinedShape(t, bound.spanLetters[t], bound.shape[t]);
      pushBack(*std::max_element(bound.shape + 1, bound.shape + PlacementGenerator::kMaxShapes));
      continue;
    }
    generator.fromShape(column, row, direction, t, bound.spanLetters[t], bound.length[t]);
    bound.shape[t] = PlacementGenerator::kNoPlacement;
    pushBack(*std::max_element(bound.shape + 1, bound.shape + PlacementGenerator::kMaxShapes));
  }
  track.walkOrderTies = false;
  game.generating = wasGenerating;
}

bool walkOrderBefore(const Move& a, const Move& b) {
  // The walk records a word before its extensions and tries, on each empty
  // square, the rack's letters in alphabet order and then the blank as each
  // letter; board squares hold the same tile in both.
  const char* x = a.word;
  const char* y = b.word;
  for (int k = 0;; ++k) {
    if (y[k] == '\0') return false;
    if (x[k] == '\0') return true;
    const bool blankX = a.isBlankAt(k), blankY = b.isBlankAt(k);
    if (blankX != blankY) return blankY;
    const int codeX = codeOfLetter(x[k]), codeY = codeOfLetter(y[k]);
    if (codeX != codeY) return codeX < codeY;
  }
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
    int opponentTiles = 0;
    for (int p = 0; p < game.playerCount; ++p) {
      if (p != mover) opponentTiles += rackValue(game.racks[static_cast<std::size_t>(p)]);
    }
    const int margin = move.score + 2 * opponentTiles + leadOf(game, mover);
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
  Game::BestOnlyTrack& track = game.bestOnlyTrack;
  Move& best = game.bestMove;
  // Equal values go to the play the full list would show first: the one
  // from the earlier first square (within a square, the earlier found, or
  // the earlier in the walk's order when the square's plays come in
  // another).
  const bool earlier = track.order < track.bestOrder ||
                       (track.walkOrderTies && track.order == track.bestOrder && walkOrderBefore(move, game.bestMove));
  auto take = [&] {
    best = move;
    track.bestOrder = track.order;
  };
  if (track.listRule) {
    if (tiles > 0 && (move.equity > best.equity || (move.equity == best.equity && earlier))) take();
    return;
  }
  const bool clean = !move.phonyCross && move.wordClass != kClassPhony && !isBarredFor(game, mover, move.word);
  if (game.searchMode == SearchMode::simulationReply && best.word == label::pass && best.equity < 9000 && clean) {
    take();
  }
  if (!game.rankByScore && game.unseenPoolEvaluation && clean) game.candidates.push_back(move);
  if (tiles > 0 && clean) {
    bool replace;
    if (move.winsByGoingOut != best.winsByGoingOut) {
      replace = move.winsByGoingOut != 0;
    } else if (move.winsByGoingOut || game.highestScoreBest) {
      replace = move.score > best.score || (move.score == best.score && earlier);
    } else {
      replace = move.equity > best.equity || (move.equity == best.equity && earlier);
    }
    if (replace) take();
  }
}

}  // namespace pexil
