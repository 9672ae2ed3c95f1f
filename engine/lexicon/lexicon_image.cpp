#include "lexicon/lexicon_image.hpp"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "io/mapped_file.hpp"
#include "rules/letter_codes.hpp"

namespace pexil {
namespace {

enum Section : std::uint32_t {
  kKey = 1,
  kGraphRecord = 2,
  kTables = 3,
  kWords = 4,
  kText = 5,
  kSignatures = 6,
  kTrie = 7,
  kRepeated = 8,
  kByText = 9,
  kByReversedText = 10,
  kLetterIndexStart = 11,
  kLetterIndexEntries = 12,
  kGraphNodes = 13,
  kGraphChildren = 14,
};

// The arrays are used in place, so their layout is part of the format.
static_assert(std::is_trivially_copyable_v<WordEntry> && sizeof(WordEntry) == 16);
static_assert(offsetof(WordEntry, textOffset) == 0 && offsetof(WordEntry, signatureOffset) == 4 &&
              offsetof(WordEntry, letterMask) == 8 && offsetof(WordEntry, length) == 12 &&
              offsetof(WordEntry, reserved) == 13 && offsetof(WordEntry, wordClass) == 14);
static_assert(std::is_trivially_copyable_v<TrieNode> && sizeof(TrieNode) == 16);
static_assert(offsetof(TrieNode, childMask) == 0 && offsetof(TrieNode, firstChild) == 4 &&
              offsetof(TrieNode, word) == 8 && offsetof(TrieNode, onlyChild) == 12);
static_assert(std::is_trivially_copyable_v<GraphNode> && sizeof(GraphNode) == 20);
static_assert(std::is_trivially_copyable_v<RepeatedWord> && sizeof(RepeatedWord) == 8);

// The fixed tables as stored.
struct PackedTables {
  std::int32_t wordCount;
  std::int32_t firstLetterStart[32];
  std::int32_t firstIndexByLength[34];
  std::uint8_t canEndTwo[32];
  std::uint8_t canStartTwo[32];
  std::uint8_t twoLetterWord[32][32];
};
static_assert(std::is_trivially_copyable_v<PackedTables> && sizeof(PackedTables) == 1356);

struct GraphRecord {
  std::uint8_t state;
  std::uint8_t zero[7];
  std::uint64_t size;
  std::uint64_t hash;
};
static_assert(sizeof(GraphRecord) == 24);

template <class T>
std::string asBytes(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// Structures with padding are copied field by field into zeroed bytes, so
// that the same list always gives the same file.
std::string packWords(std::span<const WordEntry> words) {
  std::string out(words.size() * sizeof(WordEntry), '\0');
  char* p = out.data();
  for (const WordEntry& w : words) {
    std::memcpy(p + offsetof(WordEntry, textOffset), &w.textOffset, 4);
    std::memcpy(p + offsetof(WordEntry, signatureOffset), &w.signatureOffset, 4);
    std::memcpy(p + offsetof(WordEntry, letterMask), &w.letterMask, 4);
    p[offsetof(WordEntry, length)] = static_cast<char>(w.length);
    p[offsetof(WordEntry, reserved)] = static_cast<char>(w.reserved);
    p[offsetof(WordEntry, wordClass)] = static_cast<char>(w.wordClass);
    p += sizeof(WordEntry);
  }
  return out;
}

std::string packTrie(std::span<const TrieNode> trie) {
  std::string out(trie.size() * sizeof(TrieNode), '\0');
  char* p = out.data();
  for (const TrieNode& n : trie) {
    std::memcpy(p + offsetof(TrieNode, childMask), &n.childMask, 4);
    std::memcpy(p + offsetof(TrieNode, firstChild), &n.firstChild, 4);
    std::memcpy(p + offsetof(TrieNode, word), &n.word, 4);
    p[offsetof(TrieNode, onlyChild)] = static_cast<char>(n.onlyChild);
    p += sizeof(TrieNode);
  }
  return out;
}

bool checkTables(const PackedTables& t, std::size_t words, LexiconTables& out) {
  const auto n = static_cast<std::int64_t>(words);
  if (t.wordCount != n) return false;
  auto inRange = [&](std::int32_t v) { return v >= 0 && v <= n; };
  for (int i = 0; i < 32; ++i) {
    if (!inRange(t.firstLetterStart[i])) return false;
    out.firstLetterStart[static_cast<std::size_t>(i)] = t.firstLetterStart[i];
  }
  for (int i = 0; i < 34; ++i) {
    if (!inRange(t.firstIndexByLength[i])) return false;
    out.firstIndexByLength[static_cast<std::size_t>(i)] = t.firstIndexByLength[i];
  }
  auto flag = [](std::uint8_t v, bool& target) {
    target = v == 1;
    return v <= 1;
  };
  for (std::size_t i = 0; i < 32; ++i) {
    if (!flag(t.canEndTwo[i], out.canEndTwo[i]) || !flag(t.canStartTwo[i], out.canStartTwo[i])) return false;
    for (std::size_t j = 0; j < 32; ++j) {
      if (!flag(t.twoLetterWord[i][j], out.twoLetterWord[i][j])) return false;
    }
  }
  return true;
}

// Entries: words of 2 to 32 letters of the alphabet, NUL-terminated in the
// text, sorted by length, with the letter mask their letters give, a
// signature that starts inside the store and a known class.
bool checkWords(const LexiconArrays& a, int letterCount, BodyCheck& body) {
  const std::span<const WordEntry> words = a.words;
  if (words.size() > static_cast<std::size_t>(INT32_MAX)) return false;
  if (!words.empty() && (a.text.empty() || a.text.back() != '\0' || a.signatures.empty() || a.signatures.back() != 0)) {
    return false;
  }
  int previousLength = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const WordEntry& w = words[i];
    if (w.length < kMinWordLength || w.length > kMaxWordLength || w.length < previousLength) return false;
    previousLength = w.length;
    if (static_cast<std::uint64_t>(w.textOffset) + w.length >= a.text.size()) return false;
    if (w.signatureOffset >= a.signatures.size() || w.wordClass > kClassPhony) return false;
    const char* t = a.text.data() + w.textOffset;
    if (t[w.length] != '\0') return false;
    std::uint32_t mask = 0;
    for (int k = 0; k < w.length; ++k) {
      const char c = t[k];
      const int code = codeOfLetter(c);
      if (code < 0 || code >= letterCount || code >= kCodeSlots || (c >= 'A' && c <= 'Z')) return false;
      if (code < 30) mask |= 1u << code;
    }
    if (mask != w.letterMask) return false;
    body.reached(&w);
  }
  body.reachedEnd(words);
  return true;
}

// The trie is a tree laid out with every node's children side by side and
// after the node itself: one pass in node order gives every node its depth
// from its parent, and finds nodes reached twice or never.
bool checkTrie(const LexiconArrays& a, BodyCheck& body) {
  const std::span<const TrieNode> trie = a.trie;
  const std::size_t m = trie.size();
  if (m == 0 || m > static_cast<std::size_t>(INT32_MAX)) return false;
  constexpr std::uint8_t kUnreached = 0xFF;
  std::vector<std::uint8_t> depth(m, kUnreached);
  depth[0] = 0;
  const auto words = static_cast<std::int64_t>(a.words.size());
  for (std::size_t i = 0; i < m; ++i) {
    const TrieNode& node = trie[i];
    const std::uint8_t d = depth[i];
    if (d == kUnreached) return false;
    const int children = __builtin_popcount(node.childMask);
    const int only = children == 0 ? -1 : children == 1 ? __builtin_ctz(node.childMask) : -2;
    if (node.onlyChild != only) return false;
    if (node.word != kNoEntry) {
      if (node.word < 0 || node.word >= words || a.words[static_cast<std::size_t>(node.word)].length != d) return false;
    }
    if (children > 0) {
      const std::int64_t first = node.firstChild;
      if (first <= static_cast<std::int64_t>(i) || first + children > static_cast<std::int64_t>(m) || d >= kMaxWordLength) {
        return false;
      }
      for (int c = 0; c < children; ++c) {
        std::uint8_t& childDepth = depth[static_cast<std::size_t>(first + c)];
        if (childDepth != kUnreached) return false;
        childDepth = static_cast<std::uint8_t>(d + 1);
      }
    }
    body.reached(&node);
  }
  body.reachedEnd(trie);
  // Repeated words: ascending nodes that end words.
  NodeIndex previous = kNoNode;
  for (const RepeatedWord& r : a.repeated) {
    if (r.node <= previous || static_cast<std::size_t>(r.node) >= m || r.entry < 0 || r.entry >= words ||
        trie[static_cast<std::size_t>(r.node)].word == kNoEntry) {
      return false;
    }
    previous = r.node;
  }
  return true;
}

// Blocks of a large array are checked without a branch per element.
constexpr std::size_t kBlock = 1 << 14;

bool checkEntryList(std::span<const EntryIndex> list, std::size_t words, BodyCheck& body) {
  if (list.size() != words) return false;
  for (std::size_t from = 0; from < list.size(); from += kBlock) {
    const std::size_t to = std::min(list.size(), from + kBlock);
    bool outside = false;
    for (std::size_t i = from; i < to; ++i) outside |= static_cast<std::uint32_t>(list[i]) >= words;
    if (outside) return false;
    body.reached(list.data() + to);
  }
  body.reachedEnd(list);
  return true;
}

// The position index: starts rising from 0 to the number of entries, and
// within each list entries in ascending order.
bool checkLetterIndex(const LexiconArrays& a, BodyCheck& body) {
  const auto start = a.letterIndexStart;
  const auto entries = a.letterIndexEntries;
  if (start.size() != kLetterIndexLists + 1 || start.front() != 0 || start.back() != entries.size()) return false;
  const auto words = static_cast<std::int64_t>(a.words.size());
  body.reachedEnd(start);
  for (std::size_t list = 0; list < kLetterIndexLists; ++list) {
    const std::uint32_t from = start[list], to = start[list + 1];
    if (to < from || to > entries.size()) return false;
    if (to == from) continue;
    // Rising from a first entry of at least 0 to a last one below the word
    // count: every entry is inside.
    if (entries[from] < 0 || entries[to - 1] >= words) return false;
    bool falling = false;
    for (std::uint32_t k = from + 1; k < to; ++k) falling |= entries[k] <= entries[k - 1];
    if (falling) return false;
    body.reached(entries.data() + to);
  }
  body.reachedEnd(entries);
  return true;
}

// The graph: words inside the list, child lists inside the child array,
// letters 0..31 agreeing with each node's edge mask, and no cycle. Graphs
// as the program writes them number every child after its parent, which
// one pass proves acyclic; any other order is checked by peeling off nodes
// without incoming edges.
bool checkGraph(std::span<const GraphNode> nodes, std::span<const std::int32_t> children, std::size_t words,
                BodyCheck& body) {
  const std::size_t g = nodes.size();
  if (g == 0 || g > static_cast<std::size_t>(INT32_MAX) || children.size() > static_cast<std::size_t>(UINT32_MAX)) {
    return false;
  }
  bool forward = true;
  {
    for (std::size_t i = 0; i < g; ++i) {
      const GraphNode& n = nodes[i];
      if (n.word < -1 || (n.word >= 0 && static_cast<std::size_t>(n.word) >= words)) return false;
      if (n.letter < 0 || n.letter > 31 || n.edgeCount < 0) return false;
      if (static_cast<std::uint64_t>(n.firstChild) + static_cast<std::uint64_t>(n.edgeCount) > children.size()) return false;
      std::uint32_t mask = 0;
      for (int k = 0; k < n.edgeCount; ++k) {
        const std::int32_t target = children[n.firstChild + static_cast<std::size_t>(k)];
        if (target < 0 || static_cast<std::size_t>(target) >= g) return false;
        forward = forward && static_cast<std::size_t>(target) > i;
        // The target's own letter is checked when the pass reaches it.
        mask |= 1u << (nodes[static_cast<std::size_t>(target)].letter & 31);
      }
      if (mask != n.edgeMask) return false;
      body.reached(&n);
    }
    body.reachedEnd(nodes);
  }
  if (!forward) {
    std::vector<std::int32_t> incoming(g, 0);
    for (const GraphNode& n : nodes) {
      for (int k = 0; k < n.edgeCount; ++k) ++incoming[static_cast<std::size_t>(children[n.firstChild + static_cast<std::size_t>(k)])];
    }
    std::vector<std::int32_t> ready;
    for (std::size_t i = 0; i < g; ++i) {
      if (incoming[i] == 0) ready.push_back(static_cast<std::int32_t>(i));
    }
    std::size_t done = 0;
    while (!ready.empty()) {
      const GraphNode& n = nodes[static_cast<std::size_t>(ready.back())];
      ready.pop_back();
      ++done;
      for (int k = 0; k < n.edgeCount; ++k) {
        const std::int32_t target = children[n.firstChild + static_cast<std::size_t>(k)];
        if (--incoming[static_cast<std::size_t>(target)] == 0) ready.push_back(target);
      }
    }
    if (done != g) return false;
  }
  body.reachedEnd(children);
  return true;
}

}  // namespace

ImageWriter lexiconImageWriter(const LexiconImageContent& content, std::string_view sourceKey) {
  ImageWriter writer(kLexiconImageKind, kLexiconImageVersion);
  writer.addOwned(kKey, 1, std::string(sourceKey));
  GraphRecord record{};
  record.state = static_cast<std::uint8_t>(content.graphState);
  record.size = content.graphStamp.size;
  record.hash = content.graphStamp.hash;
  writer.addOwned(kGraphRecord, sizeof record, asBytes(record));

  const LexiconArrays& a = content.arrays;
  const LexiconTables& t = content.tables;
  PackedTables packed{};
  packed.wordCount = static_cast<std::int32_t>(a.words.size());
  for (std::size_t i = 0; i < 32; ++i) {
    packed.firstLetterStart[i] = t.firstLetterStart[i];
    packed.canEndTwo[i] = t.canEndTwo[i] ? 1 : 0;
    packed.canStartTwo[i] = t.canStartTwo[i] ? 1 : 0;
    for (std::size_t j = 0; j < 32; ++j) packed.twoLetterWord[i][j] = t.twoLetterWord[i][j] ? 1 : 0;
  }
  for (std::size_t i = 0; i < 34; ++i) packed.firstIndexByLength[i] = t.firstIndexByLength[i];
  writer.addOwned(kTables, sizeof packed, asBytes(packed));

  writer.addOwned(kTrie, sizeof(TrieNode), packTrie(a.trie));
  writer.addOwned(kWords, sizeof(WordEntry), packWords(a.words));
  writer.addArray(kText, a.text);
  writer.addArray(kSignatures, a.signatures);
  writer.addArray(kRepeated, a.repeated);
  writer.addArray(kByText, a.byText);
  writer.addArray(kByReversedText, a.byReversedText);
  writer.addArray(kLetterIndexStart, a.letterIndexStart);
  writer.addArray(kLetterIndexEntries, a.letterIndexEntries);
  if (content.graphState == GraphState::used) {
    writer.addArray(kGraphNodes, content.graphNodes);
    writer.addArray(kGraphChildren, content.graphChildren);
  }
  return writer;
}

std::optional<LexiconImageContent> readLexiconImage(std::span<const std::byte> bytes, std::string_view sourceKey,
                                                    const GraphExpectation& graph, int letterCount,
                                                    const MappedFile* pages, ImageRefusal& refusal) {
  const auto reader = ImageReader::open(bytes, kLexiconImageKind, kLexiconImageVersion, refusal);
  if (!reader) return std::nullopt;
  auto refuse = [&](ImageProblem problem, const char* what) {
    refusal = {problem, what};
    return std::nullopt;
  };
  // What the file was made from, before any of the large sections is read.
  const auto key = reader->section(kKey);
  if (std::string_view(reinterpret_cast<const char*>(key.data()), key.size()) != sourceKey) {
    return refuse(ImageProblem::otherSources, "");
  }
  LexiconImageContent content;
  const auto record = reader->array<GraphRecord>(kGraphRecord);
  if (!record || record->size() != 1) return refuse(ImageProblem::damaged, "graph record");
  const GraphRecord& r = record->front();
  if (r.state > static_cast<std::uint8_t>(GraphState::refused)) return refuse(ImageProblem::damaged, "graph record");
  content.graphState = static_cast<GraphState>(r.state);
  content.graphStamp = {r.size, r.hash};
  if (graph.wanted) {
    const bool same = graph.file ? content.graphState != GraphState::none && content.graphStamp == *graph.file
                                 : content.graphState == GraphState::none;
    if (!same) return refuse(ImageProblem::otherSources, "");
  }

  const auto tables = reader->array<PackedTables>(kTables);
  const auto words = reader->array<WordEntry>(kWords);
  const auto text = reader->array<char>(kText);
  const auto signatures = reader->array<unsigned char>(kSignatures);
  const auto trie = reader->array<TrieNode>(kTrie);
  const auto repeated = reader->array<RepeatedWord>(kRepeated);
  const auto byText = reader->array<EntryIndex>(kByText);
  const auto byReversed = reader->array<EntryIndex>(kByReversedText);
  const auto indexStart = reader->array<std::uint32_t>(kLetterIndexStart);
  const auto indexEntries = reader->array<EntryIndex>(kLetterIndexEntries);
  if (!tables || tables->size() != 1 || !words || !text || !signatures || !trie || !repeated || !byText || !byReversed ||
      !indexStart || !indexEntries) {
    return refuse(ImageProblem::damaged, "sections");
  }
  LexiconArrays& a = content.arrays;
  a = {*words, *text, *signatures, *trie, *repeated, *byText, *byReversed, *indexStart, *indexEntries};

  // The checks go through the sections in the order they are written,
  // hashing each piece as they pass it.
  BodyCheck body(bytes, reader->storedChecksum(), pages);
  if (!checkTables(tables->front(), a.words.size(), content.tables)) return refuse(ImageProblem::damaged, "tables");
  if (!checkTrie(a, body)) return refuse(ImageProblem::damaged, "trie");
  if (!checkWords(a, letterCount, body)) return refuse(ImageProblem::damaged, "entries");
  body.reachedEnd(a.text);
  body.reachedEnd(a.signatures);
  body.reachedEnd(a.repeated);
  if (!checkEntryList(a.byText, a.words.size(), body) || !checkEntryList(a.byReversedText, a.words.size(), body)) {
    return refuse(ImageProblem::damaged, "sorted views");
  }
  if (!checkLetterIndex(a, body)) return refuse(ImageProblem::damaged, "position index");
  if (graph.wanted && content.graphState == GraphState::used) {
    const auto nodes = reader->array<GraphNode>(kGraphNodes);
    const auto children = reader->array<std::int32_t>(kGraphChildren);
    if (!nodes || !children || !checkGraph(*nodes, *children, a.words.size(), body)) {
      return refuse(ImageProblem::damaged, "graph");
    }
    content.graphNodes = *nodes;
    content.graphChildren = *children;
  }
  if (!body.finish()) return refuse(ImageProblem::damaged, "checksum");
  return content;
}

}  // namespace pexil
