// The anagram-rule generator: a line is accepted when its letters can be
// arranged into a listed word, so the rack is tried by subsets rather than
// by spelling.
#include <algorithm>

#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"

namespace pexil {
namespace {

class AnagramLine {
 public:
  AnagramLine(Game& game, int column, int row, int length, int direction, bool bestOnly)
      : game_(game), lexicon_(*game.lexicon), column_(column), row_(row), length_(length), direction_(direction),
        bestOnly_(bestOnly) {}

  void run() {
    const GameRules& r = rules();
    blankCode_ = r.blankCode;
    letterCount_ = r.letterCount;
    Board& board = game_.board;
    for (int k = 0; k < length_; ++k) {
      squares_[k] = direction_ == kAcross ? squareAt(board, column_ + k, row_) : squareAt(board, column_, row_ + k);
      if (squares_[k]->empty()) {
        holes_[holeCount_++] = k;
      } else {
        laid_[k] = squares_[k]->letter;
      }
    }
    const Rack& rack = game_.racks[static_cast<std::size_t>(game_.toMove)];
    for (int code = 0; code < kCodeSlots; ++code) {
      for (int n = 0; n < rack[code] && tileCount_ < kMaxWordLength; ++n) tiles_[tileCount_++] = code;
    }
    if (holeCount_ == 0 || holeCount_ > tileCount_) return;
    if (!anchorsCoverable()) return;
    chooseSubset(0, 0);
  }

 private:
  bool admits(int hole, int letter) const {
    const Square* s = squares_[hole];
    return !s->hasCrossNeighbours[direction_] || ((s->crossSet[direction_] >> letter) & 1);
  }

  // Whether a rack tile can go on a hole: a letter the hole admits, or a
  // blank when the hole admits any letter at all.
  bool tileFits(int hole, int tile) const {
    if (tiles_[tile] == blankCode_) return !squares_[hole]->hasCrossNeighbours[direction_] || squares_[hole]->crossSet[direction_] != 0;
    return admits(hole, tiles_[tile]);
  }

  // Gives anchor a a tile, moving tiles of other anchors along an
  // alternating path when that frees one (a matching of anchors to tiles).
  bool assignTile(int a, const int* anchors, int* anchorOfTile, bool* visited) const {
    for (int t = 0; t < tileCount_; ++t) {
      if (visited[t] || !tileFits(anchors[a], t)) continue;
      visited[t] = true;
      if (anchorOfTile[t] < 0 || assignTile(anchorOfTile[t], anchors, anchorOfTile, visited)) {
        anchorOfTile[t] = a;
        return true;
      }
    }
    return false;
  }

  // Every anchor must get a rack tile of its own that it admits. A greedy
  // choice can take the one tile another anchor needs, so the anchors are
  // matched to the tiles, rearranging earlier choices as needed.
  bool anchorsCoverable() const {
    int anchors[kMaxWordLength], count = 0;
    for (int j = 0; j < holeCount_; ++j) {
      if (squares_[holes_[j]]->hasCrossNeighbours[direction_]) anchors[count++] = holes_[j];
    }
    int anchorOfTile[kMaxWordLength];
    std::fill(anchorOfTile, anchorOfTile + kMaxWordLength, -1);
    for (int a = 0; a < count; ++a) {
      bool visited[kMaxWordLength] = {};
      if (!assignTile(a, anchors, anchorOfTile, visited)) return false;
    }
    return true;
  }

  // Distinct multisets of exactly holeCount_ rack tiles.
  void chooseSubset(int from, int chosen) {
    if (chosen == holeCount_) {
      assignBlanks(0, 0);
      return;
    }
    for (int t = from; t < tileCount_; ++t) {
      if (t > from && tiles_[t] == tiles_[t - 1]) continue;
      subset_[chosen] = tiles_[t];
      chooseSubset(t + 1, chosen + 1);
    }
  }

  // Every letter for each blank of the subset (in non-decreasing order, so
  // each multiset of letters once), then the anagram test.
  void assignBlanks(int index, int lowest) {
    while (index < holeCount_ && subset_[index] != blankCode_) ++index;
    if (index == holeCount_) {
      testSubset();
      return;
    }
    for (int letter = lowest; letter < letterCount_; ++letter) {
      blankLetter_[index] = letter;
      assignBlanks(index + 1, letter);
    }
  }

  void testSubset() {
    std::string letters;
    for (int k = 0; k < length_; ++k) {
      if (!squares_[k]->empty()) letters.push_back(squares_[k]->letter);
    }
    for (int j = 0; j < holeCount_; ++j) letters.push_back(charOfLower(subset_[j] == blankCode_ ? blankLetter_[j] : subset_[j]));
    if (!lexicon_.hasAnagram(letters)) return;
    const EntryIndex entry = lexicon_.findAnagramWord(letters);
    if (entry == kNoEntry) return;
    const WordEntry& w = lexicon_.entry(entry);
    if (w.wordClass == kClassPhony && !(game_.phonyPlay && w.length >= game_.minPhonyLength)) return;
    if (isBarredFor(game_, game_.toMove, lexicon_.text(entry))) return;
    wordClass_ = w.wordClass;
    bool used[kMaxWordLength] = {};
    distribute(0, used, 0, false);
  }

  // Puts the subset's tiles on the holes, each hole getting a letter it
  // admits; every distinct way is a move.
  void distribute(int j, bool* used, int blanks, bool phonyCross) {
    if (j == holeCount_) {
      record(blanks, phonyCross);
      return;
    }
    const int hole = holes_[j];
    for (int t = 0; t < holeCount_; ++t) {
      if (used[t]) continue;
      const bool isBlank = subset_[t] == blankCode_;
      const int letter = isBlank ? blankLetter_[t] : subset_[t];
      // The same tile (letter and kind) once per hole.
      bool seen = false;
      for (int u = 0; u < t && !seen; ++u) {
        seen = !used[u] && (subset_[u] == blankCode_) == isBlank && (isBlank ? blankLetter_[u] : subset_[u]) == letter;
      }
      if (seen || !admits(hole, letter)) continue;
      const Square* s = squares_[hole];
      const bool flag = phonyCross || (game_.phonyPlay && s->hasCrossNeighbours[direction_] &&
                                       ((s->phonySet[direction_] >> letter) & 1));
      used[t] = true;
      laid_[hole] = charOfLower(letter);
      if (isBlank && blanks < kBlankSlots) blankAt_[blanks] = hole;
      distribute(j + 1, used, blanks + (isBlank ? 1 : 0), flag);
      used[t] = false;
    }
  }

  void record(int blanks, bool phonyCross) {
    Move move;
    move.word = game_.laidWords.add(std::string_view(laid_, static_cast<std::size_t>(length_)));
    move.column = column_;
    move.row = row_;
    move.direction = direction_;
    move.strategy = game_.strategies[static_cast<std::size_t>(game_.toMove)];
    for (int b = 0; b < blanks && b < kBlankSlots; ++b) move.blankPositions[static_cast<std::size_t>(b)] = blankAt_[b];
    std::sort(move.blankPositions.begin(), move.blankPositions.begin() + std::min(blanks, kBlankSlots));
    move.wordClass = wordClass_;
    move.phonyCross = phonyCross;
    RecordPlacement(game_, move, bestOnly_);
  }

  Game& game_;
  const Lexicon& lexicon_;
  int column_, row_, length_, direction_;
  bool bestOnly_;
  int blankCode_ = 26, letterCount_ = 26;
  const Square* squares_[kMaxWordLength] = {};
  int holes_[kMaxWordLength] = {};
  int holeCount_ = 0;
  int tiles_[kMaxWordLength] = {};
  int tileCount_ = 0;
  int subset_[kMaxWordLength] = {};
  int blankLetter_[kMaxWordLength] = {};
  char laid_[kMaxWordLength] = {};
  int blankAt_[kBlankSlots] = {};
  int wordClass_ = 0;
};

}  // namespace

void AnagramsFromSquare(Game& game, int column, int row, int length, int direction, bool bestOnly) {
  if (!game.lexicon || length < 2 || length > kMaxWordLength) return;
  if (!PlacementFits(game.board, column, row, length, direction)) return;
  const bool wasGenerating = game.generating;
  game.generating = true;
  AnagramLine(game, column, row, length, direction, bestOnly).run();
  game.generating = wasGenerating;
}

}  // namespace pexil
