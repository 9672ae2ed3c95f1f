// Game records written by other programs (tests/data/gcg-samples, with
// their sources in SOURCES.tsv): every one loads and replays, the scores
// the records state agree with the board's but for a short list of
// explained differences, and what we write of a replayed record reads back
// the same.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "files/gcg_reader.hpp"
#include "files/gcg_writer.hpp"
#include "gcg_test_support.hpp"

namespace pexil {
namespace {

namespace fs = std::filesystem;

const std::string kSamples = PEXIL_TEST_DATA "/gcg-samples";

std::vector<std::string> sampleFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(kSamples)) {
    if (entry.path().extension() == ".gcg") files.push_back(fs::relative(entry.path(), kSamples).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Lines whose stated score is not the board's, and why.
const std::map<std::string, std::set<int>>& knownDifferences() {
  static const std::map<std::string, std::set<int>> known = {
      // Four players: the moves of players 3 and 4 are skipped, so their
      // tiles are missing from the board the other two score on.
      {"quackle/multiplayer-crash.gcg", {10, 14, 17, 21}},
      // The withdrawal of a phony is written "-- +0" while the totals take
      // its 45 points back.
      {"quackle/capp.gcg", {14}},
  };
  return known;
}

// Polish tiles lie outside every alphabet we have: most lines are skipped
// and the rest are scored on a board that lacks the skipped tiles.
const std::set<std::string> kNotReplayable = {"macondo/polish_endgame.gcg"};

// Records whose end-of-game lines follow another rule (each player loses
// what is left on the rack) than ours (the other players gain twice that):
// they are scored as they state, and the difference is told.
const std::set<std::string> kOtherEndRule = {"liwords/combined_low_scoring.gcg", "magpie/six_exchange.gcg",
                                             "magpie/six_pass.gcg", "quackle/fivepoint.gcg"};

class GcgSamples : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(activateGameType(kKindStandard));
    setWordListAlphabet(kAlphabetEnglish);
    SetUILang(kEnglish);
    setProgramSeed(77u);
    textPane().SetQuiet(true);
    // Scores do not depend on the words, so the small list serves.
    options.lexicon = test::plainWords();
  }
  void TearDown() override {
    textPane().SetQuiet(false);
    undoStack().clear();
  }
  GcgReadResult read(const std::string& name) {
    GcgReadResult result = ReadGcg(game, kSamples + "/" + name, options);
    EXPECT_TRUE(result.opened) << name;
    return result;
  }
  test::StateGuard guard;
  GcgReadOptions options;
  Game game;
};

TEST_F(GcgSamples, TheSamplesAndTheirSourcesAreThere) {
  const auto files = sampleFiles();
  EXPECT_EQ(files.size(), 52u);
  EXPECT_TRUE(fs::exists(kSamples + "/SOURCES.tsv"));
}

TEST_F(GcgSamples, EveryRecordReplaysWithTheScoresItStates) {
  for (const std::string& name : sampleFiles()) {
    SCOPED_TRACE(name);
    const GcgReadResult result = read(name);
    EXPECT_TRUE(tilesConserved(game));
    if (name != "magpie/success_just_last_rack.gcg") {
      EXPECT_FALSE(game.history.empty());
    }
    if (kNotReplayable.count(name)) continue;
    std::set<int> differing;
    for (const GcgMoveCheck& check : result.moves) {
      if (check.scoresDiffer()) differing.insert(check.line);
    }
    const auto known = knownDifferences().find(name);
    EXPECT_EQ(differing, known == knownDifferences().end() ? std::set<int>{} : known->second) << test::problemsOf(result);
    if (known == knownDifferences().end()) {
      for (int p = 0; p < 2; ++p) {
        if (result.hasStatedFinal[p]) {
          EXPECT_EQ(game.scores[static_cast<std::size_t>(p)], result.statedFinal[p]) << p;
        }
      }
    }
    EXPECT_EQ(result.endRule.differs, kOtherEndRule.count(name) == 1);
  }
}

TEST_F(GcgSamples, WhatWeWriteOfAReplayedRecordReadsBackTheSame) {
  test::TempFolder folder;
  for (const std::string& name : sampleFiles()) {
    SCOPED_TRACE(name);
    read(name);
    const std::string path = folder.path("copy.gcg");
    ASSERT_TRUE(WriteGcg(game, path));
    Game copy;
    const GcgReadResult again = ReadGcg(copy, path, options);
    // Only the blanks the game would put elsewhere are moved again.
    for (const GcgFaultNote& fault : again.faults) EXPECT_EQ(fault.fault, GcgFault::blanksMoved) << test::problemsOf(again);
    EXPECT_FALSE(again.pragmaDiscarded) << test::problemsOf(again);
    EXPECT_EQ(test::historyText(copy), test::historyText(game));
    EXPECT_EQ(test::positionText(copy), test::positionText(game));
  }
}

TEST_F(GcgSamples, AWithdrawnPhonyIsKeptWithTheLostTurn) {
  read("macondo/doug_v_emely.gcg");
  ASSERT_GE(game.history.size(), 7u);
  const HistoryEntry& lost = game.history[5];
  EXPECT_EQ(lost.move.move().word, label::lostChallenge);
  ASSERT_TRUE(lost.hasChallengedMove);
  EXPECT_EQ(lost.challengedMove.move().wordView(), "tilax");
  EXPECT_EQ(lost.challengedMove.move().score, 24);
  EXPECT_EQ(lost.scoresAfter[1], 55);
  // The same player plays again from the same rack.
  EXPECT_EQ(rackString(game.history[7].rackBefore), "DEIILTZ");
  EXPECT_EQ(game.history[7].move.move().wordView(), "zax");
}

TEST_F(GcgSamples, ChallengeBonusesAndTimePenaltiesCount) {
  // ">jvc: BCEIPRR (challenge) +10 131" after STRaINT.
  read("liwords/many_challenges.gcg");
  ASSERT_GE(game.history.size(), 6u);
  EXPECT_TRUE(game.history[5].survivedChallenge);
  EXPECT_EQ(game.history[6].scoresAfter[1], 131);
  // ">cesar: (time) -70 387" at the end.
  read("liwords/vs_josh_time_penalty.gcg");
  EXPECT_EQ(game.scores[0], 387);
  // A challenge line without a rack.
  read("macondo/vs_frentz.gcg");
  EXPECT_EQ(game.scores[1], 550);
}

TEST_F(GcgSamples, AFailedDoubleChallengeOfTheLastPlayEndsNothing) {
  // After the out-play the challenger's lost turn is written as a pass.
  const GcgReadResult result = read("macondo/doug_v_emely_double_challenge.gcg");
  EXPECT_TRUE(game.gameOver);
  EXPECT_EQ(game.scores[0], 451);
  EXPECT_EQ(game.scores[1], 345);
  EXPECT_TRUE(game.history.back().survivedChallenge);
  EXPECT_FALSE(result.pragmaDiscarded);
}

TEST_F(GcgSamples, NamesInUtf8AndLatin1ReadAsLatin1) {
  for (const char* name : {"macondo/name_iso8859-1.gcg", "macondo/name_utf8_noheader.gcg",
                           "macondo/name_utf8_with_header.gcg", "macondo/name_weird_encoding_with_header.gcg"}) {
    SCOPED_TRACE(name);
    const GcgReadResult result = read(name);
    EXPECT_EQ(playerName(game, 0), "c\xE9sar");
    EXPECT_EQ(game.history.size(), 2u);
    EXPECT_EQ(game.scores[0], 32);
    // An encoding we do not read is a line we did not use.
    EXPECT_EQ(result.pragmaDiscarded, std::string(name).find("weird") != std::string::npos);
  }
  read("macondo/some_isc_game.gcg");
  EXPECT_EQ(playerName(game, 1), "\xFArsula");
}

TEST_F(GcgSamples, FinalRacksComeFromTheRackLines) {
  read("macondo/incomplete4.gcg");
  EXPECT_EQ(rackString(game.racks[1]), "AEEIILZ");
  read("quackle/logan_we.gcg");
  EXPECT_EQ(rackString(game.racks[0]), "AHRTTW?");
  read("magpie/success_just_last_rack.gcg");
  EXPECT_TRUE(game.history.empty());
  EXPECT_EQ(rackString(game.racks[0]), "DIIIILU");
}

TEST_F(GcgSamples, TheBlanksGoWhereTheRecordPutsThem) {
  // DE.PONEd (a phony, withdrawn): the game would rather have the blank
  // on the first D.
  read("macondo/josh2.gcg");
  bool found = false;
  for (const HistoryEntry& e : game.history) {
    const Move& m = e.challengedMove.move();
    if (m.wordView() != "desponed") continue;
    found = true;
    EXPECT_TRUE(m.isBlankAt(7));
    EXPECT_FALSE(m.isBlankAt(0));
    EXPECT_EQ(m.score, 74);
  }
  EXPECT_TRUE(found);
}

TEST_F(GcgSamples, AnalysisModeKeepsThePositionBeforeEveryMove) {
  options.analysisMode = true;
  const GcgReadResult result = read("quackle/boys1.gcg");
  ASSERT_EQ(result.analysis.size(), game.history.size());
  // Notes are not read in analysis mode.
  EXPECT_TRUE(result.pragmaDiscarded);
  for (std::size_t i = 0; i < result.analysis.size(); ++i) {
    const GcgAnalysisEntry& a = result.analysis[i];
    EXPECT_EQ(a.mover, static_cast<int>(i % 2));
    EXPECT_EQ(a.before.history.size(), i);
    EXPECT_EQ(a.rack, game.history[i].rackBefore);
    EXPECT_EQ(a.move.move().wordView(), game.history[i].move.move().wordView());
    EXPECT_TRUE(a.before.moves.empty());
  }
  // JETON from DEMJNOT keeps DM.
  EXPECT_EQ(result.analysis[0].kept, "DM");
  EXPECT_EQ(result.analysis[1].before.board.squares[static_cast<std::size_t>(3 + 7 * 15)].letter, 'j');
}

TEST_F(GcgSamples, StoppingAfterAMoveLeavesTheNextMoversRack) {
  options.stopAfterMove = 5;
  read("macondo/doug_v_emely.gcg");
  // Move 6 is emely's phony, so she is to move with its rack.
  EXPECT_EQ(game.history.size(), 5u);
  EXPECT_EQ(game.toMove, 1);
  EXPECT_EQ(rackString(game.racks[1]), "DEIILTZ");
  EXPECT_EQ(game.scores[0], 148);
}

}  // namespace
}  // namespace pexil
