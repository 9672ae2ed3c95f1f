// Reads arbitrary binary forms of word lists (.lexbin). The first input byte
// chooses how the image is made: from the rest of the input as it stands,
// or from one of two real images (a small English and a small Spanish list
// with their word graphs, made at start) changed by the input, read as
// 5-byte edits (a 32-bit offset and a byte XORed there), with the image cut
// short when the choice byte asks. Half of the time the header's size and
// checksum are put right after the changes, so that the checks behind the
// checksum meet them. Whatever the reader accepts is walked in full; with
// another bit of the choice byte it is also read through a Lexicon from a
// file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
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
#include "rules/game_rules.hpp"
#include "text/text_pane.hpp"

namespace {

// A folder of this process's own, so that looking for companion files
// scans nothing else.
std::filesystem::path privateFolder() {
  const auto folder = std::filesystem::temp_directory_path() / ("pexil-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  return folder;
}

struct Base {
  std::string image;
  int alphabet;
};

// A list's binary form, with its graph.
std::string imageOf(const std::string& name, const std::string& words, int alphabet) {
  pexil::setAlphabetCounts(alphabet);
  const auto folder = privateFolder();
  std::ofstream(folder / name, std::ios::binary) << words;
  {
    pexil::Lexicon plain;
    plain.loadLeaves = plain.loadWinProb = plain.useGraphFile = plain.useBinaryFile = false;
    loadWordListWithTables(plain, (folder / name).string());
    std::ofstream(folder / pexil::companionName(name, ".tribble"), std::ios::binary)
        << pexil::WordGraph::build(plain).serialise();
  }
  pexil::Lexicon lexicon;
  lexicon.loadLeaves = lexicon.loadWinProb = lexicon.useBinaryFile = false;
  loadWordListWithTables(lexicon, (folder / name).string());
  const std::string path = (folder / pexil::companionName(name, ".lexbin")).string();
  lexicon.writeBinaryFile(path);
  return pexil::readWholeFile(path).value_or("");
}

const std::vector<Base>& bases() {
  static const std::vector<Base> all = [] {
    pexil::textPane().SetQuiet(true);
    std::vector<Base> made;
    made.push_back({imageOf("english.lst", "aa ab ba bad bat cab cat dab tab tad act there this that the have group "
                                           "against several zebra quartz",
                            pexil::kAlphabetEnglish),
                    pexil::kAlphabetEnglish});
    made.push_back({imageOf("spanish.lst", "abo2an abolaga aboga acervado a\xF1o 1ico 1a pe3o 2ama ca2e", pexil::kAlphabetSpanish),
                    pexil::kAlphabetSpanish});
    pexil::setAlphabetCounts(pexil::kAlphabetEnglish);
    return made;
  }();
  return all;
}

void walk(const pexil::LexiconImageContent& content) {
  const pexil::LexiconArrays& a = content.arrays;
  const std::size_t words = a.words.size();
  for (std::size_t i = 0; i < a.trie.size(); ++i) {
    const pexil::TrieNode& node = a.trie[i];
    if (node.word != pexil::kNoEntry && static_cast<std::size_t>(node.word) >= words) __builtin_trap();
    for (int c = 0; c < __builtin_popcount(node.childMask); ++c) {
      if (static_cast<std::size_t>(node.firstChild + c) >= a.trie.size()) __builtin_trap();
    }
  }
  for (const pexil::WordEntry& w : a.words) {
    if (std::strlen(a.text.data() + w.textOffset) != w.length) __builtin_trap();
    (void)a.signatures[w.signatureOffset];
  }
  for (pexil::EntryIndex e : a.byText) (void)a.words[static_cast<std::size_t>(e)];
  for (pexil::EntryIndex e : a.byReversedText) (void)a.words[static_cast<std::size_t>(e)];
  for (pexil::EntryIndex e : a.letterIndexEntries) (void)a.words[static_cast<std::size_t>(e)];
  for (const pexil::RepeatedWord& r : a.repeated) (void)a.trie[static_cast<std::size_t>(r.node)];
  if (!content.graphNodes.empty()) {
    const auto graph = pexil::WordGraph::view(content.graphNodes, content.graphChildren);
    for (std::int32_t n = 0; n < static_cast<std::int32_t>(graph.nodeCount()); ++n) {
      for (int code = 0; code < 32; ++code) {
        const std::int32_t next = graph.child(n, code);
        if (next >= static_cast<std::int32_t>(graph.nodeCount())) __builtin_trap();
      }
    }
  }
}

// Bytes at an address aligned as a mapping's, kept from run to run.
struct AlignedBytes {
  std::vector<std::uint64_t> words;
  std::size_t size = 0;
  void assign(std::string_view bytes) {
    if (words.size() * 8 < bytes.size()) words.resize((bytes.size() + 7) / 8);
    if (!bytes.empty()) std::memcpy(words.data(), bytes.data(), bytes.size());
    size = bytes.size();
  }
  char* data() { return reinterpret_cast<char*>(words.data()); }
  std::span<const std::byte> bytes() const { return {reinterpret_cast<const std::byte*>(words.data()), size}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<Base>& made = bases();
  // The real images, each in a buffer of its own that the edits change
  // and change back.
  static std::vector<AlignedBytes> images = [&] {
    std::vector<AlignedBytes> all(made.size());
    for (std::size_t i = 0; i < made.size(); ++i) all[i].assign(made[i].image);
    return all;
  }();
  static AlignedBytes raw;
  const std::uint8_t choice = data[0];
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  AlignedBytes* image = &raw;
  int alphabet = pexil::kAlphabetEnglish;
  std::vector<std::pair<std::size_t, char>> edits;
  if (choice % 4 == 0) {
    raw.assign(input);
    alphabet = choice & 4 ? pexil::kAlphabetSpanish : pexil::kAlphabetEnglish;
  } else {
    image = &images[choice % 2];
    alphabet = made[choice % 2].alphabet;
    image->size = made[choice % 2].image.size();
    for (std::size_t at = 0; at + 5 <= input.size(); at += 5) {
      std::uint32_t offset = 0;
      std::memcpy(&offset, input.data() + at, 4);
      edits.emplace_back(offset % image->size, input[at + 4]);
    }
    for (const auto& [offset, flip] : edits) image->data()[offset] ^= flip;
    if (choice & 0x80) image->size -= (choice & 0x70) * 4 % image->size;
  }
  char header[pexil::kImageHeaderSize];
  const bool repair = (choice & 0x08) && image->size >= pexil::kImageHeaderSize;
  if (repair) {
    std::memcpy(header, image->data(), sizeof header);
    const std::uint64_t length = image->size;
    const std::uint64_t checksum =
        pexil::contentHash(std::string_view(image->data(), image->size).substr(pexil::kImageHeaderSize));
    std::memcpy(image->data() + 32, &length, sizeof length);
    std::memcpy(image->data() + 40, &checksum, sizeof checksum);
  }

  // The reader, with the image's own key and graph record as what is
  // expected.
  pexil::setAlphabetCounts(alphabet);
  const std::span<const std::byte> bytes = image->bytes();
  pexil::ImageRefusal refusal;
  std::string key;
  pexil::GraphExpectation graph;
  if (const auto reader = pexil::ImageReader::open(bytes, pexil::kLexiconImageKind, pexil::kLexiconImageVersion, refusal)) {
    const auto section = reader->section(1);
    key.assign(reinterpret_cast<const char*>(section.data()), section.size());
    const auto record = reader->section(2);
    if (record.size() == 24 && (choice & 0x10) == 0) {
      graph.wanted = true;
      if (static_cast<std::uint8_t>(record[0]) != 0) {
        pexil::FileStamp stamp;
        std::memcpy(&stamp.size, record.data() + 8, 8);
        std::memcpy(&stamp.hash, record.data() + 16, 8);
        graph.file = stamp;
      }
    }
  }
  const auto content = pexil::readLexiconImage(bytes, key, graph, pexil::rules().letterCount, nullptr, refusal);
  if (content) walk(*content);
  (void)pexil::refusalText(refusal);

  // Now and then the same image as the list's binary form in its folder:
  // the lexicon uses it or falls back on the text, and answers either way.
  if (choice % 4 != 0 && (choice & 0x40)) {
    const auto folder = privateFolder();
    const std::string name = alphabet == pexil::kAlphabetSpanish ? "spanish" : "english";
    std::ofstream(folder / (name + ".lexbin"), std::ios::binary | std::ios::trunc)
        .write(image->data(), static_cast<std::streamsize>(image->size));
    pexil::Lexicon lexicon;
    lexicon.loadLeaves = lexicon.loadWinProb = false;
    loadWordListWithTables(lexicon, (folder / (name + ".lst")).string());
    // A changed file with its checksum put right may hold other words than
    // the list: only that every answer stays inside the arrays counts.
    for (const char* word : {"cat", "zebra", "abo2an", "1ico", "xyz"}) {
      const pexil::EntryIndex e = lexicon.findEntry(word);
      (void)lexicon.hasAnagram(word);
      (void)lexicon.findAnagramWord(word);
      if (e != pexil::kNoEntry) (void)lexicon.hookLetters(e);
    }
    for (int e = 0; e < lexicon.wordCount(); ++e) {
      (void)lexicon.isWord(lexicon.textView(e), 0);
      (void)lexicon.findEntry(lexicon.textView(e));
    }
  }

  // The real image as it was.
  if (repair) std::memcpy(image->data(), header, sizeof header);
  for (const auto& [offset, flip] : edits) image->data()[offset] ^= flip;
  pexil::setAlphabetCounts(pexil::kAlphabetEnglish);
  return 0;
}
