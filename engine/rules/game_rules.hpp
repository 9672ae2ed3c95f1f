// The active rules: the one record that every part of the engine reads for
// board size, rack size, letter values and the like. Rewritten by every
// activation of a game kind or game type.
#pragma once

#include <array>
#include <string>

#include "rules/game_type.hpp"
#include "rules/letter_codes.hpp"
#include "rules/square_types.hpp"

namespace pexil {

// Game kinds 0..6 are built in; kind 7 is a game type of game.definitions.
enum GameKind : int {
  kKindStandard = 0,
  kKindAlternative = 1,
  kKindAnagram = 2,
  kKindSuper = 3,
  kKindHundredfold = 4,
  kKindNoBonus = 5,
  kKindFrench = 6,
  kKindDefined = 7,
};

struct GameRules {
  int codeCount = 27;
  int letterCount = 26;
  int blankCode = 26;
  // The most blank positions one move's evaluation records.
  int blankSlots = 2;
  int rackSize = 7;
  int bingoBonus = 50;
  int startColumn = 7;
  int startRow = 7;
  int tileTotal = 100;
  int width = 15;
  int height = 15;
  int maxSide = 15;
  // Standard English values until a game kind or type is activated.
  std::array<int, kCodeSlots> letterValue = {1, 3, 3, 2, 1, 4, 2, 4, 1, 8, 5, 1, 3, 1, 1, 3, 10, 1, 1, 1, 1, 4, 4, 8, 4, 10};
  int gameKind = kKindStandard;
  int gameTypeIndex = -1;
  int minTilesExchange = 7;

};

// The process-wide active rules.
extern GameRules activeRules;
inline GameRules& rules() { return activeRules; }

// The active rules and the loaded list's alphabet as they stand, to be put
// back after something else was in force for a while.
struct RulesInForce {
  GameRules rules = activeRules;
  int alphabet = wordListAlphabet();
  void restore() const {
    activeRules = rules;
    setWordListAlphabet(alphabet);
  }
};

// Fills the active rules for kind 0..6, or for kind 7 with game type
// `index` of the list. Returns false (changing nothing) for a kind outside
// 0..7 or an index that names no game type.
bool activateGameType(int kind, int index = -1);
// Sets codeCount, letterCount and blankCode from the alphabet table.
void setAlphabetCounts(int alphabet);

// The game type behind the active rules, or null for the built-in kinds.
const GameType* activeGameType();

// Queries on the active game.
SquareType squareType(int row, int column);
int squareColor(int row, int column);
int typeColor(SquareType type);
char squarePrintChar(int row, int column);
// Points of a tile written as a letter (either case); 0 for a character
// that is no letter code.
int letterValue(char letter, bool isBlank);
int tileCount(LetterCode code);
bool anagramRule();
bool openRacks();
bool letteredRows();
bool senyorsRule();
bool isStandardGame();
// The parts of the standard-game test: the standard English letter values
// and counts (passes at once for a word list in another language), and the
// standard 15x15 layout of bonus squares.
bool hasStandardTileSet();
bool hasStandardBoard();
bool boardIsSymmetric();

// Built-in tables, also used for the standard-game test.
SquareType builtInSquareType(int kind, int row, int column);
const std::string& standardBag(int alphabet);

}  // namespace pexil
