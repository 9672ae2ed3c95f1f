// Letter codes: each tile letter is a small integer 0..31 of the active
// alphabet. Text inside the program is Latin-1 with one character per tile;
// multi-letter tiles (Spanish CH LL RR, Catalan L·L NY QU Ç) use substitute
// characters.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "text/latin1.hpp"  // the case mapping callers of the letter codes use

namespace pexil {

using LetterCode = int;

// Per-letter arrays have this many entries; codes 30 and 31 are never used.
inline constexpr int kCodeSlots = 32;

enum Alphabet : int {
  kAlphabetEnglish = 0,
  kAlphabetSpanish = 1,
  kAlphabetDanish = 2,
  kAlphabetFrench = 3,
  kAlphabetGerman = 4,
  kAlphabetItalian = 5,
  kAlphabetLatin = 6,
  kAlphabetCatalan = 7,
  kAlphabetSwedish = 8,
};
inline constexpr int kAlphabetCount = 9;

struct AlphabetCounts {
  int letterCount;
  int blankCode;
  int codeCount;
};
// 26/26/27 for English, French, Italian, Latin, Catalan; 28/28/29 for
// Spanish; 29/29/30 for Danish, German, Swedish. Unknown alphabets count as
// English.
AlphabetCounts alphabetCounts(int alphabet);

// Character to code. Any character outside the table yields its offset from
// 'a' (or 'A'), which may be negative or above 31: callers range-check.
namespace detail {
extern const std::array<int, 256> lowerCodeMap;
extern const std::array<int, 256> upperCodeMap;
}  // namespace detail
inline LetterCode codeOfLower(char c) { return detail::lowerCodeMap[static_cast<unsigned char>(c)]; }
inline LetterCode codeOfUpper(char c) { return detail::upperCodeMap[static_cast<unsigned char>(c)]; }
// For racks and tile lines: '?' is the blank of the active rules; letters
// are read in either case (a rack has no blanks written in lower case).
LetterCode codeOfTile(char c);
// A tile letter in either case (board squares, words).
inline LetterCode codeOfLetter(char c) {
  return detail::lowerCodeMap[detail::latin1LowerMap[static_cast<unsigned char>(c)]];
}

// The alphabet of the loaded word list; it decides the reverse map, the
// conversion of typed multi-letter tiles and the vowels. Set by the lexicon
// when a list is loaded.
int wordListAlphabet();
void setWordListAlphabet(int alphabet);

// Code to character, by the word-list alphabet; the blank code of the
// active rules reads '?'.
char charOfUpper(LetterCode code);
char charOfLower(LetterCode code);

// Typed words: multi-letter tiles become their substitute characters
// (Spanish ch ll rr -> 1 2 3; Catalan l·l l.l l-l l=l -> w, ny -> y,
// qu -> q, ç -> k), by the word-list alphabet. A replacement keeps the case
// of the first letter it replaces.
std::string convertMultiLetter(std::string_view typed);

// Typed racks: a multi-letter tile may be written in parentheses, "(LL)",
// "(NY)"; Spanish accepts '4', Ñ and ñ for Ñ and rejects plain K and W;
// Danish rejects plain Q and W.
enum class RackTextError { none, unclosedParenthesis, unknownTile, letterNotInSet };
struct RackText {
  std::string tiles;  // one character per tile
  RackTextError error = RackTextError::none;
  std::string offending;  // the tile text that caused the error
};
RackText convertRackText(std::string_view typed);

// Vowels: a e i o u in either case; with a Danish, German or Swedish word
// list also the codes 26..28; with a Latin list also V. Never Y.
bool isVowel(char c);

}  // namespace pexil
