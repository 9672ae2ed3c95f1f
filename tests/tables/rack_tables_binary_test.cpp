// The binary form of the rack tables (".rackbin" beside the .rack file):
// written when the tables of a data-folder list are read from their texts,
// used by later loads with every leave and full-rack value as from the
// texts, and made again or refused with a notice when the texts, the rack
// size or the bag change, or the file is damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "io/binary_image.hpp"
#include "io/content_hash.hpp"
#include "io/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/tile_counts.hpp"
#include "tables/rack_table_image.hpp"
#include "tables/rack_tables.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

namespace fs = std::filesystem;
using test::PaneCapture;

std::string fileBytes(const std::string& path) { return readWholeFile(path).value_or(""); }

LetterCounts countsOf(std::string_view letters) {
  LetterCounts counts;
  addLetters(counts, letters, nullptr);
  return counts;
}

// Leaves of one to four tiles of a bag's letters (with a blank), and racks
// of seven: a listed and an unlisted half, with values from a small
// generator so that they differ.
struct Tables {
  std::string rackText, partialText;
  std::vector<std::string> leaves, racks;
};

Tables makeTables(const std::string& letters, std::uint32_t seed) {
  Tables t;
  std::uint32_t state = seed;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  const std::size_t n = letters.size();
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = a; b < n; ++b) {
      for (std::size_t c = b; c < n; c += 2) {
        std::string leave = {letters[a], letters[b], letters[c]};
        t.leaves.push_back(leave);
        if (next() % 3 != 0) t.partialText += leave + " " + std::to_string(static_cast<int>(next() % 400) - 200) + "\n";
        leave += letters[(a + b + c) % n];
        t.leaves.push_back(leave);
        if (next() % 2 == 0) t.partialText += leave + " " + std::to_string(static_cast<int>(next() % 400) - 200) + "\n";
      }
    }
    t.leaves.push_back(std::string(1, letters[a]));
    t.partialText += std::string(1, letters[a]) + " " + std::to_string(next() % 90) + "\n";
  }
  for (int r = 0; r < 3000; ++r) {
    std::string rack;
    for (int k = 0; k < 7; ++k) rack += letters[next() % n];
    t.racks.push_back(rack);
    // Some racks twice, their records summed.
    for (int line = 0; line < 1 + (r % 5 == 0); ++line) {
      if (r % 4 != 3) t.rackText += rack + " " + std::to_string(1 + next() % 9) + " " + std::to_string(next() % 900) + "\n";
    }
  }
  return t;
}

// Every answer the tables give for the probes.
struct Answers {
  std::vector<std::optional<int>> leaves, leavesByCounts, racks;
  std::size_t fullRacks = 0, leaveCount = 0;
  bool hasFull = false;
  bool operator==(const Answers&) const = default;
};

Answers answersFor(const Tables& t) {
  Answers a;
  for (const std::string& leave : t.leaves) {
    a.leaves.push_back(leaveValueOf(leave));
    a.leavesByCounts.push_back(leaveValueOf(countsOf(leave)));
    EXPECT_EQ(leaveValueOrZero(leave), a.leaves.back().value_or(0)) << leave;
  }
  for (const std::string& rack : t.racks) a.racks.push_back(FullRackValue(countsOf(rack)));
  a.fullRacks = fullRackTableSize();
  a.leaveCount = leaveTableSize();
  a.hasFull = hasFullRackTable();
  return a;
}

class RackTablesBinary : public ::testing::Test {
 protected:
  void SetUp() override {
    textPane().SetNoWrap(true);
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    setRackDistribution(kAlphabetEnglish);
    clearRackTables();
  }
  void TearDown() override {
    clearRackTables();
    setFullRackTableCapacity(0);
    setRackDistribution(kAlphabetEnglish);
    textPane().SetNoWrap(wasNoWrap_);
  }

  void writeTables(const Tables& t) {
    folder_.write("tiny.rack", t.rackText);
    folder_.write("tiny.rack.partial", t.partialText);
  }

  // Loads the tables of tiny.lst afresh (with or without binary forms).
  void loadTables(bool binary = true) {
    clearRackTables();
    Lexicon lexicon;
    lexicon.loadLeaves = false;
    lexicon.loadWinProb = false;
    lexicon.useGraphFile = false;
    lexicon.useBinaryFile = false;
    ASSERT_TRUE(loadWordListWithTables(lexicon, "tiny.lst"));
    lexicon.useBinaryFile = binary;
    LoadRackTables(lexicon);
  }

  // A load after the binary form changed: its notice, the answers of the
  // texts, and the binary form made again.
  void expectRefused(const std::string& reason, const Tables& t, const Answers& expected) {
    PaneCapture capture;
    loadTables();
    EXPECT_FALSE(rackTablesFromBinary());
    const auto lines = capture.lines();
    const std::string notice = "The binary file \"tiny.rackbin\" is not used: ";
    const auto line = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(notice); });
    ASSERT_NE(line, lines.end());
    EXPECT_NE(line->find(reason), std::string::npos) << *line;
    EXPECT_TRUE(answersFor(t) == expected);
    loadTables();
    EXPECT_TRUE(rackTablesFromBinary());
    EXPECT_TRUE(answersFor(t) == expected);
  }

  test::StateGuard guard_;
  test::TempFolder folder_;
  test::InFolder in_{folder_.path("")};
  const bool wasNoWrap_ = textPane().NoWrap();
};

TEST_F(RackTablesBinary, EnglishRoundTrip) {
  folder_.write("tiny.lst", "cat\ndog\n");
  const Tables t = makeTables("ABCDEFGHIJKLMNOPQRSTUVWXYZ?", 7);
  writeTables(t);
  loadTables(false);
  EXPECT_FALSE(fs::exists(folder_.path("tiny.rackbin")));
  const Answers text = answersFor(t);
  EXPECT_TRUE(text.hasFull);
  EXPECT_GT(text.leaveCount, 1000u);
  EXPECT_GT(text.fullRacks, 1000u);

  PaneCapture writing;
  loadTables();
  EXPECT_FALSE(rackTablesFromBinary());
  const auto writingLines = writing.lines();
  EXPECT_EQ(writingLines.back(), "Reading rack statistics... ");
  ASSERT_TRUE(fs::exists(folder_.path("tiny.rackbin")));
  EXPECT_TRUE(answersFor(t) == text);

  PaneCapture reading;
  loadTables();
  EXPECT_TRUE(rackTablesFromBinary());
  EXPECT_EQ(reading.lines(), writingLines);  // no notice
  EXPECT_TRUE(answersFor(t) == text);
  EXPECT_EQ(rackTablesBinaryName(), "tiny.rackbin");
}

TEST_F(RackTablesBinary, SpanishRoundTripAndTheBagIsPartOfTheKey) {
  // A Spanish list: its bag, with the one-character forms of CH LL RR.
  const std::string spanishList = "abo2an\nabolaga\naboga\nacervado\n";
  folder_.write("tiny.lst", spanishList);
  const Tables t = makeTables("ABCDEFGHIJLMNOPQRSTUVXYZ123\xD1?", 11);
  writeTables(t);
  loadTables(false);
  const Answers text = answersFor(t);
  EXPECT_GT(text.leaveCount, 1000u);
  // Values of leaves with multi-letter tiles are there.
  EXPECT_TRUE(leaveValueOf("1").has_value());
  loadTables();
  loadTables();
  EXPECT_TRUE(rackTablesFromBinary());
  EXPECT_TRUE(answersFor(t) == text);

  // The same files read with an English list: another bag, another key.
  folder_.write("tiny.lst", "cat\ndog\n");
  setRackDistribution(kAlphabetEnglish);
  loadTables(false);
  const Answers english = answersFor(t);
  EXPECT_FALSE(english == text);
  expectRefused("made from other files", t, english);
}

TEST_F(RackTablesBinary, EditedTextsAndAnotherRackSizeMakeItStale) {
  folder_.write("tiny.lst", "cat\ndog\n");
  Tables t = makeTables("ABCDEFGHIJKLMNOPQRSTUVWXYZ?", 3);
  writeTables(t);
  loadTables();
  loadTables();
  ASSERT_TRUE(rackTablesFromBinary());
  // A leave value changed (same size).
  const std::size_t at = t.partialText.find("A ");
  ASSERT_NE(at, std::string::npos);
  t.partialText[at + 2] = t.partialText[at + 2] == '1' ? '2' : '1';
  writeTables(t);
  loadTables(false);
  expectRefused("made from other files", t, answersFor(t));
  // The full-rack file emptied.
  const std::string racks = t.rackText;
  t.rackText.clear();
  writeTables(t);
  loadTables(false);
  const Answers withoutRacks = answersFor(t);
  EXPECT_FALSE(withoutRacks.hasFull);
  expectRefused("made from other files", t, withoutRacks);
  // Eight-tile racks: other leaves are leaves at all.
  t.rackText = racks;
  writeTables(t);
  loadTables();
  rules().rackSize = 8;
  loadTables(false);
  expectRefused("made from other files", t, answersFor(t));
}

TEST_F(RackTablesBinary, DamagedFilesAreRefusedWithTheReason) {
  folder_.write("tiny.lst", "cat\ndog\n");
  const Tables t = makeTables("ABCDEFGHIJKLMNOPQRSTUVWXYZ?", 5);
  writeTables(t);
  loadTables(false);
  const Answers text = answersFor(t);
  loadTables();
  const std::string path = folder_.path("tiny.rackbin");
  const std::string good = fileBytes(path);
  ASSERT_GT(good.size(), 65536u);
  std::vector<std::pair<std::string, const char*>> damages = {
      {good.substr(0, 100), "damaged (file size)"},
      {good.substr(0, good.size() - 4096), "damaged (file size)"},
      {"PEXILBIN", "not a binary data file"},
  };
  std::string otherVersion = good;
  otherVersion[12] = static_cast<char>(otherVersion[12] + 1);
  damages.emplace_back(otherVersion, "another version");
  for (std::size_t at = 1024; at < good.size(); at += good.size() / 17) {
    std::string bytes = good;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    damages.emplace_back(bytes, "damaged (");
  }
  for (const auto& [bytes, reason] : damages) {
    SCOPED_TRACE(reason);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    expectRefused(reason, t, text);
    EXPECT_EQ(fileBytes(path), good);
  }
}

// The reader's checks on tables whose checksum was put right after a
// change: a table they accept answers every lookup without reading outside
// it or probing forever.
TEST_F(RackTablesBinary, ChecksBeyondTheChecksum) {
  folder_.write("tiny.lst", "cat\ndog\n");
  const Tables t = makeTables("ABCDEFGHIJKLMNOPQRSTUVWXYZ?", 9);
  writeTables(t);
  loadTables(false);
  const std::string path = folder_.path("image.rackbin");
  ASSERT_TRUE(writeRackTablesBinary(path));
  const std::string good = fileBytes(path);
  std::vector<std::uint64_t> aligned((good.size() + 7) / 8);
  const std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(aligned.data()), good.size());
  std::string key;
  {
    ImageRefusal refusal;
    std::memcpy(aligned.data(), good.data(), good.size());
    const auto reader = ImageReader::open(bytes, kRackTableImageKind, kRackTableImageVersion, refusal);
    ASSERT_TRUE(reader.has_value());
    const auto section = reader->section(1);
    key.assign(reinterpret_cast<const char*>(section.data()), section.size());
    ASSERT_TRUE(readRackTableImage(bytes, key, nullptr, refusal).has_value());
  }
  std::uint64_t state = 99;
  int refused = 0, accepted = 0;
  for (int trial = 0; trial < 200; ++trial) {
    std::string changed = good;
    for (int k = 0; k <= trial % 2; ++k) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      // Past the key: into the summary and the slots.
      const std::size_t at = 512 + (state >> 33) % (changed.size() - 512);
      changed[at] = static_cast<char>(changed[at] ^ (1 << ((state >> 20) % 8)));
    }
    const std::uint64_t checksum = contentHash(std::string_view(changed).substr(kImageHeaderSize));
    std::memcpy(changed.data() + 40, &checksum, sizeof checksum);
    std::memcpy(aligned.data(), changed.data(), changed.size());
    ImageRefusal refusal;
    const auto content = readRackTableImage(bytes, key, nullptr, refusal);
    if (!content) {
      ++refused;
      continue;
    }
    ++accepted;
    long long sum = 0;
    for (const TableSlot& s : content->leaves.slots()) {
      sum += content->leaves.valueOrZero(s.key) + content->leaves.valueOrZero(s.key + 1);
      if (const TableSlot* found = content->fullRacks.find(s.key ^ 16)) sum += found->value;
    }
    (void)sum;
  }
  EXPECT_GT(refused, 50);
  EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace pexil
