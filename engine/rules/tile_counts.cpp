#include "rules/tile_counts.hpp"

#include "rules/game_rules.hpp"
#include "rules/random.hpp"

namespace pexil {
namespace {

bool isCode(int code) { return code >= 0 && code < kCodeSlots; }

}  // namespace

void fillWell(Well& well) {
  const GameRules& r = rules();
  well = Well{};
  for (int code = 0; code < r.codeCount && code < kCodeSlots; ++code) well[code] = tileCount(code);
  well[kTotalSlot] = r.tileTotal;
}

void drawTiles(Rack& rack, Well& well, int upTo, GameRandom* game) {
  const int codeCount = rules().codeCount;
  while (well.total() > 0 && rack.total() < upTo) {
    int a = game ? game->next() : randomNonNegative();
    a %= well.total();
    for (int code = 0; code < codeCount && code < kCodeSlots; ++code) {
      a -= well[code];
      if (a < 0) {
        --well[code];
        --well[kTotalSlot];
        ++rack[code];
        ++rack[kTotalSlot];
        break;
      }
    }
    // A well whose counts do not add up to its total (a caller's fault)
    // must not loop for ever.
    if (a >= 0) break;
  }
}

int dealRack(Rack& rack, Well& well, GameRandom* game) {
  rack = Rack{};
  const int tag = nextPreDrawn() % 8;
  drawTiles(rack, well, rules().rackSize, game);
  return tag;
}

void returnAll(Well& well, Rack& rack) {
  for (int code = 0; code < kCodeSlots; ++code) well[code] += rack[code];
  well[kTotalSlot] += rack.total();
  rack = Rack{};
}

int addLetters(Rack& rack, std::string_view text, Well* well) {
  int added = 0;
  for (char c : text) {
    const int code = codeOfTile(c);
    if (!isCode(code)) continue;
    ++rack[code];
    ++rack[kTotalSlot];
    if (well) {
      --(*well)[code];
      --(*well)[kTotalSlot];
    }
    ++added;
  }
  return added;
}

int removeLetter(LetterCounts& counts, char letter) {
  const int code = codeOfTile(letter);
  if (!isCode(code)) return -1;
  --counts[code];
  --counts[kTotalSlot];
  return code;
}

std::optional<std::string> countsToText(const LetterCounts& counts, int capacity) {
  if (counts.total() > capacity) return std::nullopt;
  std::string text;
  const int blank = rules().blankCode;
  for (int code = 0; code < kCodeSlots; ++code) {
    for (int n = 0; n < counts[code] && static_cast<int>(text.size()) < capacity; ++n) {
      text.push_back(code == blank ? '?' : charOfUpper(code));
    }
  }
  return text;
}

bool allNonNegative(const LetterCounts& counts) {
  const int codeCount = rules().codeCount;
  for (int code = 0; code < codeCount && code < kCodeSlots; ++code) {
    if (counts[code] < 0) return false;
  }
  return true;
}

int rackValue(const LetterCounts& counts) {
  const GameRules& r = rules();
  int value = 0;
  for (int code = 0; code < r.letterCount && code < kCodeSlots; ++code) value += counts[code] * r.letterValue[static_cast<std::size_t>(code)];
  if (const GameType* g = activeGameType()) value += counts[r.blankCode] * g->tileValue[static_cast<std::size_t>(r.blankCode)];
  return value;
}

int vowelCount(const LetterCounts& counts) {
  const int letterCount = rules().letterCount;
  int vowels = 0;
  for (int code = 0; code < letterCount && code < kCodeSlots; ++code) {
    if (counts[code] > 0 && isVowel(charOfLower(code))) vowels += counts[code];
  }
  return vowels;
}

}  // namespace pexil
