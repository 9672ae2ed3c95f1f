#include "settings.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "search/endgame_state.hpp"
#include "state/game.hpp"

namespace pexil {
namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("pexil-settings-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    path_ = (folder_ / "config" / "pexil.conf").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string text() const {
    std::ifstream in(path_);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(SettingsFile, EmptyStoreGivesEveryDefaultAndWritesNothing) {
  SettingsStore store(path_);
  EXPECT_TRUE(store.error().empty());
  Settings settings;
  settings.beep = true;
  settings.phonyLength = 9;
  LoadSettings(settings, store);
  EXPECT_FALSE(settings.beep);
  EXPECT_EQ(settings.phonyLength, 5);
  EXPECT_EQ(settings.challengeType, 2);
  EXPECT_EQ(settings.defaultTime, 150000);
  EXPECT_EQ(settings.customTileBackground, 0xFFFFFF);
  EXPECT_EQ(settings.blankColour, 255);
  EXPECT_EQ(settings.tileTexture, 2);
  EXPECT_TRUE(settings.outputTileGuesses);
  // Threads missing: the processor count.
  EXPECT_EQ(settings.threads, ProcessorCount());
  EXPECT_GE(settings.threads, 1);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(SettingsFile, EveryKeyRoundTripsThroughTheFile) {
  Settings changed;
  // A value unlike the default for every key.
  for (const SettingKey& key : SettingKeys()) {
    std::visit(
        [&](auto member) {
          using Value = std::remove_cvref_t<decltype(changed.*member)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            changed.*member = "N\xFAria l\xB7l";  // Latin-1
          } else if constexpr (std::is_same_v<Value, bool>) {
            changed.*member = !(changed.*member);
          } else {
            changed.*member = changed.*member * 3 - 7;
          }
        },
        key.member);
  }
  {
    SettingsStore store(path_);
    ASSERT_TRUE(SaveSettings(changed, store)) << store.error();
  }
  // Every key of the table is present, the file is UTF-8, no temporary
  // file is left behind.
  const std::string written = text();
  EXPECT_NE(written.find("[Options]"), std::string::npos);
  for (const SettingKey& key : SettingKeys()) EXPECT_NE(written.find(std::string(key.key) + "="), std::string::npos) << key.key;
  EXPECT_NE(written.find("PlayerName=N\xC3\xBAria l\xC2\xB7l"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_ / "config"), {}), 1);

  const SettingsStore again(path_);
  Settings read;
  LoadSettings(read, again);
  for (const SettingKey& key : SettingKeys()) EXPECT_EQ(SettingText(read, key), SettingText(changed, key)) << key.key;
}

TEST_F(SettingsFile, ForeignKeysAndOtherSectionsSurviveASave) {
  std::filesystem::create_directories(folder_ / "config");
  std::ofstream(path_) << "[Recent]\nfile1=/tmp/a.gcg\n[Options]\nBeep=1\nSomethingNew=7\n";
  SettingsStore store(path_);
  Settings settings;
  LoadSettings(settings, store);
  EXPECT_TRUE(settings.beep);
  settings.mood = -2;
  ASSERT_TRUE(SaveSettings(settings, store));
  const std::string written = text();
  EXPECT_NE(written.find("file1=/tmp/a.gcg"), std::string::npos);
  EXPECT_NE(written.find("SomethingNew=7"), std::string::npos);
  EXPECT_NE(written.find("Mood=-2"), std::string::npos);
}

TEST_F(SettingsFile, ValuesOfTheWrongFormTakeTheirDefaults) {
  std::filesystem::create_directories(folder_ / "config");
  std::ofstream(path_) << "[Options]\nPhonyLength=many\nBeep=\nThreads=x\nTopMoves= 12 \n\x01\xFF garbage line\n";
  const SettingsStore store(path_);
  Settings settings;
  LoadSettings(settings, store);
  EXPECT_EQ(settings.phonyLength, 5);
  EXPECT_FALSE(settings.beep);
  EXPECT_EQ(settings.threads, ProcessorCount());
  EXPECT_EQ(settings.topMoves, 12);
}

TEST_F(SettingsFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
  std::filesystem::create_directories(folder_ / "config");
  std::ofstream(path_) << "[Options]\nBeep=1\n";
  SettingsStore store(path_);
  // A folder where the temporary file would go makes the write fail.
  std::filesystem::create_directories(path_ + ".new." + std::to_string(::getpid()));
  Settings settings;
  LoadSettings(settings, store);
  settings.beep = false;
  EXPECT_FALSE(SaveSettings(settings, store));
  EXPECT_NE(store.error().find(path_), std::string::npos);
  EXPECT_EQ(text(), "[Options]\nBeep=1\n");
}

TEST_F(SettingsFile, BenchmarkResultsAreStoredOnlyWhenNoneIsZero) {
  SettingsStore store(path_);
  EXPECT_FALSE(LoadBenchmarkResults(store));
  std::array<float, 9> results{1.5f, 2, 3, 4, 5, 6, 7, 8, 9};
  results[4] = 0;
  EXPECT_FALSE(SaveBenchmarkResults(results, store));
  EXPECT_FALSE(store.has("HasBenchmark"));
  results[4] = 12345.25f;
  ASSERT_TRUE(SaveBenchmarkResults(results, store));
  const SettingsStore again(path_);
  const auto read = LoadBenchmarkResults(again);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, results);
  // The settings themselves leave the pair alone.
  Settings settings;
  LoadSettings(settings, again);
  EXPECT_EQ(settings.hasBenchmark, 1);

  // A value of another size than 36 bytes is ignored.
  SettingsStore other(path_);
  other.writeBytes("BenchmarkData", std::vector<unsigned char>(35, 7));
  EXPECT_FALSE(LoadBenchmarkResults(other));
}

TEST(SettingText, FlagsTakeZeroOrOneAndNumbersWholeText) {
  Settings settings;
  const SettingKey* beep = FindSettingKey("Beep");
  const SettingKey* mood = FindSettingKey("Mood");
  const SettingKey* name = FindSettingKey("PlayerName");
  ASSERT_TRUE(beep && mood && name);
  EXPECT_FALSE(FindSettingKey("beep"));  // keys are case-sensitive, as stored
  EXPECT_FALSE(FindSettingKey("BenchmarkData"));
  EXPECT_TRUE(SetSettingFromText(settings, *beep, "1"));
  EXPECT_TRUE(settings.beep);
  for (const char* bad : {"2", "-1", "yes", "", "1x"}) EXPECT_FALSE(SetSettingFromText(settings, *beep, bad)) << bad;
  EXPECT_TRUE(SetSettingFromText(settings, *mood, "-3"));
  EXPECT_EQ(SettingText(settings, *mood), "-3");
  for (const char* bad : {"", "+", "3.5", "99999999999"}) EXPECT_FALSE(SetSettingFromText(settings, *mood, bad)) << bad;
  EXPECT_TRUE(SetSettingFromText(settings, *name, ""));
}

TEST(ApplyEngineSettings, TheEngineOptionsReachTheGame) {
  Settings settings;
  settings.medianRackDraws = true;
  settings.phonyLength = 7;
  settings.challengeType = 4;
  settings.challengePenalty = 5;
  settings.heatmaps = false;
  settings.mood = 9;  // out of range: the strongest mood
  settings.preendgame = false;
  settings.sortRacksPreEndgame = false;
  settings.threads = 0;
  settings.greedierEndgame = true;
  settings.staticEndgameInSimulation = true;
  Game game;
  const bool greedier = endgameOptions().greedier;
  ApplyEngineSettings(settings, game);
  EXPECT_TRUE(game.medianDraws);
  EXPECT_EQ(game.minPhonyLength, 7);
  EXPECT_EQ(game.challengeType, 4);
  EXPECT_EQ(game.challengePenalty, 5);
  EXPECT_FALSE(game.trackHeatmaps);
  EXPECT_EQ(game.mood, 3);
  EXPECT_FALSE(game.preEndgameInSimulation);
  EXPECT_FALSE(game.sortRacksPeg);
  EXPECT_TRUE(game.staticEndgameInSimulation);
  EXPECT_EQ(game.threads, ProcessorCount());
  EXPECT_TRUE(endgameOptions().greedier);
  endgameOptions().greedier = greedier;
}

}  // namespace
}  // namespace pexil
