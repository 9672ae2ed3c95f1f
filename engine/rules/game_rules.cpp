#include "rules/game_rules.hpp"

#include <algorithm>

#include "rules/builtin_kinds.hpp"
#include "rules/game_definitions.hpp"

namespace pexil {

GameRules activeRules;

void setAlphabetCounts(int alphabet) {
  const AlphabetCounts counts = alphabetCounts(alphabet);
  GameRules& r = rules();
  r.codeCount = counts.codeCount;
  r.letterCount = counts.letterCount;
  r.blankCode = counts.blankCode;
}

const GameType* activeGameType() {
  const GameRules& r = rules();
  if (r.gameKind != kKindDefined || r.gameTypeIndex < 0 || r.gameTypeIndex >= gameTypeCount()) return nullptr;
  return &gameType(r.gameTypeIndex);
}

bool activateGameType(int kind, int index) {
  if (kind < kKindStandard || kind > kKindDefined) return false;
  if (kind == kKindDefined && (index < 0 || index >= gameTypeCount())) return false;
  GameRules& r = rules();
  r.gameKind = kind;
  r.gameTypeIndex = kind == kKindDefined ? index : -1;
  r.blankSlots = 8;
  r.codeCount = 27;
  r.letterCount = 26;
  r.blankCode = 26;
  r.rackSize = 7;
  r.startColumn = 7;
  r.startRow = 7;
  r.tileTotal = 100;
  r.width = r.height = r.maxSide = 15;
  r.minTilesExchange = 7;

  switch (kind) {
    case kKindDefined: {
      const GameType& g = gameType(index);
      r.rackSize = g.rackSize;
      r.startColumn = g.startColumn;
      r.startRow = g.startRow;
      r.width = g.width;
      r.height = g.height;
      r.maxSide = std::max(g.width, g.height);
      r.tileTotal = g.tileTotal();
      r.letterValue = g.tileValue;
      r.bingoBonus = g.bingoBonus;
      r.minTilesExchange = g.minTilesExchange;
      setAlphabetCounts(g.alphabet);
      return true;
    }
    case kKindAlternative:
      r.letterValue = builtin::alternativeValues;
      r.bingoBonus = 35;
      return true;
    case kKindSuper:
      r.letterValue = builtin::standardValues;
      r.bingoBonus = 50;
      r.width = r.height = r.maxSide = 21;
      r.startColumn = r.startRow = 10;
      r.tileTotal = 200;
      return true;
    case kKindHundredfold:
      r.letterValue = builtin::standardValues;
      r.bingoBonus = 50;
      r.tileTotal = 10000;
      return true;
    case kKindFrench:
      r.letterValue = builtin::frenchValues;
      r.bingoBonus = 50;
      r.tileTotal = 102;
      return true;
    default:  // standard, anagram and no-bonus kinds
      r.letterValue = builtin::standardValues;
      r.bingoBonus = 50;
      return true;
  }
}

SquareType builtInSquareType(int kind, int row, int column) {
  switch (kind) {
    case kKindAlternative: return builtin::alternativeBoard(row, column);
    case kKindSuper: return builtin::superBoard(row, column);
    case kKindNoBonus: return square::plain;
    default: return builtin::standardBoard(row, column);
  }
}

SquareType squareType(int row, int column) {
  if (const GameType* g = activeGameType()) return g->squareTypeAt(row, column);
  return builtInSquareType(rules().gameKind, row, column);
}

int squareColor(int row, int column) {
  if (const GameType* g = activeGameType()) {
    const int symbol = g->symbolIndexAt(row, column);
    if (symbol >= 0 && symbol < static_cast<int>(g->squareColors.size())) {
      return g->squareColors[static_cast<std::size_t>(symbol)];
    }
  }
  return defaultSquareColor(squareType(row, column));
}

int typeColor(SquareType type) {
  if (const GameType* g = activeGameType()) {
    for (std::size_t i = 0; i < g->squareTypes.size(); ++i) {
      if (g->squareTypes[i] == type) return g->squareColors[i];
    }
  }
  return defaultSquareColor(type);
}

char squarePrintChar(int row, int column) {
  if (const GameType* g = activeGameType()) {
    const int symbol = g->symbolIndexAt(row, column);
    if (symbol >= 0 && symbol < static_cast<int>(g->squareSymbols.size())) {
      return g->squareSymbols[static_cast<std::size_t>(symbol)];
    }
    return '.';
  }
  return builtInPrintChar(squareType(row, column));
}

int letterValue(char letter, bool isBlank) {
  const GameRules& r = rules();
  if (isBlank) {
    const GameType* g = activeGameType();
    return g ? g->tileValue[static_cast<std::size_t>(r.blankCode)] : 0;
  }
  const int code = codeOfLetter(letter);
  return code >= 0 && code < kCodeSlots ? r.letterValue[static_cast<std::size_t>(code)] : 0;
}

int tileCount(LetterCode code) {
  if (code < 0 || code >= kCodeSlots) return 0;
  const auto i = static_cast<std::size_t>(code);
  switch (rules().gameKind) {
    case kKindSuper: return builtin::largeSetCounts[i];
    case kKindHundredfold: return builtin::standardCounts[i] * 100;
    case kKindFrench: return builtin::frenchCounts[i];
    case kKindDefined: {
      const GameType* g = activeGameType();
      return g ? g->tileCount[i] : 0;
    }
    default: return builtin::standardCounts[i];
  }
}

bool anagramRule() {
  if (rules().gameKind == kKindAnagram) return true;
  const GameType* g = activeGameType();
  return g && g->anagrams;
}

bool openRacks() {
  const GameType* g = activeGameType();
  return g && g->openRacks;
}

bool letteredRows() {
  const GameType* g = activeGameType();
  return g && g->letteredRows;
}

bool senyorsRule() {
  const GameType* g = activeGameType();
  return g && g->senyors;
}

bool hasStandardTileSet() {
  const GameRules& r = rules();
  if (wordListAlphabet() != kAlphabetEnglish) return true;
  if (r.letterCount != 26 || r.bingoBonus != 50) return false;
  for (int code = 0; code < 26; ++code) {
    const auto i = static_cast<std::size_t>(code);
    if (r.letterValue[i] != builtin::standardValues[i] || tileCount(code) != builtin::standardCounts[i]) return false;
  }
  return true;
}

bool hasStandardBoard() {
  const GameRules& r = rules();
  if (r.width != 15 || r.height != 15) return false;
  for (int row = 0; row < 15; ++row) {
    for (int column = 0; column < 15; ++column) {
      if (squareType(row, column) != builtin::standardBoard(row, column)) return false;
    }
  }
  return true;
}

bool isStandardGame() {
  if (rules().gameKind == kKindStandard) return true;
  return hasStandardTileSet() && hasStandardBoard() && !anagramRule();
}

bool boardIsSymmetric() {
  const GameRules& r = rules();
  if (r.width != r.height) return false;
  for (int row = 0; row < r.height; ++row) {
    for (int column = 0; column < row; ++column) {
      if (squareType(row, column) != squareType(column, row)) return false;
    }
  }
  return true;
}

const std::string& standardBag(int alphabet) {
  static const std::string bags[kAlphabetCount] = {
      // English
      "AAAAAAAAABBCCDDDDEEEEEEEEEEEEFFGGGHHIIIIIIIIIJKLLLLMMNNNNNNOOOOOOOOPPQRRRRRRSSSSTTTTTTUUUUVVWWXYYZ??",
      // Spanish: 3 is RR, 2 is LL, 1 is CH
      "AAAAAAAAAAAABBCCCCDDDDDEEEEEEEEEEEEFGGHHIIIIIIJ3LLLLMMNNNNNOOOOOOOOOPPQRRRRRSSSSSSTTTTUUUUUV2XYZ\xD1" "1??",
      // Danish
      "AAAAAAABBBBCCDDDDDEEEEEEEEEFFFGGGHHIIIIJJKKKKLLLLLMMMNNNNNNOOOOOPPRRRRRRSSSSSTTTTTUUUVVVXYYZ\xC6\xC6\xD8\xD8\xC5\xC5??",
      // French
      "AAAAAAAAABBCCDDDEEEEEEEEEEEEEEEFFGGHHIIIIIIIIJKLLLLLMMMNNNNNNOOOOOOPPQRRRRRRSSSSSSTTTTTTUUUUUUVVWXYZ??",
      // German
      "AAAAABBCCDDDDEEEEEEEEEEEEEEEFFGGGHHHHIIIIIIJKKLLLMMMMNNNNNNNNNOOOPQRRRRRRSSSSSSSTTTTTTUUUUUUVWXYZ\xC4\xD6\xDC??",
      // Italian
      "AAAAAAAAAAAAAABBBCCCCCCDDDEEEEEEEEEEEFFFGGHHIIIIIIIIIIIILLLLLMMMMMNNNNNOOOOOOOOOOOOOOOPPPQRRRRRRSSSSSSTTTTTTUUUUUVVVZZ??",
      // Latin uses the English bag
      "AAAAAAAAABBCCDDDDEEEEEEEEEEEEFFGGGHHIIIIIIIIIJKLLLLMMNNNNNNOOOOOOOOPPQRRRRRRSSSSTTTTTTUUUUVVWWXYYZ??",
      // Catalan: K, Q, W and Y stand for Ç, QU, L·L and NY
      "AAAAAAAAAAAABBCCCDDDEEEEEEEEEEEEEFGGHIIIIIIIIJKLLLLMMMNNNNNNOOOOOPPQRRRRRRRRSSSSSSSSTTTTTUUUUVWXYZ??",
      // Swedish
      "AAAAAAAABBCDDDDDEEEEEEEFFGGGHHIIIIIJKKKLLLLLMMMNNNNNNOOOOOPPRRRRRRRRSSSSSSSSTTTTTTTTUUUVVXYZ\xC4\xC4\xD6\xD6\xC5\xC5??",
  };
  return bags[alphabet >= 0 && alphabet < kAlphabetCount ? alphabet : 0];
}

}  // namespace pexil
