#include "lexicon/letter_multisets.hpp"

#include <algorithm>

#include "lexicon/lexicon.hpp"

namespace pexil {

LetterMultisets::LetterMultisets(const Lexicon& lexicon) {
  // The words as the trie holds them (a repeated text once, as the entry
  // its node names), each with the sum of its letter keys.
  struct Found {
    std::uint64_t key;
    EntryIndex entry;
  };
  std::vector<Found> found;
  found.reserve(static_cast<std::size_t>(lexicon.wordCount()));
  if (lexicon.trieNodeCount() > 0) {
    struct Step {
      NodeIndex node;
      std::uint64_t key;
    };
    std::vector<Step> stack{{Lexicon::trieRoot, 0}};
    while (!stack.empty()) {
      const Step step = stack.back();
      stack.pop_back();
      const EntryIndex word = lexicon.nodeWord(step.node);
      if (word != kNoEntry) found.push_back({step.key, word});
      for (std::uint32_t codes = lexicon.childMask(step.node); codes; codes &= codes - 1) {
        const int code = __builtin_ctz(codes);
        stack.push_back({lexicon.child(step.node, code), step.key + letterKey(code)});
      }
    }
  }

  // At most half full, so that a miss ends after a probe or two.
  std::size_t size = 16;
  while (size < 2 * found.size()) size *= 2;
  slots_.assign(size + 1, Slot{});
  filter_.assign(kFilterBits / 64, 0);
  mask_ = size - 1;
  std::vector<std::uint32_t> slotOf(found.size());
  std::vector<std::uint32_t> counts(size + 1, 0);
  for (std::size_t i = 0; i < found.size(); ++i) {
    const std::uint64_t key = found[i].key;
    const std::uint32_t print = fingerprint(key);
    std::uint64_t slot = key & mask_;
    for (; slots_[slot].print != print; slot = (slot + 1) & mask_) {
      if (slots_[slot].print == 0) {
        slots_[slot].print = print;
        break;
      }
    }
    slotOf[i] = static_cast<std::uint32_t>(slot);
    const std::uint64_t bit = filterBit(key);
    filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    counts[slot + 1] += static_cast<std::uint32_t>(sizeof(EntryIndex) + 1 + lexicon.entry(found[i].entry).length);
  }
  // The words of each slot together, in entry order.
  for (std::size_t slot = 0; slot < size; ++slot) counts[slot + 1] += counts[slot];
  for (std::size_t slot = 0; slot <= size; ++slot) slots_[slot].first = counts[slot];
  stream_.assign(counts[size], 0);
  std::vector<std::size_t> order(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return found[a].entry < found[b].entry; });
  for (const std::size_t i : order) {
    std::uint8_t* p = stream_.data() + counts[slotOf[i]];
    const std::string_view text = lexicon.textView(found[i].entry);
    std::memcpy(p, &found[i].entry, sizeof(EntryIndex));
    p[sizeof(EntryIndex)] = static_cast<std::uint8_t>(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
      p[sizeof(EntryIndex) + 1 + k] = static_cast<std::uint8_t>(codeOfLetter(text[k]) & 31);
    }
    counts[slotOf[i]] += static_cast<std::uint32_t>(sizeof(EntryIndex) + 1 + text.size());
  }
}

bool LetterMultisets::contains(std::uint64_t key) const { return slotOf(key) != kNoSlot; }

std::uint64_t LetterMultisets::slotOf(std::uint64_t key) const {
  const std::uint64_t bit = filterBit(key);
  if (!((filter_[bit / 64] >> (bit % 64)) & 1)) return kNoSlot;
  const std::uint32_t print = fingerprint(key);
  for (std::uint64_t slot = key & mask_;; slot = (slot + 1) & mask_) {
    if (slots_[slot].print == print) return slot;
    if (slots_[slot].print == 0) return kNoSlot;
  }
}

}  // namespace pexil
