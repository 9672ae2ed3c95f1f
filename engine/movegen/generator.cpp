// The placement generator: from every first square, a walk of the word
// graph along the line, taking board tiles where the line is occupied and
// rack tiles where it is empty.
#include "movegen/generator.hpp"

#include <algorithm>
#include <cstring>

#include "movegen/evaluation.hpp"
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

// Generation from one first square in one direction.
class SquareGenerator {
 public:
  SquareGenerator(Game& game, int column, int row, int direction, bool bestOnly)
      : game_(game),
        board_(game.board),
        lexicon_(*game.lexicon),
        column_(column),
        row_(row),
        direction_(direction),
        bestOnly_(bestOnly) {}

  void run() {
    const GameRules& r = rules();
    const Board& board = board_;
    if (!computeLengths()) return;

    step_ = direction_ == kAcross ? 1 : board.width;
    start_ = column_ + row_ * board.width;
    lineLetters_ = 0;
    for (int k = 0; k < maxLen_; ++k) {
      const Square& s = board.squares[static_cast<std::size_t>(start_ + k * step_)];
      if (!s.empty()) {
        const int code = codeOfLetter(s.letter);
        if (code >= 0 && code < 32) lineLetters_ |= 1u << code;
      }
    }

    mover_ = game_.toMove;
    const Rack& rack = game_.racks[static_cast<std::size_t>(mover_)];
    blankCode_ = r.blankCode;
    rackSize_ = 0;
    int blanks = 0;
    for (int code = 0; code < kCodeSlots && rackSize_ < kMaxRack; ++code) {
      for (int n = 0; n < rack[code] && rackSize_ < kMaxRack; ++n) rack_[rackSize_++] = code;
      if (code == blankCode_) blanks = rack[code];
    }
    if (rackSize_ == 0) return;

    move_ = Move{};
    move_.column = column_;
    move_.row = row_;
    move_.direction = direction_;
    move_.strategy = game_.strategies[static_cast<std::size_t>(mover_)];
    blankCount_ = 0;
    phonyPlay_ = game_.phonyPlay;
    minPhonyLength_ = game_.minPhonyLength;
    barred_ = game_.restrictedPlayer == mover_ && !game_.barredWords.empty();
    letterMask_ = r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u;

    const WordGraph* compact = lexicon_.graph();
    const bool searchMode = game_.searchMode != SearchMode::none;
    if (blanks == 1 && compact != nullptr && searchMode) {
      extend(GraphWalk{*compact}, 0, WordGraph::root, 0, 0, false);
    } else {
      extend(TrieWalk{lexicon_}, 0, Lexicon::trieRoot, 0, 0, false);
    }
  }

 private:
  static constexpr int kMaxRack = 32;

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
    for (int k = 0; k < maxLen_ && k < kMaxWordLength; ++k) {
      const Square* s = squareAt(board, column_ + dc * k, row_ + dr * k);
      if (!s->usable) break;
      touches = touches || !s->empty() || (s->hasCrossNeighbours[direction_] && !s->noLetterFits[direction_]);
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

  template <class Walk>
  void extend(const Walk& walk, int k, std::int32_t node, std::uint32_t used, int firstFree, bool phonyCross) {
    // Record the word ending here.
    if (k >= minLen_ && ((legal_ >> k) & 1) && used != 0) {
      const EntryIndex w = walk.word(node);
      if (w != kNoEntry) record(w, phonyCross);
    }
    if (k >= maxLen_ || k >= maxLegal_) return;
    const Square& s = board_.squares[static_cast<std::size_t>(start_ + k * step_)];
    if (!s.usable) return;
    const std::uint32_t children = walk.mask(node);
    if (Walk::isMain && children == 0) return;

    if (!s.empty()) {
      const std::int32_t next = walk.child(node, codeOfLetter(s.letter));
      if (next >= 0) extend(walk, k + 1, next, used, firstFree, phonyCross);
      return;
    }

    if constexpr (Walk::isMain) {
      // Single-child pruning: nothing on the rack can continue the word.
      const int only = walk.onlyChild(node);
      if (only >= 0) {
        bool possible = false;
        for (int i = firstFree; i < rackSize_ && !possible; ++i) {
          possible = !((used >> i) & 1) && (rack_[i] == only || rack_[i] == blankCode_);
        }
        if (!possible && !((lineLetters_ >> only) & 1)) return;
      }
    }

    const bool anchor = s.hasCrossNeighbours[direction_] != 0;
    const std::uint32_t cross = s.crossSet[direction_];
    const std::uint32_t phonies = s.phonySet[direction_];
    for (int i = firstFree; i < rackSize_; ++i) {
      if ((used >> i) & 1) continue;
      // Identical tiles are tried once per square.
      if (i > 0 && !((used >> (i - 1)) & 1) && rack_[i - 1] == rack_[i]) continue;
      const int nextFree = i == firstFree ? i + 1 : firstFree;
      const std::uint32_t nowUsed = used | (1u << i);
      if (rack_[i] == blankCode_) {
        std::uint32_t letters = children & letterMask_;
        if (anchor) letters &= cross;
        for (; letters; letters &= letters - 1) {
          const int letter = __builtin_ctz(letters);
          const std::int32_t next = walk.child(node, letter);
          if (next < 0) continue;
          const bool flag = phonyCross || (phonyPlay_ && anchor && ((phonies >> letter) & 1));
          if (blankCount_ < kBlankSlots) move_.blankPositions[static_cast<std::size_t>(blankCount_)] = k;
          ++blankCount_;
          extend(walk, k + 1, next, nowUsed, nextFree, flag);
          --blankCount_;
          if (blankCount_ < kBlankSlots) move_.blankPositions[static_cast<std::size_t>(blankCount_)] = -1;
        }
      } else {
        const int letter = rack_[i];
        if (anchor && !((cross >> letter) & 1)) continue;
        const std::int32_t next = walk.child(node, letter);
        if (next < 0) continue;
        const bool flag = phonyCross || (phonyPlay_ && anchor && ((phonies >> letter) & 1));
        extend(walk, k + 1, next, nowUsed, nextFree, flag);
      }
    }
  }

  void record(EntryIndex w, bool phonyCross) {
    const WordEntry& entry = lexicon_.entry(w);
    if (entry.wordClass == kClassPhony && !(phonyPlay_ && entry.length >= minPhonyLength_)) return;
    const char* text = lexicon_.text(w);
    if (barred_ && isBarredFor(game_, mover_, text)) return;
    Move move = move_;
    move.word = text;
    move.wordClass = entry.wordClass;
    move.phonyCross = phonyCross;
    RecordPlacement(game_, move, bestOnly_);
  }

  Game& game_;
  const Board& board_;
  const Lexicon& lexicon_;
  int column_, row_, direction_;
  bool bestOnly_;
  int step_ = 1, start_ = 0;
  std::uint64_t legal_ = 0;
  int minLen_ = 0, maxLen_ = 0, maxLegal_ = 0;
  std::uint32_t lineLetters_ = 0;
  int rack_[kMaxRack] = {};
  int rackSize_ = 0;
  int blankCode_ = 26;
  int mover_ = 0;
  Move move_;
  int blankCount_ = 0;
  bool phonyPlay_ = false;
  int minPhonyLength_ = 5;
  bool barred_ = false;
  std::uint32_t letterMask_ = 0;
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
  SquareGenerator(game, column, row, direction, bestOnly).run();
  game.generating = wasGenerating;
}

void RecordPlacement(Game& game, Move move, bool bestOnly) {
  const GameRules& r = rules();
  const Evaluation evaluation = EvaluatePlacement(game, move, false);
  const int tiles = evaluation.tilesUsed;
  const int length = static_cast<int>(std::strlen(move.word));
  move.score = playScore(game.board, move.direction, move.column, move.row, length) + bingoBonusFor(tiles);
  int adjustment = evaluation.adjustment;

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
  liftTentative(game.board, std::string_view(move.word, static_cast<std::size_t>(length)), move.column, move.row,
                move.direction);
  (void)r;

  if (!bestOnly) {
    if (tiles > 0) activeList(game).push_back(move);
    return;
  }
  const bool allowed = !isBarredFor(game, mover, move.word);
  const bool clean = !move.phonyCross && move.wordClass != kClassPhony && allowed;
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
