#include "files/gcg_tiles.hpp"

#include <array>

#include "movegen/move_line.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"

namespace pexil {
namespace {

constexpr std::size_t kMostReadings = 64;
// Steps the search for an arrangement of single letters may take before
// it settles for tile-code order.
constexpr int kArrangementSteps = 4096;

struct MultiLetterTile {
  std::string text;  // upper case
  int code = 0;
};

// The multi-letter tiles of the word-list alphabet.
std::vector<MultiLetterTile> multiLetterTiles() {
  std::vector<MultiLetterTile> tiles;
  const GameRules& r = rules();
  for (int code = 0; code < r.letterCount && code < kCodeSlots; ++code) {
    if (code == r.blankCode) continue;
    std::string text = tileDisplayText(code);
    if (text.size() > 1) tiles.push_back({std::move(text), code});
  }
  return tiles;
}

std::string singleText(int code) { return code == rules().blankCode ? std::string("?") : tileDisplayText(code); }

// Whether two single letters side by side spell a multi-letter tile.
bool spellsTile(const std::vector<MultiLetterTile>& multi, const std::string& pair) {
  for (const MultiLetterTile& tile : multi) {
    if (latin1Upper(pair) == tile.text) return true;
  }
  return false;
}

// Orders the single letters so that no two neighbours spell a multi-letter
// tile: a depth-first search over the letters left, in tile-code order,
// within a step budget.
class Arrangement {
 public:
  Arrangement(const std::vector<MultiLetterTile>& multi, LetterCounts singles)
      : multi_(multi), left_(singles) {}

  std::string find() {
    std::string text;
    const int total = left_.total();
    if (total > 0 && search(-1, total, text)) return text;
    // No such order (or none found soon enough): tile-code order.
    text.clear();
    for (int code = 0; code < kCodeSlots; ++code) {
      for (int k = 0; k < left_[code]; ++k) text += singleText(code);
    }
    return text;
  }

 private:
  bool search(int previous, int remaining, std::string& text) {
    if (remaining == 0) return true;
    if (++steps_ > kArrangementSteps) return false;
    for (int code = 0; code < kCodeSlots; ++code) {
      if (left_[code] <= 0) continue;
      const std::string piece = singleText(code);
      if (previous >= 0 && spellsTile(multi_, singleText(previous) + piece)) continue;
      --left_[code];
      text += piece;
      if (search(code, remaining - 1, text)) {
        ++left_[code];
        return true;
      }
      text.resize(text.size() - piece.size());
      ++left_[code];
      if (steps_ > kArrangementSteps) return false;
    }
    return false;
  }

  const std::vector<MultiLetterTile>& multi_;
  LetterCounts left_;
  int steps_ = 0;
};

// The code of one character read as a tile, or -1.
int singleCode(char c) {
  if (c == '?') return rules().blankCode;
  const int alphabet = wordListAlphabet();
  // Earlier records wrote Spanish multi-letter tiles as digits.
  if (alphabet == kAlphabetSpanish && (c == '1' || c == '2' || c == '3')) return codeOfLetter(c);
  if (!latin1IsLetter(c) || !gcgLetterInGame(c)) return -1;
  return codeOfLetter(c);
}

void collectReadings(std::string_view text, std::size_t at, const std::vector<MultiLetterTile>& multi,
                     LetterCounts& current, std::vector<LetterCounts>& out) {
  if (out.size() >= kMostReadings) return;
  if (at == text.size()) {
    out.push_back(current);
    return;
  }
  auto take = [&](int code, std::size_t length) {
    ++current[code];
    ++current[kTotalSlot];
    collectReadings(text, at + length, multi, current, out);
    --current[code];
    --current[kTotalSlot];
  };
  for (const MultiLetterTile& tile : multi) {
    if (text.size() - at >= tile.text.size() && latin1Upper(text.substr(at, tile.text.size())) == tile.text) {
      take(tile.code, tile.text.size());
    }
  }
  const int code = singleCode(text[at]);
  if (code >= 0 && code < kCodeSlots) take(code, 1);
}

}  // namespace

bool gcgLetterInGame(char letter) {
  const int code = codeOfLetter(letter);
  if (code < 0 || code >= rules().letterCount) return false;
  const char lower = latin1Lower(letter);
  switch (wordListAlphabet()) {
    case kAlphabetSpanish:
      // K and W share codes with the double tiles; they are no Spanish tiles.
      return lower != 'k' && lower != 'w';
    case kAlphabetDanish: return lower != 'q' && lower != 'w';
    default: return true;
  }
}

std::string gcgTilesText(const LetterCounts& tiles) {
  const std::vector<MultiLetterTile> multi = multiLetterTiles();
  std::string text;
  LetterCounts singles = tiles;
  for (const MultiLetterTile& tile : multi) {
    for (int k = 0; k < tiles[tile.code]; ++k) text += tile.text;
    singles[kTotalSlot] -= singles[tile.code];
    singles[tile.code] = 0;
  }
  if (multi.empty()) {
    for (int code = 0; code < kCodeSlots; ++code) {
      for (int k = 0; k < tiles[code]; ++k) text += singleText(code);
    }
    return text;
  }
  return text + Arrangement(multi, singles).find();
}

std::vector<LetterCounts> gcgTileReadings(std::string_view text) {
  std::vector<LetterCounts> readings;
  LetterCounts current;
  collectReadings(text, 0, multiLetterTiles(), current, readings);
  return readings;
}

}  // namespace pexil
