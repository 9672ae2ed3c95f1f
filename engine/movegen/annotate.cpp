// Board annotation for generation, and the placement shape test.
#include <cstdint>

#include "movegen/generator.hpp"
#include "rules/game_rules.hpp"

namespace pexil {
namespace {

// The squares of a line as seen from one direction of play: along is the
// direction of play, across the perpendicular one.
struct Axis {
  int direction;  // 0: words run across, cross-words down
  int stepColumn(int k) const { return direction == kAcross ? k : 0; }
  int stepRow(int k) const { return direction == kAcross ? 0 : k; }
};

// Walks the trie along text; kNoNode when the path breaks.
NodeIndex walkCodes(const Lexicon& lexicon, NodeIndex node, const int* codes, int count) {
  for (int i = 0; i < count && node != kNoNode; ++i) node = lexicon.child(node, codes[i]);
  return node;
}

// What annotating a square needs besides the board.
struct AnnotationContext {
  const Game& game;
  const Lexicon& lexicon;
  std::uint32_t allLetters;
  int letterCount;
  bool barred;
  bool anagrams;
  std::string text;  // scratch for the anagram rule and barred words
};

// A square's annotation for play in direction d, worked out from the
// tiles beside it along the cross direction (a board with tiles).
void annotateSquare(Board& board, AnnotationContext& context, int column, int row, int d) {
  Square& s = *squareAt(board, column, row);
  s.crossSet[d] = context.allLetters;
  s.phonySet[d] = 0;
  s.hasCrossNeighbours[d] = 0;
  s.noLetterFits[d] = 0;
  s.onlyLetter[d] = 0;
  s.fitCount[d] = 0;
  if (!s.usable) {
    s.crossSet[d] = 0;
    s.noLetterFits[d] = 1;
    return;
  }
  if (!s.empty()) return;
  // Playing in direction d, the cross-word runs in the other direction.
  const Axis cross{1 - d};
  int nBefore = 0, nAfter = 0;
  for (int k = 1;; ++k) {
    const Square* t = squareAt(board, column - cross.stepColumn(k), row - cross.stepRow(k));
    if (!t || t->empty()) break;
    if (nBefore < kMaxWordLength) ++nBefore;
  }
  for (int k = 1;; ++k) {
    const Square* t = squareAt(board, column + cross.stepColumn(k), row + cross.stepRow(k));
    if (!t || t->empty()) break;
    if (nAfter < kMaxWordLength) ++nAfter;
  }
  if (nBefore == 0 && nAfter == 0) return;
  s.hasCrossNeighbours[d] = 1;
  int before[kMaxWordLength], after[kMaxWordLength];
  for (int k = 0; k < nBefore; ++k) {
    const Square* t = squareAt(board, column - cross.stepColumn(nBefore - k), row - cross.stepRow(nBefore - k));
    before[k] = codeOfLetter(t->letter);
  }
  for (int k = 0; k < nAfter; ++k) {
    const Square* t = squareAt(board, column + cross.stepColumn(k + 1), row + cross.stepRow(k + 1));
    after[k] = codeOfLetter(t->letter);
  }
  const Lexicon& lexicon = context.lexicon;
  std::string& text = context.text;
  const auto spell = [&](int letter) {
    text.clear();
    for (int k = 0; k < nBefore; ++k) text.push_back(charOfLower(before[k]));
    text.push_back(charOfLower(letter));
    for (int k = 0; k < nAfter; ++k) text.push_back(charOfLower(after[k]));
  };
  const int length = nBefore + 1 + nAfter;
  std::uint32_t fits = 0, phony = 0;
  const NodeIndex prefix = context.anagrams ? kNoNode : walkCodes(lexicon, Lexicon::trieRoot, before, nBefore);
  for (int letter = 0; letter < context.letterCount; ++letter) {
    EntryIndex entry = kNoEntry;
    if (context.anagrams) {
      // Under the anagram rule the letters need only form some word.
      spell(letter);
      if (!lexicon.hasAnagram(text)) continue;
      entry = lexicon.findAnagramWord(text);
      if (entry == kNoEntry) continue;
    } else {
      if (prefix == kNoNode) break;
      NodeIndex node = lexicon.child(prefix, letter);
      if (node == kNoNode) continue;
      node = walkCodes(lexicon, node, after, nAfter);
      if (node == kNoNode) continue;
      entry = lexicon.nodeWord(node);
      if (entry == kNoEntry) continue;
    }
    const bool isPhony = lexicon.entry(entry).wordClass == kClassPhony;
    if (isPhony && length < board.phonyLengthLimit) continue;
    if (context.barred) {
      spell(letter);
      if (isBarredFor(context.game, context.game.toMove, text)) continue;
    }
    fits |= 1u << letter;
    if (isPhony) phony |= 1u << letter;
  }
  s.crossSet[d] = fits;
  s.phonySet[d] = phony;
  const int count = __builtin_popcount(fits);
  s.fitCount[d] = count;
  s.onlyLetter[d] = count == 1 ? charOfLower(__builtin_ctz(fits)) : 0;
  s.noLetterFits[d] = count == 0;
}

AnnotationContext contextFor(const Game& game, const Lexicon& lexicon, bool withBarredWords) {
  const GameRules& r = rules();
  const bool barred = withBarredWords && game.restrictedPlayer >= 0 && game.restrictedPlayer == game.toMove &&
                      !game.barredWords.empty();
  return AnnotationContext{game, lexicon, r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u, r.letterCount,
                           barred, anagramRule(), {}};
}

}  // namespace

void AnnotateBoard(Board& board, const Game& game, bool withBarredWords) {
  const GameRules& r = rules();
  const Lexicon* lexicon = board.lexicon ? board.lexicon : game.lexicon.get();
  const bool anyTile = !boardIsEmpty(board);
  if (anyTile && lexicon != nullptr) {
    AnnotationContext context = contextFor(game, *lexicon, withBarredWords);
    for (int row = 0; row < board.height; ++row) {
      for (int column = 0; column < board.width; ++column) {
        for (int d = 0; d < 2; ++d) annotateSquare(board, context, column, row, d);
      }
    }
    return;
  }
  // No tiles (or no word list): no cross-words anywhere.
  const std::uint32_t allLetters = r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u;
  for (Square& s : board.squares) {
    for (int d = 0; d < 2; ++d) {
      s.crossSet[d] = s.usable ? allLetters : 0;
      s.phonySet[d] = 0;
      s.hasCrossNeighbours[d] = 0;
      s.noLetterFits[d] = s.usable ? 0 : 1;
      s.onlyLetter[d] = 0;
      s.fitCount[d] = 0;
    }
  }
  if (anyTile) return;
  // An empty board: only the start square is an anchor.
  if (Square* start = squareAt(board, r.startColumn, r.startRow); start && start->usable) {
    for (int d = 0; d < 2; ++d) {
      start->hasCrossNeighbours[d] = 1;
      start->fitCount[d] = r.letterCount;
    }
  }
}

void prepareBoard(Game& game) {
  game.board.lexicon = game.lexicon.get();
  game.board.phonyLengthLimit = game.phonyPlay ? game.minPhonyLength : 999;
  AnnotateBoard(game.board, game, false);
}

bool BoardReadyForUpdate(const Game& game) {
  return game.restrictedPlayer < 0 && game.lexicon && game.board.lexicon == game.lexicon.get() &&
         game.board.phonyLengthLimit == (game.phonyPlay ? game.minPhonyLength : 999) && !boardIsEmpty(game.board);
}

void UpdateBoardAfterPlacement(Game& game, const Move& move) {
  Board& board = game.board;
  AnnotationContext context = contextFor(game, *game.lexicon, false);
  const int length = static_cast<int>(move.wordView().size());
  const int dc = move.direction == kAcross ? 1 : 0, dr = 1 - dc;
  // Only the squares at the ends of a line of tiles through a new tile
  // see a new cross-word: along the word, its two ends; across it, the ends
  // of each tile's column (or row) of tiles.
  const auto updateEnds = [&](int column, int row, int stepColumn, int stepRow) {
    const int d = stepColumn != 0 ? kDown : kAcross;  // the play direction whose cross-words run this way
    for (int sign = -1; sign <= 1; sign += 2) {
      int c = column, r = row;
      for (;;) {
        c += sign * stepColumn;
        r += sign * stepRow;
        const Square* s = squareAt(board, c, r);
        if (!s) break;
        if (s->empty()) {
          annotateSquare(board, context, c, r, d);
          break;
        }
      }
    }
  };
  for (int i = 0; i < length; ++i) {
    const int column = move.column + dc * i, row = move.row + dr * i;
    if (!squareAt(board, column, row)) continue;
    for (int d = 0; d < 2; ++d) annotateSquare(board, context, column, row, d);
    updateEnds(column, row, dr, dc);
  }
  updateEnds(move.column, move.row, dc, dr);
}

bool PlacementFits(const Board& board, int column, int row, int length, int direction) {
  const int dc = direction == kAcross ? 1 : 0, dr = 1 - dc;
  if (length < 1) return false;
  const Square* before = squareAt(board, column - dc, row - dr);
  if (before && !before->empty()) return false;
  bool touches = false;
  for (int k = 0; k < length; ++k) {
    const Square* s = squareAt(board, column + dc * k, row + dr * k);
    if (!s || !s->usable) return false;
    touches = touches || !s->empty() || (s->hasCrossNeighbours[direction] && !s->noLetterFits[direction]);
  }
  const Square* after = squareAt(board, column + dc * length, row + dr * length);
  return touches && (!after || after->empty());
}

}  // namespace pexil
