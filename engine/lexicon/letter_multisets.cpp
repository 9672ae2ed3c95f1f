#include "lexicon/letter_multisets.hpp"

#include "lexicon/lexicon.hpp"

namespace pexil {

LetterMultisets::LetterMultisets(const Lexicon& lexicon) {
  // At most half full, so that a miss ends after a probe or two.
  std::size_t size = 16;
  while (size < 2 * static_cast<std::size_t>(lexicon.wordCount())) size *= 2;
  slots_.assign(size, 0);
  mask_ = size - 1;
  for (EntryIndex i = 0; i < lexicon.wordCount(); ++i) {
    std::uint64_t key = 0;
    for (const char c : lexicon.textView(i)) key += letterKey(codeOfLetter(c));
    const std::uint32_t print = fingerprint(key);
    for (std::uint64_t slot = key & mask_;; slot = (slot + 1) & mask_) {
      if (slots_[slot] == print) break;
      if (slots_[slot] == 0) {
        slots_[slot] = print;
        break;
      }
    }
  }
}

bool LetterMultisets::contains(std::uint64_t key) const {
  const std::uint32_t print = fingerprint(key);
  for (std::uint64_t slot = key & mask_;; slot = (slot + 1) & mask_) {
    if (slots_[slot] == print) return true;
    if (slots_[slot] == 0) return false;
  }
}

}  // namespace pexil
