// The binary form of a word list (".lexbin"): written beside a list of the
// data folder on its first load, used by later loads with every query
// answering as from the text (English, and Spanish and Catalan with their
// multi-letter tiles), made again when the list, its graph or its class
// lists change, and refused with a notice when it is damaged, of another
// version, kind or machine, while the list still loads from its text; a
// folder that takes no files only costs the notice.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "io/binary_image.hpp"
#include "io/content_hash.hpp"
#include "io/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "lexicon/lexicon_image.hpp"
#include "lexicon/word_graph.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_definitions.hpp"
#include "rules/game_rules.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

namespace fs = std::filesystem;
using test::PaneCapture;

std::string fixture(const std::string& name) { return readWholeFile(std::string(PEXIL_TEST_DATA "/") + name).value_or(""); }

std::string fileBytes(const std::string& path) { return readWholeFile(path).value_or(""); }

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Every public query of two lexicons gives the same answer.
void expectSameLexicon(const Lexicon& a, const Lexicon& b) {
  ASSERT_EQ(a.wordCount(), b.wordCount());
  ASSERT_EQ(a.trieNodeCount(), b.trieNodeCount());
  EXPECT_EQ(a.alphabet(), b.alphabet());
  EXPECT_EQ(a.listId(), b.listId());
  for (int e = 0; e < a.wordCount(); ++e) {
    const WordEntry& x = a.entry(e);
    const WordEntry& y = b.entry(e);
    ASSERT_EQ(a.textView(e), b.textView(e)) << e;
    ASSERT_EQ(std::string(a.text(e)), std::string(b.text(e))) << e;
    ASSERT_EQ(x.length, y.length) << e;
    ASSERT_EQ(x.letterMask, y.letterMask) << e;
    ASSERT_EQ(x.wordClass, y.wordClass) << e;
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(a.signature(e))),
              std::string(reinterpret_cast<const char*>(b.signature(e))))
        << e;
    ASSERT_EQ(a.findEntry(a.textView(e)), b.findEntry(a.textView(e))) << a.textView(e);
    ASSERT_EQ(a.isWord(a.textView(e), 999), b.isWord(a.textView(e), 999)) << a.textView(e);
    ASSERT_EQ(a.hookLetters(e), b.hookLetters(e)) << a.textView(e);
  }
  for (NodeIndex n = 0; n < static_cast<NodeIndex>(a.trieNodeCount()); ++n) {
    ASSERT_EQ(a.childMask(n), b.childMask(n)) << n;
    ASSERT_EQ(a.nodeWord(n), b.nodeWord(n)) << n;
    ASSERT_EQ(a.onlyChild(n), b.onlyChild(n)) << n;
    for (int code = 0; code < 32; ++code) ASSERT_EQ(a.child(n, code), b.child(n, code)) << n << " " << code;
  }
  EXPECT_TRUE(std::ranges::equal(a.byText(), b.byText()));
  EXPECT_TRUE(std::ranges::equal(a.byReversedText(), b.byReversedText()));
  EXPECT_EQ(a.firstLetterStart(), b.firstLetterStart());
  EXPECT_EQ(a.firstIndexByLength(), b.firstIndexByLength());
  for (int table = 0; table < kIndexTables; ++table) {
    for (int position = 0; position < kIndexPositions; ++position) {
      for (int code = 0; code < 32; ++code) {
        for (int length = 0; length < kIndexLengths; ++length) {
          ASSERT_TRUE(std::ranges::equal(a.letterIndex(table, position, code, length),
                                         b.letterIndex(table, position, code, length)))
              << table << " " << position << " " << code << " " << length;
        }
      }
    }
  }
  for (int x = 0; x < 32; ++x) {
    EXPECT_EQ(a.canEndTwo(x), b.canEndTwo(x)) << x;
    EXPECT_EQ(a.canStartTwo(x), b.canStartTwo(x)) << x;
    for (int y = 0; y < 32; ++y) EXPECT_EQ(a.isTwoLetterWord(x, y), b.isTwoLetterWord(x, y)) << x << " " << y;
  }
  // Words with a letter changed (mostly no words), and anagram queries.
  for (int e = 0; e < a.wordCount(); e += 7) {
    std::string changed(a.textView(e));
    changed[changed.size() / 2] = changed[0];
    ASSERT_EQ(a.isWord(changed, 0), b.isWord(changed, 0)) << changed;
    ASSERT_EQ(a.findEntry(changed), b.findEntry(changed)) << changed;
    std::string reversed(changed.rbegin(), changed.rend());
    ASSERT_EQ(a.hasAnagram(reversed), b.hasAnagram(reversed)) << reversed;
    ASSERT_EQ(a.findAnagramWord(reversed), b.findAnagramWord(reversed)) << reversed;
  }
  ASSERT_EQ(a.graph() == nullptr, b.graph() == nullptr);
  if (a.graph()) {
    const WordGraph& g = *a.graph();
    const WordGraph& h = *b.graph();
    ASSERT_EQ(g.nodeCount(), h.nodeCount());
    for (std::size_t i = 0; i < g.nodeCount(); ++i) {
      const GraphNode& x = g.node(static_cast<std::int32_t>(i));
      const GraphNode& y = h.node(static_cast<std::int32_t>(i));
      ASSERT_EQ(x.word, y.word) << i;
      ASSERT_EQ(x.edgeMask, y.edgeMask) << i;
      ASSERT_EQ(x.letter, y.letter) << i;
      ASSERT_EQ(x.edgeCount, y.edgeCount) << i;
      for (int k = 0; k < x.edgeCount; ++k) ASSERT_EQ(g.childAt(x, k), h.childAt(y, k)) << i;
    }
  }
}

class LexiconBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    // Notices on one line each, whatever their length.
    textPane().SetNoWrap(true);
    readGameDefinitions(PEXIL_SOURCE_DIR "/data/game.definitions");
    activateGameType(kKindStandard);
    setAlphabetCounts(kAlphabetEnglish);
  }
  void TearDown() override {
    activateGameType(kKindStandard);
    textPane().SetNoWrap(wasNoWrap);
  }
  const bool wasNoWrap = textPane().NoWrap();

  // Puts a fixture list into the data folder (the temporary folder, the
  // working one) with a word graph beside it.
  void install(const std::string& fixtureName, const std::string& name) {
    folder.write(name, fixture(fixtureName));
    Lexicon plain;
    plain.loadLeaves = false;
    plain.loadWinProb = false;
    plain.useGraphFile = false;
    plain.useBinaryFile = false;
    ASSERT_TRUE(loadWordListWithTables(plain, name));
    folder.write(companionName(name, ".tribble"), WordGraph::build(plain).serialise());
  }

  std::unique_ptr<Lexicon> load(const std::string& name, bool binary = true, const std::string& validating = "") {
    auto lexicon = std::make_unique<Lexicon>();
    lexicon->loadLeaves = false;
    lexicon->loadWinProb = false;
    lexicon->useBinaryFile = binary;
    EXPECT_TRUE(loadWordListWithTables(*lexicon, name, validating));
    return lexicon;
  }

  // Loads from text and twice with the binary form (writing it, then
  // reading it) and compares each with the text.
  void roundTrip(const std::string& name) {
    PaneCapture textLines;
    const auto text = load(name, false);
    const auto expectedLines = textLines.lines();
    EXPECT_FALSE(text->loadedFromBinary());
    EXPECT_FALSE(fs::exists(folder.path(companionName(name, ".lexbin"))));
    const auto writing = load(name);
    EXPECT_FALSE(writing->loadedFromBinary());
    ASSERT_TRUE(fs::exists(folder.path(companionName(name, ".lexbin"))));
    PaneCapture capture;
    const auto reading = load(name);
    EXPECT_TRUE(reading->loadedFromBinary());
    // The same lines as a load from the text: no notice.
    EXPECT_EQ(capture.lines(), expectedLines);
    EXPECT_EQ(expectedLines.back(), std::to_string(text->wordCount()) + " words in word list. ");
    ASSERT_NE(reading->graph(), nullptr);
    expectSameLexicon(*text, *reading);
    expectSameLexicon(*text, *writing);
  }

  // The load after a change to the binary form: the notice names it and
  // the reason, the list loads from its text all the same, and the binary
  // form is made again.
  void expectRefused(const std::string& name, const std::string& reason, const Lexicon& expected) {
    PaneCapture capture;
    const auto lexicon = load(name);
    EXPECT_FALSE(lexicon->loadedFromBinary());
    const std::string notice = "The binary file \"" + companionName(name, ".lexbin") + "\" is not used: ";
    const auto lines = capture.lines();
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(notice); });
    ASSERT_NE(line, lines.end()) << notice;
    EXPECT_NE(line->find(reason), std::string::npos) << *line;
    expectSameLexicon(expected, *lexicon);
    EXPECT_TRUE(load(name)->loadedFromBinary());
  }

  test::StateGuard guard;
  test::TempFolder folder;
  test::InFolder in{folder.path("")};
};

TEST_F(LexiconBinary, EnglishRoundTrip) {
  install("movegen/words.lst", "words.lst");
  roundTrip("words.lst");
}

TEST_F(LexiconBinary, SpanishRoundTripWithItsMultiLetterTiles) {
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Spanish")));
  install("lexicon/spanish_sample.lst", "spanish.lst");
  roundTrip("spanish.lst");
  const auto lexicon = load("spanish.lst");
  ASSERT_TRUE(lexicon->loadedFromBinary());
  EXPECT_EQ(lexicon->alphabet(), kAlphabetSpanish);
  for (const char* word : {"abo2an", "1abacana", "1aca"}) EXPECT_TRUE(lexicon->isWord(word, 0)) << word;
  int multiLetter = 0;
  for (int e = 0; e < lexicon->wordCount(); ++e) {
    multiLetter += lexicon->textView(e).find_first_of("123\xF1") != std::string_view::npos ? 1 : 0;
  }
  EXPECT_GT(multiLetter, 100);
}

TEST_F(LexiconBinary, CatalanRoundTripWithItsMultiLetterTiles) {
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Catalan")));
  install("lexicon/catalan_sample.lst", "catalan.lst");
  roundTrip("catalan.lst");
  const auto lexicon = load("catalan.lst");
  ASSERT_TRUE(lexicon->loadedFromBinary());
  EXPECT_EQ(lexicon->alphabet(), kAlphabetCatalan);
  EXPECT_TRUE(lexicon->isWord("abarrocarem", 0));
  int multiLetter = 0;
  for (int e = 0; e < lexicon->wordCount(); ++e) {
    multiLetter += lexicon->textView(e).find_first_of("kqwy") != std::string_view::npos ? 1 : 0;
  }
  EXPECT_GT(multiLetter, 100);
}

TEST_F(LexiconBinary, AnEditedListIsReadAgainAndItsBinaryFormMadeAgain) {
  install("lexicon/spanish_sample.lst", "words.lst");
  load("words.lst");
  ASSERT_TRUE(load("words.lst")->loadedFromBinary());
  // One word more: the size and the hash differ.
  folder.write("words.lst", fixture("lexicon/spanish_sample.lst") + "zzyzzx\n");
  const auto text = load("words.lst", false);
  EXPECT_TRUE(text->isWord("zzyzzx", 0));
  expectRefused("words.lst", "made from other files", *text);
  EXPECT_TRUE(load("words.lst")->isWord("zzyzzx", 0));
  // One letter changed in place: the same size, another hash.
  std::string edited = fixture("lexicon/spanish_sample.lst") + "zzyzzy\n";
  folder.write("words.lst", edited);
  const auto changed = load("words.lst", false);
  EXPECT_FALSE(changed->isWord("zzyzzx", 0));
  expectRefused("words.lst", "made from other files", *changed);
}

TEST_F(LexiconBinary, ANewGraphFileOrAnotherAlphabetMakesItStale) {
  install("lexicon/spanish_sample.lst", "words.lst");
  load("words.lst");
  // A graph file cut short: refused as not fitting.
  const std::string graph = fileBytes(folder.path("words.tribble"));
  folder.write("words.tribble", graph.substr(0, graph.size() - 10));
  {
    const auto text = load("words.lst", false);
    EXPECT_EQ(text->graph(), nullptr);
    expectRefused("words.lst", "made from other files", *text);
    // The binary form remembers the refusal and gives its notice.
    PaneCapture capture;
    EXPECT_EQ(load("words.lst")->graph(), nullptr);
    const auto lines = capture.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
      return line.starts_with("The word graph \"words.tribble\" does not fit the word list and is ignored.");
    }));
  }
  // A list loaded without its graph uses the binary form all the same.
  folder.write("words.tribble", graph);
  load("words.lst");
  {
    Lexicon withoutGraph;
    withoutGraph.loadLeaves = false;
    withoutGraph.loadWinProb = false;
    withoutGraph.useGraphFile = false;
    ASSERT_TRUE(loadWordListWithTables(withoutGraph, "words.lst"));
    EXPECT_TRUE(withoutGraph.loadedFromBinary());
    EXPECT_EQ(withoutGraph.graph(), nullptr);
  }
  // Another alphabet's letter count reads other words from the same text.
  ASSERT_TRUE(activateGameType(kKindDefined, findGameType("Scrabble(R) - Spanish")));
  const auto spanish = load("words.lst", false);
  expectRefused("words.lst", "made from other files", *spanish);
}

TEST_F(LexiconBinary, ClassListsArePartOfWhatItIsMadeFrom) {
  folder.write("queries.lst", fixture("lexicon/queries.lst"));
  folder.write("valid.lst", fixture("lexicon/queries_valid.lst"));
  const auto text = load("queries.lst", false, "valid.lst");
  load("queries.lst", true, "valid.lst");
  const auto binary = load("queries.lst", true, "valid.lst");
  EXPECT_TRUE(binary->loadedFromBinary());
  expectSameLexicon(*text, *binary);
  int phonies = 0;
  for (int e = 0; e < binary->wordCount(); ++e) phonies += binary->entry(e).wordClass == kClassPhony ? 1 : 0;
  EXPECT_GT(phonies, 0);
  // Without the validating list the classes differ: the form is stale.
  const auto plain = load("queries.lst", false);
  expectRefused("queries.lst", "made from other files", *plain);
  // The validating list edited.
  load("queries.lst", true, "valid.lst");
  folder.write("valid.lst", fixture("lexicon/queries_valid.lst") + "zzz\n");
  const auto edited = load("queries.lst", false, "valid.lst");
  PaneCapture capture;
  const auto again = load("queries.lst", true, "valid.lst");
  EXPECT_FALSE(again->loadedFromBinary());
  expectSameLexicon(*edited, *again);
}

TEST_F(LexiconBinary, DamagedFilesAreRefusedWithTheReason) {
  install("lexicon/spanish_sample.lst", "words.lst");
  const auto text = load("words.lst", false);
  load("words.lst");
  const std::string path = folder.path("words.lexbin");
  const std::string good = fileBytes(path);
  ASSERT_GT(good.size(), 4096u);
  struct Damage {
    std::string bytes;
    const char* reason;
  };
  auto patched = [&](std::size_t at, const std::string& with) {
    std::string bytes = good;
    bytes.replace(at, with.size(), with);
    return bytes;
  };
  auto u32 = [](std::uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  std::vector<Damage> damages = {
      {"", "not a binary data file"},
      {good.substr(0, 10), "not a binary data file"},
      {good.substr(0, 64), "damaged (file size)"},
      {good.substr(0, good.size() / 2), "damaged (file size)"},
      {good.substr(0, good.size() - 1), "damaged (file size)"},
      {patched(0, "PEXILBOX"), "not a binary data file"},
      {patched(12, u32(kLexiconImageVersion + 1)), "another version"},
      {patched(16, "RACKTAB"), "other data than its name"},
      {patched(8, u32(0x04030201u)), "another byte order"},
      {patched(28, u32(1000)), "damaged (directory)"},
      {good + std::string(64, '\0'), "damaged (file size)"},
  };
  // Bytes flipped all over the sections: the checksum or a check finds it.
  for (std::size_t at = 4096; at < good.size(); at += good.size() / 23) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
    damages.push_back({bytes, "damaged ("});
  }
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.reason);
    writeBytes(path, damage.bytes);
    expectRefused("words.lst", damage.reason, *text);
    EXPECT_EQ(fileBytes(path), good);  // made again, the same bytes
  }
}

TEST_F(LexiconBinary, TheSameListGivesTheSameBytes) {
  install("movegen/words.lst", "words.lst");
  load("words.lst");
  const std::string first = fileBytes(folder.path("words.lexbin"));
  fs::remove(folder.path("words.lexbin"));
  load("words.lst");
  EXPECT_EQ(fileBytes(folder.path("words.lexbin")), first);
  // And the data command's writer gives them too.
  const auto text = load("words.lst", false);
  ASSERT_TRUE(text->writeBinaryFile(folder.path("copy.lexbin")));
  EXPECT_EQ(fileBytes(folder.path("copy.lexbin")), first);
}

TEST_F(LexiconBinary, AFolderThatTakesNoFileOnlyCostsANotice) {
  install("lexicon/catalan_sample.lst", "words.lst");
  const auto text = load("words.lst", false);
  // The binary form's name is taken by a folder: nothing can be written.
  fs::create_directory(folder.path("words.lexbin"));
  for (int round = 0; round < 2; ++round) {
    PaneCapture capture;
    const auto lexicon = load("words.lst");
    EXPECT_FALSE(lexicon->loadedFromBinary());
    expectSameLexicon(*text, *lexicon);
    const auto lines = capture.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
      return line.starts_with("Could not write the binary file \"words.lexbin\": the text files are read instead.");
    }));
  }
}

TEST_F(LexiconBinary, AReadOnlyDataFolderLoadsFromTheText) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  install("lexicon/spanish_sample.lst", "words.lst");
  const auto text = load("words.lst", false);
  fs::permissions(folder.path(""), fs::perms::owner_read | fs::perms::owner_exec);
  const auto lexicon = load("words.lst");
  fs::permissions(folder.path(""), fs::perms::owner_all);
  EXPECT_FALSE(lexicon->loadedFromBinary());
  EXPECT_FALSE(fs::exists(folder.path("words.lexbin")));
  expectSameLexicon(*text, *lexicon);
}

TEST_F(LexiconBinary, ListsOutsideTheDataFolderGetNoBinaryFormOfTheirOwn) {
  test::TempFolder other;
  other.write("mine.lst", fixture("lexicon/spanish_sample.lst"));
  const std::string path = other.path("mine.lst");
  const auto text = load(path);
  EXPECT_FALSE(text->loadedFromBinary());
  EXPECT_FALSE(fs::exists(other.path("mine.lexbin")));
  // One written on purpose (the data command) is used.
  ASSERT_TRUE(text->writeBinaryFile(text->binaryFileName()));
  EXPECT_EQ(text->binaryFileName(), other.path("mine.lexbin"));
  const auto binary = load(path);
  EXPECT_TRUE(binary->loadedFromBinary());
  expectSameLexicon(*text, *binary);
}

// The checks of the reader, with the checksum put right after each
// change, so that they meet the change themselves: whatever they accept
// can be walked without reading outside the file (the address sanitizer
// build would see it).
TEST_F(LexiconBinary, ChecksBeyondTheChecksumKeepEveryIndexInside) {
  install("lexicon/spanish_sample.lst", "words.lst");
  const auto text = load("words.lst", false);
  ASSERT_TRUE(text->writeBinaryFile(folder.path("words.lexbin")));
  const std::string good = fileBytes(folder.path("words.lexbin"));
  std::vector<std::uint64_t> aligned((good.size() + 7) / 8);
  auto bytesOf = [&] { return std::span<const std::byte>(reinterpret_cast<const std::byte*>(aligned.data()), good.size()); };
  std::uint64_t state = 12345;
  int accepted = 0, refused = 0;
  for (int trial = 0; trial < 300; ++trial) {
    std::string bytes = good;
    // One to three bytes changed past the header and directory.
    for (int k = 0; k <= trial % 3; ++k) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      const std::size_t at = 640 + (state >> 33) % (bytes.size() - 640);
      bytes[at] = static_cast<char>(bytes[at] ^ (1 + (state >> 20) % 255));
    }
    const std::uint64_t checksum = contentHash(std::string_view(bytes).substr(kImageHeaderSize));
    std::memcpy(bytes.data() + 40, &checksum, sizeof checksum);
    std::memcpy(aligned.data(), bytes.data(), bytes.size());
    ImageRefusal refusal;
    const GraphExpectation graph{true, stampFile(folder.path("words.tribble"))};
    std::string key;
    {
      // The key is the file's own: the checks, not the key, must decide.
      const auto reader = ImageReader::open(bytesOf(), kLexiconImageKind, kLexiconImageVersion, refusal);
      ASSERT_TRUE(reader.has_value());
      const auto section = reader->section(1);
      key.assign(reinterpret_cast<const char*>(section.data()), section.size());
    }
    const auto content = readLexiconImage(bytesOf(), key, graph, rules().letterCount, nullptr, refusal);
    if (!content) {
      ++refused;
      continue;
    }
    ++accepted;
    // Walk everything the content holds.
    const LexiconArrays& a = content->arrays;
    std::size_t sum = 0;
    for (const TrieNode& node : a.trie) {
      if (node.word >= 0) sum += a.words[static_cast<std::size_t>(node.word)].length;
      for (int c = 0; c < __builtin_popcount(node.childMask); ++c) sum += a.trie[static_cast<std::size_t>(node.firstChild + c)].childMask & 1;
    }
    for (const WordEntry& w : a.words) sum += std::strlen(a.text.data() + w.textOffset) + a.signatures[w.signatureOffset];
    for (EntryIndex e : a.byText) sum += a.words[static_cast<std::size_t>(e)].length;
    for (EntryIndex e : a.letterIndexEntries) sum += a.words[static_cast<std::size_t>(e)].length;
    for (const GraphNode& n : content->graphNodes) {
      for (int k = 0; k < n.edgeCount; ++k) sum += content->graphNodes[static_cast<std::size_t>(content->graphChildren[n.firstChild + static_cast<std::size_t>(k)])].letter;
    }
    EXPECT_GT(sum, 0u);
  }
  // Most changes meet a check; some (a letter for another, a class) are
  // still well-formed.
  std::printf("[ checks   ] %d changed files refused, %d accepted\n", refused, accepted);
  EXPECT_GT(refused, 100);
  EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace pexil
