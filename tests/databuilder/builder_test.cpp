// The evaluation-data builder on the small fixture list: seeded games that
// do not depend on which shard or process plays them, shards that merge
// into the unsharded run, resumed shards, byte-identical rebuilds, and
// finished files that the engine's own readers take back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "counts.hpp"
#include "finish.hpp"
#include "lexicon/lexicon.hpp"
#include "lexicon/square_letter_stats.hpp"
#include "movegen/evaluation.hpp"
#include "movegen/generator.hpp"
#include "play/game_flow.hpp"
#include "play/word_list_loading.hpp"
#include "rules/game_rules.hpp"
#include "self_play.hpp"
#include "state/game.hpp"
#include "tables/board_patterns.hpp"
#include "tables/rack_tables.hpp"
#include "tables/win_prob.hpp"
#include "test_support.hpp"

namespace pexil::databuilder {
namespace {

std::shared_ptr<Lexicon> words() {
  static std::shared_ptr<Lexicon> lexicon = [] {
    auto l = std::make_shared<Lexicon>();
    l->loadLeaves = false;
    l->loadSquareStats = false;
    loadWordListWithTables(*l, PEXIL_TEST_DATA "/movegen/words.lst");
    return l;
  }();
  return lexicon;
}

class DataBuilder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    ASSERT_GT(words()->wordCount(), 10000);
    clearRackTables();
  }
  void TearDown() override { clearRackTables(); }

  ShardOptions shard(int k, int n, std::int64_t games, std::uint32_t seed = 5, int generation = 0) const {
    ShardOptions o;
    o.config.seed = seed;
    o.config.generation = generation;
    o.list = "words.lst";
    o.shard = k;
    o.shards = n;
    o.games = games;
    o.outPath = (std::filesystem::path(folder.path("")) / ("g" + std::to_string(generation) + "s" + std::to_string(k) + "of" + std::to_string(n) +
                                  "x" + std::to_string(seed) + ".counts"))
                    .string();
    return o;
  }

  static EvalCounts readBack(const std::string& path) {
    std::string text;
    EXPECT_TRUE(readFileText(path, text));
    EvalCounts counts;
    const ReadReport report = readCounts(text, counts);
    EXPECT_TRUE(report.sawFormat);
    EXPECT_EQ(report.skipped, 0u);
    return counts;
  }

  static std::string fileText(const std::string& path) {
    std::string text;
    EXPECT_TRUE(readFileText(path, text));
    return text;
  }

  void play(const ShardOptions& o) const {
    std::string message;
    ASSERT_EQ(runShard(o, words(), message), ShardResult::done) << message;
  }

  // Two generations and the finished tables, all in this process.
  FinishedTables smallBuild(std::uint32_t seed) const {
    clearRackTables();
    const ShardOptions first = shard(0, 1, 4, seed, 0);
    play(first);
    const std::string leaves = finishLeaves(readBack(first.outPath), FinishOptions{});
    loadLeaveText(leaves);
    ShardOptions second = shard(0, 1, 4, seed, 1);
    second.leavesDigest = digestOf(leaves);
    play(second);
    const EvalCounts last = readBack(second.outPath);
    clearRackTables();
    return finishTables(last, FinishOptions{});
  }

  test::StateGuard guard;
  test::TempFolder folder;
};

TEST_F(DataBuilder, AGameDependsOnlyOnItsSeedAndIndex) {
  Game game;
  NewGame(game, 2, words());
  EvalCounts once, again;
  playRecordedGame(game, SelfPlayConfig{}, 3, once);
  // Another game in between changes nothing about game 3.
  EvalCounts other;
  playRecordedGame(game, SelfPlayConfig{}, 4, other);
  playRecordedGame(game, SelfPlayConfig{}, 3, again);
  EXPECT_TRUE(once.sameSums(again));
  EXPECT_FALSE(once.sameSums(other));
  EXPECT_EQ(once.games[2], 1);
  EXPECT_GT(once.leaves.size(), 0u);
  EXPECT_GT(once.racks.size(), 0u);
  EXPECT_GT(once.baseline.count, 0);

  // A game's own generator, seeded explicitly, deals the same racks.
  Game a, b;
  NewGame(a, 2, words());
  NewGame(b, 2, words());
  a.random.seed(77);
  b.random.seed(77);
  ResetGame(a);
  ResetGame(b);
  EXPECT_EQ(a.racks[0], b.racks[0]);
  EXPECT_EQ(a.racks[1], b.racks[1]);
  EXPECT_EQ(a.bag, b.bag);
}

TEST_F(DataBuilder, ShardsMergedEqualOneUnshardedRun) {
  const std::int64_t games = 6;
  play(shard(0, 1, games));
  play(shard(0, 2, games));
  play(shard(1, 2, games));
  play(shard(0, 3, games));
  play(shard(1, 3, games));
  play(shard(2, 3, games));
  const EvalCounts whole = readBack(shard(0, 1, games).outPath);
  EXPECT_EQ(whole.games[2], games);
  for (int n : {2, 3}) {
    EvalCounts merged;
    for (int k = 0; k < n; ++k) ASSERT_TRUE(merged.add(readBack(shard(k, n, games).outPath)));
    EXPECT_TRUE(merged.sameSums(whole)) << n << " shards";
  }
  EXPECT_EQ(shardShare(games, 0, 4), 2);
  EXPECT_EQ(shardShare(games, 3, 4), 1);
  EXPECT_EQ(shardShare(games, 5, 4), 0);
}

TEST_F(DataBuilder, AResumedShardEqualsAnUninterruptedOne) {
  ShardOptions whole = shard(1, 2, 9);
  play(whole);
  const std::string expected = fileText(whole.outPath);

  ShardOptions broken = whole;
  broken.outPath = (std::filesystem::path(folder.path("")) / "broken.counts").string();
  broken.checkpointEvery = 1;
  broken.stopAfter = 2;
  std::string message;
  ASSERT_EQ(runShard(broken, words(), message), ShardResult::stopped);
  const EvalCounts checkpoint = readBack(broken.outPath);
  EXPECT_EQ(checkpoint.info.next, 5);  // games 1 and 3 played
  EXPECT_EQ(checkpoint.games[2], 2);
  broken.stopAfter = 1;
  ASSERT_EQ(runShard(broken, words(), message), ShardResult::stopped);
  broken.stopAfter = -1;
  std::int64_t lastDone = -1;
  broken.progress = [&](std::int64_t done, std::int64_t share) {
    EXPECT_EQ(share, 4);
    lastDone = done;
  };
  play(broken);
  EXPECT_EQ(lastDone, 4);
  EXPECT_EQ(fileText(broken.outPath), expected);
  // A complete shard has nothing left to do.
  play(broken);
  EXPECT_EQ(fileText(broken.outPath), expected);
}

TEST_F(DataBuilder, AShardLeavesCountsOfAnotherRunAlone) {
  ShardOptions o = shard(0, 2, 4);
  play(o);
  const std::string before = fileText(o.outPath);
  ShardOptions other = o;
  other.config.seed = 6;
  std::string message;
  EXPECT_EQ(runShard(other, words(), message), ShardResult::failed);
  EXPECT_NE(message.find("another run"), std::string::npos);
  other = o;
  other.leavesDigest = "0123456789abcdef";
  EXPECT_EQ(runShard(other, words(), message), ShardResult::failed);
  EXPECT_EQ(fileText(o.outPath), before);
  ASSERT_TRUE(writeFileAtomically(o.outPath, before + "leave s x y\n"));
  EXPECT_EQ(runShard(o, words(), message), ShardResult::failed);
}

TEST_F(DataBuilder, ASeededBuildReproducesItsFilesByteForByte) {
  const FinishedTables one = smallBuild(21);
  std::filesystem::remove_all(folder.path(""));
  std::filesystem::create_directories(folder.path(""));
  const FinishedTables two = smallBuild(21);
  EXPECT_FALSE(one.leaves.empty());
  EXPECT_EQ(one.leaves, two.leaves);
  EXPECT_EQ(one.racks, two.racks);
  EXPECT_EQ(one.win[2], two.win[2]);
  EXPECT_EQ(one.genericWin[2], two.genericWin[2]);
  EXPECT_EQ(one.squares, two.squares);
  EXPECT_EQ(one.patterns, two.patterns);

  std::vector<std::string> written, again;
  std::string error;
  const std::string a = (std::filesystem::path(folder.path("")) / "a").string(), b = (std::filesystem::path(folder.path("")) / "b").string();
  ASSERT_TRUE(writeTables(one, a, "/some/where/words.lst", true, written, error));
  ASSERT_TRUE(writeTables(two, b, "words.lst", true, again, error));
  ASSERT_EQ(written.size(), again.size());
  for (std::size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(std::filesystem::path(written[i]).filename(), std::filesystem::path(again[i]).filename());
    EXPECT_EQ(fileText(written[i]), fileText(again[i]));
  }
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(a) / "words.rack.partial"));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(a) / "boardsim.scr"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(a) / "words.3p"));  // no three-player games

  // Another seed plays other games.
  play(shard(0, 1, 4, 22, 0));
  EXPECT_NE(fileText(shard(0, 1, 4, 22, 0).outPath), fileText(shard(0, 1, 4, 21, 0).outPath));
}

TEST_F(DataBuilder, FinishedFilesReadBackThroughTheEngineReaders) {
  ShardOptions o = shard(0, 1, 8);
  play(o);
  const EvalCounts counts = readBack(o.outPath);
  // A handful of games: every pooled win cell is written.
  FinishOptions options;
  options.winMinGames = 2;
  const FinishedTables t = finishTables(counts, options);

  // Leave values: every leave of one to six tiles the bag allows.
  EXPECT_EQ(t.leavesWritten, 914624u);
  EXPECT_EQ(loadLeaveText(t.leaves), t.leavesWritten);
  const std::size_t s = t.leaves.find("\nS ");
  ASSERT_NE(s, std::string::npos);
  EXPECT_EQ(leaveValueOf("S").value(), std::stoi(t.leaves.substr(s + 3)));
  const std::size_t q = t.leaves.find("\nEQU ");
  ASSERT_NE(q, std::string::npos);
  EXPECT_EQ(leaveValueOf("QUE").value(), std::stoi(t.leaves.substr(q + 5)));
  EXPECT_EQ(leaveValueOf("").value(), 0);

  // Full racks: the reader normalises the written records.
  EXPECT_EQ(loadFullRackText(t.racks), t.racksWritten);
  EXPECT_GT(t.racksWritten, 50u);
  const std::size_t end = t.racks.find('\n');
  const std::string firstRack = t.racks.substr(0, t.racks.find(' '));
  LetterCounts rack;
  for (char c : firstRack) {
    ++rack[codeOfTile(c)];
    ++rack[kTotalSlot];
  }
  const auto value = FullRackValue(rack);
  ASSERT_TRUE(value.has_value());
  EXPECT_LT(std::abs(*value), 1000) << t.racks.substr(0, end);

  // Win tables: values within 0..100, never falling as the lead grows.
  for (const auto& [text, generic] : {std::pair{t.win[2], false}, std::pair{t.genericWin[2], true}}) {
    ASSERT_FALSE(text.empty());
    auto table = winProbTableFromText(text, generic);
    ASSERT_TRUE(table);
    EXPECT_GT(readWinProbRecords(*winProbTableFromText("", generic), text), 0u);
    for (int tiles = 0; tiles <= WinProbTable::kMaxTiles; ++tiles) {
      for (int state = 0; state < WinProbTable::kBlankStates; ++state) {
        float previous = 0;
        for (int lead = -200; lead <= 200; ++lead) {
          const float v = table->smoothedAt(lead, tiles, state);
          ASSERT_GE(v, 0.0f);
          ASSERT_LE(v, 100.0f);
          ASSERT_GE(v, previous);
          previous = v;
        }
      }
    }
    // Far ahead wins, far behind loses.
    EXPECT_GT(WinProb(*table, 150, 20, 0, 0), WinProb(*table, -150, 20, 0, 0));
  }

  // Square letters and board patterns.
  const SquareLetterStats stats = SquareLetterStats::parse(t.squares);
  EXPECT_FALSE(stats.empty());
  const auto patterns = BoardPatterns::parse(t.patterns);
  ASSERT_TRUE(patterns.has_value());
  EXPECT_EQ(patterns->width(), 15);
  EXPECT_EQ(patterns->height(), 15);
  long long seen = 0;
  for (int cell = 0; cell < 13 * 13; ++cell) {
    for (int p = 0; p < 512; ++p) {
      const Sum& sum = counts.patterns[static_cast<std::size_t>(cell) * 512 + static_cast<std::size_t>(p)];
      EXPECT_EQ(patterns->count(cell, p), sum.count);
      EXPECT_EQ(patterns->total(cell, p), sum.total);
      seen += sum.count;
    }
  }
  EXPECT_GT(seen, 0);
  Board empty;
  buildBoard(empty);
  EXPECT_GT(patterns->value(empty), 0);
}

TEST_F(DataBuilder, RareLeavesLeanOnTheirSubLeaves) {
  // Fresh racks are worth 40 points; A is worth 5 points more, B 2 less.
  EvalCounts counts;
  counts.baseline = Sum{1000, 1000 * 400};
  counts.leaves.add(keyOfText("a"), 100, 100 * 450);
  counts.leaves.add(keyOfText("b"), 100, 100 * 380);
  // AB seen as often as the prior weighs, always worth the baseline.
  FinishOptions options;
  options.leavePriorWeight = 30;
  counts.leaves.add(keyOfText("ab"), 30, 30 * 400);
  std::size_t written = 0;
  loadLeaveText(finishLeaves(counts, options, &written));
  EXPECT_EQ(written, 914624u);
  // A and B carry their own weight mostly: with the marginals of one more
  // A (44.4: 50 alone, 20 on top of B) and one more B (-25.6) as priors,
  // A = (100 x 50 + 30 x 44.4) / 130 and B = (100 x -20 + 30 x -25.6) / 130.
  EXPECT_EQ(leaveValueOf("A").value(), 49);
  EXPECT_EQ(leaveValueOf("B").value(), -21);
  // AB: its prior is the mean of B + m(A) and A + m(B), 23.1; seen as
  // often as the prior weighs, at 0, it lands half way.
  EXPECT_EQ(leaveValueOf("AB").value(), 12);
  // AAB, never seen: its prior from AB and AA.
  EXPECT_TRUE(leaveValueOf("AAB").has_value());
  // A tile never seen at all is worth nothing.
  EXPECT_EQ(leaveValueOf("Z").value(), 0);
}

TEST_F(DataBuilder, AnEmptyRunFinishesToNoFiles) {
  const FinishedTables t = finishTables(EvalCounts{}, FinishOptions{});
  EXPECT_TRUE(t.leaves.empty());
  EXPECT_TRUE(t.racks.empty());
  EXPECT_TRUE(t.win[2].empty());
  EXPECT_TRUE(t.squares.empty());
  EXPECT_TRUE(t.patterns.empty());
  std::vector<std::string> written;
  std::string error;
  ASSERT_TRUE(writeTables(t, (std::filesystem::path(folder.path("")) / "none").string(), "words.lst", true, written, error));
  EXPECT_TRUE(written.empty());
}

TEST_F(DataBuilder, GamesOfMorePlayersFeedOnlyTheirWinTable) {
  ShardOptions o = shard(0, 1, 3);
  o.config.players = 3;
  o.outPath = (std::filesystem::path(folder.path("")) / "three.counts").string();
  play(o);
  const EvalCounts counts = readBack(o.outPath);
  EXPECT_EQ(counts.games[3], 3);
  EXPECT_EQ(counts.games[2], 0);
  EXPECT_EQ(counts.leaves.size(), 0u);
  EXPECT_EQ(counts.racks.size(), 0u);
  EXPECT_TRUE(counts.patterns.empty());
  ASSERT_EQ(counts.win[3].size(), kWinCells);
  std::int64_t positions = 0;
  for (const Sum& s : counts.win[3]) positions += s.count;
  EXPECT_GT(positions, 3 * 2 * 10);
  FinishOptions options;
  options.winMinGames = 2;
  const FinishedTables t = finishTables(counts, options);
  EXPECT_TRUE(t.win[2].empty());
  EXPECT_FALSE(t.win[3].empty());
}

TEST_F(DataBuilder, APlayerWithoutLeaveValuesValuesEveryLeaveAtZero) {
  // Every leave of one to four tiles is worth something.
  std::string values;
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
  for (std::size_t i = 0; i < letters.size(); ++i) {
    values += letters.substr(i, 1) + " " + std::to_string(10 + static_cast<int>(i)) + "\n";
    for (std::size_t j = i; j < letters.size(); ++j) {
      values += letters.substr(i, 1) + letters.substr(j, 1) + " 7\n";
      for (std::size_t k = j; k < letters.size(); ++k) {
        values += letters.substr(i, 1) + letters.substr(j, 1) + letters.substr(k, 1) + " -5\n";
        for (std::size_t l = k; l < letters.size(); ++l) {
          values += letters.substr(i, 1) + letters.substr(j, 1) + letters.substr(k, 1) + letters.substr(l, 1) + " 3\n";
        }
      }
    }
  }
  loadLeaveText(values);
  Game game;
  NewGame(game, 2, words());
  game.random.seed(1234);
  ResetGame(game);
  auto leaveTerms = [&](bool off) {
    game.leaveValuesOff[0] = off;
    GenerateMoves(game, false);
    int nonZero = 0;
    for (const Move& m : game.moves) {
      const int leaveTerm = m.equity - 10 * m.score - m.bonus;
      if (isNonPlacement(m)) {
        if (isPass(m)) {
          EXPECT_EQ(m.equity, (off ? 0 : LeaveValue(m.leaveView())) - 100);
        }
        continue;
      }
      EXPECT_EQ(leaveTerm, off ? 0 : LeaveValue(m.leaveView())) << m.wordView();
      nonZero += leaveTerm != 0 ? 1 : 0;
    }
    return nonZero;
  };
  EXPECT_GT(leaveTerms(false), 0);
  EXPECT_EQ(leaveTerms(true), 0);
  // Best-only generation follows the flag too.
  game.leaveValuesOff[0] = true;
  GenerateMoves(game, true);
  if (!isNonPlacement(game.bestMove)) {
    EXPECT_EQ(game.bestMove.equity - 10 * game.bestMove.score - game.bestMove.bonus, 0);
  }
  // The other seat keeps its values.
  EXPECT_FALSE(game.leaveValuesOff[1]);
}

}  // namespace
}  // namespace pexil::databuilder
