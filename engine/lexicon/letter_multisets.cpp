#include "lexicon/letter_multisets.hpp"

#include <array>

#include "lexicon/lexicon.hpp"

namespace pexil {
namespace {

// splitmix64: fixed, well-spread numbers, the same in every run.
constexpr std::array<std::uint64_t, 32> makeLetterKeys() {
  std::array<std::uint64_t, 32> keys{};
  std::uint64_t state = 0x5EED5EED12345678ull;
  for (std::uint64_t& key : keys) {
    state += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    key = z ^ (z >> 31);
  }
  return keys;
}

constexpr std::array<std::uint64_t, 32> kLetterKeys = makeLetterKeys();

}  // namespace

std::uint64_t LetterMultisets::letterKey(int code) { return kLetterKeys[static_cast<std::size_t>(code & 31)]; }

LetterMultisets::LetterMultisets(const Lexicon& lexicon) {
  // At most half full, so that a miss ends after a probe or two.
  std::size_t size = 16;
  while (size < 2 * static_cast<std::size_t>(lexicon.wordCount())) size *= 2;
  slots_.assign(size, 0);
  mask_ = size - 1;
  for (EntryIndex i = 0; i < lexicon.wordCount(); ++i) {
    std::uint64_t key = 0;
    for (const char c : lexicon.textView(i)) key += letterKey(codeOfLetter(c));
    if (key == 0) {
      hasZero_ = true;
      continue;
    }
    for (std::uint64_t slot = key & mask_;; slot = (slot + 1) & mask_) {
      if (slots_[slot] == key) break;
      if (slots_[slot] == 0) {
        slots_[slot] = key;
        break;
      }
    }
  }
}

bool LetterMultisets::contains(std::uint64_t key) const {
  if (key == 0) return hasZero_;
  for (std::uint64_t slot = key & mask_;; slot = (slot + 1) & mask_) {
    if (slots_[slot] == key) return true;
    if (slots_[slot] == 0) return false;
  }
}

}  // namespace pexil
