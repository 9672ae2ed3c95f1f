// Where the programs take their data from when no folder is named: their
// own folder (a build's run folder), else share/pexil of the prefix they
// are installed in.
#include <gtest/gtest.h>

#include <filesystem>

#include "io/data_files.hpp"
#include "test_support.hpp"

namespace pexil {
namespace {

namespace fs = std::filesystem;

TEST(DataFolder, OwnFolderFirstThenTheInstalledShareFolder) {
  test::TempFolder prefix;
  const fs::path bin = prefix.path("bin");
  const fs::path share = prefix.path("share/pexil");
  fs::create_directories(bin);
  fs::create_directories(share);
  // Neither holds the game types: the program's own folder, as before.
  EXPECT_EQ(programDataFolder(bin), bin);
  // Installed: PREFIX/bin reads PREFIX/share/pexil.
  prefix.write("share/pexil/game.definitions", "; game types\n");
  EXPECT_EQ(fs::weakly_canonical(programDataFolder(bin)), fs::weakly_canonical(share));
  // The program's own folder wins when it holds them (a run folder).
  prefix.write("bin/game.definitions", "; game types\n");
  EXPECT_EQ(programDataFolder(bin), bin);
}

TEST(DataFolder, AFolderNamedLikeTheFileIsNotData) {
  test::TempFolder prefix;
  const fs::path bin = prefix.path("bin");
  fs::create_directories(bin / "game.definitions");
  fs::create_directories(prefix.path("share/pexil/game.definitions"));
  EXPECT_EQ(programDataFolder(bin), bin);
}

}  // namespace
}  // namespace pexil
