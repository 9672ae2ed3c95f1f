// Keep values against the unseen tiles, the optimal exchange keep, the
// re-evaluation of moves, and the two rack-value reports.
#include "movegen/keep_value.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "lexicon/lexicon.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "movegen/rack_reports.hpp"
#include "play/game_flow.hpp"
#include "rules/game_rules.hpp"
#include "rules/letter_codes.hpp"
#include "rules/random.hpp"
#include "rules/tile_counts.hpp"
#include "state/game.hpp"
#include "tables/rack_tables.hpp"
#include "test_support.hpp"
#include "text/text_pane.hpp"

namespace pexil {
namespace {

LetterCounts countsOf(std::string_view letters) {
  LetterCounts counts;
  addLetters(counts, letters, nullptr);
  return counts;
}

// One code per tile of the text, in the text's order.
std::vector<int> tileList(std::string_view letters) {
  std::vector<int> tiles;
  for (char c : letters) tiles.push_back(codeOfTile(c));
  return tiles;
}

int valueOr0(LetterCounts rack) { return FullRackValue(rack).value_or(0); }

LetterCounts plus(LetterCounts counts, std::initializer_list<int> codes) {
  for (int code : codes) {
    ++counts[code];
    ++counts[kTotalSlot];
  }
  return counts;
}

// Every multiset of `size` letters of `letters` (distinct letters).
void multisets(const std::string& letters, int size, std::size_t from, std::string& current, std::vector<std::string>& out) {
  if (static_cast<int>(current.size()) == size) {
    out.push_back(current);
    return;
  }
  for (std::size_t i = from; i < letters.size(); ++i) {
    current.push_back(letters[i]);
    multisets(letters, size, i, current, out);
    current.pop_back();
  }
}

// .rack lines for `keep` plus every multiset of `draw` of `letters`, with
// totals from -spread to spread and counts 1 or 2 from a seeded generator;
// about one rack in eight is left out.
std::string racksAround(const std::string& keep, const std::string& letters, int draw, std::uint32_t seed, int spread) {
  std::mt19937 generator(seed);
  std::vector<std::string> drawn;
  std::string current;
  multisets(letters, draw, 0, current, drawn);
  std::string text;
  for (const std::string& d : drawn) {
    const std::uint32_t r = generator();
    if (r % 8 == 0) continue;
    const int total = static_cast<int>(generator() % static_cast<std::uint32_t>(2 * spread + 1)) - spread;
    const int count = 1 + static_cast<int>(generator() % 2);
    text += keep + d + " " + std::to_string(count) + " " + std::to_string(total) + "\n";
  }
  return text;
}

std::unique_ptr<Game> bareGame(std::string_view rack, std::string_view bag, std::string_view opponent = "") {
  auto game = std::make_unique<Game>();
  game->playerCount = 2;
  game->toMove = 0;
  addLetters(game->racks[0], rack, nullptr);
  addLetters(game->racks[1], opponent, nullptr);
  addLetters(game->bag, bag, nullptr);
  return game;
}

class KeepValues : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    setRackDistribution(kAlphabetEnglish);
    clearRackTables();
  }
  void TearDown() override { clearRackTables(); }
  test::StateGuard guard_;
};

const std::string kPool = "BBCDDDRRSTTTTEEE?";  // 17 unseen tiles
const std::string kPoolLetters = "BCDERST?";

TEST_F(KeepValues, OneTileToDrawIsTheExactWeightedMean) {
  ASSERT_GT(loadFullRackText(racksAround("AEINST", kPoolLetters, 1, 1, 300)), 0u);
  auto game = bareGame("AEINSTX", kPool);
  const LetterCounts pool = countsOf(kPool);
  const LetterCounts keep = countsOf("AEINST");

  // By brute force: every unseen tile equally likely.
  const std::vector<int> tiles = tileList(kPool);
  long long sum = 0;
  int missing = 0;
  for (int t : tiles) {
    sum += valueOr0(plus(keep, {t}));
    missing += !FullRackValue(plus(keep, {t})).has_value();
  }
  ASSERT_GT(missing, 0);                    // missing entries are in play ...
  ASSERT_LT(missing, static_cast<int>(tiles.size()));  // ... and so are listed ones
  const int expected = static_cast<int>(sum / static_cast<long long>(tiles.size()));
  EXPECT_EQ(KeepValue(*game, keep, keepMaskOf(game->racks[0], "AEINST"), pool, kKeepNotComputed), expected);
  // Not a plain mean over the letters: the weights matter.
  long long letterSum = 0;
  for (char c : kPoolLetters) letterSum += valueOr0(plus(keep, {codeOfTile(c)}));
  EXPECT_NE(expected, static_cast<int>(letterSum / static_cast<long long>(kPoolLetters.size())));
}

TEST_F(KeepValues, TwoTilesToDrawIsTheExactPairMean) {
  ASSERT_GT(loadFullRackText(racksAround("AEINS", kPoolLetters, 2, 2, 300)), 0u);
  auto game = bareGame("AEINSXZ", kPool);
  const LetterCounts keep = countsOf("AEINS");
  const std::vector<int> tiles = tileList(kPool);
  long long sum = 0, pairs = 0;
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    for (std::size_t j = i + 1; j < tiles.size(); ++j) {
      sum += valueOr0(plus(keep, {tiles[i], tiles[j]}));
      ++pairs;
    }
  }
  ASSERT_EQ(pairs, 17 * 16 / 2);
  EXPECT_EQ(KeepValue(*game, keep, keepMaskOf(game->racks[0], "AEINS"), countsOf(kPool), kKeepNotComputed),
            static_cast<int>(sum / pairs));
}

TEST_F(KeepValues, ThreeOrMoreTilesAreSampled) {
  ASSERT_GT(loadFullRackText(racksAround("AEIN", kPoolLetters, 3, 3, 30)), 0u);
  setProgramSeed(1234);
  auto game = bareGame("AEINXZQ", kPool);
  const LetterCounts keep = countsOf("AEIN");
  const std::vector<int> tiles = tileList(kPool);
  long long sum = 0, triples = 0;
  for (std::size_t i = 0; i < tiles.size(); ++i)
    for (std::size_t j = i + 1; j < tiles.size(); ++j)
      for (std::size_t k = j + 1; k < tiles.size(); ++k) {
        sum += valueOr0(plus(keep, {tiles[i], tiles[j], tiles[k]}));
        ++triples;
      }
  const double exact = static_cast<double>(sum) / static_cast<double>(triples);
  const int sampled = KeepValue(*game, keep, keepMaskOf(game->racks[0], "AEIN"), countsOf(kPool), kKeepNotComputed);
  // Values spread over about +-300 tenths: the mean of 10,000 draws lies
  // within 8 tenths (about five standard errors) of the exact mean.
  EXPECT_NEAR(sampled, exact, 8.0);
}

// The sampling procedure replayed draw by draw on the same random stream.
// Positions number the pool's tiles in alphabet order.
int replaySampling(Game& game, const LetterCounts& keep, std::string_view pool, int draws, int toDraw) {
  const std::vector<int> tiles = tileList(countsToText(countsOf(pool), 200).value_or(""));
  const int n = static_cast<int>(tiles.size());
  long long sum = 0;
  for (int d = 0; d < draws; ++d) {
    LetterCounts rack = keep;
    std::vector<int> taken;
    while (static_cast<int>(taken.size()) < toDraw) {
      const int p = game.random.next() % n;
      if (std::find(taken.begin(), taken.end(), p) != taken.end()) continue;
      taken.push_back(p);
      rack = plus(rack, {tiles[static_cast<std::size_t>(p)]});
    }
    sum += valueOr0(rack);
  }
  // Rounded half away from zero.
  return static_cast<int>((sum >= 0 ? sum + draws / 2 : sum - draws / 2) / draws);
}

TEST_F(KeepValues, SamplingDrawsDistinctTilesAndRounds) {
  ASSERT_GT(loadFullRackText(racksAround("AEIN", kPoolLetters, 3, 4, 30)), 0u);
  const LetterCounts keep = countsOf("AEIN");
  setProgramSeed(77);
  auto a = bareGame("AEINXZQ", kPool);
  const int value = KeepValue(*a, keep, 0x0F, countsOf(kPool), kKeepNotComputed);
  setProgramSeed(77);
  auto b = bareGame("AEINXZQ", kPool);
  EXPECT_EQ(value, replaySampling(*b, keep, kPool, 10000, 3));
  EXPECT_EQ(a->random.next(), b->random.next());  // exactly 10,000 draws' worth of numbers
}

TEST_F(KeepValues, SecondCallComesFromTheCache) {
  ASSERT_GT(loadFullRackText(racksAround("AEIN", kPoolLetters, 3, 5, 30)), 0u);
  const LetterCounts keep = countsOf("AEIN");
  const std::uint32_t mask = 0x0F;
  setProgramSeed(99);
  auto a = bareGame("AEINXZQ", kPool);
  const int first = KeepValue(*a, keep, mask, countsOf(kPool), kKeepNotComputed);
  EXPECT_EQ(a->keepValueCache.size(), 128u);
  EXPECT_EQ(a->keepValueCache[mask], first);
  const int second = KeepValue(*a, keep, mask, countsOf(kPool), kKeepNotComputed);
  EXPECT_EQ(second, first);

  setProgramSeed(99);
  auto b = bareGame("AEINXZQ", kPool);
  EXPECT_EQ(KeepValue(*b, keep, mask, countsOf(kPool), kKeepNotComputed), first);
  EXPECT_EQ(a->random.next(), b->random.next());  // the second call drew nothing

  // Another rack or another pool is another cache.
  auto c = bareGame("AEINXZQ", kPool);
  KeepValue(*c, keep, mask, countsOf(kPool), kKeepNotComputed);
  c->racks[0] = countsOf("AEINXZJ");
  KeepValue(*c, countsOf("AEIN"), 0x01, countsOf(kPool), kKeepNotComputed);
  EXPECT_EQ(c->keepValueCache[mask], kKeepNotComputed);
  clearKeepValueCache(*c);
  EXPECT_TRUE(c->keepValueCache.empty());
}

TEST_F(KeepValues, HopelessKeepsStopAfterAThousandDraws) {
  // One rack observed a million times with 80 points sets the mean near 80:
  // every other rack is then worth about -795 tenths.
  std::string text = "GGGHHJK 1000000 80000000\n";
  text += racksAround("AEIN", "BCDERST", 3, 6, 0);
  ASSERT_GT(loadFullRackText(text), 0u);
  const std::string pool = "BBCDDDRRSTTTTEEE";
  const LetterCounts keep = countsOf("AEIN");
  const std::uint32_t mask = 0x0F;

  // -9999999 (the re-evaluation's reference): after 1,000 draws 20 x the
  // sum is about -15,900,000, below it: the 1,000-draw mean, not cached.
  setProgramSeed(5);
  auto a = bareGame("AEINXZQ", pool);
  const int cut = KeepValue(*a, keep, mask, countsOf(pool), -9999999);
  EXPECT_EQ(a->keepValueCache[mask], kKeepNotComputed);
  setProgramSeed(5);
  auto b = bareGame("AEINXZQ", pool);
  EXPECT_EQ(cut, replaySampling(*b, keep, pool, 1000, 3));
  EXPECT_EQ(a->random.next(), b->random.next());
  EXPECT_LT(cut, -500);

  // -10000000 asks for no cut: all 10,000 draws, cached.
  setProgramSeed(5);
  auto c = bareGame("AEINXZQ", pool);
  const int full = KeepValue(*c, keep, mask, countsOf(pool), kKeepNotComputed);
  EXPECT_EQ(c->keepValueCache[mask], full);
  setProgramSeed(5);
  auto d = bareGame("AEINXZQ", pool);
  EXPECT_EQ(full, replaySampling(*d, keep, pool, 10000, 3));

  // A reference the sum stays above: no cut either.
  setProgramSeed(5);
  auto e = bareGame("AEINXZQ", pool);
  EXPECT_EQ(KeepValue(*e, keep, mask, countsOf(pool), -20000000), full);
  EXPECT_EQ(e->keepValueCache[mask], full);
}

TEST_F(KeepValues, EdgesOfTheDraw) {
  ASSERT_GT(loadFullRackText("AEINRST 1 10\nABCDEFG 1 30\n"), 0u);
  auto game = bareGame("AEINRST", "BC");
  // A whole rack kept is its own value; a pool too small to fill gives 0.
  EXPECT_EQ(KeepValue(*game, countsOf("AEINRST"), 0x7F, countsOf("BC"), kKeepNotComputed), 105 - 200);
  EXPECT_EQ(KeepValue(*game, countsOf("AEIN"), 0x0F, countsOf("BC"), kKeepNotComputed), 0);
  // Without a full-rack table every keep is worth 0.
  clearRackTables();
  clearKeepValueCache(*game);
  EXPECT_EQ(KeepValue(*game, countsOf("AEINRST"), 0x7F, countsOf("BC"), kKeepNotComputed), 0);
}

TEST_F(KeepValues, MasksTakeTheFirstPositionOfEachLetter) {
  const LetterCounts rack = countsOf("BA?EA");  // in alphabet order: A A B E ?
  EXPECT_EQ(keepMaskOf(rack, "A?"), 0b10001u);
  EXPECT_EQ(keepMaskOf(rack, "AA"), 0b00011u);
  EXPECT_EQ(keepMaskOf(rack, "E"), 0b01000u);
  EXPECT_EQ(keepMaskOf(rack, ""), 0u);
  EXPECT_EQ(keepMaskOf(rack, "AAB?E"), 0b11111u);
  EXPECT_EQ(keepMaskOf(rack, "AAA"), kNoKeepMask);
  EXPECT_EQ(keepMaskOf(rack, "Z"), kNoKeepMask);
}

TEST_F(KeepValues, ReevaluationAddsTheKeepValue) {
  ASSERT_GT(loadFullRackText(racksAround("AEINST", kPoolLetters, 1, 7, 300)), 0u);
  auto game = bareGame("ABEINST", kPool);
  const LetterCounts pool = countsOf(kPool);
  Move move;
  move.score = 12;
  move.bonus = -7;
  move.setLeave("AEINST");
  ReevaluateWithPool(pool, move, *game);
  long long sum = 0;
  for (int t : tileList(kPool)) sum += valueOr0(plus(countsOf("AEINST"), {t}));
  const int keepValue = static_cast<int>(sum / 17);
  EXPECT_EQ(move.equity, -7 + 120 + keepValue);
  // Cached under the positions of A E I N S T in A B E I N S T.
  EXPECT_EQ(game->keepValueCache[0b1111101], keepValue);
}

// ---- The optimal keep ----

TEST_F(KeepValues, OptimalKeepPicksTheBestSubset) {
  // AEILRS plus any unseen tile is worth 90.5 points; everything else is
  // not listed (0) except the whole rack, worth less.
  std::string text = "EEEEEEE 100000 0\nAEILQRS 1 -50\n";
  for (char c : std::string("BCDGTU")) text += std::string("AEILRS") + c + " 1 90\n";
  ASSERT_GT(loadFullRackText(text), 0u);
  setProgramSeed(3);
  auto game = bareGame("AEILQRS", "BBCCDDGGTTUU");
  const std::string keep = OptimalKeep(*game);
  EXPECT_EQ(keep, "AEILRS");
  EXPECT_TRUE(offersOptimalExchange(*game, keep));  // "(Xchg RETAINS)" keeps AEIRS

  // When the best keep is what "(Xchg RETAINS)" keeps, it is not offered.
  clearRackTables();
  text = "EEEEEEE 100000 0\n";
  for (char c : std::string("BCDGTU")) text += std::string("AEINRS") + c + " 1 90\n";
  ASSERT_GT(loadFullRackText(text), 0u);
  auto retains = bareGame("AEINQRS", "BBCCDDGGTTUU");
  EXPECT_EQ(OptimalKeep(*retains), "AEINRS");
  EXPECT_FALSE(offersOptimalExchange(*retains, "AEINRS"));
}

TEST_F(KeepValues, OptimalKeepNeedsTheBagToRefill) {
  // Keeping AEILR and drawing two of B C D would be worth far more, but the
  // bag holds one tile (C and D are on the opponent's rack).
  std::string text = "EEEEEEE 100000 0\n";
  for (const char* r : {"AEILRSB", "AEILRSC", "AEILRSD"}) text += std::string(r) + " 1 90\n";
  for (const char* r : {"AEILRBC", "AEILRBD", "AEILRCD"}) text += std::string(r) + " 1 900\n";
  ASSERT_GT(loadFullRackText(text), 0u);
  setProgramSeed(4);
  auto game = bareGame("AEILQRS", "B", "CD");
  EXPECT_EQ(OptimalKeep(*game), "AEILRS");
  // With the tiles in the bag, AEILR wins.
  auto open = bareGame("AEILQRS", "BCD");
  EXPECT_EQ(OptimalKeep(*open), "AEILR");
}

TEST_F(KeepValues, WhenTheOptimalExchangeIsOffered) {
  auto game = bareGame("BCDEFGS", "");
  EXPECT_FALSE(offersOptimalExchange(*game, "S"));   // S alone
  EXPECT_TRUE(offersOptimalExchange(*game, "E"));
  EXPECT_FALSE(offersOptimalExchange(*game, "ES"));  // what "(Xchg RETAINS)" keeps
  EXPECT_TRUE(offersOptimalExchange(*game, "BES"));
  EXPECT_TRUE(offersOptimalExchange(*game, "BS"));
  EXPECT_FALSE(offersOptimalExchange(*game, ""));
  EXPECT_FALSE(offersOptimalExchange(*game, "BCDEFGS"));  // the whole rack

  auto x = bareGame("ABCDXX?", "");
  EXPECT_FALSE(offersOptimalExchange(*x, "X"));   // X alone
  EXPECT_TRUE(offersOptimalExchange(*x, "XX"));
  EXPECT_FALSE(offersOptimalExchange(*x, "?"));   // only blanks
  EXPECT_FALSE(offersOptimalExchange(*x, "A?"));  // RETAINS keeps the A and the blank
  EXPECT_TRUE(offersOptimalExchange(*x, "AX?"));
  EXPECT_TRUE(offersOptimalExchange(*x, "A"));

  // Repeated letters and letters outside A E I N R S T differ from RETAINS.
  auto r = bareGame("AAEERST", "");
  EXPECT_FALSE(offersOptimalExchange(*r, "AERST"));
  EXPECT_TRUE(offersOptimalExchange(*r, "AAERST"));
  EXPECT_TRUE(offersOptimalExchange(*r, "AERS"));
}

// ---- Re-evaluation inside move generation ----

std::shared_ptr<Lexicon> words() { return test::fixtureWords(); }

TEST_F(KeepValues, GenerationWithTheUnseenPool) {
  setProgramSeed(21);
  auto game = std::make_unique<Game>();
  startGame(*game, 2, words());
  Rack& rack = game->racks[0];
  returnAll(game->bag, rack);
  ASSERT_EQ(addLetters(rack, "AEINRST", &game->bag), 7);
  // Every rack of five of A E I N R S T and two other tiles.
  std::string text;
  const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
  const std::string mine = "AEINRST";
  for (int skip1 = 0; skip1 < 7; ++skip1) {
    for (int skip2 = skip1 + 1; skip2 < 7; ++skip2) {
      std::string five;
      for (int i = 0; i < 7; ++i) {
        if (i != skip1 && i != skip2) five.push_back(mine[static_cast<std::size_t>(i)]);
      }
      text += racksAround(five, all, 2, static_cast<std::uint32_t>(10 * skip1 + skip2), 40);
    }
  }
  ASSERT_GT(loadFullRackText(text), 1000u);
  game->unseenPoolEvaluation = true;
  GenerateMoves(*game, false);

  const LetterCounts pool = unseenTilesOf(*game, 0);
  std::string poolText = countsToText(pool, 200).value_or("");
  ASSERT_EQ(poolText.size(), 93u);
  const std::vector<int> tiles = tileList(poolText);
  int checked = 0;
  for (const Move& m : game->moves) {
    if (isNonPlacement(m) || m.leaveView().size() != 5) continue;
    const LetterCounts keep = countsOf(m.leaveView());
    long long sum = 0, pairs = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      for (std::size_t j = i + 1; j < tiles.size(); ++j) {
        sum += valueOr0(plus(keep, {tiles[i], tiles[j]}));
        ++pairs;
      }
    }
    EXPECT_EQ(m.equity, m.bonus + 10 * m.score + static_cast<int>(sum / pairs)) << m.wordView();
    ++checked;
  }
  EXPECT_GT(checked, 3);
  EXPECT_TRUE(std::is_sorted(game->moves.begin(), game->moves.end(),
                             [](const Move& a, const Move& b) { return a.equity > b.equity; }));
}

// ---- "Estimated value of rack leaves" ----

TEST_F(KeepValues, EstimateReportLines) {
  // Only T's are unseen, so every draw of a keep gives the same rack.
  ASSERT_GT(loadFullRackText("ATTTTTT 1 20\nETTTTTT 1 30\nAETTTTT 1 10\nSTTTTTT 1 50\nASTTTTT 1 40\nAESTTTT 1 0\n"), 0u);
  // Mean10 = 10 * 150 / 6 = 250: A -45, E 55, AE -145, S 255, AS 155, AEST -245.
  ASSERT_EQ(FullRackValue(countsOf("ATTTTTT")), -45);
  setProgramSeed(8);
  auto game = bareGame("AEST", "TTTTTT");
  test::PaneCapture capture;
  EstimateLeaveValues(*game);
  // (12,000 x v + 5) / 12,000 rounds negative values up by one tenth.
  const std::vector<std::string> expected = {
      "Estimated value of rack leaves ",
      "AES.... expected value -24.4 ",
      "AEST... expected value -24.4 (this rack) ",
      "AE..... expected value -14.4 ",
      "AET.... expected value -14.4 ",
      "A...... expected value  -4.4 ",
      "AT..... expected value  -4.4 ",
      "....... expected value  +0.0 (avg. of unseen tiles) ",
      "E...... expected value  +5.5 ",
      "ET..... expected value  +5.5 ",
      "AS..... expected value +15.5 ",
      "AST.... expected value +15.5 ",
      "S...... expected value +25.5 ",
      "ST..... expected value +25.5 ",
  };
  EXPECT_EQ(capture.lines(), expected);
  // The whole rack in the highlight colour, the others not.
  const std::size_t first = textPane().LineCount() - expected.size();
  for (std::size_t i = 1; i < expected.size(); ++i) {
    EXPECT_EQ(textPane().LineColour(first + i) == colour::yellow, i == 2) << expected[i];
  }
}

TEST_F(KeepValues, EstimateReportSamplesTheUnseenTiles) {
  ASSERT_GT(loadFullRackText(racksAround("AEINST", kPoolLetters, 1, 9, 30)), 0u);
  setProgramSeed(10);
  auto game = bareGame("AEINSTZ", kPool);
  test::PaneCapture capture;
  EstimateLeaveValues(*game);
  // Keep AEINST: the mean over the unseen tiles whose racks are listed.
  long long sum = 0, listed = 0;
  for (int t : tileList(kPool)) {
    if (const auto v = FullRackValue(plus(countsOf("AEINST"), {t}))) {
      sum += *v;
      ++listed;
    }
  }
  ASSERT_GT(listed, 0);
  const double exact = static_cast<double>(sum) / static_cast<double>(listed) / 10.0;
  bool found = false;
  for (const std::string& line : capture.lines()) {
    if (!line.starts_with("AEINST. expected value ")) continue;
    found = true;
    EXPECT_NEAR(std::stod(line.substr(23)), exact, 0.5) << line;
  }
  EXPECT_TRUE(found);
  // Lowest first, and no keep twice.
  std::vector<double> values;
  std::vector<std::string> keeps;
  for (const std::string& line : capture.lines()) {
    if (line.find(" expected value ") == std::string::npos) continue;
    values.push_back(std::stod(line.substr(23)));
    keeps.push_back(line.substr(0, 7));
  }
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  std::sort(keeps.begin(), keeps.end());
  EXPECT_EQ(std::adjacent_find(keeps.begin(), keeps.end()), keeps.end());
}

// ---- Median rack draws ----

struct Drawn {
  std::optional<int> value;
  Rack rack;
};

// The refills MedianRackDraw makes, in draw order, on the same stream.
std::vector<Drawn> replayRefills(Game& game, const Rack& start, const Well& bag, int count, bool keepMisses) {
  std::vector<Drawn> out;
  while (static_cast<int>(out.size()) < count) {
    Rack r = start;
    Well w = bag;
    drawTiles(r, w, 7, &game.random);
    const auto v = FullRackValue(r);
    if (v || keepMisses) out.push_back({v, r});
  }
  return out;
}

TEST_F(KeepValues, MedianDrawIsThe501stByValue) {
  // Every refill of AEIN with three of B C D G T has its own value (those
  // with three B's or C's are no racks of the bag: misses).
  std::string text;
  std::vector<std::string> triples;
  std::string current;
  multisets("BCDGT", 3, 0, current, triples);
  for (std::size_t i = 0; i < triples.size(); ++i) text += "AEIN" + triples[i] + " 1 " + std::to_string(7 * static_cast<int>(i) % 31 + 100 * static_cast<int>(i)) + "\n";
  ASSERT_GT(loadFullRackText(text), 0u);
  const std::string bagText = "BBBCCCDDDGGGTTT";

  setProgramSeed(31);
  auto a = bareGame("AEIN", bagText);
  a->rackTags[0] = 5;
  MedianRackDraw(*a, 0);

  setProgramSeed(31);
  auto b = bareGame("AEIN", bagText);
  std::vector<Drawn> refills = replayRefills(*b, b->racks[0], b->bag, 1001, false);
  std::stable_sort(refills.begin(), refills.end(), [](const Drawn& x, const Drawn& y) { return x.value < y.value; });
  EXPECT_EQ(a->racks[0], refills[500].rack);
  EXPECT_EQ(FullRackValue(a->racks[0]), refills[500].value);
  EXPECT_EQ(a->rackTags[0], 4);
  // The drawn tiles left the bag.
  Well bag = countsOf(bagText);
  for (int code = 0; code < kCodeSlots; ++code) {
    EXPECT_EQ(a->bag[code], bag[code] - (a->racks[0][code] - countsOf("AEIN")[code])) << code;
  }
  EXPECT_EQ(a->bag.total(), 12);

  // The same seed gives the same draw.
  setProgramSeed(31);
  auto c = bareGame("AEIN", bagText);
  c->rackTags[0] = 5;
  MedianRackDraw(*c, 0);
  EXPECT_EQ(c->racks[0], a->racks[0]);
}

TEST_F(KeepValues, MedianDrawTakesTheMiddleValue) {
  // One tile to draw: B 10%, C 20%, D 30%, T 40% of the refills, valued
  // in that order; the middle refill is a D.
  ASSERT_GT(loadFullRackText("AEINRSB 1 10\nAEINRSC 1 20\nAEINRSD 1 30\nAEINRST 1 40\n"), 0u);
  setProgramSeed(12);
  auto game = bareGame("AEINRS", "BCCDDDTTTT");
  MedianRackDraw(*game, 0);
  EXPECT_EQ(game->racks[0], countsOf("AEINRSD"));
  EXPECT_EQ(game->bag, countsOf("BCCDDTTTT"));
}

TEST_F(KeepValues, MedianDrawLeavesMissesOut) {
  // Only T refills are listed (40%): with misses among them the 501st
  // would be a miss.
  ASSERT_GT(loadFullRackText("AEINRST 1 40\nEEEEEEE 1 0\n"), 0u);
  setProgramSeed(13);
  auto game = bareGame("AEINRS", "BCCDDDTTTT");
  MedianRackDraw(*game, 0);
  EXPECT_EQ(game->racks[0], countsOf("AEINRST"));
}

TEST_F(KeepValues, MedianDrawWithoutStatisticsTakesThe501stRefill) {
  setProgramSeed(14);
  auto a = bareGame("AE", "BCDFGHJKLMNPRSTVWXYZ");
  MedianRackDraw(*a, 0);
  setProgramSeed(14);
  auto b = bareGame("AE", "BCDFGHJKLMNPRSTVWXYZ");
  const std::vector<Drawn> refills = replayRefills(*b, b->racks[0], b->bag, 1001, true);
  EXPECT_EQ(a->racks[0], refills[500].rack);
  EXPECT_NE(a->racks[0], refills[0].rack);
}

TEST_F(KeepValues, BlankCountdown) {
  // Below zero: a blank goes on the rack first, and the countdown marks the
  // player as served.
  setProgramSeed(15);
  auto game = bareGame("AEINR", "?TTTTTTTT");
  game->rackTags[0] = 0;
  MedianRackDraw(*game, 0);
  EXPECT_EQ(game->racks[0], countsOf("AEINRT?"));
  EXPECT_EQ(game->bag, countsOf("TTTTTTT"));
  EXPECT_EQ(game->rackTags[0], kBlankReceived);

  // Above zero it only counts down.
  auto counting = bareGame("AEINR", "TTTTTTTT");
  counting->rackTags[0] = 3;
  MedianRackDraw(*counting, 0);
  EXPECT_EQ(counting->rackTags[0], 2);
  EXPECT_EQ(counting->racks[0], countsOf("AEINRTT"));

  // No blank in the bag, or no room: nothing forced.
  auto noBlank = bareGame("AEINR", "TTTTTTTT");
  noBlank->rackTags[0] = 0;
  MedianRackDraw(*noBlank, 0);
  EXPECT_EQ(noBlank->rackTags[0], -1);
  auto full = bareGame("AEINRST", "?TT");
  full->rackTags[0] = -4;
  MedianRackDraw(*full, 0);
  EXPECT_EQ(full->racks[0], countsOf("AEINRST"));
  EXPECT_EQ(full->rackTags[0], -5);

  // A served player whose every candidate holds a blank gets the 501st.
  auto served = bareGame("AEINRS", "?");
  served->rackTags[0] = kBlankReceived;
  MedianRackDraw(*served, 0);
  EXPECT_EQ(served->racks[0], countsOf("AEINRS?"));
  EXPECT_EQ(served->rackTags[0], kBlankReceived);
}

TEST_F(KeepValues, ServedPlayersStepAsideFromBlanks) {
  // All refills are worth the same, so they stay in draw order.
  std::string text;
  for (const char* two : {"??", "?T", "?D", "TT", "DT", "DD"}) text += std::string("AEINR") + two + " 1 10\n";
  ASSERT_GT(loadFullRackText(text), 0u);
  const std::string bagText = "??TTDD";
  const int blank = rules().blankCode;
  int stepped = 0;
  for (std::uint32_t seed = 40; seed < 46; ++seed) {
    setProgramSeed(seed);
    auto a = bareGame("AEINR", bagText);
    a->rackTags[0] = kBlankReceived;
    MedianRackDraw(*a, 0);

    setProgramSeed(seed);
    auto b = bareGame("AEINR", bagText);
    const std::vector<Drawn> refills = replayRefills(*b, b->racks[0], b->bag, 1001, false);
    std::size_t expected = 500;
    if (refills[500].rack[blank] > 0) {
      for (std::size_t index : {499u, 501u, 498u, 502u, 500u}) {
        expected = index;
        if (refills[index].rack[blank] == 0) break;
      }
    }
    stepped += expected != 500;
    EXPECT_EQ(a->racks[0], refills[expected].rack) << "seed " << seed;
    EXPECT_EQ(a->rackTags[0], kBlankReceived) << "seed " << seed;  // never counts down again
  }
  EXPECT_GT(stepped, 0);  // the seeds do reach the stepping aside
}

}  // namespace
}  // namespace pexil
