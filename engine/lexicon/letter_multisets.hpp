// The letter multisets of a word list's words, as 64-bit sums of one
// random number per letter code, in an open-addressed hash table: whether
// some word is an anagram of a set of tiles is one probe or two, and a
// blank is tried as each letter by adding that letter's number. Two different multisets
// share a sum only by a 2^-64 chance; the answer is then "maybe", which the
// searches use only to skip work, never to accept a word.
#pragma once

#include <cstdint>
#include <vector>

namespace pexil {

class Lexicon;

class LetterMultisets {
 public:
  // The number added for one tile of the letter code (0..31).
  static std::uint64_t letterKey(int code);

  explicit LetterMultisets(const Lexicon& lexicon);

  // Whether some word's letters sum to `key` (see letterKey).
  bool contains(std::uint64_t key) const;

 private:
  // Slots of 0 are empty; a word whose sum is 0 sets hasZero_ instead.
  std::vector<std::uint64_t> slots_;
  std::uint64_t mask_ = 0;
  bool hasZero_ = false;
};

}  // namespace pexil
