// The rack-value tables: reading .rack and .rack.partial files, the
// normalisation of the full-rack statistics, leave lookups, the letter
// forms of other alphabets, the full table, and the choice of files beside
// a word list.
#include "tables/rack_tables.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "io/data_files.hpp"
#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

std::string fixture(const char* name) {
  const auto text = readWholeFile(std::string(PEXIL_TEST_DATA "/rack/") + name);
  return text.value_or("");
}

LetterCounts countsOf(std::string_view letters) {
  LetterCounts counts;
  addLetters(counts, letters, nullptr);
  return counts;
}

class RackTables : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    setRackDistribution(kAlphabetEnglish);
    clearRackTables();
  }
  void TearDown() override {
    clearRackTables();
    setFullRackTableCapacity(0);
    setRackDistribution(kAlphabetEnglish);
  }
  test::StateGuard guard_;
};

TEST_F(RackTables, FullRackValuesAreMeansInTenthsAboveTheOverallMean) {
  ASSERT_EQ(loadFullRackText(fixture("small.rack")), 6u);
  EXPECT_TRUE(hasFullRackTable());
  // The records that count (by hand):
  //   AEINRST  4 + 1 = 5 observations, 120 + 10 = 130 points (two lines, summed)
  //   ABCDEFG  2, 30     ??AEIRS 2, 55     EEEEEEE 1, -7
  //   JKQXZ??  5, 0      AEILNRT 2, 40 (after a record missing its total)
  // N = 17, S = 248, Mean10 = 2480 / 17 = 145 (truncated).
  const long n = 5 + 2 + 2 + 1 + 5 + 2, s = 130 + 30 + 55 - 7 + 0 + 40;
  ASSERT_EQ(n, 17);
  ASSERT_EQ(s, 248);
  const long mean10 = 10 * s / n;
  ASSERT_EQ(mean10, 145);
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), (10 * 130 + 5) / 5 - mean10);  // 261 - 145 = 116
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), 116);
  EXPECT_EQ(FullRackValue(countsOf("ABCDEFG")), 152 - 145);
  EXPECT_EQ(FullRackValue(countsOf("AEIRS??")), 277 - 145);
  EXPECT_EQ(FullRackValue(countsOf("EEEEEEE")), -65 - 145);  // (-70 + 5) / 1, truncated towards zero
  EXPECT_EQ(FullRackValue(countsOf("JKQXZ??")), 1 - 145);    // 5 / 5
  EXPECT_EQ(FullRackValue(countsOf("AEILNRT")), 202 - 145);

  // Records that are not rack-size multisets of the bag, or carry damaged
  // numbers, or lost a field, are not in the table.
  EXPECT_EQ(FullRackValue(countsOf("EQQSTUU")), std::nullopt);  // two Q's
  EXPECT_EQ(FullRackValue(countsOf("AEIOUZZ")), std::nullopt);  // two Z's
  EXPECT_EQ(FullRackValue(countsOf("ABCEIOU")), std::nullopt);  // count 0
  EXPECT_EQ(FullRackValue(countsOf("AEINORS")), std::nullopt);  // count beyond the int range
  EXPECT_EQ(FullRackValue(countsOf("DEINORS")), std::nullopt);  // negative count
  EXPECT_EQ(FullRackValue(countsOf("BBCCDDE")), std::nullopt);  // no total
  EXPECT_EQ(FullRackValue(countsOf("AEINRS")), std::nullopt);   // the six-letter line, and no rack
  EXPECT_EQ(FullRackValue(countsOf("ADEINRS")), std::nullopt);  // never listed
  EXPECT_EQ(FullRackValue(countsOf("AEINRSTT")), std::nullopt);
}

TEST_F(RackTables, ASixLetterLineIsIgnored) {
  // Alone, the six-letter record leaves no statistics at all.
  test::PaneCapture capture;
  EXPECT_EQ(loadFullRackText("AEINRS 3 30\n"), 0u);
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(capture.lines(), std::vector<std::string>{"no rack statistics found "});
  // Next to a full rack it changes nothing: the mean is that rack's own.
  EXPECT_EQ(loadFullRackText("AEINRS 3 30\nAEINRST 2 50\n"), 1u);
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), (500 + 5) / 2 - 500 / 2);
}

TEST_F(RackTables, ReadingSkipsJunkAndDamagedNumbers) {
  using namespace std::string_literals;
  const std::string text =
      "junk\n"
      "AEINRST 1\n"                // total missing: out of step, resynchronised
      "BCDFGHJ 2 20 stray\n"        // a stray token after a good record
      "BCDFGHK 3 3000000000\n"       // total beyond the int range
      "BCDFGHL x 4\n"                // count not a number
      "BCDFGHM 1 -40\n"
      "BCDFGHN +2 +30\n"
      "bcdfghp 1 9\0junk\n"s;       // NUL bytes belong to tokens
  loadFullRackText(text);
  EXPECT_TRUE(FullRackValue(countsOf("BCDFGHJ")).has_value());
  EXPECT_TRUE(FullRackValue(countsOf("BCDFGHM")).has_value());
  EXPECT_TRUE(FullRackValue(countsOf("BCDFGHN")).has_value());
  EXPECT_FALSE(FullRackValue(countsOf("AEINRST")).has_value());
  EXPECT_FALSE(FullRackValue(countsOf("BCDFGHK")).has_value());
  EXPECT_FALSE(FullRackValue(countsOf("BCDFGHL")).has_value());
  EXPECT_FALSE(FullRackValue(countsOf("BCDFGHP")).has_value());
  // N = 2 + 1 + 2 = 5, S = 20 - 40 + 30 = 10, Mean10 = 20.
  EXPECT_EQ(FullRackValue(countsOf("BCDFGHJ")), (200 + 5) / 2 - 20);
  EXPECT_EQ(FullRackValue(countsOf("BCDFGHM")), (-400 + 5) / 1 - 20);
  EXPECT_EQ(FullRackValue(countsOf("BCDFGHN")), (300 + 5) / 2 - 20);
}

TEST_F(RackTables, NoRecordsMeansNoStatistics) {
  test::PaneCapture capture;
  EXPECT_EQ(loadFullRackText(""), 0u);
  EXPECT_EQ(loadFullRackText("AEINRST 0 40\n"), 0u);
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), std::nullopt);
  EXPECT_EQ(capture.lines(), (std::vector<std::string>{"no rack statistics found ", "no rack statistics found "}));
}

TEST_F(RackTables, LeaveValues) {
  EXPECT_EQ(loadLeaveText(fixture("small.rack.partial")), 7u);
  EXPECT_EQ(leaveValueOf("S"), 80);
  EXPECT_EQ(leaveValueOf("?"), 250);
  EXPECT_EQ(leaveValueOf("ER"), 30);
  EXPECT_EQ(leaveValueOf("QU"), 10);
  EXPECT_EQ(leaveValueOf("AEINST"), 200);   // listed as "tsenia"
  EXPECT_EQ(leaveValueOf("AEINRST"), 300);  // a full rack may be listed
  EXPECT_EQ(leaveValueOf("EFFORTS"), 77);   // read after a malformed pair

  // The empty leave, and leaves not listed, are worth 0.
  EXPECT_EQ(leaveValueOf(""), 0);
  EXPECT_EQ(leaveValueOf("E"), 0);
  EXPECT_EQ(leaveValueOf("AEINRS"), 0);
  // More copies than the bag holds, or too long: no leave at all.
  EXPECT_EQ(leaveValueOf("ZZ"), std::nullopt);
  EXPECT_EQ(leaveValueOf("QQ"), std::nullopt);
  EXPECT_EQ(leaveValueOf("AEINRSTU"), std::nullopt);
  EXPECT_EQ(leaveValueOf("A1"), std::nullopt);
  EXPECT_EQ(leaveValueOf("\xC4"), std::nullopt);  // code 26 is the blank's, but only '?' is a blank
  EXPECT_EQ(LeaveValue("ZZ"), 0);
  EXPECT_EQ(LeaveValue("S"), 80);

  // Any order, either case, and the count form.
  for (const char* form : {"AEINST", "tsenia", "NiTeAs", "ITSANE"}) EXPECT_EQ(leaveValueOf(form), 200) << form;
  EXPECT_EQ(leaveValueOf("re"), 30);
  EXPECT_EQ(leaveValueOf("uQ"), 10);
  EXPECT_EQ(leaveValueOf(countsOf("AEINST")), 200);
  EXPECT_EQ(leaveValueOf(countsOf("?")), 250);
  EXPECT_EQ(leaveValueOf(LetterCounts{}), 0);
  LetterCounts twoZ = countsOf("Z");
  ++twoZ[25];
  ++twoZ[kTotalSlot];
  EXPECT_EQ(leaveValueOf(twoZ), std::nullopt);

  // Reading again replaces the values; nothing read leaves all at 0.
  loadLeaveText("S 5");
  EXPECT_EQ(leaveValueOf("S"), 5);
  EXPECT_EQ(leaveValueOf("ER"), 0);
  loadLeaveText("");
  EXPECT_EQ(leaveValueOf("S"), 0);
}

TEST_F(RackTables, LeavesFollowTheRackSize) {
  loadLeaveText("AEINRST 300\nAEINRSTU 500\n");
  EXPECT_EQ(leaveValueOf("AEINRSTU"), std::nullopt);
  rules().rackSize = 8;
  loadLeaveText("AEINRST 300\nAEINRSTU 500\n");
  EXPECT_EQ(leaveValueOf("AEINRSTU"), 500);
  EXPECT_EQ(leaveValueOf("AEINRST"), 300);
}

TEST_F(RackTables, SpanishForms) {
  setWordListAlphabet(kAlphabetSpanish);
  setAlphabetCounts(kAlphabetSpanish);
  setRackDistribution(kAlphabetSpanish);
  // '1' '2' '3' are CH, LL, RR (one tile each), \xD1 is the N with tilde;
  // plain K and W are no Spanish tiles.
  EXPECT_EQ(loadLeaveText("1 50\n2 60\n3 70\n\xD1 80\n? 33\nK 5\nW 6\n11 9\nA1 15\n"), 6u);
  EXPECT_EQ(leaveValueOf("1"), 50);
  EXPECT_EQ(leaveValueOf("2"), 60);
  EXPECT_EQ(leaveValueOf("3"), 70);
  EXPECT_EQ(leaveValueOf("\xD1"), 80);
  EXPECT_EQ(leaveValueOf("\xF1"), 80);  // lower case
  EXPECT_EQ(leaveValueOf("?"), 33);
  EXPECT_EQ(leaveValueOf("1a"), 15);
  EXPECT_EQ(leaveValueOf("K"), std::nullopt);
  EXPECT_EQ(leaveValueOf("W"), std::nullopt);
  EXPECT_EQ(leaveValueOf("11"), std::nullopt);
  // Count arrays use the Spanish codes: CH is 27, the blank 28.
  LetterCounts ch;
  ch[27] = 1;
  ch[kTotalSlot] = 1;
  EXPECT_EQ(leaveValueOf(ch), 50);
  LetterCounts blank;
  blank[28] = 1;
  blank[kTotalSlot] = 1;
  EXPECT_EQ(leaveValueOf(blank), 33);
  // The rack text the program writes reads back.
  EXPECT_EQ(leaveValueOf(rackString(ch)), 50);
}

TEST_F(RackTables, CatalanForms) {
  setWordListAlphabet(kAlphabetCatalan);
  setAlphabetCounts(kAlphabetCatalan);
  setRackDistribution(kAlphabetCatalan);
  // K, Q, W and Y are the one-tile forms of \xC7, QU, L.L and NY.
  loadLeaveText("K 10\nQ 20\nW 30\nY 40\nKK 50\n");
  EXPECT_EQ(leaveValueOf("K"), 10);
  EXPECT_EQ(leaveValueOf("\xC7"), 10);  // the form racks are written in
  EXPECT_EQ(leaveValueOf("\xE7"), 10);
  EXPECT_EQ(leaveValueOf("q"), 20);
  EXPECT_EQ(leaveValueOf("W"), 30);
  EXPECT_EQ(leaveValueOf("y"), 40);
  EXPECT_EQ(leaveValueOf("KK"), std::nullopt);
  EXPECT_EQ(leaveValueOf("K\xC7"), std::nullopt);  // still two of one tile
  LetterCounts c;
  c[10] = 1;
  c[kTotalSlot] = 1;
  EXPECT_EQ(leaveValueOf(rackString(c)), 10);
}

TEST_F(RackTables, TheDistributionDecidesWhatIsARack) {
  // Eight A's are a rack of neither bag, nine one of English only in
  // counts: English has 9 A's, Danish 7.
  loadLeaveText("AAAAAAA 12\n");
  EXPECT_EQ(leaveValueOf("AAAAAAA"), 12);
  setWordListAlphabet(kAlphabetDanish);
  setAlphabetCounts(kAlphabetDanish);
  setRackDistribution(kAlphabetDanish);
  EXPECT_EQ(leaveValueOf("AAAAAAA"), 12);
  EXPECT_EQ(leaveValueOf("Q"), std::nullopt);  // no Q in the Danish bag
  EXPECT_EQ(leaveValueOf("\xC6\xC6"), 0);
  EXPECT_EQ(leaveValueOf("\xC6\xC6\xC6"), std::nullopt);
  // Latin plays the English bag.
  setWordListAlphabet(kAlphabetLatin);
  setAlphabetCounts(kAlphabetLatin);
  setRackDistribution(kAlphabetLatin);
  EXPECT_EQ(leaveValueOf("Q"), 0);
  EXPECT_EQ(leaveValueOf("QQ"), std::nullopt);
  EXPECT_EQ(leaveValueOf("WW"), 0);
}

TEST_F(RackTables, AFullTableDropsFurtherRecords) {
  EXPECT_EQ(fullRackTableCapacity(), 6068243u);
  setFullRackTableCapacity(3);
  EXPECT_EQ(fullRackTableCapacity(), 3u);
  const char* racks[] = {"AEINRST", "ABCDEFG", "EEEEEEE", "AEILNRT", "BCDFGHJ"};
  std::string text;
  for (const char* r : racks) text += std::string(r) + " 1 10\n";
  text += "AEINRST 1 10\n";  // a rack held already is still summed into
  EXPECT_EQ(loadFullRackText(text), 3u);
  EXPECT_EQ(fullRackTableSize(), 3u);
  // The first three stay; the others are dropped and missing lookups end.
  // Mean10 over the four observations held: 10 * 40 / 4 = 100.
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), (200 + 5) / 2 - 100);
  EXPECT_EQ(FullRackValue(countsOf("ABCDEFG")), (100 + 5) / 1 - 100);
  EXPECT_EQ(FullRackValue(countsOf("EEEEEEE")), 5);
  EXPECT_EQ(FullRackValue(countsOf("AEILNRT")), std::nullopt);
  EXPECT_EQ(FullRackValue(countsOf("BCDFGHJ")), std::nullopt);
  EXPECT_EQ(FullRackValue(countsOf("ADEINRS")), std::nullopt);

  setFullRackTableCapacity(0);
  EXPECT_EQ(fullRackTableCapacity(), 6068243u);
  EXPECT_FALSE(hasFullRackTable());
}

TEST_F(RackTables, CollidingKeysProbeOnward) {
  // With 2 slots every other key shares a start slot; wrapping round must
  // find both.
  setFullRackTableCapacity(2);
  EXPECT_EQ(loadFullRackText("AEINRST 1 10\nABCDEFG 1 30\n"), 2u);
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), 105 - 200);
  EXPECT_EQ(FullRackValue(countsOf("ABCDEFG")), 305 - 200);
  EXPECT_EQ(FullRackValue(countsOf("EEEEEEE")), std::nullopt);
}

TEST_F(RackTables, RackSizesAboveTwelveGetNoTables) {
  rules().rackSize = 13;
  EXPECT_EQ(loadFullRackText("AAAABBCCDDEEE 1 10\n"), 0u);
  EXPECT_EQ(loadLeaveText("AAAABBCCDDEEE 10\nAB 5\n"), 1u);
  EXPECT_EQ(leaveValueOf("AB"), 5);
  EXPECT_EQ(leaveValueOf("AAAABBCCDDEEE"), 0);  // a leave, but no table holds it
  EXPECT_EQ(leaveValueOf("AAAABBCCDDEEEQQ"), std::nullopt);
}

// ---- The files beside a word list ----

class RackFiles : public RackTables {
 protected:
  // Loads a word list of the given words from the temporary folder.
  std::unique_ptr<Lexicon> list(const std::string& name, const std::string& words) {
    folder_.write(name, words);
    auto lexicon = std::make_unique<Lexicon>();
    lexicon->loadLeaves = false;
    lexicon->useGraphFile = false;
    EXPECT_TRUE(loadWordListWithTables(*lexicon, name));
    return lexicon;
  }
  test::TempFolder folder_;
  test::InFolder in_{folder_.path("")};
};

TEST_F(RackFiles, TheListsOwnFilesFirst) {
  folder_.write("tiny.rack", "AEINRST 1 10\nABCDEFG 1 30\n");
  folder_.write("tiny.rack.partial", "S 80\n");
  folder_.write("CSW12.rack", "AEINRST 1 90\n");
  auto lexicon = list("tiny.lst", "cat\ndog\n");
  test::PaneCapture capture;
  LoadRackTables(*lexicon);
  EXPECT_EQ(capture.lines(), std::vector<std::string>{"Reading rack statistics... "});
  EXPECT_EQ(loadedRackTableName(), "tiny.rack");
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), -95);
  EXPECT_EQ(leaveValueOf("S"), 80);

  // The same name again, in another case: nothing happens.
  folder_.write("tiny.rack", "AEINRST 1 50\n");
  auto again = list("TINY.lst", "cat\ndog\n");
  test::PaneCapture second;
  LoadRackTables(*again);
  EXPECT_TRUE(second.lines().empty());
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), -95);
}

TEST_F(RackFiles, EnglishListsWithoutFilesFallBack) {
  folder_.write("CSW12.rack", "AEINRST 1 90\n");
  folder_.write("CSW12.rack.partial", "S 70\n");
  folder_.write("ENABLE.rack", "ABCDEFG 1 10\n");
  auto lexicon = list("mine.lst", "cat\ndog\n");
  LoadRackTables(*lexicon);
  EXPECT_EQ(loadedRackTableName(), "CSW12.rack");
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), 905 - 900);
  EXPECT_EQ(leaveValueOf("S"), 70);

  // Lists of identities 1 to 3 and 7 (here "twl06", 2) use ENABLE's.
  auto twl = list("twl06x.lst", "cat\ndog\n");
  test::PaneCapture capture;
  LoadRackTables(*twl);
  EXPECT_EQ(capture.lines(), std::vector<std::string>{"Reading rack statistics... "});
  EXPECT_EQ(loadedRackTableName(), "ENABLE.rack");
  EXPECT_EQ(FullRackValue(countsOf("ABCDEFG")), 5);
  EXPECT_EQ(FullRackValue(countsOf("AEINRST")), std::nullopt);  // the old table is gone
  EXPECT_EQ(leaveValueOf("S"), 0);                              // and no ENABLE partial file
}

TEST_F(RackFiles, OtherLanguagesWithoutFilesGetNone) {
  folder_.write("CSW12.rack", "AEINRST 1 90\n");
  LoadRackTables(*list("mine.lst", "cat\ndog\n"));
  ASSERT_TRUE(hasFullRackTable());
  auto spanish = list("spanish.lst", "abo2an\nabolaga\naboga\nacervado\n");
  ASSERT_EQ(spanish->alphabet(), kAlphabetSpanish);
  test::PaneCapture capture;
  LoadRackTables(*spanish);
  EXPECT_EQ(capture.lines(), std::vector<std::string>{"no rack statistics found "});
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(loadedRackTableName(), "");
}

TEST_F(RackFiles, AMissingFileLeavesTheTableEmpty) {
  auto lexicon = list("mine.lst", "cat\ndog\n");
  test::PaneCapture capture;
  LoadRackTables(*lexicon);  // CSW12.rack does not exist either
  EXPECT_EQ(capture.lines(), std::vector<std::string>{"no rack statistics found "});
  EXPECT_FALSE(hasFullRackTable());
  EXPECT_EQ(LeaveValue("S"), 0);
}

// ---- The pass is worth the rack's leave value less ten points ----

std::shared_ptr<Lexicon> words() { return test::fixtureWords(); }

void giveRack(Game& game, int player, std::string_view letters) {
  Rack& rack = game.racks[static_cast<std::size_t>(player)];
  returnAll(game.bag, rack);
  ASSERT_EQ(addLetters(rack, letters, &game.bag), static_cast<int>(letters.size()));
  ASSERT_TRUE(allNonNegative(game.bag));
}

TEST_F(RackTables, PassAndPlacementsCarryTheLeaveValues) {
  setProgramSeed(11);
  auto game = std::make_unique<Game>();
  startGame(*game, 2, words());
  giveRack(*game, 0, "AEINRST");
  // Every part of the rack gets a value of its own; the whole rack 300.
  std::string leaves;
  for (int mask = 1; mask < 127; ++mask) {
    std::string leave;
    for (int i = 0; i < 7; ++i) {
      if (mask & (1 << i)) leave.push_back("AEINRST"[i]);
    }
    leaves += leave + " " + std::to_string(mask * 7 % 100 + 1) + "\n";
  }
  leaves += "AEINRST 300\n";
  ASSERT_EQ(loadLeaveText(leaves), 127u);
  GenerateMoves(*game, false);
  bool sawPass = false, sawLeave = false;
  for (const Move& m : game->moves) {
    if (isPass(m)) {
      sawPass = true;
      EXPECT_EQ(m.equity, 300 - 100);
      continue;
    }
    if (isNonPlacement(m)) continue;
    // equity = 10 x score + leave value + adjustments, and the bonus holds
    // the adjustments.
    EXPECT_EQ(m.equity - 10 * m.score - m.bonus, LeaveValue(m.leaveView())) << m.wordView() << " " << m.leaveView();
    sawLeave = sawLeave || LeaveValue(m.leaveView()) != 0;
  }
  EXPECT_TRUE(sawPass);
  EXPECT_TRUE(sawLeave);

  // Without tables the pass is worth -100 exactly.
  clearRackTables();
  GenerateMoves(*game, false);
  for (const Move& m : game->moves) {
    if (isPass(m)) {
      EXPECT_EQ(m.equity, -100);
    }
  }
}

// ---- Cost of a leave lookup ----

TEST_F(RackTables, LeaveLookupCost) {
  // Every leave of the English bag up to six tiles would be about a
  // million entries; a few hundred thousand give the same table shape.
  std::string text;
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
  std::vector<std::string> leaves;
  for (int a = 0; a < 27; ++a)
    for (int b = a; b < 27; ++b)
      for (int c = b; c < 27; ++c)
        for (int d = c; d < 27; ++d) {
          std::string leave = {letters[a], letters[b], letters[c], letters[d]};
          leaves.push_back(leave);
          text += leave + " " + std::to_string(a + b - c) + "\n";
        }
  const std::size_t listed = loadLeaveText(text);
  EXPECT_GT(listed, 10000u);
  // Listed leaves, and leaves one tile longer that are not listed.
  std::vector<std::string> probes;
  for (std::size_t i = 0; i < leaves.size(); i += 7) {
    probes.push_back(leaves[i]);
    probes.push_back(leaves[i] + "S");
  }
  long long sum = 0;
  const auto start = std::chrono::steady_clock::now();
  const int rounds = 20;
  for (int r = 0; r < rounds; ++r) {
    for (const std::string& p : probes) sum += LeaveValue(p);
  }
  const double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
                    (static_cast<double>(rounds) * static_cast<double>(probes.size()));
  std::printf("[ cost     ] LeaveValue: %.1f ns per call over %zu leaves listed (checksum %lld)\n", ns, listed, sum);
  EXPECT_LT(ns, 2000.0);
}

}  // namespace
}  // namespace pexil
