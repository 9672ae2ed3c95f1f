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

}  // namespace

void AnnotateBoard(Board& board, const Game& game, bool withBarredWords) {
  const GameRules& r = rules();
  const Lexicon* lexicon = board.lexicon ? board.lexicon : game.lexicon.get();
  const std::uint32_t allLetters = r.letterCount >= 32 ? ~0u : (1u << r.letterCount) - 1u;
  bool anyTile = false;
  for (Square& s : board.squares) {
    for (int d = 0; d < 2; ++d) {
      s.crossSet[d] = allLetters;
      s.phonySet[d] = 0;
      s.hasCrossNeighbours[d] = 0;
      s.noLetterFits[d] = 0;
      s.onlyLetter[d] = 0;
      s.fitCount[d] = 0;
    }
    anyTile = anyTile || !s.empty();
  }
  const bool barred = withBarredWords && game.restrictedPlayer >= 0 && game.restrictedPlayer == game.toMove &&
                      !game.barredWords.empty();
  const bool anagrams = anagramRule();

  if (!anyTile) {
    // An empty board: only the start square is an anchor.
    if (Square* start = squareAt(board, r.startColumn, r.startRow)) {
      for (int d = 0; d < 2; ++d) {
        start->hasCrossNeighbours[d] = 1;
        start->fitCount[d] = r.letterCount;
      }
    }
  } else if (lexicon != nullptr) {
    int before[kMaxWordLength], after[kMaxWordLength];
    std::string text;
    for (int d = 0; d < 2; ++d) {
      // Playing in direction d, the cross-word runs in the other direction.
      const Axis cross{1 - d};
      for (int row = 0; row < board.height; ++row) {
        for (int column = 0; column < board.width; ++column) {
          Square& s = *squareAt(board, column, row);
          if (!s.empty() || !s.usable) continue;
          // Tiles contiguous to the square along the cross direction.
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
          if (nBefore == 0 && nAfter == 0) continue;
          s.hasCrossNeighbours[d] = 1;
          for (int k = 0; k < nBefore; ++k) {
            const Square* t = squareAt(board, column - cross.stepColumn(nBefore - k), row - cross.stepRow(nBefore - k));
            before[k] = codeOfLetter(t->letter);
          }
          for (int k = 0; k < nAfter; ++k) {
            const Square* t = squareAt(board, column + cross.stepColumn(k + 1), row + cross.stepRow(k + 1));
            after[k] = codeOfLetter(t->letter);
          }
          const int length = nBefore + 1 + nAfter;
          std::uint32_t fits = 0, phony = 0;
          const NodeIndex prefix = anagrams ? kNoNode : walkCodes(*lexicon, Lexicon::trieRoot, before, nBefore);
          for (int letter = 0; letter < r.letterCount; ++letter) {
            EntryIndex entry = kNoEntry;
            if (anagrams) {
              // Under the anagram rule the letters need only form some word.
              text.clear();
              for (int k = 0; k < nBefore; ++k) text.push_back(charOfLower(before[k]));
              text.push_back(charOfLower(letter));
              for (int k = 0; k < nAfter; ++k) text.push_back(charOfLower(after[k]));
              if (!lexicon->hasAnagram(text)) continue;
              entry = lexicon->findAnagramWord(text);
              if (entry == kNoEntry) continue;
            } else {
              if (prefix == kNoNode) break;
              NodeIndex node = lexicon->child(prefix, letter);
              if (node == kNoNode) continue;
              node = walkCodes(*lexicon, node, after, nAfter);
              if (node == kNoNode) continue;
              entry = lexicon->nodeWord(node);
              if (entry == kNoEntry) continue;
            }
            const bool isPhony = lexicon->entry(entry).wordClass == kClassPhony;
            if (isPhony && length < board.phonyLengthLimit) continue;
            if (barred) {
              text.clear();
              for (int k = 0; k < nBefore; ++k) text.push_back(charOfLower(before[k]));
              text.push_back(charOfLower(letter));
              for (int k = 0; k < nAfter; ++k) text.push_back(charOfLower(after[k]));
              if (isBarredFor(game, game.toMove, text)) continue;
            }
            fits |= 1u << letter;
            if (isPhony) phony |= 1u << letter;
          }
          s.crossSet[d] = fits;
          s.phonySet[d] = phony;
        }
      }
    }
  }

  for (Square& s : board.squares) {
    if (!s.usable) {
      for (int d = 0; d < 2; ++d) {
        s.crossSet[d] = 0;
        s.phonySet[d] = 0;
        s.hasCrossNeighbours[d] = 0;
        s.noLetterFits[d] = 1;
      }
      continue;
    }
    for (int d = 0; d < 2; ++d) {
      if (!s.hasCrossNeighbours[d] || (!anyTile && s.fitCount[d] > 0)) continue;
      const int count = __builtin_popcount(s.crossSet[d]);
      s.fitCount[d] = count;
      s.onlyLetter[d] = count == 1 ? charOfLower(__builtin_ctz(s.crossSet[d])) : 0;
      s.noLetterFits[d] = count == 0;
    }
  }
}

void prepareBoard(Game& game) {
  game.board.lexicon = game.lexicon.get();
  game.board.phonyLengthLimit = game.phonyPlay ? game.minPhonyLength : 999;
  AnnotateBoard(game.board, game, false);
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
