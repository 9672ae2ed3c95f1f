// The version the program shows is the project's, wherever it shows it.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "files/gcg_writer.hpp"
#include "text/messages.hpp"
#include "text/program_version.hpp"

namespace pexil {
namespace {

TEST(ProgramVersion, IsTheProjectVersion) {
  EXPECT_STREQ(kProgramVersion, PEXIL_PROJECT_VERSION);
  EXPECT_STREQ(kGcgProgramVersion, PEXIL_PROJECT_VERSION);
}

TEST(ProgramVersion, TheBuildDateIsADate) {
  EXPECT_TRUE(std::regex_match(programBuildDate(), std::regex("20[0-9][0-9]-[01][0-9]-[0-3][0-9]")))
      << programBuildDate();
}

TEST(ProgramVersion, TheBannerAndTheComputerPlayerCarryIt) {
  const int language = UILang();
  SetUILang(kEnglish);
  EXPECT_EQ(FormatMessage(msg::Version, kProgramVersion, programBuildDate()),
            std::string("Version ") + PEXIL_PROJECT_VERSION + ", built " + programBuildDate());
  EXPECT_EQ(std::string(Message(msg::PlayComputerName)), std::string("Pexil ") + PEXIL_PROJECT_VERSION);
  SetUILang(language);
}

}  // namespace
}  // namespace pexil
