#include "lexicon/lexicon.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "io/binary_image.hpp"
#include "io/data_files.hpp"
#include "lexicon/lexicon_image.hpp"
#include "rules/game_rules.hpp"
#include "text/messages.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// The code of a character of a word, in either case; -1 for none.
int letterCode(char c) {
  const int code = codeOfLetter(c);
  return code >= 0 && code < kCodeSlots ? code : -1;
}

// Calls f(begin, length) for every whitespace-separated token.
template <class F>
void forEachToken(std::string_view data, F f) {
  std::size_t i = 0;
  const std::size_t n = data.size();
  while (i < n) {
    while (i < n && isSpace(data[i])) ++i;
    const std::size_t start = i;
    while (i < n && !isSpace(data[i])) ++i;
    if (i > start) f(start, i - start);
  }
}

struct IdentityRow {
  const char* prefix;
  int listId;
  int figure;
};
constexpr IdentityRow kIdentities[] = {
    {"enable", 1, 50}, {"ospd4", 3, 80},   {"ospd2", 7, 50},   {"twl06", 2, 80},  {"sowpods", 4, 0},
    {"csw12", 5, 0},   {"unabridged", 6, 0}, {"fise", 8, 0},   {"danish", 9, 0},  {"german", 10, 0},
    {"italian", 11, 0}, {"ods5", 12, 0},   {"latin", 13, 0},   {"catalan", 14, 0}, {"swedish", 15, 0},
};

struct Probe {
  int alphabet;
  std::vector<const char*> words;
};
// Tested in this order; the first language whose words are all present wins.
const Probe kProbes[] = {
    {kAlphabetEnglish, {"there", "this", "that", "the", "have", "group", "against", "several"}},
    {kAlphabetSpanish, {"abo2an", "abolaga", "aboga", "acervado"}},
    {kAlphabetDanish, {"kurvfulde", "retr\xE6tes", "sm\xE5" "barn", "b\xF8" "ddel"}},
    {kAlphabetGerman, {"afroamerikaner", "agrikultur", "ahnungsvolle"}},
    {kAlphabetFrench, {"abaissait", "encabanasses", "huisserie", "pronassiez"}},
    {kAlphabetItalian, {"abavo", "arteficio", "gambizzi", "semipoetica"}},
    {kAlphabetLatin, {"abivgavi", "accvsare"}},
    {kAlphabetCatalan, {"abarrocarem", "emmagrix", "primmirat"}},
    {kAlphabetSwedish, {"allergisk", "f\xE4ltm\xE4ssig", "lagspr\xE5k"}},
};

// Files that make up the data pack of a language's word list.
std::vector<std::string> packFiles(int alphabet, const std::string& listName) {
  std::vector<std::string> files;
  switch (alphabet) {
    case kAlphabetSpanish:
    case kAlphabetGerman:
    case kAlphabetItalian:
    case kAlphabetCatalan:
      files = {companionName(listName, ".rack"), companionName(listName, ".2p")};
      break;
    case kAlphabetDanish:
    case kAlphabetSwedish:
      files = {companionName(listName, ".rack"), companionName(listName, ".2p"), companionName(listName, ".tribble")};
      break;
    default: break;
  }
  return files;
}

void printPackNotice(int alphabet) {
  TextPane& pane = textPane();
  pane.SetColour(colour::yellow);
  PrintMessage(msg::LexPackStars);
  PrintMessageF(msg::LexPackLine1, languageName(alphabet).c_str());
  for (int line = msg::LexPackLine2; line <= msg::LexPackLine7; ++line) PrintMessage(line);
  PrintMessage(msg::LexPackStars);
  pane.SetColour(colour::green);
}

// Unsigned byte-wise comparison of texts read backwards.
bool reversedLess(std::string_view a, std::string_view b) {
  std::size_t i = a.size(), j = b.size();
  while (i > 0 && j > 0) {
    const auto x = static_cast<unsigned char>(a[--i]);
    const auto y = static_cast<unsigned char>(b[--j]);
    if (x != y) return x < y;
  }
  return i < j;
}

}  // namespace

std::string languageName(int alphabet) {
  if (alphabet < 0 || alphabet >= kAlphabetCount) return Message(msg::LanguageUnknown);
  return Message(msg::LanguageNameEnglish + alphabet);
}

// The vectors of a list read from its text; the lexicon's arrays view them.
struct Lexicon::Storage {
  std::vector<WordEntry> words;
  std::vector<char> text;
  std::vector<unsigned char> signatures;
  std::vector<TrieNode> trie;
  std::vector<RepeatedWord> repeated;
  std::vector<EntryIndex> byText;
  std::vector<EntryIndex> byReversedText;
  std::vector<std::uint32_t> letterIndexStart;
  std::vector<EntryIndex> letterIndexEntries;
};

// What the arrays are made from: the list, the lists that decide the word
// classes (read in order up to the first that cannot be read), the rules'
// letter count and blank code, and the graph file.
struct Lexicon::Sources {
  FileStamp list;
  std::vector<std::pair<std::string, std::optional<FileStamp>>> classLists;
  bool graphWanted = false;
  std::optional<FileStamp> graphFile;

  std::string key(int listId) const {
    std::string key = FormatText("pexil word list\nlist %llu %016llx\nletters %d blank %d\nidentity %d\n",
                                 static_cast<unsigned long long>(list.size), static_cast<unsigned long long>(list.hash),
                                 rules().letterCount, rules().blankCode, listId);
    for (const auto& [name, stamp] : classLists) {
      key += "classes " + latin1Lower(name);
      key += stamp ? FormatText(" %llu %016llx\n", static_cast<unsigned long long>(stamp->size),
                                static_cast<unsigned long long>(stamp->hash))
                   : std::string(" unreadable\n");
    }
    return key;
  }
};

namespace {

// The root of an empty trie, which a lexicon without a list walks.
const TrieNode kEmptyTrie[1] = {TrieNode{}};

// The binary form beside a list: the file there in any letter case, else
// the name to write.
std::string binaryPathBeside(const std::string& listPath) {
  const std::string name = companionName(listPath, ".lexbin");
  return findDataFile(name).value_or(name);
}

// A list named without a folder is one of the data folder, where binary
// forms are written on their own.
bool inDataFolder(const std::string& path) { return path.find('/') == std::string::npos; }

}  // namespace

void Lexicon::FreeMemory::operator()(std::uint32_t* p) const { std::free(p); }

Lexicon::Lexicon() { clear(); }

Lexicon::~Lexicon() {
  // The graph may view the mapping: it goes first.
  graph_.reset();
}

void Lexicon::clear() {
  multisetsReady_.store(nullptr, std::memory_order_release);
  multisets_.reset();
  // The graph may view the mapping: it goes first.
  graph_.reset();
  arrays_ = LexiconArrays{};
  arrays_.trie = kEmptyTrie;
  tables_ = LexiconTables{};
  storage_.reset();
  mapping_ = MappedFile{};
  sourceKey_.clear();
  graphState_ = GraphState::none;
  graphStamp_ = FileStamp{};
  graphKnown_ = false;
  listPath_.clear();
  hookMemo_.reset();
  *squareLetterStats_ = SquareLetterStats{};
  {
    std::lock_guard<std::mutex> lock(extrasMutex_);
    acceptedExtras_.clear();
  }
  for (MemoShard& shard : anagramMemo_) {
    std::unique_lock<std::shared_mutex> lock(shard.mutex);
    shard.answers.clear();
  }
  fileName_.clear();
  letterTableName_.clear();
  identityFigure_ = 0;
  listId_ = 0;
  alphabet_ = kAlphabetEnglish;
}

void Lexicon::bindStorage() {
  const Storage& s = *storage_;
  arrays_ = {s.words, s.text, s.signatures, s.trie, s.repeated, s.byText, s.byReversedText, s.letterIndexStart,
             s.letterIndexEntries};
  if (arrays_.trie.empty()) arrays_.trie = kEmptyTrie;
}

bool Lexicon::loadWordList(const std::string& fileName, const std::string& validatingName,
                           WordListCompanions* companions) {
  if (!fileName_.empty() && latin1Lower(fileName) == latin1Lower(fileName_)) return true;

  // The active game type's alphabet decides which tokens are words.
  const GameType* type = activeGameType();
  if (type) setAlphabetCounts(type->alphabet);
  PrintMessageF(msg::LexReading, fileName.c_str());
  identityName_ = validatingName.empty() ? fileName : validatingName;
  if (type) {
    for (const std::string& file : packFiles(type->alphabet, fileName)) {
      if (!dataFileExists(file)) {
        printPackNotice(type->alphabet);
        break;
      }
    }
  }

  clear();
  fileName_ = fileName;
  // The identity comes from the file's own name, whatever folder it is in.
  const std::string identity = latin1Lower(identityName_.substr(identityName_.find_last_of('/') + 1));
  for (const IdentityRow& row : kIdentities) {
    if (identity.starts_with(row.prefix)) {
      listId_ = row.listId;
      identityFigure_ = row.figure;
      break;
    }
  }

  auto cannotRead = [&] {
    PrintMessageF(msg::LexCannotRead, fileName.c_str());
    fileName_.clear();  // a later load of the same name tries again
    setWordListAlphabet(kAlphabetEnglish);
    return false;
  };
  const auto path = findDataFile(fileName);
  if (!path) return cannotRead();
  listPath_ = *path;
  const std::vector<std::string> classLists = classListNames(validatingName);
  Sources sources;
  sources.graphWanted = useGraphFile;
  const std::string graphName = companionName(fileName_, ".tribble");

  // The binary form, when there is one that matches the list and the files
  // the list's arrays depend on.
  std::optional<LexiconImageContent> image;
  const std::string binaryPath = useBinaryFile ? binaryPathBeside(*path) : std::string();
  if (useBinaryFile && dataFileExists(binaryPath)) {
    if (const auto listStamp = stampFile(*path)) {
      sources.list = *listStamp;
      for (const std::string& name : classLists) {
        const auto found = findDataFile(name);
        sources.classLists.emplace_back(name, found ? stampFile(*found) : std::nullopt);
        if (!sources.classLists.back().second) break;
      }
      if (useGraphFile) {
        const auto graphPath = findDataFile(graphName);
        sources.graphFile = graphPath ? stampFile(*graphPath) : std::nullopt;
      }
      image = readBinaryForm(binaryPath, sources);
    }
  }

  if (image) {
    // The notice the text's class lists would have given.
    for (const auto& [name, stamp] : sources.classLists) {
      if (!stamp) PrintMessageF(msg::LexCannotReadClassList, name.c_str());
    }
    tables_ = image->tables;
  } else {
    const auto data = readWholeFile(*path);
    if (!data) return cannotRead();
    sources = Sources{};
    sources.graphWanted = useGraphFile;
    sources.list = stampOf(*data);
    buildFromText(*data, validatingName, classLists, sources);
  }
  sourceKey_ = sources.key(listId_);
  detectAlphabet();
  if (!image) fillTwoLetterTables();
  if (companions) companions->wordsReady(*this);
  if (image) {
    graphKnown_ = useGraphFile;
    graphState_ = image->graphState;
    graphStamp_ = image->graphStamp;
    if (useGraphFile && graphState_ == GraphState::used) {
      graph_ = std::make_unique<WordGraph>(WordGraph::view(image->graphNodes, image->graphChildren));
    } else if (useGraphFile && graphState_ == GraphState::refused) {
      PrintMessageF(msg::LexGraphDoesNotFit, graphName.c_str());
    }
  } else {
    loadGraph(graphName);
    // A missing or stale binary form of a data-folder list is made again.
    if (useBinaryFile && useGraphFile && inDataFolder(*path) && !writeBinaryFile(binaryPath)) {
      PrintMessageF(msg::BinaryNotWritten, binaryPath.c_str());
    }
  }
  const auto stats = loadSquareStats ? findDataFile(companionName(identityName_, ".bb")) : std::nullopt;
  if (const auto text = stats ? readWholeFile(*stats) : std::nullopt) *squareLetterStats_ = SquareLetterStats::parse(*text);
  if (companions) companions->statisticsReady(*this);
  const std::string letterTable = companionName(identityName_, ".tl");
  letterTableName_ = dataFileExists(letterTable) ? letterTable : std::string();
  // calloc: the memo's pages stay untouched until a word's hooks are asked.
  const std::size_t memoSlots = std::max<std::size_t>(1, arrays_.words.size());
  hookMemo_.reset(static_cast<std::uint32_t*>(std::calloc(memoSlots, sizeof(std::uint32_t))));
  PrintMessageF(msg::LexWordCount, wordCount());
  return true;
}

void Lexicon::buildFromText(const std::string& data, const std::string& validatingName,
                            const std::vector<std::string>& classLists, Sources& sources) {
  storage_ = std::make_unique<Storage>();
  readWords(data);
  sortByLength();
  buildTrie();
  layOutTrieDepthFirst();
  bindStorage();
  buildSortedViews();
  buildLetterIndex();
  bindStorage();
  markClasses(validatingName, classLists, sources);
}

std::optional<LexiconImageContent> Lexicon::readBinaryForm(const std::string& binaryPath, const Sources& sources) {
  auto mapped = MappedFile::open(binaryPath);
  ImageRefusal refusal{ImageProblem::damaged, "unreadable"};
  std::optional<LexiconImageContent> content;
  if (mapped) {
    const GraphExpectation graph{sources.graphWanted, sources.graphFile};
    content = readLexiconImage(mapped->bytes(), sources.key(listId_), graph, rules().letterCount, &*mapped, refusal);
  }
  if (!content) {
    PrintMessageF(msg::BinaryIgnored, binaryPath.c_str(), refusalText(refusal).c_str());
    return std::nullopt;
  }
  // The views stay valid: moving the mapping keeps its address.
  mapping_ = std::move(*mapped);
  arrays_ = content->arrays;
  return content;
}

std::string Lexicon::binaryFileName() const {
  return listPath_.empty() ? std::string() : companionName(listPath_, ".lexbin");
}

bool Lexicon::writeBinaryFile(const std::string& path) const {
  if (listPath_.empty() || !graphKnown_) return false;
  LexiconImageContent content;
  content.arrays = arrays_;
  content.tables = tables_;
  content.graphState = graphState_;
  content.graphStamp = graphStamp_;
  if (graph_) {
    content.graphNodes = graph_->nodes();
    content.graphChildren = graph_->children();
  }
  return lexiconImageWriter(content, sourceKey_).write(path);
}

bool Lexicon::readWords(const std::string& data) {
  std::vector<WordEntry>& words = storage_->words;
  std::vector<char>& textStore = storage_->text;
  std::vector<unsigned char>& signatureStore = storage_->signatures;
  const int letterCount = rules().letterCount;
  auto valid = [&](std::size_t start, std::size_t length) {
    if (length < kMinWordLength || length > kMaxWordLength) return false;
    for (std::size_t i = 0; i < length; ++i) {
      const int code = letterCode(data[start + i]);
      if (code < 0 || code >= letterCount) return false;
    }
    return true;
  };
  // First pass: count the words and the room they need.
  std::size_t count = 0, textBytes = 0;
  forEachToken(data, [&](std::size_t start, std::size_t length) {
    if (!valid(start, length)) return;
    ++count;
    textBytes += length + 1;
  });
  if (count > static_cast<std::size_t>(INT32_MAX) || textBytes > UINT32_MAX / 2) return false;
  words.reserve(count);
  textStore.reserve(textBytes);
  signatureStore.reserve(textBytes * 2);

  // Second pass: store them.
  forEachToken(data, [&](std::size_t start, std::size_t length) {
    if (!valid(start, length)) return;
    WordEntry e;
    e.length = static_cast<std::uint8_t>(length);
    e.textOffset = static_cast<std::uint32_t>(textStore.size());
    e.signatureOffset = static_cast<std::uint32_t>(signatureStore.size());
    int counts[kCodeSlots] = {};
    char form[kCodeSlots] = {};
    for (std::size_t i = 0; i < length; ++i) {
      char c = data[start + i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      textStore.push_back(c);
      const int code = letterCode(c);
      if (code < 30) e.letterMask |= 1u << code;
      if (counts[code]++ == 0) form[code] = latin1Lower(c);
    }
    textStore.push_back('\0');
    // Signature: letters occurring more than once, then those occurring
    // once, each in code order, as (letter, count) pairs; a zero ends it.
    for (int pass = 0; pass < 2; ++pass) {
      for (int code = 0; code < kCodeSlots; ++code) {
        if (counts[code] == 0 || (pass == 0) != (counts[code] > 1)) continue;
        signatureStore.push_back(static_cast<unsigned char>(form[code]));
        signatureStore.push_back(static_cast<unsigned char>(counts[code]));
      }
    }
    signatureStore.push_back(0);
    words.push_back(e);
  });
  return true;
}

void Lexicon::sortByLength() {
  // A stable sort: words of one length keep their file order, which is the
  // order graph files are made for.
  std::vector<WordEntry>& words = storage_->words;
  std::stable_sort(words.begin(), words.end(),
                   [](const WordEntry& a, const WordEntry& b) { return a.length < b.length; });
  int previous = -1;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const int length = words[i].length;
    if (length != previous) tables_.firstIndexByLength[static_cast<std::size_t>(length)] = static_cast<int>(i);
    previous = length;
  }
}

void Lexicon::buildTrie() {
  // Entries sorted by their letter codes (ties by entry index); every trie
  // node then owns a contiguous range of them, and its children are the
  // runs of equal codes at its depth. Nodes are made breadth first, each
  // node's children side by side.
  const std::vector<WordEntry>& words = storage_->words;
  const std::vector<char>& textStore = storage_->text;
  std::vector<TrieNode>& trie = storage_->trie;
  std::vector<RepeatedWord>& repeated = storage_->repeated;
  const std::size_t n = words.size();
  std::vector<std::uint8_t> codes(textStore.size());
  for (std::size_t i = 0; i < textStore.size(); ++i) {
    const int code = letterCode(textStore[i]);
    codes[i] = static_cast<std::uint8_t>(code < 0 ? 0 : code);
  }
  auto codeAt = [&](EntryIndex e, std::size_t depth) { return codes[words[static_cast<std::size_t>(e)].textOffset + depth]; };
  std::vector<EntryIndex> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<EntryIndex>(i);
  std::sort(order.begin(), order.end(), [&](EntryIndex a, EntryIndex b) {
    const WordEntry& x = words[static_cast<std::size_t>(a)];
    const WordEntry& y = words[static_cast<std::size_t>(b)];
    const int c = std::memcmp(codes.data() + x.textOffset, codes.data() + y.textOffset, std::min(x.length, y.length));
    if (c != 0) return c < 0;
    if (x.length != y.length) return x.length < y.length;
    return a < b;
  });

  struct Range {
    NodeIndex node;
    std::uint32_t lo, hi;
    std::uint32_t depth;
  };
  trie.assign(1, TrieNode{});
  repeated.clear();
  std::vector<Range> queue{{0, 0, static_cast<std::uint32_t>(n), 0}};
  for (std::size_t q = 0; q < queue.size(); ++q) {
    const Range r = queue[q];
    std::uint32_t i = r.lo;
    EntryIndex first = kNoEntry, last = kNoEntry;
    for (; i < r.hi && words[static_cast<std::size_t>(order[i])].length == r.depth; ++i) {
      if (first == kNoEntry) first = order[i];
      last = order[i];
    }
    // A repeated word: the trie keeps the last entry, lookups by text the first.
    trie[static_cast<std::size_t>(r.node)].word = last;
    if (first != last) repeated.push_back({r.node, first});

    std::uint32_t mask = 0;
    for (std::uint32_t j = i; j < r.hi; ++j) mask |= 1u << codeAt(order[j], r.depth);
    const int children = __builtin_popcount(mask);
    TrieNode& node = trie[static_cast<std::size_t>(r.node)];
    node.childMask = mask;
    node.onlyChild = static_cast<std::int8_t>(children == 0 ? -1 : children == 1 ? __builtin_ctz(mask) : -2);
    if (children == 0) continue;
    const auto firstChild = static_cast<NodeIndex>(trie.size());
    node.firstChild = firstChild;
    trie.resize(trie.size() + static_cast<std::size_t>(children));
    NodeIndex next = firstChild;
    for (std::uint32_t j = i; j < r.hi;) {
      const std::uint8_t code = codeAt(order[j], r.depth);
      std::uint32_t end = j;
      while (end < r.hi && codeAt(order[end], r.depth) == code) ++end;
      queue.push_back({next++, j, end, r.depth + 1});
      j = end;
    }
  }
}

void Lexicon::layOutTrieDepthFirst() {
  // Children stay side by side, but each node's block of children is placed
  // right after its parent's block in depth-first order, so that a walk
  // down one word touches nearby memory.
  std::vector<TrieNode>& trie = storage_->trie;
  const std::size_t n = trie.size();
  std::vector<NodeIndex> newIndex(n, kNoNode);
  std::vector<TrieNode> laidOut(n);
  newIndex[0] = 0;
  NodeIndex next = 1;
  std::vector<NodeIndex> stack{0};
  while (!stack.empty()) {
    const NodeIndex old = stack.back();
    stack.pop_back();
    const TrieNode& node = trie[static_cast<std::size_t>(old)];
    TrieNode& placed = laidOut[static_cast<std::size_t>(newIndex[static_cast<std::size_t>(old)])];
    placed = node;
    const int children = __builtin_popcount(node.childMask);
    if (children == 0) continue;
    placed.firstChild = next;
    for (int c = 0; c < children; ++c) newIndex[static_cast<std::size_t>(node.firstChild + c)] = next + c;
    next += children;
    // Visit the first child next.
    for (int c = children - 1; c >= 0; --c) stack.push_back(node.firstChild + c);
  }
  trie.swap(laidOut);
  std::vector<RepeatedWord>& repeated = storage_->repeated;
  for (RepeatedWord& r : repeated) r.node = newIndex[static_cast<std::size_t>(r.node)];
  std::sort(repeated.begin(), repeated.end(), [](const RepeatedWord& a, const RepeatedWord& b) { return a.node < b.node; });
}

void Lexicon::buildSortedViews() {
  std::vector<EntryIndex>& byText = storage_->byText;
  std::vector<EntryIndex>& byReversedText = storage_->byReversedText;
  const std::size_t n = storage_->words.size();
  byText.resize(n);
  for (std::size_t i = 0; i < n; ++i) byText[i] = static_cast<EntryIndex>(i);
  byReversedText = byText;
  std::sort(byText.begin(), byText.end(), [&](EntryIndex a, EntryIndex b) {
    const int c = textView(a).compare(textView(b));
    return c != 0 ? c < 0 : a < b;
  });
  std::sort(byReversedText.begin(), byReversedText.end(), [&](EntryIndex a, EntryIndex b) {
    if (reversedLess(textView(a), textView(b))) return true;
    if (reversedLess(textView(b), textView(a))) return false;
    return a < b;
  });
  // Runs of equal first characters in byText; room for 31 runs, then the
  // word count.
  std::size_t run = 0;
  for (std::size_t i = 0; i < n && run < 31; ++i) {
    if (i == 0 || text(byText[i])[0] != text(byText[i - 1])[0]) tables_.firstLetterStart[run++] = static_cast<int>(i);
  }
  for (std::size_t k = run; k < tables_.firstLetterStart.size(); ++k) tables_.firstLetterStart[k] = static_cast<int>(n);
}

namespace {

constexpr std::size_t indexSlot(int table, int position, int code, int length) {
  return ((static_cast<std::size_t>(table) * kIndexPositions + static_cast<std::size_t>(position)) * 32 +
          static_cast<std::size_t>(code)) * kIndexLengths + static_cast<std::size_t>(length);
}

// Tables whose excluded letters (bit 0 E, 1 S, 2 A, 3 T) a word lacks.
std::uint32_t tablesFor(std::uint32_t letterMask) {
  unsigned absent = 0;
  if (!(letterMask & (1u << 4))) absent |= 1;    // e
  if (!(letterMask & (1u << 18))) absent |= 2;   // s
  if (!(letterMask & (1u << 0))) absent |= 4;    // a
  if (!(letterMask & (1u << 19))) absent |= 8;   // t
  std::uint32_t tables = 0;
  for (unsigned t = 0; t < kIndexTables; ++t) {
    if ((t & absent) == t) tables |= 1u << t;
  }
  return tables;
}

}  // namespace

void Lexicon::buildLetterIndex() {
  // Two passes over the entries: count each list, then fill the lists in
  // entry order.
  std::vector<std::uint32_t>& start = storage_->letterIndexStart;
  std::vector<EntryIndex>& entries = storage_->letterIndexEntries;
  static_assert(indexSlot(kIndexTables - 1, kIndexPositions - 1, 31, kIndexLengths - 1) + 1 == kLetterIndexLists);
  start.assign(kLetterIndexLists + 1, 0);
  auto visit = [&](auto&& add) {
    for (int e = 0; e < wordCount(); ++e) {
      const WordEntry& w = entry(e);
      if (w.length >= kIndexLengths) continue;
      const std::uint32_t tables = tablesFor(w.letterMask);
      const char* t = text(e);
      for (int p = 0; p < std::min<int>(w.length, kIndexPositions); ++p) {
        const int code = letterCode(t[p]);
        for (std::uint32_t bits = tables; bits; bits &= bits - 1) add(indexSlot(__builtin_ctz(bits), p, code, w.length), e);
      }
    }
  };
  visit([&](std::size_t slot, EntryIndex) { ++start[slot + 1]; });
  for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
  entries.resize(start.back());
  std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
  visit([&](std::size_t slot, EntryIndex e) { entries[fill[slot]++] = e; });
}

std::span<const EntryIndex> Lexicon::letterIndex(int table, int position, int code, int length) const {
  if (table < 0 || table >= kIndexTables || position < 0 || position >= kIndexPositions || code < 0 || code > 31 ||
      length < 0 || length >= kIndexLengths || arrays_.letterIndexStart.size() < 2) {
    return {};
  }
  const std::size_t slot = indexSlot(table, position, code, length);
  const auto& start = arrays_.letterIndexStart;
  return arrays_.letterIndexEntries.subspan(start[slot], start[slot + 1] - start[slot]);
}

std::vector<std::string> Lexicon::classListNames(const std::string& validatingName) const {
  if (!validatingName.empty()) return {validatingName};
  if (listId_ == 6) return {"CSW12.lst", "TWL06.lst"};
  if (listId_ == 4 || listId_ == 5) return {"TWL06.lst"};
  return {};
}

void Lexicon::markClasses(const std::string& validatingName, const std::vector<std::string>& names,
                          Sources& sources) {
  if (names.empty()) return;
  // The classes are only changed when every list the rule needs can be
  // read: a missing list must not turn the whole lexicon into phonies.
  std::vector<std::string> lists;
  for (const std::string& name : names) {
    const auto path = findDataFile(name);
    auto content = path ? readWholeFile(*path) : std::nullopt;
    sources.classLists.emplace_back(name, content ? std::optional<FileStamp>(stampOf(*content)) : std::nullopt);
    if (!content) {
      PrintMessageF(msg::LexCannotReadClassList, name.c_str());
      return;
    }
    lists.push_back(std::move(*content));
  }
  // Every word first gets the class of words missing from the lists, then
  // each list in turn marks its words.
  int missing = kClassInternational;
  std::vector<int> marks = {kClassNormal};
  if (!validatingName.empty()) {
    missing = kClassPhony;
  } else if (listId_ == 6) {
    missing = kClassInNeither;
    marks = {kClassInternational, kClassNormal};
  }
  std::vector<WordEntry>& words = storage_->words;
  for (WordEntry& w : words) w.wordClass = static_cast<std::uint8_t>(missing);
  for (std::size_t k = 0; k < lists.size() && k < marks.size(); ++k) {
    const std::string& data = lists[k];
    forEachToken(data, [&](std::size_t start, std::size_t length) {
      const EntryIndex e = findEntry(std::string_view(data).substr(start, length));
      if (e != kNoEntry) words[static_cast<std::size_t>(e)].wordClass = static_cast<std::uint8_t>(marks[k]);
    });
  }
}

void Lexicon::detectAlphabet() {
  alphabet_ = kAlphabetEnglish;  // no probe matching also means English
  for (const Probe& probe : kProbes) {
    const bool all = std::all_of(probe.words.begin(), probe.words.end(), [&](const char* w) { return isWord(w, 0); });
    if (all) {
      alphabet_ = probe.alphabet;
      break;
    }
  }
  setWordListAlphabet(alphabet_);
}

void Lexicon::loadGraph(const std::string& name) {
  graphKnown_ = useGraphFile;
  if (!useGraphFile) return;
  const auto path = findDataFile(name);
  if (!path) return;
  const auto bytes = readWholeFile(*path);
  if (bytes) graphStamp_ = stampOf(*bytes);
  std::optional<WordGraph> graph = bytes ? WordGraph::parse(*bytes, wordCount()) : std::nullopt;
  if (!graph || !graph->fitsLexicon(*this)) {
    // An unreadable graph file is no file to the binary form: it is looked
    // for again next time.
    graphState_ = bytes ? GraphState::refused : GraphState::none;
    PrintMessageF(msg::LexGraphDoesNotFit, name.c_str());
    return;
  }
  graphState_ = GraphState::used;
  graph_ = std::make_unique<WordGraph>(std::move(*graph));
}

void Lexicon::fillTwoLetterTables() {
  const int letterCount = rules().letterCount;
  for (int first = 0; first < letterCount; ++first) {
    for (int second = 0; second < letterCount; ++second) {
      const char word[2] = {charOfLower(first), charOfLower(second)};
      if (!isWord(std::string_view(word, 2), 999)) continue;
      tables_.twoLetterWord[static_cast<std::size_t>(first)][static_cast<std::size_t>(second)] = true;
      tables_.canStartTwo[static_cast<std::size_t>(first)] = true;
      tables_.canEndTwo[static_cast<std::size_t>(second)] = true;
    }
  }
}

NodeIndex Lexicon::walk(std::string_view text) const {
  NodeIndex node = trieRoot;
  for (char c : text) {
    const int code = letterCode(c);
    if (code < 0) return kNoNode;
    node = child(node, code);
    if (node == kNoNode) return kNoNode;
  }
  return node;
}

bool Lexicon::isWord(std::string_view text, int minPhonyLength, bool* isPhony) const {
  if (isPhony) *isPhony = false;
  const NodeIndex node = walk(text);
  if (node == kNoNode || nodeWord(node) == kNoEntry) return false;
  const WordEntry& w = entry(nodeWord(node));
  const bool phony = w.wordClass == kClassPhony;
  if (isPhony) *isPhony = phony;
  return !phony || w.length >= minPhonyLength;
}

EntryIndex Lexicon::findEntry(std::string_view text) const {
  // Every stored length, 2 to 32 letters (the position index stops at 30,
  // the trie does not).
  if (text.size() < kMinWordLength || text.size() > kMaxWordLength) return kNoEntry;
  const NodeIndex node = walk(text);
  if (node == kNoNode || nodeWord(node) == kNoEntry) return kNoEntry;
  const auto repeated = std::lower_bound(arrays_.repeated.begin(), arrays_.repeated.end(), node,
                                         [](const RepeatedWord& r, NodeIndex n) { return r.node < n; });
  return repeated != arrays_.repeated.end() && repeated->node == node ? repeated->entry : nodeWord(node);
}

const LetterMultisets& Lexicon::letterMultisets() const {
  if (const LetterMultisets* ready = multisetsReady_.load(std::memory_order_acquire)) return *ready;
  std::lock_guard<std::mutex> lock(multisetsMutex_);
  if (!multisets_) multisets_ = std::make_unique<LetterMultisets>(*this);
  multisetsReady_.store(multisets_.get(), std::memory_order_release);
  return *multisets_;
}

bool Lexicon::hasAnagram(std::string_view text) const {
  int codes[kMaxWordLength];
  if (text.empty() || text.size() > kMaxWordLength) return false;
  std::string key(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    codes[i] = letterCode(text[i]);
    if (codes[i] < 0) return false;
    key[i] = static_cast<char>(codes[i]);
  }
  MemoShard& shard = anagramMemo_[std::hash<std::string>{}(key) % kMemoShards];
  {
    std::shared_lock<std::shared_mutex> lock(shard.mutex);
    const auto found = shard.answers.find(key);
    if (found != shard.answers.end()) return found->second;
  }
  const int n = static_cast<int>(text.size());
  // Depth-first over the trie, trying each unused letter once per level.
  std::function<bool(NodeIndex, std::uint32_t, int)> search = [&](NodeIndex node, std::uint32_t used, int depth) {
    if (depth == n) return nodeWord(node) != kNoEntry;
    std::uint32_t tried = 0;
    for (int i = 0; i < n; ++i) {
      if (used & (1u << i) || tried & (1u << codes[i])) continue;
      tried |= 1u << codes[i];
      const NodeIndex next = child(node, codes[i]);
      if (next != kNoNode && search(next, used | (1u << i), depth + 1)) return true;
    }
    return false;
  };
  const bool answer = search(trieRoot, 0, 0);
  std::unique_lock<std::shared_mutex> lock(shard.mutex);
  shard.answers.emplace(std::move(key), answer);
  return answer;
}

EntryIndex Lexicon::findAnagramWord(std::string_view letters) const {
  if (letters.size() < kMinWordLength || letters.size() > kMaxWordLength) return kNoEntry;
  int wanted[kCodeSlots] = {};
  std::uint32_t mask = 0;
  for (char c : letters) {
    const int code = letterCode(c);
    if (code < 0) return kNoEntry;
    ++wanted[code];
    if (code < 30) mask |= 1u << code;
  }
  const auto length = static_cast<std::uint8_t>(letters.size());
  const auto words = arrays_.words;
  const auto range = std::equal_range(words.begin(), words.end(), WordEntry{.length = length},
                                      [](const WordEntry& a, const WordEntry& b) { return a.length < b.length; });
  for (auto it = range.first; it != range.second; ++it) {
    if (it->letterMask != mask) continue;
    int counts[kCodeSlots] = {};
    const char* t = arrays_.text.data() + it->textOffset;
    for (int i = 0; i < length; ++i) ++counts[letterCode(t[i])];
    if (std::equal(std::begin(counts), std::end(counts), std::begin(wanted))) {
      return static_cast<EntryIndex>(it - words.begin());
    }
  }
  return kNoEntry;
}

std::uint32_t Lexicon::hookLetters(EntryIndex entry) const {
  if (entry < 0 || entry >= wordCount() || !hookMemo_) return 0;
  std::atomic_ref<std::uint32_t> slot(hookMemo_[static_cast<std::size_t>(entry)]);
  const std::uint32_t known = slot.load(std::memory_order_relaxed);
  if (known != 0) return known ^ kHooksUnknown;
  std::uint32_t hooks = 0;
  auto endsRealWord = [&](NodeIndex node) {
    const EntryIndex e = nodeWord(node);
    return e != kNoEntry && this->entry(e).wordClass != kClassPhony;
  };
  const std::string_view word = textView(entry);
  // Behind the word: children of its node that end words.
  const NodeIndex node = walk(word);
  if (node != kNoNode) {
    for (std::uint32_t mask = childMask(node); mask; mask &= mask - 1) {
      const int letter = __builtin_ctz(mask);
      if (endsRealWord(child(node, letter))) hooks |= 1u << letter;
    }
  }
  // In front of it: each first letter, then the word.
  for (std::uint32_t mask = childMask(trieRoot); mask; mask &= mask - 1) {
    const int letter = __builtin_ctz(mask);
    NodeIndex n = child(trieRoot, letter);
    for (std::size_t i = 0; i < word.size() && n != kNoNode; ++i) {
      const int code = letterCode(word[i]);
      n = code < 0 ? kNoNode : child(n, code);
    }
    if (n != kNoNode && endsRealWord(n)) hooks |= 1u << letter;
  }
  slot.store(hooks ^ kHooksUnknown, std::memory_order_relaxed);
  return hooks;
}

bool Lexicon::isAcceptedExtra(std::string_view text) const {
  const std::string lowered = latin1Lower(text);
  std::lock_guard<std::mutex> lock(extrasMutex_);
  return std::any_of(acceptedExtras_.begin(), acceptedExtras_.end(),
                     [&](const std::string& extra) { return latin1Lower(extra) == lowered; });
}

void Lexicon::addAcceptedExtra(std::string_view text) {
  std::lock_guard<std::mutex> lock(extrasMutex_);
  acceptedExtras_.emplace_back(text);
}

}  // namespace pexil
