// Reads arbitrary binary forms of rack tables (.rackbin). The first input
// byte chooses how the image is made: from the rest of the input as it
// stands, or from a real image (the tables of a small .rack and
// .rack.partial text, made at start) changed by the input, read as 5-byte
// edits (a 32-bit offset and a byte XORed there), cut short when the choice
// byte asks. Half of the time the header's size and checksum are put right
// after the changes, so that the checks behind the checksum meet them.
// Tables the reader accepts answer lookups of every key they hold and of
// keys they do not, which must end; the image is also loaded as the tables
// of a list, which use it or fall back on the texts.
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
#include "play/word_list_loading.hpp"
#include "tables/rack_table_image.hpp"
#include "tables/rack_tables.hpp"
#include "text/text_pane.hpp"

namespace {

// A folder of this process's own, so that looking for companion files
// scans nothing else. Its list is named with the folder, so a refused
// binary form is not written again at every run.
const std::filesystem::path& privateFolder() {
  static const std::filesystem::path folder = [] {
    const auto path = std::filesystem::temp_directory_path() / ("pexil-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// The list the tables belong to, loaded once.
const pexil::Lexicon& list() {
  static const pexil::Lexicon* lexicon = [] {
    std::ofstream(privateFolder() / "fuzz.lst") << "cat dog";
    static pexil::Lexicon loaded;
    loaded.loadLeaves = loaded.loadWinProb = loaded.useGraphFile = false;
    loadWordListWithTables(loaded, (privateFolder() / "fuzz.lst").string());
    return &loaded;
  }();
  return *lexicon;
}

void loadTables() {
  pexil::clearRackTables();
  pexil::LoadRackTables(list());
}

// Every leave of up to three tiles (some of them) and some racks.
const std::string& baseImage() {
  static const std::string image = [] {
    pexil::textPane().SetQuiet(true);
    const auto folder = privateFolder();
    const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
    std::string leaves, racks;
    for (int a = 0; a < 27; ++a) {
      for (int b = a; b < 27; b += 3) {
        for (int c = b; c < 27; c += 5) leaves += std::string{letters[a], letters[b], letters[c]} + " " + std::to_string(a - c) + "\n";
      }
      racks += std::string{letters[a], 'E', 'I', 'N', 'R', 'S', 'T'} + " " + std::to_string(1 + a % 4) + " " +
               std::to_string(40 * a) + "\n";
    }
    std::ofstream(folder / "fuzz.rack") << racks;
    std::ofstream(folder / "fuzz.rack.partial") << leaves;
    std::filesystem::remove(folder / "fuzz.rackbin");
    loadTables();
    pexil::writeRackTablesBinary((folder / "fuzz.rackbin").string());
    return pexil::readWholeFile((folder / "fuzz.rackbin").string()).value_or("");
  }();
  return image;
}

template <class T>
T read(const std::string& bytes, std::size_t at) {
  T value{};
  if (at + sizeof value <= bytes.size()) std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

void lookUp(const pexil::SlotTableView& table) {
  for (const pexil::TableSlot& s : table.slots()) {
    if (s.key == 0) continue;
    if (table.find(s.key) == nullptr) __builtin_trap();
    (void)table.valueOrZero(s.key ^ 0x20);
    (void)table.find(s.key + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string& base = baseImage();
  const std::uint8_t choice = data[0];
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string image;
  if (choice % 4 == 0) {
    image = input;
  } else {
    image = base;
    for (std::size_t at = 0; at + 5 <= input.size(); at += 5) {
      const std::uint32_t offset = read<std::uint32_t>(input, at);
      if (!image.empty()) image[offset % image.size()] ^= static_cast<char>(input[at + 4]);
    }
    if (choice & 0x80) image.resize(image.size() - (choice & 0x70) * 4 % image.size());
  }
  if (choice & 0x08 && image.size() >= pexil::kImageHeaderSize) {
    const std::uint64_t length = image.size();
    const std::uint64_t checksum = pexil::contentHash(std::string_view(image).substr(pexil::kImageHeaderSize));
    std::memcpy(image.data() + 32, &length, sizeof length);
    std::memcpy(image.data() + 40, &checksum, sizeof checksum);
  }

  std::vector<std::uint64_t> aligned((image.size() + 7) / 8);
  if (!image.empty()) std::memcpy(aligned.data(), image.data(), image.size());
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(aligned.data()), image.size());
  pexil::ImageRefusal refusal;
  std::string key;
  if (const auto reader = pexil::ImageReader::open(bytes, pexil::kRackTableImageKind, pexil::kRackTableImageVersion, refusal)) {
    const auto section = reader->section(1);
    key.assign(reinterpret_cast<const char*>(section.data()), section.size());
  }
  if (const auto content = pexil::readRackTableImage(bytes, key, nullptr, refusal)) {
    lookUp(content->fullRacks);
    lookUp(content->leaves);
  }
  (void)pexil::refusalText(refusal);

  // The same image as the list's tables.
  if (choice % 4 != 0) {
    std::ofstream(privateFolder() / "fuzz.rackbin", std::ios::binary | std::ios::trunc) << image;
    loadTables();
    for (const char* leave : {"A", "QU", "AEI", "?", "ZZ", "EINRST"}) (void)pexil::leaveValueOf(leave);
    pexil::LetterCounts counts;
    pexil::addLetters(counts, "AEINRST", nullptr);
    (void)pexil::FullRackValue(counts);
  }
  return 0;
}
