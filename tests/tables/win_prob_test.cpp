// Win-probability tables: the blank state and the clamps of a lookup, the
// two record formats, mending of bad records, gap filling, least-squares
// smoothing (against a slow textbook fit), the monotone pass, the choice
// of files beside a word list, and the tables a word list and a new game
// bring.
#include "tables/win_prob.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "state/game.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

using T = WinProbTable;

// One record line of each format.
std::string record(int lead, int tiles, int state, long games, long wins) {
  return std::to_string(lead) + " " + std::to_string(tiles) + " " + std::to_string(state) + " " +
         std::to_string(games) + " " + std::to_string(wins) + "\n";
}
std::string genericRecord(int lead, int tiles, long games, long wins) {
  return std::to_string(lead) + " " + std::to_string(tiles) + " " + std::to_string(games) + " " +
         std::to_string(wins) + "\n";
}

// The raw column of a tile count and state, by lead index.
std::vector<double> rawColumn(const WinProbTable& table, int tiles, int state) {
  std::vector<double> column;
  for (int i = 0; i < T::kLeads; ++i) column.push_back(table.raw[T::cell(i, tiles, state)]);
  return column;
}

// The lookup values, computed the slow obvious way: for every lead index a
// least-squares line through the points of its (clipped) window from the
// normal equations, its value there, clamped, then a running maximum.
std::vector<double> slowSmoothed(const std::vector<double>& y, int window) {
  const int last = static_cast<int>(y.size()) - 1;
  std::vector<double> out;
  for (int i = 0; i <= last; ++i) {
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int j = std::max(0, i - window); j <= std::min(last, i + window); ++j) {
      n += 1;
      sx += j;
      sy += y[static_cast<std::size_t>(j)];
      sxx += double(j) * j;
      sxy += j * y[static_cast<std::size_t>(j)];
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double intercept = (sy - slope * sx) / n;
    out.push_back(std::clamp(intercept + slope * i, 0.0, 100.0));
  }
  for (std::size_t i = 1; i < out.size(); ++i) out[i] = std::max(out[i], out[i - 1]);
  return out;
}

// The largest difference between a column's lookup values and the slow
// computation with this window.
double worstDifference(const WinProbTable& table, int tiles, int state, int window) {
  const std::vector<double> expected = slowSmoothed(rawColumn(table, tiles, state), window);
  double worst = 0;
  for (int i = 0; i < T::kLeads; ++i) worst = std::max(worst, std::abs(expected[static_cast<std::size_t>(i)] - table.smoothed[T::cell(i, tiles, state)]));
  return worst;
}

// A seeded table of noisy, rising percentages with gaps: present at about
// three leads in four, for a few tile counts.
std::string randomRecords(bool generic, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> noise(-20.0, 20.0);
  std::uniform_int_distribution<int> gap(0, 3);
  std::string text;
  for (int tiles : {0, 1, 7, 40, 86, 100}) {
    for (int state = 0; state < (generic ? 1 : T::kBlankStates); ++state) {
      for (int lead = -T::kMaxLead; lead <= T::kMaxLead; ++lead) {
        if (gap(random) == 0) continue;
        const double percent = std::clamp(50.0 + 0.2 * lead + noise(random), 0.0, 100.0);
        const long wins = std::lround(percent * 10);
        text += generic ? genericRecord(lead, tiles, 1000, wins) : record(lead, tiles, state, 1000, wins);
      }
    }
  }
  return text;
}

void expectMonotoneWithinRange(const WinProbTable& table) {
  for (int tiles = 0; tiles < T::kTileSlots; ++tiles) {
    for (int state = 0; state < T::kBlankStates; ++state) {
      for (int i = 0; i < T::kLeads; ++i) {
        const float value = table.smoothed[T::cell(i, tiles, state)];
        ASSERT_GE(value, 0.0f) << tiles << " " << state << " " << i;
        ASSERT_LE(value, 100.0f) << tiles << " " << state << " " << i;
        if (i > 0) {
          ASSERT_GE(value, table.smoothed[T::cell(i - 1, tiles, state)]) << tiles << " " << state << " " << i;
        }
      }
    }
  }
}

class WinProbTables : public ::testing::Test {
 protected:
  void SetUp() override { clearWinProbTables(); }
  void TearDown() override { clearWinProbTables(); }
  test::TempFolder folder;
};

// ---- lookups ----

TEST(WinProbLookup, BlankStateOfEveryCombination) {
  EXPECT_EQ(WinProbBlankState(0, 0), 0);
  EXPECT_EQ(WinProbBlankState(0, 1), 1);
  EXPECT_EQ(WinProbBlankState(0, 2), 1);  // two on the rack: "a blank on the rack"
  EXPECT_EQ(WinProbBlankState(1, 0), 2);
  EXPECT_EQ(WinProbBlankState(1, 1), 3);
  for (int onRack = -1; onRack <= 2; ++onRack) {
    EXPECT_EQ(WinProbBlankState(2, onRack), 4);
    EXPECT_EQ(WinProbBlankState(3, onRack), 4);
  }
  // Impossible negative counts read as none.
  EXPECT_EQ(WinProbBlankState(-1, 0), 0);
  EXPECT_EQ(WinProbBlankState(0, -3), 0);
  EXPECT_EQ(WinProbBlankState(-2, 1), 1);
}

TEST(WinProbLookup, LeadAndTilesAreClampedAndOneCellIsRead) {
  auto table = std::make_unique<WinProbTable>();
  for (int i = 0; i < T::kLeads; ++i)
    for (int tiles = 0; tiles < T::kTileSlots; ++tiles)
      for (int state = 0; state < T::kBlankStates; ++state)
        table->smoothed[T::cell(i, tiles, state)] = float(i * 1000 + tiles * 5 + state);
  auto code = [](int lead, int tiles, int state) { return float((lead + 200) * 1000 + tiles * 5 + state); };
  EXPECT_EQ(WinProb(*table, 37, 12, 1, 0), code(37, 12, 2));
  EXPECT_EQ(WinProb(*table, 250, 12, 0, 0), code(200, 12, 0));
  EXPECT_EQ(WinProb(*table, -250, 12, 0, 0), code(-200, 12, 0));
  EXPECT_EQ(WinProb(*table, 1 << 30, 12, 0, 0), code(200, 12, 0));
  EXPECT_EQ(WinProb(*table, -(1 << 30), 12, 0, 0), code(-200, 12, 0));
  EXPECT_EQ(WinProb(*table, 0, 100, 0, 0), code(0, 86, 0));
  EXPECT_EQ(WinProb(*table, 0, 87, 0, 0), code(0, 86, 0));
  EXPECT_EQ(WinProb(*table, 0, 86, 0, 0), code(0, 86, 0));
  EXPECT_EQ(WinProb(*table, 0, -4, 0, 0), code(0, 0, 0));
  EXPECT_EQ(WinProb(*table, 5, 20, 2, 1), code(5, 20, 4));
  EXPECT_EQ(WinProb(*table, 5, 20, 2, 0), code(5, 20, 4));
  EXPECT_EQ(WinProb(*table, 5, 20, 0, 1), code(5, 20, 1));
  EXPECT_EQ(WinProb(*table, 5, 20, 1, 1), code(5, 20, 3));
}

// ---- reading ----

TEST(WinProbReading, ARecordSetsItsCellToTheWinPercentage) {
  WinProbTable table;
  EXPECT_EQ(readWinProbRecords(table, record(10, 20, 1, 4, 3) + record(-7, 0, 4, 8, 2)), 2u);
  EXPECT_FLOAT_EQ(table.rawAt(10, 20, 1), 75.0f);
  EXPECT_FLOAT_EQ(table.rawAt(-7, 0, 4), 25.0f);
  for (int state : {0, 2, 3, 4}) EXPECT_EQ(table.rawAt(10, 20, state), -1.0f);
  EXPECT_EQ(table.rawAt(11, 20, 1), -1.0f);
  // Records may run across lines; a later one overwrites.
  EXPECT_EQ(readWinProbRecords(table, "  10\n20\t1 4\r\n3 10 20 1 +4 1"), 2u);
  EXPECT_FLOAT_EQ(table.rawAt(10, 20, 1), 25.0f);
}

TEST(WinProbReading, AGenericRecordFillsAllFiveStates) {
  WinProbTable table;
  table.generic = true;
  EXPECT_EQ(readWinProbRecords(table, genericRecord(10, 20, 4, 3)), 1u);
  for (int state = 0; state < T::kBlankStates; ++state) EXPECT_FLOAT_EQ(table.rawAt(10, 20, state), 75.0f);
  // And after loading, every state of that column looks the same.
  const auto loaded = winProbTableFromText(genericRecord(10, 20, 4, 3) + genericRecord(-30, 20, 10, 1), true);
  ASSERT_TRUE(loaded);
  for (int i = 0; i < T::kLeads; ++i)
    for (int state = 1; state < T::kBlankStates; ++state)
      ASSERT_EQ(loaded->smoothed[T::cell(i, 20, state)], loaded->smoothed[T::cell(i, 20, 0)]);
}

TEST(WinProbReading, BadRecordsAreSkipped) {
  WinProbTable table;
  const std::string text = record(1, 1, 0, 10, 5)              // used
                           + "2 1 x 10 5\n"                    // junk in the state field
                           + "3 1 0 1.5 1\n"                   // not an integer
                           + "4 1 0 999999999999999999999 1\n" // too long to be a number
                           + "4 1 0 9999999999999999999 1\n"   // 19 digits, beyond 64 bits
                           + record(201, 1, 0, 10, 5)          // lead out of range
                           + record(-201, 1, 0, 10, 5)         //
                           + record(5, 120, 0, 10, 5)          // tile count out of range
                           + record(6, -1, 0, 10, 5)           //
                           + record(7, 1, 5, 10, 5)            // blank state out of range
                           + record(8, 1, -1, 10, 5)           //
                           + record(9, 1, 0, 0, 0)             // no games
                           + record(10, 1, 0, -4, -2)          //
                           + record(11, 1, 0, 10, -1)          // negative wins
                           + record(12, 1, 0, 10, 11)          // more wins than games
                           + record(13, 119, 0, 10, 10)        // used: the last tile slot
                           + "14 1 0 10";                      // a short last record
  EXPECT_EQ(readWinProbRecords(table, text), 2u);
  EXPECT_FLOAT_EQ(table.rawAt(1, 1, 0), 50.0f);
  EXPECT_FLOAT_EQ(table.rawAt(13, 119, 0), 100.0f);
  std::size_t present = 0;
  for (float value : table.raw) present += value >= 0;
  EXPECT_EQ(present, 2u);
  // The table made of it is still sound.
  const auto loaded = winProbTableFromText(text + std::string("\0\xff garbage", 11), false);
  ASSERT_TRUE(loaded);
  expectMonotoneWithinRange(*loaded);
}

TEST(WinProbReading, GenericNamesContainDotPt) {
  EXPECT_TRUE(isGenericWinProbName("2player.pt"));
  EXPECT_TRUE(isGenericWinProbName("4PLAYER.PT"));
  EXPECT_TRUE(isGenericWinProbName("tables/3player.pt"));
  EXPECT_FALSE(isGenericWinProbName("TWL06.2p"));
  EXPECT_FALSE(isGenericWinProbName("stats.pt/TWL06.2p"));
}

// ---- finishing ----

TEST(WinProbFinishing, GapsFillOutwardFromLeadZero) {
  const std::string text = record(-5, 20, 0, 10, 3) + record(-10, 20, 0, 10, 4) + record(5, 20, 0, 10, 7) +
                           record(8, 20, 0, 10, 6) + record(0, 21, 0, 10, 7) + record(0, 22, 0, 10, 3);
  const auto table = winProbTableFromText(text, false);
  ASSERT_TRUE(table);
  // Down from lead 0: 50 until the 30 at -5, which then stays the lowest
  // (the 40 at -10 is kept as it was).
  EXPECT_EQ(table->rawAt(0, 20, 0), 50.0f);
  EXPECT_EQ(table->rawAt(-4, 20, 0), 50.0f);
  EXPECT_FLOAT_EQ(table->rawAt(-5, 20, 0), 30.0f);
  EXPECT_FLOAT_EQ(table->rawAt(-6, 20, 0), 30.0f);
  EXPECT_FLOAT_EQ(table->rawAt(-10, 20, 0), 40.0f);
  EXPECT_FLOAT_EQ(table->rawAt(-200, 20, 0), 30.0f);
  // Up: 50 until the 70 at 5, which stays the highest.
  EXPECT_EQ(table->rawAt(4, 20, 0), 50.0f);
  EXPECT_FLOAT_EQ(table->rawAt(7, 20, 0), 70.0f);
  EXPECT_FLOAT_EQ(table->rawAt(8, 20, 0), 60.0f);
  EXPECT_FLOAT_EQ(table->rawAt(200, 20, 0), 70.0f);
  // A value at lead 0 starts the walk down when it is below 50 and the
  // walk up when it is above.
  EXPECT_FLOAT_EQ(table->rawAt(0, 21, 0), 70.0f);
  EXPECT_EQ(table->rawAt(-1, 21, 0), 50.0f);
  EXPECT_FLOAT_EQ(table->rawAt(1, 21, 0), 70.0f);
  EXPECT_FLOAT_EQ(table->rawAt(-1, 22, 0), 30.0f);
  EXPECT_EQ(table->rawAt(1, 22, 0), 50.0f);
  // Tile slots beyond 86 are not filled.
  EXPECT_EQ(table->rawAt(0, 87, 0), -1.0f);
}

// A state self-play never reached at a tile count (or reached only near
// lead 0) takes the mean of the other states at the same lead instead of a
// flat 50: a 150-point deficit must not read as an even game.
TEST(WinProbFinishing, MissingStatesBorrowFromTheOtherStatesAtTheSameLead) {
  std::string text;
  for (int lead = -200; lead <= 200; ++lead) {
    text += record(lead, 12, 0, 100, lead < -20 ? 0 : lead > 20 ? 100 : 50);
    text += record(lead, 12, 2, 100, lead < -20 ? 10 : lead > 20 ? 90 : 50);
  }
  text += record(0, 12, 3, 100, 60);  // one record of state 3, at lead 0
  const auto table = winProbTableFromText(text, false);
  ASSERT_TRUE(table);
  EXPECT_FLOAT_EQ(table->rawAt(-150, 12, 4), 5.0f);
  EXPECT_FLOAT_EQ(table->rawAt(150, 12, 1), 95.0f);
  EXPECT_FLOAT_EQ(table->rawAt(-150, 12, 3), 5.0f);
  EXPECT_FLOAT_EQ(table->rawAt(0, 12, 3), 60.0f);  // present cells are kept
  EXPECT_LT(WinProb(*table, -150, 12, 1, 1), 10.0f);
  EXPECT_GT(WinProb(*table, 150, 12, 1, 1), 90.0f);
  // A tile count no state reached is still filled from lead 0.
  EXPECT_EQ(table->rawAt(-150, 13, 3), 50.0f);
}

TEST(WinProbFinishing, LoadedTablesAreMonotoneAndWithinRange) {
  for (bool generic : {false, true}) {
    const auto table = winProbTableFromText(randomRecords(generic, 7), generic);
    ASSERT_TRUE(table);
    expectMonotoneWithinRange(*table);
  }
  // Extremes: all losses below lead 0, all wins above.
  std::string text;
  for (int lead = -200; lead <= 200; lead += 3) text += record(lead, 3, 2, 5, lead < 0 ? 0 : 5);
  const auto extreme = winProbTableFromText(text, false);
  ASSERT_TRUE(extreme);
  expectMonotoneWithinRange(*extreme);
  EXPECT_EQ(extreme->smoothedAt(-200, 3, 2), 0.0f);
  EXPECT_EQ(extreme->smoothedAt(200, 3, 2), 100.0f);
}

TEST(WinProbFinishing, SmoothingMatchesASlowLeastSquaresFit) {
  const auto table = winProbTableFromText(randomRecords(false, 2024), false);
  ASSERT_TRUE(table);
  for (int tiles : {0, 1, 2, 7, 40, 86, 87, 100, 119}) {
    for (int state = 0; state < T::kBlankStates; ++state) {
      const int window = state == 1 || state == 3 ? 16 : 10;
      EXPECT_LT(worstDifference(*table, tiles, state, window), 1e-3) << tiles << " " << state;
    }
  }
}

TEST(WinProbFinishing, OnlyTablesOfAListSmoothStatesWithABlankOnTheRackMoreWidely) {
  const auto own = winProbTableFromText(randomRecords(false, 99), false);
  const auto generic = winProbTableFromText(randomRecords(true, 99), true);
  ASSERT_TRUE(own && generic);
  for (int tiles : {1, 40}) {
    for (int state : {1, 3}) {
      EXPECT_GT(worstDifference(*own, tiles, state, 10), 0.05) << "the narrow window would differ";
      EXPECT_LT(worstDifference(*generic, tiles, state, 10), 1e-3);
    }
    for (int state : {0, 2, 4}) EXPECT_LT(worstDifference(*own, tiles, state, 10), 1e-3);
  }
}

TEST(WinProbFinishing, AStraightLineIsReproduced) {
  // 20 + lead index / 8: every value a float exactly.
  std::string text;
  for (int state : {0, 1}) {
    for (int lead = -200; lead <= 200; ++lead) text += record(lead, 30, state, 800, 160 + lead + 200);
  }
  const auto table = winProbTableFromText(text, false);
  ASSERT_TRUE(table);
  for (int state : {0, 1}) {
    for (int i = 0; i < T::kLeads; ++i) {
      // Clipped windows at the ends fit the same line.
      ASSERT_FLOAT_EQ(table->smoothed[T::cell(i, 30, state)], 20.0f + float(i) / 8) << state << " " << i;
    }
  }
}

// ---- files ----

TEST_F(WinProbTables, AMissingFileGivesFiftyAndAFolderIsNoFile) {
  test::InFolder here(folder.path(""));
  std::filesystem::create_directory(folder.path("3player.pt"));
  for (const char* name : {"NOTHERE.2p", "3player.pt"}) {
    const auto table = loadWinProbTable(name);
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->opened);
    EXPECT_EQ(table->fileName, name);
    for (int tiles = 0; tiles <= T::kMaxTiles; ++tiles) {
      for (int state = 0; state < T::kBlankStates; ++state) {
        for (int lead = -T::kMaxLead; lead <= T::kMaxLead; ++lead) {
          ASSERT_EQ(table->rawAt(lead, tiles, state), 50.0f);
          ASSERT_NEAR(table->smoothedAt(lead, tiles, state), 50.0f, 1e-4);
        }
      }
    }
    EXPECT_NEAR(WinProb(*table, 300, 100, 3, 1), 50.0f, 1e-4);
  }
}

TEST_F(WinProbTables, AFileIsFoundIgnoringCaseAndReadInItsFormat) {
  test::InFolder here(folder.path(""));
  folder.write("twl06.2p", record(0, 5, 2, 10, 9) + record(0, 5, 0, 10, 3));
  folder.write("2Player.PT", genericRecord(0, 5, 10, 1));
  const auto own = loadWinProbTable("TWL06.2p");
  ASSERT_TRUE(own);
  EXPECT_TRUE(own->opened);
  EXPECT_FALSE(own->generic);
  EXPECT_FLOAT_EQ(own->rawAt(0, 5, 2), 90.0f);
  EXPECT_FLOAT_EQ(own->rawAt(0, 5, 0), 30.0f);
  EXPECT_FLOAT_EQ(own->rawAt(0, 5, 1), 60.0f);  // the states without a record take their mean
  EXPECT_EQ(own->rawAt(0, 6, 0), 50.0f);
  const auto generic = loadWinProbTable("2player.pt");
  ASSERT_TRUE(generic);
  EXPECT_TRUE(generic->opened && generic->generic);
  for (int state = 0; state < T::kBlankStates; ++state) EXPECT_FLOAT_EQ(generic->rawAt(0, 5, state), 10.0f);
}

TEST_F(WinProbTables, TheListsOwnFileElseTheGenericOne) {
  test::InFolder here(folder.path(""));
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 2), "2player.pt");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 3), "3player.pt");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 4), "4player.pt");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 1), "");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 5), "");
  folder.write("twl06.2p", "");
  folder.write("TWL06.4p", "");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 2), "TWL06.2p");  // found in another case
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 3), "3player.pt");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 4), "TWL06.4p");
  EXPECT_EQ(winProbFileName("TWL06.extra.txt", 2, 4), "TWL06.4p");  // the base ends at the first '.'
  // A list in a folder looks beside itself.
  std::filesystem::create_directory(folder.path("lists.d"));
  folder.write("lists.d/FISE.2p", "");
  EXPECT_EQ(winProbFileName("lists.d/FISE.LST", 8, 2), "lists.d/FISE.2p");
  EXPECT_EQ(winProbFileName("lists.d/FISE.LST", 8, 3), "3player.pt");
  // No name, or nothing before the dot, has no file of its own.
  folder.write(".2p", "");
  EXPECT_EQ(winProbFileName("", 0, 2), "2player.pt");
  EXPECT_EQ(winProbFileName(".LST", 0, 2), "2player.pt");
}

TEST_F(WinProbTables, TwoListsBorrowTheFilesOfTheirPredecessors) {
  test::InFolder here(folder.path(""));
  EXPECT_EQ(winProbFileName("csw12.txt", 5, 2), "2player.pt");
  EXPECT_EQ(winProbFileName("ospd2.lst", 7, 2), "2player.pt");
  folder.write("SOWPODS.2p", "");
  folder.write("enable.2p", "");
  EXPECT_EQ(winProbFileName("CSW12.LST", 5, 2), "SOWPODS.2p");
  EXPECT_EQ(winProbFileName("csw12_2014.lst", 5, 2), "SOWPODS.2p");
  EXPECT_EQ(winProbFileName("OSPD2.LST", 7, 2), "ENABLE.2p");
  EXPECT_EQ(winProbFileName("CSW12.LST", 5, 3), "3player.pt");  // SOWPODS.3p is missing
  folder.write("SOWPODS.3p", "");
  folder.write("Enable.4p", "");
  EXPECT_EQ(winProbFileName("CSW12.LST", 5, 3), "SOWPODS.3p");
  EXPECT_EQ(winProbFileName("OSPD2.LST", 7, 4), "ENABLE.4p");
  // The list id decides, not the name.
  EXPECT_EQ(winProbFileName("mine.lst", 5, 2), "SOWPODS.2p");
  EXPECT_EQ(winProbFileName("csw12.lst", 0, 2), "2player.pt");
  EXPECT_EQ(winProbFileName("TWL06.LST", 2, 2), "2player.pt");  // and only those lists
  EXPECT_EQ(winProbFileName("old/csw12.lst", 5, 2), "SOWPODS.2p");
  // Their own files come first.
  folder.write("CSW12.2p", "");
  folder.write("OSPD2.2p", "");
  EXPECT_EQ(winProbFileName("CSW12.LST", 5, 2), "CSW12.2p");
  EXPECT_EQ(winProbFileName("OSPD2.LST", 7, 2), "OSPD2.2p");
}

TEST_F(WinProbTables, LoadingForAListReplacesAllThreeTables) {
  test::InFolder here(folder.path(""));
  EXPECT_EQ(winProbTable(2), nullptr);
  EXPECT_EQ(sharedWinProbTable(3), nullptr);
  folder.write("TWL06.2p", record(0, 5, 0, 10, 9));
  folder.write("3player.pt", genericRecord(0, 5, 10, 2));
  LoadWinProbTables("TWL06.LST", 2);
  ASSERT_NE(winProbTable(2), nullptr);
  ASSERT_NE(winProbTable(3), nullptr);
  ASSERT_NE(winProbTable(4), nullptr);
  EXPECT_EQ(winProbTable(1), nullptr);
  EXPECT_EQ(winProbTable(5), nullptr);
  EXPECT_EQ(winProbTable(2)->fileName, "TWL06.2p");
  EXPECT_FALSE(winProbTable(2)->generic);
  EXPECT_FLOAT_EQ(winProbTable(2)->rawAt(0, 5, 0), 90.0f);
  EXPECT_EQ(winProbTable(3)->fileName, "3player.pt");
  EXPECT_TRUE(winProbTable(3)->generic && winProbTable(3)->opened);
  EXPECT_FLOAT_EQ(winProbTable(3)->rawAt(0, 5, 4), 20.0f);
  EXPECT_EQ(winProbTable(4)->fileName, "4player.pt");
  EXPECT_FALSE(winProbTable(4)->opened);

  // A simulation's copy outlives the replacement.
  const auto held = sharedWinProbTable(2);
  LoadWinProbTables("OTHER.LST", 0);
  EXPECT_EQ(winProbTable(2)->fileName, "2player.pt");
  EXPECT_NE(winProbTable(2), held.get());
  EXPECT_EQ(held->fileName, "TWL06.2p");
  EXPECT_FLOAT_EQ(held->rawAt(0, 5, 0), 90.0f);
}

TEST_F(WinProbTables, GenericTablesOnlyWhenNoTwoPlayerTableIsHeld) {
  test::InFolder here(folder.path(""));
  folder.write("2player.pt", genericRecord(0, 5, 10, 3));
  EnsureGenericWinProbTables();
  ASSERT_NE(winProbTable(2), nullptr);
  EXPECT_EQ(winProbTable(2)->fileName, "2player.pt");
  EXPECT_EQ(winProbTable(4)->fileName, "4player.pt");

  auto mine = std::make_shared<WinProbTable>();
  mine->fileName = "mine";
  setWinProbTable(2, mine);
  EnsureGenericWinProbTables();
  EXPECT_EQ(winProbTable(2), mine.get());
  // A table of another shape is never put in place.
  auto bad = std::make_shared<WinProbTable>();
  bad->smoothed.resize(10);
  setWinProbTable(2, bad);
  EXPECT_EQ(winProbTable(2), mine.get());
  setWinProbTable(2, nullptr);
  EXPECT_EQ(winProbTable(2), nullptr);
}

TEST_F(WinProbTables, AWordListAndANewGameBringTheirTables) {
  test::StateGuard guard;
  ASSERT_TRUE(activateGameType(kKindStandard));
  test::InFolder here(folder.path(""));
  struct Quiet {
    bool was = textPane().Quiet();
    Quiet() { textPane().SetQuiet(true); }
    ~Quiet() { textPane().SetQuiet(was); }
  } quietPane;
  folder.write("MINI.LST", "at\ncat\nta\ntac\n");
  folder.write("MINI.2p", record(0, 5, 0, 10, 8));

  // A list loaded without its leave tables still brings its own.
  auto quiet = std::make_shared<Lexicon>();
  quiet->loadLeaves = false;
  ASSERT_TRUE(loadWordListWithTables(*quiet, "MINI.LST"));
  ASSERT_NE(winProbTable(2), nullptr);
  EXPECT_EQ(winProbTable(2)->fileName, "MINI.2p");
  // A game starting while no table is held takes the generic ones.
  clearWinProbTables();
  Game game;
  NewGame(game, 2, quiet);
  ASSERT_NE(winProbTable(2), nullptr);
  EXPECT_EQ(winProbTable(2)->fileName, "2player.pt");

  auto full = std::make_shared<Lexicon>();
  ASSERT_TRUE(loadWordListWithTables(*full, "MINI.LST"));
  ASSERT_NE(winProbTable(2), nullptr);
  EXPECT_EQ(winProbTable(2)->fileName, "MINI.2p");
  EXPECT_EQ(winProbTable(3)->fileName, "3player.pt");
  NewGame(game, 2, full);
  EXPECT_EQ(winProbTable(2)->fileName, "MINI.2p");
}

}  // namespace
}  // namespace pexil
