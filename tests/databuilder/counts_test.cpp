// Counts files: keys, exact sums, the text form read back, merging, and a
// reader that skips whatever is damaged without touching anything else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>

#include "counts.hpp"

namespace pexil::databuilder {
namespace {

std::array<int, kCodes> tiles(std::initializer_list<std::pair<int, int>> list) {
  std::array<int, kCodes> counts{};
  for (const auto& [code, n] : list) counts[static_cast<std::size_t>(code)] = n;
  return counts;
}

TEST(DataKeys, PackSortedCodesAndReadBack) {
  const auto counts = tiles({{0, 2}, {4, 1}, {26, 1}});
  const TileKey key = keyOfCounts(counts);
  EXPECT_EQ(keyTiles(key), 4);
  EXPECT_EQ(keyText(key), "aae0");
  EXPECT_EQ(keyOfText("e0aa"), key);  // any order reads as the multiset
  EXPECT_EQ(countsOfKey(key), counts);
  EXPECT_EQ(keyOfText("-"), 0u);
  EXPECT_EQ(keyText(0), "-");
}

TEST(DataKeys, RejectsWhatIsNoMultiset) {
  EXPECT_EQ(keyOfText(""), kNoKey);
  EXPECT_EQ(keyOfText("ab?"), kNoKey);
  EXPECT_EQ(keyOfText("A"), kNoKey);
  EXPECT_EQ(keyOfText("abcdefghijklm"), kNoKey);  // 13 tiles
  EXPECT_EQ(keyOfCounts(tiles({{3, -1}})), kNoKey);
  EXPECT_EQ(keyOfCounts(tiles({{3, 13}})), kNoKey);
  EXPECT_NE(keyOfCounts(tiles({{31, 12}})), kNoKey);
}

TEST(DataSums, KeyedSumsAddExactlyAndRefuseOverflow) {
  KeyedSums sums;
  for (int i = 1; i <= 5000; ++i) ASSERT_TRUE(sums.add(keyOfCounts(tiles({{i % 32, 1 + i % 7}})), 1, i));
  EXPECT_EQ(sums.size(), 32u * 7u);
  std::int64_t count = 0, total = 0;
  for (TileKey key : sums.sortedKeys()) {
    count += sums.get(key).count;
    total += sums.get(key).total;
  }
  EXPECT_EQ(count, 5000);
  EXPECT_EQ(total, 5000LL * 5001 / 2);

  const TileKey k = keyOfText("dddddddd");  // a key the loop did not fill
  ASSERT_TRUE(sums.add(k, 1, INT64_MAX - 10));
  const Sum before = sums.get(k);
  EXPECT_FALSE(sums.add(k, 1, 100));
  EXPECT_EQ(sums.get(k).total, before.total);
  EXPECT_TRUE(sums.add(0, 3, -7));
  EXPECT_EQ(sums.get(0).count, 3);
}

EvalCounts sampleCounts() {
  EvalCounts c;
  c.info.list = "WORDS.LST";
  c.info.seed = 9;
  c.info.generation = 2;
  c.info.players = 2;
  c.info.shard = 1;
  c.info.shards = 3;
  c.info.next = 7;
  c.info.end = 30;
  c.info.leaves = "00ff00ff00ff00ff";
  c.games[2] = 11;
  c.games[3] = 4;
  c.baseline = Sum{120, 45678};
  c.leaves.add(0, 5, 2000);
  c.leaves.add(keyOfText("s"), 9, -350);
  c.leaves.add(keyOfText("e0"), 2, 900);
  c.racks.add(keyOfText("aeinrst"), 1, 80);
  c.winTable(2)[winCell(-200, 86, 4)] = Sum{2, 1};
  c.winTable(2)[winCell(37, 0, 0)] = Sum{10, 10};
  c.winTable(3)[winCell(5, 12, 2)] = Sum{4, 0};
  c.squareTable()[squareCell(31, 14, 0)] = Sum{3, 61};
  EXPECT_TRUE(c.usePatternTable(15, 15));
  c.patterns[168 * kPatterns + 511] = Sum{6, 99};
  return c;
}

TEST(DataCountsFile, WritesAndReadsBackTheSameSums) {
  const EvalCounts c = sampleCounts();
  const std::string text = writeCounts(c);
  EvalCounts back;
  const ReadReport report = readCounts(text, back);
  EXPECT_TRUE(report.sawFormat);
  EXPECT_EQ(report.skipped, 0u);
  EXPECT_TRUE(back.sameSums(c));
  EXPECT_EQ(back.info, c.info);
  EXPECT_EQ(writeCounts(back), text);  // the same bytes again
}

TEST(DataCountsFile, MergingAddsEverySum) {
  EvalCounts a = sampleCounts();
  const EvalCounts b = sampleCounts();
  ASSERT_TRUE(a.add(b));
  EXPECT_EQ(a.games[2], 22);
  EXPECT_EQ(a.baseline.total, 2 * 45678);
  EXPECT_EQ(a.leaves.get(keyOfText("s")).total, -700);
  EXPECT_EQ(a.win[2][winCell(37, 0, 0)].count, 20);
  EXPECT_EQ(a.patterns[168 * kPatterns + 511].total, 198);

  EvalCounts other = sampleCounts();
  other.info.list = "OTHER.LST";
  EXPECT_FALSE(a.add(other));

  EvalCounts smallBoard;
  smallBoard.info.list = "WORDS.LST";
  ASSERT_TRUE(smallBoard.usePatternTable(11, 11));
  EXPECT_FALSE(a.add(smallBoard));
}

TEST(DataCountsFile, ReaderSkipsDamagedRecords) {
  const std::string good = writeCounts(sampleCounts());
  const std::string junk =
      "leave s\n"                      // missing fields
      "leave s 1\n"
      "leave s x 5\n"                  // not a number
      "leave S 1 5\n"                  // not a code
      "leave s -1 5\n"                 // negative count
      "leave s 0 5\n"                  // points without a turn
      "rack - 1 5\n"                   // a rack of no tiles
      "games 2 -3\n"                   // negative games
      "games 5 3\n"                    // no such table
      "win 2 0 10 0 4 5\n"             // wins above games
      "win 2 0 10 0 -4 -5\n"
      "win 2 201 10 0 4 1\n"           // lead out of range
      "win 2 0 87 0 4 1\n"             // tiles out of range
      "win 2 0 10 5 4 1\n"             // no such blank state
      "win 1 0 10 0 4 1\n"
      "square 32 0 0 1 1\n"            // no such letter
      "square 0 15 0 1 1\n"            // off the board
      "patterns 99 15\n"               // an absurd board size
      "pattern 0 0 1 1\n"              // for that board
      "baseline -1 5\n"
      "baseline 1 99999999999999999999\n"  // too large
      "leave s 1 2 3 4 5 6 7 8 9\n"    // too many fields
      "format 2\n"
      "\x01\x02\xff garbage \x00 here\n";
  EvalCounts counts;
  const ReadReport report = readCounts(good + junk, counts);
  EXPECT_EQ(report.skipped, 24u);
  EXPECT_TRUE(counts.sameSums(sampleCounts()));

  // Pattern records of a file whose board differs from the table's.
  EvalCounts table = sampleCounts();
  const ReadReport mismatch = readCounts("patterns 11 11\npattern 0 5 1 1\n", table);
  EXPECT_EQ(mismatch.skipped, 2u);
  EXPECT_TRUE(table.sameSums(sampleCounts()));
}

TEST(DataCountsFile, ReaderSkipsRecordsThatWouldOverflow) {
  EvalCounts counts;
  const std::string big = std::to_string(std::int64_t(1) << 62);
  const ReadReport report = readCounts("leave s 1 " + big + "\nleave s 1 " + big + "\nleave s 1 " + big + "\n", counts);
  // 2^62 + 2^62 no longer fits: the second and third records go.
  EXPECT_EQ(report.records, 1u);
  EXPECT_EQ(report.skipped, 2u);
  EXPECT_EQ(counts.leaves.get(keyOfText("s")).count, 1);
}

TEST(DataCountsFile, RandomBytesNeverBreakTheReader) {
  std::mt19937 random(4711);
  const std::string good = writeCounts(sampleCounts());
  for (int round = 0; round < 300; ++round) {
    std::string text = good;
    const int edits = 1 + static_cast<int>(random() % 40);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % text.size();
      switch (random() % 3) {
        case 0: text[at] = static_cast<char>(random() % 256); break;
        case 1: text.erase(at, 1 + random() % 8); break;
        default: text.insert(at, 1, "0123456789- \n"[random() % 13]); break;
      }
      if (text.empty()) text.push_back('x');
    }
    EvalCounts counts;
    const ReadReport report = readCounts(text, counts);
    EXPECT_LE(report.records + report.skipped, static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    // Whatever was kept writes out and reads back to the same sums.
    EvalCounts again;
    readCounts(writeCounts(counts), again);
    EXPECT_TRUE(again.sameSums(counts));
  }
}

TEST(DataFiles, AtomicWriteReplacesAndDigestsDiffer) {
  const std::string path = testing::TempDir() + "pexil-counts-atomic.txt";
  ASSERT_TRUE(writeFileAtomically(path, "one\n"));
  ASSERT_TRUE(writeFileAtomically(path, "two\n"));
  std::string text;
  ASSERT_TRUE(readFileText(path, text));
  EXPECT_EQ(text, "two\n");
  EXPECT_FALSE(writeFileAtomically("/nonexistent-folder/x/y", "z"));
  EXPECT_NE(digestOf("a"), digestOf("b"));
  EXPECT_EQ(digestOf("").size(), 16u);
}

}  // namespace
}  // namespace pexil::databuilder
