// The word-list scan generator: for racks of more than seven tiles, and for
// two blanks in best-only mode, the words of one length are read from the
// position index and matched against the line.
#include <algorithm>

#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"

namespace pexil {
namespace {

constexpr int kHole = -1;

struct Line {
  int length = 0;
  int fixed[kMaxWordLength];        // the letter a square must hold, or kHole
  bool empty[kMaxWordLength];       // the square is empty (a rack tile goes there)
  const Square* squares[kMaxWordLength];
};

// Records every way of laying the word's letters on the line's empty
// squares with the rack, blanks standing in for missing letters: each
// choice of which squares take blanks is a move of its own.
class BlankChoices {
 public:
  BlankChoices(Game& game, const Line& line, const char* word, Move move, const int* rack, int blanks, bool bestOnly)
      : game_(game), line_(line), word_(word), move_(move), blanks_(blanks), bestOnly_(bestOnly) {
    std::copy(rack, rack + kCodeSlots, rack_);
  }

  void run() { place(0, 0); }

 private:
  void place(int k, int blanksUsed) {
    if (k == line_.length) {
      move_.blankPositions.fill(-1);
      for (int i = 0; i < blanksUsed; ++i) move_.blankPositions[static_cast<std::size_t>(i)] = chosen_[i];
      RecordPlacement(game_, move_, bestOnly_);
      return;
    }
    if (!line_.empty[k]) {
      place(k + 1, blanksUsed);
      return;
    }
    const int code = codeOfLetter(word_[k]);
    if (rack_[code] > 0) {
      --rack_[code];
      place(k + 1, blanksUsed);
      ++rack_[code];
    }
    if (blanksUsed < blanks_ && blanksUsed < kBlankSlots) {
      chosen_[blanksUsed] = k;
      place(k + 1, blanksUsed + 1);
    }
  }

  Game& game_;
  const Line& line_;
  const char* word_;
  Move move_;
  int rack_[kCodeSlots];
  int blanks_;
  bool bestOnly_;
  int chosen_[kBlankSlots] = {};
};

}  // namespace

void ScanWordsFromSquare(Game& game, int column, int row, int length, int direction, bool bestOnly) {
  if (!game.lexicon || length < 2 || length > kMaxWordLength) return;
  Board& board = game.board;
  if (!PlacementFits(board, column, row, length, direction)) return;
  const Lexicon& lexicon = *game.lexicon;
  const GameRules& r = rules();
  const int mover = game.toMove;
  const Rack& rack = game.racks[static_cast<std::size_t>(mover)];
  const int blanks = rack[r.blankCode];

  // 1. The line: fixed letters (tiles, and the only letter a square admits)
  // and holes; the most constrained empty square.
  Line line;
  line.length = length;
  int boardLetters = 0, constrained = -1, fewest = 1 << 30;
  std::uint32_t present = 0;  // letters on the rack or the line
  for (int k = 0; k < length; ++k) {
    const Square* s = direction == kAcross ? squareAt(board, column + k, row) : squareAt(board, column, row + k);
    line.squares[k] = s;
    line.empty[k] = s->empty();
    line.fixed[k] = kHole;
    if (!s->empty()) {
      line.fixed[k] = codeOfLetter(s->letter);
      ++boardLetters;
      present |= 1u << line.fixed[k];
      continue;
    }
    if (s->hasCrossNeighbours[direction] && s->fitCount[direction] == 1) {
      line.fixed[k] = codeOfLetter(static_cast<char>(s->onlyLetter[direction]));
    }
    const int fits = s->hasCrossNeighbours[direction] ? s->fitCount[direction] : r.letterCount;
    if (fits < fewest) {
      fewest = fits;
      constrained = k;
    }
  }
  if (rack.total() + boardLetters < length) return;

  // 2. Letters nobody can supply, and the position-index table.
  for (int code = 0; code < kCodeSlots; ++code) {
    if (rack[code] > 0 && code != r.blankCode) present |= 1u << code;
  }
  int table = 0;
  std::uint32_t unavailable = 0;
  if (blanks == 0) {
    if (!((present >> 4) & 1)) table |= 1;    // e
    if (!((present >> 18) & 1)) table |= 2;   // s
    if (!((present >> 0) & 1)) table |= 4;    // a
    if (!((present >> 19) & 1)) table |= 8;   // t
    unavailable = ~present;
  }

  // 3. The shortest list: by a fixed letter of the first eight positions,
  // else by the letters the most constrained square admits.
  std::vector<std::span<const EntryIndex>> lists;
  std::size_t shortest = static_cast<std::size_t>(-1);
  const bool indexed = length < kIndexLengths;  // longer words are not in the index
  for (int k = 0; indexed && k < std::min(length, kIndexPositions); ++k) {
    if (line.fixed[k] == kHole) continue;
    const auto list = lexicon.letterIndex(table, k, line.fixed[k], length);
    if (list.size() < shortest) {
      shortest = list.size();
      lists.assign(1, list);
    }
  }
  std::vector<EntryIndex> everyWord;
  if (lists.empty()) {
    if (indexed && constrained >= 0 && constrained < kIndexPositions &&
        line.squares[constrained]->hasCrossNeighbours[direction]) {
      for (std::uint32_t letters = line.squares[constrained]->crossSet[direction]; letters; letters &= letters - 1) {
        lists.push_back(lexicon.letterIndex(table, constrained, __builtin_ctz(letters), length));
      }
    } else {
      const auto& starts = lexicon.firstIndexByLength();
      if (length < static_cast<int>(starts.size())) {
        for (EntryIndex e = starts[static_cast<std::size_t>(length)]; e < lexicon.wordCount() && lexicon.entry(e).length == length; ++e) {
          everyWord.push_back(e);
        }
      }
      lists.push_back(everyWord);
    }
  }

  // 4. Every word of the lists that fits the line and the rack.
  Move move;
  move.column = column;
  move.row = row;
  move.direction = direction;
  move.strategy = game.strategies[static_cast<std::size_t>(mover)];
  int rackCounts[kCodeSlots];
  for (int code = 0; code < kCodeSlots; ++code) rackCounts[code] = code == r.blankCode ? 0 : rack[code];
  const bool wasGenerating = game.generating;
  game.generating = true;
  for (const auto list : lists) {
    for (const EntryIndex e : list) {
      const WordEntry& entry = lexicon.entry(e);
      if (entry.length != length || (entry.letterMask & unavailable) != 0) continue;
      if (entry.wordClass == kClassPhony && !(game.phonyPlay && entry.length >= game.minPhonyLength)) continue;
      const char* text = lexicon.text(e);
      bool fits = true, phonyCross = false;
      int needed[kCodeSlots] = {};
      int missing = 0;
      for (int k = 0; k < length && fits; ++k) {
        const int code = codeOfLetter(text[k]);
        if (line.fixed[k] != kHole && line.fixed[k] != code) fits = false;
        if (!fits || !line.empty[k]) continue;
        const Square* s = line.squares[k];
        if (s->hasCrossNeighbours[direction]) {
          if (!((s->crossSet[direction] >> code) & 1)) fits = false;
          if (game.phonyPlay && ((s->phonySet[direction] >> code) & 1)) phonyCross = true;
        }
        if (++needed[code] > rackCounts[code]) ++missing;
      }
      if (!fits || missing > blanks) continue;
      if (isBarredFor(game, mover, text)) continue;
      move.word = text;
      move.wordClass = entry.wordClass;
      move.phonyCross = phonyCross;
      BlankChoices(game, line, text, move, rackCounts, blanks, bestOnly).run();
    }
  }
  game.generating = wasGenerating;
}

}  // namespace pexil
