// Word tools on a loaded lexicon: the word check, front and back hooks,
// anagrams with blanks, pattern matching, and the paged result list the
// tools print into the text pane.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lexicon/lexicon.hpp"

namespace pexil {

// Typed query text (Latin-1) as the tools use it: A..Z lowered, then the
// multi-letter tiles of the loaded list's alphabet turned into their
// characters. Other capitals stay; the queries compare letters as tiles.
std::string convertQueryText(std::string_view typed);

// "That is (not) a valid word in the current lexicon."; phonies count as
// valid. The text is converted first.
std::string checkWord(const Lexicon& lexicon, std::string_view typed);

// The queries take converted text and give entries in result order: shorter
// words first, words of one length by the unsigned bytes of their text.
// Letters are compared as tiles, by their letter codes, ignoring case: every
// spelling of a tile matches it (Spanish '4' for the n with tilde).
//
// Words longer than `text` that end with it.
std::vector<EntryIndex> frontHooks(const Lexicon& lexicon, std::string_view text);
// Words longer than `text` that begin with it.
std::vector<EntryIndex> backHooks(const Lexicon& lexicon, std::string_view text);
// Words of exactly text's length using all its letters, each '?' standing
// for one further letter.
std::vector<EntryIndex> anagrams(const Lexicon& lexicon, std::string_view text);
// Words the pattern matches (see matchesPattern).
std::vector<EntryIndex> patternMatch(const Lexicon& lexicon, std::string_view pattern);

// One word against a pattern, both read from the left:
//   ?          any one letter
//   [abc]      one of the listed letters (an unclosed list runs to the end)
//   (c) (v)    a consonant, a vowel (either case)
//   (N)        a letter worth N points in the active rules, N > 0
//   *          any run of letters, also none
//   other      that letter, ignoring case
// A '(' that starts none of the forms above is skipped.
bool matchesPattern(std::string_view word, std::string_view pattern);

// Sorts entries into result order.
void sortResults(const Lexicon& lexicon, std::vector<EntryIndex>& entries);

// The result list of the word tools and the index of the next result to
// print. It keeps its own copy of each word's text and class, so it stays
// printable when the lexicon is replaced.
class WordResults {
 public:
  static constexpr std::size_t kPageSize = 20;

  struct Word {
    EntryIndex entry = kNoEntry;
    std::string text;
    int wordClass = kClassNormal;
  };

  void assign(const Lexicon& lexicon, const std::vector<EntryIndex>& entries);
  void clear();

  // Prints up to 20 results from the next index ("%4d. %s", with '*' after
  // words of class 1 or 3 and '#' after class 2 when highlighting) in the
  // list colour, then returns to green. Adds the continuation line when
  // results remain (unless the caller prints every page at once);
  // otherwise the list starts over. True when results remain.
  bool showPage(bool highlight, bool continuationLine = true);

  bool hasMore() const { return next_ > 0 && next_ < words_.size(); }
  std::size_t nextIndex() const { return next_; }
  std::size_t size() const { return words_.size(); }
  bool empty() const { return words_.empty(); }
  const std::vector<Word>& words() const { return words_; }

 private:
  std::vector<Word> words_;
  std::size_t next_ = 0;
};

enum class WordQuery { frontHooks, backHooks, anagrams, pattern };

// What a list tool does with one typed text: converts it, runs the query,
// fills `results` and prints the heading and first page, or the "No ...
// found" line. Returns the number of results.
std::size_t runWordQuery(const Lexicon& lexicon, WordQuery query, std::string_view typed, WordResults& results,
                         bool highlight, bool continuationLine = true);

}  // namespace pexil
