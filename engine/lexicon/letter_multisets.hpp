// The letter multisets of a word list's words, as 64-bit sums of one
// random number per letter code, kept in an open-addressed hash table of
// 32-bit fingerprints (indexed by the sum's low bits, holding its high
// bits): whether some word is an anagram of a set of tiles is a probe or
// two, and a blank is tried as each letter by adding that letter's number.
// Different multisets meet only by chance (about one in 2^32 a probe); the
// answer is then "maybe", which the searches use only to skip work, never
// to accept a word. Each slot also lists its words (the word map the
// generator uses to find the plays of a rack subset without a walk).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pexil {

class Lexicon;
using EntryIndex = std::int32_t;

namespace detail {
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
inline constexpr std::array<std::uint64_t, 32> kLetterKeys = makeLetterKeys();
}  // namespace detail

class LetterMultisets {
 public:
  // The number added for one tile of the letter code (0..31).
  static std::uint64_t letterKey(int code) { return detail::kLetterKeys[static_cast<std::size_t>(code & 31)]; }

  explicit LetterMultisets(const Lexicon& lexicon);

  // Whether some word's letters sum to `key` (see letterKey).
  bool contains(std::uint64_t key) const;

  // A word of the map: its entry (the trie's entry for its text) and its
  // letter codes.
  struct Word {
    EntryIndex entry;
    int length;
    const std::uint8_t* codes;
  };

  // Calls visit(Word) for each word whose letters sum to `key`, in entry
  // order. By a fingerprint's chance meeting they may be words of another
  // multiset, so a caller checks the letters it relies on.
  template <class Visit>
  void forEachWord(std::uint64_t key, Visit&& visit) const {
    forEachWordIn(slotOf(key), visit);
  }

  // The same in two steps, so that a caller can fetch many keys' memory
  // at once: the slot of a key (kNoSlot for none), the words of a slot.
  static constexpr std::uint64_t kNoSlot = ~std::uint64_t{0};
  std::uint64_t slotOf(std::uint64_t key) const;
  template <class Visit>
  void forEachWordIn(std::uint64_t slot, Visit&& visit) const {
    if (slot == kNoSlot) return;
    const std::uint8_t* p = stream_.data() + slots_[slot].first;
    const std::uint8_t* const end = stream_.data() + slots_[slot + 1].first;
    while (p < end) {
      EntryIndex entry;
      std::memcpy(&entry, p, sizeof entry);
      const int length = p[sizeof entry];
      visit(Word{entry, length, p + sizeof entry + 1});
      p += sizeof entry + 1 + static_cast<std::size_t>(length);
    }
  }

  // Prefetches: false when the filter already says no word sums to key;
  // else the key's first slot is being fetched.
  bool prefetchSlot(std::uint64_t key) const {
    const std::uint64_t bit = filterBit(key);
    if (!((filter_[bit / 64] >> (bit % 64)) & 1)) return false;
    __builtin_prefetch(&slots_[key & mask_]);
    return true;
  }
  void prefetchWords(std::uint64_t slot) const {
    if (slot != kNoSlot) __builtin_prefetch(stream_.data() + slots_[slot].first);
  }

 private:
  // The fingerprint of a sum: its high half, never 0 (0 marks an empty slot).
  static std::uint32_t fingerprint(std::uint64_t key) {
    const auto high = static_cast<std::uint32_t>(key >> 32);
    return high == 0 ? 1 : high;
  }
  // A slot's fingerprint beside where its words start in stream_ (they end
  // where the next slot's start: one more slot closes the table), so that a
  // hit costs one cache line, and the words another.
  struct Slot {
    std::uint32_t print = 0;
    std::uint32_t first = 0;
  };
  std::vector<Slot> slots_;
  // One bit per multiset, by other bits of the sum than the slot's: small
  // enough to stay in the processor's cache, it answers most probes for
  // letters that spell nothing without reading the table.
  static constexpr std::uint64_t kFilterBits = std::uint64_t{1} << 21;
  static std::uint64_t filterBit(std::uint64_t key) { return (key >> 40) & (kFilterBits - 1); }
  std::vector<std::uint64_t> filter_;
  // Each slot's words together, each as its entry (4 bytes), its length
  // (1 byte) and its letter codes.
  std::vector<std::uint8_t> stream_;
  std::uint64_t mask_ = 0;
};

}  // namespace pexil
