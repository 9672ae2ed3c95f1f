// The values the dialogs read from typed text: clock times, bounded
// numbers, simulation run times, challenge notes, racks, blank letters and
// word files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dialog_values.hpp"
#include "rules/game_rules.hpp"
#include "settings.hpp"
#include "text/messages.hpp"

namespace pexil::ui {
namespace {

TEST(DialogValues, ClockTimeInMinutes) {
  EXPECT_EQ(ParseClockTime("25"), 25 * 60 * 100);
  EXPECT_EQ(ParseClockTime("1"), 6000);
  EXPECT_EQ(ParseClockTime(" 3 "), 18000);
  EXPECT_EQ(ParseClockTime("10000"), 10000 * 6000);
  EXPECT_FALSE(ParseClockTime("10001"));
  EXPECT_FALSE(ParseClockTime("0"));
  EXPECT_FALSE(ParseClockTime(""));
  EXPECT_FALSE(ParseClockTime("-3"));
  EXPECT_FALSE(ParseClockTime("+3"));
  EXPECT_FALSE(ParseClockTime("3m"));
  EXPECT_FALSE(ParseClockTime("2.5"));
}

TEST(DialogValues, ClockTimeInMinutesAndSeconds) {
  EXPECT_EQ(ParseClockTime("5:07"), (5 * 60 + 7) * 100);
  EXPECT_EQ(ParseClockTime("0:30"), 3000);
  EXPECT_EQ(ParseClockTime("25:00"), 150000);
  EXPECT_EQ(ParseClockTime("10000:59"), (10000 * 60 + 59) * 100);
  EXPECT_FALSE(ParseClockTime("0:00"));
  EXPECT_FALSE(ParseClockTime("5:7"));
  EXPECT_FALSE(ParseClockTime("5:007"));
  EXPECT_FALSE(ParseClockTime("5:60"));
  EXPECT_FALSE(ParseClockTime("5:"));
  EXPECT_FALSE(ParseClockTime(":30"));
  EXPECT_FALSE(ParseClockTime("1:30:00"));
  EXPECT_FALSE(ParseClockTime("10001:00"));
}

TEST(DialogValues, BoundedNumbers) {
  EXPECT_EQ(ParseBounded("7", 1, 99), 7);
  EXPECT_EQ(ParseBounded("1", 1, 99), 1);
  EXPECT_EQ(ParseBounded("99", 1, 99), 99);
  EXPECT_EQ(ParseBounded(" 12 ", 1, 99), 12);
  EXPECT_EQ(ParseBounded("-5", -10, 10), -5);
  EXPECT_EQ(ParseBounded("+5", -10, 10), 5);
  EXPECT_FALSE(ParseBounded("0", 1, 99));
  EXPECT_FALSE(ParseBounded("100", 1, 99));
  EXPECT_FALSE(ParseBounded("", 1, 99));
  EXPECT_FALSE(ParseBounded("-", -10, 10));
  EXPECT_FALSE(ParseBounded("12a", 1, 99));
  EXPECT_FALSE(ParseBounded("1 2", 1, 99));
  EXPECT_FALSE(ParseBounded("99999999999999999999", 0, 2147483647));
  EXPECT_EQ(ParseBounded("2147483647", 0, 2147483647), 2147483647);
}

TEST(DialogValues, SimulationRunTimes) {
  const int expected[] = {0, 30, 45, 60, 90, 120, 180, 240, 300, 600};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(SimulationSeconds(k), expected[k]) << k;
  EXPECT_EQ(SimulationSeconds(-1), 0);
  EXPECT_EQ(SimulationSeconds(10), 0);
}

TEST(DialogValues, ChallengeNotesFollowTheLanguage) {
  for (const int language : {kEnglish, kPigLatin, kCatalan}) {
    SetUILang(language);
    for (int type = 0; type < 5; ++type) {
      EXPECT_EQ(ChallengeNote(type), Message(msg::DlgChallengeSingleNote + type)) << language << " " << type;
      EXPECT_FALSE(ChallengeNote(type).empty());
    }
    EXPECT_EQ(ChallengeNote(-1), "");
    EXPECT_EQ(ChallengeNote(5), "");
  }
  SetUILang(kEnglish);
  EXPECT_EQ(ChallengeNote(0), "Single challenge: no penalty for an unsuccessful challenge");
  EXPECT_NE(ChallengeNote(4).find("\"honor system\""), std::string::npos);
}

TEST(DialogValues, ThreadsUpToTheProcessors) {
  EXPECT_EQ(MaxThreads(), ProcessorCount());
  EXPECT_GE(MaxThreads(), 1);
}

TEST(DialogValues, RacksTypedForTheStandardGame) {
  SetUILang(kEnglish);
  ASSERT_TRUE(activateGameType(kKindStandard));
  EXPECT_EQ(RackProblem("AEIRST?", false), "");
  EXPECT_EQ(RackProblem("aeirst", false), "");
  EXPECT_EQ(RackProblem(" QI ", false), "");
  EXPECT_EQ(RackProblem("", false), "Please type the tiles of the rack.");
  EXPECT_EQ(RackProblem("  ", false), "Please type the tiles of the rack.");
  EXPECT_EQ(RackProblem("", true), "");
  EXPECT_EQ(RackProblem("ABCDEFGH", false), "A rack holds at most 7 tiles.");
  EXPECT_EQ(RackProblem("AB5", true), "5 is not a tile of this game.");
  EXPECT_EQ(RackProblem("A B", true), "  is not a tile of this game.");
}

TEST(DialogValues, BlankLetters) {
  ASSERT_TRUE(activateGameType(kKindStandard));
  EXPECT_EQ(BlankLetter("e"), 'e');
  EXPECT_EQ(BlankLetter("Z"), 'Z');
  EXPECT_EQ(BlankLetter(" q "), 'q');
  EXPECT_FALSE(BlankLetter(""));
  EXPECT_FALSE(BlankLetter("ab"));
  EXPECT_FALSE(BlankLetter("?"));
  EXPECT_FALSE(BlankLetter("5"));
}

TEST(DialogValues, Trimming) {
  EXPECT_EQ(Trimmed("  a b \t\r\n"), "a b");
  EXPECT_EQ(Trimmed("   "), "");
  EXPECT_EQ(Trimmed("x"), "x");
}

TEST(DialogValues, WordFiles) {
  const auto folder = std::filesystem::temp_directory_path() / "pexil-dialog-values-test";
  std::filesystem::create_directories(folder);
  const auto path = folder / "words.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "QI\r\n  zax \n\n\t\nJo\xEBl\nlast";
  }
  const auto words = ReadWordFile(path.string());
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (std::vector<std::string>{"QI", "zax", "Jo\xEBl", "last"}));
  EXPECT_FALSE(ReadWordFile((folder / "missing.txt").string()));
  EXPECT_FALSE(ReadWordFile(folder.string()));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pexil::ui
