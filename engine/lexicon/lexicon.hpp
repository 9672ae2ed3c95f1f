// A word list in memory with everything the engine needs to search it fast:
// word entries, a letter trie, an optional compact word graph, sorted views,
// a position index, word classes and the anagram memo.
//
// The arrays are built from the list's text, or used in place from the
// list's binary form (".lexbin" beside it, see lexicon_image.hpp), a
// read-only mapping whose pages are only read when a query reaches them.
// The binary form is written beside a list of the data folder whenever it
// is missing or no longer matches the list and the files it depends on.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "io/content_hash.hpp"
#include "io/mapped_file.hpp"
#include "lexicon/letter_multisets.hpp"
#include "lexicon/square_letter_stats.hpp"
#include "lexicon/word_graph.hpp"
#include "rules/letter_codes.hpp"

namespace pexil {

struct LexiconImageContent;

using EntryIndex = std::int32_t;  // index into the entries; -1 for none
using NodeIndex = std::int32_t;   // index into the trie; -1 for none
inline constexpr EntryIndex kNoEntry = -1;
inline constexpr NodeIndex kNoNode = -1;

// Word classes.
inline constexpr int kClassNormal = 0;
inline constexpr int kClassInNeither = 1;       // in neither published list
inline constexpr int kClassInternational = 2;   // in the international list only
inline constexpr int kClassPhony = 3;           // not in the validating list

inline constexpr int kMinWordLength = 2;
inline constexpr int kMaxWordLength = 32;

struct WordEntry {
  std::uint32_t textOffset = 0;       // the word, lower case, NUL-terminated in the text store
  std::uint32_t signatureOffset = 0;  // its letter-count signature in the signature store
  std::uint32_t letterMask = 0;       // bit i: the word contains letter code i
  std::uint8_t length = 0;
  std::uint8_t reserved = 0;
  std::uint8_t wordClass = kClassNormal;
};

// A trie node. Children are stored together, in letter-code order, so a
// child is found with one mask test and a population count.
struct TrieNode {
  std::uint32_t childMask = 0;
  NodeIndex firstChild = kNoNode;
  EntryIndex word = kNoEntry;  // the entry that ends here
  std::int8_t onlyChild = -1;  // the single child's code; -2 several; -1 none
};

// The first entry of a word the list holds more than once, by the trie node
// the word ends at (the trie keeps the last one).
struct RepeatedWord {
  NodeIndex node = kNoNode;
  EntryIndex entry = kNoEntry;
};

// The arrays a loaded word list consists of, as views: into vectors the
// lexicon built from the text, or into the mapping of its binary form.
struct LexiconArrays {
  std::span<const WordEntry> words;
  std::span<const char> text;                   // each word NUL-terminated
  std::span<const unsigned char> signatures;    // each signature ends with 0
  std::span<const TrieNode> trie;               // node 0 is the root
  std::span<const RepeatedWord> repeated;       // by node, ascending
  std::span<const EntryIndex> byText;
  std::span<const EntryIndex> byReversedText;
  std::span<const std::uint32_t> letterIndexStart;  // per list, into letterIndexEntries; then the total
  std::span<const EntryIndex> letterIndexEntries;
};

// The small fixed tables of a loaded word list.
struct LexiconTables {
  std::array<int, 32> firstLetterStart{};
  std::array<int, 34> firstIndexByLength{};
  std::array<bool, 32> canEndTwo{};
  std::array<bool, 32> canStartTwo{};
  std::array<std::array<bool, 32>, 32> twoLetterWord{};
};

// The position index has 16 tables (bit 0: no E, 1: no S, 2: no A, 3: no T)
// of 8 positions x 32 letters x 31 lengths.
inline constexpr int kIndexTables = 16;
inline constexpr int kIndexPositions = 8;
inline constexpr int kIndexLengths = 31;
// Lists of the position index, one per table, position, letter and length.
inline constexpr std::size_t kLetterIndexLists = std::size_t(kIndexTables) * kIndexPositions * 32 * kIndexLengths;

class Lexicon;

// What a loader above the word lists does while a list loads. The tables
// that come with a list (rack values, win probabilities) live in a higher
// layer than the lexicon; that layer reads them at these two points of
// Lexicon::loadWordList, so that their messages keep their place among the
// list's own.
class WordListCompanions {
 public:
  virtual ~WordListCompanions() = default;
  // The words are in place and the alphabet is known; the word graph is
  // not read yet.
  virtual void wordsReady(const Lexicon& lexicon) = 0;
  // The square-letter statistics are read; the word count is not printed
  // yet.
  virtual void statisticsReady(const Lexicon& lexicon) = 0;
};

class Lexicon {
 public:
  Lexicon();
  ~Lexicon();
  Lexicon(const Lexicon&) = delete;
  Lexicon& operator=(const Lexicon&) = delete;

  // Loads a word list and its companion files; nothing happens when the
  // same file (ignoring letter case) is loaded already. With a validating
  // list, words missing from it are phonies. Returns false when the list
  // could not be read (the lexicon is then empty). `companions`, when
  // given, are called at their points of the load: that is how the list's
  // tables come with it (loadWordListWithTables, play/word_list_loading.hpp).
  bool loadWordList(const std::string& fileName, const std::string& validatingName = "",
                    WordListCompanions* companions = nullptr);

  // ---- entries ----
  int wordCount() const { return static_cast<int>(arrays_.words.size()); }
  const WordEntry& entry(EntryIndex index) const { return arrays_.words[static_cast<std::size_t>(index)]; }
  const char* text(EntryIndex index) const { return arrays_.text.data() + entry(index).textOffset; }
  std::string_view textView(EntryIndex index) const { return {text(index), entry(index).length}; }
  const unsigned char* signature(EntryIndex index) const {
    return arrays_.signatures.data() + entry(index).signatureOffset;
  }

  // ---- lookups ----
  // True when the word exists and is no phony, or is at least
  // minPhonyLength letters long (0 accepts phonies, 999 rejects them).
  bool isWord(std::string_view text, int minPhonyLength, bool* isPhony = nullptr) const;
  // The first entry with this text, ignoring case.
  EntryIndex findEntry(std::string_view text) const;
  // Whether the letters of text can be arranged into a word (memoised;
  // safe for concurrent callers).
  bool hasAnagram(std::string_view text) const;
  // The first entry, in entry order, whose letters are exactly those of
  // `letters`.
  EntryIndex findAnagramWord(std::string_view letters) const;

  // The letters L for which L + word or word + L is a word that is no
  // phony: bit L of the mask. Worked out once per word and remembered
  // (safe for concurrent callers).
  std::uint32_t hookLetters(EntryIndex entry) const;

  bool isAcceptedExtra(std::string_view text) const;
  void addAcceptedExtra(std::string_view text);

  // ---- trie ----
  static constexpr NodeIndex trieRoot = 0;
  NodeIndex child(NodeIndex node, int code) const {
    const TrieNode& n = arrays_.trie[static_cast<std::size_t>(node)];
    const std::uint32_t bit = 1u << code;
    if (!(n.childMask & bit)) return kNoNode;
    return n.firstChild + __builtin_popcount(n.childMask & (bit - 1));
  }
  EntryIndex nodeWord(NodeIndex node) const { return arrays_.trie[static_cast<std::size_t>(node)].word; }
  int onlyChild(NodeIndex node) const { return arrays_.trie[static_cast<std::size_t>(node)].onlyChild; }
  std::uint32_t childMask(NodeIndex node) const { return arrays_.trie[static_cast<std::size_t>(node)].childMask; }
  std::size_t trieNodeCount() const { return arrays_.trie.size(); }

  // ---- square-letter statistics (".bb"; empty without the file) ----
  const SquareLetterStats& squareLetterStats() const { return *squareLetterStats_; }

  // ---- letter multisets of the words (built on first use; safe for
  // concurrent callers) ----
  const LetterMultisets& letterMultisets() const;

  // ---- compact word graph (optional) ----
  const WordGraph* graph() const { return graph_.get(); }

  // ---- sorted views and indexes ----
  std::span<const EntryIndex> byText() const { return arrays_.byText; }
  std::span<const EntryIndex> byReversedText() const { return arrays_.byReversedText; }
  // Start of each run of words with the same first character in byText,
  // followed by wordCount.
  const std::array<int, 32>& firstLetterStart() const { return tables_.firstLetterStart; }
  // Index in the entries of the first word of each length (0 where none).
  const std::array<int, 34>& firstIndexByLength() const { return tables_.firstIndexByLength; }
  // Entries of `length` letters with letter `code` at `position`, lacking
  // the letters excluded by `table`; in entry order.
  std::span<const EntryIndex> letterIndex(int table, int position, int code, int length) const;

  // ---- two-letter words (phonies excluded) ----
  bool canEndTwo(int code) const { return tables_.canEndTwo[static_cast<std::size_t>(code & 31)]; }
  bool canStartTwo(int code) const { return tables_.canStartTwo[static_cast<std::size_t>(code & 31)]; }
  // first, second: the word first+second exists.
  bool isTwoLetterWord(int first, int second) const {
    return tables_.twoLetterWord[static_cast<std::size_t>(first & 31)][static_cast<std::size_t>(second & 31)];
  }

  // ---- identity ----
  int identityFigure() const { return identityFigure_; }
  int listId() const { return listId_; }
  int alphabet() const { return alphabet_; }
  const std::string& fileName() const { return fileName_; }
  const std::string& identityName() const { return identityName_; }
  const std::string& letterTableName() const { return letterTableName_; }

  // Load the rack-leave tables with the list (when it is loaded with its
  // tables, loadWordListWithTables).
  bool loadLeaves = true;
  // Load the win-probability tables with the list (they replace the ones
  // the program holds; again when it is loaded with its tables); only
  // fuzzing of the list reader goes without.
  bool loadWinProb = true;
  // Read the list's compact word graph when it has one.
  bool useGraphFile = true;
  // Read the list's square-letter statistics (".bb") when it has them;
  // self-play that builds them plays without.
  bool loadSquareStats = true;
  // Use the list's binary form (".lexbin") when it is there and matches
  // the list; and write it, beside a list of the data folder (a name
  // without a folder), when it is missing or stale and the graph is used.
  bool useBinaryFile = true;

  // ---- binary form ----
  // Whether the loaded arrays come from the binary form.
  bool loadedFromBinary() const { return mapping_.size() > 0; }
  // The binary form's name beside the loaded list ("" when none is loaded).
  std::string binaryFileName() const;
  // Writes the binary form of the loaded list (with its graph state) to
  // `path`, atomically; false when nothing is loaded or the write fails.
  bool writeBinaryFile(const std::string& path) const;

 private:
  struct Storage;
  struct Sources;
  void clear();
  bool readWords(const std::string& data);
  void sortByLength();
  void buildTrie();
  void layOutTrieDepthFirst();
  void buildSortedViews();
  void buildLetterIndex();
  std::vector<std::string> classListNames(const std::string& validatingName) const;
  void markClasses(const std::string& validatingName, const std::vector<std::string>& names, Sources& sources);
  void bindStorage();
  void buildFromText(const std::string& data, const std::string& validatingName,
                     const std::vector<std::string>& classLists, Sources& sources);
  std::optional<LexiconImageContent> readBinaryForm(const std::string& binaryPath, const Sources& sources);
  void detectAlphabet();
  void loadGraph(const std::string& graphName);
  void fillTwoLetterTables();
  NodeIndex walk(std::string_view text) const;

  LexiconArrays arrays_;
  LexiconTables tables_;
  std::unique_ptr<Storage> storage_;  // the vectors built from the text
  MappedFile mapping_;                // or the binary form the arrays are read from
  // What the loaded arrays were made from, as the binary form records it,
  // and the state of the graph file (known when the graph was looked for).
  std::string sourceKey_;
  GraphState graphState_ = GraphState::none;
  FileStamp graphStamp_;
  bool graphKnown_ = false;
  std::string listPath_;  // where the list was found
  std::unique_ptr<WordGraph> graph_;
  mutable std::mutex multisetsMutex_;
  mutable std::unique_ptr<LetterMultisets> multisets_;
  mutable std::atomic<const LetterMultisets*> multisetsReady_{nullptr};
  std::unique_ptr<SquareLetterStats> squareLetterStats_ = std::make_unique<SquareLetterStats>();

  int identityFigure_ = 0;
  int listId_ = 0;
  int alphabet_ = kAlphabetEnglish;
  std::string fileName_;
  std::string identityName_;
  std::string letterTableName_;

  // hookLetters memo, one slot per entry, holding the hooks XOR
  // kHooksUnknown: zero (fresh zeroed pages, touched only where used) until
  // worked out.
  static constexpr std::uint32_t kHooksUnknown = 0xFFFFFFFFu;
  struct FreeMemory {
    void operator()(std::uint32_t* p) const;
  };
  std::unique_ptr<std::uint32_t[], FreeMemory> hookMemo_;

  mutable std::mutex extrasMutex_;
  std::vector<std::string> acceptedExtras_;

  // The anagram memo: answers by lower-cased text, in shards so that
  // concurrent searches rarely wait for one another.
  static constexpr std::size_t kMemoShards = 16;
  struct MemoShard {
    mutable std::shared_mutex mutex;
    std::unordered_map<std::string, bool> answers;
  };
  mutable std::array<MemoShard, kMemoShards> anagramMemo_;
};

// The name of a language in the UI language ("unknown" for -1).
std::string languageName(int alphabet);

}  // namespace pexil
